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

// The DPI a window is drawn for, kept with the window: set when its frame is made and on every
// change of display scale, read by whatever converts its points (hit tests, zones) so that
// drawing and hit testing always agree. WindowDpi(window) when none was kept.
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
