// Logical pixels (the 96-DPI pixels every size of the program is given in) and the device
// pixels of a window at its DPI. The models keep logical pixels; the Win32 side converts at its
// edge with this one pair: mouse points in, rectangles, images and fonts out.
//
// A logical coordinate is an edge between pixels. ToDevice rounds every edge the same way
// (to the nearest device edge, halves up), so rectangles converted by their edges keep their
// order: rectangles that touch still touch, and rectangles apart never overlap. ToLogical is its
// inverse on pixels: the logical pixel whose device span contains the device pixel, so every
// device pixel belongs to exactly one logical pixel and hit zones have neither gaps nor overlaps.
#pragma once

#include <array>

#include "controls/layout.h"

namespace quorelle::controls {

inline constexpr int kLogicalDpi = 96;

// The display scales the skin is drawn for, in percent, and their DPI.
inline constexpr std::array<int, 7> kSkinScales{100, 125, 150, 175, 200, 250, 300};
constexpr int DpiOfPercent(int percent) {
    return percent * kLogicalDpi / 100;
}

// The drawn scale a display of `dpi` dots per inch is shown at: the nearest one (the lower of
// two equally near), so art, layout and fonts always belong to one drawn scale. 96 for dpi <= 0.
int SkinPercent(int dpi);
inline int SkinDpi(int dpi) {
    return DpiOfPercent(SkinPercent(dpi));
}

// A logical edge (or length measured from 0) in device pixels at dpi (> 0).
int ToDevice(int logical, int dpi);
// The logical pixel that holds device pixel `device` at dpi (> 0).
int ToLogical(int device, int dpi);
// A rectangle converted by its four edges.
PxRect ToDevice(const PxRect& logical, int dpi);

// Where a control of a template sits in a window at dpi: PlacedRect converted by its edges, so
// that controls apart never overlap and touching ones keep touching. A control sized by its
// image may then be a pixel wider or taller than the image drawn for dpi (ToDevice(size) pixels,
// wherever it sits), or a pixel narrower: the control draws the image from its top-left corner,
// its last column and row carried on where the control is larger (gdi::DrawImageFitted).
PxRect PlacedRect(int dialogId, const ControlPlace& place, int dpi);

}  // namespace quorelle::controls
