#include "platform/base/File.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/base/CodePage.h"

namespace wb {

namespace {
std::string SystemReason(int errnum) { return std::strerror(errnum); }

// Past a file-size limit the system would kill the process in the middle of a
// write; ignored, the write fails with EFBIG like any other, is reported, and
// the temporary file it went to is removed.
[[maybe_unused]] const bool kFileSizeSignalIgnored = [] {
    std::signal(SIGXFSZ, SIG_IGN);
    return true;
}();
} // namespace

IoError::IoError(std::string fileName, std::string operation, int errnum)
    : std::runtime_error(operation + " \"" + fileName + "\": " + SystemReason(errnum)),
      fileName_(std::move(fileName)), operation_(std::move(operation)),
      reason_(SystemReason(errnum)), errno_(errnum) {}

IoError::IoError(std::string fileName, std::string operation, std::string reason)
    : std::runtime_error(operation + " \"" + fileName + "\": " + reason),
      fileName_(std::move(fileName)), operation_(std::move(operation)),
      reason_(std::move(reason)) {}

File::File(const std::string& path, Mode mode) { Open(path, mode); }

File::~File() {
    if (fd_ >= 0) ::close(fd_);
}

File::File(File&& other) noexcept
    : fd_(other.fd_),
      sizeAtOpen_(other.sizeAtOpen_),
      modeAtOpen_(other.modeAtOpen_),
      path_(std::move(other.path_)),
      reportedName_(std::move(other.reportedName_)) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        sizeAtOpen_ = other.sizeAtOpen_;
        modeAtOpen_ = other.modeAtOpen_;
        path_ = std::move(other.path_);
        reportedName_ = std::move(other.reportedName_);
        other.fd_ = -1;
    }
    return *this;
}

void File::Open(const std::string& path, Mode mode) {
    if (fd_ >= 0) Close();
    path_ = path;
    reportedName_.clear();
    int flags = O_CLOEXEC;
    switch (mode) {
        case Mode::Read: flags |= O_RDONLY; break;
        // Without O_NONBLOCK, opening a FIFO waits for a writer for ever.
        case Mode::ReadDocument: flags |= O_RDONLY | O_NONBLOCK | O_NOCTTY; break;
        case Mode::ReadWrite: flags |= O_RDWR; break;
        case Mode::Create: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
        case Mode::CreateNew: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
    }
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) Fail("Cannot open");
    struct stat st;
    const bool known = ::fstat(fd, &st) == 0;
    if (known && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw IoError(path, "Cannot open", EISDIR);
    }
    if (mode == Mode::ReadDocument) {
        // A device such as /dev/zero never ends, a FIFO may never deliver.
        if (!known || !S_ISREG(st.st_mode)) {
            ::close(fd);
            throw IoError(path, "Cannot open", "it is not a regular file");
        }
        // Only the status flags count here, and all of them are known.
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    fd_ = fd;
    sizeAtOpen_ = known ? static_cast<int64_t>(st.st_size) : 0;
    modeAtOpen_ = known ? unsigned(st.st_mode) : 0u;
}

void File::Close() {
    if (fd_ < 0) return;
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) Fail("Cannot close");
}

void File::Fail(const char* operation) const {
    throw IoError(ReportedName(), operation, errno);
}

int64_t File::Size() const {
    struct stat st;
    if (::fstat(fd_, &st) != 0) Fail("Cannot get the size of");
    return static_cast<int64_t>(st.st_size);
}

int64_t File::Position() const {
    off_t p = ::lseek(fd_, 0, SEEK_CUR);
    if (p < 0) Fail("Cannot seek in");
    return static_cast<int64_t>(p);
}

void File::Seek(int64_t pos) {
    if (pos < 0) throw IoError(ReportedName(), "Cannot seek in", EINVAL);
    if (::lseek(fd_, static_cast<off_t>(pos), SEEK_SET) < 0) Fail("Cannot seek in");
}

