#pragma once
// Autotag: one tag list applied to a folder of numbered MP3 files, then the
// files and the folder renamed by the name patterns and an .m3u playlist
// written. Free of windows: the main window answers through the hosts below,
// so tests run it on a recording fake.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/DialogHost.h"
#include "tag_editor/logic/NamePatterns.h"
#include "tag_editor/logic/TagList.h"

namespace velmora {

// What the playlist writer asks of its window.
class PlaylistHost {
public:
    virtual ~PlaylistHost() = default;
    // A message box with the program's title and an OK button.
    virtual void Message(const std::string& text, wb::gui::MsgKind kind) = 0;
    // The save dialog; empty when the user cancels.
    virtual std::optional<std::string> AskPlaylistPath(const wb::gui::OpenFileOptions& options) = 0;
};

// What an Autotag run asks of its window besides.
class AutotagHost : public PlaylistHost {
public:
    // true at the start of a run: the tree, the file list and the Autotag
    // and playlist buttons are disabled and the Autotag flag is set; false
    // undoes that, also when the run fails.
    virtual void SetRunning(bool running) = 0;
    // The folder was renamed: the tree and the file list go to its new path.
    virtual void FolderRenamed(const std::string& newPath) = 0;
    // The file list reads the folder again and the tag display is cleared;
    // returns the list's names in its order.
    virtual std::vector<std::string> RereadFileList(const std::string& folder) = 0;
};

// The options of the main window that Autotag reads.
struct AutotagOptions {
    bool RenameFiles = true;     // "Rename file when autotag"
    bool RenameFolder = true;    // Rename directory after "Autotag"
    bool AutoPlaylist = true;    // Generate playlist after "Autotag"
    NameSettings Names;          // patterns, blank replacement; Album is taken from the list
};

// Texts the user sees.
extern const char kSomeNotTagged[];
extern const char kMoreFilesThanList[];
extern const char kNoSequence[];

struct AutotagResult {
    int Written = 0;        // tags written
    bool Failed = false;    // a track found no file, or a file could not be tagged
    std::string Folder;     // where the files are now
    std::string Playlist;   // the playlist written, empty when none
};

// AutoTagBtnClick: tags the files of folder (names as the folder gives
// them, in the file list's order) from the list at tagListPath: the file whose name
// starts with the number 1 ("01", "1") gets track 1, and so on. A file that cannot be tagged
// is reported and counted as failed (a file that is gone, a track above
// 255); the run goes on with the next track. Renames that are refused are
// named in the box that ends the run.
AutotagResult AutoTag(AutotagHost& host, const std::string& folder, const std::vector<std::string>& names,
                      const std::string& tagListPath, const AutotagOptions& options);

// The files of a playlist in their order: by the tag's track number when
// the first file has one (files of one number in list order, files without
// a number last), else in list order when the first name starts with a
// number. Empty when the order cannot be told. Throws wb::IoError when a
// file cannot be read.
std::optional<std::vector<std::string>> PlaylistOrder(const std::string& folder,
                                                      const std::vector<std::string>& names);
// Whether a name can stand on one line of a playlist: one holding CR or LF
// would have a player open other names, maybe another file of the folder.
bool FitsPlaylistLine(std::string_view name);
// One bare file name per line, each line ended by CR LF; a name that does
// not fit on one line is not written.
std::string FormatPlaylist(const std::vector<std::string>& names);
// The box naming the files a playlist leaves out, their control characters
// shown as blanks.
std::string LeftOutOfPlaylist(const std::vector<std::string>& names);
// The playlist's proposed name for the first file's tag; empty when the
// pattern leaves no name (see VisibleName).
std::string PlaylistName(const TTagInfo& firstTag, bool album, const NameSettings& names);
// The save dialog for that name, opening in the folder.
wb::gui::OpenFileOptions PlaylistSaveOptions(const std::string& proposedName, const std::string& folder);

// MakePlListBtnClick: the playlist of the folder's files; a file whose
// name does not fit on one line is left out and named. fromAutotag with
// the AutoPlaylist option writes it under the proposed name into the
// folder; otherwise the save dialog asks. album is the layout of the list
// last loaded in the tag-list editor. Returns the path written, empty when
// none; failures are reported through the host.
std::string MakePlaylist(PlaylistHost& host, const std::string& folder, const std::vector<std::string>& names,
                         bool album, const AutotagOptions& options, bool fromAutotag);

} // namespace velmora
