#pragma once

#include "pages/hifi_view_win32.h"
#include "pages/secondary_page_win32.h"
#include "pages/sound_menu.h"

namespace quorelle::pages {

// HIFI settings (dialog 176): master switch, equalizer and its sources, reverb and room. Loads
// the library and selects the analog output, reads the card's effects back, then builds every
// control from the settings file.
class CDlgHifi final : public SecondaryPage {
  public:
    CDlgHifi();
    // Re-reads the page from the settings file (after the main console switched the digital
    // output on and the master off).
    void RefreshFromSettings() { view_.RefreshFromSettings(); }

    const HifiView& View() const { return view_; }
    // The notification-area menu's sound choices: what the page shows of them, the sub-menu
    // for that in the stored language, and an item of it chosen against what the menu showed
    // (false for an id that is none of its).
    SoundSources ShownSources() const { return SoundSourcesOf(view_.Model()); }
    static SoundMenuItem SoundChoices(const SoundSources& shown);
    bool ChooseSound(const SoundSources& shown, int command) {
        return view_.ChooseSound(shown, command);
    }
    bool ChooseSound(int command) { return view_.ChooseSound(ShownSources(), command); }
    // A global key's sound action; the on-screen display's text, in the stored language.
    std::string RunHotKey(HotKeyAction action) { return view_.RunHotKey(action, StoredLanguage()); }

  protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnInitPage() override;
    void OnDpiChanged() override { view_.ShapePresetList(); }
    // The page's dispatch decides; with the master switch unlit it takes only the master.
    void PressAt(POINT logical) override { view_.OnLButtonDown(logical); }
    bool ClickDoesNothing(int controlId) const override;
    // Hit-tests first: a lamp that takes the press never moves the window.
    bool OnLeftButtonDown(POINT pressed, LRESULT& result) override;
    void SetPageTexts(int language) override;

  private:
    HifiView view_;
};

}  // namespace quorelle::pages
