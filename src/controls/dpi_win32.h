// The dots per inch a window is drawn for. Every window of the program is drawn at one of the
// skin's drawn scales (controls/scale.h): the one nearest to the DPI of the monitor it is on.
#pragma once

#include <windows.h>

namespace quorelle::controls {

// The display's DPI for `window` as the platform reports it (the window's monitor where the
// platform tracks one, else the screen's), not yet snapped to a drawn scale.
int DisplayDpi(HWND window);
// The DPI of the drawn scale `window` would be shown at now: SkinDpi(DisplayDpi(window)).
int WindowDpi(HWND window);

// The DPI a window is drawn for: the one place a window's scale is kept. Set by the window's
// owner when its frame is made and on every change of display scale (only the window's thread
// keeps one); read by everything that draws the window or converts its points (its controls'
// images, fonts and geometry, hit tests, zones), so that drawing and hit testing always agree.
// A child window without a scale of its own is drawn at its parent's; WindowDpi(window) when no
// window up the chain keeps one. A lookup is a table in the program's memory, fit for paint and
// message paths.
void SetDrawnDpi(HWND window, int dpi);
int DrawnDpi(HWND window);

// The system's DPI (the one the taskbar and the notification area are drawn for).
int SystemDpi();
// A monitor's DPI where the platform tells it per monitor, else the system's: for a window
// about to be placed on that monitor.
int MonitorDpi(HMONITOR monitor);

// The program's hand cursor in the size for dpi, loaded once per drawn scale and kept for the
// program's life; nullptr when it cannot be had.
HCURSOR HandCursor(int dpi);

}  // namespace quorelle::controls
