#pragma once
// The border properties that borders, labels and progress bars share, and
// the base that offers them to each.
#include "platform/gui/GraphicControl.h"
#include "tag_editor/controls/VlCommon.h"

namespace velmora {

// The rectangle a border style leaves: r shrunk on each of the chosen sides
// by 1 for fsFlat, bevelWidth for fsStatus and fsPopup, 2 for the others.
Rect ShrinkForBorder(Rect r, TFrameStyle style, TSides sides, int bevelWidth);

struct TVlBorderProps {
    int BevelWidth = 1;
    int BorderWidth = 0;  // a band in BorderColor between the outer and the inner style
    TColor BorderColor = wb::gui::clBtnFace;
    TFrameStyle BorderInner = fsNone;
    TFrameStyle BorderOuter = fsNone;
    TSides BorderSides = TSides::All();
    TColor FlatColor = 0;  // the line of an fsFlat border

    // What the outer style, the band and the inner style leave of r.
    Rect Inside(Rect r) const;
};

class TVlBorderedControl : public wb::gui::GraphicControl {
public:
    int BevelWidth() const { return border_.BevelWidth; }
    void SetBevelWidth(int v) { Change(border_.BevelWidth, v); }
    int BorderWidth() const { return border_.BorderWidth; }
    void SetBorderWidth(int v) { Change(border_.BorderWidth, v); }
    TColor BorderColor() const { return border_.BorderColor; }
    void SetBorderColor(TColor v) { Change(border_.BorderColor, v); }
    TFrameStyle BorderInner() const { return border_.BorderInner; }
    void SetBorderInner(TFrameStyle v) { Change(border_.BorderInner, v); }
    TFrameStyle BorderOuter() const { return border_.BorderOuter; }
    void SetBorderOuter(TFrameStyle v) { Change(border_.BorderOuter, v); }
    TSides BorderSides() const { return border_.BorderSides; }
    void SetBorderSides(TSides v) { Change(border_.BorderSides, v); }
    TColor FlatColor() const { return border_.FlatColor; }
    // Only a colour: a repaint, never a change of what the borders leave.
    void SetFlatColor(TColor v) {
        if (v == border_.FlatColor) return;
        border_.FlatColor = v;
        Invalidate();
    }

protected:
    // Each kind starts with its own outer style.
    TVlBorderedControl(wb::Component* owner, TFrameStyle outer) : GraphicControl(owner) { border_.BorderOuter = outer; }
    // A label that sizes itself stops doing so; the others repaint.
    virtual void BorderChanged() { Invalidate(); }

    TVlBorderProps border_;

private:
    template <class T>
    void Change(T& field, T v) {
        if (v == field) return;
        field = v;
        BorderChanged();
    }
};

} // namespace velmora
