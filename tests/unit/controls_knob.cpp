#include <gtest/gtest.h>

#include <cmath>

#include "controls/knob.h"
#include "controls/slider.h"

using namespace quorelle::controls;

namespace {

// Main console volume knob: 0 .. 65, drag limit 50, dot radius 10, 50 x 50 window.
KnobModel MainKnob(int position = 20) {
    KnobModel k;
    k.SetDragLimit(50);
    k.SetRange(0, 65);
    k.SetPosition(position);
    k.SetZeroAngle(220);
    k.SetDotRadius(10);
    k.RebuildGeometry(50, 50);
    return k;
}

// HIFI tone knob: 0 .. 52, drag limit 40, dot radius 8.
KnobModel HifiKnob(int position = 20) {
    KnobModel k;
    k.SetDragLimit(40);
    k.SetRange(0, 52);
    k.SetPosition(position);
    k.SetZeroAngle(220);
    k.SetDotRadius(8);
    k.RebuildGeometry(50, 50);
    return k;
}

// A point at `degrees` clockwise from straight up, far from the centre.
Point At(const KnobModel& k, double degrees) {
    const double r = degrees * 3.141592653589793 / 180.0;
    return {k.Centre().x + int(std::lround(std::sin(r) * 20)),
            k.Centre().y - int(std::lround(std::cos(r) * 20))};
}

}  // namespace

TEST(KnobModel, AttachDefaults) {
    KnobModel k;
    EXPECT_EQ(k.DragLimit(), 359);
    EXPECT_EQ(k.Min(), 0);
    EXPECT_EQ(k.Max(), 466);
    EXPECT_EQ(k.LineSize(), 1);
    EXPECT_EQ(k.PageSize(), 10);
}

TEST(KnobGeometry, AnglesOfPositions) {
    KnobModel main = MainKnob();
    const std::pair<int, int> mainCases[] = {{0, 220}, {20, 329}, {50, 132}, {65, 214}};
    for (auto [position, angle] : mainCases) {
        main.SetPosition(position);
        EXPECT_EQ(main.PositionAngle(), angle) << "main " << position;
    }
    KnobModel hifi = HifiKnob();
    const std::pair<int, int> hifiCases[] = {{0, 220}, {20, 355}, {40, 131}};
    for (auto [position, angle] : hifiCases) {
        hifi.SetPosition(position);
        EXPECT_EQ(hifi.PositionAngle(), angle) << "hifi " << position;
    }
    hifi.SetMirrored(true);
    hifi.SetPosition(0);
    EXPECT_EQ(hifi.PositionAngle(), 140);
}

TEST(KnobGeometry, CentreRadiusDotAndEllipse) {
    KnobModel k = MainKnob(0);
    EXPECT_EQ(k.Side(), 50);
    EXPECT_EQ(k.Centre(), (Point{25, 25}));
    EXPECT_EQ(k.Radius(), 14);  // 25 - 10 - 1
    // Side from the shorter edge.
    KnobModel wide = MainKnob(0);
    wide.RebuildGeometry(80, 40);
    EXPECT_EQ(wide.Side(), 40);
    EXPECT_EQ(wide.Centre(), (Point{20, 20}));

    // Position 0 at 220 degrees, d = 14 - 10 = 4: x = trunc(25 + 4 sin 220) = 22,
    // y = trunc(25 - 4 cos 220) = 28.
    EXPECT_EQ(k.PlaceDot(), (Point{22, 28}));
    EXPECT_EQ(k.DotCentre(), (Point{22, 28}));
    EXPECT_EQ(k.DotRingInset(), 8);
    EXPECT_EQ(k.DotEllipse({22, 28}), (Box{16, 22, 30, 36}));
    k.SetPosition(50);  // 132 degrees: x = trunc(25 + 2.97) = 27, y = trunc(25 + 2.67) = 27
    EXPECT_EQ(k.PlaceDot(), (Point{27, 27}));
}

