#include "decor.h"

#include <cmath>

#include "paint.h"

namespace skin {

namespace {
constexpr double kPi = 3.14159265358979323846;

// Elliptic arc in the unit box of a letter.
void Arc(cairo_t* cr, double cx, double cy, double rx, double ry, double a0, double a1,
         bool negative = false) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    if (negative) {
        cairo_arc_negative(cr, 0, 0, 1, a0, a1);
    } else {
        cairo_arc(cr, 0, 0, 1, a0, a1);
    }
    cairo_restore(cr);
}

double LetterWidth(char ch) {
    switch (ch) {
        case 'I':
            return 0.12;
        case '-':
            return 0.45;
        case ' ':
            return 0.35;
        case 'L':
        case 'E':
            return 0.58;
        case 'O':
        case 'Q':
        case 'C':
        case 'D':
            return 0.8;
        default:
            return 0.68;
    }
}

// Strokes of one letter in a box of width LetterWidth and height 1 (y down).
void Letter(cairo_t* cr, char ch) {
    double w = LetterWidth(ch);
    switch (ch) {
        case 'A':
            cairo_move_to(cr, 0, 1);
            cairo_line_to(cr, w / 2, 0);
            cairo_line_to(cr, w, 1);
            cairo_move_to(cr, w * 0.2, 0.64);
            cairo_line_to(cr, w * 0.8, 0.64);
            break;
        case 'C':
            cairo_new_sub_path(cr);
            Arc(cr, w / 2, 0.5, w / 2, 0.5, kPi * 0.27, kPi * 1.73);
            break;
        case 'D':
            cairo_move_to(cr, 0, 0);
            cairo_line_to(cr, 0, 1);
            cairo_line_to(cr, w * 0.4, 1);
            Arc(cr, w * 0.4, 0.5, w * 0.6, 0.5, kPi / 2, -kPi / 2, true);
            cairo_close_path(cr);
            break;
        case 'E':
            cairo_move_to(cr, w, 0);
            cairo_line_to(cr, 0, 0);
            cairo_line_to(cr, 0, 1);
            cairo_line_to(cr, w, 1);
            cairo_move_to(cr, 0, 0.5);
            cairo_line_to(cr, w * 0.82, 0.5);
            break;
        case 'I':
            cairo_move_to(cr, w / 2, 0);
            cairo_line_to(cr, w / 2, 1);
            break;
        case 'L':
            cairo_move_to(cr, 0, 0);
            cairo_line_to(cr, 0, 1);
            cairo_line_to(cr, w, 1);
            break;
        case 'O':
        case 'Q':
            cairo_new_sub_path(cr);
            Arc(cr, w / 2, 0.5, w / 2, 0.5, 0, 2 * kPi);
            cairo_close_path(cr);
            if (ch == 'Q') {
                cairo_move_to(cr, w * 0.62, 0.72);
                cairo_line_to(cr, w * 1.02, 1.08);
            }
            break;
        case 'P':
        case 'R':
            cairo_move_to(cr, 0, 1);
            cairo_line_to(cr, 0, 0);
            cairo_line_to(cr, w * 0.62, 0);
            Arc(cr, w * 0.62, 0.26, w * 0.38, 0.26, -kPi / 2, kPi / 2);
            cairo_line_to(cr, 0, 0.52);
            if (ch == 'R') {
                cairo_move_to(cr, w * 0.5, 0.52);
                cairo_line_to(cr, w, 1);
            }
            break;
        case 'U':
            cairo_move_to(cr, 0, 0);
            cairo_line_to(cr, 0, 0.62);
            Arc(cr, w / 2, 0.62, w / 2, 0.38, kPi, 0, true);
            cairo_line_to(cr, w, 0);
            break;
        case '-':
            cairo_move_to(cr, w * 0.1, 0.56);
            cairo_line_to(cr, w * 0.9, 0.56);
            break;
        default:
            break;
    }
}
}  // namespace

double StrokeTextWidth(const char* text, double h, double spacing) {
    double w = 0;
    for (const char* p = text; *p; ++p) w += (LetterWidth(*p) + (p[1] ? spacing : 0)) * h;
    return w;
}

