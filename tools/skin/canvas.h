// A cairo drawing surface and the file formats the program's resources are made from.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace skin {

// Opaque RGB canvas for bitmaps, or ARGB for icon and cursor images.
class Canvas {
  public:
    Canvas(int width, int height, bool alpha = false);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Pixel as 0xAARRGGBB (premultiplied for alpha canvases).
    uint32_t Pixel(int x, int y);
    void SetPixel(int x, int y, uint32_t argb);

  private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    int width_, height_;
};

// Which pixels of a bitmap are cut out of the window (colour key); empty = none.
using KeyMask = std::function<bool(int x, int y)>;

inline constexpr uint32_t kKeyRgb = 0x0000FF;

// 24-bit bottom-up BMP. Key pixels become pure blue; every other pixel that happens to be pure
// blue is moved one step off it, so the key never appears by accident.
std::vector<uint8_t> EncodeBmp24(Canvas& canvas, const KeyMask& key);

// ICO / CUR container from ARGB canvases: sizes below 256 as 32-bit DIBs with an AND mask,
// 256 as PNG.
std::vector<uint8_t> EncodeIcon(const std::vector<Canvas*>& images);
std::vector<uint8_t> EncodeCursor(Canvas& image, int hotX, int hotY);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace skin
