#include "pieces.h"

#include <cmath>

#include "controls/layout.h"
#include "decor.h"
#include "paint.h"

namespace skin {

using namespace quorelle::controls;

namespace {
constexpr double kPi = 3.14159265358979323846;

// What most pieces sit on: the floor of a section, or the navigation module.
constexpr Rgb kFloor = Hex(0x1A1B1F);
constexpr Rgb kModule = Hex(0x2C2E33);

void Base(cairo_t* cr, Rgb c) {
    Source(cr, c);
    cairo_paint(cr);
}

// Keys: a dark anodised cap on a shadowed base.
void KeyCap(cairo_t* cr, double w, double h, bool pressed, Rgb base = kFloor) {
    Base(cr, base);
    // the hole the key sits in
    RoundRect(cr, 0, 0, w, h, 4);
    LinearV(cr, 0, h, Hex(0x0B0B0D), Hex(0x3A3D42));
    cairo_fill(cr);
    double inset = pressed ? 2.0 : 1.5;
    Rgb top = pressed ? Hex(0x2A2C31) : Hex(0x4B4F56);
    Rgb bottom = pressed ? Hex(0x1E2024) : Hex(0x23252A);
    RaisedPlate(cr, inset, inset + (pressed ? 0.5 : 0), w - 2 * inset, h - 2 * inset - 0.5, 3, top,
                bottom);
}

void GlyphPath(cairo_t* cr, int glyph, double cx, double cy, double s) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (glyph) {
        case kGlyphReset:
            cairo_set_line_width(cr, s * 0.16);
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, cy, s * 0.4, -kPi * 0.35, kPi * 1.45);
            cairo_stroke(cr);
            {
                double a = -kPi * 0.35;
                double tx = cx + s * 0.4 * std::cos(a), ty = cy + s * 0.4 * std::sin(a);
                cairo_move_to(cr, tx + s * 0.26, ty - s * 0.08);
                cairo_line_to(cr, tx - s * 0.02, ty + s * 0.26);
                cairo_line_to(cr, tx - s * 0.12, ty - s * 0.2);
                cairo_close_path(cr);
                cairo_fill(cr);
            }
            break;
        case kGlyphClose:
            cairo_set_line_width(cr, s * 0.16);
            cairo_move_to(cr, cx - s * 0.3, cy - s * 0.3);
            cairo_line_to(cr, cx + s * 0.3, cy + s * 0.3);
            cairo_move_to(cr, cx + s * 0.3, cy - s * 0.3);
            cairo_line_to(cr, cx - s * 0.3, cy + s * 0.3);
            cairo_stroke(cr);
            break;
        case kGlyphPlus:
        case kGlyphMinus:
            cairo_set_line_width(cr, s * 0.16);
            cairo_move_to(cr, cx - s * 0.34, cy);
            cairo_line_to(cr, cx + s * 0.34, cy);
            if (glyph == kGlyphPlus) {
                cairo_move_to(cr, cx, cy - s * 0.34);
                cairo_line_to(cr, cx, cy + s * 0.34);
            }
            cairo_stroke(cr);
            break;
        case kGlyphUp:
        case kGlyphDown: {
            double d = glyph == kGlyphUp ? -1 : 1;
            cairo_move_to(cr, cx - s * 0.36, cy - d * s * 0.18);
            cairo_line_to(cr, cx + s * 0.36, cy - d * s * 0.18);
            cairo_line_to(cr, cx, cy + d * s * 0.24);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        }
        default:
            break;
    }
}

