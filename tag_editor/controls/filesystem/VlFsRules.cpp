#include "tag_editor/controls/filesystem/VlFsRules.h"

#include "platform/base/TextUtil.h"

namespace velmora {

namespace {

bool Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Matches n from byte i against p from byte j, both UTF-8 in lower case; '?'
// takes one character and '*' starts its rest only where a character starts.
bool MatchFrom(const std::string& n, size_t i, const std::string& p, size_t j) {
    while (j < p.size()) {
        if (p[j] == '*') {
            while (j < p.size() && p[j] == '*') ++j;
            if (j == p.size()) return true;
            for (size_t k = i; k <= n.size(); ++k)
                if ((k == n.size() || !Continuation(n[k])) && MatchFrom(n, k, p, j)) return true;
            return false;
        }
        if (i >= n.size()) return false;
        if (p[j] == '?') {
            ++i;
            while (i < n.size() && Continuation(n[i])) ++i;
        } else if (p[j] != n[i]) {
            return false;
        } else {
            ++i;
        }
        ++j;
    }
    return i == n.size();
}

} // namespace

TDriveType DriveTypeOf(wb::VolumeKind kind) {
    switch (kind) {
        case wb::VolumeKind::Unknown: return dtUnknown;
        case wb::VolumeKind::NoRoot: return dtNoDrive;
        case wb::VolumeKind::Removable: return dtFloppy;
        case wb::VolumeKind::Fixed: return dtFixed;
        case wb::VolumeKind::Remote: return dtNetwork;
        case wb::VolumeKind::CDROM: return dtCDROM;
        case wb::VolumeKind::RAM: return dtRAM;
    }
    return dtUnknown;
}

bool TreeShowsDrive(wb::VolumeKind kind, TDriveTypes types) {
    return kind == wb::VolumeKind::NoRoot || types.Has(DriveTypeOf(kind));
}

bool BoxListsDrive(wb::VolumeKind kind, TDriveTypes types) {
    return kind != wb::VolumeKind::Unknown && kind != wb::VolumeKind::NoRoot && types.Has(DriveTypeOf(kind));
}

bool LooksAheadOnDrive(wb::VolumeKind kind) {
    return kind == wb::VolumeKind::Fixed || kind == wb::VolumeKind::Remote || kind == wb::VolumeKind::RAM;
}

bool SplitNetworkPath(const std::string& path, std::string& share, std::string& rest) {
    if (path.size() <= 2 || path[0] != '/' || path[1] != '/') return false;
    const size_t server = path.find('/', 2);
    const size_t end = server == std::string::npos ? std::string::npos : path.find('/', server + 1);
    share = end == std::string::npos ? WithSlash(path) : path.substr(0, end + 1);
    rest = end == std::string::npos ? "" : path.substr(end);
    return true;
}

uint32_t AttrMaskOf(TFileType type) {
    static constexpr std::pair<TFileAttr, uint32_t> kBits[] = {
        {ftReadOnly, faReadOnly}, {ftHidden, faHidden},       {ftSystem, faSysFile},
        {ftVolumeID, faVolumeID}, {ftDirectory, faDirectory}, {ftArchive, faArchive}};
    uint32_t mask = 0;
    for (auto [ft, fa] : kBits)
        if (type.Has(ft)) mask |= fa;
    return mask;
}

bool FileTypeLists(TFileType type, uint32_t attr) {
    const uint32_t mask = AttrMaskOf(type);
    if (attr & (faHidden | faSysFile | faVolumeID | faDirectory) & ~mask) return false;
    return type.Has(ftNormal) || (attr & mask);
}

bool MatchesMask(const std::string& name, const std::string& pattern) {
    if (pattern == "*.*" || pattern == "*") return true;
    // Lower-case forms keep '*' and '?' as they are.
    return MatchFrom(wb::LowerText(name), 0, wb::LowerText(pattern), 0);
}

std::vector<std::string> SplitMask(const std::string& mask) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= mask.size()) {
        size_t semi = mask.find(';', start);
        if (semi == std::string::npos) semi = mask.size();
        if (semi > start) out.push_back(mask.substr(start, semi - start));
        start = semi + 1;
    }
    return out;
}

int CompareFileEntries(bool aIsDir, const std::string& a, bool bIsDir, const std::string& b) {
    if (aIsDir != bIsDir) return aIsDir ? -1 : 1;
    return wb::CompareText(a, b);
}

bool FolderNameLess(const std::string& a, const std::string& b) {
    int c = wb::CompareText(a, b);
    return c != 0 ? c < 0 : a < b;
}

bool ValidFolderName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

std::string CapitalizedLabel(const std::string& label) {
    std::string out = wb::LowerText(label);
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = char(out[0] - 'a' + 'A');
    return out;
}

uint32_t PackedDateTime(const std::tm& tm) {
    if (tm.tm_year < 80) return 0;
    return (uint32_t(tm.tm_year - 80) << 25) | (uint32_t(tm.tm_mon + 1) << 21) |
           (uint32_t(tm.tm_mday) << 16) | (uint32_t(tm.tm_hour) << 11) | (uint32_t(tm.tm_min) << 5) |
           uint32_t(tm.tm_sec / 2);
}

std::string LowerExtension(const std::string& name) {
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return wb::LowerText(name.substr(dot));
}

bool PerFileIconExtension(const std::string& ext) {
    return ext == ".exe" || ext == ".lnk" || ext == ".ico" || ext == ".scr";
}

std::string WithSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}

std::string WithoutSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

} // namespace velmora
