#pragma once
// The one judge of network waits: a peer that makes no step forward for a
// while is gone, and a wait may have a limit of its own that no trickle of
// bytes extends. Each client states its rule; the watcher tells it when the
// rule is broken. No Qt in this header.
//
// Threads: every call on the GUI thread. OnStall comes from the GUI loop (or
// from a test's clock when it is moved on), never from inside a call of the
// watcher's, so the handler may stop, restart or destroy the watcher.
#include <chrono>
#include <cstdint>
#include <functional>

namespace wb::net {

using StallTime = std::chrono::steady_clock::time_point;

struct StallRule {
    std::chrono::milliseconds silence;       // so long without a step forward is a lost peer
    std::chrono::milliseconds whole{0};      // so long for one wait, steps or not; 0: no such limit
    uint64_t step = 1;                       // received bytes that make one step forward
};

enum class Stall { Silence, Whole };

class StallWatcher;

// What watchers tell the time by, and what wakes them when a limit comes due.
class StallClock {
public:
    virtual ~StallClock() = default;
    virtual StallTime Now() const = 0;
    // Runs watcher.Check() once `due` has come; a later call for the same
    // watcher replaces the one before.
    virtual void WakeAt(StallWatcher& watcher, StallTime due) = 0;
    virtual void Forget(StallWatcher& watcher) = 0;
};

// The clock watchers made from now on go by: the system's, on the GUI loop,
// unless a test put its own. Setting gives back the one before; nullptr
// puts the system's back.
StallClock& CurrentStallClock();
StallClock* SetStallClock(StallClock* clock);

class StallWatcher {
public:
    explicit StallWatcher(StallRule rule, StallClock& clock = CurrentStallClock());
    ~StallWatcher();
    StallWatcher(const StallWatcher&) = delete;
    StallWatcher& operator=(const StallWatcher&) = delete;

    // A wait begins: both limits count from now.
    void Begin();
    // A step forward that is no count of bytes (connected, a head complete).
    void Moved();
    // Bytes arrived; every rule.step of them is a step forward.
    void Received(uint64_t bytes);
    // The wait is over, or paused until the next Begin.
    void Stop();
    bool Watching() const { return watching_; }
    // Called by the clock when a limit may have come: rings once it has.
    void Check();

    std::function<void(Stall)> OnStall;

private:
    void WakeAtNextLimit();

    StallRule rule_;
    StallClock& clock_;
    bool watching_ = false;
    StallTime begun_{}, moved_{};
    uint64_t unstepped_ = 0;  // bytes since the last step forward
};

} // namespace wb::net
