// Autotag and the playlist writer over folders of real MP3 files made by
// lame; tags read back by mp3info, playlists by mpg123's list parser.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "ReadOnlyFiles.h"
#include "TestFiles.h"
#include "ToolShell.h"
#include "platform/base/TempDir.h"
#include "platform/base/TextUtil.h"
#include "tag_editor/logic/Autotag.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

std::string Base(const std::string& path) { return fs::path(path).filename().string(); }

// The window as Autotag sees it: every call is logged in order, with the
// temporary folder shown as "<tmp>".
class RecordingHost : public AutotagHost {
public:
    explicit RecordingHost(std::string tmp) : tmp_(std::move(tmp)) {}

    void Message(const std::string& text, wb::gui::MsgKind kind) override {
        const char* k = kind == wb::gui::MsgKind::Error ? "error: " : kind == wb::gui::MsgKind::Plain ? "info: " : "warning: ";
        log.push_back(k + Hide(text));
    }
    std::optional<std::string> AskPlaylistPath(const wb::gui::OpenFileOptions& o) override {
        log.push_back("dialog " + o.initialName + " in " + Hide(o.initialDir));
        dialogs.push_back(o);
        return answer;
    }
    void SetRunning(bool running) override { log.push_back(running ? "running" : "done"); }
    void FolderRenamed(const std::string& path) override { log.push_back("folder " + Hide(path)); }
    std::vector<std::string> RereadFileList(const std::string& folder) override {
        log.push_back("reread " + Hide(folder));
        return Mp3Names(folder);
    }

    // The file list: the folder's *.mp3 files, sorted as the list sorts.
    static std::vector<std::string> Mp3Names(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) {
            std::string n = e.path().filename().string();
            if (e.is_regular_file() && wb::LowerAscii(e.path().extension().string()) == ".mp3") names.push_back(n);
        }
        std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return wb::CompareText(a, b) < 0; });
        return names;
    }

    std::vector<std::string> log;
    std::vector<wb::gui::OpenFileOptions> dialogs;
    std::optional<std::string> answer;

private:
    std::string Hide(std::string s) const {
        for (size_t at; (at = s.find(tmp_)) != std::string::npos;) s.replace(at, tmp_.size(), "<tmp>");
        return s;
    }
    std::string tmp_;
};

class Mp3Folder : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!HaveTool("lame")) return;
        wb::TempDir dir;
        Shell("head -c 22050 /dev/zero | lame --quiet -r -s 22.05 --bitwidth 16 -m m -b 32 - " +
              Quote(dir / "a.mp3") + " 2>/dev/null");
        mp3_ = ReadBytes(dir / "a.mp3");
    }
    void SetUp() override {
        REQUIRE_TOOLS("lame", "mp3info");
        ASSERT_FALSE(mp3_.empty());
        music_ = dir_ / "Music";
        fs::create_directory(music_);
    }
    void Lay(const std::vector<std::string>& names) {
        for (const auto& n : names) WriteBytes(music_ + "/" + n, mp3_);
    }
    // "track|artist|song" as mp3info reads the tag, "" for a file without one.
    static std::string TagOf(const std::string& path) {
        std::string out = Shell("mp3info -p '%n|%a|%t' " + Quote(path) + " 2>&1; true");
        if (out.find("does not have an ID3 1.x tag") != std::string::npos) return "";
        return out;
    }
    // Every file of the folder with its tag; playlists with their bytes.
    static std::map<std::string, std::string> Contents(const std::string& folder) {
        std::map<std::string, std::string> out;
        for (const auto& e : fs::directory_iterator(folder)) {
            std::string p = e.path().string();
            out[Base(p)] = e.path().extension() == ".m3u" ? ReadBytes(p) : TagOf(p);
        }
        return out;
    }
    // The names mpg123 takes from a playlist, having opened each one.
    static std::vector<std::string> PlayedBy123(const std::string& playlist) {
        std::string out = Shell("cd / && mpg123 -t -v --list " + Quote(playlist) + " 2>&1");
        EXPECT_EQ(out.find("error"), std::string::npos) << out;
        std::vector<std::string> names;
        const std::string mark = "Playing MPEG stream ";
        for (size_t at = out.find(mark); at != std::string::npos; at = out.find(mark, at + 1)) {
            size_t colon = out.find(": ", at), end = out.find(" ...", at);
            names.push_back(out.substr(colon + 2, end - colon - 2));
        }
        return names;
    }

    static inline std::string mp3_;
    wb::TempDir dir_;
    std::string music_;
};

