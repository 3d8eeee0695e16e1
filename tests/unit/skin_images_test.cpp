// The generated skin, read back from the files the build wrote: sizes, the colour-key outline
// of the backgrounds, pure blue nowhere else, the looks the program relies on, and that the
// generator writes the same bytes every time.
#include <gtest/gtest.h>

#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "controls/layout.h"
#include "controls/scale.h"

using namespace quorelle::controls;

namespace {

const std::string kSkinDir = QUORELLE_SKIN_DIR;

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

struct Rgb {
    int r, g, b;
    bool PureBlue() const { return r == 0 && g == 0 && b == 255; }
    double Luma() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
};

// A 24-bit bottom-up BMP as the resource compiler takes it.
struct Bmp {
    int width = 0, height = 0;
    std::vector<uint8_t> bytes;
    size_t offset = 0, stride = 0;

    static Bmp Load(int id) {
        Bmp bmp;
        bmp.bytes = ReadAll(kSkinDir + "/bmp" + std::to_string(id) + ".bmp");
        return bmp;
    }
    // Checks the headers; fills the geometry.
    ::testing::AssertionResult Parse() {
        if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
            return ::testing::AssertionFailure() << "not a BMP";
        if (U32(bytes, 14) != 40) return ::testing::AssertionFailure() << "info header size";
        int32_t h = int32_t(U32(bytes, 22));
        width = int32_t(U32(bytes, 18));
        height = h;
        if (h <= 0) return ::testing::AssertionFailure() << "not bottom-up";
        if (U16(bytes, 28) != 24) return ::testing::AssertionFailure() << "bit count";
        if (U32(bytes, 30) != 0) return ::testing::AssertionFailure() << "compressed";
        offset = U32(bytes, 10);
        stride = (size_t(width) * 3 + 3) & ~size_t(3);
        if (offset + stride * height != bytes.size() || U32(bytes, 2) != bytes.size())
            return ::testing::AssertionFailure() << "file size";
        return ::testing::AssertionSuccess();
    }
    Rgb At(int x, int y) const {
        const uint8_t* p = bytes.data() + offset + stride * size_t(height - 1 - y) + x * 3;
        return {p[2], p[1], p[0]};
    }
    double MeanLuma(int x0, int y0, int w, int h) const {
        double sum = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) sum += At(x, y).Luma();
        return sum / (w * h);
    }
    // Runs of non-key pixels in a row, as [first, last] pairs.
    std::vector<std::pair<int, int>> Runs(int y) const {
        std::vector<std::pair<int, int>> runs;
        for (int x = 0; x < width; ++x) {
            if (At(x, y).PureBlue()) continue;
            if (!runs.empty() && runs.back().second == x - 1) {
                runs.back().second = x;
            } else {
                runs.push_back({x, x});
            }
        }
        return runs;
    }
};

struct Size {
    int w, h;
};

// Every bitmap the program loads, with its size in pixels.
const std::map<int, Size>& ExpectedBitmaps() {
    static const std::map<int, Size> sizes = [] {
        std::map<int, Size> m;
        auto put = [&m](std::initializer_list<int> ids, int w, int h) {
            for (int id : ids) m[id] = {w, h};
        };
        put({130, 131, 137, 138}, 49, 24);
        put({132, 133}, 15, 15);
        put({134, 174, 193, 197}, 800, 309);
        put({179}, 800, 501);
        put({135, 136}, 38, 24);
        put({139, 140}, 55, 24);
        put({141, 142, 143, 144, 156, 157, 199, 200, 201}, 51, 49);
        put({145, 146}, 24, 24);
        put({147}, 15, 20);
        put({148, 149}, 32, 52);
        put({152}, 97, 20);
        put({154}, 50, 50);
        put({170, 171}, 86, 20);
        put({172, 173}, 64, 24);
        put({177}, 16, 17);
        put({178}, 16, 97);
        put({180, 181, 182, 183, 184, 185, 186, 187}, 24, 23);
        put({188, 189}, 148, 68);
        put({190}, 105, 19);
        put({191}, 100, 15);
        put({194, 195}, 286, 162);
        return m;
    }();
    return sizes;
}

bool IsBackground(int id) {
    return id == 134 || id == 174 || id == 179 || id == 193 || id == 197;
}

Bmp Loaded(int id) {
    Bmp bmp = Bmp::Load(id);
    EXPECT_TRUE(bmp.Parse()) << "bitmap " << id;
    return bmp;
}

}  // namespace

