#include "controls/lamp.h"

#include "controls/skin_images.h"

#include <algorithm>

namespace quorelle::controls {

void PictureTable::Fill(const std::vector<int32_t>& imageIds) {
    images_.assign(imageIds.begin(),
                   imageIds.begin() + std::min<size_t>(imageIds.size(), kPictureSlots));
    for (int slot = 0; slot < kPictureSlots; ++slot) {
        slots_[slot] = slot < int(images_.size()) ? slot : 0;
    }
}

std::optional<int> PictureTable::ImageForIndex(int32_t index) const {
    if (index < 0 || index >= kPictureSlots || images_.empty()) return std::nullopt;
    return slots_[index];
}

std::optional<int32_t> PictureTable::ResourceForIndex(int32_t index) const {
    const auto image = ImageForIndex(index);
    if (!image) return std::nullopt;
    return images_[*image];
}

const std::vector<int32_t>& SampleRateImageIds() {
    static const std::vector<int32_t> ids(images::kRatePictures.begin(),
                                          images::kRatePictures.end());
    return ids;
}

const std::vector<int32_t>& RoomImageIds() {
    static const std::vector<int32_t> ids(images::kRoomPictures.begin(),
                                          images::kRoomPictures.end());
    return ids;
}

}  // namespace quorelle::controls
