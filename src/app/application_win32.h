// VUVavIruvOro: the application object. One running copy per session (the named mutex
// "VUVavIruvOro"); it runs the main window modally and ends when that run ends.
#pragma once

#include <windows.h>

#include "app/handles_win32.h"

namespace quorelle {

class VUVavIruvOro {
  public:
    // Start-up, the modal run of the main window, and exit; returns the process exit code.
    int Run();

  private:
    UniqueKernelHandle instanceMutex_;
};

// The main window, for listeners on other threads to post to; null while there is none.
HWND AppMainWindow();
void SetAppMainWindow(HWND hwnd);

}  // namespace quorelle
