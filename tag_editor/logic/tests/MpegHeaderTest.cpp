#include <gtest/gtest.h>

#include "TestFiles.h"
#include "platform/base/File.h"
#include "platform/base/TempDir.h"
#include "tag_editor/logic/TagCodec.h"

using namespace velmora;

namespace {

TMpegInfo Decode(uint8_t b1, uint8_t b2, uint8_t b3, int64_t size = 4000000) {
    uint8_t b[4] = {0xFF, b1, b2, b3};
    return DecodeMpegHeader(b, size);
}

uint8_t B1(int versionCode, int layerCode) { return uint8_t(0xE0 | (versionCode << 3) | (layerCode << 1) | 1); }
uint8_t B2(int rateIndex, int sampleIndex) { return uint8_t((rateIndex << 4) | (sampleIndex << 2)); }

} // namespace

TEST(MpegHeader, TheWorkedExample) {
    TMpegInfo m = Decode(0xFB, 0x90, 0x44);
    EXPECT_EQ(m.Version, 0);
    EXPECT_EQ(m.Layer, 2);
    EXPECT_EQ(m.Mode, 1);
    EXPECT_EQ(m.Bitrate, 128);
    EXPECT_EQ(m.SampleRate, 44);
    EXPECT_EQ(m.Duration, 250);
    EXPECT_EQ(MpegInfoText(m), "MPEG 1 layer 3, Joint Stereo, 128 KBit, 44.1 KHz");
}

TEST(MpegHeader, EveryVersionLayerAndMode) {
    const char* versions[] = {"MPEG 1", "MPEG 2", "MPEG 2.5"};
    const int versionCodes[] = {3, 2, 0};
    const int rates[3][3] = {{44, 48, 32}, {22, 24, 16}, {11, 12, 8}};
    const char* modes[] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};
    for (int v = 0; v < 3; ++v)
        for (int layerCode = 1; layerCode <= 3; ++layerCode)
            for (int s = 0; s < 3; ++s)
                for (int mode = 0; mode < 4; ++mode) {
                    TMpegInfo m = Decode(B1(versionCodes[v], layerCode), B2(9, s), uint8_t(mode << 6));
                    int layer = 4 - layerCode;
                    int kbit = v == 0 ? 128 : 80;  // one table per version, not per layer
                    std::string rate = std::to_string(rates[v][s]) + (rates[v][s] == 44 ? ".1 KHz" : " KHz");
                    std::string want = std::string(versions[v]) + " layer " + std::to_string(layer) + ", " +
                                       modes[mode] + ", " + std::to_string(kbit) + " KBit, " + rate;
                    EXPECT_EQ(MpegInfoText(m), want);
                    EXPECT_EQ(m.Layer, layer - 1);
                }
    EXPECT_EQ(MpegInfoText(Decode(B1(2, 1), B2(8, 0), 0xC0)), "MPEG 2 layer 3, Mono, 64 KBit, 22 KHz");
    EXPECT_EQ(Decode(B1(3, 3), B2(14, 0), 0).Bitrate, 320);
    EXPECT_EQ(Decode(B1(0, 1), B2(14, 0), 0).Bitrate, 160);
}

TEST(MpegHeader, ReservedCodesAndMissingSyncAreUnusable) {
    const TMpegInfo unusable[] = {
        Decode(B1(1, 1), B2(9, 0), 0),   // reserved version
        Decode(B1(3, 0), B2(9, 0), 0),   // reserved layer
        Decode(B1(3, 1), B2(15, 0), 0),  // bit-rate index 15
        Decode(B1(3, 1), B2(9, 3), 0),   // sample-rate index 3
    };
    for (const auto& m : unusable) {
        EXPECT_FALSE(m.Usable());
        EXPECT_EQ(m.Bitrate, 0);
        EXPECT_EQ(m.Duration, 0);
        EXPECT_EQ(MpegInfoText(m), "No MPEG audio header found");
    }
    uint8_t noSync[4] = {0x49, 0x44, 0x33, 0x03};
    EXPECT_FALSE(DecodeMpegHeader(noSync, 100).Usable());
    EXPECT_EQ(DecodeMpegHeader(noSync, 100).FileSize, 100);
}

