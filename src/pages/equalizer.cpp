#include "pages/equalizer.h"

#include <algorithm>

#include "device/selection.h"
#include "settings/settings.h"

namespace quorelle::pages {

namespace {

constexpr char16_t kEnableEq[] = u"Enable_EQ_GFX";
constexpr std::array<std::u16string_view, kBandCount> kBandProperties = {
    u"EQ_Slider1", u"EQ_Slider2", u"EQ_Slider3", u"EQ_Slider4", u"EQ_Slider5",
    u"EQ_Slider6", u"EQ_Slider7", u"EQ_Slider8", u"EQ_Slider9", u"EQ_Slider10"};

// The bass knob drives bands 0 .. 3, the treble knob bands 7 .. 9.
constexpr int kLastBassBand = 3;
constexpr int kFirstTrebleBand = 7;

template <size_t N>
void Unlight(std::array<LampState, N>& lamps) {
    for (LampState& lamp : lamps) lamp.lit = false;
}

}  // namespace

// 30 60 120 250 500 1K 2K 4K 8K 16K
const std::array<BandCurve, kRegionStyleCount> kRegionStyles = {{
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},       // Pure Monitor
    {7, 4, 1, 0, 0, -3, -5, -5, -1, -1},  // USA Style
    {-3, 0, 2, 4, 5, 4, 2, 1, 1, 0},      // England
    {-4, 3, 0, 4, -4, 5, -1, 7, 4, 1},    // Japan Style
    {0, 4, -1, -3, -6, -4, 0, 5, 2, -3},  // Germany
}};

const std::array<BandCurve, kEqPresetCount> kEqPresets = {{
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},             // Default
    {11, 7, 3, 0, 0, -6, -10, -10, -2, -2},     // Bass
    {-10, -11, -12, -6, 2, 8, 13, 13, 11, 14},  // Treble
    {-6, 0, 4, 8, 9, 9, 5, 3, 2, 1},            // Live
    {6, 3, -8, -12, -4, 3, 8, 10, 10, 7},       // Rock
    {5, 5, 2, -2, -8, -12, -4, 0, 7, 9},        // Soft Rock
    {5, 2, 0, -10, -5, 0, 6, 12, 11, 10},       // Dance
    {-8, 6, 0, 8, -8, 10, -2, 13, 8, 1},        // Jazz
    {12, 7, -3, 4, 13, 8, 3, -3, 8, 12},        // Metal
    {-13, -9, -4, 2, 8, 12, 2, -11, -2, 8},     // Rap
    {0, 7, -1, -7, -12, -8, 0, 10, 4, -5},      // Classic
    {-13, -8, 0, 6, 14, 4, -4, -7, -8, -10},    // Vocal
}};

int32_t StoredEqMode() {
    const int mode = ReadHifiInt(hifi_keys::kInitialButtonOn);
    return mode >= kModeNone && mode <= kModeEqualizer ? mode : kModeNone;
}

int32_t ClampBand(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, kBandMin, kBandMax));
}

int32_t ClampTone(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, kToneMin, kToneMax));
}

bool WriteBandKeys(std::string_view file, std::string_view section, const BandCurve& bands) {
    std::array<std::string, kBandCount> keys, values;
    std::array<SettingText, kBandCount> entries;
    for (int i = 0; i < kBandCount; ++i) {
        keys[i] = hifi_keys::BandKey(i);
        values[i] = std::to_string(bands[i]);
        entries[i] = {keys[i], values[i]};
    }
    return WriteSettingTexts(file, section, std::span<const SettingText>(entries));
}

BandCurve ToneCurve(int32_t bass, int32_t treble) {
    BandCurve curve{};
    for (int i = 0; i < kBandCount; ++i) {
        if (i <= kLastBassBand)
            curve[i] = ClampBand(int64_t{bass} - kToneFlat);
        else if (i >= kFirstTrebleBand)
            curve[i] = ClampBand(int64_t{treble} - kToneFlat);
    }
    return curve;
}

void Equalizer::SetKnobPositions(int32_t treble, int32_t bass) {
    state_.treble = ClampTone(treble);
    state_.bass = ClampTone(bass);
}

