// A hidden window that stands in for the main window while it lives: the endpoint listeners post
// to it, and the test reads what arrived from its queue.
#pragma once

#include <windows.h>

#include <vector>

#include "base/main_window_handle_win32.h"

namespace quorelle::testing {

class PostedToMainWindow {
  public:
    PostedToMainWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuorelleEndpointTestWindow";
        RegisterClassW(&wc);  // fails harmlessly when already registered
        hwnd_ = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              wc.hInstance, nullptr);
        SetAppMainWindow(hwnd_);
    }
    ~PostedToMainWindow() {
        SetAppMainWindow(nullptr);
        DestroyWindow(hwnd_);
    }
    PostedToMainWindow(const PostedToMainWindow&) = delete;
    PostedToMainWindow& operator=(const PostedToMainWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Every message of this number that has arrived so far, taken off the queue.
    std::vector<MSG> Take(UINT message) {
        std::vector<MSG> taken;
        MSG msg;
        while (PeekMessageW(&msg, hwnd_, message, message, PM_REMOVE)) taken.push_back(msg);
        return taken;
    }

    // Waits until a message of this number arrives or the time is up; then also takes what
    // follows within settleMs (a change is often reported more than once).
    std::vector<MSG> WaitFor(UINT message, DWORD timeoutMs, DWORD settleMs = 300) {
        std::vector<MSG> taken = Take(message);
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        while (taken.empty() && GetTickCount64() < end) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
            taken = Take(message);
        }
        if (taken.empty()) return taken;
        Sleep(settleMs);
        for (const MSG& msg : Take(message)) taken.push_back(msg);
        return taken;
    }

  private:
    HWND hwnd_ = nullptr;
};

}  // namespace quorelle::testing
