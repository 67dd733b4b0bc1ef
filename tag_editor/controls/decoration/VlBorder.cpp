#include "tag_editor/controls/decoration/VlBorder.h"

namespace velmora {

TVlBorder::TVlBorder(wb::Component* owner) : TVlBorderedControl(owner, fsGroove) { SetBounds(0, 0, 50, 50); }

TVlBorder::TVlBorder(wb::gui::WinControl& parent, const std::string& name) : TVlBorder(&parent) {
    Place(parent, name);
}

Rect TVlBorder::ClientRect() const { return border_.Inside({0, 0, Width(), Height()}); }

void TVlBorder::Paint(Canvas& c) {
    Rect r{0, 0, Width(), Height()};
    auto border = [&](TFrameStyle style) {
        if (style == fsNone) return;
        // A flat border is one ring on all four sides, whatever the sides say.
        if (style == fsFlat) r = DrawChosenSides(c, r, border_.FlatColor, TSides::All(), 1, border_.FlatColor);
        else r = DrawFrameStyle(c, r, style, border_.BorderSides);
    };
    const TVlBorderProps& b = border_;
    border(b.BorderOuter);
    if (b.BorderWidth > 0) r = DrawChosenSides(c, r, b.BorderColor, b.BorderSides, b.BorderWidth, b.BorderColor);
    border(b.BorderInner);
}

void TVlBorder::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}
void TVlBorder::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

} // namespace velmora
