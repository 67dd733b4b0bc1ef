#include "effects_workbench/Waveformat.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "WaveTestSupport.h"
#include "platform/base/IoError.h"

using namespace sonafex::test;

namespace {

SoundFile LoadBytes(const wb::TempDir& dir, const Bytes& b) {
    const std::string path = dir / "f.wav";
    WriteBytes(path, b);
    return SoundFile(path);
}

uint32_t At32(const Bytes& b, size_t off) {
    return b[off] | b[off + 1] << 8 | b[off + 2] << 16 | static_cast<uint32_t>(b[off + 3]) << 24;
}
uint16_t At16(const Bytes& b, size_t off) { return static_cast<uint16_t>(b[off] | b[off + 1] << 8); }

} // namespace

TEST(SoundFile, ReadsHeaderFieldsAndSamples) {
    wb::TempDir dir("sonafex-test");
    Format f;
    f.rate = 22050;
    f.byteRate = 44100;
    SoundFile s = [&] {
        Bytes b = Header(f);
        AddChunk(b, "data", SampleBytes({1, -2, 32767, -32768}));
        Finish(b);
        return LoadBytes(dir, b);
    }();
    EXPECT_EQ(s.GetLoadProblem(), "");
    EXPECT_EQ(s.GetFormatTag(), 1);
    EXPECT_EQ(s.GetChannels(), 1);
    EXPECT_EQ(s.GetSampleRate(), 22050);
    EXPECT_EQ(s.GetByteRate(), 44100);
    EXPECT_EQ(s.GetBlockAlign(), 2);
    EXPECT_EQ(s.GetBitsPerSample(), 16);
    EXPECT_EQ(s.GetDataSize(), 8);
    EXPECT_EQ(s.GetFrameCount(), 4);
    EXPECT_EQ(Samples(s), (std::vector<int16_t>{1, -2, 32767, -32768}));
}

TEST(SoundFile, WalksPastOtherChunksToTheExactDataId) {
    wb::TempDir dir("sonafex-test");
    Bytes b = Header();
    AddChunk(b, "LIST", Bytes(27, 'x'));            // odd: a pad byte follows
    AddChunk(b, "DATA", SampleBytes({9, 9, 9}));    // not the data chunk
    AddChunk(b, "junk", Bytes(70000, 0x55));        // more than two 32767-byte pieces
    AddChunk(b, "data", SampleBytes({5, -6}));
    AddChunk(b, "tail", Bytes(3, 1));
    Finish(b);
    SoundFile s = LoadBytes(dir, b);
    EXPECT_EQ(s.GetLoadProblem(), "");
    EXPECT_EQ(Samples(s), (std::vector<int16_t>{5, -6}));
}

TEST(SoundFile, SkipsALongerFormatChunkByItsStoredSize) {
    wb::TempDir dir("sonafex-test");
    for (uint32_t size : {18u, 40u, 21u}) {
        Bytes b = Header({}, size);
        AddChunk(b, "data", SampleBytes({7, 8, 9}));
        Finish(b);
        SoundFile s = LoadBytes(dir, b);
        EXPECT_EQ(Samples(s), (std::vector<int16_t>{7, 8, 9})) << "format size " << size;
        EXPECT_EQ(s.GetBitsPerSample(), 16);
    }
}

TEST(SoundFile, SecondsAreWholeAndDivisionsByZeroGiveZero) {
    wb::TempDir dir("sonafex-test");
    Format f;
    f.byteRate = 44100;
    Bytes b = Header(f);
    AddChunk(b, "data", Bytes(1000000, 0));
    Finish(b);
    EXPECT_EQ(LoadBytes(dir, b).GetSeconds(), 22.0);

    f.byteRate = 0;
    Bytes z = Header(f);
    AddChunk(z, "data", SampleBytes({1, 2, 3, 4}));
    Finish(z);
    SoundFile s = LoadBytes(dir, z);
    EXPECT_EQ(s.GetSeconds(), 0.0);
    EXPECT_EQ(s.GetFrameCount(), 4);
    EXPECT_EQ(s.GetDataSize(), 8);
}

