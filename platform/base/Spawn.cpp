#include "platform/base/Spawn.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace wb {

namespace {

// Everything a start needs, made before any fork, so that a watcher process
// only starts the program and allocates nothing.
class Start {
public:
    Start(const std::vector<std::string>& argv, const SpawnOptions& options, bool ownSession) {
        for (const auto& a : argv) args_.push_back(const_cast<char*>(a.c_str()));
        args_.push_back(nullptr);
        posix_spawn_file_actions_init(&actions_);
        if (options.quiet)
            for (int fd : {1, 2}) posix_spawn_file_actions_addopen(&actions_, fd, "/dev/null", O_WRONLY, 0);
        if (!options.workingFolder.empty())
            posix_spawn_file_actions_addchdir_np(&actions_, options.workingFolder.c_str());
        posix_spawnattr_init(&attr_);
        // The caller's mask, also when a watcher blocks signals for itself;
        // what this layer ignores for its own sake is not handed on.
        sigset_t mask, defaults;
        pthread_sigmask(SIG_SETMASK, nullptr, &mask);
        posix_spawnattr_setsigmask(&attr_, &mask);
        sigemptyset(&defaults);
        for (int sig : {SIGPIPE, SIGXFSZ}) sigaddset(&defaults, sig);
        posix_spawnattr_setsigdefault(&attr_, &defaults);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (ownSession) flags |= POSIX_SPAWN_SETSID;
        posix_spawnattr_setflags(&attr_, flags);
    }
    ~Start() {
        posix_spawnattr_destroy(&attr_);
        posix_spawn_file_actions_destroy(&actions_);
    }
    Start(const Start&) = delete;
    Start& operator=(const Start&) = delete;

    bool Empty() const { return args_.size() < 2; }
    pid_t Run() const {
        pid_t pid = -1;
        if (Empty()) return -1;
        return posix_spawnp(&pid, args_[0], &actions_, &attr_, args_.data(), environ) == 0 ? pid : -1;
    }

private:
    std::vector<char*> args_;
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attr_;
};

// The watcher's side: starts the program and tells its verdict through
// `verdict` once the program ends or watchMs have passed, whichever comes
// first. Runs between fork and exit, so it calls only what is safe there.
[[noreturn]] void RunWatcher(const Start& start, long long watchMs, int verdict) {
    // The program's end arrives as a SIGCHLD that stays pending until taken.
    ::signal(SIGCHLD, SIG_DFL);
    sigset_t child;
    ::sigemptyset(&child);
    ::sigaddset(&child, SIGCHLD);
    ::sigprocmask(SIG_BLOCK, &child, nullptr);
    const pid_t program = start.Run();
    unsigned char answer = program < 0 ? 127 : 0;  // still running at the deadline: it lives on
    if (program >= 0 && watchMs > 0) {
        timespec now{}, deadline{};
        ::clock_gettime(CLOCK_MONOTONIC, &deadline);
        deadline.tv_sec += static_cast<time_t>(watchMs / 1000);
        deadline.tv_nsec += (watchMs % 1000) * 1'000'000L;
        if (deadline.tv_nsec >= 1'000'000'000L) {
            ++deadline.tv_sec;
            deadline.tv_nsec -= 1'000'000'000L;
        }
        for (;;) {
            int status = 0;
            if (::waitpid(program, &status, WNOHANG) == program) {
                answer = WIFEXITED(status) ? static_cast<unsigned char>(WEXITSTATUS(status)) : 1;
                break;
            }
            ::clock_gettime(CLOCK_MONOTONIC, &now);
            long long left = (deadline.tv_sec - now.tv_sec) * 1'000'000'000LL + (deadline.tv_nsec - now.tv_nsec);
            if (left <= 0) break;
            const timespec wait{static_cast<time_t>(left / 1'000'000'000LL), static_cast<long>(left % 1'000'000'000LL)};
            // Ends with the child's signal (or another one), or at the deadline.
            if (::sigtimedwait(&child, nullptr, &wait) < 0 && errno == EAGAIN) break;
        }
    }
    while (::write(verdict, &answer, 1) < 0 && errno == EINTR) {
    }
    ::_exit(0);
}

} // namespace

pid_t Spawn(const std::vector<std::string>& argv, const SpawnOptions& options) {
    return Start(argv, options, false).Run();
}

ApartProgram::ApartProgram(const std::vector<std::string>& argv, const SpawnOptions& options,
                           std::chrono::milliseconds watch) {
    const Start start(argv, options, true);
    if (start.Empty()) return;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    watcher_ = ::fork();
    if (watcher_ == 0) {
        ::close(ends[0]);
        RunWatcher(start, watch.count(), ends[1]);
    }
    ::close(ends[1]);
    if (watcher_ < 0) {
        ::close(ends[0]);
        return;
    }
    verdictFd_ = ends[0];
}

ApartProgram::~ApartProgram() { Verdict(); }

bool ApartProgram::Verdict() {
    if (verdictFd_ < 0) return verdict_;
    unsigned char answer = 1;
    // Nothing read (a watcher that died) is no success.
    while (::read(verdictFd_, &answer, 1) < 0 && errno == EINTR) {
    }
    ::close(verdictFd_);
    verdictFd_ = -1;
    int status = 0;
    while (::waitpid(watcher_, &status, 0) < 0 && errno == EINTR) {
    }
    verdict_ = answer == 0;
    return verdict_;
}

} // namespace wb
