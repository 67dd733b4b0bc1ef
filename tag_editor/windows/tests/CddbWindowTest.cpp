// The status window and the chooser on the real window layer, against a
// CDDBP server on loopback that plays the scripted replies in pieces.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <filesystem>
#include <deque>
#include <functional>
#include <memory>
#include <regex>

#include "tag_editor/logic/tests/CddbTestServer.h"
#include "tag_editor/logic/tests/TestFiles.h"
#include "platform/base/TempDir.h"
#include "platform/base/Volumes.h"
#include "platform/testing/ControlInput.h"
#include "platform/testing/DrivenStallClock.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/Screens.h"
#include "tag_editor/windows/CddbStat.h"
#include "tag_editor/windows/Choose.h"
#include "tag_editor/windows/Main.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

const std::string kDashes = "--------------------------------------";
const std::string kReady = "******************* READY *******************";

// Serves every connection from one script; the pieces of a reply wait until
// the test lets the next one go (Step), so that each is one arrival at the
// client.
class LoopbackServer {
public:
    test::ScriptedCddbServer script;
    int connections = 0;

    LoopbackServer() {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* peer = server_.nextPendingConnection()) {
                ++connections;
                auto buffer = std::make_shared<std::string>();
                QObject::connect(peer, &QTcpSocket::readyRead, peer, [this, peer, buffer] {
                    *buffer += peer->readAll().toStdString();
                    for (size_t end; (end = buffer->find("\r\n")) != std::string::npos;) {
                        std::string command = buffer->substr(0, end + 2);
                        buffer->erase(0, end + 2);
                        Play(peer, script.Answer(command));
                    }
                });
                QObject::connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
                Play(peer, script.greeting);
            }
        });
    }
    uint16_t Port() const { return server_.serverPort(); }
    // The next connections are refused.
    void Stop() { server_.close(); }
    // Sends the next piece that waits; false when none does.
    bool Step() {
        while (!waiting_.empty()) {
            auto [peer, piece] = std::move(waiting_.front());
            waiting_.pop_front();
            if (!peer) continue;
            peer->write(piece.data(), qint64(piece.size()));
            peer->flush();
            return true;
        }
        return false;
    }

private:
    void Play(QTcpSocket* peer, test::Pieces pieces) {
        for (auto& piece : pieces) waiting_.emplace_back(QPointer<QTcpSocket>(peer), std::move(piece));
    }
    QTcpServer server_;
    std::deque<std::pair<QPointer<QTcpSocket>, std::string>> waiting_;
};

// A window's timer that the test gives its ticks: an interval that never
// runs out while the test lasts.
constexpr int kNever = 24 * 3600 * 1000;

void Tick(TCddbStatFrm& status) {
    status.Timer1.SetInterval(kNever);
    if (status.Timer1.Enabled()) status.Timer1Timer();
}

std::vector<std::string> GridRow(TVlSortGrid& g, int row) {
    std::vector<std::string> cells;
    for (int c = 0; c < g.ColCount(); ++c) cells.push_back(g.Cells(c, row));
    return cells;
}

QPoint CellCenter(TVlSortGrid& g, int col, int row) {
    auto r = g.CellRect(col, row);
    return QPoint(r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2);
}

void DoubleClick(TVlSortGrid& g, int col, int row) {
    const QPoint p = CellCenter(g, col, row);
    wb::gui::test::DoubleClickAt(g, p.x(), p.y());
}

// Runs the status window modally, the test giving the timer's ticks and the
// server's pieces; when the chooser is up, `onChooser` acts on it; while the
// run waits, `whileWaiting` may act; when it is over the window is pictured
// and closed with "OK".
class StatusRun {
public:
    StatusRun(LoopbackServer& server, TCddbRequests& queue, const std::string& tags, bool showInexact = true)
        : server_(server),
          frm(queue, {"127.0.0.1", std::to_string(server.Port())},
              {.EMail = "a@b", .Version = "1.0.0.0", .ShowInexact = showInexact, .TagsFolder = tags}, chooser) {
        chooser.Timer1.SetInterval(kNever);
    }

