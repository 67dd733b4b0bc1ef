#include <gtest/gtest.h>

#include <csignal>
#include <tuple>
#include <sys/resource.h>

#include "TestFiles.h"
#include "ToolShell.h"
#include "platform/base/File.h"
#include "platform/base/TempDir.h"
#include "tag_editor/logic/TagCodec.h"

using namespace velmora;

namespace {

std::string Tail(const std::string& bytes) { return bytes.substr(bytes.size() - 128); }

TTagInfo SampleTag() {
    TTagInfo t;
    t.Song = "abc";
    t.Artist = "Some Artist";
    t.Album = "An Album";
    t.Year = 1999;
    t.Comment = "";
    t.Track = 7;
    t.Genre = 17;
    return t;
}

} // namespace

TEST(TagLayout, FieldsAreWrittenExactly) {
    wb::TempDir dir;
    std::string p = dir / "a.mp3";
    WriteBytes(p, FakeMp3(1000));
    WriteTag(p, SampleTag());
    std::string all = ReadBytes(p);
    ASSERT_EQ(all.size(), 1128u);
    std::string tag = Tail(all);
    EXPECT_EQ(tag.substr(0, 3), "TAG");
    EXPECT_EQ(tag.substr(3, 30), std::string("abc") + '\0' + std::string(26, ' '));
    EXPECT_EQ(tag.substr(33, 30), std::string("Some Artist") + '\0' + std::string(18, ' '));
    EXPECT_EQ(tag.substr(93, 4), "1999");
    EXPECT_EQ(tag.substr(97, 28), std::string(28, ' '));  // empty comment: blanks only
    EXPECT_EQ(tag[125], '\0');
    EXPECT_EQ(tag[126], '\x07');
    EXPECT_EQ(tag[127], '\x11');
    EXPECT_EQ(all.substr(0, 1000), FakeMp3(1000));  // audio untouched
}

TEST(TagLayout, LongTextsYearZeroAndTrackZero) {
    TTagInfo t;
    t.Song = std::string(40, 'S');
    t.Comment = std::string(28, 'C');
    t.Album = "x\0yz";  // stops at an embedded zero
    t.Album = std::string("x\0yz", 4);
    auto b = EncodeTag(t);
    std::string tag(b.begin(), b.end());
    EXPECT_EQ(tag.substr(3, 30), std::string(30, 'S'));   // no terminating zero
    EXPECT_EQ(tag.substr(63, 30), std::string("x") + '\0' + std::string(28, ' '));
    EXPECT_EQ(tag.substr(93, 4), "    ");
    EXPECT_EQ(tag.substr(97, 28), std::string(28, 'C'));
    EXPECT_EQ(tag[125], '\0');  // always ID3v1.1, also without a track
    EXPECT_EQ(tag[126], '\0');
    t.Year = 99;
    b = EncodeTag(t);
    EXPECT_EQ(std::string(b.begin() + 93, b.begin() + 97), std::string("99") + '\0' + ' ');
}

TEST(TagLayout, TextIsWindows1252OnDisk) {
    TTagInfo t;
    t.Song = "Caf\u00e9 \u20ac \u0416";  // the Cyrillic letter has no byte
    auto b = EncodeTag(t);
    EXPECT_EQ(std::string(b.begin() + 3, b.begin() + 11), "Caf\xe9 \x80 ?");
    TTagInfo back = DecodeTag(b.data());
    EXPECT_EQ(back.Song.substr(0, 11), "Caf\u00e9 \u20ac ?");
}

