// Throughput of the live update's download (the HTTP client streaming to
// disk) and of curl -o on the same file from the same loopback server, in
// rounds that alternate between the two. Run with --fetch URL FILE it does
// one download and ends, so its peak memory can be read by /usr/bin/time.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/net/HttpClient.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kSize = 200ull << 20;

struct Site {
    fs::path dir;
    QProcess server;
    uint16_t port = 0;
    Site() {
        dir = fs::temp_directory_path() / ("update-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir / "site");
        std::ofstream out(dir / "site" / "archive.zip", std::ios::binary);
        std::vector<char> block(1 << 20);
        std::mt19937 rng(7);
        for (auto& c : block) c = char(rng());
        for (uint64_t done = 0; done < kSize; done += block.size()) out.write(block.data(), std::streamsize(block.size()));
        out.close();
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
        probe.close();
        server.start("python3", {"-m", "http.server", QString::number(port), "--bind", "127.0.0.1", "--directory",
                                 QString::fromStdString((dir / "site").string())});
        for (int i = 0; i < 200; ++i) {
            QTcpSocket s;
            s.connectToHost("127.0.0.1", port);
            if (s.waitForConnected(50)) break;
            QThread::msleep(25);
        }
    }
    ~Site() {
        server.kill();
        server.waitForFinished(2000);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port) + "/archive.zip"; }
};

Site& TheSite() {
    static Site site;
    return site;
}

void BM_HttpClientDownload(benchmark::State& state) {
    Site& s = TheSite();
    const std::string target = (s.dir / "ours.zip").string();
    for (auto _ : state) {
        wb::net::HttpClient client;
        const auto out = client.Get(s.Url(), target);
        if (!out.Ok()) state.SkipWithError(out.message.c_str());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kSize));
}

void BM_CurlDownload(benchmark::State& state) {
    Site& s = TheSite();
    const std::string cmd = "curl -s -o '" + (s.dir / "curl.zip").string() + "' '" + s.Url() + "'";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("curl failed (is it installed?)");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kSize));
}


} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--fetch") {
        wb::net::HttpClient client;
        const auto out = client.Get(argv[2], argv[3]);
        return out.Ok() ? 0 : 1;
    }
    // Alternating rounds, so that a busy moment of the machine hits both alike.
    for (int round = 1; round <= 5; ++round) {
        const std::string n = "/round:" + std::to_string(round);
        benchmark::RegisterBenchmark(("HttpClientDownload" + n).c_str(), BM_HttpClientDownload)
            ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
        benchmark::RegisterBenchmark(("CurlDownload" + n).c_str(), BM_CurlDownload)
            ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
