// The knob, the slider and the lamp keep the frame they drew last and copy it on the next paint.
// Each case changes one thing at a time and checks that what the control paints then is what it
// would compose afresh (knob, slider), or what the platform's picture control paints with the
// same image and style (lamp), pixel for pixel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/knob_win32.h"
#include "controls/lamp_win32.h"
#include "controls/slider_win32.h"
#include "controls_host.h"

using namespace quorelle;
using namespace quorelle::controls;
using namespace quorelle::testing;

namespace {

struct Step {
    const char* what;
    std::function<void()> change;
};

int Differences(const Canvas& a, const Canvas& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) n += a.At(x, y) != b.At(x, y);
    return n;
}

RECT ClientOf(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

// Paints the control twice through its window (the second paint is a plain copy of the kept
// frame) and composes it once afresh; all three must agree.
template <typename Control>
void ExpectFramesMatchFreshComposition(HWND hwnd, Control& control, const std::vector<Step>& steps,
                                       COLORREF fill) {
    for (const Step& step : steps) {
        if (step.change) step.change();
        const RECT client = ClientOf(hwnd);
        Canvas first(client.right, client.bottom, fill);
        Canvas again(client.right, client.bottom, fill);
        Canvas fresh(client.right, client.bottom, fill);
        PrintInto(hwnd, first);
        PrintInto(hwnd, again);
        control.Render(fresh.Dc(), client);
        GdiFlush();
        EXPECT_EQ(Differences(first, fresh), 0) << step.what;
        EXPECT_EQ(Differences(again, fresh), 0) << step.what << " (second paint)";
    }
}

}  // namespace

TEST(PaintFrames, KnobShowsEveryChangeOfItsLook) {
    HostWindow host;
    HWND hwnd = host.AddChild(TRACKBAR_CLASSW, 0, 1007, 10, 10, 50, 50);
    CRoundSliderCtrl knob;
    ASSERT_TRUE(knob.Attach(hwnd));
    knob.SetDragLimit(50);
    knob.SetRange(0, 65);
    knob.SetPos(20);
    knob.SetDotRadius(10);
    knob.SetDotColor(RGB(0, 0, 255));
    knob.SetDotPressedColor(RGB(255, 0, 0));
    knob.SetFaceImageId(154);
    knob.SetFaceImageOn(true);
    const int side = knob.Model().Side();
    const LPARAM lowerRight = MAKELPARAM(side - 4, side - 4);

    const std::vector<Step> steps = {
        {"start", nullptr},
        {"position 0", [&] { knob.SetPos(0); }},
        {"position 65", [&] { knob.SetPos(65); }},
        {"pressed", [&] { SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, lowerRight); }},
        {"dragged a step", [&] { SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, lowerRight); }},
        {"released", [&] { SendMessageW(hwnd, WM_LBUTTONUP, 0, lowerRight); }},
        {"a key step", [&] { SendMessageW(hwnd, WM_KEYDOWN, VK_LEFT, 0); }},
        {"dot colour", [&] { knob.SetDotColor(RGB(0, 200, 40)); }},
        {"dot radius", [&] { knob.SetDotRadius(6); }},
        {"zero angle", [&] { knob.SetZeroAngle(180); }},
        {"mirrored", [&] { knob.SetMirrored(true); }},
        {"another face", [&] { knob.SetFaceBitmap(SolidBitmap(50, 50, RGB(90, 60, 30))); }},
        {"no face image", [&] { knob.SetFaceImageOn(false); }},
        {"face colour", [&] { knob.SetFaceColor(RGB(10, 120, 10)); }},
        {"value text", [&] { knob.SetShowValueText(true); }},
        {"value format", [&] { knob.SetValueFormat(L"<%ld>"); }},
        {"smaller window", [&] { SetWindowPos(hwnd, nullptr, 0, 0, 36, 36, SWP_NOMOVE); }},
        {"face image again", [&] { knob.SetFaceImageOn(true); }},
    };
    ExpectFramesMatchFreshComposition(hwnd, knob, steps, RGB(1, 2, 3));
}

