#pragma once

#include <windows.h>

#include "pages/hit_area.h"

namespace quorelle::pages {

// The window rectangle of control `id` of `dialog` in the dialog's client coordinates, in
// logical (96-DPI) pixels as the hit tests measure, whether the control is shown, hidden or
// disabled; empty when there is no such control. Each edge becomes the logical edge whose
// device edge it is, so a control placed from a logical rectangle gives that rectangle back.
Rect ClientRectOf(HWND dialog, int id);
// A point of the dialog's client area (a mouse message's) in logical pixels.
Point LogicalPoint(HWND dialog, LPARAM lParam);
inline POINT ToPoint(Point p) {
    return {p.x, p.y};
}

}  // namespace quorelle::pages
