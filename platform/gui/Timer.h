#pragma once
// A timer component: OnTimer runs on the GUI thread every Interval milliseconds
// while Enabled.
#include <functional>
#include <memory>

#include "platform/base/Component.h"

namespace wb::gui {

class Timer : public Component {
public:
    explicit Timer(Component* owner = nullptr);
    ~Timer() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Running() const;  // enabled, with an interval above 0 and a handler
    std::function<void(Persistent* sender)> OnTimer;
    void SetOnTimer(std::function<void(Persistent*)> handler);

private:
    void Update();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int interval_ = 1000;
    bool enabled_ = true;
};

} // namespace wb::gui
