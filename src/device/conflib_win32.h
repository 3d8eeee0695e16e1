// Loading the device configuration library and its callback into the window protocol.
#pragma once

#include <windows.h>

#include <cstdint>

namespace quorelle::device {

// Loads osConfLib.dll from the program's directory (systems newer than 5.2 only), resolves the
// eleven entry points into ConfLibSlots() and reports whether the file loaded. Every call loads
// and resolves afresh; the library is never unloaded. On failure the slots stay as they were.
bool LoadConfLib();

// Posts the window message that (event, flags) stands for to the window, if any and unless one
// of its kind is still waiting there (ConfLibEvents); nothing else. Safe on any thread.
void PostConfLibEvent(HWND target, int32_t event, uint32_t flags) noexcept;

// The callback the main window registers: PostConfLibEvent to the application's main window.
void ConfLibCallback(void* context, void* reserved, int32_t event, uint32_t flags) noexcept;

}  // namespace quorelle::device
