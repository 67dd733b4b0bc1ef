#pragma once
// Lo-fi: keeps every step-th sample and rebuilds those between from
// cosine-weighted steps towards the next kept one; the rate stays.
#include <cstdint>

#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"

namespace sonafex {

class Resampler {
public:
    // step 8, 4 or 2 ("LoFi1" to "LoFi3"); shape 1..20. The whole effect runs here.
    Resampler(SoundFile& sound, int32_t step, int32_t shape, wb::Progress& progress);
};

} // namespace sonafex
