// Points and control rectangles in a page's client coordinates, for the pages' own hit tests
// of the lamps and pictures they draw (the lamps take no clicks themselves).
#pragma once

#include <cstdint>

namespace quorelle::pages {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// A control's window rectangle in the page's client coordinates; right and bottom lie outside.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool operator==(const Rect&) const = default;
};

}  // namespace quorelle::pages
