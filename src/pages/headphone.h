// The headphone page: virtual surround and the headphone amplifier's impedance choice, one lamp
// each. Portable page model: both switches live in "CPL.ini" (section "HP") and are read from
// the file at every refresh; surround goes to the card on every refresh, the impedance choice
// only when the user clicks its lamp, as one of the two amplifier settings the card supplied at
// start-up. While the digital output is on ("DigitalOutSr" = 1) surround is held off.
// The Win32 page (headphone_page_win32.h) renders State() into its lamps, picture and
// indicators.
#pragma once

#include <cstdint>
#include <optional>

#include "device/conflib.h"
#include "pages/device_user.h"
#include "pages/hit_area.h"

namespace quorelle::pages {

inline constexpr char16_t kSurroundProperty[] = u"Enable_ZODOZE_HPSPK_LFX";
inline constexpr char16_t kSurroundUseHpProperty[] = u"ZODOZE_HPSPK_USEHP";
inline constexpr char16_t kSurroundRoomSizeProperty[] = u"ZODOZE_HPSPK_ROOMSIZE";
inline constexpr char16_t kAmplifierProperty[] = u"HPAmplifierControl";

struct HeadphoneState {
    bool surround = false;       // surround lamp and picture
    bool highImpedance = false;  // choice 1: impedance lamp up, upper indicator lit; else lower
    bool operator==(const HeadphoneState&) const = default;
};

struct HeadphoneHitAreas {
    Rect surround;
    Rect impedance;
};

class HeadphonePage {
  public:
    HeadphonePage() = default;
    HeadphonePage(const HeadphonePage&) = delete;
    HeadphonePage& operator=(const HeadphonePage&) = delete;

    const HeadphoneState& State() const { return state_; }
    // The amplifier settings the card gave for choice 0 (A) and choice 1 (B); empty when the
    // card gave no usable number.
    std::optional<int32_t> SettingA() const { return settingA_; }
    std::optional<int32_t> SettingB() const { return settingB_; }

    // Page start-up after the device start: with a selected device the surround properties
    // are checked and the amplifier settings read; then the digital output's hold and a
    // refresh.
    void Start(HeadphoneStart device);
    // Both switches from the file onto the lamps; surround also to the card.
    void Refresh();
    // The press point of a left-button press (where it was pressed, also after a drag).
    void OnPress(const HeadphoneHitAreas& areas, Point pressed);
    void ToggleSurround();
    void ToggleImpedance();

  private:
    void CheckSurroundProperties();
    void ReadAmplifierSettings();
    bool DeviceCalls() const { return device_ != HeadphoneStart::Stopped; }

    HeadphoneStart device_ = HeadphoneStart::Stopped;
    HeadphoneState state_;
    std::optional<int32_t> settingA_;
    std::optional<int32_t> settingB_;
    device::PropertyBuffer writeData_;
    device::PropertyBuffer writeExtra_;
    device::PropertyBuffer readData_;
    device::PropertyBuffer readExtra_;
};

}  // namespace quorelle::pages