std::string AlbumList(int titles) {
    TTagList l;
    l.Artist = "Some Artist";
    l.AlbumName = "Some Album";
    l.Comment = "from a list";
    l.Year = "1999";
    l.Genre = "Rock";
    for (int i = 1; i <= titles; ++i) l.Tracks.push_back({"", "Song " + std::to_string(i)});
    return FormatTagList(l);
}

std::string SamplerList(const std::string& album, int tracks) {
    TTagList l;
    l.Album = false;
    l.AlbumName = album;
    for (int i = 1; i <= tracks; ++i) l.Tracks.push_back({"Artist " + std::to_string(i), "Title " + std::to_string(i)});
    return FormatTagList(l);
}

std::string Lines(const std::vector<std::string>& names) { return FormatPlaylist(names); }

std::string ManyTracks(int n) {
    std::string list = "Album\r\nSome Artist\r\nSome Album\r\n\r\n\r\n\r\n" + std::to_string(n + 1) + "\r\n";
    for (int i = 1; i <= n; ++i) list += "Song " + std::to_string(i) + "\r\n";
    return list;
}

const std::string kPlaylist = "--- Some Artist - Some Album ---.m3u";
const std::string kRenamed = "<tmp>/Some Artist - Some Album";

struct AutotagRow {
    std::string name;
    std::string list;                // the tag list's bytes
    std::vector<std::string> files;  // laid into "Music"
    std::function<void(AutotagOptions&)> options;
    std::vector<std::string> readOnly;
    std::vector<std::string> siblings;  // folders beside "Music"
    // Expected: the host's log in order (an entry ending in '*' matches by
    // its start), where the files are, and what they hold.
    std::vector<std::string> log;
    std::string folder;
    std::map<std::string, std::string> contents;
    int written;
    std::vector<std::string> gone = {};  // listed, then deleted before the run
};
// A failing row is named by its name, not dumped as bytes.
void PrintTo(const AutotagRow& row, std::ostream* os) { *os << row.name; }

class AutotagTest : public Mp3Folder, public testing::WithParamInterface<AutotagRow> {};

