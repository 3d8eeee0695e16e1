// The user's own equalizer presets on the HIFI page: named sets of the ten band values kept in
// "Custom.ini" (one section per preset, keys eq_0 .. eq_9), listed in CPL.ini (CustomCount,
// Custom0, Custom1 ...), with the remembered preset (CurrentCustom) and whether the sliders show
// it (Customize). Portable model: it holds the list, the selection and the name field as the
// page shows them; the bands live on the equalizer's sliders.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/equalizer.h"

namespace quorelle::pages {

// No more presets than this are listed or added, whatever CustomCount says.
inline constexpr int kMaxUserPresets = 1000;
// A name holds at most this many UTF-16 units (the name field takes no more).
inline constexpr size_t kMaxPresetNameUnits = 255;

// A message box the page shows: its text and caption, in the interface language.
struct PresetWarning {
    std::string text;
    std::string caption;
    bool operator==(const PresetWarning&) const = default;
};

enum class PresetMessage {
    NameExists,  // "This name already exists."
    NoName,      // "Please specify a valid name."
    NotSaved,    // the settings files refused the preset
    // a name the system's character set for the files cannot hold (a Chinese name on a system
    // whose code page is Western): not invalid, but it cannot be kept
    CannotKeepName,
};
// The message in a language; any language other than 1 and 2 gets Simplified Chinese.
PresetWarning PresetWarningText(PresetMessage message, int language);

// The name without the spaces at either end.
std::string TrimBlanks(std::string_view name);
// Names the settings files cannot tell apart: equal without regard to letter case.
bool SamePresetName(std::string_view a, std::string_view b);
// A name the settings files keep exactly as given: no control character, no square bracket, no
// leading ';', not wrapped in matching quotes, at most kMaxPresetNameUnits long, and held
// faithfully by the files' text encoding.
bool UsablePresetName(std::string_view name);
// The same but for the last condition: what any character set would keep.
bool UsablePresetNameIgnoringCharacterSet(std::string_view name);

struct UserPresetsState {
    std::vector<std::string> names;  // in the order of the name keys
    std::optional<int> selected;     // an index into names
    std::string nameField;
    bool operator==(const UserPresetsState&) const = default;
};

class UserEqPresets {
  public:
    explicit UserEqPresets(Equalizer& equalizer) : equalizer_(equalizer) {}
    UserEqPresets(const UserEqPresets&) = delete;
    UserEqPresets& operator=(const UserEqPresets&) = delete;

    const UserPresetsState& State() const { return state_; }
    // What the user typed and chose, handed in by the view.
    void SetNameField(std::string text) { state_.nameField = std::move(text); }
    void Select(std::optional<int> index);
    void ClearSelection() { state_.selected.reset(); }

    // The list from the name keys (replacing what it held), nothing selected.
    void LoadPresetList();
    // Selects and applies the remembered preset while Customize is set; without one of that
    // name, nothing is selected and the sliders are loaded from section Hifi.
    void RestoreCurrentPreset();
    // The selected preset's bands onto the sliders and the card; remembered, Customize set.
    // Nothing happens without a selected preset that has a name.
    void SelectPreset();
    // While Customize is set, the sliders show the selected preset's bands again (the card
    // still holds them), with nothing sent: after a refresh that loaded them from section Hifi.
    void ShowSelectedPreset();
    // Stores the sliders' bands under the name in the field. A refused name, or a file that
    // refuses the preset, gives the message to show and changes nothing else (except that the
    // name-exists message clears the field).
    std::optional<PresetWarning> AddPreset();
    // Removes the selected preset from the list (its section stays in Custom.ini) and applies
    // the last one left; nothing happens without a selection.
    void DeletePreset();

  private:
    // The selected preset's bands onto the sliders; false without a selected named preset.
    bool ShowPresetBands();

    Equalizer& equalizer_;
    UserPresetsState state_;
};

}  // namespace quorelle::pages
