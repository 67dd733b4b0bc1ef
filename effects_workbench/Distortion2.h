#pragma once
// "Warm Distortion2": limits samples at the level, halves the end of every
// clipped run towards it and carves a Gaussian bump around the run's end.
#include <cstdint>

#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"

namespace sonafex {

class Distortion2 {
public:
    // level 1..32000, shape 1..25000, width 1..8; the whole effect runs here.
    Distortion2(SoundFile& sound, int32_t level, int32_t shape, int32_t width,
                wb::Progress& progress);
};

} // namespace sonafex
