#include "platform/gui/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gui/Bitmap.h"
#include "platform/gui/DialogUnits.h"

namespace wb::gui {

namespace {

// The classic desktop scheme, indexed by system colour number (0x00BBGGRR).
constexpr std::uint32_t kSystemColors[] = {
    0xC8D0D4,  //  0 scroll bar
    0xA56E3A,  //  1 desktop background
    0x6A240A,  //  2 active caption
    0x808080,  //  3 inactive caption
    0xC8D0D4,  //  4 menu
    0xFFFFFF,  //  5 window
    0x000000,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0xFFFFFF,  //  9 caption text
    0xC8D0D4,  // 10 active border
    0xC8D0D4,  // 11 inactive border
    0x808080,  // 12 application work space
    0x6A240A,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC8D0D4,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC8D0D4,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x404040,  // 21 3D dark shadow
    0xC8D0D4,  // 22 3D light
    0x000000,  // 23 tooltip text
    0xE1FFFF,  // 24 tooltip background
    0xB5B5B5,  // 25 (unused)
    0x800000,  // 26 hot-tracked item
    0xF0CAA6,  // 27 active caption gradient
    0xC0C0C0,  // 28 inactive caption gradient
};

QColor ToQColor(TColor c) { return QColor::fromRgb(ToQRgb(c)); }

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// On-off run lengths of the dotted pens, in pixels.
const std::vector<int>& PatternOf(PenStyle style) {
    static const std::vector<int> solid{}, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
    case PenStyle::Dash: return dash;
    case PenStyle::Dot: return dot;
    case PenStyle::DashDot: return dashDot;
    case PenStyle::DashDotDot: return dashDotDot;
    default: return solid;
    }
}

bool PatternOn(const std::vector<int>& pattern, int phase) {
    if (pattern.empty()) return true;
    int period = 0;
    for (int n : pattern) period += n;
    phase %= period;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (phase < pattern[i]) return i % 2 == 0;
        phase -= pattern[i];
    }
    return true;
}

