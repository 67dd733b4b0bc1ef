#include "platform/base/Volumes.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace wb {

std::string VolumeTable::RemoteName(const std::string&) const { return {}; }

namespace {

std::mutex g_tableMutex;
std::shared_ptr<const VolumeTable> g_table;

std::string WithSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// Mount tables escape blanks, tabs, newlines and backslashes as \ooo.
std::string UnescapeMountField(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '3' &&
            s[i + 2] >= '0' && s[i + 2] <= '7' && s[i + 3] >= '0' && s[i + 3] <= '7') {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// udev's by-label links escape bytes as \xHH.
std::string UnescapeUdev(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' && isxdigit(static_cast<unsigned char>(s[i + 2])) &&
            isxdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

const std::set<std::string> kRemoteTypes = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "9p", "ceph", "glusterfs",
    "fuse.sshfs", "sshfs", "davfs", "fuse.davfs2", "fuse.rclone", "fuse.s3fs"};

const std::set<std::string> kRamTypes = {"tmpfs", "ramfs"};

// A folder where media and RAM disks are mounted by hand or by the desktop:
// /mnt/x, /media/x, /media/user/x, /run/media/user/x.
bool IsMediaMountPoint(const std::string& mp) {
    auto depth = [&](const std::string& base) -> int {
        if (!StartsWith(mp, base) || mp.size() == base.size()) return -1;
        std::string rest = mp.substr(base.size());
        if (!rest.empty() && rest.back() == '/') rest.pop_back();
        return static_cast<int>(std::count(rest.begin(), rest.end(), '/')) + 1;
    };
    int d;
    if ((d = depth("/mnt/")) >= 1 && d <= 1) return true;
    if ((d = depth("/media/")) >= 1 && d <= 2) return true;
    if ((d = depth("/run/media/")) >= 2 && d <= 2) return true;
    return false;
}

bool IsSystemArea(const std::string& mp) {
    for (const char* p : {"/proc", "/sys", "/dev", "/run", "/snap", "/var/lib/docker"}) {
        std::string base = p;
        if (mp == base || StartsWith(mp, base + "/")) {
            if (StartsWith(mp, "/run/media/")) return false;
            return true;
        }
    }
    return false;
}

std::string ReadFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string RealPath(const std::string& p) {
    char buf[PATH_MAX];
    if (::realpath(p.c_str(), buf)) return buf;
    return p;
}

// The udev link in /dev/disk/<kind>/ that points at the device, by name.
std::string DiskLinkName(const std::string& kind, const std::string& device) {
    std::string dir = "/dev/disk/" + kind;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return {};
    std::string target = RealPath(device), found;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (RealPath(dir + "/" + name) == target) {
            found = name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

bool IsRemovableBlockDevice(const std::string& device) {
    if (!StartsWith(device, "/dev/")) return false;
    std::string name = RealPath(device);
    name = name.substr(name.rfind('/') + 1);
    std::string sys = RealPath("/sys/class/block/" + name);
    // A partition has no "removable" of its own; its disk is the parent folder.
    for (int i = 0; i < 2; ++i) {
        std::string v = ReadFirstLine(sys + "/removable");
        if (!v.empty()) return v == "1";
        sys = sys.substr(0, sys.rfind('/'));
    }
    return false;
}

bool IsDir(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ReadMountTable() {
    std::ifstream in("/proc/self/mounts");
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace

std::shared_ptr<const VolumeTable> Volumes() {
    std::lock_guard<std::mutex> lock(g_tableMutex);
    if (!g_table) g_table = std::make_shared<SystemVolumeTable>();
    return g_table;
}

void SetVolumeTable(std::shared_ptr<const VolumeTable> table) {
    std::lock_guard<std::mutex> lock(g_tableMutex);
    g_table = std::move(table);
}

std::optional<Volume> VolumeOf(const VolumeTable& table, const std::string& path) {
    std::string p = WithSlash(path);
    std::optional<Volume> best;
    for (const Volume& v : table.List()) {
        std::string root = WithSlash(v.root);
        if (StartsWith(p, root) && (!best || root.size() > WithSlash(best->root).size())) best = v;
    }
    return best;
}

std::string DriveName(const std::string& root) {
    if (root.size() > 1 && root.back() == '/') return root.substr(0, root.size() - 1);
    return root;
}

uint32_t SerialFromUuid(const std::string& uuid) {
    uint32_t v = 0;
    int digits = 0;
    for (char c : uuid) {
        if (!isxdigit(static_cast<unsigned char>(c))) continue;
        int d = isdigit(static_cast<unsigned char>(c)) ? c - '0' : (tolower(c) - 'a' + 10);
        v = (v << 4) | static_cast<uint32_t>(d);
        if (++digits == 8) break;
    }
    if (v == 0xFFFFFFFFu) v = 0xFFFFFFFEu;
    return v;
}

std::vector<Volume> ParseMountTable(const std::string& text,
                                    const std::function<bool(const std::string&)>& isRemovable,
                                    const std::function<bool(const std::string&)>& isDirectory) {
    std::map<std::string, Volume> byRoot;  // a later mount over the same folder wins
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string dev, mp, type;
        if (!(fields >> dev >> mp >> type)) continue;
        dev = UnescapeMountField(dev);
        mp = UnescapeMountField(mp);
        Volume v;
        v.device = dev;
        v.fsType = type;
        v.root = WithSlash(mp);
        if (mp == "/") {
            v.kind = VolumeKind::Fixed;
        } else if (kRemoteTypes.count(type) || StartsWith(type, "nfs")) {
            v.kind = VolumeKind::Remote;
        } else if (kRamTypes.count(type)) {
            if (!IsMediaMountPoint(v.root)) continue;
            v.kind = VolumeKind::RAM;
        } else if (StartsWith(dev, "/dev/")) {
            if (IsSystemArea(mp) || !isDirectory(mp)) continue;
            std::string name = dev.substr(5);
            if (StartsWith(name, "sr") || type == "iso9660" || type == "udf")
                v.kind = VolumeKind::CDROM;
            else if (isRemovable(dev) || StartsWith(v.root, "/media/") ||
                     StartsWith(v.root, "/run/media/"))
                v.kind = VolumeKind::Removable;
            else
                v.kind = VolumeKind::Fixed;
        } else {
            continue;
        }
        byRoot[v.root] = v;
    }
    std::vector<Volume> out;
    for (auto& [root, v] : byRoot) out.push_back(v);
    return out;
}

std::vector<Volume> SystemVolumeTable::List() const {
    std::vector<Volume> list = ParseMountTable(ReadMountTable(), IsRemovableBlockDevice, IsDir);
    std::set<std::string> mountedDevices;
    for (const Volume& v : list) mountedDevices.insert(RealPath(v.device));
    // CD drives without a mounted disc are still drives.
    if (DIR* d = ::opendir("/sys/block")) {
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            if (!StartsWith(name, "sr")) continue;
            std::string dev = "/dev/" + name;
            if (mountedDevices.count(RealPath(dev))) continue;
            list.push_back({dev, VolumeKind::CDROM, dev, {}});
        }
        ::closedir(d);
    }
    std::sort(list.begin(), list.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    return list;
}

std::optional<VolumeInfo> SystemVolumeTable::Info(const std::string& root) const {
    std::optional<Volume> vol;
    for (const Volume& v : List())
        if (v.root == root || v.root == WithSlash(root)) vol = v;
    if (!vol || vol->root.back() != '/') return std::nullopt;  // no disc mounted
    struct statvfs sv;
    if (::statvfs(vol->root.c_str(), &sv) != 0) return std::nullopt;
    VolumeInfo info;
    info.fsType = vol->fsType;
    if (StartsWith(vol->device, "/dev/")) {
        info.label = UnescapeUdev(DiskLinkName("by-label", vol->device));
        std::string uuid = DiskLinkName("by-uuid", vol->device);
        if (!uuid.empty()) info.serial = SerialFromUuid(uuid);
    }
    if (info.serial == 0) {
        uint64_t id = sv.f_fsid;
        if (id == 0) {
            struct stat st;
            if (::stat(vol->root.c_str(), &st) == 0) id = st.st_dev;
        }
        info.serial = static_cast<uint32_t>(id ^ (id >> 32));
        if (info.serial == 0xFFFFFFFFu) info.serial = 0xFFFFFFFEu;
    }
    return info;
}

std::string SystemVolumeTable::RemoteName(const std::string& root) const {
    for (const Volume& v : List())
        if (v.root == WithSlash(root) && v.kind == VolumeKind::Remote) return v.device;
    return {};
}

void FakeVolumeTable::Add(std::string root, VolumeKind kind, std::optional<VolumeInfo> info,
                          std::string remote) {
    if (!root.empty() && root[0] == '/' && !StartsWith(root, "/dev/")) root = WithSlash(root);
    std::lock_guard<std::mutex> lock(mutex_);
    Entry e;
    e.volume.root = root;
    e.volume.kind = kind;
    e.volume.device = remote.empty() ? root : remote;
    e.info = std::move(info);
    e.remote = std::move(remote);
    entries_[root] = std::move(e);
}

void FakeVolumeTable::Remove(const std::string& root) {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.erase(root);
    entries_.erase(WithSlash(root));
}

void FakeVolumeTable::SetInfo(const std::string& root, std::optional<VolumeInfo> info) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = entries_.find(root);
    if (it == entries_.end()) it = entries_.find(WithSlash(root));
    if (it != entries_.end()) it->second.info = std::move(info);
}

std::vector<Volume> FakeVolumeTable::List() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Volume> out;
    for (const auto& [root, e] : entries_) out.push_back(e.volume);
    return out;
}

std::optional<VolumeInfo> FakeVolumeTable::Info(const std::string& root) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = entries_.find(root);
    if (it == entries_.end()) it = entries_.find(WithSlash(root));
    if (it == entries_.end()) return std::nullopt;
    return it->second.info;
}

std::string FakeVolumeTable::RemoteName(const std::string& root) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = entries_.find(WithSlash(root));
    return it == entries_.end() ? std::string() : it->second.remote;
}

} // namespace wb