    void Run(const std::string& screenshot = "") {
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            server_.Step();
            Tick(frm);
            if (chooser.Window()->isVisible() && onChooser) {
                auto action = std::move(onChooser);
                onChooser = nullptr;
                action(chooser);
                return;
            }
            if (whileWaiting && !frm.OkBtn->Enabled() && QApplication::activeModalWidget() == frm.Window()) {
                whileWaiting();
            }
            if (frm.OkBtn->Enabled() && QApplication::activeModalWidget() == frm.Window()) {
                poll.stop();
                if (!screenshot.empty()) EXPECT_FALSE(wb::gui::test::Screenshot(frm, screenshot).isNull());
                frm.OkBtn->Click();
            }
        });
        poll.start();
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            ADD_FAILURE() << "the run did not end";
            frm.CancelBtn->Click();
        });
        guard.start(20000);
        result = frm.ShowModal();
    }

    std::vector<std::string> Log() { return frm.TCPStateMemo->Lines(); }

    LoopbackServer& server_;
    wb::gui::test::ModalDriver boxes;  // answers message boxes
    TChooseFrm chooser;
    TCddbStatFrm frm;
    std::function<void(TChooseFrm&)> onChooser;
    std::function<void()> whileWaiting;  // polled while the run lasts
    int result = 0;
};

// The application object comes before the sockets and timers of a test.
struct AppFirst {
    AppFirst() { wb::gui::test::App("Velmora"); }
};

class CddbWindowTest : public testing::Test, private AppFirst {
protected:
    void Queue(const std::string& line) { ASSERT_TRUE(queue.Add(*ParseRequestLine(line))); }
    wb::TempDir dir{"cddbwin"};
    TCddbRequests queue;
    LoopbackServer server;
};

// Entries arrive in pieces; how many of them reach the client apart is up to
// the network, so the dots after "Receiving data " are not counted here.
std::vector<std::string> WithoutDots(std::vector<std::string> log) {
    for (auto& line : log)
        if (std::regex_match(line, std::regex("Receiving data \\.*"))) line = "Receiving data ";
    return log;
}

TEST_F(CddbWindowTest, TwoRequestsOneFoundOneNotLeaveTheLogGridAndTagList) {
    Queue(test::kTwoTrackLine);
    Queue("02003d01 1 150 63");
    test::ScriptExactMatch(server.script);
    server.script.On("cddb query 02003d01 1 150 63", {"202 No match", " for disc ID 02003d01.\r\n"});
    StatusRun run(server, queue, dir / "Tags");
    run.Run("velmora-cddbstat");
    EXPECT_EQ(WithoutDots(run.Log()),
              (std::vector<std::string>{"Trying to connect to server : 127.0.0.1", "Connection established !",
                                        "Login CDDB-Server", kDashes, "Send query to CDDB-Server for ID : 0b012a02",
                                        "Found exact match !", "Receiving data ", "Analysing result !",
                                        "Saving result to disk", kDashes, "Send query to CDDB-Server for ID : 02003d01",
                                        "--- No result for query found ---", kDashes, "Logoff CDDB-Server",
                                        "Connection to server closed !", "", kReady}));
    EXPECT_EQ(run.frm.ReqSendPanel->Caption(), "2");
    EXPECT_EQ(run.frm.ReqRecPanel->Caption(), "1");
    TVlSortGrid& g = *run.frm.RecGrd;
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(GridRow(g, 1), (std::vector<std::string>{"The Artist", "The Album", "Yes", "Yes"}));
    EXPECT_EQ(ReadBytes(dir / "Tags/The Artist - The Album.Tag"),
              "Album\r\nThe Artist\r\nThe Album\r\n\r\n1998\r\nRock\r\n3\r\nFirst Song\r\nSecond Song\r\n");
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(run.frm.CancelBtn->Enabled());
    EXPECT_EQ(server.script.commands.back(), "quit");
}

