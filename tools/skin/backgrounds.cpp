#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "controls/layout.h"
#include "decor.h"
#include "paint.h"
#include "pieces.h"
#include "shape.h"

namespace skin {

using namespace quorelle::controls;

namespace {
constexpr double kPi = 3.14159265358979323846;

PxRect Placed(int dialog, int id) {
    return PlacedRect(dialog, *FindControl(dialog, id));
}

// Bounding box of some controls, grown by a margin.
PxRect Around(int dialog, std::initializer_list<int> ids, int mx, int my) {
    int l = 1 << 20, t = 1 << 20, r = -(1 << 20), b = -(1 << 20);
    for (int id : ids) {
        PxRect p = Placed(dialog, id);
        l = std::min(l, p.x);
        t = std::min(t, p.y);
        r = std::max(r, p.Right());
        b = std::max(b, p.Bottom());
    }
    return {l - mx, t - my, r - l + 2 * mx, b - t + 2 * my};
}

void PanelPath(cairo_t* cr, const PageShape& s) {
    double w = s.width, b = s.panelBottom + 1, k = 5;
    cairo_move_to(cr, k, 0);
    cairo_line_to(cr, w - k, 0);
    cairo_line_to(cr, w, k);
    cairo_line_to(cr, w, b - k);
    cairo_line_to(cr, w - k, b);
    cairo_line_to(cr, k, b);
    cairo_line_to(cr, 0, b - k);
    cairo_line_to(cr, 0, k);
    cairo_close_path(cr);
}

void Panel(Canvas& c, const PageShape& s, uint32_t seed) {
    cairo_t* cr = c.cr();
    int b = s.panelBottom + 1;
    // satin anthracite front, brushed horizontally
    PanelPath(cr, s);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, b);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.235, 0.243, 0.262);
    cairo_pattern_add_color_stop_rgb(p, 0.08, 0.192, 0.2, 0.217);
    cairo_pattern_add_color_stop_rgb(p, 0.9, 0.145, 0.152, 0.166);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.11, 0.115, 0.125);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
    BrushGrain(c, 0, 0, s.width, b, 1.7, seed);
    // a soft sheen across the upper half
    cairo_save(cr);
    PanelPath(cr, s);
    cairo_clip(cr);
    cairo_pattern_t* sheen = cairo_pattern_create_radial(s.width * 0.35, -b * 0.6, 10,
                                                         s.width * 0.35, -b * 0.6, b * 1.6);
    cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, 0.10);
    cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, 0);
    cairo_set_source(cr, sheen);
    cairo_pattern_destroy(sheen);
    cairo_paint(cr);
    // bevelled edge: light above, dark below
    cairo_set_line_width(cr, 2);
    PanelPath(cr, s);
    cairo_pattern_t* edge = cairo_pattern_create_linear(0, 0, 0, b);
    cairo_pattern_add_color_stop_rgba(edge, 0, 1, 1, 1, 0.35);
    cairo_pattern_add_color_stop_rgba(edge, 0.5, 1, 1, 1, 0.06);
    cairo_pattern_add_color_stop_rgba(edge, 1, 0, 0, 0, 0.6);
    cairo_set_source(cr, edge);
    cairo_pattern_destroy(edge);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Feet(Canvas& c, const PageShape& s) {
    cairo_t* cr = c.cr();
    for (int foot = 0; foot < 2; ++foot) {
        for (int y = s.panelBottom + 1; y < s.height; ++y) {
            int l, r;
            s.FootSpan(foot, y, l, r);
            double t = double(y - s.panelBottom) / (s.height - s.panelBottom);
            for (int x = l; x <= r; ++x) {
                double u = double(x - l) / std::max(1, r - l);
                // rubber foot: darker towards the floor, a little light on its left flank
                double v = 0.16 - 0.09 * t + 0.05 * (1 - u) * (1 - t);
                cairo_rectangle(cr, x, y, 1, 1);
                cairo_set_source_rgb(cr, v, v, v * 1.05);
                cairo_fill(cr);
            }
        }
    }
}

