#include <gtest/gtest.h>

#include <random>

#include "WaveTestSupport.h"
#include "effects_workbench/Distortion.h"
#include "effects_workbench/Distortion2.h"
#include "effects_workbench/Distortion3.h"

using namespace sonafex::test;

namespace {

using Samples16 = std::vector<int16_t>;

Samples16 Warm1(const Samples16& in, int level, int shape) {
    SoundFile s = Mono(in);
    RecordingProgress bar;
    Distortion(s, level, shape, bar);
    return Samples(s);
}
Samples16 Warm2(const Samples16& in, int level, int shape, int width) {
    SoundFile s = Mono(in);
    RecordingProgress bar;
    Distortion2(s, level, shape, width, bar);
    return Samples(s);
}
Samples16 Freak(const Samples16& in, int level, int depth, int width) {
    SoundFile s = Mono(in);
    RecordingProgress bar;
    Distortion3(s, level, depth, width, bar);
    return Samples(s);
}

Samples16 RandomSignal(unsigned seed, size_t n, int amplitude) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> dist(-amplitude, amplitude);
    Samples16 v(n);
    // Slow-moving so that clipped runs of many lengths occur.
    int x = 0;
    for (auto& s : v) {
        x = std::clamp(x + dist(gen) / 4, -amplitude, amplitude);
        s = static_cast<int16_t>(x);
    }
    v.back() = 0;  // the last frame's zeroing is deliberately one-sided
    return v;
}

} // namespace

TEST(Distortion, QuietFilesPassUnchanged) {
    const Samples16 in = {0, 100, -7999, 7999, 3, -3, 5000, -5000, 1, 0, 12, 7999};
    EXPECT_EQ(Warm1(in, 8000, 10000), in);
    EXPECT_EQ(Warm2(in, 8000, 10000, 1), in);
    EXPECT_EQ(Freak(in, 8000, 10000, 1), in);
    EXPECT_EQ(Warm2(in, 8000, 10000, 8), in);
    EXPECT_EQ(Freak(in, 8000, 10000, 16), in);
}

TEST(Distortion, Warm1ClipsAndBendsTheRunEnd) {
    // Shape 12500 gives the divisor 2: each step halves the distance to the level.
    EXPECT_EQ(Warm1({0, 50, 200, 200, 200, 200, 50, 0}, 100, 12500),
              (Samples16{0, 50, 75, 87, 87, 75, 50, 0}));
    EXPECT_EQ(Warm1({0, -50, -200, -200, -200, -200, -50, 0}, 100, 12500),
              (Samples16{0, -50, -75, -87, -87, -75, -50, 0}));
}

TEST(Distortion, FirstAndLastClippedSamples) {
    for (int16_t v : {200, -200}) {
        EXPECT_EQ(Warm1({v, 0, 0}, 100, 12500)[0], 0);
        EXPECT_EQ(Freak({v, 0, 0}, 100, 10000, 1)[0], 0);
        EXPECT_EQ(Warm2({v, v, 0, 0}, 100, 10000, 1)[0], 0);
        // A one-sample run gets one halving step (the real half, 0.5), which
        // rewrites the sample before the run's end: here the first.
        EXPECT_EQ(Warm2({v, 0, 0}, 100, 10000, 1)[0], v / 4);
    }
    // The last sample: zeroed on a positive clip in the first, a negative one in the others.
    EXPECT_EQ(Warm1({0, 0, 200}, 100, 12500)[2], 0);
    EXPECT_EQ(Warm1({0, 0, -200}, 100, 12500)[2], -50);
    EXPECT_EQ(Warm2({0, 0, 200}, 100, 10000, 1)[2], 100);
    EXPECT_EQ(Warm2({0, 0, -200}, 100, 10000, 1)[2], 0);
    EXPECT_EQ(Freak({0, 0, 200}, 100, 10000, 1)[2], 100);
    EXPECT_EQ(Freak({0, 0, -200}, 100, 10000, 1)[2], 0);
}

TEST(Distortion, HalvingCoversHalfTheRun) {
    // A run of 7 ending before 200; the runs start too near the file's start
    // for a bump. Warm Distortion2 compares with the real half (4 steps), the
    // others with 7 div 2 (3 steps), so only it rewrites index 4.
    const Samples16 in = {0, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 200, 0, 0, 0};
    EXPECT_EQ(Warm1(in, 1000, 12500), (Samples16{0, 500, 750, 875, 937, 900, 800, 600, 200, 0, 0, 0}));
    EXPECT_EQ(Warm2(in, 1000, 16, 1), (Samples16{0, 500, 750, 875, 950, 900, 800, 600, 200, 0, 0, 0}));
    EXPECT_EQ(Freak(in, 1000, 16, 2), (Samples16{0, 500, 750, 875, 937, 900, 800, 600, 200, 0, 0, 0}));
}

