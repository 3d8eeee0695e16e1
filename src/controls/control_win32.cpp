#include "controls/control_win32.h"

#include "controls/gdi_win32.h"

namespace quorelle::controls {

namespace {
constexpr wchar_t kProperty[] = L"QuorelleSkinnedControl";
}

SubclassedControl::~SubclassedControl() {
    Detach();
}

bool SubclassedControl::Attach(HWND hwnd) {
    if (hwnd_ != nullptr || hwnd == nullptr || !IsWindow(hwnd)) return false;
    if (GetPropW(hwnd, kProperty) != nullptr) return false;
    if (!SetPropW(hwnd, kProperty, this)) return false;
    hwnd_ = hwnd;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
    OnAttached();
    return true;
}

void SubclassedControl::Detach() {
    if (hwnd_ == nullptr) return;
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropW(hwnd_, kProperty);
    }
    hwnd_ = nullptr;
    previous_ = nullptr;
}

SubclassedControl* SubclassedControl::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    return static_cast<SubclassedControl*>(GetPropW(hwnd, kProperty));
}

bool SubclassedControl::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT SubclassedControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT SubclassedControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previous_ == nullptr) return DefWindowProcW(hwnd_, message, wParam, lParam);
    return CallWindowProcW(previous_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK SubclassedControl::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    SubclassedControl* self = FromHandle(hwnd);
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        if (message == WM_DESTROY) {
            const LRESULT result = self->Default(message, wParam, lParam);
            self->OnDestroyed();
            return result;
        }
        if (message == WM_NCDESTROY) {
            const WNDPROC previous = self->previous_;
            self->Detach();
            return CallWindowProcW(previous, hwnd, message, wParam, lParam);
        }
        return self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may cross the window procedure; the message counts as not handled.
        return 0;
    }
}

bool ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            child = reinterpret_cast<HWND>(lParam);
            break;
        case WM_COMMAND:
            if (lParam == 0) return false;  // menu or accelerator
            child = reinterpret_cast<HWND>(lParam);
            break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item == nullptr || item->CtlType == ODT_MENU) return false;
            child = item->hwndItem;
            break;
        }
        default:
            return false;
    }
    SubclassedControl* control = SubclassedControl::FromHandle(child);
    if (control == nullptr) return false;
    try {
        return control->OnReflected(message, wParam, lParam, result);
    } catch (...) {
        return false;
    }
}

void DimDisabledArea(HDC dc, const RECT& area) {
    gdi::OwnedDC source(CreateCompatibleDC(dc));
    gdi::Bitmap shade(CreateCompatibleBitmap(dc, 1, 1));
    if (!source || !shade) return;
    gdi::SelectGuard select(source.Get(), shade.Get());
    SetPixel(source.Get(), 0, 0, RGB(26, 27, 31));
    const BLENDFUNCTION half{AC_SRC_OVER, 0, 150, 0};
    // the platform's own blend (what AlphaBlend forwards to), without loading one more library
    GdiAlphaBlend(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                  source.Get(), 0, 0, 1, 1, half);
}

}  // namespace quorelle::controls
