#include "pages/secondary_page_win32.h"

#include <windowsx.h>

#include "base/messages.h"
#include "base/text_win32.h"
#include "pages/hit_area_win32.h"
#include "resource.h"

namespace quorelle::pages {

bool SecondaryPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (chrome_.HandleFrameMessage(msg, wParam, lParam, result)) return true;
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowTextW(hwnd(), Widen(PageTitle(PageIndex())).c_str());
            OnInitPage();
            chrome_.EnableAccessibility(*this);
            result = TRUE;
            return true;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const bool navigation = id == chrome_.CloseButtonId() || chrome_.PageOfButton(id) >= 0;
            if (navigation && (!controls::IsButtonPress(wParam) || !IsWindowVisible(hwnd()))) {
                // a press that reaches a page already hidden (the second of a double click)
                // does nothing more
                return true;
            }
            if (id == chrome_.CloseButtonId()) {
                ShowWindow(hwnd(), SW_HIDE);
                return true;
            }
            const int target = chrome_.PageOfButton(id);
            if (target >= 0) {
                if (target != PageIndex()) NavigateTo(target);  // the page's own button: nothing
                return true;
            }
            // Enter and Escape never close a page
            return id == IDOK || id == IDCANCEL;
        }
        case WM_DPICHANGED:
            if (chrome_.ChangeDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)))
                OnDpiChanged();
            result = 0;
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // the second press of a quick double click is a press too
            // the pages' hit tests measure in logical pixels
            return OnLeftButtonDown(ToPoint(LogicalPoint(hwnd(), lParam)), result);
        default:
            if (msg == WM_LANGUAGE_CHANGE) {
                SetPageTexts(static_cast<int>(lParam));
                result = 1;
                return true;
            }
            return false;
    }
}

bool SecondaryPage::OnLeftButtonDown(POINT pressed, LRESULT&) {
    controls::DragPage(hwnd());
    OnPress(pressed);
    return false;
}

void SecondaryPage::NavigateTo(int target) {
    // the main window shows the target in this page's place and then hides this page, so the
    // panel never leaves the screen for a moment, nor shows the main window on the way
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    if (!owner || !SendMessageW(owner, WM_PAGE_NAVIGATE, static_cast<WPARAM>(PageIndex()),
                                static_cast<LPARAM>(target)))
        ShowWindow(hwnd(), SW_HIDE);
}

}  // namespace quorelle::pages
