// The global keys' text form in CPL.ini, both ways, and what section Hotkeys gives each action.
#include <gtest/gtest.h>

#include <filesystem>

#include "pages/hotkeys.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace quorelle::pages {
namespace {

TEST(HotKeyText, ReadsAndWritesTheCombinationsAPersonWrites) {
    constexpr uint32_t none = 0xFFFFFFFF;  // the text names no key
    struct Case {
        const char* text;
        uint32_t modifiers;
        uint32_t key;
        const char* written;  // nullptr: written back as read
    };
    const Case cases[] = {
        {"Ctrl+Shift+F11", kModCtrl | kModShift, 0x7A, nullptr},
        {"Ctrl+Alt+P", kModCtrl | kModAlt, 'P', nullptr},
        {"Win+Alt+Home", kModWin | kModAlt, 0x24, nullptr},
        {"F11", 0, 0x7A, nullptr},
        {"Alt+F24", kModAlt, 0x87, nullptr},
        {"Win+Ctrl+Alt+Shift+0", kModWin | kModCtrl | kModAlt | kModShift, '0', nullptr},
        {"Shift+Num5", kModShift, 0x65, nullptr},
        {"Ctrl+;", kModCtrl, 0xBA, nullptr},
        {"Ctrl+PageDown", kModCtrl, 0x22, nullptr},
        {"Alt+MediaPlayPause", kModAlt, 0xB3, nullptr},
        {"Ctrl+0xE2", kModCtrl, 0xE2, nullptr},  // a code without a name
        // any case, spaces, order and the other names of a key
        {" shift + ctrl + f11 ", kModCtrl | kModShift, 0x7A, "Ctrl+Shift+F11"},
        {"Alt+Control+p", kModCtrl | kModAlt, 'P', "Ctrl+Alt+P"},
        {"Shift+Windows+Escape", kModWin | kModShift, 0x1B, "Win+Shift+Esc"},
        {"Ctrl+PgUp", kModCtrl, 0x21, "Ctrl+PageUp"},
        {"Alt+Return", kModAlt, 0x0D, "Alt+Enter"},
        // what names no key
        {"", 0, none, nullptr},
        {"Ctrl+Shift", 0, none, nullptr},
        {"Ctrl+", 0, none, nullptr},
        {"Ctrl+Ctrl+A", 0, none, nullptr},
        {"Hyper+A", 0, none, nullptr},
        {"Ctrl+F25", 0, none, nullptr},
        {"Ctrl+F0", 0, none, nullptr},
        {"Ctrl+AB", 0, none, nullptr},
        {"Ctrl+0x10", 0, none, nullptr},  // the shift key itself
        {"Ctrl+0x1FF", 0, none, nullptr},
        {"Num12", 0, none, nullptr},
        {"A+Ctrl", 0, none, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<HotKey> key = ParseHotKey(c.text);
        if (c.key == none) {
            EXPECT_FALSE(key.has_value());
            continue;
        }
        ASSERT_TRUE(key.has_value());
        EXPECT_EQ(key->modifiers, c.modifiers);
        EXPECT_EQ(key->key, c.key);
        EXPECT_EQ(FormatHotKey(*key), c.written ? c.written : c.text);
    }
}

TEST(HotKeyText, SectionHotkeysGivesEachActionItsKeyOrNone) {
    const fs::path dir = fs::temp_directory_path() / "quorelle-hotkeys";
    fs::remove_all(dir);
    fs::create_directories(dir);
    IniFileSettings settings(dir);
    SetSettingsBackend(&settings);
    WriteSettingText(kCplIni, kHotkeysSection, "NextPreset", "Ctrl+Shift+F11");
    WriteSettingText(kCplIni, kHotkeysSection, "DrySound", "Ctrl+Banana");
    WriteSettingText(kCplIni, kHotkeysSection, "ShowPanel", "");
    EXPECT_EQ(ReadStoredHotKey(HotKeyAction::NextPreset).key, (HotKey{kModCtrl | kModShift, 0x7A}));
    const StoredHotKey unreadable = ReadStoredHotKey(HotKeyAction::DrySound);
    EXPECT_TRUE(unreadable.Unreadable());
    EXPECT_EQ(unreadable.text, "Ctrl+Banana");
    for (HotKeyAction none : {HotKeyAction::ShowPanel, HotKeyAction::PreviousPreset}) {
        EXPECT_FALSE(ReadStoredHotKey(none).key.has_value());
        EXPECT_FALSE(ReadStoredHotKey(none).Unreadable());
    }
    // a stored key reads back the same; none is stored as an empty value
    EXPECT_TRUE(StoreHotKey(HotKeyAction::NextEnvironment, HotKey{kModAlt, 0x7A}));
    EXPECT_EQ(ReadSettingText(kCplIni, kHotkeysSection, "NextEnvironment"), "Alt+F11");
    EXPECT_TRUE(StoreHotKey(HotKeyAction::NextPreset, std::nullopt));
    EXPECT_EQ(ReadSettingText(kCplIni, kHotkeysSection, "NextPreset"), "");
    SetSettingsBackend(nullptr);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace quorelle::pages
