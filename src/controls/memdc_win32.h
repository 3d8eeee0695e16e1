// Off-screen drawing surface: the caller draws into it with the target's coordinates and it
// lands on the target in one block copy when the surface goes away.
#pragma once

#include <windows.h>

#include "controls/gdi_win32.h"

namespace quorelle::controls {

class CMemDC {
  public:
    // Over `rect` of the target (its clip box when rect is null). With copyFirst the target's
    // pixels are copied in first, otherwise the rectangle starts in the target's background
    // colour. A printer target, or one whose surface cannot be made, is drawn on directly.
    CMemDC(HDC target, const RECT* rect = nullptr, bool copyFirst = false);
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;
    ~CMemDC();

    HDC Get() const { return direct_ ? target_ : memory_.Dc(); }
    const RECT& Rect() const { return rect_; }
    bool Direct() const { return direct_; }

  private:
    HDC target_;
    gdi::SelectedSurface memory_;
    RECT rect_{};
    bool direct_ = true;
};

// An off-screen surface in the display's format that a control keeps for its whole life, to
// hold the frame it drew last: a paint whose look did not change is then one block copy.
class FrameSurface {
  public:
    FrameSurface() = default;
    FrameSurface(const FrameSurface&) = delete;
    FrameSurface& operator=(const FrameSurface&) = delete;
    ~FrameSurface() { Release(); }

    // The surface, `width` x `height` pixels, made (again) when it has another size; null when
    // it cannot be made.
    HDC Ensure(int width, int height);
    HDC Get() const { return surface_.Dc(); }
    // Copies the surface's top-left `width` x `height` pixels to (x, y) of the target.
    void CopyTo(HDC target, int x, int y, int width, int height) const;
    void Release();

  private:
    gdi::SelectedSurface surface_;
    int width_ = 0;
    int height_ = 0;
};

// A memory device context a control keeps for its whole life to copy its images from; an image
// is selected into it only for the copy.
class ImageSource {
  public:
    // The context, made on first use; null when it cannot be made.
    HDC Get();

  private:
    gdi::OwnedDC dc_;
};

}  // namespace quorelle::controls
