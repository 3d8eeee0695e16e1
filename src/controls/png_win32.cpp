#include "controls/png_win32.h"

#include <climits>

// The decoder is a single-file library compiled here with only its PNG reader and no file access.
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_THREAD_LOCALS
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace quorelle::gdi {

std::vector<uint32_t> DecodePng(const void* bytes, size_t size, int& width, int& height) {
    width = 0;
    height = 0;
    if (bytes == nullptr || size == 0 || size > size_t(INT_MAX)) return {};
    int w = 0, h = 0, channels = 0;
    if (stbi_info_from_memory(static_cast<const stbi_uc*>(bytes), int(size), &w, &h, &channels) ==
            0 ||
        w <= 0 || h <= 0 || w > 16384 || h > 16384)
        return {};
    stbi_uc* rgba =
        stbi_load_from_memory(static_cast<const stbi_uc*>(bytes), int(size), &w, &h, &channels, 4);
    if (rgba == nullptr) return {};
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const stbi_uc* p = rgba + 4 * i;
        pixels[i] = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
    }
    stbi_image_free(rgba);
    width = w;
    height = h;
    return pixels;
}

}  // namespace quorelle::gdi