TEST_F(CddbWindowTest, InexactMatchesAreChosenInTheChooser) {
    Queue(test::kTwoTrackLine);
    test::ScriptExactMatch(server.script);
    server.script.replies["cddb query " + test::kTwoTrackLine] = {
        {"211 Found inexact matches, list follows (until terminating `.')\r\nrock 0b012a02 The Art",
         "ist / The Album\r\njazz 1a2b3c02 Various Hits\r\n", ".\r\n"}};
    server.script.On("cddb read jazz 1a2b3c02", {"210 jazz 1a2b3c02 entry follows\r\n",
                                                 "DTITLE=Various Hits\r\nTTITLE0=A / One\r\n", "TTITLE1=B / Two\r\n.\r\n"});
    StatusRun run(server, queue, dir / "Tags");
    std::vector<std::string> shown;
    run.onChooser = [&](TChooseFrm& c) {
        TVlSortGrid& g = *c.ChooseGrd;
        shown = GridRow(g, 2);
        EXPECT_EQ(g.Row(), 1);
        EXPECT_FALSE(wb::gui::test::Screenshot(c, "velmora-choose").isNull());
        DoubleClick(g, 1, 2);
    };
    run.Run();
    EXPECT_EQ(shown, (std::vector<std::string>{"(Sampler)", "Various Hits", "jazz", "1a2b3c02"}));
    auto log = run.Log();
    ASSERT_GE(log.size(), 7u);
    EXPECT_EQ(log[5], "Found inexact matches ! Using Nr. 2");
    EXPECT_EQ(server.script.commands[2], "cddb read jazz 1a2b3c02");
    EXPECT_EQ(GridRow(*run.frm.RecGrd, 1), (std::vector<std::string>{"(Sampler)", "Various Hits", "No", "Yes"}));
    EXPECT_EQ(ReadBytes(dir / "Tags/Various Hits (Sampler).Tag"),
              "Sampler\r\nVarious Hits\r\n\r\n\r\nJazz\r\n3\r\nA\r\nOne\r\nB\r\nTwo\r\n");
    EXPECT_FALSE(run.chooser.Timer1.Enabled());
}

TEST_F(CddbWindowTest, ABusyServerIsAskedAgainOnANewConnection) {
    Queue(test::kTwoTrackLine);
    test::ScriptExactMatch(server.script);
    server.script.replies[test::kHello].push_front({"409 No handshake.\r\n"});
    StatusRun run(server, queue, dir / "Tags");
    run.Run();
    auto log = WithoutDots(run.Log());
    std::vector<std::string> head(log.begin(), log.begin() + 8);
    EXPECT_EQ(head, (std::vector<std::string>{"Trying to connect to server : 127.0.0.1", "Connection established !",
                                              "Login CDDB-Server", "**** ERROR **** Code : 409, Position 1",
                                              "Closing connection to server and reconnecting !", kDashes,
                                              "Trying to connect to server : 127.0.0.1", "Connection established !"}));
    EXPECT_EQ(log.back(), kReady);
    EXPECT_EQ(server.connections, 2);
    EXPECT_EQ(run.frm.ReqSendPanel->Caption(), "1");
    EXPECT_TRUE(fs::exists(dir / "Tags/The Artist - The Album.Tag"));
}

TEST_F(CddbWindowTest, ARefusedConnectionSaysSoAndLeavesOnlyOk) {
    Queue(test::kTwoTrackLine);
    server.Stop();
    StatusRun run(server, queue, dir / "Tags");
    run.Run("velmora-cddbstat-refused");
    EXPECT_EQ(run.Log(), (std::vector<std::string>{"Trying to connect to server : 127.0.0.1", "Try failed !"}));
    ASSERT_EQ(run.boxes.Messages().size(), 1u);
    EXPECT_EQ(run.boxes.Messages()[0].text, kCannotConnectText);
    EXPECT_EQ(run.boxes.Messages()[0].title, "Velmora");
    EXPECT_EQ(queue.Count(), 1);
}

struct GoodbyeCase {
    const char* name;
    bool saveFails;  // the tag list cannot be written: shown, its request kept
    std::string quitReply;
};
void PrintTo(const GoodbyeCase& c, std::ostream* os) { *os << c.name; }

class GoodbyeTest : public CddbWindowTest, public testing::WithParamInterface<GoodbyeCase> {};