// A recessed section: darker matte floor with a soft inner shadow.
void Section(Canvas& c, PxRect r, uint32_t seed) {
    Recess(c.cr(), r.x, r.y, r.w, r.h, 7, Hex(0x1C1D21));
    MatteGrain(c, r.x + 2, r.y + 2, r.w - 4, r.h - 4, 1.3, seed);
}

// Engraved tick: a dark cut with a light lower edge.
void Tick(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Rgb ink) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    Source(cr, ink);
    cairo_stroke(cr);
}

// Scale around a knob: one tick per five positions up to the drag limit.
void KnobScale(cairo_t* cr, int dialog, int id, int maxPos, int limit, double gap, double len) {
    PxRect k = Placed(dialog, id);
    double side = std::min(k.w, k.h);
    double cx = k.x + side / 2.0, cy = k.y + side / 2.0, r = side / 2.0;
    // the well the knob turns in
    cairo_arc(cr, cx, cy + 0.5, r + 2.5, 0, 2 * kPi);
    LinearV(cr, cy - r, cy + r, Hex(0x070708), Hex(0x54585F));
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r + 1, 0, 2 * kPi);
    Source(cr, Hex(0x0B0B0D));
    cairo_fill(cr);
    for (int p = 0; p <= limit; ++p) {
        bool major = p % 10 == 0 || p == limit;
        if (p % 5 != 0 && p != limit) continue;
        double deg = std::fmod(p * 360.0 / (maxPos + 1) + 220.0, 360.0);
        double a = deg * kPi / 180.0;
        double r0 = r + gap, r1 = r + gap + (major ? len : len * 0.6);
        double sx = std::sin(a), sy = -std::cos(a);
        Tick(cr, cx + sx * r0, cy + sy * r0, cx + sx * r1, cy + sy * r1, major ? 1.6 : 1.1,
             p == limit ? pal::kAccent : pal::kEngrave);
    }
}

// The slot well around a slider window, with the same profile as its track image.
void BalanceWell(cairo_t* cr, int dialog, int id) {
    PxRect s = Placed(dialog, id);
    double ext = 6;
    Recess(cr, s.x - ext, s.y, s.w + 2 * ext, s.h, 4, Hex(0x1E1F23));
    cairo_save(cr);
    RoundRect(cr, s.x - ext + 2, s.y, s.w + 2 * ext - 4, s.h, 3);
    cairo_clip(cr);
    SlotProfileH(cr, s.x - ext + 2, s.y, s.w + 2 * ext - 4, s.h);
    cairo_restore(cr);
    // centre mark and end marks under the slot
    double travel = s.w - 15.0;
    double mid = s.x + 7 + travel / 2;
    Tick(cr, mid, s.Bottom() + 3, mid, s.Bottom() + 7, 1.6, pal::kAccent);
    Tick(cr, s.x + 7, s.Bottom() + 3, s.x + 7, s.Bottom() + 5, 1.2, pal::kEngrave);
    Tick(cr, s.x + 7 + travel, s.Bottom() + 3, s.x + 7 + travel, s.Bottom() + 5, 1.2,
         pal::kEngrave);
}

void BandWell(cairo_t* cr, int dialog, int id) {
    PxRect s = Placed(dialog, id);
    double ext = 5;
    Recess(cr, s.x, s.y - ext, s.w, s.h + 2 * ext, 4, Hex(0x1E1F23));
    cairo_save(cr);
    RoundRect(cr, s.x, s.y - ext + 2, s.w, s.h + 2 * ext - 4, 3);
    cairo_clip(cr);
    SlotProfileV(cr, s.x, s.y - ext + 2, s.w, s.h + 2 * ext - 4);
    cairo_restore(cr);
    // -20 .. +20 in steps of 10 at the thumb centres 8, 28, 48, 68, 88
    for (int i = 0; i <= 4; ++i) {
        double y = s.y + 8 + i * 20 + 0.5;
        bool zero = i == 2;
        Tick(cr, s.x - (zero ? 6 : 4), y, s.x - 2, y, zero ? 1.4 : 1,
             zero ? pal::kAccent : pal::kEngrave);
        Tick(cr, s.Right() + 2, y, s.Right() + (zero ? 6 : 4), y, zero ? 1.4 : 1,
             zero ? pal::kAccent : pal::kEngrave);
    }
}

