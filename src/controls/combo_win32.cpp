#include "controls/combo_win32.h"

#include <algorithm>
#include <string>

#include "controls/label_win32.h"
#include "controls/memdc_win32.h"

namespace quorelle::controls {

namespace {
constexpr int kComboPointTenths = 95;
}

CMyComboBox::~CMyComboBox() {
    Detach();
}

void CMyComboBox::OnAttached() {
    wchar_t className[32] = {};
    GetClassNameW(Hwnd(), className, 32);
    isCombo_ = lstrcmpiW(className, L"ComboBox") == 0;
    font_ = SharedPointFont(kComboPointTenths, L"Arial");
}

void CMyComboBox::DrawFace(HDC dc) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    HBITMAP face = faceBitmap_.Get();
    if (face == nullptr) {
        if (!resourceFace_) resourceFace_ = gdi::LoadSharedBitmap(faceImageId_);
        face = resourceFace_.Get();
    }
    if (face == nullptr) return;
    gdi::OwnedDC source(CreateCompatibleDC(dc));
    if (!source) return;
    gdi::SelectGuard select(source.Get(), face);
    BitBlt(dc, 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);
}

void CMyComboBox::Paint(HDC target) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
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
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    }
    if (!IsWindowEnabled(Hwnd())) DimDisabledArea(dc, client);
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
        default:
            return Default(message, wParam, lParam);
    }
}

bool CMyComboBox::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
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
