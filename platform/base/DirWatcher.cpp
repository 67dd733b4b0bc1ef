#include "platform/base/DirWatcher.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <set>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace wb {

namespace {

constexpr uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// Reads what is queued; true when a folder name changed among it. The
// watches it changed in are added to `wds`; an overflow sets `all`.
bool DrainFolderEvents(int fd, std::set<int>& wds, bool& all) {
    bool relevant = false;
    alignas(inotify_event) char buf[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) break;
        for (char* p = buf; p < buf + n;) {
            auto* ev = reinterpret_cast<inotify_event*>(p);
            if (((ev->mask & IN_ISDIR) &&
                 (ev->mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO))) ||
                (ev->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_Q_OVERFLOW))) {
                relevant = true;
                if (ev->mask & IN_Q_OVERFLOW)
                    all = true;
                else
                    wds.insert(ev->wd);
            }
            p += sizeof(inotify_event) + ev->len;
        }
    }
    return relevant;
}

} // namespace

DirWatcher::DirWatcher(Handler handler, std::string mountTable)
    : handler_(std::move(handler)), mountTable_(std::move(mountTable)) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (!handler_) readyFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

DirWatcher::~DirWatcher() {
    Stop();
    if (wakeFd_ >= 0) ::close(wakeFd_);
    if (readyFd_ >= 0) ::close(readyFd_);
}

std::optional<DirWatcher::Event> DirWatcher::TakeEvent() {
    if (readyFd_ >= 0) {
        uint64_t v;
        ssize_t n = ::read(readyFd_, &v, sizeof v);
        (void)n;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    std::optional<Event> e = event_;
    event_.reset();
    return e;
}

std::vector<std::string> DirWatcher::TakeChangedFolders(bool& all) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out(changed_.begin(), changed_.end());
    all = changedAll_;
    changed_.clear();
    changedAll_ = false;
    return out;
}

void DirWatcher::Start() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (started_ || stop_) return;
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

bool DirWatcher::Started() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return started_;
}

void DirWatcher::SetFolders(std::vector<std::string> folders) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        folders_ = std::move(folders);
        foldersChanged_ = true;
        ++folderSet_;
    }
    Wake();
}

bool DirWatcher::WaitUntilWatching(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!started_) return false;
    const auto wanted = static_cast<int64_t>(folderSet_);
    cv_.wait_for(lock, limit, [&] { return stop_ || cannotWatch_ || watchedSet_ >= wanted; });
    return !stop_ && !cannotWatch_ && watchedSet_ >= wanted;
}

bool DirWatcher::WaitUntilIdle(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!started_) return false;
    const auto wanted = static_cast<int64_t>(folderSet_);
    const auto idle = [&] { return !stop_ && !cannotWatch_ && (holding_ || watchedSet_ >= wanted); };
    cv_.wait_for(lock, limit, [&] { return stop_ || cannotWatch_ || idle(); });
    return idle();
}

void DirWatcher::Handled() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = false;
    }
    cv_.notify_all();
}

void DirWatcher::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    cv_.notify_all();
    Wake();
    if (thread_.joinable()) thread_.join();
}

bool DirWatcher::WaitReady(std::chrono::milliseconds limit) const {
    if (readyFd_ < 0) return false;
    pollfd p{readyFd_, POLLIN, 0};
    return ::poll(&p, 1, static_cast<int>(limit.count())) > 0 && (p.revents & POLLIN);
}

void DirWatcher::Wake() {
    if (wakeFd_ < 0) return;
    uint64_t one = 1;
    ssize_t r = ::write(wakeFd_, &one, sizeof one);
    (void)r;  // a full counter still wakes the poll
}

