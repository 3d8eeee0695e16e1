// The outline of every page: a panel whose four corners are cut diagonally by five pixels,
// standing on two tapering feet. Everything outside is the colour key.
#pragma once

namespace skin {

struct PageShape {
    int width, height;
    int panelBottom;   // last row of the panel; the feet hang below it
    int firstFootRow;  // step of the foot taper drawn in the first row below the panel

    static PageShape For(int width, int height);
    bool InPanel(int x, int y) const;
    bool InFoot(int x, int y) const;
    bool IsKey(int x, int y) const { return !InPanel(x, y) && !InFoot(x, y); }
    // Columns [left, right] of a foot in the given row below the panel (foot 0 left, 1 right).
    void FootSpan(int foot, int y, int& left, int& right) const;
};

}  // namespace skin
