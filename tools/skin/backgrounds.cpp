#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "controls/layout.h"
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

PxRect Union(PxRect a, PxRect b) {
    int l = std::min(a.x, b.x), t = std::min(a.y, b.y);
    int r = std::max(a.Right(), b.Right()), btm = std::max(a.Bottom(), b.Bottom());
    return {l, t, r - l, btm - t};
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

void Corners(cairo_t* cr, const PageShape& s) {
    double b = s.panelBottom + 1;
    for (double x : {12.0, s.width - 12.0})
        for (double y : {12.0, b - 12.0}) Screw(cr, x, y, 4);
}

// A recessed section: darker matte floor with a soft inner shadow.
void Section(Canvas& c, PxRect r, uint32_t seed) {
    Recess(c.cr(), r.x, r.y, r.w, r.h, 7, Hex(0x1C1D21));
    MatteGrain(c, r.x + 2, r.y + 2, r.w - 4, r.h - 4, 1.3, seed);
}

// The raised plate the navigation keys sit on.
void NavPlate(Canvas& c, PxRect r) {
    cairo_t* cr = c.cr();
    RoundRect(cr, r.x - 1, r.y - 1, r.w + 2, r.h + 3, 9);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_fill(cr);
    RaisedPlate(cr, r.x, r.y, r.w, r.h, 8, Hex(0x34373C), Hex(0x1F2024));
    BrushGrain(c, r.x + 2, r.y + 2, r.w - 4, r.h - 4, 1.2, 7);
}

void NavColumn(Canvas& c, int dialog, std::initializer_list<int> ids) {
    NavPlate(c, Around(dialog, ids, 9, 9));
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
void KnobScale(cairo_t* cr, int dialog, int id, int maxPos, int limit, double gap) {
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
        double r0 = r + gap, r1 = r + gap + (major ? 5 : 3);
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

void MainPage(Canvas& c) {
    cairo_t* cr = c.cr();
    const int d = kMainDialog;
    PxRect play =
        Around(d, {1027, 1007, 1028, 1031, 1010, 1032, 1033, 1008, 1030, 1011, 1034}, 14, 10);
    PxRect out = Around(d, {1035, 1025, 1029, 1026}, 14, 10);
    out.w += 34;
    PxRect fmt = Around(d, {1037, 1041, 1042, 1038, 1039, 1040, 1043, 1044, 1045, 1012, 1013, 1014,
                            1015, 1016, 1017, 1019, 1020, 1021, 1022, 1023, 1024, 1018, 1036},
                        12, 10);
    int top = std::min({play.y, out.y, fmt.y}),
        bottom = std::max({play.Bottom(), out.Bottom(), fmt.Bottom()});
    for (PxRect* r : {&play, &out, &fmt}) {
        r->y = top;
        r->h = bottom - top;
    }
    Section(c, play, 11);
    Section(c, out, 12);
    Section(c, fmt, 13);
    KnobScale(cr, d, 1007, 65, 50, 4);
    BalanceWell(cr, d, 1010);
    // output route: headphone above, speaker below the toggle
    PxRect hp = Placed(d, 1025), sp = Placed(d, 1026), tg = Placed(d, 1029);
    Seat(cr, tg, 1, 6);
    Source(cr, Hex(0xB9BEC4));
    HeadphoneGlyph(cr, tg.x + 2, hp.y + hp.h / 2.0 - 12, 24);
    SpeakerGlyph(cr, tg.x + 2, sp.y + sp.h / 2.0 - 12, 24);
    // rate selector: marks joining each lamp to the dial
    Seat(cr, Placed(d, 1018), 1, 6);
}

void InfoPage(Canvas& c) {
    const int d = kInfoDialog;
    Section(c, Around(d, {1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068}, 14, 12), 21);
    Section(c, Around(d, {1069, 1070, 1071}, 14, 12), 22);
}

void HeadphonePage(Canvas& c) {
    cairo_t* cr = c.cr();
    const int d = kHpDialog;
    PxRect sur = Around(d, {1174, 1190, 1175}, 14, 12);
    PxRect imp = Around(d, {1191, 1176, 1178, 1177}, 14, 12);
    imp.y = sur.y;
    imp.h = sur.h;
    Section(c, sur, 31);
    Section(c, imp, 32);
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
}

void AdvancePage(Canvas& c) {
    cairo_t* cr = c.cr();
    const int d = kAdvanceDialog;
    const int names[4] = {1200, 1201, 1202, 1203};
    const int leds[4] = {1196, 1197, 1198, 1199};
    const int toggles[4] = {1192, 1193, 1194, 1195};
    for (int i = 0; i < 4; ++i) {
        PxRect r = Around(d, {leds[i], toggles[i]}, 0, 0);
        PxRect n = Placed(d, names[i]);
        PxRect t = Placed(d, toggles[i]);
        PxRect col{t.x + t.w / 2 - 62, n.y - 12, 124, r.Bottom() + 26 - (n.y - 12)};
        Section(c, col, 41 + i);
        Seat(cr, t, 1, 6);
    }
}

void HifiPage(Canvas& c) {
    cairo_t* cr = c.cr();
    const int d = kHifiDialog;
    PxRect master = Around(d, {1084, 1125}, 10, 8);
    PxRect tone = Around(d, {1085, 1131, 1007, 1132, 1008}, 10, 8);
    PxRect region =
        Around(d, {1088, 1126, 1087, 1097, 1098, 1099, 1100, 1133, 1134, 1135, 1136, 1137}, 10, 8);
    PxRect preset = Around(d,
                           {1090, 1127, 1089, 1091, 1093, 1095, 1101, 1102, 1103, 1104, 1105, 1106,
                            1107, 1108, 1138, 1143, 1144, 1149},
                           10, 8);
    PxRect room = Around(d, {1092, 1215, 1150, 1151, 1152, 1109, 1110, 1111, 1112}, 10, 8);
    PxRect eq = Around(
        d, {1094, 1128, 1163, 1115, 1124, 1153, 1162, 1114, 1129, 1164, 1165, 1166, 1167}, 10, 8);
    PxRect env = Around(d, {1096, 1130, 1170, 1168, 1169}, 10, 8);
    // the upper row shares its top and bottom edges
    PxRect upper = Union(Union(tone, region), Union(preset, room));
    tone = Union(tone, master);
    for (PxRect* r : {&tone, &region, &preset, &room}) {
        r->y = std::min(upper.y, master.y);
        r->h = upper.Bottom() - r->y;
    }
    region.x = tone.Right() + 8;
    region.w = std::max(region.w, Placed(d, 1089).x - 8 - region.x - 6);
    for (PxRect* r : {&eq, &env}) {
        r->y = std::min(eq.y, env.y);
        r->h = std::max(eq.Bottom(), env.Bottom()) - r->y;
    }
    Section(c, tone, 51);
    Section(c, region, 52);
    Section(c, preset, 53);
    Section(c, room, 54);
    Section(c, eq, 55);
    Section(c, env, 56);
    KnobScale(cr, d, 1007, 52, 40, 3);
    KnobScale(cr, d, 1008, 52, 40, 3);
    for (int id = 1115; id <= 1124; ++id) BandWell(cr, d, id);
    Seat(cr, Placed(d, 1112), 1, 6);
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
    Corners(cr, shape);
    switch (dialogId) {
        case kMainDialog:
            MainPage(c);
            NavColumn(c, dialogId, {1000, 1001, 1002, 1003, 1004, 1005, 1046, 1050});
            break;
        case kInfoDialog:
            InfoPage(c);
            NavColumn(c, dialogId, {1051, 1053, 1060, 1052});
            break;
        case kHifiDialog:
            HifiPage(c);
            NavColumn(c, dialogId, {1073, 1075, 1083, 1074});
            break;
        case kHpDialog:
            HeadphonePage(c);
            NavColumn(c, dialogId, {1179, 1181, 1188, 1180});
            break;
        case kAdvanceDialog:
            AdvancePage(c);
            NavColumn(c, dialogId, {1204, 1206, 1209, 1205});
            break;
        default:
            break;
    }
}

}  // namespace skin