// Recessed seat for a picture or key: a dark rim one or two pixels around it.
void Seat(cairo_t* cr, PxRect r, double grow, double radius) {
    RoundRect(cr, r.x - grow, r.y - grow, r.w + 2 * grow, r.h + 2 * grow, radius);
    LinearV(cr, r.y - grow, r.Bottom() + grow, Hex(0x050506), Hex(0x5A5E65));
    cairo_fill(cr);
}

PxRect Box(int x0, int y0, int x1, int y1) {
    return {x0, y0, x1 - x0, y1 - y0};
}

// The navigation keys sit on a module of their own at the right end of the front: a separate
// brushed plate behind a vertical joint, full height.
void NavModule(Canvas& c, const PageShape& s, int dialog, std::initializer_list<int> keys) {
    cairo_t* cr = c.cr();
    int x0 = Around(dialog, keys, 0, 0).x - 10;
    int b = s.panelBottom + 1;
    cairo_save(cr);
    PanelPath(cr, s);
    cairo_clip(cr);
    cairo_rectangle(cr, x0, 0, s.width - x0, b);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, b);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.25, 0.258, 0.278);
    cairo_pattern_add_color_stop_rgb(p, 0.1, 0.2, 0.207, 0.225);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.13, 0.135, 0.148);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
    cairo_restore(cr);
    BrushGrain(c, x0, 2, s.width - x0 - 2, b - 4, 1.4, 977);
    // the joint: a dark cut with a light edge on its right
    cairo_rectangle(cr, x0 - 2, 2, 2, b - 4);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.85);
    cairo_fill(cr);
    cairo_rectangle(cr, x0, 2, 1, b - 4);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_fill(cr);
    Screw(cr, x0 + 10, b - 12, 4);
    Screw(cr, s.width - 12, b - 12, 4);
}

// Engraved leads from lamps to the zones of the picture they stand for.
void Leads(cairo_t* cr, int dialog, int picture, std::initializer_list<int> lamps) {
    PxRect pic = Placed(dialog, picture);
    int zone = 0;
    for (int id : lamps) {
        PxRect l = Placed(dialog, id);
        bool leftSide = l.Right() <= pic.x;
        double y0 = l.y + l.h / 2.0;
        double y1 = pic.y + (zone % 3 + 0.5) * pic.h / 3.0;
        double x0 = leftSide ? l.Right() + 3 : l.x - 3;
        double x1 = leftSide ? pic.x - 3 : pic.Right() + 3;
        double xm = leftSide ? x1 - 5 : x1 + 5;
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, xm, y0);
        cairo_line_to(cr, x1, y1);
        cairo_set_line_width(cr, 1);
        Source(cr, pal::kEngrave, 0.55);
        cairo_stroke(cr);
        ++zone;
    }
}

void MainPage(Canvas& c) {
    cairo_t* cr = c.cr();
    const int d = kMainDialog;
    Section(c, Box(22, 38, 306, 256), 11);
    Section(c, Box(318, 38, 412, 256), 12);
    Section(c, Box(440, 38, 670, 256), 13);
    KnobScale(cr, d, 1007, 65, 50, 4, 5);
    BalanceWell(cr, d, 1010);
    // output route: headphone above, speaker below the toggle
    PxRect hp = Placed(d, 1025), sp = Placed(d, 1026), tg = Placed(d, 1029);
    Seat(cr, tg, 1, 6);
    Source(cr, Hex(0xB9BEC4));
    HeadphoneGlyph(cr, tg.x + 4, hp.y + hp.h / 2.0 - 12, 24);
    SpeakerGlyph(cr, tg.x + 4, sp.y + sp.h / 2.0 - 12, 24);
    Seat(cr, Placed(d, 1018), 1, 6);
    Leads(cr, d, 1018, {1012, 1013, 1014, 1015, 1016, 1017});
}

