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

    gdi::OwnedDC memory(CreateCompatibleDC(target));
    gdi::Bitmap bitmap(CreateCompatibleBitmap(target, width, height));
    if (!memory || !bitmap) return;
    previousBitmap_ = SelectObject(memory.Get(), bitmap.Get());
    memory_ = std::move(memory);
    bitmap_ = std::move(bitmap);
    direct_ = false;

    HDC dc = memory_.Get();
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
    HDC dc = memory_.Get();
    BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, dc,
           rect_.left, rect_.top, SRCCOPY);
    SelectObject(dc, previousBitmap_);
    // memory_ and bitmap_ go after this body: the bitmap is no longer selected when deleted.
}

HDC FrameSurface::Ensure(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    if (dc_ && width == width_ && height == height_) return dc_.Get();
    Release();
    gdi::WindowDC screen(nullptr);
    gdi::OwnedDC dc(CreateCompatibleDC(screen.Get()));
    gdi::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!dc || !bitmap) return nullptr;
    previous_ = SelectObject(dc.Get(), bitmap.Get());
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    width_ = width;
    height_ = height;
    return dc_.Get();
}

void FrameSurface::CopyTo(HDC target, int x, int y, int width, int height) const {
    if (dc_) BitBlt(target, x, y, width, height, dc_.Get(), 0, 0, SRCCOPY);
}

void FrameSurface::Release() {
    if (dc_ && previous_ != nullptr) SelectObject(dc_.Get(), previous_);
    previous_ = nullptr;
    dc_.Reset();
    bitmap_.Reset();  // no longer selected anywhere
    width_ = 0;
    height_ = 0;
}

HDC ImageSource::Get() {
    if (!dc_) dc_ = gdi::OwnedDC(CreateCompatibleDC(nullptr));
    return dc_.Get();
}

}  // namespace quorelle::controls
