// Downloads from a server of the test's own on loopback: what arrives on
// disk and what the caller is told, for good replies and bad ones.
#include "platform/net/HttpClient.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <filesystem>
#include <tuple>

#include "platform/base/TempDir.h"
#include "platform/testing/Bytes.h"
#include "platform/testing/DrivenStallClock.h"
#include "platform/testing/TestApp.h"

namespace {

using namespace wb::net;
namespace fs = std::filesystem;

using wb::test::ReadText;

// A server on loopback for one connection: it sends what the test says, when
// it says; OnRequest runs once the request's head is in.
class LoopbackServer {
public:
    LoopbackServer() {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            conn_ = server_.nextPendingConnection();
            QObject::connect(conn_, &QTcpSocket::readyRead, conn_, [this] {
                request_ += conn_->readAll().toStdString();
                if (request_.find("\r\n\r\n") != std::string::npos && OnRequest) std::exchange(OnRequest, nullptr)();
            });
        });
    }
    // Answers with `reply` and closes (or, with `hang`, keeps the connection open).
    explicit LoopbackServer(std::string reply, bool hang = false) : LoopbackServer() {
        OnRequest = [this, reply = std::move(reply), hang] {
            Send(reply);
            if (!hang) conn_->disconnectFromHost();
        };
    }
    void Send(const std::string& bytes) {
        conn_->write(bytes.data(), qint64(bytes.size()));
        conn_->flush();
    }
    std::string Url(const std::string& path = "/Software/Velmora/Update.ini") const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }
    const std::string& Request() const { return request_; }
    std::function<void()> OnRequest;

private:
    QTcpServer server_;
    QTcpSocket* conn_ = nullptr;
    std::string request_;
};

struct ReplyCase {
    const char* name;
    std::string reply;
    HttpFailure failure;
    std::string body;  // what the file holds afterwards ("old" when untouched)
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

using HttpReplies = ::testing::TestWithParam<ReplyCase>;

TEST_P(HttpReplies, ReplaceTheFileOnlyWhenTheWholeBodyArrived) {
    wb::gui::test::App();
    const ReplyCase& c = GetParam();
    wb::TempDir dir("http-test");
    const std::string file = dir / "Update.ini", head = dir / "Head.txt";
    wb::test::WriteBytes(file, "old");
    LoopbackServer server(c.reply);
    HttpClient client;
    const HttpOutcome out = client.Get(server.Url(), file, head);
    EXPECT_EQ(out.failure, c.failure) << out.message;
    EXPECT_EQ(ReadText(file), c.body);
    // No temporary file stays behind, whatever happened.
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir.Path())) files += e.path().filename() != "Head.txt";
    EXPECT_EQ(files, 1);
    EXPECT_NE(server.Request().find("GET /Software/Velmora/Update.ini HTTP/1.0\r\n"), std::string::npos);
    if (c.failure != HttpFailure::Protocol && !c.reply.empty()) {
        EXPECT_EQ(ReadText(head).substr(0, 7), "HTTP/1.");
    }
}

const std::string kIni = "[UpdateInfo]\r\nVersion=1.2.3.5\r\n";