TEST_P(AutotagTest, TagsRenamesAndListsTheFolder) {
    const AutotagRow& row = GetParam();
    Lay(row.files);
    ReadOnlyFiles protect;
    for (const auto& f : row.readOnly)
        if (!protect.Protect(music_ + "/" + f)) GTEST_SKIP() << "no way to make a file read-only for root here";
    for (const auto& s : row.siblings) fs::create_directory(dir_ / s);
    const std::string listPath = dir_ / "List.Tag";
    WriteBytes(listPath, row.list);
    AutotagOptions options;
    if (row.options) row.options(options);
    RecordingHost host(dir_.Path());

    const std::vector<std::string> listed = RecordingHost::Mp3Names(music_);
    for (const auto& f : row.gone) fs::remove(music_ + "/" + f);

    AutotagResult r = AutoTag(host, music_, listed, listPath, options);

    ASSERT_EQ(host.log.size(), row.log.size()) << testing::PrintToString(host.log);
    for (size_t i = 0; i < row.log.size(); ++i) {
        const std::string& want = row.log[i];
        if (want.ends_with('*')) EXPECT_TRUE(host.log[i].starts_with(want.substr(0, want.size() - 1))) << host.log[i];
        else EXPECT_EQ(host.log[i], want);
    }
    EXPECT_EQ(r.Written, row.written);
    const std::string folder = dir_ / row.folder;
    EXPECT_EQ(r.Folder, folder);
    EXPECT_EQ(Contents(folder), row.contents);
    for (const auto& [name, bytes] : row.contents) {
        if (!name.ends_with(".m3u") || !HaveTool("mpg123")) continue;
        std::vector<std::string> listed;
        for (size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
            listed.push_back(bytes.substr(at, end - at));
        EXPECT_EQ(PlayedBy123(folder + "/" + name), listed);
    }
}

// A file tagged and renamed from track n of AlbumList or SamplerList, with its tag.
std::pair<const std::string, std::string> AlbumSong(int n) {
    const std::string s = std::to_string(n);
    return {(n < 10 ? "0" : "") + s + ". Some Artist - Song " + s + ".mp3", s + "|Some Artist|Song " + s};
}
std::pair<const std::string, std::string> SamplerSong(int n) {
    const std::string s = std::to_string(n);
    return {"0" + s + ". Artist " + s + " - Title " + s + ".mp3", s + "|Artist " + s + "|Title " + s};
}

const std::vector<std::string> kRenamedLog = {"running", "folder " + kRenamed, "reread " + kRenamed, "done"};
const std::string kLeftOut = "warning: These songs are left out of the playlist, as their names hold a line break:\r\n";
const std::string kRenameRefused = "error: Can\u00b4t rename directory !*";
const auto kAllTagged = std::map<std::string, std::string>{
    AlbumSong(1), AlbumSong(2), AlbumSong(3),
    {kPlaylist, Lines({AlbumSong(1).first, AlbumSong(2).first, AlbumSong(3).first})}};

INSTANTIATE_TEST_SUITE_P(
    Folders, AutotagTest,
    testing::Values(
        AutotagRow{"AllTagged", AlbumList(3), {"01 a.mp3", "02 b.mp3", "03 c.mp3"}, nullptr, {}, {}, kRenamedLog,
                   "Some Artist - Some Album", kAllTagged, 3},
        AutotagRow{"ListLongerThanTheFolder", AlbumList(5), {"01 a.mp3", "02 b.mp3", "03 c.mp3"}, nullptr, {}, {},
                   kRenamedLog, "Some Artist - Some Album", kAllTagged, 3},
        AutotagRow{"AFileWithoutNumber", AlbumList(2), {"01 a.mp3", "b.mp3"}, nullptr, {}, {},
                   {"running", "reread <tmp>/Music", "done", std::string("error: ") + kSomeNotTagged}, "Music",
                   {AlbumSong(1), {"b.mp3", ""}}, 1},
        // Every file got a tag, so the run counts as complete.
        AutotagRow{"MissingTrackRenamesNothingElse", AlbumList(3), {"01 a.mp3", "03 c.mp3"}, nullptr, {}, {},
                   kRenamedLog, "Some Artist - Some Album",
                   {AlbumSong(1), AlbumSong(3), {kPlaylist, Lines({AlbumSong(1).first, AlbumSong(3).first})}}, 2},
        AutotagRow{"MoreFilesThanTracks", AlbumList(2), {"01 a.mp3", "02 b.mp3", "03 c.mp3"}, nullptr, {}, {},
                   {"running", "folder " + kRenamed, "reread " + kRenamed, "done",
                    std::string("info: ") + kMoreFilesThanList},
                   "Some Artist - Some Album",
                   {AlbumSong(1), AlbumSong(2), {"03 c.mp3", ""},
                    {kPlaylist, Lines({AlbumSong(1).first, AlbumSong(2).first, "03 c.mp3"})}},
                   2},
        AutotagRow{"AReadOnlyFileFailsAloneAndTheRunGoesOn", AlbumList(3), {"01 a.mp3", "02 b.mp3", "03 c.mp3"},
                   nullptr, {"02 b.mp3"}, {},
                   {"running", "reread <tmp>/Music", "done",
                    "error: These songs could not be tagged:\r\nCannot open \"<tmp>/Music/02 b.mp3\"*"},
                   "Music", {AlbumSong(1), {"02 b.mp3", ""}, AlbumSong(3)}, 2},
        AutotagRow{"MalformedListTagsNothing", "Album\r\nA\r\nB\r\n\r\n\r\n\r\nmany\r\n", {"01 a.mp3"}, nullptr, {},
                   {}, {"running", "done", "error: The tag list \"List.Tag\" holds \"many\" in line 7*"}, "Music",
                   {{"01 a.mp3", ""}}, 0},
        AutotagRow{"Sampler", SamplerList("Hits", 2), {"01 a.mp3", "02 b.mp3"}, nullptr, {}, {},
                   {"running", "folder <tmp>/Hits", "reread <tmp>/Hits", "done"}, "Hits",
                   {SamplerSong(1), SamplerSong(2),
                    {"--- Hits ---.m3u", Lines({SamplerSong(1).first, SamplerSong(2).first})}},
                   2},
        // Only the folder and the playlist get the replacement.
        AutotagRow{"BlanksReplaced", AlbumList(1), {"01 a.mp3"}, [](AutotagOptions& o) { o.Names.UseDot = true; }, {},
                   {},
                   {"running", "folder <tmp>/Some.Artist.-.Some.Album", "reread <tmp>/Some.Artist.-.Some.Album", "done"},
                   "Some.Artist.-.Some.Album",
                   {AlbumSong(1), {"---.Some.Artist.-.Some.Album.---.m3u", Lines({AlbumSong(1).first})}}, 1},
        AutotagRow{"FolderNameTakenKeepsThePlaylistInTheFolder", AlbumList(1), {"01 a.mp3"}, nullptr, {},
                   {"Some Artist - Some Album"}, {"running", kRenameRefused, "reread <tmp>/Music", "done"}, "Music",
                   {AlbumSong(1), {kPlaylist, Lines({AlbumSong(1).first})}}, 1},
        AutotagRow{"DotDotFolderNameIsRefused", SamplerList("..", 1), {"01 a.mp3"}, nullptr, {}, {},
                   {"running", kRenameRefused, "reread <tmp>/Music", "done"}, "Music",
                   {SamplerSong(1), {"--- .. ---.m3u", Lines({SamplerSong(1).first})}}, 1},
        AutotagRow{"BlankFolderNameIsRefused", SamplerList("  ", 1), {"01 a.mp3"}, nullptr, {}, {},
                   {"running", kRenameRefused, "reread <tmp>/Music", "done"}, "Music",
                   {SamplerSong(1), {"---  ---.m3u", Lines({SamplerSong(1).first})}}, 1},
        // A lone CR of a list value reaches no name, tag or playlist line.
        AutotagRow{"LoneCrInAListValueIsABlank", "Album\r\nSome Artist\r\nSome Album\r\n\r\n\r\n\r\n2\r\nOne\rPart\r\n",
                   {"01 a.mp3"}, nullptr, {}, {}, kRenamedLog, "Some Artist - Some Album",
                   {{"01. Some Artist - One Part.mp3", "1|Some Artist|One Part"},
                    {kPlaylist, Lines({"01. Some Artist - One Part.mp3"})}},
                   1},
        AutotagRow{"AFileGoneSinceListingFailsTheRun", AlbumList(3), {"01 a.mp3", "02 b.mp3", "03 c.mp3"}, nullptr,
                   {}, {},
                   {"running", "reread <tmp>/Music", "done",
                    "error: These songs could not be tagged:\r\nCannot write the tag of \"<tmp>/Music/02 b.mp3\": "
                    "No such file or directory*"},
                   "Music", {AlbumSong(1), AlbumSong(3)}, 2, {"02 b.mp3"}},
        AutotagRow{"EveryFileGoneRenamesNothing", AlbumList(2), {"01 a.mp3", "02 b.mp3"}, nullptr, {}, {},
                   {"running", "reread <tmp>/Music", "done", "error: These songs could not be tagged:*"}, "Music", {},
                   0, {"01 a.mp3", "02 b.mp3"}},
        // Every file has its number: only the box of what failed.
        AutotagRow{"ReadOnlyFilesAndALongerListGiveOneBox", AlbumList(5), {"01 a.mp3", "02 b.mp3", "03 c.mp3"},
                   nullptr, {"01 a.mp3", "02 b.mp3", "03 c.mp3"}, {},
                   {"running", "reread <tmp>/Music", "done", "error: These songs could not be tagged:\r\nCannot open*"},
                   "Music", {{"01 a.mp3", ""}, {"02 b.mp3", ""}, {"03 c.mp3", ""}}, 0},
        AutotagRow{"TracksPast99MatchTheWholeNumber", ManyTracks(256), {"01 a.mp3", "255 y.mp3", "256 z.mp3"}, nullptr,
                   {}, {},
                   {"running", "reread <tmp>/Music", "done",
                    "error: These songs could not be tagged:\r\n\"256 z.mp3\": track 256 cannot be stored*"},
                   "Music", {AlbumSong(1), AlbumSong(255), {"256 z.mp3", ""}}, 2},
        AutotagRow{"FilePatternLeavingOnlyTheExtensionIsRefusedAndNamed", AlbumList(1), {"01 a.mp3"},
                   [](AutotagOptions& o) { o.Names.Patterns.FileNameAlbum = "%X"; }, {}, {},
                   {"running", "folder " + kRenamed, "reread " + kRenamed, "done",
                    "error: These songs keep their names:\r\nCan\u00b4t rename \"01 a.mp3\" to \"\" !*"},
                   "Some Artist - Some Album", {{"01 a.mp3", "1|Some Artist|Song 1"}, {kPlaylist, Lines({"01 a.mp3"})}},
                   1},
        AutotagRow{"FolderNameLosesItsLeadingDot", SamplerList(".Hits", 1), {"01 a.mp3"}, nullptr, {}, {},
                   {"running", "folder <tmp>/Hits", "reread <tmp>/Hits", "done"}, "Hits",
                   {SamplerSong(1), {"--- .Hits ---.m3u", Lines({SamplerSong(1).first})}}, 1},
        AutotagRow{"PlaylistPatternLeavingOnlyTheExtensionWritesNone", AlbumList(1), {"01 a.mp3"},
                   [](AutotagOptions& o) { o.Names.Patterns.PListNameAlbum = " . %X"; }, {}, {},
                   {"running", "folder " + kRenamed, "reread " + kRenamed,
                    "error: The playlist's name pattern gives no name*", "done"},
                   "Some Artist - Some Album", {AlbumSong(1)}, 1},
        AutotagRow{"NameWithALineBreakIsLeftOutOfThePlaylist", AlbumList(2), {"01 a.mp3", "02 b\n01 a.mp3"},
                   [](AutotagOptions& o) { o.RenameFiles = false; }, {}, {},
                   {"running", "folder " + kRenamed, "reread " + kRenamed, kLeftOut + "\"02 b 01 a.mp3\"", "done"},
                   "Some Artist - Some Album",
                   {{"01 a.mp3", "1|Some Artist|Song 1"}, {"02 b\n01 a.mp3", "2|Some Artist|Song 2"},
                    {kPlaylist, "01 a.mp3\r\n"}}, 2},
        AutotagRow{"NoRenamesAndTheDialogCancelled", AlbumList(2), {"01 a.mp3", "02 b.mp3"},
                   [](AutotagOptions& o) { o.RenameFiles = o.RenameFolder = o.AutoPlaylist = false; }, {}, {},
                   {"running", "reread <tmp>/Music", "dialog " + kPlaylist + " in <tmp>/Music", "done"}, "Music",
                   {{"01 a.mp3", "1|Some Artist|Song 1"}, {"02 b.mp3", "2|Some Artist|Song 2"}}, 2}),
    [](const auto& info) { return info.param.name; });

struct PlaylistRow {
    std::string name;
    std::vector<std::pair<std::string, int>> files;  // name, track of its tag (-1: no tag)
    bool fromAutotag;
    std::optional<std::string> answer;  // the save dialog's answer, relative to the folder
    std::vector<std::string> log;
    std::string written;                // relative to the folder, "" for none
    std::vector<std::string> lines;
};
void PrintTo(const PlaylistRow& row, std::ostream* os) { *os << row.name; }

class PlaylistTest : public Mp3Folder, public testing::WithParamInterface<PlaylistRow> {};

TEST_P(PlaylistTest, ListsTheFilesInTheirOrder) {
    const PlaylistRow& row = GetParam();
    for (const auto& [name, track] : row.files) {
        Lay({name});
        if (track >= 0) {
            TTagInfo t;
            t.Artist = "Some Artist";
            t.Album = "Some Album";
            t.Song = name;
            t.Track = uint8_t(track);
            WriteTag(music_ + "/" + name, t);
        }
    }
    RecordingHost host(dir_.Path());
    if (row.answer) host.answer = music_ + "/" + *row.answer;
    std::vector<std::string> before = RecordingHost::Mp3Names(music_);

    std::string path = MakePlaylist(host, music_, before, true, AutotagOptions{}, row.fromAutotag);

    EXPECT_EQ(host.log, row.log);
    for (const auto& d : host.dialogs) {
        EXPECT_EQ(d.filter, "WinAmp Playlist (*.m3u)|*.m3u");
        EXPECT_EQ(d.defaultExt, "*.m3u");
    }
    EXPECT_EQ(path, row.written.empty() ? "" : music_ + "/" + row.written);
    std::vector<std::string> after = RecordingHost::Mp3Names(music_);
    EXPECT_EQ(after, before);
    std::vector<std::string> m3u;
    for (const auto& e : fs::directory_iterator(music_))
        if (e.path().extension() == ".m3u") m3u.push_back(Base(e.path().string()));
    EXPECT_EQ(m3u, row.written.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.written});
    if (row.written.empty()) return;
    EXPECT_EQ(ReadBytes(path), FormatPlaylist(row.lines));
    if (HaveTool("mpg123")) {
        EXPECT_EQ(PlayedBy123(path), row.lines);
    }
}

