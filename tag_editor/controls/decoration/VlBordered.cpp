#include "tag_editor/controls/decoration/VlBordered.h"

namespace velmora {

Rect ShrinkForBorder(Rect r, TFrameStyle style, TSides sides, int bevelWidth) {
    if (style == fsNone) return r;
    const int d = style == fsFlat ? 1 : (style == fsStatus || style == fsPopup) ? bevelWidth : 2;
    if (sides.Has(sdLeft)) r.left += d;
    if (sides.Has(sdTop)) r.top += d;
    if (sides.Has(sdRight)) r.right -= d;
    if (sides.Has(sdBottom)) r.bottom -= d;
    return r;
}

Rect TVlBorderProps::Inside(Rect r) const {
    r = {r.left + BorderWidth, r.top + BorderWidth, r.right - BorderWidth, r.bottom - BorderWidth};
    r = ShrinkForBorder(r, BorderOuter, BorderSides, BevelWidth);
    return ShrinkForBorder(r, BorderInner, BorderSides, BevelWidth);
}

} // namespace velmora