TEST(KnobPointer, TargetsAroundTheMainKnob) {
    KnobModel k = MainKnob();
    const Point c = k.Centre();
    EXPECT_EQ(k.TargetForPoint({c.x, c.y - 20}), 25);       // straight above
    EXPECT_EQ(k.TargetForPoint({c.x + 20, c.y}), 42);       // straight right
    EXPECT_EQ(k.TargetForPoint({c.x + 15, c.y + 15}), 50);  // lower right
    EXPECT_EQ(k.TargetForPoint({c.x, c.y + 20}), 58);       // straight below
    EXPECT_EQ(k.TargetForPoint({c.x - 15, c.y + 15}), 0);   // lower left

    KnobModel h = HifiKnob();
    EXPECT_EQ(h.TargetForPoint({c.x, c.y - 20}), 20);
    EXPECT_EQ(h.TargetForPoint({c.x, c.y + 20}), 47);
}

TEST(KnobPointer, DeadZoneHalves) {
    // Main: half = trunc(50 * 0.3) / 2 = 7. Below (58): 58 - 50 = 8 > 7, steps down.
    KnobModel k = MainKnob(50);
    const Point c = k.Centre();
    ASSERT_TRUE(k.StepTowardPoint({c.x, c.y + 20}));
    EXPECT_EQ(k.Position(), 49);
    // A target 55 (first half of the dead zone) runs up, but never past the drag limit.
    KnobModel up = MainKnob(48);
    const Point p55 = At(up, 220 + 55 * 360.0 / 66 + 2);
    ASSERT_EQ(up.TargetForPoint(p55), 55);
    ASSERT_TRUE(up.StepTowardPoint(p55));
    EXPECT_EQ(up.Position(), 49);
    ASSERT_TRUE(up.StepTowardPoint(p55));
    EXPECT_EQ(up.Position(), 50);
    ASSERT_TRUE(up.StepTowardPoint(p55));  // still a step, held at the limit
    EXPECT_EQ(up.Position(), 50);

    // HIFI: half = trunc(40 * 0.3) / 2 = 6; below is 47, 47 - 40 = 7 > 6: steps down.
    KnobModel h = HifiKnob(40);
    ASSERT_TRUE(h.StepTowardPoint({c.x, c.y + 20}));
    EXPECT_EQ(h.Position(), 39);
}

TEST(KnobPointer, StepsOnePositionPerMouseMessage) {
    KnobModel k = MainKnob(20);
    const Point p25 = k.TargetForPoint({25, 5}) == 25 ? Point{25, 5} : Point{};
    ASSERT_EQ(k.TargetForPoint(p25), 25);
    std::vector<KnobNotice> n;
    ASSERT_EQ(k.ButtonDown(p25, n), KnobInput::kHandled);
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0], (KnobNotice{scroll::kThumbTrack, 21}));
    for (int expected = 22; expected <= 25; ++expected) {
        n.clear();
        ASSERT_EQ(k.MouseMove(p25, n), KnobInput::kHandled);
        ASSERT_EQ(n.size(), 1u);
        EXPECT_EQ(n[0], (KnobNotice{scroll::kThumbTrack, expected}));
    }
    n.clear();
    k.MouseMove(p25, n);  // already there: no step, nothing posted
    EXPECT_TRUE(n.empty());
    ASSERT_EQ(k.ButtonUp(p25, n), KnobInput::kHandled);
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0], (KnobNotice{scroll::kThumbPosition, 25}));
    EXPECT_FALSE(k.Pressed());
    // Moves and releases without a press get default processing.
    EXPECT_EQ(k.MouseMove(p25, n), KnobInput::kDefault);
    EXPECT_EQ(k.ButtonUp(p25, n), KnobInput::kDefault);
}

TEST(KnobPointer, PressAndReleaseWithoutStepPostsNothing) {
    KnobModel k = MainKnob(25);
    std::vector<KnobNotice> n;
    EXPECT_EQ(k.ButtonDown({25, 5}, n), KnobInput::kHandled);
    EXPECT_EQ(k.ButtonDown({25, 5}, n), KnobInput::kDefault);  // already pressed
    EXPECT_EQ(k.ButtonUp({25, 5}, n), KnobInput::kHandled);
    EXPECT_TRUE(n.empty());
}

