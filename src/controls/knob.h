// Value model, geometry and input state machine of the rotary knob. Portable: the Win32 class
// CRoundSliderCtrl answers the trackbar messages from this model and draws what it computes.
#pragma once

#include <cstdint>
#include <vector>

namespace quorelle::controls {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Box {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Box&) const = default;
};

// Colours are packed as the platform does: 0x00BBGGRR.
constexpr uint32_t MakeRgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr uint32_t RedOf(uint32_t c) {
    return c & 0xFF;
}
constexpr uint32_t GreenOf(uint32_t c) {
    return (c >> 8) & 0xFF;
}
constexpr uint32_t BlueOf(uint32_t c) {
    return (c >> 16) & 0xFF;
}

// Scroll codes the knob sends with its horizontal-scroll notification (the trackbar's values).
namespace scroll {
inline constexpr int kLineUp = 0;
inline constexpr int kLineDown = 1;
inline constexpr int kPageUp = 2;
inline constexpr int kPageDown = 3;
inline constexpr int kThumbPosition = 4;
inline constexpr int kThumbTrack = 5;
inline constexpr int kEndTrack = 8;
}  // namespace scroll

struct KnobNotice {
    int code;
    int32_t position;  // the position when the notice was raised
    bool operator==(const KnobNotice&) const = default;
};

// Colour of a ring pixel at angle phi (radians, y growing downward): colour a toward the upper
// left (phi = -2.356), colour b on the opposite side.
uint32_t RingBlend(double phi, uint32_t a, uint32_t b);

struct RingPixel {
    int32_t x;
    int32_t y;
    uint32_t colour;
};
// The one-pixel shaded circle of radius r around c, by the midpoint method.
std::vector<RingPixel> ShadedRingPixels(Point c, int32_t r, uint32_t a, uint32_t b);

// The platform trackbar's value model: the position is kept inside [min, max] on every change.
class TrackbarModel {
  public:
    int32_t Min() const { return min_; }
    int32_t Max() const { return max_; }
    int32_t Position() const { return position_; }
    int32_t LineSize() const { return lineSize_; }
    int32_t PageSize() const { return pageSize_; }
    void SetMin(int32_t min);
    void SetMax(int32_t max);
    void SetRange(int32_t min, int32_t max) {
        SetMin(min);
        SetMax(max);
    }
    // Clamps to max first and then to min (min wins when min > max).
    void SetPosition(int32_t position);
    void SetLineSize(int32_t size) { lineSize_ = size; }
    void SetPageSize(int32_t size) { pageSize_ = size; }

  private:
    int32_t min_ = 0;
    int32_t max_ = 100;
    int32_t position_ = 0;
    int32_t lineSize_ = 1;
    int32_t pageSize_ = 20;
};

enum class KnobInput {
    kHandled,    // the knob acted (the notices say what to post)
    kSwallowed,  // nothing happens, not even default processing
    kDefault,    // the platform trackbar's default processing runs
};

class KnobModel : public TrackbarModel {
  public:
    // State the knob takes when it is attached to its window: drag limit 359, range 0 .. 466,
    // line size 1, page size 10.
    KnobModel();

    void SetDragLimit(int32_t limit) { dragLimit_ = limit; }
    int32_t DragLimit() const { return dragLimit_; }
    void SetZeroAngle(int32_t degrees) { zeroAngle_ = degrees; }
    int32_t ZeroAngle() const { return zeroAngle_; }
    void SetMirrored(bool mirrored) { mirrored_ = mirrored; }
    bool Mirrored() const { return mirrored_; }
    void SetDotRadius(int32_t r) { dotRadius_ = r; }
    int32_t DotRadius() const { return dotRadius_; }
    void SetGrabDotOnly(bool on) { grabDotOnly_ = on; }
    bool GrabDotOnly() const { return grabDotOnly_; }

    // Square of the knob, its centre and the radius of the dot's circle, from the client size.
    void RebuildGeometry(int32_t clientWidth, int32_t clientHeight);
    int32_t Side() const { return side_; }
    Point Centre() const { return centre_; }
    int32_t Radius() const { return radius_; }
    // The dot radius the circle the dot runs on was measured with (RebuildGeometry).
    int32_t MeasuredDotRadius() const { return side_ / 2 - radius_ - 1; }

    // Angle of the current position, degrees clockwise from straight up, in [0, 360]
    // (360 only when mirrored at angle 0).
    int32_t PositionAngle() const;
    // Where the dot of the current position goes; remembered as the dot centre.
    Point PlaceDot();
    Point DotCentre() const { return dotCentre_; }
    // The dot's ellipse around a dot centre.
    Box DotEllipse(Point dot) const;
    int32_t DotRingInset() const { return (4 * dotRadius_) / 5; }

    // The position the pointer at p points at (may lie in the dead zone above the drag limit).
    int32_t TargetForPoint(Point p) const;
    // Moves the position one step toward the pointer; false when the pointer points at the
    // current position.
    bool StepTowardPoint(Point p);

    KnobInput ButtonDown(Point p, std::vector<KnobNotice>& notices);
    // A move of the pointer. `held`: the left button is still down for the knob. A move during a
    // drag without it ends the drag as CancelDrag does: the release went to another window
    // (another program took the mouse), so the knob stays where the drag left it.
    KnobInput MouseMove(Point p, std::vector<KnobNotice>& notices, bool held = true);
    KnobInput ButtonUp(Point p, std::vector<KnobNotice>& notices);
    // The drag ends without a release at a point (the mouse went to another window): the knob
    // stays where it is and, when the drag moved it, reports that as its final position, as a
    // release does. False when no drag was under way.
    bool CancelDrag(std::vector<KnobNotice>& notices);
    KnobInput KeyDown(unsigned virtualKey, std::vector<KnobNotice>& notices);
    KnobInput KeyUp(unsigned virtualKey, std::vector<KnobNotice>& notices);
    // One wheel message: each full notch of 120 steps one line, forward toward the drag limit,
    // backward toward the minimum; the position never enters the dead zone by the wheel.
    void Wheel(int delta, std::vector<KnobNotice>& notices);

    bool Pressed() const { return pressed_; }
    bool Moved() const { return moved_; }

  private:
    Point centre_;
    Point dotCentre_;
    int32_t side_ = 0;
    int32_t radius_ = 0;
    int32_t zeroAngle_ = 220;
    bool mirrored_ = false;
    int32_t dotRadius_ = -2;
    bool pressed_ = false;
    bool grabDotOnly_ = false;
    bool moved_ = false;
    int32_t dragLimit_ = 359;
};

}  // namespace quorelle::controls
