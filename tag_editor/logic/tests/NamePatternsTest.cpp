#include <gtest/gtest.h>

#include "tag_editor/logic/NamePatterns.h"

using namespace velmora;

namespace {

TTagInfo SomeTag() {
    TTagInfo t;
    t.Song = "Some Song";
    t.Artist = " Some Artist ";
    t.Album = "An Album\t";
    t.Comment = "Live";
    t.Year = 1999;
    t.Track = 3;
    t.Genre = 17;
    return t;
}

// Rows print as their names, not as bytes.
template <typename Row>
auto operator<<(std::ostream& os, const Row& row) -> decltype(row.name, os) { return os << row.name; }

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) { return info.param.name; }

struct BuildRow {
    std::string name, pattern;
    void (*change)(TTagInfo&);
    NameKind kind;
    std::string expected;
};

class BuildNameTest : public testing::TestWithParam<BuildRow> {};

TEST_P(BuildNameTest, ExpandsThePattern) {
    const BuildRow& row = GetParam();
    TTagInfo tag = SomeTag();
    if (row.change) row.change(tag);
    EXPECT_EQ(BuildName(row.pattern, tag, row.kind), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, BuildNameTest,
    testing::Values(
        BuildRow{"DefaultFilePatternTrimsFields", "%T. %A - %S", nullptr, NameKind::File,
                 "03. Some Artist - Some Song.mp3"},
        // The pattern's own blanks stay, two of them between the point and the dash.
        BuildRow{"EmptyFieldsLeaveTheirPunctuation", "%T. %A - %S",
                 [](TTagInfo& t) { t.Track = 0; t.Artist = ""; }, NameKind::File, ".  - Some Song.mp3"},
        BuildRow{"TrackAboveNineStays", "%T", [](TTagInfo& t) { t.Track = 123; }, NameKind::Folder, "123"},
        BuildRow{"YearZeroIsZero", "%Y", [](TTagInfo& t) { t.Year = 0; }, NameKind::Folder, "0"},
        BuildRow{"Year", "%Y", nullptr, NameKind::Folder, "1999"},
        BuildRow{"AlbumAndCommentTrimmed", "%N (%C)", nullptr, NameKind::Folder, "An Album (Live)"},
        BuildRow{"GenreName", "%G", nullptr, NameKind::Folder, "Rock"},
        BuildRow{"NoGenreGivesNothing", "x%G", [](TTagInfo& t) { t.Genre = 255; }, NameKind::Folder, "x"},
        BuildRow{"GenreOutsideTheTable", "x%G", [](TTagInfo& t) { t.Genre = 115; }, NameKind::Folder, "x"},
        BuildRow{"LowerCaseCodeVanishes", "%x%A", nullptr, NameKind::Folder, "Some Artist"},
        BuildRow{"BlankAfterPercentVanishes", "100% %A", nullptr, NameKind::Folder, "100Some Artist"},
        BuildRow{"UnknownCodeVanishesWhole", "a%Xb", nullptr, NameKind::Folder, "ab"},
        BuildRow{"DoublePercentGivesTheCode", "%%A", nullptr, NameKind::Folder, "Some Artist"},
        BuildRow{"PercentAtTheEnd", "%A%", nullptr, NameKind::Folder, "Some Artist"},
        BuildRow{"NonAsciiCodeVanishesWhole", "a%\u00e9b", nullptr, NameKind::Folder, "ab"},
        BuildRow{"NonAsciiTextIsCopied", "Caf\u00e9 %A", nullptr, NameKind::Folder, "Caf\u00e9 Some Artist"},
        BuildRow{"ResultTrimmedBeforeExtension", "  %S  ", nullptr, NameKind::File, "Some Song.mp3"},
        BuildRow{"FolderGetsNoExtension", "%A - %N", nullptr, NameKind::Folder, "Some Artist - An Album"},
        BuildRow{"PlaylistGetsM3u", "--- %A - %N ---", nullptr, NameKind::Playlist,
                 "--- Some Artist - An Album ---.m3u"},
        BuildRow{"EmptyNameStillGetsExtension", "%G", [](TTagInfo& t) { t.Genre = 255; },
                 NameKind::Playlist, ".m3u"}),
    RowName<BuildRow>);

TEST(NamePatternChoice, KindAndAlbumPickThePattern) {
    NameSettings s;
    s.Patterns = {"fa", "fs", "da", "ds", "pa", "ps"};
    TTagInfo tag;
    const std::pair<NameKind, const char*> kinds[] = {
        {NameKind::File, "f"}, {NameKind::Folder, "d"}, {NameKind::Playlist, "p"}};
    for (auto [kind, letter] : kinds) {
        for (bool album : {true, false}) {
            s.Album = album;
            std::string expected = std::string(letter) + (album ? "a" : "s");
            EXPECT_EQ(BuildName(s, tag, kind), BuildName(expected, tag, kind)) << expected;
        }
    }
}

// One row of a text rule: input and option (the replacement, where the rule
// takes one) give the expected text.
struct TextRow {
    std::string name, input, option, expected;
};

using TextRule = std::string (*)(std::string_view input, std::string_view option);

class TextRuleTest : public testing::TestWithParam<std::pair<TextRule, TextRow>> {};

TEST_P(TextRuleTest, GivesTheText) {
    auto [rule, row] = GetParam();
    EXPECT_EQ(rule(row.input, row.option), row.expected);
}

auto Rows(TextRule rule, std::vector<TextRow> rows) {
    std::vector<std::pair<TextRule, TextRow>> out;
    for (auto& r : rows) out.emplace_back(rule, std::move(r));
    return testing::ValuesIn(out);
}

std::string RuleRowName(const testing::TestParamInfo<std::pair<TextRule, TextRow>>& info) {
    return info.param.second.name;
}

INSTANTIATE_TEST_SUITE_P(
    SanitizeName, TextRuleTest,
    Rows([](std::string_view s, std::string_view) { return SanitizeName(s); },
         {{"SlashColonQuestion", "AC/DC: Live?", "", "AC-DC  Live "},
          {"StarAndBackslash", "a*b\\c", "", "a b c"},
          {"DoubleQuoteBecomesApostrophe", "Say \"Hi\"", "", "Say 'Hi'"},
          {"AngleBracketsAndBarStay", "<a>|b", "", "<a>|b"},
          {"NonAsciiStays", "\u00dcber \u2013 \u00e9t\u00e9", "", "\u00dcber \u2013 \u00e9t\u00e9"},
          {"EmptyStaysEmpty", "", "", ""}}),
    RuleRowName);

INSTANTIATE_TEST_SUITE_P(
    ReplaceBlanks, TextRuleTest,
    Rows(ReplaceBlanks,
         {{"DefaultFileName", "01. Some Artist - Some Song.mp3", ".", "01.Some.Artist.-.Some.Song.mp3"},
          {"Underscore", "A B", "_", "A_B"},
          {"EmptyReplacementKeepsBlanks", "A B", "", "A B"},
          {"EmptyReplacementStillDropsBlankAfterNumber", "01. A B", "", "01.A B"},
          {"ThreeDigitNumber", "101. Some Song", "_", "101.Some_Song"},
          {"NoBlankAfterNumberKeepsTheLetter", "12.Song.mp3", ".", "12.Song.mp3"},
          {"NoBlankAfterThreeDigitsKeepsTheLetter", "123.Song", ".", "123.Song"},
          {"OnlyTheFirstBlankAfterNumber", "01.  Song", "", "01. Song"},
          {"NoLeadingNumber", "A. B", ".", "A..B"},
          {"NumberWithoutPoint", "01 Song", ".", "01.Song"},
          {"MultiByteReplacement", "A B", "\u00b7", "A\u00b7B"},
          {"ShortName", "12.", ".", "12."}}),
    RuleRowName);

INSTANTIATE_TEST_SUITE_P(
    TwoDigitTrack, TextRuleTest,
    Rows([](std::string_view s, std::string_view) { return TwoDigitTrack(s); },
         {{"Zero", "0", "", ""}, {"Empty", "", "", ""}, {"Five", "5", "", "05"}, {"Twelve", "12", "", "12"},
          {"ThreeDigits", "123", "", "123"}, {"AlreadyPadded", "07", "", "07"}, {"NotANumber", "1a", "", ""},
          {"Blank", " 5", "", ""}}),
    RuleRowName);

INSTANTIATE_TEST_SUITE_P(
    TrackFromNamePrefix, TextRuleTest,
    Rows([](std::string_view s, std::string_view) { return TrackFromNamePrefix(s); },
         {{"LeadingZeroDropped", "07 Some Song.mp3", "", "7"},
          {"TwoDigits", "12 x.mp3", "", "12"},
          {"OnlyTheFirstTwo", "123 x.mp3", "", "12"},
          {"FolderIgnored", "/music/07 x.mp3", "", "7"},
          {"FolderDigitsDoNotCount", "/music/07/x.mp3", "", ""},
          {"OneDigitIsNoNumber", "1 x.mp3", "", ""},
          {"NoNumber", "Some Song.mp3", "", ""}}),
    RuleRowName);

struct TrackRow {
    std::string name, path;
    int expected;
};

class TrackFromNameTest : public testing::TestWithParam<TrackRow> {};

TEST_P(TrackFromNameTest, FindsTheFirstDigitPair) {
    EXPECT_EQ(TrackFromName(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tracks, TrackFromNameTest,
    testing::Values(TrackRow{"NoDigits", "Some Song.mp3", -1}, TrackRow{"OneDigit", "1 Song.mp3", -1},
                    TrackRow{"Leading", "07. Song.mp3", 7}, TrackRow{"AnywhereInTheName", "Some Song 2000.mp3", 20},
                    TrackRow{"FirstPairWins", "a 5 b 42 c 13.mp3", 42},
                    TrackRow{"FolderDigitsDoNotCount", "/music/2000/Song.mp3", -1},
                    TrackRow{"FolderStripped", "/music/1999/07 Song.mp3", 7}),
    RowName<TrackRow>);

struct IndexRow {
    std::string name;
    int track;
    std::vector<std::string> names;
    int expected;
};

class FileIndexByTrackTest : public testing::TestWithParam<IndexRow> {};

TEST_P(FileIndexByTrackTest, FindsTheFirstNameWithTheNumber) {
    EXPECT_EQ(FileIndexByTrack(GetParam().track, GetParam().names), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tracks, FileIndexByTrackTest,
    testing::Values(IndexRow{"PaddedBelowTen", 4, {"03 x.mp3", "04 y.mp3"}, 1},
                    IndexRow{"NoneGivesMinusOne", 4, {"03 x.mp3", "05 y.mp3"}, -1},
                    IndexRow{"FirstInListOrder", 4, {"b 04.mp3", "04 b.mp3", "04 a.mp3"}, 1},
                    // The whole run of digits is the number.
                    IndexRow{"ZeroTenIsTen", 10, {"010 Intro.mp3", "10 x.mp3"}, 0},
                    IndexRow{"TrackOneIsNotZeroTen", 1, {"010 Intro.mp3", "1 x.mp3"}, 1},
                    IndexRow{"TwentyFiveIsNot255", 25, {"255 y.mp3", "256 z.mp3"}, -1},
                    IndexRow{"Track255", 255, {"25 x.mp3", "255 y.mp3", "256 z.mp3"}, 1},
                    IndexRow{"Track256", 256, {"25 x.mp3", "255 y.mp3", "256 z.mp3"}, 2},
                    IndexRow{"LeadingZerosCount", 1, {"x 1.mp3", "001 x.mp3"}, 1},
                    IndexRow{"EmptyList", 1, {}, -1}),
    RowName<IndexRow>);

} // namespace
