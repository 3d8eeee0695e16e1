#include "pages/headphone.h"

#include "device/selection.h"
#include "pages/settings_keys.h"
#include "settings/settings.h"

namespace quorelle::pages {

namespace {

// Indices of HPAmplifierControl: 0 probes the property and takes the chosen setting, 1 and 2
// give settings A and B.
constexpr int32_t kAmplifierProbe = 0;
constexpr int32_t kAmplifierA = 1;
constexpr int32_t kAmplifierB = 2;

const device::DeviceDescriptor& OutputDevice() {
    return device::theOutputDevice.device;
}

bool KeyIsOne(const char* section, const char* key) {
    return ReadSettingInt(kCplIni, section, key) == 1;
}

bool DigitalOutputOn() {
    return KeyIsOne(keys::kSectionCpl, keys::kDigitalOutSr);
}

void WriteSurround(bool on) {
    WriteSettingText(kCplIni, keys::kSectionHp, keys::kSurroundMax, on ? "1" : "0");
}

// An amplifier setting is only taken from a get that succeeded with a number that fits.
std::optional<int32_t> Setting(const device::PropertyAnswer& answer) {
    if (!answer.ok() || !answer.answer.hasDigits) return std::nullopt;
    return answer.value();
}

}  // namespace

void HeadphonePage::Start(HeadphoneStart device) {
    device_ = device;
    if (device_ == HeadphoneStart::Selected) {
        CheckSurroundProperties();
        ReadAmplifierSettings();
    }
    if (DigitalOutputOn()) WriteSurround(false);
    Refresh();
}

void HeadphonePage::CheckSurroundProperties() {
    const auto& device = OutputDevice();
    for (const char16_t* property :
         {kSurroundProperty, kSurroundUseHpProperty, kSurroundRoomSizeProperty}) {
        readExtra_.Zero();
        if (device::GetProperty(device, property, readData_, &readExtra_).status != 0)
            device::SetProperty32(device, property, 0, writeData_);
    }
    readExtra_.Put32(kAmplifierProbe);
    if (device::GetProperty(device, kAmplifierProperty, readData_, &readExtra_).status != 0) {
        writeExtra_.Put32(kAmplifierProbe);
        device::SetProperty32(device, kAmplifierProperty, 0, writeData_, &writeExtra_);
    }
}

void HeadphonePage::ReadAmplifierSettings() {
    const auto& device = OutputDevice();
    readExtra_.Put32(kAmplifierProbe);
    if (device::GetProperty(device, kAmplifierProperty, readData_, &readExtra_).status != 0) return;
    readExtra_.Put32(kAmplifierA);
    settingA_ = Setting(device::GetProperty(device, kAmplifierProperty, readData_, &readExtra_));
    readExtra_.Put32(kAmplifierB);
    settingB_ = Setting(device::GetProperty(device, kAmplifierProperty, readData_, &readExtra_));
}

void HeadphonePage::Refresh() {
    state_.surround = KeyIsOne(keys::kSectionHp, keys::kSurroundMax);
    if (DeviceCalls())
        device::SetProperty32(OutputDevice(), kSurroundProperty, state_.surround ? 1 : 0,
                              writeData_);
    state_.highImpedance = KeyIsOne(keys::kSectionHp, keys::kLowOrHighZ);
}

void HeadphonePage::OnPress(const HeadphoneHitAreas& areas, Point pressed) {
    if (areas.surround.Contains(pressed)) ToggleSurround();
    if (areas.impedance.Contains(pressed)) ToggleImpedance();
}

void HeadphonePage::ToggleSurround() {
    // while the digital output is on, a press only confirms surround off
    WriteSurround(!DigitalOutputOn() && !KeyIsOne(keys::kSectionHp, keys::kSurroundMax));
    Refresh();
}

void HeadphonePage::ToggleImpedance() {
    const bool high = !KeyIsOne(keys::kSectionHp, keys::kLowOrHighZ);
    WriteSettingText(kCplIni, keys::kSectionHp, keys::kLowOrHighZ, high ? "1" : "0");
    // the card gets the setting of the choice the file holds now, so that a failed write leaves
    // lamp, file and card in agreement
    const std::optional<int32_t> setting =
        KeyIsOne(keys::kSectionHp, keys::kLowOrHighZ) ? settingB_ : settingA_;
    if (DeviceCalls() && setting) {
        writeExtra_.Put32(kAmplifierProbe);
        device::SetProperty32(OutputDevice(), kAmplifierProperty, *setting, writeData_,
                              &writeExtra_);
    }
    Refresh();
}

}  // namespace quorelle::pages
