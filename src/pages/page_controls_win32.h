// The knob and slider configurations the page views give their skinned controls.
#pragma once

#include <windows.h>

#include "controls/knob_win32.h"
#include "controls/slider_win32.h"

namespace quorelle::pages {

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
