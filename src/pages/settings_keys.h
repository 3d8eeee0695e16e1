// Sections and keys of "CPL.ini" that more than one page reads or writes.
#pragma once

namespace quorelle::pages::keys {

inline constexpr char kSectionCpl[] = "CPL";
inline constexpr char kHeadPhone[] = "HeadPhone";
inline constexpr char kDigitalOutSr[] = "DigitalOutSr";
inline constexpr char kSectionHifi[] = "Hifi";
inline constexpr char kIsDrySoundOn[] = "isDrySoundOn";
inline constexpr char kSectionHp[] = "HP";
inline constexpr char kSurroundMax[] = "SurroundMax";
inline constexpr char kLowOrHighZ[] = "LowOrHighZ";
inline constexpr char kSectionAd[] = "Ad";

}  // namespace quorelle::pages::keys
