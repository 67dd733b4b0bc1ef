#include "platform/net/StallWatcher.h"

#include <QTimer>
#include <algorithm>
#include <map>
#include <utility>

#include "platform/gui/Guard.h"

namespace wb::net {

namespace {

// One single-shot timer per waiting watcher.
class GuiLoopClock final : public StallClock {
public:
    StallTime Now() const override { return std::chrono::steady_clock::now(); }

    void WakeAt(StallWatcher& watcher, StallTime due) override {
        QTimer*& timer = timers_[&watcher];
        if (!timer) {
            timer = new QTimer;
            timer->setSingleShot(true);
            QObject::connect(timer, &QTimer::timeout, [this, timer, w = &watcher] {
                QTimer* outer = std::exchange(ringing_, timer);
                wb::gui::RunGuarded([w] { w->Check(); });
                ringing_ = outer;
            });
        }
        // Rounded up: a timer that rang early would only be set again.
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - Now());
        timer->start(std::max(wait, std::chrono::milliseconds(0)));
    }

    void Forget(StallWatcher& watcher) override {
        const auto it = timers_.find(&watcher);
        if (it == timers_.end()) return;
        QTimer* timer = it->second;
        timers_.erase(it);
        // The watcher may be stopped from inside its own timer's ring.
        if (timer == ringing_) {
            QObject::disconnect(timer, nullptr, nullptr, nullptr);
            timer->deleteLater();
        } else {
            delete timer;
        }
    }

private:
    std::map<StallWatcher*, QTimer*> timers_;
    QTimer* ringing_ = nullptr;
};

StallClock* g_clock = nullptr;

} // namespace

StallClock& CurrentStallClock() {
    static GuiLoopClock system;
    return g_clock ? *g_clock : system;
}

StallClock* SetStallClock(StallClock* clock) { return std::exchange(g_clock, clock); }

StallWatcher::StallWatcher(StallRule rule, StallClock& clock) : rule_(rule), clock_(clock) {}

StallWatcher::~StallWatcher() { clock_.Forget(*this); }

void StallWatcher::Begin() {
    watching_ = true;
    begun_ = moved_ = clock_.Now();
    unstepped_ = 0;
    WakeAtNextLimit();
}

void StallWatcher::Moved() {
    moved_ = clock_.Now();
    unstepped_ = 0;
}

void StallWatcher::Received(uint64_t bytes) {
    // A byte now and then keeps no wait alive when the rule asks for more.
    unstepped_ += bytes;
    if (unstepped_ >= rule_.step) Moved();
}

void StallWatcher::Stop() {
    watching_ = false;
    clock_.Forget(*this);
}

// Steps forward only move the marks; the clock is asked again when the limit
// set earlier comes, so a busy transfer costs no timer per packet.
void StallWatcher::Check() {
    if (!watching_) return;
    const StallTime now = clock_.Now();
    Stall stall;
    if (now - moved_ >= rule_.silence) stall = Stall::Silence;
    else if (rule_.whole.count() > 0 && now - begun_ >= rule_.whole) stall = Stall::Whole;
    else return WakeAtNextLimit();
    Stop();
    if (OnStall) OnStall(stall);
}

void StallWatcher::WakeAtNextLimit() {
    StallTime due = moved_ + rule_.silence;
    if (rule_.whole.count() > 0) due = std::min(due, begun_ + rule_.whole);
    clock_.WakeAt(*this, due);
}

} // namespace wb::net
