#include "platform/net/WaitAlarm.h"

#include <QTimer>

#include "platform/gui/Guard.h"

namespace wb::net {

namespace {

class QtWaitAlarm final : public WaitAlarm {
public:
    QtWaitAlarm() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] { wb::gui::Fire(OnRing); });
    }
    void Arm(std::chrono::milliseconds after) override { timer_.start(after); }
    void Disarm() override { timer_.stop(); }

private:
    QTimer timer_;
};

} // namespace

std::unique_ptr<WaitAlarm> MakeWaitAlarm() { return std::make_unique<QtWaitAlarm>(); }

} // namespace wb::net