// Pill-shaped LED window inside a key.
void LedSlit(cairo_t* cr, double x, double y, double w, double h, bool on, Rgb lit, Rgb core,
             Rgb dim) {
    RoundRect(cr, x - 1, y - 1, w + 2, h + 2, h / 2 + 1);
    cairo_set_source_rgb(cr, 0.03, 0.03, 0.04);
    cairo_fill(cr);
    RoundRect(cr, x, y, w, h, h / 2);
    if (on) {
        cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
        cairo_pattern_add_color_stop_rgb(p, 0, lit.r, lit.g, lit.b);
        cairo_pattern_add_color_stop_rgb(p, 0.5, core.r, core.g, core.b);
        cairo_pattern_add_color_stop_rgb(p, 1, lit.r * 0.7, lit.g * 0.7, lit.b * 0.7);
        cairo_set_source(cr, p);
        cairo_pattern_destroy(p);
    } else {
        LinearV(cr, y, y + h, Scale(dim, 0.7), dim);
    }
    cairo_fill(cr);
    // glass highlight
    RoundRect(cr, x + 1, y + 0.5, w - 2, h * 0.38, h * 0.2);
    cairo_set_source_rgba(cr, 1, 1, 1, on ? 0.35 : 0.12);
    cairo_fill(cr);
}

PxRect Placed(int dialog, int id) {
    return PlacedRect(dialog, *FindControl(dialog, id));
}
}  // namespace

void DrawSlitSwitch(Canvas& c, bool on, bool red, bool speakerMark) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    KeyCap(cr, w, h, false);
    Rgb lit = red ? pal::kRed : pal::kAccent;
    Rgb core = red ? pal::kRedCore : pal::kAccentCore;
    Rgb dim = red ? pal::kRedDim : pal::kAccentDim;
    double slitH = 5;
    if (speakerMark) {
        Source(cr, on ? Hex(0xE8E8E8) : Hex(0x9A9EA4));
        SpeakerGlyph(cr, 5, h / 2 - 6.5, 13);
        LedSlit(cr, 20, h / 2 - slitH / 2, w - 26, slitH, on, lit, core, dim);
    } else {
        LedSlit(cr, 7, h / 2 - slitH / 2, w - 14, slitH, on, lit, core, dim);
    }
    if (on) {
        cairo_save(cr);
        RoundRect(cr, 2, 2, w - 4, h - 4, 3);
        cairo_clip(cr);
        Glow(cr, w / 2 + (speakerMark ? 7 : 0), h / 2, w * 0.45, lit, 0.18);
        cairo_restore(cr);
    }
}

void DrawSmallLed(Canvas& c, bool on) {
    cairo_t* cr = c.cr();
    Base(cr, kFloor);
    RoundLed(cr, 7.5, 7.5, 5, on, pal::kAccent, pal::kAccentCore, pal::kAccentDim);
}

void DrawSquareLamp(Canvas& c, bool on) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    KeyCap(cr, w, h, false);
    if (on) Glow(cr, w / 2, h / 2, w / 2, pal::kAccent, 0.35);
    RoundLed(cr, w / 2, h / 2, 5.5, on, pal::kAccent, pal::kAccentCore, pal::kAccentDim);
}

void DrawToggle(Canvas& c, bool up) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    double cx = w / 2, cy = h / 2;
    Base(cr, kFloor);
    // escutcheon plate
    RoundRect(cr, 0, 0, w, h, 5);
    LinearV(cr, 0, h, Hex(0x0D0D0F), Hex(0x3B3E44));
    cairo_fill(cr);
    RaisedPlate(cr, 1.5, 1.5, w - 3, h - 3, 4, Hex(0x393C42), Hex(0x1D1F23));
    // hex nut
    cairo_move_to(cr, cx + 9, cy);
    for (int i = 1; i < 6; ++i)
        cairo_line_to(cr, cx + 9 * std::cos(i * kPi / 3), cy + 9 * std::sin(i * kPi / 3));
    cairo_close_path(cr);
    LinearV(cr, cy - 9, cy + 9, Hex(0xC9CCD1), Hex(0x4D5056));
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, 5.5, 0, 2 * kPi);
    LinearV(cr, cy - 5.5, cy + 5.5, Hex(0x2B2D31), Hex(0xA5A9AF));
    cairo_fill(cr);
    // the bat lever, seen from the front: tapering towards the nut, ball at the tip
    double dir = up ? -1 : 1;
    double tipY = cy + dir * 19;
    cairo_move_to(cr, cx - 2.2, cy);
    cairo_line_to(cr, cx - 3.6, tipY);
    cairo_line_to(cr, cx + 3.6, tipY);
    cairo_line_to(cr, cx + 2.2, cy);
    cairo_close_path(cr);
    LinearH(cr, cx - 3.6, cx + 3.6, Hex(0x6A6E74), Hex(0x2E3034));
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - 3.6, 0, cx + 3.6, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.35, 0.36, 0.38);
    cairo_pattern_add_color_stop_rgb(p, 0.35, 0.93, 0.94, 0.95);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.3, 0.31, 0.33);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
    cairo_arc(cr, cx, tipY, 4.6, 0, 2 * kPi);
    cairo_pattern_t* q = cairo_pattern_create_radial(cx - 1.5, tipY - 1.5, 0.5, cx, tipY, 4.6);
    cairo_pattern_add_color_stop_rgb(q, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(q, 0.5, 0.72, 0.74, 0.77);
    cairo_pattern_add_color_stop_rgb(q, 1, 0.25, 0.26, 0.28);
    cairo_set_source(cr, q);
    cairo_pattern_destroy(q);
    cairo_fill(cr);
    // shadow the lever throws on the plate
    cairo_move_to(cr, cx + 2.5, cy + 2);
    cairo_line_to(cr, cx + 5, tipY + 3);
    cairo_set_line_width(cr, 2);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
    cairo_stroke(cr);
}

