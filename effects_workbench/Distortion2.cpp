#include "effects_workbench/Distortion2.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "effects_workbench/Statemeter.h"
#include "effects_workbench/WarmClip.h"

namespace sonafex {

Distortion2::Distortion2(SoundFile& sound, int32_t level, int32_t shape, int32_t width,
                         wb::Progress& progress) {
    const int32_t n = sound.GetFrameCount();
    if (n <= 0) return;
    StateMeter meter(progress, n);
    const int32_t t = level;
    const int32_t w = 4 * width;
    const int32_t d = static_cast<int32_t>(2 / std::sqrt(std::sqrt(static_cast<long double>(shape))) + 1);
    const float e = static_cast<float>(shape / 50000);
    const float r = static_cast<float>(std::sqrt(2 * std::numbers::pi_v<long double>));
    const float q = static_cast<float>(w * 0.25L * 10);

    std::vector<int16_t> out(n);
    // Applies a run's end: halving towards the level, then the bump when it
    // fits inside the file. The counter is cleared only when the bump is made.
    auto runEnd = [&](int32_t k, int32_t target, double& count, int sign) {
        for (int32_t l = k; l > k - count * 0.5; --l) {
            out[l - 1] = static_cast<int16_t>(out[l] + (target - out[l]) / 2);
        }
        if (!(k + w - 1 < n && k - count - (w - 1) >= 0)) return;
        const double sigma = static_cast<double>(static_cast<long double>(count) / 3 + e);
        const double v = static_cast<double>(2 * static_cast<long double>(sigma) * sigma);
        const double mu = static_cast<double>(k - count * 0.5);
        const double a = static_cast<double>((1 / (static_cast<long double>(r) * sigma)) * shape *
                                             (count / static_cast<long double>(q)));
        for (int32_t l = k + w - 1; l > k - count - (w - 1); --l) {
            const long double dl = l - static_cast<long double>(mu);
            const auto bump = static_cast<int64_t>(std::exp(-(dl * dl) / v) * a);
            out[l - 1] = static_cast<int16_t>(out[l - 1] - sign * bump);
        }
        count = 0;
    };

    WarmClip<double>(sound, out, t, d, w, meter, runEnd);
    sound.ReplaceData(std::move(out));
}

} // namespace sonafex
