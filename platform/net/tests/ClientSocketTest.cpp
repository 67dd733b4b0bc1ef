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

// A socket and what it reported, in order.
struct Recorder {
    Recorder() {
        socket->OnConnect = [this] { events.push_back("connect"); };
        socket->OnRead = [this](const std::string& d) { data += d; };
        socket->OnError = [this](const std::string&) { events.push_back("error"); };
        socket->OnDisconnect = [this] { events.push_back("disconnect"); };
    }
    std::vector<std::string> events;
    std::string data;
    std::unique_ptr<wb::net::ClientSocket> socket = wb::net::MakeClientSocket();  // goes first
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
    Recorder r;
    r.socket->Open("127.0.0.1", server.serverPort());
    QTcpSocket* peer = Accept();
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.socket->Connected() && !r.events.empty(); }, 3000));
    r.socket->SendText("cddb hello a b\r\n");
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
    EXPECT_FALSE(r.socket->Connected());
}

TEST_F(ClientSocketTest, ARefusedConnectionIsAnErrorAndNoDisconnect) {
    const quint16 port = server.serverPort();
    server.close();  // nobody listens there now
    Recorder r;
    r.socket->Open("127.0.0.1", port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !r.events.empty(); }, 3000));
    DeliverPending();
    EXPECT_EQ(r.events, (std::vector<std::string>{"error"}));
}

TEST_F(ClientSocketTest, NoEventOfAClosedConnectionArrivesEvenFromAHandler) {
    Recorder r;
    // Closing and freeing the socket inside its own read handler is allowed.
    r.socket->OnRead = [&](const std::string& d) {
        r.data += d;
        r.socket.reset();
    };
    r.socket->Open("127.0.0.1", server.serverPort());
    QTcpSocket* peer = Accept();
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !r.events.empty(); }, 3000));
    peer->write("201 ready\r\n");
    peer->flush();
    peer->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !r.socket; }, 3000));
    DeliverPending();
    EXPECT_EQ(r.data, "201 ready\r\n");
    EXPECT_EQ(r.events, (std::vector<std::string>{"connect"}));

    // Sending while closed does nothing; reopening gives a fresh connection.
    Recorder again;
    again.socket->SendText("lost\r\n");
    again.socket->Open("127.0.0.1", server.serverPort());
    ASSERT_NE(Accept(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !again.events.empty(); }, 3000));
    again.socket->Close();
    DeliverPending();
    EXPECT_EQ(again.events, (std::vector<std::string>{"connect"}));
}

} // namespace
