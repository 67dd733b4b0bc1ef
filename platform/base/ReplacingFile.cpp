#include "platform/base/ReplacingFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace wb {

namespace {
// A link is replaced at the file it points to, not turned into a plain file.
std::string ResolveLink(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}
} // namespace

ReplacingFile::ReplacingFile(const std::string& path) : target_(ResolveLink(path)) {
    // Try a few names beside the target; CreateNew never reuses a stranger's file.
    for (int attempt = 0;; ++attempt) {
        temp_ = target_ + ".tmp" + (attempt ? std::to_string(attempt) : std::string());
        try {
            file_.Open(temp_, File::Mode::CreateNew);
            // The replaced file keeps its permissions.
            struct stat st;
            if (::stat(target_.c_str(), &st) == 0) ::chmod(temp_.c_str(), st.st_mode & 07777);
            return;
        } catch (const IoError& e) {
            if (e.Errno() != EEXIST || attempt >= 100) {
                throw IoError(path, "Cannot write", e.Reason());
            }
        }
    }
}

ReplacingFile::~ReplacingFile() {
    if (committed_) return;
    if (file_.IsOpen()) {
        try {
            file_.Close();
        } catch (const IoError&) {
        }
    }
    ::unlink(temp_.c_str());
}

void ReplacingFile::Commit() {
    try {
        file_.Sync();
        file_.Close();
    } catch (const IoError& e) {
        throw IoError(target_, "Cannot write", e.Reason());
    }
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
        throw IoError(target_, "Cannot replace", errno);
    }
    committed_ = true;
}

} // namespace wb
