#include "controls/page_win32.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/own_windows_win32.h"
#include "base/text_win32.h"
#include "base/texts.h"
#include "controls/control_class_win32.h"
#include "controls/layout.h"
#include "controls/scale.h"
#include "controls/skin_images.h"

namespace quorelle::controls {

// The frame is the window's registered object of its role, for the controls that draw their
// page's background under them.
void PageFrame::BindToWindow(HWND page) {
    ClearWindowObject(window_, WindowRole::Frame, this);
    window_ = page;
    if (page != nullptr) SetWindowObject(page, WindowRole::Frame, this);
}

bool PaintPageBackground(HWND page, HDC dc) {
    PageFrame* frame = WindowObjectAs<PageFrame>(page, WindowRole::Frame);
    return frame != nullptr && PaintPageBackground(*frame, dc);
}

void PageFrame::Clear() {
    BindToWindow(nullptr);
    surface_.Reset();
    width_ = 0;
    height_ = 0;
    pendingWindow_ = nullptr;
    stacking_.clear();
}

bool PageFrame::DecodePendingBackground() {
    if (pendingWindow_ == nullptr) return static_cast<bool>(surface_);
    const HWND page = std::exchange(pendingWindow_, nullptr);
    return ApplyPageSkin(
        page, *this,
        gdi::LoadBitmapResource(GetModuleHandleW(nullptr), pendingBackgroundId_, pendingDpi_));
}

RegionData RegionDataFromBitmap(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) {
        width = 0;
        height = 0;
        return RegionData(0);
    }
    width = info.bmWidth;
    height = info.bmHeight;

    gdi::OwnedDC ic(CreateICW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!ic) return RegionData(0);
    // Header followed by room for a 256-entry colour table.
    std::vector<uint8_t> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* bi = reinterpret_cast<BITMAPINFO*>(header.data());
    bi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    if (GetDIBits(ic.Get(), bitmap, 0, UINT(info.bmHeight), nullptr, bi, DIB_RGB_COLORS) == 0) {
        return RegionData(0);
    }
    bi->bmiHeader.biCompression = BI_RGB;
    const int bitCount = bi->bmiHeader.biBitCount;
    const int rows = bi->bmiHeader.biHeight < 0 ? -bi->bmiHeader.biHeight : bi->bmiHeader.biHeight;
    const size_t stride = size_t(RowStride(info.bmWidth, bitCount));
    size_t imageSize = bi->bmiHeader.biSizeImage;
    if (imageSize < stride * size_t(rows)) imageSize = stride * size_t(rows);
    bi->bmiHeader.biSizeImage = DWORD(imageSize);
    bi->bmiHeader.biHeight = rows;  // bottom-up
    std::vector<uint8_t> pixels(imageSize + 4, 0);
    if (GetDIBits(ic.Get(), bitmap, 0, UINT(rows), pixels.data(), bi, DIB_RGB_COLORS) == 0) {
        return RegionData(0);
    }
    std::vector<uint32_t> colours(256, 0);
    if (bitCount == 8) std::memcpy(colours.data(), bi->bmiColors, 256 * sizeof(RGBQUAD));

    PixelImage image;
    image.bits = pixels.data();
    image.size = imageSize;
    image.width = info.bmWidth;
    image.height = rows;
    image.bitCount = bitCount;
    image.bottomUp = true;
    image.colourTable = colours.data();
    return RegionFromColorKey(image);
}

gdi::Region RegionFromColorKey(PageFrame& frame, HBITMAP bitmap) {
    int width = 0;
    int height = 0;
    const RegionData data = RegionDataFromBitmap(bitmap, width, height);
    frame.width_ = width;
    frame.height_ = height;
    return gdi::Region(ExtCreateRegion(nullptr, DWORD(data.ByteSize()),
                                       reinterpret_cast<const RGNDATA*>(data.Bytes())));
}

namespace {
// The window at the frame's size, at `origin` if given (in one move: on a system with displays
// of several scales every move checks the display again), not redrawn then; a window that has
// that size and place already is left alone.
void PlaceFrameWindow(HWND page, int width, int height, const POINT* origin) {
    RECT now{};
    GetWindowRect(page, &now);
    const bool moves = origin != nullptr && (origin->x != now.left || origin->y != now.top);
    if (!moves && now.right - now.left == width && now.bottom - now.top == height) return;
    constexpr UINT kSize = SWP_NOZORDER | SWP_NOACTIVATE;
    if (origin != nullptr)
        SetWindowPos(page, nullptr, origin->x, origin->y, width, height, kSize | SWP_NOREDRAW);
    else
        SetWindowPos(page, nullptr, 0, 0, width, height, kSize | SWP_NOMOVE);
}
}  // namespace