TEST(MpegHeader, FreeFormatHasNoDuration) {
    TMpegInfo m = Decode(B1(3, 1), B2(0, 0), 0);
    EXPECT_TRUE(m.Usable());
    EXPECT_EQ(m.Bitrate, 0);
    EXPECT_EQ(m.Duration, 0);
    EXPECT_EQ(MpegInfoText(m), "MPEG 1 layer 3, Stereo, 0 KBit, 44.1 KHz");
}

TEST(MpegHeader, SizesPastTwoGigabytes) {
    const int64_t size = int64_t(3) << 30;  // 3 GiB at 128 kbit/s
    TMpegInfo m = Decode(0xFB, 0x90, 0x44, size);
    EXPECT_EQ(m.FileSize, size);
    EXPECT_EQ(m.Duration, size * 8 / 128000);
}

TEST(FrameSync, FindsTheFirstSyncAcrossBlocks) {
    wb::TempDir dir;
    std::string p = dir / "a.mp3";
    // 0xFF followed by 0xFF: the sync is the first of them.
    WriteBytes(p, std::string("\x00\x12\xFF\xFF\xFB", 5));
    EXPECT_EQ(FindFrameSync(p), 2);
    // A sync split across the 64 KiB block boundary.
    std::string big(65536 + 100, '\0');
    big[65535] = '\xFF';
    big[65536] = '\xE2';
    WriteBytes(p, big);
    EXPECT_EQ(FindFrameSync(p), 65535);
    WriteBytes(p, std::string(200000, '\x01'));
    EXPECT_EQ(FindFrameSync(p), 0);
    WriteBytes(p, "");
    EXPECT_EQ(FindFrameSync(p), 0);
    EXPECT_FALSE(ReadMpegInfo(p).Usable());
}

// Reads are 4 KiB first, then 64 KiB: a header is read whole wherever its
// sync falls, also across the end of a read.
class SyncAt : public ::testing::TestWithParam<int> {};

TEST_P(SyncAt, TheHeaderIsReadWhole) {
    wb::TempDir dir;
    const std::string p = dir / "a.mp3";
    std::string bytes(size_t(GetParam()) + 400, '\0');
    bytes.replace(size_t(GetParam()), 4, "\xFF\xFB\x90\x64", 4);
    WriteBytes(p, bytes);
    EXPECT_EQ(FindFrameSync(p), GetParam());
    const TMpegInfo m = ReadMpegInfo(p);
    EXPECT_EQ(m.Bitrate, 128);
    EXPECT_EQ(m.SampleRate, 44);
    EXPECT_EQ(m.Mode, 1);
    EXPECT_EQ(m.FileSize, int64_t(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(ReadEnds, SyncAt, ::testing::Values(0, 4092, 4093, 4094, 4095, 4096, 69629, 69631, 69632),
                         [](const auto& info) { return "Byte" + std::to_string(info.param); });

TEST(FrameSync, SkipsALeadingId3v2TagWithPictureBytes) {
    wb::TempDir dir;
    std::string p = dir / "a.mp3";
    // An ID3v2 tag of 20 body bytes holding a JPEG marker (0xFF 0xE0).
    std::string tag = std::string("ID3\x03\x00\x00\x00\x00\x00\x14", 10);
    tag += std::string("\xFF\xD8\xFF\xE0", 4) + std::string(16, 'j');
    WriteBytes(p, tag + FakeMp3(4000));
    EXPECT_EQ(FindFrameSync(p), 30);
    TMpegInfo m = ReadMpegInfo(p);
    EXPECT_EQ(m.Bitrate, 128);
    EXPECT_EQ(m.FileSize, 4030);
}