void StrokeText(cairo_t* cr, const char* text, double x, double y, double h, double spacing) {
    for (const char* p = text; *p; ++p) {
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, h, h);
        Letter(cr, *p);
        cairo_restore(cr);
        x += (LetterWidth(*p) + spacing) * h;
    }
}

void Wordmark(cairo_t* cr, double x, double y) {
    const double h = 10;
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // engraved: a dark cut under a light inlay
    for (int pass = 0; pass < 2; ++pass) {
        double dy = pass == 0 ? 1 : 0;
        cairo_set_line_width(cr, 1.6);
        StrokeText(cr, "QUORELLE", x, y + dy, h, 0.42);
        if (pass == 0) {
            cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
        } else {
            LinearV(cr, y, y + h, Hex(0xD5D8DC), Hex(0x8F949A));
        }
        cairo_stroke(cr);
    }
    double tx = x + StrokeTextWidth("QUORELLE", h, 0.42) + 14;
    cairo_rectangle(cr, tx - 7, y + 1, 1, h - 2);
    Source(cr, pal::kAccent, 0.8);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.0);
    StrokeText(cr, "PCI-E AUDIO", tx, y + 3, 6, 0.5);
    Source(cr, Hex(0x7E838A));
    cairo_stroke(cr);
    cairo_restore(cr);
}

void SofaGlyph(cairo_t* cr, double x, double y, double s) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    RoundRect(cr, 0.14, 0.2, 0.72, 0.36, 0.08);  // back cushion
    RoundRect(cr, 0.0, 0.4, 0.16, 0.4, 0.06);    // arms
    RoundRect(cr, 0.84, 0.4, 0.16, 0.4, 0.06);
    RoundRect(cr, 0.16, 0.56, 0.68, 0.2, 0.04);  // seat
    cairo_rectangle(cr, 0.06, 0.8, 0.08, 0.1);   // feet
    cairo_rectangle(cr, 0.86, 0.8, 0.08, 0.1);
    cairo_fill(cr);
    cairo_restore(cr);
}

void SpeakerPairGlyph(cairo_t* cr, double x, double y, double s) {
    cairo_pattern_t* ink = cairo_pattern_reference(cairo_get_source(cr));
    for (double cx : {0.17, 0.83})
        RoundRect(cr, x + (cx - 0.15) * s, y + 0.05 * s, 0.3 * s, 0.9 * s, 0.05 * s);
    // the listener between them
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + 0.5 * s, y + 0.66 * s, 0.09 * s, 0, 2 * kPi);
    cairo_fill(cr);
    // drivers cut into the cabinets
    cairo_set_source_rgb(cr, 0.06, 0.07, 0.08);
    for (double cx : {0.17, 0.83}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + cx * s, y + 0.62 * s, 0.1 * s, 0, 2 * kPi);
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + cx * s, y + 0.27 * s, 0.055 * s, 0, 2 * kPi);
    }
    cairo_fill(cr);
    cairo_set_source(cr, ink);
    cairo_pattern_destroy(ink);
}

void BedGlyph(cairo_t* cr, double x, double y, double s) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    cairo_rectangle(cr, 0.0, 0.15, 0.08, 0.75);   // headboard
    RoundRect(cr, 0.08, 0.5, 0.92, 0.24, 0.04);   // mattress
    RoundRect(cr, 0.12, 0.32, 0.22, 0.16, 0.06);  // pillow
    RoundRect(cr, 0.38, 0.36, 0.6, 0.14, 0.05);   // blanket
    cairo_rectangle(cr, 0.92, 0.74, 0.08, 0.16);  // foot
    cairo_fill(cr);
    cairo_restore(cr);
}

