#pragma once
// The rename proposal that the main window keeps in its rename box while the
// tag is edited, and the renames of a file and of a folder. Everything here
// is free of windows: the handlers pass in what their boxes hold.
#include <string>
#include <string_view>

#include "tag_editor/logic/NamePatterns.h"

namespace velmora {

// The edit boxes whose change handlers copy their text into the current tag.
enum class TagBox { Song, Artist, Album, Year, Comment, Track };

// Copies a box's text into the tag as its change handler does: the four
// texts and the year only while no file is being loaded (busy), the track
// also while busy. A year or track that is not all digits, or a track above
// what the tag's byte holds, leaves the previous value.
void TakeBoxText(TTagInfo& tag, TagBox box, const std::string& text, bool busy);

// The message that refuses a track text the tag's byte cannot hold (256 and
// above); empty for any other text.
std::string TrackRefusal(std::string_view trackText);

// The file name the pattern gives for the tag, sanitized and trimmed; what a
// click on "Album (else Sampler)" puts into the rename box.
std::string MakeRenameProposal(const TTagInfo& tag, const NameSettings& settings);

// What the rename box shows after an edit: empty while the song or the
// artist box is empty (unless Autotag runs), else the proposal, its blanks
// replaced when the option is on.
std::string UpdateRenameProposal(const TTagInfo& tag, std::string_view songText,
                                 std::string_view artistText, bool autotag,
                                 const NameSettings& settings);

struct RenameResult {
    enum class Status {
        Renamed,
        Unchanged,  // nothing to do: no name given, or the name it has
        Refused     // nothing moved; message says why
    };
    Status status = Status::Unchanged;
    std::string path;     // where the file or folder is now
    std::string message;  // for the user when refused: names the entry and the reason
};

// Renames a file of an absolute folder to a name taken as typed. Refuses a
// name that is blank, "." or "..", holds '/' or a zero byte, is not UTF-8,
// or is longer than the file system holds; refuses a file whose own name is
// not UTF-8 (it is not shown as it is on disk); never replaces another file.
RenameResult RenameFile(const std::string& folder, const std::string& oldName,
                        const std::string& newName);

// The name a folder gets from a built name: blanks replaced when the option
// is on, sanitized, trimmed.
std::string CleanFolderName(std::string_view name, const NameSettings& settings);

// Renames the folder at an absolute path to the cleaned new name, under the
// same rules as a file. Nothing happens for an empty path or name. When the
// rename fails, path stays the old one, so the tree is never pointed at a
// folder that does not exist.
RenameResult RenameDirectory(const std::string& path, const std::string& newName,
                             const NameSettings& settings);

} // namespace velmora
