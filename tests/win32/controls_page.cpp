#include <gtest/gtest.h>

#include <windows.h>

#include "controls/layout.h"
#include "controls/page_win32.h"
#include "controls_host.h"

using namespace quorelle;
using namespace quorelle::controls;
using namespace quorelle::testing;

namespace {

// A 24-bit bitmap drawn from rows of text: '.' pure blue, anything else dark grey.
gdi::Bitmap KeyedBitmap(const std::vector<const char*>& rows) {
    const int w = int(strlen(rows[0]));
    const int h = int(rows.size());
    gdi::Bitmap bitmap = SolidBitmap(w, h, RGB(50, 50, 50));
    gdi::OwnedDC dc(CreateCompatibleDC(nullptr));
    gdi::SelectGuard select(dc.Get(), bitmap.Get());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (rows[y][x] == '.') SetPixelV(dc.Get(), x, y, RGB(0, 0, 255));
    return bitmap;
}

HWND MakePage() {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(PageFrame, RegionFromBitmapRowsAndSize) {
    gdi::Bitmap bitmap = KeyedBitmap({"..######..", "##########", ".........."});
    int width = 0;
    int height = 0;
    const RegionData data = RegionDataFromBitmap(bitmap.Get(), width, height);
    EXPECT_EQ(width, 10);
    EXPECT_EQ(height, 3);
    EXPECT_EQ(data.Rects(), (std::vector<RegionRect>{{2, 0, 8, 1}, {0, 1, 10, 2}}));

    // A device-dependent bitmap of the screen's format goes through the same scan.
    gdi::WindowDC screen(nullptr);
    gdi::Bitmap ddb(CreateCompatibleBitmap(screen.Get(), 6, 2));
    {
        gdi::OwnedDC dc(CreateCompatibleDC(screen.Get()));
        gdi::SelectGuard select(dc.Get(), ddb.Get());
        PatBlt(dc.Get(), 0, 0, 6, 2, BLACKNESS);
        SetPixelV(dc.Get(), 3, 0, RGB(0, 0, 255));
    }
    const RegionData fromDdb = RegionDataFromBitmap(ddb.Get(), width, height);
    EXPECT_EQ(fromDdb.Rects(), (std::vector<RegionRect>{{0, 0, 3, 1}, {4, 0, 6, 1}, {0, 1, 6, 2}}));
}

TEST(PageFrame, SkinSizesShapesAndPaintsTheWindow) {
    HWND page = MakePage();
    PageFrame frame;
    ASSERT_TRUE(ApplyPageSkin(page, frame, 134));
    EXPECT_EQ(frame.Width(), 800);
    EXPECT_EQ(frame.Height(), 309);
    RECT r;
    GetWindowRect(page, &r);
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 309);
    EXPECT_EQ(r.left, 50);  // position kept

    gdi::Region shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(page, shape.Get()), ERROR);
    // Row 0 covers x 5 .. 794; row 5 is full width; the feet taper below the panel.
    EXPECT_FALSE(PtInRegion(shape.Get(), 4, 0));
    EXPECT_TRUE(PtInRegion(shape.Get(), 5, 0));
    EXPECT_TRUE(PtInRegion(shape.Get(), 794, 0));
    EXPECT_FALSE(PtInRegion(shape.Get(), 795, 0));
    EXPECT_TRUE(PtInRegion(shape.Get(), 0, 5));
    EXPECT_TRUE(PtInRegion(shape.Get(), 799, 5));
    EXPECT_TRUE(PtInRegion(shape.Get(), 96, 308));
    EXPECT_FALSE(PtInRegion(shape.Get(), 300, 308));

    gdi::Bitmap background = gdi::LoadBitmapResource(GetModuleHandleW(nullptr), 134);
    int w = 0;
    int h = 0;
    EXPECT_EQ(RegionDataFromBitmap(background.Get(), w, h).Count(), 319u);

    Canvas canvas(800, 309, RGB(1, 2, 3));
    ASSERT_TRUE(PaintPageBackground(frame, canvas.Dc()));
    for (POINT p : {POINT{0, 0}, POINT{400, 150}, POINT{799, 308}, POINT{620, 40}}) {
        EXPECT_EQ(canvas.At(p.x, p.y), BitmapPixel(background.Get(), p.x, p.y));
    }
    DestroyWindow(page);
}

