#pragma once
// Small drawing routines shared by the caption and picture controls.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/Canvas.h"
#include "tag_editor/controls/pictures/VlBitmap.h"

namespace velmora {

// 0 top to bottom, 1 bottom to top, 2 left to right, 3 right to left.
enum TGradientDirection : uint8_t { gdTopToBottom = 0, gdBottomToTop = 1, gdLeftToRight = 2, gdRightToLeft = 3 };

// Bands of colour from StartColor to EndColor; the last band is exactly the
// end colour and the rest of the extent, when it does not divide, is filled
// with the colour of the end the bands run to.
void GradientFill(wb::gui::Canvas& canvas, const wb::gui::Rect& rect, wb::gui::TColor startColor,
                  wb::gui::TColor endColor, uint8_t direction, uint8_t colors);

// The text cut from its end, with "...", until the measure says it fits.
template <class Measure>
std::string ShortenText(const std::string& text, int maxWidth, const Measure& width) {
    if (width(text) <= maxWidth) return text;
    // Cut whole UTF-8 characters only, so "..." never follows half of one.
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    for (size_t keep = starts.size() >= 2 ? starts.size() - 2 : 0; keep > 0; --keep) {
        std::string cut = text.substr(0, starts[keep]) + "...";
        if (width(cut) <= maxWidth) return cut;
    }
    return "...";
}
std::string ShortenText(wb::gui::Canvas& canvas, const std::string& text, int maxWidth);

// Draws the src part of a picture stretched onto dest (a size of 0 or less:
// the picture's own), with one colour left out: clNone leaves none out,
// clDefault takes the bottom-left pixel's colour, and a two-colour picture
// always leaves out white.
void StretchBitmapTransparent(wb::gui::Canvas& canvas, const TBitmap& picture, wb::gui::TColor transparent,
                              const wb::gui::Rect& dest, const wb::gui::Rect& src);

// Says "Function not yet implemented" and ends the operation silently.
[[noreturn]] void NotImplemented();

inline int Max(int a, int b) { return a > b ? a : b; }
inline int Min(int a, int b) { return a < b ? a : b; }

// Screen cursors registered at start: a hand and a dragging hand.
constexpr int crVlHand = 14000, crVlDrag = 14001;
void RegisterVlCursors();

} // namespace velmora
