// Every effect over a 10-minute 44.1 kHz mono file (and its stereo twin for
// the conversion), in memory and file to file, beside sox's "vol" and "norm"
// on the same file. Rates are samples per second (items_per_second).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "effects_workbench/Amplifier.h"
#include "effects_workbench/Amplifier2.h"
#include "effects_workbench/Distortion.h"
#include "effects_workbench/Distortion2.h"
#include "effects_workbench/Distortion3.h"
#include "effects_workbench/Normalizer.h"
#include "effects_workbench/Resampler.h"
#include "effects_workbench/Rms.h"
#include "effects_workbench/Stereotomono.h"
#include "effects_workbench/Waveformat.h"

using namespace sonafex;

namespace {

constexpr int kRate = 44100;
constexpr int64_t kFrames = int64_t{kRate} * 600;

class NoBar : public wb::Progress {
public:
    void SetVisible(bool) override {}
    int Max() const override { return 23; }
    void SetPosition(int) override {}
};

void Put(std::ofstream& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(v >> (8 * i)));
}

// Music-like material: a few partials with a slow swell and some noise, so
// that the distortions clip runs of many lengths.
void WriteTestFile(const std::string& path, int channels) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t bytes = static_cast<uint32_t>(kFrames * channels * 2);
    out.write("RIFF", 4);
    Put(out, 36 + bytes, 4);
    out.write("WAVEfmt ", 8);
    Put(out, 16, 4);
    Put(out, 1, 2);
    Put(out, channels, 2);
    Put(out, kRate, 4);
    Put(out, kRate * channels * 2, 4);
    Put(out, channels * 2, 2);
    Put(out, 16, 2);
    out.write("data", 4);
    Put(out, bytes, 4);
    std::mt19937 gen(7);
    std::normal_distribution<double> noise(0, 300);
    std::vector<char> buf;
    buf.reserve(1 << 20);
    for (int64_t i = 0; i < kFrames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double swell = 0.55 + 0.45 * std::sin(2 * std::numbers::pi * 0.1 * t);
        for (int c = 0; c < channels; ++c) {
            double v = swell * (9000 * std::sin(2 * std::numbers::pi * (220 + 3 * c) * t) +
                                5000 * std::sin(2 * std::numbers::pi * 331 * t) +
                                3000 * std::sin(2 * std::numbers::pi * 1187 * t)) +
                       noise(gen);
            const auto s = static_cast<int16_t>(std::lround(std::fmax(-32768, std::fmin(32767, v))));
            buf.push_back(static_cast<char>(s));
            buf.push_back(static_cast<char>(static_cast<uint16_t>(s) >> 8));
        }
        if (buf.size() >= (1 << 20)) {
            out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
            buf.clear();
        }
    }
    out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
}

struct Files {
    std::string dir, mono, stereo, out;
    std::unique_ptr<SoundFile> monoSound, stereoSound;

    Files() {
        dir = (std::filesystem::temp_directory_path() / "sonafex-bench").string();
        std::filesystem::create_directories(dir);
        mono = dir + "/mono10min.wav";
        stereo = dir + "/stereo10min.wav";
        out = dir + "/out.wav";
        WriteTestFile(mono, 1);
        WriteTestFile(stereo, 2);
        monoSound = std::make_unique<SoundFile>(mono);
        stereoSound = std::make_unique<SoundFile>(stereo);
    }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Files& TestFiles() {
    static Files files;
    return files;
}

// Runs an effect on a fresh copy of the file each iteration; only the effect is timed.
template <typename Effect>
void InMemory(benchmark::State& state, bool stereo, Effect effect) {
    const SoundFile& master = stereo ? *TestFiles().stereoSound : *TestFiles().monoSound;
    NoBar bar;
    for (auto _ : state) {
        state.PauseTiming();
        SoundFile sound = master;
        state.ResumeTiming();
        effect(sound, bar);
        benchmark::DoNotOptimize(sound.GetSample(12345));
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}

// Reading the file, the effect and saving the result: what sox does.
template <typename Effect>
void FileToFile(benchmark::State& state, Effect effect) {
    NoBar bar;
    for (auto _ : state) {
        SoundFile sound(TestFiles().mono);
        effect(sound, bar);
        sound.Save(TestFiles().out);
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}

void Sox(benchmark::State& state, const std::string& options) {
    if (std::system("sox --version >/dev/null 2>&1") != 0) {
        state.SkipWithError("sox is not installed");
        return;
    }
    const std::string cmd = "sox " + options.substr(0, options.find('|')) + " " + TestFiles().mono +
                            " " + TestFiles().out + " " + options.substr(options.find('|') + 1);
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError(("failed: " + cmd).c_str());
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}

// Gain 50 % (slider position 9025) to match sox's "vol 0.5".
void BM_Gain1(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Amplifier(f, 9025, b); }); }
void BM_Gain2(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Amplifier2(f, 8100, b); }); }
void BM_Normalize(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Normalizer(f, b); }); }
void BM_FindPeak(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Amplifier2(f, b); }); }
void BM_FindRms(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { RMS(f, b); }); }
void BM_WarmDistortion1(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Distortion(f, 8000, 10000, b); }); }
void BM_WarmDistortion2(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Distortion2(f, 8000, 10000, 1, b); }); }
void BM_FreakDistortion(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Distortion3(f, 8000, 10000, 1, b); }); }
void BM_LoFi1(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Resampler(f, 8, 20, b); }); }
void BM_LoFi2(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Resampler(f, 4, 20, b); }); }
void BM_LoFi3(benchmark::State& s) { InMemory(s, false, [](SoundFile& f, wb::Progress& b) { Resampler(f, 2, 20, b); }); }
void BM_StereoToMono(benchmark::State& s) { InMemory(s, true, [](SoundFile& f, wb::Progress& b) { StereoToMono(f, b); }); }

void BM_Gain1FileToFile(benchmark::State& s) { FileToFile(s, [](SoundFile& f, wb::Progress& b) { Amplifier(f, 9025, b); }); }
void BM_NormalizeFileToFile(benchmark::State& s) { FileToFile(s, [](SoundFile& f, wb::Progress& b) { Normalizer(f, b); }); }
void BM_SoxVol(benchmark::State& s) { Sox(s, "|vol 0.5"); }
void BM_SoxNorm(benchmark::State& s) { Sox(s, "|norm"); }
// Without dither, which our gain does not add either.
void BM_SoxVolNoDither(benchmark::State& s) { Sox(s, "-D|vol 0.5"); }
void BM_SoxNormNoDither(benchmark::State& s) { Sox(s, "-D|norm"); }

} // namespace

#define EFFECT(fn) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()
EFFECT(BM_Gain1);
EFFECT(BM_Gain2);
EFFECT(BM_Normalize);
EFFECT(BM_FindPeak);
EFFECT(BM_FindRms);
EFFECT(BM_WarmDistortion1);
EFFECT(BM_WarmDistortion2);
EFFECT(BM_FreakDistortion);
EFFECT(BM_LoFi1);
EFFECT(BM_LoFi2);
EFFECT(BM_LoFi3);
EFFECT(BM_StereoToMono);
EFFECT(BM_Gain1FileToFile);
EFFECT(BM_NormalizeFileToFile);
EFFECT(BM_SoxVol);
EFFECT(BM_SoxNorm);
EFFECT(BM_SoxVolNoDither);
EFFECT(BM_SoxNormNoDither);

BENCHMARK_MAIN();
