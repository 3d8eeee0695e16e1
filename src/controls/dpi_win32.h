// The dots per inch a window is drawn for. Every window of the program is drawn at one of the
// skin's drawn scales (controls/scale.h): the one nearest to the DPI of the monitor it is on.
#pragma once

#include <windows.h>

namespace quorelle::controls {

// The display's DPI for `window` as the platform reports it (the window's monitor where the
// platform tracks one, else the screen's), not yet snapped to a drawn scale.
int DisplayDpi(HWND window);
// The DPI of the drawn scale `window` is shown at: SkinDpi(DisplayDpi(window)).
int WindowDpi(HWND window);

// The program's hand cursor in the size for dpi, loaded once per drawn scale and kept for the
// program's life; nullptr when it cannot be had.
HCURSOR HandCursor(int dpi);

}  // namespace quorelle::controls
