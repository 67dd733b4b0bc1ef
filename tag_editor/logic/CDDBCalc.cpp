#include "tag_editor/logic/CDDBCalc.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/media/CdToc.h"
#include "platform/base/IoError.h"
#include "platform/base/TextFile.h"
#include "platform/base/TextUtil.h"

namespace velmora {

const char* const kDuplicateRequestText = "You allready have a CDDB-request for this CD !";
const char* const kNoVirtualTracksText = "There are no tracks on your virtual CD !";

namespace {

// The id's middle field has 16 bits; a longer disc would spill into the
// digit-sum byte and give an id no server has.
constexpr uint32_t kMaxIdSeconds = 0xFFFF;

std::string DiscIdText(uint32_t id) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", id);
    return buf;
}

// n: the digit sums of the tracks' start seconds; t: the playing time in
// seconds; the modulus is 255, as every CDDB server computes it.
std::string DiscId(uint32_t n, uint32_t t, uint32_t tracks) {
    return DiscIdText(((n % 255u) << 24) | (t << 8) | tracks);
}

bool IsDecimal(std::string_view s, size_t maxDigits = 9) {
    if (s.empty() || s.size() > maxDigits) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool IsHex(std::string_view s) {
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

} // namespace

int CddbDigitSum(int n) {
    int sum = 0;
    for (; n > 0; n /= 10) sum += n % 10;
    return sum;
}

TCdReport CdReportFromToc(const wb::media::CdToc& toc) {
    TCdReport report;
    for (uint32_t lba : toc.trackStarts) report.Starts.push_back(lba + kLeadInFrames);
    if (!toc.trackStarts.empty() && toc.leadOut > toc.trackStarts.back())
        report.LastLength = toc.leadOut - toc.trackStarts.back() - 1;
    return report;
}

TDiskInfoRec MakeDiscInfo(const TCdReport& report) {
    const size_t count = report.Starts.size();
    if (count == 0) throw CddbError("The disc holds no tracks.");
    if (count > kMaxCdTracks)
        throw CddbError("The disc reports " + std::to_string(count) + " tracks; a CD holds at most 99.");
    TDiskInfoRec disc;
    uint32_t n = 0;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 && report.Starts[i] <= report.Starts[i - 1])
            throw CddbError("The disc's table of contents is damaged: track " + std::to_string(i + 1) +
                            " does not start after track " + std::to_string(i) + ".");
        n += static_cast<uint32_t>(CddbDigitSum(static_cast<int>(report.Starts[i] / kFramesPerSecond)));
        disc.Offsets.push_back(std::to_string(report.Starts[i]));
    }
    const uint64_t leadOut = uint64_t(report.Starts.back()) + report.LastLength + 1;
    const uint64_t total = leadOut / kFramesPerSecond;
    const uint64_t t = total - report.Starts.front() / kFramesPerSecond;
    if (t > kMaxIdSeconds) throw CddbError("The disc is too long for a CDDB disc id.");
    disc.TrackCount = std::to_string(count);
    disc.TotalSeconds = std::to_string(total);
    disc.DiscId = DiscId(n, static_cast<uint32_t>(t), static_cast<uint32_t>(count));
    return disc;
}

TDiskInfoRec VirtualDiscInfo(const std::vector<int>& durations) {
    const size_t count = durations.size();
    if (count == 0) throw CddbError(kNoVirtualTracksText);
    if (count > kMaxCdTracks)
        throw CddbError("A virtual CD holds at most 99 tracks; " + std::to_string(count) + " are used.");
    TDiskInfoRec disc;
    disc.Offsets.assign(count, "");
    disc.Offsets[0] = std::to_string(kLeadInFrames);
    uint64_t start = 2;
    uint32_t n = 0;
    for (size_t k = 0; k < count; ++k) {
        n += static_cast<uint32_t>(CddbDigitSum(static_cast<int>(start)));
        start += static_cast<uint64_t>(durations[k] > 0 ? durations[k] : 0);
        if (start - 2 > kMaxIdSeconds) throw CddbError("The virtual CD is too long for a CDDB disc id.");
        if (k + 1 < count) disc.Offsets[k + 1] = std::to_string(start * kFramesPerSecond);
    }
    disc.TrackCount = std::to_string(count);
    disc.TotalSeconds = std::to_string(start);
    disc.DiscId = DiscId(n, static_cast<uint32_t>(start - 2), static_cast<uint32_t>(count));
    return disc;
}

