#include "controls/knob_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "controls/dpi_win32.h"
#include "controls/memdc_win32.h"

namespace quorelle::controls {

namespace {

POINT PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}
}  // namespace

// The knob's place in its parent, in device pixels and in the logical pixels it was placed by:
// a device edge placed there is the converted edge of a logical one, and goes back to it.
CRoundSliderCtrl::Placement CRoundSliderCtrl::Place() const {
    Placement place;
    HWND hwnd = Hwnd();
    if (hwnd == nullptr || !GetWindowRect(hwnd, &place.device)) return place;
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&place.device), 2);
    const auto edge = [this](LONG device) { return Logical(int(device) - 1) + 1; };
    place.left = edge(place.device.left);
    place.top = edge(place.device.top);
    place.width = edge(place.device.right) - place.left;
    place.height = edge(place.device.bottom) - place.top;
    return place;
}

// A device point of the client area to the logical point of the knob: through the parent's
// coordinates, as the page converts its own points, so that every scale sees the same logical
// points.
Point CRoundSliderCtrl::ToModel(POINT p) const {
    const Placement place = Place();
    return {Logical(int(p.x + place.device.left)) - place.left,
            Logical(int(p.y + place.device.top)) - place.top};
}

CRoundSliderCtrl::CRoundSliderCtrl() : valueTextColour_(GetSysColor(COLOR_WINDOWTEXT)) {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fontDescription_, &fontDescription_);
    font_.Reset(CreateFontIndirectW(&fontDescription_));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    dotBrush_.Reset(CreateSolidBrush(face));
    pressedDotBrush_.Reset(CreateSolidBrush(face));
    dialBrush_.Reset(CreateSolidBrush(face));
}

HCURSOR CRoundSliderCtrl::Cursor() const {
    HCURSOR hand = HandCursor(Dpi());
    return hand != nullptr ? hand : LoadCursorW(nullptr, IDC_HAND);
}

CRoundSliderCtrl::~CRoundSliderCtrl() {
    Detach();
}

void CRoundSliderCtrl::OnAttached() {
    RebuildGeometry();
}

