// Decoding a 100-frame 640 x 480 animation and a 4000 x 3000 still with
// TGIFImage, with giflib's DGifSlurp and with convert x.gif rgb:-, and
// reducing a 4000 x 3000 24-bit picture to 256 colours with the histogram
// quantizer and with convert -colors 256 +dither, in rounds that alternate
// between the tools. The files are made at start in a temporary folder.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "tag_editor/controls/pictures/VlGIF.h"
#include "tag_editor/controls/pictures/VlGraph.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

// Smooth bands with some noise, so the LZW strings are neither trivial nor random.
unsigned Shade(int x, int y, int frame, std::mt19937& rng) {
    return unsigned((x / 3 + y / 5 + frame * 7) + (rng() % 8 == 0 ? rng() % 16 : 0)) & 255;
}

TBitmap Indexed(int w, int h, int frame, std::mt19937& rng) {
    TBitmap b(w, h, pf8bit);
    for (int i = 0; i < 256; ++i)
        b.Palette[std::size_t(i)] = {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0};
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < w; ++x) row[x] = std::uint8_t(Shade(x, y, frame, rng));
    }
    return b;
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

struct Files {
    fs::path dir, anim, still, photo;
    Files() {
        dir = fs::temp_directory_path() / ("pictures-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        anim = dir / "anim.gif";
        still = dir / "still.gif";
        photo = dir / "photo.bmp";
        std::mt19937 rng(7);
        {
            TGIFImage gif;
            for (int f = 0; f < 100; ++f) gif.AddFrame(Indexed(640, 480, f, rng));
            WriteFile(anim, gif.SaveToBytes());
        }
        {
            TGIFImage gif;
            gif.AddFrame(Indexed(4000, 3000, 0, rng));
            WriteFile(still, gif.SaveToBytes());
        }
        // A 24-bit picture of many colours: three gradients and noise.
        TBitmap b(4000, 3000, pf24bit);
        for (int y = 0; y < 3000; ++y) {
            std::uint8_t* row = b.ScanLine(y);
            for (int x = 0; x < 4000; ++x) {
                const unsigned n = rng() % 24;
                row[3 * x] = std::uint8_t(x * 255 / 4000 + n);
                row[3 * x + 1] = std::uint8_t(y * 255 / 3000 + n);
                row[3 * x + 2] = std::uint8_t((x + y) * 255 / 7000 + n);
            }
        }
        WriteFile(photo, b.SaveToBytes());
        photoBitmap = std::move(b);
    }
    ~Files() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    TBitmap photoBitmap;
};

Files& TheFiles() {
    static Files files;
    return files;
}

const fs::path& Pick(int which) {
    Files& f = TheFiles();
    return which == 0 ? f.anim : f.still;
}

void BM_OursDecode(benchmark::State& state, int which) {
    const std::string path = Pick(which).string();
    for (auto _ : state) {
        TGIFImage gif;
        gif.LoadFromFile(path);
        for (int i = 0; i < gif.Count(); ++i) benchmark::DoNotOptimize(gif.Frames(i).Bitmap().Bits().data());
    }
}

void BM_GiflibDecode(benchmark::State& state, int which) {
    const std::string path = Pick(which).string();
    for (auto _ : state) {
        int error = 0;
        GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
        if (!gif || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib could not read the file");
        if (gif) DGifCloseFile(gif, &error);
    }
}

void RunTool(benchmark::State& state, const std::string& cmd) {
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) state.SkipWithError(("failed: " + cmd).c_str());
}

void BM_ConvertDecode(benchmark::State& state, int which) {
    RunTool(state, "convert '" + Pick(which).string() + "' rgb:- > /dev/null");
}

void BM_OursQuantize(benchmark::State& state) {
    const TBitmap& photo = TheFiles().photoBitmap;
    for (auto _ : state) benchmark::DoNotOptimize(ConvertTo8Bit(photo, pf8bit, rmHistogram).data());
}

void BM_ConvertQuantize(benchmark::State& state) {
    RunTool(state, "convert '" + TheFiles().photo.string() + "' +dither -colors 256 bmp:/dev/null");
}

} // namespace

int main(int argc, char** argv) {
    TheFiles();
    // Alternating rounds, so that a busy moment of the machine hits every tool alike.
    for (int round = 1; round <= 5; ++round) {
        const std::string n = "/round:" + std::to_string(round);
        for (int which : {0, 1}) {
            const std::string what = which == 0 ? "Anim100x640x480" : "Still4000x3000";
            benchmark::RegisterBenchmark(("OursDecode" + what + n).c_str(), BM_OursDecode, which)
                ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
            benchmark::RegisterBenchmark(("GiflibDecode" + what + n).c_str(), BM_GiflibDecode, which)
                ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
            benchmark::RegisterBenchmark(("ConvertDecode" + what + n).c_str(), BM_ConvertDecode, which)
                ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
        }
        benchmark::RegisterBenchmark(("OursQuantize4000x3000" + n).c_str(), BM_OursQuantize)
            ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
        benchmark::RegisterBenchmark(("ConvertQuantize4000x3000" + n).c_str(), BM_ConvertQuantize)
            ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
