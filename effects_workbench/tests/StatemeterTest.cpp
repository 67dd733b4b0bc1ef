#include "effects_workbench/Statemeter.h"

#include <gtest/gtest.h>

#include "WaveTestSupport.h"

using sonafex::test::RecordingProgress;

TEST(StateMeter, MovesOneMarkPerTotalDivMax) {
    RecordingProgress bar(23);
    {
        StateMeter meter(bar, 1000);
        EXPECT_EQ(bar.visibility, (std::vector<bool>{true}));
        for (int i = 0; i < 1000; ++i) meter.Step(i);
    }
    EXPECT_EQ(bar.visibility, (std::vector<bool>{true, false}));
    // Marks at 43, 86, 129, ... up to 989 = 23 * 43.
    ASSERT_EQ(bar.positions.size(), 23u);
    for (size_t m = 0; m < bar.positions.size(); ++m) EXPECT_EQ(bar.positions[m], int(m) + 1);
}

TEST(StateMeter, OnlyTheExpectedIndexMovesIt) {
    RecordingProgress bar(23);
    StateMeter meter(bar, 1000);
    meter.Step(0);
    meter.Step(44);  // skipped past the mark at 43: nothing moves again
    meter.Step(43);
    meter.Step(43);
    meter.Step(86);
    EXPECT_EQ(bar.positions, (std::vector<int>{1, 2}));
}

TEST(StateMeter, SmallTotalsAndEmptyBarsNeverMove) {
    RecordingProgress bar(23);
    {
        StateMeter meter(bar, 20);
        for (int i = 0; i < 20; ++i) meter.Step(i);
    }
    RecordingProgress noMarks(0);
    {
        StateMeter meter(noMarks, 1000);
        for (int i = 0; i < 1000; ++i) meter.Step(i);
    }
    EXPECT_TRUE(bar.positions.empty());
    EXPECT_TRUE(noMarks.positions.empty());
    EXPECT_EQ(noMarks.visibility, (std::vector<bool>{true, false}));
}
