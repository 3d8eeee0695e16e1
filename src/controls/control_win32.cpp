#include "controls/control_win32.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>

#include "base/diagnostics.h"
#include "base/own_windows_win32.h"
#include "controls/accessible_win32.h"
#include "controls/dpi_win32.h"
#include "controls/gdi_win32.h"
#include "controls/scale.h"

namespace quorelle::controls {

namespace {
// The windows' own procedures of controls let go of while another subclass sat over ours:
// that one still calls ours, which passes every message on (rare: nothing of the program
// subclasses a skinned control again).
std::mutex orphansLock;
std::map<HWND, WNDPROC> orphans;

WNDPROC OrphanProcedure(HWND hwnd) {
    std::lock_guard<std::mutex> hold(orphansLock);
    const auto found = orphans.find(hwnd);
    return found != orphans.end() ? found->second : nullptr;
}
}  // namespace

SubclassedControl::~SubclassedControl() {
    Detach();
    ReleaseAccessibleObject(accessible_);
}

// The object is found through the program's registry of its windows and its procedure replaces
// the window's, on every message and every reflected notification: no property, no comctl32
// subclass list (Wine seam: round trips). The window's user data stays the window's: nothing
// reads it.
bool SubclassedControl::Attach(HWND hwnd) {
    if (hwnd_ != nullptr || !IsThreadWindow(hwnd)) return false;
    if (FromHandle(hwnd) != nullptr) return false;
    original_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (original_ == nullptr) return false;
    // a window whose chain still holds our procedure from an earlier object is not bound again
    if (OrphanProcedure(hwnd) != nullptr) return false;
    hwnd_ = hwnd;
    focused_ = false;  // controls are bound as their window is made, before any focus
    SetWindowObject(hwnd, WindowRole::Control, this);
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    OnAttached();
    return true;
}

void SubclassedControl::Detach() {
    if (hwnd_ == nullptr) return;
    if (IsWindow(hwnd_)) {
        // a procedure set over ours keeps calling ours, which then passes everything on
        if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Procedure)) {
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        } else {
            std::lock_guard<std::mutex> hold(orphansLock);
            orphans[hwnd_] = original_;
        }
    }
    ClearWindowObject(hwnd_, WindowRole::Control, this);
    hwnd_ = nullptr;
    original_ = nullptr;
}

int SubclassedControl::Dpi() const {
    return DrawnDpi(hwnd_);
}

bool SubclassedControl::FitsImage(SIZE image) const {
    RECT client{};
    if (hwnd_ == nullptr || !GetClientRect(hwnd_, &client)) return false;
    const int slack = Dpi() == kLogicalDpi ? 0 : 1;
    return std::abs(client.right - image.cx) <= slack &&
           std::abs(client.bottom - image.cy) <= slack;
}

int SubclassedControl::Scaled(int logical) const {
    return ToDevice(logical, Dpi());
}

int SubclassedControl::Logical(int device) const {
    return ToLogical(device, Dpi());
}

void SubclassedControl::PaintFocusMark(HDC dc, bool round) const {
    // the focus as the control last heard of it, not asked at every paint (Wine seam: round
    // trips)
    if (!focused_ || !FocusCuesShown(GetParent(hwnd_))) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    DrawFocusMark(dc, client, Dpi(), round);
}

std::vector<HWND> SubclassedControl::OverlappingSiblings(bool below) {
    std::vector<HWND> found;
    HWND parent = hwnd_ != nullptr ? GetParent(hwnd_) : nullptr;
    if (parent == nullptr) return found;
    if (stacking_.empty()) stacking_ = ChildWindowsTopFirst(parent);
    const auto self = std::find(stacking_.begin(), stacking_.end(), hwnd_);
    if (self == stacking_.end()) return found;
    RECT own{};
    GetWindowRect(hwnd_, &own);
    const auto overlaps = [&](HWND other) {
        RECT area{}, common{};
        return IsWindow(other) && IsWindowVisible(other) && GetWindowRect(other, &area) &&
               IntersectRect(&common, &own, &area);
    };
    if (below) {
        std::copy_if(self + 1, stacking_.end(), std::back_inserter(found), overlaps);
    } else {
        std::copy_if(std::make_reverse_iterator(self), stacking_.rend(), std::back_inserter(found),
                     overlaps);
    }
    return found;
}

std::vector<HWND> ChildWindowsTopFirst(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

SubclassedControl* SubclassedControl::FromHandle(HWND hwnd) {
    return WindowObjectAs<SubclassedControl>(hwnd, WindowRole::Control);
}

bool SubclassedControl::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT SubclassedControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT SubclassedControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd_ == nullptr || original_ == nullptr) return 0;
    return CallWindowProcW(original_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK SubclassedControl::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    SubclassedControl* self = FromHandle(hwnd);
    if (self == nullptr) {
        // let go of while another procedure sat over ours: the window's own answers
        const WNDPROC original = OrphanProcedure(hwnd);
        if (message == WM_NCDESTROY) {
            std::lock_guard<std::mutex> hold(orphansLock);
            orphans.erase(hwnd);
        }
        return original != nullptr ? CallWindowProcW(original, hwnd, message, wParam, lParam)
                                   : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
        if (message == WM_DESTROY) {
            const LRESULT result = self->Default(message, wParam, lParam);
            self->OnDestroyed();
            ReleaseAccessibleObject(self->accessible_);
            return result;
        }
        if (message == WM_NCDESTROY) {
            const WNDPROC original = self->original_;
            self->Detach();
            return CallWindowProcW(original, hwnd, message, wParam, lParam);
        }
        if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
            self->focused_ = message == WM_SETFOCUS;
            // the focus mark comes or goes
            if (FocusCuesShown(GetParent(hwnd))) InvalidateRect(hwnd, nullptr, FALSE);
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
