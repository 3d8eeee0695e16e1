#include "app/application_win32.h"

#include <commctrl.h>

#include "app/main_window_win32.h"
#include "app/notice_win32.h"
#include "controls/accessible_win32.h"
#include "settings/profile_settings_win32.h"
#include "base/handles_win32.h"
#include "base/messages.h"
#include "device/conflib.h"

namespace quorelle {

void ChangeMainWindow(HWND hwnd) {
    SetAppMainWindow(hwnd);
    device::ConfLibEvents().Disarm(WM_CONFLIB_EVENT_A);
    device::ConfLibEvents().Disarm(WM_CONFLIB_EVENT_B);
}

int VUVavIruvOro::Run() {
    instanceMutex_.reset(CreateMutexW(nullptr, FALSE, L"VUVavIruvOro"));
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;  // a copy runs already: end silently

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
        mainWindow.RunModal();
        ChangeMainWindow(nullptr);
    }
    controls::ReleaseInterfaceAnchor();
    SetNoticeSink(nullptr);
    SetSettingsBackend(nullptr);
    instanceMutex_.reset();
    return 0;
}

}  // namespace quorelle
