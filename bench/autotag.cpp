// Autotag of a folder of 99 files from a 99-track list (tags, file renames,
// the folder rename and the playlist), beside writing the same 99 tags with
// id3tool and renaming with mv from a shell loop, in alternating rounds.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "tag_editor/logic/Autotag.h"
#include "tag_editor/logic/TagList.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

constexpr int kFiles = 99;

struct Quiet : AutotagHost {
    void Message(const std::string&, wb::gui::MsgKind) override {}
    std::optional<std::string> AskPlaylistPath(const wb::gui::OpenFileOptions&) override { return std::nullopt; }
    void SetRunning(bool) override {}
    void FolderRenamed(const std::string&) override {}
    std::vector<std::string> RereadFileList(const std::string& folder) override {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().extension() == ".mp3") names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

std::string Number(int i) { return (i < 10 ? "0" : "") + std::to_string(i); }

struct Work {
    fs::path dir, seed, list, script;
    Work() {
        dir = fs::temp_directory_path() / ("autotag-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        seed = dir / "seed.mp3";
        const std::string cmd = "head -c 88200 /dev/zero | lame --quiet -r --bitwidth 16 -s 44.1 -m m -b 64 - '" +
                                seed.string() + "'";
        if (std::system(cmd.c_str()) != 0) throw std::runtime_error("lame could not make the seed file");
        TTagList l;
        l.Artist = "Band";
        l.AlbumName = "Record";
        l.Year = "1999";
        l.Genre = "Rock";
        for (int i = 1; i <= kFiles; ++i) l.Tracks.push_back({"", "Song " + std::to_string(i)});
        fs::create_directories(dir / "Tags");
        list = SaveTagList((dir / "Tags").string(), l);
        script = dir / "shell.sh";
        std::FILE* f = std::fopen(script.c_str(), "w");
        std::fputs("cd \"$1\" || exit 1\n"
                   "for i in $(seq -w 1 99); do n=$((10#$i)); f=\"$i track.mp3\"\n"
                   "  id3tool -t \"Song $n\" -r Band -a Record -y 1999 -c $n -G Rock \"$f\" >/dev/null || exit 1\n"
                   "  mv \"$f\" \"$i. Band - Song $n.mp3\" || exit 1\n"
                   "done\n",
                   f);
        std::fclose(f);
    }
    ~Work() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // A fresh folder of numbered copies of the seed.
    fs::path Folder(const std::string& name) {
        fs::path f = dir / name;
        fs::remove_all(f);
        fs::create_directories(f);
        for (int i = 1; i <= kFiles; ++i) fs::copy_file(seed, f / (Number(i) + " track.mp3"));
        return f;
    }
};

Work& TheWork() {
    static Work w;
    return w;
}

void BM_Autotag(benchmark::State& state) {
    Work& w = TheWork();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path folder = w.Folder("album");
        Quiet host;
        std::vector<std::string> names = host.RereadFileList(folder.string());
        state.ResumeTiming();
        AutotagOptions options;
        const AutotagResult r = AutoTag(host, folder.string(), names, w.list.string(), options);
        if (r.Written != kFiles) state.SkipWithError("Autotag did not tag every file");
        state.PauseTiming();
        fs::remove_all(r.Folder);
        state.ResumeTiming();
    }
}

void BM_Id3toolAndMv(benchmark::State& state) {
    Work& w = TheWork();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path folder = w.Folder("shell");
        state.ResumeTiming();
        const std::string cmd = "bash '" + w.script.string() + "' '" + folder.string() + "'";
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("id3tool or mv failed");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::system("command -v lame >/dev/null && command -v id3tool >/dev/null") != 0) {
        std::fprintf(stderr, "bench_autotag needs lame and id3tool (scripts/setup installs them)\n");
        return 0;
    }
    // Alternating rounds, so that a busy moment of the machine hits both alike.
    for (int round = 1; round <= 5; ++round) {
        const std::string n = "/round:" + std::to_string(round);
        benchmark::RegisterBenchmark(("Autotag" + n).c_str(), BM_Autotag)
            ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
        benchmark::RegisterBenchmark(("Id3toolAndMv" + n).c_str(), BM_Id3toolAndMv)
            ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
