#include "pages/hotkeys.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "base/texts.h"
#include "controls/control_ids.h"
#include "settings/settings.h"

namespace quorelle::pages {

namespace {

struct Name {
    std::string_view text;
    uint32_t value;
};

// Modifiers in the order they are written.
constexpr Name kModifiers[] = {
    {"Win", kModWin}, {"Ctrl", kModCtrl}, {"Alt", kModAlt}, {"Shift", kModShift}};
constexpr Name kModifierAliases[] = {{"Control", kModCtrl}, {"Windows", kModWin}};

// Keys with names other than their letter or digit; the first name of a code is the one
// written, later ones are read too.
constexpr Name kKeys[] = {
    {"Backspace", 0x08},   {"Tab", 0x09},
    {"Enter", 0x0D},       {"Return", 0x0D},
    {"Pause", 0x13},       {"CapsLock", 0x14},
    {"Esc", 0x1B},         {"Escape", 0x1B},
    {"Space", 0x20},       {"PageUp", 0x21},
    {"PgUp", 0x21},        {"PageDown", 0x22},
    {"PgDn", 0x22},        {"End", 0x23},
    {"Home", 0x24},        {"Left", 0x25},
    {"Up", 0x26},          {"Right", 0x27},
    {"Down", 0x28},        {"PrintScreen", 0x2C},
    {"Insert", 0x2D},      {"Ins", 0x2D},
    {"Delete", 0x2E},      {"Del", 0x2E},
    {"NumMultiply", 0x6A}, {"NumPlus", 0x6B},
    {"NumMinus", 0x6D},    {"NumDecimal", 0x6E},
    {"NumDivide", 0x6F},   {"NumLock", 0x90},
    {"ScrollLock", 0x91},  {"VolumeMute", 0xAD},
    {"VolumeDown", 0xAE},  {"VolumeUp", 0xAF},
    {"MediaNext", 0xB0},   {"MediaPrevious", 0xB1},
    {"MediaStop", 0xB2},   {"MediaPlayPause", 0xB3},
    {";", 0xBA},           {"=", 0xBB},
    {",", 0xBC},           {"-", 0xBD},
    {".", 0xBE},           {"/", 0xBF},
    {"`", 0xC0},           {"[", 0xDB},
    {"\\", 0xDC},          {"]", 0xDD},
    {"'", 0xDE},
};

// The modifier keys themselves (shift, control, alt, the Windows keys, each side).
bool IsModifierKey(uint32_t key) {
    return (key >= 0x10 && key <= 0x12) || key == 0x5B || key == 0x5C ||
           (key >= 0xA0 && key <= 0xA5);
}

bool SameText(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<uint32_t> Modifier(std::string_view part) {
    for (const Name& n : kModifiers)
        if (SameText(part, n.text)) return n.value;
    for (const Name& n : kModifierAliases)
        if (SameText(part, n.text)) return n.value;
    return std::nullopt;
}

std::optional<uint32_t> Key(std::string_view part) {
    if (part.size() == 1 && std::isalnum(static_cast<unsigned char>(part[0])))
        return uint32_t(std::toupper(static_cast<unsigned char>(part[0])));
    for (const Name& n : kKeys)
        if (SameText(part, n.text)) return n.value;
    const auto number = [&](std::string_view prefix, int base) -> std::optional<uint32_t> {
        if (part.size() <= prefix.size() || !SameText(part.substr(0, prefix.size()), prefix))
            return std::nullopt;
        uint32_t value = 0;
        for (char c : part.substr(prefix.size())) {
            const int d = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : (base == 16 && std::isxdigit(static_cast<unsigned char>(c))
                                     ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                                     : -1);
            if (d < 0 || value > 0xFF) return std::nullopt;
            value = value * uint32_t(base) + uint32_t(d);
        }
        return value;
    };
    if (const auto f = number("F", 10); f && *f >= 1 && *f <= 24) return 0x70 + *f - 1;
    if (const auto n = number("Num", 10); n && *n <= 9 && part.size() == 4) return 0x60 + *n;
    if (const auto code = number("0x", 16); code && *code > 0 && *code < 0xFF && part.size() <= 4)
        return *code;
    return std::nullopt;
}

constexpr int kHifiDialog = 176;
using controls::ids::hifi::kDrySoundCaption;
using controls::ids::hifi::kEnvironmentCaption;
using controls::ids::hifi::kEqPresetCaption;
using controls::ids::hifi::kPresetCaptions;
static_assert(kPresetCaptions.size() == kEqPresetCount);

std::string_view Caption(int id, int language) {
    const LabelText* text = FindLabelText(kHifiDialog, id);
    return text != nullptr ? text->byLanguage[size_t(language)] : std::string_view();
}

constexpr std::array<std::string_view, 3> kOn = {"开", "開", "On"};
constexpr std::array<std::string_view, 3> kOff = {"关", "關", "Off"};

std::string Stated(int caption, bool on, int language) {
    return ZoneNameOf(Caption(caption, language), (on ? kOn : kOff)[size_t(language)], language);
}

}  // namespace

std::optional<HotKey> ParseHotKey(std::string_view text) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t plus = text.find('+', start);
        parts.push_back(Trimmed(text.substr(start, plus == text.npos ? text.npos : plus - start)));
        if (plus == text.npos) break;
        start = plus + 1;
    }
    HotKey key;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const std::optional<uint32_t> modifier = Modifier(parts[i]);
        if (!modifier || (key.modifiers & *modifier) != 0) return std::nullopt;
        key.modifiers |= *modifier;
    }
    const std::optional<uint32_t> code = Key(parts.back());
    if (!code || IsModifierKey(*code)) return std::nullopt;
    key.key = *code;
    return key;
}

