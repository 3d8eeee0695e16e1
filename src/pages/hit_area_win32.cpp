#include "pages/hit_area_win32.h"

#include <windowsx.h>

#include "controls/dpi_win32.h"
#include "controls/scale.h"

namespace quorelle::pages {

namespace {
// The logical edge of a device edge: the start of the logical pixel whose span begins there.
int32_t LogicalEdge(int32_t device, int dpi) {
    return controls::ToLogical(device - 1, dpi) + 1;
}
}  // namespace

Rect ClientRectOf(HWND dialog, int id) {
    HWND control = dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
    if (control == nullptr) return {};
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const int dpi = controls::DrawnDpi(dialog);
    return {LogicalEdge(r.left, dpi), LogicalEdge(r.top, dpi), LogicalEdge(r.right, dpi),
            LogicalEdge(r.bottom, dpi)};
}

Point LogicalPoint(HWND dialog, LPARAM lParam) {
    const int dpi = controls::DrawnDpi(dialog);
    return {controls::ToLogical(GET_X_LPARAM(lParam), dpi),
            controls::ToLogical(GET_Y_LPARAM(lParam), dpi)};
}

}  // namespace quorelle::pages
