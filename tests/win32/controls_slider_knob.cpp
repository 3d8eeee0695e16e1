#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "controls/knob_win32.h"
#include "controls/slider_win32.h"
#include "controls_host.h"

using namespace quorelle;
using namespace quorelle::controls;
using namespace quorelle::testing;

namespace {

constexpr COLORREF kTrack = RGB(200, 0, 0);
constexpr COLORREF kActive = RGB(0, 200, 0);
constexpr COLORREF kThumb = RGB(250, 250, 250);
constexpr COLORREF kPressedThumb = RGB(250, 250, 0);

struct BalanceSlider {
    HostWindow host;
    HWND hwnd;
    CBitmapSlider slider;
    BalanceSlider() {
        hwnd = host.AddChild(L"STATIC", SS_NOTIFY, 1010, 10, 10, 97, 20);
        EXPECT_TRUE(slider.Attach(hwnd));
        EXPECT_TRUE(
            slider.SetTrackImages(SolidBitmap(97, 20, kTrack), SolidBitmap(97, 20, kActive)));
        EXPECT_TRUE(
            slider.SetThumbImages(SolidBitmap(15, 20, kThumb), SolidBitmap(15, 20, kPressedThumb)));
        slider.SetLimits(0, 100);
        slider.SetValue(50);
    }
};

// x range [from, to) of the first row that holds `colour`, or {-1, -1}.
std::pair<int, int> RunOf(const Canvas& c, COLORREF colour, int y) {
    int from = -1;
    int to = -1;
    for (int x = 0; x < c.Width(); ++x) {
        if (c.At(x, y) == colour) {
            if (from < 0) from = x;
            to = x + 1;
        }
    }
    return {from, to};
}

}  // namespace

TEST(BitmapSliderWindow, PaintsActiveTrackUpToTheThumb) {
    BalanceSlider s;
    Canvas canvas(97, 20, RGB(1, 2, 3));
    PrintInto(s.hwnd, canvas);
    // Value 50: thumb centre 48, thumb image from x 41 to 55.
    EXPECT_EQ(RunOf(canvas, kThumb, 10), std::make_pair(41, 56));
    EXPECT_EQ(RunOf(canvas, kActive, 10), std::make_pair(0, 41));
    EXPECT_EQ(RunOf(canvas, kTrack, 10), std::make_pair(56, 97));

    s.slider.SetValue(100);
    PrintInto(s.hwnd, canvas);
    EXPECT_EQ(RunOf(canvas, kThumb, 0), std::make_pair(82, 97));
    EXPECT_EQ(RunOf(canvas, kTrack, 0), std::make_pair(-1, -1));
}

TEST(BitmapSliderWindow, DragPostsTrackAndReleaseCommits) {
    BalanceSlider s;
    // A press 40 px right of the thumb centre: the thumb jumps there and shows pressed.
    SendMessageW(s.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(88, 10));
    s.host.Pump();
    auto track = s.host.Take(10449);
    ASSERT_EQ(track.size(), 1u);
    EXPECT_EQ(track[0].wParam, 1010u);
    const int value = static_cast<int>(track[0].lParam);
    EXPECT_EQ(value, s.slider.Value());
    EXPECT_EQ(value, 98);  // (88 - 7) / 82 * 100 truncated
    EXPECT_EQ(GetCapture(), s.hwnd);
    EXPECT_EQ(GetFocus(), s.hwnd);
    Canvas canvas(97, 20, RGB(1, 2, 3));
    PrintInto(s.hwnd, canvas);
    const int centre = s.slider.Model().ValueToPixel(value);
    EXPECT_EQ(RunOf(canvas, kPressedThumb, 5), std::make_pair(centre - 7, centre + 8));

    SendMessageW(s.hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-30, 10));
    SendMessageW(s.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-30, 10));
    s.host.Pump();
    track = s.host.Take(10449);
    ASSERT_EQ(track.size(), 1u);
    EXPECT_EQ(track[0].lParam, 0);
    auto commit = s.host.Take(10450);
    ASSERT_EQ(commit.size(), 1u);
    EXPECT_EQ(commit[0].lParam, 0);
    EXPECT_NE(GetCapture(), s.hwnd);
    PrintInto(s.hwnd, canvas);
    EXPECT_EQ(RunOf(canvas, kThumb, 5), std::make_pair(0, 15));
}

