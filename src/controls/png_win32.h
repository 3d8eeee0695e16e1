// The program's images are carried compressed (PNG); this decodes one held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quorelle::gdi {

// Decodes a PNG image held in memory into top-down rows of 32-bit pixels in the display's order
// (blue, green, red, and a zero fourth byte, as a bitmap loaded from a 24-bit file holds it),
// written where `target(width, height)` says (room for width x height pixels; nullptr to give
// up). False when the bytes are not a PNG image of at most 16384 x 16384 pixels or the target
// has no room. The decoder's own copy is freed before this returns, so the image is held twice
// only while its rows are carried over.
bool DecodePng(const void* bytes, size_t size,
               const std::function<uint32_t*(int width, int height)>& target);

}  // namespace quorelle::gdi
