#pragma once
// A named pipe that a stand-in program writes to once it has done its work,
// so a test waits for that report instead of polling a file on the clock.
#include <string>

#include "platform/base/TempDir.h"

namespace wb::test {

class DoneSignal {
public:
    DoneSignal();
    ~DoneSignal();
    DoneSignal(const DoneSignal&) = delete;
    DoneSignal& operator=(const DoneSignal&) = delete;

    // The shell command by which a stand-in program reports.
    std::string Command() const;
    // Waits, at most timeoutMs, for a report; false when none came.
    bool Wait(int timeoutMs = 10000);

private:
    TempDir dir_;
    std::string path_;
    int read_ = -1, write_ = -1;
};

} // namespace wb::test
