#pragma once
// What the main window decides without windows: the status line's states,
// the tag built from the edit boxes, the field clipboard, the first folder,
// the finishing of a downloaded update and the stored request lines.
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/Colors.h"
#include "tag_editor/logic/TagCodec.h"

namespace velmora {

enum class FileStatus { NoFile = 0, Tagged = 1, TaggedReadOnly = 2, UntaggedReadOnly = 3, Untagged = 4 };

struct FileStatusLook {
    wb::gui::TColor Color;
    wb::gui::TColor FontColor;
    const char* Text;
};

FileStatus FileStatusOf(const TTagInfo& tag);
const FileStatusLook& LookOf(FileStatus status);

// The texts of the edit boxes and the genre box, as Apply reads them.
struct TagBoxes {
    std::string Song, Artist, Album, Year, Comment, Track, Genre;
};

// Year and track count only when all digits; a genre that is not in the
// table (or none chosen) is 255. The track must have passed TrackRefusal.
TTagInfo TagFromBoxes(const TagBoxes& boxes);

// The field clipboard: six texts and the genre box's index, for the whole run.
struct FieldClipboard {
    std::string Song, Artist, Album, Year, Comment, Track;
    int Genre = 0;
};

// The folder the tree shows when none was stored: the user's music folder
// (XDG_MUSIC_DIR, from the environment or the user-dirs file) when it
// exists, else the home folder.
std::string MusicFolder();

// A downloaded updater ("Newupd.exe") replaces "Update.exe" in the folder.
// Nothing happens when there is none; a message names what failed, and the
// downloaded file then stays for the next start.
std::optional<std::string> FinishDownloadedUpdate(const std::string& folder);

} // namespace velmora
