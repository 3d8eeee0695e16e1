#include <gtest/gtest.h>

#include "controls/slider.h"

using namespace quorelle::controls;

namespace {

// An equalizer band: vertical, -20 .. 20, track 16 x 97, thumb 16 x 17 (travel 80).
SliderModel EqualizerBand() {
    SliderModel m;
    m.SetVertical(true);
    m.SetTrackSize(16, 97);
    m.SetThumbSize(16, 17);
    m.SetLimits(-20, 20);
    m.SetValue(0);
    return m;
}

// The balance slider: horizontal, 0 .. 100, track 97 x 20, thumb 15 x 20 (travel 82).
SliderModel Balance() {
    SliderModel m;
    m.SetTrackSize(97, 20);
    m.SetThumbSize(15, 20);
    m.SetLimits(0, 100);
    m.SetValue(50);
    return m;
}

}  // namespace

TEST(SliderMapping, EqualizerBandPixelsAndSnapping) {
    SliderModel m = EqualizerBand();
    EXPECT_EQ(m.Travel(), 80);
    EXPECT_EQ(m.ValueToPixel(-20), 8);
    EXPECT_EQ(m.ValueToPixel(0), 48);
    EXPECT_EQ(m.ValueToPixel(20), 88);
    // Pixel 9 is 1/80 of the travel: -19.5 truncates toward zero to -19, drawn at 10.
    EXPECT_EQ(m.PixelToValue(9), -19);
    EXPECT_EQ(m.ValueToPixel(-19), 10);
    EXPECT_EQ(m.PixelToValue(47), 0);  // -0.5 truncates to 0
    EXPECT_EQ(m.PixelToValue(51), 1);  // 1.5 truncates to 1
    EXPECT_EQ(m.PixelToValue(88), 20);
    // Thumb image placed at the value's coordinate minus half the thumb.
    m.SetValue(-20);
    EXPECT_EQ(m.ThumbTop(), 0);
    EXPECT_EQ(m.ThumbLeft(), 0);
}

TEST(SliderMapping, InsetsShiftTheTravel) {
    SliderModel m = Balance();
    m.SetInsets(5, 0, 10, 0);
    EXPECT_EQ(m.Travel(), 97 - 10 - 15 - 5);
    EXPECT_EQ(m.ValueToPixel(0), 7 + 5);
    EXPECT_EQ(m.ValueToPixel(100), 7 + 5 + 67);
}

TEST(SliderMapping, DegenerateTravelOrRangeDoesNotDivideByZero) {
    SliderModel m = Balance();
    m.SetLimits(30, 30);
    m.SetValue(30);
    EXPECT_EQ(m.ValueToPixel(30), 7);  // the start of the travel
    EXPECT_EQ(m.PixelToValue(60), 30);

    SliderModel tight = Balance();
    tight.SetTrackSize(15, 20);  // thumb as long as the track: travel 0
    EXPECT_EQ(tight.Travel(), 0);
    EXPECT_EQ(tight.ValueToPixel(100), 7);
    EXPECT_EQ(tight.PixelToValue(14), 0);
    auto notices = tight.ButtonDown(3);
    notices = tight.MouseMove(200);
    EXPECT_EQ(tight.Value(), 0);

    SliderModel negative = Balance();
    negative.SetInsets(40, 0, 60, 0);  // travel -18
    EXPECT_LT(negative.Travel(), 0);
    EXPECT_EQ(negative.PixelToValue(50), 0);
    negative.ButtonDown(50);
    negative.MouseMove(90);
    EXPECT_EQ(negative.Value(), 0);
}

TEST(SliderValue, SetValueClampsMaxFirstThenMin) {
    SliderModel m = Balance();
    m.SetValue(150);
    EXPECT_EQ(m.Value(), 100);
    m.SetValue(-5);
    EXPECT_EQ(m.Value(), 0);
    m.SetLimits(60, 40);  // min above max: min wins
    m.SetValue(50);
    EXPECT_EQ(m.Value(), 60);
    // SetLimits alone does not re-clamp.
    m.SetLimits(0, 10);
    EXPECT_EQ(m.Value(), 60);
}

