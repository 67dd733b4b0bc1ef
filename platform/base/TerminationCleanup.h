#pragma once
// Paths removed when SIGTERM, SIGINT or SIGHUP ends the process, so a
// program killed in the middle of a write leaves no hidden partial file and
// no private folder behind. Every pending file of every program registers
// here; there is no second handler.
//
// Threads and signals: a path may be registered and let go of on any
// thread. The handler runs on whichever thread takes the signal and makes
// only calls that are safe there (unlink, rmdir, getdents64): it reads a
// fixed table whose entries are complete before they are published. A
// signal the process was told to ignore (SIGHUP under nohup) stays ignored
// and removes nothing. After the removals the signal ends the process as it
// would have without the handler.
//
// A set of files that changes names together holds the signals
// (HoldTermination): the process then ends before the change or after it,
// never half way, so a removed backup is never the old file's last copy.
#include <csignal>
#include <string>

namespace wb {

class RemoveOnTermination {
public:
    // A folder goes with the files in it (not its subfolders).
    enum class Kind { File, Folder };

    RemoveOnTermination() = default;
    // Registers the path; a full table (more than a thousand at once)
    // registers nothing, and the path is then only removed as usual.
    explicit RemoveOnTermination(const std::string& path, Kind kind = Kind::File);
    // Takes the path off the list; removes nothing.
    ~RemoveOnTermination();
    RemoveOnTermination(RemoveOnTermination&& other) noexcept;
    RemoveOnTermination& operator=(RemoveOnTermination&& other) noexcept;
    RemoveOnTermination(const RemoveOnTermination&) = delete;
    RemoveOnTermination& operator=(const RemoveOnTermination&) = delete;

    bool Registered() const { return slot_ >= 0; }

private:
    void Release() noexcept;
    int slot_ = -1;
};

// While one lives, SIGTERM, SIGINT and SIGHUP wait: the calling thread
// blocks them, and the handler, on any other thread, notes the signal and
// returns. When the last hold ends, a noted signal is raised again; it
// removes what is registered then and ends the process. A hold that begins
// while the handler is already removing files waits for the process to end.
class HoldTermination {
public:
    HoldTermination();
    ~HoldTermination();
    HoldTermination(const HoldTermination&) = delete;
    HoldTermination& operator=(const HoldTermination&) = delete;

private:
    sigset_t former_;
};

} // namespace wb
