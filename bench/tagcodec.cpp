// Reading tag and first frame header of 10,000 small MP3 files in one folder,
// beside mp3info printing the same facts for the same files.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/TempDir.h"
#include "tag_editor/logic/TagCodec.h"

using namespace velmora;

namespace {

constexpr int kFiles = 10000;

struct Folder {
    wb::TempDir dir{"bench-mp3"};
    std::vector<std::string> files;
    Folder() {
        // A real encoder's file when lame is there, else a bare frame header.
        std::string audio;
        std::string src = dir / "seed.mp3";
        if (std::system(("sox -n -r 44100 -c 2 " + dir / "seed.wav" + " synth 1 sine 440 2>/dev/null && "
                         "lame --quiet -b 128 " + dir / "seed.wav" + " " + src + " 2>/dev/null").c_str()) == 0) {
            std::ifstream in(src, std::ios::binary);
            audio.assign(std::istreambuf_iterator<char>(in), {});
        }
        if (audio.empty()) {
            audio = "\xFF\xFB\x90\x44";
            audio.resize(16000, '\x55');
        }
        std::remove(src.c_str());
        std::remove((dir / "seed.wav").c_str());
        TTagInfo tag;
        tag.Artist = "Bench Artist";
        tag.Album = "Bench Album";
        tag.Genre = 17;
        for (int i = 0; i < kFiles; ++i) {
            std::string name = dir / (std::to_string(i) + " Track.mp3");
            std::ofstream(name, std::ios::binary).write(audio.data(), std::streamsize(audio.size()));
            tag.Song = "Song " + std::to_string(i);
            tag.Track = static_cast<uint8_t>(i % 255 + 1);
            WriteTag(name, tag);
            files.push_back(name);
        }
    }
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

void BM_ReadTagAndHeader(benchmark::State& state) {
    auto& f = TheFolder();
    int64_t sum = 0;
    for (auto _ : state) {
        for (const auto& name : f.files) {
            TTagInfo t = ReadTag(name);
            sum += t.Mpeg.Bitrate + t.Track;
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ReadTagAndHeader)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Mp3info(benchmark::State& state) {
    auto& f = TheFolder();
    if (std::system("command -v mp3info >/dev/null 2>&1") != 0) {
        state.SkipWithError("mp3info is not installed");
        return;
    }
    std::string cmd = "cd " + f.dir.Path() + " && mp3info -p '%t|%a|%l|%y|%n|%G|%v|%L|%o|%r|%q|%S\\n' -- *.mp3 >/dev/null";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("mp3info failed");
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_Mp3info)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