void DrawKey(Canvas& c, bool pressed, int glyph) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    KeyCap(cr, w, h, pressed, glyph == kGlyphClose ? kModule : kFloor);
    double s = std::min(w, h) * 0.62;
    double cx = w / 2, cy = h / 2 + (pressed ? 0.5 : 0);
    // engraved: dark shadow line under a light glyph
    cairo_save(cr);
    cairo_translate(cr, 0, 1);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    GlyphPath(cr, glyph, cx, cy, s);
    cairo_restore(cr);
    Source(cr, pressed ? pal::kAccent : Hex(0xD6D9DD));
    GlyphPath(cr, glyph, cx, cy, s);
}

void DrawNavKey(Canvas& c, bool lit) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    KeyCap(cr, w, h, lit, kModule);
    LedSlit(cr, 10, h / 2 - 2.5, w - 20, 5, lit, pal::kAccent, pal::kAccentCore, pal::kAccentDim);
    if (lit) {
        cairo_save(cr);
        RoundRect(cr, 2, 2, w - 4, h - 4, 3);
        cairo_clip(cr);
        Glow(cr, w / 2, h / 2, w * 0.5, pal::kAccent, 0.16);
        cairo_restore(cr);
    }
}

// A groove uniform along its length, so tiles of it join without a seam.
void SlotProfileH(cairo_t* cr, double x, double y, double w, double h) {
    double mid = y + h / 2;
    cairo_rectangle(cr, x, y, w, h);
    Source(cr, Hex(0x1E1F23));
    cairo_fill(cr);
    cairo_rectangle(cr, x, mid - 3, w, 6);
    LinearV(cr, mid - 3, mid + 3, Hex(0x050506), Hex(0x2A2C30));
    cairo_fill(cr);
    cairo_rectangle(cr, x, mid + 3, w, 1);
    Source(cr, Hex(0x5C6067));
    cairo_fill(cr);
    cairo_rectangle(cr, x, mid - 4, w, 1);
    Source(cr, Hex(0x0E0F11));
    cairo_fill(cr);
}

void SlotProfileV(cairo_t* cr, double x, double y, double w, double h) {
    double mid = x + w / 2;
    cairo_rectangle(cr, x, y, w, h);
    Source(cr, Hex(0x1E1F23));
    cairo_fill(cr);
    cairo_rectangle(cr, mid - 2.5, y, 5, h);
    LinearH(cr, mid - 2.5, mid + 2.5, Hex(0x050506), Hex(0x2A2C30));
    cairo_fill(cr);
    cairo_rectangle(cr, mid + 2.5, y, 1, h);
    Source(cr, Hex(0x5C6067));
    cairo_fill(cr);
    cairo_rectangle(cr, mid - 3.5, y, 1, h);
    Source(cr, Hex(0x0E0F11));
    cairo_fill(cr);
}

