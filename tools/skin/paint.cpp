#include "paint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/scale.h"

namespace skin {

namespace {
constexpr double kPi = 3.14159265358979323846;

uint8_t Clamp8(double v) {
    return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

// The device pixels of a logical rectangle of the canvas (its edges times the scale).
struct DeviceSpan {
    int x, y, w, h;
};
DeviceSpan ToDeviceSpan(const Canvas& c, int x, int y, int w, int h) {
    using quorelle::controls::ToDevice;
    const int dpi = c.dpi();
    int l = ToDevice(x, dpi), t = ToDevice(y, dpi);
    return {l, t, ToDevice(x + w, dpi) - l, ToDevice(y + h, dpi) - t};
}

// Adds delta(x, y) to the three channels of every pixel of a rectangle (device pixels).
template <typename F>
void AddToPixels(Canvas& c, int x0, int y0, int w, int h, F delta) {
    cairo_surface_flush(c.surface());
    unsigned char* data = cairo_image_surface_get_data(c.surface());
    int stride = cairo_image_surface_get_stride(c.surface());
    int x1 = std::min(x0 + w, c.deviceWidth()), y1 = std::min(y0 + h, c.deviceHeight());
    for (int y = std::max(y0, 0); y < y1; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = std::max(x0, 0); x < x1; ++x) {
            double d = delta(x, y);
            uint32_t p = row[x];
            uint8_t r = Clamp8(((p >> 16) & 0xFF) + d);
            uint8_t g = Clamp8(((p >> 8) & 0xFF) + d);
            uint8_t b = Clamp8((p & 0xFF) + d);
            row[x] = (p & 0xFF000000u) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
        }
    }
    cairo_surface_mark_dirty(c.surface());
}
}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(Rgb c, double f) {
    return {std::min(1.0, c.r * f), std::min(1.0, c.g * f), std::min(1.0, c.b * f)};
}

uint32_t Rng::Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
}
double Rng::Uniform() {
    return (Next() >> 8) / double(1u << 24);
}
double Rng::Signed() {
    return Uniform() * 2.0 - 1.0;
}

void Source(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void LinearV(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void LinearH(cairo_t* cr, double x0, double x1, Rgb left, Rgb right) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, 0, x1, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, left.r, left.g, left.b);
    cairo_pattern_add_color_stop_rgb(p, 1, right.r, right.g, right.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void BrushGrain(Canvas& c, int lx, int ly, int lw, int lh, double amount, uint32_t seed) {
    // the grain is made at the device resolution: streaks as long in logical pixels (a slower
    // smoothing), as strong (the smoothing averages more samples), but finer across
    const auto [x, y, w, h] = ToDeviceSpan(c, lx, ly, lw, lh);
    const bool native = c.dpi() == 96;
    const double keep = native ? 0.9 : std::pow(0.9, 1.0 / c.scale());
    const double take = native ? 0.1 : 1.0 - keep;
    const double gain = native ? 3.0 : 3.0 * std::sqrt(c.scale());
    Rng rng(seed);
    std::vector<double> field(size_t(w) * h);
    std::vector<double> row(w);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) row[i] = rng.Signed();
        // long horizontal streaks: smooth along the row in both directions
        for (int pass = 0; pass < 2; ++pass) {
            double acc = row[0];
            for (int i = 0; i < w; ++i) row[i] = acc = acc * keep + row[i] * take;
            acc = row[w - 1];
            for (int i = w - 1; i >= 0; --i) row[i] = acc = acc * keep + row[i] * take;
        }
        double rowShift = rng.Signed() * 0.45;
        for (int i = 0; i < w; ++i) field[size_t(j) * w + i] = rowShift + row[i] * gain;
    }
    AddToPixels(c, x, y, w, h,
                [&](int px, int py) { return field[size_t(py - y) * w + (px - x)] * amount; });
}

void MatteGrain(Canvas& c, int lx, int ly, int lw, int lh, double amount, uint32_t seed) {
    const auto [x, y, w, h] = ToDeviceSpan(c, lx, ly, lw, lh);
    Rng rng(seed);
    std::vector<double> field(size_t(w) * h);
    for (auto& v : field) v = rng.Signed();
    AddToPixels(c, x, y, w, h,
                [&](int px, int py) { return field[size_t(py - y) * w + (px - x)] * amount; });
}

void SpunGrain(Canvas& c, double lcx, double lcy, double lr, double amount, uint32_t seed) {
    // in device pixels: four turning marks to a device pixel at every scale
    const double s = c.dpi() == 96 ? 1.0 : c.scale();
    const double cx = lcx * s, cy = lcy * s, r = lr * s;
    Rng rng(seed);
    int rings = int(r * 4) + 8;
    std::vector<double> ring(rings);
    for (auto& v : ring) v = rng.Signed();
    for (int i = 1; i < rings; ++i) ring[i] = ring[i - 1] * 0.5 + ring[i] * 0.5;
    int x0 = int(std::floor(cx - r)), y0 = int(std::floor(cy - r));
    int size = int(std::ceil(2 * r)) + 1;
    AddToPixels(c, x0, y0, size, size, [&](int px, int py) {
        double d = std::hypot(px + 0.5 - cx, py + 0.5 - cy);
        if (d > r) return 0.0;
        double a = std::atan2(py + 0.5 - cy, px + 0.5 - cx);
        // the light catches the turning marks along one diagonal
        double sheen = 0.5 + 0.5 * std::cos(2 * (a + kPi / 4));
        return ring[std::min(rings - 1, int(d * 4))] * amount * (0.6 + 0.8 * sheen);
    });
}

