// The equalizer side of the HIFI page: the master switch, the ten-band equalizer and its four
// mutually exclusive sources (tone knobs, region styles, EQ presets, the user's own sliders),
// with their tables and the tone curve. Portable model: it holds what the page shows and sends
// the bands to the card; every choice is read from CPL.ini when it is needed. The page model
// (hifi_page.h) composes it with the reverb and the user presets.
#pragma once

#include <array>
#include <cstdint>

#include "pages/hifi_common.h"

namespace quorelle::pages {

inline constexpr int kBandCount = 10;
inline constexpr int kRegionStyleCount = 5;
inline constexpr int kEqPresetCount = 12;

// A band value lies in -20 .. 20 (0 is flat); a slider's position is the negated value.
inline constexpr int32_t kBandMin = -20;
inline constexpr int32_t kBandMax = 20;
// The tone knobs: scale 0 .. 52, dragged within 0 .. 40, 20 is flat.
inline constexpr int32_t kToneMin = 0;
inline constexpr int32_t kToneMax = 52;
inline constexpr int32_t kToneDragLimit = 40;
inline constexpr int32_t kToneFlat = 20;

// Ten band values in band order, 30 Hz first.
using BandCurve = std::array<int32_t, kBandCount>;

// The source of the ten bands, stored as InitialButtonOn.
enum EqSourceMode : int32_t {
    kModeNone = -1,
    kModeTone = 0,
    kModeRegionStyle = 1,
    kModeEqPreset = 2,
    kModeEqualizer = 3,
};

// The stored mode; a value outside -1 .. 3 counts as none.
int32_t StoredEqMode();

extern const std::array<BandCurve, kRegionStyleCount> kRegionStyles;
extern const std::array<BandCurve, kEqPresetCount> kEqPresets;

// Bass drives the four low bands, treble the three high ones, the middle stays flat; each band
// is the knob's distance from 20, kept within -20 .. 20.
BandCurve ToneCurve(int32_t bass, int32_t treble);

// Writes a curve's ten band keys ("eq_0" ... "eq_9") into a section of a settings file in one
// step (the file is replaced only when a value changed); false when the write failed.
bool WriteBandKeys(std::string_view file, std::string_view section, const BandCurve& bands);

int32_t ClampBand(int64_t value);
int32_t ClampTone(int64_t value);

struct EqualizerState {
    LampState master;
    LampState tone;
    LampState region;
    LampState preset;
    LampState equalizer;
    LampState definedEq;
    std::array<LampState, kRegionStyleCount> regionLamps;
    std::array<LampState, kEqPresetCount> presetLamps;
    int32_t treble = kToneFlat;
    int32_t bass = kToneFlat;
    std::array<int32_t, kBandCount> sliders{};  // positions, -20 .. 20
    bool operator==(const EqualizerState&) const = default;
};

class Equalizer {
  public:
    explicit Equalizer(HifiDevice& device) : device_(device) {}
    Equalizer(const Equalizer&) = delete;
    Equalizer& operator=(const Equalizer&) = delete;

    const EqualizerState& State() const { return state_; }

    // The knobs and sliders keep their own positions while the user moves them; the view hands
    // them in before an action that reads them. Positions are clamped into their ranges.
    void SetKnobPositions(int32_t treble, int32_t bass);
    void SetSliderPositions(const std::array<int32_t, kBandCount>& positions);
    // The sliders' band values (each the negated position), and the sliders set to a curve.
    BandCurve SliderBands() const;
    void ShowBands(const BandCurve& bands);

    // Initial looks: every lamp unlit, knobs at 20, sliders at 0.
    void SetupControls();

    void SetEqEnable(bool on);
    void ApplyEqBands(const BandCurve& bands);
    void ClearRegionLamps();
    void ClearPresetLamps();
    void ApplyRegionStyle(int32_t index);
    void ApplyEqPreset(int32_t index);
    void RefreshRegionStyle();
    void RefreshEqPreset();
    // Knobs and sliders from the keys; the sliders' curve goes to the card while the equalizer
    // switch is lit.
    void LoadEqualizer();

    // Parts of the page-wide refresh: everything dark and the equalizer disabled; the master
    // lamp lit with the region and preset sources; the tone and user sources (every master
    // value but 0).
    void ShowMasterOff();
    void ShowMasterOn();
    void RefreshToneAndEqualizer();

    // Master lamp toggled; true when it is now lit.
    bool ToggleMaster();
    // A tone, region or preset switch toggled: the mode key follows. True when it is now lit.
    bool ToggleSourceSwitch(int32_t mode);
    // The equalizer switch toggled: mode 3 and the defined-EQ lamp, or none.
    bool ToggleEqualizerSwitch();
    // A region or preset lamp clicked: chosen only while its switch is lit.
    void ChooseRegionStyle(int index);
    void ChooseEqPreset(int index);
    // After a knob moved: both positions into the keys, the tone curve to the card in mode 0.
    void RecordKnobs();
    // After a slider moved: the ten band keys, and the curve to the card in mode 3.
    void RecordBands();

    // Read-back, step one: the card's equalizer switch. On, it lights the stored mode's switch
    // and re-sends the region or preset curve; off, the mode becomes none. True when the
    // page-wide refresh must follow (mode 3 read back as on).
    // `keepChoices`: the page itself switched the card's effects off (master off or digital
    // output), so what the card holds is not the user's choice and nothing is stored.
    bool ReadBackSwitch(bool keepChoices);
    // Read-back, step two: all ten bands first; in mode 3 the ones that came back are stored,
    // then the sliders are loaded once.
    void ReadBackBands(bool keepChoices);

  private:
    LampState* SwitchOf(int32_t mode);

    HifiDevice& device_;
    EqualizerState state_;
};

}  // namespace quorelle::pages
