#include <gtest/gtest.h>

#include "CddbTestServer.h"
#include "TestFiles.h"
#include "platform/base/TempDir.h"
#include "tag_editor/logic/CddbEntry.h"

using namespace velmora;
using namespace std::string_literals;

namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) { return info.param.name; }

struct EntryCase {
    std::string name;
    std::string reply;  // the whole "cddb read" reply
    int tracks;
    std::string fileName;  // "" when nothing is written
    std::string tagList;
};
std::ostream& operator<<(std::ostream& os, const EntryCase& c) { return os << c.name; }

std::string Entry(const std::string& category, const std::string& body) {
    return "210 " + category + " 0b012a02 CD database entry follows (until terminating `.')\r\n# xmcd\r\n" + body +
           ".\r\n";
}

class XmcdEntryTest : public testing::TestWithParam<EntryCase> {};

TEST_P(XmcdEntryTest, WritesTheTagList) {
    const auto& c = GetParam();
    wb::TempDir dir("xmcd");
    TCDDBDiskRec disc = ParseXmcdEntry(ReplyLines(c.reply), c.tracks);
    std::string path = WriteCddbTagList(dir / "Tags", disc);
    if (c.fileName.empty()) {
        EXPECT_EQ(path, "");
        return;
    }
    EXPECT_EQ(path, dir / "Tags" + "/" + c.fileName);
    EXPECT_EQ(ReadBytes(path), c.tagList);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XmcdEntryTest,
    testing::Values(
        EntryCase{"Album", test::kRead210 + test::TwoTrackEntry(), 2, "The Artist - The Album.Tag",
                  "Album\r\nThe Artist\r\nThe Album\r\n\r\n1998\r\nRock\r\n3\r\nFirst Song\r\nSecond Song\r\n"},
        EntryCase{"TitleWithoutSlashIsArtistAndAlbum", Entry("misc", "DTITLE=Solo\r\nTTITLE0=One\r\n"), 1,
                  "Solo - Solo.Tag", "Album\r\nSolo\r\nSolo\r\n\r\n\r\n\r\n2\r\nOne\r\n"},
        EntryCase{"SeveralSlashesSplitAtTheFirst", Entry("jazz", "DTITLE=A / B / C\r\nTTITLE0=x\r\n"), 1,
                  "A - B - C.Tag", "Album\r\nA\r\nB / C\r\n\r\n\r\nJazz\r\n2\r\nx\r\n"},
        EntryCase{"OneTrackWithArtistMakesASampler",
                  Entry("rock", "DTITLE=Various / Hits\r\nTTITLE0=X / Song 1\r\nTTITLE1=Song 2\r\n"), 2,
                  "Hits (Sampler).Tag",
                  "Sampler\r\nHits\r\n\r\n\r\nRock\r\n3\r\nX\r\nSong 1\r\n\r\nSong 2\r\n"},
        EntryCase{"KeysIgnoreLetterCaseAndMissingTracksStayEmpty",
                  Entry("blues", "dtitle=A / B\r\nttitle2=Third\r\n"), 3, "A - B.Tag",
                  "Album\r\nA\r\nB\r\n\r\n\r\nBlues\r\n4\r\n\r\n\r\nThird\r\n"},
        EntryCase{"RepeatedKeyContinuesItsValue",
                  Entry("rock", "DTITLE=A / A Very Long\r\nDTITLE= Title\r\nTTITLE0=Par\r\nTTITLE0=t One\r\n"), 1,
                  "A - A Very Long Title.Tag", "Album\r\nA\r\nA Very Long Title\r\n\r\n\r\nRock\r\n2\r\nPart One\r\n"},
        EntryCase{"YearOnlyFromItsField",
                  Entry("rock", "DTITLE=A / B\r\n# YEAR in a comment 2001\r\nEXTD=YEAR:1975 ID3G: 17\r\n"), 1,
                  "A - B.Tag", "Album\r\nA\r\nB\r\n\r\n1975\r\nRock\r\n2\r\n\r\n"},
        EntryCase{"YearOfTwoDigitsIsNone", Entry("rock", "DTITLE=A / B\r\nEXTD=YEAR: 98\r\n"), 1, "A - B.Tag",
                  "Album\r\nA\r\nB\r\n\r\n\r\nRock\r\n2\r\n\r\n"},
        EntryCase{"NamesLoseWhatAFileNameCannotHold", Entry("rock", "DTITLE=AC/DC / Live: 1/2\r\n"), 1,
                  "AC-DC - Live  1-2.Tag", "Album\r\nAC/DC\r\nLive: 1/2\r\n\r\n\r\nRock\r\n2\r\n\r\n"},
        EntryCase{"Latin1TextBecomesUtf8", Entry("rock", "DTITLE=Bj\xF6rk / D\xE9\x62ut\r\n"), 1,
                  "Bj\xC3\xB6rk - D\xC3\xA9\x62ut.Tag", "Album\r\nBj\xC3\xB6rk\r\nD\xC3\xA9\x62ut\r\n\r\n\r\nRock\r\n2\r\n\r\n"},
        EntryCase{"NoTitleWritesNothing", Entry("rock", "TTITLE0=One\r\n"), 1, "", ""},
        EntryCase{"ControlBytesAreBlanks", Entry("rock", "DTITLE=Null\0Name / A\rB\r\nTTITLE0=One\tTwo\r\n"s), 1,
                  "Null Name - A B.Tag", "Album\r\nNull Name\r\nA B\r\n\r\n\r\nRock\r\n2\r\nOne Two\r\n"},
        EntryCase{"NoHiddenName", Entry("rock", "DTITLE=. / .hidden\r\n"), 1, "- .hidden.Tag",
                  "Album\r\n.\r\n.hidden\r\n\r\n\r\nRock\r\n2\r\n\r\n"},
        EntryCase{"YearOfContinuedLines", Entry("rock", "DTITLE=A / B\r\nEXTD=YEAR: 19\r\nEXTD=98\r\n"), 1, "A - B.Tag",
                  "Album\r\nA\r\nB\r\n\r\n1998\r\nRock\r\n2\r\n\r\n"},
        EntryCase{"YearOfItsOwnFieldComesFirst", Entry("rock", "DTITLE=A / B\r\nDYEAR=1997\r\nEXTD=YEAR: 1998\r\n"),
                  1, "A - B.Tag", "Album\r\nA\r\nB\r\n\r\n1997\r\nRock\r\n2\r\n\r\n"}),
    RowName<EntryCase>);

