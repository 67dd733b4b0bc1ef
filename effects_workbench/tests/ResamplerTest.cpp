#include "effects_workbench/Resampler.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "WaveTestSupport.h"

using namespace sonafex;

using namespace sonafex::test;

namespace {
std::vector<int16_t> LoFi(const std::vector<int16_t>& in, int step, int shape,
                          RecordingProgress* bar = nullptr) {
    SoundFile s = Mono(in);
    RecordingProgress own;
    Resampler(s, step, shape, bar ? *bar : own);
    return Samples(s);
}
} // namespace

TEST(Resampler, KeepsEveryNthSampleAndStepsTowardsTheNext) {
    // Shape 20 divides by 4.5: the single step gets cos(-1/4.5) of the distance.
    const std::vector<int16_t> in = {0, 0, 1000, 0, 2000, 0, -1000, 0, 500};
    EXPECT_EQ(LoFi(in, 2, 20), (std::vector<int16_t>{0, 487, 1000, 1487, 2000, 537, -1000, -269, 500}));
    // Shape 1 divides by 2.6.
    EXPECT_EQ(LoFi(in, 2, 1), (std::vector<int16_t>{0, 463, 1000, 1463, 2000, 610, -1000, -305, 500}));
}

TEST(Resampler, TheTailFillsTowardsTheLastSample) {
    // 9 frames, step 4: 5-7 are filled towards sample 8, which is kept.
    EXPECT_EQ(LoFi({0, 0, 0, 0, 4000, 0, 0, 0, -4000}, 4, 20),
              (std::vector<int16_t>{0, 902, 1877, 2877, 4000, 2195, 245, -1755, -4000}));
    // 10 frames: the last is one weighted quarter-step from sample 8, not s(9).
    EXPECT_EQ(LoFi({0, 0, 0, 0, 4000, 0, 0, 0, -4000, 4000}, 4, 20).back(), -2195);
    EXPECT_EQ(LoFi({0, 0, 0, 0, 4000, 0, 0, 0, 700, 700}, 4, 20).back(), 700);
    // Fewer frames than the step: sample 0 stays, the rest climb towards the last.
    EXPECT_EQ(LoFi({100, 0, 0, 0, 8000}, 8, 20), (std::vector<int16_t>{100, 722, 1498, 2389, 3352}));
}

TEST(Resampler, LongStepsFollowTheCosineWindow) {
    // Kept samples stay; between them each move is widest at mid-step and the
    // moves mirror about it, rising to the next kept sample and falling to the last.
    const int step = 8;
    const std::vector<int16_t> in = {0, 0, 0, 0, 0, 0, 0, 0, 30000, 0, 0, 0, 0, 0, 0, 0, -30000};
    const std::vector<int16_t> out = LoFi(in, step, 1);
    ASSERT_EQ(out.size(), in.size());
    for (int b = 0; b + step < int(in.size()); b += step) {
        SCOPED_TRACE(b);
        EXPECT_EQ(out[b], in[b]);
        std::vector<int> moves;
        for (int j = b + 1; j < b + step; ++j) moves.push_back(out[j] - out[j - 1]);
        const bool rising = in[b + step] > in[b];
        for (int m : moves) EXPECT_TRUE(rising ? m > 0 : m < 0) << m;
        const int mid = step / 2;  // the move onto sample b + step/2 + 1
        for (int i = 0; i < mid; ++i) EXPECT_LT(std::abs(moves[i]), std::abs(moves[i + 1])) << i;
        for (int i = 1; mid + i < int(moves.size()); ++i) EXPECT_EQ(moves[mid - i], moves[mid + i]) << i;
        EXPECT_LT(std::abs(out[b + step - 1] - in[b]), std::abs(in[b + step] - in[b]));
    }
    EXPECT_EQ(out.back(), in.back());
}

TEST(Resampler, MeterCountsKeptSamples) {
    RecordingProgress bar(2);
    LoFi(std::vector<int16_t>(16, 1), 4, 20, &bar);  // 4 kept samples, a mark every 2
    EXPECT_EQ(bar.positions, (std::vector<int>{1}));
    EXPECT_EQ(bar.visibility, (std::vector<bool>{true, false}));
}

TEST(Resampler, EmptyFileIsLeftUnchanged) {
    RecordingProgress bar;
    SoundFile s = Mono({});
    Resampler(s, 2, 20, bar);
    EXPECT_EQ(s.HeldSamples(), 0);
    EXPECT_EQ(s.GetDataSize(), 0);
    EXPECT_EQ(LoFi({-5}, 8, 20), (std::vector<int16_t>{-5}));
}
