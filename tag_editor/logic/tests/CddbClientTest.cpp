#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <memory>

#include "CddbTestServer.h"
#include "TestFiles.h"
#include "platform/base/TempDir.h"
#include "platform/testing/DrivenStallClock.h"
#include "tag_editor/logic/CddbClient.h"

using namespace velmora;
using velmora::test::Pieces;
using velmora::test::ScriptedCddbServer;

namespace {

const std::string kDashes = "--------------------------------------";
const std::string kReady = "******************* READY *******************";

// The window's part, with the network replaced by the scripted server: every
// piece of a reply is one arrival of data.
class FakeWindow : public TCddbClientHost {
public:
    ScriptedCddbServer server;
    std::deque<std::string> arrivals;
    std::vector<std::string> errors;
    std::vector<std::vector<TCddbMatch>> shownMatches;
    int choice = 1;
    int reconnects = 0;
    bool connected = false, over = false;
    bool dropAfterNextSend = false;

    void Send(const std::string& command) override {
        ASSERT_TRUE(connected) << command;
        for (auto& piece : server.Answer(command)) arrivals.push_back(piece);
    }
    void CloseConnection() override {
        connected = false;
        arrivals.clear();
    }
    void ReconnectLater() override { ++reconnects; }
    void RunOver() override { over = true; }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    int ChooseMatch(const std::vector<TCddbMatch>& matches) override {
        shownMatches.push_back(matches);
        return choice;
    }
};

class CddbClientTest : public testing::Test {
protected:
    TCddbSettings Settings(bool showInexact = true) {
        return {.Host = "cddb.test", .EMail = "a@b", .Version = "1.0.0.0", .ShowInexact = showInexact,
                .TagsFolder = dir / "Tags"};
    }

    // Connects and plays the dialogue until the run is over or nothing more
    // comes; a reconnection waits for the test to allow it.
    void Connect() {
        client->Connecting();
        window.connected = true;
        client->Connected();
        for (auto& piece : window.server.greeting) window.arrivals.push_back(piece);
        Pump();
    }
    void Pump() {
        while (!window.arrivals.empty() && !client->Over()) {
            std::string piece = window.arrivals.front();
            window.arrivals.pop_front();
            client->Received(piece);
        }
    }
    void Run() {
        client->Start();
        Connect();
    }
    void Queue(const std::string& line) { ASSERT_TRUE(queue.Add(*ParseRequestLine(line))); }
    // The two-track disc queued, the server scripted to find it exactly.
    void OneDisc() {
        Queue(test::kTwoTrackLine);
        test::ScriptExactMatch(window.server);
    }
    std::vector<std::string> LogTail(size_t n) { return {client->Log().end() - n, client->Log().end()}; }
    // The run stopped on `error`, closed, and kept the request.
    void ExpectStoppedBy(const std::string& error) {
        EXPECT_EQ(LogTail(3),
                  (std::vector<std::string>{error, "CDDB-Client Error => STOP", "Connection to server closed !"}));
        EXPECT_TRUE(window.over);
        EXPECT_FALSE(window.connected);
        EXPECT_EQ(queue.Count(), 1);
    }

