#include "platform/base/PendingFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace wb {

namespace {

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return "";
    return path.substr(0, slash + 1);
}

std::string UniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    char buf[48];
    std::snprintf(buf, sizeof buf, "%ld-%08x-%u", static_cast<long>(::getpid()), seed,
                  counter.fetch_add(1));
    return buf;
}

// A link is replaced at the file it points to, not turned into a plain file.
std::string ResolveLink(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

} // namespace

PendingFile::PendingFile(const std::string& target) : target_(ResolveLink(target)) {
    if (target.empty() || target.back() == '/')
        throw IoError(target, "Cannot create", EISDIR);
    // A short hidden name, so a target near the name-length limit still fits.
    const std::string folder = FolderOf(target_);
    for (int attempt = 0;; ++attempt) {
        std::string candidate = folder + ".wbtmp-" + UniqueSuffix();
        try {
            file_.Open(candidate, File::Mode::CreateNew);
            temp_ = std::move(candidate);
            struct stat st;
            if (::stat(target_.c_str(), &st) == 0) ::chmod(temp_.c_str(), st.st_mode & 07777);
            return;
        } catch (const IoError& e) {
            if (e.Errno() == EEXIST && attempt < 100) continue;
            throw IoError(target, "Cannot create", e.Errno() ? e.Errno() : EIO);
        }
    }
}

PendingFile::~PendingFile() { Discard(); }

PendingFile::PendingFile(PendingFile&& other) noexcept
    : file_(std::move(other.file_)), target_(std::move(other.target_)),
      temp_(std::move(other.temp_)) {
    other.temp_.clear();
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
    if (this != &other) {
        Discard();
        file_ = std::move(other.file_);
        target_ = std::move(other.target_);
        temp_ = std::move(other.temp_);
        other.temp_.clear();
    }
    return *this;
}

void PendingFile::Finish() {
    if (file_.IsOpen()) file_.Close();
}

void PendingFile::Commit() {
    if (temp_.empty()) throw IoError(target_, "Cannot replace", "nothing to commit");
    Finish();
    if (std::rename(temp_.c_str(), target_.c_str()) != 0)
        throw IoError(target_, "Cannot replace", errno);
    temp_.clear();
}

void PendingFile::Discard() noexcept {
    if (temp_.empty()) return;
    try {
        file_.Close();
    } catch (...) {
    }
    ::unlink(temp_.c_str());
    temp_.clear();
}

} // namespace wb