TEST(SoundFile, SetSampleKeepsTheLow16BitsAndAccessStaysInsideTheBuffer) {
    SoundFile s = Mono({0, 0, 0});
    s.SetSample(0, 40000);
    s.SetSample(1, -40000);
    s.SetSample(2, 0x1234'5678'9ABCLL);
    EXPECT_EQ(s.GetSample(0), -25536);
    EXPECT_EQ(s.GetSample(1), 25536);
    EXPECT_EQ(s.GetSample(2), static_cast<int16_t>(0x9ABC));
    // Outside the buffer: reads are 0, writes are dropped.
    s.SetSample(3, 77);
    s.SetSample(-1, 77);
    EXPECT_EQ(s.GetSample(3), 0);
    EXPECT_EQ(s.GetSample(-1), 0);
    EXPECT_EQ(s.HeldSamples(), 3);
}

TEST(SoundFile, LyingHeadersGiveAClearProblemAndASafeObject) {
    wb::TempDir dir("sonafex-test");
    struct Case {
        const char* what;
        Bytes bytes;
        const char* problem;  // part of the message
    };
    std::vector<Case> cases;
    cases.push_back({"empty file", {}, "ends inside its header"});
    {
        Bytes b = Header();
        b.resize(30);
        cases.push_back({"cut inside the format", b, "ends inside its header"});
    }
    {
        Bytes b = Header();
        Finish(b);
        cases.push_back({"no chunk after the format", b, "no data chunk"});
    }
    {
        Bytes b = Header();
        AddId(b, "LIST");
        Add32(b, 0xFFFFFFF0u);  // far past the end
        b.insert(b.end(), 10, 0);
        cases.push_back({"chunk size past the end", b, "runs past the end"});
    }
    {
        Bytes b = Header();
        b[16] = b[17] = b[18] = 0xFF;
        b[19] = 0x7F;
        cases.push_back({"format size past the end", b, "runs past the end"});
    }
    {
        Bytes b = Header();
        AddId(b, "data");
        b.push_back(4);
        cases.push_back({"data size cut off", b, "ends inside a chunk header"});
    }
    {
        Bytes b = Header();
        b.push_back('d');
        b.push_back('a');
        cases.push_back({"chunk id cut off", b, "no data chunk"});
    }
    for (const Case& c : cases) {
        SoundFile s = LoadBytes(dir, c.bytes);
        EXPECT_NE(s.GetLoadProblem().find(c.problem), std::string::npos)
            << c.what << ": " << s.GetLoadProblem();
        EXPECT_EQ(s.GetDataSize(), 0) << c.what;
        EXPECT_EQ(s.HeldSamples(), 0) << c.what;
        EXPECT_EQ(s.GetFrameCount(), 0) << c.what;
    }
    // Cut before the format fields: none of them is set, so no 16-bit file.
    EXPECT_EQ(LoadBytes(dir, cases[1].bytes).GetBitsPerSample(), 0);

    SoundFile missing(dir / "nowhere.wav");
    EXPECT_NE(missing.GetLoadProblem().find("nowhere.wav"), std::string::npos);
    EXPECT_EQ(missing.GetBitsPerSample(), 0);
    SoundFile folder(dir / "");
    EXPECT_NE(folder.GetLoadProblem(), "");
}

