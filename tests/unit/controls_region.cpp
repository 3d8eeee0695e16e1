#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "controls/lamp.h"
#include "controls/region.h"

using namespace quorelle::controls;

namespace {

// A 24-bit bottom-up pixel buffer built row by row from text: '#' opaque, '.' key blue.
struct Picture24 {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;

    explicit Picture24(const std::vector<std::string>& rows)
        : width(int(rows.at(0).size())), height(int(rows.size())) {
        const int stride = RowStride(width, 24);
        bytes.assign(size_t(stride) * height, 0);
        for (int y = 0; y < height; ++y) {
            uint8_t* row = bytes.data() + size_t(height - 1 - y) * stride;
            for (int x = 0; x < width; ++x) {
                const bool key = rows[y][x] == '.';
                row[x * 3 + 0] = key ? 255 : 40;  // blue
                row[x * 3 + 1] = key ? 0 : 40;
                row[x * 3 + 2] = key ? 0 : 40;
            }
        }
    }
    PixelImage Image() const {
        PixelImage image;
        image.bits = bytes.data();
        image.size = bytes.size();
        image.width = width;
        image.height = height;
        image.bitCount = 24;
        return image;
    }
};

// Reads an uncompressed BMP file into a PixelImage (pixels kept in `storage`).
bool ReadBmp(const std::string& path, std::vector<uint8_t>& storage, PixelImage& image) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    storage.assign(std::istreambuf_iterator<char>(in), {});
    if (storage.size() < 54 || storage[0] != 'B' || storage[1] != 'M') return false;
    auto u32 = [&](size_t at) {
        return uint32_t(storage[at]) | uint32_t(storage[at + 1]) << 8 |
               uint32_t(storage[at + 2]) << 16 | uint32_t(storage[at + 3]) << 24;
    };
    const uint32_t offset = u32(10);
    const int32_t width = int32_t(u32(18));
    const int32_t height = int32_t(u32(22));
    const int bitCount = storage[28] | storage[29] << 8;
    if (offset >= storage.size()) return false;
    image.bits = storage.data() + offset;
    image.size = storage.size() - offset;
    image.width = width;
    image.height = height < 0 ? -height : height;
    image.bottomUp = height > 0;
    image.bitCount = bitCount;
    return true;
}

std::string SkinFile(int id) {
    return std::string(QUORELLE_SKIN_DIR) + "/bmp" + std::to_string(id) + ".bmp";
}

}  // namespace

TEST(RegionScan, RunsPerRowWithEdgesAndEmptyRows) {
    const Picture24 picture({
        "..####..##",  // two runs, the second closed at the right edge
        "..........",  // nothing
        "##########",  // one full-width run
        "#.#.#.#.#.",  // five single pixels
    });
    const RegionData data = RegionFromColorKey(picture.Image());
    const std::vector<RegionRect> expected = {
        {2, 0, 6, 1}, {8, 0, 10, 1}, {0, 2, 10, 3}, {0, 3, 1, 4},
        {2, 3, 3, 4}, {4, 3, 5, 4},  {6, 3, 7, 4},  {8, 3, 9, 4},
    };
    EXPECT_EQ(data.Rects(), expected);
    // Header: size 32, type rectangles, the count.
    const uint8_t* h = data.Bytes();
    EXPECT_EQ(h[0], 32);
    EXPECT_EQ(h[4], 1);
    EXPECT_EQ(h[8], 8);
    EXPECT_EQ(data.ByteSize(), 32u + 8 * 16);
}

TEST(RegionScan, NoKeyPixelGivesOneRectanglePerRow) {
    const Picture24 picture({"#####", "#####", "#####"});
    const RegionData data = RegionFromColorKey(picture.Image());
    EXPECT_EQ(data.Rects(), (std::vector<RegionRect>{{0, 0, 5, 1}, {0, 1, 5, 2}, {0, 2, 5, 3}}));
    EXPECT_EQ(data.Growths(), 0);
}

TEST(RegionScan, BufferStartsAtRowCountAndGrowsBy40) {
    // 2 rows of 3 runs each = 6 rectangles in room for 2: grows once to 42.
    const Picture24 picture({"#.#.#", "#.#.#"});
    const RegionData data = RegionFromColorKey(picture.Image());
    EXPECT_EQ(data.Count(), 6u);
    EXPECT_EQ(data.Capacity(), 42u);
    EXPECT_EQ(data.Growths(), 1);
}

