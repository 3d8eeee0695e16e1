// CBitmapSlider: a linear slider drawn from a track image and a thumb image, bound to a static
// control of a dialog (with the notify style). Posts SLIDER_MSG_TRACK while dragging and
// SLIDER_MSG_COMMIT on button release and after keys.
#pragma once

#include <windows.h>

#include "controls/control_win32.h"
#include <optional>
#include <utility>

#include "controls/gdi_win32.h"
#include "controls/memdc_win32.h"
#include "controls/slider.h"

namespace quorelle::controls {

class CBitmapSlider : public SubclassedControl {
  public:
    CBitmapSlider() = default;
    ~CBitmapSlider() override;

    void SetLimits(int min, int max) { model_.SetLimits(min, max); }
    // Clamps and repaints the whole control.
    void SetValue(int value);
    // Moves the thumb to `value` as a drag does: track, then commit. False when it is there
    // already.
    bool MoveAsDrag(int value);
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
    bool SetTrackImages(gdi::SharedBitmap normal, gdi::SharedBitmap active);
    bool SetThumbImages(gdi::SharedBitmap normal, gdi::SharedBitmap pressed);

    // Copies the control's frame to `target` in one transfer; the frame is composed again
    // first when anything it shows changed since it was last composed.
    void Paint(HDC target);
    // Composes the control into `dc` over the client rectangle: the dc's background colour,
    // then track and thumb.
    void Render(HDC dc, const RECT& client);

    const SliderModel& Model() const { return model_; }
    bool Focused() const { return focused_; }

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override { ReleaseImages(); }
    void OnDpiChanged() override;

  private:
    void ReleaseImages();
    void Post(const std::vector<SliderNotice>& notices);
    // Ends a drag that lost the mouse as a release would, committing the value shown.
    void EndDrag();
    int AxisOf(LPARAM lParam) const;
    void DrawTrackPart(HDC dc, HDC source, HBITMAP image, int from, int to);

    // What a frame depends on.
    struct Look {
        int32_t valuePixel = 0;
        int32_t trackWidth = 0;
        int32_t trackHeight = 0;
        bool vertical = false;
        int32_t thumbLeft = 0;
        int32_t thumbTop = 0;
        bool pressedThumb = false;
        LONG width = 0;
        LONG height = 0;
        unsigned images = 0;
        COLORREF background = 0;  // shows where track and thumb leave the client uncovered
        bool operator==(const Look&) const = default;
    };
    Look CurrentLook(const RECT& client, HDC target) const;

    SliderModel model_;
    RECT client_{};
    bool fitToWindow_ = false;
    // the resource ids of the images, to load them again at another scale
    std::pair<int, int> trackIds_{0, 0};
    std::pair<int, int> thumbIds_{0, 0};
    bool focused_ = false;
    bool trackLoaded_ = false;
    bool thumbLoaded_ = false;
    gdi::SharedBitmap trackNormal_;
    gdi::SharedBitmap trackActive_;
    gdi::SharedBitmap thumbNormal_;
    gdi::SharedBitmap thumbPressed_;
    unsigned imagesVersion_ = 0;  // counts every change of the images
    ImageSource imageSource_;
    FrameSurface frame_;
    std::optional<Look> drawn_;
};

}  // namespace quorelle::controls
