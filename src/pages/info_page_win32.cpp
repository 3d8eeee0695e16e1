#include "pages/info_page_win32.h"

#include <shellapi.h>

#include "app/messages.h"
#include "app/text_win32.h"
#include "app/texts.h"
#include "pages/info.h"
#include "resource.h"

namespace quorelle::pages {

CDlgInfo::CDlgInfo() : SecondaryPage(PAGE_INFO, IDD_INFO, 174) {}

void CDlgInfo::OnInitPage() {
    chrome_.ApplySkin(hwnd());
    FillVersionInfo();
    SetPageTexts(StoredLanguage());
    hand_ = LoadCursorW(ProgramInstance(), MAKEINTRESOURCEW(IDC_HAND_POINTER));
    if (hand_ == nullptr) hand_ = LoadCursorW(nullptr, IDC_HAND);
}

void CDlgInfo::FillVersionInfo() {
    for (const InfoText& value : pages::FillVersionInfo()) {
        HWND label = GetDlgItem(hwnd(), value.labelId);
        if (label == nullptr) continue;
        // The texts stand as they are: an "&" is a letter, not a mnemonic mark. A version text
        // too long for its label ends in an ellipsis instead of breaking onto a hidden line.
        LONG_PTR style = GetWindowLongPtrW(label, GWL_STYLE) | SS_NOPREFIX;
        if (value.labelId != kInfoTitleLabel && value.labelId != kInfoCopyrightLabel)
            style |= SS_ENDELLIPSIS;
        SetWindowLongPtrW(label, GWL_STYLE, style);
        const std::wstring text = Widen(value.text);
        if (controls::CLabel* skinned = chrome_.Label(value.labelId))
            skinned->SetText(text);
        else
            SetWindowTextW(label, text.c_str());
    }
}

bool CDlgInfo::OverAddress(POINT client) const {
    HWND label = GetDlgItem(hwnd(), kInfoAddressLabel);
    if (label == nullptr) return false;
    RECT r;
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return PressOpensWebAddress({client.x, client.y}, {r.left, r.top, r.right, r.bottom});
}

void CDlgInfo::OnPress(POINT pressed) {
    if (!OverAddress(pressed)) return;
    // a handler that cannot open it is not reported
    ShellExecuteW(hwnd(), L"open", Widen(kInfoWebAddress).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool CDlgInfo::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_SETCURSOR && hand_ != nullptr && reinterpret_cast<HWND>(wParam) == hwnd()) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        if (OverAddress(p)) {
            SetCursor(hand_);
            result = TRUE;
            return true;
        }
    }
    return SecondaryPage::OnMessage(msg, wParam, lParam, result);
}

}  // namespace quorelle::pages
