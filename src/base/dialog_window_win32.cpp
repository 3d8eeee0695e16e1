#include "base/dialog_window_win32.h"

#include "base/diagnostics.h"
#include "base/own_windows_win32.h"

namespace quorelle {

HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

DialogWindow::~DialogWindow() {
    if (hwnd_) {
        // the messages of the destruction find no object: its own parts are gone already
        ClearWindowObject(hwnd_, WindowRole::Dialog, this);
        DestroyWindow(hwnd_);
    }
}

bool DialogWindow::Create(HWND owner) {
    if (hwnd_) return true;
    return CreateDialogParamW(ProgramInstance(), MAKEINTRESOURCEW(templateId_), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

namespace {

// Whether a control notification may be taken as the program's own. A WM_COMMAND that names a
// window names one of this thread's (a menu's or an accelerator's names none). A WM_NOTIFY
// carries a pointer that only its sender's memory gives meaning to: one sent from another thread
// or process is not read (the platform refuses to post it at all). (WM_DRAWITEM and WM_CTLCOLOR*
// reach a control only through the registry, which answers nothing for a foreign window.)
bool FromThisProgram(UINT msg, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            return lParam == 0 || IsThreadWindow(reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY:
            return (InSendMessageEx(nullptr) & ISMEX_SEND) == 0;
        default:
            return true;
    }
}

}  // namespace

INT_PTR CALLBACK DialogWindow::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogWindow* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowObject(hwnd, WindowRole::Dialog, self);
        self->hwnd_ = hwnd;
    } else {
        self = WindowObjectAs<DialogWindow>(hwnd, WindowRole::Dialog);
    }
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        ForgetWindow(hwnd);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    if (!FromThisProgram(msg, lParam)) return TRUE;  // dropped: nothing of it is read
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
