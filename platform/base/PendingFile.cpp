#include "platform/base/PendingFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>
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

} // namespace

PendingFile::PendingFile(const std::string& target) : target_(target) {
    if (target.empty() || target.back() == '/')
        throw IoError(target, "Cannot create", EISDIR);
    // A short hidden name, so a target near the name-length limit still fits.
    const std::string folder = FolderOf(target);
    for (int attempt = 0;; ++attempt) {
        std::string candidate = folder + ".wbtmp-" + UniqueSuffix();
        try {
            file_.Open(candidate, File::Mode::CreateNew);
            temp_ = std::move(candidate);
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
