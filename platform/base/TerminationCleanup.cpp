#include "platform/base/TerminationCleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/syscall.h>
#include <unistd.h>

namespace wb {

namespace {

// Each entry is one allocation: a kind byte ('F' or 'D'), then the path and
// its NUL. It is written whole before it is published in a slot, so the
// handler never sees half a path.
constexpr int kSlots = 1024;
std::atomic<char*> gSlots[kSlots];
// Set by the handler before it reads a slot: an entry let go of after that
// may still be in the handler's hands, so it is not freed (the process is
// ending anyway).
std::atomic<bool> gCleaning{false};

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction gFormer[3];

// The folder is listed with the raw getdents64 call, since opendir allocates.
void RemoveFolderNow(const char* path) {
    const int dir = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        alignas(8) char buf[4096];
        for (;;) {
            const long n = ::syscall(SYS_getdents64, dir, buf, sizeof buf);
            if (n <= 0) break;
            for (long at = 0; at < n;) {
                // struct linux_dirent64: ino (8), off (8), reclen (2), type (1), name
                unsigned short reclen;
                std::memcpy(&reclen, buf + at + 16, sizeof reclen);
                const char* name = buf + at + 19;
                if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) ::unlinkat(dir, name, 0);
                at += reclen;
            }
        }
        ::close(dir);
    }
    ::rmdir(path);
}

void OnTerminationSignal(int sig) {
    gCleaning.store(true);
    for (auto& slot : gSlots) {
        const char* entry = slot.load();
        if (!entry) continue;
        if (entry[0] == 'D') RemoveFolderNow(entry + 1);
        else ::unlink(entry + 1);
    }
    // The signal is blocked while this runs; raised again under its former
    // action, it ends the process once the handler returns.
    for (int i = 0; i < 3; ++i)
        if (kSignals[i] == sig) ::sigaction(sig, &gFormer[i], nullptr);
    ::raise(sig);
}

void InstallHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction sa {};
        sa.sa_handler = OnTerminationSignal;
        sigemptyset(&sa.sa_mask);
        for (int s : kSignals) sigaddset(&sa.sa_mask, s);
        for (int i = 0; i < 3; ++i) {
            // A signal the process was told to ignore ends nothing, so it
            // must not take the files either.
            if (::sigaction(kSignals[i], nullptr, &gFormer[i]) == 0 && gFormer[i].sa_handler == SIG_IGN) continue;
            ::sigaction(kSignals[i], &sa, &gFormer[i]);
        }
    });
}

} // namespace

RemoveOnTermination::RemoveOnTermination(const std::string& path, Kind kind) {
    if (path.empty()) return;
    InstallHandlers();
    char* entry = new char[path.size() + 2];
    entry[0] = kind == Kind::Folder ? 'D' : 'F';
    std::memcpy(entry + 1, path.c_str(), path.size() + 1);
    for (int i = 0; i < kSlots; ++i) {
        char* expected = nullptr;
        if (gSlots[i].compare_exchange_strong(expected, entry)) {
            slot_ = i;
            return;
        }
    }
    delete[] entry;
}

RemoveOnTermination::~RemoveOnTermination() { Release(); }

RemoveOnTermination::RemoveOnTermination(RemoveOnTermination&& other) noexcept : slot_(other.slot_) {
    other.slot_ = -1;
}

RemoveOnTermination& RemoveOnTermination::operator=(RemoveOnTermination&& other) noexcept {
    if (this != &other) {
        Release();
        slot_ = other.slot_;
        other.slot_ = -1;
    }
    return *this;
}

void RemoveOnTermination::Release() noexcept {
    if (slot_ < 0) return;
    char* entry = gSlots[slot_].exchange(nullptr);
    slot_ = -1;
    if (!gCleaning.load()) delete[] entry;
}

} // namespace wb
