#include "tag_editor/controls/decoration/VlLabel.h"

#include <cmath>

namespace velmora {

using namespace wb::gui;

namespace {

constexpr double kPi = 3.14159265358979323846;

// One list for every label of the program, made with the first label and
// freed with the last.
TVlBlinkingControlsList* g_blinkList = nullptr;

TVlBlinkingControlsList& BlinkList() {
    if (!g_blinkList) g_blinkList = new TVlBlinkingControlsList();
    return *g_blinkList;
}

const wb::EnumType& RotationType() {
    static const wb::EnumType t{"TRotation", {"roNone", "roFlat", "roCurve"}};
    return t;
}
const wb::EnumType& TextStyleType() {
    static const wb::EnumType t{"TTextStyle", {"tsNormal", "tsRaised", "tsRecessed", "tsShadow"}};
    return t;
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

// The canvas draws turned text from its top-left corner; the label places it
// by a point on its baseline, `along` pixels from the start of the text.
Point FromBaseline(int x, int y, double along, int ascent, int tenths) {
    const double a = tenths * kPi / 1800.0;
    return {x - Round(along * std::cos(a) + ascent * std::sin(a)), y - Round(-along * std::sin(a) + ascent * std::cos(a))};
}

} // namespace

TVlBlinkingControlsList* TVlLabel::Blinkers() { return g_blinkList; }

int NormalizeLabelAngle(int angle) { return angle >= 0 ? angle % 360 : angle + 360; }

const wb::ClassInfo& TVlLabel::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TVlLabel", &GraphicControl::StaticClass());
        i.String<TVlLabel>("Caption", &TVlLabel::Caption, &TVlLabel::SetCaption);
        i.Integer<TVlLabel, int>("Angle", &TVlLabel::Angle, &TVlLabel::SetAngle);
        i.Boolean<TVlLabel>("Blinking", &TVlLabel::Blinking, &TVlLabel::SetBlinking);
        i.Integer<TVlLabel, TColor>("BlinkColor", &TVlLabel::BlinkColor, &TVlLabel::SetBlinkColor);
        i.Boolean<TVlLabel>("FlyByEnabled", &TVlLabel::FlyByEnabled, &TVlLabel::SetFlyByEnabled);
        i.Integer<TVlLabel, TColor>("FlyByColor", &TVlLabel::FlyByColor, &TVlLabel::SetFlyByColor);
        i.Enum<TVlLabel, TRotation>("Rotation", RotationType(), &TVlLabel::Rotation, &TVlLabel::SetRotation);
        i.Enum<TVlLabel, TTextStyle>("TextStyle", TextStyleType(), &TVlLabel::TextStyle, &TVlLabel::SetTextStyle);
        return i;
    }();
    return info;
}

TVlLabel::TVlLabel(wb::Component* owner) : TVlBorderedControl(owner, fsNone) {
    savedColor_ = currentColor_ = font_.Color;
    BlinkList().Add(this);
}

TVlLabel::TVlLabel(WinControl& parent, const std::string& name, const std::string& caption) : TVlLabel(&parent) {
    Place(parent, name);
    SetCaption(caption);
}

TVlLabel::~TVlLabel() {
    Destroying_();
    if (g_blinkList) {
        g_blinkList->Remove(this);
        if (g_blinkList->Count() == 0) {
            delete g_blinkList;
            g_blinkList = nullptr;
        }
    }
}

void TVlLabel::Changed() {
    if (autoSize_) FitSize();
    Invalidate();
}

void TVlLabel::BorderChanged() {
    autoSize_ = false;
    Invalidate();
}

void TVlLabel::FitSize() {
    Canvas measure;
    measure.Font() = font_;
    const int w = measure.TextWidth(caption_.empty() ? " " : caption_);
    const int h = measure.TextHeight("Pp");
    const Rect inner = TextRect();
    SetBounds(Left(), Top(), w + (Width() - inner.Width()), h + (Height() - inner.Height()));
}

void TVlLabel::SetCaption(const std::string& v) {
    if (v == caption_) return;
    caption_ = v;
    Changed();
}
void TVlLabel::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    Changed();
}
void TVlLabel::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}
void TVlLabel::SetLayout(TTextLayout v) {
    if (v == layout_) return;
    layout_ = v;
    Invalidate();
}
void TVlLabel::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    Changed();
}
void TVlLabel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    Invalidate();
}
void TVlLabel::SetColor(TColor v) {
    if (v == color_) return;
    color_ = v;
    Invalidate();
}

