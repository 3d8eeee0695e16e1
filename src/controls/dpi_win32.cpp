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
