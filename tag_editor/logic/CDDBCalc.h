#pragma once
// CDDB disc ids of a CD in a drive or of a "virtual CD" made of MP3 files,
// the request line that a "cddb query" carries, and the queue of those lines
// kept in "CDDB.Req" between runs.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wb::media {
struct CdToc;
}

namespace velmora {

// One disc as the request line needs it; every value is text.
struct TDiskInfoRec {
    std::string DiscId;        // eight lower-case hex digits
    std::string TrackCount;    // decimal
    std::string TotalSeconds;  // lead-out in whole seconds from the start of the disc
    std::vector<std::string> Offsets;  // each track's start in frames (75 a second)
};

// A disc that yields no id, with the text the user is shown.
class CddbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr int kFramesPerSecond = 75;
constexpr int kLeadInFrames = 2 * kFramesPerSecond;
// Audio CDs carry at most 99 tracks; a count beyond is no disc.
constexpr int kMaxCdTracks = 99;

// Sum of the decimal digits; 0 below 1.
int CddbDigitSum(int n);

// What a drive reports of a disc: each track's start in frames counted from
// the start of the disc, and the last track's length in frames, so that
// lead-out = last start + last length + 1.
struct TCdReport {
    std::vector<uint32_t> Starts;
    uint32_t LastLength = 0;
};

// The drive's report made from a table of contents. The table gives the
// lead-out itself, so the length is reported one frame short: the id rule's
// "+ 1" then lands on the true lead-out and ids equal the servers'.
TCdReport CdReportFromToc(const wb::media::CdToc& toc);

// The published id rule over a drive's report. Throws CddbError for no
// tracks, more than 99, or starts that do not rise.
TDiskInfoRec MakeDiscInfo(const TCdReport& report);

// A virtual CD: one track per file, of these whole-second durations, the
// first starting after the 2-second lead-in. Throws CddbError when there is
// no track or the disc is too long for the id to hold.
TDiskInfoRec VirtualDiscInfo(const std::vector<int>& durations);

// The CD in a drive (a device such as /dev/sr0). Throws CddbError with a
// message that says whether the drive is missing or holds no readable disc.
TDiskInfoRec ReadDiskInfo(const std::string& device);

// id, track count, offsets and seconds, blank-separated.
std::string RequestLine(const TDiskInfoRec& disc);
// The fields of a request line; nothing when it is not one (a field missing
// or extra, a count of 0 or above 99, an id that is not eight hex digits).
std::optional<TDiskInfoRec> ParseRequestLine(std::string_view line);

extern const char* const kDuplicateRequestText;  // "You allready have ..."
extern const char* const kNoVirtualTracksText;   // "There are no tracks ..."

// The queue of request lines, front first.
class TCddbRequests {
public:
    // Appends the disc's line unless an equal one (letter case aside) is
    // queued; false for such a duplicate.
    bool Add(const TDiskInfoRec& disc);
    bool Empty() const { return lines_.empty(); }
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& Front() const { return lines_.front(); }
    void PopFront();
    // Drops the request at index (0 is the front); out of range does nothing.
    void Remove(int index);
    const std::vector<std::string>& Lines() const { return lines_; }

    // Reads "CDDB.Req" (a missing file is an empty queue). Lines that are no
    // request are not queued but kept, so Save writes them back unchanged;
    // the result names each of them for the user.
    std::vector<std::string> Load(const std::string& path);
    // Rewrites the file, CR LF after every line, or deletes it when nothing
    // is left. Throws wb::IoError.
    void Save(const std::string& path) const;

private:
    std::vector<std::string> lines_;
    std::vector<std::string> kept_;  // unreadable lines of the file
};

// The virtual CD's file list: which files are used and in which order.
struct TVirtualTrack {
    std::string FileName;
    bool Used = false;
    int Duration = 0;  // whole seconds, from the MPEG header
};

struct TVirtualList {
    std::vector<TVirtualTrack> Rows;  // one per data row; an unclaimed row has no name
    bool ByTrackNumber = false;       // else by file name
    // Column 0 of each row: "01", "02", ... for used rows, " " for others.
    std::vector<std::string> Numbers() const;
    int UsedCount() const;
    // The disc made of the used rows, top to bottom.
    TDiskInfoRec Disc() const;
};

// Track order when every file's tag numbers it from 1 to the file count,
// else file-name order. tracks[i] is the tag's track number of files[i]
// (0 for none).
TVirtualList BuildVirtualList(const std::vector<std::string>& files, const std::vector<int>& tracks,
                              const std::vector<int>& durations);

} // namespace velmora