TDiskInfoRec ReadDiskInfo(const std::string& device) {
    std::error_code ec;
    if (device.empty() || !std::filesystem::exists(device, ec))
        throw CddbError("There is no CD drive" + (device.empty() ? std::string() : " " + device) + ".");
    auto toc = wb::media::ReadCdToc(device);
    if (!toc)
        throw CddbError("The drive " + device +
                        " holds no disc whose table of contents can be read (no disc, an open tray, "
                        "or no permission to open the drive).");
    return MakeDiscInfo(CdReportFromToc(*toc));
}

std::string RequestLine(const TDiskInfoRec& disc) {
    std::string line = disc.DiscId + " " + disc.TrackCount;
    for (const auto& offset : disc.Offsets) line += " " + offset;
    return line + " " + disc.TotalSeconds;
}

std::optional<TDiskInfoRec> ParseRequestLine(std::string_view line) {
    auto words = Words(line);
    if (words.size() < 4 || words[0].size() != 8 || !IsHex(words[0]) || !IsDecimal(words[1], 2))
        return std::nullopt;
    const int count = std::stoi(std::string(words[1]));
    if (count < 1 || count > kMaxCdTracks || words.size() != size_t(count) + 3) return std::nullopt;
    TDiskInfoRec disc;
    disc.DiscId = std::string(words[0]);
    disc.TrackCount = std::string(words[1]);
    for (int i = 0; i < count; ++i) {
        if (!IsDecimal(words[2 + i])) return std::nullopt;
        disc.Offsets.emplace_back(words[2 + i]);
    }
    if (!IsDecimal(words.back())) return std::nullopt;
    disc.TotalSeconds = std::string(words.back());
    return disc;
}

bool TCddbRequests::Add(const TDiskInfoRec& disc) {
    std::string line = RequestLine(disc);
    for (const auto& queued : lines_)
        if (wb::SameText(queued, line)) return false;
    lines_.push_back(std::move(line));
    return true;
}

void TCddbRequests::PopFront() { Remove(0); }

void TCddbRequests::Remove(int index) {
    if (index >= 0 && index < Count()) lines_.erase(lines_.begin() + index);
}

std::vector<std::string> TCddbRequests::Load(const std::string& path) {
    lines_.clear();
    kept_.clear();
    std::vector<std::string> problems;
    auto content = wb::ReadWholeFile(path);
    if (!content) return problems;
    size_t pos = 0;
    int number = 0;
    while (pos < content->size()) {
        size_t end = content->find('\n', pos);
        if (end == std::string::npos) end = content->size();
        std::string line = content->substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (wb::Trim(line).empty()) continue;
        if (ParseRequestLine(line)) {
            lines_.push_back(line);
        } else {
            kept_.push_back(line);
            problems.push_back("Line " + std::to_string(number) + " of " + path +
                               " is no CDDB request; it stays in the file and is not sent.");
        }
    }
    return problems;
}

void TCddbRequests::Save(const std::string& path) const {
    if (lines_.empty() && kept_.empty()) {
        if (std::remove(path.c_str()) != 0 && errno != ENOENT) throw wb::IoError(path, "delete", errno);
        return;
    }
    std::string content;
    for (const auto& line : lines_) content += line + "\r\n";
    for (const auto& line : kept_) content += line + "\r\n";
    wb::WriteFileReplacing(path, content);
}

std::vector<std::string> TVirtualList::Numbers() const {
    std::vector<std::string> numbers;
    int counter = 1;
    for (const auto& row : Rows) {
        if (row.Used) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%02d", counter++);
            numbers.emplace_back(buf);
        } else {
            numbers.emplace_back(" ");
        }
    }
    return numbers;
}

int TVirtualList::UsedCount() const {
    int used = 0;
    for (const auto& row : Rows) used += row.Used ? 1 : 0;
    return used;
}

TDiskInfoRec TVirtualList::Disc() const {
    std::vector<int> durations;
    for (const auto& row : Rows)
        if (row.Used) durations.push_back(row.Duration);
    return VirtualDiscInfo(durations);
}

TVirtualList BuildVirtualList(const std::vector<std::string>& files, const std::vector<int>& tracks,
                              const std::vector<int>& durations) {
    const size_t count = files.size();
    auto duration = [&](size_t i) { return i < durations.size() ? durations[i] : 0; };
    TVirtualList list;
    list.Rows.resize(count);
    list.ByTrackNumber = true;
    for (size_t i = 0; i < count && list.ByTrackNumber; ++i) {
        int track = i < tracks.size() ? tracks[i] : 0;
        if (track <= 0 || size_t(track) > count) {
            list.ByTrackNumber = false;
            break;
        }
        // A later file with the same number takes the row.
        list.Rows[size_t(track) - 1] = {files[i], true, duration(i)};
    }
    if (!list.ByTrackNumber)
        for (size_t i = 0; i < count; ++i) list.Rows[i] = {files[i], true, duration(i)};
    return list;
}

} // namespace velmora
