// Dialog 102 with the main console's view and the page frame, forwarding messages the way the
// main window does. Shared by the console's Win32 tests and its benchmark.
#pragma once

#include <windows.h>

#include <vector>

#include "base/dialog_window_win32.h"
#include "base/messages.h"
#include "pages/main_console_view_win32.h"
#include "pages/page_chrome_win32.h"

namespace quorelle::testing {

class ConsoleHost : public DialogWindow {
  public:
    ConsoleHost(device::EndpointControl& endpoint, pages::PageRefresh& pages)
        : DialogWindow(102), view(endpoint, pages), chrome(0, 102) {}
    ~ConsoleHost() override {
        if (hwnd()) DestroyWindow(hwnd());
    }
    pages::MainConsoleView view;
    pages::PageChrome chrome;
    std::vector<bool> dragAnswers;  // what each press answered

  protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (msg) {
            case WM_INITDIALOG:
                // as the main window: the page makes its controls, then the console binds them
                chrome.ApplySkin(hwnd());
                view.Attach(hwnd());
                result = TRUE;
                return true;
            case WM_LBUTTONDOWN:
                dragAnswers.push_back(view.OnLButtonDown(
                    {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}));
                result = 0;
                return true;
            case WM_HSCROLL:
                view.OnHScroll(reinterpret_cast<HWND>(lParam));
                return false;
            case SLIDER_MSG_TRACK:
                if (!view.OnSliderTrack(wParam)) return false;
                result = 1;
                return true;
            case SLIDER_MSG_COMMIT:
                if (!view.OnSliderCommit(wParam, lParam)) return false;
                result = 1;
                return true;
            case WM_COMMAND:
                return view.OnCommand(wParam);
            case WM_VOLUME_CHANGED:
                result = view.OnVolumeChanged(wParam);
                return true;
            case WM_DEFAULT_OUTPUT_CHANGED:
                result = view.OnDefaultOutputChanged(lParam);
                return true;
            default:
                return chrome.HandleFrameMessage(msg, wParam, lParam, result);
        }
    }
};

// Dispatches every message waiting in this thread's queue.
inline void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace quorelle::testing