TEST(SliderMouse, PressInsideThumbKeepsItPressOutsideJumps) {
    SliderModel m = Balance();
    const int centre = m.ValueToPixel(50);  // 48
    ASSERT_EQ(centre, 48);
    // Inside (|e| <= 7): grip kept, thumb stays, nothing posted.
    auto notices = m.ButtonDown(centre + 7);
    EXPECT_TRUE(m.Dragging());
    EXPECT_EQ(m.DragOffset(), 7);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(m.Value(), 50);
    notices = m.ButtonUp();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], (SliderNotice{SLIDER_MSG_COMMIT, 50}));  // commit without a change

    // 20 px from the centre: the centre jumps onto the pointer.
    notices = m.ButtonDown(centre + 20);
    EXPECT_EQ(m.DragOffset(), 0);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].message, SLIDER_MSG_TRACK);
    EXPECT_EQ(m.Value(), m.PixelToValue(centre + 20));
    EXPECT_EQ(notices[0].value, m.Value());
    EXPECT_NEAR(m.ValueToPixel(m.Value()), centre + 20, 1);
}

TEST(SliderMouse, DragStopsAtBothEnds) {
    SliderModel m = EqualizerBand();
    m.ButtonDown(48);
    auto notices = m.MouseMove(-50);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(m.Value(), -20);
    EXPECT_EQ(m.ValueToPixel(m.Value()), 8);
    // The pointer target stops at start inset + thumb / 2 = 8, where -20 is drawn: no notice.
    EXPECT_TRUE(m.MouseMove(-80).empty());
    notices = m.MouseMove(500);
    EXPECT_EQ(m.Value(), 20);
    EXPECT_EQ(m.ValueToPixel(m.Value()), 88);
    // At the other end the target stops at length - end inset - thumb / 2 = 89, a pixel past
    // where 20 is drawn (odd thumb): the move still reports, with the unchanged maximum.
    notices = m.MouseMove(600);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], (SliderNotice{SLIDER_MSG_TRACK, 20}));

    SliderModel h = Balance();
    h.SetInsets(3, 0, 4, 0);
    h.ButtonDown(48);
    h.MouseMove(-100);
    EXPECT_EQ(h.Value(), 0);
    EXPECT_TRUE(h.MouseMove(-200).empty());  // stopped at 3 + 7 = 10, where 0 is drawn
    h.MouseMove(1000);
    EXPECT_EQ(h.Value(), 100);
}

TEST(SliderMouse, TrackPostedWhenCoordinateChangesEvenIfValueDoesNot) {
    SliderModel m = EqualizerBand();
    m.SetValue(-19);  // drawn at 10
    m.ButtonDown(10);
    // 9 maps back to -19 (-19.5 truncates toward zero) but differs from the drawn coordinate.
    auto notices = m.MouseMove(9);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], (SliderNotice{SLIDER_MSG_TRACK, -19}));
    // On the drawn coordinate itself: nothing.
    EXPECT_TRUE(m.MouseMove(10).empty());
    // Moves while not dragging do nothing.
    m.ButtonUp();
    EXPECT_TRUE(m.MouseMove(80).empty());
    EXPECT_EQ(m.Value(), -19);
}

TEST(SliderMouse, CancelledDragCommitsOnceAndStopsFollowing) {
    SliderModel m = EqualizerBand();
    EXPECT_TRUE(m.CancelDrag().empty());  // no drag: nothing to commit
    m.ButtonDown(48);
    m.MouseMove(8);
    EXPECT_EQ(m.CancelDrag(), (std::vector<SliderNotice>{{SLIDER_MSG_COMMIT, -20}}));
    EXPECT_FALSE(m.Dragging());
    EXPECT_TRUE(m.MouseMove(88).empty());
    EXPECT_TRUE(m.CancelDrag().empty());
    EXPECT_EQ(m.Value(), -20);
}

