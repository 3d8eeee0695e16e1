// What every one of the five windows shares: the skinned frame (background, shape, drag), the
// navigation column, the transparent labels of its template and its language texts.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/label_win32.h"
#include "controls/page_win32.h"
#include "pages/page_accessibility_win32.h"

namespace quorelle::pages {

class PageChrome {
  public:
    // The background is the one the layout table names for the template.
    PageChrome(int pageIndex, int dialogId) : pageIndex_(pageIndex), dialogId_(dialogId) {}

    // The page frame at the window's DPI: background, size and shape of the window, then every
    // control of the layout made at its fixed place, the navigation column and the labels.
    void ApplySkin(HWND dialog);
    // The window went to a display of another DPI (WM_DPICHANGED): the frame at the new scale
    // at the suggested place (the size is the background's), every control placed again and
    // given the new DPI (its images, fonts and geometry), all repainted. False when the drawn
    // scale stays the same (then only the place changes).
    bool ChangeDpi(int displayDpi, const RECT* suggested);
    // The DPI the window is drawn for (the one it keeps: controls::DrawnDpi).
    int Dpi() const;
    // The window's labels in `language` (0, 1 or 2); any other value keeps the texts. The whole
    // window is repainted in every case.
    void SetPageTexts(int language);
    // Before the window shows: its background decoded and its shape cut, if its first show was
    // left for that (Windows sends no WM_SHOWWINDOW for a normal show, so the show's owner
    // calls this; WM_SHOWWINDOW and the first paint do it too where they come).
    void PrepareToShow();
    // Background paint and the notifications the skinned controls draw themselves with.
    bool HandleFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The page index a navigation button stands for, -1 for any other control.
    int PageOfButton(int controlId) const { return nav_.PageOfButton(controlId); }
    int CloseButtonId() const;
    int PageIndex() const { return pageIndex_; }
    int DialogId() const { return dialogId_; }
    HWND Window() const { return dialog_; }
    controls::CLabel* Label(int id);
    // Assistive tools and the page keys: the window's controls described, their default actions
    // run by `actions` (the window's own click dispatch).
    void EnableAccessibility(PageActions& actions) {
        accessibility_.Attach(dialog_, dialogId_, actions);
    }
    // After the window handled a message: tells the tools what it changed.
    void AfterMessage(UINT msg);

  private:
    int pageIndex_;
    int dialogId_;
    HWND dialog_ = nullptr;
    controls::PageFrame frame_;
    controls::NavigationColumn nav_;
    std::vector<std::unique_ptr<controls::CLabel>> labels_;
    PageAccessibility accessibility_;
};

// The window text of a page (no caption shows it; the system and assistive tools do):
// the product name and the page's English name.
std::string PageTitle(int pageIndex);

// The language stored in the settings file (-1 when none).
int StoredLanguage();

}  // namespace quorelle::pages
