#include "effects_workbench/Normalizer.h"

#include "effects_workbench/Amplifier.h"
#include "effects_workbench/Amplifier2.h"

namespace sonafex {

Normalizer::Normalizer(SoundFile& sound, wb::Progress& progress) {
    StateMeter meter(progress, sound.GetFrameCount());
    // The bar moves during the normalising pass only.
    peak_ = FindPeak(sound, nullptr);
    ApplyFactor(sound, static_cast<float>(32767.0L / peak_), meter);
}

} // namespace sonafex
