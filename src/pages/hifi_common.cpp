#include "pages/hifi_common.h"

#include "device/selection.h"
#include "settings/settings.h"

namespace quorelle::pages {

std::string hifi_keys::BandKey(int band) {
    return "eq_" + std::to_string(band);
}

int ReadHifiInt(std::string_view key) {
    return ReadSettingInt(kCplIni, hifi_keys::kSection, key);
}

std::string ReadHifiText(std::string_view key) {
    return ReadSettingText(kCplIni, hifi_keys::kSection, key);
}

bool WriteHifiInt(std::string_view key, int value) {
    return WriteSettingInt(kCplIni, hifi_keys::kSection, key, value);
}

bool WriteHifiText(std::string_view key, std::string_view value) {
    return WriteSettingText(kCplIni, hifi_keys::kSection, key, value);
}

int ReadLanguage() {
    return ReadSettingInt(kCplIni, keys::kSectionCpl, "language");
}

bool DigitalOutputOn() {
    return ReadSettingInt(kCplIni, keys::kSectionCpl, keys::kDigitalOutSr) == 1;
}

void HifiDevice::Set(std::u16string_view property, int32_t value) {
    device::SetProperty32(device::theOutputDevice.device, property, value, set_);
}

std::optional<int32_t> HifiDevice::Get(std::u16string_view property) {
    const device::PropertyAnswer a =
        device::GetProperty(device::theOutputDevice.device, property, get_);
    if (!a.ok() || !a.answer.hasDigits) return std::nullopt;
    return a.value();
}

int32_t HifiDevice::Features() {
    return device::theOutputDevice.features;
}

}  // namespace quorelle::pages
