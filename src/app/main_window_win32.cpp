#include "app/main_window_win32.h"

#include "app/application_win32.h"
#include "app/text_win32.h"
#include "app/version.h"
#include "resource.h"

namespace quorelle {

CCKorZereDlg::CCKorZereDlg() : DialogWindow(IDD_MAIN) {
    // the listeners of the endpoint services run in the multithreaded apartment
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    bigIcon_.reset(static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(IDI_APP),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                 GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(IDI_APP),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0)));
}

CCKorZereDlg::~CCKorZereDlg() = default;

INT_PTR CCKorZereDlg::RunModal() {
    modalEnded_ = false;
    if (!Create(nullptr)) return -1;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    MSG msg;
    while (!modalEnded_) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT to the caller
            break;
        }
        if (got < 0) break;
        if (IsKeyDownForMe(msg)) continue;
        if (hwnd() && IsDialogMessageW(hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (hwnd()) DestroyWindow(hwnd());
    return modalResult_;
}

void CCKorZereDlg::EndModal(INT_PTR result) {
    modalResult_ = result;
    modalEnded_ = true;
    if (hwnd()) PostMessageW(hwnd(), WM_NULL, 0, 0);  // wake the loop
}

bool CCKorZereDlg::IsKeyDownForMe(const MSG& msg) const {
    if (msg.message != WM_KEYDOWN || !hwnd() || !msg.hwnd) return false;
    return msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd);
}

bool CCKorZereDlg::OnInitDialog() {
    SetAppMainWindow(hwnd());
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    // no caption is drawn; the text names the window for the system and for assistive tools
    SetWindowTextW(hwnd(), Widen(QUORELLE_PRODUCT_NAME).c_str());
    return true;
}

bool CCKorZereDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (msg) {
        case WM_INITDIALOG:
            result = OnInitDialog() ? TRUE : FALSE;
            return true;
        case WM_COMMAND:
            // the dialog manager's IDOK / IDCANCEL never close the main window
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) return true;
            return false;
        case WM_CLOSE:
            // the system close command (Alt+F4) ends the modal run with the cancel result
            EndModal(IDCANCEL);
            return true;
        default:
            return false;
    }
}

}  // namespace quorelle
