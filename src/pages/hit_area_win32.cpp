#include "pages/hit_area_win32.h"

namespace quorelle::pages {

Rect ClientRectOf(HWND dialog, int id) {
    HWND control = dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
    if (control == nullptr) return {};
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace quorelle::pages
