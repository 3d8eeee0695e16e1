#include "base/dialog_window_win32.h"

#include "base/diagnostics.h"

namespace quorelle {

HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

DialogWindow::~DialogWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

bool DialogWindow::Create(HWND owner) {
    if (hwnd_) return true;
    return CreateDialogParamW(ProgramInstance(), MAKEINTRESOURCEW(templateId_), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogWindow* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    try {
        LRESULT result = 0;
        const bool handled = self->OnMessage(msg, wParam, lParam, result);
        self->AfterMessage(msg);
        if (!handled) return FALSE;
        // WM_INITDIALOG and a few others answer through the return value itself
        switch (msg) {
            case WM_INITDIALOG:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORSCROLLBAR:
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
            case WM_QUERYDRAGICON:
                return static_cast<INT_PTR>(result);
            default:
                SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
                return TRUE;
        }
    } catch (...) {
        ReportCaughtException("dialog procedure", msg);
        return FALSE;
    }
}

}  // namespace quorelle
