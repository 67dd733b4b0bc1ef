#pragma once
// An area of a window as a set of rectangles that do not overlap: what a
// non-client paint (WM_NCPAINT, its WParam points at one) asks to be painted.
#include <algorithm>
#include <vector>

#include "platform/gui/Geometry.h"

namespace wb::gui {

class Region {
public:
    Region() = default;
    explicit Region(const Rect& r) {
        if (!r.IsEmpty()) rects_.push_back(r);
    }
    const std::vector<Rect>& Rects() const { return rects_; }
    bool IsEmpty() const { return rects_.empty(); }
    bool Intersects(const Rect& r) const {
        for (const Rect& a : rects_)
            if (Overlap(a, r)) return true;
        return false;
    }
    // What is left of the area once r is taken out.
    Region Subtract(const Rect& r) const {
        Region out;
        for (const Rect& a : rects_) {
            if (!Overlap(a, r)) {
                out.rects_.push_back(a);
                continue;
            }
            const int top = std::max(a.top, r.top), bottom = std::min(a.bottom, r.bottom);
            out.Add({a.left, a.top, a.right, top});
            out.Add({a.left, bottom, a.right, a.bottom});
            out.Add({a.left, top, std::max(a.left, r.left), bottom});
            out.Add({std::min(a.right, r.right), top, a.right, bottom});
        }
        return out;
    }

private:
    static bool Overlap(const Rect& a, const Rect& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }
    void Add(const Rect& r) {
        if (!r.IsEmpty()) rects_.push_back(r);
    }
    std::vector<Rect> rects_;
};

} // namespace wb::gui
