#pragma once
// "Gain2 (abs)" and "Find Peak": scales the file so that its peak lands at
// the gain slider's share of full scale, or only finds the peak.
#include <cstdint>
#include <string>

#include "effects_workbench/Statemeter.h"
#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"

namespace sonafex {

// The largest magnitude of any sample, at least 1 (-32768 counts as 32768).
// Steps the meter once per sample when one is given.
int32_t FindPeak(const SoundFile& sound, StateMeter* meter);

// The result line of "Find Peak".
std::string PeakText(int32_t peak);

class Amplifier2 {
public:
    // position 0..10000 of the gain slider: peak search, then the gain.
    Amplifier2(SoundFile& sound, int32_t position, wb::Progress& progress);
    // Peak search only.
    Amplifier2(SoundFile& sound, wb::Progress& progress);

    int32_t Peak() const { return peak_; }

private:
    int32_t peak_ = 1;
};

} // namespace sonafex
