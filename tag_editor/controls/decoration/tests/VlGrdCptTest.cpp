// The gradient caption: its fill, its rectangle, the row of captions, and
// the title bar it paints on a real form, active and inactive.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <filesystem>

#include "platform/gui/Form.h"
#include "tag_editor/controls/decoration/VCLUtils.h"
#include "tag_editor/controls/decoration/VlGrdCpt.h"
#include "platform/testing/PixelsAndFolders.h"

namespace {

using namespace velmora;
using namespace wb::gui;

// Band colours as the fill computes them: start + MulDiv(i, diff, n - 1),
// rounded to the nearest with halves away from zero.
int Channel(int from, int to, int i, int n) {
    const double exact = double(i) * (to - from) / (n - 1);
    const int q = int(exact >= 0 ? exact + 0.5 : exact - 0.5);
    return (from + q) & 0xFF;
}

struct FillCase {
    const char* name;
    int width, height;
    uint8_t direction, colors;
    TColor start, end;
    // Expected colour along the fill's axis, pixel by pixel.
    std::vector<TColor> along;
};

void PrintTo(const FillCase& c, std::ostream* os) { *os << c.name; }

std::vector<TColor> Bands(int n, int thick, TColor from, TColor to, int rest, TColor restColor) {
    std::vector<TColor> out;
    auto r = [](TColor c) { return c & 0xFF; };
    auto g = [](TColor c) { return (c >> 8) & 0xFF; };
    auto b = [](TColor c) { return (c >> 16) & 0xFF; };
    for (int i = 0; i < n; ++i)
        for (int t = 0; t < thick; ++t)
            out.push_back(RGBColor(Channel(r(from), r(to), i, n), Channel(g(from), g(to), i, n),
                                   Channel(b(from), b(to), i, n)));
    for (int i = 0; i < rest; ++i) out.push_back(restColor);
    return out;
}

const TColor kRed = RGBColor(255, 0, 0), kBlue = RGBColor(0, 0, 255);

class GradientFillTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(GradientFillTest, PaintsTheBandsPixelByPixel) {
    const FillCase& c = GetParam();
    const QImage image = wb::gui::test::Drawn(c.width, c.height, RGBColor(1, 2, 3), [&](Canvas& canvas) {
        GradientFill(canvas, {0, 0, c.width, c.height}, c.start, c.end, c.direction, c.colors);
    });
    const bool vertical = c.direction == gdTopToBottom || c.direction == gdBottomToTop;
    ASSERT_EQ(c.along.size(), size_t(vertical ? c.height : c.width));
    for (size_t i = 0; i < c.along.size(); ++i) {
        const int x = vertical ? c.width / 2 : int(i), y = vertical ? int(i) : c.height / 2;
        EXPECT_TRUE(wb::gui::test::Is(image, x, y, c.along[i])) << "pixel " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GradientFillTest,
    ::testing::Values(
        // 64 bands of one pixel, the last exactly the end colour, then 36 of it.
        FillCase{"SixtyFourOverAHundred", 100, 4, gdLeftToRight, 64, kRed, kBlue,
                 Bands(64, 1, kRed, kBlue, 36, kBlue)},
        // More colours than pixels: one band a pixel.
        FillCase{"FourOverThree", 3, 2, gdLeftToRight, 4, kRed, kBlue, {kRed, RGBColor(127, 0, 128), kBlue}},
        FillCase{"OneColourFillsWithTheStart", 5, 2, gdLeftToRight, 1, kRed, kBlue,
                 {kRed, kRed, kRed, kRed, kRed}},
        // Bottom to top runs from the end colour at the top to the start.
        FillCase{"BottomToTopBlackToWhite", 2, 7, gdBottomToTop, 3, clBlack, clWhite,
                 Bands(3, 2, clWhite, clBlack, 1, clBlack)},
        FillCase{"RightToLeftRemainderIsTheStart", 7, 2, gdRightToLeft, 2, kRed, kBlue,
                 Bands(2, 3, kBlue, kRed, 1, kRed)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GradientFillTest, AnEmptyRectangleDrawsNothing) {
    const QImage image = wb::gui::test::Drawn(
        4, 4, clWhite, [](Canvas& canvas) { GradientFill(canvas, {2, 2, 2, 4}, kRed, kBlue, gdLeftToRight, 64); });
    EXPECT_EQ(image, wb::gui::test::Blank(4, 4, clWhite));
}

struct RectCase {
    const char* name;
    TBorderStyle style;
    uint32_t icons;
    Rect expected;  // for a 400 x 300 window
};

void PrintTo(const RectCase& c, std::ostream* os) { *os << c.name; }

class CaptionRectTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(CaptionRectTest, LeavesTheButtonsOut) {
    const RectCase& c = GetParam();
    EXPECT_EQ(CaptionRect(400, 300, c.style, c.icons), c.expected);
}

const int F = 4, D = 3, H = 22, B = 22, SH = 17, SB = 17;
INSTANTIATE_TEST_SUITE_P(
    Borders, CaptionRectTest,
    ::testing::Values(
        RectCase{"SizeableAllThree", bsSizeable, biSystemMenu | biMinimize | biMaximize,
                 {F, F, 400 - F - 3 * B, F + H - 1}},
        // One of minimise and maximise still takes the pair's two places.
        RectCase{"SingleWithMinimizeOnly", bsSingle, biSystemMenu | biMinimize, {D, D, 400 - D - 3 * B, D + H - 1}},
        RectCase{"HelpGoesWithMinimize", bsSizeable, biSystemMenu | biMinimize | biHelp,
                 {F, F, 400 - F - 3 * B, F + H - 1}},
        RectCase{"NoSystemMenuNoButtons", bsSizeable, biMinimize | biMaximize, {F, F, 400 - F, F + H - 1}},
        RectCase{"DialogKeepsCloseAndHelp", bsDialog, biSystemMenu | biMinimize | biHelp,
                 {D, D, 400 - D - 2 * B, D + H - 1}},
        RectCase{"ToolWindowSmallCaption", bsToolWindow, biSystemMenu | biHelp, {D, D, 400 - D - SB, D + SH - 1}},
        RectCase{"NoBorder", bsNone, biSystemMenu, {0, 0, 400 - B, H - 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShortenText, CutsWholeCharactersUntilTheTextFits) {
    auto tenEach = [](const std::string& t) { return int(t.size()) * 10; };
    EXPECT_EQ(ShortenText("Velmora", 70, tenEach), "Velmora");
    EXPECT_EQ(ShortenText("Velmora", 69, tenEach), "Vel...");
    EXPECT_EQ(ShortenText("Velmora", 40, tenEach), "V...");
    EXPECT_EQ(ShortenText("Velmora", 10, tenEach), "...");
    // A two-byte letter is never cut in half.
    EXPECT_EQ(ShortenText("\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4", 60, tenEach), "\xC3\xA4...");
}

struct RowCase {
    const char* name;
    std::vector<TCaptionSlot> row;
    int title, space;
    std::vector<bool> shown;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class CaptionRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(CaptionRowTest, DropsCaptionsFromTheLeft) {
    const RowCase& c = GetParam();
    EXPECT_EQ(CaptionsShown(c.row, c.title, c.space), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CaptionRowTest,
    ::testing::Values(RowCase{"AllFit", {{30, true, false}, {30, true, false}}, 40, 102, {true, true}},
                      RowCase{"LeftmostGoesFirst", {{30, true, false}, {30, true, false}}, 40, 101, {false, true}},
                      RowCase{"GluedGoTogether", {{30, true, true}, {30, true, false}, {10, true, false}}, 40, 60,
                              {false, false, true}},
                      RowCase{"HiddenCountNothing", {{500, false, false}, {30, true, false}}, 40, 72, {true, true}},
                      RowCase{"TitleAloneTooWide", {{30, true, false}}, 400, 100, {false}}),
    [](const auto& info) { return std::string(info.param.name); });

struct TransparentCase {
    const char* name;
    TColor transparent;
    bool mono;
    // Which of the picture's two colours reach the canvas.
    bool redShows, blueShows;
};

void PrintTo(const TransparentCase& c, std::ostream* os) { *os << c.name; }

class TransparentDrawTest : public ::testing::TestWithParam<TransparentCase> {};

// A picture whose left half is red, right half blue (bottom-left: red),
// drawn over green, stretched twice as wide.
TEST_P(TransparentDrawTest, LeavesOneColourOut) {
    const TransparentCase& c = GetParam();
    // Two colours in one bit a pixel turn black and white.
    TBitmap picture(4, 2, c.mono ? pf1bit : pf24bit);
    if (c.mono) picture.Palette = {TRGBQuad{0, 0, 0, 0}, TRGBQuad{255, 255, 255, 0}};
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 2; ++y) {
            if (c.mono) picture.SetPixelIndex(x, y, x < 2 ? 0 : 1);
            else picture.SetPixel(x, y, x < 2 ? RGBColor(255, 0, 0) : RGBColor(0, 0, 255));
        }
    const QImage target = wb::gui::test::Drawn(8, 2, clLime, [&](Canvas& canvas) {
        StretchBitmapTransparent(canvas, picture, c.transparent, {0, 0, 8, 2}, {0, 0, 4, 2});
    });
    if (c.mono) {
        // Red and blue become black or white; white is always left out.
        int white = 0;
        for (int x = 0; x < 8; ++x) white += wb::gui::test::Is(target, x, 1, clWhite);
        EXPECT_EQ(white, 0);
        return;
    }
    EXPECT_EQ(wb::gui::test::Is(target, 1, 1, RGBColor(255, 0, 0)), c.redShows);
    EXPECT_EQ(wb::gui::test::Is(target, 6, 1, RGBColor(0, 0, 255)), c.blueShows);
    EXPECT_EQ(wb::gui::test::Is(target, 1, 1, clLime), !c.redShows);
    EXPECT_EQ(wb::gui::test::Is(target, 6, 1, clLime), !c.blueShows);
}

INSTANTIATE_TEST_SUITE_P(Colours, TransparentDrawTest,
                         ::testing::Values(TransparentCase{"NoneCopiesAll", clNone, false, true, true},
                                           TransparentCase{"BlueLeftOut", RGBColor(0, 0, 255), false, true, false},
                                           TransparentCase{"DefaultIsTheBottomLeftPixel", clDefault, false,
                                                           false, true},
                                           TransparentCase{"MonochromeLeavesWhiteOut", clNone, true, false,
                                                           false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The caption on a real form: the gradient runs from StartColor at the left
// of the title bar; inactive without GradientInactive it is plain.
class GradientCaptionOnAForm : public ::testing::Test {
protected:
    void SetUp() override { wb::gui::test::App(); }
};

TEST_F(GradientCaptionOnAForm, PaintsTheTitleBarActiveAndInactive) {
    Form form;
    form.SetCaption("Velmora");
    form.SetBounds(10, 10, 420, 160);
    auto* caption = new TVlGradientCaption(&form);
    caption->SetStartColor(clRed);
    caption->SetFormCaption("Velmora");
    TFont yellow = caption->Font();
    yellow.Color = clYellow;
    caption->SetFont(yellow);
    ASSERT_TRUE(form.OwnFrame());
    form.Show();
    const Rect r = caption->GetCaptionRect();
    const std::string screens = std::string(WB_BINARY_DIR) + "/screens";
    std::filesystem::create_directories(screens);
    auto shoot = [&](const char* name) {
        EXPECT_TRUE(form.SaveScreenshot(screens + "/" + name));
        return QImage(QString::fromStdString(screens + "/" + name));
    };
    form.Perform(WM_NCACTIVATE, 1);
    QImage active = shoot("velmora-caption-active.png");
    EXPECT_TRUE(wb::gui::test::Is(active, r.left, r.bottom - 2, clRed));
    EXPECT_TRUE(wb::gui::test::Is(active, r.right - 1, r.bottom - 2, clActiveCaption));
    form.Perform(WM_NCACTIVATE, 0);
    QImage inactive = shoot("velmora-caption-inactive.png");
    EXPECT_TRUE(wb::gui::test::Is(inactive, r.left, r.bottom - 2, clInactiveCaption));
    caption->SetGradientInactive(true);
    inactive = shoot("velmora-caption-inactive.png");
    EXPECT_TRUE(wb::gui::test::Is(inactive, r.left, r.bottom - 2, clRed));
    // Switched off, the title bar is the window's own again.
    caption->SetActive(false);
    EXPECT_FALSE(form.OwnFrame());
    form.Close();
}

} // namespace
