// CBitmapSlider: a linear slider drawn from a track image and a thumb image, bound to a static
// control of a dialog (with the notify style). Posts SLIDER_MSG_TRACK while dragging and
// SLIDER_MSG_COMMIT on button release and after keys.
#pragma once

#include <windows.h>

#include "controls/control_win32.h"
#include "controls/gdi_win32.h"
#include "controls/slider.h"

namespace quorelle::controls {

class CBitmapSlider : public SubclassedControl {
  public:
    CBitmapSlider() = default;
    ~CBitmapSlider() override;

    void SetLimits(int min, int max) { model_.SetLimits(min, max); }
    // Clamps and repaints the whole control.
    void SetValue(int value);
    int Value() const { return model_.Value(); }
    void SetPageStep(int step) { model_.SetPageStep(step); }
    void SetInsets(int left, int top, int right, int bottom) {
        model_.SetInsets(left, top, right, bottom);
    }
    void SetVertical(bool vertical) { model_.SetVertical(vertical); }
    void SetFitToWindow(bool fit) { fitToWindow_ = fit; }

    // Images from the module's bitmap resources.
    bool LoadTrackImages(int normalId, int activeId);
    bool LoadThumbImages(int normalId, int pressedId);
    // The same with bitmaps the caller made; the slider takes them over.
    bool SetTrackImages(gdi::Bitmap normal, gdi::Bitmap active);
    bool SetThumbImages(gdi::Bitmap normal, gdi::Bitmap pressed);

    // Composes the whole control off-screen and copies it to `target` in one transfer.
    void Paint(HDC target);

    const SliderModel& Model() const { return model_; }
    bool Focused() const { return focused_; }

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override { ReleaseImages(); }

  private:
    void ReleaseImages();
    void Post(const std::vector<SliderNotice>& notices);
    int AxisOf(LPARAM lParam) const;
    void DrawTrackPart(HDC dc, HDC source, HBITMAP image, int from, int to);

    SliderModel model_;
    RECT client_{};
    bool fitToWindow_ = false;
    bool focused_ = false;
    bool trackLoaded_ = false;
    bool thumbLoaded_ = false;
    gdi::Bitmap trackNormal_;
    gdi::Bitmap trackActive_;
    gdi::Bitmap thumbNormal_;
    gdi::Bitmap thumbPressed_;
};

}  // namespace quorelle::controls
