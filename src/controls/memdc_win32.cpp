#include "controls/memdc_win32.h"

namespace quorelle::controls {

CMemDC::CMemDC(HDC target, const RECT* rect, bool copyFirst) : target_(target) {
    if (rect != nullptr) {
        rect_ = *rect;
    } else {
        GetClipBox(target, &rect_);
    }
    if (GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER) return;

    // Size in device units.
    RECT device = rect_;
    LPtoDP(target, reinterpret_cast<POINT*>(&device), 2);
    const int width = device.right - device.left;
    const int height = device.bottom - device.top;
    if (width <= 0 || height <= 0) return;

    memory_ = gdi::SelectedSurface::Compatible(target, width, height);
    if (!memory_) return;
    direct_ = false;

    HDC dc = memory_.Dc();
    SetMapMode(dc, GetMapMode(target));
    SIZE extent;
    GetWindowExtEx(target, &extent);
    SetWindowExtEx(dc, extent.cx, extent.cy, nullptr);
    GetViewportExtEx(target, &extent);
    SetViewportExtEx(dc, extent.cx, extent.cy, nullptr);
    SetWindowOrgEx(dc, rect_.left, rect_.top, nullptr);

    const int w = rect_.right - rect_.left;
    const int h = rect_.bottom - rect_.top;
    if (copyFirst) {
        BitBlt(dc, rect_.left, rect_.top, w, h, target, rect_.left, rect_.top, SRCCOPY);
    } else {
        // Solid fill in the target's background colour, without making a brush.
        const COLORREF previous = SetBkColor(dc, GetBkColor(target));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect_, nullptr, 0, nullptr);
        SetBkColor(dc, previous);
    }
}

CMemDC::~CMemDC() {
    if (direct_) return;
    BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top,
           memory_.Dc(), rect_.left, rect_.top, SRCCOPY);
}

HDC FrameSurface::Ensure(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    if (surface_ && width == width_ && height == height_) return surface_.Dc();
    Release();
    surface_ = gdi::SelectedSurface::Compatible(nullptr, width, height);
    if (!surface_) return nullptr;
    width_ = width;
    height_ = height;
    return surface_.Dc();
}

void FrameSurface::CopyTo(HDC target, int x, int y, int width, int height) const {
    if (surface_) BitBlt(target, x, y, width, height, surface_.Dc(), 0, 0, SRCCOPY);
}

void FrameSurface::Release() {
    surface_.Reset();
    width_ = 0;
    height_ = 0;
}

HDC ImageSource::Get() {
    if (!dc_) dc_ = gdi::OwnedDC(CreateCompatibleDC(nullptr));
    return dc_.Get();
}

}  // namespace quorelle::controls
