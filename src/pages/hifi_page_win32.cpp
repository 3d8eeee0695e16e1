#include "pages/hifi_page_win32.h"

#include "base/messages.h"
#include "device/conflib_win32.h"
#include "pages/accessibility.h"
#include "resource.h"

namespace quorelle::pages {

CDlgHifi::CDlgHifi() : SecondaryPage(PAGE_HIFI, IDD_HIFI) {}

void CDlgHifi::OnInitPage() {
    if (device_.StartPage(device::LoadConfLib())) view_.ReadBackFromDevice();
    chrome_.ApplySkin(hwnd());
    view_.Attach(hwnd(), chrome_);
    view_.StartFromSettings();
    SetPageTexts(StoredLanguage());
    view_.StartPresetControls();
}

bool CDlgHifi::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_HSCROLL:
            view_.OnHScroll(reinterpret_cast<HWND>(lParam));
            break;  // then the default processing
        case WM_COMMAND:
            if (view_.OnCommand(wParam)) return true;
            break;
        default:
            if (msg == SLIDER_MSG_TRACK) {
                view_.OnSliderTrack();
                result = 1;
                return true;
            }
            if (msg == SLIDER_MSG_COMMIT && view_.OnSliderCommit(wParam, lParam)) {
                result = 1;
                return true;
            }
            break;
    }
    return SecondaryPage::OnMessage(msg, wParam, lParam, result);
}

bool CDlgHifi::OnLeftButtonDown(POINT pressed, LRESULT& result) {
    if (view_.OnLButtonDown(pressed)) {
        controls::DragPage(hwnd());
        return false;
    }
    result = 0;
    return true;
}

bool CDlgHifi::ClickDoesNothing(int controlId) const {
    const EqualizerState& eq = view_.Model().Eq();
    const ReverbState& reverb = view_.Model().Rev();
    return HifiClickDoesNothing(
        {eq.master.lit, eq.region.lit, eq.preset.lit, reverb.room.lit, DigitalOutputOn()},
        controlId);
}

SoundMenuItem CDlgHifi::SoundChoices(const SoundSources& shown) {
    return SoundMenu(shown, StoredLanguage());
}

void CDlgHifi::SetPageTexts(int language) {
    chrome_.SetPageTexts(language);
    view_.ShowEnvironmentList();
}

}  // namespace quorelle::pages