void DrawBalanceTrack(Canvas& c) {
    SlotProfileH(c.cr(), 0, 0, c.width(), c.height());
}
void DrawBandTrack(Canvas& c) {
    SlotProfileV(c.cr(), 0, 0, c.width(), c.height());
}

// Fader caps: brushed aluminium with a bright index line across the middle.
void DrawBalanceThumb(Canvas& c) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    Source(cr, Hex(0x1E1F23));
    cairo_paint(cr);
    RaisedPlate(cr, 0.5, 0.5, w - 1, h - 1, 2.5, Hex(0xD9DCE0), Hex(0x6E7277));
    cairo_rectangle(cr, w / 2 - 1, 2.5, 2, h - 5);
    Source(cr, Hex(0x1C2B36));
    cairo_fill(cr);
    cairo_rectangle(cr, w / 2 - 0.5, 3, 1, h - 6);
    Source(cr, pal::kAccent);
    cairo_fill(cr);
    BrushGrain(c, 2, 2, int(w) - 4, int(h) - 4, 2.0, 147);
}

void DrawBandThumb(Canvas& c) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    Source(cr, Hex(0x1E1F23));
    cairo_paint(cr);
    RaisedPlate(cr, 0.5, 0.5, w - 1, h - 1, 2.5, Hex(0xD9DCE0), Hex(0x6E7277));
    for (double y : {4.5, 12.5}) {
        cairo_rectangle(cr, 3, y, w - 6, 1);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 2.5, h / 2 - 1, w - 5, 2);
    Source(cr, Hex(0x1C2B36));
    cairo_fill(cr);
    cairo_rectangle(cr, 3, h / 2 - 0.5, w - 6, 1);
    Source(cr, pal::kAccent);
    cairo_fill(cr);
}

void DrawKnobFace(Canvas& c) {
    cairo_t* cr = c.cr();
    double w = c.width();
    double cx = w / 2, cy = w / 2, r = w / 2;
    Base(cr, kFloor);
    // knurled skirt: fine ridges all round
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0.07, 0.07, 0.08);
    cairo_fill(cr);
    int ridges = 60;
    for (int i = 0; i < ridges; ++i) {
        double a0 = 2 * kPi * i / ridges, a1 = a0 + kPi / ridges;
        double light = 0.5 + 0.5 * std::cos(a0 + kPi * 0.75);  // lit from the upper left
        cairo_move_to(cr, cx, cy);
        cairo_arc(cr, cx, cy, r - 0.3, a0, a1);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.16 + 0.3 * light, 0.165 + 0.3 * light, 0.18 + 0.3 * light);
        cairo_fill(cr);
    }
    // bevel between skirt and cap
    cairo_arc(cr, cx, cy, r * 0.74, 0, 2 * kPi);
    LinearV(cr, cy - r, cy + r, Hex(0xF2F3F5), Hex(0x2A2C30));
    cairo_fill(cr);
    // spun aluminium cap
    cairo_arc(cr, cx, cy, r * 0.68, 0, 2 * kPi);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - r, cy - r, cx + r, cy + r);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.86, 0.87, 0.89);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.66, 0.68, 0.71);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.50, 0.52, 0.55);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
    SpunGrain(c, cx, cy, r * 0.68, 6.0, 154);
    // darker rim of the skirt where it meets the panel
    cairo_arc(cr, cx, cy, r - 0.7, 0, 2 * kPi);
    cairo_set_line_width(cr, 1.4);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_stroke(cr);
}

