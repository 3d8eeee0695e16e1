#include "controls/lamp_win32.h"

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
}

void CMyStaticBmp::Show(HBITMAP bitmap) {
    if (Hwnd() == nullptr) return;
    // The previous image is one of ours (or none): nothing to free here.
    SendMessageW(Hwnd(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

HBITMAP CMyStaticBmp::Shown() const {
    if (Hwnd() == nullptr) return nullptr;
    return reinterpret_cast<HBITMAP>(SendMessageW(Hwnd(), STM_GETIMAGE, IMAGE_BITMAP, 0));
}

bool CMyStaticBmp::LoadLampImages(int onId, int offId) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    gdi::Bitmap on = gdi::LoadBitmapResource(module, onId);
    gdi::Bitmap off = gdi::LoadBitmapResource(module, offId);
    const bool ok = on && off;
    SetLampImages(std::move(on), std::move(off));
    return ok;
}

void CMyStaticBmp::SetLampImages(gdi::Bitmap on, gdi::Bitmap off) {
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
    Show(pictures_[*image].Get());
}

void CMyStaticBmp::SetPictureImages(std::vector<gdi::Bitmap> images, int index) {
    // Stop showing an old picture before it is freed.
    const HBITMAP shown = Shown();
    for (const gdi::Bitmap& old : pictures_) {
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
    HINSTANCE module = GetModuleHandleW(nullptr);
    std::vector<gdi::Bitmap> images;
    for (int32_t id : ids) images.push_back(gdi::LoadBitmapResource(module, id));
    SetPictureImages(std::move(images), index);
    return true;
}

bool CMyStaticBmp::LoadSampleRateImages() {
    return LoadPictures(SampleRateImageIds(), 0);
}

bool CMyStaticBmp::LoadRoomImages(int index) {
    return LoadPictures(RoomImageIds(), index);
}

}  // namespace quorelle::controls