TEST(TagFile, WriteRewriteRemove) {
    wb::TempDir dir;
    std::string p = dir / "a.mp3";
    std::string audio = FakeMp3(5000);
    WriteBytes(p, audio);

    WriteTag(p, SampleTag());
    EXPECT_EQ(wb::FileSizeOf(p), 5128);
    TTagInfo t = SampleTag();
    t.Song = "Another title";
    WriteTag(p, t);  // in place
    EXPECT_EQ(wb::FileSizeOf(p), 5128);
    TTagInfo r = ReadTag(p);
    EXPECT_TRUE(r.HasTag);
    EXPECT_EQ(r.Song.substr(0, 13), "Another title");

    RemoveTag(p);
    EXPECT_EQ(ReadBytes(p), audio);
    RemoveTag(p);  // an untagged file is left alone
    EXPECT_EQ(ReadBytes(p), audio);

    WriteTag("", t);                       // nothing to do
    // A file that is gone is a failure that names it, and is not made.
    try {
        WriteTag(dir / "missing.mp3", t);
        ADD_FAILURE() << "a tag was \"written\" to a missing file";
    } catch (const wb::IoError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.mp3\": No such file or directory"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(wb::FileExists(dir / "missing.mp3"));
}

TEST(TagFile, ShortFilesReadUntaggedAndGrowByOneTag) {
    wb::TempDir dir;
    std::string p = dir / "01 Tiny.mp3";
    WriteBytes(p, "TAGxx");
    TTagInfo r = ReadTag(p);
    EXPECT_FALSE(r.HasTag);
    EXPECT_EQ(r.Song, "Tiny");
    EXPECT_FALSE(r.Mpeg.Usable());
    WriteTag(p, SampleTag());
    EXPECT_EQ(wb::FileSizeOf(p), 5 + 128);
    EXPECT_TRUE(ReadTag(p).HasTag);
}

// Control bytes of a tag, or of the name of an untagged file, are read as
// blanks: no name, tag or list line built from them can break.
TEST(TagRead, ControlBytesAreReadAsBlanks) {
    wb::TempDir dir;
    std::string tag = "TAG" + std::string("One\rPart\n\x01x\x7f") + std::string(18, '\0') +
                      std::string("Band\0\x1b[2J", 10) + std::string(20, ' ') + std::string(30 + 4 + 28, ' ') +
                      std::string("\0\x03\x11", 3);
    ASSERT_EQ(tag.size(), 128u);
    WriteBytes(dir / "tagged.mp3", FakeMp3(1000) + tag);
    WriteBytes(dir / "07 Band\x1b - Song\rOne.mp3", FakeMp3(1000));
    for (auto [file, artist, song] : {std::tuple{"tagged.mp3", "Band", "One Part  x"},
                                      {"07 Band\x1b - Song\rOne.mp3", "Band", "Song One"}}) {
        TTagInfo t = ReadTag(dir / file);
        EXPECT_EQ(TrimAll(t.Artist), artist) << file;
        EXPECT_EQ(TrimAll(t.Song), song) << file;
        for (const std::string* field : {&t.Song, &t.Artist, &t.Album, &t.Comment})
            for (char c : *field) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << file;
    }
}

TEST(TagRead, OddYearTrackAndCommentBytes) {
    std::string tag = "TAG" + std::string(30, '\0') + std::string(30, ' ') + std::string(30, 'A');
    tag += " 999";
    tag += "  comment" + std::string(19, ' ');
    tag += "\x01\x05\x0c";
    ASSERT_EQ(tag.size(), 128u);
    TTagInfo t = DecodeTag(reinterpret_cast<const uint8_t*>(tag.data()));
    EXPECT_EQ(t.Year, 999);
    EXPECT_EQ(t.Song, "");             // zeros are leading control bytes
    EXPECT_EQ(t.Album, std::string(30, 'A'));
    EXPECT_EQ(t.Track, 0);             // byte 125 is not zero: no track byte
    EXPECT_EQ(t.Comment, "comment" + std::string(19, ' '));  // trailing blanks stay
    EXPECT_EQ(t.Genre, 12);

    for (auto [year, want] : {std::pair{std::string("1999"), 1999}, {std::string(" 999"), 999},
                              {std::string("99") + '\0' + ' ', 99}, {std::string("    "), 0},
                              {std::string("19x9"), 0}}) {
        std::string b = tag;
        b.replace(93, 4, year);
        EXPECT_EQ(DecodeTag(reinterpret_cast<const uint8_t*>(b.data())).Year, want) << year;
    }
    std::string b = tag;
    b[125] = '\0';
    b[126] = '\xff';
    EXPECT_EQ(DecodeTag(reinterpret_cast<const uint8_t*>(b.data())).Track, 255);
}

TEST(TagRead, ReadOnlyFlagAndUnopenableFile) {
    wb::TempDir dir;
    std::string p = dir / "a.mp3";
    WriteBytes(p, FakeMp3(300));
    EXPECT_FALSE(ReadTag(p).ReadOnly);
    EXPECT_THROW(ReadTag(dir / "gone.mp3"), wb::IoError);
}

TEST(TagWrite, DiskFullLeavesFormerLengthAndReportsTheError) {
    wb::TempDir dir;
    std::string p = dir / "a.mp3";
    std::string audio = FakeMp3(4000);
    WriteBytes(p, audio);

    // A file-size limit 50 bytes past the end makes the append fail part-way.
    struct rlimit old;
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = old;
    lim.rlim_cur = 4050;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lim), 0);
    EXPECT_THROW(WriteTag(p, SampleTag()), wb::IoError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(ReadBytes(p), audio);
}

