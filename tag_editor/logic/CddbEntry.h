#pragma once
// A CDDB entry (the xmcd text of a "cddb read" reply) as the disc's tags,
// and the tag list made of it.
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct TCDDBDiskRec {
    bool IsSampler = false;  // a track title holds " / "
    std::string Year;        // four digits or empty
    std::string Comment;     // always empty
    std::string Genre;       // the genre table's name for the category, or empty
    std::string Album;
    std::vector<std::string> TrackSongs;
    std::vector<std::string> TrackArtists;  // [0] first receives the disc artist
};

// The reply split into lines, line ends (LF or CR LF) removed. A last piece
// without its line end is left out: it is not a line yet.
std::vector<std::string> ReplyLines(std::string_view text);

// The entry of a "210" reply for a disc of trackCount tracks. A key repeated
// on further lines continues its value, as the format allows; control bytes
// in the values are blanks.
TCDDBDiskRec ParseXmcdEntry(const std::vector<std::string>& lines, int trackCount);

// The tag list's file name and its lines, each ended by CR LF. The name is
// shortened, on a character boundary and keeping ".Tag", to maxNameBytes,
// and never hidden; empty when no name is left.
std::string TagListFileName(const TCDDBDiskRec& disc, long maxNameBytes = 255);
std::string TagListText(const TCDDBDiskRec& disc);

// Writes the tag list into the folder, replacing a file of the same name
// only once the new one is complete; gives its path. An entry without a disc
// artist writes nothing and gives "". Throws wb::IoError, or TagListError
// when no name is left.
std::string WriteCddbTagList(const std::string& folder, const TCDDBDiskRec& disc);

} // namespace velmora
