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

} // namespace wb
