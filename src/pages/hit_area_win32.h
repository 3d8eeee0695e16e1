#pragma once

#include <windows.h>

#include "pages/hit_area.h"

namespace quorelle::pages {

// The window rectangle of control `id` of `dialog` in the dialog's client coordinates, whether
// the control is shown, hidden or disabled; empty when there is no such control.
Rect ClientRectOf(HWND dialog, int id);

}  // namespace quorelle::pages
