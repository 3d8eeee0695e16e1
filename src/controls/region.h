// Window shape from a colour-keyed image: the rectangle list of the opaque pixels, row by row,
// laid out as the platform's region data (a 32-byte header followed by 16-byte rectangles).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorelle::controls {

inline constexpr uint32_t kColorKey = 0x000000FF;  // pure blue as 0x00RRGGBB pixel bits

struct RegionRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    bool operator==(const RegionRect&) const = default;
};

// A device-independent pixel buffer as the platform returns it.
struct PixelImage {
    const uint8_t* bits = nullptr;
    size_t size = 0;  // bytes readable at bits
    int32_t width = 0;
    int32_t height = 0;  // rows; always positive here
    int32_t bitCount = 24;
    bool bottomUp = true;                   // the first row in memory is the bottom image row
    const uint32_t* colourTable = nullptr;  // 256 entries, for 8 bits per pixel
};

// Bytes of one pixel row, rounded up to a multiple of 4.
int32_t RowStride(int32_t width, int32_t bitCount);

class RegionData {
  public:
    static constexpr size_t kHeaderSize = 32;
    static constexpr size_t kRectSize = 16;
    static constexpr uint32_t kGrowth = 40;

    explicit RegionData(uint32_t initialCapacity);
    void Add(const RegionRect& r);

    uint32_t Count() const { return count_; }
    uint32_t Capacity() const { return capacity_; }
    int Growths() const { return growths_; }
    // Header plus the rectangles held (what the region is created from).
    const uint8_t* Bytes() const { return buffer_.data(); }
    size_t ByteSize() const { return kHeaderSize + size_t(count_) * kRectSize; }
    std::vector<RegionRect> Rects() const;

  private:
    void WriteHeader();
    std::vector<uint8_t> buffer_;
    uint32_t count_ = 0;
    uint32_t capacity_ = 0;
    int growths_ = 0;
};

// Scans the rows from the top image row down, each left to right; every maximal run of pixels
// that are not the colour key adds one rectangle of height 1. Rows the buffer does not hold
// completely are left out. Bit counts other than 8, 16, 24 and 32 have no key pixel.
RegionData RegionFromColorKey(const PixelImage& image);

}  // namespace quorelle::controls