TEST(SkinFiles, EveryBitmapHasItsSizeAndTheScriptEmbedsEachFileOnce) {
    for (const auto& [id, size] : ExpectedBitmaps()) {
        SCOPED_TRACE(id);
        Bmp bmp = Bmp::Load(id);
        ASSERT_TRUE(bmp.Parse());
        EXPECT_EQ(bmp.width, size.w);
        EXPECT_EQ(bmp.height, size.h);
    }
    // the program carries every image once per drawn scale, as the type "SKIN<percent>"
    std::ifstream rc(kSkinDir + "/skin.rc");
    ASSERT_TRUE(rc.good());
    std::map<std::string, std::string> lines;  // by id or resource.h name, and type
    std::string line;
    while (std::getline(rc, line)) {
        if (line.empty() || line.rfind("//", 0) == 0) continue;
        std::istringstream in(line);
        std::string id, type, file;
        in >> id >> type >> file;
        EXPECT_EQ(lines.count(id + " " + type), 0u) << id << " " << type << " twice";
        lines[id + " " + type] = file;
    }
    const std::string scales = QUORELLE_SKIN_SCALES_DIR;
    for (const auto& [id, size] : ExpectedBitmaps())
        for (int percent : kSkinScales) {
            const std::string file =
                scales + "/" + std::to_string(percent) + "/bmp" + std::to_string(id) + ".png";
            EXPECT_EQ(lines[std::to_string(id) + " SKIN" + std::to_string(percent)],
                      "\"" + file + "\"");
            EXPECT_TRUE(std::filesystem::exists(file)) << file;
        }
    EXPECT_EQ(lines["IDI_APP ICON"], "\"icon151.ico\"");
    EXPECT_EQ(lines["IDC_HAND_POINTER CURSOR"], "\"cursor153.cur\"");
    EXPECT_EQ(lines.size(), ExpectedBitmaps().size() * kSkinScales.size() + 2);
}

// The icon in the sizes of the window, the taskbar and the notification area from 100 to 300 %;
// the cursor in the size of every drawn scale, each with its hot spot on the fingertip.
TEST(SkinFiles, IconAndCursorHoldEveryScalesSizeAndTheCursorPointsWithItsFingertip) {
    std::vector<uint8_t> ico = ReadAll(kSkinDir + "/icon151.ico");
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
    const int count = int(std::size(sizes));
    ASSERT_GE(ico.size(), 6u + size_t(count) * 16);
    EXPECT_EQ(U16(ico, 0), 0);
    EXPECT_EQ(U16(ico, 2), 1);  // icon
    ASSERT_EQ(U16(ico, 4), count);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(sizes[i]);
        size_t e = 6 + 16 * size_t(i);
        EXPECT_EQ(ico[e], sizes[i] & 0xFF);  // 256 is written as 0
        uint32_t length = U32(ico, e + 8), at = U32(ico, e + 12);
        ASSERT_LE(size_t(at) + length, ico.size());
        if (sizes[i] == 256) {
            EXPECT_EQ(std::string(ico.begin() + at + 1, ico.begin() + at + 4), "PNG");
        } else {
            EXPECT_EQ(U32(ico, at), 40u);                        // DIB header
            EXPECT_EQ(int32_t(U32(ico, at + 8)), 2 * sizes[i]);  // image and mask
        }
    }

    std::vector<uint8_t> cur = ReadAll(kSkinDir + "/cursor153.cur");
    ASSERT_GE(cur.size(), 6u + 16 * kSkinScales.size() + 40);
    EXPECT_EQ(U16(cur, 2), 2);  // cursor
    ASSERT_EQ(U16(cur, 4), kSkinScales.size());
    for (size_t i = 0; i < kSkinScales.size(); ++i) {
        const int dpi = DpiOfPercent(kSkinScales[i]);
        SCOPED_TRACE(dpi);
        const size_t e = 6 + 16 * i;
        EXPECT_EQ(cur[e], ToDevice(32, dpi));
        EXPECT_EQ(cur[e + 1], ToDevice(32, dpi));
        EXPECT_EQ(U16(cur, e + 4), ToDevice(6, dpi));  // hot spot x
        EXPECT_EQ(U16(cur, e + 6), 0);                 // hot spot y
    }
    // The hot spot sits on the drawn fingertip: the top row is opaque at x 6 and clear at the
    // far left and right.
    const size_t dib = U32(cur, 18);
    ASSERT_EQ(U16(cur, dib + 14), 32);
    auto alpha = [&](int x, int y) { return cur[dib + 40 + (size_t(31 - y) * 32 + x) * 4 + 3]; };
    EXPECT_GT(alpha(6, 0), 100);
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(20, 0), 0);
}

