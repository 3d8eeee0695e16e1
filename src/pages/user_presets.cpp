#include "pages/user_presets.h"

#include <array>

#include "settings/settings.h"

namespace quorelle::pages {

namespace {

std::string NameKey(size_t index) {
    return "Custom" + std::to_string(index);
}

// The code points of a UTF-8 text; a byte that starts no valid sequence stands for itself.
std::vector<char32_t> CodePoints(std::string_view text) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        bool valid = i + extra < text.size() || extra == 0;
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back(b);
            ++i;
            continue;
        }
        out.push_back(c);
        i += 1 + extra;
    }
    return out;
}

// Small letters for the capitals of the Latin, Greek and Cyrillic alphabets and the full-width
// Latin ones (the scripts whose letters have a case).
char32_t FoldCase(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
    return c;
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

struct MessageTexts {
    std::array<std::string_view, 3> text;
    std::array<std::string_view, 3> caption;
};
constexpr MessageTexts kMessages[] = {
    {{"此名称已存在.", "此名稱已存在.", "This name already exists."}, {"警告", "警告", "Warning"}},
    {{"请指定一个有效名称.", "請指定一個有效名稱.", "Please specify a valid name."},
     {"警告", "警告", "Warning"}},
    {{"无法保存此预设.", "無法保存此預設.", "The preset could not be saved."},
     {"警告", "警告", "Warning"}},
    {{"本系统的设置文件无法保存此名称中的字符, 请换一个名称.",
      "本系統的設定檔無法保存此名稱中的字元, 請換一個名稱.",
      "The settings file cannot keep the characters of this name on this system. Please choose "
      "another name."},
     {"警告", "警告", "Warning"}},
};

}  // namespace

PresetWarning PresetWarningText(PresetMessage message, int language) {
    const MessageTexts& m = kMessages[static_cast<int>(message)];
    const size_t column = language == 1 || language == 2 ? size_t(language) : 0;
    return {std::string(m.text[column]), std::string(m.caption[column])};
}

std::string TrimBlanks(std::string_view name) {
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = name.find_last_not_of(' ');
    return std::string(name.substr(first, last - first + 1));
}

bool SamePresetName(std::string_view a, std::string_view b) {
    const std::vector<char32_t> x = CodePoints(a), y = CodePoints(b);
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i)
        if (FoldCase(x[i]) != FoldCase(y[i])) return false;
    return true;
}

bool UsablePresetName(std::string_view name) {
    return UsablePresetNameIgnoringCharacterSet(name) && SettingTextFits(name);
}

bool UsablePresetNameIgnoringCharacterSet(std::string_view name) {
    const std::vector<char32_t> points = CodePoints(name);
    size_t units = 0;
    for (char32_t c : points) {
        if (IsControl(c) || c == U'[' || c == U']') return false;
        units += c >= 0x10000 ? 2 : 1;
    }
    if (units > kMaxPresetNameUnits) return false;
    if (!name.empty() && name.front() == ';') return false;
    // the profile reader drops a pair of quotes around a value
    return !(name.size() >= 2 && name.front() == name.back() &&
             (name.front() == '"' || name.front() == '\''));
}

void UserEqPresets::Select(std::optional<int> index) {
    if (index && (*index < 0 || size_t(*index) >= state_.names.size())) index.reset();
    state_.selected = index;
}

void UserEqPresets::LoadPresetList() {
    state_.names.clear();
    state_.selected.reset();
    for (int i = 0; i < kMaxUserPresets && i < ReadHifiInt(hifi_keys::kCustomCount); ++i)
        state_.names.push_back(ReadHifiText(NameKey(size_t(i))));
}

void UserEqPresets::RestoreCurrentPreset() {
    if (ReadHifiInt(hifi_keys::kCustomize) == 0) return;
    const std::string current = ReadHifiText(hifi_keys::kCurrentCustom);
    std::optional<int> found;
    for (size_t i = 0; i < state_.names.size(); ++i)
        if (!current.empty() && SamePresetName(state_.names[i], current)) found = int(i);
    state_.selected = found;
    if (found)
        SelectPreset();
    else
        equalizer_.LoadEqualizer();
}

