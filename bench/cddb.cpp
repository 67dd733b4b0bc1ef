// 1,000 queued requests answered by a CDDBP server on loopback (hello, then
// query and read for each, quit): requests per second, with the time spent
// in the client's own code beside the time spent waiting on the socket.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <chrono>
#include <cstdio>
#include <memory>

#include "platform/base/TempDir.h"
#include "platform/net/ClientSocket.h"
#include "tag_editor/logic/CddbClient.h"
#include "tag_editor/logic/tests/CddbTestServer.h"

using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRequests = 1000;

class SocketHost : public TCddbClientHost {
public:
    explicit SocketHost(wb::net::ClientSocket& s) : socket(s) {}
    void Send(const std::string& command) override { socket.SendText(command); }
    void CloseConnection() override { socket.Close(); }
    void ReconnectLater() override { over = true; }
    void RunOver() override { over = true; }
    void ShowError(const std::string&) override { over = true; }
    int ChooseMatch(const std::vector<TCddbMatch>&) override { return 1; }
    wb::net::ClientSocket& socket;
    bool over = false;
};

// Answers every line at once, from the script.
class Server {
public:
    test::ScriptedCddbServer script;
    Server() {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* peer = server_.nextPendingConnection()) {
                auto buffer = std::make_shared<std::string>();
                QObject::connect(peer, &QTcpSocket::readyRead, peer, [this, peer, buffer] {
                    *buffer += peer->readAll().toStdString();
                    for (size_t end; (end = buffer->find("\r\n")) != std::string::npos;) {
                        for (auto& piece : script.Answer(buffer->substr(0, end + 2))) peer->write(piece.data(), qint64(piece.size()));
                        buffer->erase(0, end + 2);
                    }
                });
                QObject::connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
                for (auto& piece : script.greeting) peer->write(piece.data(), qint64(piece.size()));
            }
        });
    }
    uint16_t Port() const { return server_.serverPort(); }

private:
    QTcpServer server_;
};

void BM_CddbRequestsOnLoopback(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench_cddb";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    double ours = 0, total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        wb::TempDir tags("bench-cddb");
        Server server;
        TCddbRequests queue;
        const std::string entry = test::TwoTrackEntry();
        server.script.On(test::kHello, {"200 Hello and welcome.\r\n"});
        server.script.On("quit", {"230 Goodbye.\r\n"});
        for (int i = 0; i < kRequests; ++i) {
            // Distinct discs of two tracks each.
            TDiskInfoRec disc = VirtualDiscInfo({178 + i, 120});
            queue.Add(disc);
            server.script.On("cddb query " + RequestLine(disc), {"200 rock " + disc.DiscId + " The Artist / The Album\r\n"});
            server.script.On("cddb read rock " + disc.DiscId, {"210 rock " + disc.DiscId + " entry follows\r\n" + entry});
        }
        auto socket = wb::net::MakeClientSocket();
        SocketHost host(*socket);
        TCddbSettings settings;
        settings.Host = "127.0.0.1";
        settings.EMail = "a@b";
        settings.Version = "1.0.0.0";
        settings.TagsFolder = tags.Path();
        TCddbClient client(queue, settings, host);
        double inClient = 0;
        auto timed = [&](auto work) {
            auto t0 = Clock::now();
            work();
            inClient += std::chrono::duration<double>(Clock::now() - t0).count();
        };
        socket->OnConnect = [&] { timed([&] { client.Connected(); }); };
        socket->OnRead = [&](const std::string& d) { timed([&] { client.Received(d); }); };
        socket->OnError = [&](const std::string&) { host.over = true; };
        socket->OnDisconnect = [&] { host.over = true; };
        state.ResumeTiming();

        auto t0 = Clock::now();
        client.Start();
        client.Connecting();
        socket->Open("127.0.0.1", server.Port());
        while (!host.over) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        total += std::chrono::duration<double>(Clock::now() - t0).count();
        ours += inClient;
        if (client.ReceivedCount() != kRequests) state.SkipWithError("not every request was answered");
    }
    state.counters["requests_per_s"] = benchmark::Counter(double(kRequests) * state.iterations() / total);
    state.counters["client_ms"] = ours * 1000 / state.iterations();
    state.counters["socket_wait_ms"] = (total - ours) * 1000 / state.iterations();
}
BENCHMARK(BM_CddbRequestsOnLoopback)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
