#include "platform/gui/Timer.h"

#include <QTimer>

#include "platform/gui/Guard.h"

namespace wb::gui {

struct Timer::Impl {
    QTimer timer;
};

const ClassInfo& Timer::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("Timer", &Component::StaticClass());
        i.Boolean<Timer>("Enabled", &Timer::Enabled, &Timer::SetEnabled);
        i.Integer<Timer, int>("Interval", &Timer::Interval, &Timer::SetInterval);
        return i;
    }();
    return info;
}

Timer::Timer(Component* owner) : Component(owner), impl_(std::make_unique<Impl>()) {
    QObject::connect(&impl_->timer, &QTimer::timeout, [this] {
        if (!Destroying()) Fire(OnTimer, this);
    });
}

Timer::~Timer() { impl_->timer.stop(); }

void Timer::SetInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void Timer::SetOnTimer(std::function<void(Persistent*)> handler) {
    OnTimer = std::move(handler);
    Update();
}

bool Timer::Running() const { return impl_->timer.isActive(); }

void Timer::Update() {
    impl_->timer.stop();
    if (enabled_ && interval_ > 0 && OnTimer) {
        impl_->timer.setInterval(interval_);
        impl_->timer.start();
    }
}

} // namespace wb::gui
