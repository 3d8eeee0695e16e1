// The HIFI page's controls on dialog 176: two tone knobs, ten band sliders, the lamps, the room
// picture, the environment panel and list, and the buttons of the equalizer and the environment.
// The view binds them by id, hands the page model (pages/hifi_page.h) the controls' positions
// and the presses, and renders the model's state into the controls, touching only what changed.
//
// How the page window (CDlgHifi) drives it, all on the user-interface thread:
//
//   WM_INITDIALOG      when the card was opened: view_.ReadBackFromDevice();
//                      after the page frame: view_.Attach(hwnd, chrome_);
//                      view_.StartFromSettings(); then the page's texts
//                      (view_.ShowEnvironmentList() among them), then view_.StartPresetControls();
//   WM_LBUTTONDOWN     if (view_.OnLButtonDown(point)) drag the window; else answer 0.
//   WM_HSCROLL         view_.OnHScroll(lParam), then the default processing.
//   SLIDER_MSG_TRACK   view_.OnSliderTrack(); answer 1.
//   SLIDER_MSG_COMMIT  if (view_.OnSliderCommit(wParam, lParam)) answer 1.
//   WM_COMMAND         view_.OnCommand(wParam) for the environment's previous and next
//                      buttons, the flat reset, the preset list's choice, add and delete.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "controls/control_ids.h"
#include "controls/button_win32.h"
#include "controls/combo_win32.h"
#include "controls/knob_win32.h"
#include "controls/lamp_win32.h"
#include "controls/slider_win32.h"
#include "pages/hifi_page.h"
#include "pages/hotkeys.h"
#include "pages/sound_menu.h"

namespace quorelle::pages {

class PageChrome;

// Control ids of dialog 176.
namespace hifi_ids = controls::ids::hifi;
static_assert(hifi_ids::kRegionLamps.size() == kRegionStyleCount &&
              hifi_ids::kPresetLamps.size() == kEqPresetCount &&
              hifi_ids::kBands.size() == kBandCount &&
              hifi_ids::kRoomLamps.size() == kRoomSizeCount);

class HifiView {
  public:
    // The preset list's closed face as tall as its image, its drop-down list as the template
    // gives it, at the page's DPI.
    void ShapePresetList();
    HifiView() = default;
    HifiView(const HifiView&) = delete;
    HifiView& operator=(const HifiView&) = delete;

    // Start-up.
    void ReadBackFromDevice() { model_.ReadBackFromDevice(); }
    // Binds the controls of `dialog`, gives them their images, ranges and initial looks.
    void Attach(HWND dialog, PageChrome& chrome);
    void StartFromSettings();
    void StartPresetControls();
    // The environment list in the stored language.
    void ShowEnvironmentList();

    // The page-wide refresh (the main console switched the digital output on).
    void RefreshFromSettings();

    // Messages of the page.
    bool OnLButtonDown(POINT client);
    bool OnHScroll(HWND control);
    void OnSliderTrack();
    // A band's commit (after a release or a key): recorded as a step when it brings a value the
    // page has not recorded yet.
    bool OnSliderCommit(WPARAM wParam, LPARAM lParam);
    bool OnCommand(WPARAM wParam);
    // An item of the notification-area menu's sound choices (pages/sound_menu.h), chosen whether
    // the page is shown or not, against what the menu showed; the controls then show its
    // effect. False for another id.
    bool ChooseSound(const SoundSources& shown, int command);
    bool ChooseSound(int command) { return ChooseSound(SoundSourcesOf(model_), command); }
    // A global key's sound action (pages/hotkeys.h), as the page's presses; the display's text.
    std::string RunHotKey(HotKeyAction action, int language);

    // The lamps' window rectangles in the page's client coordinates.
    HifiHitAreas CurrentHitAreas() const;

    const HifiPage& Model() const { return model_; }
    HifiPage& Model() { return model_; }
    const controls::CRoundSliderCtrl& Knob(int id) const {
        return id == hifi_ids::kBass ? bass_ : treble_;
    }
    const controls::CBitmapSlider& Band(int i) const { return bands_.at(size_t(i)); }
    // The lamp or picture bound to a control id; nullptr for other ids.
    const controls::CMyStaticBmp* Lamp(int id) const;

  private:
    struct Rendered {
        EqualizerState eq;
        ReverbState reverb;
        UserPresetsState presets;
        bool presetControls = true;
    };
    void ShowWarning(const PresetWarning& warning);
    // The knobs' and sliders' positions and the name field's text into the model.
    void TakeControlValues();
    // The model's state into the controls; everything on the first call, then what changed.
    void Render();

    HifiPage model_;
    HWND dialog_ = nullptr;
    PageChrome* chrome_ = nullptr;
    controls::CRoundSliderCtrl treble_;
    controls::CRoundSliderCtrl bass_;
    std::array<controls::CBitmapSlider, kBandCount> bands_;
    // every two-image lamp of the page (their ids and images are in the view's table)
    std::array<controls::CMyStaticBmp, 29> lamps_;
    controls::CMyStaticBmp roomPicture_;
    controls::CBitmapButton reset_;
    controls::CBitmapButton add_;
    controls::CBitmapButton delete_;
    controls::CBitmapButton previous_;
    controls::CBitmapButton next_;
    controls::CMyComboBox presetList_;
    controls::CMyComboBox presetName_;
    std::optional<Rendered> rendered_;
};

}  // namespace quorelle::pages