// Row by row: the corners cut diagonally by five pixels, the panel full width in between, and
// two tapering feet below it, the right one 606 columns right of the left one.
TEST(SkinBackgrounds, ColourKeyCutsCornersAndFeetExactly) {
    for (int id : {134, 174, 193, 197, 179}) {
        SCOPED_TRACE(id);
        Bmp bmp = Loaded(id);
        const bool tall = bmp.height == 501;
        const int panelRows = tall ? 492 : 299;
        for (int y = 0; y < panelRows; ++y) {
            int cut = std::max({0, 5 - y, 5 - (panelRows - 1 - y)});
            auto runs = bmp.Runs(y);
            ASSERT_EQ(runs.size(), 1u) << "row " << y;
            EXPECT_EQ(runs[0], std::make_pair(cut, 799 - cut)) << "row " << y;
        }
        std::pair<int, int> above{0, 799};
        for (int y = panelRows; y < bmp.height; ++y) {
            auto runs = bmp.Runs(y);
            ASSERT_EQ(runs.size(), 2u) << "row " << y;
            EXPECT_EQ(runs[1].first, runs[0].first + 606) << "row " << y;
            EXPECT_EQ(runs[1].second, runs[0].second + 606) << "row " << y;
            // each row of a foot lies within the row above it and is narrower
            EXPECT_GE(runs[0].first, above.first);
            EXPECT_LE(runs[0].second, above.second);
            EXPECT_LT(runs[0].second - runs[0].first, above.second - above.first);
            above = runs[0];
        }
        auto firstFootRow = bmp.Runs(panelRows);
        if (tall) {
            // the tall page has the feet without their top row
            EXPECT_GT(firstFootRow[0].first, 58);
            EXPECT_LT(firstFootRow[0].second, 134);
        } else {
            EXPECT_EQ(firstFootRow[0], std::make_pair(58, 134));
            EXPECT_EQ(firstFootRow[1], std::make_pair(664, 740));
        }
        auto lastRow = bmp.Runs(bmp.height - 1);
        EXPECT_EQ(lastRow[0], std::make_pair(93, 100));
        EXPECT_EQ(lastRow[1], std::make_pair(699, 706));
    }
}

TEST(SkinImages, PureBlueNowhereButTheCutOfABackground) {
    for (const auto& [id, size] : ExpectedBitmaps()) {
        if (IsBackground(id)) continue;  // their key pixels are checked row by row above
        SCOPED_TRACE(id);
        Bmp bmp = Loaded(id);
        int blue = 0;
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x) blue += bmp.At(x, y).PureBlue();
        EXPECT_EQ(blue, 0);
    }
}

TEST(SkinImages, LitLampsAreClearlyBrighterThanDarkOnes) {
    struct Pair {
        int off, on;
    };
    for (Pair p : {Pair{130, 131}, Pair{132, 133}, Pair{135, 136}, Pair{137, 138}, Pair{145, 146},
                   Pair{172, 173}, Pair{188, 189}}) {
        SCOPED_TRACE(p.on);
        Bmp off = Loaded(p.off), on = Loaded(p.on);
        // the brightest pixel of a lit lamp outshines everything in the dark one
        double maxOff = 0, maxOn = 0;
        for (int y = 0; y < off.height; ++y)
            for (int x = 0; x < off.width; ++x) {
                maxOff = std::max(maxOff, off.At(x, y).Luma());
                maxOn = std::max(maxOn, on.At(x, y).Luma());
            }
        EXPECT_GT(maxOn, maxOff + 25);
        EXPECT_GT(on.MeanLuma(0, 0, on.width, on.height),
                  off.MeanLuma(0, 0, off.width, off.height) + 3);
    }
}

// 149 is "on" (headphone, effect on, upper impedance choice): its lever points up.
TEST(SkinImages, ToggleLeverPointsUpWhenOnAndDownWhenOff) {
    Bmp up = Loaded(149), down = Loaded(148);
    const int half = up.height / 2;
    auto upperMinusLower = [half](const Bmp& b) {
        return b.MeanLuma(8, 2, 16, half - 10) - b.MeanLuma(8, half + 8, 16, half - 10);
    };
    EXPECT_GT(upperMinusLower(up), 8);
    EXPECT_LT(upperMinusLower(down), -8);
}

