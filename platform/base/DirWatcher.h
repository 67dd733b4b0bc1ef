#pragma once
// Watches a set of folders for subfolders being made, removed or renamed
// (inotify), and the mount table for volumes coming and going, on a worker
// thread of its own.
//
// Each change is handed to the owner one at a time: after the handler
// returns, the thread waits until the owner calls Handled() (or Stop()), so
// the owner may pass the change on to another thread and refresh there while
// no further change is reported. A new folder set given meanwhile is kept and
// applied when the thread next waits; it is never lost.
//
// WaitUntilWatching() tells the owner when the thread watches the folder set
// given last, so nothing changed after it returns goes unseen.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace wb {

class DirWatcher {
public:
    enum class Event { FolderChange, MountsChange };
    using Handler = std::function<void(Event)>;

    // `mountTable` is the file polled for mount changes; empty watches none.
    // Without a handler a change is announced through ReadyFd() instead.
    explicit DirWatcher(Handler handler, std::string mountTable = "/proc/self/mounts");
    ~DirWatcher();
    DirWatcher(const DirWatcher&) = delete;
    DirWatcher& operator=(const DirWatcher&) = delete;

    // Starts the thread; later calls do nothing.
    void Start();
    bool Started() const;
    // The folders to watch from now on (each one level deep). Any thread.
    void SetFolders(std::vector<std::string> folders);
    // Blocks until the thread watches the folders given last (those that
    // cannot be watched, such as missing ones, left out) and has looked at
    // every folder change made before they were given. False when `limit`
    // passes first, the watcher is stopped or never started, or the system
    // offers no folder notifications. Any thread but the handler's.
    bool WaitUntilWatching(std::chrono::milliseconds limit);
    // Blocks until the thread reports nothing more of its own accord: it
    // holds a change until Handled(), or, holding none, is as
    // WaitUntilWatching() leaves it. False as WaitUntilWatching() is.
    bool WaitUntilIdle(std::chrono::milliseconds limit);
    // The owner is done with the last change.
    void Handled();
    // Handler-less use, for an event loop on the owner's thread: ReadyFd()
    // turns readable when a change waits; TakeEvent() takes it (and clears
    // the descriptor); Handled() follows when the owner is done with it.
    int ReadyFd() const { return readyFd_; }
    // Blocks up to `limit` until ReadyFd() turns readable; true when it has,
    // false at once when there is no such descriptor. Any thread.
    bool WaitReady(std::chrono::milliseconds limit) const;
    std::optional<Event> TakeEvent();
    // The watched folders whose subfolders changed since the last call, so
    // the owner reads again only those; `all` turns true when the system
    // lost track (its queue overflowed) and any folder may have changed.
    std::vector<std::string> TakeChangedFolders(bool& all);
    // Wakes the thread, lets it end and joins it. Safe to call twice, and on
    // a watcher never started.
    void Stop();

private:
    void Run();
    void Wake();
    void Deliver(Event e);

    Handler handler_;
    std::string mountTable_;
    std::thread thread_;
    int wakeFd_ = -1;
    int readyFd_ = -1;

    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<std::string> folders_;
    bool foldersChanged_ = false;
    uint64_t folderSet_ = 0;    // counts the folder sets given
    int64_t watchedSet_ = -1;   // the set the thread last finished a pass with
    bool cannotWatch_ = false;  // no inotify
    bool pending_ = false;
    bool holding_ = false;      // the thread waits for Handled()
    std::optional<Event> event_;
    std::set<std::string> changed_;
    bool changedAll_ = false;
    bool stop_ = false;
    bool started_ = false;
};

} // namespace wb
