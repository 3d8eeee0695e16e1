#include "pages/main_console.h"

#include <algorithm>
#include <cmath>

#include "device/selection.h"
#include "settings/settings.h"

namespace quorelle::pages {

namespace {

using device::GetProperty;
using device::PropertyAnswer;
using device::SetProperty16;
using device::SetProperty32;

constexpr char16_t kDevChannelNumControl[] = u"DevChannelNumControl";
constexpr char16_t kEnableChannelCopyLfx[] = u"Enable_Channel_COPY_LFX";
constexpr char16_t kDevSampleRateControl[] = u"DevSampleRateControl";
constexpr char16_t kDevBitDepthControl[] = u"DevBitDepthControl";
constexpr char16_t kDeviceSpecificControl[] = u"DeviceSpecificControl";
constexpr char16_t kIsSupportFormat[] = u"IsSupportFormat";
constexpr char16_t kDefaultDeviceControl[] = u"DefaultDeviceControl";

// Selectors of DeviceSpecificControl: 0 probes the property, 1 and 2 give the route codes.
constexpr int32_t kSelectorProbe = 0;
constexpr int32_t kSelectorSpeaker = 1;
constexpr int32_t kSelectorHeadphone = 2;

// Sample width of the format record IsSupportFormat is asked with.
constexpr uint16_t kProbeSampleWidth = 16;

// Levels written by the page come back from the endpoint as floats a hair below the exact
// quotient (21 / 50 reads as 0.41999998...). Knob and balance are read with this much slack
// before truncating, so that reading back what the page wrote gives the same knob and balance
// instead of one less.
constexpr double kReadSlack = 1e-3;

float Level(float level) {
    if (!std::isfinite(level)) return 0.0f;
    return std::clamp(level, 0.0f, 1.0f);
}

int32_t Truncate(double value) {
    return static_cast<int32_t>(value + kReadSlack);
}

const device::DeviceDescriptor& OutputDevice() {
    return device::theOutputDevice.device;
}

}  // namespace

std::optional<int> SampleRateZone(const Rect& picture, Point p) {
    if (!picture.Contains(p)) return std::nullopt;
    const int32_t mid = picture.left + (picture.right - picture.left) / 2;
    const int32_t third = (picture.bottom - picture.top) / 3;
    const int32_t y1 = picture.top + third;
    const int32_t y2 = y1 + third;
    const int row = p.y < y1 ? 0 : (p.y < y2 ? 1 : 2);  // top, middle, bottom
    // left column bottom to top: 44.1, 48, 88.2; right column top to bottom: 96, 176.4, 192
    if (p.x < mid) return 2 - row;
    return 3 + row;
}

VolumeReading VolumeFromLevels(float left, float right) {
    const double l = Level(left);
    const double r = Level(right);
    VolumeReading reading;
    double m = r;
    if (l > r) {
        reading.balance = Truncate(r / l * 50.0);
        m = l;
    } else if (r > l) {
        reading.balance = Truncate(100.0 - l / r * 50.0);
        m = r;
    }
    reading.knob = std::clamp(Truncate(m * 50.0), kKnobMin, kKnobMax);
    reading.balance = std::clamp(reading.balance, kBalanceMin, kBalanceMax);
    return reading;
}

ChannelLevels LevelsFromKnob(int32_t knob, int32_t balance) {
    const float v = static_cast<float>(knob);
    const float b = static_cast<float>(balance);
    ChannelLevels levels;
    if (balance <= kBalanceCentre) {
        levels.left = v / 50.0f;
        levels.right = v * (b / 50.0f) / 50.0f;
    } else {
        levels.right = v / 50.0f;
        levels.left = v * ((100.0f - b) / 50.0f) / 50.0f;
        levels.rightFirst = true;
    }
    // knob positions above the drag limit (set from outside) must not ask for more than full
    levels.left = Level(levels.left);
    levels.right = Level(levels.right);
    return levels;
}

MainConsole::MainConsole(device::EndpointControl& endpoint, PageRefresh& pages)
    : endpoint_(endpoint), pages_(pages) {}

void MainConsole::SetupMainControls() {
    state_ = MainConsoleState{};
    state_.knobPosition = kKnobStart;
    state_.balance = kBalanceCentre;
    state_.mute.lit = true;
    ShowRate(0);
    state_.headphoneLamp.lit = false;
    state_.speakerLamp.lit = true;
    state_.outputPicture.lit = false;
    state_.digitalOutput.lit = false;
    ShowDepth(16);
}

void MainConsole::ApplyChannelLevels() {
    const ChannelLevels levels = LevelsFromKnob(state_.knobPosition, state_.balance);
    if (levels.rightFirst) {
        endpoint_.SetChannelLevel(1, levels.right);
        endpoint_.SetChannelLevel(0, levels.left);
    } else {
        endpoint_.SetChannelLevel(0, levels.left);
        endpoint_.SetChannelLevel(1, levels.right);
    }
}

void MainConsole::RefreshVolumeFromEndpoint() {
    const float left = endpoint_.GetChannelLevel(0);
    const float right = endpoint_.GetChannelLevel(1);
    const VolumeReading reading = VolumeFromLevels(left, right);
    state_.knobPosition = reading.knob;
    state_.balance = reading.balance;
}

void MainConsole::RefreshMuteFromEndpoint() {
    state_.mute.lit = endpoint_.GetEndpointMute();
}

void MainConsole::ResetBalance() {
    const float louder =
        std::max(Level(endpoint_.GetChannelLevel(0)), Level(endpoint_.GetChannelLevel(1)));
    state_.balance = kBalanceCentre;
    endpoint_.SetChannelLevel(0, louder);
    endpoint_.SetChannelLevel(1, louder);
}

void MainConsole::ApplyOutputRoute() {
    const bool headphone = ReadSettingInt(kCplIni, keys::kSectionCpl, keys::kHeadPhone) == 1;
    state_.headphoneLamp.lit = headphone;
    state_.speakerLamp.lit = !headphone;
    state_.outputPicture.lit = headphone;
    writeExtra_.Put32(0);
    SetProperty32(OutputDevice(), kDeviceSpecificControl,
                  headphone ? state_.headphoneRouteCode : state_.speakerRouteCode, writeData_,
                  &writeExtra_);
}

void MainConsole::ApplyDeviceDefaults() {
    const auto& device = OutputDevice();
    if (GetProperty(device, kDevChannelNumControl, readData_).status != 0)
        SetProperty16(device, kDevChannelNumControl, 2, writeData_);
    if (GetProperty(device, kEnableChannelCopyLfx, readData_).status != 0)
        SetProperty32(device, kEnableChannelCopyLfx, 0, writeData_);
    if (GetProperty(device, kDevSampleRateControl, readData_).status != 0)
        SetProperty32(device, kDevSampleRateControl, 44100, writeData_);
    if (GetProperty(device, kDevBitDepthControl, readData_).status != 0)
        SetProperty16(device, kDevBitDepthControl, 16, writeData_);
    readExtra_.Put32(kSelectorProbe);
    if (GetProperty(device, kDeviceSpecificControl, readData_, &readExtra_).status != 0) {
        writeExtra_.Put32(0);
        SetProperty32(device, kDeviceSpecificControl, 0, writeData_, &writeExtra_);
    }
}

void MainConsole::ReadDeviceState() {
    const auto& device = OutputDevice();

    const PropertyAnswer channels = GetProperty(device, kDevChannelNumControl, readData_);
    const int32_t channelCount = channels.ok() ? channels.value() : 0;

    for (int i = 0; i < kRateCount; ++i) {
        readExtra_.PutFormat(static_cast<uint16_t>(channelCount), kProbeSampleWidth,
                             static_cast<uint32_t>(kSampleRates[i]));
        const PropertyAnswer support =
            GetProperty(device, kIsSupportFormat, readData_, &readExtra_);
        if (support.status != 0) continue;  // unknown: the lamp stays as it is
        state_.rateLamps[i].enabled = support.ok() && support.value() == 1;
    }

    const PropertyAnswer rate = GetProperty(device, kDevSampleRateControl, readData_);
    if (rate.ok()) {
        const auto* found = std::find(kSampleRates.begin(), kSampleRates.end(), rate.value());
        if (found != kSampleRates.end()) ShowRate(static_cast<int>(found - kSampleRates.begin()));
    }

    const PropertyAnswer depth = GetProperty(device, kDevBitDepthControl, readData_);
    if (depth.status == 0) ShowDepth(depth.ok() ? depth.value() : 0);

    readExtra_.Put32(kSelectorProbe);
    if (GetProperty(device, kDeviceSpecificControl, readData_, &readExtra_).status != 0) return;
    // A code is only taken from an answer the device gave; a failed read keeps the last one.
    readExtra_.Put32(kSelectorSpeaker);
    const PropertyAnswer speaker =
        GetProperty(device, kDeviceSpecificControl, readData_, &readExtra_);
    if (speaker.ok()) state_.speakerRouteCode = speaker.value();
    readExtra_.Put32(kSelectorHeadphone);
    const PropertyAnswer headphone =
        GetProperty(device, kDeviceSpecificControl, readData_, &readExtra_);
    if (headphone.ok()) state_.headphoneRouteCode = headphone.value();
}

bool MainConsole::OnLeftButtonDown(const HitAreas& areas, Point p) {
    if (areas.mute.Contains(p)) {
        ToggleMute();
        return false;
    }
    if (areas.outputPicture.Contains(p)) ToggleOutputRoute();
    if (const auto rate = SampleRateZone(areas.sampleRatePicture, p)) ChooseSampleRate(*rate);
    if (areas.digitalOutput.Contains(p)) ToggleDigitalOutput();
    for (int i = 0; i < kDepthCount; ++i)
        if (areas.depthLamps[i].Contains(p)) ChooseBitDepth(i);
    return true;
}

void MainConsole::ToggleMute() {
    state_.mute.lit = !state_.mute.lit;
    endpoint_.SetEndpointMute(state_.mute.lit);
}

void MainConsole::ToggleOutputRoute() {
    state_.outputPicture.lit = !state_.outputPicture.lit;
    WriteSettingText(kCplIni, keys::kSectionCpl, keys::kHeadPhone,
                     state_.outputPicture.lit ? "1" : "0");
    ApplyOutputRoute();
}

void MainConsole::ChooseSampleRate(int rateIndex) {
    if (rateIndex < 0 || rateIndex >= kRateCount) return;
    ShowRate(rateIndex);
    SetProperty32(OutputDevice(), kDevSampleRateControl, kSampleRates[rateIndex], writeData_);
}

void MainConsole::ToggleDigitalOutput() {
    state_.digitalOutput.lit = !state_.digitalOutput.lit;
    int32_t kind = device::OUTPUT_ANALOG;
    int32_t type = device::kTypeAnalogOutput;
    if (state_.digitalOutput.lit) {
        WriteSettingText(kCplIni, keys::kSectionCpl, keys::kDigitalOutSr, "1");
        WriteSettingText(kCplIni, keys::kSectionHifi, keys::kIsDrySoundOn, "0");
        pages_.RefreshHifiFromSettings();
        WriteSettingText(kCplIni, keys::kSectionHp, keys::kSurroundMax, "0");
        state_.depthLamps[2].visible = false;
        pages_.RefreshHeadphoneFromSettings();
        kind = device::OUTPUT_DIGITAL;
        type = device::kTypeDigitalOutput;
    } else {
        WriteSettingText(kCplIni, keys::kSectionCpl, keys::kDigitalOutSr, "0");
        state_.depthLamps[2].visible = true;
    }
    const int32_t id = device::SelectOutputDevice(kind);
    ReadDeviceState();
    writeExtra_.Put32(0);
    SetProperty32(device::DeviceDescriptor{id, type, 0, 1}, kDefaultDeviceControl, 0, writeData_,
                  &writeExtra_);
}

void MainConsole::ChooseBitDepth(int depthIndex) {
    if (depthIndex < 0 || depthIndex >= kDepthCount) return;
    ShowDepth(kBitDepths[depthIndex]);
    SetProperty16(OutputDevice(), kDevBitDepthControl, static_cast<int16_t>(kBitDepths[depthIndex]),
                  writeData_);
}

void MainConsole::OnVolumeChanged(uintptr_t wParam) {
    if (wParam != 0) return;  // the program's own change (10) or a topology part's (1)
    RefreshVolumeFromEndpoint();
    RefreshMuteFromEndpoint();
}

void MainConsole::OnDefaultOutputChanged(intptr_t lParam) {
    if (lParam == 0) {
        state_.digitalOutput.lit = true;
        device::SelectOutputDevice(device::OUTPUT_DIGITAL);
    } else if (lParam == 1) {
        state_.digitalOutput.lit = false;
        device::SelectOutputDevice(device::OUTPUT_ANALOG);
    } else {
        return;
    }
    ReadDeviceState();
}

void MainConsole::StartupOutputKind(int32_t kind) {
    if (kind == device::OUTPUT_ANALOG) {
        state_.digitalOutput.lit = false;
        state_.depthLamps[2].visible = true;
    } else if (kind == device::OUTPUT_DIGITAL) {
        state_.digitalOutput.lit = true;
        state_.depthLamps[2].visible = false;
    } else {
        return;
    }
    SelectKindAndRead(kind);
}

void MainConsole::StartupEndpointState() {
    RefreshMuteFromEndpoint();
    RefreshVolumeFromEndpoint();
    ApplyOutputRoute();
}

void MainConsole::ShowRate(int rateIndex) {
    for (int i = 0; i < kRateCount; ++i) state_.rateLamps[i].lit = i == rateIndex;
    state_.sampleRatePicture = rateIndex;
}

void MainConsole::ShowDepth(int32_t bits) {
    for (int i = 0; i < kDepthCount; ++i) state_.depthLamps[i].lit = kBitDepths[i] == bits;
}

void MainConsole::SelectKindAndRead(int32_t kind) {
    device::SelectOutputDevice(kind);
    ReadDeviceState();
}

}  // namespace quorelle::pages
