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

bool DecodePng(const void* bytes, size_t size,
               const std::function<uint32_t*(int width, int height)>& target) {
    if (bytes == nullptr || size == 0 || size > size_t(INT_MAX)) return false;
    const auto* data = static_cast<const stbi_uc*>(bytes);
    int w = 0, h = 0, channels = 0;
    if (stbi_info_from_memory(data, int(size), &w, &h, &channels) == 0 || w <= 0 || h <= 0 ||
        w > 16384 || h > 16384)
        return false;
    // three bytes a pixel from the decoder: the smallest copy it can give
    stbi_uc* rgb = stbi_load_from_memory(data, int(size), &w, &h, &channels, 3);
    if (rgb == nullptr) return false;
    uint32_t* pixels = target(w, h);
    if (pixels != nullptr) {
        const size_t count = size_t(w) * size_t(h);
        for (size_t i = 0; i < count; ++i) {
            const stbi_uc* p = rgb + 3 * i;
            pixels[i] = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
        }
    }
    stbi_image_free(rgb);
    return pixels != nullptr;
}

}  // namespace quorelle::gdi
