// CBitmapButton: an owner-drawn push button that shows its normal image, and its pressed image
// while it is held down. The parent reflects WM_DRAWITEM to it (ReflectNotification).
#pragma once

#include <windows.h>

#include <utility>

#include "controls/control_win32.h"
#include "controls/gdi_win32.h"
#include "controls/memdc_win32.h"

namespace quorelle::controls {

// Whether a WM_COMMAND is a press of a push button: a click, or the second press of a quick double
// click, which an owner-drawn button reports as a double click of its own.
inline bool IsButtonPress(WPARAM wParam) {
    return HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED;
}

class CBitmapButton : public SubclassedControl {
  public:
    CBitmapButton() = default;
    ~CBitmapButton() override;

    // Loads both images and sizes the button to the normal image.
    bool LoadBitmaps(int normalId, int pressedId);
    bool SetBitmaps(gdi::SharedBitmap normal, gdi::SharedBitmap pressed);

    // Draws the image for the given state into `dc` at `area`.
    void Draw(HDC dc, const RECT& area, bool pressed);
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  protected:
    void OnAttached() override;
    void OnDpiChanged() override;

  private:
    std::pair<int, int> ids_{0, 0};  // normal and pressed image, when loaded from resources
    gdi::SharedBitmap normal_;
    gdi::SharedBitmap pressed_;
    ImageSource source_;  // kept for the button's life: a drawing is one block copy
};

}  // namespace quorelle::controls
