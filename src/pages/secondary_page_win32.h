// The four secondary pages (HIFI, advance, information, headphone): owned pop-up windows that
// the main window creates hidden and shows in its own place. Each page hides itself with its
// close button and hands over to the main window with its navigation buttons.
#pragma once

#include "app/dialog_window_win32.h"
#include "pages/device_user.h"
#include "pages/page_chrome_win32.h"

namespace quorelle::pages {

class SecondaryPage : public DialogWindow {
  public:
    SecondaryPage(int pageIndex, int dialogId, int backgroundId)
        : DialogWindow(dialogId), chrome_(pageIndex, dialogId, backgroundId) {}

    int PageIndex() const { return chrome_.PageIndex(); }

  protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The page's own start-up, in its own order (device, skin, texts).
    virtual void OnInitPage() = 0;
    // The window drag comes first on these pages; then the press point (as pressed) is
    // offered to the page.
    virtual void OnPress(POINT) {}
    virtual void SetPageTexts(int language) { chrome_.SetPageTexts(language); }

    // Hides the page and has the main window take its place and show the target.
    void NavigateTo(int target);

    PageChrome chrome_;
    DeviceUser device_;
};

// HIFI settings (dialog 176): loads the library and selects the analog output before its skin.
class CDlgHifi final : public SecondaryPage {
  public:
    CDlgHifi();
    // Re-reads the page's switches from the settings file (after the main console switched the
    // digital output on). The page shows no settings of its own yet.
    void RefreshFromSettings() {}

  protected:
    void OnInitPage() override;
};

// Enhancement effects (dialog 196).
class CDlgAd final : public SecondaryPage {
  public:
    CDlgAd();

  protected:
    void OnInitPage() override;
};

// Headphone (dialog 192): its skin first, then the library.
class CDlgHp final : public SecondaryPage {
  public:
    CDlgHp();
    // Re-reads the page's switches from the settings file (after the main console switched the
    // digital output on). The page shows no settings of its own yet.
    void RefreshFromSettings() {}

  protected:
    void OnInitPage() override;
};

// Information (dialog 155): makes no device calls.
class CDlgInfo final : public SecondaryPage {
  public:
    CDlgInfo();

  protected:
    void OnInitPage() override;
};

}  // namespace quorelle::pages
