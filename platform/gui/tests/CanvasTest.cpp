#include "platform/gui/Canvas.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/testing/PaintTestApp.h"
#include "platform/testing/TestApp.h"

using namespace wb::gui;

namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::test::App();
        image = QImage(60, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    TColor At(int x, int y) const {
        QRgb p = image.pixel(x, y);
        return RGBColor(qRed(p), qGreen(p), qBlue(p));
    }
    void ExpectAt(std::initializer_list<std::tuple<int, int, TColor>> pixels) const {
        for (auto [x, y, colour] : pixels) EXPECT_EQ(At(x, y), colour) << x << "," << y;
    }
    // The smallest rectangle holding every pixel that is not `back`.
    Rect Ink(TColor back, Rect area) const {
        Rect box{area.right, area.bottom, area.left, area.top};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (At(x, y) != back) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
        return box;
    }
    QImage image;
};

TEST_F(CanvasTest, LinesStopBeforeTheirEndPoint) {
    {
        Canvas c(image);
        c.Pen().Color = clRed;
        c.MoveTo(5, 5);
        c.LineTo(15, 5);    // right
        c.LineTo(15, 15);   // down, starting on the pixel the last line left free
        c.MoveTo(30, 20);
        c.LineTo(20, 20);   // leftwards
        c.MoveTo(40, 0);
        c.LineTo(44, 4);    // diagonal
        EXPECT_EQ(c.PenPos(), (Point{44, 4}));
    }
    for (int x = 5; x < 15; ++x) EXPECT_EQ(At(x, 5), clRed) << x;
    for (int y = 5; y < 15; ++y) EXPECT_EQ(At(15, y), clRed) << y;
    for (int x = 21; x <= 30; ++x) EXPECT_EQ(At(x, 20), clRed) << x;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(At(40 + i, i), clRed) << i;
    ExpectAt({{15, 15, clWhite}, {4, 5, clWhite}, {20, 20, clWhite}, {44, 4, clWhite}});
}

TEST_F(CanvasTest, DottedPenRunsThreeOnThreeOffAcrossSegments) {
    {
        Canvas c(image);
        c.Pen().Style = PenStyle::Dot;
        c.MoveTo(0, 1);
        c.LineTo(4, 1);
        c.LineTo(13, 1);  // the pattern goes on where the last segment stopped
    }
    const char* expected = "xxx...xxx...x";
    for (int x = 0; x < 13; ++x)
        EXPECT_EQ(At(x, 1) == clBlack, expected[x] == 'x') << x;
}

TEST_F(CanvasTest, RectanglesExcludeRightAndBottomEdges) {
    {
        Canvas c(image);
        c.Pen().Color = clBlue;
        c.Brush().Color = clYellow;
        c.Rectangle(2, 2, 10, 8);
        c.Brush().Color = clLime;
        c.FillRect({20, 2, 24, 5});
        c.Brush().Color = clRed;
        c.FrameRect({30, 2, 35, 7});
        c.Brush().Style = BrushStyle::Clear;
        c.Pen().Color = clBlack;
        c.Rectangle(40, 2, 45, 7);
    }
    EXPECT_EQ(Ink(clWhite, {0, 0, 15, 15}), (Rect{2, 2, 10, 8}));
    EXPECT_EQ(Ink(clWhite, {15, 0, 28, 15}), (Rect{20, 2, 24, 5}));
    ExpectAt({{2, 2, clBlue}, {9, 7, clBlue}, {3, 3, clYellow}, {8, 6, clYellow}, {30, 2, clRed}, {34, 6, clRed},
              {32, 2, clRed}, {32, 6, clRed}, {30, 4, clRed}, {34, 4, clRed}, {32, 4, clWhite}, {40, 2, clBlack}});
    EXPECT_EQ(At(42, 4), clWhite);  // a clear brush leaves the inside alone
}

// A system colour paints as the colour it stands for and reads back as it;
// the colours drawn together stay apart: text from its ground, a button's
// shadow darker than its face and its light edge lighter.
TEST_F(CanvasTest, SystemColoursPaintAsTheColourTheyStandFor) {
    auto grey = [](TColor c) {
        const QRgb p = ToQRgb(c);
        return qRed(p) + qGreen(p) + qBlue(p);
    };
    EXPECT_NE(ToQRgb(clWindowText), ToQRgb(clWindow));
    EXPECT_NE(ToQRgb(clHighlightText), ToQRgb(clHighlight));
    EXPECT_LT(grey(clBtnShadow), grey(clBtnFace));
    EXPECT_GT(grey(clBtnHighlight), grey(clBtnFace));
    {
        Canvas c(image);
        c.Brush().Color = clBtnFace;
        c.FillRect({0, 0, 4, 4});
        c.SetPixel(10, 10, clHighlight);
        c.SetPixel(11, 10, RGBColor(1, 2, 3));
        c.SetPixel(12, 10, SystemColor(200));  // no such colour: black, not noise
        EXPECT_EQ(c.Pixel(1, 1), TColor(ColorToRGB(clBtnFace)));
        EXPECT_EQ(c.Pixel(10, 10), TColor(ColorToRGB(clHighlight)));
        EXPECT_EQ(c.Pixel(-1, 0), clNone);
    }
    EXPECT_EQ(image.pixel(1, 1), ToQRgb(clBtnFace));
    ExpectAt({{11, 10, RGBColor(1, 2, 3)}, {12, 10, clBlack}});
}

