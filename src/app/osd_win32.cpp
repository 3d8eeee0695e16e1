#include "app/osd_win32.h"

#include <oleacc.h>

#include <algorithm>

#include "base/diagnostics.h"
#include "base/own_windows_win32.h"
#include "controls/dpi_win32.h"
#include "controls/label_win32.h"
#include "controls/scale.h"

namespace quorelle {

namespace {

constexpr UINT_PTR kHideTimer = 1;
// The look, in logical pixels: the panel's size around its text and its distance from the
// bottom of the work area.
constexpr int kPaddingX = 24;
constexpr int kPaddingY = 12;
constexpr int kMinimumWidth = 220;
constexpr int kAboveBottom = 72;
constexpr int kTextPointTenths = 130;  // the label face, larger
constexpr COLORREF kPanelColour = RGB(0x1C, 0x1E, 0x22);
constexpr COLORREF kFrameColour = RGB(0x5A, 0x5E, 0x66);

}  // namespace

OnScreenDisplay::~OnScreenDisplay() {
    if (window_) DestroyWindow(window_);
    if (anchor_) {
        controls::SetAccessibleHost(anchor_, nullptr);
        DestroyWindow(anchor_);
    }
}

bool OnScreenDisplay::Create() {
    if (window_) return true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, kClassName, &wc)) {
        wc.lpfnWndProc = &OnScreenDisplay::Proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        if (!RegisterClassExW(&wc)) return false;
    }
    anchor_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, nullptr);
    if (!anchor_) return false;
    controls::SetAccessibleHost(anchor_, this);
    window_ =
        CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                        kClassName, L"", WS_POPUP, 0, 0, 0, 0, anchor_, nullptr, instance, this);
    return window_ != nullptr;
}

void OnScreenDisplay::Show(const std::wstring& text) {
    if (!Create()) return;
    text_ = text;
    SetWindowTextW(window_, text_.c_str());
    POINT pointer{};
    GetCursorPos(&pointer);
    HMONITOR monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    const int dpi = controls::SkinDpi(controls::MonitorDpi(monitor));
    if (!font_ || dpi != Dpi())
        font_ = controls::CreatePointFont(kTextPointTenths, controls::kLabelFace, dpi);
    controls::SetDrawnDpi(window_, dpi);

    SIZE extent{};
    {
        gdi::WindowDC screen(window_);
        gdi::SelectGuard select(screen.Get(), font_.Get());
        GetTextExtentPoint32W(screen.Get(), text_.c_str(), int(text_.size()), &extent);
    }
    using controls::ToDevice;
    const int width =
        std::max<int>(extent.cx + 2 * ToDevice(kPaddingX, dpi), ToDevice(kMinimumWidth, dpi));
    const int height = extent.cy + 2 * ToDevice(kPaddingY, dpi);
    const RECT& work = info.rcWork;
    const int x = (work.left + work.right) / 2 - width / 2;
    const int y = work.bottom - ToDevice(kAboveBottom, dpi) - height;
    SetWindowPos(window_, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
    // a second key while it shows starts its time again
    SetTimer(window_, kHideTimer, kShownMilliseconds, nullptr);
    NotifyWinEvent(EVENT_SYSTEM_ALERT, window_, OBJID_CLIENT, CHILDID_SELF);
    RaiseNotification();
}

int OnScreenDisplay::Dpi() const {
    return controls::DrawnDpi(window_);
}

void OnScreenDisplay::Hide() {
    if (!window_) return;
    KillTimer(window_, kHideTimer);
    ShowWindow(window_, SW_HIDE);
}

void OnScreenDisplay::RaiseNotification() const {
    // UI Automation's notifications came with later systems; looked up where they exist
    using HostProviderFn = HRESULT(WINAPI*)(HWND, IUnknown**);
    using RaiseFn = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);
    struct Uia {
        HostProviderFn hostProvider = nullptr;
        RaiseFn raise = nullptr;
        Uia() {
            if (HMODULE m = LoadLibraryW(L"uiautomationcore.dll")) {
                hostProvider = reinterpret_cast<HostProviderFn>(
                    reinterpret_cast<void*>(GetProcAddress(m, "UiaHostProviderFromHwnd")));
                raise = reinterpret_cast<RaiseFn>(
                    reinterpret_cast<void*>(GetProcAddress(m, "UiaRaiseNotificationEvent")));
            }
        }
    };
    static const Uia uia;
    if (!uia.hostProvider || !uia.raise) return;
    IUnknown* provider = nullptr;
    if (FAILED(uia.hostProvider(window_, &provider)) || !provider) return;
    constexpr int kNotificationKindOther = 4;
    constexpr int kProcessingMostRecent = 3;
    BSTR display = SysAllocStringLen(text_.data(), UINT(text_.size()));
    BSTR activity = SysAllocString(L"Quorelle.HotKey");
    if (display && activity)
        uia.raise(provider, kNotificationKindOther, kProcessingMostRecent, display, activity);
    SysFreeString(display);
    SysFreeString(activity);
    provider->Release();
}

bool OnScreenDisplay::Describe(HWND control, int child, controls::AccessibleFacts& facts) {
    if (control != window_ || child != 0) return false;
    facts.role = ROLE_SYSTEM_ALERT;
    facts.name = text_;
    facts.state =
        controls::kStateReadOnly | (IsWindowVisible(window_) ? 0u : controls::kStateInvisible);
    return true;
}

void OnScreenDisplay::Paint(HDC dc) const {
    RECT area;
    GetClientRect(window_, &area);
    gdi::Brush frame(CreateSolidBrush(kFrameColour));
    gdi::Brush panel(CreateSolidBrush(kPanelColour));
    FillRect(dc, &area, frame.Get());
    const int edge = std::max(1, controls::ToDevice(1, Dpi()));
    RECT inner{area.left + edge, area.top + edge, area.right - edge, area.bottom - edge};
    FillRect(dc, &inner, panel.Get());
    gdi::SelectGuard select(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, controls::kLabelTextColour);
    DrawTextW(dc, text_.c_str(), int(text_.size()), &inner,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT OnScreenDisplay::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND const hwnd = window_;
    switch (msg) {
        case WM_PAINT: {
            gdi::PaintDC paint(window_);
            Paint(paint.Get());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            if (wParam == kHideTimer) Hide();
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_GETOBJECT:
            if (LRESULT answer = controls::AnswerGetObject(window_, wParam, lParam, object_))
                return answer;
            break;
        case WM_DESTROY:
            controls::ReleaseAccessibleObject(object_);
            break;
        case WM_NCDESTROY:
            window_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK OnScreenDisplay::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        if (msg == WM_NCCREATE) {
            auto* self = static_cast<OnScreenDisplay*>(
                reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowObject(hwnd, WindowRole::OwnWindow, self);
            self->window_ = hwnd;
        }
        auto* self = WindowObjectAs<OnScreenDisplay>(hwnd, WindowRole::OwnWindow);
        if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
        if (msg == WM_NCDESTROY) ForgetWindow(hwnd);
        return self->OnMessage(msg, wParam, lParam);
    } catch (...) {
        ReportCaughtException("on-screen display", msg);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace quorelle
