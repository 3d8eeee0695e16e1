#include <gtest/gtest.h>

#include <windows.h>

#include "controls/combo_win32.h"
#include "controls/label_win32.h"
#include "controls/lamp_win32.h"
#include "controls_host.h"

using namespace quorelle;
using namespace quorelle::controls;
using namespace quorelle::testing;

TEST(StaticBmpWindow, LampShowsOnAndOffImages) {
    HostWindow host;
    HWND hwnd = host.AddChild(L"STATIC", SS_BITMAP, 1008, 10, 10, 49, 24);
    CMyStaticBmp lamp;
    ASSERT_TRUE(lamp.Attach(hwnd));
    lamp.SetLampImages(SolidBitmap(49, 24, RGB(255, 140, 0)), SolidBitmap(49, 24, RGB(40, 40, 40)));
    Canvas canvas(49, 24, RGB(1, 2, 3));

    lamp.SetLit(true);
    lamp.SetLit(true);
    EXPECT_EQ(lamp.Shown(), lamp.OnImage());
    PrintInto(hwnd, canvas);
    EXPECT_EQ(canvas.Count(RGB(255, 140, 0), 0, 0, 49, 24), 49 * 24);

    lamp.SetLit(false);
    EXPECT_FALSE(lamp.Lit());
    EXPECT_EQ(lamp.Shown(), lamp.OffImage());
    PrintInto(hwnd, canvas);
    EXPECT_EQ(canvas.Count(RGB(40, 40, 40), 0, 0, 49, 24), 49 * 24);

    // New images replace the shown one at once and the old ones go.
    lamp.SetLampImages(SolidBitmap(49, 24, RGB(0, 200, 0)), SolidBitmap(49, 24, RGB(0, 60, 0)));
    EXPECT_EQ(lamp.Shown(), lamp.OffImage());
    PrintInto(hwnd, canvas);
    EXPECT_EQ(canvas.At(20, 10), RGB(0, 60, 0));
}

TEST(StaticBmpWindow, SampleRatePicturesAndOutOfRangeIndices) {
    HostWindow host;
    HWND hwnd = host.AddChild(L"STATIC", SS_BITMAP, 1018, 10, 10, 51, 49);
    CMyStaticBmp picture;
    ASSERT_TRUE(picture.Attach(hwnd));
    ASSERT_TRUE(picture.LoadSampleRateImages());
    EXPECT_EQ(picture.StateIndex(), 0);
    HBITMAP first = picture.PictureImage(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(picture.Shown(), first);

    picture.ShowImage(3);
    HBITMAP third = picture.PictureImage(3);
    ASSERT_NE(third, nullptr);
    EXPECT_NE(third, first);
    EXPECT_EQ(picture.Shown(), third);
    picture.ShowImage(23);
    EXPECT_EQ(picture.Shown(), third);
    picture.ShowImage(-1);
    EXPECT_EQ(picture.Shown(), third);
    picture.ShowImage(7);  // slot 7 holds image 0 (141)
    EXPECT_EQ(picture.Shown(), first);
    EXPECT_EQ(picture.StateIndex(), 0);  // ShowImage leaves the state index alone

    // What is drawn is the 141 picture itself.
    gdi::Bitmap reference = gdi::LoadBitmapResource(GetModuleHandleW(nullptr), 141);
    Canvas canvas(51, 49, RGB(1, 2, 3));
    PrintInto(hwnd, canvas);
    for (POINT p : {POINT{5, 5}, POINT{25, 24}, POINT{45, 40}}) {
        EXPECT_EQ(canvas.At(p.x, p.y), BitmapPixel(reference.Get(), p.x, p.y));
    }

    ASSERT_TRUE(picture.LoadRoomImages(2));
    EXPECT_EQ(picture.StateIndex(), 2);
    EXPECT_EQ(picture.Shown(), picture.PictureImage(2));
}

TEST(LabelWindow, BackgroundShowsBetweenTheLetters) {
    const COLORREF background = RGB(20, 30, 120);
    HostWindow host(400, 300, background);
    HWND hwnd = host.AddChild(L"STATIC", SS_LEFT, 1046, 10, 10, 120, 24, L"HIFI MMMM");
    CLabel label;
    ASSERT_TRUE(label.Attach(hwnd));
    ASSERT_NE(label.Font(), nullptr);

    Canvas canvas(120, 24, background);
    PrintInto(hwnd, canvas);
    const int untouched = canvas.Count(background, 0, 0, 120, 24);
    int light = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF c = canvas.At(x, y);
            light += GetRValue(c) > 180 && GetGValue(c) > 180 && GetBValue(c) > 180;
        }
    EXPECT_GT(light, 20);                     // letters in light grey
    EXPECT_GT(untouched, 120 * 24 * 6 / 10);  // and the background around them

    // The font is made once: repeated colour requests hand out the same one.
    const HFONT font = label.Font();
    for (int i = 0; i < 5; ++i) PrintInto(hwnd, canvas);
    EXPECT_EQ(label.Font(), font);

    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    gdi::WindowDC screen(nullptr);
    EXPECT_EQ(-description.lfHeight, PointFontHeight(GetDeviceCaps(screen.Get(), LOGPIXELSY), 87));
    EXPECT_EQ(PointFontHeight(96, 87), 12);
    EXPECT_STREQ(description.lfFaceName, kLabelFace);
}

