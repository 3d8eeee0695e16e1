#include "controls/dpi_win32.h"

#include <map>
#include <mutex>

#include "controls/gdi_win32.h"
#include "controls/scale.h"
#include "resource.h"

namespace quorelle::controls {

int DisplayDpi(HWND window) {
    // Looked up once: systems before the per-monitor DPI functions have only the screen's.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window != nullptr && getDpiForWindow != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) return int(dpi);
    }
    gdi::WindowDC screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kLogicalDpi;
}

int WindowDpi(HWND window) {
    return SkinDpi(DisplayDpi(window));
}

namespace {
constexpr wchar_t kDrawnDpiProperty[] = L"Quorelle.DrawnDpi";
}

void SetDrawnDpi(HWND window, int dpi) {
    if (window != nullptr)
        SetPropW(window, kDrawnDpiProperty, reinterpret_cast<HANDLE>(INT_PTR(dpi)));
}

int DrawnDpi(HWND window) {
    const auto kept = reinterpret_cast<INT_PTR>(GetPropW(window, kDrawnDpiProperty));
    return kept > 0 ? int(kept) : WindowDpi(window);
}

int SystemDpi() {
    using GetDpiForSystemFn = UINT(WINAPI*)();
    static const auto getDpiForSystem = reinterpret_cast<GetDpiForSystemFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForSystem")));
    if (getDpiForSystem != nullptr) {
        const UINT dpi = getDpiForSystem();
        if (dpi > 0) return int(dpi);
    }
    return DisplayDpi(nullptr);  // the screen's, which is the system's
}

int MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForMonitor = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (getDpiForMonitor && monitor && SUCCEEDED(getDpiForMonitor(monitor, 0, &x, &y)) && y > 0)
        return int(y);
    return SystemDpi();
}

HCURSOR HandCursor(int dpi) {
    static std::mutex lock;
    static std::map<int, HCURSOR> cursors;  // by drawn scale, never destroyed
    const int percent = SkinPercent(dpi);
    std::lock_guard<std::mutex> hold(lock);
    HCURSOR& cursor = cursors[percent];
    if (cursor == nullptr) {
        // the resource holds the cursor in the size of every drawn scale: 32 pixels at 100 %
        const int size = ToDevice(32, DpiOfPercent(percent));
        cursor = static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr),
                                                 MAKEINTRESOURCEW(IDC_HAND_POINTER), IMAGE_CURSOR,
                                                 size, size, LR_DEFAULTCOLOR));
    }
    return cursor;
}

}  // namespace quorelle::controls
