#include "pages/reverb.h"

#include <algorithm>

#include "device/selection.h"

namespace quorelle::pages {

namespace {

constexpr char16_t kEnableReverb[] = u"Enable_RFX_GFX";
constexpr char16_t kEnvironmentProperty[] = u"RFX_ENVIRONMENT";
constexpr char16_t kRoomSizeProperty[] = u"RFX_ROOMSIZE";

bool IsRoomSize(int32_t size) {
    return size >= 0 && size < kRoomSizeCount;
}

}  // namespace

const std::array<Environment, kEnvironmentCount> kEnvironments = {{
    {{"一般环境", "一般環境", "Generic"}, 0},
    {{"软垫室", "軟墊室", "Padded cell"}, 2},
    {{"房间", "房間", "Room"}, 3},
    {{"起居室", "起居室", "living Room"}, 5},
    {{"石室", "石室", "stone Room"}, 6},
    {{"礼堂", "禮堂", "Auditorium"}, 7},
    {{"洞穴", "洞穴", "Cave"}, 9},
    {{"竞技场", "競技場", "Arena"}, 10},
    {{"飞机库", "飛機庫", "Hangar"}, 11},
    {{"地毯走廊", "地毯走廊", "Carpeted hallway"}, 12},
    {{"大厅", "大廳", "Hallway"}, 13},
    {{"石廊", "石廊", "Stone Corridor"}, 14},
    {{"小巷", "小巷", "Alley"}, 15},
    {{"森林", "森林", "Forest"}, 16},
    {{"城市", "城市", "City"}, 17},
    {{"高山", "高山", "Mountains"}, 18},
    {{"采石场", "採石場", "Quarry"}, 19},
    {{"平原", "平原", "Plain"}, 20},
    {{"停车场", "停車場", "Parking lot"}, 21},
    {{"下水道", "下水道", "Sewer pipe"}, 22},
    {{"迷幻的", "迷幻的", "Drugged"}, 24},
    {{"晕眩的", "暈眩的", "Dizzy"}, 25},
    {{"疯狂", "瘋狂", "Psychotic"}, 26},
}};

std::optional<int> EnvironmentOfDriver(int32_t driver) {
    for (int i = 0; i < kEnvironmentCount; ++i)
        if (kEnvironments[i].driver == driver) return i;
    return std::nullopt;
}

std::optional<int32_t> RoomZone(const Rect& picture, Point p) {
    if (!picture.Contains(p)) return std::nullopt;
    const int32_t third = (picture.bottom - picture.top) / 3;
    if (p.y < picture.top + third) return kRoomLiving;
    if (p.y < picture.top + 2 * third) return kRoomAudio;
    return kRoomBedroom;
}

void Reverb::SetupControls() {
    state_ = ReverbState{};
    const int32_t size = ReadHifiInt(hifi_keys::kRoomSize);
    // without a stored size the picture shows the card's own default, the audio room
    state_.roomPicture = IsRoomSize(size) ? size : kRoomAudio;
}

void Reverb::ClearEnvironmentList() {
    for (std::string& line : state_.list) line.clear();
}

void Reverb::ShowEnvironmentList(int32_t index) {
    ClearEnvironmentList();
    const int language = ReadLanguage();
    if (language < 0 || language > 2 || index < 0 || index >= kEnvironmentCount) return;
    const auto name = [language](int i) { return std::string(kEnvironments[i].names[language]); };
    if (index > 0) state_.list[0] = name(index - 1);
    state_.list[1] = name(index);
    if (index + 1 < kEnvironmentCount) state_.list[2] = name(index + 1);
}

void Reverb::ShowEnvironmentForDriver(int32_t driver) {
    if (const auto index = EnvironmentOfDriver(driver)) ShowEnvironmentList(*index);
}

void Reverb::StoreEnvironmentDriver() {
    const int index = ReadHifiInt(hifi_keys::kEnvironment);
    if (index < 0 || index >= kEnvironmentCount) return;
    WriteHifiInt(hifi_keys::kEnvDriver, kEnvironments[index].driver);
}

void Reverb::RefreshEnvironment() {
    const bool on = ReadHifiInt(hifi_keys::kEnvEnable) == 1;
    state_.environment.lit = on;
    state_.panel.lit = on;
    ShowEnvironmentList(ReadHifiInt(hifi_keys::kEnvironment));
    device_.Set(kEnableReverb, on ? 1 : 0);
}

void Reverb::RefreshRoom() {
    if (ReadHifiInt(hifi_keys::kRoomEnable) != 1) {
        state_.room.lit = false;
        for (LampState& lamp : state_.roomLamps) lamp.lit = false;
        return;
    }
    state_.room.lit = true;
    const int32_t size = ReadHifiInt(hifi_keys::kRoomSize);
    if (!IsRoomSize(size)) return;
    for (int s = 0; s < kRoomSizeCount; ++s) state_.roomLamps[s].lit = s == size;
    state_.roomPicture = size;
}

void Reverb::ShowMasterOff() {
    state_.room.lit = false;
    for (LampState& lamp : state_.roomLamps) lamp.lit = false;
    const int32_t size = ReadHifiInt(hifi_keys::kRoomSize);
    if (IsRoomSize(size)) state_.roomPicture = size;
    state_.environment.lit = false;
    state_.panel.lit = false;
    device_.Set(kEnableReverb, 0);
    ShowEnvironmentList(ReadHifiInt(hifi_keys::kEnvironment));
}

void Reverb::ToggleEnvironment() {
    state_.environment.lit = !state_.environment.lit;
    const bool on = state_.environment.lit;
    WriteHifiInt(hifi_keys::kEnvEnable, on ? 1 : 0);
    state_.panel.lit = on;
    RefreshEnvironment();
    device_.Set(kEnableReverb, on ? 1 : 0);
}

void Reverb::StepEnvironment(int direction) {
    if (!state_.environment.lit) return;
    // an index from outside the list lands on the nearer end of it, with no further step
    const int32_t stored = ReadHifiInt(hifi_keys::kEnvironment);
    int32_t index = kEnvironmentCount - 1;
    if (stored < 0)
        index = 0;
    else if (stored < kEnvironmentCount)
        index = std::clamp(stored + (direction < 0 ? -1 : 1), 0, kEnvironmentCount - 1);
    WriteHifiInt(hifi_keys::kEnvironment, index);
    StoreEnvironmentDriver();
    const int32_t driver = kEnvironments[index].driver;
    ShowEnvironmentForDriver(driver);
    device_.Set(kEnvironmentProperty, driver);
}

void Reverb::ToggleRoom() {
    state_.room.lit = !state_.room.lit;
    WriteHifiInt(hifi_keys::kRoomEnable, state_.room.lit ? 1 : 0);
    RefreshRoom();
}

void Reverb::ChooseRoomSize(const Rect& picture, Point p) {
    if (!state_.room.lit) return;
    const std::optional<int32_t> size = RoomZone(picture, p);
    if (!size) return;
    WriteHifiInt(hifi_keys::kRoomSize, *size);
    RefreshRoom();
    device_.Set(kRoomSizeProperty, *size);
}

void Reverb::ReadBack(bool keepChoices) {
    const std::optional<int32_t> on = device_.Get(kEnableReverb);
    if (!keepChoices && (HifiDevice::Features() & device::kFeatureEnvironmentReadBack) != 0 && on) {
        const int value = *on == 1 ? 1 : 0;
        WriteHifiInt(hifi_keys::kRoomEnable, value);
        WriteHifiInt(hifi_keys::kEnvEnable, value);
        state_.panel.lit = value == 1;
        RefreshEnvironment();
    }
    if (const std::optional<int32_t> driver = device_.Get(kEnvironmentProperty))
        ShowEnvironmentForDriver(*driver);
    if (const std::optional<int32_t> size = device_.Get(kRoomSizeProperty)) {
        if (IsRoomSize(*size)) WriteHifiInt(hifi_keys::kRoomSize, *size);
        RefreshRoom();
    }
}

}  // namespace quorelle::pages
