#include "controls/slider_win32.h"

#include <windowsx.h>

#include "controls/memdc_win32.h"

namespace quorelle::controls {

CBitmapSlider::~CBitmapSlider() {
    // The window may outlive the object: give it its procedure back before the images go.
    Detach();
    ReleaseImages();
}

void CBitmapSlider::ReleaseImages() {
    trackNormal_.Reset();
    trackActive_.Reset();
    thumbNormal_.Reset();
    thumbPressed_.Reset();
    trackLoaded_ = false;
    thumbLoaded_ = false;
    ++imagesVersion_;
}

void CBitmapSlider::SetValue(int value) {
    model_.SetValue(value);
    if (Hwnd() != nullptr) InvalidateRect(Hwnd(), nullptr, FALSE);
}

bool CBitmapSlider::MoveAsDrag(int value) {
    const int before = model_.Value();
    SetValue(value);
    if (model_.Value() == before) return false;
    Post({{SLIDER_MSG_TRACK, model_.Value()}, {SLIDER_MSG_COMMIT, model_.Value()}});
    return true;
}

bool CBitmapSlider::LoadTrackImages(int normalId, int activeId) {
    ++imagesVersion_;
    trackIds_ = {normalId, activeId};
    trackLoaded_ = false;
    trackNormal_.Reset();
    gdi::SharedBitmap normal = gdi::LoadSharedBitmap(normalId, Dpi());
    if (!normal) return false;
    trackActive_.Reset();
    gdi::SharedBitmap active = gdi::LoadSharedBitmap(activeId, Dpi());
    if (!active) return false;  // `normal` is released on the way out
    return SetTrackImages(std::move(normal), std::move(active));
}

bool CBitmapSlider::SetTrackImages(gdi::SharedBitmap normal, gdi::SharedBitmap active) {
    ++imagesVersion_;
    trackLoaded_ = false;
    trackNormal_.Reset();
    trackActive_.Reset();
    if (!normal || !active) return false;
    trackNormal_ = std::move(normal);
    trackActive_ = std::move(active);
    // the model measures in logical pixels, the images and the window in device pixels
    const SIZE size = gdi::BitmapSize(trackNormal_.Get());
    model_.SetTrackSize(Logical(size.cx), Logical(size.cy));
    HWND hwnd = Hwnd();
    if (fitToWindow_ && hwnd != nullptr) {
        RECT client{};
        GetClientRect(hwnd, &client);
        constexpr UINT kKeep = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        if (model_.Vertical()) {
            SetWindowPos(hwnd, nullptr, 0, 0, size.cx, client.bottom, kKeep);
            GetClientRect(hwnd, &client);
            model_.SetTrackSize(Logical(size.cx), Logical(client.bottom));
        } else {
            SetWindowPos(hwnd, nullptr, 0, 0, client.right, size.cy, kKeep);
            GetClientRect(hwnd, &client);
            model_.SetTrackSize(Logical(client.right), Logical(size.cy));
        }
    }
    if (hwnd != nullptr) GetClientRect(hwnd, &client_);
    trackLoaded_ = true;
    return true;
}

bool CBitmapSlider::LoadThumbImages(int normalId, int pressedId) {
    ++imagesVersion_;
    thumbIds_ = {normalId, pressedId};
    thumbLoaded_ = false;
    thumbNormal_.Reset();
    gdi::SharedBitmap normal = gdi::LoadSharedBitmap(normalId, Dpi());
    if (!normal) return false;
    thumbPressed_.Reset();
    gdi::SharedBitmap pressed = gdi::LoadSharedBitmap(pressedId, Dpi());
    if (!pressed) return false;
    return SetThumbImages(std::move(normal), std::move(pressed));
}

bool CBitmapSlider::SetThumbImages(gdi::SharedBitmap normal, gdi::SharedBitmap pressed) {
    ++imagesVersion_;
    thumbLoaded_ = false;
    thumbNormal_.Reset();
    thumbPressed_.Reset();
    if (!normal || !pressed) return false;
    thumbNormal_ = std::move(normal);
    thumbPressed_ = std::move(pressed);
    const SIZE size = gdi::BitmapSize(thumbNormal_.Get());
    model_.SetThumbSize(Logical(size.cx), Logical(size.cy));
    if (!trackLoaded_ && Hwnd() != nullptr) {
        RECT client{};
        GetClientRect(Hwnd(), &client);
        model_.SetTrackSize(Logical(client.right), Logical(client.bottom));
    }
    thumbLoaded_ = true;
    return true;
}

void CBitmapSlider::OnDpiChanged() {
    // the images of the new scale; the model keeps its logical sizes and value
    if (trackIds_.first != 0) LoadTrackImages(trackIds_.first, trackIds_.second);
    if (thumbIds_.first != 0) LoadThumbImages(thumbIds_.first, thumbIds_.second);
    if (Hwnd() != nullptr) InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CBitmapSlider::DrawTrackPart(HDC dc, HDC source, HBITMAP image, int from, int to) {
    gdi::SelectGuard select(source, image);
    const SIZE size = gdi::BitmapSize(image);
    const bool vertical = model_.Vertical();
    const int across = Scaled(vertical ? model_.TrackWidth() : model_.TrackHeight());
    for (const TileSegment& s : TileCopySegments(vertical ? size.cy : size.cx, from, from, to)) {
        if (vertical) {
            BitBlt(dc, 0, s.dest, across, s.length, source, 0, s.source, SRCCOPY);
        } else {
            BitBlt(dc, s.dest, 0, s.length, across, source, s.source, 0, SRCCOPY);
        }
    }
}

CBitmapSlider::Look CBitmapSlider::CurrentLook(const RECT& client, HDC target) const {
    Look look;
    look.valuePixel = model_.ValueToPixel(model_.Value());
    look.trackWidth = model_.TrackWidth();
    look.trackHeight = model_.TrackHeight();
    look.vertical = model_.Vertical();
    look.thumbLeft = model_.ThumbLeft();
    look.thumbTop = model_.ThumbTop();
    look.pressedThumb = thumbPressed_ && model_.Dragging();
    look.width = client.right;
    look.height = client.bottom;
    look.images = imagesVersion_;
    look.background = GetBkColor(target);
    return look;
}

void CBitmapSlider::Paint(HDC target) {
    RECT client = client_;
    if (Hwnd() != nullptr) GetClientRect(Hwnd(), &client);
    const Look look = CurrentLook(client, target);
    if (!drawn_ || *drawn_ != look) {
        HDC dc = frame_.Ensure(client.right, client.bottom);
        if (dc == nullptr) {  // no surface to keep: compose straight through a passing one
            drawn_.reset();
            CMemDC mem(target, &client, false);
            SetBkColor(mem.Get(), look.background);
            Render(mem.Get(), client);
            return;
        }
        SetBkColor(dc, look.background);
        Render(dc, client);
        drawn_ = look;
    }
    frame_.CopyTo(target, 0, 0, client.right, client.bottom);
}

void CBitmapSlider::Render(HDC dc, const RECT& client) {
    // solid fill in the background colour, without making a brush
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    HDC source = imageSource_.Get();
    if (source == nullptr) return;
    if (trackLoaded_) {
        const int p = Scaled(model_.ValueToPixel(model_.Value()));
        const int length = Scaled(model_.Length());
        if (trackActive_) {
            DrawTrackPart(dc, source, trackNormal_.Get(), p, length);
            DrawTrackPart(dc, source, trackActive_.Get(), 0, p);
        } else {
            DrawTrackPart(dc, source, trackNormal_.Get(), 0, length);
        }
    }
    if (thumbLoaded_) {
        HBITMAP thumb =
            thumbPressed_ && model_.Dragging() ? thumbPressed_.Get() : thumbNormal_.Get();
        gdi::SelectGuard select(source, thumb);
        const SIZE size = gdi::BitmapSize(thumb);
        BitBlt(dc, Scaled(model_.ThumbLeft()), Scaled(model_.ThumbTop()), size.cx, size.cy, source,
               0, 0, SRCCOPY);
    }
}

int CBitmapSlider::AxisOf(LPARAM lParam) const {
    return Logical(model_.Vertical() ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam));
}

void CBitmapSlider::Post(const std::vector<SliderNotice>& notices) {
    HWND parent = GetParent(Hwnd());
    if (parent == nullptr) return;
    const WPARAM id = static_cast<WPARAM>(ControlId());
    for (const SliderNotice& n : notices) {
        PostMessageW(parent, n.message, id, static_cast<LPARAM>(n.value));
    }
}

void CBitmapSlider::EndDrag() {
    const auto notices = model_.CancelDrag();
    if (notices.empty()) return;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    Post(notices);
}

LRESULT CBitmapSlider::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = Hwnd();
    switch (message) {
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT: {
            gdi::PaintDC paint(hwnd);
            Paint(paint.Get());
            PaintFocusMark(paint.Get());
            return 0;
        }
        case WM_PRINTCLIENT:  // as shown, focus mark and all: its page composes it so
            Paint(reinterpret_cast<HDC>(wParam));
            PaintFocusMark(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_LBUTTONDOWN: {
            SetCapture(hwnd);
            SetFocus(hwnd);
            const auto notices = model_.ButtonDown(AxisOf(lParam));
            InvalidateRect(hwnd, nullptr, FALSE);
            Post(notices);
            return Default(message, wParam, lParam);
        }
        case WM_MOUSEMOVE: {
            // The button is down for the slider while the move says so and the slider still
            // holds the mouse. Otherwise the release went elsewhere (another program took the
            // mouse, and the slider may even keep its capture: Wine seam, kept capture): the drag
            // ends here as a release would, not following a pointer with no button down for it.
            const bool held = (wParam & MK_LBUTTON) != 0 && GetCapture() == hwnd;
            const bool wasDragging = model_.Dragging();
            const auto notices = model_.MouseMove(AxisOf(lParam), held);
            if (wasDragging && !model_.Dragging() && GetCapture() == hwnd) ReleaseCapture();
            if (!notices.empty()) {
                InvalidateRect(hwnd, nullptr, FALSE);
                Post(notices);
            }
            return Default(message, wParam, lParam);
        }
        case WM_LBUTTONUP: {
            const auto notices = model_.ButtonUp();
            if (GetCapture() == hwnd) ReleaseCapture();
            InvalidateRect(hwnd, nullptr, FALSE);
            Post(notices);
            return Default(message, wParam, lParam);
        }
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the release will not come here.
            if (reinterpret_cast<HWND>(lParam) != hwnd) EndDrag();
            return Default(message, wParam, lParam);
        case WM_CANCELMODE:
            EndDrag();
            if (GetCapture() == hwnd) ReleaseCapture();
            return Default(message, wParam, lParam);
        case WM_KEYDOWN: {
            std::vector<SliderNotice> notices;
            if (model_.KeyDown(static_cast<unsigned>(wParam), notices)) {
                InvalidateRect(hwnd, nullptr, FALSE);
                Post(notices);
            }
            return Default(message, wParam, lParam);
        }
        case WM_GETDLGCODE:
            if (GetKeyState(VK_TAB) < 0) return Default(message, wParam, lParam);
            return DLGC_WANTALLKEYS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LRESULT result = Default(message, wParam, lParam);
            focused_ = message == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, FALSE);
            return result;
        }
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace quorelle::controls
