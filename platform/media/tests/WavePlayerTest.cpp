#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/TempDir.h"
#include "platform/media/AlsaWavePlayer.h"
#include "platform/media/WaveData.h"
#include "platform/testing/Bytes.h"

namespace {

using wb::media::AlsaWavePlayer;
using wb::media::PlayerMode;

void Put(std::string& b, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b += static_cast<char>(v >> (8 * i));
}

// A wave file with a LIST chunk before the data, as many tools write.
std::string WaveBytes(unsigned channels, unsigned rate, unsigned bits, const std::vector<int16_t>& s) {
    std::string fmt, data, list = "INFOISFT";
    Put(fmt, 1, 2);
    Put(fmt, channels, 2);
    Put(fmt, rate, 4);
    Put(fmt, rate * channels * bits / 8, 4);
    Put(fmt, channels * bits / 8, 2);
    Put(fmt, bits, 2);
    for (int16_t v : s) Put(data, static_cast<uint16_t>(v), 2);
    std::string b = "RIFF";
    Put(b, static_cast<uint32_t>(4 + 24 + 8 + list.size() + 8 + data.size()), 4);
    b += "WAVEfmt ";
    Put(b, 16, 4);
    b += fmt + "LIST";
    Put(b, static_cast<uint32_t>(list.size()), 4);
    b += list + "data";
    Put(b, static_cast<uint32_t>(data.size()), 4);
    return b + data;
}

std::string Write(const wb::TempDir& dir, const std::string& name, const std::string& bytes) {
    const std::string path = dir / name;
    wb::test::WriteBytes(path, bytes);
    return path;
}

struct StatusLog {
    std::vector<std::string> lines;
    void Attach(wb::media::WavePlayer& p) {
        p.SetStatusHandler([this](const std::string& l) { lines.push_back(l); });
    }
};

TEST(WaveData, ReadsInterleavedSixteenBitFramesPastOtherChunks) {
    wb::TempDir dir("media-test");
    const auto path = Write(dir, "s.wav", WaveBytes(2, 22050, 16, {1, -2, 300, -32768, 7}));
    const auto wave = wb::media::ReadWaveData(path);
    EXPECT_EQ(wave.channels, 2u);
    EXPECT_EQ(wave.rate, 22050u);
    // The odd sample is half a frame and is not played.
    EXPECT_EQ(wave.samples, (std::vector<int16_t>{1, -2, 300, -32768}));
    EXPECT_EQ(wave.Frames(), 2u);
}

TEST(WaveData, RefusesWhatIsNotSixteenBitPcm) {
    wb::TempDir dir("media-test");
    EXPECT_THROW(wb::media::ReadWaveData(Write(dir, "8.wav", WaveBytes(1, 8000, 8, {1}))),
                 std::runtime_error);
    EXPECT_THROW(wb::media::ReadWaveData(Write(dir, "x.wav", "not a wave file at all")),
                 std::runtime_error);
    EXPECT_THROW(wb::media::ReadWaveData(dir / "missing.wav"), std::exception);
}

TEST(AlsaWavePlayer, WithoutADeviceSaysSoOnceAndGoesOn) {
    wb::TempDir dir("media-test");
    const auto path = Write(dir, "m.wav", WaveBytes(1, 44100, 16, std::vector<int16_t>(441, 5)));
    AlsaWavePlayer player("wb_no_such_device");
    StatusLog log;
    log.Attach(player);
    EXPECT_TRUE(player.Open(path));
    EXPECT_FALSE(player.DeviceAvailable());
    player.Play();
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
    player.Pause();
    player.Stop();
    player.Next();
    player.Previous();
    EXPECT_TRUE(player.Open(path));
    player.Play();
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("No sound device"), std::string::npos);
    player.Close();
    EXPECT_EQ(player.Mode(), PlayerMode::Closed);
}

TEST(AlsaWavePlayer, AFileItCannotPlayIsReportedAndLeavesItClosed) {
    wb::TempDir dir("media-test");
    AlsaWavePlayer player("null");
    StatusLog log;
    log.Attach(player);
    EXPECT_FALSE(player.Open(Write(dir, "8.wav", WaveBytes(1, 8000, 8, {1, 2}))));
    EXPECT_EQ(player.Mode(), PlayerMode::Closed);
    player.Play();  // nothing to play, nothing happens
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].rfind("Cannot play: ", 0), 0u);
}

// The null device of ALSA takes data like a sound card without one.
TEST(AlsaWavePlayer, PlaysToTheEndPausesResumesAndSeeks) {
    wb::TempDir dir("media-test");
    const auto path = Write(dir, "m.wav", WaveBytes(1, 8000, 16, std::vector<int16_t>(4000, 100)));
    AlsaWavePlayer player("null");
    StatusLog log;
    log.Attach(player);
    ASSERT_TRUE(player.Open(path));
    if (!player.DeviceAvailable()) GTEST_SKIP() << "ALSA has no null device here";
    EXPECT_EQ(player.Length(), 4000u);
    player.Play();
    player.WaitForEnd();
    EXPECT_EQ(player.Position(), 4000u);
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);

    // A long file, so that the pause comes before the end. The null device
    // takes data faster than real time, so on a busy machine the whole file
    // may be gone before the pause: then it is tried again from the start.
    const auto longer = Write(dir, "l.wav", WaveBytes(2, 44100, 16, std::vector<int16_t>(44100 * 2 * 30, 1)));
    ASSERT_TRUE(player.Open(longer));
    for (int attempt = 0; attempt < 20; ++attempt) {
        player.Previous();
        EXPECT_EQ(player.Position(), 0u);
        player.Play();
        player.Pause();
        if (player.Mode() != PlayerMode::Stopped) break;
    }
    if (player.Mode() == PlayerMode::Paused) {
        const size_t at = player.Position();
        player.Pause();  // resumes
        EXPECT_EQ(player.Mode(), PlayerMode::Playing);
        player.WaitForEnd();
        EXPECT_GE(player.Position(), at);
    } else {
        EXPECT_EQ(player.Mode(), PlayerMode::Stopped);  // ended before every pause
    }
    EXPECT_EQ(player.Position(), 44100u * 30);

    player.Next();
    EXPECT_EQ(player.Position(), 44100u * 30);
    player.Play();  // at the end Play starts again from the start
    player.Stop();
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
    player.Close();  // closing while playing stops the thread
    EXPECT_TRUE(log.lines.empty());
}

TEST(AlsaWavePlayer, ClosingWhilePlayingStopsAtOnce) {
    wb::TempDir dir("media-test");
    const auto path = Write(dir, "long.wav", WaveBytes(2, 44100, 16, std::vector<int16_t>(44100 * 2 * 3, 9)));
    AlsaWavePlayer player("null");
    ASSERT_TRUE(player.Open(path));
    if (!player.DeviceAvailable()) GTEST_SKIP() << "ALSA has no null device here";
    player.Play();
    player.Close();
    EXPECT_EQ(player.Mode(), PlayerMode::Closed);
    EXPECT_EQ(player.Length(), 0u);
}

} // namespace