void Equalizer::SetSliderPositions(const std::array<int32_t, kBandCount>& positions) {
    for (int i = 0; i < kBandCount; ++i) state_.sliders[i] = ClampBand(positions[i]);
}

BandCurve Equalizer::SliderBands() const {
    BandCurve bands{};
    for (int i = 0; i < kBandCount; ++i) bands[i] = -state_.sliders[i];
    return bands;
}

void Equalizer::ShowBands(const BandCurve& bands) {
    for (int i = 0; i < kBandCount; ++i) state_.sliders[i] = -ClampBand(bands[i]);
}

void Equalizer::SetupControls() {
    state_ = EqualizerState{};
}

void Equalizer::SetEqEnable(bool on) {
    device_.Set(kEnableEq, on ? 1 : 0);
}

void Equalizer::ApplyEqBands(const BandCurve& bands) {
    for (int i = 0; i < kBandCount; ++i) device_.Set(kBandProperties[i], ClampBand(bands[i]));
}

void Equalizer::ClearRegionLamps() {
    Unlight(state_.regionLamps);
}

void Equalizer::ClearPresetLamps() {
    Unlight(state_.presetLamps);
}

void Equalizer::ApplyRegionStyle(int32_t index) {
    ClearRegionLamps();
    if (!state_.region.lit || index < 0 || index >= kRegionStyleCount) return;
    state_.regionLamps[index].lit = true;
    ApplyEqBands(kRegionStyles[index]);
}

void Equalizer::ApplyEqPreset(int32_t index) {
    ClearPresetLamps();
    if (!state_.preset.lit || index < 0 || index >= kEqPresetCount) return;
    state_.presetLamps[index].lit = true;
    ApplyEqBands(kEqPresets[index]);
}

void Equalizer::RefreshRegionStyle() {
    state_.region.lit = StoredEqMode() == kModeRegionStyle;
    if (state_.region.lit) SetEqEnable(true);
    ApplyRegionStyle(ReadHifiInt(hifi_keys::kRegionStyle));
}

void Equalizer::RefreshEqPreset() {
    state_.preset.lit = StoredEqMode() == kModeEqPreset;
    if (state_.preset.lit) SetEqEnable(true);
    ApplyEqPreset(ReadHifiInt(hifi_keys::kEqPreset));
}

void Equalizer::LoadEqualizer() {
    state_.treble = ClampTone(ReadHifiInt(hifi_keys::kTreble));
    state_.bass = ClampTone(ReadHifiInt(hifi_keys::kBass));
    for (int i = 0; i < kBandCount; ++i)
        state_.sliders[i] = -ClampBand(ReadHifiInt(hifi_keys::BandKey(i)));
    if (state_.equalizer.lit) ApplyEqBands(SliderBands());
}

void Equalizer::ShowMasterOff() {
    state_.master.lit = false;
    SetEqEnable(false);
    state_.tone.lit = false;
    state_.region.lit = false;
    ClearRegionLamps();
    state_.preset.lit = false;
    ClearPresetLamps();
    state_.equalizer.lit = false;
    LoadEqualizer();  // knobs and sliders; sends nothing, the equalizer switch being unlit
    state_.definedEq.lit = false;
}

void Equalizer::ShowMasterOn() {
    state_.master.lit = true;
    if (StoredEqMode() != kModeNone) SetEqEnable(true);
    RefreshRegionStyle();
    RefreshEqPreset();
}

void Equalizer::RefreshToneAndEqualizer() {
    const int32_t mode = StoredEqMode();
    if (mode == kModeNone) SetEqEnable(false);
    // the mode names one source: a region or preset switch lit before stays lit only in its mode
    // (with a master key other than 0 and 1 the refresh does not re-derive them otherwise)
    if (mode != kModeRegionStyle && state_.region.lit) {
        state_.region.lit = false;
        ClearRegionLamps();
    }
    if (mode != kModeEqPreset && state_.preset.lit) {
        state_.preset.lit = false;
        ClearPresetLamps();
    }
    state_.tone.lit = mode == kModeTone;
    state_.treble = ClampTone(ReadHifiInt(hifi_keys::kTreble));
    state_.bass = ClampTone(ReadHifiInt(hifi_keys::kBass));
    if (mode == kModeTone) {
        SetEqEnable(true);
        ApplyEqBands(ToneCurve(state_.bass, state_.treble));
    }
    state_.equalizer.lit = mode == kModeEqualizer;
    state_.definedEq.lit = state_.equalizer.lit;
    if (mode == kModeEqualizer) SetEqEnable(true);
}