void TVlLabel::SetFont(const TFont& f) {
    font_ = f;
    if (!Loading() && !blinking_) savedColor_ = currentColor_ = font_.Color;
    // Every font of this platform is scalable, so an angle never has to go.
    Changed();
}

void TVlLabel::SetAngle(int v) {
    v = NormalizeLabelAngle(v);
    if (v == angle_) return;
    angle_ = v;
    if (angle_ != 0) {
        autoSize_ = false;
        if (rotation_ == roNone) rotation_ = roFlat;
    }
    Invalidate();
}

void TVlLabel::SetRotation(TRotation v) {
    if (v == rotation_) return;
    rotation_ = v;
    if (v == roNone) angle_ = 0;
    if (v == roFlat) {
        angle_ = 0;
        centerPoint_ = cpCenter;
    }
    Invalidate();
}

void TVlLabel::SetCenterPoint(TCenterPoint v) {
    if (v == centerPoint_) return;
    centerPoint_ = v;
    Invalidate();
}

void TVlLabel::SetBlinking(bool v) {
    if (v == blinking_) return;
    blinking_ = v;
    if (!v) {
        // Switched off in the blink phase, the text must not stay in the blink colour.
        blinkOff_ = false;
        font_.Color = currentColor_ = savedColor_;
    }
    Invalidate();
}

void TVlLabel::SetBlinkColor(TColor v) {
    if (v == blinkColor_) return;
    blinkColor_ = v;
    Invalidate();
}
int TVlLabel::BlinkIntervalOn() const { return BlinkList().IntervalOn; }
void TVlLabel::SetBlinkIntervalOn(int v) { BlinkList().IntervalOn = static_cast<uint16_t>(v); }
int TVlLabel::BlinkIntervalOff() const { return BlinkList().IntervalOff; }
void TVlLabel::SetBlinkIntervalOff(int v) { BlinkList().IntervalOff = static_cast<uint16_t>(v); }

#define VL_BORDER_SETTER(Name, field, Type) \
    void TVlLabel::Set##Name(Type v) {      \
        if (v == field) return;             \
        field = v;                          \
        BorderChanged();                    \
    }
VL_BORDER_SETTER(BorderHighlight, borderHighlight_, TColor)
VL_BORDER_SETTER(BorderShadow, borderShadow_, TColor)
VL_BORDER_SETTER(FrameSides, frameSides_, TSides)
#undef VL_BORDER_SETTER

#define VL_PAINT_SETTER(Name, field, Type) \
    void TVlLabel::Set##Name(Type v) {     \
        if (v == field) return;            \
        field = v;                         \
        Invalidate();                      \
    }
VL_PAINT_SETTER(FlyByColor, flyByColor_, TColor)
VL_PAINT_SETTER(LightTextStyle, lightTextStyle_, bool)
VL_PAINT_SETTER(HighlightColor, highlightColor_, TColor)
VL_PAINT_SETTER(ShadowColor, shadowColor_, TColor)
VL_PAINT_SETTER(ShadowDepth, shadowDepth_, int)
VL_PAINT_SETTER(TextStyle, textStyle_, TTextStyle)
#undef VL_PAINT_SETTER

void TVlLabel::SetFlyByEnabled(bool v) {
    if (v == flyByEnabled_) return;
    flyByEnabled_ = v;
    // Only a colour saved while the fly-by colour shows is put back.
    if (!v && flyByShown_) {
        font_.Color = currentColor_ = flyBySaved_;
        flyByShown_ = false;
    }
    Invalidate();
}

void TVlLabel::Loaded() {
    GraphicControl::Loaded();
    if (rotation_ == roNone && angle_ != 0) rotation_ = roFlat;
    savedColor_ = currentColor_ = font_.Color;
}

void TVlLabel::MouseEnter() {
    if (flyByEnabled_ && !flyByShown_) {
        flyBySaved_ = font_.Color;
        font_.Color = currentColor_ = flyByColor_;
        flyByShown_ = true;
        Invalidate();
    }
    if (OnMouseEnter) OnMouseEnter(this);
}

