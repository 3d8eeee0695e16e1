// skingen OUTDIR [SCALESDIR]: writes every bitmap of the program (as BMP, for the tests that
// compare the screen with the art), its icon, its cursor and the resource script fragment that
// embeds them. With SCALESDIR (what `skingen --scales SCALESDIR` wrote) the script embeds the
// compressed image sets of every display scale from there, the program's form of its images.
// The output depends on nothing but this source.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "controls/layout.h"
#include "controls/scale.h"
#include "controls/skin_images.h"
#include "pieces.h"
#include "shape.h"

namespace {

using skin::Canvas;

struct Bitmap {
    int id;
    int width, height;
    std::function<void(Canvas&)> draw;
    bool background = false;
};

std::vector<Bitmap> AllBitmaps() {
    using namespace skin;
    namespace qc = quorelle::controls;
    namespace im = qc::images;
    std::vector<Bitmap> list = {
        {im::kWideSwitchOff, 49, 24, [](Canvas& c) { DrawSlitSwitch(c, false, false, false); }},
        {im::kWideSwitchOn, 49, 24, [](Canvas& c) { DrawSlitSwitch(c, true, false, false); }},
        {im::kLedOff, 15, 15, [](Canvas& c) { DrawSmallLed(c, false); }},
        {im::kLedOn, 15, 15, [](Canvas& c) { DrawSmallLed(c, true); }},
        {im::kSwitchOff, 38, 24, [](Canvas& c) { DrawSlitSwitch(c, false, false, false); }},
        {im::kSwitchOn, 38, 24, [](Canvas& c) { DrawSlitSwitch(c, true, false, false); }},
        {im::kMuteSwitchOff, 49, 24, [](Canvas& c) { DrawSlitSwitch(c, false, true, true); }},
        {im::kMuteSwitchOn, 49, 24, [](Canvas& c) { DrawSlitSwitch(c, true, true, true); }},
        {im::kResetKey, 55, 24, [](Canvas& c) { DrawKey(c, false, kGlyphReset); }},
        {im::kResetKeyPressed, 55, 24, [](Canvas& c) { DrawKey(c, true, kGlyphReset); }},
        {im::kSquareLampOff, 24, 24, [](Canvas& c) { DrawSquareLamp(c, false); }},
        {im::kSquareLampOn, 24, 24, [](Canvas& c) { DrawSquareLamp(c, true); }},
        {im::kBalanceThumb, 15, 20, [](Canvas& c) { DrawBalanceThumb(c); }},
        {im::kToggleOff, 32, 52, [](Canvas& c) { DrawToggle(c, false); }},
        {im::kToggleOn, 32, 52, [](Canvas& c) { DrawToggle(c, true); }},
        {im::kBalanceTrack, 97, 20, [](Canvas& c) { DrawBalanceTrack(c); }},
        {im::kKnobFace, 50, 50, [](Canvas& c) { DrawKnobFace(c); }},
        {im::kCloseKey, 86, 20, [](Canvas& c) { DrawKey(c, false, kGlyphClose); }},
        {im::kCloseKeyPressed, 86, 20, [](Canvas& c) { DrawKey(c, true, kGlyphClose); }},
        {im::kPageKey, 64, 24, [](Canvas& c) { DrawNavKey(c, false); }},
        {im::kPageKeyLit, 64, 24, [](Canvas& c) { DrawNavKey(c, true); }},
        {im::kBandThumb, 16, 17, [](Canvas& c) { DrawBandThumb(c); }},
        {im::kBandTrack, 16, 97, [](Canvas& c) { DrawBandTrack(c); }},
        {im::kDownKey, 24, 23, [](Canvas& c) { DrawKey(c, false, kGlyphDown); }},
        {im::kDownKeyPressed, 24, 23, [](Canvas& c) { DrawKey(c, true, kGlyphDown); }},
        {im::kMinusKey, 24, 23, [](Canvas& c) { DrawKey(c, false, kGlyphMinus); }},
        {im::kMinusKeyPressed, 24, 23, [](Canvas& c) { DrawKey(c, true, kGlyphMinus); }},
        {im::kPlusKey, 24, 23, [](Canvas& c) { DrawKey(c, false, kGlyphPlus); }},
        {im::kPlusKeyPressed, 24, 23, [](Canvas& c) { DrawKey(c, true, kGlyphPlus); }},
        {im::kUpKey, 24, 23, [](Canvas& c) { DrawKey(c, false, kGlyphUp); }},
        {im::kUpKeyPressed, 24, 23, [](Canvas& c) { DrawKey(c, true, kGlyphUp); }},
        {im::kEnvironmentPanelOff, 148, 68, [](Canvas& c) { DrawEnvironmentPanel(c, false); }},
        {im::kEnvironmentPanelOn, 148, 68, [](Canvas& c) { DrawEnvironmentPanel(c, true); }},
        {im::kComboFace, 105, 19, [](Canvas& c) { DrawComboFace(c); }},
        {im::kEditFace, 100, 15, [](Canvas& c) { DrawEditFace(c); }},
        {im::kSurroundPictureOff, 286, 162, [](Canvas& c) { DrawSurroundPicture(c, false); }},
        {im::kSurroundPictureOn, 286, 162, [](Canvas& c) { DrawSurroundPicture(c, true); }},
    };
    for (int i = 0; i < int(im::kRatePictures.size()); ++i)
        list.push_back(
            {im::kRatePictures[size_t(i)], 51, 49, [i](Canvas& c) { DrawRatePicture(c, i); }});
    for (int size = 0; size < int(im::kRoomPictures.size()); ++size)
        list.push_back({im::kRoomPictures[size_t(size)], 51, 49,
                        [size](Canvas& c) { DrawRoomPicture(c, size); }});
    for (const qc::TemplateInfo& t : qc::Templates()) {
        int dialog = t.dialogId;
        list.push_back({t.backgroundId, t.pxW, t.pxH,
                        [dialog](Canvas& c) { DrawBackground(c, dialog); }, true});
    }
    return list;
}

std::string Name(const char* prefix, int id, const char* ext) {
    return prefix + std::to_string(id) + ext;
}

// Every bitmap at every display scale, as PNG files in OUTDIR/<percent>/, and the hand cursor
// at each scale; prints the compressed size of each scale and of all.
void WriteScaledSets(const std::string& dir) {
    namespace qc = quorelle::controls;
    const std::vector<Bitmap> bitmaps = AllBitmaps();
    std::string report = "scale  files  bytes\n";
    uint64_t total = 0;
    for (int percent : qc::kSkinScales) {
        const int dpi = qc::DpiOfPercent(percent);
        const std::string sub = dir + "/" + std::to_string(percent);
        std::filesystem::create_directories(sub);
        uint64_t bytes = 0;
        int files = 0;
        auto write = [&](const std::string& name, const std::vector<uint8_t>& data) {
            skin::WriteFile(sub + "/" + name, data);
            bytes += data.size();
            ++files;
        };
        for (const Bitmap& b : bitmaps) {
            Canvas canvas(b.width, b.height, false, dpi);
            b.draw(canvas);
            skin::KeyMask key;
            if (b.background) {
                // the outline of the page, each device pixel keyed as its logical pixel is
                skin::PageShape shape = skin::PageShape::For(b.width, b.height);
                key = [shape, dpi](int x, int y) {
                    return shape.IsKey(qc::ToLogical(x, dpi), qc::ToLogical(y, dpi));
                };
            }
            skin::ApplyKey(canvas, key);
            write(Name("bmp", b.id, ".png"), skin::EncodePng(canvas));
        }
        Canvas cursor(32, 32, true, dpi);
        skin::DrawHandCursor(cursor);
        write("cursor153.cur", skin::EncodeCursor(cursor, qc::ToDevice(6, dpi), 0));
        char line[64];
        std::snprintf(line, sizeof line, "%4d%%  %5d  %llu\n", percent, files,
                      static_cast<unsigned long long>(bytes));
        report += line;
        total += bytes;
    }
    report += "all           " + std::to_string(total) + "\n";
    skin::WriteFile(dir + "/sizes.txt", std::vector<uint8_t>(report.begin(), report.end()));
    std::fputs(report.c_str(), stdout);
}

}  // namespace

