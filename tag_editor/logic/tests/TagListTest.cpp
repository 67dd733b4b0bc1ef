#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "TestFiles.h"
#include "platform/base/IoError.h"
#include "platform/base/TempDir.h"
#include "tag_editor/logic/TagList.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) { return info.param.name; }

std::set<std::string> FilesUnder(const std::string& root) {
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) out.insert(fs::relative(e.path(), root).string());
    return out;
}

TTagList Album(std::string artist, std::string album, std::vector<std::string> titles) {
    TTagList l;
    l.Artist = std::move(artist);
    l.AlbumName = std::move(album);
    for (auto& t : titles) l.Tracks.push_back({"", std::move(t)});
    return l;
}

TTagList Sampler(std::string album, std::vector<TTagListTrack> tracks) {
    TTagList l;
    l.Album = false;
    l.AlbumName = std::move(album);
    l.Tracks = std::move(tracks);
    return l;
}

struct FileRow {
    std::string name;
    TTagList list;
    std::string fileName;  // under "Tags"
    std::string bytes;
};

class TagListFileTest : public testing::TestWithParam<FileRow> {};

// The exact bytes, a name that stays inside the folder, and a file that
// reads back as the list and writes back as the same bytes.
TEST_P(TagListFileTest, WritesExactlyAndReadsBack) {
    const FileRow& row = GetParam();
    EXPECT_EQ(TagListFileName(row.list), row.fileName);
    EXPECT_EQ(FormatTagList(row.list), row.bytes);

    wb::TempDir dir;
    const std::string tags = dir / "Tags";
    fs::create_directory(tags);
    std::string path = SaveTagList(tags, row.list);
    EXPECT_EQ(path, tags + "/" + row.fileName);
    EXPECT_EQ(FilesUnder(dir.Path()), std::set<std::string>{"Tags/" + row.fileName});
    EXPECT_EQ(ReadBytes(path), row.bytes);

    TTagList loaded = LoadTagList(path);
    EXPECT_TRUE(loaded == row.list);
    EXPECT_EQ(FormatTagList(loaded), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, TagListFileTest,
    testing::Values(
        FileRow{"AlbumOfThreeTitles",
                [] {
                    TTagList l = Album("A", "B", {"One", "Two", "Three"});
                    l.Comment = "C", l.Year = "1999", l.Genre = "Rock";
                    return l;
                }(),
                "A - B.Tag", "Album\r\nA\r\nB\r\nC\r\n1999\r\nRock\r\n4\r\nOne\r\nTwo\r\nThree\r\n"},
        FileRow{"SamplerOfTwoTracks",
                [] {
                    TTagList l = Sampler("Hits", {{"Artist 1", "Title 1"}, {"Artist 2", "Title 2"}});
                    l.Comment = "note", l.Year = "2001", l.Genre = "Pop";
                    return l;
                }(),
                "Hits (Sampler).Tag",
                "Sampler\r\nHits\r\nnote\r\n2001\r\nPop\r\n3\r\nArtist 1\r\nTitle 1\r\nArtist 2\r\nTitle 2\r\n"},
        FileRow{"EmptyYearGenreAndTitleKeepTheirLines", Album("A", "B", {""}), "A - B.Tag",
                "Album\r\nA\r\nB\r\n\r\n\r\n\r\n2\r\n\r\n"},
        FileRow{"BlanksAreKeptAsTypedButNoneLeadsTheName", Album(" A ", "B  ", {" t "}), "A  - B  .Tag",
                "Album\r\n A \r\nB  \r\n\r\n\r\n\r\n2\r\n t \r\n"},
        FileRow{"SlashInTheArtistStaysInsideTheFolder", Album("AC/DC", "Back: In?", {"Hells \"Bells\""}),
                "AC-DC - Back  In .Tag", "Album\r\nAC/DC\r\nBack: In?\r\n\r\n\r\n\r\n2\r\nHells \"Bells\"\r\n"},
        FileRow{"ClimbingAlbumNameStaysInsideTheFolder", Sampler("../../x", {{"a", "b"}}), "-..-x (Sampler).Tag",
                "Sampler\r\n../../x\r\n\r\n\r\n\r\n2\r\na\r\nb\r\n"},
        FileRow{"Utf8Text", Album("Bj\u00f6rk", "D\u00e9but", {"Human Behaviour \u266a"}),
                "Bj\u00f6rk - D\u00e9but.Tag",
                "Album\r\nBj\u00f6rk\r\nD\u00e9but\r\n\r\n\r\n\r\n2\r\nHuman Behaviour \u266a\r\n"}),
    RowName<FileRow>);

struct ReadRow {
    std::string name;
    std::string bytes;
    TTagList expected;
};

class TagListReadTest : public testing::TestWithParam<ReadRow> {};

TEST_P(TagListReadTest, ReadsAsTheEditorDoes) {
    EXPECT_TRUE(ParseTagList(GetParam().bytes, "x.Tag") == GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TagListReadTest,
    testing::Values(
        ReadRow{"LowerCaseMarkIsASampler", "album\r\nN\r\nC\r\n\r\n\r\n2\r\nArt\r\nTit\r\n",
                [] {
                    TTagList l = Sampler("N", {{"Art", "Tit"}});
                    l.Comment = "C";
                    return l;
                }()},
        ReadRow{"AnyOtherMarkIsASampler", "Mix\r\nN\r\n\r\n\r\n\r\n2\r\na\r\nb\r\n", Sampler("N", {{"a", "b"}})},
        ReadRow{"LineFeedsAlone", "Album\nA\nB\n\n\n\n3\nx\ny\n", Album("A", "B", {"x", "y"})},
        ReadRow{"LastLineWithoutBreak", "Album\r\nA\r\nB\r\n\r\n\r\n\r\n2\r\nx", Album("A", "B", {"x"})},
        ReadRow{"LinesAfterTheLastTrackAreIgnored", "Album\r\nA\r\nB\r\n\r\n\r\n\r\n2\r\nx\r\nmore\r\n",
                Album("A", "B", {"x"})},
        ReadRow{"RowCountOneHoldsNoTrack", "Album\r\nA\r\nB\r\n\r\n\r\n\r\n1\r\n", Album("A", "B", {})},
        ReadRow{"ControlCharactersReadAsBlanks",
                std::string("Album\r\nBa\x01nd\r\nB\x7f\r\n\r\n\r\n\r\n2\r\nOne\rPart\0x\r\n", 39),
                Album("Ba nd", "B ", {"One Part x"})},
        ReadRow{"Windows1252Bytes", "Album\r\nBj\xf6rk\r\nD\xe9" "but\r\n\r\n\r\n\r\n2\r\nx\r\n",
                Album("Bj\u00f6rk", "D\u00e9but", {"x"})}),
    RowName<ReadRow>);

struct MalformedRow {
    std::string name;
    std::string bytes;
    std::string says;  // part of the message
};

class TagListMalformedTest : public testing::TestWithParam<MalformedRow> {};

TEST_P(TagListMalformedTest, IsRefusedNamingTheFileAndTheLine) {
    wb::TempDir dir;
    WriteBytes(dir / "Bad - List.Tag", GetParam().bytes);
    try {
        LoadTagList(dir / "Bad - List.Tag");
        FAIL() << "read a malformed list";
    } catch (const TagListError& e) {
        EXPECT_NE(std::string(e.what()).find("\"Bad - List.Tag\""), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(GetParam().says), std::string::npos) << e.what();
        // What the box quotes is short and printable.
        EXPECT_LT(std::string(e.what()).size(), 300u);
        for (char c : std::string(e.what())) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, TagListMalformedTest,
    testing::Values(MalformedRow{"Empty", "", "before line 1"},
                    MalformedRow{"NoRowCount", "Album\r\nA\r\nB\r\n\r\n\r\n\r\n", "before line 7, which should hold the row count"},
                    MalformedRow{"RowCountNotANumber", "Album\r\nA\r\nB\r\n\r\n\r\n\r\nfour\r\n", "\"four\" in line 7"},
                    MalformedRow{"RowCountZero", "Sampler\r\nB\r\n\r\n\r\n\r\n0\r\n", "\"0\" in line 6"},
                    MalformedRow{"RowCountNegative", "Sampler\r\nB\r\n\r\n\r\n\r\n-3\r\n", "\"-3\" in line 6"},
                    MalformedRow{"RowCountWithBlank", "Sampler\r\nB\r\n\r\n\r\n\r\n 3\r\n", "\" 3\" in line 6"},
                    MalformedRow{"GarbageRowCountIsQuotedShort",
                                 "Album\r\nA\r\nB\r\n\r\n\r\n\r\n" + [] {
                                     std::string g;
                                     for (int i = 0; i < 1 << 20; ++i) g += char(i % 255 == 10 ? 11 : i % 255);
                                     return g;
                                 }() + "\r\n",
                                 "...\" in line 7"},
                    MalformedRow{"FewerTitlesThanRows", "Album\r\nA\r\nB\r\n\r\n\r\n\r\n4\r\nx\r\ny\r\n",
                                 "before line 10, which should hold the title"},
                    MalformedRow{"SamplerTrackWithoutTitle", "Sampler\r\nB\r\n\r\n\r\n\r\n2\r\nartist\r\n",
                                 "before line 8, which should hold the title"}),
    RowName<MalformedRow>);

TEST(TagListWrite, BlanksControlCharactersAndWritesNothingWithoutAlbum) {
    wb::TempDir dir;
    // A line break or a lone CR would shift every later line.
    TTagList broken = Album("A\r", "B", {"one\ntwo", "x\ry\t"});
    EXPECT_EQ(ReadBytes(SaveTagList(dir.Path(), broken)), "Album\r\nA \r\nB\r\n\r\n\r\n\r\n3\r\none two\r\nx y \r\n");
    EXPECT_EQ(FilesUnder(dir.Path()), std::set<std::string>{"A  - B.Tag"});
    fs::remove(dir / "A  - B.Tag");

    EXPECT_EQ(SaveTagList(dir.Path(), Album("A", "", {"x"})), "");
    EXPECT_TRUE(FilesUnder(dir.Path()).empty());

    // A list of the same name is replaced.
    WriteBytes(dir / "A - B.Tag", "old content that is longer than the new one\r\n");
    SaveTagList(dir.Path(), Album("A", "B", {"x"}));
    EXPECT_EQ(ReadBytes(dir / "A - B.Tag"), "Album\r\nA\r\nB\r\n\r\n\r\n\r\n2\r\nx\r\n");
    EXPECT_THROW(LoadTagList(dir / "missing.Tag"), wb::IoError);
}

struct TextRow {
    std::string name, in, out;
};

class CapitalizeWordsTest : public testing::TestWithParam<TextRow> {};

TEST_P(CapitalizeWordsTest, UpperCasesEachWordStart) { EXPECT_EQ(CapitalizeWords(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Texts, CapitalizeWordsTest,
    testing::Values(TextRow{"Words", "the BEST of tImEs", "The Best Of Times"},
                    TextRow{"SlashJoinsWords", "AC/DC", "Ac/dc"}, TextRow{"HyphenJoinsWords", "rock-n-ROLL", "Rock-n-roll"},
                    TextRow{"BlanksStay", "  two  blanks ", "  Two  Blanks "}, TextRow{"Empty", "", ""},
                    TextRow{"DigitsStartAWord", "4ever YOUNG", "4ever Young"},
                    TextRow{"OnlyAsciiLettersChange", "\u00e9cole \u00c9T\u00c9 ab\u00c9C", "\u00e9cole \u00c9t\u00c9 Ab\u00c9c"},
                    TextRow{"TabIsNoBlank", "a\tb", "A\tb"}),
    RowName<TextRow>);

struct GridNameRow {
    std::string name, fileName, artist, album;
};

class TagListGridNameTest : public testing::TestWithParam<GridNameRow> {};

TEST_P(TagListGridNameTest, SplitsTheFileName) {
    TagListGridNames n = GridNamesOfTagList(GetParam().fileName);
    EXPECT_EQ(n.Artist, GetParam().artist);
    EXPECT_EQ(n.Album, GetParam().album);
}

INSTANTIATE_TEST_SUITE_P(
    Names, TagListGridNameTest,
    testing::Values(GridNameRow{"Album", "A - B.Tag", "A", "B"},
                    GridNameRow{"FirstDashSplits", "A - B - C.Tag", "A", "B - C"},
                    GridNameRow{"Sampler", "Hits (Sampler).Tag", "(Sampler)", "Hits "},
                    GridNameRow{"DashBeatsSampler", "Best - Of (Sampler).Tag", "Best", "Of (Sampler)"},
                    GridNameRow{"NeitherIsASampler", "Loose.Tag", "(Sampler)", "Loose"},
                    GridNameRow{"NameIsTrimmedFirst", " A - B.Tag ", "A", "B"}),
    RowName<GridNameRow>);

struct TrimRow {
    std::string name;
    std::vector<bool> empty;  // per row, header first
    int current;
    int expected;
};

class EmptyEndRowsTest : public testing::TestWithParam<TrimRow> {};

TEST_P(EmptyEndRowsTest, DropsEmptyRowsBelowTheCurrentOne) {
    const TrimRow& row = GetParam();
    EXPECT_EQ(RowCountWithoutEmptyEnd(int(row.empty.size()), row.current, [&](int r) { return bool(row.empty[r]); }),
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, EmptyEndRowsTest,
    testing::Values(TrimRow{"TwoEmptyRowsGo", {false, false, true, true}, 1, 2},
                    TrimRow{"FirstDataRowStays", {false, true, true}, 2, 3},
                    TrimRow{"FirstDataRowStaysWhenAnotherIsCurrent", {false, true, true, true}, 0, 2},
                    TrimRow{"CurrentRowStays", {false, false, true, true}, 3, 4},
                    TrimRow{"StopsAtTheCurrentRow", {false, false, true, true}, 2, 3},
                    TrimRow{"StopsAtAFilledRow", {false, false, false, true, true}, 1, 3},
                    TrimRow{"AnEmptyRowInsideStays", {false, false, true, false}, 1, 4},
                    TrimRow{"HeaderAndOneRow", {false, true}, 0, 2}),
    RowName<TrimRow>);

struct EnterRow {
    std::string name;
    bool album;
    int col, row, rowCount;
    GridStep expected;
};

class EnterStepTest : public testing::TestWithParam<EnterRow> {};

TEST_P(EnterStepTest, MovesAsTheEditorDoes) {
    const EnterRow& r = GetParam();
    GridStep s = EnterStep(r.album, r.col, r.row, r.rowCount);
    EXPECT_EQ(s.Col, r.expected.Col);
    EXPECT_EQ(s.Row, r.expected.Row);
    EXPECT_EQ(s.Append, r.expected.Append);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EnterStepTest,
    testing::Values(EnterRow{"AlbumGoesDown", true, 1, 1, 3, {1, 2, false}},
                    EnterRow{"AlbumLastRowAppends", true, 1, 2, 3, {1, 3, true}},
                    EnterRow{"SamplerArtistToTitle", false, 1, 1, 3, {2, 1, false}},
                    EnterRow{"SamplerTitleToNextArtist", false, 2, 1, 3, {1, 2, false}},
                    EnterRow{"SamplerLastTitleAppends", false, 2, 2, 3, {1, 3, true}}),
    RowName<EnterRow>);

} // namespace
