#include "controls/slider.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/truncate.h"

namespace quorelle::controls {

std::vector<TileSegment> TileCopySegments(int32_t imageLength, int32_t sourceStart,
                                          int32_t partStart, int32_t partEnd) {
    std::vector<TileSegment> segments;
    const int32_t partLength = partEnd - partStart;
    if (imageLength <= 0 || partLength <= 0) return segments;
    if (sourceStart >= 0 && imageLength - sourceStart >= partLength) {
        segments.push_back({partStart, sourceStart, partLength});
        return segments;
    }
    // The image is shorter than the part: repeat it, each piece taken from the image offset
    // that the destination coordinate has within the repetition.
    int32_t x = partStart;
    while (x < partEnd) {
        int32_t offset = x % imageLength;
        if (offset < 0) offset += imageLength;
        const int32_t length = std::min(imageLength - offset, partEnd - x);
        if (length <= 0) break;
        segments.push_back({x, offset, length});
        x += length;
    }
    return segments;
}

void SliderModel::SetValue(int32_t value) {
    value_ = value;
    if (value_ > max_) value_ = max_;
    if (value_ < min_) value_ = min_;
}

int32_t SliderModel::ValueToPixel(int32_t value) const {
    const int32_t half = ThumbLength() / 2;
    const int32_t travel = Travel();
    if (travel <= 0 || max_ == min_) return half + StartInset();
    const double fraction = (double(value) - double(min_)) / (double(max_) - double(min_));
    return half + StartInset() + TruncToInt32(fraction * double(travel));
}

int32_t SliderModel::PixelToValue(int32_t pixel) const {
    const int32_t travel = Travel();
    if (travel <= 0 || max_ == min_) return min_;
    const double along = double(pixel) - double(ThumbLength() / 2) - double(StartInset());
    return TruncToInt32(along / double(travel) * (double(max_) - double(min_)) + double(min_));
}

int32_t SliderModel::ThumbLeft() const {
    return vertical_ ? insetLeft_ : ValueToPixel(value_) - thumbWidth_ / 2;
}

int32_t SliderModel::ThumbTop() const {
    return vertical_ ? ValueToPixel(value_) - thumbHeight_ / 2 : insetTop_;
}

std::vector<SliderNotice> SliderModel::ButtonDown(int32_t axis) {
    dragging_ = true;
    const int32_t centre = ValueToPixel(value_);
    const int32_t error = axis - centre;
    // A press on the thumb keeps the grip point; elsewhere the thumb centre jumps to the pointer.
    dragOffset_ = std::abs(error) > ThumbLength() / 2 ? 0 : error;
    return MouseMove(axis);
}

std::vector<SliderNotice> SliderModel::MouseMove(int32_t axis, bool held) {
    std::vector<SliderNotice> notices;
    if (!dragging_) return notices;
    if (!held) return CancelDrag();
    int32_t target = axis - dragOffset_;
    if (vertical_) {
        target = std::min(target, trackHeight_ - thumbHeight_ / 2 - insetBottom_);
        target = std::max(target, thumbHeight_ / 2 + insetTop_);
    } else {
        target = std::max(target, insetLeft_ + thumbWidth_ / 2);
        target = std::min(target, trackWidth_ - insetRight_ - thumbWidth_ / 2);
    }
    if (target != ValueToPixel(value_)) {
        SetValue(PixelToValue(target));
        notices.push_back({SLIDER_MSG_TRACK, value_});
    }
    return notices;
}

std::vector<SliderNotice> SliderModel::ButtonUp() {
    dragging_ = false;
    return {{SLIDER_MSG_COMMIT, value_}};
}

std::vector<SliderNotice> SliderModel::CancelDrag() {
    if (!dragging_) return {};
    return ButtonUp();
}

bool SliderModel::KeyDown(unsigned virtualKey, std::vector<SliderNotice>& notices) {
    // 64-bit so that steps next to the ends of the int32 range do not overflow.
    int64_t next = value_;
    switch (virtualKey) {
        case keys::kPageUp:
            next -= pageStep_;
            break;
        case keys::kPageDown:
            next += pageStep_;
            break;
        case keys::kEnd:
            next = max_;
            break;
        case keys::kHome:
            next = min_;
            break;
        case keys::kLeft:
        case keys::kUp:
            next -= 1;
            break;
        case keys::kRight:
        case keys::kDown:
            next += 1;
            break;
        default:
            return false;
    }
    next = std::clamp<int64_t>(next, INT32_MIN, INT32_MAX);
    SetValue(static_cast<int32_t>(next));
    notices.push_back({SLIDER_MSG_COMMIT, value_});
    return true;
}

}  // namespace quorelle::controls
