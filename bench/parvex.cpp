// Throughput of a split plus a join of a 1 GiB file, and of the same work done
// by the system's split -b and cat, in one run on the same file; and how long
// the GUI event loop goes unserved at most while a 1 GiB split runs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "file_splitter/PieceFiles.h"
#include "platform/base/File.h"
#include "platform/gui/EventLoop.h"
#include "platform/gui/ScreenInfo.h"
#include "platform/gui/Timer.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kSize = 1ull << 30;
constexpr uint64_t kPiece = 16ull << 20;  // 65 pieces with the header

struct Workspace {
    fs::path dir;
    std::string source;
    Workspace() {
        const char* base = std::getenv("PARVEX_BENCH_DIR");
        dir = fs::path(base ? base : fs::temp_directory_path().string()) /
              ("parvex-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        source = (dir / "source.bin").string();
        wb::File file(source, wb::File::Mode::CreateNew);
        std::vector<uint64_t> block(1 << 17);
        std::mt19937_64 rng(42);
        for (uint64_t done = 0; done < kSize; done += block.size() * 8) {
            for (auto& w : block) w = rng();
            file.Write(block.data(), block.size() * 8);
        }
        file.Close();
    }
    ~Workspace() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    void Clean() {
        for (auto& entry : fs::directory_iterator(dir))
            if (entry.path() != source) fs::remove_all(entry.path());
    }
};

Workspace& Work() {
    static Workspace work;
    return work;
}

// Seconds per iteration of each contender, over all rounds, for the medians.
std::map<std::string, std::vector<double>>& Times() {
    static std::map<std::string, std::vector<double>> times;
    return times;
}

class Stopwatch {
public:
    explicit Stopwatch(const char* name) : name_(name), start_(std::chrono::steady_clock::now()) {}
    void Pause() { Times()[name_].push_back(Elapsed()); }
    void Resume() { start_ = std::chrono::steady_clock::now(); }

private:
    double Elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    const char* name_;
    std::chrono::steady_clock::time_point start_;
};

void BM_ParvexSplitJoin(benchmark::State& state) {
    Workspace& w = Work();
    const std::string first = (w.dir / "piece.brk").string();
    const std::string joined = (w.dir / "joined.bin").string();
    Stopwatch watch("parvex");
    for (auto _ : state) {
        watch.Resume();
        parvex::SplitFile({w.source, first, kSize, kPiece});
        parvex::FirstPiece piece;
        if (parvex::ReadFirstPiece(first, piece) != parvex::FirstPieceStatus::Ok ||
            parvex::AssemblePieces(piece, joined) != 0) {
            state.SkipWithError("join failed");
            break;
        }
        watch.Pause();
        state.PauseTiming();
        w.Clean();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize * 2));
}

void BM_SystemSplitCat(benchmark::State& state) {
    Workspace& w = Work();
    const std::string cmd = "cd '" + w.dir.string() + "' && split -b " + std::to_string(kPiece) +
                            " source.bin piece. && cat piece.* > joined.bin";
    Stopwatch watch("split+cat");
    for (auto _ : state) {
        watch.Resume();
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("split or cat failed");
            break;
        }
        watch.Pause();
        state.PauseTiming();
        w.Clean();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize * 2));
}

// A split as the window runs it, serving the event loop; a timer of 10 ms
// notes the longest time between two of its ticks (and from the start to
// the first, and from the last to the end).
std::vector<double>& Gaps() {
    static std::vector<double> gaps;
    return gaps;
}

void BM_ParvexSplitServed(benchmark::State& state) {
    Workspace& w = Work();
    const std::string first = (w.dir / "piece.brk").string();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    wb::gui::EnsureGuiApplication();
    using Clock = std::chrono::steady_clock;
    Clock::time_point last;
    double longest = 0;
    auto note = [&] {
        const auto now = Clock::now();
        longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    };
    wb::gui::Timer timer;
    timer.SetInterval(10);
    timer.SetOnTimer([&](wb::Persistent*) { note(); });
    parvex::CopyEvents events;
    events.serve = [] { wb::gui::ServeWindows(); };
    for (auto _ : state) {
        longest = 0;
        last = Clock::now();
        parvex::SplitFile({w.source, first, kSize, kPiece}, events);
        note();
        state.PauseTiming();
        Gaps().push_back(longest);
        state.counters["longest_gap_ms"] = longest;
        w.Clean();
        state.ResumeTiming();
    }
    timer.SetEnabled(false);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

// Wall-clock time: the system tools run in child processes. The two
// alternate round by round, so page-cache write-back weighs on both alike;
// the summary gives the medians over all rounds.
int main(int argc, char** argv) {
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        benchmark::RegisterBenchmark("BM_ParvexSplitJoin", BM_ParvexSplitJoin)
            ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
        benchmark::RegisterBenchmark("BM_SystemSplitCat", BM_SystemSplitCat)
            ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
        benchmark::RegisterBenchmark("BM_ParvexSplitServed", BM_ParvexSplitServed)
            ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double ours = Median(Times()["parvex"]), theirs = Median(Times()["split+cat"]);
    const double mib = 2.0 * kSize / (1 << 20);
    std::printf("median of %zu rounds: parvex %.0f MiB/s, split -b + cat %.0f MiB/s, ratio %.2fx\n",
                Times()["parvex"].size(), mib / ours, mib / theirs, theirs / ours);
    if (!Gaps().empty())
        std::printf("event loop unserved during a 1 GiB split: at most %.1f ms"
                    " (median of the rounds' longest %.1f ms)\n",
                    *std::max_element(Gaps().begin(), Gaps().end()), Median(Gaps()));
    return 0;
}
