// Move-only owners of GDI objects and device contexts, and a guard that restores the object it
// replaced in a device context. Every window of the program draws through these.
#pragma once

#include <windows.h>

#include <utility>

namespace quorelle::gdi {

// Owns one GDI object (bitmap, brush, pen, font, region) and deletes it.
template <typename H>
class Object {
  public:
    Object() = default;
    explicit Object(H handle) : handle_(handle) {}
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    Object(Object&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Object& operator=(Object&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~Object() { Reset(); }

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(H handle = nullptr) {
        if (handle_ != nullptr && handle_ != handle) DeleteObject(handle_);
        handle_ = handle;
    }
    // Hands the object to a new owner (for example the system, through SetWindowRgn).
    [[nodiscard]] H Release() { return std::exchange(handle_, nullptr); }

  private:
    H handle_ = nullptr;
};

using Bitmap = Object<HBITMAP>;
using Brush = Object<HBRUSH>;
using Pen = Object<HPEN>;
using Font = Object<HFONT>;
using Region = Object<HRGN>;

// Owns a memory or information device context and deletes it.
class OwnedDC {
  public:
    OwnedDC() = default;
    explicit OwnedDC(HDC dc) : dc_(dc) {}
    OwnedDC(const OwnedDC&) = delete;
    OwnedDC& operator=(const OwnedDC&) = delete;
    OwnedDC(OwnedDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    OwnedDC& operator=(OwnedDC&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    ~OwnedDC() { Reset(); }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset() {
        if (dc_ != nullptr) DeleteDC(std::exchange(dc_, nullptr));
    }

  private:
    HDC dc_ = nullptr;
};

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

// Loads a bitmap resource of the module in the display's format, so that copying it to a
// window or a compatible surface needs no pixel conversion.
inline Bitmap LoadBitmapResource(HINSTANCE module, int id) {
    return Bitmap(static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

// Size of a bitmap, {0, 0} when it is not one.
inline SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

}  // namespace quorelle::gdi
