// The program's windows moved to a display of twice the scale and back: WM_DPICHANGED as the
// system sends it (the new DPI and the suggested rectangle) to the real main window and its real
// pages, built from the program's resources. After each move every window must be what it would
// be had it started at that scale: its size and shape from the background drawn for it, every
// control of its template at its place for the scale, images, fonts and the knobs' circles of
// the scale, and the screen equal to a full repaint. Back at 96 DPI it must be as it started.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/application_win32.h"
#include "app/main_window_win32.h"
#include "base/messages.h"
#include "controls/combo_win32.h"
#include "controls/control_win32.h"
#include "controls/dpi_win32.h"
#include "controls/gdi_win32.h"
#include "controls/knob_win32.h"
#include "controls/lamp_win32.h"
#include "controls/layout.h"
#include "controls/page_win32.h"
#include "controls/scale.h"
#include "pages/hit_area_win32.h"
#include "controls_host.h"
#include "gdi_count_win32.h"
#include "resource.h"

// gtest compares rectangles through the operator of their own (the global) namespace
inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

namespace quorelle {
namespace {

using controls::ControlKind;
using controls::ControlPlace;
using quorelle::testing::Canvas;

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// A control's window rectangle in its dialog's client coordinates.
RECT PlaceInDialog(HWND control) {
    RECT r = WindowRect(control);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Describe(const RECT& r) {
    std::ostringstream s;
    s << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    return s.str();
}

int FontHeight(HFONT font) {
    LOGFONTW description{};
    if (font == nullptr || GetObjectW(font, sizeof description, &description) == 0) return 0;
    return description.lfHeight < 0 ? -description.lfHeight : description.lfHeight;
}

// A copy of a window's region (window coordinates); null when it has none.
gdi::Region CopyWindowRegion(HWND hwnd) {
    gdi::Region region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(hwnd, region.Get()) == ERROR) return gdi::Region();
    return region;
}

// Whether two regions cover the same pixels (however their rectangles are banded).
bool SameRegion(HRGN a, HRGN b) {
    if (a == nullptr || b == nullptr) return false;
    const gdi::Region difference(CreateRectRgn(0, 0, 0, 0));
    return CombineRgn(difference.Get(), a, b, RGN_XOR) == NULLREGION;
}

// What one control of a template looks like: where it is, the image it shows, its font.
struct ControlLook {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    RECT place{};
    int dpi = 0;           // 0: not a skinned control
    SIZE image{};          // lamps and pictures: the bitmap shown
    int fontHeight = 0;    // labels and the preset list
    gdi::Region knobArea;  // knobs: the window's region
};

std::vector<ControlLook> LookOfControls(HWND dialog, int dialogId) {
    std::vector<ControlLook> looks;
    for (const ControlPlace& place : controls::TemplateControls(dialogId)) {
        HWND hwnd = GetDlgItem(dialog, place.id);
        if (hwnd == nullptr) continue;
        ControlLook look;
        look.id = place.id;
        look.kind = place.kind;
        look.place = PlaceInDialog(hwnd);
        controls::SubclassedControl* control = controls::SubclassedControl::FromHandle(hwnd);
        if (control != nullptr) look.dpi = control->Dpi();
        if (auto* lamp = dynamic_cast<controls::CMyStaticBmp*>(control))
            look.image = gdi::BitmapSize(lamp->Shown());
        if (place.kind == ControlKind::Label)
            look.fontHeight =
                FontHeight(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        if (auto* combo = dynamic_cast<controls::CMyComboBox*>(control))
            look.fontHeight = FontHeight(combo->Font());
        if (place.kind == ControlKind::Knob) look.knobArea = CopyWindowRegion(hwnd);
        looks.push_back(std::move(look));
    }
    return looks;
}

// The screen's pixels over the part of a window that is on the screen (child windows included;
// a window of 200 % may be wider than the test display).
struct Grab {
    RECT area{};
    std::vector<COLORREF> pixels;
};

Grab GrabScreen(HWND hwnd) {
    GdiFlush();
    Grab grab;
    const RECT window = WindowRect(hwnd);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&grab.area, &window, &screen);
    const int w = grab.area.right - grab.area.left;
    const int h = grab.area.bottom - grab.area.top;
    if (w <= 0 || h <= 0) return grab;
    Canvas canvas(w, h, RGB(1, 2, 3));
    HDC dc = GetDC(nullptr);
    BitBlt(canvas.Dc(), 0, 0, w, h, dc, grab.area.left, grab.area.top, SRCCOPY);
    ReleaseDC(nullptr, dc);
    grab.pixels.reserve(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) grab.pixels.push_back(canvas.At(x, y));
    return grab;
}

Grab GrabAfterFullRepaint(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    return GrabScreen(hwnd);
}

// Where two grabs of the same area differ, for the failure message.
std::string Differences(const Grab& a, const Grab& b) {
    if (!(a.area == b.area)) return "areas " + Describe(a.area) + " and " + Describe(b.area);
    const int w = a.area.right - a.area.left;
    int count = 0;
    RECT box{};
    std::ostringstream s;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        if (a.pixels[i] == b.pixels[i]) continue;
        const int x = a.area.left + int(i) % w;
        const int y = a.area.top + int(i) / w;
        if (count++ == 0)
            s << "first at screen (" << x << "," << y << "): " << std::hex << a.pixels[i] << " vs "
              << b.pixels[i] << std::dec;
        const RECT pixel{x, y, x + 1, y + 1};
        UnionRect(&box, &box, &pixel);
    }
    if (count == 0) return "none";
    s << "; " << count << " pixels within " << Describe(box);
    return s.str();
}

// Pixels of the window, on the screen and in its shape, that no visible child covers and that
// differ from the background image drawn for dpi; -1 when the image cannot be had.
int BackgroundMismatches(HWND hwnd, int backgroundId, int dpi, const Grab& grab) {
    const gdi::Bitmap background =
        gdi::LoadBitmapResource(GetModuleHandleW(nullptr), backgroundId, dpi);
    const SIZE size = gdi::BitmapSize(background.Get());
    if (size.cx == 0) return -1;
    Canvas art(size.cx, size.cy, RGB(1, 2, 3));
    {
        gdi::OwnedDC source(CreateCompatibleDC(art.Dc()));
        gdi::SelectGuard select(source.Get(), background.Get());
        BitBlt(art.Dc(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    }
    std::vector<RECT> children;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) children.push_back(WindowRect(child));
    const gdi::Region shape = CopyWindowRegion(hwnd);
    const RECT window = WindowRect(hwnd);
    const int w = grab.area.right - grab.area.left;
    int mismatches = 0;
    for (size_t i = 0; i < grab.pixels.size(); ++i) {
        const POINT p{grab.area.left + int(i) % w, grab.area.top + int(i) / w};
        const int x = p.x - window.left;
        const int y = p.y - window.top;
        if (x >= size.cx || y >= size.cy) continue;
        if (shape && !PtInRegion(shape.Get(), x, y)) continue;
        bool covered = false;
        for (const RECT& c : children) covered = covered || PtInRect(&c, p);
        if (!covered && grab.pixels[i] != art.At(x, y)) ++mismatches;
    }
    return mismatches;
}

struct Window {
    int page;
    int dialogId;
    bool lamps;  // whether it has lamps or pictures
    int knobs;
};
constexpr Window kWindows[] = {{PAGE_MAIN, controls::kMainDialog, true, 1},
                               {PAGE_HIFI, controls::kHifiDialog, true, 2},
                               {PAGE_ADVANCE, controls::kAdvanceDialog, true, 0},
                               {PAGE_INFO, controls::kInfoDialog, false, 0},
                               {PAGE_HP, controls::kHpDialog, true, 0}};

// The moves and resizes a window makes (each asks WM_WINDOWPOSCHANGING once), counted by a hook
// on the thread's sent messages.
HWND watched = nullptr;
int placeChanges = 0;
LRESULT CALLBACK CountPlaceChanges(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == watched && sent->message == WM_WINDOWPOSCHANGING) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(sent->lParam);
        if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) ++placeChanges;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// WM_DPICHANGED as the system sends it; how many times the window moved or changed its size.
int SendDpiChanged(HWND hwnd, int dpi, RECT suggested) {
    watched = hwnd;
    placeChanges = 0;
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, CountPlaceChanges, nullptr, GetCurrentThreadId());
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    UnhookWindowsHookEx(hook);
    Pump();
    return placeChanges;
}

