#include "effects_workbench/Stereotomono.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "effects_workbench/Statemeter.h"

namespace sonafex {

StereoToMono::StereoToMono(SoundFile& sound, wb::Progress& progress) {
    if (sound.GetChannels() != 2) {
        throw std::invalid_argument("Only a stereo file can be converted to mono; this one has " +
                                    std::to_string(sound.GetChannels()) + " channels");
    }
    const int32_t n = sound.GetFrameCount();
    StateMeter meter(progress, n);
    std::vector<int16_t> out(n > 0 ? n : 0);
    for (int32_t i = 0; i < n; ++i) {
        meter.Step(i);
        const int32_t sum = sound.GetSample(int64_t{i} * 2) + sound.GetSample(int64_t{i} * 2 + 1);
        out[i] = static_cast<int16_t>(sum / 2);
    }
    sound.ReplaceData(std::move(out));
    // The data size is what was written, even when the stereo size was ragged.
    sound.SetDataSize(n > 0 ? n * 2 : 0);
    sound.SetChannels(1);
    sound.UpdateBlockAlign();
    sound.UpdateByteRate();
}

} // namespace sonafex
