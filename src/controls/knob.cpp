#include "controls/knob.h"

#include <algorithm>
#include <cmath>

#include "controls/slider.h"
#include "controls/truncate.h"

namespace quorelle::controls {

namespace {

constexpr double kPi = 3.141592653589793;

// Number of positions of the range; 0 or less for an empty or inverted range.
int64_t RangeCount(const TrackbarModel& m) {
    return int64_t(m.Max()) + 1 - int64_t(m.Min());
}

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

uint32_t RingBlend(double phi, uint32_t a, uint32_t b) {
    double t = -2.356 - phi;
    if (t < -3.1415) {
        t += 6.293;
    } else if (t > 3.1415) {
        t = 6.293 - t;
    }
    const double w = (std::cos(t) + 1.0) * 0.5;
    auto mix = [w](uint32_t ca, uint32_t cb) {
        return static_cast<uint32_t>(TruncToInt32(double(cb) * (1.0 - w) + double(ca) * w)) & 0xFF;
    };
    return MakeRgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

std::vector<RingPixel> ShadedRingPixels(Point c, int32_t r, uint32_t a, uint32_t b) {
    std::vector<RingPixel> pixels;
    double e = r;
    double g = 0;
    double f = -r;
    auto put = [&](double x, double y, double phi) {
        pixels.push_back({TruncToInt32(x), TruncToInt32(y), RingBlend(phi, a, b)});
    };
    do {
        const double h = std::atan2(g, e);
        put(c.x + e, c.y + g, h);
        put(c.x + g, c.y + e, 1.570796327 - h);
        put(c.x - g, c.y + e, h + 1.570796327);
        put(c.x - e, c.y + g, 3.141592654 - h);
        put(c.x - e, c.y - g, h - 3.141592654);
        put(c.x - g, c.y - e, -1.570796327 - h);
        put(c.x + g, c.y - e, h - 1.570796327);
        put(c.x + e, c.y - g, -h);
        f += 2 * g + 1;
        g += 1;
        if (f >= 0) {
            e -= 1;
            f -= 2 * e;
        }
    } while (e >= g);
    return pixels;
}

void TrackbarModel::SetMin(int32_t min) {
    min_ = min;
    if (position_ < min_) position_ = min_;
}

void TrackbarModel::SetMax(int32_t max) {
    max_ = max;
    if (position_ > max_) position_ = max_;
    if (position_ < min_) position_ = min_;
}

void TrackbarModel::SetPosition(int32_t position) {
    position_ = position;
    if (position_ > max_) position_ = max_;
    if (position_ < min_) position_ = min_;
}

KnobModel::KnobModel() {
    dragLimit_ = 359;
    SetRange(0, 466);
    SetLineSize(1);
    SetPageSize(10);
}

void KnobModel::RebuildGeometry(int32_t clientWidth, int32_t clientHeight) {
    side_ = std::max(0, std::min(clientWidth, clientHeight));
    centre_ = {side_ / 2, side_ / 2};
    radius_ = side_ / 2 - dotRadius_ - 1;
}

int32_t KnobModel::PositionAngle() const {
    const int64_t count = RangeCount(*this);
    // An empty range has a single position: it sits at the zero angle.
    const int64_t turned = count > 0 ? (int64_t(Position()) - Min()) * 360 / count : 0;
    int64_t angle = (turned + zeroAngle_ + 360) % 360;
    if (angle < 0) angle += 360;
    if (mirrored_) angle = 360 - angle;
    return static_cast<int32_t>(angle);
}

Point KnobModel::PlaceDot() {
    const double theta = PositionAngle() * kPi / 180.0;
    const double d = double(radius_) - double(dotRadius_);
    dotCentre_ = {TruncToInt32(std::sin(theta) * d + centre_.x),
                  TruncToInt32(centre_.y - std::cos(theta) * d)};
    return dotCentre_;
}

Box KnobModel::DotEllipse(Point dot) const {
    const int32_t b = DotRingInset();
    return {dot.x - b + 2, dot.y - b + 2, dot.x + b, dot.y + b};
}

int32_t KnobModel::TargetForPoint(Point p) const {
    double dx = double(p.x) - centre_.x;
    const double dy = double(p.y) - centre_.y;
    if (mirrored_) dx = -dx;
    double a;
    if (dx != 0) {
        a = 90.0 - std::atan(-(dy / dx)) * 180.0 / kPi;
        if (dx < 0) a += 180.0;
    } else {
        a = dy < 0 ? 0.0 : 180.0;
    }
    a -= zeroAngle_;
    a = std::fmod(a, 360.0);
    while (a < 0) a += 360.0;
    while (a >= 360.0) a -= 360.0;
    const int64_t count = std::max<int64_t>(RangeCount(*this), 0);
    return Saturate(int64_t(Min()) + TruncToInt32(double(count) * a / 360.0));
}

bool KnobModel::StepTowardPoint(Point p) {
    const int32_t target = TargetForPoint(p);
    const int32_t position = Position();
    if (target == position) return false;
    int64_t next;
    if (target <= dragLimit_) {
        next = target > position ? int64_t(position) + 1 : int64_t(position) - 1;
    } else {
        // Dead zone: its first half pulls the knob up to the drag limit, the second half down.
        const int32_t half = TruncToInt32(dragLimit_ * 0.3) / 2;
        next = int64_t(target) - dragLimit_ > half ? int64_t(position) - 1 : int64_t(position) + 1;
        next = std::min<int64_t>(next, dragLimit_);
    }
    SetPosition(Saturate(next));
    return true;
}

KnobInput KnobModel::ButtonDown(Point p, std::vector<KnobNotice>& notices) {
    if (grabDotOnly_) {
        const int64_t dx = int64_t(p.x) - dotCentre_.x;
        const int64_t dy = int64_t(p.y) - dotCentre_.y;
        if (dx * dx + dy * dy > int64_t(dotRadius_) * dotRadius_) return KnobInput::kSwallowed;
    }
    if (pressed_) return KnobInput::kDefault;
    pressed_ = true;
    moved_ = false;
    if (StepTowardPoint(p)) {
        moved_ = true;
        notices.push_back({scroll::kThumbTrack, Position()});
    }
    return KnobInput::kHandled;
}

KnobInput KnobModel::MouseMove(Point p, std::vector<KnobNotice>& notices, bool held) {
    if (!pressed_) return KnobInput::kDefault;
    if (!held) {
        CancelDrag(notices);
        return KnobInput::kHandled;
    }
    if (StepTowardPoint(p)) {
        moved_ = true;
        notices.push_back({scroll::kThumbTrack, Position()});
    }
    return KnobInput::kHandled;
}

KnobInput KnobModel::ButtonUp(Point p, std::vector<KnobNotice>& notices) {
    if (!pressed_) return KnobInput::kDefault;
    pressed_ = false;
    if (StepTowardPoint(p)) {
        notices.push_back({scroll::kThumbTrack, Position()});
        moved_ = true;
    }
    if (moved_) {
        notices.push_back({scroll::kThumbPosition, Position()});
        moved_ = false;
    }
    return KnobInput::kHandled;
}

bool KnobModel::CancelDrag(std::vector<KnobNotice>& notices) {
    if (!pressed_) return false;
    pressed_ = false;
    if (moved_) {
        notices.push_back({scroll::kThumbPosition, Position()});
        moved_ = false;
    }
    return true;
}

KnobInput KnobModel::KeyDown(unsigned virtualKey, std::vector<KnobNotice>& notices) {
    // A knob turns as the platform's volume controls do: Up, Page Up and Right turn it towards
    // more, Down, Page Down and Left towards less. The notice's code tells the listener which
    // way the position went, in the trackbar's words (a "down" code is a larger position).
    int64_t step;
    int code;
    switch (virtualKey) {
        case keys::kLeft:
        case keys::kDown:
            step = -int64_t(LineSize());
            code = scroll::kLineUp;
            break;
        case keys::kRight:
        case keys::kUp:
            step = LineSize();
            code = scroll::kLineDown;
            break;
        case keys::kPageDown:
            step = -int64_t(PageSize());
            code = scroll::kPageUp;
            break;
        case keys::kPageUp:
            step = PageSize();
            code = scroll::kPageDown;
            break;
        case keys::kHome:
        case keys::kEnd:
            return KnobInput::kSwallowed;
        default:
            return KnobInput::kDefault;
    }
    // The keys stop at the minimum and at the drag limit, as a drag does: a key never jumps the
    // knob round to its other end, and never into the dead zone whose positions mean nothing to
    // the listener. An upper end below the minimum leaves the minimum (SetPosition clamps into
    // the range).
    const int64_t upper = std::max<int64_t>(Min(), std::min(Max(), dragLimit_));
    const int64_t next = std::clamp<int64_t>(int64_t(Position()) + step, Min(), upper);
    SetPosition(Saturate(next));
    notices.push_back({code, Position()});
    return KnobInput::kHandled;
}

KnobInput KnobModel::KeyUp(unsigned virtualKey, std::vector<KnobNotice>& notices) {
    switch (virtualKey) {
        case keys::kPageUp:
        case keys::kPageDown:
        case keys::kLeft:
        case keys::kUp:
        case keys::kRight:
        case keys::kDown:
            notices.push_back({scroll::kEndTrack, Position()});
            return KnobInput::kHandled;
        case keys::kHome:
        case keys::kEnd:
            return KnobInput::kSwallowed;
        default:
            return KnobInput::kDefault;
    }
}

void KnobModel::Wheel(int delta, std::vector<KnobNotice>& notices) {
    const int notches = delta / 120;
    if (notches == 0) return;
    const int64_t upper = std::min<int64_t>(Max(), dragLimit_);
    int64_t next = int64_t(Position()) + int64_t(notches) * LineSize();
    if (notches > 0) {
        next = std::min(next, std::max<int64_t>(upper, Position()));
    } else {
        next = std::max<int64_t>(next, Min());
    }
    SetPosition(Saturate(next));
    notices.push_back({notches > 0 ? scroll::kLineDown : scroll::kLineUp, Position()});
    notices.push_back({scroll::kEndTrack, Position()});
}

}  // namespace quorelle::controls
