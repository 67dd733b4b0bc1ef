#include "tag_editor/controls/VlBorder.h"

#include "tag_editor/controls/VlLabel.h"

namespace velmora {

TVlBorder::TVlBorder(wb::Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 50, 50); }

TVlBorder::TVlBorder(wb::gui::WinControl& parent, const std::string& name) : TVlBorder(&parent) {
    Place(parent, name);
}

#define VL_SETTER(Name, field, Type)     \
    void TVlBorder::Set##Name(Type v) {  \
        if (v == field) return;          \
        field = v;                       \
        Invalidate();                    \
    }
VL_SETTER(BevelWidth, bevelWidth_, int)
VL_SETTER(BorderWidth, borderWidth_, int)
VL_SETTER(BorderColor, borderColor_, TColor)
VL_SETTER(BorderInner, borderInner_, TFrameStyle)
VL_SETTER(BorderOuter, borderOuter_, TFrameStyle)
VL_SETTER(BorderSides, borderSides_, TSides)
VL_SETTER(FlatColor, flatColor_, TColor)
#undef VL_SETTER

Rect TVlBorder::ClientRect() const {
    Rect r{borderWidth_, borderWidth_, Width() - borderWidth_, Height() - borderWidth_};
    r = ShrinkForBorder(r, borderOuter_, borderSides_, bevelWidth_);
    return ShrinkForBorder(r, borderInner_, borderSides_, bevelWidth_);
}

void TVlBorder::Paint(Canvas& c) {
    Rect r{0, 0, Width(), Height()};
    auto border = [&](TFrameStyle style) {
        if (style == fsNone) return;
        // A flat border is one ring on all four sides, whatever the sides say.
        if (style == fsFlat) r = DrawChosenSides(c, r, flatColor_, TSides::All(), 1, flatColor_);
        else r = DrawFrameStyle(c, r, style, borderSides_);
    };
    border(borderOuter_);
    if (borderWidth_ > 0) r = DrawChosenSides(c, r, borderColor_, borderSides_, borderWidth_, borderColor_);
    border(borderInner_);
}

void TVlBorder::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}
void TVlBorder::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

} // namespace velmora