// The room picture is clicked by thirds: top living room (199), middle audio room (200),
// bottom bedroom (201). The chosen third is the lit one.
TEST(SkinImages, RoomPictureLightsTheThirdOfItsSize) {
    const int ids[3] = {199, 200, 201};
    for (int zone = 0; zone < 3; ++zone) {
        SCOPED_TRACE(ids[zone]);
        Bmp b = Loaded(ids[zone]);
        const int third = b.height / 3;
        double lit = b.MeanLuma(0, zone * third, b.width, third);
        for (int other = 0; other < 3; ++other) {
            if (other == zone) continue;
            EXPECT_GT(lit, b.MeanLuma(0, other * third, b.width, third) + 4) << "third " << other;
        }
    }
}

TEST(SkinImages, SixRatePicturesAreDistinct) {
    const int ids[6] = {141, 142, 156, 157, 143, 144};
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j)
            EXPECT_NE(Loaded(ids[i]).bytes, Loaded(ids[j]).bytes) << ids[i] << " " << ids[j];
    EXPECT_NE(Loaded(194).bytes, Loaded(195).bytes);
}

// The slider tiles its track along the length when the window is longer than the image, so the
// balance track must repeat without a seam: every column alike.
TEST(SkinImages, BalanceTrackTilesWithoutSeam) {
    Bmp t = Loaded(152);
    for (int x = 1; x < t.width; ++x)
        for (int y = 0; y < t.height; ++y) {
            Rgb a = t.At(0, y), b = t.At(x, y);
            ASSERT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b) << "x " << x << " y " << y;
        }
}

// Labels are light grey text drawn straight onto the background, combo boxes black text on
// their faces: each needs the contrast to be read.
TEST(SkinImages, TextSitsOnDarkBackgroundsAndLightFaces) {
    for (const TemplateInfo& t : Templates()) {
        Bmp bg = Loaded(t.backgroundId);
        for (const ControlPlace& c : TemplateControls(t.dialogId)) {
            if (c.kind != ControlKind::Label) continue;
            PxRect r = PlacedRect(t.dialogId, c);
            EXPECT_LT(bg.MeanLuma(r.x, r.y, r.w, r.h), 90)
                << "label " << c.id << " of dialog " << t.dialogId;
        }
    }
    Bmp combo = Loaded(190), edit = Loaded(191);
    EXPECT_GT(combo.MeanLuma(2, 2, 80, 15), 170);
    EXPECT_GT(edit.MeanLuma(2, 2, 96, 11), 170);
    // the environment list is light text on the panel, lit or not
    for (int id : {188, 189}) EXPECT_LT(Loaded(id).MeanLuma(10, 5, 120, 58), 90) << id;
}

TEST(SkinGenerator, WritesTheSameBytesEveryRun) {
    const std::filesystem::path skingen =
        std::filesystem::path(kSkinDir) / ".." / "tools" / "skin" / "skingen";
    if (!std::filesystem::exists(skingen)) GTEST_SKIP() << "no skingen beside the skin";
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("skin_again_" + std::to_string(::getpid()));
    std::filesystem::remove_all(out);
    ASSERT_EQ(std::system(
                  (skingen.string() + " " + out.string() + " " + QUORELLE_SKIN_SCALES_DIR).c_str()),
              0);
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) {
        if (!entry.is_regular_file()) continue;
        const std::filesystem::path name = entry.path().lexically_relative(out);
        SCOPED_TRACE(name.string());
        ++files;
        EXPECT_EQ(ReadAll(entry.path().string()),
                  ReadAll((std::filesystem::path(kSkinDir) / name).string()));
    }
    // and the icon, the cursor, the resource script, and the setup program's icon and pictures
    EXPECT_EQ(files, int(ExpectedBitmaps().size()) + 3 + 1 + int(kSkinScales.size()));
    std::filesystem::remove_all(out);
}

