#include "controls/region.h"

#include <cstring>

namespace quorelle::controls {

namespace {

void Put32(uint8_t* at, uint32_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
    at[2] = uint8_t(v >> 16);
    at[3] = uint8_t(v >> 24);
}

uint32_t Get32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

bool IsKey(const PixelImage& image, const uint8_t* row, int32_t x) {
    switch (image.bitCount) {
        case 32:
            return Get32(row + size_t(x) * 4) == kColorKey;
        case 24: {
            const uint8_t* p = row + size_t(x) * 3;
            return p[0] == 255 && p[1] == 0 && p[2] == 0;
        }
        case 16: {
            const uint8_t* p = row + size_t(x) * 2;
            return (uint32_t(p[0]) | uint32_t(p[1]) << 8) == 0x001F;
        }
        case 8:
            return image.colourTable != nullptr && image.colourTable[row[x]] == kColorKey;
        default:
            return false;
    }
}

}  // namespace

int32_t RowStride(int32_t width, int32_t bitCount) {
    const int64_t bits = int64_t(width) * bitCount;
    return int32_t(((bits + 31) / 32) * 4);
}

RegionData::RegionData(uint32_t initialCapacity)
    : buffer_(kHeaderSize + size_t(initialCapacity) * kRectSize, 0), capacity_(initialCapacity) {
    WriteHeader();
}

void RegionData::WriteHeader() {
    uint8_t* h = buffer_.data();
    Put32(h + 0, uint32_t(kHeaderSize));
    Put32(h + 4, 1);  // rectangles
    Put32(h + 8, count_);
    Put32(h + 12, uint32_t(count_ * kRectSize));
    // bounds stay zero
}

void RegionData::Add(const RegionRect& r) {
    if (count_ == capacity_) {
        capacity_ += kGrowth;
        ++growths_;
        buffer_.resize(kHeaderSize + size_t(capacity_) * kRectSize, 0);
    }
    uint8_t* at = buffer_.data() + kHeaderSize + size_t(count_) * kRectSize;
    Put32(at + 0, uint32_t(r.left));
    Put32(at + 4, uint32_t(r.top));
    Put32(at + 8, uint32_t(r.right));
    Put32(at + 12, uint32_t(r.bottom));
    ++count_;
    WriteHeader();
}

std::vector<RegionRect> RegionData::Rects() const {
    std::vector<RegionRect> rects;
    rects.reserve(count_);
    for (uint32_t i = 0; i < count_; ++i) {
        const uint8_t* at = buffer_.data() + kHeaderSize + size_t(i) * kRectSize;
        rects.push_back({int32_t(Get32(at)), int32_t(Get32(at + 4)), int32_t(Get32(at + 8)),
                         int32_t(Get32(at + 12))});
    }
    return rects;
}

RegionData RegionFromColorKey(const PixelImage& image) {
    const int32_t height = image.height > 0 ? image.height : 0;
    const int32_t width = image.width > 0 ? image.width : 0;
    RegionData data{static_cast<uint32_t>(height)};
    if (image.bits == nullptr || width == 0) return data;
    const size_t stride = size_t(RowStride(width, image.bitCount));
    for (int32_t y = 0; y < height; ++y) {
        const size_t memoryRow = image.bottomUp ? size_t(height - 1 - y) : size_t(y);
        if ((memoryRow + 1) * stride > image.size) continue;
        const uint8_t* row = image.bits + memoryRow * stride;
        int32_t x = 0;
        while (x < width) {
            while (x < width && IsKey(image, row, x)) ++x;
            const int32_t start = x;
            while (x < width && !IsKey(image, row, x)) ++x;
            if (x > start) data.Add({start, y, x, y + 1});
        }
    }
    return data;
}

}  // namespace quorelle::controls
