#include "controls/label_win32.h"

#include "controls/page_win32.h"
#include "controls/scale.h"

#include <cwchar>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace quorelle::controls {

int PointFontHeight(int dpi, int pointTenths) {
    return MulDiv(dpi, pointTenths, 720);
}

gdi::Font CreatePointFont(int pointTenths, const wchar_t* face, int dpi) {
    LOGFONTW description{};
    // the letters' height at 96 DPI times the scale, so that text keeps its proportion to the
    // art it sits in at every scale (rounding the point size at each DPI anew would make it up
    // to a pixel smaller or larger than the art around it)
    description.lfHeight = -ToDevice(PointFontHeight(kLogicalDpi, pointTenths), dpi);
    description.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    return gdi::Font(CreateFontIndirectW(&description));
}

gdi::SharedFont SharedPointFont(int pointTenths, const wchar_t* face, int dpi) {
    static gdi::SharedCache<std::tuple<int, std::wstring, int>, HFONT> fonts;
    return fonts.Get({pointTenths, face, dpi},
                     [&] { return CreatePointFont(pointTenths, face, dpi); });
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
    if (!font_) font_ = SharedPointFont(kLabelPointTenths, kLabelFace, Dpi());
    return font_.Get();
}

void CLabel::OnDpiChanged() {
    // the font for the new scale; the old one is let go once the control no longer holds it
    gdi::SharedFont previous = std::move(font_);
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(EnsureFont()), FALSE);
    InvalidateRect(Hwnd(), nullptr, FALSE);
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

LRESULT CLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A transparent label draws what lies under it itself: letters drawn without their
    // background onto what the screen already shows would thicken whenever the label is
    // repainted on its own (the keyboard's focus coming or going, a new scale).
    if (transparent_ && message == WM_PAINT) {
        gdi::PaintDC paint(Hwnd());
        PaintOverBackground(paint.Get());
        return 0;
    }
    if (transparent_ && message == WM_ERASEBKGND) return 1;
    if (transparent_ && message == WM_PRINTCLIENT) {
        // the letters over what the context holds already (its page composes what lies under
        // the label first), with the focus mark as shown
        const LRESULT result = Default(message, wParam, lParam);
        PaintFocusMark(reinterpret_cast<HDC>(wParam));
        return result;
    }
    return Default(message, wParam, lParam);
}

void CLabel::PaintOverBackground(HDC target) {
    HWND hwnd = Hwnd();
    RECT client{};
    GetClientRect(hwnd, &client);
    // a picture for this paint alone: most paints of a label are its page's (WM_PRINTCLIENT),
    // so one kept per label would hold two GDI objects for a paint that seldom comes
    gdi::SelectedSurface picture =
        gdi::SelectedSurface::Compatible(target, client.right, client.bottom);
    HDC surface = picture.Dc();
    if (surface == nullptr) return;
    const int saved = SaveDC(surface);
    const auto placeAt = [&](HWND window) {
        POINT origin{0, 0};
        MapWindowPoints(hwnd, window, &origin, 1);
        SetViewportOrgEx(surface, -origin.x, -origin.y, nullptr);
    };
    const auto drawAt = [&](HWND window, UINT message, WPARAM flags) {
        placeAt(window);
        SendMessageW(window, message, reinterpret_cast<WPARAM>(surface), LPARAM(flags));
    };
    if (HWND parent = GetParent(hwnd)) {
        // a skinned page's background straight from its frame; any other parent is asked
        placeAt(parent);
        if (!PaintPageBackground(parent, surface)) drawAt(parent, WM_ERASEBKGND, 0);
    }
    // only a label stacked on pictures (it clips its siblings) has any beneath it
    std::vector<HWND> beneath;
    if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CLIPSIBLINGS) != 0)
        beneath = OverlappingSiblings(true);
    for (auto it = beneath.rbegin(); it != beneath.rend(); ++it)
        drawAt(*it, WM_PRINTCLIENT, PRF_CLIENT);
    SetViewportOrgEx(surface, 0, 0, nullptr);
    Default(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface), PRF_CLIENT);
    RestoreDC(surface, saved);
    // a label the keyboard stops at (the information page's web address) shows its mark too
    PaintFocusMark(surface);
    BitBlt(target, 0, 0, client.right, client.bottom, surface, 0, 0, SRCCOPY);
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
