// Helpers of the control tests: a host window that records what its controls post and reflects
// their notifications, bitmaps made in memory, and painting a control into a memory surface.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "controls/control_win32.h"
#include "controls/gdi_win32.h"

namespace quorelle::testing {

struct Recorded {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window at (100, 100) whose background is one solid colour. Hidden unless asked:
// without a window manager Wine waits about two seconds for a shown window to go away.
class HostWindow {
  public:
    explicit HostWindow(int width = 400, int height = 300, COLORREF background = RGB(20, 30, 120),
                        bool visible = false);
    ~HostWindow();
    HWND Hwnd() const { return hwnd_; }
    COLORREF Background() const { return background_; }

    HWND AddChild(const wchar_t* className, DWORD style, int id, int x, int y, int w, int h,
                  const wchar_t* text = L"");
    // Delivers what is waiting in the thread's queue.
    void Pump();
    // Messages the host received of one kind (after Pump), and forgets them.
    std::vector<Recorded> Take(UINT message);
    std::vector<Recorded> TakeAll();

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    COLORREF background_;
    gdi::Brush brush_;
    std::vector<Recorded> recorded_;
};

// A 24-bit bitmap of one colour.
gdi::Bitmap SolidBitmap(int width, int height, COLORREF colour);

// A 32-bit memory surface whose pixels can be read.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    HDC Dc() const { return dc_.Get(); }
    COLORREF At(int x, int y) const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Pixels equal to `colour` in the rectangle.
    int Count(COLORREF colour, int left, int top, int right, int bottom) const;

  private:
    int width_;
    int height_;
    gdi::OwnedDC dc_;
    gdi::Bitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Paints a window's client area into the canvas through WM_PRINTCLIENT.
void PrintInto(HWND hwnd, Canvas& canvas);

// The colour of a pixel of a bitmap.
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);

}  // namespace quorelle::testing