void DirWatcher::Deliver(Event e) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stop_) return;
        pending_ = true;
        if (!handler_) event_ = e;
    }
    if (handler_) {
        handler_(e);
    } else if (readyFd_ >= 0) {
        uint64_t one = 1;
        ssize_t n = ::write(readyFd_, &one, sizeof one);
        (void)n;
    } else {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = false;  // nobody can be told: do not wait for an answer
    }
    std::unique_lock<std::mutex> lock(mutex_);
    holding_ = true;
    cv_.notify_all();
    cv_.wait(lock, [this] { return !pending_ || stop_; });
    holding_ = false;
}

void DirWatcher::Run() {
    int ino = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    int mounts = mountTable_.empty() ? -1 : ::open(mountTable_.c_str(), O_RDONLY | O_CLOEXEC);
    std::map<std::string, int> watches;  // folder -> watch descriptor
    if (ino < 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        cannotWatch_ = true;
    }
    cv_.notify_all();
    // The first pass applies the folders given before the start, so the
    // owner learns when they are watched.
    Wake();

    for (;;) {
        // Negative descriptors are skipped by poll: without inotify or a wake
        // descriptor the thread still blocks on what it has, never spins.
        pollfd fds[3] = {{wakeFd_, POLLIN, 0}, {ino, POLLIN, 0}, {mounts, POLLPRI, 0}};
        int r = ::poll(fds, 3, wakeFd_ < 0 && ino < 0 && mounts < 0 ? 1000 : -1);
        if (r < 0 && errno != EINTR) break;

        // Cleared before the folder set is looked at, so a set given from
        // here on wakes the next poll instead of being left for a later one.
        if (wakeFd_ >= 0) {
            uint64_t v;
            ssize_t n = ::read(wakeFd_, &v, sizeof v);
            (void)n;
        }

        std::vector<std::string> wanted;
        bool apply = false;
        uint64_t folderSet = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_) break;
            folderSet = folderSet_;
            if (foldersChanged_) {
                wanted = folders_;
                foldersChanged_ = false;
                apply = true;
            }
        }
        if (apply && ino >= 0) {
            std::set<std::string> keep(wanted.begin(), wanted.end());
            for (auto it = watches.begin(); it != watches.end();) {
                if (!keep.count(it->first)) {
                    ::inotify_rm_watch(ino, it->second);
                    it = watches.erase(it);
                } else {
                    ++it;
                }
            }
            for (const std::string& f : keep) {
                if (watches.count(f)) continue;
                int wd = ::inotify_add_watch(ino, f.c_str(), kWatchMask);
                if (wd >= 0) watches[f] = wd;
            }
        }

        // Read whatever is queued, woken by it or not: a pass that takes a
        // new folder set must see every change made before the set was given.
        if (ino >= 0) {
            std::set<int> wds;
            bool all = false;
            bool changed = DrainFolderEvents(ino, wds, all);
            // A burst (a tree removed, an archive unpacked) is one change.
            if (changed) {
                for (int i = 0; i < 10; ++i) {
                    pollfd p{ino, POLLIN, 0};
                    if (::poll(&p, 1, 30) <= 0) break;
                    DrainFolderEvents(ino, wds, all);
                }
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    changedAll_ = changedAll_ || all;
                    for (const auto& [folder, wd] : watches)
                        if (wds.count(wd)) changed_.insert(folder);
                }
                Deliver(Event::FolderChange);
            }
        }
        if (mounts >= 0 && (fds[2].revents & (POLLPRI | POLLERR))) {
            // Reading the table again arms the next notification.
            char buf[4096];
            ::lseek(mounts, 0, SEEK_SET);
            while (::read(mounts, buf, sizeof buf) > 0) {
            }
            Deliver(Event::MountsChange);
        }
        // Folder changes made before this set was given were read in this
        // pass or an earlier one: the set is watched now.
        {
            std::lock_guard<std::mutex> lock(mutex_);
            watchedSet_ = static_cast<int64_t>(folderSet);
        }
        cv_.notify_all();
    }
    if (ino >= 0) ::close(ino);
    if (mounts >= 0) ::close(mounts);
}

} // namespace wb
