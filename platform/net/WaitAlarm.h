#pragma once
// A one-shot alarm for network waits: armed when a wait begins and again on
// each step forward, it rings when a wait went on too long. The clients take
// a maker, so a test drives its own clock instead of waiting.
//
// Threads: armed, disarmed and rung on the GUI thread, from its event loop,
// never from inside Arm. No Qt in this header.
#include <chrono>
#include <functional>
#include <memory>

namespace wb::net {

class WaitAlarm {
public:
    virtual ~WaitAlarm() = default;
    // Rings once `after` has passed, unless armed again or disarmed first.
    virtual void Arm(std::chrono::milliseconds after) = 0;
    virtual void Disarm() = 0;
    std::function<void()> OnRing;
};

// The alarm on the GUI loop's clock. Needs the application object to exist.
std::unique_ptr<WaitAlarm> MakeWaitAlarm();

} // namespace wb::net