namespace {

// Repeats a read or write call for the bytes not yet done, until all n are
// done or a read reaches the end; -1 (errno set) on failure.
template <typename Call>
ssize_t Repeat(size_t n, Call call) {
    size_t done = 0;
    while (done < n) {
        const ssize_t r = call(done);
        if (r < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (r == 0) break;
        done += static_cast<size_t>(r);
    }
    return static_cast<ssize_t>(done);
}

} // namespace

size_t File::Read(void* buf, size_t n) {
    auto* p = static_cast<char*>(buf);
    const ssize_t done = Repeat(n, [&](size_t at) { return ::read(fd_, p + at, n - at); });
    if (done < 0) Fail("Cannot read");
    return static_cast<size_t>(done);
}

size_t File::ReadAt(void* buf, size_t n, int64_t pos) {
    auto* p = static_cast<char*>(buf);
    const ssize_t done = Repeat(n, [&](size_t at) { return ::pread(fd_, p + at, n - at, pos + at); });
    if (done < 0) Fail("Cannot read");
    return static_cast<size_t>(done);
}

void File::ReadExact(void* buf, size_t n) {
    if (Read(buf, n) != n) throw IoError(ReportedName(), "Cannot read", "unexpected end of file");
}

void File::ReadExactAt(void* buf, size_t n, int64_t pos) {
    if (ReadAt(buf, n, pos) != n) throw IoError(ReportedName(), "Cannot read", "unexpected end of file");
}

void File::Write(const void* buf, size_t n) {
    auto* p = static_cast<const char*>(buf);
    const ssize_t done = Repeat(n, [&](size_t at) { return ::write(fd_, p + at, n - at); });
    if (done < 0) Fail("Cannot write");
    if (static_cast<size_t>(done) < n) throw IoError(ReportedName(), "Cannot write", EIO);
}

void File::WriteAt(const void* buf, size_t n, int64_t pos) {
    auto* p = static_cast<const char*>(buf);
    const ssize_t done = Repeat(n, [&](size_t at) { return ::pwrite(fd_, p + at, n - at, pos + at); });
    if (done < 0) Fail("Cannot write");
    if (static_cast<size_t>(done) < n) throw IoError(ReportedName(), "Cannot write", EIO);
}

void File::Truncate(int64_t length) {
    if (::ftruncate(fd_, static_cast<off_t>(length)) != 0) Fail("Cannot truncate");
}

void File::Sync() {
    if (::fsync(fd_) != 0 && errno != EINVAL) Fail("Cannot flush");
}

void RemoveFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw IoError(path, "Cannot delete", errno);
}

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsSpecialFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

int64_t FileSizeOf(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) throw IoError(path, "Cannot get the size of", errno);
    return static_cast<int64_t>(st.st_size);
}

namespace {
// The access check answers for this user, including read-only mounts; no
// write bit at all is the read-only attribute, which holds for root as well.
bool ReadOnlyAt(int folder, const char* name, unsigned mode) {
    return ::faccessat(folder, name, W_OK, 0) != 0 || (mode & 0222) == 0;
}
} // namespace

bool IsReadOnlyFile(const std::string& path, unsigned mode) { return ReadOnlyAt(AT_FDCWD, path.c_str(), mode); }

bool IsReadOnlyFile(const std::string& path) {
    struct stat st;
    return IsReadOnlyFile(path, ::stat(path.c_str(), &st) == 0 ? unsigned(st.st_mode) : 0u);
}

bool IsReadOnlyFile(const File& opened) { return IsReadOnlyFile(opened.Path(), opened.ModeAtOpen()); }

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::vector<FolderEntry> ReadFolder(const std::string& path) {
    std::vector<FolderEntry> out;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return out;
    const int fd = ::dirfd(dir);
    while (const dirent* d = ::readdir(dir)) {
        const char* n = d->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        FolderEntry e;
        e.name = n;
        struct stat st;
        e.known = ::fstatat(fd, n, &st, 0) == 0;
        if (e.known) {
            e.isDirectory = S_ISDIR(st.st_mode);
            e.isRegular = S_ISREG(st.st_mode);
            if (e.isRegular) e.size = int64_t(st.st_size);
            e.modified = int64_t(st.st_mtime);
        }
        e.readOnly = ReadOnlyAt(fd, n, e.known ? unsigned(st.st_mode) : 0u);
        out.push_back(std::move(e));
    }
    ::closedir(dir);
    return out;
}

std::string PathOnDisk(const std::string& shown) {
    static const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD
    if (shown.find(kReplacement) == std::string::npos) return shown;
    std::string path;
    size_t from = 0;
    while (from <= shown.size()) {
        size_t slash = shown.find('/', from);
        if (slash == std::string::npos) slash = shown.size();
        std::string name = shown.substr(from, slash - from);
        const std::string folder = path.empty() && from > 0 ? "/" : path.empty() ? "." : path;
        struct stat st;
        if (name.find(kReplacement) != std::string::npos &&
            ::lstat((path + (from > 0 ? "/" : "") + name).c_str(), &st) != 0) {
            std::string found;
            int matches = 0;
            std::error_code ec;
            for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
                std::string entry = it->path().filename().string();
                if (ShowableUtf8(entry) == name && ++matches == 1) found = std::move(entry);
            }
            if (matches == 1) name = std::move(found);
        }
        path += (from > 0 ? "/" : "") + name;
        from = slash + 1;
    }
    return path;
}

} // namespace wb
