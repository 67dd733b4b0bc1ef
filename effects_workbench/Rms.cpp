#include "effects_workbench/Rms.h"

#include <cmath>
#include <cstdint>

#include "effects_workbench/Statemeter.h"

namespace sonafex {

std::string RmsText(double rms) {
    return "RMS Value  = " + std::to_string(static_cast<int64_t>(static_cast<long double>(rms) * 100) / 32767) + "%";
}

RMS::RMS(const SoundFile& sound, wb::Progress& progress) {
    const int32_t n = sound.GetFrameCount();
    StateMeter meter(progress, n);
    double sum = 0;
    for (int32_t i = 0; i < n; ++i) {
        meter.Step(i);
        const int32_t s = sound.GetSample(i);
        sum += s * s;
    }
    // A file without frames measures 0 rather than dividing by zero.
    result_ = n > 0 ? std::sqrt(sum / n) : 0;
}

} // namespace sonafex
