#include "platform/net/ClientSocket.h"

#include <gtest/gtest.h>

#include <cstring>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "platform/testing/TestApp.h"

namespace {

// What the socket reported, in order.
struct Recorder {
    std::vector<std::string> events;
    std::string data;
    void Attach(wb::net::ClientSocket& s) {
        s.OnConnect = [this] { events.push_back("connect"); };
        s.OnRead = [this](const std::string& d) { data += d; };
        s.OnError = [this](const std::string&) { events.push_back("error"); };
        s.OnDisconnect = [this] { events.push_back("disconnect"); };
    }
};

class ClientSocketTest : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::test::App();
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    }
    QTcpSocket* Accept() {
        if (!server.hasPendingConnections()) server.waitForNewConnection(3000);
        return server.nextPendingConnection();
    }
    QTcpServer server;
};

// Whatever the socket has queued for the loop is delivered now; a closed or
// failed connection has no descriptor left to report anything later.
void DeliverPending() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

TEST_F(ClientSocketTest, TalksToAServerThatAnswersInPiecesAndHangsUp) {
    auto socket = wb::net::MakeClientSocket();
    Recorder r;
    r.Attach(*socket);
    socket->Open("127.0.0.1", server.serverPort());
    QTcpSocket* peer = Accept();
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket->Connected() && !r.events.empty(); }, 3000));
    socket->SendText("cddb hello a b\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() >= 16 || (peer->waitForReadyRead(10), false); }, 3000));
    EXPECT_EQ(peer->readAll().toStdString(), "cddb hello a b\r\n");
    // Each piece is sent once the one before it has arrived, so they come
    // in reads of their own.
    size_t sent = 0;
    for (const char* piece : {"200 ro", "ck 0b012a02 A", " / B\r\n"}) {
        peer->write(piece);
        peer->flush();
        sent += std::strlen(piece);
        ASSERT_TRUE(QTest::qWaitFor([&] { return r.data.size() >= sent; }, 3000));
    }
    peer->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.events.size() >= 2; }, 3000));
    EXPECT_EQ(r.data, "200 rock 0b012a02 A / B\r\n");
    EXPECT_EQ(r.events, (std::vector<std::string>{"connect", "disconnect"}));
    EXPECT_FALSE(socket->Connected());
}

TEST_F(ClientSocketTest, ARefusedConnectionIsAnErrorAndNoDisconnect) {
    const quint16 port = server.serverPort();
    server.close();  // nobody listens there now
    auto socket = wb::net::MakeClientSocket();
    Recorder r;
    r.Attach(*socket);
    socket->Open("127.0.0.1", port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !r.events.empty(); }, 3000));
    DeliverPending();
    EXPECT_EQ(r.events, (std::vector<std::string>{"error"}));
}

TEST_F(ClientSocketTest, NoEventOfAClosedConnectionArrivesEvenFromAHandler) {
    auto socket = wb::net::MakeClientSocket();
    Recorder r;
    r.Attach(*socket);
    // Closing and freeing the socket inside its own read handler is allowed.
    socket->OnRead = [&](const std::string& d) {
        r.data += d;
        socket.reset();
    };
    auto* raw = socket.get();
    raw->Open("127.0.0.1", server.serverPort());
    QTcpSocket* peer = Accept();
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !r.events.empty(); }, 3000));
    peer->write("201 ready\r\n");
    peer->flush();
    peer->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !socket; }, 3000));
    DeliverPending();
    EXPECT_EQ(r.data, "201 ready\r\n");
    EXPECT_EQ(r.events, (std::vector<std::string>{"connect"}));

    // Sending while closed does nothing; reopening gives a fresh connection.
    auto again = wb::net::MakeClientSocket();
    Recorder r2;
    r2.Attach(*again);
    again->SendText("lost\r\n");
    again->Open("127.0.0.1", server.serverPort());
    ASSERT_NE(Accept(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !r2.events.empty(); }, 3000));
    again->Close();
    DeliverPending();
    EXPECT_EQ(r2.events, (std::vector<std::string>{"connect"}));
}

} // namespace
