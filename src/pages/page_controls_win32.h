// Set-up and geometry the page views share: a control's rectangle in its page, and the knob and
// slider configurations the pages give their skinned controls.
#pragma once

#include <windows.h>

#include "controls/knob_win32.h"
#include "controls/slider_win32.h"
#include "pages/main_console.h"

namespace quorelle::pages {

// A control's window rectangle in the client coordinates of its dialog (empty when the dialog
// has no such control), whether the control is shown, hidden or disabled.
Rect ClientRectOf(HWND dialog, int id);

// A knob of a page: its scale, drag limit, start position and dot; every page's knob starts at
// 220 degrees with a blue dot (red while pressed) on face image 154.
struct KnobSetup {
    int min;
    int max;
    int dragLimit;
    int start;
    int dotRadius;
};
void SetupKnob(controls::CRoundSliderCtrl& knob, HWND dialog, int id, const KnobSetup& setup);

// A bitmap slider of a page: one image each for the track and the thumb (normal and active
// alike), no insets.
struct SliderSetup {
    bool vertical;
    bool fitToWindow;
    int track;
    int thumb;
    int min;
    int max;
    int value;
};
void SetupSlider(controls::CBitmapSlider& slider, HWND dialog, int id, const SliderSetup& setup);

}  // namespace quorelle::pages