TEST(TagListName, IsShortenedOnACharacterBoundaryToWhatTheFileSystemHolds) {
    TCDDBDiskRec disc;
    disc.TrackArtists = {std::string(300, 'a')};
    disc.Album = "\xC3\xA9\xC3\xA9";
    EXPECT_EQ(TagListFileName(disc, 255), std::string(251, 'a') + ".Tag");
    disc.TrackArtists = {"x"};
    // "x - " + two two-byte letters = 8 bytes; 7 leaves one whole letter.
    EXPECT_EQ(TagListFileName(disc, 11), "x - \xC3\xA9.Tag");
    wb::TempDir dir("longname");
    disc.TrackArtists = {std::string(400, 'b')};
    std::string path = WriteCddbTagList(dir.Path(), disc);
    EXPECT_EQ(path, dir / (std::string(251, 'b') + ".Tag"));
    EXPECT_FALSE(ReadBytes(path).empty());
}

TEST(ReplyLines, LeaveOutALineWhoseEndHasNotArrived) {
    EXPECT_EQ(ReplyLines("200 ro"), std::vector<std::string>{});
    EXPECT_EQ(ReplyLines("211 x\r\nrock 1\n.\r\n20"), (std::vector<std::string>{"211 x", "rock 1", "."}));
}

} // namespace
