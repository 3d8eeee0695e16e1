#include "pages/advance_page_win32.h"

#include "base/messages.h"
#include "device/conflib_win32.h"
#include "pages/hit_area_win32.h"
#include "resource.h"

namespace quorelle::pages {

CDlgAd::CDlgAd() : SecondaryPage(PAGE_ADVANCE, IDD_ADVANCE) {}

void CDlgAd::OnInitPage() {
    using namespace advance_ids;
    device_.StartPage(device::LoadConfLib());
    chrome_.ApplySkin(hwnd());
    for (int i = 0; i < kEffectCount; ++i) {
        lamps_[i].AttachDlgItem(hwnd(), kLamps[i]);
        lamps_[i].LoadLampImages(kLampOn, kLampOff);
        indicators_[i].AttachDlgItem(hwnd(), kIndicators[i]);
        indicators_[i].LoadLampImages(kIndicatorOn, kIndicatorOff);
    }
    rendered_.reset();
    model_.ApplyAllEffects();
    Render();
    SetPageTexts(StoredLanguage());
}

void CDlgAd::OnPress(POINT pressed) {
    std::array<Rect, kEffectCount> areas;
    for (int i = 0; i < kEffectCount; ++i) areas[i] = ClientRectOf(hwnd(), advance_ids::kLamps[i]);
    model_.OnPress(areas, {pressed.x, pressed.y});
    Render();
}

void CDlgAd::Render() {
    const AdvanceState& now = model_.State();
    for (int i = 0; i < kEffectCount; ++i) {
        if (rendered_ && rendered_->on[i] == now.on[i]) continue;  // no repaint for nothing
        lamps_[i].SetLit(now.on[i]);
        indicators_[i].SetLit(now.on[i]);
    }
    rendered_ = now;
}

}  // namespace quorelle::pages
