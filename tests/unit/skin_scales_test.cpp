// The skin at every display scale, read back from the PNG sets the build wrote: sizes as the
// conversion pair rounds them, a hard colour-key edge, the window region of each background
// the 100 % region converted, and pictures that are drawn at the scale rather than stretched.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "controls/layout.h"
#include "controls/region.h"
#include "controls/scale.h"

using namespace quorelle::controls;

namespace {

const std::string kSkinDir = QUORELLE_SKIN_DIR;
const std::string kScalesDir = QUORELLE_SKIN_SCALES_DIR;

// Pixels as 0x00RRGGBB, top row first.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> px;
    uint32_t At(int x, int y) const { return px[size_t(y) * width + x]; }
    bool Key(int x, int y) const { return At(x, y) == kColorKey; }
};

Image LoadPng(const std::string& path) {
    Image img;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        img.width = cairo_image_surface_get_width(s);
        img.height = cairo_image_surface_get_height(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        for (int y = 0; y < img.height; ++y) {
            auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
            img.px.insert(img.px.end(), row, row + img.width);
        }
        for (auto& p : img.px) p &= 0xFFFFFF;
    }
    cairo_surface_destroy(s);
    return img;
}

// The program's 24-bit bottom-up BMP of the same bitmap.
Image LoadBmp(int id) {
    std::ifstream in(kSkinDir + "/bmp" + std::to_string(id) + ".bmp", std::ios::binary);
    std::vector<uint8_t> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Image img;
    if (b.size() < 54) return img;
    auto u32 = [&](size_t at) {
        return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24;
    };
    img.width = int(u32(18));
    img.height = int(u32(22));
    const size_t offset = u32(10), stride = (size_t(img.width) * 3 + 3) & ~size_t(3);
    for (int y = 0; y < img.height; ++y) {
        const uint8_t* row = b.data() + offset + size_t(img.height - 1 - y) * stride;
        for (int x = 0; x < img.width; ++x)
            img.px.push_back(row[3 * x] | row[3 * x + 1] << 8 | uint32_t(row[3 * x + 2]) << 16);
    }
    return img;
}

std::string ScaledPath(int percent, int id) {
    return kScalesDir + "/" + std::to_string(percent) + "/bmp" + std::to_string(id) + ".png";
}

// Bitmap ids of the program, from the 100 % bitmaps it embeds.
std::vector<int> BitmapIds() {
    std::vector<int> ids;
    for (const auto& e : std::filesystem::directory_iterator(kSkinDir)) {
        std::string name = e.path().filename().string();
        if (name.rfind("bmp", 0) == 0 && e.path().extension() == ".bmp")
            ids.push_back(std::stoi(name.substr(3)));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool IsBackground(int id) {
    for (const TemplateInfo& t : Templates())
        if (t.backgroundId == id) return true;
    return false;
}

double Grey(uint32_t p) {
    return (0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF)) / 255.0;
}

// Share of horizontally adjacent pixel pairs whose grey levels differ by more than 30 %.
double EdgeShare(const Image& img) {
    long pairs = 0, steep = 0;
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x + 1 < img.width; ++x) {
            ++pairs;
            if (std::fabs(Grey(img.At(x, y)) - Grey(img.At(x + 1, y))) > 0.30) ++steep;
        }
    }
    return pairs ? double(steep) / pairs : 0.0;
}

// Share of 2 x 2 blocks whose pixels are not all the same (0 for a pixel-doubled image).
double MixedBlockShare(const Image& img) {
    long blocks = 0, mixed = 0;
    for (int y = 0; y + 1 < img.height; y += 2) {
        for (int x = 0; x + 1 < img.width; x += 2) {
            ++blocks;
            uint32_t p = img.At(x, y);
            if (img.At(x + 1, y) != p || img.At(x, y + 1) != p || img.At(x + 1, y + 1) != p)
                ++mixed;
        }
    }
    return blocks ? double(mixed) / blocks : 0.0;
}

// A pixel next to the key that leans towards pure blue: blue well above red and green.
bool BlueFringe(uint32_t p) {
    int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return b - std::max(r, g) > 24;
}

RegionData RegionOf(const Image& img) {
    PixelImage pi;
    pi.bits = reinterpret_cast<const uint8_t*>(img.px.data());
    pi.size = img.px.size() * 4;
    pi.width = img.width;
    pi.height = img.height;
    pi.bitCount = 32;
    pi.bottomUp = false;
    return RegionFromColorKey(pi);
}

}  // namespace

