// VUVavIruvOro: the application object. One running copy per session (the named mutex
// "VUVavIruvOro"); it runs the main window modally and ends when that run ends.
#pragma once

#include <windows.h>

#include "base/handles_win32.h"
#include "base/main_window_handle_win32.h"

namespace quorelle {

class VUVavIruvOro {
  public:
    // Start-up, the modal run of the main window, and exit; returns the process exit code.
    int Run();

  private:
    UniqueKernelHandle instanceMutex_;
};

// The message a second start sends the running copy's main window: show the window of the
// current page, as the notification-area menu's "Quorelle DIVO" does, and nothing else.
UINT ShowRunningCopyMessage();

// Makes hwnd (or none) the main window the listeners post to (SetAppMainWindow). A device
// library event that waited for the previous window never arrives: its gate opens again, so the
// next callback posts afresh.
void ChangeMainWindow(HWND hwnd);

}  // namespace quorelle
