#pragma once
// The playable content of a WAVE file: 16-bit PCM frames and their format.
#include <cstdint>
#include <string>
#include <vector>

namespace wb::media {

struct WaveData {
    unsigned channels = 0;
    unsigned rate = 0;
    std::vector<int16_t> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / channels : 0; }
};

// Reads the format and data chunks. Throws wb::IoError when the file cannot
// be read and std::runtime_error when it holds no 16-bit PCM data to play.
WaveData ReadWaveData(const std::string& fileName);

} // namespace wb::media
