#include "tag_editor/controls/VCLUtils.h"

#include "platform/gui/Cursors.h"

namespace velmora {

using wb::gui::Canvas;
using wb::gui::Rect;
using wb::gui::TColor;

namespace {

struct Rgb {
    int r, g, b;
};

Rgb Split(TColor c) {
    const uint32_t v = wb::gui::ToQRgb(c);
    return {int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF)};
}

// MulDiv as the platform rounds it: to the nearest, halves away from zero.
int MulDiv(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long q = p >= 0 ? (p + c / 2) / c : (p - c / 2) / c;
    return static_cast<int>(q);
}

} // namespace

void GradientFill(Canvas& canvas, const Rect& rect, TColor startColor, TColor endColor, uint8_t direction,
                  uint8_t colors) {
    if (rect.IsEmpty()) return;
    const auto saved = canvas.Brush();
    if (colors < 2) {
        canvas.Brush() = {startColor, wb::gui::BrushStyle::Solid};
        canvas.FillRect(rect);
        canvas.Brush() = saved;
        return;
    }
    const bool reversed = direction == gdBottomToTop || direction == gdRightToLeft;
    const bool vertical = direction == gdTopToBottom || direction == gdBottomToTop;
    const Rgb first = Split(reversed ? endColor : startColor);
    const Rgb last = Split(reversed ? startColor : endColor);
    const int dr = last.r - first.r, dg = last.g - first.g, db = last.b - first.b;
    const int extent = vertical ? rect.Height() : rect.Width();
    const int bands = std::max(2, std::min<int>(colors, extent));
    const int delta = extent / bands;
    canvas.Brush().Style = wb::gui::BrushStyle::Solid;
    if (delta > 0) {
        for (int i = 0; i < bands; ++i) {
            const int r = (first.r + MulDiv(i, dr, bands - 1)) & 0xFF;
            const int g = (first.g + MulDiv(i, dg, bands - 1)) & 0xFF;
            const int b = (first.b + MulDiv(i, db, bands - 1)) & 0xFF;
            canvas.Brush().Color = wb::gui::RGBColor(r, g, b);
            const int from = i * delta;
            canvas.FillRect(vertical ? Rect{rect.left, rect.top + from, rect.right, rect.top + from + delta}
                                     : Rect{rect.left + from, rect.top, rect.left + from + delta, rect.bottom});
        }
    }
    const int rest = extent % bands;
    if (rest > 0) {
        canvas.Brush().Color = reversed ? startColor : endColor;
        canvas.FillRect(vertical ? Rect{rect.left, rect.bottom - rest, rect.right, rect.bottom}
                                 : Rect{rect.right - rest, rect.top, rect.right, rect.bottom});
    }
    canvas.Brush() = saved;
    canvas.Pen().Style = wb::gui::PenStyle::Solid;
}

std::string ShortenText(Canvas& canvas, const std::string& text, int maxWidth) {
    return ShortenText(text, maxWidth, [&](const std::string& t) { return canvas.TextWidth(t); });
}

void RegisterVlCursors() {
    wb::gui::RegisterCursor(crVlHand, wb::gui::CursorShape::Hand);
    wb::gui::RegisterCursor(crVlDrag, wb::gui::CursorShape::DragHand);
}

} // namespace velmora
