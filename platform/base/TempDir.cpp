#include "platform/base/TempDir.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

#include "platform/base/IoError.h"

namespace wb {

std::string SystemTempFolder() {
    const char* t = std::getenv("TMPDIR");
    return (t && *t) ? std::string(t) : std::string("/tmp");
}

TempDir::TempDir(const std::string& prefix) {
    std::string tmpl = SystemTempFolder() + "/" + prefix + "-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data())) throw IoError(tmpl, "Cannot create the folder", errno);
    path_ = buf.data();
}

namespace {

// The folders to remove on a terminating signal, in fixed storage: a signal
// handler may not allocate, so it reads only these.
constexpr int kSlots = 8;
char gFolders[kSlots][PATH_MAX];
std::atomic<bool> gUsed[kSlots];
std::mutex gSlotsLock;
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction gFormer[3];

// Only calls that are safe in a signal handler: the folder is listed with
// the raw getdents64 call, since opendir allocates.
void RemoveFolderNow(const char* path) {
    const int dir = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        alignas(8) static char buf[4096];
        for (;;) {
            const long n = ::syscall(SYS_getdents64, dir, buf, sizeof buf);
            if (n <= 0) break;
            for (long at = 0; at < n;) {
                // struct linux_dirent64: ino (8), off (8), reclen (2), type (1), name
                unsigned short reclen;
                std::memcpy(&reclen, buf + at + 16, sizeof reclen);
                const char* name = buf + at + 19;
                if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
                    ::unlinkat(dir, name, 0);
                at += reclen;
            }
        }
        ::close(dir);
    }
    ::rmdir(path);
}

void OnTerminationSignal(int sig) {
    for (int i = 0; i < kSlots; ++i)
        if (gUsed[i].load()) RemoveFolderNow(gFolders[i]);
    // Then the signal ends the process as it would have.
    for (int i = 0; i < 3; ++i)
        if (kSignals[i] == sig) ::sigaction(sig, &gFormer[i], nullptr);
    ::raise(sig);
}

void InstallHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    struct sigaction sa {};
    sa.sa_handler = OnTerminationSignal;
    sigemptyset(&sa.sa_mask);
    for (int s : kSignals) sigaddset(&sa.sa_mask, s);
    for (int i = 0; i < 3; ++i) {
        // A signal the process was told to ignore (SIGHUP under nohup, SIGINT
        // in a background job) ends nothing, so it must not take the folder.
        if (::sigaction(kSignals[i], nullptr, &gFormer[i]) == 0 && gFormer[i].sa_handler == SIG_IGN) continue;
        ::sigaction(kSignals[i], &sa, &gFormer[i]);
    }
}

} // namespace

void TempDir::RemoveOnTermination() {
    if (slot_ >= 0 || path_.size() >= PATH_MAX) return;
    std::lock_guard<std::mutex> lock(gSlotsLock);
    for (int i = 0; i < kSlots; ++i) {
        if (gUsed[i].load()) continue;
        std::memcpy(gFolders[i], path_.c_str(), path_.size() + 1);
        gUsed[i].store(true);
        slot_ = i;
        InstallHandlers();
        return;
    }
}

TempDir::~TempDir() {
    if (slot_ >= 0) {
        std::lock_guard<std::mutex> lock(gSlotsLock);
        gUsed[slot_].store(false);
    }
    RemoveTree(path_);
}

void RemoveTree(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

} // namespace wb
