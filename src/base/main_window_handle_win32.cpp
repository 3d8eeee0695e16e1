#include "base/main_window_handle_win32.h"

#include <atomic>

namespace quorelle {

namespace {
std::atomic<HWND> g_mainWindow{nullptr};
}

HWND AppMainWindow() {
    return g_mainWindow.load();
}

void SetAppMainWindow(HWND hwnd) {
    g_mainWindow.store(hwnd);
}

}  // namespace quorelle
