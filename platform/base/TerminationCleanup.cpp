#include "platform/base/TerminationCleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
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

// One word, so the handler and the holds agree without a lock: the count of
// holds, a bit set once the handler has begun removing files, and the first
// signal noted during a hold.
constexpr unsigned kNotedMask = 0xff, kEnding = 0x100, kOneHold = 0x200;
std::atomic<unsigned> gHolds{0};
static_assert(std::atomic<unsigned>::is_always_lock_free);

sigset_t TerminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kSignals) sigaddset(&set, s);
    return set;
}

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
    unsigned state = gHolds.load();
    for (;;) {
        if (state >= kOneHold) {
            // The thread that holds raises it again; one noted signal is enough.
            if ((state & kNotedMask) || gHolds.compare_exchange_weak(state, state | sig)) return;
        } else if (gHolds.compare_exchange_weak(state, state | kEnding)) {
            break;
        }
    }
    gCleaning.store(true);
    for (auto& slot : gSlots) {
        const char* entry = slot.load();
        if (!entry) continue;
        if (entry[0] == 'D') RemoveFolderNow(entry + 1);
        else ::unlink(entry + 1);
    }
    // The signal is blocked while this runs; raised again under its former
    // action, it ends the process once the handler returns.
    bool ends = true;
    for (int i = 0; i < 3; ++i)
        if (kSignals[i] == sig) {
            ::sigaction(sig, &gFormer[i], nullptr);
            ends = gFormer[i].sa_handler == SIG_DFL;
        }
    ::raise(sig);
    // A former handler of someone else's may let the process go on; then so
    // may the holds. After a default action nothing may begin a commit.
    if (!ends) gHolds.fetch_and(~kEnding);
}

void InstallHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction sa {};
        sa.sa_handler = OnTerminationSignal;
        sa.sa_mask = TerminationSignals();
        // A signal noted during a commit returns to the thread it landed
        // on, whose read or wait should go on, not fail.
        sa.sa_flags = SA_RESTART;
        for (int i = 0; i < 3; ++i) {
            // A signal the process was told to ignore ends nothing, so it
            // must not take the files either.
            if (::sigaction(kSignals[i], nullptr, &gFormer[i]) == 0 && gFormer[i].sa_handler == SIG_IGN) continue;
            ::sigaction(kSignals[i], &sa, &gFormer[i]);
        }
        // A child forked while another thread commits holds nothing.
        ::pthread_atfork(nullptr, nullptr, [] { gHolds.store(0); });
    });
}

} // namespace

HoldTermination::HoldTermination() {
    InstallHandlers();
    // Blocked here too, so no handler cuts a rename of this thread short.
    const sigset_t set = TerminationSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, &former_);
    unsigned state = gHolds.load();
    while (!gHolds.compare_exchange_weak(state, state + kOneHold)) {
    }
    // The handler took the signal first and is removing files on another
    // thread: nothing is changed any more; the process ends in a moment.
    while (state & kEnding) {
        const timespec pause{0, 1000000};
        ::nanosleep(&pause, nullptr);
        state = gHolds.load();
    }
}

HoldTermination::~HoldTermination() {
    unsigned state = gHolds.load(), next;
    int noted;
    do {
        next = state - kOneHold;
        noted = next < kOneHold ? static_cast<int>(next & kNotedMask) : 0;
        if (noted) next &= ~kNotedMask;
    } while (!gHolds.compare_exchange_weak(state, next));
    // A signal the kernel kept back is delivered here, and now acted on.
    ::pthread_sigmask(SIG_SETMASK, &former_, nullptr);
    if (!noted) return;
    // Taken here unless this thread blocked it before the hold; then by
    // whichever thread takes it.
    if (sigismember(&former_, noted)) ::kill(::getpid(), noted);
    else ::raise(noted);
}

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