void DrawRatePicture(Canvas& c, int rateIndex) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    // lamps in rate order 44.1, 48, 88.2, 96, 176.4, 192
    static const int kLamps[6] = {1014, 1013, 1012, 1015, 1016, 1017};
    PxRect pic = Placed(kMainDialog, 1018);
    double cx = w / 2, cy = h / 2;
    auto angleTo = [&](int lamp) {
        PxRect l = Placed(kMainDialog, lamp);
        return std::atan2(l.y + l.h / 2.0 - (pic.y + cy), l.x + l.w / 2.0 - (pic.x + cx));
    };
    // module plate
    Base(cr, kFloor);
    RoundRect(cr, 0, 0, w, h, 5);
    LinearV(cr, 0, h, Hex(0x0B0B0D), Hex(0x45484E));
    cairo_fill(cr);
    RoundRect(cr, 1, 1, w - 2, h - 2, 4);
    LinearV(cr, 1, h - 1, Hex(0x1A1B1E), Hex(0x26282C));
    cairo_fill(cr);
    // scale marks pointing at the six lamps
    for (int i = 0; i < 6; ++i) {
        double a = angleTo(kLamps[i]);
        bool sel = i == rateIndex;
        cairo_move_to(cr, cx + 17.5 * std::cos(a), cy + 17.5 * std::sin(a));
        cairo_line_to(cr, cx + 22.5 * std::cos(a), cy + 22.5 * std::sin(a));
        cairo_set_line_width(cr, sel ? 2.4 : 1.4);
        Source(cr, sel ? pal::kAccent : Hex(0x6E737A));
        cairo_stroke(cr);
    }
    // selector knob
    double r = 15;
    cairo_arc(cr, cx, cy + 1, r + 1, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
    cairo_fill(cr);
    int ridges = 36;
    for (int i = 0; i < ridges; ++i) {
        double a0 = 2 * kPi * i / ridges, a1 = a0 + kPi / ridges;
        double light = 0.5 + 0.5 * std::cos(a0 + kPi * 0.75);
        cairo_move_to(cr, cx, cy);
        cairo_arc(cr, cx, cy, r, a0, a1);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.12 + 0.25 * light, 0.125 + 0.25 * light, 0.135 + 0.25 * light);
        cairo_fill(cr);
    }
    cairo_arc(cr, cx, cy, r * 0.72, 0, 2 * kPi);
    LinearV(cr, cy - r, cy + r, Hex(0x5A5E65), Hex(0x131416));
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r * 0.66, 0, 2 * kPi);
    LinearV(cr, cy - r, cy + r, Hex(0x34373C), Hex(0x1E2024));
    cairo_fill(cr);
    // lit pointer towards the chosen lamp
    double a = angleTo(kLamps[rateIndex]);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx + 3 * std::cos(a), cy + 3 * std::sin(a));
    cairo_line_to(cr, cx + (r - 2) * std::cos(a), cy + (r - 2) * std::sin(a));
    cairo_set_line_width(cr, 3.2);
    Source(cr, pal::kAccent, 0.45);
    cairo_stroke(cr);
    cairo_move_to(cr, cx + 3 * std::cos(a), cy + 3 * std::sin(a));
    cairo_line_to(cr, cx + (r - 2) * std::cos(a), cy + (r - 2) * std::sin(a));
    cairo_set_line_width(cr, 1.6);
    Source(cr, pal::kAccentCore);
    cairo_stroke(cr);
}

void DrawRoomPicture(Canvas& c, int size) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    Base(cr, kFloor);
    RoundRect(cr, 0, 0, w, h, 5);
    LinearV(cr, 0, h, Hex(0x0B0B0D), Hex(0x45484E));
    cairo_fill(cr);
    RoundRect(cr, 1, 1, w - 2, h - 2, 4);
    LinearV(cr, 1, h - 1, Hex(0x0F1418), Hex(0x161C21));
    cairo_fill(cr);
    // three zones, top to bottom: living room (2), audio room (1), bedroom (0)
    for (int row = 0; row < 3; ++row) {
        int zoneSize = 2 - row;
        bool sel = zoneSize == size;
        double top = 1 + row * (h - 2) / 3.0, zh = (h - 2) / 3.0;
        if (sel) {
            cairo_rectangle(cr, 2, top + 0.5, w - 4, zh - 1);
            Source(cr, pal::kAccent, 0.16);
            cairo_fill(cr);
        }
        Source(cr, sel ? pal::kAccent : Hex(0x56616C));
        // what the room holds: sofa, a pair of speakers, a bed
        cairo_save(cr);
        cairo_translate(cr, 16, top + 1.5);
        cairo_scale(cr, 2.0, 1.0);
        if (zoneSize == 2) SofaGlyph(cr, 0, 0, zh - 3);
        if (zoneSize == 1) SpeakerPairGlyph(cr, 0, 0, zh - 3);
        if (zoneSize == 0) BedGlyph(cr, 0, 0, zh - 3);
        cairo_restore(cr);
        // pointer towards the lamp on the left
        cairo_move_to(cr, 4, top + zh / 2);
        cairo_line_to(cr, 10, top + zh / 2 - 3.5);
        cairo_line_to(cr, 10, top + zh / 2 + 3.5);
        cairo_close_path(cr);
        Source(cr, sel ? pal::kAccentCore : Hex(0x30363C));
        cairo_fill(cr);
    }
}

