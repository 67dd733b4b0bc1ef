#pragma once
// A clock for network waits that moves only when the test moves it: while it
// lives, watchers made go by it, and moving it on rings those whose limit
// came, so a test of a 30-second stall takes no 30 seconds. Make it before
// the client whose waits it is to drive.
#include <chrono>
#include <map>

#include "platform/net/StallWatcher.h"

namespace wb::net::test {

class DrivenStallClock final : public StallClock {
public:
    DrivenStallClock() : previous_(SetStallClock(this)) {}
    ~DrivenStallClock() override { SetStallClock(previous_); }
    DrivenStallClock(const DrivenStallClock&) = delete;
    DrivenStallClock& operator=(const DrivenStallClock&) = delete;

    StallTime Now() const override { return now_; }
    void WakeAt(StallWatcher& watcher, StallTime due) override { due_[&watcher] = due; }
    void Forget(StallWatcher& watcher) override { due_.erase(&watcher); }

    void Advance(std::chrono::milliseconds by) {
        now_ += by;
        // One at a time: a ring may stop, start or destroy other watchers.
        for (auto it = due_.begin(); it != due_.end();) {
            if (it->second > now_) {
                ++it;
                continue;
            }
            StallWatcher* watcher = it->first;
            due_.erase(it);
            watcher->Check();
            it = due_.begin();
        }
    }

private:
    StallClock* previous_;
    StallTime now_ = StallTime() + std::chrono::hours(1);
    std::map<StallWatcher*, StallTime> due_;
};

} // namespace wb::net::test
