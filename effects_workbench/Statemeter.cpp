#include "effects_workbench/Statemeter.h"

namespace sonafex {

StateMeter::StateMeter(wb::Progress& bar, int32_t total) : bar_(bar), total_(total) {
    bar_.SetVisible(true);
    // A bar without marks never moves rather than dividing by zero.
    const int max = bar_.Max();
    stride_ = max > 0 ? total_ / max : 0;
}

StateMeter::~StateMeter() { bar_.SetVisible(false); }

void StateMeter::Advance(int32_t index) {
    if (index != 0) bar_.SetPosition(index / stride_);
    next_ += stride_;
}

} // namespace sonafex