void CRoundSliderCtrl::OnDpiChanged() {
    // the face of the new scale, the font at the new size and the circle of the new window size
    DropScaledFace();
    RebuildFont();
    RebuildGeometry();
    drawn_.reset();
    if (Hwnd() != nullptr) InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CRoundSliderCtrl::SetPos(int position, bool redraw) {
    model_.SetPosition(position);
    if (redraw && Hwnd() != nullptr) InvalidateRect(Hwnd(), nullptr, FALSE);
}

bool CRoundSliderCtrl::MoveAsDrag(int position) {
    const int limit = std::max(model_.Min(), std::min(model_.Max(), model_.DragLimit()));
    const int target = std::clamp(position, model_.Min(), limit);
    if (target == model_.Position()) return false;
    std::vector<KnobNotice> notices;
    while (model_.Position() != target) {
        model_.SetPosition(model_.Position() + (target > model_.Position() ? 1 : -1));
        notices.push_back({TB_THUMBTRACK, model_.Position()});
    }
    notices.push_back({TB_THUMBPOSITION, target});
    RedrawNow();
    Post(notices);
    return true;
}

void CRoundSliderCtrl::SetRange(int min, int max, bool redraw) {
    model_.SetMin(min);
    model_.SetMax(max);
    if (redraw && Hwnd() != nullptr) InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CRoundSliderCtrl::SetTextWeight(BYTE weight) {
    fontDescription_.lfWeight = weight;
    RebuildFont();
}

void CRoundSliderCtrl::SetTextUnderline(BYTE underline) {
    fontDescription_.lfUnderline = underline;
    RebuildFont();
}

void CRoundSliderCtrl::SetTextItalic(BYTE italic) {
    fontDescription_.lfItalic = italic;
    RebuildFont();
}

void CRoundSliderCtrl::SetTextHeight(int height) {
    fontDescription_.lfHeight = -height;
    RebuildFont();
}

void CRoundSliderCtrl::SetTextFace(const std::wstring& face) {
    wcsncpy(fontDescription_.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    fontDescription_.lfFaceName[LF_FACESIZE - 1] = L'\0';
    RebuildFont();
}

void CRoundSliderCtrl::RebuildFont() {
    font_.Reset();
    LOGFONTW scaled = fontDescription_;
    scaled.lfHeight = scaled.lfHeight < 0 ? -Scaled(-scaled.lfHeight) : Scaled(scaled.lfHeight);
    font_.Reset(CreateFontIndirectW(&scaled));
    LookChanged();
}

std::wstring CRoundSliderCtrl::FormatValue() const {
    wchar_t text[64] = {};
    // The position is passed as a long, as the "%ld" default expects.
    _snwprintf(text, 63, valueFormat_.c_str(), static_cast<long>(model_.Position()));
    return text;
}

void CRoundSliderCtrl::RebuildGeometry() {
    HWND hwnd = Hwnd();
    if (hwnd == nullptr) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    // the model in logical pixels; the window's circle in its own. The dot's circle is measured
    // again with the dot radius it was first measured with (a radius set later changes the dot,
    // not its circle), so that a new size, and a display of another scale and back, never moves
    // the dot's path.
    const int dotRadius = model_.DotRadius();
    if (measured_) model_.SetDotRadius(model_.MeasuredDotRadius());
    const Placement place = Place();
    model_.RebuildGeometry(place.width, place.height);
    model_.SetDotRadius(dotRadius);
    measured_ = true;
    const int side = std::max(0L, std::min(client.right, client.bottom));
    SetWindowRgn(hwnd, nullptr, FALSE);
    gdi::Region circle(CreateEllipticRgn(0, 0, side, side));
    // The window owns the region from here on.
    if (circle && SetWindowRgn(hwnd, circle.Get(), TRUE) != 0) (void)circle.Release();
}

bool CRoundSliderCtrl::StepTowardPoint(POINT p) {
    const bool stepped = model_.StepTowardPoint(ToModel(p));
    if (stepped && Hwnd() != nullptr) InvalidateRect(Hwnd(), nullptr, FALSE);
    return stepped;
}

void CRoundSliderCtrl::NotifyParent(int code) {
    Post({{code, model_.Position()}});
}

void CRoundSliderCtrl::Post(const std::vector<KnobNotice>& notices) {
    HWND hwnd = Hwnd();
    HWND parent = hwnd != nullptr ? GetParent(hwnd) : nullptr;
    if (parent == nullptr) return;
    for (const KnobNotice& n : notices) {
        const uint32_t word =
            (static_cast<uint32_t>(n.position) << 16) | (static_cast<uint32_t>(n.code) & 0xFFFF);
        PostMessageW(parent, WM_HSCROLL, static_cast<WPARAM>(word), reinterpret_cast<LPARAM>(hwnd));
    }
}

void CRoundSliderCtrl::EndDrag() {
    std::vector<KnobNotice> notices;
    if (!model_.CancelDrag(notices)) return;
    Post(notices);
    RedrawNow();
}

void CRoundSliderCtrl::RedrawNow() {
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CRoundSliderCtrl::DrawFace(HDC dc, const RECT& client, int side) {
    if (!faceImageOn_) {
        gdi::SelectGuard brush(dc, dialBrush_.Get());
        Ellipse(dc, 0, 0, side + 1, side + 1);
        return;
    }
    // The face is scaled to the control once and kept; a new image or size scales it again.
    const SIZE want{client.right, client.bottom};
    if (!scaledFace_ || scaledSize_.cx != want.cx || scaledSize_.cy != want.cy) ScaleFace(dc, want);
    HDC source = faceSource_.Get();
    if (!scaledFace_ || source == nullptr) return;
    gdi::SelectGuard select(source, scaledFace_.Get());
    BitBlt(dc, 0, 0, want.cx, want.cy, source, 0, 0, SRCCOPY);
}

void CRoundSliderCtrl::ScaleFace(HDC dc, SIZE want) {
    scaledFace_.Reset();
    scaledSize_ = want;
    if (want.cx <= 0 || want.cy <= 0) return;
    gdi::SharedBitmap loaded;
    HBITMAP face = faceBitmap_.Get();
    if (face == nullptr) {
        loaded = gdi::LoadSharedBitmap(faceImageId_, Dpi());
        face = loaded.Get();
    }
    if (face == nullptr) return;
    const SIZE size = gdi::BitmapSize(face);
    gdi::OwnedDC source(CreateCompatibleDC(dc));
    gdi::OwnedDC target(CreateCompatibleDC(dc));
    gdi::Bitmap scaled(CreateCompatibleBitmap(dc, want.cx, want.cy));
    if (!source || !target || !scaled) return;
    {
        gdi::SelectGuard from(source.Get(), face);
        gdi::SelectGuard to(target.Get(), scaled.Get());
        SetStretchBltMode(target.Get(), HALFTONE);
        SetBrushOrgEx(target.Get(), 0, 0, nullptr);
        StretchBlt(target.Get(), 0, 0, want.cx, want.cy, source.Get(), 0, 0, size.cx, size.cy,
                   SRCCOPY);
    }
    scaledFace_ = std::move(scaled);
}

CRoundSliderCtrl::Look CRoundSliderCtrl::CurrentLook(const RECT& client) {
    Look look;
    look.position = model_.Position();
    look.pressed = model_.Pressed();
    look.side = model_.Side();
    look.width = client.right;
    look.height = client.bottom;
    look.version = lookVersion_;
    look.systemColours = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_3DDKSHADOW),
                          GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DLIGHT),
                          GetSysColor(COLOR_BTNSHADOW)};
    return look;
}

void CRoundSliderCtrl::Paint(HDC target) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const Look look = CurrentLook(client);
    if (!drawn_ || *drawn_ != look) {
        HDC dc = frame_.Ensure(client.right, client.bottom);
        if (dc == nullptr) {  // no surface to keep: compose straight through a passing one
            drawn_.reset();
            CMemDC mem(target, nullptr, false);
            Render(mem.Get(), client);
            return;
        }
        Render(dc, client);
        drawn_ = look;
    }
    frame_.CopyTo(target, 0, 0, client.right, client.bottom);
}