// A small loudspeaker cabinet seen from the front, centred at (x, y).
void Cabinet(cairo_t* cr, double x, double y, Rgb body, Rgb driver) {
    Source(cr, body);
    RoundRect(cr, x - 6, y - 8, 12, 16, 2);
    cairo_fill(cr);
    Source(cr, driver);
    cairo_arc(cr, x, y + 2.5, 3.4, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_arc(cr, x, y - 4, 1.6, 0, 2 * kPi);
    cairo_fill(cr);
}

void DrawSurroundPicture(Canvas& c, bool on) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    Base(cr, kFloor);
    RoundRect(cr, 0, 0, w, h, 8);
    LinearV(cr, 0, h, Hex(0x0B0B0D), Hex(0x45484E));
    cairo_fill(cr);
    RoundRect(cr, 1.5, 1.5, w - 3, h - 3, 7);
    LinearV(cr, 0, h, Hex(0x0E1317), Hex(0x182027));
    cairo_fill(cr);
    double cx = w / 2, cy = h / 2 + 6;
    // seven speaker places around the listener; plain stereo uses the front pair only
    const int kPlaces = 7;
    auto place = [&](int i, double& x, double& y) {
        double a = -kPi / 2 + (i - 3) * (2 * kPi / 7.5);
        x = cx + 100 * std::cos(a);
        y = cy + 56 * std::sin(a);
    };
    if (on) {
        for (int k = 1; k <= 3; ++k) {
            cairo_save(cr);
            cairo_translate(cr, cx, cy);
            cairo_scale(cr, 1.7, 1.0);
            cairo_arc(cr, 0, 0, 20 + k * 10, 0, 2 * kPi);
            cairo_restore(cr);
            cairo_set_line_width(cr, 1.5);
            Source(cr, pal::kAccent, 0.6 - k * 0.14);
            cairo_stroke(cr);
        }
    }
    for (int i = 0; i < kPlaces; ++i) {
        double x, y;
        place(i, x, y);
        bool front = i == 2 || i == 4;
        if (on) {
            Glow(cr, x, y, 18, pal::kAccent, 0.5);
            Cabinet(cr, x, y, pal::kAccentCore, Hex(0x2A6F95));
        } else if (front) {
            Cabinet(cr, x, y, Hex(0x9AA2AA), Hex(0x22272C));
            // sound from the front pair towards the listener
            double a = std::atan2(cy - y, cx - x);
            cairo_set_line_width(cr, 1.4);
            Source(cr, Hex(0x8A939C), 0.6);
            for (int k = 1; k <= 3; ++k) {
                cairo_new_sub_path(cr);
                cairo_arc(cr, x, y, 8 + k * 7, a - 0.45, a + 0.45);
            }
            cairo_stroke(cr);
        } else {
            // empty place: a dashed outline
            double dash[] = {2.0, 2.0};
            cairo_set_dash(cr, dash, 2, 0);
            cairo_set_line_width(cr, 1);
            RoundRect(cr, x - 5.5, y - 7.5, 11, 15, 2);
            Source(cr, Hex(0x3A444D));
            cairo_stroke(cr);
            cairo_set_dash(cr, nullptr, 0, 0);
        }
    }
    // the listener's head with headphones, seen from the front
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1, 1.15);
    cairo_arc(cr, 0, 0, 19, 0, 2 * kPi);
    cairo_restore(cr);
    LinearV(cr, cy - 22, cy + 22, Hex(0x9AA2AA), Hex(0x3C4248));
    cairo_fill(cr);
    Source(cr, on ? pal::kAccentCore : Hex(0xC8CDD2));
    RoundRect(cr, cx - 28, cy - 10, 9, 21, 3.5);
    RoundRect(cr, cx + 19, cy - 10, 9, 21, 3.5);
    cairo_fill(cr);
    cairo_set_line_width(cr, 3.2);
    cairo_arc(cr, cx, cy - 1, 24, kPi * 1.04, kPi * 1.96);
    cairo_stroke(cr);
}

