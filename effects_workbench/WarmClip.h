#pragma once
// The pass the two warm distortions share: a sample at or beyond the level is
// eased towards it by the divisor, a stretch inside the level is copied a
// width ahead, and where a clipped run ends the effect's own runEnd(k, level,
// count, sign) shapes it. Count is the run counter's type, which sets how
// runEnd halves it.
#include <cstdint>
#include <vector>

#include "effects_workbench/Statemeter.h"
#include "effects_workbench/Waveformat.h"

namespace sonafex {

template <class Count, class RunEnd>
void WarmClip(const SoundFile& sound, std::vector<int16_t>& out, int32_t t, int32_t d, int32_t w,
              StateMeter& meter, RunEnd runEnd) {
    const int32_t n = static_cast<int32_t>(out.size());
    Count cp = 0, cn = 0;
    for (int32_t k = 0; k < n; ++k) {
        meter.Step(k);
        const int32_t s = sound.GetSample(k);
        if (s >= t) {
            out[k] = k == 0 ? 0 : static_cast<int16_t>(out[k - 1] + (t - out[k - 1]) / d);
            cp += 1;
        }
        if (s <= -t) {
            // The last frame is zeroed only on a negative clip.
            out[k] = (k == 0 || k == n - 1) ? 0
                                            : static_cast<int16_t>(out[k - 1] + (-t - out[k - 1]) / d);
            cn += 1;
        }
        if (s < t && s > -t) {
            if (k + w - 1 < n) {
                for (int32_t l = k; l <= k + w - 1; ++l) out[l] = sound.GetSample(l);
            } else {
                out[k] = static_cast<int16_t>(s);
            }
        }
        if (k >= 1) {
            const int32_t prev = sound.GetSample(k - 1);
            if (prev >= t && s < t) runEnd(k, t, cp, 1);
            if (prev <= -t && s > -t) runEnd(k, -t, cn, -1);
        }
    }
}

} // namespace sonafex
