// Files from the outside world: sox writes them and reads back what we save.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "WaveTestSupport.h"
#include "effects_workbench/Normalizer.h"
#include "effects_workbench/Stereotomono.h"

using namespace sonafex::test;

namespace {

bool SoxPresent() { return std::system("sox --version >/dev/null 2>&1") == 0; }

#define REQUIRE_SOX()                                                                  \
    if (!SoxPresent()) GTEST_SKIP() << "sox is not installed (scripts/setup installs it); " \
                                       "skipping the tests against files sox writes and reads"

struct ShellRun {
    int status;
    std::string out;  // standard output and error together
};

ShellRun Sh(const wb::TempDir& dir, const std::string& command) {
    const std::string log = dir / "sh.log";
    const int status = std::system((command + " >" + log + " 2>&1").c_str());
    const Bytes b = ReadBytes(log);
    return {status, std::string(b.begin(), b.end())};
}

// sox's own reading of a file as raw little-endian bytes (16-bit signed, or
// 8-bit unsigned as stored).
Bytes SoxRaw(const wb::TempDir& dir, const std::string& wav, int bits) {
    const std::string raw = dir / "sox.raw";
    const std::string enc = bits == 8 ? "-e unsigned -b 8" : "-e signed -b 16 -L";
    const ShellRun r = Sh(dir, "sox " + wav + " -t raw " + enc + " " + raw);
    EXPECT_EQ(r.status, 0) << r.out;
    return ReadBytes(raw);
}

Bytes HeldBytes(const SoundFile& s) {
    Bytes b;
    for (int64_t i = 0; i < s.HeldSamples(); ++i) Add16(b, static_cast<uint16_t>(s.GetSample(i)));
    b.resize(static_cast<size_t>(s.GetDataSize()));
    return b;
}

// What sox --i says about a file we wrote; it must say it without complaint.
struct Info {
    int rate = 0, channels = 0;
    long samples = 0;
};
Info SoxInfo(const wb::TempDir& dir, const std::string& wav) {
    Info info;
    ShellRun r = Sh(dir, "sox --i -r " + wav);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find("WARN"), std::string::npos) << r.out;
    info.rate = std::atoi(r.out.c_str());
    r = Sh(dir, "sox --i -c " + wav);
    info.channels = std::atoi(r.out.c_str());
    r = Sh(dir, "sox --i -s " + wav);
    info.samples = std::atol(r.out.c_str());
    return info;
}

struct Kind {
    int rate, bits, channels;
};

std::string Synth(const wb::TempDir& dir, const Kind& k, const char* name) {
    const std::string wav = dir / name;
    // Odd lengths on purpose: 8-bit mono bodies then need a pad byte.
    const std::string rate = std::to_string(k.rate), channels = std::to_string(k.channels);
    const std::string cmd = "sox -r " + rate + " -c " + channels + " -n -b " +
                            std::to_string(k.bits) + " " + wav +
                            " synth 1001s sine 440 sine 1234 sine 97 gain -1";
    const ShellRun r = Sh(dir, cmd);
    EXPECT_EQ(r.status, 0) << cmd << "\n" << r.out;
    return wav;
}

} // namespace

TEST(SoxFiles, ReadRightAndSavedFilesAreAccepted) {
    REQUIRE_SOX();
    wb::TempDir dir("sonafex-test");
    const std::vector<Kind> kinds = {{11025, 16, 1}, {22050, 16, 1}, {44100, 16, 1},
                                     {44100, 16, 2}, {22050, 16, 2}, {11025, 8, 1},
                                     {44100, 8, 2},  {44100, 16, 3}};
    for (const Kind& k : kinds) {
        SCOPED_TRACE(std::to_string(k.rate) + " Hz, " + std::to_string(k.bits) + " bits, " +
                     std::to_string(k.channels) + " channels");
        const std::string wav = Synth(dir, k, "in.wav");
        SoundFile s(wav);
        EXPECT_EQ(s.GetLoadProblem(), "");
        EXPECT_EQ(s.GetSampleRate(), k.rate);
        EXPECT_EQ(s.GetBitsPerSample(), k.bits);
        EXPECT_EQ(s.GetChannels(), k.channels);
        EXPECT_EQ(s.GetFrameCount(), 1001);
        EXPECT_EQ(s.GetByteRate(), k.rate * k.channels * k.bits / 8);
        const Bytes expected = SoxRaw(dir, wav, k.bits);
        EXPECT_EQ(HeldBytes(s), expected);

        const std::string out = dir / "out.wav";
        s.Save(out);
        const Info info = SoxInfo(dir, out);
        EXPECT_EQ(info.rate, k.rate);
        EXPECT_EQ(info.channels, k.channels);
        EXPECT_EQ(info.samples, 1001);
        EXPECT_EQ(SoxRaw(dir, out, k.bits), expected);
    }
}

TEST(SoxFiles, ListChunkWithAnOddSizeBeforeTheData) {
    REQUIRE_SOX();
    wb::TempDir dir("sonafex-test");
    const std::string plain = Synth(dir, {22050, 16, 1}, "plain.wav");
    Bytes b = ReadBytes(plain);
    ASSERT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);  // sox's canonical layout
    Bytes list;
    AddId(list, "INFO");
    AddId(list, "ICMT");
    Add32(list, 9);
    for (char c : std::string("a comment")) list.push_back(static_cast<unsigned char>(c));
    Bytes chunk;
    AddChunk(chunk, "LIST", list);  // 21 bytes and a pad byte
    b.insert(b.begin() + 36, chunk.begin(), chunk.end());
    Finish(b);
    const std::string listed = dir / "listed.wav";
    WriteBytes(listed, b);

    const Bytes expected = SoxRaw(dir, listed, 16);
    ASSERT_EQ(expected, SoxRaw(dir, plain, 16));  // sox reads it as the same sound
    SoundFile s(listed);
    EXPECT_EQ(s.GetLoadProblem(), "");
    EXPECT_EQ(HeldBytes(s), expected);
    s.Save(dir / "out.wav");
    EXPECT_EQ(ReadBytes(dir / "out.wav").size(), 44 + expected.size());
    EXPECT_EQ(SoxRaw(dir, dir / "out.wav", 16), expected);
}

TEST(SoxFiles, EffectResultsAreAccepted) {
    REQUIRE_SOX();
    wb::TempDir dir("sonafex-test");
    RecordingProgress bar;
    SoundFile stereo(Synth(dir, {44100, 16, 2}, "st.wav"));
    StereoToMono(stereo, bar);
    stereo.Save(dir / "mono.wav");
    Info info = SoxInfo(dir, dir / "mono.wav");
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.rate, 44100);
    EXPECT_EQ(info.samples, 1001);

    SoundFile mono(Synth(dir, {11025, 16, 1}, "m.wav"));
    Normalizer(mono, bar);
    mono.Save(dir / "norm.wav");
    info = SoxInfo(dir, dir / "norm.wav");
    EXPECT_EQ(info.rate, 11025);
    EXPECT_EQ(info.samples, 1001);
    // sox finds the new peak where we put it: full scale less one step at most.
    const ShellRun report = Sh(dir, "sox " + (dir / "norm.wav") + " -n stat");
    const size_t high = report.out.find("Maximum amplitude:");
    const size_t low = report.out.find("Minimum amplitude:");
    ASSERT_NE(high, std::string::npos) << report.out;
    ASSERT_NE(low, std::string::npos) << report.out;
    const double peak = std::max(std::atof(report.out.c_str() + high + 18),
                                 -std::atof(report.out.c_str() + low + 18));
    EXPECT_NEAR(peak, 1.0, 1.0 / 16384);
}