// With every request answered or kept, whatever the server says to quit ends
// the run on the connection it has.
TEST_P(GoodbyeTest, AnyAnswerToQuitEndsTheRunAtReady) {
    const GoodbyeCase& c = GetParam();
    Queue(test::kTwoTrackLine);
    test::ScriptExactMatch(server.script);
    server.script.replies["quit"] = {{c.quitReply}};
    if (c.saveFails) WriteBytes(dir / "Tags", "a file where the folder should be");
    StatusRun run(server, queue, dir / "Tags");
    run.Run();
    EXPECT_EQ(run.Log().back(), kReady);
    EXPECT_EQ(server.connections, 1);
    EXPECT_EQ(queue.Count(), c.saveFails ? 1 : 0);
    ASSERT_EQ(run.boxes.Messages().size(), c.saveFails ? 1u : 0u);
    if (c.saveFails) {
        EXPECT_NE(run.boxes.Messages()[0].text.find(dir / "Tags"), std::string::npos) << run.boxes.Messages()[0].text;
    }
    EXPECT_EQ(run.result, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GoodbyeTest,
    testing::Values(GoodbyeCase{"GoodbyeAfterAFailedSave", true, "230 Closing connection.  Goodbye.\r\n"},
                    GoodbyeCase{"QuitRefused", false, "402 Already quitting.\r\n"},
                    GoodbyeCase{"QuitRefusedAfterAFailedSave", true, "402 Already quitting.\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A server that never greets: the stall clock, moved by the test, ends
// the wait; Cancel stays usable while it lasts.
TEST_F(CddbWindowTest, ASilentServerIsALostConnection) {
    Queue(test::kTwoTrackLine);
    server.script.greeting = {};
    wb::net::test::DrivenStallClock clock;
    StatusRun run(server, queue, dir / "Tags");
    bool cancelUsable = false;
    run.whileWaiting = [&] {
        if (run.Log().back() != "Connection established !") return;
        for (int s : {29, 1}) {
            cancelUsable = run.frm.CancelBtn->Enabled();
            clock.Advance(std::chrono::seconds(s));
        }
    };
    run.Run();
    EXPECT_TRUE(cancelUsable);
    ASSERT_EQ(run.boxes.Texts(), std::vector<std::string>{kLostConnectionText});
    EXPECT_EQ(run.Log()[2], "**** ERROR **** Lost connection to server, Position 0");
    EXPECT_EQ(queue.Count(), 1);
}

// The chooser alone, its timer driven by the test.
class ChooserTest : public testing::Test, private AppFirst {
protected:
    void SetUp() override { chooser.Timer1.SetInterval(kNever); }
    // `whileShown` acts as soon as the chooser is up and has the keys: a
    // window is shown before it is activated, and a key sent in between is lost.
    int Choose(std::function<void()> whileShown) {
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!chooser.Window()->isVisible()) return;
            if (QApplication::focusWidget() != Grid().Widget()) {
                chooser.Window()->activateWindow();
                return;
            }
            poll.stop();
            whileShown();
        });
        poll.start();
        return chooser.ChooseMatch({{"A", "B", "rock", "00000001"}, {"C", "D", "jazz", "00000002"},
                                    {"E", "F", "misc", "00000003"}});
    }
    TVlSortGrid& Grid() { return *chooser.ChooseGrd; }
    TChooseFrm chooser;
};

TEST_F(ChooserTest, CountsDownAndTakesTheRowCurrentAtTheEndKeysDoNotStopIt) {
    std::vector<std::string> counts;
    bool visibleAfterFourTicks = false;
    int row = Choose([&] {
        counts.push_back(chooser.CounterPanel->Caption());
        QTest::keyClick(Grid().Widget(), Qt::Key_Down);
        for (int i = 0; i < 4; ++i) {
            chooser.Timer1Timer();
            counts.push_back(chooser.CounterPanel->Caption());
        }
        visibleAfterFourTicks = chooser.Window()->isVisible() && chooser.Timer1.Enabled();
        chooser.Timer1Timer();
    });
    EXPECT_EQ(counts, (std::vector<std::string>{"5", "4", "3", "2", "1"}));
    EXPECT_TRUE(visibleAfterFourTicks);
    EXPECT_EQ(row, 2);
    EXPECT_FALSE(chooser.Timer1.Enabled());
}

TEST_F(ChooserTest, AClickStopsTheCountdownAndADoubleClickChooses) {
    std::string caption;
    bool running = true;
    int row = Choose([&] {
        wb::gui::test::ClickAt(Grid(), CellCenter(Grid(), 0, 1).x(), CellCenter(Grid(), 0, 1).y());
        caption = chooser.CounterPanel->Caption();
        running = chooser.Timer1.Enabled();
        DoubleClick(Grid(), 0, 3);
    });
    EXPECT_EQ(caption, "waiting");
    EXPECT_FALSE(running);
    EXPECT_EQ(row, 3);

    // Every showing starts afresh; "OK" closes and stops the timer.
    bool restarted = false;
    row = Choose([&] {
        restarted = chooser.Timer1.Enabled() && chooser.CounterPanel->Caption() == "5";
        chooser.OKBtn->Click();
    });
    EXPECT_TRUE(restarted);
    EXPECT_EQ(row, 1);
    EXPECT_FALSE(chooser.Timer1.Enabled());
}

} // namespace