TEST(KnobPointer, CancelledDragReportsWhereItStoppedOnlyIfItMoved) {
    KnobModel k = MainKnob(20);
    std::vector<KnobNotice> n;
    EXPECT_FALSE(k.CancelDrag(n));  // no drag
    k.ButtonDown({25, 5}, n);
    k.MouseMove({25, 5}, n);
    n.clear();
    EXPECT_TRUE(k.CancelDrag(n));
    EXPECT_EQ(n, (std::vector<KnobNotice>{{scroll::kThumbPosition, 22}}));
    EXPECT_FALSE(k.Pressed());
    EXPECT_EQ(k.MouseMove({25, 5}, n), KnobInput::kDefault);
    EXPECT_EQ(k.Position(), 22);
    // A drag that never stepped ends silently.
    KnobModel still = MainKnob(25);
    n.clear();
    still.ButtonDown({25, 5}, n);
    EXPECT_TRUE(still.CancelDrag(n));
    EXPECT_TRUE(n.empty());
}

// A move during a drag without the button down (the release went to another window) ends the
// drag as a release would: the knob stays where the drag left it, reports that position when the
// drag moved it, and later moves, with or without the button, leave it alone.
TEST(KnobPointer, AMoveWithoutTheButtonEndsTheDragAsAReleaseWould) {
    enum Step { kPress, kHeldMove, kLooseMove };
    struct Row {
        const char* what;
        int start;
        std::vector<Step> steps;
        std::vector<KnobNotice> notices;
        int end;
    };
    const std::vector<Row> rows = {
        {"dragged, then the button is found up",
         20,
         {kPress, kHeldMove, kHeldMove, kLooseMove},
         {{scroll::kThumbTrack, 21},
          {scroll::kThumbTrack, 22},
          {scroll::kThumbTrack, 23},
          {scroll::kThumbPosition, 23}},
         23},
        {"stepped by the press alone",
         20,
         {kPress, kLooseMove},
         {{scroll::kThumbTrack, 21}, {scroll::kThumbPosition, 21}},
         21},
        {"pressed where it points, never moved", 25, {kPress, kLooseMove}, {}, 25},
        {"no drag under way", 20, {kLooseMove}, {}, 20},
    };
    const Point p25{25, 5};  // points at 25
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        KnobModel k = MainKnob(row.start);
        ASSERT_EQ(k.TargetForPoint(p25), 25);
        std::vector<KnobNotice> n;
        for (Step step : row.steps) {
            if (step == kPress) {
                EXPECT_EQ(k.ButtonDown(p25, n), KnobInput::kHandled);
            } else {
                const KnobInput expected = k.Pressed() ? KnobInput::kHandled : KnobInput::kDefault;
                EXPECT_EQ(k.MouseMove(p25, n, step == kHeldMove), expected);
            }
        }
        EXPECT_EQ(n, row.notices);
        EXPECT_FALSE(k.Pressed());
        EXPECT_FALSE(k.Moved());
        // hovering across the knob afterwards, with the button up or, wrongly reported, down
        n.clear();
        for (const Point p : {Point{45, 25}, Point{5, 25}, p25}) {
            EXPECT_EQ(k.MouseMove(p, n, false), KnobInput::kDefault);
            EXPECT_EQ(k.MouseMove(p, n, true), KnobInput::kDefault);
        }
        EXPECT_TRUE(n.empty());
        EXPECT_EQ(k.Position(), row.end);
    }
}

TEST(KnobPointer, GrabDotOnlyIgnoresPressesAwayFromTheDot) {
    KnobModel k = MainKnob(0);
    k.SetGrabDotOnly(true);
    const Point dot = k.PlaceDot();
    std::vector<KnobNotice> n;
    EXPECT_EQ(k.ButtonDown({dot.x + 11, dot.y}, n), KnobInput::kSwallowed);
    EXPECT_FALSE(k.Pressed());
    EXPECT_EQ(k.ButtonDown({dot.x + 6, dot.y + 8}, n), KnobInput::kHandled);  // 10 away: on it
    EXPECT_TRUE(k.Pressed());
}

