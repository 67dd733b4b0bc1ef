#pragma once
// Names of files, folders and playlists made from tag fields by the user's
// patterns, the clean-ups that follow, and the track numbers read from names.
#include <string>
#include <string_view>
#include <vector>

#include "tag_editor/logic/TagCodec.h"

namespace velmora {

enum class NameKind { File = 0, Folder = 1, Playlist = 2 };

// The six pattern boxes of "Customize names".
struct NamePatterns {
    std::string FileNameAlbum = "%T. %A - %S";
    std::string FileNameSampler = "%T. %A - %S";
    std::string DirNameAlbum = "%A - %N";
    std::string DirNameSampler = "%N";
    std::string PListNameAlbum = "--- %A - %N ---";
    std::string PListNameSampler = "--- %N ---";

    const std::string& For(NameKind kind, bool album) const;
};

// What naming reads from the "Options" and "Customize names" tabs.
struct NameSettings {
    NamePatterns Patterns;
    bool Album = true;              // AplAlbumChk: album patterns, else sampler ones
    bool UseDot = false;            // UseDotChk: blanks are replaced
    std::string Replacement = ".";  // UseIsteadSpaceEdit; its first character replaces blanks
};

// Expands %A artist, %S song, %N album, %C comment (each trimmed), %G genre,
// %T two-digit track, %Y year; any other code vanishes with its '%'. The
// result is trimmed and gets ".mp3" (file) or ".m3u" (playlist).
std::string BuildName(std::string_view pattern, const TTagInfo& tag, NameKind kind);
std::string BuildName(const NameSettings& settings, const TTagInfo& tag, NameKind kind);

// '*', ':', '?', '\' become blanks, '"' an apostrophe, '/' a '-'.
std::string SanitizeName(std::string_view name);

// Drops the blank after a leading "NN." or "NNN.", then turns every blank
// into the replacement's first character (none when it is empty).
std::string ReplaceBlanks(std::string_view name, std::string_view replacement);

// A built name as it may stand on disk: control characters blanked, and
// leading dots and blanks dropped, since on Linux a leading dot hides the
// entry. Empty when nothing is left before the extension ext (".mp3",
// ".m3u", ".Tag", "" for a folder): such a name is refused, not used.
std::string VisibleName(std::string_view name, std::string_view ext);

// A number from 1 to 9 gets a leading '0'; 10 and above stay; anything else
// (0, empty, not all digits) gives "".
std::string TwoDigitTrack(std::string_view text);

// The number of the first two adjacent digits of the file name (not of its
// folder), -1 when there are none.
int TrackFromName(std::string_view path);

// The track box text a numbered name gives ("07 x.mp3" gives "7"), "" when
// the name does not start with a number.
std::string TrackFromNamePrefix(std::string_view fileName);

// The number that the whole run of digits at the start of a name gives
// ("010 Intro.mp3" gives 10), -1 when the name does not start with a digit
// or the number is too large to be a track.
int LeadingNumber(std::string_view name);

// The index of the first name whose LeadingNumber is the track, -1 when
// none is: so "255 y.mp3" is track 255 only, never track 25.
int FileIndexByTrack(int track, const std::vector<std::string>& names);

// The path of a name in a folder, with one '/' between them.
std::string InFolder(const std::string& folder, std::string_view name);

} // namespace velmora
