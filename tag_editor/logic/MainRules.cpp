#include "tag_editor/logic/MainRules.h"

#include <cstdlib>
#include <fstream>

#include "platform/base/File.h"
#include "platform/base/IoError.h"
#include "platform/base/ProgramPaths.h"
#include "platform/base/Rename.h"
#include "platform/base/TextFile.h"

namespace velmora {

using namespace wb::gui;

FileStatus FileStatusOf(const TTagInfo& tag) {
    if (tag.HasTag) return tag.ReadOnly ? FileStatus::TaggedReadOnly : FileStatus::Tagged;
    return tag.ReadOnly ? FileStatus::UntaggedReadOnly : FileStatus::Untagged;
}

const FileStatusLook& LookOf(FileStatus status) {
    static const FileStatusLook looks[] = {
        {clAqua, clBlack, "Welcome to Velmora ! Choose a folder and an MP3 file."},
        {clTeal, clWhite, "File is TAGGED"},
        {clRed, clWhite, "File is writeprotected !"},
        {clRed, clWhite, "File is writeprotected and has no TAG !"},
        {clLime, clBlack, "File has no TAG !"},
    };
    return looks[static_cast<int>(status)];
}

TTagInfo TagFromBoxes(const TagBoxes& boxes) {
    TTagInfo tag;
    tag.Song = boxes.Song;
    tag.Artist = boxes.Artist;
    tag.Album = boxes.Album;
    tag.Comment = boxes.Comment;
    // The boxes take four and three digits, so the numbers always fit.
    if (!boxes.Year.empty() && IsAllDigits(boxes.Year) && boxes.Year.size() <= 9) tag.Year = std::stoi(boxes.Year);
    if (!boxes.Track.empty() && IsAllDigits(boxes.Track) && boxes.Track.size() <= 3) {
        int track = std::stoi(boxes.Track);
        tag.Track = static_cast<uint8_t>(track <= 255 ? track : 0);
    }
    tag.Genre = boxes.Genre.empty() ? kNoGenre : GenreNumber(boxes.Genre);
    return tag;
}

namespace {

std::string Home() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/";
}

// XDG_MUSIC_DIR="$HOME/Music" in the user-dirs file.
std::string MusicFromUserDirs() {
    auto text = wb::ReadWholeFile(wb::ConfigHome() + "/user-dirs.dirs");
    if (!text) return {};
    const std::string key = "XDG_MUSIC_DIR=";
    size_t at = 0;
    while (at < text->size()) {
        size_t end = text->find('\n', at);
        if (end == std::string::npos) end = text->size();
        std::string line = text->substr(at, end - at);
        at = end + 1;
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) value = Home() + value.substr(5);
        return value;
    }
    return {};
}

} // namespace

std::string MusicFolder() {
    const char* env = std::getenv("XDG_MUSIC_DIR");
    for (const std::string& candidate : {std::string(env ? env : ""), MusicFromUserDirs()})
        if (!candidate.empty() && candidate[0] == '/' && wb::DirectoryExists(candidate)) return candidate;
    return Home();
}

std::optional<std::string> FinishDownloadedUpdate(const std::string& folder) {
    const std::string fresh = folder + "/Newupd.exe", updater = folder + "/Update.exe";
    if (!wb::FileExists(fresh)) return std::nullopt;
    try {
        wb::RemoveFile(updater);
    } catch (const wb::IoError& e) {
        return "The downloaded updater \"" + fresh + "\" could not replace \"" + updater +
               "\": " + e.Reason() + ". It is tried again at the next start.";
    }
    if (auto error = wb::RenameNoReplace(fresh, updater))
        return "The downloaded updater \"" + fresh + "\" could not be renamed to \"" + updater +
               "\": " + error->reason + ". It is tried again at the next start.";
    return std::nullopt;
}


} // namespace velmora