bool Equalizer::ToggleMaster() {
    state_.master.lit = !state_.master.lit;
    return state_.master.lit;
}

LampState* Equalizer::SwitchOf(int32_t mode) {
    switch (mode) {
        case kModeTone:
            return &state_.tone;
        case kModeRegionStyle:
            return &state_.region;
        case kModeEqPreset:
            return &state_.preset;
        case kModeEqualizer:
            return &state_.equalizer;
        default:
            return nullptr;
    }
}

bool Equalizer::ToggleSourceSwitch(int32_t mode) {
    LampState* lamp = SwitchOf(mode);
    if (lamp == nullptr) return false;
    WriteHifiInt(hifi_keys::kInitialButtonOn, lamp->lit ? kModeNone : mode);
    // the switch shows what the file holds, also when the file refused the write
    lamp->lit = StoredEqMode() == mode;
    return lamp->lit;
}

bool Equalizer::ToggleEqualizerSwitch() {
    const bool lit = ToggleSourceSwitch(kModeEqualizer);
    state_.definedEq.lit = lit;
    return lit;
}

void Equalizer::ChooseRegionStyle(int index) {
    if (!state_.region.lit) return;
    WriteHifiInt(hifi_keys::kRegionStyle, index);
    RefreshRegionStyle();
}

void Equalizer::ChooseEqPreset(int index) {
    if (!state_.preset.lit) return;
    WriteHifiInt(hifi_keys::kEqPreset, index);
    RefreshEqPreset();
}

void Equalizer::RecordKnobs() {
    WriteHifiInt(hifi_keys::kTreble, state_.treble);
    WriteHifiInt(hifi_keys::kBass, state_.bass);
    if (state_.tone.lit) ApplyEqBands(ToneCurve(state_.bass, state_.treble));
}

void Equalizer::RecordBands() {
    const BandCurve bands = SliderBands();
    // the card hears the new curve first; the file follows in the same step
    if (state_.equalizer.lit) ApplyEqBands(bands);
    // one write for the ten keys; the file is replaced only when one of them changed (a drag
    // step changes one)
    WriteBandKeys(kCplIni, hifi_keys::kSection, bands);
}

bool Equalizer::ReadBackSwitch(bool keepChoices) {
    const std::optional<int32_t> on = device_.Get(kEnableEq);
    if (keepChoices || (HifiDevice::Features() & device::kFeatureEqualizerReadBack) == 0 || !on)
        return false;
    if (*on != 1) {
        WriteHifiInt(hifi_keys::kInitialButtonOn, kModeNone);
        state_.tone.lit = state_.region.lit = state_.preset.lit = state_.equalizer.lit = false;
        return false;
    }
    const int32_t mode = StoredEqMode();
    LampState* lamp = SwitchOf(mode);
    if (lamp == nullptr) return false;
    lamp->lit = true;
    WriteHifiInt(hifi_keys::kInitialButtonOn, mode);
    if (mode == kModeRegionStyle) RefreshRegionStyle();
    if (mode == kModeEqPreset) RefreshEqPreset();
    return mode == kModeEqualizer;
}

void Equalizer::ReadBackBands(bool keepChoices) {
    std::array<std::optional<int32_t>, kBandCount> answers;
    for (int i = 0; i < kBandCount; ++i) answers[i] = device_.Get(kBandProperties[i]);
    if (keepChoices || StoredEqMode() != kModeEqualizer) return;
    bool any = false;
    for (int i = 0; i < kBandCount; ++i) {
        if (!answers[i]) continue;
        // a band beyond the sliders' range is stored as the slider shows it
        WriteHifiInt(hifi_keys::BandKey(i), ClampBand(*answers[i]));
        any = true;
    }
    if (any) LoadEqualizer();
}

}  // namespace quorelle::pages