namespace skin {
void WritePreviews(const std::string& dir);
void WriteInstallerArt(const std::string& dir);
}  // namespace skin

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--preview") {
        std::filesystem::create_directories(argv[2]);
        skin::WritePreviews(argv[2]);
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--scales") {
        try {
            WriteScaledSets(argv[2]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "skingen: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr,
                     "usage: skingen OUTDIR [SCALESDIR] | --scales OUTDIR | --preview OUTDIR\n");
        return 2;
    }
    try {
        const std::string dir = argv[1];
        std::filesystem::create_directories(dir);
        std::vector<Bitmap> bitmaps = AllBitmaps();
        std::sort(bitmaps.begin(), bitmaps.end(),
                  [](const Bitmap& a, const Bitmap& b) { return a.id < b.id; });
        std::string rc = "// Generated by skingen: the skin's bitmaps, icon and cursor.\n";
        for (const Bitmap& b : bitmaps) {
            Canvas canvas(b.width, b.height);
            b.draw(canvas);
            skin::KeyMask key;
            skin::PageShape shape = skin::PageShape::For(b.width, b.height);
            if (b.background) key = [shape](int x, int y) { return shape.IsKey(x, y); };
            std::string file = Name("bmp", b.id, ".bmp");
            skin::WriteFile(dir + "/" + file, skin::EncodeBmp24(canvas, key));
            if (argc == 2) rc += std::to_string(b.id) + " BITMAP \"" + file + "\"\n";
        }
        if (argc == 3) {
            // every image of every scale as PNG, the type naming the scale: "SKIN150"
            const std::string scales = argv[2];
            for (int percent : quorelle::controls::kSkinScales) {
                for (const Bitmap& b : bitmaps) {
                    rc += std::to_string(b.id) + " SKIN" + std::to_string(percent) + " \"" +
                          scales + "/" + std::to_string(percent) + "/" + Name("bmp", b.id, ".png") +
                          "\"\n";
                }
            }
        }

        std::vector<std::unique_ptr<Canvas>> icons;
        std::vector<Canvas*> iconPtrs;
        for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
            icons.push_back(std::make_unique<Canvas>(size, size, true));
            skin::DrawIcon(*icons.back());
            iconPtrs.push_back(icons.back().get());
        }
        skin::WriteFile(dir + "/icon151.ico", skin::EncodeIcon(iconPtrs));
        rc += "IDI_APP ICON \"icon151.ico\"\n";  // the ids of resource.h

        // the hand cursor in the size of every display scale; the program asks for the one of
        // its window's scale
        std::vector<std::unique_ptr<Canvas>> cursors;
        std::vector<Canvas*> cursorPtrs;
        std::vector<std::pair<int, int>> hotSpots;
        for (int percent : quorelle::controls::kSkinScales) {
            const int dpi = quorelle::controls::DpiOfPercent(percent);
            cursors.push_back(std::make_unique<Canvas>(32, 32, true, dpi));
            skin::DrawHandCursor(*cursors.back());
            cursorPtrs.push_back(cursors.back().get());
            hotSpots.emplace_back(quorelle::controls::ToDevice(6, dpi), 0);
        }
        skin::WriteFile(dir + "/cursor153.cur", skin::EncodeCursor(cursorPtrs, hotSpots));
        rc += "IDC_HAND_POINTER CURSOR \"cursor153.cur\"\n";

        // the setup program's art (no resource of the program)
        skin::WriteInstallerArt(dir + "/installer");

        std::vector<uint8_t> rcBytes(rc.begin(), rc.end());
        skin::WriteFile(dir + "/skin.rc", rcBytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
