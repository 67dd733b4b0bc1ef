// Real MP3 files made by lame, and tags read and written by other tools.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "TestFiles.h"
#include "ToolShell.h"
#include "platform/base/CodePage.h"
#include "platform/base/TempDir.h"
#include "tag_editor/logic/TagCodec.h"

using namespace velmora;

namespace {

const char* kModeNames[] = {"stereo", "joint stereo", "dual channel", "mono"};

} // namespace

TEST(ToolInterop, LameFilesDecodeAsMp3infoReports) {
    REQUIRE_TOOLS("sox", "lame", "mp3info");
    wb::TempDir dir;
    struct Case { int rate; int channels; const char* lameArgs; };
    const Case cases[] = {
        {44100, 2, "-b 128"},          {44100, 2, "-b 160 -m d"}, {44100, 2, "-b 192 -m s"},
        {48000, 2, "-b 320"},          {32000, 1, "-b 96 -m m"},  {22050, 1, "-b 64 -m m"},
        {24000, 2, "-b 128 -m j"},     {16000, 1, "-b 8 -m m"},   {11025, 1, "-b 32 -m m"},
        {8000, 1, "-b 16 -m m"},
    };
    int i = 0;
    for (const auto& c : cases) {
        std::string wav = dir / ("in" + std::to_string(i) + ".wav");
        std::string mp3 = dir / ("out" + std::to_string(i) + ".mp3");
        ++i;
        Shell("sox -n -r " + std::to_string(c.rate) + " -c " + std::to_string(c.channels) + " " + Quote(wav) +
            " synth 7 sine 440");
        Shell("lame --quiet " + std::string(c.lameArgs) + " " + Quote(wav) + " " + Quote(mp3));
        auto f = Split(TrimAll(Shell("mp3info -p '%v|%o|%r|%Q|%S' " + Quote(mp3))), '|');
        ASSERT_EQ(f.size(), 5u) << mp3;

        TMpegInfo m = ReadMpegInfo(mp3);
        ASSERT_TRUE(m.Usable()) << c.lameArgs;
        const char* versions[] = {"1.000000", "2.000000", "2.500000"};
        EXPECT_EQ(versions[m.Version], f[0]) << c.lameArgs;
        EXPECT_EQ(m.Layer, 2);
        EXPECT_EQ(kModeNames[m.Mode], f[1]) << c.lameArgs;
        EXPECT_EQ(std::to_string(m.Bitrate), f[2]) << c.lameArgs;
        EXPECT_EQ(m.SampleRate, std::stoi(f[3]) / 1000) << c.lameArgs;
        EXPECT_NEAR(m.Duration, std::stoi(f[4]), 1) << c.lameArgs;
    }
}

TEST(ToolInterop, TagsWrittenById3toolReadFieldForField) {
    REQUIRE_TOOLS("sox", "lame", "id3tool");
    wb::TempDir dir;
    std::string wav = dir / "a.wav", mp3 = dir / "a.mp3";
    Shell("sox -n -r 44100 -c 1 " + Quote(wav) + " synth 2 sine 300");
    Shell("lame --quiet -b 64 " + Quote(wav) + " " + Quote(mp3));
    // Titles go to the tag as the bytes given: Windows-1252 'e' acute is 0xE9.
    Shell("id3tool -t $'Caf\\xe9 Song' -r 'The Artist' -a 'Album Name' -y 2003 -n 'A note' -c 12 -G Jazz " +
        Quote(mp3));
    TTagInfo t = ReadTag(mp3);
    ASSERT_TRUE(t.HasTag);
    EXPECT_EQ(TrimAll(t.Song), "Caf\u00e9 Song");
    EXPECT_EQ(TrimAll(t.Artist), "The Artist");
    EXPECT_EQ(TrimAll(t.Album), "Album Name");
    EXPECT_EQ(TrimAll(t.Comment), "A note");
    EXPECT_EQ(t.Year, 2003);
    EXPECT_EQ(t.Track, 12);
    EXPECT_EQ(t.Genre, 8);
    EXPECT_EQ(t.Mpeg.Bitrate, 64);
}

