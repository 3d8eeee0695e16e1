// Every image of the skin, each drawn onto a canvas of its final size.
#pragma once

#include "canvas.h"

namespace skin {

// Keys and lamps.
void DrawSlitSwitch(Canvas& c, bool on, bool red, bool speakerMark);
void DrawSmallLed(Canvas& c, bool on);
void DrawSquareLamp(Canvas& c, bool on);
void DrawToggle(Canvas& c, bool up);
void DrawKey(Canvas& c, bool pressed, int glyph);  // glyph: one of the kGlyph values below
void DrawNavKey(Canvas& c, bool lit);

enum Glyph { kGlyphNone, kGlyphReset, kGlyphClose, kGlyphPlus, kGlyphMinus, kGlyphUp, kGlyphDown };

// Sliders and knob.
void DrawBalanceTrack(Canvas& c);
void DrawBalanceThumb(Canvas& c);
void DrawBandTrack(Canvas& c);
void DrawBandThumb(Canvas& c);
void DrawKnobFace(Canvas& c);

// Pictures.
void DrawRatePicture(Canvas& c, int rateIndex);  // 0 .. 5 in the order 44.1 .. 192 kHz
void DrawRoomPicture(Canvas& c, int size);       // 0 bedroom, 1 audio room, 2 living room
void DrawSurroundPicture(Canvas& c, bool on);
void DrawEnvironmentPanel(Canvas& c, bool on);
void DrawComboFace(Canvas& c);
void DrawEditFace(Canvas& c);

// Shared profiles that the backgrounds repeat around the slider windows.
void SlotProfileH(cairo_t* cr, double x, double y, double w, double h);
void SlotProfileV(cairo_t* cr, double x, double y, double w, double h);

// Page backgrounds (dialog template ids) and the program's icon and cursor.
void DrawBackground(Canvas& c, int dialogId);
void DrawIcon(Canvas& c);
void DrawHandCursor(Canvas& c);

}  // namespace skin
