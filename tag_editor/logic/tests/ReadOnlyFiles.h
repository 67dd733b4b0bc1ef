#pragma once
// Files this user may not write, root included (through the immutable
// attribute), and writable again when the object goes.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

class ReadOnlyFiles {
public:
    // False where the file system cannot keep this user from writing the file.
    bool Protect(const std::string& path) {
        const bool root = ::geteuid() == 0;
        if (!(root ? Immutable(path, true) : ::chmod(path.c_str(), 0444) == 0)) return false;
        paths_.push_back(path);
        return ::access(path.c_str(), W_OK) != 0;
    }
    ~ReadOnlyFiles() {
        for (const auto& p : paths_)
            if (::geteuid() == 0) Immutable(p, false);
            else ::chmod(p.c_str(), 0644);
    }

private:
    static bool Immutable(const std::string& path, bool on) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }
    std::vector<std::string> paths_;
};