// A move during a drag without the button down (the release went to another window) ends the
// drag as a release would: the value shown is committed once and later moves leave it alone.
TEST(SliderMouse, AMoveWithoutTheButtonCommitsTheValueShown) {
    struct Step {
        enum { kPress, kHeldMove, kLooseMove } kind;
        int32_t axis;
    };
    struct Row {
        const char* what;
        std::vector<Step> steps;
        std::vector<SliderNotice> notices;
        int32_t end;
    };
    const std::vector<Row> rows = {
        {"dragged up, then the button is found up below",
         {{Step::kPress, 48}, {Step::kHeldMove, 28}, {Step::kLooseMove, 88}},
         {{SLIDER_MSG_TRACK, -10}, {SLIDER_MSG_COMMIT, -10}},
         -10},
        {"pressed on the thumb and found up at once",
         {{Step::kPress, 48}, {Step::kLooseMove, 8}},
         {{SLIDER_MSG_COMMIT, 0}},
         0},
        {"a press away from the thumb jumps, then the button is found up",
         {{Step::kPress, 88}, {Step::kLooseMove, 8}},
         {{SLIDER_MSG_TRACK, 20}, {SLIDER_MSG_COMMIT, 20}},
         20},
        {"no drag under way", {{Step::kLooseMove, 8}}, {}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SliderModel m = EqualizerBand();
        std::vector<SliderNotice> notices;
        for (const Step& step : row.steps) {
            const auto more = step.kind == Step::kPress
                                  ? m.ButtonDown(step.axis)
                                  : m.MouseMove(step.axis, step.kind == Step::kHeldMove);
            notices.insert(notices.end(), more.begin(), more.end());
        }
        EXPECT_EQ(notices, row.notices);
        EXPECT_FALSE(m.Dragging());
        // hovering across the band afterwards, with the button up or, wrongly reported, down
        for (int32_t axis : {-50, 8, 48, 88, 200}) {
            EXPECT_TRUE(m.MouseMove(axis, false).empty());
            EXPECT_TRUE(m.MouseMove(axis, true).empty());
        }
        EXPECT_EQ(m.Value(), row.end);
    }
}

TEST(SliderKeys, ResultsAndCommitAfterEveryHandledKey) {
    SliderModel m = Balance();
    std::vector<SliderNotice> notices;
    m.SetValue(0);
    ASSERT_TRUE(m.KeyDown(keys::kPageUp, notices));  // at min: stays, still commits
    EXPECT_EQ(m.Value(), 0);
    ASSERT_TRUE(m.KeyDown(keys::kEnd, notices));
    EXPECT_EQ(m.Value(), 100);
    ASSERT_TRUE(m.KeyDown(keys::kEnd, notices));  // no change, still commits
    ASSERT_TRUE(m.KeyDown(keys::kHome, notices));
    EXPECT_EQ(m.Value(), 0);
    ASSERT_TRUE(m.KeyDown(keys::kPageDown, notices));
    EXPECT_EQ(m.Value(), 20);
    ASSERT_TRUE(m.KeyDown(keys::kRight, notices));
    ASSERT_TRUE(m.KeyDown(keys::kDown, notices));
    EXPECT_EQ(m.Value(), 22);
    ASSERT_TRUE(m.KeyDown(keys::kLeft, notices));
    ASSERT_TRUE(m.KeyDown(keys::kUp, notices));
    EXPECT_EQ(m.Value(), 20);
    const std::vector<int> expected = {0, 100, 100, 0, 20, 21, 22, 21, 20};
    ASSERT_EQ(notices.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(notices[i], (SliderNotice{SLIDER_MSG_COMMIT, expected[i]})) << i;
    }
    EXPECT_FALSE(m.KeyDown(0x41, notices));  // 'A'
    EXPECT_EQ(notices.size(), expected.size());
}

TEST(SliderKeys, StepsNearTheInt32EndsDoNotOverflow) {
    SliderModel m;
    m.SetLimits(INT32_MIN, INT32_MAX);
    m.SetValue(INT32_MAX);
    std::vector<SliderNotice> notices;
    m.KeyDown(keys::kPageDown, notices);
    EXPECT_EQ(m.Value(), INT32_MAX);
    m.SetValue(INT32_MIN);
    m.KeyDown(keys::kLeft, notices);
    EXPECT_EQ(m.Value(), INT32_MIN);
}

TEST(SliderTiles, TrackImageRepeatsAlongLongerParts) {
    // Fits: one copy from the source offset.
    EXPECT_EQ(TileCopySegments(97, 40, 40, 97), (std::vector<TileSegment>{{40, 40, 57}}));
    // A 97-pixel image over 0 .. 250: pieces of 97, 97 and 56.
    EXPECT_EQ(TileCopySegments(97, 0, 0, 250),
              (std::vector<TileSegment>{{0, 0, 97}, {97, 0, 97}, {194, 0, 56}}));
    // Starting mid-image: the offset follows the destination coordinate.
    EXPECT_EQ(TileCopySegments(97, 150, 150, 200),
              (std::vector<TileSegment>{{150, 53, 44}, {194, 0, 6}}));
    EXPECT_TRUE(TileCopySegments(0, 0, 0, 50).empty());
    EXPECT_TRUE(TileCopySegments(97, 30, 30, 30).empty());
}
