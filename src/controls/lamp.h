// Image tables of the picture lamps: which bitmap resource each indexed state shows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace quorelle::controls {

inline constexpr int kPictureSlots = 23;

// The 23 indexed states of a picture control. Each slot refers to one of the distinct images
// (by its position in Images()), so an image used by several slots is loaded once.
class PictureTable {
  public:
    // Slots 0 .. n-1 take the images in order; the remaining slots repeat image 0.
    void Fill(const std::vector<int32_t>& imageIds);
    // The distinct images, in the order given to Fill.
    const std::vector<int32_t>& Images() const { return images_; }
    // Which image a state index shows; nothing for an index outside 0 .. 22 or an empty table.
    std::optional<int> ImageForIndex(int32_t index) const;
    // The resource id a state index shows.
    std::optional<int32_t> ResourceForIndex(int32_t index) const;

  private:
    std::vector<int32_t> images_;
    std::array<int, kPictureSlots> slots_{};
};

// Main console's sample-rate picture: 44.1, 48, 88.2, 96, 176.4 and 192 kHz.
const std::vector<int32_t>& SampleRateImageIds();
// HIFI page's room picture: indices 0, 1, 2.
const std::vector<int32_t>& RoomImageIds();

}  // namespace quorelle::controls