const std::string kLong(150, 'x');
// The album pattern over a tag that has neither artist nor album.
const std::string kNoNames = "---  -  ---.m3u";

INSTANTIATE_TEST_SUITE_P(
    Folders, PlaylistTest,
    testing::Values(
        PlaylistRow{"TracksInTagOrder", {{"a.mp3", 3}, {"b.mp3", 1}, {"c.mp3", 2}}, true, {}, {}, kPlaylist,
                    {"b.mp3", "c.mp3", "a.mp3"}},
        PlaylistRow{"UntaggedNumberedNamesInListOrder", {{"01 x.mp3", -1}, {"02 y.mp3", -1}}, true, {}, {}, kNoNames,
                    {"01 x.mp3", "02 y.mp3"}},
        PlaylistRow{"NoOrderToTell", {{"x.mp3", -1}, {"y.mp3", -1}}, true, {},
                    {std::string("error: ") + kNoSequence}, "", {}},
        PlaylistRow{"SameTrackTwiceBothStay", {{"a.mp3", 2}, {"b.mp3", 1}, {"c.mp3", 2}}, true, {}, {}, kPlaylist,
                    {"b.mp3", "a.mp3", "c.mp3"}},
        PlaylistRow{"TrackZeroAndAbove100", {{"a.mp3", 7}, {"b.mp3", 0}, {"c.mp3", 200}, {"d.mp3", 101}}, true, {}, {},
                    kPlaylist, {"a.mp3", "d.mp3", "c.mp3", "b.mp3"}},
        PlaylistRow{"LongNamesAreNotCut", {{"01 " + kLong + ".mp3", 1}}, true, {}, {}, kPlaylist,
                    {"01 " + kLong + ".mp3"}},
        // Each name would make a line of its own that names another file.
        PlaylistRow{"NamesWithLineBreaksAreLeftOut", {{"01 a.mp3", -1}, {"02 b\n01 a.mp3", -1}, {"03\r01 a.mp3", -1}},
                    true, {}, {kLeftOut + "\"02 b 01 a.mp3\"\r\n\"03 01 a.mp3\""}, kNoNames, {"01 a.mp3"}},
        PlaylistRow{"OnlyNamesWithLineBreaksWriteNone", {{"01 a\r\nb.mp3", -1}}, false, "p.m3u",
                    {kLeftOut + "\"01 a  b.mp3\"\r\nNo playlist was written."}, "", {}},
        PlaylistRow{"ButtonAsksWhere", {{"01 x.mp3", -1}}, false, "mine.m3u",
                    {"dialog " + kNoNames + " in <tmp>/Music"}, "mine.m3u", {"01 x.mp3"}},
        PlaylistRow{"ButtonCancelled", {{"01 x.mp3", -1}}, false, std::nullopt,
                    {"dialog " + kNoNames + " in <tmp>/Music"}, "", {}},
        PlaylistRow{"UntaggedFirstFileNamesTheListByItsName", {{"01 Band - Song.mp3", -1}}, false, "p.m3u",
                    {"dialog --- Band -  ---.m3u in <tmp>/Music"}, "p.m3u", {"01 Band - Song.mp3"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(Mp3Folder, EmptyFolderWritesNoPlaylistAndGivesTheControlsBack) {
    RecordingHost host(dir_.Path());
    AutotagResult r = AutoTag(host, music_, {}, dir_ / "none.Tag", AutotagOptions{});
    EXPECT_EQ(host.log, (std::vector<std::string>{"running", "reread <tmp>/Music", "done"}));
    EXPECT_FALSE(r.Failed);
    EXPECT_TRUE(fs::is_empty(music_));
}

} // namespace
