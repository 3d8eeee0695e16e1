// The skin's images by name: the one list of their resource ids. The skin generator draws each
// under its id, the layout table names the backgrounds from it, and the views load them by name.
#pragma once

#include <array>

namespace quorelle::controls::images {

// switches and lamps (off, on)
inline constexpr int kWideSwitchOff = 130, kWideSwitchOn = 131;
inline constexpr int kLedOff = 132, kLedOn = 133;
inline constexpr int kSwitchOff = 135, kSwitchOn = 136;
inline constexpr int kMuteSwitchOff = 137, kMuteSwitchOn = 138;
inline constexpr int kSquareLampOff = 145, kSquareLampOn = 146;
inline constexpr int kToggleOff = 148, kToggleOn = 149;
inline constexpr int kEnvironmentPanelOff = 188, kEnvironmentPanelOn = 189;
inline constexpr int kSurroundPictureOff = 194, kSurroundPictureOn = 195;

// keys (normal, pressed)
inline constexpr int kResetKey = 139, kResetKeyPressed = 140;
inline constexpr int kCloseKey = 170, kCloseKeyPressed = 171;
inline constexpr int kPageKey = 172, kPageKeyLit = 173;
inline constexpr int kDownKey = 180, kDownKeyPressed = 181;
inline constexpr int kMinusKey = 182, kMinusKeyPressed = 183;
inline constexpr int kPlusKey = 184, kPlusKeyPressed = 185;
inline constexpr int kUpKey = 186, kUpKeyPressed = 187;

// knob, sliders, list faces
inline constexpr int kKnobFace = 154;
inline constexpr int kBalanceThumb = 147, kBalanceTrack = 152;
inline constexpr int kBandThumb = 177, kBandTrack = 178;
inline constexpr int kComboFace = 190, kEditFace = 191;

// the sample-rate picture by picture index (44.1, 48, 88.2, 96, 176.4, 192 kHz) and the room
// picture by room size (bedroom, audio room, living room)
inline constexpr std::array<int, 6> kRatePictures = {141, 142, 156, 157, 143, 144};
inline constexpr std::array<int, 3> kRoomPictures = {201, 200, 199};

// page backgrounds
inline constexpr int kMainBackground = 134;
inline constexpr int kInfoBackground = 174;
inline constexpr int kHifiBackground = 179;
inline constexpr int kHpBackground = 193;
inline constexpr int kAdvanceBackground = 197;

}  // namespace quorelle::controls::images
