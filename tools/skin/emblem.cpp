// The program's icon and the pointing-hand cursor.
#include <cmath>

#include "paint.h"
#include "pieces.h"

namespace skin {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

// A dark tile carrying a silver volume knob inside a lit arc: reads as "sound control" even at
// 16 pixels.
void DrawIcon(Canvas& c) {
    cairo_t* cr = c.cr();
    double s = c.width();
    bool tiny = s <= 20;
    cairo_save(cr);
    cairo_scale(cr, s / 32.0, s / 32.0);
    // tile
    RoundRect(cr, 1, 1, 30, 30, tiny ? 5 : 6.5);
    LinearV(cr, 1, 31, Hex(0x4A4E55), Hex(0x16171A));
    cairo_fill(cr);
    RoundRect(cr, 2, 2, 28, 28, tiny ? 4 : 5.5);
    LinearV(cr, 2, 30, Hex(0x34373D), Hex(0x1D1F23));
    cairo_fill(cr);
    // lit arc: the volume scale from lower left round to lower right
    double cx = 16, cy = 16.5;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, tiny ? 3.2 : 2.6);
    cairo_arc(cr, cx, cy, 11.2, kPi * 0.72, kPi * 2.28);
    Source(cr, Hex(0x233847));
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, 11.2, kPi * 0.72, kPi * 1.85);
    Source(cr, pal::kAccent);
    cairo_stroke(cr);
    // knob
    cairo_arc(cr, cx, cy + 0.6, 7.4, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, 7, 0, 2 * kPi);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - 7, cy - 7, cx + 7, cy + 7);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.96, 0.97);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.48, 0.5, 0.53);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
    // pointer at the arc's lit end
    double a = kPi * 1.85;
    cairo_move_to(cr, cx + 2 * std::cos(a), cy + 2 * std::sin(a));
    cairo_line_to(cr, cx + 5.6 * std::cos(a), cy + 5.6 * std::sin(a));
    cairo_set_line_width(cr, tiny ? 2.2 : 1.8);
    Source(cr, Hex(0x1B2A35));
    cairo_stroke(cr);
    cairo_restore(cr);
}

// Pointing hand, 32 x 32, fingertip at (6, 0).
void DrawHandCursor(Canvas& c) {
    cairo_t* cr = c.cr();
    auto shape = [cr] {
        // index finger
        RoundRect(cr, 4.5, 1, 4, 15, 2);
        // folded fingers
        RoundRect(cr, 8.5, 10, 4, 8, 2);
        RoundRect(cr, 12.5, 11, 4, 8, 2);
        RoundRect(cr, 16.5, 12.5, 3.5, 8, 1.75);
        // palm
        cairo_move_to(cr, 4.5, 14);
        cairo_line_to(cr, 20, 15);
        cairo_line_to(cr, 19.5, 24);
        cairo_line_to(cr, 16.5, 28);
        cairo_line_to(cr, 8, 28);
        cairo_line_to(cr, 4.5, 23);
        cairo_close_path(cr);
        // thumb
        cairo_move_to(cr, 5, 16);
        cairo_line_to(cr, 2.2, 14.2);
        cairo_curve_to(cr, 0.4, 13.4, -0.4, 15.6, 1.2, 17);
        cairo_line_to(cr, 5, 21);
        cairo_close_path(cr);
    };
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    shape();
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    shape();
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    // knuckle creases
    cairo_set_line_width(cr, 0.8);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (double x : {12.5, 16.5}) {
        cairo_move_to(cr, x, 14);
        cairo_line_to(cr, x, 17.5);
    }
    cairo_stroke(cr);
}

}  // namespace skin
