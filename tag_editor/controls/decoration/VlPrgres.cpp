#include "tag_editor/controls/decoration/VlPrgres.h"

#include <algorithm>
#include <cmath>

namespace velmora {

using namespace wb::gui;

int PercentOfParts(uint32_t complete, uint32_t total) {
    if (total == 0) return 0;
    const double exact = double(std::min(complete, total)) / double(total) * 100.0;
    return static_cast<int>(std::nearbyint(exact));  // the default rounding takes halves to even
}

TVlCustomProgressBar::TVlCustomProgressBar(wb::Component* owner) : TVlBorderedControl(owner, fsLowered) {
    font_.Color = barColor_;
    SetBounds(0, 0, 200, 24);
}

TVlProgressBar::TVlProgressBar(WinControl& parent, const std::string& name) : TVlProgressBar(&parent) {
    Place(parent, name);
}

#define VL_SETTER(Name, field, Type)                       \
    void TVlCustomProgressBar::Set##Name(Type v) {         \
        if (v == field) return;                            \
        field = v;                                         \
        Invalidate();                                      \
    }
VL_SETTER(BackColor, backColor_, TColor)
VL_SETTER(InteriorOffset, interiorOffset_, int)
VL_SETTER(Orientation, orientation_, TOrientation)
VL_SETTER(ShowPercent, showPercent_, bool)
#undef VL_SETTER

void TVlCustomProgressBar::SetBarColor(TColor v) {
    if (v == barColor_) return;
    barColor_ = v;
    font_.Color = v;
    Invalidate();
}

void TVlCustomProgressBar::SetBarStyle(TBarStyle v) {
    if (v == barStyle_) return;
    barStyle_ = v;
    showPercent_ = v == bsTraditional;
    interiorOffset_ = v == bsLED ? 1 : 0;
    Invalidate();
}

void TVlCustomProgressBar::SetNumSegments(int v) {
    v = std::clamp(v, 1, 100);
    if (v == numSegments_) return;
    numSegments_ = v;
    Invalidate();
}

void TVlCustomProgressBar::SetPercent(int v) {
    if (v == percent_) return;
    percent_ = v;
    if (OnChange) OnChange(this, v);
    Repaint();
}

void TVlCustomProgressBar::SetPartsComplete(uint32_t v) {
    partsComplete_ = std::min(v, totalParts_);
    if (!Loading() && totalParts_ != 0) SetPercent(PercentOfParts(partsComplete_, totalParts_));
}

void TVlCustomProgressBar::SetTotalParts(uint32_t v) {
    if (v == totalParts_) return;
    totalParts_ = v;
    if (!Loading()) {
        partsComplete_ = 0;
        SetPercent(0);
    }
}

void TVlCustomProgressBar::SetFont(const TFont& f) {
    font_ = f;
    Invalidate();
}

void TVlCustomProgressBar::SetBounds(int left, int top, int width, int height) {
    GraphicControl::SetBounds(left, top, width, height);
    orientation_ = height <= width ? orHorizontal : orVertical;
}

void TVlCustomProgressBar::Paint(Canvas& c) {
    c.Font() = font_;
    Rect r{0, 0, Width(), Height()};
    const TVlBorderProps& b = border_;
    r = DrawFrameStyle(c, r, b.BorderOuter, b.BorderSides);
    if (b.BorderWidth > 0) r = DrawChosenSides(c, r, b.BorderColor, b.BorderSides, b.BorderWidth, b.BorderColor);
    r = DrawFrameStyle(c, r, b.BorderInner, b.BorderSides);
    if (interiorOffset_ > 0) {
        c.Brush().Style = BrushStyle::Clear;
        c.Pen() = {backColor_, 1, PenStyle::Solid};
        for (int i = 0; i < interiorOffset_; ++i)
            c.Rectangle({r.left + i, r.top + i, r.right - i, r.bottom - i});
        c.Brush().Style = BrushStyle::Solid;
        r = {r.left + interiorOffset_, r.top + interiorOffset_, r.right - interiorOffset_, r.bottom - interiorOffset_};
    }
    if (r.IsEmpty()) return;
    if (barStyle_ == bsLED) DrawSegmentBar(c, r, orientation_, percent_, numSegments_, backColor_, barColor_);
    else DrawPercentBar(c, r, orientation_, showPercent_, percent_, backColor_, barColor_);
}

} // namespace velmora
