#include "effects_workbench/Distortion.h"

#include <vector>

#include "effects_workbench/Statemeter.h"

namespace sonafex {

Distortion::Distortion(SoundFile& sound, int32_t level, int32_t shape, wb::Progress& progress) {
    const int32_t n = sound.GetFrameCount();
    if (n <= 0) return;
    StateMeter meter(progress, n);
    const int32_t t = level;
    // The divisor is stored as a float; the steps are computed in extended precision.
    const float x = static_cast<float>(2 * shape * 0.00004L + 1);
    const long double xl = x;
    auto towards = [xl](int16_t from, int32_t target) {
        return static_cast<int16_t>(static_cast<int64_t>(from + (target - from) / xl));
    };

    std::vector<int16_t> out(n);
    int32_t jp = 0, jn = 0;
    for (int32_t k = 0; k < n; ++k) {
        meter.Step(k);
        const int32_t s = sound.GetSample(k);
        if (s >= t) {
            // The last frame is zeroed only on a positive clip.
            out[k] = (k == 0 || k == n - 1) ? 0 : towards(out[k - 1], t);
            ++jp;
        }
        if (s <= -t) {
            out[k] = k == 0 ? 0 : towards(out[k - 1], -t);
            ++jn;
        }
        if (s < t && s > -t) out[k] = static_cast<int16_t>(s);
        if (k >= 1) {
            const int32_t prev = sound.GetSample(k - 1);
            if (prev >= t && s < t) {
                for (int32_t l = k; l > k - jp / 2; --l) out[l - 1] = towards(out[l], t);
                jp = 0;
            }
            if (prev <= -t && s > -t) {
                for (int32_t l = k; l > k - jn / 2; --l) out[l - 1] = towards(out[l], -t);
                jn = 0;
            }
        }
    }
    sound.ReplaceData(std::move(out));
}

} // namespace sonafex
