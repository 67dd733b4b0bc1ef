#pragma once
// The one way programs are started: without a shell, argv[0] looked up in
// PATH when it names no folder.
#include <chrono>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace wb {

struct SpawnOptions {
    bool quiet = false;         // its output and errors go to /dev/null
    std::string workingFolder;  // where it runs; empty: this process's folder

    static SpawnOptions Quiet() {
        SpawnOptions o;
        o.quiet = true;
        return o;
    }
    static SpawnOptions In(std::string folder) {
        SpawnOptions o;
        o.workingFolder = std::move(folder);
        return o;
    }
};

// Starts a program as a child of this process, which reaps it. Its process
// id, or -1 when it could not be started (not found, not runnable, no such
// working folder).
pid_t Spawn(const std::vector<std::string>& argv, const SpawnOptions& options = {});

// A program started apart from this process, in a session of its own, so it
// may outlive us. A watcher process in between waits up to `watch` for it to
// end, reaps it when it does, tells the verdict and goes; a program still
// running then lives on, and no zombie is left either way.
class ApartProgram {
public:
    ApartProgram(const std::vector<std::string>& argv, const SpawnOptions& options,
                 std::chrono::milliseconds watch);
    ~ApartProgram();
    ApartProgram(const ApartProgram&) = delete;
    ApartProgram& operator=(const ApartProgram&) = delete;

    // Turns readable once the verdict is there; -1 when no watcher could be made.
    int VerdictFd() const { return verdictFd_; }
    // Blocks for the verdict: true when the program started and ended with
    // status 0, or still ran when `watch` had passed.
    bool Verdict();

private:
    int verdictFd_ = -1;
    pid_t watcher_ = -1;
    bool verdict_ = false;
};

} // namespace wb