bool ApplyPageSkin(HWND page, PageFrame& frame, int backgroundId, int dpi, const POINT* origin) {
    return ApplyPageSkin(
        page, frame, gdi::LoadBitmapResource(GetModuleHandleW(nullptr), backgroundId, dpi), origin);
}

bool ApplyPageSkin(HWND page, PageFrame& frame, gdi::Bitmap background, const POINT* origin) {
    frame.Clear();
    if (!background) return false;
    gdi::Region shape = RegionFromColorKey(frame, background.Get());
    {
        gdi::WindowDC windowDc(page);
        frame.surface_ = gdi::SelectedSurface(gdi::OwnedDC(CreateCompatibleDC(windowDc.Get())),
                                              std::move(background));
    }
    if (!frame.surface_) return false;
    frame.BindToWindow(page);
    PlaceFrameWindow(page, frame.width_, frame.height_, origin);
    // The window owns the region once it accepts it.
    if (shape && SetWindowRgn(page, shape.Get(), FALSE) != 0) (void)shape.Release();
    return true;
}

bool ApplyPageSkinWhenShown(HWND page, PageFrame& frame, int backgroundId, int dpi,
                            const POINT* origin) {
    const SIZE size = gdi::ImageResourceSize(GetModuleHandleW(nullptr), backgroundId, dpi);
    if (IsWindowVisible(page) || size.cx <= 0 || size.cy <= 0)
        return ApplyPageSkin(page, frame, backgroundId, dpi, origin);
    frame.Clear();
    frame.width_ = size.cx;
    frame.height_ = size.cy;
    frame.pendingWindow_ = page;
    frame.pendingBackgroundId_ = backgroundId;
    frame.pendingDpi_ = dpi;
    frame.BindToWindow(page);
    PlaceFrameWindow(page, size.cx, size.cy, origin);
    return true;
}

bool PaintPageBackground(PageFrame& frame, HDC dc) {
    if (!frame.DecodePendingBackground()) return false;
    return BitBlt(dc, 0, 0, frame.Width(), frame.Height(), frame.Surface(), 0, 0, SRCCOPY) != 0;
}

namespace {
// One picture for the composed paints of every page, grown to the largest asked for: the pages
// paint one at a time, on the program's one window thread.
HDC ComposingSurface(HDC reference, int width, int height) {
    static gdi::SelectedSurface surface;
    static SIZE size{0, 0};
    if (!surface || width > size.cx || height > size.cy) {
        const SIZE wanted{std::max<LONG>(width, size.cx), std::max<LONG>(height, size.cy)};
        surface = gdi::SelectedSurface::Compatible(reference, int(wanted.cx), int(wanted.cy));
        size = surface ? wanted : SIZE{0, 0};
    }
    return surface.Dc();
}

// Draws one control into `dc` (whose origin is the page's point `at`) as it shows on the screen,
// in its own rectangle and shape; false when it is not one the page can draw (a platform class,
// or a frame of its own), which is then left to paint itself.
bool ComposeControl(HWND child, HDC dc, const RECT& place, POINT at) {
    if (!IsOwnControlClass(child)) return false;
    RECT client{};
    GetClientRect(child, &client);
    if (client.right != place.right - place.left || client.bottom != place.bottom - place.top)
        return false;
    const int saved = SaveDC(dc);
    const POINT origin{place.left - at.x, place.top - at.y};
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    if (IsKnobClass(child)) {  // the only control with a shape of its own
        gdi::Region shape(CreateRectRgn(0, 0, 0, 0));
        if (shape && GetWindowRgn(child, shape.Get()) != ERROR) {
            OffsetRgn(shape.Get(), origin.x, origin.y);
            ExtSelectClipRgn(dc, shape.Get(), RGN_AND);
        }
    }
    SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, saved);
    return true;
}
}  // namespace

