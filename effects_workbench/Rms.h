#pragma once
// "Find RMS": the root mean square of all samples.
#include <string>

#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"

namespace sonafex {

// The result line of "Find RMS".
std::string RmsText(double rms);

class RMS {
public:
    RMS(const SoundFile& sound, wb::Progress& progress);

    double Result() const { return result_; }

private:
    double result_ = 0;
};

} // namespace sonafex
