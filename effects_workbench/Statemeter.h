#pragma once
// The progress of one effect run on the window's progress bar: the bar is
// shown while a meter exists and moves one mark per total div Max steps.
#include <cstdint>

#include "platform/base/Progress.h"

namespace sonafex {

class StateMeter {
public:
    StateMeter(wb::Progress& bar, int32_t total);
    ~StateMeter();
    StateMeter(const StateMeter&) = delete;
    StateMeter& operator=(const StateMeter&) = delete;

    // Called once per step with the step's index; cheap unless a mark is due.
    void Step(int32_t index) {
        if (index == next_) Advance(index);
    }

private:
    void Advance(int32_t index);

    wb::Progress& bar_;
    int32_t total_;
    int32_t next_ = 0;
    int32_t stride_ = 0;
};

} // namespace sonafex
