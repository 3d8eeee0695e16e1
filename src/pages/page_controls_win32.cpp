#include "pages/page_controls_win32.h"

#include "controls/skin_images.h"

namespace quorelle::pages {

namespace {
constexpr COLORREF kDotColour = RGB(0, 0, 255);
constexpr COLORREF kPressedDotColour = RGB(255, 0, 0);
constexpr int kKnobZeroAngle = 220;
constexpr int kKnobFace = controls::images::kKnobFace;
}  // namespace

void SetupKnob(controls::CRoundSliderCtrl& knob, HWND dialog, int id, const KnobSetup& setup) {
    knob.AttachDlgItem(dialog, id);
    knob.SetDragLimit(setup.dragLimit);
    knob.SetRange(setup.min, setup.max, false);
    knob.SetPos(setup.start, true);
    knob.SetZeroAngle(kKnobZeroAngle);
    knob.SetDotRadius(setup.dotRadius);
    knob.SetGrabDotOnly(false);
    knob.SetDotColor(kDotColour);
    knob.SetDotPressedColor(kPressedDotColour);
    knob.SetMirrored(false);
    knob.SetFaceImageId(kKnobFace);
    knob.SetFaceImageOn(true);
}

void SetupSlider(controls::CBitmapSlider& slider, HWND dialog, int id, const SliderSetup& setup) {
    slider.AttachDlgItem(dialog, id);
    slider.SetFitToWindow(setup.fitToWindow);
    slider.SetVertical(setup.vertical);
    slider.LoadTrackImages(setup.track, setup.track);
    slider.LoadThumbImages(setup.thumb, setup.thumb);
    slider.SetInsets(0, 0, 0, 0);
    slider.SetLimits(setup.min, setup.max);
    slider.SetValue(setup.value);
}

}  // namespace quorelle::pages