// A hidden window gets its size at once and its background and shape when it first shows (or
// paints); a window on screen is skinned at once.
TEST(PageFrame, AHiddenWindowDecodesItsBackgroundWhenItFirstShows) {
    HWND page = MakePage();
    ShowWindow(page, SW_HIDE);
    PageFrame frame;
    ASSERT_TRUE(ApplyPageSkinWhenShown(page, frame, 134));
    RECT r;
    GetWindowRect(page, &r);
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 309);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(frame.Width(), 800);
    EXPECT_EQ(frame.Surface(), nullptr) << "decoded while hidden";
    gdi::Region shape(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(page, shape.Get()), ERROR) << "shaped while hidden";

    // the frame realizes itself when the window is about to show, as the pages' frame does
    static PageFrame* shown;
    static WNDPROC previous;
    shown = &frame;
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        page, GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_SHOWWINDOW && w) shown->DecodePendingBackground();
            return CallWindowProcW(previous, h, m, w, l);
        })));
    ShowWindow(page, SW_SHOWNOACTIVATE);
    EXPECT_NE(frame.Surface(), nullptr);
    ASSERT_NE(GetWindowRgn(page, shape.Get()), ERROR);
    EXPECT_FALSE(PtInRegion(shape.Get(), 4, 0));
    EXPECT_TRUE(PtInRegion(shape.Get(), 5, 0));

    // a paint of a hidden window's frame decodes it as well; one on screen is skinned at once
    for (bool visible : {false, true}) {
        ShowWindow(page, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
        PageFrame other;
        ASSERT_TRUE(ApplyPageSkinWhenShown(page, other, 179));
        EXPECT_EQ(other.Height(), 501);
        EXPECT_EQ(other.Surface() != nullptr, visible);
        Canvas canvas(800, 501, RGB(1, 2, 3));
        EXPECT_TRUE(PaintPageBackground(other, canvas.Dc()));
        EXPECT_NE(canvas.At(400, 200), RGB(1, 2, 3));
    }
    PageFrame none;
    ShowWindow(page, SW_HIDE);
    EXPECT_FALSE(ApplyPageSkinWhenShown(page, none, 9999));
    DestroyWindow(page);
}

TEST(PageFrame, TallBackgroundAndMissingImage) {
    HWND page = MakePage();
    PageFrame frame;
    ASSERT_TRUE(ApplyPageSkin(page, frame, 179));
    EXPECT_EQ(frame.Height(), 501);
    gdi::Bitmap background = gdi::LoadBitmapResource(GetModuleHandleW(nullptr), 179);
    int w = 0;
    int h = 0;
    EXPECT_EQ(RegionDataFromBitmap(background.Get(), w, h).Count(), 510u);

    PageFrame none;
    EXPECT_FALSE(ApplyPageSkin(page, none, 9999));
    Canvas canvas(10, 10, RGB(1, 2, 3));
    EXPECT_FALSE(PaintPageBackground(none, canvas.Dc()));
    DestroyWindow(page);
}

TEST(PageFrame, NavigationColumnDrawsItsImages) {
    HostWindow host(900, 400);
    const NavigationIds& ids = NavigationIdsOf(kPageHifi);
    for (int id : {ids.close, ids.main, ids.hifi, ids.advance, ids.hp, ids.info}) {
        host.AddChild(L"BUTTON", BS_PUSHBUTTON, id, 10, 10 + (id % 10) * 30, 40, 12);
    }
    for (int id : ids.labels) host.AddChild(L"STATIC", SS_LEFT, id, 200, (id % 10) * 30, 80, 12);

    NavigationColumn column;
    ASSERT_TRUE(column.Bind(host.Hwnd(), kPageHifi));
    RECT r;
    GetWindowRect(column.Close().Hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 86);
    EXPECT_EQ(r.bottom - r.top, 20);
    GetWindowRect(column.PageButton(kPageMain).Hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 64);
    EXPECT_EQ(r.bottom - r.top, 24);
    EXPECT_EQ(column.PageOfButton(ids.hp), kPageHp);
    EXPECT_EQ(column.PageOfButton(ids.close), -1);

    gdi::Bitmap normal = gdi::LoadBitmapResource(GetModuleHandleW(nullptr), 172);
    gdi::Bitmap lit = gdi::LoadBitmapResource(GetModuleHandleW(nullptr), 173);
    Canvas canvas(64, 24, RGB(1, 2, 3));
    auto matches = [&](HBITMAP image) {
        int same = 0;
        for (int y = 0; y < 24; y += 3)
            for (int x = 0; x < 64; x += 3) same += canvas.At(x, y) == BitmapPixel(image, x, y);
        return same == 8 * 22;
    };
    // Another page's button shows 172, the page's own button 173.
    PrintInto(column.PageButton(kPageMain).Hwnd(), canvas);
    EXPECT_TRUE(matches(normal.Get()));
    PrintInto(column.PageButton(kPageHifi).Hwnd(), canvas);
    EXPECT_TRUE(matches(lit.Get()));
    // While held down a page button shows 173.
    SendMessageW(column.PageButton(kPageMain).Hwnd(), BM_SETSTATE, TRUE, 0);
    PrintInto(column.PageButton(kPageMain).Hwnd(), canvas);
    EXPECT_TRUE(matches(lit.Get()));
}

TEST(PageFrame, TemplateControlsGoToTheirPixelPlaces) {
    HostWindow host(800, 309);
    const auto controls = TemplateControls(kMainDialog);
    ASSERT_FALSE(controls.empty());
    for (const ControlPlace& place : controls) {
        host.AddChild(L"STATIC", SS_LEFT, place.id, 0, 0, 5, 5);
    }
    EXPECT_EQ(PlaceTemplateControls(host.Hwnd(), kMainDialog), int(controls.size()));
    const ControlPlace* knob = FindControl(kMainDialog, 1007);
    ASSERT_NE(knob, nullptr);
    const PxRect expected = PlacedRect(kMainDialog, *knob);
    RECT r;
    GetWindowRect(GetDlgItem(host.Hwnd(), 1007), &r);
    MapWindowPoints(nullptr, host.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, expected.x);
    EXPECT_EQ(r.top, expected.y);
    EXPECT_EQ(r.right - r.left, expected.w);
    EXPECT_EQ(r.bottom - r.top, expected.h);
}