TEST(RegionScan, KeyInOtherPixelFormats) {
    // 32 bits: 0x000000FF is key; 16 bits: 0x001F; 8 bits: through the colour table.
    const uint32_t px32[4] = {0x000000FF, 0x00FF0000, 0x000000FF, 0x0000FF00};
    PixelImage image;
    image.bits = reinterpret_cast<const uint8_t*>(px32);
    image.size = sizeof px32;
    image.width = 4;
    image.height = 1;
    image.bitCount = 32;
    EXPECT_EQ(RegionFromColorKey(image).Rects(),
              (std::vector<RegionRect>{{1, 0, 2, 1}, {3, 0, 4, 1}}));

    const uint8_t px16[8] = {0x1F, 0x00, 0x00, 0x7C, 0x1F, 0x00, 0x1F, 0x00};
    image.bits = px16;
    image.size = sizeof px16;
    image.bitCount = 16;
    EXPECT_EQ(RegionFromColorKey(image).Rects(), (std::vector<RegionRect>{{1, 0, 2, 1}}));

    uint32_t table[256] = {};
    table[7] = 0x000000FF;
    const uint8_t px8[4] = {3, 7, 7, 3};
    image.bits = px8;
    image.size = sizeof px8;
    image.bitCount = 8;
    image.colourTable = table;
    EXPECT_EQ(RegionFromColorKey(image).Rects(),
              (std::vector<RegionRect>{{0, 0, 1, 1}, {3, 0, 4, 1}}));
}

TEST(RegionScan, ShortBufferIsNotReadPastItsEnd) {
    const Picture24 picture({"###", "#.#", "###"});
    PixelImage image = picture.Image();
    image.size = size_t(RowStride(3, 24)) * 2;  // the top row is missing (bottom-up)
    const RegionData data = RegionFromColorKey(image);
    EXPECT_EQ(data.Rects(), (std::vector<RegionRect>{{0, 1, 1, 2}, {2, 1, 3, 2}, {0, 2, 3, 3}}));
    image.bits = nullptr;
    EXPECT_EQ(RegionFromColorKey(image).Count(), 0u);
}

TEST(RegionScan, GeneratedBackgroundsHaveTheirShape) {
    struct Case {
        int id;
        int height;
        uint32_t rectangles;
    };
    for (const Case c : {Case{134, 309, 319}, Case{174, 309, 319}, Case{193, 309, 319},
                         Case{197, 309, 319}, Case{179, 501, 510}}) {
        SCOPED_TRACE(c.id);
        std::vector<uint8_t> storage;
        PixelImage image;
        ASSERT_TRUE(ReadBmp(SkinFile(c.id), storage, image)) << SkinFile(c.id);
        ASSERT_EQ(image.width, 800);
        ASSERT_EQ(image.height, c.height);
        ASSERT_EQ(image.bitCount, 24);
        const RegionData data = RegionFromColorKey(image);
        EXPECT_EQ(data.Count(), c.rectangles);
        EXPECT_EQ(data.Growths(), 1);  // more rectangles than rows: the buffer grew once
        const auto rects = data.Rects();
        ASSERT_FALSE(rects.empty());
        EXPECT_EQ(rects.front(), (RegionRect{5, 0, 795, 1}));  // row 0 covers x 5 .. 794
        // Row 5 is full width.
        bool fullRow5 = false;
        for (const RegionRect& r : rects) fullRow5 |= r == RegionRect{0, 5, 800, 6};
        EXPECT_TRUE(fullRow5);
        // The last row holds just the two narrowest feet.
        const int last = c.height - 1;
        std::vector<RegionRect> lastRow;
        for (const RegionRect& r : rects)
            if (r.top == last) lastRow.push_back(r);
        EXPECT_EQ(lastRow,
                  (std::vector<RegionRect>{{93, last, 101, last + 1}, {699, last, 707, last + 1}}));
    }
}

TEST(PictureTables, SampleRateAndRoomSlots) {
    PictureTable rates;
    rates.Fill(SampleRateImageIds());
    const int32_t order[6] = {141, 142, 156, 157, 143, 144};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(rates.ResourceForIndex(i), order[i]);
    EXPECT_EQ(rates.ResourceForIndex(7), 141);  // remaining slots hold image 0
    EXPECT_EQ(rates.ResourceForIndex(22), 141);
    EXPECT_EQ(rates.ResourceForIndex(23), std::nullopt);
    EXPECT_EQ(rates.ResourceForIndex(-1), std::nullopt);
    EXPECT_EQ(rates.Images().size(), 6u);  // each image loaded once

    PictureTable rooms;
    rooms.Fill(RoomImageIds());
    EXPECT_EQ(rooms.ResourceForIndex(0), 201);
    EXPECT_EQ(rooms.ResourceForIndex(1), 200);
    EXPECT_EQ(rooms.ResourceForIndex(2), 199);
    EXPECT_EQ(rooms.ResourceForIndex(3), 201);

    PictureTable empty;
    EXPECT_EQ(empty.ImageForIndex(0), std::nullopt);
}
