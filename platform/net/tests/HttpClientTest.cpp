// Downloads from a server of the test's own on loopback: what arrives on
// disk and what the caller is told, for good replies and bad ones.
#include "platform/net/HttpClient.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "platform/base/TempDir.h"
#include "platform/testing/TestApp.h"

namespace {

using namespace wb::net;
namespace fs = std::filesystem;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Answers each request with the reply bytes, in pieces, and then closes
// (or, with `hang`, keeps the connection open).
class ScriptedServer {
public:
    ScriptedServer(std::string reply, bool hang = false) : reply_(std::move(reply)), hang_(hang) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            QTcpSocket* s = server_.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                request_ += s->readAll().toStdString();
                if (request_.find("\r\n\r\n") == std::string::npos || answered_) return;
                answered_ = true;
                for (size_t at = 0; at < reply_.size(); at += 7000) s->write(reply_.data() + at, std::min<size_t>(7000, reply_.size() - at));
                s->flush();
                if (!hang_) s->disconnectFromHost();
            });
        });
    }
    std::string Url(const std::string& path = "/Software/Velmora/Update.ini") const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }
    const std::string& Request() const { return request_; }

private:
    QTcpServer server_;
    std::string reply_, request_;
    bool hang_, answered_ = false;
};

struct ReplyCase {
    const char* name;
    std::string reply;
    HttpFailure failure;
    std::string body;  // what the file holds afterwards ("old" when untouched)
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class HttpReplies : public ::testing::TestWithParam<ReplyCase> {
protected:
    void SetUp() override { wb::gui::test::App(); }
};

TEST_P(HttpReplies, ReplaceTheFileOnlyWhenTheWholeBodyArrived) {
    const ReplyCase& c = GetParam();
    wb::TempDir dir("http-test");
    const std::string file = dir / "Update.ini", head = dir / "Head.txt";
    { std::ofstream(file) << "old"; }
    ScriptedServer server(c.reply);
    HttpClient client;
    const HttpOutcome out = client.Get(server.Url(), file, head);
    EXPECT_EQ(out.failure, c.failure) << out.message;
    EXPECT_EQ(Read(file), c.body);
    // No temporary file stays behind, whatever happened.
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir.Path())) files += e.path().filename() != "Head.txt";
    EXPECT_EQ(files, 1);
    EXPECT_NE(server.Request().find("GET /Software/Velmora/Update.ini HTTP/1.0\r\n"), std::string::npos);
    if (c.failure != HttpFailure::Protocol && !c.reply.empty()) {
        EXPECT_EQ(Read(head).substr(0, 7), "HTTP/1.");
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
        ReplyCase{"LyingLength", "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nabc", HttpFailure::Protocol, "old"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpClient, ProgressAbortAndRefusals) {
    wb::gui::test::App();
    wb::TempDir dir("http-test");
    // Abort from the progress handler, as a Cancel button would.
    ScriptedServer slow("HTTP/1.0 200 OK\r\nContent-Length: 900000\r\n\r\n" + std::string(300000, 'z'), true);
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
    EXPECT_EQ(u->host, "Update.Example.org");
    EXPECT_EQ(u->port, 8080);
    EXPECT_EQ(u->path, "/Software/Velmora/Update.ini");
    EXPECT_EQ(ParseHttpUrl("http://host")->path, "/");
    for (const char* bad : {"https://host/", "http://", "http://host:99999/", "http://a b/", "http://user@host/",
                            "http://host/a b"})
        EXPECT_FALSE(ParseHttpUrl(bad)) << bad;
}

} // namespace
