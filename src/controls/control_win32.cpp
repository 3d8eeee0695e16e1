#include "controls/control_win32.h"

#include <commctrl.h>

#include <cstdlib>

#include "base/diagnostics.h"
#include "controls/accessible_win32.h"
#include "controls/dpi_win32.h"
#include "controls/gdi_win32.h"
#include "controls/scale.h"

namespace quorelle::controls {

namespace {
// The one subclass of the skinned controls on a window.
constexpr UINT_PTR kSubclassId = 0x51C0;
// Finds the object from the window for the notifications its parent reflects (the import
// libraries offer no GetWindowSubclass: comctl32 exports it by ordinal only).
constexpr wchar_t kProperty[] = L"QuorelleSkinnedControl";
}  // namespace

SubclassedControl::~SubclassedControl() {
    Detach();
    ReleaseAccessibleObject(accessible_);
}

bool SubclassedControl::Attach(HWND hwnd) {
    if (hwnd_ != nullptr || hwnd == nullptr || !IsWindow(hwnd)) return false;
    if (GetPropW(hwnd, kProperty) != nullptr) return false;
    if (!SetPropW(hwnd, kProperty, this)) return false;
    original_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (!SetWindowSubclass(hwnd, &Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        RemovePropW(hwnd, kProperty);
        original_ = nullptr;
        return false;
    }
    hwnd_ = hwnd;
    dpi_ = WindowDpi(hwnd);
    OnAttached();
    return true;
}

void SubclassedControl::Detach() {
    if (hwnd_ == nullptr) return;
    if (IsWindow(hwnd_)) {
        RemoveWindowSubclass(hwnd_, &Procedure, kSubclassId);
        RemovePropW(hwnd_, kProperty);
    }
    hwnd_ = nullptr;
    original_ = nullptr;
}

void SubclassedControl::SetDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    OnDpiChanged();
}

bool SubclassedControl::FitsImage(SIZE image) const {
    RECT client{};
    if (hwnd_ == nullptr || !GetClientRect(hwnd_, &client)) return false;
    const int slack = dpi_ == kLogicalDpi ? 0 : 1;
    return std::abs(client.right - image.cx) <= slack &&
           std::abs(client.bottom - image.cy) <= slack;
}

int SubclassedControl::Scaled(int logical) const {
    return ToDevice(logical, dpi_);
}

int SubclassedControl::Logical(int device) const {
    return ToLogical(device, dpi_);
}

void SubclassedControl::PaintFocusMark(HDC dc, bool round) const {
    if (!ShowsFocusMark(hwnd_)) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    DrawFocusMark(dc, client, dpi_, round);
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
    if (hwnd_ == nullptr) return 0;
    // Inside a message of the chain the next subclass (in the end the window's own procedure)
    // answers; outside one there is no chain position to continue from.
    if (dispatching_ > 0) return DefSubclassProc(hwnd_, message, wParam, lParam);
    if (original_ == nullptr) return DefWindowProcW(hwnd_, message, wParam, lParam);
    return CallWindowProcW(original_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK SubclassedControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<SubclassedControl*>(data);
    if (self == nullptr || self->hwnd_ != hwnd) {
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    struct Dispatching {
        int& depth;
        explicit Dispatching(int& d) : depth(d) { ++depth; }
        ~Dispatching() { --depth; }
    } dispatching(self->dispatching_);
    try {
        if (message == WM_DESTROY) {
            const LRESULT result = self->Default(message, wParam, lParam);
            self->OnDestroyed();
            ReleaseAccessibleObject(self->accessible_);
            return result;
        }
        if (message == WM_NCDESTROY) {
            self->Detach();
            return DefSubclassProc(hwnd, message, wParam, lParam);
        }
        if ((message == WM_SETFOCUS || message == WM_KILLFOCUS) &&
            FocusCuesShown(GetParent(hwnd))) {
            InvalidateRect(hwnd, nullptr, FALSE);  // the focus mark comes or goes
        }
        if (message == WM_GETOBJECT) {
            // every skinned control describes itself to assistive tools; without a host
            // the platform's own object answers
            if (LRESULT answer = AnswerGetObject(hwnd, wParam, lParam, self->accessible_))
                return answer;
        }
        return self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may cross the window procedure; the message counts as not handled.
        ReportCaughtException("control window procedure", message);
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
        ReportCaughtException("notification reflected to a control", message);
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
