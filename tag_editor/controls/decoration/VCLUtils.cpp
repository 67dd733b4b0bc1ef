#include "tag_editor/controls/decoration/VCLUtils.h"

#include <algorithm>

#include "platform/gui/Bitmap.h"
#include "platform/gui/Cursors.h"
#include "platform/gui/DialogUnits.h"
#include "platform/gui/Guard.h"
#include "platform/gui/MessageBox.h"

namespace velmora {

using wb::gui::Canvas;
using wb::gui::MulDivRound;
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
            const int r = (first.r + MulDivRound(i, dr, bands - 1)) & 0xFF;
            const int g = (first.g + MulDivRound(i, dg, bands - 1)) & 0xFF;
            const int b = (first.b + MulDivRound(i, db, bands - 1)) & 0xFF;
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

void StretchBitmapTransparent(Canvas& canvas, const TBitmap& picture, TColor transparent, const Rect& dest,
                              const Rect& src) {
    if (!canvas.Painter() || picture.Empty()) return;
    Rect to = dest;
    if (to.Width() <= 0) to.right = to.left + src.Width();
    if (to.Height() <= 0) to.bottom = to.top + src.Height();
    const int left = std::max(0, src.left), top = std::max(0, src.top);
    const int right = std::min(picture.Width(), src.right), bottom = std::min(picture.Height(), src.bottom);
    if (right <= left || bottom <= top) return;
    wb::gui::Bitmap part(right - left, bottom - top, true);
    bool leaveOut = transparent != wb::gui::clNone || picture.Monochrome();
    TColor key = transparent;
    if (picture.Monochrome()) key = wb::gui::clWhite;
    else if (transparent == wb::gui::clDefault) key = picture.Pixel(left, bottom - 1);
    const std::uint32_t keyRgb = wb::gui::ToQRgb(key);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* line = part.ScanLine(y - top);
        for (int x = left; x < right; ++x) {
            const std::uint32_t rgb = wb::gui::ToQRgb(picture.Pixel(x, y));
            line[x - left] = leaveOut && rgb == keyRgb ? 0 : rgb;
        }
    }
    canvas.StretchDraw(to, part);
}

void NotImplemented() {
    // A wait cursor ends as the abort unwinds the scope that set it.
    wb::gui::ShowMessage("Function not yet implemented", wb::gui::MsgKind::Plain);
    throw wb::gui::EAbort();
}

void RegisterVlCursors() {
    wb::gui::RegisterCursor(crVlHand, wb::gui::CursorShape::Hand);
    wb::gui::RegisterCursor(crVlDrag, wb::gui::CursorShape::DragHand);
}

} // namespace velmora
