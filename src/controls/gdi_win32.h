// Move-only owners of GDI objects and device contexts, and a guard that restores the object it
// replaced in a device context. Every window of the program draws through these.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>
#include <utility>

#include "base/handles_win32.h"

namespace quorelle::gdi {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

// Owns one GDI object (bitmap, brush, pen, font, region) or a memory device context: the
// program's one owner of handles, in the spelling of the drawing code. Resetting to the handle
// it holds keeps it.
template <typename H, typename Deleter = GdiObjectDeleter>
class Object : public UniqueHandle<H, Deleter> {
    using Base = UniqueHandle<H, Deleter>;

  public:
    using Base::Base;
    H Get() const { return this->get(); }
    void Reset(H handle = nullptr) {
        if (handle != this->get()) this->reset(handle);
    }
    // Hands the object to a new owner (for example the system, through SetWindowRgn).
    [[nodiscard]] H Release() { return this->release(); }
};

using Bitmap = Object<HBITMAP>;
using Brush = Object<HBRUSH>;
using Pen = Object<HPEN>;
using Font = Object<HFONT>;
using Region = Object<HRGN>;
// A memory or information device context, deleted with its owner.
using OwnedDC = Object<HDC, MemoryDcDeleter>;

// A window's device context from GetDC, released to its window.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
    }
    HDC Get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
  public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return ps_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// Selects an object into a device context and puts the previous one back when it goes.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    bool Ok() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context with one bitmap selected into it for as long as both live. The
// context's own bitmap goes back in before the bitmap and the context are deleted.
class SelectedSurface {
  public:
    SelectedSurface() = default;
    // Takes both and selects the bitmap; stays empty (and deletes both) when either is missing
    // or the selection fails.
    SelectedSurface(OwnedDC dc, Bitmap bitmap) {
        if (!dc || !bitmap) return;
        HGDIOBJ previous = SelectObject(dc.Get(), bitmap.Get());
        if (previous == nullptr || previous == HGDI_ERROR) return;
        dc_ = std::move(dc);
        bitmap_ = std::move(bitmap);
        previous_ = previous;
    }
    // A surface of `width` x `height` pixels in the format of `reference` (the screen when null).
    static SelectedSurface Compatible(HDC reference, int width, int height) {
        if (reference == nullptr) {
            WindowDC screen(nullptr);
            return Compatible(screen.Get(), width, height);
        }
        return SelectedSurface(OwnedDC(CreateCompatibleDC(reference)),
                               Bitmap(CreateCompatibleBitmap(reference, width, height)));
    }
    SelectedSurface(const SelectedSurface&) = delete;
    SelectedSurface& operator=(const SelectedSurface&) = delete;
    SelectedSurface(SelectedSurface&& other) noexcept
        : dc_(std::move(other.dc_)),
          bitmap_(std::move(other.bitmap_)),
          previous_(std::exchange(other.previous_, nullptr)) {}
    SelectedSurface& operator=(SelectedSurface&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = std::move(other.dc_);
            bitmap_ = std::move(other.bitmap_);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }
    ~SelectedSurface() { Reset(); }

    HDC Dc() const { return dc_.Get(); }
    HBITMAP Image() const { return bitmap_.Get(); }
    explicit operator bool() const { return static_cast<bool>(dc_); }
    void Reset() {
        if (dc_ && previous_ != nullptr) SelectObject(dc_.Get(), previous_);
        previous_ = nullptr;
        dc_.Reset();
        bitmap_.Reset();  // no longer selected anywhere
    }

  private:
    OwnedDC dc_;
    Bitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
};

// Loads image `id` of the module drawn for a display of `dpi` dots per inch, in the display's
// format, so that copying it to a window or a compatible surface needs no pixel conversion. The
// program's images are compressed (PNG) resources of the type "SKIN<percent>", one set per drawn
// scale (the one nearest to dpi); an id without one is the module's BITMAP resource.
Bitmap LoadBitmapResource(HINSTANCE module, int id, int dpi = 96);

// The size of image `id` drawn for `dpi`, read from its header without decoding it; {0, 0} when
// it cannot be had.
SIZE ImageResourceSize(HINSTANCE module, int id, int dpi = 96);

// Copies an image of `image` pixels (selected in `source`) to (x, y) of `target` over an area of
// `width` x `height` pixels, a pixel or so larger or smaller than the image at display scales
// other than 100 %: pixel for pixel from the top-left corner, cut where the area is smaller, the
// image's last column and row carried on where it is larger. Never stretched.
void DrawImageFitted(HDC target, int x, int y, int width, int height, HDC source, SIZE image);

// Size of a bitmap, {0, 0} when it is not one.
inline SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

// A GDI object that several owners may hold: one made by the caller, or one the program keeps
// once for every control that uses it (LoadSharedBitmap, SharedPointFont). The object is
// deleted when its last holder lets it go. A shared bitmap is selected into a device context
// only for the moment of a copy, so that any holder can copy from it.
template <typename H>
class Shared {
  public:
    Shared() = default;
    // Takes over an object of the caller's.
    Shared(Object<H>&& object)  // NOLINT: a made object is handed over where one is asked for
        : object_(object ? std::make_shared<const Object<H>>(std::move(object)) : nullptr) {}
    explicit Shared(std::shared_ptr<const Object<H>> object) : object_(std::move(object)) {}

    H Get() const { return object_ ? object_->Get() : nullptr; }
    explicit operator bool() const { return Get() != nullptr; }
    void Reset() { object_.reset(); }

  private:
    std::shared_ptr<const Object<H>> object_;
};

using SharedBitmap = Shared<HBITMAP>;
using SharedFont = Shared<HFONT>;

// Objects in use by key, made when the first holder asks for them and again after the last one
// let them go. The cache itself holds none of them.
template <typename Key, typename H>
class SharedCache {
  public:
    template <typename Make>
    Shared<H> Get(const Key& key, Make make) {
        std::lock_guard<std::mutex> hold(lock_);
        std::weak_ptr<const Object<H>>& entry = objects_[key];
        if (std::shared_ptr<const Object<H>> object = entry.lock()) return Shared<H>(object);
        Object<H> fresh = make();
        if (!fresh) return {};
        auto object = std::make_shared<const Object<H>>(std::move(fresh));
        entry = object;
        return Shared<H>(std::move(object));
    }

  private:
    std::mutex lock_;
    std::map<Key, std::weak_ptr<const Object<H>>> objects_;
};

// The program's image `id` for a display of `dpi`, loaded once while anyone holds it
// (LoadBitmapResource); empty when it cannot be had.
SharedBitmap LoadSharedBitmap(int id, int dpi = 96);

}  // namespace quorelle::gdi