TEST(BitmapSliderWindow, NegativeValuesArriveSignExtendedAndKeysCommit) {
    HostWindow host;
    HWND hwnd = host.AddChild(L"STATIC", SS_NOTIFY, 1115, 10, 10, 16, 97);
    CBitmapSlider band;
    ASSERT_TRUE(band.Attach(hwnd));
    band.SetTrackImages(SolidBitmap(16, 97, kTrack), SolidBitmap(16, 97, kActive));
    band.SetThumbImages(SolidBitmap(16, 17, kThumb), SolidBitmap(16, 17, kPressedThumb));
    band.SetVertical(true);
    band.SetLimits(-20, 20);
    band.SetValue(0);

    Canvas canvas(16, 97, RGB(1, 2, 3));
    PrintInto(hwnd, canvas);
    // Value 0: thumb centre 48, image rows 40 .. 56; the active image above it.
    EXPECT_EQ(canvas.At(8, 40), kThumb);
    EXPECT_EQ(canvas.At(8, 56), kThumb);
    EXPECT_EQ(canvas.At(8, 39), kActive);
    EXPECT_EQ(canvas.At(8, 57), kTrack);

    SendMessageW(hwnd, WM_KEYDOWN, VK_HOME, 0);
    SendMessageW(hwnd, WM_KEYDOWN, VK_UP, 0);  // at min: stays, still commits
    host.Pump();
    auto commits = host.Take(10450);
    ASSERT_EQ(commits.size(), 2u);
    EXPECT_EQ(commits[0].wParam, 1115u);
    EXPECT_EQ(commits[0].lParam, -20);  // sign-extended to the parameter width
    EXPECT_EQ(commits[1].lParam, -20);
    PrintInto(hwnd, canvas);
    EXPECT_EQ(canvas.At(8, 0), kThumb);  // -20 draws the thumb centre at 8
    EXPECT_EQ(canvas.At(8, 16), kThumb);
    EXPECT_EQ(canvas.At(8, 17), kTrack);

    SendMessageW(hwnd, WM_KEYDOWN, 'A', 0);  // not a slider key
    host.Pump();
    EXPECT_TRUE(host.Take(10450).empty());
    EXPECT_EQ(SendMessageW(hwnd, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
}

TEST(BitmapSliderWindow, FitToWindowTilesTheTrackImage) {
    HostWindow host;
    HWND hwnd = host.AddChild(L"STATIC", SS_NOTIFY, 1010, 10, 10, 150, 40);
    CBitmapSlider slider;
    ASSERT_TRUE(slider.Attach(hwnd));
    slider.SetFitToWindow(true);
    // A 40-pixel image, left half red and right half green, over a 150-pixel window.
    auto halves = [] {
        gdi::Bitmap image = SolidBitmap(40, 20, kTrack);
        gdi::OwnedDC dc(CreateCompatibleDC(nullptr));
        gdi::SelectGuard select(dc.Get(), image.Get());
        gdi::Brush green(CreateSolidBrush(kActive));
        RECT right{20, 0, 40, 20};
        FillRect(dc.Get(), &right, green.Get());
        return image;
    };
    EXPECT_FALSE(slider.SetTrackImages(halves(), gdi::Bitmap()));  // both images or none
    ASSERT_TRUE(slider.SetTrackImages(halves(), halves()));
    RECT r;
    GetClientRect(hwnd, &r);
    EXPECT_EQ(r.right, 150);
    EXPECT_EQ(r.bottom, 20);  // height taken from the image
    EXPECT_EQ(slider.Model().TrackWidth(), 150);
    Canvas canvas(150, 20, RGB(1, 2, 3));
    PrintInto(hwnd, canvas);
    for (int x : {0, 19, 40, 59, 125}) EXPECT_EQ(canvas.At(x, 10), kTrack) << x;
    for (int x : {20, 39, 60, 79, 140, 149}) EXPECT_EQ(canvas.At(x, 10), kActive) << x;
}

namespace {

constexpr COLORREF kFace = RGB(90, 90, 90);

struct MainKnob {
    HostWindow host;
    HWND hwnd;
    CRoundSliderCtrl knob;
    explicit MainKnob(bool visible = false) : host(400, 300, RGB(20, 30, 120), visible) {
        hwnd = host.AddChild(TRACKBAR_CLASSW, 0, 1007, 20, 20, 50, 50);
        EXPECT_TRUE(knob.Attach(hwnd));
        knob.SetDragLimit(50);
        knob.SetRange(0, 65, false);
        knob.SetPos(20);
        knob.SetZeroAngle(220);
        knob.SetDotRadius(10);
        knob.SetGrabDotOnly(false);
        knob.SetDotColor(RGB(0, 0, 255));
        knob.SetDotPressedColor(RGB(255, 0, 0));
        knob.SetMirrored(false);
        knob.SetFaceBitmap(SolidBitmap(50, 50, kFace));
        knob.SetFaceImageId(154);
        knob.SetFaceImageOn(true);
        host.Pump();
    }
};

}  // namespace

TEST(RoundSliderWindow, AnswersTrackbarQueriesFromItsModel) {
    MainKnob k;
    EXPECT_EQ(SendMessageW(k.hwnd, TBM_GETPOS, 0, 0), 20);
    EXPECT_EQ(SendMessageW(k.hwnd, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(k.hwnd, TBM_GETRANGEMAX, 0, 0), 65);
    SendMessageW(k.hwnd, TBM_SETPOS, TRUE, 99);
    EXPECT_EQ(SendMessageW(k.hwnd, TBM_GETPOS, 0, 0), 65);  // clamped
    SendMessageW(k.hwnd, TBM_SETPAGESIZE, 0, 7);
    EXPECT_EQ(SendMessageW(k.hwnd, TBM_GETPAGESIZE, 0, 0), 7);
    EXPECT_EQ(SendMessageW(k.hwnd, TBM_GETLINESIZE, 0, 0), 1);
}

TEST(RoundSliderWindow, DotDrawnWhereTheGeometrySays) {
    MainKnob k;
    // The geometry is built when the knob is bound, with the default dot radius -2: radius
    // 25 + 2 - 1 = 26. The page's dot radius 10 then puts the dot 16 px from the centre.
    EXPECT_EQ(k.knob.Model().Radius(), 26);
    Canvas canvas(50, 50, RGB(1, 2, 3));
    k.knob.SetPos(0);
    PrintInto(k.hwnd, canvas);
    // Position 0 at 220 degrees: dot centre (14, 37), ellipse (8, 31)-(22, 45).
    EXPECT_EQ(canvas.At(14, 37), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(15, 38), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(45, 5), kFace);  // face image stretched over the client area
    EXPECT_EQ(canvas.At(36, 35), kFace);

    k.knob.SetPos(50);  // 132 degrees: dot centre (36, 35)
    PrintInto(k.hwnd, canvas);
    EXPECT_EQ(canvas.At(36, 35), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(14, 37), kFace);

    // The ring around the dot (radius 7): darker at its upper left than at its lower right.
    const COLORREF upperLeft = canvas.At(36 - 5, 35 - 5);
    const COLORREF lowerRight = canvas.At(36 + 5, 35 + 5);
    EXPECT_NE(upperLeft, kFace);
    EXPECT_LT(GetRValue(upperLeft) + GetGValue(upperLeft),
              GetRValue(lowerRight) + GetGValue(lowerRight));
}

TEST(RoundSliderWindow, MouseStepsTowardThePointerAndNotifies) {
    MainKnob k;
    // Straight above the centre points at 25; from 20 the knob steps once per mouse message.
    const LPARAM above = MAKELPARAM(25, 5);
    // The real pointer rests there too, for the moves the system itself sends under capture.
    POINT screen{25, 5};
    ClientToScreen(k.hwnd, &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(k.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, above);
    Canvas canvas(50, 50, RGB(1, 2, 3));
    PrintInto(k.hwnd, canvas);
    const Point dot = k.knob.Model().DotCentre();
    EXPECT_EQ(canvas.At(dot.x, dot.y), RGB(255, 0, 0));  // pressed dot colour
    for (int i = 0; i < 4; ++i) SendMessageW(k.hwnd, WM_MOUSEMOVE, MK_LBUTTON, above);
    SendMessageW(k.hwnd, WM_LBUTTONUP, 0, above);
    k.host.Pump();
    const auto scrolls = k.host.Take(WM_HSCROLL);
    ASSERT_EQ(scrolls.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(LOWORD(scrolls[i].wParam), TB_THUMBTRACK);
        EXPECT_EQ(HIWORD(scrolls[i].wParam), 21 + i);
        EXPECT_EQ(reinterpret_cast<HWND>(scrolls[i].lParam), k.hwnd);
    }
    EXPECT_EQ(LOWORD(scrolls[5].wParam), TB_THUMBPOSITION);
    EXPECT_EQ(HIWORD(scrolls[5].wParam), 25);
    PrintInto(k.hwnd, canvas);
    EXPECT_EQ(canvas.At(k.knob.Model().DotCentre().x, k.knob.Model().DotCentre().y),
              RGB(0, 0, 255));

    // A press and release that do not step post nothing.
    SendMessageW(k.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, above);
    SendMessageW(k.hwnd, WM_LBUTTONUP, 0, above);
    k.host.Pump();
    EXPECT_TRUE(k.host.Take(WM_HSCROLL).empty());
}

TEST(RoundSliderWindow, KeysStopAtTheEndsAndPostTheirCodes) {
    MainKnob k;
    k.knob.SetPos(0);
    SendMessageW(k.hwnd, WM_KEYDOWN, VK_LEFT, 0);  // at the minimum: stays, still reported
    SendMessageW(k.hwnd, WM_KEYUP, VK_LEFT, 0);
    SendMessageW(k.hwnd, WM_KEYDOWN, VK_HOME, 0);
    SendMessageW(k.hwnd, WM_KEYDOWN, VK_PRIOR, 0);  // Page Up turns towards more
    k.host.Pump();
    const auto scrolls = k.host.Take(WM_HSCROLL);
    ASSERT_EQ(scrolls.size(), 3u);
    EXPECT_EQ(LOWORD(scrolls[0].wParam), TB_LINEUP);
    EXPECT_EQ(HIWORD(scrolls[0].wParam), 0);
    EXPECT_EQ(LOWORD(scrolls[1].wParam), TB_ENDTRACK);
    EXPECT_EQ(LOWORD(scrolls[2].wParam), TB_PAGEDOWN);
    EXPECT_EQ(SendMessageW(k.hwnd, TBM_GETPOS, 0, 0), 10);
}

TEST(RoundSliderWindow, WindowIsTheInscribedCircle) {
    MainKnob k(true);
    gdi::Region region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(k.hwnd, region.Get()), ERROR);
    EXPECT_TRUE(PtInRegion(region.Get(), 25, 25));
    EXPECT_TRUE(PtInRegion(region.Get(), 25, 1));
    EXPECT_FALSE(PtInRegion(region.Get(), 2, 2));
    EXPECT_FALSE(PtInRegion(region.Get(), 47, 47));
    // A press at the corner reaches the host, not the knob.
    POINT corner{20 + 2, 20 + 2};
    POINT centre{20 + 25, 20 + 25};
    ClientToScreen(k.host.Hwnd(), &corner);
    ClientToScreen(k.host.Hwnd(), &centre);
    EXPECT_EQ(WindowFromPoint(centre), k.hwnd);
    EXPECT_EQ(WindowFromPoint(corner), k.host.Hwnd());
    // Resizing rebuilds the circle.
    SetWindowPos(k.hwnd, nullptr, 0, 0, 30, 30, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(k.knob.Model().Side(), 30);
    gdi::Region smaller(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(k.hwnd, smaller.Get());
    EXPECT_FALSE(PtInRegion(smaller.Get(), 25, 25));
    EXPECT_TRUE(PtInRegion(smaller.Get(), 15, 15));
}

TEST(RoundSliderWindow, FaceFromTheResourceWhenNoneIsGiven) {
    HostWindow host;
    HWND hwnd = host.AddChild(TRACKBAR_CLASSW, 0, 1007, 20, 20, 50, 50);
    CRoundSliderCtrl knob;
    ASSERT_TRUE(knob.Attach(hwnd));
    knob.SetFaceImageId(154);
    knob.SetFaceImageOn(true);
    gdi::Bitmap face = gdi::LoadBitmapResource(GetModuleHandleW(nullptr), 154);
    ASSERT_TRUE(face);
    ASSERT_EQ(gdi::BitmapSize(face.Get()).cx, 50);
    Canvas canvas(50, 50, RGB(1, 2, 3));
    PrintInto(hwnd, canvas);
    // 50 x 50 onto 50 x 50: a pixel far from the dot is the image's own.
    EXPECT_EQ(canvas.At(25, 45), BitmapPixel(face.Get(), 25, 45));
}

TEST(RoundSliderWindow, KeptFaceFollowsANewImageAndANewSize) {
    MainKnob k;
    Canvas canvas(50, 50, RGB(1, 2, 3));
    PrintInto(k.hwnd, canvas);
    EXPECT_EQ(canvas.At(45, 5), kFace);

    const COLORREF green = RGB(0, 160, 0);
    k.knob.SetFaceBitmap(SolidBitmap(50, 50, green));
    PrintInto(k.hwnd, canvas);
    EXPECT_EQ(canvas.At(45, 5), green);

    // a smaller control: the face is scaled again to cover it whole
    SetWindowPos(k.hwnd, nullptr, 0, 0, 30, 30, SWP_NOMOVE | SWP_NOZORDER);
    Canvas small(40, 40, RGB(1, 2, 3));
    PrintInto(k.hwnd, small);
    EXPECT_EQ(small.At(28, 1), green);

    // without a given image the resource face comes back
    SetWindowPos(k.hwnd, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    k.knob.SetFaceBitmap(gdi::Bitmap());
    PrintInto(k.hwnd, canvas);
    gdi::Bitmap face = gdi::LoadBitmapResource(GetModuleHandleW(nullptr), 154);
    ASSERT_TRUE(face);
    EXPECT_EQ(canvas.At(25, 45), BitmapPixel(face.Get(), 25, 45));
}

// A drag whose mouse goes to another window (a notice pops up, the user switches tasks) ends as
// a release would, at the value shown; moves with no button down then leave the control alone.
// Every way the mouse can be lost: another window takes the capture, the system cancels the
// mode, or the control keeps its capture and only the next move says the button is up (under
// Wine when another program takes the foreground and the mouse, and the release goes there).
namespace {
enum class Loss { kCaptureTaken, kCancelMode, kButtonFoundUp };
constexpr Loss kLosses[] = {Loss::kCaptureTaken, Loss::kCancelMode, Loss::kButtonFoundUp};
const char* NameOf(Loss loss) {
    switch (loss) {
        case Loss::kCaptureTaken:
            return "capture taken";
        case Loss::kCancelMode:
            return "WM_CANCELMODE";
        case Loss::kButtonFoundUp:
            return "a move without the button, the capture kept";
    }
    return "";
}
// Takes the mouse from `control` the way `loss` says (nothing for a button found up).
void LoseTheMouse(Loss loss, HWND control, HWND other) {
    if (loss == Loss::kCancelMode) SendMessageW(control, WM_CANCELMODE, 0, 0);
    if (loss == Loss::kCaptureTaken) SetCapture(other);
    if (loss == Loss::kButtonFoundUp) {
        EXPECT_EQ(GetCapture(), control);
    }
}
}  // namespace

TEST(DragLosingTheMouse, SliderCommitsTheValueShownAndIgnoresLaterMoves) {
    for (const Loss loss : kLosses) {
        SCOPED_TRACE(NameOf(loss));
        BalanceSlider s;
        SendMessageW(s.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(88, 10));
        SendMessageW(s.hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 10));
        const int shown = s.slider.Value();
        ASSERT_NE(shown, 50);
        LoseTheMouse(loss, s.hwnd, s.host.Hwnd());
        for (int x : {-30, 5, 96}) SendMessageW(s.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, 10));
        EXPECT_NE(GetCapture(), s.hwnd);
        EXPECT_FALSE(s.slider.Model().Dragging());
        // a stray move that says the button is down starts nothing again
        SendMessageW(s.hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 10));
        ReleaseCapture();
        s.host.Pump();
        const auto commits = s.host.Take(10450);
        ASSERT_EQ(commits.size(), 1u);
        EXPECT_EQ(commits[0].lParam, shown);
        EXPECT_EQ(s.host.Take(10449).size(), 2u);  // the press and the one move
        EXPECT_EQ(s.slider.Value(), shown);
        Canvas canvas(97, 20, RGB(1, 2, 3));
        PrintInto(s.hwnd, canvas);
        const int centre = s.slider.Model().ValueToPixel(shown);
        EXPECT_EQ(RunOf(canvas, kThumb, 5), std::make_pair(centre - 7, centre + 8));
        EXPECT_EQ(RunOf(canvas, kPressedThumb, 5), std::make_pair(-1, -1));
    }
}

// The knob's pixels as the screen shows them.
std::vector<COLORREF> OnScreen(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    Canvas canvas(r.right - r.left, r.bottom - r.top, RGB(1, 2, 3));
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) pixels.push_back(canvas.At(x, y));
    return pixels;
}

TEST(DragLosingTheMouse, KnobReportsItsFinalPositionAndIsReleased) {
    for (const Loss loss : kLosses) {
        SCOPED_TRACE(NameOf(loss));
        MainKnob k(true);
        SetWindowPos(k.host.Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        // Straight above the centre points at 25; from 20 each mouse message steps once.
        const LPARAM above = MAKELPARAM(25, 5);
        POINT screen{25, 5};
        ClientToScreen(k.hwnd, &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageW(k.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, above);
        SendMessageW(k.hwnd, WM_MOUSEMOVE, MK_LBUTTON, above);
        ASSERT_EQ(k.knob.GetPos(), 22);
        ASSERT_EQ(GetCapture(), k.hwnd);
        LoseTheMouse(loss, k.hwnd, k.host.Hwnd());
        for (int i = 0; i < 3; ++i) SendMessageW(k.hwnd, WM_MOUSEMOVE, 0, above);
        EXPECT_NE(GetCapture(), k.hwnd);
        EXPECT_FALSE(k.knob.Model().Pressed());
        SendMessageW(k.hwnd, WM_MOUSEMOVE, MK_LBUTTON, above);  // starts nothing again
        ReleaseCapture();
        k.host.Pump();
        EXPECT_EQ(k.knob.GetPos(), 22);
        const auto scrolls = k.host.Take(WM_HSCROLL);
        ASSERT_EQ(scrolls.size(), 3u);
        EXPECT_EQ(LOWORD(scrolls[1].wParam), TB_THUMBTRACK);
        EXPECT_EQ(HIWORD(scrolls[1].wParam), 22);
        EXPECT_EQ(LOWORD(scrolls[2].wParam), TB_THUMBPOSITION);
        EXPECT_EQ(HIWORD(scrolls[2].wParam), 22);
        Canvas canvas(50, 50, RGB(1, 2, 3));
        PrintInto(k.hwnd, canvas);
        const Point dot = k.knob.Model().DotCentre();
        EXPECT_EQ(canvas.At(dot.x, dot.y), RGB(0, 0, 255));  // the released dot colour
        // The screen shows the released knob already: a full repaint changes nothing.
        const std::vector<COLORREF> shown = OnScreen(k.hwnd);
        RedrawWindow(k.host.Hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        k.host.Pump();
        EXPECT_TRUE(shown == OnScreen(k.hwnd)) << "stale drawing after the drag ended";
        POINT dotOnScreen{dot.x, dot.y};
        ClientToScreen(k.hwnd, &dotOnScreen);
        HDC screenDc = GetDC(nullptr);
        EXPECT_EQ(GetPixel(screenDc, dotOnScreen.x, dotOnScreen.y), RGB(0, 0, 255));
        ReleaseDC(nullptr, screenDc);
    }
}
