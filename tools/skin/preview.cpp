// skingen --preview DIR: each page's background with its controls drawn on top where the
// layout places them, and sample captions, as PNG files for looking at the art while working
// on it. The program itself never uses these.
#include <cmath>
#include <map>
#include <string>

#include "controls/layout.h"
#include "paint.h"
#include "pieces.h"

namespace skin {

using namespace quorelle::controls;

namespace {

void Blit(cairo_t* cr, Canvas& img, double x, double y, double w = 0, double h = 0) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (w > 0) cairo_scale(cr, w / img.width(), h / img.height());
    cairo_set_source_surface(cr, img.surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
}

const std::map<int, const char*>& SampleTexts() {
    static const std::map<int, const char*> t = {
        {1027, "Play"},
        {1028, "Master"},
        {1030, "Mute"},
        {1031, "Balance"},
        {1032, "Left"},
        {1033, "Right"},
        {1034, "Reset"},
        {1035, "Output"},
        {1036, "Sample Rate"},
        {1041, "Digital Out Switch"},
        {1042, "Sample BitDepth"},
        {1019, "44.1"},
        {1020, "48"},
        {1021, "88.2"},
        {1022, "96"},
        {1023, "176.4"},
        {1024, "192"},
        {1043, "16bit"},
        {1044, "24bit"},
        {1045, "32bit"},
        {1200, "Dynamic Bass"},
        {1201, "Audio Brilliant"},
        {1202, "Voice Clarity"},
        {1203, "Adaptive Volume"},
        {1190, "Surround"},
        {1191, "Impendance"},
        {1061, "OS Version"},
        {1062, "Driver Version"},
        {1063, "CPL Version"},
        {1064, "DirectX Version"},
        {1065, "Windows 10"},
        {1066, "6.0.1.8"},
        {1067, "1.0.0"},
        {1068, "11"},
        {1069, "Vandrexo Aurvel Audio Configuration"},
        {1070, "(c) Vandrexo"},
        {1071, "www.example.com"},
        {1125, "Dry Sound"},
        {1126, "Region Style"},
        {1127, "EQ Preset"},
        {1128, "Equalizer"},
        {1129, "Defined EQ"},
        {1130, "Environment"},
        {1131, "Treble"},
        {1132, "Bass"},
        {1133, "Pure Monitor"},
        {1134, "USA Style"},
        {1135, "England"},
        {1136, "Japan Style"},
        {1137, "Germany"},
        {1138, "Default"},
        {1139, "Bass"},
        {1140, "Treble"},
        {1141, "Live"},
        {1142, "Rock"},
        {1143, "Soft Rock"},
        {1144, "Dance"},
        {1145, "Jazz"},
        {1146, "Metal"},
        {1147, "Rap"},
        {1148, "Classic"},
        {1149, "Vocal"},
        {1215, "Room Type"},
        {1150, "Living Room"},
        {1151, "Audio Room"},
        {1152, "Bedroom"},
        {1153, "30"},
        {1154, "60"},
        {1155, "120"},
        {1156, "250"},
        {1157, "500"},
        {1158, "1K"},
        {1159, "2K"},
        {1160, "4K"},
        {1161, "8K"},
        {1162, "16K"},
        {1171, "Room"},
        {1172, "living Room"},
        {1173, "stone Room"},
    };
    return t;
}

const char* NavText(int index) {
    static const char* names[5] = {"Main", "Hifi Set", "Advance", "Headphone", "Information"};
    return names[index];
}

// The image a control shows in the preview (lit where that shows the lit look).
void DrawControlImage(Canvas& img, int dialog, const ControlPlace& c, int ownNav, int navIndex) {
    bool on = (c.id % 2) == 0;
    switch (c.kind) {
        case ControlKind::Button:
            if (img.width() == 86) {
                DrawKey(img, false, kGlyphClose);
            } else if (img.width() == 64) {
                DrawNavKey(img, navIndex == ownNav);
            } else if (img.width() == 55) {
                DrawKey(img, false, kGlyphReset);
            } else {
                int g = c.id == 1166   ? kGlyphPlus
                        : c.id == 1167 ? kGlyphMinus
                        : c.id == 1168 ? kGlyphUp
                                       : kGlyphDown;
                DrawKey(img, false, g);
            }
            break;
        case ControlKind::Lamp:
            if (img.width() == 15) {
                DrawSmallLed(img, on);
            } else if (img.width() == 24) {
                DrawSquareLamp(img, on);
            } else if (img.width() == 32) {
                DrawToggle(img, on);
            } else if (img.width() == 148) {
                DrawEnvironmentPanel(img, true);
            } else {
                bool mute = dialog == kMainDialog && c.id == 1008;
                DrawSlitSwitch(img, on, mute, mute);
            }
            break;
        case ControlKind::Picture:
            if (c.id == 1018) DrawRatePicture(img, 3);
            if (c.id == 1112) DrawRoomPicture(img, 1);
            if (c.id == 1175) DrawSurroundPicture(img, true);
            break;
        case ControlKind::Combo:
            DrawComboFace(img);
            break;
        case ControlKind::Edit:
            DrawEditFace(img);
            break;
        default:
            break;
    }
}

}  // namespace

void WritePreviews(const std::string& dir) {
    for (const TemplateInfo& t : Templates()) {
        Canvas page(t.pxW, t.pxH);
        DrawBackground(page, t.dialogId);
        cairo_t* cr = page.cr();
        int navIndex = 0;
        int ownNav = t.dialogId == kMainDialog      ? 0
                     : t.dialogId == kHifiDialog    ? 1
                     : t.dialogId == kAdvanceDialog ? 2
                     : t.dialogId == kHpDialog      ? 3
                                                    : 4;
        int labelNav = 0;
        for (const ControlPlace& c : TemplateControls(t.dialogId)) {
            PxRect r = PlacedRect(t.dialogId, c);
            if (c.kind == ControlKind::Label) {
                auto it = SampleTexts().find(c.id);
                const char* text = it != SampleTexts().end() ? it->second : nullptr;
                if (text == nullptr && r.x > 650) text = NavText(labelNav++ % 5);
                if (text == nullptr) continue;
                cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                                       CAIRO_FONT_WEIGHT_NORMAL);
                cairo_set_font_size(cr, 11.5);
                cairo_set_source_rgb(cr, 235 / 255.0, 235 / 255.0, 235 / 255.0);
                cairo_move_to(cr, r.x, r.y + 11);
                cairo_show_text(cr, text);
                continue;
            }
            if (c.kind == ControlKind::Knob) {
                int side = std::min(r.w, r.h);
                Canvas face(50, 50);
                DrawKnobFace(face);
                cairo_save(cr);
                cairo_arc(cr, r.x + side / 2.0, r.y + side / 2.0, side / 2.0, 0, 6.2832);
                cairo_clip(cr);
                Blit(cr, face, r.x, r.y, r.w, r.h);
                cairo_restore(cr);
                // dot at position 20 as the program draws it
                bool main = t.dialogId == kMainDialog;
                int dotR = main ? 10 : 8, max = main ? 65 : 52;
                int radius = side / 2 - dotR - 1;
                int angle = (20 * 360 / (max + 1) + 220) % 360;
                double th = angle * 3.141592653589793 / 180, dd = radius - dotR;
                int cx = side / 2, cy = side / 2;
                int x = int(std::sin(th) * dd + cx + r.x), y = int(cy - std::cos(th) * dd + r.y);
                int b = 4 * dotR / 5;
                cairo_rectangle(cr, 0, 0, 0, 0);
                cairo_save(cr);
                cairo_translate(cr, (x - b + 2 + x + b) / 2.0, (y - b + 2 + y + b) / 2.0);
                cairo_arc(cr, 0, 0, (2 * b - 2) / 2.0, 0, 6.2832);
                cairo_restore(cr);
                cairo_set_source_rgb(cr, 0, 0, 1);
                cairo_fill(cr);
                continue;
            }
            if (c.kind == ControlKind::Slider) {
                bool vertical = r.h > r.w;
                Canvas track(vertical ? 16 : 97, vertical ? 97 : 20);
                Canvas thumb(vertical ? 16 : 15, vertical ? 17 : 20);
                if (vertical) {
                    DrawBandTrack(track);
                    DrawBandThumb(thumb);
                    Blit(cr, track, r.x, r.y);
                    Blit(cr, thumb, r.x, r.y + 8 + (c.id % 5) * 16 - 8);
                } else {
                    DrawBalanceTrack(track);
                    DrawBalanceThumb(thumb);
                    cairo_save(cr);
                    cairo_rectangle(cr, r.x, r.y, r.w, r.h);
                    cairo_clip(cr);
                    for (int x = 0; x < r.w; x += 97) Blit(cr, track, r.x + x, r.y);
                    cairo_restore(cr);
                    Blit(cr, thumb, r.x + 7 + (r.w - 15) / 2 - 7, r.y);
                }
                continue;
            }
            Canvas img(r.w, r.h);
            if (c.kind == ControlKind::Button && img.width() == 64) ++navIndex;
            DrawControlImage(img, t.dialogId, c, ownNav, navIndex - 1);
            Blit(cr, img, r.x, r.y);
        }
        cairo_surface_write_to_png(page.surface(),
                                   (dir + "/page" + std::to_string(t.dialogId) + ".png").c_str());
    }
}

}  // namespace skin
