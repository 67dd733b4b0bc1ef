// The file-system controls' rules that need no window, and the one case-blind
// comparison they and the platform rest on.
#include "tag_editor/controls/filesystem/VlFsRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "platform/base/TextUtil.h"

using namespace velmora;

namespace {

template <class Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

struct TextRow {
    const char* name;
    std::string a, b;
    int order;  // sign of CompareText(a, b)
};

void PrintTo(const TextRow& r, std::ostream* os) { *os << r.name; }

class CaseBlindText : public ::testing::TestWithParam<TextRow> {};

TEST_P(CaseBlindText, ComparesByLowerCaseCharacters) {
    const TextRow& r = GetParam();
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    EXPECT_EQ(sign(wb::CompareText(r.a, r.b)), r.order);
    EXPECT_EQ(sign(wb::CompareText(r.b, r.a)), -r.order);
    EXPECT_EQ(wb::SameText(r.a, r.b), r.order == 0);
    // Keys made once for sorting order alike.
    EXPECT_EQ(sign(wb::CompareTextKeys(wb::MakeTextSortKey(r.a), wb::MakeTextSortKey(r.b))), r.order);
    if (r.order == 0) {
        EXPECT_EQ(wb::LowerText(r.a), wb::LowerText(r.b));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CaseBlindText,
    ::testing::Values(TextRow{"AsciiCase", "Section", "sECTION", 0},
                      TextRow{"Umlauts", "ÄRGER", "ärger", 0},
                      TextRow{"Cyrillic", "МУЗЫКА", "музыка", 0},
                      TextRow{"Greek", "ΣΟΦΙΑ", "σοφια", 0},
                      TextRow{"LetterOrderIgnoresCase", "alpha", "Beta", -1},
                      TextRow{"UnderscoreBeforeLetters", "_x", "A", -1},
                      TextRow{"PrefixFirst", "Rock", "rocks", -1},
                      TextRow{"AccentAfterPlainLetter", "e", "é", -1},
                      TextRow{"Empty", "", "", 0},
                      TextRow{"BadByteIsNoLetter", std::string("a\xC4"), "aä", 1},
                      TextRow{"BadBytesCompareAsThemselves", std::string("\xFF"), std::string("\xFF"), 0}),
    RowName<TextRow>);

struct MaskRow {
    const char* name;
    std::string file, pattern;
    bool matches;
};

void PrintTo(const MaskRow& r, std::ostream* os) { *os << r.name; }

class Mask : public ::testing::TestWithParam<MaskRow> {};

TEST_P(Mask, MatchesWildcardsWithoutRegardToCase) {
    EXPECT_EQ(MatchesMask(GetParam().file, GetParam().pattern), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Rows, Mask,
                         ::testing::Values(MaskRow{"ExtensionInOtherCase", "Track 01.MP3", "*.mp3", true},
                                           MaskRow{"StarDotStarTakesNamesWithoutDot", "noext", "*.*", true},
                                           MaskRow{"LongerExtension", "a.mp3x", "*.mp3", false},
                                           MaskRow{"QuestionMarkIsOneCharacter", "ab.mp3", "a?.*", true},
                                           MaskRow{"QuestionMarkIsNotTwo", "abc.mp3", "a?.mp3", false},
                                           MaskRow{"QuestionMarkTakesAWholeUmlaut", "ä.mp3", "?.mp3", true},
                                           MaskRow{"UmlautsInOtherCase", "ÄRGER.mp3", "ärger*", true},
                                           MaskRow{"StarInTheMiddle", "01 - Intro.mp3", "01*intro.*", true},
                                           MaskRow{"NothingLeftForTheQuestionMark", "a", "a?", false},
                                           MaskRow{"EmptyName", "", "*", true}),
                         RowName<MaskRow>);

TEST(MaskList, SemicolonsSeparatePatternsAndEmptyOnesGo) {
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"*.mp3", {"*.mp3"}},
        {"*.jpg;*.txt", {"*.jpg", "*.txt"}},
        {";*.a;;*.b;", {"*.a", "*.b"}},
        {"", {}},
    };
    for (const auto& [mask, patterns] : rows) EXPECT_EQ(SplitMask(mask), patterns) << mask;
}

struct ListRow {
    const char* name;
    TFileType type;
    uint32_t attr;
    bool listed;
};

void PrintTo(const ListRow& r, std::ostream* os) { *os << r.name; }

class FileTypeFilter : public ::testing::TestWithParam<ListRow> {};

TEST_P(FileTypeFilter, ListsOnlyWhatTheTypeAsksFor) {
    EXPECT_EQ(FileTypeLists(GetParam().type, GetParam().attr), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileTypeFilter,
    ::testing::Values(ListRow{"PlainFile", {ftNormal}, 0, true},
                      ListRow{"ReadOnlyFileUnderNormal", {ftNormal}, faReadOnly, true},
                      ListRow{"FolderNotAskedFor", {ftNormal}, faDirectory, false},
                      ListRow{"FolderAskedFor", {ftNormal, ftDirectory}, faDirectory, true},
                      ListRow{"HiddenNotAskedFor", {ftNormal, ftDirectory}, faHidden, false},
                      ListRow{"HiddenFolderNeedsBoth", {ftNormal, ftHidden}, faHidden | faDirectory, false},
                      ListRow{"HiddenAskedFor", {ftNormal, ftHidden}, faHidden, true},
                      ListRow{"DeviceIsSystem", {ftNormal}, faSysFile, false},
                      ListRow{"WithoutNormalPlainFilesGo", {ftDirectory}, 0, false},
                      ListRow{"WithoutNormalTheChosenStay", {ftDirectory}, faDirectory, true},
                      ListRow{"ReadOnlyOnlyTakesReadOnly", {ftReadOnly}, faReadOnly, true}),
    RowName<ListRow>);

TEST(ListOrder, FoldersFirstThenNamesWithoutRegardToCase) {
    struct Entry {
        bool dir;
        std::string name;
    };
    std::vector<Entry> entries{{false, "b.MP3"}, {true, "Zeta"}, {false, "a.mp3"},
                               {false, "Ärger.mp3"}, {true, "alpha"}, {false, "C.mp3"}};
    std::sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
        return CompareFileEntries(x.dir, x.name, y.dir, y.name) < 0;
    });
    std::vector<std::string> names;
    for (const Entry& e : entries) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Zeta", "a.mp3", "b.MP3", "C.mp3", "Ärger.mp3"}));

