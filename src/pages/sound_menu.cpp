#include "pages/sound_menu.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "base/texts.h"
#include "controls/control_ids.h"

namespace quorelle::pages {

namespace {

constexpr int kHifiDialog = 176;
// The page's captions that name the items.
using controls::ids::hifi::kDrySoundCaption;
using controls::ids::hifi::kEnvironmentCaption;
using controls::ids::hifi::kEqualizerCaption;
using controls::ids::hifi::kPresetCaptions;
using controls::ids::hifi::kRegionCaptions;
static_assert(kRegionCaptions.size() == kRegionStyleCount &&
              kPresetCaptions.size() == kEqPresetCount);

std::string_view Caption(int id, int language) {
    const LabelText* text = FindLabelText(kHifiDialog, id);
    return text != nullptr ? text->byLanguage[size_t(language)] : std::string_view();
}

template <size_t N>
std::optional<int> LitIndex(const std::array<LampState, N>& lamps) {
    for (size_t i = 0; i < N; ++i)
        if (lamps[i].lit) return int(i);
    return std::nullopt;
}

bool IsKeyCharacter(char c) {
    return static_cast<unsigned char>(c) < 0x80 && std::isalnum(static_cast<unsigned char>(c));
}

SoundMenuItem Separator() {
    SoundMenuItem item;
    item.kind = SoundMenuItem::Kind::Separator;
    return item;
}

// The items of one menu level, their texts given their access keys together.
void GiveAccessKeys(std::vector<SoundMenuItem>& items) {
    std::vector<std::string_view> texts;
    for (const SoundMenuItem& item : items) texts.push_back(item.text);
    std::vector<std::string> keyed = WithAccessKeys(texts);
    for (size_t i = 0; i < items.size(); ++i) items[i].text = std::move(keyed[i]);
}

}  // namespace

std::vector<std::string> WithAccessKeys(const std::vector<std::string_view>& texts) {
    // each text's candidate keys, its words' first characters first
    std::vector<std::vector<char>> candidates(texts.size());
    for (size_t t = 0; t < texts.size(); ++t) {
        for (bool wordStartsOnly : {true, false}) {
            for (size_t i = 0; i < texts[t].size(); ++i) {
                const char c = texts[t][i];
                if (wordStartsOnly && i > 0 && texts[t][i - 1] != ' ') continue;
                if (!IsKeyCharacter(c)) continue;
                const char key = char(std::toupper(static_cast<unsigned char>(c)));
                if (std::ranges::find(candidates[t], key) == candidates[t].end())
                    candidates[t].push_back(key);
            }
        }
    }
    // a free key in the text's order of preference; else the fewest texts before it move on
    // to another key of their own to make room (so that as many texts as possible get one)
    std::array<int, 128> owner;
    owner.fill(-1);
    for (size_t t = 0; t < texts.size(); ++t) {
        std::array<int, 128> reachedFrom;  // by key: the text whose candidate it is
        reachedFrom.fill(-1);
        std::vector<int> reachedBy(texts.size(), -1);  // by text: the key that led to it
        std::vector<size_t> queue = {t};
        for (size_t q = 0; q < queue.size(); ++q) {
            const size_t u = queue[q];
            for (char c : candidates[u]) {
                const size_t key = size_t(c);
                if (reachedFrom[key] >= 0) continue;
                reachedFrom[key] = int(u);
                if (owner[key] < 0) {
                    // each text on the way takes the key that reached the next one
                    for (size_t k = key;;) {
                        const int taker = reachedFrom[k];
                        const int given = reachedBy[size_t(taker)];
                        owner[k] = taker;
                        if (size_t(taker) == t) break;
                        k = size_t(given);
                    }
                    queue.clear();
                    break;
                }
                const size_t v = size_t(owner[key]);
                if (v != t && reachedBy[v] < 0) {
                    reachedBy[v] = int(key);
                    queue.push_back(v);
                }
            }
        }
    }

    std::vector<std::string> out;
    for (size_t t = 0; t < texts.size(); ++t) {
        const std::string_view text = texts[t];
        std::optional<size_t> at;
        for (size_t key = 0; key < owner.size() && !at; ++key) {
            if (owner[key] != int(t)) continue;
            // the key's first place at a word's start, else its first place
            for (bool wordStartsOnly : {true, false})
                for (size_t i = 0; i < text.size() && !at; ++i)
                    if ((!wordStartsOnly || i == 0 || text[i - 1] == ' ') &&
                        IsKeyCharacter(text[i]) &&
                        std::toupper(static_cast<unsigned char>(text[i])) == int(key))
                        at = i;
        }
        std::string keyed;
        for (size_t i = 0; i < text.size(); ++i) {
            if (at == i) keyed += '&';
            keyed += text[i];
            if (text[i] == '&') keyed += '&';
        }
        out.push_back(std::move(keyed));
    }
    return out;
}

SoundSources SoundSourcesOf(const HifiPage& page) {
    const EqualizerState& eq = page.Eq();
    SoundSources s;
    s.master = eq.master.lit;
    s.eqPreset = LitIndex(eq.presetLamps);
    s.region = LitIndex(eq.regionLamps);
    s.equalizer = eq.equalizer.lit;
    if (eq.equalizer.lit) s.userPreset = page.Presets().selected;
    s.environment = page.Rev().environment.lit;
    s.userPresets = page.Presets().names;
    return s;
}

SoundMenuItem SoundMenu(const SoundSources& s, int language) {
    const int lang = IsLanguage(language) ? language : kLanguageSimplified;
    const bool off = !s.master;
    const auto command = [](std::string_view text, int id) {
        SoundMenuItem item;
        item.text = text;
        item.command = id;
        return item;
    };
    const auto choice = [&](std::string_view text, int id, bool checked) {
        SoundMenuItem item = command(text, id);
        item.radio = true;
        item.checked = checked;
        item.greyed = off;
        return item;
    };

    SoundMenuItem menu;
    menu.kind = SoundMenuItem::Kind::SubMenu;
    menu.text = kSoundMenuTitle[size_t(lang)];
    std::vector<SoundMenuItem>& items = menu.items;

    SoundMenuItem master = command(Caption(kDrySoundCaption, lang), kSoundDrySound);
    master.checked = s.master;
    items.push_back(master);
    items.push_back(Separator());
    for (int i = 0; i < kEqPresetCount; ++i)
        items.push_back(
            choice(Caption(kPresetCaptions[i], lang), kSoundFirstEqPreset + i, s.eqPreset == i));
    for (int i = 0; i < kRegionStyleCount; ++i)
        items.push_back(
            choice(Caption(kRegionCaptions[i], lang), kSoundFirstRegion + i, s.region == i));

    SoundMenuItem user;
    user.kind = SoundMenuItem::Kind::SubMenu;
    user.text = Caption(kEqualizerCaption, lang);
    user.radio = true;
    user.checked = s.equalizer;
    // an empty list has nothing to choose
    user.greyed = off || s.userPresets.empty();
    const int listed = std::min<int>(int(s.userPresets.size()), kMaxUserPresets);
    for (int i = 0; i < listed; ++i)
        user.items.push_back(choice(s.userPresets[size_t(i)], kSoundFirstUserPreset + i,
                                    s.equalizer && s.userPreset == i));
    GiveAccessKeys(user.items);
    items.push_back(std::move(user));

    items.push_back(Separator());
    SoundMenuItem environment = command(Caption(kEnvironmentCaption, lang), kSoundEnvironment);
    environment.checked = s.environment;
    environment.greyed = off;
    items.push_back(environment);
    GiveAccessKeys(items);
    menu.text = WithAccessKeys({menu.text}).front();
    return menu;
}

bool ChooseSound(HifiPage& page, const SoundSources& shown, int command) {
    if (!IsSoundCommand(command)) return false;
    if (command == kSoundDrySound) {
        // with the digital output on the press keeps the master off, as the page's click does
        if (page.Eq().master.lit == shown.master) page.PressMaster();
        return true;
    }
    const bool master = page.Eq().master.lit;
    if (command == kSoundEnvironment) {
        if (master && page.Rev().environment.lit == shown.environment)
            page.PressEnvironmentSwitch();
        return true;
    }
    if (command >= kSoundFirstEqPreset && command < kSoundFirstEqPreset + kEqPresetCount) {
        if (!master) return true;
        if (!page.Eq().preset.lit) page.PressSourceSwitch(kModeEqPreset);
        page.PressPresetLamp(command - kSoundFirstEqPreset);
        return true;
    }
    if (command >= kSoundFirstRegion && command < kSoundFirstRegion + kRegionStyleCount) {
        if (!master) return true;
        if (!page.Eq().region.lit) page.PressSourceSwitch(kModeRegionStyle);
        page.PressRegionLamp(command - kSoundFirstRegion);
        return true;
    }
    if (command < kSoundFirstUserPreset) return false;
    const size_t shownIndex = size_t(command - kSoundFirstUserPreset);
    if (!master || shownIndex >= shown.userPresets.size()) return true;
    const std::string& name = shown.userPresets[shownIndex];
    const auto listed = [&]() -> std::optional<int> {
        const std::vector<std::string>& names = page.Presets().names;
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return int(i);
        return std::nullopt;
    };
    if (!listed()) return true;
    if (!page.Eq().equalizer.lit) page.PressEqualizerSwitch();
    // the switch reloads the list: the name is looked up again in what it holds now
    if (const std::optional<int> index = listed(); page.Eq().equalizer.lit && index)
        page.OnPresetChosen(*index);
    return true;
}

bool ChooseSound(HifiPage& page, int command) {
    return ChooseSound(page, SoundSourcesOf(page), command);
}

}  // namespace quorelle::pages
