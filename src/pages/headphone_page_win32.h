#pragma once

#include <optional>

#include "controls/control_ids.h"
#include "controls/lamp_win32.h"
#include "controls/skin_images.h"
#include "pages/headphone.h"
#include "pages/secondary_page_win32.h"

namespace quorelle::pages {

// Control ids and images of the headphone page (dialog 192).
namespace headphone_ids {
using namespace controls::ids::headphone;
inline constexpr int kSurroundOn = controls::images::kWideSwitchOn;
inline constexpr int kSurroundOff = controls::images::kWideSwitchOff;
inline constexpr int kPictureOn = controls::images::kSurroundPictureOn;
inline constexpr int kPictureOff = controls::images::kSurroundPictureOff;
inline constexpr int kImpedanceHigh = controls::images::kToggleOn;  // choice 1
inline constexpr int kImpedanceLow = controls::images::kToggleOff;  // choice 0
inline constexpr int kIndicatorOn = controls::images::kLedOn;
inline constexpr int kIndicatorOff = controls::images::kLedOff;
}  // namespace headphone_ids

// Headphone (dialog 192): its skin first, then the library; the lamps, the picture and the
// indicators show the settings file whether or not the card is there. A press drags the page
// first, then acts on the lamp it was pressed on.
class CDlgHp final : public SecondaryPage {
  public:
    CDlgHp();
    // Re-reads the page's switches from the settings file (after the main console switched the
    // digital output on, which turns surround off).
    void RefreshFromSettings();
    const HeadphonePage& Model() const { return model_; }

  protected:
    void OnInitPage() override;
    void OnPress(POINT pressed) override;

  private:
    // The model's state into the controls that changed.
    void Render();

    HeadphonePage model_;
    controls::CMyStaticBmp surroundLamp_;
    controls::CMyStaticBmp surroundPicture_;
    controls::CMyStaticBmp impedanceLamp_;
    controls::CMyStaticBmp upperIndicator_;
    controls::CMyStaticBmp lowerIndicator_;
    std::optional<HeadphoneState> rendered_;
};

}  // namespace quorelle::pages