INSTANTIATE_TEST_SUITE_P(
    Replies, HttpReplies,
    ::testing::Values(
        ReplyCase{"WithLength", "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(kIni.size()) + "\r\n\r\n" + kIni,
                  HttpFailure::None, kIni},
        ReplyCase{"EndedByTheClose", "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + kIni, HttpFailure::None,
                  kIni},
        ReplyCase{"BigBodyInPieces", "HTTP/1.1 200 OK\r\ncontent-length: 100000\r\n\r\n" + std::string(100000, 'x'),
                  HttpFailure::None, std::string(100000, 'x')},
        ReplyCase{"NotFound", "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", HttpFailure::Status,
                  "old"},
        ReplyCase{"DroppedMidBody", "HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\n" + std::string(1000, 'y'),
                  HttpFailure::Dropped, "old"},
        ReplyCase{"ClosedWithoutAnswer", "", HttpFailure::Dropped, "old"},
        ReplyCase{"NotHttp", "SSH-2.0-OpenSSH\r\n\r\n", HttpFailure::Protocol, "old"},
        ReplyCase{"LyingLength", "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nabc", HttpFailure::Protocol, "old"},
        // What comes after the announced length is no part of the file.
        ReplyCase{"PastTheLength", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nHelloWorld", HttpFailure::None,
                  "Hello"},
        ReplyCase{"Chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nHello\r\n0\r\n\r\n",
                  HttpFailure::Protocol, "old"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- servers that stop sending, against a clock the test moves on

enum class Pace { Silent, HeadByteASecond, BodyByteASecond, BodyStops, KilobyteASecond };

struct StallCase {
    const char* name;
    Pace pace;
    HttpFailure failure;
};

void PrintTo(const StallCase& c, std::ostream* os) { *os << c.name; }

using HttpStalls = ::testing::TestWithParam<StallCase>;

TEST_P(HttpStalls, ThirtySecondsWithoutProgressAreALostConnection) {
    wb::gui::test::App();
    const StallCase& c = GetParam();
    wb::TempDir dir("http-test");
    const std::string file = dir / "a.zip";
    wb::test::WriteBytes(file, "old");
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 65536\r\nServer: " + std::string(300, 's') + "\r\n\r\n";
    wb::net::test::DrivenStallClock clock;
    LoopbackServer server;
    HttpClient client;
    QObject context;  // takes the steps still queued with it
    int seconds = 0;
    size_t sent = 0;
    // One second of the server's pace; a client that never gives up is
    // stopped after a while, which fails the test.
    std::function<void()> second = [&] {
        if (++seconds > 200) return client.Abort();
        const std::string bytes = c.pace == Pace::HeadByteASecond   ? head.substr(sent, 1)
                                  : c.pace == Pace::BodyByteASecond ? "x"
                                  : c.pace == Pace::KilobyteASecond ? std::string(1024, 'k')
                                                                    : "";
        if (!bytes.empty()) server.Send(bytes);
        sent += bytes.size();
        clock.Advance(std::chrono::seconds(1));
        // The paces that wait for the client's packet go on from there.
        if (c.pace == Pace::Silent || c.pace == Pace::HeadByteASecond || c.pace == Pace::BodyStops)
            QTimer::singleShot(0, &context, second);
    };
    server.OnRequest = [&] {
        if (c.pace == Pace::Silent || c.pace == Pace::HeadByteASecond) return QTimer::singleShot(0, &context, second);
        server.Send(head + std::string(c.pace == Pace::BodyStops ? 100 : 1, 'x'));
        sent = 1;
    };
    bool stalled = false;
    client.OnPacket = [&](uint64_t got, uint64_t) {
        if (c.pace == Pace::BodyStops && !std::exchange(stalled, true)) QTimer::singleShot(0, &context, second);
        if ((c.pace == Pace::BodyByteASecond || c.pace == Pace::KilobyteASecond) && got == sent)
            QTimer::singleShot(0, &context, second);
    };
    const HttpOutcome out = client.Get(server.Url(), file);
    EXPECT_EQ(out.failure, c.failure) << out.message;
    EXPECT_EQ(ReadText(file), c.failure == HttpFailure::None ? std::string(65536, 'k').replace(0, 1, "x") : "old");
    if (c.failure == HttpFailure::Dropped) {
        EXPECT_NE(out.message.find("30 seconds without progress"), std::string::npos) << out.message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paces, HttpStalls,
    ::testing::Values(StallCase{"NeverAnswers", Pace::Silent, HttpFailure::Dropped},
                      StallCase{"HeadByteASecond", Pace::HeadByteASecond, HttpFailure::Dropped},
                      StallCase{"BodyByteASecond", Pace::BodyByteASecond, HttpFailure::Dropped},
                      StallCase{"BodyStops", Pace::BodyStops, HttpFailure::Dropped},
                      // Slow but steady is no stall, however long it takes.
                      StallCase{"KilobyteASecond", Pace::KilobyteASecond, HttpFailure::None}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpClient, ProgressAbortAndRefusals) {
    wb::gui::test::App();
    wb::TempDir dir("http-test");
    // Abort from the progress handler, as a Cancel button would.
    LoopbackServer slow("HTTP/1.0 200 OK\r\nContent-Length: 900000\r\n\r\n" + std::string(300000, 'z'), true);
    HttpClient client;
    std::vector<std::pair<uint64_t, uint64_t>> seen;
    client.OnPacket = [&](uint64_t got, uint64_t total) {
        seen.emplace_back(got, total);
        if (got >= 300000) client.Abort();
    };
    HttpOutcome out = client.Get(slow.Url("/a.zip"), dir / "a.zip");
    EXPECT_EQ(out.failure, HttpFailure::Aborted);
    EXPECT_FALSE(fs::exists(dir / "a.zip"));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), (std::pair<uint64_t, uint64_t>{300000, 900000}));
    EXPECT_FALSE(client.Busy());

    EXPECT_EQ(client.Get("ftp://example.org/x", dir / "x").failure, HttpFailure::BadAddress);
    EXPECT_EQ(client.Get("http://127.0.0.1:1/x", dir / "x").failure, HttpFailure::Connect);
    EXPECT_EQ(client.Get("http://127.0.0.1:80/x", (dir / "missing") + "/x").failure, HttpFailure::Write);
}

TEST(HttpClient, AddressesParse) {
    const auto u = ParseHttpUrl("http://Update.Example.org:8080/Software/Velmora/Update.ini");
    ASSERT_TRUE(u);
    EXPECT_EQ(std::tie(u->host, u->port, u->path),
              std::make_tuple("Update.Example.org", 8080, "/Software/Velmora/Update.ini"));
    EXPECT_EQ(ParseHttpUrl("http://host")->path, "/");
    for (const char* bad : {"https://host/", "http://", "http://host:99999/", "http://a b/", "http://user@host/",
                            "http://host/a b"})
        EXPECT_FALSE(ParseHttpUrl(bad)) << bad;
}

} // namespace
