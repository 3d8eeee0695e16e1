#include "pages/page_chrome_win32.h"

#include "base/text_win32.h"
#include "base/texts.h"
#include "base/version.h"
#include "controls/layout.h"
#include "settings/settings.h"

namespace quorelle::pages {

namespace {
controls::CLabel* NavigationCaption(controls::NavigationColumn& nav, int id) {
    for (int i = 0; i < 5; ++i)
        if (nav.Caption(i).Hwnd() && nav.Caption(i).ControlId() == id) return &nav.Caption(i);
    return nullptr;
}
}  // namespace

void PageChrome::ApplySkin(HWND dialog) {
    dialog_ = dialog;
    if (const controls::TemplateInfo* page = controls::FindTemplate(dialogId_))
        controls::ApplyPageSkin(dialog, frame_, page->backgroundId);
    controls::PlaceTemplateControls(dialog, dialogId_);
    controls::StackOverlappingControls(dialog, dialogId_);
    nav_.Bind(dialog, pageIndex_);
    for (const controls::ControlPlace& place : controls::TemplateControls(dialogId_)) {
        if (place.kind != controls::ControlKind::Label) continue;
        if (NavigationCaption(nav_, place.id)) continue;
        auto label = std::make_unique<controls::CLabel>();
        if (label->AttachDlgItem(dialog, place.id)) labels_.push_back(std::move(label));
    }
}

controls::CLabel* PageChrome::Label(int id) {
    if (controls::CLabel* nav = NavigationCaption(nav_, id)) return nav;
    for (auto& label : labels_)
        if (label->ControlId() == id) return label.get();
    return nullptr;
}

int PageChrome::CloseButtonId() const {
    return controls::NavigationIdsOf(pageIndex_).close;
}

void PageChrome::SetPageTexts(int language) {
    if (IsLanguage(language)) {
        for (const LabelText& text : LanguageTexts(dialogId_)) {
            const std::wstring wide = Widen(text.byLanguage[static_cast<size_t>(language)]);
            if (controls::CLabel* label = Label(text.id))
                label->SetText(wide);
            else
                SetDlgItemTextW(dialog_, text.id, wide.c_str());
        }
    }
    if (dialog_) InvalidateRect(dialog_, nullptr, TRUE);
}

bool PageChrome::HandleFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_ERASEBKGND:
            result = controls::PaintPageBackground(frame_, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
            return true;
        case WM_CTLCOLORSTATIC:
            if (controls::ReflectNotification(msg, wParam, lParam, result)) return true;
            // a picture whose images are not set yet lets the background show through
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return true;
        case WM_CTLCOLORBTN:
        case WM_DRAWITEM:
            return controls::ReflectNotification(msg, wParam, lParam, result);
        default:
            return false;
    }
}

std::string PageTitle(int pageIndex) {
    static constexpr const char* names[] = {"", "Hifi", "Advance", "Information", "Headphone"};
    std::string title = QUORELLE_PRODUCT_NAME;
    if (pageIndex >= 1 && pageIndex <= 4) title += std::string(" - ") + names[pageIndex];
    return title;
}

int StoredLanguage() {
    return ReadSettingInt(kCplIni, "CPL", "language");
}

}  // namespace quorelle::pages