void Recess(cairo_t* cr, double x, double y, double w, double h, double r, Rgb floor) {
    cairo_save(cr);
    // lower lip catching the light, upper edge in shade
    RoundRect(cr, x - 1, y - 1, w + 2, h + 2, r + 1);
    LinearV(cr, y - 1, y + h + 1, Hex(0x0C0C0E), Hex(0x6A6E75));
    cairo_fill(cr);
    RoundRect(cr, x, y, w, h, r);
    LinearV(cr, y, y + h, Scale(floor, 0.75), floor);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    // inner shadow along the top and left
    cairo_set_line_width(cr, 4);
    RoundRect(cr, x + 1.5, y + 2.5, w + 1, h + 1, r);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 2);
    RoundRect(cr, x + 0.5, y + 1, w, h, r);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void RaisedPlate(cairo_t* cr, double x, double y, double w, double h, double r, Rgb top,
                 Rgb bottom) {
    cairo_save(cr);
    RoundRect(cr, x, y, w, h, r);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    cairo_fill(cr);
    RoundRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
    LinearV(cr, y, y + h, top, bottom);
    cairo_fill(cr);
    // bright bevel at the top, dark at the bottom
    cairo_set_line_width(cr, 1);
    RoundRect(cr, x + 1.5, y + 1.5, w - 3, h - 3, std::max(0.0, r - 1));
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(p, 0.35, 1, 1, 1, 0.05);
    cairo_pattern_add_color_stop_rgba(p, 0.7, 0, 0, 0, 0.05);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0.45);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Screw(cairo_t* cr, double cx, double cy, double r) {
    cairo_save(cr);
    cairo_arc(cr, cx, cy + 0.5, r + 1, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.4, cy - r * 0.5, 0, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.82, 0.83, 0.85);
    cairo_pattern_add_color_stop_rgb(p, 0.6, 0.52, 0.54, 0.57);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.28, 0.29, 0.31);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill(cr);
    // hex socket
    double s = r * 0.45;
    cairo_move_to(cr, cx + s, cy);
    for (int i = 1; i < 6; ++i)
        cairo_line_to(cr, cx + s * std::cos(i * kPi / 3), cy + s * std::sin(i * kPi / 3));
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.12, 0.12, 0.13);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.4, c.r, c.g, c.b, alpha * 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill(cr);
}

void RoundLed(cairo_t* cr, double cx, double cy, double r, bool on, Rgb lit, Rgb core, Rgb dim) {
    cairo_save(cr);
    // chrome bezel
    cairo_arc(cr, cx, cy, r + 1.5, 0, 2 * kPi);
    LinearV(cr, cy - r - 1.5, cy + r + 1.5, Hex(0x0E0F11), Hex(0x9A9EA4));
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r + 0.5, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.06);
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy + r * 0.15, 0, cx, cy, r);
    if (on) {
        cairo_pattern_add_color_stop_rgb(p, 0, core.r, core.g, core.b);
        cairo_pattern_add_color_stop_rgb(p, 0.45, lit.r, lit.g, lit.b);
        Rgb edge = Scale(lit, 0.55);
        cairo_pattern_add_color_stop_rgb(p, 1, edge.r, edge.g, edge.b);
    } else {
        Rgb mid = Mix(dim, Hex(0x000000), 0.2);
        cairo_pattern_add_color_stop_rgb(p, 0, dim.r, dim.g, dim.b);
        cairo_pattern_add_color_stop_rgb(p, 1, mid.r, mid.g, mid.b);
    }
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill(cr);
    // specular highlight on the glass
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.25, cy - r * 0.42);
    cairo_scale(cr, r * 0.55, r * 0.32);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, on ? 0.55 : 0.22);
    cairo_fill(cr);
    cairo_restore(cr);
}

void SpeakerGlyph(cairo_t* cr, double x, double y, double s) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    cairo_rectangle(cr, 0.08, 0.36, 0.18, 0.28);
    cairo_move_to(cr, 0.26, 0.36);
    cairo_line_to(cr, 0.52, 0.14);
    cairo_line_to(cr, 0.52, 0.86);
    cairo_line_to(cr, 0.26, 0.64);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_line_width(cr, 0.075);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (double rad : {0.16, 0.3}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0.56, 0.5, rad, -kPi / 4, kPi / 4);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

void HeadphoneGlyph(cairo_t* cr, double x, double y, double s) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    cairo_set_line_width(cr, 0.09);
    cairo_arc(cr, 0.5, 0.56, 0.36, kPi, 2 * kPi);
    cairo_stroke(cr);
    RoundRect(cr, 0.08, 0.52, 0.2, 0.38, 0.07);
    RoundRect(cr, 0.72, 0.52, 0.2, 0.38, 0.07);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace skin
