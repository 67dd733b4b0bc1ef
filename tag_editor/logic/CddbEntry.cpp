#include "tag_editor/logic/CddbEntry.h"

#include "tag_editor/logic/TagList.h"

#include <map>
#include <optional>

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

// One field of the entry: its key as its first line writes it, and its
// value with the values of the key's further lines joined on, as the format
// continues a long value.
struct Field {
    std::string key, value;
};

// The fields in the order of their first lines, matched without regard to
// letter case; comments and lines without "=" are no fields.
std::vector<Field> Fields(const std::vector<std::string>& lines) {
    std::vector<Field> fields;
    std::map<std::string, size_t> index;
    for (const auto& line : lines) {
        if (line.empty() || line[0] == '#') continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        auto [it, added] = index.try_emplace(wb::LowerAscii(key), fields.size());
        if (added) fields.push_back({std::move(key), {}});
        fields[it->second].value += line.substr(eq + 1);
    }
    return fields;
}

const Field* FindField(const std::vector<Field>& fields, std::string_view key) {
    for (const auto& f : fields)
        if (f.key.size() == key.size() && wb::LowerAscii(f.key) == wb::LowerAscii(key)) return &f;
    return nullptr;
}

// Four digits after blanks at pos, else "".
std::string FourDigits(std::string_view text, size_t pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    size_t digits = 0;
    while (pos + digits < text.size() && text[pos + digits] >= '0' && text[pos + digits] <= '9') ++digits;
    return digits == 4 ? std::string(text.substr(pos, 4)) : std::string();
}

// The year of the first field that gives one: after "YEAR:" in its text
// (EXTD=YEAR: 1998), else a field whose key holds "YEAR" (DYEAR=1998) gives
// its value. A title that merely holds the word is no year field, and an
// empty DYEAR does not hide the year of the extended data.
std::string YearField(const std::vector<Field>& fields) {
    for (const auto& f : fields) {
        std::string year;
        if (size_t at = f.value.find("YEAR:"); at != std::string::npos)
            year = FourDigits(f.value, at + 5);
        else if (f.key.find("YEAR") != std::string::npos)
            year = FourDigits(f.value, 0);
        if (!year.empty()) return year;
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
        if (line.size() > 4) category = BlankControls(line.substr(4, line.find(' ', 4) - 4));
        break;
    }
    disc.Genre = GenreName(GenreNumber(category));
    const std::vector<Field> fields = Fields(lines);
    disc.Year = YearField(fields);
    // A CR or NUL of the server's would cut or break the names and lines
    // made of these values.
    auto value = [&](std::string_view key, size_t max) -> std::optional<std::string> {
        const Field* f = FindField(fields, key);
        if (!f) return std::nullopt;
        return Chars(BlankControls(f->value), max);
    };

    std::string title = value("DTITLE", kMaxTitle).value_or("");
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
        std::optional<std::string> track = value("TTITLE" + std::to_string(i), kMaxText);
        if (!track) continue;
        if (size_t split = track->find(" / "); split != std::string::npos) {
            disc.TrackArtists[i] = track->substr(0, split);
            disc.TrackSongs[i] = track->substr(split + 3);
            disc.IsSampler = true;
        } else {
            disc.TrackSongs[i] = *track;
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
    return VisibleName(Bytes(stem, room > 0 ? size_t(room) : 0) + ext, ext);
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
    const std::string name = TagListFileName(disc, wb::MaxNameLength(folder));
    if (name.empty())
        throw TagListError("The disc's artist and album give no file name once leading dots and blanks are dropped. "
                           "Nothing was written.");
    std::string path = InFolder(folder, name);
    wb::WriteFileReplacing(path, TagListText(disc));
    return path;
}

} // namespace velmora
