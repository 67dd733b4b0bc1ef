#include "platform/gui/ReadNotifier.h"

#include <QSocketNotifier>

#include "platform/gui/Guard.h"
#include "platform/gui/ScreenInfo.h"

namespace wb::gui {

struct ReadNotifier::Impl {
    std::function<void()> onReadable;
    std::unique_ptr<QSocketNotifier> notifier;
};

ReadNotifier::ReadNotifier(int fd, std::function<void()> onReadable) : impl_(std::make_unique<Impl>()) {
    impl_->onReadable = std::move(onReadable);
    if (fd < 0) return;
    EnsureGuiApplication();
    impl_->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    Impl* impl = impl_.get();
    QObject::connect(impl->notifier.get(), &QSocketNotifier::activated, impl->notifier.get(), [impl] {
        // A copy: the handler may free the notifier.
        const std::function<void()> handler = impl->onReadable;
        if (handler) RunGuarded(handler);
    });
}

ReadNotifier::~ReadNotifier() = default;

} // namespace wb::gui
