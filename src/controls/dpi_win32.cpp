#include "controls/dpi_win32.h"

#include <map>
#include <mutex>

#include "base/own_windows_win32.h"
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

void SetDrawnDpi(HWND window, int dpi) {
    SetKeptDrawnDpi(window, dpi);
}

int DrawnDpi(HWND window) {
    // the scale is kept once per window, in the program's registry (Wine seam: round trips); a
    // control is drawn at the scale of the window it belongs to, the nearest up its chain of
    // parents that keeps one
    for (HWND w = window; w != nullptr;
         w = (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(w) : nullptr) {
        if (const int kept = KeptDrawnDpi(w); kept > 0) return kept;
    }
    return WindowDpi(window);
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
