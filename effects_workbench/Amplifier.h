#pragma once
// "Gain1 (rel)": multiplies every sample by the gain slider's percentage.
#include <cstdint>

#include "effects_workbench/Statemeter.h"
#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"

namespace sonafex {

// The gain slider's percentage: 1000 at position 0, 100 at 8100, 0 at 10000.
long double GainPercent(int32_t position);

// Multiplies every sample by factor, truncating toward zero; results beyond
// 16 bits wrap. The meter steps once per sample.
void ApplyFactor(SoundFile& sound, float factor, StateMeter& meter);

class Amplifier {
public:
    // position 0..10000 of the gain slider; the whole effect runs here.
    Amplifier(SoundFile& sound, int32_t position, wb::Progress& progress);

    float Factor() const { return factor_; }

private:
    float factor_;
};

} // namespace sonafex
