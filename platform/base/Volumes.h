#pragma once
// The machine's drives, as one table shared by every control that lists them.
// A drive is a mounted volume (the root, separately mounted folders, removable
// media, network mounts, RAM disks) or a CD-ROM device without a mounted disc.
// Its root path stands where a drive letter would: "/", "/home/",
// "/media/usb/", or "/dev/sr0" for an empty CD drive.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace wb {

// The numeric codes are the drive-type codes callers store and compare.
enum class VolumeKind : int {
    Unknown = 0,
    NoRoot = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CDROM = 5,
    RAM = 6
};

struct Volume {
    std::string root;        // with a trailing '/', except an unmounted device path
    VolumeKind kind = VolumeKind::Unknown;
    std::string device;      // "/dev/sda1", "server:/export", "//host/share"
    std::string fsType;
};

// What can be read from a volume that is there. Absent when it cannot be read
// (no disc in the drive, a dead network mount).
struct VolumeInfo {
    std::string label;
    uint32_t serial = 0;     // never 0xFFFFFFFF, which callers use for "unreadable"
    std::string fsType;
};

class VolumeTable {
public:
    virtual ~VolumeTable() = default;
    // Every drive, sorted by root path (byte order).
    virtual std::vector<Volume> List() const = 0;
    virtual std::optional<VolumeInfo> Info(const std::string& root) const = 0;
    // The remote name of a network drive ("server:/export"); empty otherwise.
    virtual std::string RemoteName(const std::string& root) const;
};

// The table every control uses: the system's, unless a test put its own.
std::shared_ptr<const VolumeTable> Volumes();
// Replaces the table (tests); nullptr goes back to the system's.
void SetVolumeTable(std::shared_ptr<const VolumeTable> table);

// The drive that holds a path: the listed root that is the longest prefix of
// it, element by element. Absent when no drive holds it.
std::optional<Volume> VolumeOf(const VolumeTable& table, const std::string& path);

// The root as a short text in captions and keys: no trailing '/' except for "/".
std::string DriveName(const std::string& root);

// Reads the mount table, /sys and /dev/disk.
class SystemVolumeTable : public VolumeTable {
public:
    std::vector<Volume> List() const override;
    std::optional<VolumeInfo> Info(const std::string& root) const override;
    std::string RemoteName(const std::string& root) const override;
};

// Which entries of a mount table are drives, and of which kind. `isRemovable`
// answers for a block device path ("/dev/sdb1"); `isDirectory` for a mount
// point. Exposed so the rules are tested without the machine's own mounts.
std::vector<Volume> ParseMountTable(const std::string& text,
                                    const std::function<bool(const std::string&)>& isRemovable,
                                    const std::function<bool(const std::string&)>& isDirectory);

// Turns a file-system UUID ("1234-ABCD", "0f3c...-...") into a 32-bit serial.
uint32_t SerialFromUuid(const std::string& uuid);

// A table over chosen folders, for tests.
class FakeVolumeTable : public VolumeTable {
public:
    // `root` gains a trailing '/' when it lacks one and is a path.
    void Add(std::string root, VolumeKind kind, std::optional<VolumeInfo> info,
             std::string remote = {});
    void Remove(const std::string& root);
    void SetInfo(const std::string& root, std::optional<VolumeInfo> info);

    std::vector<Volume> List() const override;
    std::optional<VolumeInfo> Info(const std::string& root) const override;
    std::string RemoteName(const std::string& root) const override;

private:
    struct Entry {
        Volume volume;
        std::optional<VolumeInfo> info;
        std::string remote;
    };
    mutable std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

} // namespace wb