namespace {
WNDPROC belowSpy = nullptr;
int spied = 0;
LRESULT CALLBACK Spy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++spied;
    return CallWindowProcW(belowSpy, hwnd, message, wParam, lParam);
}
}  // namespace

// A control binds once; when its object goes, the window works as before: its own procedure
// comes back, or, with another procedure set over the control's meanwhile, every message still
// reaches the window's own through the chain until the window goes, and nothing binds it again.
TEST(SkinnedControl, AWindowLetGoOfKeepsWorkingUnderAnotherProcedure) {
    HostWindow host;
    HWND hwnd = host.AddChild(L"STATIC", SS_LEFT, 1046, 10, 10, 120, 24, L"HIFI");
    const LONG_PTR own = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    {
        CLabel label, again;
        ASSERT_TRUE(label.Attach(hwnd));
        EXPECT_EQ(SubclassedControl::FromHandle(hwnd), &label);
        EXPECT_FALSE(again.Attach(hwnd));
    }
    EXPECT_EQ(SubclassedControl::FromHandle(hwnd), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), own);

    {
        CLabel label;
        ASSERT_TRUE(label.Attach(hwnd));
        belowSpy = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Spy)));
    }
    EXPECT_EQ(SubclassedControl::FromHandle(hwnd), nullptr);
    spied = 0;
    EXPECT_TRUE(SetWindowTextW(hwnd, L"EQ"));
    wchar_t text[8]{};
    EXPECT_EQ(GetWindowTextW(hwnd, text, 8), 2);
    EXPECT_STREQ(text, L"EQ");
    EXPECT_GE(spied, 2);

    CLabel later;  // the chain still runs the first object's procedure: no second bind over it
    EXPECT_FALSE(later.Attach(hwnd));
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_GE(spied, 3);
}

TEST(ComboWindow, FaceAloneWithoutTextAndTextOverIt) {
    HostWindow host;
    HWND hwnd = host.AddChild(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 1164, 10, 10, 105, 200);
    CMyComboBox combo;
    ASSERT_TRUE(combo.Attach(hwnd));
    const COLORREF face = RGB(180, 170, 150);
    RECT client;
    GetClientRect(hwnd, &client);
    combo.SetFaceBitmap(SolidBitmap(105, 40, face));

    Canvas canvas(client.right, client.bottom, RGB(1, 2, 3));
    PrintInto(hwnd, canvas);
    EXPECT_EQ(canvas.Count(face, 0, 0, client.right, client.bottom), client.right * client.bottom);

    SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"WWW Rock"));
    SendMessageW(hwnd, CB_SETCURSEL, 0, 0);
    PrintInto(hwnd, canvas);
    int dark = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) dark += GetRValue(canvas.At(x, y)) < 90;
    EXPECT_GT(dark, 10);                                                        // black letters
    EXPECT_EQ(GetRValue(canvas.At(client.right - 2, client.bottom / 2)), 180);  // face on the right
}

TEST(ComboWindow, DropDownNotificationIsKeptFromTheParent) {
    HostWindow host;
    HWND hwnd = host.AddChild(L"COMBOBOX", CBS_DROPDOWNLIST, 1164, 10, 10, 105, 200);
    CMyComboBox combo;
    ASSERT_TRUE(combo.Attach(hwnd));
    SendMessageW(host.Hwnd(), WM_COMMAND, MAKEWPARAM(1164, CBN_DROPDOWN),
                 reinterpret_cast<LPARAM>(hwnd));
    SendMessageW(host.Hwnd(), WM_COMMAND, MAKEWPARAM(1164, CBN_SETFOCUS),
                 reinterpret_cast<LPARAM>(hwnd));
    SendMessageW(host.Hwnd(), WM_COMMAND, MAKEWPARAM(1164, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
    const auto commands = host.Take(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(HIWORD(commands[0].wParam), CBN_SELCHANGE);
}

TEST(ComboWindow, EditFieldKeepsTypingAndGetsTheFace) {
    HostWindow host;
    HWND hwnd = host.AddChild(L"EDIT", ES_AUTOHSCROLL, 1165, 10, 10, 100, 15);
    CMyComboBox field;
    ASSERT_TRUE(field.Attach(hwnd));
    const COLORREF face = RGB(200, 190, 170);
    field.SetFaceBitmap(SolidBitmap(100, 15, face));
    SendMessageW(hwnd, WM_CHAR, 'A', 0);
    SendMessageW(hwnd, WM_CHAR, 'B', 0);
    wchar_t text[8] = {};
    GetWindowTextW(hwnd, text, 8);
    EXPECT_STREQ(text, L"AB");
    host.Pump();
    host.Take(WM_COMMAND);  // the typing's own change notifications
    Canvas canvas(100, 15, RGB(1, 2, 3));
    PrintInto(hwnd, canvas);
    EXPECT_EQ(canvas.At(90, 7), face);
    EXPECT_LT(canvas.Count(face, 0, 0, 30, 15), 30 * 15);  // letters on the left
    // Edit notifications are not the combo's: they reach the parent.
    SendMessageW(host.Hwnd(), WM_COMMAND, MAKEWPARAM(1165, EN_CHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
    const auto commands = host.Take(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(HIWORD(commands[0].wParam), EN_CHANGE);
}
