#pragma once
// "Convert to mono": averages the two channels of a stereo file into one.
#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"

namespace sonafex {

class StereoToMono {
public:
    // Throws std::invalid_argument, leaving the file as it was, unless the file
    // has exactly two channels.
    StereoToMono(SoundFile& sound, wb::Progress& progress);
};

} // namespace sonafex
