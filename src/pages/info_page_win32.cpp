#include "pages/info_page_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/messages.h"
#include "base/text_win32.h"
#include "base/texts.h"
#include "controls/dpi_win32.h"
#include "controls/gdi_win32.h"
#include "controls/scale.h"
#include "pages/hit_area_win32.h"
#include "pages/info.h"
#include "resource.h"

namespace quorelle::pages {

CDlgInfo::CDlgInfo() : SecondaryPage(PAGE_INFO, IDD_INFO) {}

void CDlgInfo::OnInitPage() {
    chrome_.ApplySkin(hwnd());
    FillVersionInfo();
    SetPageTexts(StoredLanguage());
}

void CDlgInfo::OnDpiChanged() {
    // the labels' letters changed size: which texts are cut, and where, is measured again
    if (tips_ != nullptr) DestroyWindow(tips_);
    tips_ = nullptr;
    FillVersionInfo();
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
        if (value.labelId == kInfoOsLabel || value.labelId == kInfoDriverLabel ||
            value.labelId == kInfoCplLabel)
            TipIfCut(label, text);
    }
}

void CDlgInfo::TipIfCut(HWND label, const std::wstring& text) {
    RECT client;
    GetClientRect(label, &client);
    SIZE extent{};
    {
        gdi::WindowDC dc(label);
        const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0));
        gdi::SelectGuard select(dc.Get(),
                                font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    }
    if (extent.cx <= client.right) return;
    if (tips_ == nullptr) {
        // the tip shows whichever window is active: the text is cut whether or not the page has
        // the keyboard
        tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                ProgramInstance(), nullptr);
        if (tips_ == nullptr) return;
    }
    // the label lets the pointer through to the page, so the tip watches the page over its place
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = hwnd();
    const int id = GetDlgCtrlID(label);
    tool.uId = static_cast<UINT_PTR>(id);
    // the tip's area in the page's device pixels
    GetWindowRect(label, &tool.rect);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&tool.rect), 2);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool CDlgInfo::OverAddress(POINT client) const {
    return PressOpensWebAddress({client.x, client.y}, ClientRectOf(hwnd(), kInfoAddressLabel));
}

void CDlgInfo::OnPress(POINT pressed) {
    if (!OverAddress(pressed)) return;
    // a handler that cannot open it is not reported
    ShellExecuteW(hwnd(), L"open", Widen(kInfoWebAddress).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool CDlgInfo::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == hwnd()) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        const int dpi = controls::DrawnDpi(hwnd());
        HCURSOR hand = controls::HandCursor(dpi);
        if (hand == nullptr) hand = LoadCursorW(nullptr, IDC_HAND);
        if (OverAddress({controls::ToLogical(p.x, dpi), controls::ToLogical(p.y, dpi)})) {
            SetCursor(hand);
            result = TRUE;
            return true;
        }
    }
    return SecondaryPage::OnMessage(msg, wParam, lParam, result);
}

}  // namespace quorelle::pages
