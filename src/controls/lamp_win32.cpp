#include "controls/lamp_win32.h"

#include <utility>

namespace quorelle::controls {

CMyStaticBmp::~CMyStaticBmp() {
    // The window must not keep showing a bitmap that is about to be deleted.
    if (Hwnd() != nullptr && IsWindow(Hwnd())) Show(nullptr);
    Detach();
}

void CMyStaticBmp::OnAttached() {
    const LONG_PTR style = GetWindowLongPtrW(Hwnd(), GWL_STYLE);
    if ((style & SS_TYPEMASK) != SS_BITMAP) {
        SetWindowLongPtrW(Hwnd(), GWL_STYLE, (style & ~LONG_PTR(SS_TYPEMASK)) | SS_BITMAP);
    }
    // from here on the control keeps the image itself; it shows what the window showed
    shown_ = reinterpret_cast<HBITMAP>(Default(STM_GETIMAGE, IMAGE_BITMAP, 0));
    shownSize_ = gdi::BitmapSize(shown_);
    framed_ = false;
}

HBITMAP CMyStaticBmp::Show(HBITMAP bitmap) {
    HWND hwnd = Hwnd();
    if (hwnd == nullptr) return nullptr;
    // The previous image is one of ours (or none): nothing to free here.
    const HBITMAP previous = std::exchange(shown_, bitmap);
    shownSize_ = gdi::BitmapSize(bitmap);
    framed_ = false;
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    if (bitmap != nullptr && (style & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) == 0) {
        RECT client{};
        GetClientRect(hwnd, &client);
        // a control placed at a display scale keeps its place's size when the image is within a
        // pixel of it (FitsImage)
        if (!FitsImage(shownSize_)) {
            SetWindowPos(hwnd, nullptr, 0, 0, shownSize_.cx, shownSize_.cy,
                         SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
        }
    }
    if (bitmap != previous) {
        InvalidateRect(hwnd, nullptr, FALSE);
        RepaintWhatLiesOnIt();
    }
    return previous;
}

void CMyStaticBmp::RepaintWhatLiesOnIt() {
    HWND hwnd = Hwnd();
    // only a picture stacked under other controls clips them out of its paints
    if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CLIPSIBLINGS) == 0) return;
    for (HWND above : OverlappingSiblings(false)) InvalidateRect(above, nullptr, FALSE);
}

void CMyStaticBmp::Paint(HDC target) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    if (shown_ != nullptr && FitsImage(shownSize_)) {
        if (!framed_) {
            HDC frame = frame_.Ensure(client.right, client.bottom);
            HDC source = source_.Get();
            if (frame != nullptr && source != nullptr) {
                gdi::SelectGuard select(source, shown_);
                gdi::DrawImageFitted(frame, 0, 0, client.right, client.bottom, source, shownSize_);
                framed_ = true;
            }
        }
        if (framed_) {
            frame_.CopyTo(target, 0, 0, client.right, client.bottom);
            return;
        }
    }
    PaintAsPicture(target, client);
}

void CMyStaticBmp::PaintAsPicture(HDC target, const RECT& client) {
    HWND hwnd = Hwnd();
    HWND parent = GetParent(hwnd);
    if (parent == nullptr) parent = hwnd;
    const WPARAM dc = reinterpret_cast<WPARAM>(target);
    const LPARAM self = reinterpret_cast<LPARAM>(hwnd);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC, dc, self));
    if (brush == nullptr)
        brush = reinterpret_cast<HBRUSH>(DefWindowProcW(parent, WM_CTLCOLORSTATIC, dc, self));
    const int saved = SaveDC(target);
    IntersectClipRect(target, client.left, client.top, client.right, client.bottom);
    FillRect(target, &client, brush);
    HDC source = source_.Get();
    if (shown_ != nullptr && source != nullptr) {
        RECT area = client;
        if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & SS_CENTERIMAGE) != 0) {
            area.left = (client.right - client.left) / 2 - shownSize_.cx / 2;
            area.top = (client.bottom - client.top) / 2 - shownSize_.cy / 2;
            area.right = area.left + shownSize_.cx;
            area.bottom = area.top + shownSize_.cy;
        }
        gdi::SelectGuard select(source, shown_);
        StretchBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   source, 0, 0, shownSize_.cx, shownSize_.cy, SRCCOPY);
    }
    RestoreDC(target, saved);
}