std::string FormatHotKey(const HotKey& key) {
    std::string text;
    for (const Name& m : kModifiers)
        if ((key.modifiers & m.value) != 0) (text += m.text) += '+';
    const uint32_t k = key.key;
    if ((k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z')) return text += char(k);
    if (k >= 0x70 && k <= 0x87) return (text += 'F') += std::to_string(k - 0x70 + 1);
    if (k >= 0x60 && k <= 0x69) return (text += "Num") += char('0' + (k - 0x60));
    for (const Name& n : kKeys)
        if (n.value == k) return text += n.text;
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", unsigned(k & 0xFF));
    return text += code;
}

std::string_view HotKeySettingKey(HotKeyAction action) {
    constexpr std::array<std::string_view, kHotKeyActionCount> keys = {
        "DrySound", "NextPreset", "PreviousPreset", "NextEnvironment", "ShowPanel"};
    return keys[size_t(action)];
}

std::string_view HotKeyActionName(HotKeyAction action, int language) {
    constexpr std::array<std::array<std::string_view, 3>, kHotKeyActionCount> names = {{
        {"HIFI直通 开/关", "HIFI直通 開/關", "Dry Sound on/off"},
        {"下一个特效EQ", "下一個特效EQ", "Next EQ preset"},
        {"上一个特效EQ", "上一個特效EQ", "Previous EQ preset"},
        {"下一个环境效果", "下一個環境效果", "Next environment"},
        {"显示或隐藏控制面板", "顯示或隱藏控制面板", "Show or hide the panel"},
    }};
    return names[size_t(action)][size_t(IsLanguage(language) ? language : kLanguageSimplified)];
}

StoredHotKey ReadStoredHotKey(HotKeyAction action) {
    StoredHotKey stored;
    stored.text =
        std::string(Trimmed(ReadSettingText(kCplIni, kHotkeysSection, HotKeySettingKey(action))));
    if (!stored.text.empty()) stored.key = ParseHotKey(stored.text);
    return stored;
}

bool StoreHotKey(HotKeyAction action, const std::optional<HotKey>& key) {
    return WriteSettingText(kCplIni, kHotkeysSection, HotKeySettingKey(action),
                            key ? FormatHotKey(*key) : std::string());
}

std::string RunSoundHotKey(HifiPage& page, HotKeyAction action, int language) {
    const int lang = IsLanguage(language) ? language : kLanguageSimplified;
    if (action == HotKeyAction::DrySound) {
        page.PressMaster();
        return Stated(kDrySoundCaption, page.Eq().master.lit, lang);
    }
    if (action == HotKeyAction::NextEnvironment) {
        // the button's press, whatever the switches show: it does nothing while they are unlit
        page.OnNextEnvironment();
        if (!page.Eq().master.lit) return Stated(kDrySoundCaption, false, lang);
        if (!page.Rev().environment.lit) return Stated(kEnvironmentCaption, false, lang);
        return ZoneNameOf(Caption(kEnvironmentCaption, lang), page.Rev().list[1], lang);
    }
    if (action != HotKeyAction::NextPreset && action != HotKeyAction::PreviousPreset) return {};
    if (!page.Eq().master.lit) return Stated(kDrySoundCaption, false, lang);
    if (!page.Eq().preset.lit) page.PressSourceSwitch(kModeEqPreset);
    const auto& lamps = page.Eq().presetLamps;
    const auto lit = std::ranges::find_if(lamps, [](const LampState& l) { return l.lit; });
    const bool next = action == HotKeyAction::NextPreset;
    int index = next ? 0 : kEqPresetCount - 1;
    if (lit != lamps.end())
        index = (int(lit - lamps.begin()) + (next ? 1 : kEqPresetCount - 1)) % kEqPresetCount;
    page.PressPresetLamp(index);
    return ZoneNameOf(Caption(kEqPresetCaption, lang),
                      Caption(kPresetCaptions[size_t(index)], lang), lang);
}

std::string PanelShownText(bool shown, int language) {
    const int lang = IsLanguage(language) ? language : kLanguageSimplified;
    constexpr std::array<std::string_view, 3> panel = {"控制面板", "控制面板", "Control Panel"};
    constexpr std::array<std::string_view, 3> shownWord = {"显示", "顯示", "Shown"};
    constexpr std::array<std::string_view, 3> hiddenWord = {"隐藏", "隱藏", "Hidden"};
    return ZoneNameOf(panel[size_t(lang)], (shown ? shownWord : hiddenWord)[size_t(lang)], lang);
}

}  // namespace quorelle::pages
