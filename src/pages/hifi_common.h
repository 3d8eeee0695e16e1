// What the three parts of the HIFI page (equalizer, reverb, user presets) share: the settings
// keys of section "Hifi", their readers and writers, and the page's way to the card.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "device/conflib.h"
#include "pages/hit_area.h"
#include "pages/main_console.h"  // LampState
#include "pages/settings_keys.h"

namespace quorelle::pages {

namespace hifi_keys {
inline constexpr const char* kSection = keys::kSectionHifi;
inline constexpr const char* kIsDrySoundOn = keys::kIsDrySoundOn;
inline constexpr char kInitialButtonOn[] = "InitialButtonOn";
inline constexpr char kRegionStyle[] = "RegionStyle";
inline constexpr char kEqPreset[] = "EQPreset";
inline constexpr char kTreble[] = "Treble";
inline constexpr char kBass[] = "Bass";
inline constexpr char kCustomize[] = "Customize";
inline constexpr char kEnvEnable[] = "ENVEnable";
inline constexpr char kEnvironment[] = "Environment";
inline constexpr char kEnvDriver[] = "Envdriver";
inline constexpr char kRoomEnable[] = "RoomEnable";
inline constexpr char kRoomSize[] = "RoomSize";
inline constexpr char kCustomCount[] = "CustomCount";
inline constexpr char kCurrentCustom[] = "CurrentCustom";
// "eq_0" .. "eq_9"
std::string BandKey(int band);
}  // namespace hifi_keys

// Section "Hifi" of CPL.ini: integers read with -1 for a missing key, written as "%d".
int ReadHifiInt(std::string_view key);
std::string ReadHifiText(std::string_view key);
bool WriteHifiInt(std::string_view key, int value);
bool WriteHifiText(std::string_view key, std::string_view value);
// Section "CPL": the interface language and the digital output switch.
int ReadLanguage();
bool DigitalOutputOn();

// The HIFI page's calls to the card: one set buffer and one get buffer, every call addressed to
// theOutputDevice.
class HifiDevice {
  public:
    HifiDevice() = default;
    HifiDevice(const HifiDevice&) = delete;
    HifiDevice& operator=(const HifiDevice&) = delete;

    // Set results are not looked at: the page shows what it asked for.
    void Set(std::u16string_view property, int32_t value);
    // The answer, or nothing when the call failed or the answer holds no usable number (no
    // digits, or too large for 32 bits).
    std::optional<int32_t> Get(std::u16string_view property);
    // The selected output device's feature bits.
    static int32_t Features();

  private:
    device::PropertyBuffer set_;
    device::PropertyBuffer get_;
};

}  // namespace quorelle::pages