TEST(Distortion, DepthOrShapeFrom17TakesTheLevelExactly) {
    // No bump (the run starts at index 1), so the first half of the run keeps the level.
    const Samples16 in = {0, 9000, 9000, 9000, 9000, 9000, 9000, 9000, 9000, 0, 0, 0};
    for (const Samples16& out : {Warm2(in, 8000, 17, 8), Freak(in, 8000, 17, 8),
                                 Warm2(in, 8000, 25000, 8), Freak(in, 8000, 25000, 16)}) {
        for (int i = 1; i <= 4; ++i) EXPECT_EQ(out[i], 8000) << i;
    }
    const Samples16 neg = Negated(in);
    EXPECT_EQ(Warm2(neg, 8000, 17, 8)[2], -8000);
    EXPECT_EQ(Freak(neg, 8000, 17, 8)[2], -8000);
}

TEST(Distortion, Warm2BumpAroundTheRunEnd) {
    Samples16 in(40, 0);
    for (int i = 10; i < 16; ++i) in[i] = 2000;
    Samples16 expected(40, 0);
    const Samples16 head = {0, 0, 0, 0, 0, 0, 0, -131, -404, -971, -814, -1640, -1992, -1765, -1064, -471, -404};
    std::copy(head.begin(), head.end(), expected.begin());
    EXPECT_EQ(Warm2(in, 1000, 25000, 1), expected);
    EXPECT_EQ(Warm2(Negated(in), 1000, 25000, 1), Negated(expected));
}

TEST(Distortion, FreakModulatedBumpAroundTheRunEnd) {
    Samples16 in(40, 0);
    for (int i = 10; i < 16; ++i) in[i] = 2000;
    Samples16 expected(40, 0);
    const Samples16 head = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1404, -1823, 3465, 1000, -1590, 3573, -904, 0};
    std::copy(head.begin(), head.end(), expected.begin());
    EXPECT_EQ(Freak(in, 1000, 25000, 1), expected);
    EXPECT_EQ(Freak(Negated(in), 1000, 25000, 1), Negated(expected));
}

TEST(Distortion, ASkippedBumpCarriesItsCountIntoTheNextRun) {
    // Run 1 (indices 1-2) is too near the start for a bump, so run 2
    // (10-13) counts 6 and halves 3 samples instead of 2. Shape 2 keeps the
    // bump below one.
    Samples16 in(24, 0);
    in[1] = in[2] = 2000;
    for (int i = 10; i < 14; ++i) in[i] = 2000;
    Samples16 expected(24, 0);
    const Samples16 head = {0, 500, 500, 0, 0, 0, 0, 0, 0, 0, 500, 875, 750, 500};
    std::copy(head.begin(), head.end(), expected.begin());
    EXPECT_EQ(Warm2(in, 1000, 2, 1), expected);
}

TEST(Distortion, AllThreeAreSignSymmetric) {
    for (unsigned seed : {1u, 2u, 3u}) {
        const Samples16 in = RandomSignal(seed, 3000, 20000);
        const Samples16 neg = Negated(in);
        EXPECT_EQ(Warm1(neg, 6000, 777 * seed), Negated(Warm1(in, 6000, 777 * seed))) << seed;
        EXPECT_EQ(Warm2(neg, 5000, 20000, seed), Negated(Warm2(in, 5000, 20000, seed))) << seed;
        EXPECT_EQ(Freak(neg, 4000, 25000, 5 * seed), Negated(Freak(in, 4000, 25000, 5 * seed)))
            << seed;
    }
}

TEST(Distortion, EmptyAndBrokenFilesAreLeftAlone) {
    RecordingProgress bar;
    SoundFile empty = Mono({});
    Distortion(empty, 8000, 10000, bar);
    Distortion2(empty, 8000, 10000, 1, bar);
    Distortion3(empty, 8000, 10000, 1, bar);
    EXPECT_EQ(empty.HeldSamples(), 0);
    // Wide bumps on a file shorter than the bump stay inside the buffer.
    const Samples16 tiny = {9000, 9000, 0};
    EXPECT_EQ(Warm2(tiny, 100, 25000, 8).size(), 3u);
    EXPECT_EQ(Freak(tiny, 100, 25000, 16).size(), 3u);
}
