#pragma once
// Helpers for the workbench tests: a recording progress bar, a byte-level WAV
// builder for well-formed and lying files, and sounds made from samples.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "effects_workbench/Waveformat.h"
#include "platform/base/Progress.h"
#include "platform/base/TempDir.h"
#include "platform/testing/Bytes.h"

namespace sonafex::test {

class RecordingProgress : public wb::Progress {
public:
    explicit RecordingProgress(int max = 23) : max_(max) {}
    void SetVisible(bool visible) override { visibility.push_back(visible); }
    int Max() const override { return max_; }
    void SetPosition(int position) override { positions.push_back(position); }

    std::vector<bool> visibility;
    std::vector<int> positions;

private:
    int max_;
};

using wb::test::Bytes;
using wb::test::ReadBytes;
using wb::test::WriteBytes;

inline void Add16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
inline void Add32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
inline void AddId(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(id[i]));
}

struct Format {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 44100;
    uint32_t byteRate = 88200;
    uint16_t blockAlign = 2;
    uint16_t bits = 16;
};

// RIFF header and a format chunk whose stored size is formatSize (the body is
// padded with zeros beyond the 16 standard bytes).
inline Bytes Header(const Format& f = {}, uint32_t formatSize = 16) {
    Bytes b;
    AddId(b, "RIFF");
    Add32(b, 0);  // filled by Finish
    AddId(b, "WAVE");
    AddId(b, "fmt ");
    Add32(b, formatSize);
    Add16(b, f.tag);
    Add16(b, f.channels);
    Add32(b, f.rate);
    Add32(b, f.byteRate);
    Add16(b, f.blockAlign);
    Add16(b, f.bits);
    for (uint32_t i = 16; i < formatSize; ++i) b.push_back(0);
    if (formatSize & 1) b.push_back(0);
    return b;
}

// A chunk with its pad byte when the body is odd.
inline void AddChunk(Bytes& b, const char* id, const Bytes& body) {
    AddId(b, id);
    Add32(b, static_cast<uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
}

inline Bytes SampleBytes(const std::vector<int16_t>& samples) {
    Bytes b;
    for (int16_t s : samples) Add16(b, static_cast<uint16_t>(s));
    return b;
}

inline void Finish(Bytes& b) {
    const auto riff = static_cast<uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<unsigned char>(riff >> (8 * i));
}

inline Bytes MonoFile(const std::vector<int16_t>& samples, uint32_t rate = 44100) {
    Format f;
    f.rate = rate;
    f.byteRate = rate * 2;
    Bytes b = Header(f);
    AddChunk(b, "data", SampleBytes(samples));
    Finish(b);
    return b;
}

inline Bytes StereoFile(const std::vector<int16_t>& interleaved, uint32_t rate = 44100) {
    Format f;
    f.channels = 2;
    f.rate = rate;
    f.blockAlign = 4;
    f.byteRate = rate * 4;
    Bytes b = Header(f);
    AddChunk(b, "data", SampleBytes(interleaved));
    Finish(b);
    return b;
}

// A 16-bit mono SoundFile holding these samples.
inline SoundFile Mono(const std::vector<int16_t>& samples) {
    wb::TempDir dir("sonafex-test");
    const std::string path = dir / "in.wav";
    WriteBytes(path, MonoFile(samples));
    return SoundFile(path);
}

inline SoundFile Stereo(const std::vector<int16_t>& interleaved) {
    wb::TempDir dir("sonafex-test");
    const std::string path = dir / "in.wav";
    WriteBytes(path, StereoFile(interleaved));
    return SoundFile(path);
}

inline std::vector<int16_t> Samples(const SoundFile& sound) {
    std::vector<int16_t> out;
    for (int64_t i = 0; i < sound.HeldSamples(); ++i) out.push_back(sound.GetSample(i));
    return out;
}

inline std::vector<int16_t> Negated(const std::vector<int16_t>& v) {
    std::vector<int16_t> out;
    for (int16_t s : v) out.push_back(static_cast<int16_t>(-s));
    return out;
}

} // namespace sonafex::test