// The window makes its folders current; the test leaves them once they go.
struct MainWindowCddb : testing::Test, private AppFirst {
    ~MainWindowCddb() override {
        std::error_code ec;
        fs::current_path("/", ec);
    }
    wb::TempDir program{"velmora-cddb-main"};
};

// From the main window's CDDB tab: a disc queued (once), "&Get Tracklists"
// against the server, the tag list in "Tags" and the queue empty again.
TEST_F(MainWindowCddb, GetTracklistsWritesTheTagListAndEmptiesTheQueue) {
    LoopbackServer server;
    test::ScriptExactMatch(server.script);
    TChooseFrm chooser;
    TID3Frm f(program.Path());
    f.HandWindows({nullptr, &chooser, nullptr});
    f.UrlEdit->SetText("127.0.0.1");
    f.PortEdit->SetText(std::to_string(server.Port()));
    f.EMailEdit->SetText("a@b");
    EXPECT_FALSE(f.ConnectBtn->Enabled());
    const auto disc = ParseRequestLine(test::kTwoTrackLine);
    ASSERT_TRUE(disc);
    wb::gui::test::ModalDriver driver;
    f.AddCddbRequest(*disc);
    f.AddCddbRequest(*disc);  // the same disc again is refused
    ASSERT_EQ(driver.Texts(), std::vector<std::string>{kDuplicateRequestText});
    EXPECT_EQ(f.ReqCounter->Caption(), "1");
    ASSERT_TRUE(f.ConnectBtn->Enabled());
    // The status window ends with its OK button once the run is over.
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        server.Step();
        QWidget* w = QApplication::activeModalWidget();
        if (auto* status = dynamic_cast<TCddbStatFrm*>(wb::gui::WidgetControl::ControlOf(w))) Tick(*status);
        auto* ok = w ? w->findChild<QPushButton*>("OkBtn") : nullptr;
        if (ok && ok->isEnabled()) ok->click();
    });
    poll.start();
    f.ConnectBtn->Click();
    poll.stop();
    EXPECT_TRUE(f.CddbRequests().Empty());
    EXPECT_EQ(f.ReqCounter->Caption(), "0");
    EXPECT_FALSE(f.ConnectBtn->Enabled());
    size_t lists = 0;
    for (const auto& e : fs::directory_iterator(f.TagsFolder())) lists += e.path().extension() == ".Tag";
    EXPECT_EQ(lists, 1u);
    // An address of no use is refused before anything is sent.
    f.EMailEdit->SetText("nobody");
    f.AddCddbRequest(*disc);
    driver.Clear();
    f.ConnectBtn->Click();
    EXPECT_EQ(driver.Texts(), std::vector<std::string>{kInvalidEMailText});
    EXPECT_EQ(f.CddbRequests().Count(), 1);
}

// Without a CD drive "Read &Disk" says why it is greyed out: in its hint and,
// while the CDDB tab is shown, in the status panel.
TEST_F(MainWindowCddb, ReadDiskSaysWhyItIsGreyedOut) {
    auto drives = std::make_shared<wb::FakeVolumeTable>();
    drives->Add("/", wb::VolumeKind::Fixed, wb::VolumeInfo{"", 1, "ext4"});
    wb::SetVolumeTable(drives);
    TID3Frm f(program.Path());
    const std::string welcome = f.StatusPanel->Caption();
    EXPECT_FALSE(f.ReadDiskInfoBtn->Enabled());
    EXPECT_EQ(f.ReadDiskInfoBtn->Hint(), "There is no CD drive.");
    f.PageControl1->SetActivePage(f.CDDBTab);
    EXPECT_EQ(f.StatusPanel->Caption(), "There is no CD drive.");
    f.PageControl1->SetActivePage(f.ID3Tab);
    EXPECT_EQ(f.StatusPanel->Caption(), welcome) << "the file's status comes back";
    wb::SetVolumeTable(nullptr);
}
