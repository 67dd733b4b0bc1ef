#include "tag_editor/controls/VCLUtils.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

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

void StretchBitmapTransparent(Canvas& canvas, const QImage& picture, TColor transparent, const Rect& dest,
                              const Rect& src) {
    QPainter* painter = canvas.Painter();
    if (!painter || picture.isNull()) return;
    const QRect from(src.left, src.top, src.Width(), src.Height());
    QRect to(dest.left, dest.top, dest.Width(), dest.Height());
    if (to.width() <= 0) to.setWidth(from.width());
    if (to.height() <= 0) to.setHeight(from.height());
    QImage part = picture.copy(from);
    if (transparent != wb::gui::clNone || part.depth() == 1) {
        QRgb key = 0;
        if (part.depth() == 1) key = qRgb(255, 255, 255);
        else if (transparent == wb::gui::clDefault) key = part.pixel(0, part.height() - 1);
        else key = wb::gui::ToQRgb(transparent);
        part = part.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < part.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
            for (int x = 0; x < part.width(); ++x)
                if ((line[x] | 0xFF000000u) == (key | 0xFF000000u)) line[x] = 0;
        }
    }
    painter->drawImage(to, part);
}

void NotImplemented() {
    QApplication::restoreOverrideCursor();
    wb::gui::ShowMessage("Function not yet implemented", wb::gui::MsgKind::Plain);
    throw wb::gui::EAbort();
}

void RegisterVlCursors() {
    wb::gui::RegisterCursor(crVlHand, wb::gui::CursorShape::Hand);
    wb::gui::RegisterCursor(crVlDrag, wb::gui::CursorShape::DragHand);
}

} // namespace velmora
