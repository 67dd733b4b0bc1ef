#pragma once
// Runs a handler on the GUI thread, inside the guard, each time a file
// descriptor turns readable: how a worker thread or the system hands its
// news to the windows (a DirWatcher's ReadyFd, for one). The descriptor
// stays the caller's; it must outlive the notifier.
#include <functional>
#include <memory>

namespace wb::gui {

class ReadNotifier {
public:
    ReadNotifier(int fd, std::function<void()> onReadable);
    ~ReadNotifier();
    ReadNotifier(const ReadNotifier&) = delete;
    ReadNotifier& operator=(const ReadNotifier&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace wb::gui