    wb::TempDir dir{"cddbclient"};
    wb::net::test::DrivenStallClock clock;
    TCddbRequests queue;
    FakeWindow window;
    std::unique_ptr<TCddbClient> client = std::make_unique<TCddbClient>(queue, Settings(), window);
};

TEST_F(CddbClientTest, AnExactMatchIsReadSavedAndTheRunEnds) {
    OneDisc();
    Run();
    EXPECT_EQ(client->Log(), (std::vector<std::string>{
                                "Trying to connect to server : cddb.test", "Connection established !",
                                "Login CDDB-Server", kDashes, "Send query to CDDB-Server for ID : 0b012a02",
                                "Found exact match !", "Receiving data ..", "Analysing result !",
                                "Saving result to disk", kDashes, "Logoff CDDB-Server",
                                "Connection to server closed !", "", kReady}));
    EXPECT_EQ(window.server.commands,
              (std::vector<std::string>{test::kHello, "cddb query " + test::kTwoTrackLine, "cddb read rock 0b012a02",
                                        "quit"}));
    EXPECT_EQ(client->SentCount(), 1);
    EXPECT_EQ(client->ReceivedCount(), 1);
    ASSERT_EQ(client->Results().size(), 1u);
    const auto& row = client->Results()[0];
    EXPECT_EQ((std::vector<std::string>{row.Artist, row.Album, row.Year, row.Genre}),
              (std::vector<std::string>{"The Artist", "The Album", "Yes", "Yes"}));
    EXPECT_EQ(ReadBytes(dir / "Tags/The Artist - The Album.Tag"),
              "Album\r\nThe Artist\r\nThe Album\r\n\r\n1998\r\nRock\r\n3\r\nFirst Song\r\nSecond Song\r\n");
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(window.over);
    EXPECT_FALSE(window.connected);
}

TEST_F(CddbClientTest, ActsOnWholeLinesOnlyWhereverTheyAreSplit) {
    OneDisc();
    window.server.greeting = {"2", "01 ready", "\r", "\n"};
    window.server.replies["cddb query " + test::kTwoTrackLine] = {{"200 ro", "ck 0b012a02 The Artist / The Album\r\n"}};
    // The closing "." comes alone, after its own line end was split off.
    std::string entry = test::TwoTrackEntry();
    window.server.replies["cddb read rock 0b012a02"] = {
        {test::kRead210, entry.substr(0, entry.size() - 3), ".", "\r\n"}};
    Run();
    EXPECT_EQ(window.server.commands[2], "cddb read rock 0b012a02");
    // Four arrivals before the one that completes the "." line.
    EXPECT_EQ(client->Log()[6], "Receiving data ...");
    EXPECT_EQ(client->Log().back(), kReady);
    EXPECT_EQ(client->ReceivedCount(), 1);
}

struct InexactCase {
    std::string name;
    bool showInexact;
    Pieces matches;
    int choice;
    bool chooserShown;
    std::string logLine;  // the line that tells the choice
    std::string read;     // the command sent next
};
std::ostream& operator<<(std::ostream& os, const InexactCase& c) { return os << c.name; }

class InexactTest : public CddbClientTest, public testing::WithParamInterface<InexactCase> {};

TEST_P(InexactTest, ChoosesAMatch) {
    const auto& c = GetParam();
    Queue(test::kTwoTrackLine);
    Queue("02003d01 1 150 63");  // asked after an empty list
    test::ScriptExactMatch(window.server);
    window.server.On("cddb query 02003d01 1 150 63", {"202 No match.\r\n"});
    Pieces reply{"211 Found inexact matches, list follows (until terminating `.')\r\n"};
    reply.insert(reply.end(), c.matches.begin(), c.matches.end());
    reply.push_back(".\r\n");
    window.server.replies["cddb query " + test::kTwoTrackLine] = {reply};
    window.server.On("cddb read jazz 1a2b3c02", {test::kRead210 + test::TwoTrackEntry()});
    client = std::make_unique<TCddbClient>(queue, Settings(c.showInexact), window);
    window.choice = c.choice;
    Run();
    EXPECT_EQ(window.shownMatches.size(), c.chooserShown ? 1u : 0u);
    EXPECT_EQ(client->Log()[5], c.logLine);
    EXPECT_EQ(window.server.commands[2], c.read);
    EXPECT_EQ(client->Log().back(), kReady);
    EXPECT_TRUE(queue.Empty());
}

const Pieces kTwoMatches{"rock 0b012a02 The Artist / The Album\r\n", "jazz 1a2b3c02 Various Hits\r\n"};

INSTANTIATE_TEST_SUITE_P(
    Cases, InexactTest,
    testing::Values(
        InexactCase{"ListOffTakesTheFirst", false, kTwoMatches, 2, false, "Found inexact matches ! Using first !",
                    "cddb read rock 0b012a02"},
        InexactCase{"OneMatchIsNotShown", true, {"jazz 1a2b3c02 X / Y\r\n"}, 1, false,
                    "Found inexact matches ! Using first because there is only one !1", "cddb read jazz 1a2b3c02"},
        InexactCase{"TheUsersChoice", true, kTwoMatches, 2, true, "Found inexact matches ! Using Nr. 2",
                    "cddb read jazz 1a2b3c02"},
        InexactCase{"NoChoiceIsTheFirst", true, kTwoMatches, 0, true, "Found inexact matches ! Using Nr. 1",
                    "cddb read rock 0b012a02"},
        InexactCase{"AnEmptyListIsNoMatch", true, {}, 1, false, "Found inexact matches ! ",
                    "cddb query 02003d01 1 150 63"}),
    [](const testing::TestParamInfo<InexactCase>& info) { return info.param.name; });

TEST_F(CddbClientTest, TheChooserShowsArtistAlbumGenreAndId) {
    OneDisc();
    window.server.replies["cddb query " + test::kTwoTrackLine] = {
        {"211 inexact\r\n", kTwoMatches[0], kTwoMatches[1], ".\r\n"}};
    window.server.On("cddb read jazz 1a2b3c02", {test::kRead210 + test::TwoTrackEntry()});
    Run();
    ASSERT_EQ(window.shownMatches.size(), 1u);
    const auto& m = window.shownMatches[0];
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ((std::vector<std::string>{m[0].Artist, m[0].Album, m[0].Genre, m[0].ID}),
              (std::vector<std::string>{"The Artist", "The Album", "rock", "0b012a02"}));
    EXPECT_EQ((std::vector<std::string>{m[1].Artist, m[1].Album, m[1].Genre, m[1].ID}),
              (std::vector<std::string>{"(Sampler)", "Various Hits", "jazz", "1a2b3c02"}));
}

TEST_F(CddbClientTest, ATemporaryErrorReconnectsAndAsksTheSameRequestAgain) {
    Queue(test::kTwoTrackLine);
    Queue("02003d01 1 150 63");
    test::ScriptExactMatch(window.server);
    window.server.On("cddb query 02003d01 1 150 63", {"202 No match for disc ID 02003d01.\r\n"});
    // The first hello is refused for a while; the second query too.
    window.server.replies[test::kHello].push_front({"409 No handshake.\r\n"});
    Run();
    EXPECT_EQ(client->Log(), (std::vector<std::string>{
                                "Trying to connect to server : cddb.test", "Connection established !",
                                "Login CDDB-Server", "**** ERROR **** Code : 409, Position 1",
                                "Closing connection to server and reconnecting !", kDashes}));
    EXPECT_EQ(window.reconnects, 1);
    EXPECT_FALSE(window.connected);
    EXPECT_FALSE(window.over);
    Connect();
    EXPECT_EQ(client->SentCount(), 2);
    EXPECT_EQ(client->ReceivedCount(), 1);
    EXPECT_EQ(LogTail(9), (std::vector<std::string>{"Saving result to disk", kDashes,
                                              "Send query to CDDB-Server for ID : 02003d01",
                                              "--- No result for query found ---", kDashes, "Logoff CDDB-Server",
                                              "Connection to server closed !", "", kReady}));
}

TEST_F(CddbClientTest, AReconnectionCountsOnlyTheRequestsAnswered) {
    Queue(test::kTwoTrackLine);
    Queue("02003d01 1 150 63");
    test::ScriptExactMatch(window.server);
    window.server.On("cddb query 02003d01 1 150 63", {"417 Server busy.\r\n"});
    window.server.On("cddb query 02003d01 1 150 63", {"202 No match.\r\n"});
    Run();
    EXPECT_EQ(client->Log().back(), kDashes);
    EXPECT_EQ(client->Log()[client->Log().size() - 3], "**** ERROR **** Code : 417, Position 2");
    EXPECT_EQ(client->SentCount(), 1);  // two sent, one answered
    EXPECT_EQ(queue.Count(), 1);
    Connect();
    EXPECT_EQ(client->SentCount(), 2);
    EXPECT_EQ(client->Log().back(), kReady);
}

TEST_F(CddbClientTest, AServerErrorStopsTheRunAndKeepsTheRequest) {
    OneDisc();
    window.server.replies["cddb read rock 0b012a02"] = {{"501 No such category.\r\n"}};
    Run();
    ExpectStoppedBy("**** ERROR **** Code : 501, Position 4");
}

TEST_F(CddbClientTest, AReplyNoEntryCouldBeStopsTheRun) {
    OneDisc();
    Pieces endless(70, std::string(64 * 1024, 'x'));
    endless[0] = test::kRead210;
    window.server.replies["cddb read rock 0b012a02"] = {endless};
    Run();
    ExpectStoppedBy("**** ERROR **** Reply too long, Position 5");
}

TEST_F(CddbClientTest, AReadOnlyGreetingIsAcceptedAndAnEntryWithoutTitleStillCounts) {
    OneDisc();
    window.server.greeting = {"200 test.example CDDBP server v1.5 ready (read only)\r\n"};
    window.server.replies["cddb read rock 0b012a02"] = {{test::kRead210 + test::TwoTrackEntry("")}};
    Run();
    EXPECT_EQ(client->Log().back(), kReady);
    EXPECT_EQ(client->ReceivedCount(), 1);
    EXPECT_TRUE(client->WrittenFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "Tags"));
    ASSERT_EQ(client->Results().size(), 1u);
    EXPECT_EQ(client->Results()[0].Genre, "Yes");
}

