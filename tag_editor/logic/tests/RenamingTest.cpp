#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "TestFiles.h"
#include "platform/base/TempDir.h"
#include "tag_editor/logic/Renaming.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

using Status = RenameResult::Status;
using Listing = std::map<std::string, std::string>;  // relative path -> bytes, "<dir>" for folders

const std::string kDir = "<dir>";

// Rows print as their names, not as bytes.
template <typename Row>
auto operator<<(std::ostream& os, const Row& row) -> decltype(row.name, os) { return os << row.name; }

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) { return info.param.name; }

void Lay(const wb::TempDir& dir, const Listing& entries) {
    for (const auto& [name, bytes] : entries) {
        if (bytes == kDir) fs::create_directories(dir / name);
        else WriteBytes(dir / name, bytes);
    }
}

Listing ListOf(const wb::TempDir& dir) {
    Listing out;
    for (const auto& e : fs::recursive_directory_iterator(dir.Path())) {
        std::string rel = fs::relative(e.path(), dir.Path()).string();
        out[rel] = e.is_directory() ? kDir : ReadBytes(e.path().string());
    }
    return out;
}

TTagInfo SomeTag() {
    TTagInfo t;
    t.Song = "Some Song";
    t.Artist = "Some Artist";
    t.Track = 3;
    return t;
}

struct ProposalRow {
    std::string name;
    void (*change)(TTagInfo&, NameSettings&);
    std::string songBox = "Some Song", artistBox = "Some Artist";
    bool autotag = false;
    bool albumClick = false;  // the click runs only the pattern step
    std::string expected;
};

class RenameProposalTest : public testing::TestWithParam<ProposalRow> {};

