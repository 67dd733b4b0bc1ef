#include "tag_editor/logic/CddbEntry.h"

#include "tag_editor/logic/TagList.h"

#include "platform/base/CodePage.h"
#include "platform/base/ProgramPaths.h"
#include "platform/base/Rename.h"
#include "platform/base/TextFile.h"
#include "platform/base/TextUtil.h"
#include "tag_editor/logic/NamePatterns.h"
#include "tag_editor/logic/TagCodec.h"

namespace velmora {

namespace {

constexpr size_t kMaxTitle = 1000;
constexpr size_t kMaxText = 255;

// At most max characters, never cutting one apart.
std::string Chars(std::string_view text, size_t max) {
    size_t count = 0, i = 0;
    for (; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (count++ == max) break;
    }
    return std::string(text.substr(0, i));
}

// Fits bytes on a character boundary.
std::string Bytes(std::string_view text, size_t max) {
    if (text.size() <= max) return std::string(text);
    size_t i = max;
    while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
    return std::string(text.substr(0, i));
}

// The value of a key (matched without regard to letter case); lines that
// repeat the key continue it.
std::string KeyValue(const std::vector<std::string>& lines, std::string_view key, bool& found) {
    std::string value;
    found = false;
    for (const auto& line : lines) {
        size_t eq = line.find('=');
        if (eq == std::string::npos || eq != key.size()) continue;
        if (wb::LowerAscii(line.substr(0, eq)) != wb::LowerAscii(key)) continue;
        found = true;
        value += line.substr(eq + 1);
    }
    return value;
}

// The four digits after "YEAR:" and its blanks, or "".
std::string YearField(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        size_t at = line.find("YEAR:");
        if (at == std::string::npos) continue;
        size_t i = at + 5;
        while (i < line.size() && line[i] == ' ') ++i;
        size_t digits = 0;
        while (i + digits < line.size() && line[i + digits] >= '0' && line[i + digits] <= '9') ++digits;
        return digits == 4 ? line.substr(i, 4) : std::string();
    }
    return {};
}

// Servers send UTF-8 at the higher protocol levels and Latin-1 below them.
std::string AsUtf8(std::string_view text) {
    return wb::Utf8OrCp1252(text);
}

} // namespace

std::vector<std::string> ReplyLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (true) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) break;
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        pos = end + 1;
    }
    return lines;
}

TCDDBDiskRec ParseXmcdEntry(const std::vector<std::string>& rawLines, int trackCount) {
    std::vector<std::string> lines;
    for (const auto& line : rawLines) lines.push_back(AsUtf8(line));
    TCDDBDiskRec disc;
    const size_t n = trackCount > 0 ? size_t(trackCount) : 0;
    disc.TrackSongs.assign(n, "");
    disc.TrackArtists.assign(n, "");

    std::string category;
    for (const auto& line : lines) {
        if (line.find("210") == std::string::npos) continue;
        if (line.size() > 4) category = line.substr(4, line.find(' ', 4) - 4);
        break;
    }
    disc.Genre = GenreName(GenreNumber(category));
    disc.Year = YearField(lines);

    bool found = false;
    std::string title = Chars(KeyValue(lines, "DTITLE", found), kMaxTitle);
    std::string discArtist;
    if (size_t split = title.find(" / "); split != std::string::npos) {
        discArtist = title.substr(0, split);
        disc.Album = Chars(title.substr(split + 3), kMaxText);
    } else {
        discArtist = title;
        disc.Album = Chars(title, kMaxText);
    }
    if (n > 0) disc.TrackArtists[0] = discArtist;

    for (size_t i = 0; i < n; ++i) {
        std::string value = Chars(KeyValue(lines, "TTITLE" + std::to_string(i), found), kMaxText);
        if (!found) continue;
        if (size_t split = value.find(" / "); split != std::string::npos) {
            disc.TrackArtists[i] = value.substr(0, split);
            disc.TrackSongs[i] = value.substr(split + 3);
            disc.IsSampler = true;
        } else {
            disc.TrackSongs[i] = value;
        }
    }
    return disc;
}

std::string TagListFileName(const TCDDBDiskRec& disc, long maxNameBytes) {
    const std::string ext = ".Tag";
    std::string stem;
    if (disc.IsSampler) {
        stem = SanitizeName(disc.Album) + " (Sampler)";
    } else {
        std::string artist = disc.TrackArtists.empty() ? std::string() : disc.TrackArtists[0];
        stem = SanitizeName(artist) + " - " + SanitizeName(disc.Album);
    }
    long room = maxNameBytes - static_cast<long>(ext.size());
    return Bytes(stem, room > 0 ? size_t(room) : 0) + ext;
}

// The entry as the tag-list file holds any list: one writer for the format.
std::string TagListText(const TCDDBDiskRec& disc) {
    TTagList list;
    list.Album = !disc.IsSampler;
    if (list.Album) list.Artist = disc.TrackArtists.empty() ? std::string() : disc.TrackArtists[0];
    list.AlbumName = disc.Album;
    list.Comment = disc.Comment;
    list.Year = disc.Year;
    list.Genre = disc.Genre;
    for (size_t i = 0; i < disc.TrackSongs.size(); ++i) {
        TTagListTrack track;
        if (!list.Album && i < disc.TrackArtists.size()) track.Artist = disc.TrackArtists[i];
        track.Title = disc.TrackSongs[i];
        list.Tracks.push_back(track);
    }
    return FormatTagList(list);
}

std::string WriteCddbTagList(const std::string& folder, const TCDDBDiskRec& disc) {
    if (disc.TrackArtists.empty() || disc.TrackArtists[0].empty()) return {};
    wb::MakeFolders(folder);
    std::string path = InFolder(folder, TagListFileName(disc, wb::MaxNameLength(folder)));
    wb::WriteFileReplacing(path, TagListText(disc));
    return path;
}

} // namespace velmora