TEST(Genres, TableAndLookup) {
    EXPECT_EQ(kGenreNames.size(), 115u);
    EXPECT_EQ(GenreNumber("rock"), 17);
    EXPECT_EQ(GenreNumber("ROCK"), 17);
    EXPECT_EQ(GenreNumber("Swing"), 83);
    EXPECT_EQ(GenreNumber("Bebob"), 84);
    EXPECT_EQ(GenreNumber("Folklore"), 114);
    EXPECT_EQ(GenreNumber("Rock "), 255);
    EXPECT_EQ(GenreNumber(""), 255);
    EXPECT_EQ(GenreNumber("Polsk Punk"), 255);
    EXPECT_EQ(GenreName(84), "Bebob");
    EXPECT_EQ(GenreName(115), "");
    for (int i = 0; i < kGenreCount; ++i) EXPECT_EQ(GenreNumber(kGenreNames[i]), i);
}

TEST(Digits, AllDigitsAndNumberedNames) {
    EXPECT_TRUE(IsAllDigits("0123"));
    EXPECT_FALSE(IsAllDigits(""));
    EXPECT_FALSE(IsAllDigits("12a"));
    EXPECT_TRUE(StartsWithNumber("07 Song"));
    EXPECT_TRUE(StartsWithNumber("7"));
    EXPECT_FALSE(StartsWithNumber("7 Song"));
    EXPECT_FALSE(StartsWithNumber(""));
}

TEST(NamesFromFile, ThePatternsOfNumberedAndDashedNames) {
    struct Case { const char* file; const char* artist; const char* song; };
    const Case cases[] = {
        {"/music/07. Some Artist - Some Song.mp3", "Some Artist", "Some Song"},
        {"/music/07 Some Song.mp3", "", "Some Song"},
        {"/music/Some Song.mp3", "", "Some Song"},
        {"/music/07 - Some Song.mp3", "", "Some Song"},
        {"Artist - Title - Mix.mp3", "Artist", "Title - Mix"},
        {"/music/  Padded  .mp3", "", "Padded"},
        {"/music/07 \u00c9t\u00e9 - Ch\u00e2teau.mp3", "\u00c9t\u00e9", "Ch\u00e2teau"},
        {"/m/a.mp3", "", "a"},
        {"/m/.mp3", "", ""},
    };
    for (const auto& c : cases) {
        TTagInfo t;
        NamesFromFileName(c.file, t);
        EXPECT_EQ(t.Artist, c.artist) << c.file;
        EXPECT_EQ(t.Song, c.song) << c.file;
    }
    TTagInfo t;
    NamesFromFileName("/m/12 " + std::string(300, 'x') + ".mp3", t);
    EXPECT_EQ(t.Song.size(), 255u);
}

TEST(NamesFromFile, UntaggedFileGetsNamesAndZeroes) {
    wb::TempDir dir;
    std::string p = dir / "07. Some Artist - Some Song.mp3";
    WriteBytes(p, FakeMp3(4000));
    TTagInfo t = ReadTag(p);
    EXPECT_FALSE(t.HasTag);
    EXPECT_EQ(t.Artist, "Some Artist");
    EXPECT_EQ(t.Song, "Some Song");
    EXPECT_EQ(t.Year, 0);
    EXPECT_EQ(t.Genre, 0);
    EXPECT_EQ(t.Track, 0);
    EXPECT_TRUE(t.Album.empty());
    EXPECT_EQ(t.Mpeg.Bitrate, 128);
}
