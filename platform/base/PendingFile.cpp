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

void (*detail::gCommitStepHook)() = nullptr;

namespace {

void Step() {
    if (detail::gCommitStepHook) detail::gCommitStepHook();
}

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

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

void CheckReplaceable(const std::string& target) {
    if (target.empty() || target.back() == '/') throw IoError(target, "Cannot create", EISDIR);
    const std::string real = ResolveLink(target);
    if (DirectoryExists(real)) throw IoError(target, "Cannot create", EISDIR);
    if (Exists(real) && IsReadOnlyFile(real)) throw IoError(target, "Cannot replace", EACCES);
    // The temporary name is short and always fits; the rename would fail.
    const std::string folder = FolderOf(real);
    const long nameMax = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    const size_t nameLength = real.size() - folder.size();
    if ((nameMax > 0 && nameLength > static_cast<size_t>(nameMax)) || real.size() >= PATH_MAX)
        throw IoError(target, "Cannot create", ENAMETOOLONG);
}

PendingFile::PendingFile(const std::string& target) : target_(ResolveLink(target)) {
    CheckReplaceable(target);
    // A short hidden name, so a target near the name-length limit still fits.
    const std::string folder = FolderOf(target_);
    for (int attempt = 0;; ++attempt) {
        std::string candidate = folder + ".wbtmp-" + UniqueSuffix();
        // Listed before it exists, so no moment leaves it to a signal; the
        // name holds our process id, so it is no one else's file.
        cleanup_ = RemoveOnTermination(candidate);
        try {
            file_.Open(candidate, File::Mode::CreateNew);
            file_.ReportAs(target);
            temp_ = std::move(candidate);
            struct stat st;
            if (::stat(target_.c_str(), &st) == 0) ::chmod(temp_.c_str(), st.st_mode & 07777);
            return;
        } catch (const IoError& e) {
            cleanup_ = {};
            if (e.Errno() == EEXIST && attempt < 100) continue;
            throw IoError(target, "Cannot create", e.Errno() ? e.Errno() : EIO);
        }
    }
}

PendingFile::~PendingFile() { Discard(); }

PendingFile::PendingFile(PendingFile&& other) noexcept
    : file_(std::move(other.file_)), target_(std::move(other.target_)),
      temp_(std::move(other.temp_)), cleanup_(std::move(other.cleanup_)) {
    other.temp_.clear();
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
    if (this != &other) {
        Discard();
        file_ = std::move(other.file_);
        target_ = std::move(other.target_);
        temp_ = std::move(other.temp_);
        cleanup_ = std::move(other.cleanup_);
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
    cleanup_ = {};
}

void CommitAll(std::vector<PendingFile>& files) {
    for (auto& f : files) {
        if (f.temp_.empty()) throw IoError(f.target_, "Cannot replace", "nothing to commit");
        f.Finish();
    }
    // Once one new file is in place, the backups are the old set's only copy:
    // a signal waits until every name is settled, and no backup is ever
    // listed for removal on termination.
    HoldTermination hold;
    struct Replaced {
        std::string target, former;  // former: where the old file waits, or empty
    };
    std::vector<Replaced> done;
    auto undo = [&done] {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            if (it->former.empty()) ::unlink(it->target.c_str());
            else std::rename(it->former.c_str(), it->target.c_str());
        }
    };
    for (auto& f : files) {
        Replaced step{f.target_, {}};
        bool linked = false;
        struct stat st;
        if (::lstat(f.target_.c_str(), &st) == 0) {
            int err = S_ISDIR(st.st_mode) ? EISDIR : 0;
            if (!err) {
                // A second name keeps the old file whole until all are in place.
                step.former = FolderOf(f.target_) + ".wbold-" + UniqueSuffix();
                Step();
                linked = ::link(f.target_.c_str(), step.former.c_str()) == 0;
                if (!linked && std::rename(f.target_.c_str(), step.former.c_str()) != 0) err = errno;
            }
            if (err) {
                undo();
                throw IoError(f.target_, "Cannot replace", err);
            }
        }
        Step();
        if (std::rename(f.temp_.c_str(), f.target_.c_str()) != 0) {
            const int err = errno;
            // A second link to the same file: renaming it back would do
            // nothing and leave it, hidden, beside the old file.
            if (linked) ::unlink(step.former.c_str());
            else if (!step.former.empty()) std::rename(step.former.c_str(), f.target_.c_str());
            undo();
            throw IoError(f.target_, "Cannot replace", err);
        }
        f.temp_.clear();
        f.cleanup_ = {};
        done.push_back(std::move(step));
    }
    for (const auto& step : done) {
        if (step.former.empty()) continue;
        Step();
        ::unlink(step.former.c_str());
    }
}

void PendingFile::Discard() noexcept {
    if (temp_.empty()) return;
    try {
        file_.Close();
    } catch (...) {
    }
    ::unlink(temp_.c_str());
    temp_.clear();
    cleanup_ = {};
}

} // namespace wb