TEST_F(CddbClientTest, ARefusedOrDroppedConnectionEndsTheRunWithAMessage) {
    Queue(test::kTwoTrackLine);
    client->Start();
    client->Connecting();
    client->ConnectFailed();
    EXPECT_EQ(client->Log(), (std::vector<std::string>{"Trying to connect to server : cddb.test", "Try failed !"}));
    EXPECT_EQ(window.errors, (std::vector<std::string>{kCannotConnectText}));
    EXPECT_TRUE(window.over);

    // Dropped after the hello: the request stays queued.
    test::ScriptExactMatch(window.server);
    window.server.replies[test::kHello] = {{}};
    window.over = false;
    window.errors.clear();
    Run();
    EXPECT_FALSE(window.over);
    client->ConnectionLost();
    EXPECT_EQ(client->Log().back(), "Connection to server closed !");
    EXPECT_EQ(window.errors, (std::vector<std::string>{kConnectionLostText}));
    EXPECT_TRUE(window.over);
    EXPECT_EQ(queue.Count(), 1);
    client->Received("200 late\r\n");  // nothing more happens after the end
    EXPECT_EQ(client->Log().back(), "Connection to server closed !");
}

// A list that cannot be written is shown and its request kept; the run goes
// on with the next. Refusals are answered by reconnecting three times in a
// row, counted afresh once a request is done; then the server's line is shown.
TEST_F(CddbClientTest, AFailedSaveIsKeptAndThreeRefusalsInARowStopTheRun) {
    Queue(test::kTwoTrackLine);
    Queue("02003d01 1 150 63");
    test::ScriptExactMatch(window.server);
    std::filesystem::create_directories(dir / "Tags/The Artist - The Album.Tag");
    for (int i = 0; i < 3; ++i) window.server.replies[test::kHello].push_front({"409 No handshake.\r\n"});
    window.server.On("cddb query 02003d01 1 150 63", {"417 Busy.\r\n"});
    window.server.On("cddb query 02003d01 1 150 63", {"432 No connections allowed: permission denied\r\n"});
    Run();
    for (int i = 0; i < 10 && !client->Over(); ++i) Connect();
    EXPECT_EQ(window.reconnects, 6);
    ASSERT_EQ(window.errors.size(), 2u);
    EXPECT_NE(window.errors[0].find("The Artist - The Album.Tag"), std::string::npos) << window.errors[0];
    EXPECT_EQ(window.errors[1], "432 No connections allowed: permission denied");
    const auto& sent = window.server.commands;
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "cddb query 02003d01 1 150 63"), 4);
    EXPECT_EQ(client->Log().back(), "Connection to server closed !");
    EXPECT_EQ(queue.Count(), 2);
}