// The window and every skinned control of it report the one scale the window is drawn at.
void ExpectOneScale(HWND dialog, int dpi) {
    EXPECT_EQ(controls::DrawnDpi(dialog), dpi) << "the window's own scale";
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (const auto* control = controls::SubclassedControl::FromHandle(child)) {
            EXPECT_EQ(control->Dpi(), dpi) << "control " << GetDlgCtrlID(child);
        }
    }
}

// The logical rectangles the window's hit tests see for its controls.
std::vector<pages::Rect> HitRects(HWND dialog, int dialogId) {
    std::vector<pages::Rect> rects;
    for (const ControlPlace& place : controls::TemplateControls(dialogId))
        rects.push_back(pages::ClientRectOf(dialog, place.id));
    return rects;
}

class DpiChange : public ::testing::TestWithParam<Window> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dlg_.Create(nullptr));
        hwnd_ = dlg_.WindowOf(GetParam().page);
        ASSERT_NE(hwnd_, nullptr);
        // the window under test alone on the screen, above everything
        for (const Window& w : kWindows) ShowWindow(dlg_.WindowOf(w.page), SW_HIDE);
        SetWindowPos(hwnd_, HWND_TOPMOST, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        Pump();
    }
    void TearDown() override {
        if (dlg_.hwnd()) DestroyWindow(dlg_.hwnd());
        Pump();
        SetAppMainWindow(nullptr);
    }

    const controls::TemplateInfo& Template() const {
        return *controls::FindTemplate(GetParam().dialogId);
    }

    CCKorZereDlg dlg_;
    HWND hwnd_ = nullptr;
};