void InfoPage(Canvas& c) {
    cairo_t* cr = c.cr();
    const int d = kInfoDialog;
    PxRect versions = Box(36, 66, 362, 248);
    Section(c, versions, 21);
    PxRect about = Box(404, 66, 682, 248);
    Section(c, about, 22);
    // engraved rules between the rows of the version table, half way between one row's text
    // (about 16 pixels tall) and the next row
    const int rows[4] = {1061, 1062, 1063, 1064};
    for (int i = 0; i + 1 < 4; ++i) {
        double y = std::floor((Placed(d, rows[i]).y + 16 + Placed(d, rows[i + 1]).y) / 2.0);
        cairo_rectangle(cr, versions.x + 14, y, versions.w - 28, 1);
        Source(cr, Hex(0x0A0A0C));
        cairo_fill(cr);
        cairo_rectangle(cr, versions.x + 14, y + 1, versions.w - 28, 1);
        Source(cr, Hex(0x34373D));
        cairo_fill(cr);
    }
    // a readout window behind each value, the width of the widest value label
    int right = 0;
    for (int id : {1065, 1066, 1067, 1068}) right = std::max(right, Placed(d, id).Right());
    for (int id : {1065, 1066, 1067, 1068}) {
        PxRect v = Placed(d, id);
        Recess(cr, v.x - 7, v.y - 3, right + 5 - (v.x - 7), 22, 3, Hex(0x131417));
    }
    // the title as a heading with an engraved rule under it
    PxRect title = Placed(d, 1069);
    cairo_rectangle(cr, title.x, title.y + 24, about.Right() - 16 - title.x, 1);
    Source(cr, Hex(0x0A0A0C));
    cairo_fill(cr);
    cairo_rectangle(cr, title.x, title.y + 25, about.Right() - 16 - title.x, 1);
    Source(cr, Hex(0x34373D));
    cairo_fill(cr);
    // the web address is marked by a globe in the margin
    PxRect address = Placed(d, 1071);
    Source(cr, pal::kAccent);
    GlobeGlyph(cr, address.x - 24, address.y + 1, 15);
}

void HeadphonePage(Canvas& c) {
    cairo_t* cr = c.cr();
    const int d = kHpDialog;
    Section(c, Box(40, 44, 380, 256), 31);
    Section(c, Box(430, 44, 650, 256), 32);
    Seat(cr, Placed(d, 1175), 1.5, 9);
    Seat(cr, Placed(d, 1178), 1, 6);
    // lines from the indicators to the toggle's two positions
    PxRect up = Placed(d, 1176), lo = Placed(d, 1177), tg = Placed(d, 1178);
    for (PxRect ind : {up, lo}) {
        double y = ind.y + ind.h / 2.0;
        double ty = ind.y < tg.y ? tg.y + 8.0 : tg.Bottom() - 8.0;
        cairo_move_to(cr, ind.Right() + 4, y);
        cairo_line_to(cr, tg.x - 10, y);
        cairo_line_to(cr, tg.x - 4, ty);
        cairo_set_line_width(cr, 1.2);
        Source(cr, pal::kEngrave, 0.8);
        cairo_stroke(cr);
    }
    Source(cr, pal::kEngrave);
    OhmGlyph(cr, tg.Right() + 14, tg.y + tg.h / 2.0 - 13, 26);
}

void AdvancePage(Canvas& c) {
    cairo_t* cr = c.cr();
    const int d = kAdvanceDialog;
    const int toggles[4] = {1192, 1193, 1194, 1195};
    const int names[4] = {1200, 1201, 1202, 1203};
    for (int i = 0; i < 4; ++i) {
        PxRect t = Placed(d, toggles[i]);
        PxRect n = Placed(d, names[i]);
        int mid = t.x + t.w / 2;
        Section(c, Box(mid - 62, n.y - 14, mid + 80, t.Bottom() + 22), 41 + i);
        Seat(cr, t, 1, 6);
        Source(cr, pal::kEngrave);
        EffectGlyph(cr, i, t.Right() + 14, t.y + 9, 34);
    }
}

