// The HIFI page's sound choices as a menu: the master switch, the twelve EQ presets, the five
// region styles, the user's own presets and the environment switch, in the interface language,
// with what the page shows checked and what a press on the page would not take greyed. A chosen
// item runs the page's own press operations, so the settings keys and the card calls are the
// ones the page's presses make. Portable: the notification-area menu is built from these items.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/hifi_page.h"

namespace quorelle::pages {

// Command ids of the items; none is an id of the program's windows or of the tray menu's own
// items (32774 .. 32782).
inline constexpr int kSoundDrySound = 33001;
inline constexpr int kSoundEnvironment = 33002;
inline constexpr int kSoundFirstEqPreset = 33010;    // + the preset's index
inline constexpr int kSoundFirstRegion = 33030;      // + the region style's index
inline constexpr int kSoundFirstUserPreset = 33100;  // + the user preset's place in the list
inline constexpr int kSoundLastCommand = kSoundFirstUserPreset + kMaxUserPresets - 1;
static_assert(kSoundFirstEqPreset + kEqPresetCount <= kSoundFirstRegion &&
              kSoundFirstRegion + kRegionStyleCount <= kSoundFirstUserPreset &&
              kSoundLastCommand < 0xF000);

// True for the command id of an item of the menu.
constexpr bool IsSoundCommand(int id) {
    return id >= kSoundDrySound && id <= kSoundLastCommand;
}

struct SoundMenuItem {
    enum class Kind { Command, Separator, SubMenu };
    Kind kind = Kind::Command;
    // The text with its access key marked by '&' (an ampersand of the text itself is "&&").
    std::string text;
    int command = 0;  // for a command
    bool checked = false;
    bool radio = false;  // one choice of a group: checked with a dot
    bool greyed = false;
    std::vector<SoundMenuItem> items;  // a sub-menu's
    bool operator==(const SoundMenuItem&) const = default;
};

// What the menu shows of the page.
struct SoundSources {
    bool master = false;
    std::optional<int> eqPreset;    // the lit preset lamp
    std::optional<int> region;      // the lit region lamp
    bool equalizer = false;         // the equalizer switch (mode 3)
    std::optional<int> userPreset;  // the user preset selected in the list
    bool environment = false;
    std::vector<std::string> userPresets;
};
SoundSources SoundSourcesOf(const HifiPage& page);

// The sub-menu "Sound" in a language (0, 1, 2; any other gets Simplified Chinese): "Dry Sound",
// a separator, the EQ presets, the region styles, the sub-menu "Equalizer" with the user's
// presets, a separator, "Environment".
SoundMenuItem SoundMenu(const SoundSources& sources, int language);

// The texts of one menu level with their access keys, a letter or digit of its own for as many
// texts as can have one: each takes the first free one of its words' first characters, then of
// all its characters; where none is free, a text before it moves on to another of its own to
// make room. A text with no letter or digit keeps no key.
std::vector<std::string> WithAccessKeys(const std::vector<std::string_view>& texts);

// Carries out a chosen item as the page's presses would: a preset, region style or user preset
// first presses its source's switch when that is unlit, then the lamp or the list entry. With
// the master unlit only "Dry Sound" acts. False for an id that names no item.
// The choice acts on what the menu showed (`shown`, the sources it was built from), though the
// page may have changed while it was open: "Dry Sound" and "Environment" set the opposite of the
// tick they showed (a ticked item turns its switch off, an unticked one on, and nothing is
// pressed when the switch is there already), and a user preset is the one of the name the menu
// showed, wherever the list holds it now (none when the list no longer does).
bool ChooseSound(HifiPage& page, const SoundSources& shown, int command);
// The same for a command that comes without a menu: against what the page shows now.
bool ChooseSound(HifiPage& page, int command);

}  // namespace quorelle::pages
