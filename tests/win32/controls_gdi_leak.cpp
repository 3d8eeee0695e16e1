#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <optional>

#include "controls/combo_win32.h"
#include "controls/knob_win32.h"
#include "controls/label_win32.h"
#include "controls/lamp_win32.h"
#include "controls/page_win32.h"
#include "controls/slider_win32.h"
#include "controls_host.h"
#include "gdi_count_win32.h"

using namespace quorelle;
using namespace quorelle::controls;
using namespace quorelle::testing;

TEST(GdiCount, SeesObjectsComeAndGo) {
    const int before = CountLiveGdiObjects();
    ASSERT_GT(before, 0);
    std::vector<gdi::Brush> brushes;
    for (int i = 0; i < 100; ++i) brushes.emplace_back(CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_EQ(CountLiveGdiObjects(), before + 100);
    brushes.clear();
    EXPECT_EQ(CountLiveGdiObjects(), before);
}

// A thousand rounds of paints, drags, key presses and image changes over every control must
// leave the number of live GDI objects where it was.
TEST(GdiLeak, ControlsDoNotGrowTheObjectCount) {
    HostWindow host(900, 500);
    HWND sliderHwnd = host.AddChild(L"STATIC", SS_NOTIFY, 1010, 10, 10, 97, 20);
    HWND knobHwnd = host.AddChild(TRACKBAR_CLASSW, 0, 1007, 10, 50, 50, 50);
    HWND lampHwnd = host.AddChild(L"STATIC", SS_BITMAP, 1008, 10, 120, 49, 24);
    HWND pictureHwnd = host.AddChild(L"STATIC", SS_BITMAP, 1018, 80, 120, 51, 49);
    HWND labelHwnd = host.AddChild(L"STATIC", SS_LEFT, 1046, 10, 200, 100, 16, L"Main");
    HWND comboHwnd = host.AddChild(L"COMBOBOX", CBS_DROPDOWNLIST, 1164, 10, 230, 105, 200);
    HWND page = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);

    CBitmapSlider slider;
    CRoundSliderCtrl knob;
    CMyStaticBmp lamp;
    CMyStaticBmp picture;
    CLabel label;
    CMyComboBox combo;
    ASSERT_TRUE(slider.Attach(sliderHwnd));
    ASSERT_TRUE(knob.Attach(knobHwnd));
    ASSERT_TRUE(lamp.Attach(lampHwnd));
    ASSERT_TRUE(picture.Attach(pictureHwnd));
    ASSERT_TRUE(label.Attach(labelHwnd));
    ASSERT_TRUE(combo.Attach(comboHwnd));
    slider.SetLimits(0, 100);
    knob.SetRange(0, 65);
    knob.SetDragLimit(50);
    knob.SetDotRadius(10);
    knob.SetDotColor(RGB(0, 0, 255));
    knob.SetDotPressedColor(RGB(255, 0, 0));
    knob.SetFaceImageId(154);
    knob.SetFaceImageOn(true);
    combo.SetFaceImageId(190);
    SendMessageW(comboHwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Rock"));
    SendMessageW(comboHwnd, CB_SETCURSEL, 0, 0);
    picture.LoadSampleRateImages();

    Canvas canvas(120, 120, RGB(0, 0, 0));
    PageFrame frame;
    auto round = [&](int i) {
        slider.LoadTrackImages(152, 152);
        slider.LoadThumbImages(147, 147);
        lamp.SetLampImages(SolidBitmap(49, 24, RGB(i & 0xFF, 0, 0)), SolidBitmap(49, 24, 0));
        lamp.SetLit(i % 2 == 0);
        picture.ShowImage(i % 7);
        if (i % 50 == 0) {
            picture.LoadRoomImages(i % 3);
            ApplyPageSkin(page, frame, 134);
        }
        // drags
        SendMessageW(sliderHwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(i % 97, 10));
        SendMessageW(sliderHwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((i * 7) % 97, 10));
        SendMessageW(sliderHwnd, WM_LBUTTONUP, 0, MAKELPARAM((i * 7) % 97, 10));
        SendMessageW(knobHwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 5));
        SendMessageW(knobHwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(45, 25));
        SendMessageW(knobHwnd, WM_LBUTTONUP, 0, MAKELPARAM(45, 25));
        SendMessageW(knobHwnd, WM_KEYDOWN, VK_RIGHT, 0);
        // paints, off-screen and on the window
        PrintInto(sliderHwnd, canvas);
        PrintInto(knobHwnd, canvas);
        PrintInto(lampHwnd, canvas);
        PrintInto(labelHwnd, canvas);
        PrintInto(comboHwnd, canvas);
        PaintPageBackground(frame, canvas.Dc());
        RedrawWindow(host.Hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        host.Pump();
        host.TakeAll();
    };
    round(0);  // first use creates what lives on (fonts, cached stock objects)
    const int before = CountLiveGdiObjects();
    for (int i = 1; i <= 1000; ++i) round(i);
    const int after = CountLiveGdiObjects();
    std::printf("live GDI objects: %d before, %d after 1000 rounds\n", before, after);
    // One object lost per round would show as +1000; allow a few for the system's own caches.
    EXPECT_LE(after - before, 5);
    DestroyWindow(page);
}

TEST(GdiLeak, DestroyedControlsReleaseWhatTheyOwn) {
    const int before = CountLiveGdiObjects();
    for (int i = 0; i < 20; ++i) {
        std::optional<HostWindow> host(std::in_place);
        CBitmapSlider slider;
        CRoundSliderCtrl knob;
        CMyStaticBmp lamp;
        CLabel label;
        slider.Attach(host->AddChild(L"STATIC", SS_NOTIFY, 1010, 10, 10, 97, 20));
        knob.Attach(host->AddChild(TRACKBAR_CLASSW, 0, 1007, 10, 50, 50, 50));
        lamp.Attach(host->AddChild(L"STATIC", SS_BITMAP, 1008, 10, 120, 49, 24));
        label.Attach(host->AddChild(L"STATIC", SS_LEFT, 1046, 10, 200, 100, 16, L"Main"));
        slider.LoadTrackImages(152, 152);
        slider.LoadThumbImages(147, 147);
        lamp.LoadLampImages(138, 137);
        lamp.SetLit(true);
        host->Pump();
        // Every other round the windows go before the objects, as when a page is destroyed.
        if (i % 2 == 0) host.reset();
    }
    EXPECT_LE(CountLiveGdiObjects() - before, 5);
}

// Controls that show the same bitmap resource share one bitmap, loaded with the first of them and
// deleted with the last.
TEST(GdiLeak, SharedImagesAreLoadedOnceAndGoWithTheirLastHolder) {
    const int before = CountLiveGdiObjects();
    {
        HostWindow host(300, 100);
        std::array<CMyStaticBmp, 8> lamps;
        for (size_t i = 0; i < lamps.size(); ++i) {
            ASSERT_TRUE(lamps[i].Attach(
                host.AddChild(L"STATIC", SS_BITMAP, 1100 + int(i), 10 + 30 * int(i), 10, 24, 24)));
            ASSERT_TRUE(lamps[i].LoadLampImages(138, 137));
            EXPECT_EQ(lamps[i].OnImage(), lamps[0].OnImage());
            EXPECT_EQ(lamps[i].OffImage(), lamps[0].OffImage());
        }
        const int withLamps = CountLiveGdiObjects();
        CBitmapSlider slider;
        ASSERT_TRUE(slider.Attach(host.AddChild(L"STATIC", SS_NOTIFY, 1010, 10, 50, 97, 20)));
        ASSERT_TRUE(slider.LoadThumbImages(138, 138));  // the lamp's image: nothing new
        EXPECT_EQ(CountLiveGdiObjects(), withLamps);
        EXPECT_FALSE(gdi::LoadSharedBitmap(31999));  // no such resource
        host.Pump();
    }
    EXPECT_LE(CountLiveGdiObjects() - before, 5);
    // a bitmap whose holders are all gone is loaded afresh
    gdi::SharedBitmap again = gdi::LoadSharedBitmap(138);
    EXPECT_TRUE(again);
}
