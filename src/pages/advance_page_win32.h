#pragma once

#include <array>
#include <optional>

#include "controls/control_ids.h"
#include "controls/lamp_win32.h"
#include "controls/skin_images.h"
#include "pages/advance.h"
#include "pages/secondary_page_win32.h"

namespace quorelle::pages {

// Control ids and images of the advance page (dialog 196), effects in the order of kEffects.
namespace advance_ids {
using namespace controls::ids::advance;
static_assert(kLamps.size() == kEffectCount && kIndicators.size() == kEffectCount);
inline constexpr int kLampOn = controls::images::kToggleOn;
inline constexpr int kLampOff = controls::images::kToggleOff;
inline constexpr int kIndicatorOn = controls::images::kLedOn;
inline constexpr int kIndicatorOff = controls::images::kLedOff;
}  // namespace advance_ids

// Enhancement effects (dialog 196): the library, the skin, the lamps from the settings file
// (sent to the card), the texts. A press drags the page first, then toggles the lamp it was
// pressed on.
class CDlgAd final : public SecondaryPage {
  public:
    CDlgAd();
    const AdvancePage& Model() const { return model_; }

  protected:
    void OnInitPage() override;
    void OnPress(POINT pressed) override;

  private:
    // The model's state into the lamps and indicators that changed.
    void Render();

    AdvancePage model_;
    std::array<controls::CMyStaticBmp, kEffectCount> lamps_;
    std::array<controls::CMyStaticBmp, kEffectCount> indicators_;
    std::optional<AdvanceState> rendered_;
};

}  // namespace quorelle::pages
