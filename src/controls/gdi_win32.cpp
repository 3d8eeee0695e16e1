#include "controls/gdi_win32.h"

#include <cstring>

#include <string>
#include <utility>

#include "controls/png_win32.h"
#include "controls/scale.h"

namespace quorelle::gdi {

namespace {
Bitmap DecodeResource(HINSTANCE module, int id, int percent);
}  // namespace

Bitmap LoadBitmapResource(HINSTANCE module, int id, int dpi) {
    return DecodeResource(module, id, controls::SkinPercent(dpi));
}

SIZE ImageResourceSize(HINSTANCE module, int id, int dpi) {
    const std::wstring type = L"SKIN" + std::to_wstring(controls::SkinPercent(dpi));
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type.c_str());
    if (found == nullptr) return BitmapSize(LoadBitmapResource(module, id, dpi).Get());
    HGLOBAL held = LoadResource(module, found);
    const auto* bytes = static_cast<const uint8_t*>(held ? LockResource(held) : nullptr);
    // a PNG file opens with its 8-byte signature, then the header chunk: length, "IHDR",
    // width and height as big-endian 32-bit numbers
    if (bytes == nullptr || SizeofResource(module, found) < 24 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return {0, 0};
    const auto big = [bytes](int at) {
        return LONG(uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
                    uint32_t(bytes[at + 2]) << 8 | uint32_t(bytes[at + 3]));
    };
    return {big(16), big(20)};
}

namespace {
Bitmap DecodeResource(HINSTANCE module, int id, int percent) {
    const std::wstring type = L"SKIN" + std::to_wstring(percent);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type.c_str());
    if (found == nullptr) {
        return Bitmap(static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    }
    HGLOBAL held = LoadResource(module, found);
    const void* bytes = held != nullptr ? LockResource(held) : nullptr;
    const DWORD size = SizeofResource(module, found);
    // decoded straight into the bitmap's own pixels: a 32-bit section, the format the display's
    // surfaces have, so that copying it needs no conversion
    Bitmap bitmap;
    const bool decoded = DecodePng(bytes, size, [&bitmap](int width, int height) -> uint32_t* {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        return bitmap ? static_cast<uint32_t*>(bits) : nullptr;
    });
    if (!decoded) return Bitmap();
    return bitmap;
}
}  // namespace

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
    return loaded.Get({id, percent},
                      [id, dpi] { return LoadBitmapResource(GetModuleHandleW(nullptr), id, dpi); });
}

}  // namespace quorelle::gdi
