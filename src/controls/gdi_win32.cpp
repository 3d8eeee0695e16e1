#include "controls/gdi_win32.h"

#include <string>
#include <utility>
#include <vector>

#include "controls/png_win32.h"
#include "controls/scale.h"

namespace quorelle::gdi {

Bitmap LoadBitmapResource(HINSTANCE module, int id, int dpi) {
    const int percent = controls::SkinPercent(dpi);
    const std::wstring type = L"SKIN" + std::to_wstring(percent);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type.c_str());
    if (found == nullptr) {
        return Bitmap(static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    }
    HGLOBAL held = LoadResource(module, found);
    const void* bytes = held != nullptr ? LockResource(held) : nullptr;
    const DWORD size = SizeofResource(module, found);
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = DecodePng(bytes, size, width, height);
    if (pixels.empty()) return Bitmap();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    WindowDC screen(nullptr);
    Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!bitmap || SetDIBits(screen.Get(), bitmap.Get(), 0, UINT(height), pixels.data(), &info,
                             DIB_RGB_COLORS) != height)
        return Bitmap();
    return bitmap;
}

void DrawImageFitted(HDC target, int x, int y, int width, int height, HDC source, SIZE image) {
    if (width <= 0 || height <= 0 || image.cx <= 0 || image.cy <= 0) return;
    const int w = width < image.cx ? width : image.cx;
    const int h = height < image.cy ? height : image.cy;
    BitBlt(target, x, y, w, h, source, 0, 0, SRCCOPY);
    if (width > w)  // the last column, repeated
        StretchBlt(target, x + w, y, width - w, h, source, image.cx - 1, 0, 1, h, SRCCOPY);
    if (height > h)  // the last row, repeated, with the corner
        StretchBlt(target, x, y + h, width, height - h, target, x, y + h - 1, width, 1, SRCCOPY);
}

SharedBitmap LoadSharedBitmap(int id, int dpi) {
    // Images in use, by resource id and drawn scale; an entry whose bitmap is gone is loaded
    // again.
    static SharedCache<std::pair<int, int>, HBITMAP> loaded;
    const int percent = controls::SkinPercent(dpi);
    return loaded.Get({id, percent}, [id, dpi] {
        return LoadBitmapResource(GetModuleHandleW(nullptr), id, dpi);
    });
}

}  // namespace quorelle::gdi