void PaintPageWithControls(HWND page, PageFrame& frame) {
    // what is to be painted, before the paint takes it: the controls are left with nothing to
    // paint in the part of it the picture covers
    gdi::Region update(CreateRectRgn(0, 0, 0, 0));
    const bool known = update && GetUpdateRgn(page, update.Get(), FALSE) != ERROR;
    frame.composing_ = true;
    gdi::PaintDC paint(page);
    frame.composing_ = false;
    RECT area = paint.Info().rcPaint;
    // a window off the screen is clipped to nothing, but what it has to paint is still composed
    // and its controls left with nothing to paint: each would otherwise paint on its own
    if (IsRectEmpty(&area) && known) GetRgnBox(update.Get(), &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC dc = paint.Get() != nullptr && width > 0 && height > 0
                 ? ComposingSurface(paint.Get(), width, height)
                 : nullptr;
    if (dc == nullptr) {  // no picture to compose in: the background, and each control paints
        if (paint.Get() != nullptr) PaintPageBackground(frame, paint.Get());
        return;
    }
    const int saved = SaveDC(dc);  // the picture is shared: each paint starts from its defaults
    SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
    if (!PaintPageBackground(frame, dc)) {
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    }
    SetViewportOrgEx(dc, 0, 0, nullptr);
    if (frame.stacking_.empty()) {
        frame.stacking_ = ChildWindowsTopFirst(page);
        std::reverse(frame.stacking_.begin(), frame.stacking_.end());  // bottom first
    }
    gdi::Region composed(known ? CreateRectRgn(0, 0, 0, 0) : nullptr);
    if (composed) CombineRgn(composed.Get(), update.Get(), nullptr, RGN_COPY);
    for (HWND child : frame.stacking_) {
        if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
        RECT overlap{};
        if (!IntersectRect(&overlap, &place, &area)) continue;
        if (ComposeControl(child, dc, place, POINT{area.left, area.top})) continue;
        // left out: the page does not cover it, and it keeps what it has to paint
        ExcludeClipRect(paint.Get(), place.left, place.top, place.right, place.bottom);
        if (composed) {
            gdi::Region out(CreateRectRgnIndirect(&place));
            if (out) CombineRgn(composed.Get(), composed.Get(), out.Get(), RGN_DIFF);
        }
    }
    BitBlt(paint.Get(), area.left, area.top, width, height, dc, 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
    if (composed)
        RedrawWindow(page, nullptr, composed.Get(),
                     RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_ALLCHILDREN);
}

void DragPage(HWND page) {
    SendMessageW(page, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

namespace {
constexpr int kCloseNormal = images::kCloseKey;
constexpr int kClosePressed = images::kCloseKeyPressed;
constexpr int kPageNormal = images::kPageKey;
constexpr int kPageLit = images::kPageKeyLit;

int ButtonIdOf(const NavigationIds& ids, int pageIndex) {
    switch (pageIndex) {
        case kPageMain:
            return ids.main;
        case kPageHifi:
            return ids.hifi;
        case kPageAdvance:
            return ids.advance;
        case kPageInfo:
            return ids.info;
        case kPageHp:
            return ids.hp;
        default:
            return 0;
    }
}
}  // namespace

bool NavigationColumn::Bind(HWND page, int pageIndex) {
    ids_ = &NavigationIdsOf(pageIndex);
    bool ok =
        close_.AttachDlgItem(page, ids_->close) && close_.LoadBitmaps(kCloseNormal, kClosePressed);
    for (int i = 0; i < 5; ++i) {
        CBitmapButton& button = pages_[size_t(i)];
        const int normal = i == pageIndex ? kPageLit : kPageNormal;
        ok = button.AttachDlgItem(page, ButtonIdOf(*ids_, i)) && ok;
        ok = button.LoadBitmaps(normal, kPageLit) && ok;
    }
    for (size_t i = 0; i < labels_.size(); ++i) {
        ok = labels_[i].AttachDlgItem(page, ids_->labels[i]) && ok;
    }
    return ok;
}

int NavigationColumn::PageOfButton(int controlId) const {
    if (ids_ == nullptr) return -1;
    for (int i = 0; i < 5; ++i) {
        if (ButtonIdOf(*ids_, i) == controlId) return i;
    }
    return -1;
}

int PlaceTemplateControls(HWND dialog, int dialogId, int dpi, bool redraw) {
    int placed = 0;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW);
    for (const ControlPlace& place : TemplateControls(dialogId)) {
        HWND control = GetDlgItem(dialog, place.id);
        if (control == nullptr) continue;
        const PxRect r = PlacedRect(dialogId, place, dpi);
        if (SetWindowPos(control, nullptr, r.x, r.y, r.w, r.h, flags)) {
            ++placed;
        }
    }
    return placed;
}

namespace {
void AddStyle(HWND control, LONG_PTR style) {
    SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | style);
}

// The controls StackOverlappingControls sends to the bottom, in that order: the labels that lie
// on a picture (a label on two pictures twice), then those pictures.
struct Stacked {
    std::vector<int> labels;
    std::vector<int> pictures;
};

Stacked StackedControls(int dialogId) {
    const std::span<const ControlPlace> places = TemplateControls(dialogId);
    Stacked stacked;
    for (const ControlPlace& under : places) {
        if (under.kind != ControlKind::Lamp && under.kind != ControlKind::Picture) continue;
        const PxRect area = PlacedRect(dialogId, under);
        bool covered = false;
        for (const ControlPlace& over : places) {
            if (&over == &under || !Overlap(area, PlacedRect(dialogId, over))) continue;
            covered = true;
            if (over.kind == ControlKind::Label) stacked.labels.push_back(over.id);
        }
        if (covered) stacked.pictures.push_back(under.id);
    }
    return stacked;
}

// The text a control is made with, the text table's (UTF-8); the interface language's texts
// take its place when the page is set up.
std::wstring TemplateText(int dialogId, int id) {
    std::string_view text;
    if (const LabelText* label = FindLabelText(dialogId, id)) {
        text = label->templateText;
    } else {
        for (const FixedText& fixed : FixedTexts(dialogId))
            if (fixed.id == id) text = fixed.text;
    }
    return Widen(text);
}
}  // namespace

int StackOverlappingControls(HWND dialog, int dialogId) {
    const Stacked stacked = StackedControls(dialogId);
    constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    // the labels to the bottom first, then the pictures under them
    int pictures = 0;
    for (const std::vector<int>* ids : {&stacked.labels, &stacked.pictures}) {
        for (int id : *ids) {
            HWND control = GetDlgItem(dialog, id);
            if (control == nullptr) continue;
            AddStyle(control, WS_CLIPSIBLINGS);
            SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, kOrderOnly);
            if (ids == &stacked.pictures) ++pictures;
        }
    }
    return pictures;
}

int CreateTemplateControls(HWND dialog, int dialogId, int dpi) {
    if (!RegisterControlClasses()) return 0;
    // A child is made at the bottom of its siblings: made in the table's order, with the stacked
    // labels and pictures last, the controls have the order StackOverlappingControls gives a
    // template's (the Tab order of the table), and none is restacked later.
    std::vector<int> order;
    for (const ControlPlace& place : TemplateControls(dialogId)) order.push_back(place.id);
    const Stacked stacked = StackedControls(dialogId);
    std::vector<int> clipping;
    for (const std::vector<int>* ids : {&stacked.labels, &stacked.pictures}) {
        for (int id : *ids) {
            order.erase(std::find(order.begin(), order.end(), id));
            order.push_back(id);
            clipping.push_back(id);
        }
    }
    // the platform's combo box and edit field take the dialog's font, as the dialog manager
    // gives it to the controls of a template
    const auto dialogFont = static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    int made = 0;
    for (int id : order) {
        const ControlPlace* place = FindControl(dialogId, id);
        const ControlRecipe recipe = RecipeOf(dialogId, *place);
        const bool clips = std::find(clipping.begin(), clipping.end(), id) != clipping.end();
        const PxRect r = PlacedRect(dialogId, *place, dpi);
        HWND control = CreateWindowExW(
            WS_EX_NOPARENTNOTIFY, recipe.className, TemplateText(dialogId, id).c_str(),
            recipe.style | (clips ? WS_CLIPSIBLINGS : 0), r.x, r.y, r.w, r.h, dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        if (control == nullptr) continue;
        ++made;
        if (place->kind == ControlKind::Combo || place->kind == ControlKind::Edit)
            SendMessageW(control, WM_SETFONT, dialogFont, FALSE);
    }
    return made;
}

}  // namespace quorelle::controls
