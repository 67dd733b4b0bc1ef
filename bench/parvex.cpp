// Throughput of a split plus a join of a 1 GiB file, and of the same work done
// by the system's split -b and cat, in one run on the same file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "file_splitter/PieceFiles.h"
#include "platform/base/File.h"

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

void BM_ParvexSplitJoin(benchmark::State& state) {
    Workspace& w = Work();
    const std::string first = (w.dir / "piece.brk").string();
    const std::string joined = (w.dir / "joined.bin").string();
    for (auto _ : state) {
        parvex::SplitFile({w.source, first, kSize, kPiece});
        parvex::FirstPiece piece;
        if (parvex::ReadFirstPiece(first, piece) != parvex::FirstPieceStatus::Ok ||
            parvex::AssemblePieces(piece, joined) != 0) {
            state.SkipWithError("join failed");
            break;
        }
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
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("split or cat failed");
            break;
        }
        state.PauseTiming();
        w.Clean();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize * 2));
}

} // namespace

// Wall-clock time: the system tools run in child processes. The two
// alternate so page-cache write-back weighs on both alike.
BENCHMARK(BM_ParvexSplitJoin)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SystemSplitCat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ParvexSplitJoin)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SystemSplitCat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
