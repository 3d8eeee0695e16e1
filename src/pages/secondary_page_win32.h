// The four secondary pages (HIFI, advance, information, headphone): owned pop-up windows that
// the main window creates hidden and shows in its own place. Each page hides itself with its
// close button and hands over to the main window with its navigation buttons.
#pragma once

#include "base/dialog_window_win32.h"
#include "pages/device_user.h"
#include "pages/page_chrome_win32.h"

namespace quorelle::pages {

class SecondaryPage : public DialogWindow, protected PageActions {
  public:
    SecondaryPage(int pageIndex, int dialogId)
        : DialogWindow(dialogId), chrome_(pageIndex, dialogId) {}

    int PageIndex() const { return chrome_.PageIndex(); }
    // Ready to show: the background decoded and the shape cut (PageChrome::PrepareToShow).
    void PrepareToShow() { chrome_.PrepareToShow(); }

  protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void AfterMessage(UINT msg) override { chrome_.AfterMessage(msg); }
    // A default action's press: the page's dispatch of a press, without the window drag.
    void PressAt(POINT logical) override { OnPress(logical); }
    // The page's own start-up, in its own order (device, skin, texts).
    virtual void OnInitPage() = 0;
    // A left-button press at a client point. By default the window drag comes first, then the
    // press point (as pressed) is offered to OnPress; a page that hit-tests before it drags
    // overrides this. True when the press was handled (result is then the answer); false lets
    // the default processing run.
    virtual bool OnLeftButtonDown(POINT pressed, LRESULT& result);
    virtual void OnPress(POINT) {}
    virtual void SetPageTexts(int language) { chrome_.SetPageTexts(language); }
    // After the page and its controls were laid out at a new DPI: what the page sizes itself.
    virtual void OnDpiChanged() {}

    // Has the main window take the page's place and show the target there, then hide the page.
    void NavigateTo(int target);

    PageChrome chrome_;
    DeviceUser device_;
};

}  // namespace quorelle::pages
