#pragma once
// Tag lists: the tag data of one CD in a small text file of the "Tags"
// folder, album data once and a title (with its artist, for a sampler) per
// track. Also the text rules of the list editor and of the list grid, apart
// from any window.
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct TTagListTrack {
    std::string Artist;  // samplers only
    std::string Title;
    bool operator==(const TTagListTrack&) const = default;
};

struct TTagList {
    bool Album = true;        // else a sampler: every track has its own artist
    std::string Artist;       // albums only
    std::string AlbumName;
    std::string Comment;
    std::string Year;         // the year box's text: digits or empty
    std::string Genre;        // the genre box's text, empty when none is chosen
    std::vector<TTagListTrack> Tracks;  // track k is entry k - 1
    bool operator==(const TTagList&) const = default;
};

// A list file that cannot be read as a tag list, or a list that cannot be
// written as one. The message names the file and what is wrong.
class TagListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr const char* kTagListExt = ".Tag";

// "Artist - Album.Tag" or "Album (Sampler).Tag", with the characters a file
// name cannot hold cleaned as every other built name is, so a list never
// lands outside its folder or hidden in it (VisibleName); empty when no
// name is left.
std::string TagListFileName(const TTagList& list);

// The file's bytes, in UTF-8: one value per line, CR LF after each, the row
// count counting the editor's header row. Control characters in a value
// are written as blanks, as a line break would shift every later line.
std::string FormatTagList(const TTagList& list);
// Reads a list; the first line decides the layout ("Album", case counting,
// else a sampler). Lines may end in CR LF or LF; text that is not UTF-8 is
// taken as Windows-1252, as lists of the Windows version are. Throws
// TagListError naming fileName for a missing line or a row count that is
// not a positive number. Control characters in values are read as blanks.
TTagList ParseTagList(std::string_view bytes, const std::string& fileName);

// Throws wb::IoError when the file cannot be read, TagListError when it is
// malformed.
TTagList LoadTagList(const std::string& path);
// Writes the list into the folder under TagListFileName, replacing a list of
// that name only once the new one is complete. Nothing is written for an
// empty album name; the result is then empty, else the file's path.
// Throws wb::IoError or TagListError.
std::string SaveTagList(const std::string& folder, const TTagList& list);

// The first letter of every word upper case, every other letter lower
// case; only the blank separates words and only 'a'-'z', 'A'-'Z' change.
std::string CapitalizeWords(std::string_view text);

// Artist and album columns of the list grid for a list file's name: the
// text before and after the first " - ", else "(Sampler)" and the text
// before "(Sampler)".
struct TagListGridNames {
    std::string Artist, Album;
};
TagListGridNames GridNamesOfTagList(std::string_view fileName);

// The row count of the editor grid once the empty rows at its end are
// dropped: from the last row up, while a row is empty, is not the current
// one and is not the first data row.
int RowCountWithoutEmptyEnd(int rowCount, int currentRow, const std::function<bool(int row)>& rowEmpty);

// Where Enter takes the editor grid's cursor; Append when a row must be
// added first. Columns: 1 title (album) or 1 artist and 2 title (sampler).
struct GridStep {
    int Col = 1, Row = 1;
    bool Append = false;
};
GridStep EnterStep(bool album, int col, int row, int rowCount);

} // namespace velmora
