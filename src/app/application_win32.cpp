#include "app/application_win32.h"

#include <commctrl.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/main_window_win32.h"
#include "app/notice_win32.h"
#include "app/start_options.h"
#include "base/text_win32.h"
#include "base/version.h"
#include "controls/accessible_win32.h"
#include "settings/profile_settings_win32.h"
#include "base/handles_win32.h"
#include "base/messages.h"
#include "device/conflib.h"

namespace quorelle {

UINT ShowRunningCopyMessage() {
    static const UINT message = RegisterWindowMessageW(L"Quorelle.ShowRunningCopy");
    return message;
}

namespace {

// The arguments of the program's command line, after its own name.
std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> out;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return out;
    for (int i = 1; i < count; ++i) out.push_back(Narrow(arguments[i]));
    LocalFree(arguments);
    return out;
}

// The running copy's main window: a dialog of this thread's desktop with the program's name
// as its text (the pages add their own names to it).
HWND FindRunningMainWindow() {
    struct Search {
        std::wstring title = Widen(QUORELLE_PRODUCT_NAME);
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            wchar_t className[16] = {};
            wchar_t title[128] = {};
            if (GetClassNameW(window, className, 16) == 0 || lstrcmpW(className, L"#32770") != 0)
                return TRUE;
            GetWindowTextW(window, title, 128);
            if (s.title != title) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A second start: the running copy may take the foreground and shows the window of its
// current page; the second copy then ends.
void ShowRunningCopy() {
    HWND running = FindRunningMainWindow();
    if (running == nullptr) return;
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    AllowSetForegroundWindow(process);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(running, ShowRunningCopyMessage(), 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
}

}  // namespace

void ChangeMainWindow(HWND hwnd) {
    SetAppMainWindow(hwnd);
    device::ConfLibEvents().Disarm(WM_CONFLIB_EVENT_A);
    device::ConfLibEvents().Disarm(WM_CONFLIB_EVENT_B);
}

int VUVavIruvOro::Run() {
    const bool inTray = AsksForTrayStart(CommandLineArguments());
    instanceMutex_.reset(CreateMutexW(nullptr, FALSE, L"VUVavIruvOro"));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // a copy runs already: a start by the user brings it to the front, one for the
        // notification area (at sign-in) shows nothing; either way this copy ends
        if (!inTray) ShowRunningCopy();
        return 0;
    }

    // COM for the whole run. The window thread is a single-threaded apartment, as every thread
    // that serves windows' accessible objects is: the platform brings the tools' calls to it
    // through its message loop, so they touch the page on its own thread. The endpoint
    // services' listeners are called on the audio service's threads either way and only post.
    const ComForThisThread com(COINIT_APARTMENTTHREADED);

    INITCOMMONCONTROLSEX icc{sizeof icc, 0xFF};
    InitCommonControlsEx(&icc);

    ProfileSettings settings;
    SetSettingsBackend(&settings);
    MessageBoxNotice notices;
    SetNoticeSink(&notices);
    {
        CCKorZereDlg mainWindow;
        mainWindow.RunModal(inTray);
        ChangeMainWindow(nullptr);
    }
    controls::ReleaseInterfaceAnchor();
    SetNoticeSink(nullptr);
    SetSettingsBackend(nullptr);
    instanceMutex_.reset();
    return 0;
}

}  // namespace quorelle
