#include "effects_workbench/Distortion3.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "effects_workbench/Statemeter.h"
#include "effects_workbench/WarmClip.h"

namespace sonafex {

Distortion3::Distortion3(SoundFile& sound, int32_t level, int32_t depth, int32_t width,
                         wb::Progress& progress) {
    const int32_t n = sound.GetFrameCount();
    if (n <= 0) return;
    StateMeter meter(progress, n);
    constexpr long double pi = std::numbers::pi_v<long double>;
    const int32_t t = level;
    const int32_t w = 2 * width;
    const int32_t d = static_cast<int32_t>(2 / std::sqrt(std::sqrt(static_cast<long double>(depth))) + 1);
    const float a = static_cast<float>(std::sqrt(static_cast<long double>(2 * w)));
    const float r = static_cast<float>(std::sqrt(2 * pi));

    std::vector<int16_t> out(n);
    // As in the other warm distortion: halving, then the bump when it fits;
    // the counter is cleared only when the bump is made.
    auto runEnd = [&](int32_t k, int32_t target, int32_t& count, int sign) {
        for (int32_t l = k; l > k - count / 2; --l) {
            out[l - 1] = static_cast<int16_t>(out[l] + (target - out[l]) / 2);
        }
        if (!(k + w - 1 < n && k - count - (w - 1) >= 0)) return;
        const double sigma = static_cast<double>((count + static_cast<long double>(a)) * (1.0L / 3));
        const double mu = k - count / 2;
        const double amp = static_cast<double>(1 / (static_cast<long double>(r) * sigma));
        const auto m = static_cast<int32_t>((int64_t{w} * count) / (int64_t{w} + count));
        const long double twoSigmaSq = 2 * static_cast<long double>(sigma) * sigma;
        for (int32_t l = k + w - 1; l > k - count - (w - 1); --l) {
            const long double dl = l - static_cast<long double>(mu);
            const double env = static_cast<double>(std::exp(-(dl * dl) / twoSigmaSq) * depth * amp * m);
            const auto bump = static_cast<int64_t>(std::sin(dl * 2 * pi / sigma) * env);
            out[l - 1] = static_cast<int16_t>(out[l - 1] - sign * bump);
        }
        count = 0;
    };

    WarmClip<int32_t>(sound, out, t, d, w, meter, runEnd);
    sound.ReplaceData(std::move(out));
}

} // namespace sonafex