struct WaitCase {
    std::string name, command;  // whose reply is cut: "" the greeting, "open" the connection
    std::string reply, trickle;  // what comes instead, and then every 20 ms
    int endsAfterMs;
    std::string lastLog, error;  // error: the box, "" for none
};
std::ostream& operator<<(std::ostream& os, const WaitCase& c) { return os << c.name; }

class WaitTest : public CddbClientTest, public testing::WithParamInterface<WaitCase> {};

// Every wait ends by the stall clock; a trickle keeps only its reply's time.
TEST_P(WaitTest, EndsAsALostConnection) {
    const auto& c = GetParam();
    OneDisc();
    if (c.command.empty()) window.server.greeting = {c.reply};
    else window.server.replies[c.command] = {{c.reply}};
    client->Start();
    c.command == "open" ? client->Connecting() : Connect();
    int ms = 0;
    for (; ms < 200000 && !client->Over(); ms += 20) {
        if (!c.trickle.empty()) client->Received(c.trickle);
        clock.Advance(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(ms, c.endsAfterMs);
    EXPECT_EQ(client->Log().back(), c.lastLog);
    EXPECT_EQ(window.errors, c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
    EXPECT_FALSE(window.connected);
}

const std::string kLost = "Connection to server closed !";
INSTANTIATE_TEST_SUITE_P(
    Cases, WaitTest,
    testing::Values(WaitCase{"NoConnection", "open", "", "", 30000, "Try failed !", kCannotConnectText},
                    WaitCase{"NoGreeting", "", "", "", 30000, kLost, kLostConnectionText},
                    WaitCase{"EntryWithoutItsDot", "cddb read rock 0b012a02", test::kRead210 + "DTITLE=A / B\r\n",
                             "", 30000, kLost, kLostConnectionText},
                    WaitCase{"EntryTrickling", "cddb read rock 0b012a02", test::kRead210, "x", 120000, kLost,
                             kLostConnectionText},
                    WaitCase{"NoGoodbye", "quit", "", "", 30000, kReady, ""}),
    [](const testing::TestParamInfo<WaitCase>& info) { return info.param.name; });

} // namespace
