// The main window over a folder of lame-made tagged files: selecting each
// file through the window's own handler (tag and header read, every box and
// the status line filled) beside mp3info printing the same facts, and
// pointing the file list at the folder beside `ls -l` of it. The pairs run in
// alternating rounds; the medians are printed at the end.
// VELMORA_BENCH_FILES sets the number of files (10,000 by default).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/TempDir.h"
#include "tag_editor/windows/ID3FileBox.h"
#include "tag_editor/windows/Main.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"

using namespace velmora;

namespace {

constexpr int kRounds = 5;

int FileCount() {
    const char* n = std::getenv("VELMORA_BENCH_FILES");
    return n && std::atoi(n) > 0 ? std::atoi(n) : 10000;
}

struct Folder {
    wb::TempDir dir{"bench-velmora"};
    wb::TempDir empty{"bench-velmora-empty"};
    wb::TempDir program{"bench-velmora-prog"};
    std::string music = dir.Path();
    int files = FileCount();
    Folder() {
        const std::string seed = dir / "seed.mp3";
        if (std::system(("head -c 176400 /dev/zero | lame --quiet -r --bitwidth 16 -s 44.1 -m j -b 128 - " + seed +
                         " 2>/dev/null").c_str()) != 0)
            throw std::runtime_error("lame could not make the seed file");
        std::ifstream in(seed, std::ios::binary);
        const std::string audio{std::istreambuf_iterator<char>(in), {}};
        std::remove(seed.c_str());
        TTagInfo tag;
        tag.Artist = "Bench Artist";
        tag.Album = "Bench Album";
        tag.Year = 2001;
        tag.Genre = 17;
        for (int i = 0; i < files; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "%05d Track.mp3", i);
            const std::string path = dir / name;
            std::ofstream(path, std::ios::binary).write(audio.data(), std::streamsize(audio.size()));
            tag.Song = "Song " + std::to_string(i);
            tag.Track = static_cast<uint8_t>(i % 255 + 1);
            WriteTag(path, tag);
        }
    }
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

std::unique_ptr<TID3Frm> window;  // goes before the application object

TID3Frm& TheWindow() {
    if (!window) {
        ::setenv("XDG_MUSIC_DIR", TheFolder().music.c_str(), 1);
        window = std::make_unique<TID3Frm>(TheFolder().program.Path());
        window->Show();
        QApplication::processEvents();
    }
    return *window;
}

std::map<std::string, std::vector<double>> seconds;

template <class Work>
void Round(benchmark::State& state, const std::string& name, int items, Work work) {
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        work();
        seconds[name].push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.SetItemsProcessed(state.iterations() * items);
}

void SelectEachFile(benchmark::State& state) {
    TID3Frm& f = TheWindow();
    TID3FileBox& box = *f.FileBox;
    const int n = box.Count();
    Round(state, "select each file (window)", n, [&] {
        for (int i = 0; i < n; ++i) box.SetItemIndex(i);
    });
    benchmark::DoNotOptimize(f.SongEdit->Text());
}

void Mp3infoEachFile(benchmark::State& state) {
    const std::string cmd = "cd " + TheFolder().music +
                            " && mp3info -p '%t|%a|%l|%y|%c|%n|%G|%v|%L|%o|%r|%Q|%S\\n' -- *.mp3 >/dev/null";
    Round(state, "mp3info, same facts", TheFolder().files, [&] {
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("mp3info failed");
    });
}

// The same facts with one mp3info run per file, as the window reads one
// file per selection.
void Mp3infoPerFile(benchmark::State& state) {
    const std::string cmd = "cd " + TheFolder().music +
                            " && for f in *.mp3; do mp3info -p '%t|%a|%l|%y|%c|%n|%G|%v|%L|%o|%r|%Q|%S\\n' -- \"$f\"; done"
                            " >/dev/null";
    Round(state, "mp3info, one run per file", TheFolder().files, [&] {
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("mp3info failed");
    });
}

void PointFileList(benchmark::State& state) {
    TID3FileBox& box = *TheWindow().FileBox;
    box.ChangeDirectory(TheFolder().empty.Path());
    Round(state, "point the file list at the folder", TheFolder().files, [&] {
        box.ChangeDirectory(TheFolder().music);
        state.PauseTiming();
        box.ChangeDirectory(TheFolder().empty.Path());
        state.ResumeTiming();
    });
    box.ChangeDirectory(TheFolder().music);
}

void LsL(benchmark::State& state) {
    const std::string cmd = "ls -l " + TheFolder().music + " >/dev/null";
    Round(state, "ls -l of the folder", TheFolder().files, [&] {
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("ls failed");
    });
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int qargc = 1;
    static char name[] = "bench_velmora";
    static char* qargv[] = {name, nullptr};
    QApplication app(qargc, qargv);
    if (std::system("command -v lame >/dev/null && command -v mp3info >/dev/null") != 0) {
        std::fprintf(stderr, "bench_velmora needs lame and mp3info (scripts/setup installs them)\n");
        return 1;
    }
    TheWindow();
    // Alternating rounds, each one pass over the whole folder.
    for (int r = 1; r <= kRounds; ++r) {
        const std::string round = "/round" + std::to_string(r);
        benchmark::RegisterBenchmark(("SelectEachFile" + round).c_str(), SelectEachFile)
            ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("Mp3infoEachFile" + round).c_str(), Mp3infoEachFile)
            ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("Mp3infoPerFile" + round).c_str(), Mp3infoPerFile)
            ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("PointFileList" + round).c_str(), PointFileList)
            ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("LsL" + round).c_str(), LsL)
            ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window.reset();
    std::printf("\nMedians of %d alternating rounds over %d files:\n", kRounds, TheFolder().files);
    for (const auto& [what, times] : seconds) {
        double m = Median(times);
        std::printf("  %-36s %9.1f ms  %10.0f files/s\n", what.c_str(), m * 1000, m > 0 ? TheFolder().files / m : 0);
    }
    return 0;
}