TEST(PaintFrames, SliderShowsEveryChangeOfItsLook) {
    HostWindow host;
    HWND hwnd = host.AddChild(L"STATIC", SS_NOTIFY, 1115, 10, 10, 16, 97);
    CBitmapSlider slider;
    ASSERT_TRUE(slider.Attach(hwnd));
    slider.SetVertical(true);
    slider.LoadTrackImages(178, 178);
    slider.LoadThumbImages(177, 177);
    slider.SetInsets(0, 0, 0, 0);
    slider.SetLimits(-20, 20);
    slider.SetValue(0);

    const std::vector<Step> steps = {
        {"start", nullptr},
        {"top", [&] { slider.SetValue(-20); }},
        {"bottom", [&] { slider.SetValue(20); }},
        {"pressed", [&] { SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 30)); }},
        {"dragged", [&] { SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 60)); }},
        {"released", [&] { SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(8, 60)); }},
        {"a key step", [&] { SendMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0); }},
        {"two-tone track",
         [&] {
             slider.SetTrackImages(SolidBitmap(16, 97, RGB(200, 0, 0)),
                                   SolidBitmap(16, 97, RGB(0, 200, 0)));
         }},
        {"pressed thumb image",
         [&] {
             slider.SetThumbImages(SolidBitmap(16, 17, RGB(250, 250, 250)),
                                   SolidBitmap(16, 17, RGB(250, 250, 0)));
             SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 40));
         }},
        {"released again", [&] { SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(8, 40)); }},
        {"taller window", [&] { SetWindowPos(hwnd, nullptr, 0, 0, 16, 120, SWP_NOMOVE); }},
    };
    ExpectFramesMatchFreshComposition(hwnd, slider, steps, RGB(1, 2, 3));

    // the uncovered part of a taller window shows the target's background colour, whichever
    // target the frame goes to
    const RECT client = ClientOf(hwnd);
    Canvas white(client.right, client.bottom, RGB(255, 255, 255));
    SetBkColor(white.Dc(), RGB(255, 255, 255));
    PrintInto(hwnd, white);
    Canvas grey(client.right, client.bottom, RGB(9, 9, 9));
    SetBkColor(grey.Dc(), RGB(128, 128, 128));
    PrintInto(hwnd, grey);
    EXPECT_EQ(white.At(8, client.bottom - 1), RGB(255, 255, 255));
    EXPECT_EQ(grey.At(8, client.bottom - 1), RGB(128, 128, 128));
}

TEST(PaintFrames, LampPaintsAsThePlatformPictureControl) {
    HostWindow host;
    HWND lampHwnd = host.AddChild(L"STATIC", SS_BITMAP, 1087, 10, 10, 24, 24);
    HWND plain = host.AddChild(L"STATIC", SS_BITMAP, 1088, 60, 10, 24, 24);
    CMyStaticBmp lamp;
    ASSERT_TRUE(lamp.Attach(lampHwnd));
    ASSERT_TRUE(lamp.LoadLampImages(146, 145));
    const gdi::Bitmap wide = SolidBitmap(30, 12, RGB(30, 160, 90));
    std::vector<gdi::SharedBitmap> pictures;
    pictures.push_back(SolidBitmap(24, 24, RGB(200, 10, 10)));
    pictures.push_back(SolidBitmap(30, 12, RGB(10, 10, 200)));

    // shows the same image and style on both controls
    auto both = [&](HBITMAP image, LONG_PTR extraStyle) {
        for (HWND w : {lampHwnd, plain}) {
            SetWindowLongPtrW(w, GWL_STYLE, WS_CHILD | SS_BITMAP | extraStyle);
            if (extraStyle != 0) SetWindowPos(w, nullptr, 0, 0, 40, 40, SWP_NOMOVE);
        }
        SendMessageW(plain, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    };
    const std::vector<Step> steps = {
        {"lit", [&] { lamp.SetLit(true), both(lamp.OnImage(), 0); }},
        {"unlit", [&] { lamp.SetLit(false), both(lamp.OffImage(), 0); }},
        {"lit again", [&] { lamp.SetLit(true), both(lamp.OnImage(), 0); }},
        {"a picture",
         [&] {
             lamp.SetPictureImages(std::move(pictures), 1);
             both(lamp.Shown(), 0);
         }},
        {"another picture", [&] { lamp.ShowImage(0), both(lamp.Shown(), 0); }},
        {"through the window's own message",
         [&] {
             SendMessageW(lampHwnd, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(wide.Get()));
             both(wide.Get(), 0);
         }},
        {"centred in a larger window",
         [&] {
             SetWindowLongPtrW(lampHwnd, GWL_STYLE, WS_CHILD | SS_BITMAP | SS_CENTERIMAGE);
             SetWindowPos(lampHwnd, nullptr, 0, 0, 40, 40, SWP_NOMOVE);
             lamp.SetLit(false);
             both(lamp.OffImage(), SS_CENTERIMAGE);
         }},
        {"stretched over a larger window",
         [&] {
             SetWindowLongPtrW(lampHwnd, GWL_STYLE, WS_CHILD | SS_BITMAP | SS_REALSIZECONTROL);
             lamp.SetLit(true);
             both(lamp.OnImage(), SS_REALSIZECONTROL);
         }},
    };
    for (const Step& step : steps) {
        step.change();
        const RECT client = ClientOf(lampHwnd);
        ASSERT_EQ(client.right, ClientOf(plain).right) << step.what;
        ASSERT_EQ(client.bottom, ClientOf(plain).bottom) << step.what;
        EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageW(lampHwnd, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                  lamp.Shown())
            << step.what;
        Canvas mine(client.right, client.bottom, RGB(1, 2, 3));
        Canvas platform(client.right, client.bottom, RGB(1, 2, 3));
        PrintInto(lampHwnd, mine);
        PrintInto(lampHwnd, mine);  // the second paint copies the kept frame
        PrintInto(plain, platform);
        EXPECT_EQ(Differences(mine, platform), 0) << step.what;
    }
    // the plain control must not keep a bitmap of the lamp's when both go
    SendMessageW(plain, STM_SETIMAGE, IMAGE_BITMAP, 0);
}