void HifiPage(Canvas& c) {
    cairo_t* cr = c.cr();
    const int d = kHifiDialog;
    // upper row: master switch over tone and region styles, then presets and room
    PxRect toneRegion = Box(26, 44, 258, 248);
    Section(c, toneRegion, 51);
    Section(c, Box(264, 44, 458, 248), 53);
    Section(c, Box(464, 44, 654, 248), 54);
    // lower row: equalizer and environment
    Section(c, Box(26, 254, 458, 426), 55);
    Section(c, Box(464, 254, 654, 426), 56);
    // joint between the master row and the tone and region columns below it
    PxRect region = Placed(d, 1088);
    cairo_rectangle(cr, toneRegion.x + 8, region.y - 6, toneRegion.w - 16, 1);
    Source(cr, Hex(0x0A0A0C));
    cairo_fill(cr);
    cairo_rectangle(cr, toneRegion.x + 8, region.y - 5, toneRegion.w - 16, 1);
    Source(cr, Hex(0x3A3D43));
    cairo_fill(cr);
    cairo_rectangle(cr, region.x - 10, region.y - 1, 1, toneRegion.Bottom() - region.y - 8);
    Source(cr, Hex(0x0A0A0C));
    cairo_fill(cr);
    cairo_rectangle(cr, region.x - 9, region.y - 1, 1, toneRegion.Bottom() - region.y - 8);
    Source(cr, Hex(0x3A3D43));
    cairo_fill(cr);
    KnobScale(cr, d, 1007, 52, 40, 2.5, 3.5);
    KnobScale(cr, d, 1008, 52, 40, 2.5, 3.5);
    // the tone switch has no caption: an engraved dial beside it says what it switches on
    PxRect tone = Placed(d, 1085);
    double gx = tone.Right() + 14, gy = tone.y + tone.h / 2.0;
    cairo_arc(cr, gx, gy, 6, 0, 2 * kPi);
    cairo_set_line_width(cr, 1.4);
    Source(cr, pal::kEngrave);
    cairo_stroke(cr);
    Tick(cr, gx, gy, gx + 3.5, gy - 3.5, 1.4, pal::kEngrave);
    for (double deg : {220.0, 265.0, 310.0, 355.0, 40.0, 85.0, 130.0}) {
        double a = deg * kPi / 180.0, sx = std::sin(a), sy = -std::cos(a);
        Tick(cr, gx + sx * 8.5, gy + sy * 8.5, gx + sx * 10, gy + sy * 10, 1, pal::kEngrave);
    }
    for (int id = 1115; id <= 1124; ++id) BandWell(cr, d, id);
    Seat(cr, Placed(d, 1112), 1, 6);
    Leads(cr, d, 1112, {1109, 1110, 1111});
    Seat(cr, Placed(d, 1170), 1, 7);
    Seat(cr, Placed(d, 1164), 1, 2);
    Seat(cr, Placed(d, 1165), 1, 2);
}

}  // namespace

void DrawBackground(Canvas& c, int dialogId) {
    PageShape shape = PageShape::For(c.width(), c.height());
    cairo_t* cr = c.cr();
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.05);
    cairo_paint(cr);
    Panel(c, shape, uint32_t(dialogId) * 7919u);
    Feet(c, shape);
    for (double y : {12.0, shape.panelBottom + 1 - 12.0}) Screw(cr, 12, y, 4);
    Wordmark(cr, 30, shape.panelBottom - 28);
    switch (dialogId) {
        case kMainDialog:
            MainPage(c);
            NavModule(c, shape, dialogId, {1000, 1001, 1005});
            break;
        case kInfoDialog:
            InfoPage(c);
            NavModule(c, shape, dialogId, {1051, 1053, 1060});
            break;
        case kHifiDialog:
            HifiPage(c);
            NavModule(c, shape, dialogId, {1073, 1075, 1083});
            break;
        case kHpDialog:
            HeadphonePage(c);
            NavModule(c, shape, dialogId, {1179, 1181, 1188});
            break;
        case kAdvanceDialog:
            AdvancePage(c);
            NavModule(c, shape, dialogId, {1204, 1206, 1209});
            break;
        default:
            break;
    }
}

}  // namespace skin