    // Folders that differ only in case keep one order, whatever the disk gave.
    std::vector<std::string> folders{"pop", "Rock", "Pop", "rock", "Blues"};
    std::sort(folders.begin(), folders.end(), FolderNameLess);
    EXPECT_EQ(folders, (std::vector<std::string>{"Blues", "Pop", "pop", "Rock", "rock"}));
}

TEST(FolderNames, RenamesThatLeaveTheFolderOrTheDiskCannotHoldAreRefused) {
    for (const char* ok : {"New folder", "a.b", "...", "Ärger", " x"}) EXPECT_TRUE(ValidFolderName(ok)) << ok;
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "c:", "*", "what?", "\"q\"", "<", ">", "|"})
        EXPECT_FALSE(ValidFolderName(bad)) << bad;
}

TEST(DriveTexts, LabelsInLowerCaseWithACapitalAndKindsInCodeOrder) {
    EXPECT_EQ(CapitalizedLabel("MY DISK"), "My disk");
    EXPECT_EQ(CapitalizedLabel("ÄRGER"), "ärger");  // only a Latin letter is raised
    EXPECT_EQ(CapitalizedLabel("2024 BACKUP"), "2024 backup");
    EXPECT_EQ(CapitalizedLabel(""), "");
    const wb::VolumeKind kinds[] = {wb::VolumeKind::Unknown, wb::VolumeKind::NoRoot, wb::VolumeKind::Removable,
                                    wb::VolumeKind::Fixed,   wb::VolumeKind::Remote, wb::VolumeKind::CDROM,
                                    wb::VolumeKind::RAM};
    for (int code = 0; code < 7; ++code) EXPECT_EQ(int(DriveTypeOf(kinds[code])), code);
}

