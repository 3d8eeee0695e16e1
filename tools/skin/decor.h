// Engraved lettering and pictograms of the front panel, drawn from strokes so that they come
// out the same on every machine (no fonts involved).
#pragma once

#include <cairo.h>

namespace skin {

// Capital letters, digits of none; returns the width. Letters: A C D E I L O P Q R U, '-', ' '.
double StrokeTextWidth(const char* text, double h, double spacing);
void StrokeText(cairo_t* cr, const char* text, double x, double y, double h, double spacing);

// The product name with its line, engraved into the panel at the lower left.
void Wordmark(cairo_t* cr, double x, double y);

// Pictograms in the current source colour, in a box of size s at (x, y).
void SofaGlyph(cairo_t* cr, double x, double y, double s);
void SpeakerPairGlyph(cairo_t* cr, double x, double y, double s);
void BedGlyph(cairo_t* cr, double x, double y, double s);
void OhmGlyph(cairo_t* cr, double x, double y, double s);
// a globe: the mark of a web address
void GlobeGlyph(cairo_t* cr, double x, double y, double s);
// 0 bass, 1 brilliance, 2 voice, 3 adaptive volume
void EffectGlyph(cairo_t* cr, int effect, double x, double y, double s);

}  // namespace skin
