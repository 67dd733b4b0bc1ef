#pragma once
// "Normalize": scales the file so that its peak becomes 32767.
#include <cstdint>

#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"

namespace sonafex {

class Normalizer {
public:
    Normalizer(SoundFile& sound, wb::Progress& progress);

    int32_t Peak() const { return peak_; }

private:
    int32_t peak_ = 1;
};

} // namespace sonafex
