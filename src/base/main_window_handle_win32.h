// The program's main window, for the device library's callback and the endpoint listeners on
// other threads to post to. The application sets it while its main window lives.
#pragma once

#include <windows.h>

namespace quorelle {

// The main window; null while there is none.
HWND AppMainWindow();
void SetAppMainWindow(HWND hwnd);

}  // namespace quorelle