// Every bitmap at every scale: its 100 % size converted, the 100 % set the program's own
// pixels, pure blue only where a background's key is, and no blue-tinted pixel beside the key.
TEST(SkinScales, EverySetHasEveryBitmapAtItsSizeWithAHardKeyEdge) {
    const std::vector<int> ids = BitmapIds();
    ASSERT_GE(ids.size(), 40u);
    for (int percent : kSkinScales) {
        const int dpi = DpiOfPercent(percent);
        for (int id : ids) {
            SCOPED_TRACE(testing::Message() << percent << "% bitmap " << id);
            const Image base = LoadBmp(id);
            const Image img = LoadPng(ScaledPath(percent, id));
            ASSERT_GT(img.width, 0) << "missing or unreadable";
            EXPECT_EQ(img.width, ToDevice(base.width, dpi));
            EXPECT_EQ(img.height, ToDevice(base.height, dpi));
            if (percent == 100) {
                EXPECT_TRUE(img.px == base.px) << "differs from the program's";
            }
            long keys = 0, fringe = 0;
            for (int y = 0; y < img.height; ++y) {
                for (int x = 0; x < img.width; ++x) {
                    if (img.Key(x, y)) {
                        ++keys;
                        continue;
                    }
                    bool besideKey = false;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) {
                            int nx = x + dx, ny = y + dy;
                            if (nx >= 0 && ny >= 0 && nx < img.width && ny < img.height &&
                                img.Key(nx, ny))
                                besideKey = true;
                        }
                    if (besideKey && BlueFringe(img.At(x, y))) ++fringe;
                }
            }
            EXPECT_EQ(fringe, 0);
            if (!IsBackground(id)) {
                EXPECT_EQ(keys, 0) << "pure blue in a piece";
            }
        }
    }
}

// The window region cut from a scaled background (by the program's own scan) is the 100 %
// region with every rectangle converted by its edges.
TEST(SkinScales, BackgroundRegionIsTheConvertedRegion) {
    for (const TemplateInfo& t : Templates()) {
        const RegionData base = RegionOf(LoadBmp(t.backgroundId));
        ASSERT_GT(base.Count(), 300u);
        for (int percent : kSkinScales) {
            const int dpi = DpiOfPercent(percent);
            SCOPED_TRACE(testing::Message() << percent << "% background " << t.backgroundId);
            std::vector<RegionRect> expected;
            for (const RegionRect& r : base.Rects()) {
                for (int y = ToDevice(r.top, dpi); y < ToDevice(r.bottom, dpi); ++y)
                    expected.push_back({ToDevice(r.left, dpi), y, ToDevice(r.right, dpi), y + 1});
            }
            // the scan runs row by row (rows of one logical row interleave)
            std::sort(expected.begin(), expected.end(),
                      [](const RegionRect& a, const RegionRect& b) {
                          return a.top != b.top ? a.top < b.top : a.left < b.left;
                      });
            const Image img = LoadPng(ScaledPath(percent, t.backgroundId));
            ASSERT_GT(img.width, 0);
            const std::vector<RegionRect> got = RegionOf(img).Rects();
            EXPECT_EQ(got.size(), expected.size());
            for (size_t i = 0; i < std::min(got.size(), expected.size()); ++i) {
                const RegionRect &g = got[i], &e = expected[i];
                ASSERT_TRUE(g == e) << "rectangle " << i << ": " << g.left << "," << g.top << "-"
                                    << g.right << "," << g.bottom << " where " << e.left << ","
                                    << e.top << "-" << e.right << "," << e.bottom;
            }
        }
    }
}

// Drawn at the scale, not stretched: at 200 % the share of steep neighbour pairs stays at least
// 0.35 times the 100 % share (a stretched bitmap keeps about a sixth), and the picture is not
// the 100 % one with doubled pixels.
TEST(SkinScales, DoubleScalePicturesAreSharp) {
    const int ids[] = {134, 179, 154, 146, 133, 173};  // backgrounds, knob, lamps, page key
    for (int id : ids) {
        SCOPED_TRACE(id);
        const Image base = LoadPng(ScaledPath(100, id));
        const Image big = LoadPng(ScaledPath(200, id));
        ASSERT_GT(base.width, 0);
        ASSERT_EQ(big.width, 2 * base.width);
        const double shareBase = EdgeShare(base), shareBig = EdgeShare(big);
        const double mixed = MixedBlockShare(big);
        std::printf(
            "bitmap %d: steep pairs %.4f at 100 %%, %.4f at 200 %% (ratio %.2f); "
            "mixed 2x2 blocks at 200 %% %.2f\n",
            id, shareBase, shareBig, shareBig / shareBase, mixed);
        ASSERT_GT(shareBase, 0.0);
        EXPECT_GE(shareBig, 0.35 * shareBase);
        EXPECT_GE(mixed, 0.25);
    }
}
