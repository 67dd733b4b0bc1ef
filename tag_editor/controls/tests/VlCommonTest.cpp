#include "tag_editor/controls/VlCommon.h"

#include <gtest/gtest.h>

#include "TestApp.h"

using namespace velmora;

using namespace wb::gui;
using velmora::test::Blank;
using velmora::test::Is;

namespace {

class Drawing : public ::testing::Test {
protected:
    void SetUp() override { wb::gui::test::App(); }
    // A white and lime bar drawn over the whole of a black image.
    static QImage SegmentBar(int w, int h, TOrientation o, int value, int segments) {
        QImage img = Blank(w, h, clBlack);
        {
            Canvas c(img);
            DrawSegmentBar(c, {0, 0, w, h}, o, value, segments, clWhite, clLime);
        }
        return img;
    }
};

TEST_F(Drawing, SideLinesStopBeforeTheirEndAndShrinkOnlyTheChosenSides) {
    QImage img = Blank(10, 10);
    Rect r;
    {
        Canvas c(img);
        r = DrawFrameStyle(c, {0, 0, 10, 10}, fsFlat, {sdTop});
    }
    EXPECT_EQ(r, (Rect{0, 1, 10, 10}));
    for (int x = 0; x < 10; ++x) EXPECT_TRUE(Is(img, x, 0, clWindowFrame)) << x;
    EXPECT_TRUE(Is(img, 0, 1, clWhite));

    QImage none = Blank(10, 10);
    {
        Canvas c(none);
        EXPECT_EQ(DrawFrameStyle(c, {1, 2, 8, 9}, fsNone, TSides::All()), (Rect{1, 2, 8, 9}));
    }
    EXPECT_EQ(none, Blank(10, 10));

    QImage right = Blank(10, 10);
    {
        Canvas c(right);
        r = DrawSideLines(c, {2, 2, 8, 8}, clRed, {sdRight, sdBottom}, clBlue);
    }
    EXPECT_EQ(r, (Rect{2, 2, 7, 7}));
    EXPECT_TRUE(Is(right, 7, 2, clBlue));
    EXPECT_TRUE(Is(right, 7, 7, clBlue));
    EXPECT_TRUE(Is(right, 2, 7, clBlue));
    EXPECT_TRUE(Is(right, 8, 8, clWhite));
    EXPECT_TRUE(Is(right, 2, 2, clWhite));
}

TEST_F(Drawing, TwoRingStylesPaintOuterThenInnerRing) {
    QImage img = Blank(10, 10);
    Rect r;
    {
        Canvas c(img);
        r = DrawBorder(c, {0, 0, 10, 10}, fsLowered);
    }
    EXPECT_EQ(r, (Rect{2, 2, 8, 8}));
    EXPECT_TRUE(Is(img, 0, 0, clBtnShadow));
    EXPECT_TRUE(Is(img, 0, 5, clBtnShadow));
    EXPECT_TRUE(Is(img, 9, 5, clBtnHighlight));
    EXPECT_TRUE(Is(img, 9, 0, clBtnHighlight));  // the second colour wins the corner
    EXPECT_TRUE(Is(img, 0, 9, clBtnHighlight));
    EXPECT_TRUE(Is(img, 1, 1, clBtnText));
    EXPECT_TRUE(Is(img, 8, 8, cl3DLight));
    EXPECT_TRUE(Is(img, 2, 2, clWhite));

    QImage up = Blank(10, 10);
    {
        Canvas c(up);
        DrawBorder(c, {0, 0, 10, 10}, fsButtonUp);
    }
    EXPECT_TRUE(Is(up, 0, 4, clBtnHighlight));
    EXPECT_TRUE(Is(up, 9, 4, cl3DDkShadow));
    EXPECT_TRUE(Is(up, 1, 4, cl3DLight));
    EXPECT_TRUE(Is(up, 8, 4, clBtnShadow));
}

TEST_F(Drawing, GrooveClosesTheCornersWhereASideEnds) {
    QImage img = Blank(10, 10);
    Rect r;
    {
        Canvas c(img);
        r = DrawFrameStyle(c, {0, 0, 10, 10}, fsGroove, TSides::All());
    }
    EXPECT_EQ(r, (Rect{2, 2, 8, 8}));
    // Shadow line outside, highlight line one pixel further in.
    EXPECT_TRUE(Is(img, 0, 5, clBtnShadow));
    EXPECT_TRUE(Is(img, 1, 5, clBtnHighlight));
    EXPECT_TRUE(Is(img, 9, 5, clBtnHighlight));
    EXPECT_TRUE(Is(img, 8, 5, clBtnShadow));
    EXPECT_TRUE(Is(img, 9, 0, clBtnHighlight));
    EXPECT_TRUE(Is(img, 0, 9, clBtnHighlight));

    QImage top = Blank(10, 10);
    {
        Canvas c(top);
        r = DrawFrameStyle(c, {0, 0, 10, 10}, fsBump, {sdTop});
    }
    EXPECT_EQ(r, (Rect{0, 2, 10, 10}));
    // Bump: c1 highlight, c2 shadow. Top without right and without left.
    EXPECT_TRUE(Is(top, 5, 0, clBtnHighlight));
    EXPECT_TRUE(Is(top, 5, 1, clBtnShadow));
    EXPECT_TRUE(Is(top, 0, 1, clBtnShadow));  // (left, top+1) := c2
    EXPECT_TRUE(Is(top, 5, 5, clWhite));
}

TEST_F(Drawing, ControlFrameClearsTwoPixelsThenDrawsTheStyle) {
    QImage img = Blank(20, 20, clBlack);
    {
        Canvas c(img);
        DrawControlFrame(c, 20, 20, TSides::All(), clRed, clWhite, fsFlat);
    }
    EXPECT_TRUE(Is(img, 0, 5, clRed));
    EXPECT_TRUE(Is(img, 19, 5, clRed));
    EXPECT_TRUE(Is(img, 1, 5, clWhite));
    EXPECT_TRUE(Is(img, 2, 5, clBlack));

    QImage low = Blank(20, 20, clBlack);
    {
        Canvas c(low);
        DrawControlFrame(c, 20, 20, {sdLeft}, clRed, clWhite, fsStatus);
    }
    EXPECT_TRUE(Is(low, 0, 5, clBtnShadow));
    EXPECT_TRUE(Is(low, 19, 5, clWhite));  // not a chosen side: background only
}

// Interior pixel of a segment drawn with a one-pixel outline.
TEST_F(Drawing, SegmentBarCountsAndLightsSegmentsAsSpecified) {
    QImage img = SegmentBar(60, 8, orHorizontal, 50, 20);
    // 10 segments of 6 pixels: 5 lit.
    EXPECT_TRUE(Is(img, 0, 4, clWhite));
    EXPECT_TRUE(Is(img, 3, 4, clLime));
    EXPECT_TRUE(Is(img, 27, 4, clLime));
    EXPECT_TRUE(Is(img, 30, 4, clWhite));
    EXPECT_TRUE(Is(img, 33, 4, clWhite));

    QImage wide = SegmentBar(200, 8, orHorizontal, 55, 20);
    EXPECT_TRUE(Is(wide, 105, 4, clLime));   // segment 11
    EXPECT_TRUE(Is(wide, 115, 4, clWhite));  // segment 12

    QImage odd = SegmentBar(103, 8, orHorizontal, 100, 20);
    // s = 5, 20 segments, margin 1: segments span 1..100.
    EXPECT_TRUE(Is(odd, 0, 4, clWhite));
    EXPECT_TRUE(Is(odd, 3, 4, clLime));
    EXPECT_TRUE(Is(odd, 98, 4, clLime));
    EXPECT_TRUE(Is(odd, 101, 4, clWhite));
    EXPECT_TRUE(Is(odd, 102, 4, clWhite));

    QImage extra = SegmentBar(105, 8, orHorizontal, 100, 20);
    EXPECT_TRUE(Is(extra, 103, 4, clLime));  // the 21st segment, no margin
}

TEST_F(Drawing, VerticalSegmentBarFillsFromTheBottom) {
    QImage img = SegmentBar(8, 100, orVertical, 30, 10);
    EXPECT_TRUE(Is(img, 4, 95, clLime));
    EXPECT_TRUE(Is(img, 4, 75, clLime));
    EXPECT_TRUE(Is(img, 4, 65, clWhite));
    EXPECT_TRUE(Is(img, 4, 5, clWhite));
}

TEST_F(Drawing, SegmentBarTooShortOrOverfullStaysInside) {
    QImage img = SegmentBar(5, 8, orHorizontal, 50, 20);
    for (int x = 0; x < 5; ++x) EXPECT_TRUE(Is(img, x, 4, clWhite)) << x;

    QImage zero = SegmentBar(40, 8, orHorizontal, 50, 0);
    EXPECT_TRUE(Is(zero, 20, 4, clWhite));

    QImage over = Blank(102, 8, clBlack);
    {
        Canvas c(over);
        DrawSegmentBar(c, {1, 0, 101, 8}, orHorizontal, 150, 10, clWhite, clLime);
        DrawSegmentBar(c, {1, 0, 101, 8}, orHorizontal, 150, 10, clWhite, clLime);
    }
    EXPECT_TRUE(Is(over, 95, 4, clLime));
    EXPECT_TRUE(Is(over, 0, 4, clBlack));    // nothing left of the bar
    EXPECT_TRUE(Is(over, 101, 4, clBlack));  // nor right of it
}

TEST_F(Drawing, PercentBarRoundsHalvesToEvenAndFillsFromTheRightEnd) {
    QImage img = Blank(101, 10, clBlack);
    {
        Canvas c(img);
        DrawPercentBar(c, {0, 0, 101, 10}, orHorizontal, false, 50, clWhite, clNavy);
    }
    EXPECT_TRUE(Is(img, 49, 5, clNavy));
    EXPECT_TRUE(Is(img, 50, 5, clWhite));

    QImage v = Blank(10, 100, clBlack);
    {
        Canvas c(v);
        DrawPercentBar(c, {0, 0, 10, 100}, orVertical, false, 25, clWhite, clNavy);
    }
    EXPECT_TRUE(Is(v, 5, 75, clNavy));
    EXPECT_TRUE(Is(v, 5, 74, clWhite));

    QImage full = Blank(50, 20, clBlack);
    {
        Canvas c(full);
        DrawPercentBar(c, {0, 0, 50, 20}, orHorizontal, true, 120, clWhite, clNavy);
    }
    EXPECT_TRUE(Is(full, 1, 1, clNavy));
    EXPECT_TRUE(Is(full, 48, 18, clNavy));
    // The text is written in the back colour over the bar.
    bool text = false;
    for (int x = 0; x < 50; ++x)
        for (int y = 0; y < 20; ++y) text |= Is(full, x, y, clWhite);
    EXPECT_TRUE(text);
}

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
