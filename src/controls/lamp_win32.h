// CMyStaticBmp: a picture control (static, bitmap style) that shows one bitmap at a time: an
// on/off lamp or a picture with up to 23 indexed states. It holds every bitmap it shows (the
// program's images shared with the other controls that show them), keeps the shown one itself
// (answering the picture control's image messages) and paints it with one block copy.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "controls/control_win32.h"
#include "controls/gdi_win32.h"
#include "controls/lamp.h"
#include "controls/memdc_win32.h"

namespace quorelle::controls {

class CMyStaticBmp : public SubclassedControl {
  public:
    CMyStaticBmp() = default;
    ~CMyStaticBmp() override;

    // The lamp's two images, from the module's bitmap resources or made by the caller.
    bool LoadLampImages(int onId, int offId);
    void SetLampImages(gdi::SharedBitmap on, gdi::SharedBitmap off);

    // Shows the on image when lit, else the off image.
    void SetLit(bool lit);
    bool Lit() const { return lit_; }

    // Shows image table[index] for 0 .. 22; any other index changes nothing.
    void ShowImage(int index);
    bool LoadSampleRateImages();
    bool LoadRoomImages(int index);
    // Indexed pictures made by the caller: slots 0 .. n-1 in order, the rest repeat image 0.
    void SetPictureImages(std::vector<gdi::SharedBitmap> images, int index);

    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int index) { stateIndex_ = index; }

    HBITMAP OnImage() const { return on_.Get(); }
    HBITMAP OffImage() const { return off_.Get(); }
    HBITMAP PictureImage(int index) const;
    // The bitmap the control shows now.
    HBITMAP Shown() const { return shown_; }

    // Paints the shown bitmap into `target` over the client rectangle, as the platform's picture
    // control would: a bitmap of the control's size is copied as it is; any other is centred or
    // stretched as the control's style says, over the background the parent chooses.
    void Paint(HDC target);

  protected:
    void OnAttached() override;
    void OnDpiChanged() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // Shows `bitmap` (null for none) and returns the one shown before. Like a picture control,
    // the control takes the bitmap's size unless its style centres or keeps the size.
    HBITMAP Show(HBITMAP bitmap);
    void PaintAsPicture(HDC target, const RECT& client);
    // When the picture lies under other controls (it clips its siblings), they are drawn over
    // its new image.
    void RepaintWhatLiesOnIt();
    bool LoadPictures(const std::vector<int32_t>& ids, int index);

    // the resource ids of the images, to load them again at another scale (0 / empty: made by
    // the caller)
    std::pair<int, int> lampIds_{0, 0};
    std::vector<int32_t> pictureIds_;
    int shownIndex_ = 0;
    gdi::SharedBitmap on_;
    gdi::SharedBitmap off_;
    PictureTable table_;
    std::vector<gdi::SharedBitmap> pictures_;
    bool lit_ = false;
    int stateIndex_ = 0;
    HBITMAP shown_ = nullptr;
    SIZE shownSize_{};
    ImageSource source_;
    // A copy of the shown bitmap when it has the control's size, so that a paint is one copy
    // from a surface that is always ready.
    FrameSurface frame_;
    bool framed_ = false;
};

}  // namespace quorelle::controls