TEST(DriveKinds, EachControlOffersItsKindsAndLooksAheadOnlyOnFixedOnes) {
    using K = wb::VolumeKind;
    struct Row {
        K kind;
        bool inTree, inBox, looksAhead;
    };
    const TDriveTypes all{dtUnknown, dtNoDrive, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM};
    const Row rows[] = {{K::Unknown, true, false, false},  {K::NoRoot, true, false, false},
                        {K::Removable, true, true, false}, {K::Fixed, true, true, true},
                        {K::Remote, true, true, true},     {K::CDROM, true, true, false},
                        {K::RAM, true, true, true}};
    for (const Row& r : rows) {
        EXPECT_EQ(TreeShowsDrive(r.kind, all), r.inTree) << int(r.kind);
        EXPECT_EQ(BoxListsDrive(r.kind, all), r.inBox) << int(r.kind);
        EXPECT_EQ(LooksAheadOnDrive(r.kind), r.looksAhead) << int(r.kind);
    }
    // Types not chosen: only the drives without a root stay in the tree.
    EXPECT_TRUE(TreeShowsDrive(K::NoRoot, TDriveTypes{dtFixed}));
    EXPECT_FALSE(TreeShowsDrive(K::CDROM, TDriveTypes{dtFixed}));
    EXPECT_FALSE(BoxListsDrive(K::CDROM, TDriveTypes{dtFixed}));
}

TEST(NetworkPaths, ShareAndRestOfTheNetworkFormOnly) {
    struct Row {
        std::string path;
        bool network;
        std::string share, rest;
    };
    const Row rows[] = {{"//nas/share/music/rock", true, "//nas/share/", "/music/rock"},
                        {"//nas/share", true, "//nas/share/", ""},
                        {"//nas/share/", true, "//nas/share/", "/"},
                        {"//nas", true, "//nas/", ""},
                        {"/home/user", false, "", ""},
                        {"//", false, "", ""}};
    for (const Row& r : rows) {
        std::string share, rest;
        ASSERT_EQ(SplitNetworkPath(r.path, share, rest), r.network) << r.path;
        if (!r.network) continue;
        EXPECT_EQ(share, r.share) << r.path;
        EXPECT_EQ(rest, r.rest) << r.path;
    }
}

TEST(FileTimes, PackedAsDateAndTimeWordsFrom1980) {
    std::tm tm{};
    tm.tm_year = 124;  // 2024
    tm.tm_mon = 2;     // March
    tm.tm_mday = 9;
    tm.tm_hour = 13;
    tm.tm_min = 45;
    tm.tm_sec = 31;
    EXPECT_EQ(PackedDateTime(tm), (44u << 25) | (3u << 21) | (9u << 16) | (13u << 11) | (45u << 5) | 15u);
    tm.tm_year = 79;
    EXPECT_EQ(PackedDateTime(tm), 0u);
}

TEST(FileIcons, ExtensionsInLowerCaseAndPerFileKinds) {
    EXPECT_EQ(LowerExtension("Song.MP3"), ".mp3");
    EXPECT_EQ(LowerExtension("archive.tar.GZ"), ".gz");
    EXPECT_EQ(LowerExtension(".hidden"), "");
    EXPECT_EQ(LowerExtension("README"), "");
    for (const char* ext : {".exe", ".lnk", ".ico", ".scr"}) EXPECT_TRUE(PerFileIconExtension(ext));
    EXPECT_FALSE(PerFileIconExtension(".mp3"));
}

} // namespace