TEST(ToolInterop, TagsWrittenByUsAreReadByMp3infoAndId3tool) {
    REQUIRE_TOOLS("sox", "lame", "mp3info", "id3tool");
    wb::TempDir dir;
    std::string wav = dir / "a.wav", mp3 = dir / "a.mp3";
    Shell("sox -n -r 44100 -c 2 " + Quote(wav) + " synth 2 sine 300");
    Shell("lame --quiet -b 128 " + Quote(wav) + " " + Quote(mp3));
    const std::string original = ReadBytes(mp3);
    TTagInfo t;
    t.Song = "Na\u00efve Song";
    t.Artist = "Artist Name";
    t.Album = "Album";
    t.Comment = "Comment text";
    t.Year = 1987;
    t.Track = 4;
    t.Genre = GenreNumber("Hard Rock");
    WriteTag(mp3, t);
    auto f = Split(Shell("mp3info -p '%t|%a|%l|%y|%c|%n|%G' " + Quote(mp3)), '|');
    ASSERT_EQ(f.size(), 7u);
    EXPECT_EQ(TrimAll(f[0]), wb::Utf8ToCp1252(t.Song));
    EXPECT_EQ(TrimAll(f[1]), t.Artist);
    EXPECT_EQ(TrimAll(f[2]), t.Album);
    EXPECT_EQ(TrimAll(f[3]), "1987");
    EXPECT_EQ(TrimAll(f[4]), t.Comment);
    EXPECT_EQ(TrimAll(f[5]), "4");
    EXPECT_EQ(TrimAll(f[6]), "79");

    std::string listing = Shell("id3tool " + Quote(mp3));
    EXPECT_NE(listing.find("Artist Name"), std::string::npos) << listing;
    EXPECT_NE(listing.find("Hard Rock"), std::string::npos) << listing;
    EXPECT_NE(listing.find("1987"), std::string::npos) << listing;

    // After removal no tool sees a tag, and lame's own bytes are back.
    RemoveTag(mp3);
    EXPECT_NE(Shell("mp3info " + Quote(mp3) + " 2>&1; true").find("does not have an ID3 1.x tag"), std::string::npos);
    EXPECT_EQ(ReadBytes(mp3), original);
}

TEST(ToolInterop, Id3v2TaggedFileStillShowsItsAudioHeader) {
    REQUIRE_TOOLS("sox", "lame", "id3v2", "mp3info");
    wb::TempDir dir;
    std::string wav = dir / "a.wav", mp3 = dir / "a.mp3";
    Shell("sox -n -r 22050 -c 1 " + Quote(wav) + " synth 2 sine 300");
    Shell("lame --quiet -b 48 -m m " + Quote(wav) + " " + Quote(mp3));
    Shell("id3v2 --id3v2-only -t 'A title' -a 'An artist' " + Quote(mp3));
    TMpegInfo m = ReadMpegInfo(mp3);
    auto f = Split(TrimAll(Shell("mp3info -p '%r|%Q|%o' " + Quote(mp3))), '|');
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(std::to_string(m.Bitrate), f[0]);
    EXPECT_EQ(m.SampleRate, std::stoi(f[1]) / 1000);
    EXPECT_EQ(kModeNames[m.Mode], f[2]);
}

// Fields that a shorter text replaced: the new text, a zero, and what the
// earlier tag left behind it. mp3info shows the text before the zero; so
// must we, and a tag written back unchanged must be the text, one zero and
// blanks, with the stale bytes gone.
TEST(ToolInterop, AFieldEndsAtItsFirstZero) {
    REQUIRE_TOOLS("sox", "lame", "mp3info");
    struct Field { const char* code; size_t at, width; std::string bytes, text; };
    const Field fields[] = {{"%t", 3, 30, std::string("New\0ld Long Title", 17), "New"},
                            {"%a", 33, 30, std::string("\0Old Artist", 11), ""},
                            {"%l", 63, 30, std::string("  Alb\x01um\0stale", 14), "Alb um"},
                            {"%y", 93, 4, std::string("99\0" "7", 4), "99"},
                            {"%c", 97, 28, std::string("Note\0older note", 15), "Note"}};
    wb::TempDir dir;
    std::string wav = dir / "a.wav", mp3 = dir / "a.mp3";
    Shell("sox -n -r 44100 -c 1 " + Quote(wav) + " synth 1 sine 300 && lame --quiet " + Quote(wav) + " " +
          Quote(mp3));
    const std::string audio = ReadBytes(mp3);
    std::string stale = "TAG" + std::string(122, ' ') + std::string("\0\0\x0c", 3), clean = stale;
    for (const Field& f : fields) {
        stale.replace(f.at, f.width, (f.bytes + std::string(f.width, ' ')).substr(0, f.width));
        clean.replace(f.at, f.width, (f.text + (f.text.empty() ? "" : std::string(1, '\0')) +
                                      std::string(f.width, ' ')).substr(0, f.width));
    }
    WriteBytes(mp3, audio + stale);
    for (int pass = 0; pass < 2; ++pass) {
        TTagInfo t = ReadTag(mp3);
        const std::string ours[] = {t.Song, t.Artist, t.Album, t.Year ? std::to_string(t.Year) : "", t.Comment};
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(BlankControls(TrimAll(Shell("mp3info -p '" + std::string(fields[i].code) + "' " + Quote(mp3)))),
                      fields[i].text) << fields[i].code << " pass " << pass;
            EXPECT_EQ(TrimAll(ours[i]), fields[i].text) << fields[i].code << " pass " << pass;
        }
        WriteTag(mp3, t);
        const std::string after = ReadBytes(mp3);
        ASSERT_EQ(after.size(), audio.size() + 128);
        EXPECT_EQ(after.substr(audio.size()), clean) << "pass " << pass;
    }
}