void TVlLabel::MouseLeave() {
    if (flyByEnabled_ && flyByShown_) {
        font_.Color = currentColor_ = flyBySaved_;
        flyByShown_ = false;
        Invalidate();
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

intptr_t TVlLabel::BlinkMessage(unsigned msg, uintptr_t param) {
    if (msg == CM_BLINKQUERY) return blinking_ ? 1 : 0;
    if (msg != CM_BLINK) return 0;
    if (param != 0) {
        blinkOff_ = true;
        currentColor_ = blinkColor_;
    } else {
        blinkOff_ = false;
        currentColor_ = savedColor_;
    }
    Invalidate();
    return 0;
}

Rect TVlLabel::TextRect() const {
    Rect r{0, 0, Width(), Height()};
    if (frameSides_.Has(sdLeft)) ++r.left;
    if (frameSides_.Has(sdTop)) ++r.top;
    if (frameSides_.Has(sdRight)) --r.right;
    if (frameSides_.Has(sdBottom)) --r.bottom;
    return border_.Inside(r);
}

namespace {

Rect PaintBorder(Canvas& c, Rect r, TFrameStyle style, const TVlBorderProps& b, TColor high, TColor shadow) {
    const TSides sides = b.BorderSides;
    const int bevel = b.BevelWidth;
    const TColor flat = b.FlatColor;
    switch (style) {
        case fsNone: return r;
        case fsFlat: return DrawChosenSides(c, r, flat, sides, 1, flat);
        case fsPopup: return DrawChosenSides(c, r, high, sides, bevel, shadow);
        case fsStatus: return DrawChosenSides(c, r, shadow, sides, bevel, high);
        default: return DrawFrameStyle(c, r, style, sides);
    }
}

} // namespace

Point TVlLabel::Reference() const {
    const int m = border_.BorderWidth, w = Width(), h = Height();
    if (rotation_ == roFlat) return {w / 2, h / 2};
    switch (centerPoint_) {
        case cpUpperLeft: return {m, m};
        case cpUpperCenter: return {w / 2, m};
        case cpUpperRight: return {w, m};
        case cpLeftCenter: return {m, h / 2};
        case cpRightCenter: return {w - m, h / 2};
        case cpLowerLeft: return {m, h - m};
        case cpLowerCenter: return {w / 2, h - m};
        case cpLowerRight: return {w - m, h - m};
        default: return {w / 2, h / 2};
    }
}

void TVlLabel::Paint(Canvas& c) {
    Rect r{0, 0, Width(), Height()};
    r = DrawSideLines(c, r, clBlack, frameSides_, clBlack);
    const TVlBorderProps& b = border_;
    r = PaintBorder(c, r, b.BorderOuter, b, borderHighlight_, borderShadow_);
    if (b.BorderWidth > 0) r = DrawChosenSides(c, r, b.BorderColor, b.BorderSides, b.BorderWidth, b.BorderColor);
    r = PaintBorder(c, r, b.BorderInner, b, borderHighlight_, borderShadow_);
    c.Brush() = {color_, BrushStyle::Solid};
    if (!transparent_) c.FillRect(r);
    c.Brush().Style = BrushStyle::Clear;
    if (rotation_ == roCurve) DrawCurve(c);
    else DrawStraight(c, TextRect());
}

// The copies of the text style, then the text itself: at (x, y) as its top
// left corner, or, when `in` is given, laid out in that rectangle.
void TVlLabel::DrawCopies(Canvas& c, int x, int y, const std::string& text, unsigned flags, const Rect* in) {
    auto at = [&](int dx, int dy, TColor color) {
        c.Font().Color = color;
        if (in) c.DrawText({in->left + dx, in->top + dy, in->right + dx, in->bottom + dy}, text, flags);
        else c.TextOut(x + dx, y + dy, text);
    };
    if (!Enabled()) {
        at(1, 1, clBtnHighlight);
        at(0, 0, clGrayText);
        return;
    }
    if (textStyle_ == tsRaised || textStyle_ == tsRecessed) {
        const TColor c1 = textStyle_ == tsRaised ? highlightColor_ : shadowColor_;
        const TColor c2 = textStyle_ == tsRaised ? shadowColor_ : highlightColor_;
        if (!(lightTextStyle_ && textStyle_ == tsRaised)) at(1, 1, c2);
        if (!(lightTextStyle_ && textStyle_ == tsRecessed)) at(-1, -1, c1);
    } else if (textStyle_ == tsShadow) {
        at(shadowDepth_, shadowDepth_, shadowColor_);
    }
    at(0, 0, currentColor_);
}

void TVlLabel::DrawStraight(Canvas& c, const Rect& inner) {
    c.Font() = font_;
    if (rotation_ == roNone || angle_ == 0) {
        unsigned flags = (alignment_ == taCenter ? tfCenter : alignment_ == taRightJustify ? tfRight : tfLeft);
        if (wordWrap_) flags |= tfWordBreak;
        Rect r = inner;
        Canvas measure;
        measure.Font() = font_;
        const int b = r.top + measure.DrawText(r, caption_, flags);
        const int room = Height() - border_.BorderWidth;
        if (layout_ == tlCenter) r.top += (room - b) / 2;
        else if (layout_ == tlBottom) r.top += room - b;
        const int nudge = textStyle_ == tsShadow ? -shadowDepth_ : -1;
        if (alignment_ == taRightJustify) r.left += nudge, r.right += nudge;
        if (layout_ == tlBottom) r.top += nudge;
        r.bottom = std::max(r.bottom, r.top + (b - inner.top));
        DrawCopies(c, 0, 0, caption_, flags, &r);
        return;
    }
    // Turned: the baseline runs a quarter of the line height beside the
    // reference point, centred on it; at a quarter, half or three quarters
    // of a turn the text starts where its alignment puts it.
    const Point p = Reference();
    const int tw = c.TextWidth(caption_), q = c.TextHeight("Pp") / 4, ascent = c.TextAscent();
    const int s = textStyle_ == tsShadow ? shadowDepth_ : 0;
    const bool centred = alignment_ == taCenter, right = alignment_ == taRightJustify;
    const double theta = angle_ * kPi / 180.0 + kPi / 2;
    int x = p.x - Round(std::cos(theta) * q), y = p.y + Round(std::sin(theta) * q);
    double along = tw / 2.0;
    const Rect& r = inner;
    switch (angle_) {
        case 90:
            y = centred ? r.bottom - (r.bottom - tw) / 2 : right ? r.top + tw + s : r.bottom - s;
            along = 0;
            break;
        case 180:
            x = centred ? r.right - (r.right - tw) / 2 : right ? r.left + tw : r.right - s;
            along = 0;
            break;
        case 270:
            y = centred ? (r.bottom - tw) / 2 : right ? r.bottom - tw - s : r.top + s;
            along = 0;
            break;
        default: break;
    }
    c.Font() = MakeRotatedFont(font_, angle_);
    const Point at = FromBaseline(x, y, along, ascent, angle_ * 10);
    DrawCopies(c, at.x, at.y, caption_, 0, nullptr);
}

void TVlLabel::DrawCurve(Canvas& c) {
    const int m = border_.BorderWidth, w = Width(), h = Height();
    int rx = w - 2 * m, ry = h - 2 * m;
    switch (centerPoint_) {
        case cpUpperCenter:
        case cpLowerCenter: rx = w / 2 - 2 * m; break;
        case cpLeftCenter:
        case cpRightCenter: ry = h / 2 - 2 * m; break;
        case cpCenter:
            rx = w / 2 - 2 * m;
            ry = h / 2 - 2 * m;
            break;
        default: break;
    }
    // The step divides by the radius: a label too small for one draws no text.
    if (rx <= 0 || ry <= 0) return;
    const Point p = Reference();
    c.Font() = font_;
    const int lineHeight = c.TextHeight("Yy");
    const int step = c.TextWidth("w") + 2;
    const int ascent = c.TextAscent();
    double theta = angle_ * kPi / 180.0;
    for (size_t i = 0; i < caption_.size();) {
        size_t n = 1;
        while (i + n < caption_.size() && (static_cast<unsigned char>(caption_[i + n]) & 0xC0) == 0x80) ++n;
        const std::string ch = caption_.substr(i, n);
        i += n;
        const int x = p.x - Round(std::sin(theta) * (rx - lineHeight));
        const int y = p.y - Round(std::cos(theta) * (ry - lineHeight));
        // Tilted in tenths of a degree, centred on the baseline.
        const int tenths = Round(theta * 1800.0 / kPi);
        TFont turned = font_;
        turned.Orientation = tenths;
        c.Font() = turned;
        const Point at = FromBaseline(x, y, c.TextWidth(ch) / 2.0, ascent, tenths);
        DrawCopies(c, at.x, at.y, ch, 0, nullptr);
        theta -= double(step) / rx;
    }
}

} // namespace velmora
