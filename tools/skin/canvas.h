// A cairo drawing surface and the file formats the program's resources are made from.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace skin {

// Opaque RGB canvas for bitmaps, or ARGB for icon and cursor images. Pieces draw in logical
// (96-DPI) pixels: at another DPI the surface holds the logical size converted to device pixels
// and the cairo context is scaled, so the same vector code draws every display scale.
class Canvas {
  public:
    Canvas(int width, int height, bool alpha = false, int dpi = 96);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    // Logical size (what the pieces draw in).
    int width() const { return width_; }
    int height() const { return height_; }
    // Device size (the surface's pixels) and the device pixels per logical pixel.
    int deviceWidth() const { return deviceWidth_; }
    int deviceHeight() const { return deviceHeight_; }
    int dpi() const { return dpi_; }
    double scale() const { return dpi_ / 96.0; }

    // Pixel of the surface as 0xAARRGGBB (premultiplied for alpha canvases).
    uint32_t Pixel(int x, int y);
    void SetPixel(int x, int y, uint32_t argb);

  private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    int width_, height_;
    int deviceWidth_, deviceHeight_;
    int dpi_;
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
// One cursor in several sizes, each image with its own hot spot.
std::vector<uint8_t> EncodeCursor(const std::vector<Canvas*>& images,
                                  const std::vector<std::pair<int, int>>& hotSpots);

// Sets key pixels to pure blue and moves every other pure-blue pixel one step off it, on the
// surface itself (what EncodeBmp24 does to its output); key in device pixels.
void ApplyKey(Canvas& canvas, const KeyMask& key);

// 8-bit RGB PNG of an opaque canvas as it is, at zlib's strongest compression.
std::vector<uint8_t> EncodePng(Canvas& canvas);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace skin
