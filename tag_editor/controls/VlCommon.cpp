#include "tag_editor/controls/VlCommon.h"


#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdio>

#include "platform/gui/Guard.h"
#include "platform/gui/Label.h"
#include "platform/gui/Timer.h"

namespace velmora {

using namespace wb::gui;

namespace {

struct TwoColours {
    TColor first, second;
};

// One ring of two colours: first on the left and top, second on the right
// and bottom. Indexed by TFrameStyle; the two-ring styles are not used here.
constexpr TwoColours kRing[] = {
    {clWindow, clWindow},             // fsNone
    {clWindowFrame, clWindowFrame},   // fsFlat
    {clBtnShadow, clBtnHighlight},    // fsGroove
    {clBtnHighlight, clBtnShadow},    // fsBump
    {clNone, clNone},                 // fsLowered
    {clNone, clNone},                 // fsButtonDown
    {clNone, clNone},                 // fsRaised
    {clNone, clNone},                 // fsButtonUp
    {clBtnShadow, clBtnHighlight},    // fsStatus
    {clBtnHighlight, clBtnShadow},    // fsPopup
};

// Outer ring, then inner ring, of the two-pixel 3D styles.
struct TwoRings {
    TwoColours outer, inner;
};

TwoRings RingsOf(TFrameStyle style) {
    switch (style) {
        case fsRaised: return {{cl3DLight, clBtnText}, {clBtnHighlight, clBtnShadow}};
        case fsLowered: return {{clBtnShadow, clBtnHighlight}, {clBtnText, cl3DLight}};
        case fsButtonUp: return {{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}};
        default: return {{clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}};  // fsButtonDown
    }
}

Rect Shrink(Rect r, TSides sides, int by) {
    if (sides.Has(sdLeft)) r.left += by;
    if (sides.Has(sdTop)) r.top += by;
    if (sides.Has(sdRight)) r.right -= by;
    if (sides.Has(sdBottom)) r.bottom -= by;
    return r;
}

// Round to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double v) {
    std::fesetround(FE_TONEAREST);
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

Rect DrawSideLines(Canvas& c, Rect r, TColor first, TSides sides, TColor second) {
    c.Pen().Color = first;
    if (sides.Has(sdLeft)) {
        c.MoveTo(r.left, r.top);
        c.LineTo(r.left, r.bottom);
    }
    if (sides.Has(sdTop)) {
        c.MoveTo(r.left, r.top);
        c.LineTo(r.right, r.top);
    }
    c.Pen().Color = second;
    if (sides.Has(sdRight)) {
        c.MoveTo(r.right - 1, r.top);
        c.LineTo(r.right - 1, r.bottom);
    }
    if (sides.Has(sdBottom)) {
        c.MoveTo(r.left, r.bottom - 1);
        c.LineTo(r.right, r.bottom - 1);
    }
    return Shrink(r, sides, 1);
}

Rect DrawChosenSides(Canvas& c, Rect r, TColor first, TSides sides, int count, TColor second) {
    c.Pen().Width = 1;
    for (int i = 0; i < count; ++i) r = DrawSideLines(c, r, first, sides, second);
    return r;
}

Rect DrawFrameStyle(Canvas& c, Rect r, TFrameStyle style, TSides sides) {
    switch (style) {
        case fsNone: return r;
        case fsFlat:
        case fsStatus:
        case fsPopup: return DrawSideLines(c, r, kRing[style].first, sides, kRing[style].second);
        case fsLowered:
        case fsRaised:
        case fsButtonDown:
        case fsButtonUp: {
            TwoRings rings = RingsOf(style);
            r = DrawChosenSides(c, r, rings.outer.first, sides, 1, rings.outer.second);
            return DrawChosenSides(c, r, rings.inner.first, sides, 1, rings.inner.second);
        }
        case fsGroove:
        case fsBump: {
            TColor c1 = kRing[style].first, c2 = kRing[style].second;
            bool L = sides.Has(sdLeft), T = sides.Has(sdTop), R = sides.Has(sdRight),
                 B = sides.Has(sdBottom);
            // Where one side ends without its neighbour, the corner gets the
            // colour that closes the groove.
            if (R) c.SetPixel(r.right - 1, r.top, c2);
            if (T && !R) c.SetPixel(r.right - 1, r.top, c1);
            if (B) c.SetPixel(r.left, r.bottom - 1, c2);
            if (L && !B) c.SetPixel(r.left, r.bottom - 1, c1);
            if (T && !L) c.SetPixel(r.left, r.top + 1, c2);
            if (L && !T) c.SetPixel(r.left + 1, r.top, c2);
            if (B && !R) c.SetPixel(r.right - 1, r.bottom - 2, c1);
            if (R && !B) c.SetPixel(r.right - 2, r.bottom - 1, c1);
            DrawSideLines(c, {r.left + 1, r.top + 1, r.right, r.bottom}, c2, sides, c2);
            DrawSideLines(c, {r.left, r.top, r.right - 1, r.bottom - 1}, c1, sides, c1);
            return Shrink(r, sides, 2);
        }
    }
    return r;
}

Rect DrawBorder(Canvas& c, Rect r, TFrameStyle style) {
    return DrawFrameStyle(c, r, style, TSides::All());
}

Rect DrawControlFrame(Canvas& c, int width, int height, TSides sides, TColor flatColor,
                      TColor backColor, TFrameStyle style) {
    Rect r{0, 0, width, height};
    DrawChosenSides(c, r, backColor, TSides::All(), 2, backColor);
    if (style != fsFlat) return DrawFrameStyle(c, r, style, sides);
    return DrawSideLines(c, r, flatColor, sides, flatColor);
}

void DrawSegmentBar(Canvas& c, Rect r, TOrientation orientation, int percent, int segments,
                    TColor backColor, TColor barColor) {
    const bool vertical = orientation == orVertical;
    const int length = vertical ? r.Height() : r.Width();
    int n = segments;
    int s = n > 0 ? length / n : 0;
    if (length <= 80 && n >= 11) {
        n = 10;
        s = length / 10;
    }
    // Too short for one pixel per segment: nothing to light, only background.
    if (n <= 0 || s <= 0) {
        c.Pen().Style = PenStyle::Clear;
        c.Brush() = {backColor, BrushStyle::Solid};
        c.FillRect(r);
        c.Pen().Style = PenStyle::Solid;
        return;
    }
    int extra = (length - n * s) / s;
    if (extra >= 1) n += extra;
    const int margin = (length - n * s) / 2;

    // The margins, with the odd pixel of an uneven remainder at the far end.
    c.Pen().Style = PenStyle::Clear;
    c.Brush() = {backColor, BrushStyle::Solid};
    if (vertical) {
        c.FillRect({r.left, r.top, r.right, r.top + margin});
        c.FillRect({r.left, r.bottom - margin - 1, r.right, r.bottom});
    } else {
        c.FillRect({r.left, r.top, r.left + margin, r.bottom});
        c.FillRect({r.right - margin - 1, r.top, r.right, r.bottom});
    }

    auto segment = [&](int i) {
        if (vertical) {
            int y = r.top + margin + (n - i) * s;
            c.Rectangle(r.left, y, r.right, y + s);
        } else {
            int x = r.left + margin + (i - 1) * s;
            c.Rectangle(x, r.top, x + s, r.bottom);
        }
    };
    c.Pen() = {backColor, 1, PenStyle::Solid};
    c.Brush() = {barColor, BrushStyle::Solid};
    const int lit = std::clamp(static_cast<int>(static_cast<int64_t>(percent) * n / 100), 0, n);
    for (int i = 1; i <= lit; ++i) segment(i);
    c.Brush().Color = backColor;
    for (int i = lit + 1; i <= n; ++i) segment(i);
}

void DrawPercentBar(Canvas& c, Rect r, TOrientation orientation, bool showPercent, int percent,
                    TColor backColor, TColor barColor) {
    percent = std::max(percent, 0);
    std::string text;
    if (showPercent) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%u%%", static_cast<unsigned>(percent));
        text = buf;
    }
    Rect filled = r, empty = r;
    if (percent >= 100) {
        empty = {r.right, r.top, r.right, r.bottom};
    } else if (orientation == orHorizontal) {
        filled.right = r.left + RoundHalfEven(percent * r.Width() / 100.0);
        empty.left = filled.right;
    } else {
        filled.top = r.bottom - RoundHalfEven(percent * r.Height() / 100.0);
        empty.bottom = filled.top;
    }
    const int x = r.right / 2 - c.TextWidth(text) / 2;
    const int y = r.top + (r.Height() - c.TextHeight("X")) / 2;

