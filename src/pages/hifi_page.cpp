#include "pages/hifi_page.h"

namespace quorelle::pages {

void HifiPage::ReadBackFromDevice() {
    // With the master off or the digital output on, the card's effects are off because this
    // page switched them off: what the card then holds is not the user's choice.
    const bool keepChoices = ReadHifiInt(hifi_keys::kIsDrySoundOn) == 0 || DigitalOutputOn();
    if (equalizer_.ReadBackSwitch(keepChoices)) RefreshFromSettings();
    equalizer_.ReadBackBands(keepChoices);
    reverb_.ReadBack(keepChoices);
}

void HifiPage::SetupControls() {
    equalizer_.SetupControls();
    reverb_.SetupControls();
}

void HifiPage::StartFromSettings() {
    if (DigitalOutputOn()) WriteHifiInt(hifi_keys::kIsDrySoundOn, 0);
    RefreshFromSettings();
    equalizer_.LoadEqualizer();
}

void HifiPage::StartPresetControls() {
    // loaded whatever the mode: enabled controls always hold every stored preset, so that an
    // addition never takes the place of a stored name
    presets_.LoadPresetList();
    const int mode = ReadHifiInt(hifi_keys::kInitialButtonOn);
    if (mode == kModeTone || mode == kModeRegionStyle || mode == kModeEqPreset)
        presetControlsEnabled_ = false;
    if (mode == kModeEqualizer) presets_.RestoreCurrentPreset();
}

void HifiPage::RefreshFromSettings() {
    const int master = ReadHifiInt(hifi_keys::kIsDrySoundOn);
    if (master == 0) {
        equalizer_.ShowMasterOff();
        // the sliders went back to section Hifi; while a user preset is shown, the card keeps
        // its curve for when the master comes on again, and so do the sliders
        presets_.ShowSelectedPreset();
        reverb_.ShowMasterOff();
        return;
    }
    if (master == 1) {
        equalizer_.ShowMasterOn();
        reverb_.RefreshRoom();
        reverb_.RefreshEnvironment();
    }
    equalizer_.RefreshToneAndEqualizer();
}

bool HifiPage::OnLeftButtonDown(const HifiHitAreas& areas, Point p) {
    if (areas.master.Contains(p)) return PressMaster();
    if (!Eq().master.lit) return true;
    if (areas.room.Contains(p)) {
        reverb_.ToggleRoom();
        return false;
    }
    if (areas.roomPicture.Contains(p)) {
        if (!Rev().room.lit) return false;
        reverb_.ChooseRoomSize(areas.roomPicture, p);  // then the remaining tests
    }
    if (areas.tone.Contains(p)) {
        PressSourceSwitch(kModeTone);
        return false;
    }
    if (areas.region.Contains(p)) {
        PressSourceSwitch(kModeRegionStyle);
        return false;
    }
    for (int i = 0; i < kRegionStyleCount; ++i) {
        if (!areas.regionLamps[i].Contains(p)) continue;
        PressRegionLamp(i);
        return false;
    }
    if (areas.preset.Contains(p)) {
        PressSourceSwitch(kModeEqPreset);
        return false;
    }
    for (int i = 0; i < kEqPresetCount; ++i) {
        if (!areas.presetLamps[i].Contains(p)) continue;
        PressPresetLamp(i);
        return false;
    }
    if (areas.equalizer.Contains(p)) {
        PressEqualizerSwitch();
        return false;
    }
    if (areas.environment.Contains(p)) PressEnvironmentSwitch();  // and the drag
    return true;
}

bool HifiPage::PressMaster() {
    if (DigitalOutputOn()) {
        WriteHifiInt(hifi_keys::kIsDrySoundOn, 0);
        RefreshFromSettings();
        return true;
    }
    WriteHifiInt(hifi_keys::kIsDrySoundOn, equalizer_.ToggleMaster() ? 1 : 0);
    RefreshFromSettings();
    return false;
}

void HifiPage::PressSourceSwitch(int32_t mode) {
    const bool lit = equalizer_.ToggleSourceSwitch(mode);
    if (lit) presetControlsEnabled_ = false;
    RefreshFromSettings();
    equalizer_.SetEqEnable(lit);
}

void HifiPage::PressEqualizerSwitch() {
    const bool lit = equalizer_.ToggleEqualizerSwitch();
    if (lit) {
        presetControlsEnabled_ = true;
        presets_.LoadPresetList();
        if (ReadHifiInt(hifi_keys::kCustomize) == 0)
            equalizer_.LoadEqualizer();
        else
            presets_.RestoreCurrentPreset();
    }
    RefreshFromSettings();
    equalizer_.SetEqEnable(lit);
}

void HifiPage::OnKnobMoved() {
    equalizer_.RecordKnobs();
}

void HifiPage::OnBandsMoved() {
    equalizer_.RecordBands();
    // a moved band is no user preset any more
    if (ReadHifiInt(hifi_keys::kCustomize) != 0) {
        presets_.ClearSelection();
        WriteHifiInt(hifi_keys::kCustomize, 0);
    }
}

void HifiPage::OnResetEqualizer() {
    if (Eq().equalizer.lit) {
        equalizer_.ShowBands({});
        for (int i = 0; i < kBandCount; ++i) WriteHifiInt(hifi_keys::BandKey(i), 0);
        OnBandsMoved();
    }
    WriteHifiInt(hifi_keys::kCustomize, 0);
    presets_.ClearSelection();
}

void HifiPage::OnPresetChosen(std::optional<int> index) {
    presets_.Select(index);
    presets_.SelectPreset();
}

void HifiPage::ShowEnvironmentList() {
    reverb_.ShowEnvironmentList(ReadHifiInt(hifi_keys::kEnvironment));
}

}  // namespace quorelle::pages