TEST(SoundFile, ADataSizePastTheEndHoldsWhatIsPresent) {
    wb::TempDir dir("sonafex-test");
    for (uint32_t claimed : {1000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        Bytes b = Header();
        AddId(b, "data");
        Add32(b, claimed);
        Bytes body = SampleBytes({100, -200, 300});
        b.insert(b.end(), body.begin(), body.end());
        b.push_back(0x7F);  // half a sample
        SoundFile s = LoadBytes(dir, b);
        EXPECT_EQ(s.GetDataSize(), 7) << claimed;
        EXPECT_NE(s.GetLoadProblem().find("only 7 are present"), std::string::npos)
            << s.GetLoadProblem();
        // The odd byte is kept; the missing half of its sample is zero.
        EXPECT_EQ(Samples(s), (std::vector<int16_t>{100, -200, 300, 0x7F}));
        EXPECT_EQ(s.GetFrameCount(), 3);
    }
}

TEST(SoundFile, SaveWritesACanonicalHeaderAndDropsOtherChunks) {
    wb::TempDir dir("sonafex-test");
    Format f;
    f.rate = 11025;
    f.byteRate = 22050;
    Bytes b = Header(f, 18);
    AddChunk(b, "LIST", Bytes(5, 'a'));
    AddChunk(b, "data", SampleBytes({1, 2, 3}));
    b[4] = 0x77;  // stale RIFF size
    SoundFile s = LoadBytes(dir, b);
    const std::string out = dir / "out.wav";
    s.Save(out);
    Bytes w = ReadBytes(out);
    ASSERT_EQ(w.size(), 44u + 6);
    EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
    EXPECT_EQ(At32(w, 4), 36u + 6);
    EXPECT_EQ(std::string(w.begin() + 8, w.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(At32(w, 16), 16u);
    EXPECT_EQ(At16(w, 20), 1);
    EXPECT_EQ(At16(w, 22), 1);
    EXPECT_EQ(At32(w, 24), 11025u);
    EXPECT_EQ(At32(w, 28), 22050u);
    EXPECT_EQ(At16(w, 32), 2);
    EXPECT_EQ(At16(w, 34), 16);
    EXPECT_EQ(std::string(w.begin() + 36, w.begin() + 40), "data");
    EXPECT_EQ(At32(w, 40), 6u);
    EXPECT_EQ(Samples(SoundFile(out)), (std::vector<int16_t>{1, 2, 3}));
    // Nothing left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / ""), {}), 2);
}

TEST(SoundFile, SaveNeverWritesPastTheBufferAndPadsAnOddBody) {
    wb::TempDir dir("sonafex-test");
    SoundFile s = Mono({10, 20, 30, 40});
    s.SetDataSize(1000);
    const std::string out = dir / "big.wav";
    s.Save(out);
    EXPECT_EQ(At32(ReadBytes(out), 40), 8u);
    EXPECT_EQ(ReadBytes(out).size(), 52u);

    s.ReplaceData({1, 2});
    s.SetDataSize(3);  // an odd body, as 8-bit files have
    s.Save(out);
    Bytes w = ReadBytes(out);
    ASSERT_EQ(w.size(), 48u);
    EXPECT_EQ(At32(w, 4), 40u);
    EXPECT_EQ(At32(w, 40), 3u);
    EXPECT_EQ(w[47], 0);

    s.SetDataSize(-5);
    s.Save(out);
    EXPECT_EQ(ReadBytes(out).size(), 44u);
}

TEST(SoundFile, ExtensibleFormatIsSavedAsItsRealFormat) {
    wb::TempDir dir("sonafex-test");
    Format f;
    f.tag = 0xFFFE;
    Bytes b = Header(f, 40);
    b[20 + 24] = 1;  // sub-format: PCM
    AddChunk(b, "data", SampleBytes({3}));
    Finish(b);
    SoundFile s = LoadBytes(dir, b);
    EXPECT_EQ(s.GetFormatTag(), 0xFFFE);
    s.Save(dir / "o.wav");
    EXPECT_EQ(At16(ReadBytes(dir / "o.wav"), 20), 1);
}

TEST(SoundFile, FailedSaveReportsAndKeepsTheOldFile) {
    wb::TempDir dir("sonafex-test");
    SoundFile s = Mono({1, 2, 3});
    EXPECT_THROW(s.Save(dir / "no/such/folder/x.wav"), wb::IoError);

    const std::string target = dir / "keep.wav";
    WriteBytes(target, MonoFile({9, 9}));
    std::filesystem::create_directory(target + ".tmp");  // blocks the first temporary name
    s.Save(target);
    EXPECT_EQ(Samples(SoundFile(target)), (std::vector<int16_t>{1, 2, 3}));
}

TEST(SoundFile, SaveOverTheFileItWasReadFrom) {
    wb::TempDir dir("sonafex-test");
    const std::string path = dir / "same.wav";
    Bytes b = Header();
    AddChunk(b, "data", SampleBytes({4, 5, 6}));
    b.resize(b.size() - 1);  // a short data chunk
    WriteBytes(path, b);
    SoundFile s(path);
    s.SetSample(0, -4);
    s.Save(path);
    SoundFile again(path);
    EXPECT_EQ(again.GetLoadProblem(), "");
    EXPECT_EQ(Samples(again), (std::vector<int16_t>{-4, 5, 6}));
    EXPECT_EQ(again.GetDataSize(), 5);
}
