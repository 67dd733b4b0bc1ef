#include "tag_editor/logic/Autotag.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "platform/base/IoError.h"
#include "platform/base/TextFile.h"
#include "tag_editor/logic/Renaming.h"

namespace velmora {

const char kSomeNotTagged[] =
    "Some of the songs are not tagged !\r\nUntagged songs must have tracknumbers.\r\nUse : 01,02,..,09,10,11,12,...";
const char kMoreFilesThanList[] = "Directory contains more files than taglist.\r\nSome of the songs are not tagged !";
const char kNoSequence[] = "Sorry, can\u00b4t generate playlist ! The sequence of the songs is not detectable !";

namespace {

using wb::gui::MsgKind;

// The tag byte holds tracks up to 255; later entries of a longer list have
// no number to be written under.
constexpr int kMaxTrack = 255;

int YearOf(const std::string& text) { return IsAllDigits(text) && text.size() <= 9 ? std::stoi(text) : 0; }

// The tag every file of the list shares; the track's own fields come later.
TTagInfo ListTag(const TTagList& list) {
    TTagInfo tag;
    tag.Genre = GenreNumber(list.Genre);
    tag.Album = list.AlbumName;
    tag.Comment = list.Comment;
    tag.Year = YearOf(list.Year);
    tag.Artist = list.Artist;
    return tag;
}

// Gives the window its controls back however the run ends.
class RunningScope {
public:
    explicit RunningScope(AutotagHost& host) : host_(host) { host_.SetRunning(true); }
    ~RunningScope() { End(); }
    void End() noexcept {
        if (!running_) return;
        running_ = false;
        try {
            host_.SetRunning(false);
        } catch (...) {
        }
    }

private:
    AutotagHost& host_;
    bool running_ = true;
};

} // namespace

AutotagResult AutoTag(AutotagHost& host, const std::string& folder, const std::vector<std::string>& names,
                      const std::string& tagListPath, const AutotagOptions& options) {
    AutotagResult result;
    result.Folder = folder;
    RunningScope running(host);
    int tracks = 1;
    bool album = true, missing = false;
    size_t unmatched = 0;  // files that no track of the list names
    std::vector<std::string> errors, refusedRenames;
    try {
        if (!names.empty()) {
            TTagList list = LoadTagList(tagListPath);
            album = list.Album;
            NameSettings naming = options.Names;
            naming.Album = list.Album;
            // The editor's grid always has one data row, so an empty list
            // still tags track 1.
            tracks = std::max<int>(1, int(list.Tracks.size()));
            TTagInfo tag = ListTag(list);
            // Lookups go by the names the run started with, so a file
            // renamed on the way is never found again for another track.
            std::vector<std::string> onDisk = names;
            std::vector<bool> matched(names.size(), false);
            for (int k = 1; k <= tracks; ++k) {
                int i = FileIndexByTrack(k, names);
                if (i < 0) {
                    missing = true;
                    continue;
                }
                matched[size_t(i)] = true;
                if (k > kMaxTrack) {
                    errors.push_back("\"" + names[size_t(i)] + "\": track " + std::to_string(k) +
                                     " cannot be stored in the tag, which holds tracks 1 to 255.");
                    continue;
                }
                TTagListTrack entry = size_t(k) <= list.Tracks.size() ? list.Tracks[k - 1] : TTagListTrack{};
                tag.Track = static_cast<uint8_t>(k);
                tag.Song = entry.Title;
                if (!list.Album) tag.Artist = entry.Artist;
                try {
                    std::string path = InFolder(folder, onDisk[i]);
                    WriteTag(path, tag);
                    ++result.Written;
                    if (options.RenameFiles) {
                        // Named from the tag as it now stands in the file.
                        std::string newName = VisibleName(
                            SanitizeName(BuildName(naming, ReadTag(path), NameKind::File)), ".mp3");
                        RenameResult renamed = RenameFile(folder, onDisk[i], newName);
                        if (renamed.status == RenameResult::Status::Renamed) onDisk[i] = newName;
                        if (renamed.status == RenameResult::Status::Refused) refusedRenames.push_back(renamed.message);
                    }
                } catch (const std::exception& e) {
                    errors.push_back(e.what());
                }
            }
            unmatched = size_t(std::count(matched.begin(), matched.end(), false));
            // Tracks without a file fail the run only while a file is left
            // untagged: otherwise the list just had more tracks. A file that
            // could not be tagged always fails it.
            result.Failed = (missing && size_t(result.Written) < names.size()) || !errors.empty();
            if (options.RenameFolder && !result.Failed) {
                std::string newName = BuildName(naming, tag, NameKind::Folder);
                // A pattern that gives no name is refused with the reason,
                // not passed over in silence.
                RenameResult renamed = RenameDirectory(folder, newName.empty() ? " " : newName, naming);
                if (renamed.status == RenameResult::Status::Refused) host.Message(renamed.message, MsgKind::Error);
                if (renamed.status == RenameResult::Status::Renamed) {
                    result.Folder = renamed.path;
                    host.FolderRenamed(renamed.path);
                }
            }
        }
        std::vector<std::string> now = host.RereadFileList(result.Folder);
        if (!result.Failed)
            result.Playlist = MakePlaylist(host, result.Folder, now, album, options, true);
    } catch (const std::exception& e) {
        // A list that cannot be read tags nothing; the window still gets
        // its controls back below.
        running.End();
        host.Message(e.what(), MsgKind::Error);
        result.Failed = true;
        return result;
    }
    running.End();
    // One box ends the run with every file that went wrong.
    std::string text;
    if (!errors.empty()) {
        text = "These songs could not be tagged:";
        for (const auto& e : errors) text += "\r\n" + e;
    }
    if (!refusedRenames.empty()) {
        if (!text.empty()) text += "\r\n\r\n";
        text += "These songs keep their names:";
        for (const auto& r : refusedRenames) text += "\r\n" + r;
    }
    if (!text.empty()) host.Message(text, MsgKind::Error);
    // The hint on numbering fits only a file that no track of the list found.
    if (result.Failed && missing && unmatched > 0) host.Message(kSomeNotTagged, MsgKind::Error);
    if (int(names.size()) > tracks) host.Message(kMoreFilesThanList, MsgKind::Plain);
    return result;
}

std::optional<std::vector<std::string>> PlaylistOrder(const std::string& folder,
                                                      const std::vector<std::string>& names) {
    if (names.empty()) return std::vector<std::string>{};
    const int firstTrack = ReadTag(InFolder(folder, names[0])).Track;
    if (firstTrack == 0) {
        if (!StartsWithNumber(names[0])) return std::nullopt;
        return names;
    }
    // Any number the tag byte holds has its place, and two files of one
    // number both stay; a file without a number goes last.
    std::vector<std::pair<int, std::string>> byTrack;
    for (size_t i = 0; i < names.size(); ++i) {
        const int track = i == 0 ? firstTrack : ReadTag(InFolder(folder, names[i])).Track;
        byTrack.emplace_back(track == 0 ? kMaxTrack + 1 : track, names[i]);
    }
    std::stable_sort(byTrack.begin(), byTrack.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> order;
    for (auto& [track, name] : byTrack) order.push_back(std::move(name));
    return order;
}

bool FitsPlaylistLine(std::string_view name) { return name.find_first_of("\r\n") == std::string_view::npos; }

std::string FormatPlaylist(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& name : names)
        if (FitsPlaylistLine(name)) out += name + "\r\n";
    return out;
}

std::string LeftOutOfPlaylist(const std::vector<std::string>& names) {
    std::string text = "These songs are left out of the playlist, as their names hold a line break:";
    for (std::string name : names) {
        for (char& c : name)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
        text += "\r\n\"" + name + "\"";
    }
    return text;
}

std::string PlaylistName(const TTagInfo& firstTag, bool album, const NameSettings& names) {
    NameSettings naming = names;
    naming.Album = album;
    std::string name = SanitizeName(BuildName(naming, firstTag, NameKind::Playlist));
    if (names.UseDot) name = SanitizeName(ReplaceBlanks(name, names.Replacement));
    return VisibleName(name, ".m3u");
}

wb::gui::OpenFileOptions PlaylistSaveOptions(const std::string& proposedName, const std::string& folder) {
    wb::gui::OpenFileOptions o;
    o.defaultExt = "*.m3u";
    o.filter = "WinAmp Playlist (*.m3u)|*.m3u";
    o.initialName = proposedName;
    o.initialDir = folder;
    return o;
}

std::string MakePlaylist(PlaylistHost& host, const std::string& folder, const std::vector<std::string>& names,
                         bool album, const AutotagOptions& options, bool fromAutotag) {
    if (names.empty()) return {};
    try {
        std::string proposed = PlaylistName(ReadTag(InFolder(folder, names[0])), album, options.Names);
        auto order = PlaylistOrder(folder, names);
        if (!order) {
            host.Message(kNoSequence, MsgKind::Error);
            return {};
        }
        // A name holding a line break would be read as other names; it is
        // left out, and said so, rather than written as it is.
        std::vector<std::string> leftOut;
        std::copy_if(order->begin(), order->end(), std::back_inserter(leftOut),
                     [](const std::string& name) { return !FitsPlaylistLine(name); });
        if (leftOut.size() == order->size()) {
            host.Message(LeftOutOfPlaylist(leftOut) + "\r\nNo playlist was written.", MsgKind::Warning);
            return {};
        }
        std::string path;
        if (fromAutotag && options.AutoPlaylist) {
            if (proposed.empty()) {
                host.Message("The playlist's name pattern gives no name for the tag of \"" + names[0] +
                                 "\" once leading dots and blanks are dropped. No playlist was written.",
                             MsgKind::Error);
                return {};
            }
            path = InFolder(folder, proposed);
        } else {
            auto chosen = host.AskPlaylistPath(PlaylistSaveOptions(proposed, folder));
            if (!chosen) return {};
            path = *chosen;
        }
        wb::WriteFileReplacing(path, FormatPlaylist(*order));
        if (!leftOut.empty()) host.Message(LeftOutOfPlaylist(leftOut), MsgKind::Warning);
        return path;
    } catch (const wb::IoError& e) {
        host.Message(e.what(), MsgKind::Error);
        return {};
    }
}

} // namespace velmora
