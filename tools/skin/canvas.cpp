#include "canvas.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <stdexcept>

#include "controls/scale.h"

namespace skin {

Canvas::Canvas(int width, int height, bool alpha, int dpi)
    : width_(width),
      height_(height),
      deviceWidth_(quorelle::controls::ToDevice(width, dpi)),
      deviceHeight_(quorelle::controls::ToDevice(height, dpi)),
      dpi_(dpi) {
    surface_ = cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
                                          deviceWidth_, deviceHeight_);
    cr_ = cairo_create(surface_);
    // one factor for both axes, so that logical x lands on x times the scale as the program
    // places its controls (the last device row or column may hold a fraction of art)
    if (dpi != 96) cairo_scale(cr_, scale(), scale());
    if (alpha) {
        cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
    } else {
        cairo_set_source_rgb(cr_, 0, 0, 0);
        cairo_paint(cr_);
    }
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

uint32_t Canvas::Pixel(int x, int y) {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    uint32_t v = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
    if (cairo_image_surface_get_format(surface_) == CAIRO_FORMAT_RGB24) v |= 0xFF000000u;
    return v;
}

void Canvas::SetPixel(int x, int y, uint32_t argb) {
    cairo_surface_flush(surface_);
    unsigned char* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    reinterpret_cast<uint32_t*>(data + y * stride)[x] = argb;
    cairo_surface_mark_dirty(surface_);
}

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutInfoHeader(std::vector<uint8_t>& out, int w, int h, int bits, uint32_t imageSize) {
    Put32(out, 40);
    Put32(out, uint32_t(w));
    Put32(out, uint32_t(h));
    Put16(out, 1);
    Put16(out, uint16_t(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
}

// Straight (not premultiplied) BGRA of an ARGB canvas pixel.
void Unpremultiply(uint32_t argb, uint8_t& r, uint8_t& g, uint8_t& b, uint8_t& a) {
    a = uint8_t(argb >> 24);
    if (a == 0) {
        r = g = b = 0;
        return;
    }
    auto un = [a](uint32_t c) { return uint8_t((c * 255 + a / 2) / a); };
    r = un((argb >> 16) & 0xFF);
    g = un((argb >> 8) & 0xFF);
    b = un(argb & 0xFF);
}

// BITMAPINFOHEADER with doubled height, 32-bit XOR image, 1-bit AND mask.
std::vector<uint8_t> IconDib(Canvas& c) {
    const int w = c.deviceWidth(), h = c.deviceHeight();
    const int maskStride = ((w + 31) / 32) * 4;
    std::vector<uint8_t> out;
    PutInfoHeader(out, w, h * 2, 32, uint32_t(w * h * 4 + maskStride * h));
    std::vector<uint8_t> mask(size_t(maskStride) * h, 0);
    for (int row = 0; row < h; ++row) {
        int y = h - 1 - row;
        for (int x = 0; x < w; ++x) {
            uint8_t r, g, b, a;
            Unpremultiply(c.Pixel(x, y), r, g, b, a);
            if (a == 0) mask[size_t(row) * maskStride + x / 8] |= uint8_t(0x80 >> (x % 8));
            if (r == 0 && g == 0 && b == 255) b = 254;
            out.push_back(b);
            out.push_back(g);
            out.push_back(r);
            out.push_back(a);
        }
    }
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

void AppendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

std::vector<uint8_t> IconContainer(int type, const std::vector<Canvas*>& images,
                                   const std::vector<std::pair<int, int>>& fields) {
    std::vector<std::vector<uint8_t>> blobs;
    for (Canvas* c : images) {
        if (c->deviceWidth() >= 256) {
            std::vector<uint8_t> png;
            cairo_surface_flush(c->surface());
            cairo_surface_write_to_png_stream(c->surface(), AppendPng, &png);
            blobs.push_back(std::move(png));
        } else {
            blobs.push_back(IconDib(*c));
        }
    }
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, uint16_t(type));
    Put16(out, uint16_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int w = images[i]->deviceWidth(), h = images[i]->deviceHeight();
        out.push_back(uint8_t(w >= 256 ? 0 : w));
        out.push_back(uint8_t(h >= 256 ? 0 : h));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, uint16_t(fields[i].first));   // icon: planes;   cursor: hot spot x
        Put16(out, uint16_t(fields[i].second));  // icon: bit count; cursor: hot spot y
        Put32(out, uint32_t(blobs[i].size()));
        Put32(out, offset);
        offset += uint32_t(blobs[i].size());
    }
    for (auto& b : blobs) out.insert(out.end(), b.begin(), b.end());
    return out;
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(Canvas& canvas, const KeyMask& key) {
    const int w = canvas.deviceWidth(), h = canvas.deviceHeight();
    const int stride = (w * 3 + 3) & ~3;
    const uint32_t imageSize = uint32_t(stride * h);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + imageSize);
    Put32(out, 0);
    Put32(out, 14 + 40);
    PutInfoHeader(out, w, h, 24, imageSize);
    for (int row = 0; row < h; ++row) {
        int y = h - 1 - row;
        for (int x = 0; x < w; ++x) {
            uint32_t rgb = canvas.Pixel(x, y) & 0xFFFFFF;
            if (key && key(x, y)) {
                rgb = kKeyRgb;
            } else if (rgb == kKeyRgb) {
                rgb = 0x0000FE;
            }
            out.push_back(uint8_t(rgb));
            out.push_back(uint8_t(rgb >> 8));
            out.push_back(uint8_t(rgb >> 16));
        }
        for (int pad = w * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

void ApplyKey(Canvas& canvas, const KeyMask& key) {
    cairo_surface_flush(canvas.surface());
    unsigned char* data = cairo_image_surface_get_data(canvas.surface());
    const int stride = cairo_image_surface_get_stride(canvas.surface());
    for (int y = 0; y < canvas.deviceHeight(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < canvas.deviceWidth(); ++x) {
            if (key && key(x, y)) {
                row[x] = 0xFF000000u | kKeyRgb;
            } else if ((row[x] & 0xFFFFFF) == kKeyRgb) {
                row[x] = (row[x] & 0xFF000000u) | 0x0000FE;
            }
        }
    }
    cairo_surface_mark_dirty(canvas.surface());
}

std::vector<uint8_t> EncodePng(Canvas& canvas) {
    if (cairo_image_surface_get_format(canvas.surface()) != CAIRO_FORMAT_RGB24)
        throw std::runtime_error("PNG files are written from opaque canvases only");
    const int w = canvas.deviceWidth(), h = canvas.deviceHeight();
    // 8-bit RGB rows, made before libpng may jump out of this function
    std::vector<uint8_t> rgb(size_t(w) * h * 3);
    std::vector<png_bytep> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        uint8_t* row = rgb.data() + size_t(y) * w * 3;
        rows[size_t(y)] = row;
        for (int x = 0; x < w; ++x) {
            uint32_t p = canvas.Pixel(x, y);
            row[3 * x] = uint8_t(p >> 16);
            row[3 * x + 1] = uint8_t(p >> 8);
            row[3 * x + 2] = uint8_t(p);
        }
    }
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode a PNG");
    }
    png_set_write_fn(png, &out, AppendPngBytes, nullptr);
    // the smallest files zlib makes: every set of the skin is shipped, so bytes count
    png_set_compression_level(png, 9);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, uint32_t(w), uint32_t(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> EncodeIcon(const std::vector<Canvas*>& images) {
    std::vector<std::pair<int, int>> fields(images.size(), {1, 32});
    return IconContainer(1, images, fields);
}

std::vector<uint8_t> EncodeCursor(Canvas& image, int hotX, int hotY) {
    return IconContainer(2, {&image}, {{hotX, hotY}});
}

std::vector<uint8_t> EncodeCursor(const std::vector<Canvas*>& images,
                                  const std::vector<std::pair<int, int>>& hotSpots) {
    return IconContainer(2, images, hotSpots);
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) throw std::runtime_error("cannot write " + path);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace skin
