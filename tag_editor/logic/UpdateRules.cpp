#include "tag_editor/logic/UpdateRules.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace velmora {

std::string GroupThousands(uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += '.';
        out += digits[i];
    }
    return out;
}

namespace {

std::vector<uint64_t> Parts(const std::string& version) {
    std::vector<uint64_t> parts;
    size_t start = 0;
    for (;;) {
        const size_t dot = version.find('.', start);
        const std::string part = version.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (part.empty() || part.size() > 18 || !std::all_of(part.begin(), part.end(), ::isdigit))
            throw std::invalid_argument("'" + part + "' is not a valid integer value");
        parts.push_back(std::stoull(part));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return parts;
}

} // namespace

bool IsNewerVersion(const std::string& local, const std::string& remote) {
    const std::vector<uint64_t> a = Parts(local), b = Parts(remote);
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const uint64_t x = i < a.size() ? a[i] : 0, y = i < b.size() ? b[i] : 0;
        if (y != x) return y > x;
    }
    return false;
}

std::optional<std::string> RefuseUpdateFileName(const std::string& fileName) {
    const bool control = std::any_of(fileName.begin(), fileName.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 32; });
    if (fileName.find('/') != std::string::npos || fileName.find('\\') != std::string::npos ||
        fileName.find("..") != std::string::npos || control)
        return "The update server named the file \"" + fileName + "\", which is not a plain file name.";
    return std::nullopt;
}

std::string ArchivePath(const std::string& folder, const std::string& fileName, const std::string& version) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    return path + fileName + " v" + version + ".zip";
}

int DownloadPercent(uint64_t received, uint64_t total) {
    if (total == 0) return 0;
    return static_cast<int>(std::nearbyint(double(std::min(received, total)) * 100.0 / double(total)));
}

namespace {

// Reads n bytes at pos into out; false when the archive holds fewer there.
using ReadAt = std::function<bool(uint64_t pos, char* out, size_t n)>;

constexpr size_t kEndRecord = 22;  // without its comment
constexpr size_t kMaxComment = 65535;
constexpr size_t kZip64Locator = 20;
constexpr size_t kZip64End = 56;  // without its extensible data
constexpr uint64_t kDirEntry = 46;  // the smallest central directory entry

uint64_t Le(const char* p, int n) {
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(p[i]);
    return v;
}

bool Signature(const char* p, char a, char b) { return p[0] == 'P' && p[1] == 'K' && p[2] == a && p[3] == b; }

// Whether the end record at pos names a central directory of at least one
// entry that lies wholly before it (before the zip64 end record, for an
// archive that needs one).
bool NamesWholeDirectory(const char* rec, uint64_t pos, const ReadAt& read) {
    // A disk other than the first: one part of a spanned set, not an archive by itself.
    if (Le(rec + 4, 2) != 0 || Le(rec + 6, 2) != 0) return false;
    uint64_t entries = Le(rec + 10, 2), size = Le(rec + 12, 4), offset = Le(rec + 16, 4);
    uint64_t end = pos;
    char loc[kZip64Locator], rec64[kZip64End];
    // Numbers too big for the record stand in a zip64 end record, found by a
    // locator just before this one; 65535 entries alone may also mean 65535.
    if ((entries == 0xFFFF || size == 0xFFFFFFFF || offset == 0xFFFFFFFF) && pos >= kZip64Locator + kZip64End &&
        read(pos - kZip64Locator, loc, kZip64Locator) && Signature(loc, 6, 7)) {
        end = Le(loc + 8, 8);
        if (end > pos - kZip64Locator - kZip64End || !read(end, rec64, kZip64End) || !Signature(rec64, 6, 6))
            return false;
        entries = Le(rec64 + 32, 8);
        size = Le(rec64 + 40, 8);
        offset = Le(rec64 + 48, 8);
    }
    if (entries == 0 || size < kDirEntry || offset > end || size > end - offset) return false;
    char first[4];
    return read(offset, first, 4) && Signature(first, 1, 2);
}

bool CompleteZip(uint64_t fileSize, const ReadAt& read) {
    char head[4];
    // The header of the first entry, so an empty archive or a page of the server's is no update.
    if (fileSize < kEndRecord + 4 || !read(0, head, 4) || !Signature(head, 3, 4)) return false;
    const uint64_t tailAt = fileSize - std::min<uint64_t>(fileSize, kEndRecord + kMaxComment);
    std::string tail(fileSize - tailAt, '\0');
    if (!read(tailAt, tail.data(), tail.size())) return false;
    // The end record is followed only by its comment, which may itself hold
    // the record's signature: the last record that checks out counts.
    for (size_t i = tail.size() - kEndRecord + 1; i-- > 0;) {
        const char* rec = tail.data() + i;
        if (Signature(rec, 5, 6) && i + kEndRecord + Le(rec + 20, 2) <= tail.size() &&
            NamesWholeDirectory(rec, tailAt + i, read))
            return true;
    }
    return false;
}

} // namespace

bool LooksLikeArchive(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    return CompleteZip(uint64_t(size), [&](uint64_t pos, char* out, size_t n) {
        if (pos > uint64_t(size) || n > uint64_t(size) - pos) return false;
        in.clear();
        return bool(in.seekg(std::streamoff(pos)).read(out, std::streamsize(n)));
    });
}

bool IsCompleteZip(std::string_view bytes) {
    return CompleteZip(bytes.size(), [&](uint64_t pos, char* out, size_t n) {
        if (pos > bytes.size() || n > bytes.size() - pos) return false;
        std::memcpy(out, bytes.data() + pos, n);
        return true;
    });
}

} // namespace velmora
