#pragma once

#include <vector>

namespace ambrevo::ui {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// A position in a control's or a form's own coordinates.
struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;

    // True for points inside; the right and bottom edges are outside.
    bool Contains(int x, int y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
};

// A window outline: the rectangle bounds with the cut-out rectangles removed.
struct Region {
    Rect bounds;
    std::vector<Rect> cutouts;
    bool operator==(const Region&) const = default;
};

}  // namespace ambrevo::ui
