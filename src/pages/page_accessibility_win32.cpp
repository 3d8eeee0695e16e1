#include "pages/page_accessibility_win32.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "base/messages.h"
#include "base/own_windows_win32.h"
#include "base/text_win32.h"
#include "controls/dpi_win32.h"
#include "controls/knob_win32.h"
#include "controls/lamp_win32.h"
#include "controls/scale.h"
#include "controls/slider_win32.h"
#include "pages/accessibility.h"
#include "pages/hit_area_win32.h"

namespace quorelle::pages {

namespace {

using controls::AccessibleFacts;

std::wstring WindowText(HWND hwnd) {
    std::wstring text(size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

bool Lit(HWND control) {
    const auto* lamp = dynamic_cast<const controls::CMyStaticBmp*>(
        controls::SubclassedControl::FromHandle(control));
    return lamp != nullptr && lamp->Lit();
}

POINT Centre(const Rect& r) {
    return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

// A whole number, nothing else but spaces around it.
bool ParseNumber(const std::wstring& text, int& number) {
    const wchar_t* start = text.c_str();
    wchar_t* end = nullptr;
    const long value = std::wcstol(start, &end, 10);
    if (end == start) return false;
    while (*end == L' ') ++end;
    if (*end != L'\0' || value < -100000 || value > 100000) return false;
    number = static_cast<int>(value);
    return true;
}

}  // namespace

void PageAccessibility::Attach(HWND dialog, int dialogId, PageActions& actions) {
    Detach();
    dialog_ = dialog;
    dialogId_ = dialogId;
    actions_ = &actions;
    SetWindowObject(dialog_, WindowRole::PageKeys, this);
    controls::SetAccessibleHost(dialog_, this);
    // The keyboard comes to a window when the program shows it (TakeKeyboard). A focus set
    // here, while the window is made hidden, would keep the keys with it: the last page made
    // took them from the main window at every start.
}

void PageAccessibility::Detach() {
    if (dialog_ && IsWindow(dialog_)) {
        controls::SetAccessibleHost(dialog_, nullptr);
        controls::SetFocusCues(dialog_, false);
    }
    ClearWindowObject(dialog_, WindowRole::PageKeys, this);
    dialog_ = nullptr;
    actions_ = nullptr;
    told_.clear();
}

const AccessibleControl* PageAccessibility::Row(HWND control) const {
    if (!dialog_ || !control || GetParent(control) != dialog_) return nullptr;
    return FindAccessibleControl(dialogId_, GetDlgCtrlID(control));
}

bool PageAccessibility::HasAction(const AccessibleControl& row) const {
    return row.kind == AccessibleKind::Press || row.kind == AccessibleKind::Zone ||
           row.kind == AccessibleKind::Button;
}

bool PageAccessibility::Describe(HWND control, int child, AccessibleFacts& facts) {
    const AccessibleControl* row = Row(control);
    if (!row) return false;
    facts = {};
    if (child > 0) {  // a zone of a picture: the choice its lamp stands for
        const int lampId = ZoneLamp(dialogId_, row->id, child - 1);
        facts.role = static_cast<int32_t>(AccessibleRole::RadioButton);
        facts.name = Widen(AccessibleZoneName(dialogId_, row->id, child - 1, language_));
        if (facts.name.empty()) return false;
        if (!IsWindowVisible(control)) facts.state |= controls::kStateInvisible;
        if (Lit(GetDlgItem(dialog_, lampId))) facts.state |= controls::kStateChecked;
        if (actions_->ClickDoesNothing(row->id)) facts.state |= controls::kStateUnavailable;
        facts.action = Word(AccessibleWord::Check);
        return true;
    }
    facts.role = static_cast<int32_t>(row->role);
    // a text, and the link, are named by what they show
    facts.name = row->kind == AccessibleKind::Label || row->role == AccessibleRole::Link
                     ? WindowText(control)
                     : Widen(AccessibleName(dialogId_, *row, language_));

    if (!IsWindowVisible(control)) facts.state |= controls::kStateInvisible;
    if (!IsWindowEnabled(control) || actions_->ClickDoesNothing(row->id))
        facts.state |= controls::kStateUnavailable;
    const bool choice =
        row->role == AccessibleRole::CheckButton || row->role == AccessibleRole::RadioButton;
    if (choice && Lit(control)) facts.state |= controls::kStateChecked;
    if (row->kind == AccessibleKind::Indicator) facts.state |= controls::kStateReadOnly;
    if (row->role == AccessibleRole::Link) facts.state |= controls::kStateLinked;
    // the page button of the window that shows it: the page the user is on
    if (row->id == OwnPageButton(dialogId_)) facts.state |= controls::kStateSelected;
    const auto tabs = TabOrder(dialogId_);
    if (std::find(tabs.begin(), tabs.end(), row->id) != tabs.end()) {
        facts.state |= controls::kStateFocusable;
        if (GetFocus() == control) facts.state |= controls::kStateFocused;
    }

    controls::SubclassedControl* bound = controls::SubclassedControl::FromHandle(control);
    switch (row->kind) {
        case AccessibleKind::Knob:
            if (auto* knob = dynamic_cast<controls::CRoundSliderCtrl*>(bound))
                facts.value = std::to_wstring(knob->GetPos());
            break;
        case AccessibleKind::Slider:
        case AccessibleKind::NegatedSlider:
            if (auto* slider = dynamic_cast<controls::CBitmapSlider*>(bound)) {
                const int value = slider->Value();
                facts.value =
                    std::to_wstring(row->kind == AccessibleKind::NegatedSlider ? -value : value);
            }
            break;
        case AccessibleKind::Field:
            facts.value = WindowText(control);
            break;
        case AccessibleKind::Zones:
            // the chosen zone, by the name of its lamp
            for (int zone = 0; zone < ZoneCount(dialogId_, row->id); ++zone) {
                const int lampId = ZoneLamp(dialogId_, row->id, zone);
                const AccessibleControl* lamp = FindAccessibleControl(dialogId_, lampId);
                if (lamp && Lit(GetDlgItem(dialog_, lampId)))
                    facts.value = Widen(AccessibleName(dialogId_, *lamp, language_));
            }
            break;
        default:
            break;
    }
    if (HasAction(*row)) {
        if (row->kind == AccessibleKind::Button)
            facts.action = Word(AccessibleWord::Press);
        else if (row->role == AccessibleRole::Link)
            facts.action = Word(AccessibleWord::Jump);
        else if (row->role == AccessibleRole::CheckButton &&
                 (facts.state & controls::kStateChecked))
            facts.action = Word(AccessibleWord::Uncheck);
        else
            facts.action = Word(AccessibleWord::Check);
    }
    return true;
}

std::wstring PageAccessibility::Word(AccessibleWord word) const {
    return Widen(AccessibleWordText(word, language_));
}

void PageAccessibility::PressZone(int pictureId, int zone) {
    const Rect picture = ClientRectOf(dialog_, pictureId);
    actions_->PressAt(ToPoint(ZoneCentre(dialogId_, pictureId, picture, zone)));
}

int PageAccessibility::ChildCount(HWND control) {
    const AccessibleControl* row = Row(control);
    return row && row->kind == AccessibleKind::Zones ? ZoneCount(dialogId_, row->id) : 0;
}

bool PageAccessibility::ChildScreenRect(HWND control, int child, RECT& rect) {
    const AccessibleControl* row = Row(control);
    if (!row || child < 1 || child > ChildCount(control)) return false;
    const Rect zone = ZoneRect(dialogId_, row->id, ClientRectOf(dialog_, row->id), child - 1);
    const int dpi = controls::DrawnDpi(dialog_);
    rect = {controls::ToDevice(zone.left, dpi), controls::ToDevice(zone.top, dpi),
            controls::ToDevice(zone.right, dpi), controls::ToDevice(zone.bottom, dpi)};
    MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return true;
}

int PageAccessibility::ChildAt(HWND control, POINT screen) {
    for (int child = 1; child <= ChildCount(control); ++child) {
        RECT r;
        if (ChildScreenRect(control, child, r) && PtInRect(&r, screen)) return child;
    }
    return 0;
}

HRESULT PageAccessibility::DoDefaultAction(HWND control, int child) {
    const AccessibleControl* row = Row(control);
    if (!row || (child == 0 && !HasAction(*row)) || (child > 0 && child > ChildCount(control)))
        return DISP_E_MEMBERNOTFOUND;
    // a disabled button takes no click, so it has no action now; the page's own hit tests take
    // lamps and pictures whether they are enabled or not
    if (row->kind == AccessibleKind::Button && !IsWindowEnabled(control))
        return DISP_E_MEMBERNOTFOUND;
    // no click reaches a window that is not shown or that a notice has disabled; a click the
    // page takes but that does nothing now (a room lamp with the room switch off) is no action a
    // tool may hear of as done
    if (!ClickCanReach(control) || actions_->ClickDoesNothing(row->id)) return E_FAIL;
    // the caller has its answer before the page acts (an action may show a message box)
    return PostMessageW(dialog_, WM_ACCESSIBLE_ACTION, static_cast<WPARAM>(row->id), child)
               ? S_OK
               : E_FAIL;
}

bool PageAccessibility::ClickCanReach(HWND control) const {
    return dialog_ && IsWindowVisible(dialog_) && IsWindowEnabled(dialog_) &&
           IsWindowVisible(control);
}

HRESULT PageAccessibility::TypeInto(HWND field, const std::wstring& value) {
    if (!ClickCanReach(field) || !IsWindowEnabled(field)) return E_FAIL;
    if (GetWindowLongPtrW(field, GWL_STYLE) & ES_READONLY) return E_ACCESSDENIED;
    // what typing can put there: one line, up to the field's limit, no half of a pair
    std::wstring text = value.substr(0, value.find_first_of(L"\r\n"));
    const auto limit = static_cast<size_t>(SendMessageW(field, EM_GETLIMITTEXT, 0, 0));
    if (text.size() > limit) {
        text.resize(limit);
        if (!text.empty() && IS_HIGH_SURROGATE(text.back())) text.pop_back();
    }
    // a single-line field tells its window of the new text as it does after a key
    // (EN_UPDATE, EN_CHANGE)
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return S_OK;
}

void PageAccessibility::RunAction(int controlId, int child) {
    const AccessibleControl* row = FindAccessibleControl(dialogId_, controlId);
    HWND control = dialog_ ? GetDlgItem(dialog_, controlId) : nullptr;
    // the window may have gone out of sight since the action was asked for
    if (!row || !control || !actions_ || !ClickCanReach(control)) return;
    if (child > 0 && row->kind == AccessibleKind::Zones) {
        PressZone(row->id, child - 1);
        return;
    }
    switch (row->kind) {
        case AccessibleKind::Button:
            if (!IsWindowEnabled(control)) break;
            // what a click on the button sends its window
            SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(control));
            break;
        case AccessibleKind::Press:
            actions_->PressAt(Centre(ClientRectOf(dialog_, controlId)));
            break;
        case AccessibleKind::Zone:
            PressZone(row->picture, row->zone);
            break;
        default:
            break;
    }
}

HRESULT PageAccessibility::SetValue(HWND control, const std::wstring& value) {
    const AccessibleControl* row = Row(control);
    wchar_t className[16] = L"";
    if (row && row->kind == AccessibleKind::Field &&
        GetClassNameW(control, className, int(std::size(className))) > 0 &&
        _wcsicmp(className, L"Edit") == 0)
        return TypeInto(control, value);
    controls::SubclassedControl* bound = controls::SubclassedControl::FromHandle(control);
    auto* knob = dynamic_cast<controls::CRoundSliderCtrl*>(bound);
    auto* slider = dynamic_cast<controls::CBitmapSlider*>(bound);
    const bool takesValue =
        row &&
        ((row->kind == AccessibleKind::Knob && knob) ||
         ((row->kind == AccessibleKind::Slider || row->kind == AccessibleKind::NegatedSlider) &&
          slider));
    if (!takesValue) return DISP_E_MEMBERNOTFOUND;
    int number = 0;
    if (!ParseNumber(value, number)) return E_INVALIDARG;
    if (!ClickCanReach(control)) return E_FAIL;  // no drag reaches a window that is not shown
    if (knob)
        knob->MoveAsDrag(number);
    else
        slider->MoveAsDrag(row->kind == AccessibleKind::NegatedSlider ? -number : number);
    return S_OK;
}

void PageAccessibility::NotifyChanges() {
    if (!dialog_ || !controls::AccessibilityInUse()) return;  // nobody listens yet
    const auto rows = AccessibleControls(dialogId_);
    const bool first = told_.empty();
    if (first) told_.resize(rows.size());
    for (size_t i = 0; i < rows.size() && i < told_.size(); ++i) {
        HWND control = GetDlgItem(dialog_, rows[i].id);
        AccessibleFacts now;
        if (!control || !Describe(control, 0, now)) continue;
        Told& was = told_[i];
        if (!first && was.control == control) {
            const auto tell = [control](DWORD event) {
                NotifyWinEvent(event, control, OBJID_CLIENT, CHILDID_SELF);
            };
            if (now.name != was.facts.name) tell(EVENT_OBJECT_NAMECHANGE);
            // focus moves are told by the system itself
            if ((now.state & ~controls::kStateFocused) !=
                (was.facts.state & ~controls::kStateFocused))
                tell(EVENT_OBJECT_STATECHANGE);
            if (now.value != was.facts.value) tell(EVENT_OBJECT_VALUECHANGE);
        }
        was = {control, std::move(now)};
    }
}

HWND PageAccessibility::ControlOf(HWND hwnd) const {
    while (hwnd && GetParent(hwnd) != dialog_) hwnd = GetParent(hwnd);
    return hwnd;
}

void PageAccessibility::MoveFocus(bool backwards) {
    const auto tabs = TabOrder(dialogId_);
    if (tabs.empty()) return;
    const int n = static_cast<int>(tabs.size());
    HWND focus = ControlOf(GetFocus());
    const int focusId = focus ? GetDlgCtrlID(focus) : 0;
    const auto at = std::find(tabs.begin(), tabs.end(), focusId);
    int i = at == tabs.end() ? (backwards ? n : -1) : static_cast<int>(at - tabs.begin());
    for (int step = 0; step < n; ++step) {
        i = (i + (backwards ? n - 1 : 1)) % n;
        HWND next = GetDlgItem(dialog_, tabs[size_t(i)]);
        if (next && IsWindowVisible(next) && IsWindowEnabled(next)) {
            SetFocus(next);
            return;
        }
    }
}

namespace {
// A key's action (Enter or Space) is under way: a window it opens shows the focus mark at once.
bool keyActionUnderway = false;
}  // namespace

void PageAccessibility::TakeKeyboard(HWND dialog) {
    auto* page = WindowObjectAs<PageAccessibility>(dialog, WindowRole::PageKeys);
    if (page == nullptr || !IsWindowVisible(dialog)) return;
    SetForegroundWindow(dialog);
    // the first control of the reading order, not the first button of the dialog's own order
    // (the close button)
    for (const int id : TabOrder(page->dialogId_)) {
        HWND control = GetDlgItem(dialog, id);
        if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control)) continue;
        // straight to the control, as Tab moves it: the dialog manager's WM_NEXTDLGCTL would
        // also look among all the page's windows for a default push button, which no page
        // has (one round trip to the window server per window: Wine seam, round trips)
        SetFocus(control);
        break;
    }
    if (keyActionUnderway) controls::SetFocusCues(dialog, true);
}

bool PageAccessibility::OnKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !dialog_) return false;
    HWND control = ControlOf(msg.hwnd == dialog_ ? GetFocus() : msg.hwnd);
    const AccessibleControl* row = control ? Row(control) : nullptr;
    const bool ctrlOrAlt = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    switch (msg.wParam) {
        case VK_TAB:
            if (ctrlOrAlt) return false;
            controls::SetFocusCues(dialog_, true);
            MoveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_SPACE:
        case VK_RETURN:
            if (!row || !HasAction(*row)) return false;  // the list and the name field type
            controls::SetFocusCues(dialog_, true);
            {
                const struct KeyAction {
                    KeyAction() { keyActionUnderway = true; }
                    ~KeyAction() { keyActionUnderway = false; }
                } underway;
                RunAction(row->id, 0);
            }
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
            controls::SetFocusCues(dialog_, true);
            // a knob, a slider, the list and the name field take these keys themselves; on a
            // lamp or a button they do nothing (the dialog manager would move the focus
            // through the window's labels)
            return row && (HasAction(*row) || row->kind == AccessibleKind::Label);
        default:
            return false;
    }
}

bool PageAccessibility::HandlePageKey(HWND dialog, const MSG& msg) {
    auto* page = WindowObjectAs<PageAccessibility>(dialog, WindowRole::PageKeys);
    return page != nullptr && page->OnKey(msg);
}

}  // namespace quorelle::pages