void OhmGlyph(cairo_t* cr, double x, double y, double s) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    cairo_set_line_width(cr, 0.11);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 0.12, 0.9);
    cairo_line_to(cr, 0.36, 0.9);
    cairo_line_to(cr, 0.36, 0.78);
    cairo_arc(cr, 0.5, 0.45, 0.36, kPi * 0.62, kPi * 2.38);
    cairo_line_to(cr, 0.64, 0.9);
    cairo_line_to(cr, 0.88, 0.9);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void GlobeGlyph(cairo_t* cr, double x, double y, double s) {
    cairo_save(cr);
    cairo_translate(cr, x + s / 2, y + s / 2);
    cairo_scale(cr, s, s);
    cairo_set_line_width(cr, 0.075);
    cairo_arc(cr, 0, 0, 0.44, 0, 2 * kPi);
    cairo_stroke(cr);
    // meridian
    cairo_save(cr);
    cairo_scale(cr, 0.45, 1);
    cairo_arc(cr, 0, 0, 0.44, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, -0.44);
    cairo_line_to(cr, 0, 0.44);
    // equator and two parallels
    cairo_move_to(cr, -0.44, 0);
    cairo_line_to(cr, 0.44, 0);
    for (double py : {-0.22, 0.22}) {
        double half = std::sqrt(0.44 * 0.44 - py * py);
        cairo_move_to(cr, -half, py);
        cairo_line_to(cr, half, py);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

void EffectGlyph(cairo_t* cr, int effect, double x, double y, double s) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (effect) {
        case 0:  // bass: a deep, slow wave over a small quick one
            cairo_set_line_width(cr, 0.08);
            for (int i = 0; i <= 40; ++i) {
                double t = i / 40.0, v = 0.42 - 0.3 * std::sin(t * 2 * kPi);
                i == 0 ? cairo_move_to(cr, t, v) : cairo_line_to(cr, t, v);
            }
            cairo_stroke(cr);
            cairo_set_line_width(cr, 0.04);
            for (int i = 0; i <= 80; ++i) {
                double t = i / 80.0, v = 0.86 - 0.06 * std::sin(t * 12 * kPi);
                i == 0 ? cairo_move_to(cr, t, v) : cairo_line_to(cr, t, v);
            }
            cairo_stroke(cr);
            break;
        case 1: {  // brilliance: sparkles
            auto star = [cr](double cx, double cy, double r) {
                cairo_move_to(cr, cx, cy - r);
                cairo_curve_to(cr, cx + r * 0.12, cy - r * 0.12, cx + r * 0.12, cy - r * 0.12,
                               cx + r, cy);
                cairo_curve_to(cr, cx + r * 0.12, cy + r * 0.12, cx + r * 0.12, cy + r * 0.12, cx,
                               cy + r);
                cairo_curve_to(cr, cx - r * 0.12, cy + r * 0.12, cx - r * 0.12, cy + r * 0.12,
                               cx - r, cy);
                cairo_curve_to(cr, cx - r * 0.12, cy - r * 0.12, cx - r * 0.12, cy - r * 0.12, cx,
                               cy - r);
                cairo_close_path(cr);
            };
            star(0.42, 0.5, 0.4);
            star(0.82, 0.2, 0.17);
            star(0.85, 0.78, 0.12);
            cairo_fill(cr);
            break;
        }
        case 2:  // voice: a microphone
            cairo_set_line_width(cr, 0.07);
            RoundRect(cr, 0.37, 0.05, 0.26, 0.5, 0.13);
            cairo_fill(cr);
            cairo_arc(cr, 0.5, 0.4, 0.24, 0, kPi);
            cairo_move_to(cr, 0.5, 0.64);
            cairo_line_to(cr, 0.5, 0.84);
            cairo_move_to(cr, 0.34, 0.86);
            cairo_line_to(cr, 0.66, 0.86);
            cairo_stroke(cr);
            break;
        case 3:  // adaptive volume: rising levels held under a ceiling
            for (int i = 0; i < 5; ++i) {
                double hgt = std::min(0.7, 0.18 + i * 0.17);
                cairo_rectangle(cr, 0.04 + i * 0.2, 0.9 - hgt, 0.13, hgt);
            }
            cairo_fill(cr);
            cairo_set_line_width(cr, 0.05);
            cairo_move_to(cr, 0, 0.14);
            cairo_line_to(cr, 1, 0.14);
            cairo_stroke(cr);
            break;
        default:
            break;
    }
    cairo_restore(cr);
}

}  // namespace skin