// One move to 200 % and back, with every effect checked after each step.
TEST_P(DpiChange, TheWindowFollowsToTwiceTheScaleAndComesBackAsItStarted) {
    const int dialogId = GetParam().dialogId;
    ASSERT_EQ(controls::WindowDpi(hwnd_), 96) << "the test prefix's display is at 96 DPI";

    // as it started
    const RECT startWindow = WindowRect(hwnd_);
    ASSERT_EQ(startWindow.right - startWindow.left, Template().pxW);
    ASSERT_EQ(startWindow.bottom - startWindow.top, Template().pxH);
    const std::vector<ControlLook> start = LookOfControls(hwnd_, dialogId);
    const gdi::Region startShape = CopyWindowRegion(hwnd_);
    ASSERT_TRUE(startShape);
    RECT startShapeBox{};
    GetRgnBox(startShape.Get(), &startShapeBox);
    const Grab startScreen = GrabScreen(hwnd_);
    const Grab startPaint = GrabAfterFullRepaint(hwnd_);
    ASSERT_FALSE(startPaint.pixels.empty());
    EXPECT_TRUE(startScreen.pixels == startPaint.pixels)
        << "stale drawing at start: " << Differences(startScreen, startPaint);

    // the size the window asks for at a new scale is its background's at that scale
    const int w2 = 2 * Template().pxW;
    const int h2 = 2 * Template().pxH;
    for (const auto& [dpi, w, h] :
         {std::tuple{192, w2, h2}, std::tuple{120, controls::ToDevice(Template().pxW, 120),
                                              controls::ToDevice(Template().pxH, 120)}}) {
        SIZE asked{1, 1};
        EXPECT_TRUE(
            SendMessageW(hwnd_, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&asked)));
        EXPECT_EQ(asked.cx, w) << dpi;
        EXPECT_EQ(asked.cy, h) << dpi;
    }
    const std::vector<pages::Rect> startHits = HitRects(hwnd_, dialogId);

    // to a display of 192 DPI, at a place of the system's choice, in one move
    EXPECT_EQ(SendDpiChanged(hwnd_, 192, RECT{0, 11, w2, 11 + h2}), 1);
    // the hit tests measure at the scale the window is drawn at, whatever the system reports
    // for it now (here still 96: no display of 192 DPI is there)
    EXPECT_TRUE(HitRects(hwnd_, dialogId) == startHits) << "hit tests at another scale";
    ExpectOneScale(hwnd_, 192);

    const RECT bigWindow = WindowRect(hwnd_);
    EXPECT_EQ(bigWindow, (RECT{0, 11, w2, 11 + h2}))
        << "at the suggested top-left, twice the size: " << Describe(bigWindow);
    const gdi::Bitmap bigBackground =
        gdi::LoadBitmapResource(GetModuleHandleW(nullptr), Template().backgroundId, 192);
    const SIZE bigSize = gdi::BitmapSize(bigBackground.Get());
    EXPECT_EQ(bigSize.cx, w2) << "the background drawn for 200 %";
    EXPECT_EQ(bigSize.cy, h2);

    // the shape cut from the 200 % background's key colour
    int keyW = 0, keyH = 0;
    const controls::RegionData key =
        controls::RegionDataFromBitmap(bigBackground.Get(), keyW, keyH);
    const gdi::Region bigKey(ExtCreateRegion(nullptr, DWORD(key.ByteSize()),
                                             reinterpret_cast<const RGNDATA*>(key.Bytes())));
    const gdi::Region bigShape = CopyWindowRegion(hwnd_);
    EXPECT_TRUE(SameRegion(bigShape.Get(), bigKey.Get())) << "the window's shape is stale";
    RECT bigShapeBox{};
    if (bigShape) GetRgnBox(bigShape.Get(), &bigShapeBox);
    EXPECT_EQ(bigShapeBox, (RECT{2 * startShapeBox.left, 2 * startShapeBox.top,
                                 2 * startShapeBox.right, 2 * startShapeBox.bottom}))
        << Describe(bigShapeBox) << " against " << Describe(startShapeBox);

    // every control at its place for 200 %, with the images, fonts and circle of 200 %
    const std::vector<ControlLook> big = LookOfControls(hwnd_, dialogId);
    ASSERT_EQ(big.size(), start.size());
    int labels = 0, lamps = 0, knobs = 0;
    for (size_t i = 0; i < big.size(); ++i) {
        const ControlLook& was = start[i];
        const ControlLook& now = big[i];
        SCOPED_TRACE("control " + std::to_string(now.id));
        const controls::PxRect placed =
            controls::PlacedRect(dialogId, *controls::FindControl(dialogId, now.id), 192);
        EXPECT_EQ(now.place, (RECT{placed.x, placed.y, placed.Right(), placed.Bottom()}))
            << "placed at " << Describe(now.place) << ", 96 DPI " << Describe(was.place);
        EXPECT_EQ(now.dpi, was.dpi == 0 ? 0 : 192);
        if (was.image.cx != 0) {
            ++lamps;
            EXPECT_EQ(now.image.cx, 2 * was.image.cx) << "the lamp shows an image of 100 %";
            EXPECT_EQ(now.image.cy, 2 * was.image.cy);
        }
        EXPECT_EQ(now.fontHeight, 2 * was.fontHeight) << "the font of 100 %";
        labels += now.kind == ControlKind::Label && was.fontHeight != 0 ? 1 : 0;
        if (now.kind == ControlKind::Knob) {
            ++knobs;
            const int side =
                std::min(now.place.right - now.place.left, now.place.bottom - now.place.top);
            const gdi::Region circle(CreateEllipticRgn(0, 0, side, side));
            EXPECT_TRUE(SameRegion(now.knobArea.Get(), circle.Get()))
                << "the knob's window is not the circle of its new size " << side;
        }
    }
    EXPECT_GT(labels, 0);
    EXPECT_EQ(lamps > 0, GetParam().lamps);
    EXPECT_EQ(knobs, GetParam().knobs);

    // the screen shows the new scale, drawn completely
    const Grab bigScreen = GrabScreen(hwnd_);
    const Grab bigPaint = GrabAfterFullRepaint(hwnd_);
    ASSERT_FALSE(bigPaint.pixels.empty());
    EXPECT_TRUE(bigScreen.pixels == bigPaint.pixels)
        << "stale drawing after the change: " << Differences(bigScreen, bigPaint);
    EXPECT_EQ(BackgroundMismatches(hwnd_, Template().backgroundId, 192, bigPaint), 0)
        << "the background between the controls is not the 200 % one";

    // back to 96 DPI where it stood
    EXPECT_EQ(SendDpiChanged(hwnd_, 96, startWindow), 1);
    EXPECT_EQ(WindowRect(hwnd_), startWindow) << Describe(WindowRect(hwnd_));
    ExpectOneScale(hwnd_, 96);
    const gdi::Region backShape = CopyWindowRegion(hwnd_);
    EXPECT_TRUE(SameRegion(backShape.Get(), startShape.Get())) << "the shape did not come back";
    const std::vector<ControlLook> back = LookOfControls(hwnd_, dialogId);
    ASSERT_EQ(back.size(), start.size());
    for (size_t i = 0; i < back.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(back[i].id));
        EXPECT_EQ(back[i].place, start[i].place) << Describe(back[i].place);
        EXPECT_EQ(back[i].dpi, start[i].dpi);
        EXPECT_EQ(back[i].image.cx, start[i].image.cx);
        EXPECT_EQ(back[i].image.cy, start[i].image.cy);
        EXPECT_EQ(back[i].fontHeight, start[i].fontHeight);
        EXPECT_EQ(bool(back[i].knobArea), bool(start[i].knobArea));
        if (start[i].knobArea) {
            EXPECT_TRUE(SameRegion(back[i].knobArea.Get(), start[i].knobArea.Get()));
        }
    }
    const Grab backScreen = GrabScreen(hwnd_);
    EXPECT_TRUE(backScreen.pixels == startPaint.pixels)
        << "not as it started: " << Differences(backScreen, startPaint);
    const Grab backPaint = GrabAfterFullRepaint(hwnd_);
    EXPECT_TRUE(backPaint.pixels == startPaint.pixels)
        << "a full repaint differs from the one at start: " << Differences(backPaint, startPaint);

    // a display of another DPI drawn at the same scale only moves the window
    SendDpiChanged(hwnd_, 100, RECT{70, 60, 70 + Template().pxW, 60 + Template().pxH});
    EXPECT_EQ(WindowRect(hwnd_), (RECT{70, 60, 70 + Template().pxW, 60 + Template().pxH}));
    const std::vector<ControlLook> moved = LookOfControls(hwnd_, dialogId);
    EXPECT_TRUE(std::equal(moved.begin(), moved.end(), start.begin(), start.end(),
                           [](const ControlLook& a, const ControlLook& b) {
                               return a.place == b.place && a.dpi == b.dpi;
                           }));
}

