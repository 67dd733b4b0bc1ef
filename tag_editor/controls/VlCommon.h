#pragma once
// What the decoration and file-system controls share: frame and text style
// enumerations, the frame, border and bar drawing routines, a rotated-font
// maker, small string helpers, and the one timer that makes every blinking
// control blink in step.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gui/Canvas.h"

namespace wb::gui {
class Label;
class Timer;
} // namespace wb::gui

namespace velmora {

using wb::gui::TColor;

enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TOrientation { orHorizontal, orVertical };
enum TBarStyle { bsTraditional, bsLED };
enum TFrameStyle {
    fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup
};
enum TSide { sdLeft, sdTop, sdRight, sdBottom };

// A set of an enumeration's values, bit e standing for value e.
template <class E>
class TVlSet {
public:
    constexpr TVlSet() = default;
    constexpr TVlSet(std::initializer_list<E> values) {
        for (E e : values) mask_ |= 1u << e;
    }
    constexpr bool Has(E e) const { return mask_ & (1u << e); }
    constexpr unsigned Mask() const { return mask_; }
    constexpr bool operator==(const TVlSet&) const = default;

protected:
    unsigned mask_ = 0;
};

// A set of sides; as a bit mask sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8.
class TSides : public TVlSet<TSide> {
public:
    using TVlSet::TVlSet;
    static constexpr TSides FromMask(unsigned mask) {
        TSides s;
        s.mask_ = mask & 15u;
        return s;
    }
    static constexpr TSides All() { return FromMask(15); }
};

// The framework's input/output error, raised by the file-system controls.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using wb::gui::Canvas;
using wb::gui::Rect;

// All routines take the rectangle to draw in (right and bottom outside it) and
// return what remains inside what they drew.
Rect DrawSideLines(Canvas& canvas, Rect r, TColor first, TSides sides, TColor second);
Rect DrawChosenSides(Canvas& canvas, Rect r, TColor first, TSides sides, int count, TColor second);
Rect DrawFrameStyle(Canvas& canvas, Rect r, TFrameStyle style, TSides sides);
Rect DrawBorder(Canvas& canvas, Rect r, TFrameStyle style);
Rect DrawControlFrame(Canvas& canvas, int width, int height, TSides sides, TColor flatColor,
                      TColor backColor, TFrameStyle style);
void DrawSegmentBar(Canvas& canvas, Rect r, TOrientation orientation, int percent, int segments,
                    TColor backColor, TColor barColor);
void DrawPercentBar(Canvas& canvas, Rect r, TOrientation orientation, bool showPercent, int percent,
                    TColor backColor, TColor barColor);

// The font turned counter-clockwise by `angle` degrees.
wb::gui::TFont MakeRotatedFont(const wb::gui::TFont& font, int angle);
// The font's text height plus 2 pixels.
int GetTextLineHeight(const wb::gui::TFont& font);

// The last character; '\0' for an empty string rather than a read before its start.
char LastChar(const std::string& s);
int CountChar(char c, const std::string& s);
// From `start` (1-based) up to and including the n-th `c` after it; the whole
// string when there are fewer, or when the string is shorter than `start`.
std::string CopyToNthChar(const std::string& s, int start, char c, int n);

// Shortens a path to `width` by putting "..." in place of middle folders, as
// path labels show it. `measure` gives a text's width.
std::string MinimizeName(const std::string& path, int width,
                         const std::function<int(const std::string&)>& measure);
// Shows a path shortened to a label's width (the other width while the label
// has none yet); no label, nothing to do.
void ShowPathInLabel(wb::gui::Label* label, const std::string& path, int widthWithoutLabel);

// The messages a blinking control answers.
constexpr unsigned CM_BLINKQUERY = 45156;  // answer 1 to take part
constexpr unsigned CM_BLINK = 45157;       // first parameter: 1 shown, 0 hidden

class TVlBlinkTarget {
public:
    virtual ~TVlBlinkTarget() = default;
    virtual intptr_t BlinkMessage(unsigned msg, uintptr_t param) = 0;
};

// One timer for all blinking controls of the program.
class TVlBlinkingControlsList {
public:
    TVlBlinkingControlsList();
    ~TVlBlinkingControlsList();
    TVlBlinkingControlsList(const TVlBlinkingControlsList&) = delete;
    TVlBlinkingControlsList& operator=(const TVlBlinkingControlsList&) = delete;

    void Add(TVlBlinkTarget* control);
    void Remove(TVlBlinkTarget* control);
    int Count() const { return static_cast<int>(controls_.size()); }

    // Read and written by the labels' blink interval properties.
    uint16_t IntervalOff = 500;
    uint16_t IntervalOn = 500;

    uint8_t OnFlag() const { return on_; }
    int TimerInterval() const;
    // One timer tick.
    void Tick();

private:
    uint8_t on_ = 1;
    std::unique_ptr<wb::gui::Timer> timer_;
    std::vector<TVlBlinkTarget*> controls_;
};

} // namespace velmora