LRESULT CMyStaticBmp::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = Hwnd();
    switch (message) {
        case STM_SETIMAGE:
            if (wParam != IMAGE_BITMAP) return 0;
            return reinterpret_cast<LRESULT>(Show(reinterpret_cast<HBITMAP>(lParam)));
        case STM_GETIMAGE:
            return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(shown_) : 0;
        case WM_ERASEBKGND:
            return 1;  // everything is painted in WM_PAINT
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
        case WM_ENABLE:
        case WM_SYSCOLORCHANGE: {
            // the picture control repaints itself here, without knowing the image
            const LRESULT result = Default(message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return result;
        }
        default:
            return Default(message, wParam, lParam);
    }
}

bool CMyStaticBmp::LoadLampImages(int onId, int offId) {
    lampIds_ = {onId, offId};
    gdi::SharedBitmap on = gdi::LoadSharedBitmap(onId, Dpi());
    gdi::SharedBitmap off = gdi::LoadSharedBitmap(offId, Dpi());
    const bool ok = on && off;
    SetLampImages(std::move(on), std::move(off));
    return ok;
}

void CMyStaticBmp::SetLampImages(gdi::SharedBitmap on, gdi::SharedBitmap off) {
    const HBITMAP shown = Shown();
    const bool showingLamp = shown != nullptr && (shown == on_.Get() || shown == off_.Get());
    if (showingLamp) Show(nullptr);
    on_ = std::move(on);
    off_ = std::move(off);
    if (showingLamp) Show(lit_ ? on_.Get() : off_.Get());
}

void CMyStaticBmp::SetLit(bool lit) {
    lit_ = lit;
    Show(lit_ ? on_.Get() : off_.Get());
}

HBITMAP CMyStaticBmp::PictureImage(int index) const {
    const auto image = table_.ImageForIndex(index);
    if (!image || size_t(*image) >= pictures_.size()) return nullptr;
    return pictures_[*image].Get();
}

void CMyStaticBmp::ShowImage(int index) {
    const auto image = table_.ImageForIndex(index);
    if (!image || size_t(*image) >= pictures_.size()) return;
    shownIndex_ = index;
    Show(pictures_[*image].Get());
}

void CMyStaticBmp::OnDpiChanged() {
    // the images of the new scale, showing what was shown
    if (lampIds_.first != 0) LoadLampImages(lampIds_.first, lampIds_.second);
    if (!pictureIds_.empty()) {
        const int state = stateIndex_;
        LoadPictures(pictureIds_, shownIndex_);
        stateIndex_ = state;
    }
}

void CMyStaticBmp::SetPictureImages(std::vector<gdi::SharedBitmap> images, int index) {
    // Stop showing an old picture before it is freed.
    const HBITMAP shown = Shown();
    for (const gdi::SharedBitmap& old : pictures_) {
        if (shown != nullptr && shown == old.Get()) {
            Show(nullptr);
            break;
        }
    }
    pictures_ = std::move(images);
    std::vector<int32_t> positions;
    for (size_t i = 0; i < pictures_.size(); ++i) positions.push_back(int32_t(i));
    table_.Fill(positions);
    stateIndex_ = index;
    ShowImage(index);
}

bool CMyStaticBmp::LoadPictures(const std::vector<int32_t>& ids, int index) {
    std::vector<gdi::SharedBitmap> images;
    for (int32_t id : ids) images.push_back(gdi::LoadSharedBitmap(id, Dpi()));
    SetPictureImages(std::move(images), index);
    pictureIds_ = ids;
    return true;
}

bool CMyStaticBmp::LoadSampleRateImages() {
    return LoadPictures(SampleRateImageIds(), 0);
}

bool CMyStaticBmp::LoadRoomImages(int index) {
    return LoadPictures(RoomImageIds(), index);
}

}  // namespace quorelle::controls
