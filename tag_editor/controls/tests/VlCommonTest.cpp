#include "tag_editor/controls/VlCommon.h"

#include <gtest/gtest.h>

#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

using namespace wb::gui;
using wb::gui::test::Blank;
using wb::gui::test::Drawn;
using wb::gui::test::ExpectPixels;
using wb::gui::test::Is;

namespace {

class Drawing : public ::testing::Test {
protected:
    void SetUp() override { wb::gui::test::App(); }
    // A white and lime bar drawn over the whole of a black image.
    static QImage SegmentBar(int w, int h, TOrientation o, int value, int segments) {
        return Drawn(w, h, clBlack,
                     [&](Canvas& c) { DrawSegmentBar(c, {0, 0, w, h}, o, value, segments, clWhite, clLime); });
    }
};

TEST_F(Drawing, SideLinesStopBeforeTheirEndAndShrinkOnlyTheChosenSides) {
    Rect r;
    QImage img = Drawn(10, 10, clWhite, [&](Canvas& c) { r = DrawFrameStyle(c, {0, 0, 10, 10}, fsFlat, {sdTop}); });
    EXPECT_EQ(r, (Rect{0, 1, 10, 10}));
    for (int x = 0; x < 10; ++x) EXPECT_TRUE(Is(img, x, 0, clWindowFrame)) << x;
    EXPECT_TRUE(Is(img, 0, 1, clWhite));

    QImage none =
        Drawn(10, 10, clWhite, [&](Canvas& c) { r = DrawFrameStyle(c, {1, 2, 8, 9}, fsNone, TSides::All()); });
    EXPECT_EQ(r, (Rect{1, 2, 8, 9}));
    EXPECT_EQ(none, Blank(10, 10));

    QImage right = Drawn(10, 10, clWhite,
                         [&](Canvas& c) { r = DrawSideLines(c, {2, 2, 8, 8}, clRed, {sdRight, sdBottom}, clBlue); });
    EXPECT_EQ(r, (Rect{2, 2, 7, 7}));
    ExpectPixels(right, {{7, 2, clBlue}, {7, 7, clBlue}, {2, 7, clBlue}, {8, 8, clWhite}, {2, 2, clWhite}});
}

TEST_F(Drawing, TwoRingStylesPaintOuterThenInnerRing) {
    Rect r;
    QImage img = Drawn(10, 10, clWhite, [&](Canvas& c) { r = DrawBorder(c, {0, 0, 10, 10}, fsLowered); });
    EXPECT_EQ(r, (Rect{2, 2, 8, 8}));
    // The second colour wins the corners at (9, 0) and (0, 9).
    ExpectPixels(img, {{0, 0, clBtnShadow}, {0, 5, clBtnShadow}, {9, 5, clBtnHighlight}, {9, 0, clBtnHighlight},
                       {0, 9, clBtnHighlight}, {1, 1, clBtnText}, {8, 8, cl3DLight}, {2, 2, clWhite}});

    QImage up = Drawn(10, 10, clWhite, [](Canvas& c) { DrawBorder(c, {0, 0, 10, 10}, fsButtonUp); });
    ExpectPixels(up, {{0, 4, clBtnHighlight}, {9, 4, cl3DDkShadow}, {1, 4, cl3DLight}, {8, 4, clBtnShadow}});
}

TEST_F(Drawing, GrooveClosesTheCornersWhereASideEnds) {
    Rect r;
    QImage img =
        Drawn(10, 10, clWhite, [&](Canvas& c) { r = DrawFrameStyle(c, {0, 0, 10, 10}, fsGroove, TSides::All()); });
    EXPECT_EQ(r, (Rect{2, 2, 8, 8}));
    // Shadow line outside, highlight line one pixel further in.
    ExpectPixels(img, {{0, 5, clBtnShadow}, {1, 5, clBtnHighlight}, {9, 5, clBtnHighlight}, {8, 5, clBtnShadow},
                       {9, 0, clBtnHighlight}, {0, 9, clBtnHighlight}});

    QImage top = Drawn(10, 10, clWhite, [&](Canvas& c) { r = DrawFrameStyle(c, {0, 0, 10, 10}, fsBump, {sdTop}); });
    EXPECT_EQ(r, (Rect{0, 2, 10, 10}));
    // Bump: highlight, then shadow; a top without its sides still marks (left, top + 1).
    ExpectPixels(top, {{5, 0, clBtnHighlight}, {5, 1, clBtnShadow}, {0, 1, clBtnShadow}, {5, 5, clWhite}});
}

TEST_F(Drawing, ControlFrameClearsTwoPixelsThenDrawsTheStyle) {
    QImage img = Drawn(20, 20, clBlack,
                       [](Canvas& c) { DrawControlFrame(c, 20, 20, TSides::All(), clRed, clWhite, fsFlat); });
    ExpectPixels(img, {{0, 5, clRed}, {19, 5, clRed}, {1, 5, clWhite}, {2, 5, clBlack}});
    QImage low =
        Drawn(20, 20, clBlack, [](Canvas& c) { DrawControlFrame(c, 20, 20, {sdLeft}, clRed, clWhite, fsStatus); });
    ExpectPixels(low, {{0, 5, clBtnShadow}, {19, 5, clWhite}});  // not a chosen side: background only
}

TEST_F(Drawing, SegmentBarCountsAndLightsSegmentsAsSpecified) {
    // 10 segments of 6 pixels: 5 lit.
    ExpectPixels(SegmentBar(60, 8, orHorizontal, 50, 20),
                 {{0, 4, clWhite}, {3, 4, clLime}, {27, 4, clLime}, {30, 4, clWhite}, {33, 4, clWhite}});
    ExpectPixels(SegmentBar(200, 8, orHorizontal, 55, 20), {{105, 4, clLime}, {115, 4, clWhite}});  // segments 11, 12
    // s = 5, 20 segments, margin 1: segments span 1..100.
    ExpectPixels(SegmentBar(103, 8, orHorizontal, 100, 20),
                 {{0, 4, clWhite}, {3, 4, clLime}, {98, 4, clLime}, {101, 4, clWhite}, {102, 4, clWhite}});
    ExpectPixels(SegmentBar(105, 8, orHorizontal, 100, 20), {{103, 4, clLime}});  // the 21st segment, no margin
}

TEST_F(Drawing, VerticalSegmentBarFillsFromTheBottom) {
    ExpectPixels(SegmentBar(8, 100, orVertical, 30, 10),
                 {{4, 95, clLime}, {4, 75, clLime}, {4, 65, clWhite}, {4, 5, clWhite}});
}

TEST_F(Drawing, SegmentBarTooShortOrOverfullStaysInside) {
    QImage img = SegmentBar(5, 8, orHorizontal, 50, 20);
    for (int x = 0; x < 5; ++x) EXPECT_TRUE(Is(img, x, 4, clWhite)) << x;
    ExpectPixels(SegmentBar(40, 8, orHorizontal, 50, 0), {{20, 4, clWhite}});
    QImage over = Drawn(102, 8, clBlack, [](Canvas& c) {
        DrawSegmentBar(c, {1, 0, 101, 8}, orHorizontal, 150, 10, clWhite, clLime);
        DrawSegmentBar(c, {1, 0, 101, 8}, orHorizontal, 150, 10, clWhite, clLime);
    });
    ExpectPixels(over, {{95, 4, clLime}, {0, 4, clBlack}, {101, 4, clBlack}});  // nothing beside the bar
}

TEST_F(Drawing, PercentBarRoundsHalvesToEvenAndFillsFromTheRightEnd) {
    ExpectPixels(Drawn(101, 10, clBlack,
                       [](Canvas& c) { DrawPercentBar(c, {0, 0, 101, 10}, orHorizontal, false, 50, clWhite, clNavy); }),
                 {{49, 5, clNavy}, {50, 5, clWhite}});
    ExpectPixels(Drawn(10, 100, clBlack,
                       [](Canvas& c) { DrawPercentBar(c, {0, 0, 10, 100}, orVertical, false, 25, clWhite, clNavy); }),
                 {{5, 75, clNavy}, {5, 74, clWhite}});
    QImage full = Drawn(50, 20, clBlack,
                        [](Canvas& c) { DrawPercentBar(c, {0, 0, 50, 20}, orHorizontal, true, 120, clWhite, clNavy); });
    ExpectPixels(full, {{1, 1, clNavy}, {48, 18, clNavy}});
    // The text is written in the back colour over the bar.
    bool text = false;
    for (int x = 0; x < 50; ++x)
        for (int y = 0; y < 20; ++y) text |= Is(full, x, y, clWhite);
    EXPECT_TRUE(text);
}

struct LastCharCase {
    const char* name;
    std::string text;
    char last;
};

class LastCharOf : public testing::TestWithParam<LastCharCase> {};

TEST_P(LastCharOf, AString) { EXPECT_EQ(LastChar(GetParam().text), GetParam().last); }

INSTANTIATE_TEST_SUITE_P(VlStrings, LastCharOf,
                         testing::Values(LastCharCase{"OneCharacter", "a", 'a'},
                                         LastCharCase{"LastOfSeveral", "abc", 'c'},
                                         LastCharCase{"ZeroByteInside", std::string("a\0b", 3), 'b'},
                                         LastCharCase{"LastByteOfAMultiByteCharacter", "caf\xc3\xa9", '\xa9'},
                                         LastCharCase{"EmptyGivesZero", "", '\0'}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VlStrings, MinimizeNameDropsMiddleFoldersFirst) {
    auto len = [](const std::string& s) { return int(s.size()); };
    EXPECT_EQ(MinimizeName("/home/ann/music", 40, len), "/home/ann/music");
    EXPECT_EQ(MinimizeName("/home/ann/music/albums", 19, len), "/home/.../albums");
    std::string tiny = MinimizeName("/home/ann/music/albums", 8, len);
    EXPECT_LE(int(tiny.size()), 8);
    EXPECT_EQ(tiny.substr(0, 3), "...");
}

class Target : public TVlBlinkTarget {
public:
    explicit Target(int answer) : answer_(answer) {}
    intptr_t BlinkMessage(unsigned msg, uintptr_t param) override {
        if (msg == CM_BLINKQUERY) return answer_;
        if (msg == CM_BLINK) blinks.push_back(int(param));
        return 0;
    }
    std::vector<int> blinks;

private:
    int answer_;
};

TEST(VlBlinking, OnlyControlsThatAnswerOneBlinkInStep) {
    wb::gui::test::App();
    TVlBlinkingControlsList list;
    EXPECT_EQ(list.TimerInterval(), 500);
    Target yes(1), no(0), two(2);
    list.Add(&yes);
    list.Add(&no);
    list.Add(&two);
    EXPECT_EQ(list.Count(), 3);
    list.IntervalOff = 200;
    list.IntervalOn = 700;
    list.Tick();
    EXPECT_EQ(list.TimerInterval(), 200);
    list.Tick();
    EXPECT_EQ(list.TimerInterval(), 700);
    EXPECT_EQ(yes.blinks, (std::vector<int>{0, 1}));
    EXPECT_TRUE(no.blinks.empty());
    EXPECT_TRUE(two.blinks.empty());
    list.Remove(&yes);
    list.Tick();
    EXPECT_EQ(yes.blinks.size(), 2u);
    EXPECT_EQ(list.Count(), 2);
}

} // namespace