// The windows of this thread, children included: the USER objects a change of scale could leave.
int CountThreadWindows() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM n) -> BOOL {
            ++*reinterpret_cast<int*>(n);
            EnumChildWindows(
                window, [](HWND, LPARAM m) -> BOOL { return ++*reinterpret_cast<int*>(m), TRUE; },
                n);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// Twenty round trips through 150, 200 and 125 % and back: whatever a scale made goes with it
// (GDI objects, windows), and back at 96 DPI the window shows what a fresh start shows.
TEST_P(DpiChange, TwentyRoundTripsThroughEveryScaleLeaveNothingBehind) {
    const Grab fresh = GrabAfterFullRepaint(hwnd_);
    const auto round = [&] {
        for (const int dpi : {144, 192, 120, 96}) {
            const int w = MulDiv(Template().pxW, dpi, 96), h = MulDiv(Template().pxH, dpi, 96);
            SendDpiChanged(hwnd_, dpi, RECT{40, 30, 40 + w, 30 + h});
        }
    };
    round();  // what each scale makes once and keeps (its shared fonts, its pictures) is made
    const int gdi = quorelle::testing::CountLiveGdiObjects();
    const int windows = CountThreadWindows();
    for (int i = 0; i < 20; ++i) round();
    EXPECT_EQ(quorelle::testing::CountLiveGdiObjects(), gdi);
    EXPECT_EQ(CountThreadWindows(), windows);
    EXPECT_EQ(WindowRect(hwnd_), (RECT{40, 30, 40 + Template().pxW, 30 + Template().pxH}));
    const Grab screen = GrabScreen(hwnd_);
    EXPECT_TRUE(screen.pixels == fresh.pixels)
        << "not as a fresh start: " << Differences(screen, fresh);
}

// A window that is not shown (a page while another shows, moved with the main window) may be
// told of a new scale: it stays hidden, and shows at the new scale, completely drawn.
TEST_P(DpiChange, AHiddenWindowStaysHiddenThroughAChangeOfScale) {
    ShowWindow(hwnd_, SW_HIDE);
    Pump();
    const int w2 = 2 * Template().pxW;
    const int h2 = 2 * Template().pxH;
    EXPECT_EQ(SendDpiChanged(hwnd_, 192, RECT{20, 10, 20 + w2, 10 + h2}), 1);
    EXPECT_FALSE(IsWindowVisible(hwnd_));
    EXPECT_EQ(GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE, 0);
    ExpectOneScale(hwnd_, 192);
    EXPECT_EQ(WindowRect(hwnd_), (RECT{20, 10, 20 + w2, 10 + h2}));
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    Pump();
    const Grab screen = GrabScreen(hwnd_);
    const Grab paint = GrabAfterFullRepaint(hwnd_);
    EXPECT_TRUE(screen.pixels == paint.pixels)
        << "stale drawing once shown: " << Differences(screen, paint);
    ShowWindow(hwnd_, SW_HIDE);
    SendDpiChanged(hwnd_, 96, RECT{40, 30, 40 + Template().pxW, 30 + Template().pxH});
    EXPECT_FALSE(IsWindowVisible(hwnd_));
}

// A knob at every scale: the same logical drag turns it through the same positions, and its dot
// keeps its size to the face (the dot's area grows as the square of the scale).
TEST_P(DpiChange, AKnobTurnsAndLooksTheSameAtEveryScale) {
    if (GetParam().knobs == 0) GTEST_SKIP() << "no knob on this window";
    const int id = GetParam().page == PAGE_MAIN ? 1007 : 1008;  // the volume and the bass knob
    HWND hwnd = GetDlgItem(hwnd_, id);
    auto* knob =
        dynamic_cast<controls::CRoundSliderCtrl*>(controls::SubclassedControl::FromHandle(hwnd));
    ASSERT_NE(knob, nullptr);
    knob->SetDotColor(RGB(0, 0, 255));
    const controls::ControlPlace& place = *controls::FindControl(GetParam().dialogId, id);
    const controls::PxRect logical = controls::PlacedRect(GetParam().dialogId, place, 96);
    struct Seen {
        std::vector<int> positions;
        int dotPixels = 0;
    };
    const auto turn = [&](int dpi) {
        Seen seen;
        const RECT at{40, 30, 40 + controls::ToDevice(Template().pxW, dpi),
                      30 + controls::ToDevice(Template().pxH, dpi)};
        if (dpi != 96) SendDpiChanged(hwnd_, dpi, at);
        // a logical point of the knob, as the device point the system reports in its client
        const controls::PxRect r = controls::PlacedRect(GetParam().dialogId, place, dpi);
        const auto device = [&](int x, int y) {
            return MAKELPARAM(controls::ToDevice(logical.x + x, dpi) - r.x,
                              controls::ToDevice(logical.y + y, dpi) - r.y);
        };
        knob->SetPos(knob->Model().Min());
        Pump();
        RECT client{};
        GetClientRect(hwnd, &client);
        Canvas canvas(client.right, client.bottom, RGB(1, 2, 3));
        PrintInto(hwnd, canvas);
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                seen.dotPixels += canvas.At(x, y) == RGB(0, 0, 255);
        // a drag from the dot once round the knob's face, a step of the pointer at a time
        const controls::Point dot = knob->Model().DotCentre();
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, device(dot.x, dot.y));
        const int side = knob->Model().Side();
        for (int i = 0; i <= 24; ++i) {
            const double a = 3.14159265 * (1.2 - i * 0.1);
            const int x = side / 2 + int(std::lround(std::cos(a) * side * 0.4));
            const int y = side / 2 - int(std::lround(std::sin(a) * side * 0.4));
            SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, device(x, y));
            seen.positions.push_back(knob->GetPos());
        }
        SendMessageW(hwnd, WM_LBUTTONUP, 0, device(side / 2, 0));
        Pump();
        if (dpi != 96)
            SendDpiChanged(hwnd_, 96, RECT{40, 30, 40 + Template().pxW, 30 + Template().pxH});
        return seen;
    };
    const Seen at96 = turn(96);
    ASSERT_GT(at96.dotPixels, 0);
    ASSERT_NE(at96.positions.back(), at96.positions.front()) << "the drag did not turn the knob";
    for (int dpi : {120, 168, 240, 288}) {
        SCOPED_TRACE(dpi);
        const Seen seen = turn(dpi);
        EXPECT_EQ(seen.positions, at96.positions);
        const double grown = double(seen.dotPixels) / at96.dotPixels;
        const double expected = double(dpi) * dpi / (96.0 * 96.0);
        EXPECT_NEAR(grown, expected, expected * 0.3)
            << seen.dotPixels << " against " << at96.dotPixels;
    }
}

std::string WindowName(const ::testing::TestParamInfo<Window>& info) {
    static const char* const kNames[] = {"Main", "Hifi", "Advance", "Info", "Hp"};
    return kNames[info.param.page];
}
INSTANTIATE_TEST_SUITE_P(EveryWindow, DpiChange, ::testing::ValuesIn(kWindows), WindowName);

}  // namespace
}  // namespace quorelle
