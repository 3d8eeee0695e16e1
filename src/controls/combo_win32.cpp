#include "controls/combo_win32.h"

#include <algorithm>
#include <string>

#include "controls/label_win32.h"
#include "controls/memdc_win32.h"

namespace quorelle::controls {

namespace {
constexpr int kComboPointTenths = 95;
constexpr COLORREF kFocusMark = RGB(255, 176, 48);
constexpr COLORREF kListBackground = RGB(34, 36, 41);
constexpr COLORREF kListSelection = RGB(78, 84, 96);
// an edit field's letters and caret keep this far (logical pixels) from the face's left edge
constexpr int kEditTextInset = 4;
}  // namespace

void CMyComboBox::KeepTextInsideFace() {
    if (isCombo_ || Hwnd() == nullptr) return;
    Default(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
            MAKELPARAM(Scaled(kEditTextInset), Scaled(kEditTextInset) / 2));
}

CMyComboBox::~CMyComboBox() {
    Detach();
}

void CMyComboBox::OnAttached() {
    wchar_t className[32] = {};
    GetClassNameW(Hwnd(), className, 32);
    isCombo_ = lstrcmpiW(className, L"ComboBox") == 0;
    font_ = SharedPointFont(kComboPointTenths, L"Arial", Dpi());
}

void CMyComboBox::OnDpiChanged() {
    resourceFace_.Reset();
    font_ = SharedPointFont(kComboPointTenths, L"Arial", Dpi());
    // an edit field's caret follows the letters in the new font
    if (!isCombo_) Default(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    KeepTextInsideFace();
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CMyComboBox::DrawFace(HDC dc) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    HBITMAP face = faceBitmap_.Get();
    if (face == nullptr) {
        if (!resourceFace_) resourceFace_ = gdi::LoadSharedBitmap(faceImageId_, Dpi());
        face = resourceFace_.Get();
    }
    if (face == nullptr) return;
    gdi::OwnedDC source(CreateCompatibleDC(dc));
    if (!source) return;
    gdi::SelectGuard select(source.Get(), face);
    gdi::DrawImageFitted(dc, 0, 0, client.right, client.bottom, source.Get(),
                         gdi::BitmapSize(face));
}

void CMyComboBox::Paint(HDC target) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    // also when the combo box paints only its selection field, under a clip of its own
    CMemDC mem(target, &client, false);
    HDC dc = mem.Get();
    DrawFace(dc);
    const int length = GetWindowTextLengthW(Hwnd());
    if (length > 0) {
        std::wstring text(size_t(length) + 1, L'\0');
        text.resize(size_t(GetWindowTextW(Hwnd(), text.data(), length + 1)));
        // an edit field scrolled sideways shows its text from the first visible character
        const size_t first = isCombo_ ? 0 : size_t(Default(EM_GETFIRSTVISIBLELINE, 0, 0));
        text.erase(0, std::min(first, text.size()));
        gdi::SelectGuard font(dc, font_.Get());
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        // an edit field's letters begin where its caret does, at its left margin
        RECT letters = client;
        if (!isCombo_) letters.left += LOWORD(Default(EM_GETMARGINS, 0, 0));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &letters,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    }
    if (isCombo_ && GetFocus() == Hwnd() && IsWindowEnabled(Hwnd())) {
        // the focus mark: a thin lit line along the face's lower edge, in the lamps' amber
        RECT mark{client.left + Scaled(2), client.bottom - Scaled(3), client.right - Scaled(2),
                  client.bottom - Scaled(2)};
        SetDCBrushColor(dc, kFocusMark);
        FillRect(dc, &mark, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    if (!IsWindowEnabled(Hwnd())) DimDisabledArea(dc, client);
}

void CMyComboBox::DrawListItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    SetDCBrushColor(dc, selected ? kListSelection : kListBackground);
    FillRect(dc, &item.rcItem, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (item.itemID == UINT(-1)) return;
    const LRESULT length = Default(CB_GETLBTEXTLEN, item.itemID, 0);
    if (length == CB_ERR || length <= 0) return;
    std::wstring text(size_t(length) + 1, L'\0');
    const LRESULT got = Default(CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : size_t(got));
    gdi::SelectGuard font(dc, font_.Get());
    SetTextColor(dc, kLabelTextColour);
    SetBkMode(dc, TRANSPARENT);
    RECT area = item.rcItem;
    area.left += Scaled(3);
    DrawTextW(dc, text.c_str(), int(text.size()), &area,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT CMyComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            DrawFace(reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_PAINT: {
            if (!isCombo_) HideCaret(Hwnd());  // the caret is drawn over the letters
            {
                gdi::PaintDC paint(Hwnd());
                Paint(paint.Get());
            }
            if (!isCombo_) ShowCaret(Hwnd());
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE: {
            // the focus mark and the dimming cover the whole face, not only the selection field
            // the combo box repaints for these on its own
            const LRESULT result = Default(message, wParam, lParam);
            InvalidateRect(Hwnd(), nullptr, FALSE);
            return result;
        }
        default:
            return Default(message, wParam, lParam);
    }
}

bool CMyComboBox::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_DRAWITEM && isCombo_) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if ((item.itemState & ODS_COMBOBOXEDIT) != 0) {
            // the field: the whole face, as a paint of the window gives it (the combo box clips
            // its drawing inside the field's frame, where the letters begin)
            const int saved = SaveDC(item.hDC);
            SelectClipRgn(item.hDC, nullptr);
            Paint(item.hDC);
            RestoreDC(item.hDC, saved);
        } else
            DrawListItem(item);
        result = TRUE;
        return true;
    }
    if (message != WM_COMMAND || !isCombo_) return false;
    switch (HIWORD(wParam)) {
        case CBN_SETFOCUS:
        case CBN_KILLFOCUS:
            InvalidateRect(Hwnd(), nullptr, TRUE);
            result = TRUE;
            return true;
        case CBN_DROPDOWN:
            result = TRUE;
            return true;
        default:
            return false;
    }
}

}  // namespace quorelle::controls
