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

    HDC Get() const { return direct_ ? target_ : memory_.Get(); }
    const RECT& Rect() const { return rect_; }
    bool Direct() const { return direct_; }

  private:
    HDC target_;
    gdi::OwnedDC memory_;
    gdi::Bitmap bitmap_;
    HGDIOBJ previousBitmap_ = nullptr;
    RECT rect_{};
    bool direct_ = true;
};

}  // namespace quorelle::controls
