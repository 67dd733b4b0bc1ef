// Sorting 100,000 grid rows of mixed text and numbers, beside std::stable_sort
// of the same keys as the reference.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tag_editor/controls/grid/VlSortGrd.h"

using namespace velmora;

namespace {

constexpr int kRows = 100000;

struct Data {
    std::vector<std::string> mixed, numbers, names;
};

const Data& Rows() {
    static const Data data = [] {
        Data d;
        std::mt19937 rng(42);
        const char* words[] = {"night", "Paper", "glass", "Harbour", "low", "Tide", "copper", "sky"};
        for (int i = 0; i < kRows; ++i) {
            int n = int(rng() % 100000);
            // Half numbers, half text, some of it starting with digits.
            switch (rng() % 4) {
            case 0: d.mixed.push_back(std::to_string(n)); break;
            case 1: d.mixed.push_back(std::to_string(n % 1000) + "." + std::to_string(rng() % 100)); break;
            case 2: d.mixed.push_back(std::string(words[rng() % 8]) + " " + std::to_string(n)); break;
            default: d.mixed.push_back(std::to_string(n % 50) + " " + words[rng() % 8]); break;
            }
            d.numbers.push_back(std::to_string(n) + (n % 3 ? ".5" : ""));
            d.names.push_back(words[n % 8]);
        }
        return d;
    }();
    return data;
}

void FillGrid(TVlSortGrid& grid) {
    const Data& d = Rows();
    grid.SetColCount(3);
    grid.SetRowCount(kRows + 1);
    for (int r = 0; r < kRows; ++r) {
        grid.SetCells(0, r + 1, d.mixed[r]);
        grid.SetCells(1, r + 1, d.numbers[r]);
        grid.SetCells(2, r + 1, d.names[r]);
    }
}

void SortGridColumn(benchmark::State& state, int col) {
    TVlSortGrid grid;
    TSortOptions options;  // detect the kind, ascending, not case-sensitive
    for (auto _ : state) {
        state.PauseTiming();
        FillGrid(grid);
        state.ResumeTiming();
        grid.SortColumn(col, options);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_GridSortMixedColumn(benchmark::State& state) { SortGridColumn(state, 0); }
void BM_GridSortNumericColumn(benchmark::State& state) { SortGridColumn(state, 1); }

// The sort of the keys alone, without detection and row moves.
void BM_SortEntriesMixed(benchmark::State& state) {
    TSortOptions options;
    options.SortKind = skText;
    wb::FormatSettings fs;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<TSortedListEntry> entries;
        for (int r = 0; r < kRows; ++r) entries.push_back({Rows().mixed[r], r + 1});
        state.ResumeTiming();
        SortEntries(entries, options, fs);
        benchmark::DoNotOptimize(entries.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The reference: std::stable_sort of the same (upper-cased) texts.
void BM_StdStableSortMixed(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::string> keys = Rows().mixed;
        for (auto& k : keys) UpperAscii(k);
        state.ResumeTiming();
        std::stable_sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The reference for numbers: the same texts read once, then std::stable_sort.
void BM_StdStableSortNumeric(benchmark::State& state) {
    wb::FormatSettings fs;
    for (auto _ : state) {
        std::vector<double> keys(kRows);
        for (int r = 0; r < kRows; ++r) wb::TryStrToFloat(Rows().numbers[r], keys[r], fs);
        std::stable_sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_GridSortMixedColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdStableSortMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortEntriesMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortNumericColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdStableSortNumeric)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
