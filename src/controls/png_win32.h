// The program's images are carried compressed (PNG); this decodes one held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorelle::gdi {

// Top-down rows of 32-bit pixels in the display's order (blue, green, red, and a zero fourth
// byte, as a bitmap loaded from a 24-bit file holds it). Empty when the bytes are not a PNG
// image of at most 16384 x 16384 pixels.
std::vector<uint32_t> DecodePng(const void* bytes, size_t size, int& width, int& height);

}  // namespace quorelle::gdi