Qt::BrushStyle ToQtBrushStyle(BrushStyle s) {
    switch (s) {
    case BrushStyle::Solid: return Qt::SolidPattern;
    case BrushStyle::Clear: return Qt::NoBrush;
    case BrushStyle::Horizontal: return Qt::HorPattern;
    case BrushStyle::Vertical: return Qt::VerPattern;
    case BrushStyle::FDiagonal: return Qt::FDiagPattern;
    case BrushStyle::BDiagonal: return Qt::BDiagPattern;
    case BrushStyle::Cross: return Qt::CrossPattern;
    case BrushStyle::DiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

QBrush ToQBrush(const TBrush& b) { return QBrush(ToQColor(b.Color), ToQtBrushStyle(b.Style)); }

QPen CosmeticPen(TColor c) {
    QPen p(ToQColor(c));
    p.setWidth(1);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}

} // namespace

std::uint32_t ColorToRGB(TColor color) {
    if (IsSystemColor(color)) {
        unsigned index = std::uint32_t(color) & 0xFFu;
        if (index < std::size(kSystemColors)) return kSystemColors[index];
        return 0;
    }
    return std::uint32_t(color) & 0x00FFFFFFu;
}

std::uint32_t ToQRgb(TColor color) {
    std::uint32_t bgr = ColorToRGB(color);
    return 0xFF000000u | (std::uint32_t(RedOf(bgr)) << 16) | (std::uint32_t(GreenOf(bgr)) << 8) |
           std::uint32_t(BlueOf(bgr));
}

int TFont::Size() const { return -MulDivRound(Height, 72, 96); }
void TFont::SetSize(int points) { Height = -MulDivRound(points, 96, 72); }

QFont ToQFont(const TFont& font) {
    QFont f(Q(font.Name));
    f.setPixelSize(std::max(1, std::abs(font.Height)));
    f.setBold(font.Style & fsBold);
    f.setItalic(font.Style & fsItalic);
    f.setUnderline(font.Style & fsUnderline);
    f.setStrikeOut(font.Style & fsStrikeOut);
    return f;
}

Canvas::Canvas() = default;

Canvas::Canvas(QImage& image)
    : ownPainter_(std::make_unique<QPainter>(&image)), painter_(ownPainter_.get()), image_(&image) {
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

Canvas::Canvas(QPainter& painter) : painter_(&painter) {
    painter_->setRenderHint(QPainter::Antialiasing, false);
    if (painter.device() && painter.device()->devType() == QInternal::Image)
        image_ = static_cast<QImage*>(painter.device());
}

Canvas::Canvas(Bitmap& bitmap) : Canvas(BitmapAccess::ToQImage(bitmap)) {}

Canvas::~Canvas() = default;

void Canvas::MoveTo(int x, int y) {
    penPos_ = {x, y};
    patternPhase_ = 0;
}

void Canvas::LineTo(int x, int y) {
    PlotLine(penPos_, {x, y});
    penPos_ = {x, y};
}

void Canvas::Polyline(const std::vector<Point>& points) {
    if (points.empty()) return;
    Point saved = penPos_;
    MoveTo(points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) LineTo(points[i].x, points[i].y);
    penPos_ = saved;
}

void Canvas::Polygon(const std::vector<Point>& points) {
    if (!painter_ || points.size() < 2) return;
    QPolygon poly;
    for (auto& p : points) poly << QPoint(p.x, p.y);
    painter_->save();
    painter_->setPen(pen_.Style == PenStyle::Clear ? QPen(Qt::NoPen) : CosmeticPen(pen_.Color));
    painter_->setBrush(ToQBrush(brush_));
    painter_->drawPolygon(poly);
    painter_->restore();
}

// Lines one pixel wide are plotted pixel by pixel (Bresenham), so every
// machine paints the same pixels and the end point stays free; wider pens
// go to the painter with flat caps, which also stop at the end point.
void Canvas::PlotLine(Point a, Point b) {
    if (!painter_ || pen_.Style == PenStyle::Clear || a == b) return;
    if (pen_.Width > 1) {
        QPen p(ToQColor(pen_.Color));
        p.setWidth(pen_.Width);
        p.setCapStyle(Qt::FlatCap);
        painter_->save();
        painter_->setPen(p);
        painter_->drawLine(a.x, a.y, b.x, b.y);
        painter_->restore();
        return;
    }
    QColor colour = ToQColor(pen_.Color);
    const auto& pattern = PatternOf(pen_.Style);
    if (pattern.empty() && (a.x == b.x || a.y == b.y)) {
        Rect r = a.x == b.x ? Rect{a.x, std::min(a.y, b.y + 1), a.x + 1, std::max(a.y + 1, b.y)}
                            : Rect{std::min(a.x, b.x + 1), a.y, std::max(a.x + 1, b.x), a.y + 1};
        painter_->fillRect(QRect(r.left, r.top, r.Width(), r.Height()), colour);
        return;
    }
    std::vector<QPoint> pts;
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int err = dx + dy, x = a.x, y = a.y;
    while (x != b.x || y != b.y) {
        if (PatternOn(pattern, patternPhase_++)) pts.emplace_back(x, y);
        int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
    painter_->save();
    painter_->setPen(CosmeticPen(pen_.Color));
    painter_->drawPoints(pts.data(), int(pts.size()));
    painter_->restore();
}

void Canvas::FillArea(const Rect& r, const TBrush& brush) {
    if (!painter_ || r.IsEmpty() || brush.Style == BrushStyle::Clear) return;
    painter_->fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQBrush(brush));
}

void Canvas::Rectangle(const Rect& r) {
    if (!painter_ || r.IsEmpty()) return;
    int w = pen_.Style == PenStyle::Clear ? 0 : std::max(1, pen_.Width);
    w = std::min({w, (r.Width() + 1) / 2, (r.Height() + 1) / 2});
    FillArea({r.left + w, r.top + w, r.right - w, r.bottom - w}, brush_);
    if (w == 0) return;
    if (pen_.Style == PenStyle::Solid || pen_.Width > 1) {
        TBrush edge{pen_.Color, BrushStyle::Solid};
        FillArea({r.left, r.top, r.right, r.top + w}, edge);
        FillArea({r.left, r.bottom - w, r.right, r.bottom}, edge);
        FillArea({r.left, r.top + w, r.left + w, r.bottom - w}, edge);
        FillArea({r.right - w, r.top + w, r.right, r.bottom - w}, edge);
        return;
    }
    Point saved = penPos_;
    MoveTo(r.left, r.top);
    LineTo(r.right - 1, r.top);
    LineTo(r.right - 1, r.bottom - 1);
    LineTo(r.left, r.bottom - 1);
    LineTo(r.left, r.top);
    penPos_ = saved;
}

void Canvas::FillRect(const Rect& r) { FillArea(r, brush_); }

void Canvas::FrameRect(const Rect& r) {
    if (r.IsEmpty()) return;
    TBrush edge{brush_.Color, BrushStyle::Solid};
    FillArea({r.left, r.top, r.right, r.top + 1}, edge);
    FillArea({r.left, r.bottom - 1, r.right, r.bottom}, edge);
    FillArea({r.left, r.top, r.left + 1, r.bottom}, edge);
    FillArea({r.right - 1, r.top, r.right, r.bottom}, edge);
}

void Canvas::Ellipse(const Rect& r) {
    if (!painter_ || r.IsEmpty()) return;
    painter_->save();
    painter_->setPen(pen_.Style == PenStyle::Clear ? QPen(Qt::NoPen) : CosmeticPen(pen_.Color));
    painter_->setBrush(ToQBrush(brush_));
    painter_->drawEllipse(QRect(r.left, r.top, std::max(1, r.Width() - 1), std::max(1, r.Height() - 1)));
    painter_->restore();
}

TColor Canvas::Pixel(int x, int y) const {
    if (!image_ || !image_->valid(x, y)) return clNone;
    QRgb p = image_->pixel(x, y);
    return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

void Canvas::SetPixel(int x, int y, TColor color) {
    if (!painter_) return;
    painter_->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

int Canvas::TextWidth(const std::string& text) const {
    return QFontMetrics(ToQFont(font_)).horizontalAdvance(Q(text));
}

int Canvas::TextHeight(const std::string&) const { return QFontMetrics(ToQFont(font_)).height(); }
int Canvas::TextAscent() const { return QFontMetrics(ToQFont(font_)).ascent(); }

void Canvas::DrawLineText(int x, int y, const std::string& text, bool fillBack) {
    QFont f = ToQFont(font_);
    QFontMetrics fm(f);
    QString s = Q(text);
    painter_->save();
    painter_->translate(x, y);
    if (font_.Orientation != 0) painter_->rotate(-font_.Orientation / 10.0);
    if (fillBack && brush_.Style != BrushStyle::Clear)
        painter_->fillRect(QRect(0, 0, fm.horizontalAdvance(s), fm.height()), ToQBrush(brush_));
    painter_->setFont(f);
    painter_->setPen(ToQColor(font_.Color));
    painter_->drawText(QPoint(0, fm.ascent()), s);
    painter_->restore();
}

void Canvas::TextOut(int x, int y, const std::string& text) {
    if (!painter_) return;
    DrawLineText(x, y, text, true);
    penPos_ = {x + TextWidth(text), y};
}

void Canvas::TextRect(const Rect& r, int x, int y, const std::string& text) {
    if (!painter_) return;
    painter_->save();
    painter_->setClipRect(QRect(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height())),
                          clipped_ ? Qt::IntersectClip : Qt::ReplaceClip);
    FillArea(r, brush_);
    if (!text.empty()) DrawLineText(x, y, text, false);
    painter_->restore();
}

int Canvas::DrawText(const Rect& r, const std::string& text, unsigned flags) {
    QFontMetrics fm(ToQFont(font_));
    std::vector<std::string> lines;
    auto fits = [&](const std::string& s) { return fm.horizontalAdvance(Q(s)) <= r.Width(); };
    auto addParagraph = [&](const std::string& para) {
        if (!(flags & tfWordBreak) || fits(para)) { lines.push_back(para); return; }
        std::string line;
        size_t i = 0;
        while (i < para.size()) {
            size_t j = para.find(' ', i);
            std::string word = para.substr(i, j == std::string::npos ? std::string::npos : j - i);
            std::string trial = line.empty() ? word : line + " " + word;
            if (!line.empty() && !fits(trial)) {
                lines.push_back(line);
                line = word;
            } else {
                line = trial;
            }
            if (j == std::string::npos) break;
            i = j + 1;
        }
        lines.push_back(line);
    };
    if (flags & tfSingleLine) {
        addParagraph(text);
    } else {
        size_t start = 0;
        for (;;) {
            size_t nl = text.find('\n', start);
            std::string para = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
            if (!para.empty() && para.back() == '\r') para.pop_back();
            addParagraph(para);
            if (nl == std::string::npos) break;
            start = nl + 1;
        }
    }
    if (flags & tfEndEllipsis) {
        for (auto& line : lines) {
            if (fits(line)) continue;
            // Cut whole UTF-8 characters until the line and its dots fit.
            while (!line.empty() && !fits(line + "...")) {
                line.pop_back();
                while (!line.empty() && (static_cast<unsigned char>(line.back()) & 0xC0) == 0x80)
                    line.pop_back();
            }
            line += "...";
        }
    }
    int lineHeight = fm.height();
    int total = lineHeight * int(lines.size());
    if (!painter_) return total;
    int y = r.top;
    if (flags & tfBottom) y = r.bottom - total;
    else if (flags & tfVCenter) y = r.top + (r.Height() - total) / 2;
    painter_->save();
    if (!(flags & tfNoClip))
        painter_->setClipRect(QRect(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height())),
                              clipped_ ? Qt::IntersectClip : Qt::ReplaceClip);
    for (auto& line : lines) {
        int w = fm.horizontalAdvance(Q(line));
        int x = r.left;
        if (flags & tfRight) x = r.right - w;
        else if (flags & tfCenter) x = r.left + (r.Width() - w) / 2;
        DrawLineText(x, y, line, true);
        y += lineHeight;
    }
    painter_->restore();
    return total;
}

void Canvas::Draw(int x, int y, const QImage& image) {
    if (painter_) painter_->drawImage(QPoint(x, y), image);
}

void Canvas::StretchDraw(const Rect& r, const QImage& image) {
    if (painter_) painter_->drawImage(QRect(r.left, r.top, r.Width(), r.Height()), image);
}

void Canvas::Draw(int x, int y, const Bitmap& bitmap) { Draw(x, y, BitmapAccess::ToQImage(bitmap)); }
void Canvas::StretchDraw(const Rect& r, const Bitmap& bitmap) { StretchDraw(r, BitmapAccess::ToQImage(bitmap)); }

void Canvas::SetClipRect(const Rect& r) {
    clipped_ = true;
    clip_ = r;
    if (painter_) painter_->setClipRect(QRect(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height())));
}

void Canvas::ClearClipRect() {
    clipped_ = false;
    clip_ = {};
    if (painter_) painter_->setClipping(false);
}

} // namespace wb::gui
