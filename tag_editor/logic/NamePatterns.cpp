#include "tag_editor/logic/NamePatterns.h"

#include <algorithm>

#include "platform/base/TextUtil.h"

namespace velmora {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes of the UTF-8 character at s[i], so a code letter outside ASCII
// vanishes whole instead of leaving half a character behind.
size_t CharLength(std::string_view s, size_t i) {
    size_t n = 1;
    while (i + n < s.size() && n < 4 && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
    return n;
}

std::string Expand(char code, const TTagInfo& tag) {
    switch (code) {
    case 'A': return wb::Trim(tag.Artist);
    case 'S': return wb::Trim(tag.Song);
    case 'N': return wb::Trim(tag.Album);
    case 'C': return wb::Trim(tag.Comment);
    case 'G': return GenreName(tag.Genre);
    case 'T': return TwoDigitTrack(std::to_string(tag.Track));
    case 'Y': return std::to_string(tag.Year);
    default: return {};
    }
}

std::string_view BaseName(std::string_view path) {
    size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

const std::string& NamePatterns::For(NameKind kind, bool album) const {
    switch (kind) {
    case NameKind::Folder: return album ? DirNameAlbum : DirNameSampler;
    case NameKind::Playlist: return album ? PListNameAlbum : PListNameSampler;
    case NameKind::File: break;
    }
    return album ? FileNameAlbum : FileNameSampler;
}

std::string BuildName(std::string_view pattern, const TTagInfo& tag, NameKind kind) {
    std::string out;
    for (size_t i = 0; i < pattern.size();) {
        size_t len = CharLength(pattern, i);
        if (pattern[i] == '%') {
            if (i + 1 < pattern.size()) out += Expand(pattern[i + 1], tag);
        } else if (i == 0 || pattern[i - 1] != '%') {
            out.append(pattern.substr(i, len));
        }
        i += len;
    }
    out = wb::Trim(out);
    if (kind == NameKind::File) out += ".mp3";
    if (kind == NameKind::Playlist) out += ".m3u";
    return out;
}

std::string BuildName(const NameSettings& settings, const TTagInfo& tag, NameKind kind) {
    return BuildName(settings.Patterns.For(kind, settings.Album), tag, kind);
}

std::string SanitizeName(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        switch (c) {
        case '*': case ':': case '?': case '\\': c = ' '; break;
        case '"': c = '\''; break;
        case '/': c = '-'; break;
        default: break;
        }
    }
    return out;
}

std::string ReplaceBlanks(std::string_view name, std::string_view replacement) {
    std::string s(name);
    auto digits = [&](size_t n) {
        if (s.size() < n) return false;
        for (size_t i = 0; i < n; ++i)
            if (!IsDigit(s[i])) return false;
        return true;
    };
    auto at = [&](size_t i) { return i < s.size() ? s[i] : '\0'; };
    // Only the blank after the number goes; a pattern like "%T.%S" keeps its
    // first letter.
    if (digits(2) && at(2) == '.' && at(3) == ' ') s.erase(3, 1);
    if (digits(3) && at(3) == '.' && at(4) == ' ') s.erase(4, 1);
    if (replacement.empty()) return s;
    std::string_view with = replacement.substr(0, CharLength(replacement, 0));
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == ' ') out.append(with);
        else out += c;
    }
    return out;
}

std::string VisibleName(std::string_view name, std::string_view ext) {
    std::string s = BlankControls(name);
    const bool hasExt = !ext.empty() && s.size() >= ext.size() && s.compare(s.size() - ext.size(), ext.size(), ext) == 0;
    std::string_view stem(s.data(), hasExt ? s.size() - ext.size() : s.size());
    const size_t start = std::min(stem.find_first_not_of(". "), stem.size());
    stem.remove_prefix(start);
    if (wb::Trim(stem).empty()) return {};
    return std::string(stem) + (hasExt ? std::string(ext) : std::string());
}

std::string TwoDigitTrack(std::string_view text) {
    if (!IsAllDigits(text)) return {};
    std::string_view value = text.substr(std::min(text.find_first_not_of('0'), text.size()));
    if (value.empty()) return {};
    if (value.size() == 1) return "0" + std::string(value);
    return std::string(text);
}

int TrackFromName(std::string_view path) {
    std::string_view name = BaseName(path);
    for (size_t i = 0; i + 1 < name.size(); ++i)
        if (IsDigit(name[i]) && IsDigit(name[i + 1])) return (name[i] - '0') * 10 + (name[i + 1] - '0');
    return -1;
}

std::string TrackFromNamePrefix(std::string_view fileName) {
    std::string_view name = BaseName(fileName);
    if (!StartsWithNumber(name)) return {};
    std::string_view first = name.substr(0, 2);
    if (first.size() == 2 && first[0] == '0') first.remove_prefix(1);
    return std::string(first);
}

int LeadingNumber(std::string_view name) {
    size_t n = 0;
    long value = 0;
    for (; n < name.size() && IsDigit(name[n]); ++n) {
        value = value * 10 + (name[n] - '0');
        if (value > 1000000) return -1;
    }
    return n == 0 ? -1 : static_cast<int>(value);
}

int FileIndexByTrack(int track, const std::vector<std::string>& names) {
    for (size_t i = 0; i < names.size(); ++i)
        if (LeadingNumber(names[i]) == track) return static_cast<int>(i);
    return -1;
}

std::string InFolder(const std::string& folder, std::string_view name) {
    return folder + (folder.ends_with('/') ? "" : "/") + std::string(name);
}

} // namespace velmora