bool UserEqPresets::ShowPresetBands() {
    if (!state_.selected) return false;
    const std::string& name = state_.names[size_t(*state_.selected)];
    if (name.empty()) return false;
    BandCurve bands{};
    for (int k = 0; k < kBandCount; ++k)
        bands[k] = ReadSettingInt(kCustomIni, name, hifi_keys::BandKey(k));
    equalizer_.ShowBands(bands);  // each clamped into -20 .. 20
    return true;
}

void UserEqPresets::ShowSelectedPreset() {
    if (ReadHifiInt(hifi_keys::kCustomize) != 0) ShowPresetBands();
}

void UserEqPresets::SelectPreset() {
    if (!ShowPresetBands()) return;
    const std::string& name = state_.names[size_t(*state_.selected)];
    equalizer_.ApplyEqBands(equalizer_.SliderBands());
    WriteHifiText(hifi_keys::kCurrentCustom, TrimBlanks(name));
    WriteHifiInt(hifi_keys::kCustomize, 1);
}

std::optional<PresetWarning> UserEqPresets::AddPreset() {
    const std::string name = TrimBlanks(state_.nameField);
    const int language = ReadLanguage();
    if (name.empty() || !UsablePresetName(name)) {
        // a name refused only because the files' character set cannot hold it says so
        const bool heldElsewhere =
            !name.empty() && !SettingTextFits(name) && UsablePresetNameIgnoringCharacterSet(name);
        return PresetWarningText(
            heldElsewhere ? PresetMessage::CannotKeepName : PresetMessage::NoName, language);
    }
    for (const std::string& listed : state_.names) {
        if (!SamePresetName(TrimBlanks(listed), name)) continue;
        state_.nameField.clear();
        return PresetWarningText(PresetMessage::NameExists, language);
    }
    if (state_.names.size() >= size_t(kMaxUserPresets))
        return PresetWarningText(PresetMessage::NotSaved, language);

    // the bands first, the ten keys in one write: a name is listed only once its curve is stored
    if (!WriteBandKeys(kCustomIni, name, equalizer_.SliderBands()))
        return PresetWarningText(PresetMessage::NotSaved, language);
    // then the name, the remembered preset and the count, together in one write of CPL.ini
    const std::string nameKey = NameKey(state_.names.size());
    const std::string count = std::to_string(state_.names.size() + 1);
    if (!WriteSettingTexts(kCplIni, hifi_keys::kSection,
                           {{nameKey, name},
                            {hifi_keys::kCurrentCustom, name},
                            {hifi_keys::kCustomize, "1"},
                            {hifi_keys::kCustomCount, count}}))
        return PresetWarningText(PresetMessage::NotSaved, language);
    state_.names.push_back(name);
    state_.selected = int(state_.names.size() - 1);
    state_.nameField.clear();
    return std::nullopt;
}

void UserEqPresets::DeletePreset() {
    if (!state_.selected) return;
    const size_t gone = size_t(*state_.selected);
    state_.names.erase(state_.names.begin() + std::ptrdiff_t(gone));
    // the names after it move up one key, the old last key is emptied and the count goes down,
    // all in one write of the file: a long list costs one replacement, not two per name
    std::vector<std::string> keys;
    for (size_t i = gone; i <= state_.names.size(); ++i) keys.push_back(NameKey(i));
    const std::string count = std::to_string(state_.names.size());
    std::vector<SettingText> entries;
    for (size_t i = gone; i <= state_.names.size(); ++i) {
        const std::string_view name =
            i < state_.names.size() ? std::string_view(state_.names[i]) : std::string_view();
        entries.push_back({keys[i - gone], name});
    }
    entries.push_back({hifi_keys::kCustomCount, count});
    WriteSettingTexts(kCplIni, hifi_keys::kSection, std::span<const SettingText>(entries));
    if (state_.names.empty()) {
        // no preset is shown any more: the sliders show what section Hifi holds
        state_.selected.reset();
        WriteHifiInt(hifi_keys::kCustomize, 0);
        equalizer_.LoadEqualizer();
        return;
    }
    state_.selected = int(state_.names.size() - 1);
    SelectPreset();
}

}  // namespace quorelle::pages
