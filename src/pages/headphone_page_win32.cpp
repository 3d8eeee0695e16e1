#include "pages/headphone_page_win32.h"

#include "base/messages.h"
#include "device/conflib_win32.h"
#include "pages/hit_area_win32.h"
#include "resource.h"

namespace quorelle::pages {

CDlgHp::CDlgHp() : SecondaryPage(PAGE_HP, IDD_HP) {}

void CDlgHp::OnInitPage() {
    using namespace headphone_ids;
    chrome_.ApplySkin(hwnd());
    const HeadphoneStart start = device_.StartHeadphonePage(device::LoadConfLib());
    // the looks are loaded whatever the device start gave: the page always shows the file
    const struct {
        controls::CMyStaticBmp& control;
        int id, on, off;
    } images[] = {
        {surroundLamp_, kSurroundLamp, kSurroundOn, kSurroundOff},
        {surroundPicture_, kSurroundPicture, kPictureOn, kPictureOff},
        {impedanceLamp_, kImpedanceLamp, kImpedanceHigh, kImpedanceLow},
        {upperIndicator_, kUpperIndicator, kIndicatorOn, kIndicatorOff},
        {lowerIndicator_, kLowerIndicator, kIndicatorOn, kIndicatorOff},
    };
    for (const auto& image : images) {
        image.control.AttachDlgItem(hwnd(), image.id);
        image.control.LoadLampImages(image.on, image.off);
    }
    rendered_.reset();
    model_.Start(start);
    Render();
    SetPageTexts(StoredLanguage());
}

void CDlgHp::RefreshFromSettings() {
    if (!hwnd()) return;
    model_.Refresh();
    Render();
}

void CDlgHp::OnPress(POINT pressed) {
    const HeadphoneHitAreas areas{ClientRectOf(hwnd(), headphone_ids::kSurroundLamp),
                                  ClientRectOf(hwnd(), headphone_ids::kImpedanceLamp)};
    model_.OnPress(areas, {pressed.x, pressed.y});
    Render();
}

void CDlgHp::Render() {
    const HeadphoneState& now = model_.State();
    const HeadphoneState* was = rendered_ ? &*rendered_ : nullptr;
    if (!was || was->surround != now.surround) {
        surroundLamp_.SetLit(now.surround);
        surroundPicture_.SetLit(now.surround);
    }
    if (!was || was->highImpedance != now.highImpedance) {
        impedanceLamp_.SetLit(now.highImpedance);
        upperIndicator_.SetLit(now.highImpedance);
        lowerIndicator_.SetLit(!now.highImpedance);
    }
    rendered_ = now;
}

}  // namespace quorelle::pages
