#include "platform/testing/DoneSignal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace wb::test {

DoneSignal::DoneSignal() : dir_("done"), path_(dir_ / "done") {
    if (::mkfifo(path_.c_str(), 0600) != 0) throw std::runtime_error("cannot make " + path_);
    read_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    // Our own writer keeps the pipe from reading as closed between reports.
    write_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (read_ < 0 || write_ < 0) throw std::runtime_error("cannot open " + path_);
}

DoneSignal::~DoneSignal() {
    ::close(read_);
    ::close(write_);
}

std::string DoneSignal::Command() const { return "echo done > '" + path_ + "'"; }

bool DoneSignal::Wait(int timeoutMs) {
    pollfd p{read_, POLLIN, 0};
    int n;
    do {
        n = ::poll(&p, 1, timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return false;
    char buf[64];
    return ::read(read_, buf, sizeof buf) > 0;
}

} // namespace wb::test
