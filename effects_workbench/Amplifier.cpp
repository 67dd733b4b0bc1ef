#include "effects_workbench/Amplifier.h"

#include <cmath>

namespace sonafex {

long double GainPercent(int32_t position) {
    return 1000 - 10 * std::sqrt(static_cast<long double>(position));
}

void ApplyFactor(SoundFile& sound, float factor, StateMeter& meter) {
    const int32_t n = sound.GetFrameCount();
    // A 16-bit sample times a float is exact in double, so the product and its
    // truncation equal those formed in extended precision.
    const double f = factor;
    for (int32_t i = 0; i < n; ++i) {
        meter.Step(i);
        sound.SetSample(i, static_cast<int64_t>(sound.GetSample(i) * f));
    }
}

Amplifier::Amplifier(SoundFile& sound, int32_t position, wb::Progress& progress)
    : factor_(static_cast<float>(GainPercent(position) * 0.01L)) {
    StateMeter meter(progress, sound.GetFrameCount());
    ApplyFactor(sound, factor_, meter);
}

} // namespace sonafex