void DrawEnvironmentPanel(Canvas& c, bool on) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    Base(cr, kFloor);
    RoundRect(cr, 0, 0, w, h, 6);
    LinearV(cr, 0, h, Hex(0x0B0B0D), Hex(0x45484E));
    cairo_fill(cr);
    RoundRect(cr, 2, 2, w - 4, h - 4, 5);
    if (on) {
        LinearV(cr, 2, h - 2, Hex(0x0E2A3C), Hex(0x0A1C29));
    } else {
        LinearV(cr, 2, h - 2, Hex(0x101316), Hex(0x0C0E10));
    }
    cairo_fill(cr);
    if (on) {
        // highlight bar behind the current (middle) line
        RoundRect(cr, 6, h / 2 - 9, w - 16, 16, 3);
        Source(cr, pal::kAccent, 0.28);
        cairo_fill(cr);
        // cursor mark in front of the current line
        cairo_move_to(cr, 10, h / 2 - 5);
        cairo_line_to(cr, 16, h / 2 - 1);
        cairo_line_to(cr, 10, h / 2 + 3);
        cairo_close_path(cr);
        Source(cr, pal::kAccentCore);
        cairo_fill(cr);
        cairo_save(cr);
        RoundRect(cr, 2, 2, w - 4, h - 4, 5);
        cairo_clip(cr);
        Glow(cr, w / 2, h / 2, w * 0.6, pal::kAccent, 0.18);
        cairo_restore(cr);
    }
    // glass reflection
    cairo_move_to(cr, 2, 2);
    cairo_line_to(cr, w * 0.6, 2);
    cairo_line_to(cr, w * 0.35, h * 0.45);
    cairo_line_to(cr, 2, h * 0.45);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.04);
    cairo_fill(cr);
}

void DrawComboFace(Canvas& c) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    cairo_rectangle(cr, 0, 0, w, h);
    LinearV(cr, 0, h, Hex(0x0C0C0E), Hex(0x55585E));
    cairo_fill(cr);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    LinearV(cr, 1, h - 1, Hex(0xE9EBEE), Hex(0xC4C8CD));
    cairo_fill(cr);
    // drop button
    double bx = w - 17;
    cairo_rectangle(cr, bx, 1, 16, h - 2);
    LinearV(cr, 1, h - 1, Hex(0x4B4F56), Hex(0x23252A));
    cairo_fill(cr);
    cairo_move_to(cr, bx + 4, h / 2 - 2);
    cairo_line_to(cr, bx + 12, h / 2 - 2);
    cairo_line_to(cr, bx + 8, h / 2 + 3);
    cairo_close_path(cr);
    Source(cr, Hex(0xD6D9DD));
    cairo_fill(cr);
}

void DrawEditFace(Canvas& c) {
    cairo_t* cr = c.cr();
    double w = c.width(), h = c.height();
    cairo_rectangle(cr, 0, 0, w, h);
    LinearV(cr, 0, h, Hex(0x0C0C0E), Hex(0x55585E));
    cairo_fill(cr);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    LinearV(cr, 1, h - 1, Hex(0xCFD2D6), Hex(0xEEF0F2));
    cairo_fill(cr);
    cairo_rectangle(cr, 1, 1, w - 2, 1);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
    cairo_fill(cr);
}

}  // namespace skin
