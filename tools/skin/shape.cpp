#include "shape.h"

#include <algorithm>

namespace skin {

namespace {
constexpr int kCorner = 5;
constexpr int kFootRows = 10;
// The left foot runs from columns 58..134 in its top row to 93..100 in its bottom row; the
// right foot is the same shape 606 columns further right.
constexpr int kFootTopLeft = 58, kFootTopRight = 134;
constexpr int kFootBottomLeft = 93, kFootBottomRight = 100;
constexpr int kFootDistance = 606;

int RoundDiv(int a, int b) {
    return (2 * a + b) / (2 * b);
}
}  // namespace

PageShape PageShape::For(int width, int height) {
    // Tall pages keep the feet without their first row.
    if (height > 400) return {width, height, height - kFootRows + 1 - 1, 1};
    return {width, height, height - kFootRows - 1, 0};
}

bool PageShape::InPanel(int x, int y) const {
    if (y < 0 || y > panelBottom || x < 0 || x >= width) return false;
    int cut = std::max({0, kCorner - y, kCorner - (panelBottom - y)});
    return x >= cut && x <= width - 1 - cut;
}

void PageShape::FootSpan(int foot, int y, int& left, int& right) const {
    int k = y - panelBottom - 1 + firstFootRow;  // 0 .. 9 down the taper
    int steps = kFootRows - 1;
    left = kFootTopLeft + RoundDiv((kFootBottomLeft - kFootTopLeft) * k, steps);
    right = kFootTopRight - RoundDiv((kFootTopRight - kFootBottomRight) * k, steps);
    left += foot * kFootDistance;
    right += foot * kFootDistance;
}

bool PageShape::InFoot(int x, int y) const {
    if (y <= panelBottom || y >= height) return false;
    for (int foot = 0; foot < 2; ++foot) {
        int l, r;
        FootSpan(foot, y, l, r);
        if (x >= l && x <= r) return true;
    }
    return false;
}

}  // namespace skin
