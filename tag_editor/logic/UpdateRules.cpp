#include "tag_editor/logic/UpdateRules.h"

#include <algorithm>
#include <cmath>
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

bool LooksLikeArchive(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    if (!in.read(magic, 4)) return false;
    // A zip archive starts with the header of its first entry; one without
    // entries starts with its end record and holds nothing to install.
    return magic[0] == 'P' && magic[1] == 'K' && magic[2] == 3 && magic[3] == 4;
}

} // namespace velmora