// Every knob's keys turn it as a knob turns (Up, Page Up and Right towards more) and stop at the
// minimum and at the drag limit, never going round to the other end (the tone knobs once jumped
// from 0 to 52, a full boost); each key is still reported, with the code of the way it went.
TEST(KnobKeys, TurnLikeAKnobAndStopAtTheEnds) {
    struct Case {
        int from;
        unsigned key;
        int to;
        int code;
    } cases[] = {
        {49, keys::kRight, 50, scroll::kLineDown},
        {50, keys::kRight, 50, scroll::kLineDown},
        {49, keys::kUp, 50, scroll::kLineDown},
        {50, keys::kUp, 50, scroll::kLineDown},
        {45, keys::kPageUp, 50, scroll::kPageDown},
        {30, keys::kPageUp, 40, scroll::kPageDown},
        {0, keys::kLeft, 0, scroll::kLineUp},
        {0, keys::kDown, 0, scroll::kLineUp},
        {7, keys::kDown, 6, scroll::kLineUp},
        {5, keys::kPageDown, 0, scroll::kPageUp},
        {30, keys::kPageDown, 20, scroll::kPageUp},
        {60, keys::kRight, 50, scroll::kLineDown},  // above the limit (set from outside): back to
                                                    // it
    };
    for (const Case& c : cases) {
        KnobModel k = MainKnob(c.from);
        std::vector<KnobNotice> n;
        ASSERT_EQ(k.KeyDown(c.key, n), KnobInput::kHandled) << c.from << " key " << c.key;
        EXPECT_EQ(k.Position(), c.to) << c.from << " key " << c.key;
        EXPECT_EQ(n, (std::vector<KnobNotice>{{c.code, c.to}})) << c.from << " key " << c.key;
    }
    KnobModel k = MainKnob(20);
    std::vector<KnobNotice> n;
    for (int i = 0; i < 60; ++i) k.KeyDown(keys::kRight, n);
    EXPECT_EQ(k.Position(), 50) << "sixty steps up end at full level";
    n.clear();
    EXPECT_EQ(k.KeyDown(keys::kHome, n), KnobInput::kSwallowed);
    EXPECT_EQ(k.KeyDown(keys::kEnd, n), KnobInput::kSwallowed);
    EXPECT_EQ(k.KeyDown(0x41, n), KnobInput::kDefault);
    EXPECT_TRUE(n.empty());
    k.SetRange(10, 9);  // an inverted range: the minimum wins, as SetPosition does
    k.KeyDown(keys::kLeft, n);
    EXPECT_EQ(k.Position(), 10);
}

TEST(KnobKeys, KeyUpEndsTrack) {
    KnobModel k = MainKnob(33);
    for (unsigned key :
         {keys::kPageUp, keys::kPageDown, keys::kLeft, keys::kUp, keys::kRight, keys::kDown}) {
        std::vector<KnobNotice> n;
        ASSERT_EQ(k.KeyUp(key, n), KnobInput::kHandled);
        ASSERT_EQ(n.size(), 1u);
        EXPECT_EQ(n[0], (KnobNotice{scroll::kEndTrack, 33}));
    }
    std::vector<KnobNotice> n;
    EXPECT_EQ(k.KeyUp(keys::kHome, n), KnobInput::kSwallowed);
    EXPECT_EQ(k.KeyUp(0x20, n), KnobInput::kDefault);
    EXPECT_TRUE(n.empty());
}

