#include "effects_workbench/Resampler.h"

#include <cmath>
#include <vector>

#include "effects_workbench/Statemeter.h"

namespace sonafex {

Resampler::Resampler(SoundFile& sound, int32_t step, int32_t shape, wb::Progress& progress) {
    const int32_t f = sound.GetFrameCount();
    // Nothing to keep: an empty file stays as it is.
    if (f <= 0 || step <= 0) return;
    const float n = static_cast<float>(step);
    const long double nl = n;
    StateMeter meter(progress, static_cast<int32_t>(f / nl));
    const float c = static_cast<float>(shape * 0.1L);
    const long double divisor = 2.5f + static_cast<long double>(c);

    // The cosine weight depends only on the distance from the kept sample.
    std::vector<float> weight(static_cast<size_t>(step > 1 ? step - 1 : 0));
    for (size_t i = 0; i < weight.size(); ++i) {
        const float arg = static_cast<float>((static_cast<long double>(i) - nl * 0.5f) / divisor);
        weight[i] = static_cast<float>(std::cos(static_cast<long double>(arg)));
    }

    std::vector<int16_t> out(f);
    int32_t b = 0;
    while (b < f) {
        const int16_t kept = sound.GetSample(b);
        out[b] = kept;
        meter.Step(static_cast<int32_t>(b / nl));
        int32_t target, end;  // fill runs over b+1 .. end-1
        if (b + nl <= f - 1) {
            target = sound.GetSample(static_cast<int32_t>(b + nl));
            end = b + step;
        } else {
            target = sound.GetSample(f - 1);
            end = f;
        }
        const float u = static_cast<float>((target - kept) / nl);
        for (int32_t j = b + 1; j < end; ++j) {
            const float g = weight[j - b - 1];
            // A float times a float is exact in double, as in extended precision.
            out[j] = static_cast<int16_t>(out[j - 1] + static_cast<int64_t>(static_cast<double>(u) * g));
        }
        b = static_cast<int32_t>(b + nl);
    }
    sound.ReplaceData(std::move(out));
}

} // namespace sonafex
