#include "effects_workbench/Amplifier2.h"

#include <cstdlib>

#include "effects_workbench/Amplifier.h"

namespace sonafex {

int32_t FindPeak(const SoundFile& sound, StateMeter* meter) {
    const int32_t n = sound.GetFrameCount();
    int32_t peak = 1;
    for (int32_t i = 0; i < n; ++i) {
        if (meter) meter->Step(i);
        const int32_t magnitude = std::abs(static_cast<int32_t>(sound.GetSample(i)));
        if (magnitude > peak) peak = magnitude;
    }
    return peak;
}

std::string PeakText(int32_t peak) {
    return "Maximum Peak = " + std::to_string(static_cast<int64_t>(peak) * 100 / 32767) + "%";
}

Amplifier2::Amplifier2(SoundFile& sound, int32_t position, wb::Progress& progress) {
    // One meter for both passes: its marks are spent by the search.
    StateMeter meter(progress, sound.GetFrameCount());
    peak_ = FindPeak(sound, &meter);
    const auto factor =
        static_cast<float>(GainPercent(position) * (32767.0L / peak_) * 0.01L);
    if (factor >= 0) ApplyFactor(sound, factor, meter);
}

Amplifier2::Amplifier2(SoundFile& sound, wb::Progress& progress) {
    StateMeter meter(progress, sound.GetFrameCount());
    peak_ = FindPeak(sound, &meter);
}

} // namespace sonafex
