// The advance page: four enhancement effects of the card, each switched by one lamp. Portable
// page model: the states live in "CPL.ini" (section "Ad") and nowhere else; every action reads
// them from the file, shows them and sends all four to theOutputDevice as enable properties.
// The Win32 page (advance_page_win32.h) hands in the lamp rectangles and the press point and
// renders State() into the lamps and their indicators.
#pragma once

#include <array>
#include <string_view>

#include "device/conflib.h"
#include "pages/hit_area.h"

namespace quorelle::pages {

inline constexpr int kEffectCount = 4;

struct EnhancementEffect {
    std::string_view key;          // in section "Ad": "1" on, anything else off
    std::u16string_view property;  // the card's enable property, 1 or 0
};

// Dynamic Bass, Audio Brilliant, Voice Clarity, Adaptive Volume: always applied in this order.
inline constexpr std::array<EnhancementEffect, kEffectCount> kEffects = {{
    {"DynamicBass", u"Enable_VIRTUALBASS_LFX"},
    {"AudioBrilliant", u"Enable_AUDIOBRILLIANT_LFX"},
    {"VoiceClarity", u"Enable_VOICECLARITY_LFX"},
    {"AdaptiveVolume", u"Enable_ADAPTIVEVOLUME_GFX"},
}};

// Each effect's lamp and the indicator above it show the same state.
struct AdvanceState {
    std::array<bool, kEffectCount> on{};
    bool operator==(const AdvanceState&) const = default;
};

class AdvancePage {
  public:
    AdvancePage() = default;
    AdvancePage(const AdvancePage&) = delete;
    AdvancePage& operator=(const AdvancePage&) = delete;

    const AdvanceState& State() const { return state_; }

    // Every effect in order: its state from the file onto the lamps, then to the card, changed
    // or not.
    void ApplyAllEffects();
    // Inverts one effect in the file, then applies all.
    void ToggleEffect(int effect);
    // The press point of a left-button press (where it was pressed, also after a drag): each
    // effect whose lamp contains it is toggled.
    void OnPress(const std::array<Rect, kEffectCount>& lamps, Point pressed);

  private:
    AdvanceState state_;
    device::PropertyBuffer data_;
};

}  // namespace quorelle::pages
