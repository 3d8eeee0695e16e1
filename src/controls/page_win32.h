// The skinned page frame shared by all five pages: the background surface, the window shape
// cut from the background's pure-blue pixels, the background paint, the drag, the navigation
// column, and the placing of a template's controls at their fixed pixel places.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "base/messages.h"
#include "controls/button_win32.h"
#include "controls/gdi_win32.h"
#include "controls/label_win32.h"
#include "controls/layout.h"
#include "controls/region.h"

namespace quorelle::controls {

// Background surface, width and height of a page. The background image stays selected in the
// surface for the page's lifetime.
class PageFrame {
  public:
    PageFrame() = default;
    PageFrame(const PageFrame&) = delete;
    PageFrame& operator=(const PageFrame&) = delete;
    ~PageFrame() { Clear(); }

    void Clear();
    // Decodes a background left for the window's first show (ApplyPageSkinWhenShown), keeps it
    // and gives the window its shape; true when the frame has its surface.
    bool DecodePendingBackground();
    HDC Surface() const { return surface_.Dc(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // True while the page paints itself with its controls (PaintPageWithControls): its erase is
    // left out, as the composed picture covers it.
    bool Composing() const { return composing_; }

  private:
    friend bool ApplyPageSkin(HWND, PageFrame&, gdi::Bitmap, const POINT*);
    friend gdi::Region RegionFromColorKey(PageFrame&, HBITMAP);
    friend bool ApplyPageSkinWhenShown(HWND, PageFrame&, int, int, const POINT*);
    friend void PaintPageWithControls(HWND, PageFrame&);
    // The window the frame skins, known to PaintPageBackground(HWND, HDC) from then on.
    void BindToWindow(HWND page);
    gdi::SelectedSurface surface_;
    int width_ = 0;
    int height_ = 0;
    HWND window_ = nullptr;
    // the window and the background still to be decoded for it
    HWND pendingWindow_ = nullptr;
    int pendingBackgroundId_ = 0;
    int pendingDpi_ = 96;
    bool composing_ = false;
    // the page's children, bottom first, read at its first composed paint: a page stacks its
    // controls when it is made and never again
    std::vector<HWND> stacking_;
};

// The rectangle list of a bitmap's pixels that are not pure blue, fetched as a DIB through an
// information context of the display. Width and height receive the bitmap's size.
RegionData RegionDataFromBitmap(HBITMAP bitmap, int& width, int& height);

// The window shape of a background; sets the frame's width and height.
gdi::Region RegionFromColorKey(PageFrame& frame, HBITMAP bitmap);

// Loads the background drawn for dpi, keeps it in the frame's surface, sizes the window to it
// and gives the window its shape. False when the image cannot be had. With `origin` (screen
// coordinates of the window's top-left) the window moves and takes its new size in one step and
// nothing is redrawn: the caller repaints once the whole window is ready.
bool ApplyPageSkin(HWND page, PageFrame& frame, int backgroundId, int dpi = 96,
                   const POINT* origin = nullptr);
bool ApplyPageSkin(HWND page, PageFrame& frame, gdi::Bitmap background,
                   const POINT* origin = nullptr);
// ApplyPageSkin for a window that may not be shown for a while (the pages are built hidden at
// start): a hidden window takes the background's size at once, read from the image's header,
// while the image is decoded and the shape cut when the window is about to show or its
// background first paints (PageFrame::DecodePendingBackground). A window on screen is skinned at
// once.
bool ApplyPageSkinWhenShown(HWND page, PageFrame& frame, int backgroundId, int dpi = 96,
                            const POINT* origin = nullptr);

// The page's erase-background handler: one copy of the background (decoded first if it was left
// for the first show); true when it succeeded.
bool PaintPageBackground(PageFrame& frame, HDC dc);
// The same for the page window `page` when it has a skinned background: a control that draws
// the page under itself takes it here, without a message to the page (Wine seam: round trips).
// False for any other window, and when the background could not be had.
bool PaintPageBackground(HWND page, HDC dc);

// The page's WM_PAINT: the page and every control of the program's own classes in the area to
// paint are drawn in one picture (the background, then each control's WM_PRINTCLIENT, bottom of
// the stacking first, in its own rectangle and shape) and put on the screen in one copy; those
// controls are then left with nothing to paint there. A control of the platform's classes (the
// combo box and its field) is left out of the picture and paints itself, as before.
// Each child window's own paint costs several requests to the window server (Wine seam: round
// trips); the composed paint costs the page's alone, whatever the number of its controls. A
// control that changes alone still paints itself.
void PaintPageWithControls(HWND page, PageFrame& frame);

// Starts the platform's window-move loop as a press on a caption would.
void DragPage(HWND page);

// Page indices (the window protocol's).
inline constexpr int kPageMain = PAGE_MAIN;
inline constexpr int kPageHifi = PAGE_HIFI;
inline constexpr int kPageAdvance = PAGE_ADVANCE;
inline constexpr int kPageInfo = PAGE_INFO;
inline constexpr int kPageHp = PAGE_HP;

// The six bitmap buttons and five captions of a page's navigation column.
class NavigationColumn {
  public:
    // Binds the controls of `page` and loads the button images: close 170/171, the page's own
    // button 173/173, the other page buttons 172/173.
    bool Bind(HWND page, int pageIndex);
    CBitmapButton& Close() { return close_; }
    // Button of the page with the given index.
    CBitmapButton& PageButton(int pageIndex) { return pages_.at(size_t(pageIndex)); }
    CLabel& Caption(int i) { return labels_.at(size_t(i)); }
    // The page index a navigation button id stands for; -1 when it is none of them.
    int PageOfButton(int controlId) const;

  private:
    const NavigationIds* ids_ = nullptr;
    CBitmapButton close_;
    std::array<CBitmapButton, 5> pages_;  // by page index
    std::array<CLabel, 5> labels_;
};

// Moves and sizes every control of a dialog to its fixed rectangle from the layout table of its
// template, at dpi. Returns how many controls were placed.
int PlaceTemplateControls(HWND dialog, int dialogId, int dpi = 96, bool redraw = true);

// Makes every control of a template's layout in `dialog` (a window made from the template,
// which holds none), each of its class, with its id, styles and text, at its final place at
// dpi, in the table's order with the stacked pictures and the labels on them last
// (StackOverlappingControls): nothing is moved or restacked after it is made. Returns how many
// were made.
int CreateTemplateControls(HWND dialog, int dialogId, int dpi);

// Stacks the controls that overlap in the layout table of a template: a lamp or picture that
// other controls lie on goes to the bottom and never paints over them (it clips its siblings);
// the labels on it come next and clip the buttons above them. Such a label composes its
// background from the page and the picture beneath it, and the picture repaints what lies on
// it when its image changes, so the overlap looks the same whatever repaints first. Returns
// how many pictures were stacked.
int StackOverlappingControls(HWND dialog, int dialogId);

}  // namespace quorelle::controls