TEST(KnobDegenerate, EmptyOrInvertedRangeNeitherDividesNorLoops) {
    KnobModel k = MainKnob(0);
    k.SetRange(10, 9);  // max + 1 - min = 0
    std::vector<KnobNotice> n;
    EXPECT_EQ(k.PositionAngle(), 220);
    ASSERT_EQ(k.KeyDown(keys::kLeft, n), KnobInput::kHandled);
    EXPECT_EQ(k.Position(), 10);
    k.KeyDown(keys::kPageDown, n);
    EXPECT_EQ(k.Position(), 10);
    k.StepTowardPoint({25, 5});
    EXPECT_EQ(k.Position(), 10);
    k.PlaceDot();

    KnobModel huge = MainKnob(0);
    huge.SetLineSize(1000000000);
    huge.KeyDown(keys::kRight, n);  // one step past the limit stops at it
    EXPECT_EQ(huge.Position(), 50);
}

TEST(KnobWheel, StepsWithinMinAndDragLimit) {
    KnobModel k = MainKnob(49);
    std::vector<KnobNotice> n;
    k.Wheel(3 * 120, n);
    EXPECT_EQ(k.Position(), 50);
    ASSERT_EQ(n.size(), 2u);
    EXPECT_EQ(n[0], (KnobNotice{scroll::kLineDown, 50}));
    EXPECT_EQ(n[1], (KnobNotice{scroll::kEndTrack, 50}));
    k.SetPosition(1);
    k.Wheel(-240, n);
    EXPECT_EQ(k.Position(), 0);
    n.clear();
    k.Wheel(60, n);  // less than a notch
    EXPECT_TRUE(n.empty());
}

TEST(RingBlend, ReachesItsTwoColoursAtOppositeSides) {
    const uint32_t a = MakeRgb(10, 20, 30);
    const uint32_t b = MakeRgb(250, 200, 150);
    EXPECT_EQ(RingBlend(-2.356, a, b), a);  // upper left
    // Opposite side (phi = 0.785): w is about 2e-7, so each channel is B truncated, B or B - 1.
    const uint32_t far = RingBlend(0.785, a, b);
    EXPECT_GE(RedOf(far), 249u);
    EXPECT_GE(GreenOf(far), 199u);
    EXPECT_GE(BlueOf(far), 149u);
    EXPECT_LE(RedOf(far), 250u);
    // A quarter turn away from A: half of each.
    // (halves of odd sums, so that truncation is not decided by the last bit of w)
    const uint32_t mid = RingBlend(-2.356 + 1.5707963267948966, a, MakeRgb(251, 201, 151));
    EXPECT_EQ(RedOf(mid), 130u);
    EXPECT_EQ(GreenOf(mid), 110u);
    EXPECT_EQ(BlueOf(mid), 90u);
    // The wrap uses 6.293: phi = 1.0 gives t = -3.356 + 6.293.
    const double w = (std::cos(-3.356 + 6.293) + 1) * 0.5;
    EXPECT_EQ(RedOf(RingBlend(1.0, a, b)), uint32_t(250 * (1 - w) + 10 * w));
}

TEST(RingBlend, ShadedRingIsAClosedCircle) {
    const auto pixels = ShadedRingPixels({20, 20}, 7, MakeRgb(0, 0, 0), MakeRgb(255, 255, 255));
    ASSERT_FALSE(pixels.empty());
    for (const RingPixel& p : pixels) {
        const double d = std::hypot(p.x - 20, p.y - 20);
        EXPECT_NEAR(d, 7, 1.0) << p.x << "," << p.y;
    }
    // The four axis points are all there, dark toward the upper left.
    auto colourAt = [&](int x, int y) -> int64_t {
        for (const RingPixel& p : pixels)
            if (p.x == x && p.y == y) return p.colour;
        return -1;
    };
    ASSERT_NE(colourAt(27, 20), -1);
    ASSERT_NE(colourAt(13, 20), -1);
    ASSERT_NE(colourAt(20, 13), -1);
    ASSERT_NE(colourAt(20, 27), -1);
    EXPECT_LT(RedOf(uint32_t(colourAt(13, 20))), RedOf(uint32_t(colourAt(27, 20))));
    EXPECT_LT(RedOf(uint32_t(colourAt(20, 13))), RedOf(uint32_t(colourAt(20, 27))));
}
