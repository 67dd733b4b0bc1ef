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
#include <tuple>

#include "platform/gui/Form.h"
#include "tag_editor/controls/decoration/VlBorder.h"
#include "tag_editor/controls/decoration/VlLabel.h"
#include "tag_editor/controls/decoration/VlPrgres.h"
#include "platform/testing/Screens.h"
#include "platform/testing/PixelsAndFolders.h"

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
                                           std::pair{720, 0}, std::pair{359, 359}),
                         [](const auto& info) {
                             const int a = info.param.first;
                             return (a < 0 ? "Minus" + std::to_string(-a) : std::to_string(a)) + "Degrees";
                         });

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
                                           PartsCase{3, 8, 3, 38}, PartsCase{5, 0, 0, 0}),
                         [](const auto& info) {
                             return std::to_string(info.param.complete) + "Of" + std::to_string(info.param.total);
                         });

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

// ---- where turned text goes: as the canvas draws it from a point of its baseline ----

class PaintedLabel : public TVlLabel {
public:
    using TVlLabel::Paint;
};

constexpr double kPi = 3.14159265358979323846;
int Rnd(double v) { return int(std::lround(v)); }

QImage Blank() { return wb::gui::test::Blank(160, 120); }

// Text turned by `tenths` whose baseline point `along` pixels from its start lies at (x, y).
void OnBaseline(QImage& img, TFont font, int tenths, int x, int y, double along, const std::string& text) {
    font.Orientation = tenths;
    const int up = QFontMetrics(ToQFont(font)).ascent();
    const double a = tenths * kPi / 1800;
    Canvas c(img);
    c.Font() = font;
    c.Brush().Style = BrushStyle::Clear;
    c.TextOut(x - Rnd(along * std::cos(a) + up * std::sin(a)), y - Rnd(-along * std::sin(a) + up * std::cos(a)), text);
}

// A transparent 160 x 120 label in a 20-point font, large enough for a pixel to tell.
struct Turned {
    PaintedLabel label;
    TFont font;
    Turned(const char* caption, TRotation rotation, int angle, TAlignment alignment = taLeftJustify) {
        label.SetAutoSize(false);
        label.SetBounds(0, 0, 160, 120);
        label.SetCaption(caption);
        label.SetTextStyle(tsNormal);
        label.SetTransparent(true);
        label.SetAlignment(alignment);
        font = label.Font();
        font.SetSize(20);
        label.SetFont(font);
        label.SetRotation(rotation);
        label.SetAngle(angle);
        font.Color = label.CurrentColor();
    }
    int Width(const std::string& s) const {
        Canvas m;
        m.Font() = font;
        return m.TextWidth(s);
    }
    int Height(const std::string& s) const {
        Canvas m;
        m.Font() = font;
        return m.TextHeight(s);
    }
    QImage Painted() {
        QImage img = Blank();
        {
            Canvas c(img);
            label.Paint(c);
        }
        return img;
    }
};

struct FlatCase {
    const char* name;
    int angle;
    TAlignment alignment;
    // From the text width and a quarter of the line height, round the point (80, 60):
    // the baseline point and whether the text is centred on it (else starts there).
    std::function<std::tuple<int, int, bool>(int, int)> place;
};

class FlatTurnedText : public Decorations, public ::testing::WithParamInterface<FlatCase> {};

TEST_P(FlatTurnedText, SitsWhereItsAngleAndAlignmentPutIt) {
    Turned t("Turned", roFlat, GetParam().angle, GetParam().alignment);
    const int w = t.Width("Turned");
    auto [x, y, centred] = GetParam().place(w, t.Height("Pp") / 4);
    QImage expected = Blank();
    OnBaseline(expected, t.font, GetParam().angle * 10, x, y, centred ? w / 2.0 : 0, "Turned");
    EXPECT_TRUE(t.Painted() == expected);
}

// The baseline's middle a quarter of the line height from the point, across the text.
std::tuple<int, int, bool> Across(int angle, int q) {
    const double theta = angle * kPi / 180 + kPi / 2;
    return {80 - Rnd(std::cos(theta) * q), 60 + Rnd(std::sin(theta) * q), true};
}

