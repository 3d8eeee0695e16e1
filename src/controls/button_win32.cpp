#include "controls/button_win32.h"

namespace quorelle::controls {

CBitmapButton::~CBitmapButton() {
    Detach();
}

void CBitmapButton::OnAttached() {
    const LONG_PTR style = GetWindowLongPtrW(Hwnd(), GWL_STYLE);
    if ((style & BS_TYPEMASK) != BS_OWNERDRAW) {
        SetWindowLongPtrW(Hwnd(), GWL_STYLE, (style & ~LONG_PTR(BS_TYPEMASK)) | BS_OWNERDRAW);
    }
}

bool CBitmapButton::LoadBitmaps(int normalId, int pressedId) {
    ids_ = {normalId, pressedId};
    return SetBitmaps(gdi::LoadSharedBitmap(normalId, Dpi()),
                      gdi::LoadSharedBitmap(pressedId, Dpi()));
}

void CBitmapButton::OnDpiChanged() {
    if (ids_.first != 0) LoadBitmaps(ids_.first, ids_.second);
}

bool CBitmapButton::SetBitmaps(gdi::SharedBitmap normal, gdi::SharedBitmap pressed) {
    normal_ = std::move(normal);
    pressed_ = std::move(pressed);
    if (!normal_) return false;
    const SIZE size = gdi::BitmapSize(normal_.Get());
    if (Hwnd() != nullptr) {
        // at a display scale the button keeps its place's size when the image is within a pixel
        // of it
        if (!FitsImage(size))
            SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
    return bool(pressed_);
}

void CBitmapButton::Draw(HDC dc, const RECT& area, bool pressed) {
    HBITMAP image = pressed && pressed_ ? pressed_.Get() : normal_.Get();
    if (image == nullptr) return;
    HDC source = source_.Get();
    if (source == nullptr) return;
    gdi::SelectGuard select(source, image);
    gdi::DrawImageFitted(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                         source, gdi::BitmapSize(image));
}

bool CBitmapButton::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM) return false;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    Draw(item->hDC, item->rcItem, (item->itemState & ODS_SELECTED) != 0);
    if ((item->itemState & ODS_DISABLED) != 0) DimDisabledArea(item->hDC, item->rcItem);
    PaintFocusMark(item->hDC);
    result = TRUE;
    return true;
}

}  // namespace quorelle::controls
