#include "controls/label_win32.h"

#include <cwchar>
#include <string>
#include <utility>

namespace quorelle::controls {

int PointFontHeight(int dpi, int pointTenths) {
    return MulDiv(dpi, pointTenths, 720);
}

gdi::Font CreatePointFont(int pointTenths, const wchar_t* face) {
    LOGFONTW description{};
    {
        gdi::WindowDC screen(nullptr);
        description.lfHeight =
            -PointFontHeight(GetDeviceCaps(screen.Get(), LOGPIXELSY), pointTenths);
    }
    description.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    return gdi::Font(CreateFontIndirectW(&description));
}

gdi::SharedFont SharedPointFont(int pointTenths, const wchar_t* face) {
    static gdi::SharedCache<std::pair<int, std::wstring>, HFONT> fonts;
    return fonts.Get({pointTenths, face}, [&] { return CreatePointFont(pointTenths, face); });
}

CLabel::~CLabel() {
    // The static control must not keep a font that is about to be deleted.
    if (Hwnd() != nullptr && IsWindow(Hwnd()) &&
        reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0)) == font_.Get()) {
        SendMessageW(Hwnd(), WM_SETFONT, 0, FALSE);
    }
    Detach();
}

HFONT CLabel::EnsureFont() {
    if (!font_) font_ = SharedPointFont(kLabelPointTenths, kLabelFace);
    return font_.Get();
}

void CLabel::OnAttached() {
    // The static control selects its own font after asking for colours, so it is given the
    // label font as its font as well.
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(EnsureFont()), FALSE);
}

void CLabel::SetText(const std::wstring& text) {
    HWND hwnd = Hwnd();
    if (hwnd == nullptr) return;
    SetWindowTextW(hwnd, text.c_str());
    HWND parent = GetParent(hwnd);
    if (parent == nullptr) return;
    RECT area{};
    GetWindowRect(hwnd, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HBRUSH CLabel::OnControlColour(HDC dc) {
    if (textColourOn_) SetTextColor(dc, textColour_);
    if (!transparent_) return nullptr;
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, EnsureFont());
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

bool CLabel::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_CTLCOLORSTATIC) return false;
    HBRUSH brush = OnControlColour(reinterpret_cast<HDC>(wParam));
    if (brush == nullptr) return false;
    result = reinterpret_cast<LRESULT>(brush);
    return true;
}

}  // namespace quorelle::controls