// The setup program's art. Its pages' picture at every scale of the skin: the size the scale
// converts 164 x 334 to (314 and room to spare), the panel's dark front, and drawn at the scale
// rather than stretched: in the knob's face (88 x 88 at 38, 84) the share of steep neighbour pairs
// is at least 0.7 times the 100 % share times 100 / percent (drawn edges stay one pixel wide, so a
// sharp picture keeps about all of that; a stretched one spreads them over several pixels of
// gentler steps). Its icon holds the sizes its window and taskbar button take from 100 to 300 %,
// and 256.
TEST(SkinFiles, SetupArtIsDrawnAtEveryScale) {
    auto steepShare = [](const Bmp& b, int x0, int y0, int w, int h) {
        long pairs = 0, steep = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x + 1 < x0 + w; ++x, ++pairs)
                steep += std::fabs(b.At(x, y).Luma() - b.At(x + 1, y).Luma()) > 0.3 * 255;
        return double(steep) / double(pairs);
    };
    double baseShare = 0;
    for (int percent : kSkinScales) {
        SCOPED_TRACE(percent);
        const int dpi = DpiOfPercent(percent);
        Bmp bmp;
        bmp.bytes = ReadAll(kSkinDir + "/installer/welcome-" + std::to_string(percent) + ".bmp");
        ASSERT_TRUE(bmp.Parse());
        EXPECT_EQ(bmp.width, ToDevice(164, dpi));
        EXPECT_EQ(bmp.height, ToDevice(334, dpi));
        EXPECT_LT(bmp.MeanLuma(0, 0, bmp.width, bmp.height), 90);
        const int k0x = ToDevice(38, dpi), k0y = ToDevice(84, dpi);
        const double share =
            steepShare(bmp, k0x, k0y, ToDevice(126, dpi) - k0x, ToDevice(172, dpi) - k0y);
        std::printf("setup picture %d %%: steep pairs in the knob %.4f\n", percent, share);
        if (percent == 100) baseShare = share;
        ASSERT_GT(baseShare, 0.0);
        EXPECT_GE(share, 0.7 * baseShare * 100 / percent);
    }

    std::vector<uint8_t> ico = ReadAll(kSkinDir + "/installer/setup.ico");
    const int sizes[] = {16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80, 96, 256};
    const size_t count = std::size(sizes);
    ASSERT_GE(ico.size(), 6 + 16 * count);
    EXPECT_EQ(U16(ico, 2), 1);  // icon
    ASSERT_EQ(U16(ico, 4), count);
    for (size_t i = 0; i < count; ++i) {
        const size_t e = 6 + 16 * i;
        EXPECT_EQ(ico[e], sizes[i] & 0xFF) << sizes[i];  // 256 is written as 0
        EXPECT_LE(size_t(U32(ico, e + 12)) + U32(ico, e + 8), ico.size()) << sizes[i];
    }
}

// The cursor's AND mask must clear exactly the transparent pixels, or a system that draws
// with the mask shows a box around the hand.
TEST(SkinFiles, CursorMaskMatchesItsAlpha) {
    std::vector<uint8_t> cur = ReadAll(kSkinDir + "/cursor153.cur");
    ASSERT_GE(cur.size(), 22u);
    const size_t dib = U32(cur, 18);  // the first image, 32 x 32
    ASSERT_EQ(U32(cur, 14), 40u + 32 * 32 * 4 + 32 * 4);
    ASSERT_GE(cur.size(), dib + 40 + 32 * 32 * 4 + 32 * 4);
    const size_t mask = dib + 40 + 32 * 32 * 4;
    int opaque = 0;
    for (int row = 0; row < 32; ++row)
        for (int x = 0; x < 32; ++x) {
            uint8_t a = cur[dib + 40 + (size_t(row) * 32 + x) * 4 + 3];
            bool bit = cur[mask + row * 4 + x / 8] & (0x80 >> (x % 8));
            EXPECT_EQ(bit, a == 0) << "x " << x << " row " << row;
            opaque += a == 255;
        }
    EXPECT_GT(opaque, 100);  // a hand, not a speck
}

// The knob's dot is drawn by the program in pure blue, red while pressed: the face it travels
// over must be far from both.
TEST(SkinImages, KnobFaceLetsTheDotStandOut) {
    Bmp face = Loaded(154);
    for (int y = 14; y < 36; ++y)
        for (int x = 14; x < 36; ++x) {
            Rgb p = face.At(x, y);
            double toBlue = std::sqrt(double(p.r * p.r + p.g * p.g + (255 - p.b) * (255 - p.b)));
            double toRed = std::sqrt(double((255 - p.r) * (255 - p.r) + p.g * p.g + p.b * p.b));
            ASSERT_GT(toBlue, 180) << x << "," << y;
            ASSERT_GT(toRed, 180) << x << "," << y;
        }
}

TEST(SkinImages, PressedKeysLookPressed) {
    for (int up : {139, 170, 180, 182, 184, 186}) {
        SCOPED_TRACE(up);
        Bmp a = Loaded(up), b = Loaded(up + 1);
        EXPECT_NE(a.bytes, b.bytes);
        // a pressed key is sunk: darker on the whole
        EXPECT_LT(b.MeanLuma(0, 0, b.width, b.height), a.MeanLuma(0, 0, a.width, a.height));
    }
}