TEST_F(CanvasTest, TextWithASolidBrushFillsItsExtent) {
    int w = 0, h = 0;
    {
        Canvas c(image);
        c.Brush().Color = clAqua;
        c.Font().Color = clBlack;
        w = c.TextWidth("Wy");
        h = c.TextHeight("Wy");
        c.TextOut(3, 4, "Wy");
        EXPECT_EQ(c.PenPos(), (Point{3 + w, 4}));
    }
    ASSERT_GT(w, 0);
    EXPECT_EQ(Ink(clWhite, {0, 0, 60, 40}), (Rect{3, 4, 3 + w, 4 + h}));
    EXPECT_NE(Ink(clAqua, {3, 4, 3 + w, 4 + h}).right, 3) << "no glyph drawn";
}

TEST_F(CanvasTest, TextRectClipsAndFillsTheWholeRectangle) {
    {
        Canvas c(image);
        c.Brush().Color = clYellow;
        c.TextRect({10, 10, 20, 18}, 12, 8, "WWWWWWWW");
        c.Brush().Style = BrushStyle::Clear;
        c.TextRect({30, 10, 50, 30}, 32, 12, "");
    }
    EXPECT_EQ(Ink(clWhite, {0, 0, 60, 40}), (Rect{10, 10, 20, 18}));
    ExpectAt({{10, 10, clYellow}, {11, 17, clYellow}});  // left of the text, on the bottom row
}

TEST_F(CanvasTest, ClipRectKeepsDrawingInside) {
    {
        Canvas c(image);
        c.SetClipRect({5, 5, 10, 10});
        c.Brush().Color = clRed;
        c.FillRect({0, 0, 60, 40});
        c.TextRect({0, 0, 60, 40}, 0, 0, "clipped");
        c.ClearClipRect();
        c.SetPixel(50, 30, clBlue);
    }
    EXPECT_EQ(Ink(clWhite, {0, 0, 45, 40}), (Rect{5, 5, 10, 10}));
    EXPECT_EQ(At(50, 30), clBlue);
}

TEST_F(CanvasTest, RotatedTextRunsUpwardsFromItsOrigin) {
    image = QImage(80, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    int w = 0;
    {
        Canvas c(image);
        c.Brush().Style = BrushStyle::Clear;
        c.Font().Orientation = 900;
        w = c.TextWidth("HHHH");
        c.TextOut(20, 70, "HHHH");
    }
    Rect ink = Ink(clWhite, {0, 0, 80, 80});
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.bottom, 70);
    EXPECT_GT(70 - ink.top, w / 2);   // taller than wide: it was turned
    EXPECT_LT(ink.Width(), w / 2);
}

TEST_F(CanvasTest, DrawTextAlignsInsideTheRectangle) {
    int w = 0, h = 0;
    Rect box{10, 5, 50, 35};
    {
        Canvas c(image);
        c.Brush().Color = clLime;
        w = c.TextWidth("ab");
        h = c.TextHeight("ab");
        EXPECT_EQ(c.DrawText(box, "ab", tfRight | tfBottom | tfSingleLine), h);
    }
    EXPECT_EQ(Ink(clWhite, {0, 0, 60, 40}), (Rect{50 - w, 35 - h, 50, 35}));
    image.fill(Qt::white);
    {
        Canvas c(image);
        c.Brush().Color = clLime;
        EXPECT_EQ(c.DrawText(box, "ab\nab", tfCenter | tfVCenter), 2 * h);
    }
    int x = 10 + (40 - w) / 2, y = 5 + (30 - 2 * h) / 2;
    EXPECT_EQ(Ink(clWhite, {0, 0, 60, 40}), (Rect{x, y, x + w, y + 2 * h}));
}

TEST_F(CanvasTest, EndEllipsisAndWordBreakKeepLinesInTheirWidth) {
    Canvas measure;
    int width = measure.TextWidth("alpha beta");
    Rect narrow{0, 0, width - 1, 100};
    int lineHeight = measure.TextHeight("x");
    EXPECT_EQ(measure.DrawText(narrow, "alpha beta", tfWordBreak), 2 * lineHeight);
    EXPECT_EQ(measure.DrawText(narrow, "alpha beta", tfSingleLine | tfEndEllipsis), lineHeight);
    {
        Canvas c(image);
        c.DrawText({0, 0, 20, 20}, "a long text that does not fit", tfSingleLine | tfEndEllipsis | tfNoClip);
    }
    EXPECT_LE(Ink(clWhite, {0, 0, 60, 40}).right, 20);
}

TEST(FontTest, SizeAndHeightConvertAtNinetySixDpi) {
    TFont f;
    f.SetSize(8);
    EXPECT_EQ(f.Height, -11);
    EXPECT_EQ(f.Size(), 8);
    f.Height = -16;
    EXPECT_EQ(f.Size(), 12);
    f.SetSize(10);
    EXPECT_EQ(f.Height, -13);
}

// A widget paints through a canvas over its own painter.
class Swatch : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        Canvas c(p);
        c.Brush().Color = clBtnFace;
        c.FillRect({0, 0, width(), height()});
        c.Pen().Color = clBtnShadow;
        c.MoveTo(0, 9);
        c.LineTo(width(), 9);
    }
};

TEST_F(CanvasTest, WidgetPaintsThroughItsPainter) {
    Swatch w;
    w.resize(20, 12);
    QImage shot = w.grab().toImage();
    EXPECT_EQ(shot.pixel(3, 3), ToQRgb(clBtnFace));
    EXPECT_EQ(shot.pixel(19, 9), ToQRgb(clBtnShadow));
    EXPECT_EQ(shot.pixel(5, 10), ToQRgb(clBtnFace));
}

} // namespace
