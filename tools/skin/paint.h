// Drawing helpers shared by every piece of the skin: colours, bevels, recesses, metal textures,
// lamps, segment digits and small pictograms.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "canvas.h"

namespace skin {

struct Rgb {
    double r, g, b;
};

constexpr Rgb Hex(uint32_t v) {
    return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double f);

// The palette of the front panel.
namespace pal {
inline constexpr Rgb kAccent = Hex(0x4FC3FF);      // lit lamp, ice blue
inline constexpr Rgb kAccentCore = Hex(0xD8F3FF);  // hot centre of a lit lamp
inline constexpr Rgb kAccentDim = Hex(0x1C2B36);   // unlit lamp glass
inline constexpr Rgb kRed = Hex(0xFF4A3D);
inline constexpr Rgb kRedCore = Hex(0xFFE0D8);
inline constexpr Rgb kRedDim = Hex(0x3A1E1C);
inline constexpr Rgb kEngrave = Hex(0x8A8F96);  // engraved marks on the panel
}  // namespace pal

// Deterministic pseudo-random numbers (xorshift32).
class Rng {
  public:
    explicit Rng(uint32_t seed) : s_(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next();
    double Uniform();  // [0, 1)
    double Signed();   // [-1, 1)

  private:
    uint32_t s_;
};

void Source(cairo_t* cr, Rgb c, double alpha = 1.0);
void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);
void LinearV(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom);  // sets a vertical gradient
void LinearH(cairo_t* cr, double x0, double x1, Rgb left, Rgb right);

// Adds a brushed-metal grain (horizontal streaks) to a rectangle of the canvas.
void BrushGrain(Canvas& c, int x, int y, int w, int h, double amount, uint32_t seed);
// Adds a fine, even grain (matte paint).
void MatteGrain(Canvas& c, int x, int y, int w, int h, double amount, uint32_t seed);
// Adds concentric turning marks around a centre (machined knob faces).
void SpunGrain(Canvas& c, double cx, double cy, double r, double amount, uint32_t seed);

// A rounded well sunk into the panel: dark floor, shadow on the upper edge, light lip below.
void Recess(cairo_t* cr, double x, double y, double w, double h, double r, Rgb floor);
// A raised rounded plate with a light upper edge and a dark lower edge.
void RaisedPlate(cairo_t* cr, double x, double y, double w, double h, double r, Rgb top,
                 Rgb bottom);
// A countersunk hex screw head.
void Screw(cairo_t* cr, double cx, double cy, double r);
// Soft radial glow.
void Glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha);
// Round LED with its bezel; lit or dark.
void RoundLed(cairo_t* cr, double cx, double cy, double r, bool on, Rgb lit, Rgb core, Rgb dim);

// Pictograms drawn in the current source colour, fitted in a box of size s at (x, y).
void SpeakerGlyph(cairo_t* cr, double x, double y, double s);
void HeadphoneGlyph(cairo_t* cr, double x, double y, double s);

}  // namespace skin
