#pragma once
// "Warm Distortion1": limits samples at the level and bends the end of every
// clipped run back towards the level by repeated division.
#include <cstdint>

#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"

namespace sonafex {

class Distortion {
public:
    // level 1..32000, shape 1..25000; the whole effect runs here.
    Distortion(SoundFile& sound, int32_t level, int32_t shape, wb::Progress& progress);
};

} // namespace sonafex
