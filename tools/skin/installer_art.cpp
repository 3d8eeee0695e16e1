// The setup program's art: the picture on its welcome and finish pages (the panel's front in
// portrait, with its volume knob and engraved name) at every display scale, and its icon.
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "controls/scale.h"
#include "decor.h"
#include "paint.h"
#include "pieces.h"

namespace skin {

namespace {
constexpr double kPi = 3.14159265358979323846;

void DrawInstallerWelcome(Canvas& c) {
    cairo_t* cr = c.cr();
    const double w = c.width(), h = c.height();
    // satin anthracite, brushed
    LinearV(cr, 0, h, Hex(0x3C3E43), Hex(0x1C1D20));
    cairo_paint(cr);
    BrushGrain(c, 0, 0, c.width(), c.height(), 1.7, 4243);
    // screwed on at the top; the face runs on past the page's lower edge
    Screw(cr, 12, 12, 4);
    Screw(cr, w - 12, 12, 4);

    // the knob in its well, inside a scale lit up to three quarters
    const double cx = w / 2, cy = 128, r = 44;
    cairo_arc(cr, cx, cy + 0.5, r + 3, 0, 2 * kPi);
    LinearV(cr, cy - r, cy + r, Hex(0x070708), Hex(0x54585F));
    cairo_fill(cr);
    for (int i = 0; i <= 20; ++i) {
        double a = (220.0 + i * 14.0) * kPi / 180.0;
        double r0 = r + 8, r1 = r + (i % 5 == 0 ? 15 : 12);
        cairo_move_to(cr, cx + std::sin(a) * r0, cy - std::cos(a) * r0);
        cairo_line_to(cr, cx + std::sin(a) * r1, cy - std::cos(a) * r1);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, i % 5 == 0 ? 1.8 : 1.2);
        Source(cr, i <= 15 ? pal::kAccent : pal::kEngrave, i <= 15 ? 0.95 : 0.8);
        cairo_stroke(cr);
    }
    // the face drawn at the canvas's scale and laid on whole device pixels, never resampled
    Canvas knob(int(2 * r), int(2 * r), false, c.dpi());
    DrawKnobFace(knob);
    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_clip(cr);
    cairo_scale(cr, 1 / c.scale(), 1 / c.scale());
    cairo_set_source_surface(cr, knob.surface(), std::round((cx - r) * c.scale()),
                             std::round((cy - r) * c.scale()));
    cairo_paint(cr);
    cairo_restore(cr);
    // its pointer, at the end of the lit scale
    const double a = (220.0 + 15 * 14.0) * kPi / 180.0;
    cairo_move_to(cr, cx + std::sin(a) * r * 0.2, cy - std::cos(a) * r * 0.2);
    cairo_line_to(cr, cx + std::sin(a) * r * 0.6, cy - std::cos(a) * r * 0.6);
    cairo_set_line_width(cr, 3);
    Source(cr, Hex(0x1B2A35));
    cairo_stroke(cr);

    // the name, engraved, with the accent line under it
    const double nameH = 12, spacing = 0.42;
    const double nameW = StrokeTextWidth("QUORELLE", nameH, spacing);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        cairo_set_line_width(cr, 1.8);
        StrokeText(cr, "QUORELLE", (w - nameW) / 2, 226 + (pass == 0 ? 1 : 0), nameH, spacing);
        if (pass == 0)
            cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
        else
            LinearV(cr, 226, 226 + nameH, Hex(0xE2E5E8), Hex(0x8F949A));
        cairo_stroke(cr);
    }
    cairo_rectangle(cr, (w - nameW) / 2, 248, nameW, 1);
    Source(cr, pal::kAccent, 0.8);
    cairo_fill(cr);
    const double subW = StrokeTextWidth("PCI-E AUDIO", 6, 0.5);
    cairo_set_line_width(cr, 1.0);
    StrokeText(cr, "PCI-E AUDIO", (w - subW) / 2, 256, 6, 0.5);
    Source(cr, Hex(0x9A9FA6));
    cairo_stroke(cr);
}

}  // namespace

// The welcome picture fills the 109 x 193 dialog-unit picture area of the setup's welcome and
// finish pages: 164 x 314 pixels at 100 %. The setup shows it unstretched, the one drawn for the
// window's scale, so it is drawn at every scale of the skin: each step the system offers up to
// 300 % but 225 % gets a picture of its size (225 % shows the 200 % one). Dialog units follow the
// dialog font's whole-pixel metrics, so at other scales the area is up to a few per cent taller
// or shorter than 314 times the scale: the picture is 20 pixels taller, with nothing at its foot,
// and the page cuts it off at its own height.
// OUTDIR/welcome-<percent>.bmp, and OUTDIR/setup.ico with the icon at the sizes the setup's
// window and taskbar button take at 100 to 300 % (small 16 .. 48, large 32 .. 96) and 256 for the
// file's large views.
void WriteInstallerArt(const std::string& dir) {
    namespace qc = quorelle::controls;
    std::filesystem::create_directories(dir);
    for (int percent : qc::kSkinScales) {
        Canvas welcome(164, 334, false, qc::DpiOfPercent(percent));
        DrawInstallerWelcome(welcome);
        WriteFile(dir + "/welcome-" + std::to_string(percent) + ".bmp", EncodeBmp24(welcome, {}));
    }
    std::vector<std::unique_ptr<Canvas>> icons;
    std::vector<Canvas*> images;
    for (int size : {16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80, 96, 256}) {
        icons.push_back(std::make_unique<Canvas>(size, size, true));
        DrawIcon(*icons.back());
        images.push_back(icons.back().get());
    }
    WriteFile(dir + "/setup.ico", EncodeIcon(images));
}

}  // namespace skin