void CRoundSliderCtrl::Render(HDC dc, const RECT& client) {
    gdi::SelectGuard pen(dc, GetStockObject(NULL_PEN));
    gdi::SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    // The dot is placed and drawn in logical pixels, where the mouse finds it; each of its edges
    // is then converted once to the window's scale, so that it keeps its size to the face.
    const Point dotLogical = model_.PlaceDot();
    const Box logical = model_.DotEllipse(dotLogical);
    const Placement place = Place();
    const auto x = [&](int32_t v) { return Scaled(v + place.left) - int(place.device.left); };
    const auto y = [&](int32_t v) { return Scaled(v + place.top) - int(place.device.top); };
    const int side = int(std::max(0L, std::min(client.right, client.bottom)));
    DrawFace(dc, client, side);
    const Box e{x(logical.left), y(logical.top), x(logical.right), y(logical.bottom)};
    {
        gdi::SelectGuard fill(dc, model_.Pressed() ? pressedDotBrush_.Get() : dotBrush_.Get());
        Ellipse(dc, e.left, e.top, e.right, e.bottom);
    }
    // the shaded rings around the dot, one logical pixel each, at every device radius of it
    const Point dot{(e.left + e.right - 1) / 2, (e.top + e.bottom - 1) / 2};
    const int b = model_.DotRingInset();
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const bool pressed = model_.Pressed();
    const auto ring = [&](int logicalRadius, COLORREF a, COLORREF c) {
        for (int r = Scaled(logicalRadius - 1) + 1; r <= Scaled(logicalRadius); ++r)
            for (const RingPixel& px : ShadedRingPixels(dot, r, a, c))
                SetPixelV(dc, px.x, px.y, px.colour);
    };
    ring(b - 1, dark, highlight);
    ring(b - 2, pressed ? shadow : light, pressed ? light : shadow);
    if (showValueText_) {
        gdi::SelectGuard font(dc, font_.Get());
        const int previousMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF previousColour = SetTextColor(dc, valueTextColour_);
        std::wstring text = FormatValue();
        RECT square{0, 0, side, side};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &square,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SetTextColor(dc, previousColour);
        SetBkMode(dc, previousMode);
    }
}

bool CRoundSliderCtrl::OnTrackbarMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT& result) {
    const bool redraw = wParam != 0;
    result = 0;
    switch (message) {
        case TBM_GETPOS:
            result = model_.Position();
            return true;
        case TBM_GETRANGEMIN:
            result = model_.Min();
            return true;
        case TBM_GETRANGEMAX:
            result = model_.Max();
            return true;
        case TBM_SETPOS:
            SetPos(static_cast<int>(lParam), redraw);
            return true;
        case TBM_SETRANGE:
            SetRange(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                     redraw);
            return true;
        case TBM_SETRANGEMIN:
        case TBM_SETRANGEMAX:
            if (message == TBM_SETRANGEMIN)
                model_.SetMin(static_cast<int>(lParam));
            else
                model_.SetMax(static_cast<int>(lParam));
            if (redraw) InvalidateRect(Hwnd(), nullptr, FALSE);
            return true;
        case TBM_SETPAGESIZE:
            result = model_.PageSize();
            model_.SetPageSize(static_cast<int>(lParam));
            return true;
        case TBM_GETPAGESIZE:
            result = model_.PageSize();
            return true;
        case TBM_SETLINESIZE:
            result = model_.LineSize();
            model_.SetLineSize(static_cast<int>(lParam));
            return true;
        case TBM_GETLINESIZE:
            result = model_.LineSize();
            return true;
        default:
            return false;
    }
}

