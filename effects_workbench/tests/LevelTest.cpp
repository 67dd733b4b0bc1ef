#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "WaveTestSupport.h"
#include "effects_workbench/Amplifier.h"
#include "effects_workbench/Amplifier2.h"
#include "effects_workbench/Normalizer.h"
#include "effects_workbench/Rms.h"
#include "effects_workbench/Stereotomono.h"

using namespace sonafex::test;

TEST(Gain, GainPercentOfTheSlider) {
    EXPECT_EQ(GainPercent(0), 1000);
    EXPECT_EQ(GainPercent(8100), 100);
    EXPECT_EQ(GainPercent(10000), 0);
}

TEST(Gain, RelativeGainMultipliesAndWraps) {
    RecordingProgress bar;
    const std::vector<int16_t> in = {0, 1, -1, 4000, -4000, 32767, -32768};
    SoundFile same = Mono(in);
    Amplifier(same, 8100, bar);
    EXPECT_EQ(Samples(same), in);

    SoundFile loud = Mono(in);
    EXPECT_EQ(Amplifier(loud, 0, bar).Factor(), 10.0f);
    EXPECT_EQ(Samples(loud), (std::vector<int16_t>{0, 10, -10, -25536, 25536, -10, 0}));

    // Position 9025: 50 %, truncating toward zero on both sides.
    SoundFile half = Mono({3, -3, 32767, -32768});
    Amplifier(half, 9025, bar);
    EXPECT_EQ(Samples(half), (std::vector<int16_t>{1, -1, 16383, -16384}));
}

TEST(Gain, AbsoluteGainPutsThePeakAtItsShare) {
    RecordingProgress bar;
    SoundFile s = Mono({16000, -16000, 8000, 1});
    EXPECT_EQ(Amplifier2(s, 8100, bar).Peak(), 16000);
    // 32767/16000 stored as a float is just below 2.0479375.
    EXPECT_EQ(Samples(s), (std::vector<int16_t>{32766, -32766, 16383, 2}));

    // At position 0 the factor is ten times full scale: results wrap.
    SoundFile loud = Mono({16000, 0, -3});
    Amplifier2(loud, 0, bar);
    EXPECT_EQ(Samples(loud), (std::vector<int16_t>{static_cast<int16_t>(327670), 0, -61}));

    SoundFile silent = Mono({0, 1, -1, 0});
    EXPECT_EQ(Amplifier2(silent, 10000, bar).Peak(), 1);
    EXPECT_EQ(Samples(silent), (std::vector<int16_t>{0, 0, 0, 0}));
}

TEST(Gain, NormalizeUsesThe32BitPeak) {
    RecordingProgress bar;
    SoundFile s = Mono({-32768, 32767, 0});
    EXPECT_EQ(Normalizer(s, bar).Peak(), 32768);
    EXPECT_EQ(Samples(s), (std::vector<int16_t>{-32767, 32766, 0}));

    SoundFile quiet = Mono({100, -50, 7});
    Normalizer(quiet, bar);
    EXPECT_EQ(Samples(quiet), (std::vector<int16_t>{32767, -16383, 2293}));

    SoundFile silent = Mono({0, 0});
    Normalizer(silent, bar);
    EXPECT_EQ(Samples(silent), (std::vector<int16_t>{0, 0}));
}

TEST(Measure, PeakReadout) {
    RecordingProgress bar;
    for (int16_t v : {32767, -32768}) {
        SoundFile s = Mono({0, v, 5});
        EXPECT_EQ(PeakText(Amplifier2(s, bar).Peak()), "Maximum Peak = 100%");
        EXPECT_EQ(Samples(s), (std::vector<int16_t>{0, v, 5}));  // measuring changes nothing
    }
    SoundFile silent = Mono({0, 0, 0});
    EXPECT_EQ(PeakText(Amplifier2(silent, bar).Peak()), "Maximum Peak = 0%");
    EXPECT_EQ(PeakText(16384), "Maximum Peak = 50%");
}

TEST(Measure, RmsReadout) {
    RecordingProgress bar;
    std::vector<int16_t> square;
    for (int i = 0; i < 1000; ++i) square.push_back(i % 2 ? 32767 : -32767);
    RMS full(Mono(square), bar);
    EXPECT_EQ(full.Result(), 32767.0);
    EXPECT_EQ(RmsText(full.Result()), "RMS Value  = 100%");

    RMS mixed(Mono({3, -4}), bar);
    EXPECT_DOUBLE_EQ(mixed.Result(), std::sqrt(12.5));

    RMS loudest(Mono({-32768, -32768}), bar);  // squares fill 31 bits
    EXPECT_EQ(loudest.Result(), 32768.0);

    RMS none(Mono({}), bar);
    EXPECT_EQ(none.Result(), 0.0);
    EXPECT_EQ(RmsText(none.Result()), "RMS Value  = 0%");
}

TEST(StereoToMonoTest, AveragesTowardZeroAndFixesTheHeader) {
    RecordingProgress bar;
    SoundFile s = Stereo({3, -4, -3, -4, 32767, 32767, -32768, -32768, 1, 2});
    StereoToMono(s, bar);
    EXPECT_EQ(Samples(s), (std::vector<int16_t>{0, -3, 32767, -32768, 1}));
    EXPECT_EQ(s.GetChannels(), 1);
    EXPECT_EQ(s.GetBlockAlign(), 2);
    EXPECT_EQ(s.GetByteRate(), 88200);
    EXPECT_EQ(s.GetDataSize(), 10);
    EXPECT_EQ(s.GetFrameCount(), 5);
}

TEST(StereoToMonoTest, RaggedStereoSizeBecomesWhatWasWritten) {
    RecordingProgress bar;
    wb::TempDir dir("sonafex-test");
    Format f;
    f.channels = 2;
    f.blockAlign = 4;
    f.byteRate = 176400;
    Bytes b = Header(f);
    AddChunk(b, "data", SampleBytes({10, 20, 30, 40, 50}));  // 10 bytes: two and a half frames
    Finish(b);
    WriteBytes(dir / "r.wav", b);
    SoundFile s(dir / "r.wav");
    StereoToMono(s, bar);
    EXPECT_EQ(s.GetDataSize(), 4);
    EXPECT_EQ(Samples(s), (std::vector<int16_t>{15, 35}));
}

TEST(StereoToMonoTest, RefusesAnythingButTwoChannels) {
    RecordingProgress bar;
    SoundFile mono = Mono({1, 2, 3, 4});
    EXPECT_THROW(StereoToMono(mono, bar), std::invalid_argument);
    EXPECT_EQ(Samples(mono), (std::vector<int16_t>{1, 2, 3, 4}));
    EXPECT_EQ(mono.GetChannels(), 1);
    EXPECT_EQ(mono.GetDataSize(), 8);
}

TEST(Gain, MeterStepsAsTheToolsDo) {
    std::vector<int16_t> in(46, 1);
    {
        RecordingProgress bar;  // 46 frames, a mark every 2
        SoundFile s = Mono(in);
        Amplifier2(s, 8100, bar);
        // Marks move in the search only: the gain pass finds them spent.
        EXPECT_EQ(bar.positions.size(), 22u);
        EXPECT_EQ(bar.visibility, (std::vector<bool>{true, false}));
    }
    {
        RecordingProgress bar;
        SoundFile s = Mono(in);
        Normalizer(s, bar);
        EXPECT_EQ(bar.positions.size(), 22u);
        EXPECT_EQ(bar.positions.back(), 22);
    }
}
