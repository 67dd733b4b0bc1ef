#pragma once
// The drawing surface the controls paint through: a pen, a brush and a font
// that drawing calls read at the moment they draw, over a QPainter on a QImage
// or on a widget. The rules are those of the programs' original platform:
// rectangles exclude their right and bottom edges, a line stops before its end
// point, text drawn with a solid brush fills its background, and system
// colours come from the fixed table of Colors.h.
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Colors.h"
#include "platform/gui/Geometry.h"

class QFont;
class QImage;
class QPainter;
class QPaintDevice;

namespace wb::gui {

class Bitmap;

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    PenStyle Style = PenStyle::Solid;
};

enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

struct TBrush {
    TColor Color = clWhite;
    BrushStyle Style = BrushStyle::Solid;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// Height in pixels: negative gives the character height, positive the cell
// height (both are treated as the font's pixel size here). Size is in points
// at 96 pixels per inch, so a drawing does not depend on the screen.
struct TFont {
    std::string Name = "DejaVu Sans";
    TColor Color = clWindowText;
    int Height = -11;
    TFontStyles Style = 0;
    int Orientation = 0;  // tenths of a degree, counter-clockwise

    int Size() const;
    void SetSize(int points);
    bool operator==(const TFont&) const = default;
};

QFont ToQFont(const TFont& font);
std::uint32_t ToQRgb(TColor color);  // 0xFFRRGGBB, the form QImage pixels take

// Text layout flags of DrawText.
enum TextFlag : unsigned {
    tfLeft = 0, tfCenter = 1, tfRight = 2,
    tfTop = 0, tfVCenter = 4, tfBottom = 8,
    tfSingleLine = 16,   // no line breaks; "\n" is drawn as it stands
    tfWordBreak = 32,    // break lines at blanks to fit the width
    tfNoClip = 64,
    tfEndEllipsis = 128  // a line too long ends in "..."
};

class Canvas {
public:
    Canvas();                               // measures text, draws nothing
    explicit Canvas(QImage& image);         // paints on the image
    explicit Canvas(Bitmap& bitmap);        // paints on the bitmap
    explicit Canvas(QPainter& painter);     // paints through a running painter
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    const TPen& Pen() const { return pen_; }
    const TBrush& Brush() const { return brush_; }
    const TFont& Font() const { return font_; }

    Point PenPos() const { return penPos_; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);              // the end point itself stays unpainted
    void Polyline(const std::vector<Point>& points);
    void Polygon(const std::vector<Point>& points);

    void Rectangle(const Rect& r);          // pen outline inside r, brush inside that
    void Rectangle(int left, int top, int right, int bottom) { Rectangle(Rect{left, top, right, bottom}); }
    void FillRect(const Rect& r);           // brush only
    void FrameRect(const Rect& r);          // a one-pixel border in the brush colour
    void Ellipse(const Rect& r);            // pen outline, brush inside, within r

    // Reading works on an image canvas only; elsewhere it gives clNone.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    // How far the font reaches above its baseline.
    int TextAscent() const;
    // Draws with the top-left corner at (x, y), rotated by the font's orientation.
    void TextOut(int x, int y, const std::string& text);
    // Like TextOut, clipped to r; a solid brush fills all of r.
    void TextRect(const Rect& r, int x, int y, const std::string& text);
    // Lays text out in r by the flags; a solid brush fills behind each line.
    // Returns the height of the text drawn.
    int DrawText(const Rect& r, const std::string& text, unsigned flags);

    void Draw(int x, int y, const QImage& image);
    void StretchDraw(const Rect& r, const QImage& image);
    void Draw(int x, int y, const Bitmap& bitmap);
    void StretchDraw(const Rect& r, const Bitmap& bitmap);

    // Drawing outside the clip rectangle leaves the surface untouched.
    void SetClipRect(const Rect& r);
    void ClearClipRect();
    bool HasClipRect() const { return clipped_; }
    Rect ClipRect() const { return clip_; }

    // The painter underneath, null on a measuring canvas.
    QPainter* Painter() const { return painter_; }

private:
    void PlotLine(Point from, Point to);
    void FillArea(const Rect& r, const TBrush& brush);
    void DrawLineText(int x, int y, const std::string& text, bool fillBack);

    std::unique_ptr<QPainter> ownPainter_;
    QPainter* painter_ = nullptr;
    QImage* image_ = nullptr;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    Point penPos_;
    int patternPhase_ = 0;
    bool clipped_ = false;
    Rect clip_;
};

} // namespace wb::gui
