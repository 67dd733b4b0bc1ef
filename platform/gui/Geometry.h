#pragma once
// Points and rectangles of the window layer, in pixels.

namespace wb::gui {

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// Right and bottom are outside the rectangle.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect&) const = default;
};

} // namespace wb::gui
