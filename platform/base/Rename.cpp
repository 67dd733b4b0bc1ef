#include "platform/base/Rename.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wb {

namespace {

RenameError Failure(int errnum) {
    auto kind = (errnum == EEXIST || errnum == ENOTEMPTY) ? RenameError::Kind::TargetExists
                                                          : RenameError::Kind::System;
    return {kind, errnum, std::strerror(errnum)};
}

bool SameEntry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The errors by which a file system says it lacks a call, not that it refuses
// this particular rename.
bool Unsupported(int errnum) { return errnum == EINVAL || errnum == ENOSYS || errnum == EOPNOTSUPP; }

bool IsFolder(const std::string& path) {
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

namespace detail {

std::optional<RenameError> RenameByReservation(const std::string& from, const std::string& to) {
    const bool folder = IsFolder(from);
    // An empty entry of the same kind holds the new name; rename(2) may
    // replace only that one, so nothing of anyone else's is lost.
    if (folder) {
        if (::mkdir(to.c_str(), 0700) != 0) return Failure(errno);
    } else {
        int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) return Failure(errno);
        ::close(fd);
    }
    struct stat mine{};
    if (::lstat(to.c_str(), &mine) != 0) return Failure(errno);
    auto stillMine = [&] {
        struct stat now{};
        return ::lstat(to.c_str(), &now) == 0 && SameEntry(now, mine);
    };
    auto undo = [&](int errnum) {
        if (stillMine()) folder ? ::rmdir(to.c_str()) : ::unlink(to.c_str());
        return Failure(errnum);
    };
    if (!stillMine()) return Failure(EEXIST);
    if (std::rename(from.c_str(), to.c_str()) != 0) return undo(errno);
    return std::nullopt;
}

std::optional<RenameError> RenameByLink(const std::string& from, const std::string& to) {
    if (IsFolder(from)) return RenameByReservation(from, to);
    // link(2) fails on an existing name, so the check and the move are one step.
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) != 0) {
        int e = errno;
        // No hard links on this file system (or not for this user's file).
        if (e == EPERM || e == EOPNOTSUPP || e == ENOSYS || e == EMLINK) return RenameByReservation(from, to);
        return Failure(e);
    }
    if (::unlink(from.c_str()) != 0) {
        int e = errno;
        ::unlink(to.c_str());
        return Failure(e);
    }
    return std::nullopt;
}

} // namespace detail

std::optional<RenameError> RenameNoReplace(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty() || from[0] != '/' || to[0] != '/')
        return RenameError{RenameError::Kind::NotAbsolute, EINVAL, "the path is not absolute"};
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return std::nullopt;
    int e = errno;
    if (!Unsupported(e)) return Failure(e);
    return detail::RenameByLink(from, to);
}

long MaxNameLength(const std::string& folder) {
    long n = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return n > 0 ? n : NAME_MAX;
}

} // namespace wb