INSTANTIATE_TEST_SUITE_P(
    Labels, FlatTurnedText,
    ::testing::Values(
        FlatCase{"FortyFive", 45, taLeftJustify, [](int, int q) { return Across(45, q); }},
        FlatCase{"ThreeHundredThirty", 330, taRightJustify, [](int, int q) { return Across(330, q); }},
        FlatCase{"NinetyLeft", 90, taLeftJustify, [](int, int q) { return std::tuple{80 + q, 120, false}; }},
        FlatCase{"NinetyRight", 90, taRightJustify, [](int w, int q) { return std::tuple{80 + q, w, false}; }},
        FlatCase{"NinetyCentred", 90, taCenter, [](int w, int q) { return std::tuple{80 + q, 120 - (120 - w) / 2, false}; }},
        FlatCase{"HalfTurnLeft", 180, taLeftJustify, [](int, int q) { return std::tuple{160, 60 - q, false}; }},
        FlatCase{"HalfTurnRight", 180, taRightJustify, [](int w, int q) { return std::tuple{w, 60 - q, false}; }},
        FlatCase{"HalfTurnCentred", 180, taCenter, [](int w, int q) { return std::tuple{160 - (160 - w) / 2, 60 - q, false}; }},
        FlatCase{"TwoSeventyLeft", 270, taLeftJustify, [](int, int q) { return std::tuple{80 - q, 0, false}; }},
        FlatCase{"TwoSeventyRight", 270, taRightJustify, [](int w, int q) { return std::tuple{80 - q, 120 - w, false}; }},
        FlatCase{"TwoSeventyCentred", 270, taCenter, [](int w, int q) { return std::tuple{80 - q, (120 - w) / 2, false}; }}),
    [](const auto& info) { return std::string(info.param.name); });

// Each character centred on the baseline at its point of the arc, tilted in tenths of a degree.
class CurvedText : public Decorations, public ::testing::WithParamInterface<int> {};

TEST_P(CurvedText, TiltsEachCharacterInTenthsOfADegree) {
    Turned t("Curve", roCurve, GetParam());
    const int h = t.Height("Yy"), step = t.Width("w") + 2;
    QImage expected = Blank();
    double theta = GetParam() * kPi / 180;
    for (char ch : std::string("Curve")) {
        const std::string one(1, ch);
        OnBaseline(expected, t.font, Rnd(theta * 1800 / kPi), 80 - Rnd(std::sin(theta) * (80 - h)),
                   60 - Rnd(std::cos(theta) * (60 - h)), t.Width(one) / 2.0, one);
        theta -= double(step) / 80;
    }
    EXPECT_TRUE(t.Painted() == expected);
}

INSTANTIATE_TEST_SUITE_P(Labels, CurvedText, ::testing::Values(0, 40, 90),
                         [](const auto& info) { return "StartsAt" + std::to_string(info.param) + "Degrees"; });

// The bars fill their share in the bar colour; the labels show their text.
TEST_F(Decorations, ScreenshotShowsTheBarsSharesAndTheTexts) {
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
    const QImage shot = wb::gui::test::Screenshot(form, "velmora-decorations");
    ASSERT_FALSE(shot.isNull());
    // Along a row clear of the percent text; a segment is 1/20 of the bar.
    for (auto [bar, row, share, slack] : {std::tuple{&solid, 2, 0.64, 2.0}, std::tuple{&led, 12, 0.40, 380 / 20.0}}) {
        const QImage box = wb::gui::test::BoxOf(shot, form, *bar);
        EXPECT_NEAR(wb::gui::test::ColourEndsAt(box, bar->BarColor(), row), share * box.width(), slack) << bar->Name();
        EXPECT_GE(wb::gui::test::ColourEndsAt(box, bar->BackColor(), row), box.width() - 3) << bar->Name();
    }
    for (TVlLabel* label : {&raised, &link, &turned})
        EXPECT_GE(wb::gui::test::InkColumns(wb::gui::test::BoxOf(shot, form, *label)), 30) << label->Name();
}

} // namespace
