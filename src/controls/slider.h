// Value model and input state machine of the bitmap slider. Portable: the Win32 class
// CBitmapSlider feeds it mouse coordinates and keys and turns its results into window messages.
#pragma once

#include <cstdint>
#include <vector>

#include "base/messages.h"

namespace quorelle::controls {

// Messages the slider posts to its parent: wParam = control id, lParam = value (sign-extended).
using quorelle::SLIDER_MSG_COMMIT;
using quorelle::SLIDER_MSG_TRACK;

// Virtual-key codes the controls react to (the platform's values).
namespace keys {
inline constexpr unsigned kPageUp = 0x21;
inline constexpr unsigned kPageDown = 0x22;
inline constexpr unsigned kEnd = 0x23;
inline constexpr unsigned kHome = 0x24;
inline constexpr unsigned kLeft = 0x25;
inline constexpr unsigned kUp = 0x26;
inline constexpr unsigned kRight = 0x27;
inline constexpr unsigned kDown = 0x28;
}  // namespace keys

// One notification the slider asks its window to post.
struct SliderNotice {
    unsigned message;  // SLIDER_MSG_TRACK or SLIDER_MSG_COMMIT
    int32_t value;
    bool operator==(const SliderNotice&) const = default;
};

// One block copy of a track part: destination start along the part's axis, source offset and
// length. The track image is repeated when the part is longer than the image.
struct TileSegment {
    int32_t dest;
    int32_t source;
    int32_t length;
    bool operator==(const TileSegment&) const = default;
};

// Splits the stretch [partStart, partEnd) of a track into copies from an image of imageLength
// pixels along the axis, the first one taken from sourceStart. An image of length 0 or an empty
// part yields no copy.
std::vector<TileSegment> TileCopySegments(int32_t imageLength, int32_t sourceStart,
                                          int32_t partStart, int32_t partEnd);

class SliderModel {
  public:
    // Configuration.
    void SetLimits(int32_t min, int32_t max) {
        min_ = min;
        max_ = max;
    }
    // Clamps to max first and then to min, so min wins when min > max.
    void SetValue(int32_t value);
    int32_t Value() const { return value_; }
    int32_t Min() const { return min_; }
    int32_t Max() const { return max_; }
    void SetPageStep(int32_t step) { pageStep_ = step; }
    int32_t PageStep() const { return pageStep_; }
    void SetInsets(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        insetLeft_ = left;
        insetTop_ = top;
        insetRight_ = right;
        insetBottom_ = bottom;
    }
    void SetVertical(bool vertical) { vertical_ = vertical; }
    bool Vertical() const { return vertical_; }
    void SetTrackSize(int32_t width, int32_t height) {
        trackWidth_ = width;
        trackHeight_ = height;
    }
    void SetThumbSize(int32_t width, int32_t height) {
        thumbWidth_ = width;
        thumbHeight_ = height;
    }
    int32_t TrackWidth() const { return trackWidth_; }
    int32_t TrackHeight() const { return trackHeight_; }
    int32_t ThumbWidth() const { return thumbWidth_; }
    int32_t ThumbHeight() const { return thumbHeight_; }
    int32_t InsetLeft() const { return insetLeft_; }
    int32_t InsetTop() const { return insetTop_; }

    // Geometry along the slider's axis.
    int32_t Length() const { return vertical_ ? trackHeight_ : trackWidth_; }
    int32_t ThumbLength() const { return vertical_ ? thumbHeight_ : thumbWidth_; }
    int32_t StartInset() const { return vertical_ ? insetTop_ : insetLeft_; }
    int32_t EndInset() const { return vertical_ ? insetBottom_ : insetRight_; }
    int32_t Travel() const { return Length() - EndInset() - ThumbLength() - StartInset(); }

    // Thumb centre of a value and value of a thumb centre. With no travel (travel <= 0) or an
    // empty range (max == min) every value sits at the start of the travel and every coordinate
    // maps to min.
    int32_t ValueToPixel(int32_t value) const;
    int32_t PixelToValue(int32_t pixel) const;

    // Top-left corner of the thumb image for the current value.
    int32_t ThumbLeft() const;
    int32_t ThumbTop() const;

    // Input. `axis` is the pointer coordinate along the slider's axis (x or y). Each returns
    // the notifications to post, in order.
    std::vector<SliderNotice> ButtonDown(int32_t axis);
    // `held`: the left button is still down for the slider. A move during a drag without it ends
    // the drag as CancelDrag does (the release went to another window): the value shown is
    // committed and the thumb stays.
    std::vector<SliderNotice> MouseMove(int32_t axis, bool held = true);
    std::vector<SliderNotice> ButtonUp();
    // The drag ends without a release (the mouse went to another window): the value stays and
    // is committed as a release commits it. Nothing when no drag was under way.
    std::vector<SliderNotice> CancelDrag();
    // Returns false for keys the slider does not handle (nothing changes then).
    bool KeyDown(unsigned virtualKey, std::vector<SliderNotice>& notices);

    bool Dragging() const { return dragging_; }
    int32_t DragOffset() const { return dragOffset_; }

  private:
    int32_t max_ = 100;
    int32_t min_ = 0;
    int32_t value_ = 0;
    int32_t pageStep_ = 20;
    int32_t trackWidth_ = 0;
    int32_t trackHeight_ = 0;
    int32_t thumbWidth_ = 0;
    int32_t thumbHeight_ = 0;
    int32_t insetLeft_ = 0;
    int32_t insetRight_ = 0;
    int32_t insetTop_ = 0;
    int32_t insetBottom_ = 0;
    int32_t dragOffset_ = 0;
    bool vertical_ = false;
    bool dragging_ = false;
};

}  // namespace quorelle::controls
