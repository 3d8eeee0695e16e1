#include "pages/page_chrome_win32.h"

#include "base/text_win32.h"
#include "base/texts.h"
#include "base/version.h"
#include "controls/dpi_win32.h"
#include "controls/layout.h"
#include "controls/scale.h"
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
    const int dpi = controls::WindowDpi(dialog);
    controls::SetDrawnDpi(dialog, dpi);
    if (const controls::TemplateInfo* page = controls::FindTemplate(dialogId_))
        controls::ApplyPageSkinWhenShown(dialog, frame_, page->backgroundId, dpi);
    // the template holds no control: each is made here at its final place and stacking
    controls::CreateTemplateControls(dialog, dialogId_, dpi);
    nav_.Bind(dialog, pageIndex_);
    for (const controls::ControlPlace& place : controls::TemplateControls(dialogId_)) {
        if (place.kind != controls::ControlKind::Label) continue;
        if (NavigationCaption(nav_, place.id)) continue;
        auto label = std::make_unique<controls::CLabel>();
        if (label->AttachDlgItem(dialog, place.id)) labels_.push_back(std::move(label));
    }
}

bool PageChrome::ChangeDpi(int displayDpi, const RECT* suggested) {
    if (dialog_ == nullptr) return false;
    const int dpi = controls::SkinDpi(displayDpi);
    if (dpi == Dpi()) {
        if (suggested != nullptr)
            SetWindowPos(dialog_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return false;
    }
    controls::SetDrawnDpi(dialog_, dpi);
    // The window takes the suggested place and the size of its new background in one move,
    // then its shape and its controls' places; nothing is drawn until all of it is at the new
    // scale, and a hidden window stays hidden (no WM_SETREDRAW, which would make it visible).
    RECT now{};
    GetWindowRect(dialog_, &now);
    const POINT origin =
        suggested != nullptr ? POINT{suggested->left, suggested->top} : POINT{now.left, now.top};
    if (const controls::TemplateInfo* page = controls::FindTemplate(dialogId_))
        controls::ApplyPageSkinWhenShown(dialog_, frame_, page->backgroundId, dpi, &origin);
    controls::PlaceTemplateControls(dialog_, dialogId_, dpi, false);
    for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (controls::SubclassedControl* control = controls::SubclassedControl::FromHandle(child))
            control->FollowDrawnDpi();
    }
    RedrawWindow(dialog_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    return true;
}

int PageChrome::Dpi() const {
    return controls::DrawnDpi(dialog_);
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
        accessibility_.SetLanguage(language);  // the names follow
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
        case WM_GETDPISCALEDSIZE: {
            // the size at the new scale is the background drawn for it, not the dialog font's
            const controls::TemplateInfo* page = controls::FindTemplate(dialogId_);
            const SIZE size = page != nullptr ? gdi::ImageResourceSize(
                                                    GetModuleHandleW(nullptr), page->backgroundId,
                                                    controls::SkinDpi(int(wParam)))
                                              : SIZE{0, 0};
            if (size.cx <= 0 || lParam == 0) return false;
            *reinterpret_cast<SIZE*>(lParam) = size;
            result = TRUE;
            return true;
        }
        case WM_SHOWWINDOW:
            // a background left for the first show is decoded, and the shape cut, before the
            // window appears
            if (wParam) frame_.DecodePendingBackground();
            return false;
        case WM_ERASEBKGND:
            // the composed paint that follows covers the background
            if (frame_.Composing()) {
                result = 1;
                return true;
            }
            result = controls::PaintPageBackground(frame_, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
            return true;
        case WM_PAINT:
            controls::PaintPageWithControls(dialog_, frame_);
            result = 0;
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
        case WM_ACCESSIBLE_ACTION:
            accessibility_.RunAction(static_cast<int>(wParam), static_cast<int>(lParam));
            result = 0;
            return true;
        case WM_DESTROY:
            accessibility_.Detach();
            return false;
        default:
            return false;
    }
}

void PageChrome::PrepareToShow() {
    frame_.DecodePendingBackground();
}

void PageChrome::AfterMessage(UINT msg) {
    // what can change a control's name, state or value: clicks, commands, the knobs' and
    // sliders' notices, the program's own messages (language, volume, output, actions)
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_COMMAND:
        case WM_HSCROLL:
            accessibility_.NotifyChanges();
            break;
        default:
            if (msg >= WM_USER) accessibility_.NotifyChanges();
            break;
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