TEST_P(RenameProposalTest, FillsTheRenameBox) {
    const ProposalRow& row = GetParam();
    TTagInfo tag = SomeTag();
    NameSettings settings;
    if (row.change) row.change(tag, settings);
    std::string shown = row.albumClick
                            ? MakeRenameProposal(tag, settings)
                            : UpdateRenameProposal(tag, row.songBox, row.artistBox, row.autotag, settings);
    EXPECT_EQ(shown, row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, RenameProposalTest,
    testing::Values(
        ProposalRow{"DefaultPattern", nullptr, "Some Song", "Some Artist", false, false,
                    "03. Some Artist - Some Song.mp3"},
        ProposalRow{"EmptySongBoxEmptiesIt", nullptr, "", "Some Artist", false, false, ""},
        ProposalRow{"EmptyArtistBoxEmptiesIt", nullptr, "Some Song", "", false, false, ""},
        ProposalRow{"AutotagIgnoresEmptyBoxes", [](TTagInfo& t, NameSettings&) { t.Artist = ""; }, "Some Song",
                    "", true, false, "03.  - Some Song.mp3"},
        ProposalRow{"BlanksReplaced", [](TTagInfo&, NameSettings& s) { s.UseDot = true; }, "Some Song",
                    "Some Artist", false, false, "03.Some.Artist.-.Some.Song.mp3"},
        ProposalRow{"SlashAsReplacementIsSanitized",
                    [](TTagInfo&, NameSettings& s) { s.UseDot = true; s.Replacement = "/"; }, "Some Song",
                    "Some Artist", false, false, "03.Some-Artist---Some-Song.mp3"},
        ProposalRow{"ForbiddenCharactersSanitized", [](TTagInfo& t, NameSettings&) { t.Song = "AC/DC: Live?"; },
                    "AC/DC: Live?", "Some Artist", false, false, "03. Some Artist - AC-DC  Live .mp3"},
        ProposalRow{"TrimmedAfterSanitizing",
                    [](TTagInfo& t, NameSettings& s) { t.Song = "?x"; s.Patterns.FileNameAlbum = "%S"; }, "?x",
                    "Some Artist", false, false, "x.mp3"},
        ProposalRow{"SamplerPattern",
                    [](TTagInfo&, NameSettings& s) { s.Album = false; s.Patterns.FileNameSampler = "%S (%A)"; },
                    "Some Song", "Some Artist", false, false, "Some Song (Some Artist).mp3"},
        // A leading dot would hide the file.
        ProposalRow{"NoTrackLeavesNoLeadingDot", [](TTagInfo& t, NameSettings&) { t.Track = 0; }, "Some Song",
                    "Some Artist", false, false, "Some Artist - Some Song.mp3"},
        ProposalRow{"NoTrackWithBlanksReplaced", [](TTagInfo& t, NameSettings& s) { t.Track = 0; s.UseDot = true; },
                    "Some Song", "Some Artist", false, false, "Some.Artist.-.Some.Song.mp3"},
        ProposalRow{"OnlyTheExtensionLeftIsNoName",
                    [](TTagInfo& t, NameSettings& s) { t.Song = ".."; s.Patterns.FileNameAlbum = "%S"; }, "..",
                    "Some Artist", false, false, ""},
        ProposalRow{"ControlCharactersBlanked", [](TTagInfo& t, NameSettings&) { t.Song = "One\rPart"; },
                    "One\rPart", "Some Artist", false, false, "03. Some Artist - One Part.mp3"},
        ProposalRow{"AlbumClickIgnoresEmptyBoxes", nullptr, "", "", false, true,
                    "03. Some Artist - Some Song.mp3"},
        ProposalRow{"AlbumClickKeepsBlanks", [](TTagInfo&, NameSettings& s) { s.UseDot = true; }, "Some Song",
                    "Some Artist", false, true, "03. Some Artist - Some Song.mp3"}),
    RowName<ProposalRow>);

struct BoxRow {
    std::string name;
    TagBox box;
    std::string text;
    bool busy;
    std::string expected;  // the field afterwards; the tag starts as song "old", year 1999, track 7
};

std::string FieldOf(const TTagInfo& t, TagBox box) {
    switch (box) {
    case TagBox::Song: return t.Song;
    case TagBox::Artist: return t.Artist;
    case TagBox::Album: return t.Album;
    case TagBox::Comment: return t.Comment;
    case TagBox::Year: return std::to_string(t.Year);
    case TagBox::Track: return std::to_string(t.Track);
    }
    return {};
}

class TakeBoxTextTest : public testing::TestWithParam<BoxRow> {};

TEST_P(TakeBoxTextTest, CopiesTheBoxIntoTheTag) {
    const BoxRow& row = GetParam();
    TTagInfo tag;
    tag.Song = tag.Artist = tag.Album = tag.Comment = "old";
    tag.Year = 1999;
    tag.Track = 7;
    TakeBoxText(tag, row.box, row.text, row.busy);
    EXPECT_EQ(FieldOf(tag, row.box), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, TakeBoxTextTest,
    testing::Values(BoxRow{"Song", TagBox::Song, "new", false, "new"},
                    BoxRow{"SongWhileBusy", TagBox::Song, "new", true, "old"},
                    BoxRow{"Artist", TagBox::Artist, "new", false, "new"},
                    BoxRow{"Album", TagBox::Album, "", false, ""},
                    BoxRow{"CommentWhileBusy", TagBox::Comment, "new", true, "old"},
                    BoxRow{"Year", TagBox::Year, "2001", false, "2001"},
                    BoxRow{"YearWhileBusy", TagBox::Year, "2001", true, "1999"},
                    BoxRow{"YearNotDigits", TagBox::Year, "20a1", false, "1999"},
                    BoxRow{"YearEmpty", TagBox::Year, "", false, "1999"},
                    BoxRow{"TrackWhileBusy", TagBox::Track, "12", true, "12"},
                    BoxRow{"TrackZero", TagBox::Track, "000", false, "0"},
                    BoxRow{"TrackLargestByte", TagBox::Track, "255", false, "255"},
                    BoxRow{"TrackTooLargeDoesNotWrap", TagBox::Track, "300", false, "7"},
                    BoxRow{"TrackEmpty", TagBox::Track, "", false, "7"}),
    RowName<BoxRow>);

TEST(TrackRefusal, OnlyNumbersTheTagCannotHoldAreRefused) {
    for (const char* fits : {"", "abc", "0", "1", "255", "0255"}) EXPECT_EQ(TrackRefusal(fits), "") << fits;
    for (const char* big : {"256", "999", "99999999999999999999999"}) {
        std::string m = TrackRefusal(big);
        EXPECT_NE(m.find(big), std::string::npos) << m;
        EXPECT_NE(m.find("255"), std::string::npos) << m;
    }
}

struct FileRenameRow {
    std::string name;
    Listing before;
    std::string oldName, newName;
    Status status;
    Listing after;         // empty: as before
    std::string inMessage;  // a part of the message shown when refused
};

class RenameFileTest : public testing::TestWithParam<FileRenameRow> {};

TEST_P(RenameFileTest, RenamesOrRefusesLosingNothing) {
    const FileRenameRow& row = GetParam();
    wb::TempDir dir("velmora");
    Lay(dir, row.before);
    RenameResult r = RenameFile(dir.Path(), row.oldName, row.newName);
    EXPECT_EQ(r.status, row.status) << r.message;
    EXPECT_EQ(ListOf(dir), row.after.empty() ? row.before : row.after);
    if (row.status == Status::Refused) {
        EXPECT_EQ(r.path, dir / row.oldName);
        EXPECT_EQ(r.message.rfind("Can\u00b4t rename \"", 0), 0u) << r.message;
        EXPECT_NE(r.message.find(row.inMessage), std::string::npos) << r.message;
    } else {
        EXPECT_EQ(r.path, dir / (r.status == Status::Renamed ? row.newName : row.oldName));
        EXPECT_EQ(r.message, "");
    }
}

const Listing kOne = {{"a.mp3", "A"}};

INSTANTIATE_TEST_SUITE_P(
    Disk, RenameFileTest,
    testing::Values(
        FileRenameRow{"Renamed", kOne, "a.mp3", "b.mp3", Status::Renamed, {{"b.mp3", "A"}}, ""},
        FileRenameRow{"TypedNameKeptAsTyped", kOne, "a.mp3", " b c.mp3 ", Status::Renamed, {{" b c.mp3 ", "A"}}, ""},
        FileRenameRow{"NonAsciiName", kOne, "a.mp3", "Caf\u00e9 \u2013 \u00dc.mp3", Status::Renamed,
                      {{"Caf\u00e9 \u2013 \u00dc.mp3", "A"}}, ""},
        FileRenameRow{"SameNameIsNothingToDo", kOne, "a.mp3", "a.mp3", Status::Unchanged, {}, ""},
        FileRenameRow{"OverwriteRefused", {{"a.mp3", "A"}, {"b.mp3", "B"}}, "a.mp3", "b.mp3", Status::Refused, {},
                      "\"a.mp3\" to \"b.mp3\" !\nA file or folder of that name already exists."},
        FileRenameRow{"EmptyFolderNotReplaced", {{"a.mp3", "A"}, {"b.mp3", kDir}}, "a.mp3", "b.mp3",
                      Status::Refused, {}, "already exists"},
        FileRenameRow{"SlashRefused", {{"a.mp3", "A"}, {"sub", kDir}}, "a.mp3", "sub/b.mp3", Status::Refused, {},
                      "cannot hold \"/\""},
        FileRenameRow{"ParentRefused", kOne, "a.mp3", "..", Status::Refused, {}, "are not names"},
        FileRenameRow{"DotRefused", kOne, "a.mp3", ".", Status::Refused, {}, "are not names"},
        FileRenameRow{"EmptyRefused", kOne, "a.mp3", "", Status::Refused, {}, "empty"},
        FileRenameRow{"BlanksOnlyRefused", kOne, "a.mp3", "  ", Status::Refused, {}, "empty"},
        FileRenameRow{"ZeroByteRefused", kOne, "a.mp3", std::string("b\0c.mp3", 7), Status::Refused, {},
                      "zero byte"},
        FileRenameRow{"TooLongRefused", kOne, "a.mp3", std::string(300, 'x') + ".mp3", Status::Refused, {},
                      "304 bytes long; this file system holds names of at most 255 bytes"},
        FileRenameRow{"NewNameNotUtf8Refused", kOne, "a.mp3", "b\xff.mp3", Status::Refused, {}, "not UTF-8"},
        FileRenameRow{"OldNameNotUtf8TakesTheNewName", {{"Caf\xe9.mp3", "A"}}, "Caf\xe9.mp3", "b.mp3",
                      Status::Renamed, {{"b.mp3", "A"}}, ""},
        FileRenameRow{"MissingFileNamesTheReason", kOne, "gone.mp3", "b.mp3", Status::Refused, {},
                      "No such file or directory."}),
    RowName<FileRenameRow>);

TEST(RenameFile, RelativeFolderIsRefused) {
    RenameResult r = RenameFile("music", "a.mp3", "b.mp3");
    EXPECT_EQ(r.status, Status::Refused);
    EXPECT_NE(r.message.find("not an absolute path"), std::string::npos) << r.message;
}

struct FolderRenameRow {
    std::string name;
    Listing before;
    std::string path;  // relative to the temporary folder; "/" stands for the root
    std::string newName;
    bool useDot;
    Status status;
    Listing after;    // empty: as before
    std::string now;  // where the tree goes next, relative
    std::string inMessage;
};

class RenameDirectoryTest : public testing::TestWithParam<FolderRenameRow> {};

TEST_P(RenameDirectoryTest, RenamesOrKeepsTheOldFolder) {
    const FolderRenameRow& row = GetParam();
    wb::TempDir dir("velmora");
    Lay(dir, row.before);
    NameSettings settings;
    settings.UseDot = row.useDot;
    std::string path = row.path == "/" ? "/" : dir / row.path;
    RenameResult r = RenameDirectory(path, row.newName, settings);
    EXPECT_EQ(r.status, row.status) << r.message;
    EXPECT_EQ(ListOf(dir), row.after.empty() ? row.before : row.after);
    EXPECT_EQ(r.path, row.path == "/" ? "/" : dir / row.now);
    if (row.status == Status::Refused) {
        EXPECT_EQ(r.message.rfind("Can\u00b4t rename directory ! Maybe other programs use this directory.\n\n", 0),
                  0u) << r.message;
        EXPECT_NE(r.message.find(row.inMessage), std::string::npos) << r.message;
    } else {
        EXPECT_EQ(r.message, "");
    }
}

const Listing kAlbum = {{"Old", kDir}, {"Old/01 a.mp3", "A"}};

INSTANTIATE_TEST_SUITE_P(
    Disk, RenameDirectoryTest,
    testing::Values(
        FolderRenameRow{"Renamed", kAlbum, "Old", "Some Artist - An Album", false, Status::Renamed,
                        {{"Some Artist - An Album", kDir}, {"Some Artist - An Album/01 a.mp3", "A"}},
                        "Some Artist - An Album", ""},
        FolderRenameRow{"PathWithTrailingSlash", kAlbum, "Old/", "New", false, Status::Renamed,
                        {{"New", kDir}, {"New/01 a.mp3", "A"}}, "New", ""},
        FolderRenameRow{"NameCleaned", kAlbum, "Old", " AC/DC: Live ", false, Status::Renamed,
                        {{"AC-DC  Live", kDir}, {"AC-DC  Live/01 a.mp3", "A"}}, "AC-DC  Live", ""},
        FolderRenameRow{"BlanksReplacedBeforeCleaning", kAlbum, "Old", "AC/DC: Live", true, Status::Renamed,
                        {{"AC-DC .Live", kDir}, {"AC-DC .Live/01 a.mp3", "A"}}, "AC-DC .Live", ""},
        FolderRenameRow{"EmptyFolderNotReplaced", {{"Old", kDir}, {"Old/01 a.mp3", "A"}, {"New", kDir}}, "Old",
                        "New", false, Status::Refused, {}, "Old", "to \"New\": A file or folder of that name already exists."},
        FolderRenameRow{"FileNotReplaced", {{"Old", kDir}, {"Old/01 a.mp3", "A"}, {"New", "N"}}, "Old", "New",
                        false, Status::Refused, {}, "Old", "already exists"},
        FolderRenameRow{"EmptyAfterCleaning", kAlbum, "Old", " \t ", false, Status::Refused, {}, "Old", "empty"},
        FolderRenameRow{"ParentRefused", kAlbum, "Old", "..", false, Status::Refused, {}, "Old", "empty"},
        FolderRenameRow{"LeadingDotsDropped", kAlbum, "Old", " . .Hidden", false, Status::Renamed,
                        {{"Hidden", kDir}, {"Hidden/01 a.mp3", "A"}}, "Hidden", ""},
        FolderRenameRow{"LeadingDotFromAReplacedBlank", kAlbum, "Old", " Live", true, Status::Renamed,
                        {{"Live", kDir}, {"Live/01 a.mp3", "A"}}, "Live", ""},
        FolderRenameRow{"ControlCharactersBlanked", kAlbum, "Old", "One\rTwo", false, Status::Renamed,
                        {{"One Two", kDir}, {"One Two/01 a.mp3", "A"}}, "One Two", ""},
        FolderRenameRow{"TooLongRefused", kAlbum, "Old", std::string(256, 'n'), false, Status::Refused, {}, "Old",
                        "at most 255 bytes"},
        FolderRenameRow{"MissingFolderKeepsThePath", kAlbum, "Gone", "New", false, Status::Refused, {}, "Gone",
                        "No such file or directory"},
        FolderRenameRow{"SameNameIsNothingToDo", kAlbum, "Old", "Old", false, Status::Unchanged, {}, "Old", ""},
        FolderRenameRow{"EmptyNameDoesNothing", kAlbum, "Old", "", false, Status::Unchanged, {}, "Old", ""},
        FolderRenameRow{"RootRefused", kAlbum, "/", "New", false, Status::Refused, {}, "/", "root"}),
    RowName<FolderRenameRow>);

} // namespace
