#pragma once
// "Freak Distortion": limits samples at the level, halves the end of every
// clipped run towards it and adds a sine-modulated Gaussian around the end.
#include <cstdint>

#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"

namespace sonafex {

class Distortion3 {
public:
    // level 1..32000, depth 1..25000, width 1..16; the whole effect runs here.
    Distortion3(SoundFile& sound, int32_t level, int32_t depth, int32_t width,
                wb::Progress& progress);
};

} // namespace sonafex
