// Labels, borders and progress bars: their rules, their mouse and blink
// behaviour, and how they look on a form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QImage>
#include <QWidget>
#include <cmath>
#include <filesystem>
#include <functional>

#include "platform/gui/Form.h"
#include "tag_editor/controls/VlBorder.h"
#include "tag_editor/controls/VlLabel.h"
#include "tag_editor/controls/VlPrgres.h"
#include "tag_editor/controls/tests/TestApp.h"

namespace {

using namespace velmora;
using namespace wb::gui;

class Decorations : public ::testing::Test {
protected:
    void SetUp() override { wb::gui::test::App(); }
    static void Enter(WidgetControl& c) {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(c.Widget(), &e);
    }
    static void Leave(WidgetControl& c) {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(c.Widget(), &e);
    }
};

class LabelAngle : public ::testing::TestWithParam<std::pair<int, int>> {};
TEST_P(LabelAngle, IsKeptWithinATurn) { EXPECT_EQ(NormalizeLabelAngle(GetParam().first), GetParam().second); }
INSTANTIATE_TEST_SUITE_P(Angles, LabelAngle,
                         ::testing::Values(std::pair{370, 10}, std::pair{-30, 330}, std::pair{-400, -40},
                                           std::pair{720, 0}, std::pair{359, 359}));

TEST_F(Decorations, RotationAndAngleFollowEachOther) {
    TVlLabel label;
    label.SetAngle(45);
    EXPECT_EQ(label.Rotation(), roFlat);
    EXPECT_FALSE(label.AutoSize());
    label.SetCenterPoint(cpLowerLeft);
    label.SetRotation(roCurve);
    label.SetRotation(roFlat);
    EXPECT_EQ(label.Angle(), 0);
    EXPECT_EQ(label.CenterPoint(), cpCenter);
    label.SetAngle(45);
    EXPECT_EQ(label.Rotation(), roFlat);
    label.SetRotation(roNone);
    EXPECT_EQ(label.Angle(), 0);
}

TEST_F(Decorations, FlyByColourShowsOnlyWhileTheMouseIsOver) {
    Form form;
    TVlLabel link(form, "VlLabel1", "mail");
    TFont f = link.Font();
    f.Color = clBlue;
    link.SetFont(f);
    link.SetFlyByColor(clRed);
    int entered = 0, left = 0;
    link.OnMouseEnter = [&](wb::Persistent*) { ++entered; };
    link.OnMouseLeave = [&](wb::Persistent*) { ++left; };
    // Never entered: leaving and switching off keep the label's own colour.
    link.SetFlyByEnabled(true);
    Leave(link);
    EXPECT_EQ(link.CurrentColor(), clBlue);
    Enter(link);
    EXPECT_EQ(link.CurrentColor(), clRed);
    Leave(link);
    EXPECT_EQ(link.CurrentColor(), clBlue);
    Enter(link);
    link.SetFlyByEnabled(false);  // switched off while shown: the colour comes back
    EXPECT_EQ(link.CurrentColor(), clBlue);
    link.SetFlyByEnabled(false);
    EXPECT_EQ(link.CurrentColor(), clBlue);
    EXPECT_EQ(entered, 2);
    EXPECT_EQ(left, 2);
}

TEST_F(Decorations, BlinkingLabelsChangeInTheSameTickAndShareTheirIntervals) {
    TVlLabel a, b, still;
    for (TVlLabel* l : {&a, &b}) {
        l->SetBlinking(true);
        l->SetBlinkColor(clYellow);
    }
    a.SetBlinkIntervalOn(250);
    EXPECT_EQ(b.BlinkIntervalOn(), 250);
    ASSERT_NE(TVlLabel::Blinkers(), nullptr);
    const TColor normal = still.CurrentColor();
    TVlLabel::Blinkers()->Tick();
    TVlLabel::Blinkers()->Tick();
    const bool blinkPhase = a.CurrentColor() == clYellow;
    EXPECT_EQ(b.CurrentColor(), a.CurrentColor());
    EXPECT_EQ(still.CurrentColor(), normal);
    if (!blinkPhase) TVlLabel::Blinkers()->Tick();
    ASSERT_EQ(a.CurrentColor(), clYellow);
    // Switched off in the blink phase: the text is back in its colour.
    a.SetBlinking(false);
    EXPECT_EQ(a.CurrentColor(), normal);
    a.SetBlinkIntervalOn(500);
}

TEST_F(Decorations, TheBlinkListGoesWithTheLastLabel) {
    { TVlLabel one; EXPECT_NE(TVlLabel::Blinkers(), nullptr); }
    EXPECT_EQ(TVlLabel::Blinkers(), nullptr);
}

TEST_F(Decorations, CurvedTextInALabelWithoutRoomDrawsNothing) {
    Form form;
    TVlLabel label(form, "curve", "curved");
    label.SetRotation(roCurve);
    label.SetAutoSize(false);
    label.SetBorderWidth(10);
    label.SetBounds(0, 0, 20, 20);  // the radius is 20 - 2 * 10 = 0
    QImage before = label.Widget()->grab().toImage();
    label.SetCaption("still curved");
    QImage after = label.Widget()->grab().toImage();
    EXPECT_EQ(before, after);
}

struct BorderCase {
    const char* name;
    TFrameStyle outer, inner;
    TSides sides;
    int bevel, width;
    Rect expected;  // of a 50 x 40 border
};
void PrintTo(const BorderCase& c, std::ostream* os) { *os << c.name; }
class BorderClient : public Decorations, public ::testing::WithParamInterface<BorderCase> {};
TEST_P(BorderClient, ShrinksByEachBorder) {
    const BorderCase& c = GetParam();
    TVlBorder b;
    b.SetBounds(0, 0, 50, 40);
    b.SetBorderOuter(c.outer);
    b.SetBorderInner(c.inner);
    b.SetBorderSides(c.sides);
    b.SetBevelWidth(c.bevel);
    b.SetBorderWidth(c.width);
    EXPECT_EQ(b.ClientRect(), c.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Styles, BorderClient,
    ::testing::Values(BorderCase{"GrooveAllSides", fsGroove, fsNone, TSides::All(), 1, 0, {2, 2, 48, 38}},
                      BorderCase{"FlatLeftOnly", fsFlat, fsNone, TSides{sdLeft}, 1, 0, {1, 0, 50, 40}},
                      BorderCase{"StatusUsesTheBevel", fsStatus, fsPopup, TSides::All(), 3, 2, {8, 8, 42, 32}},
                      BorderCase{"NoneKeepsTheBand", fsNone, fsNone, TSides::All(), 1, 4, {4, 4, 46, 36}}),
    [](const auto& info) { return std::string(info.param.name); });

struct PartsCase {
    uint32_t complete, total;
    uint32_t stored;
    int percent;
};
class ProgressParts : public Decorations, public ::testing::WithParamInterface<PartsCase> {};
TEST_P(ProgressParts, GiveThePercentRoundedToEven) {
    TVlProgressBar bar;
    bar.SetTotalParts(GetParam().total);
    int reported = -1;
    bar.OnChange = [&](wb::Persistent*, int p) { reported = p; };
    bar.SetPartsComplete(GetParam().complete);
    EXPECT_EQ(bar.PartsComplete(), GetParam().stored);
    EXPECT_EQ(bar.Percent(), GetParam().percent);
    if (GetParam().percent != 0) {
        EXPECT_EQ(reported, GetParam().percent);
    }
}
INSTANTIATE_TEST_SUITE_P(Parts, ProgressParts,
                         ::testing::Values(PartsCase{7, 8, 7, 88}, PartsCase{10, 8, 8, 100}, PartsCase{1, 8, 1, 12},
                                           PartsCase{3, 8, 3, 38}, PartsCase{5, 0, 0, 0}));

TEST_F(Decorations, ProgressBarsTurnWithTheirShapeAndLedHidesThePercent) {
    TVlProgressBar bar;
    bar.SetBounds(0, 0, 377, 16);
    EXPECT_EQ(bar.Orientation(), orHorizontal);
    bar.SetBounds(0, 0, 30, 100);
    EXPECT_EQ(bar.Orientation(), orVertical);
    bar.SetBarStyle(bsLED);
    EXPECT_FALSE(bar.ShowPercent());
    EXPECT_EQ(bar.InteriorOffset(), 1);
    bar.SetBarStyle(bsTraditional);
    EXPECT_TRUE(bar.ShowPercent());
    EXPECT_EQ(bar.InteriorOffset(), 0);
    bar.SetTotalParts(10);
    bar.SetPartsComplete(5);
    bar.SetTotalParts(20);  // a new total starts again
    EXPECT_EQ(bar.PartsComplete(), 0u);
    EXPECT_EQ(bar.Percent(), 0);
}

// ---- where turned text goes ----

class PaintedLabel : public TVlLabel {
public:
    using TVlLabel::Paint;
};

constexpr double kPi = 3.14159265358979323846;

// Text drawn by the canvas from the top-left corner that puts the point
// `along` pixels into its baseline at (x, y), turned by `tenths`.
void TextOnBaseline(Canvas& c, TFont font, int tenths, int x, int y, double along, const std::string& text) {
    font.Orientation = tenths;
    const int ascent = QFontMetrics(ToQFont(font)).ascent();
    const double a = tenths * kPi / 1800.0;
    c.Font() = font;
    c.Brush().Style = BrushStyle::Clear;
    c.TextOut(x - int(std::lround(along * std::cos(a) + ascent * std::sin(a))),
              y - int(std::lround(-along * std::sin(a) + ascent * std::cos(a))), text);
}

QImage Blank() {
    QImage img(160, 120, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

QImage LabelImage(PaintedLabel& label) {
    QImage img = Blank();
    {
        Canvas c(img);
        label.Paint(c);
    }
    return img;
}

// Where an image is not white, for the failure message.
std::string Ink(const QImage& img) {
    int l = img.width(), t = img.height(), r = -1, b = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) {
                l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
            }
    return "ink " + std::to_string(l) + "," + std::to_string(t) + " to " + std::to_string(r) + "," + std::to_string(b);
}

struct Placed {
    int x, y;
    bool centred;  // else the text starts at (x, y)
};

struct FlatCase {
    const char* name;
    int angle;
    TAlignment alignment;
    // From the reference point, the text rectangle, the text width and a
    // quarter of the line height.
    std::function<Placed(Point, Rect, int, int)> place;
};

class FlatTurnedText : public Decorations, public ::testing::WithParamInterface<FlatCase> {};

TEST_P(FlatTurnedText, SitsWhereItsAngleAndAlignmentPutIt) {
    const FlatCase& c = GetParam();
    PaintedLabel label;
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 160, 120);
    label.SetCaption("Turned");
    label.SetTextStyle(tsNormal);
    label.SetTransparent(true);
    label.SetAlignment(c.alignment);
    TFont font = label.Font();
    font.SetSize(20);  // large enough for the baseline's place to tell
    label.SetFont(font);
    label.SetAngle(c.angle);
    font.Color = label.CurrentColor();
    Canvas measure;
    measure.Font() = font;
    const Placed at = c.place({80, 60}, {0, 0, 160, 120}, measure.TextWidth("Turned"), measure.TextHeight("Pp") / 4);
    QImage expected = Blank();
    {
        Canvas draw(expected);
        TextOnBaseline(draw, font, c.angle * 10, at.x, at.y, at.centred ? measure.TextWidth("Turned") / 2.0 : 0,
                       "Turned");
    }
    const QImage painted = LabelImage(label);
    EXPECT_TRUE(painted == expected) << Ink(painted) << " instead of " << Ink(expected);
}

// theta = angle + a quarter turn; the baseline point q beside the reference.
Placed Around(Point p, int angle, int q) {
    const double theta = angle * kPi / 180 + kPi / 2;
    return {p.x - int(std::lround(std::cos(theta) * q)), p.y + int(std::lround(std::sin(theta) * q)), true};
}

INSTANTIATE_TEST_SUITE_P(
    Labels, FlatTurnedText,
    ::testing::Values(
        FlatCase{"FortyFive", 45, taLeftJustify, [](Point p, Rect, int, int q) { return Around(p, 45, q); }},
        FlatCase{"ThreeHundredThirty", 330, taRightJustify, [](Point p, Rect, int, int q) { return Around(p, 330, q); }},
        FlatCase{"NinetyLeft", 90, taLeftJustify, [](Point p, Rect r, int, int q) { return Placed{p.x + q, r.bottom, false}; }},
        FlatCase{"NinetyRight", 90, taRightJustify,
                 [](Point p, Rect r, int w, int q) { return Placed{p.x + q, r.top + w, false}; }},
        FlatCase{"NinetyCentred", 90, taCenter,
                 [](Point p, Rect r, int w, int q) { return Placed{p.x + q, r.bottom - (r.bottom - w) / 2, false}; }},
        FlatCase{"HalfTurnLeft", 180, taLeftJustify, [](Point p, Rect r, int, int q) { return Placed{r.right, p.y - q, false}; }},
        FlatCase{"HalfTurnRight", 180, taRightJustify,
                 [](Point p, Rect r, int w, int q) { return Placed{r.left + w, p.y - q, false}; }},
        FlatCase{"HalfTurnCentred", 180, taCenter,
                 [](Point p, Rect r, int w, int q) { return Placed{r.right - (r.right - w) / 2, p.y - q, false}; }},
        FlatCase{"TwoSeventyLeft", 270, taLeftJustify, [](Point p, Rect r, int, int q) { return Placed{p.x - q, r.top, false}; }},
        FlatCase{"TwoSeventyRight", 270, taRightJustify,
                 [](Point p, Rect r, int w, int q) { return Placed{p.x - q, r.bottom - w, false}; }},
        FlatCase{"TwoSeventyCentred", 270, taCenter,
                 [](Point p, Rect r, int w, int q) { return Placed{p.x - q, (r.bottom - w) / 2, false}; }}),
    [](const auto& info) { return std::string(info.param.name); });

// Curved text: each character centred on the baseline at its point of the
// arc, tilted to the arc in tenths of a degree.
class CurvedText : public Decorations, public ::testing::WithParamInterface<int> {};

TEST_P(CurvedText, TiltsEachCharacterInTenthsOfADegree) {
    PaintedLabel label;
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 160, 120);
    label.SetCaption("Curve");
    label.SetTextStyle(tsNormal);
    label.SetTransparent(true);
    label.SetRotation(roCurve);
    label.SetAngle(GetParam());
    TFont font = label.Font();
    font.Color = label.CurrentColor();
    Canvas measure;
    measure.Font() = font;
    const int rx = 80, ry = 60, h = measure.TextHeight("Yy"), step = measure.TextWidth("w") + 2;
    QImage expected = Blank();
    {
        Canvas draw(expected);
        double theta = GetParam() * kPi / 180;
        for (char ch : std::string("Curve")) {
            const std::string one(1, ch);
            TextOnBaseline(draw, font, int(std::lround(theta * 1800 / kPi)),
                           80 - int(std::lround(std::sin(theta) * (rx - h))),
                           60 - int(std::lround(std::cos(theta) * (ry - h))), measure.TextWidth(one) / 2.0, one);
            theta -= double(step) / rx;
        }
    }
    const QImage painted = LabelImage(label);
    EXPECT_TRUE(painted == expected) << Ink(painted) << " instead of " << Ink(expected);
}

INSTANTIATE_TEST_SUITE_P(Labels, CurvedText, ::testing::Values(0, 40, 90));

TEST_F(Decorations, Screenshot) {
    Form form;
    form.SetCaption("Decorations");
    form.SetBounds(0, 0, 420, 200);
    TVlLabel raised(form, "raised", "Velmora");
    TFont big = raised.Font();
    big.SetSize(18);
    big.Style = fsBold;
    raised.SetFont(big);
    raised.SetTextStyle(tsRaised);
    raised.SetBounds(10, 10, 200, 40);
    TVlLabel link(form, "link", "velmora@example.org");
    link.SetTextStyle(tsNormal);
    link.SetBounds(10, 60, 200, 20);
    TVlLabel turned(form, "turned", "turned");
    turned.SetAngle(30);
    turned.SetBounds(230, 10, 160, 80);
    TVlBorder line(form, "line");
    line.SetBounds(10, 95, 380, 2);
    TVlProgressBar solid(form, "solid");
    solid.SetBounds(10, 110, 380, 24);
    solid.SetPercent(64);
    TVlProgressBar led(form, "led");
    led.SetBarStyle(bsLED);
    led.SetBounds(10, 145, 380, 24);
    led.SetPercent(40);
    form.Show();
    const std::string screens = std::string(WB_BINARY_DIR) + "/screens";
    std::filesystem::create_directories(screens);
    EXPECT_TRUE(form.SaveScreenshot(screens + "/velmora-decorations.png"));
}

} // namespace
