// The panel's global keys: what each one does to the HIFI page, how a key combination is
// written in CPL.ini (section Hotkeys, "Ctrl+Shift+F11": modifiers first, joined by '+'), and
// the text the on-screen display shows afterwards. Portable: the Win32 shell registers the keys
// with the system and shows the display.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pages/hifi_page.h"

namespace quorelle::pages {

// The modifier bits, with the platform's values (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
inline constexpr uint32_t kModAlt = 0x1;
inline constexpr uint32_t kModCtrl = 0x2;
inline constexpr uint32_t kModShift = 0x4;
inline constexpr uint32_t kModWin = 0x8;

// A key combination: the modifiers and a virtual-key code (never a modifier key itself).
struct HotKey {
    uint32_t modifiers = 0;
    uint32_t key = 0;
    bool operator==(const HotKey&) const = default;
};

// "Ctrl+Shift+F11" and back. The text is read without regard to letter case or spaces around
// the parts, modifiers in any order ("Control" for "Ctrl" too); it is written with the
// modifiers as Win, Ctrl, Alt, Shift and the key's own name ("F11", "P", "Home", "Num5", ";",
// or "0xE2" for a code without a name). Nothing for a text that names no key, a modifier twice,
// or no key after the modifiers.
std::optional<HotKey> ParseHotKey(std::string_view text);
std::string FormatHotKey(const HotKey& key);

enum class HotKeyAction { DrySound, NextPreset, PreviousPreset, NextEnvironment, ShowPanel };
inline constexpr int kHotKeyActionCount = 5;
inline constexpr std::array<HotKeyAction, kHotKeyActionCount> kHotKeyActions = {
    HotKeyAction::DrySound, HotKeyAction::NextPreset, HotKeyAction::PreviousPreset,
    HotKeyAction::NextEnvironment, HotKeyAction::ShowPanel};

inline constexpr char kHotkeysSection[] = "Hotkeys";
// The action's key in section Hotkeys ("DrySound", "NextPreset", ...).
std::string_view HotKeySettingKey(HotKeyAction action);
// The action as the hot-key dialog names it, in a language (0, 1, 2; others: Simplified).
std::string_view HotKeyActionName(HotKeyAction action, int language);

// What CPL.ini holds for an action: its text, and the key when the text can be read. An empty
// text is no key; a text that cannot be read is no key either, and the dialog says so.
struct StoredHotKey {
    std::string text;
    std::optional<HotKey> key;
    bool Unreadable() const { return !text.empty() && !key; }
};
StoredHotKey ReadStoredHotKey(HotKeyAction action);
// Writes the key's text, or an empty value for none. False when the file cannot be written.
bool StoreHotKey(HotKeyAction action, const std::optional<HotKey>& key);

// Runs a sound action (all but ShowPanel) with the HIFI page's own presses and answers what the
// display shows afterwards in a language:
// - DrySound presses the master switch ("Dry Sound: On" / "Dry Sound: Off");
// - NextPreset and PreviousPreset press the EQ preset switch first when it is unlit, then the
//   lamp after (before) the lit one, the twelve in a ring ("EQ Preset: Metal");
// - NextEnvironment presses the next-environment button, which stops at the list's end
//   ("Environment: Stone Corridor", or "Environment: Off" while its switch is unlit).
// With the master switch unlit only DrySound acts, as on the page; the others answer
// "Dry Sound: Off".
std::string RunSoundHotKey(HifiPage& page, HotKeyAction action, int language);
// The display's text after ShowPanel ("Control Panel: Shown" / "Control Panel: Hidden").
std::string PanelShownText(bool shown, int language);

}  // namespace quorelle::pages
