// The HIFI page model: the equalizer (equalizer.h), the reverb (reverb.h) and the user presets
// (user_presets.h) on one page, with
// the page-wide refresh from CPL.ini, the read-back from the card, the start-up order and the
// dispatch of presses on the page's lamps. Portable; the Win32 view (hifi_view_win32.h) feeds it
// the controls' positions and the mouse and renders its state into the controls of dialog 176.
#pragma once

#include <array>

#include "pages/equalizer.h"
#include "pages/hifi_common.h"
#include "pages/reverb.h"
#include "pages/user_presets.h"

namespace quorelle::pages {

// Where the lamps the page hit-tests are, in the page's client coordinates.
struct HifiHitAreas {
    Rect master;
    Rect room;
    Rect roomPicture;
    Rect tone;
    Rect region;
    std::array<Rect, kRegionStyleCount> regionLamps;
    Rect preset;
    std::array<Rect, kEqPresetCount> presetLamps;
    Rect equalizer;
    Rect environment;
};

class HifiPage {
  public:
    HifiPage() : equalizer_(device_), reverb_(device_), presets_(equalizer_) {}
    HifiPage(const HifiPage&) = delete;
    HifiPage& operator=(const HifiPage&) = delete;

    const EqualizerState& Eq() const { return equalizer_.State(); }
    const ReverbState& Rev() const { return reverb_.State(); }
    const UserPresetsState& Presets() const { return presets_.State(); }
    Equalizer& equalizer() { return equalizer_; }
    Reverb& reverb() { return reverb_; }
    UserEqPresets& presets() { return presets_; }
    // The four user-preset controls (list, name field, add, delete) take input.
    bool PresetControlsEnabled() const { return presetControlsEnabled_; }

    // Start-up, in this order: the read-back (only when the card was opened), the controls'
    // initial looks, the settings, the page's texts (the view's), the user presets (their list
    // at every start, the remembered one in mode 3).
    void ReadBackFromDevice();
    void SetupControls();
    void StartFromSettings();
    void StartPresetControls();

    // Lamps, knobs, sliders and the card's state, all from CPL.ini.
    void RefreshFromSettings();

    // A left-button press at p. True when the window drag and the default processing must
    // follow; false when a lamp took the press.
    bool OnLeftButtonDown(const HifiHitAreas& areas, Point p);
    // What a press on each of the page's lamps does (the press's own dispatch runs these, and
    // so does a choice in the notification-area menu). The master switch's answers true when
    // the window drag follows (the digital output keeps the master off).
    bool PressMaster();
    void PressSourceSwitch(int32_t mode);
    void PressEqualizerSwitch();
    void PressRegionLamp(int index) { equalizer_.ChooseRegionStyle(index); }
    void PressPresetLamp(int index) { equalizer_.ChooseEqPreset(index); }
    void PressEnvironmentSwitch() { reverb_.ToggleEnvironment(); }
    // After a knob moved (both positions handed in by the view).
    void OnKnobMoved();
    // After a band slider moved under the mouse (the ten positions handed in by the view).
    void OnBandsMoved();
    // The flat reset button: flat bands in mode 3, and no user preset shown in any mode.
    void OnResetEqualizer();
    // The user presets' list, add and delete (the name field handed in by the view). Add gives
    // the message to show when it refuses.
    void OnPresetChosen(std::optional<int> index);
    std::optional<PresetWarning> OnAddPreset() { return presets_.AddPreset(); }
    void OnDeletePreset() { presets_.DeletePreset(); }
    // The previous and next environment buttons.
    void OnPreviousEnvironment() { reverb_.StepEnvironment(-1); }
    void OnNextEnvironment() { reverb_.StepEnvironment(+1); }
    // The environment list in the stored language (after a language change).
    void ShowEnvironmentList();

  private:
    HifiDevice device_;
    Equalizer equalizer_;
    Reverb reverb_;
    UserEqPresets presets_;
    bool presetControlsEnabled_ = true;
};

}  // namespace quorelle::pages
