#include "pages/advance.h"

#include "device/selection.h"
#include "pages/settings_keys.h"
#include "settings/settings.h"

namespace quorelle::pages {

namespace {

bool EffectOn(int effect) {
    return ReadSettingInt(kCplIni, keys::kSectionAd, kEffects[effect].key) == 1;
}

}  // namespace

void AdvancePage::ApplyAllEffects() {
    for (int i = 0; i < kEffectCount; ++i) {
        state_.on[i] = EffectOn(i);
        device::SetProperty32(device::theOutputDevice.device, kEffects[i].property,
                              state_.on[i] ? 1 : 0, data_);
    }
}

void AdvancePage::ToggleEffect(int effect) {
    if (effect < 0 || effect >= kEffectCount) return;
    WriteSettingText(kCplIni, keys::kSectionAd, kEffects[effect].key, EffectOn(effect) ? "0" : "1");
    ApplyAllEffects();
}

void AdvancePage::OnPress(const std::array<Rect, kEffectCount>& lamps, Point pressed) {
    for (int i = 0; i < kEffectCount; ++i)
        if (lamps[i].Contains(pressed)) ToggleEffect(i);
}

}  // namespace quorelle::pages