LRESULT CRoundSliderCtrl::OnPaint() {
    // Every paint covers the whole knob.
    InvalidateRect(Hwnd(), nullptr, FALSE);
    gdi::PaintDC paint(Hwnd());
    Paint(paint.Get());
    PaintFocusMark(paint.Get(), true);
    return 0;
}

LRESULT CRoundSliderCtrl::OnButtonDown(WPARAM wParam, LPARAM lParam) {
    std::vector<KnobNotice> notices;
    switch (model_.ButtonDown(ToModel(PointOf(lParam)), notices)) {
        case KnobInput::kSwallowed:
            return 0;
        case KnobInput::kDefault:
            return Default(WM_LBUTTONDOWN, wParam, lParam);
        case KnobInput::kHandled:
            break;
    }
    SetCapture(Hwnd());
    SetFocus(Hwnd());
    Post(notices);
    RedrawNow();
    return 0;
}

LRESULT CRoundSliderCtrl::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    // The button is down for the knob while the move says so and the knob still holds the
    // mouse. Otherwise the release went elsewhere (another program took the mouse; Wine seam:
    // kept capture): the drag ends here as a release would, instead of following a pointer
    // that has no button down for it.
    HWND hwnd = Hwnd();
    const bool held = (wParam & MK_LBUTTON) != 0 && GetCapture() == hwnd;
    const bool wasPressed = model_.Pressed();
    std::vector<KnobNotice> notices;
    if (model_.MouseMove(ToModel(PointOf(lParam)), notices, held) == KnobInput::kDefault)
        return Default(WM_MOUSEMOVE, wParam, lParam);
    const bool ended = wasPressed && !model_.Pressed();
    if (ended && GetCapture() == hwnd) ReleaseCapture();
    if (ended || !notices.empty()) {
        Post(notices);
        RedrawNow();
    }
    return 0;
}

LRESULT CRoundSliderCtrl::OnButtonUp(WPARAM wParam, LPARAM lParam) {
    std::vector<KnobNotice> notices;
    if (model_.ButtonUp(ToModel(PointOf(lParam)), notices) == KnobInput::kDefault)
        return Default(WM_LBUTTONUP, wParam, lParam);
    if (GetCapture() == Hwnd()) ReleaseCapture();
    Post(notices);
    RedrawNow();
    return 0;
}

LRESULT CRoundSliderCtrl::OnKey(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool down = message == WM_KEYDOWN;
    const unsigned key = static_cast<unsigned>(wParam);
    std::vector<KnobNotice> notices;
    const KnobInput input = down ? model_.KeyDown(key, notices) : model_.KeyUp(key, notices);
    if (input == KnobInput::kSwallowed) return 0;
    if (input == KnobInput::kDefault) return Default(message, wParam, lParam);
    if (down) RedrawNow();  // the new position shows before the parent hears of it
    Post(notices);
    return 0;
}

LRESULT CRoundSliderCtrl::OnWheel(WPARAM wParam, LPARAM lParam) {
    if (WindowFromPoint(PointOf(lParam)) != Hwnd()) return 0;
    std::vector<KnobNotice> notices;
    model_.Wheel(GET_WHEEL_DELTA_WPARAM(wParam), notices);
    Post(notices);
    RedrawNow();
    return 0;
}

LRESULT CRoundSliderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnTrackbarMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_SIZE:
            result = Default(message, wParam, lParam);
            RebuildGeometry();
            return result;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT:
            return OnPaint();
        case WM_PRINTCLIENT:  // as shown, focus mark and all: its page composes it so
            Paint(reinterpret_cast<HDC>(wParam));
            PaintFocusMark(reinterpret_cast<HDC>(wParam), true);
            return 0;
        case WM_LBUTTONDOWN:
            return OnButtonDown(wParam, lParam);
        case WM_MOUSEMOVE:
            return OnMouseMove(wParam, lParam);
        case WM_LBUTTONUP:
            return OnButtonUp(wParam, lParam);
        case WM_KEYDOWN:
        case WM_KEYUP:
            return OnKey(message, wParam, lParam);
        case WM_MOUSEWHEEL:
            return OnWheel(wParam, lParam);
        case WM_SETCURSOR:
            SetCursor(Cursor());
            return TRUE;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the release will not come here, so the drag ends
            // now, with the knob's own notifications only.
            if (reinterpret_cast<HWND>(lParam) != Hwnd()) EndDrag();
            return 0;
        case WM_CANCELMODE:
            EndDrag();
            if (GetCapture() == Hwnd()) ReleaseCapture();
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace quorelle::controls