    c.Font().Color = backColor;
    c.Brush() = {barColor, BrushStyle::Solid};
    if (!filled.IsEmpty()) c.TextRect(filled, x, y, text);
    c.Font().Color = barColor;
    c.Brush() = {backColor, BrushStyle::Solid};
    if (!empty.IsEmpty()) c.TextRect(empty, x, y, text);
}

TFont MakeRotatedFont(const TFont& font, int angle) {
    TFont f = font;
    f.Orientation = angle * 10;
    return f;
}

int GetTextLineHeight(const TFont& font) {
    Canvas measure;
    measure.Font() = font;
    return measure.TextHeight("") + 2;
}

void ShowPathInLabel(wb::gui::Label* label, const std::string& path, int widthWithoutLabel) {
    if (!label) return;
    const int width = label->Width() > 0 ? label->Width() : widthWithoutLabel;
    label->SetCaption(MinimizeName(path, width, [&](const std::string& s) { return label->TextWidth(s); }));
}

char LastChar(const std::string& s) { return s.empty() ? '\0' : s.back(); }

int CountChar(char ch, const std::string& s) {
    return static_cast<int>(std::count(s.begin(), s.end(), ch));
}

std::string CopyToNthChar(const std::string& s, int start, char ch, int n) {
    if (start < 1 || static_cast<size_t>(start) > s.size()) return s;
    int seen = 0;
    for (size_t i = static_cast<size_t>(start - 1); i < s.size(); ++i) {
        if (s[i] == ch && ++seen == n) return s.substr(static_cast<size_t>(start - 1), i - (start - 1) + 1);
    }
    return s;
}

std::string MinimizeName(const std::string& path, int width,
                         const std::function<int(const std::string&)>& measure) {
    if (measure(path) <= width) return path;
    // Keep the first element and the name; drop folders after the first one
    // until it fits, then shorten the name itself.
    size_t firstEnd = path.find('/', path.size() > 1 && path[0] == '/' ? 1 : 0);
    size_t nameStart = path.rfind('/');
    if (firstEnd == std::string::npos || nameStart == std::string::npos || nameStart <= firstEnd) {
        std::string s = path;
        while (s.size() > 1 && measure("..." + s) > width) s.erase(0, 1);
        return "..." + s;
    }
    std::string head = path.substr(0, firstEnd + 1);
    std::string middle = path.substr(firstEnd + 1, nameStart - firstEnd - 1);
    std::string name = path.substr(nameStart);
    for (;;) {
        std::string trial = head + "..." + (middle.empty() ? "" : "/" + middle) + name;
        if (middle.empty()) trial = head + "..." + name;
        if (measure(trial) <= width) return trial;
        if (middle.empty()) break;
        size_t cut = middle.find('/');
        middle = cut == std::string::npos ? "" : middle.substr(cut + 1);
    }
    std::string s = "..." + name;
    while (s.size() > 4 && measure(s) > width) s.erase(3, 1);
    return s;
}

TVlBlinkingControlsList::TVlBlinkingControlsList() : timer_(std::make_unique<wb::gui::Timer>()) {
    timer_->SetInterval(IntervalOff);
    timer_->SetOnTimer([this](wb::Persistent*) { Tick(); });
}

TVlBlinkingControlsList::~TVlBlinkingControlsList() = default;

void TVlBlinkingControlsList::Add(TVlBlinkTarget* control) { controls_.push_back(control); }

void TVlBlinkingControlsList::Remove(TVlBlinkTarget* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

int TVlBlinkingControlsList::TimerInterval() const { return timer_->Interval(); }

void TVlBlinkingControlsList::Tick() {
    if (on_ == 1) {
        on_ = 0;
        timer_->SetInterval(IntervalOff);
    } else {
        on_ = 1;
        timer_->SetInterval(IntervalOn);
    }
    // A control may leave the list while it blinks.
    std::vector<TVlBlinkTarget*> targets = controls_;
    for (TVlBlinkTarget* t : targets)
        if (t->BlinkMessage(CM_BLINKQUERY, 0) == 1) t->BlinkMessage(CM_BLINK, on_);
}

} // namespace velmora
