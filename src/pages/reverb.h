// The reverb side of the HIFI page: the environment switch with its list of 23 environments
// (stepped with previous and next), and the room switch with the three-zone room picture that
// sets the reverb's room size. Portable model: it holds what the page shows and sends the
// reverb's properties to the card; every choice is read from CPL.ini when it is needed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pages/hifi_common.h"

namespace quorelle::pages {

inline constexpr int kEnvironmentCount = 23;
inline constexpr int kRoomSizeCount = 3;

// Room sizes (RoomSize, RFX_ROOMSIZE).
inline constexpr int32_t kRoomBedroom = 0;
inline constexpr int32_t kRoomAudio = 1;
inline constexpr int32_t kRoomLiving = 2;

struct Environment {
    std::array<std::string_view, 3> names;  // Simplified Chinese, Traditional Chinese, English
    int32_t driver;                         // the number the card knows it by
};
extern const std::array<Environment, kEnvironmentCount> kEnvironments;

// The list index of a driver number; nothing for a number without an entry.
std::optional<int> EnvironmentOfDriver(int32_t driver);

// The room size a point of the room picture picks: the top third the living room, the middle
// third the audio room, the bottom third the bedroom, each a third of the height (integer
// division) with the rest in the bottom zone; a point on a dividing line belongs to the zone
// below it. Nothing for a point outside the picture.
std::optional<int32_t> RoomZone(const Rect& picture, Point p);

struct ReverbState {
    LampState environment;            // the switch
    LampState panel;                  // lit with the switch
    std::array<std::string, 3> list;  // previous, current and next environment names
    LampState room;                   // the switch
    std::array<LampState, kRoomSizeCount> roomLamps;  // by room size
    int32_t roomPicture = kRoomAudio;                 // the picture's image index, by room size
    bool operator==(const ReverbState&) const = default;
};

class Reverb {
  public:
    explicit Reverb(HifiDevice& device) : device_(device) {}
    Reverb(const Reverb&) = delete;
    Reverb& operator=(const Reverb&) = delete;

    const ReverbState& State() const { return state_; }

    // Initial looks: every lamp unlit, an empty list, the picture of the stored room size.
    void SetupControls();

    void ClearEnvironmentList();
    // The list around `index` in the stored language; empty lines for an index or a language
    // without names.
    void ShowEnvironmentList(int32_t index);
    void ShowEnvironmentForDriver(int32_t driver);
    void StoreEnvironmentDriver();
    void RefreshEnvironment();
    void RefreshRoom();
    // The page-wide refresh with the master off: everything dark, the reverb off on the card.
    void ShowMasterOff();

    // User actions.
    void ToggleEnvironment();
    // Previous (-1) or next (+1) environment, while the environment switch is lit.
    void StepEnvironment(int direction);
    void ToggleRoom();
    // A press on the room picture: the zone's size, while the room switch is lit.
    void ChooseRoomSize(const Rect& picture, Point p);

    // Read-back of the reverb switch, environment and room size from the card. `keepChoices`:
    // the card's reverb is off because the page switched it off, so the stored switches stay.
    void ReadBack(bool keepChoices);

  private:
    HifiDevice& device_;
    ReverbState state_;
};

}  // namespace quorelle::pages
