// The live update's rules, and the window against a web server of the
// test's own on loopback: what the user is told and what is left on disk.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/TempDir.h"
#include "platform/gui/Guard.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/Screens.h"
#include "tag_editor/windows/DirChoos.h"
#include "tag_editor/windows/Lupdate.h"
#include "tag_editor/logic/UpdateRules.h"

namespace {

using namespace velmora;
namespace fs = std::filesystem;

// ---- rules

TEST(UpdateRules, GroupThousands) {
    const std::pair<uint64_t, const char*> rows[] = {
        {1234567, "1.234.567"}, {123456, "123.456"}, {999, "999"}, {1000, "1.000"}, {0, "0"}, {1024, "1.024"}};
    for (auto [n, text] : rows) EXPECT_EQ(GroupThousands(n), text) << n;
}

struct VersionCase {
    const char* local;
    const char* remote;
    bool newer;
};
class NewerVersion : public ::testing::TestWithParam<VersionCase> {};
TEST_P(NewerVersion, ComparesWholeNumbersFromTheLeft) {
    EXPECT_EQ(IsNewerVersion(GetParam().local, GetParam().remote), GetParam().newer)
        << GetParam().local << " / " << GetParam().remote;
}
INSTANTIATE_TEST_SUITE_P(Versions, NewerVersion,
                         ::testing::Values(VersionCase{"1.2.3.4", "1.2.3.5", true}, VersionCase{"1.2.3.4", "1.2.3.4", false},
                                           VersionCase{"1.2.3.4", "1.2.2.9", false},
                                           VersionCase{"1.9.0.0", "1.10.0.0", true},
                                           VersionCase{"1.2.9.0", "1.2.10.0", true}, VersionCase{"2.0", "1.9.9.9", false},
                                           VersionCase{"1.2", "1.2.0.1", true}, VersionCase{"1.2.0.0", "1.2", false}),
                         [](const auto& info) {
                             std::string name = std::string("Local") + info.param.local + "Remote" + info.param.remote;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

TEST(UpdateRules, AVersionPartThatIsNoWholeNumberIsAnError) {
    for (const char* bad : {"1.2.x.4", "", "1..2", "1.2.-3.4", "1.2.3.4/../x"})
        EXPECT_THROW(IsNewerVersion("1.0.0.0", bad), std::invalid_argument) << bad;
}

TEST(UpdateRules, FileNamesAndArchivePaths) {
    for (const char* ok : {"Tool", "Velmora Setup", ""}) EXPECT_FALSE(RefuseUpdateFileName(ok)) << ok;
    for (const char* bad : {"../x", "a/b", "..", "a\\b", "a\nb"}) EXPECT_TRUE(RefuseUpdateFileName(bad)) << bad;
    EXPECT_EQ(ArchivePath("/home/me/dl", "Tool", "1.6.0.0"), "/home/me/dl/Tool v1.6.0.0.zip");
    EXPECT_EQ(ArchivePath("/opt/velmora/", "Tool", "1.6.0.0"), "/opt/velmora/Tool v1.6.0.0.zip");
    EXPECT_EQ(DownloadPercent(512, 1024), 50);
    EXPECT_EQ(DownloadPercent(1, 8), 12);  // 12.5 to the even neighbour
    EXPECT_EQ(DownloadPercent(5, 0), 0);
    EXPECT_EQ(DownloadPercent(9, 8), 100);
}

// Archives as real tools write them: Python's zipfile ("plain"; "comment",
// whose comment is an end record of no entries; "nested", a zip stored as
// its last entry), stored so a half holds plain entry bytes, and Info-ZIP's
// zip forced to zip64 ("zip64"). Empty when the tool is missing.
std::string MakeZip(const std::string& kind, const std::string& dir) {
    static const char* script = R"(import io, sys, zipfile
def make(entries, comment=b""):
    b = io.BytesIO()
    with zipfile.ZipFile(b, "w") as z:
        for name, data in entries: z.writestr(zipfile.ZipInfo(name, (2024, 1, 1, 0, 0, 0)), data)
        z.comment = comment
    return b.getvalue()
files = [("Update.exe", bytes(range(256)) * 8), ("Readme.txt", b"Velmora update\r\n" * 64)]
kind = sys.argv[1]
sys.stdout.buffer.write(make(files + ([("Inner.zip", make(files))] if kind == "nested" else []),
                             b"PK\x05\x06" + bytes(18) if kind == "comment" else b""))
)";
    QProcess p;
    p.setWorkingDirectory(QString::fromStdString(dir));
    if (kind == "zip64") {
        std::ofstream(fs::path(dir) / "Update.exe", std::ios::binary) << std::string(3000, 'u');
        p.start("zip", {"-q", "-0", "-fz", "z64.zip", "Update.exe"});
    } else {
        p.start("python3", {"-c", script, QString::fromStdString(kind)});
    }
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    if (kind != "zip64") return p.readAllStandardOutput().toStdString();
    std::ifstream in(fs::path(dir) / "z64.zip", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ArchiveCase {
    const char* name;
    const char* kind;
    int cut;  // bytes left off the end; -1 half of them; -2 all after the stored zip
    bool whole;
};
void PrintTo(const ArchiveCase& c, std::ostream* os) { *os << c.name; }
class ArchiveCheck : public ::testing::TestWithParam<ArchiveCase> {};
TEST_P(ArchiveCheck, OnlyAWholeArchiveGoesToTheUpdater) {
    wb::gui::test::App("Velmora");
    const ArchiveCase& c = GetParam();
    wb::TempDir dir("archive");
    const std::string zip = MakeZip(c.kind, dir.Path()), inner = c.cut == -2 ? MakeZip("plain", dir.Path()) : "";
    if (zip.empty()) GTEST_SKIP() << "no tool made the archive (scripts/setup installs them)";
    const size_t keep = c.cut == -1 ? zip.size() / 2 : c.cut == -2 ? zip.find(inner) + inner.size() : zip.size() - c.cut;
    std::ofstream(dir / "a.zip", std::ios::binary) << zip.substr(0, keep);
    EXPECT_EQ(LooksLikeArchive(dir / "a.zip"), c.whole);
    EXPECT_EQ(IsCompleteZip(zip.substr(0, keep)), c.whole);
}
INSTANTIATE_TEST_SUITE_P(Archives, ArchiveCheck,
                         ::testing::Values(ArchiveCase{"Whole", "plain", 0, true}, ArchiveCase{"Half", "plain", -1, false},
                                           ArchiveCase{"EndRecordMissing", "plain", 22, false},
                                           ArchiveCase{"LastByteMissing", "plain", 1, false},
                                           ArchiveCase{"CommentHoldsAnEmptyEndRecord", "comment", 0, true},
                                           ArchiveCase{"CommentCutShort", "comment", 3, false},
                                           ArchiveCase{"CutAfterAStoredZip", "nested", -2, false},
                                           ArchiveCase{"Zip64", "zip64", 0, true}, ArchiveCase{"Zip64Half", "zip64", -1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the window against a server

// Python's own web server over a folder, on a free loopback port.
class WebServer {
public:
    explicit WebServer(const std::string& folder) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port_ = probe.serverPort();
        probe.close();
        // Unbuffered, so the server's own "Serving HTTP" line says when it listens.
        process_.start("python3", {"-u", "-m", "http.server", QString::number(port_), "--bind", "127.0.0.1",
                                   "--directory", QString::fromStdString(folder)});
        QByteArray said;
        while (!ready_ && process_.waitForReadyRead(30000)) {
            said += process_.readAllStandardOutput();
            ready_ = said.contains("Serving HTTP");
        }
    }
    ~WebServer() {
        process_.kill();
        process_.waitForFinished(2000);
    }
    bool Ready() const { return ready_; }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    QProcess process_;
    uint16_t port_ = 0;
    bool ready_ = false;
};

// Answers every request with the reply, then hangs or drops.
class StallingServer {
public:
    StallingServer(bool drop, std::string reply) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this, drop, reply] {
            QTcpSocket* s = server_.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, s, [s, drop, reply] {
                s->readAll();
                s->write(reply.data(), qint64(reply.size()));
                s->flush();
                if (drop) s->disconnectFromHost();
            });
        });
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/Tool.zip"; }

private:
    QTcpServer server_;
};

enum class Choice { None, Install, DownloadOnly, DownloadOnlyCancelled, CancelMidTransfer, CloseWhileWaiting };

struct UpdateCase {
    const char* name;
    std::string version;   // on offer; empty: no Update.ini on the server
    std::string fileName;
    std::string archive;   // "" none on the server, "stall", "drop": a server of the test's own
    Choice choice;
    std::string status;
    bool installReady;
    std::string archiveLeft;  // where an archive ends up ("" nowhere): "program" or "chosen"
    bool errorBox = false;    // an error box says what the status line then tells
};

void PrintTo(const UpdateCase& c, std::ostream* os) { *os << c.name; }

class LiveUpdate : public ::testing::TestWithParam<UpdateCase> {
protected:
    void SetUp() override { wb::gui::test::App("Velmora"); }
};

size_t FilesIn(const std::string& folder) {
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(folder)) n += e.is_regular_file();
    return n;
}

TEST_P(LiveUpdate, EndsAsTheUserAndTheServerDecide) {
    const UpdateCase& c = GetParam();
    if (std::system("python3 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
    wb::TempDir site("update-site"), program("update-program"), chosen("update-chosen");
    WebServer web(site.Path());
    ASSERT_TRUE(web.Ready());
    const std::string zip = MakeZip("plain", site.Path());
    ASSERT_FALSE(zip.empty());
    std::ostringstream chunk;
    chunk << std::hex << zip.size() << "\r\n" << zip << "\r\n0\r\n\r\n";
    // "half": half the archive with no length, then the connection closes.
    StallingServer stall(c.archive != "stall",
                         c.archive == "chunked" ? "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunk.str()
                         : c.archive == "half"  ? "HTTP/1.0 200 OK\r\n\r\n" + zip.substr(0, zip.size() / 2)
                                                : "HTTP/1.0 200 OK\r\nContent-Length: 900000\r\n\r\n" + zip);
    std::string archiveUrl = web.Url("/files/Tool.zip");
    if (c.archive == "stall" || c.archive == "drop" || c.archive == "chunked" || c.archive == "half")
        archiveUrl = stall.Url();
    fs::create_directories(site / "Software/Velmora");
    fs::create_directories(site / "files");
    if (!c.version.empty())
        std::ofstream(site / "Software/Velmora/Update.ini", std::ios::binary)
            << "[UpdateInfo]\r\nVersion=" << c.version << "\r\nFileName=" << c.fileName << "\r\nUpdateURL=" << archiveUrl
            << "\r\n";
    if (c.archive == "zip") std::ofstream(site / "files/Tool.zip", std::ios::binary) << zip;
    if (c.archive == "html") std::ofstream(site / "files/Tool.zip", std::ios::binary) << "<html>moved</html>";

    TLUpdateFrm w;
    w.ProgramVersion = "1.2.3.4";
    w.ProgramFolder = program.Path();
    w.UpdateAddress = web.Url("/Software/Velmora/Update.ini");
    std::string chosenStart, started;
    w.ChooseFolder = [&](const std::string& start) {
        chosenStart = start;
        return c.choice == Choice::DownloadOnlyCancelled ? std::string() : chosen.Path();
    };
    w.StartUpdater = [&](const std::string& line) { started = line; };
    w.Show();
    w.Timer->SetEnabled(false);
    if (c.choice == Choice::CancelMidTransfer)
        w.ProgressBar->OnChange = [&](wb::Persistent*, int) { QTimer::singleShot(0, [&] { w.CancelBtn->Click(); }); };
    wb::gui::test::ModalDriver driver;
    // The check ends at the offer; the choice's button goes on from there.
    wb::gui::RunGuarded([&] { w.CheckForUpdate(); });
    if (c.choice == Choice::Install || c.choice == Choice::CancelMidTransfer) w.BitBtn3->Click();
    if (c.choice == Choice::DownloadOnly || c.choice == Choice::DownloadOnlyCancelled) w.DownloadBtn->Click();
    // Closing the window while it waits for the choice cancels the check.
    if (c.choice == Choice::CloseWhileWaiting) w.Close();
    EXPECT_EQ(w.InfoPanel->Caption(), c.status);
    EXPECT_EQ(w.InstallReady, c.installReady);
    EXPECT_TRUE(w.OKBtn->Enabled() != w.CancelBtn->Enabled());
    // The information file stays only once an update was offered.
    EXPECT_EQ(fs::exists(program / "Update.ini"), c.version == "1.2.3.5" && c.fileName == "Tool");
    const std::string name = c.fileName + " v" + c.version + ".zip";
    EXPECT_EQ(fs::exists(program / name), c.archiveLeft == "program");
    EXPECT_EQ(fs::exists(chosen / name), c.archiveLeft == "chosen");
    // Nothing else is left in the chosen folder, and no partial file anywhere.
    EXPECT_EQ(FilesIn(chosen.Path()), c.archiveLeft == "chosen" ? 1u : 0u);
    if (c.choice == Choice::DownloadOnly || c.choice == Choice::DownloadOnlyCancelled) {
        EXPECT_EQ(chosenStart, program.Path());
    }
    // Escape is Cancel's: with Cancel off it neither closes the window nor skips the install.
    if (w.IsWindowVisible() && !w.CancelBtn->Enabled()) {
        QApplication::setActiveWindow(w.Window());
        QTest::keyClick(w.Window(), Qt::Key_Escape);
        EXPECT_TRUE(w.IsWindowVisible());
    }
    w.OKBtnClick();
    if (c.installReady) EXPECT_EQ(started.substr(0, started.rfind(' ')), "\"" + program.Path() + "/Update.exe\"");
    else EXPECT_EQ(started, "");
    EXPECT_EQ(driver.Texts(), c.errorBox ? std::vector<std::string>{c.status} : std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(site / "evil v1.2.3.5.zip"));
}

INSTANTIATE_TEST_SUITE_P(
    Server, LiveUpdate,
    ::testing::Values(
        UpdateCase{"SameVersion", "1.2.3.4", "Tool", "zip", Choice::None, "No new version available", false, ""},
        UpdateCase{"Install", "1.2.3.5", "Tool", "zip", Choice::Install,
                   "       Download Ready. Press \"OK\" to finish Update", true, "program"},
        UpdateCase{"DownloadOnly", "1.2.3.5", "Tool", "zip", Choice::DownloadOnly, "       Download Ready", false,
                   "chosen"},
        UpdateCase{"FolderChoiceCancelled", "1.2.3.5", "Tool", "zip", Choice::DownloadOnlyCancelled,
                   "Live Update aborted", false, ""},
        UpdateCase{"NoInformationFile", "", "Tool", "zip", Choice::None, "ERROR : No connection to server", false, ""},
        UpdateCase{"ArchiveMissing", "1.2.3.5", "Tool", "", Choice::Install, "ERROR : Lost connection to server",
                   false, ""},
        UpdateCase{"HtmlInsteadOfTheArchive", "1.2.3.5", "Tool", "html", Choice::Install,
                   "ERROR : Lost connection to server", false, ""},
        UpdateCase{"HalfArchiveWithoutLength", "1.2.3.5", "Tool", "half", Choice::Install,
                   "ERROR : Lost connection to server", false, ""},
        UpdateCase{"HalfArchiveDownloadOnly", "1.2.3.5", "Tool", "half", Choice::DownloadOnly,
                   "ERROR : Lost connection to server", false, ""},
        UpdateCase{"DroppedConnection", "1.2.3.5", "Tool", "drop", Choice::Install,
                   "ERROR : Lost connection to server", false, ""},
        UpdateCase{"CancelMidTransfer", "1.2.3.5", "Tool", "stall", Choice::CancelMidTransfer, "Live Update aborted",
                   false, ""},
        UpdateCase{"ClosedWhileWaiting", "1.2.3.5", "Tool", "zip", Choice::CloseWhileWaiting, "Live Update aborted",
                   false, ""},
        // Refused as the errors they are.
        UpdateCase{"HostileFileName", "1.2.3.5", "../../evil", "zip", Choice::Install,
                   "The update server named the file \"../../evil\", which is not a plain file name.", false, "", true},
        UpdateCase{"NulInTheVersion", std::string("1.2.3.5\0beta", 12), "Tool", "zip", Choice::Install,
                   "'5 beta' is not a valid integer value", false, "", true},
        UpdateCase{"ChunkedArchive", "1.2.3.5", "Tool", "chunked", Choice::Install,
                   "The server sent its reply in the transfer coding \"chunked\", which this program cannot read.",
                   false, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

// The updater runs in the program's folder, wherever the file list has taken this process.
TEST(LiveUpdateWindows, TheUpdaterStartsInTheProgramFolder) {
    wb::gui::test::App("Velmora");
    wb::TempDir program("update-program");
    const std::string said = program / "said";
    ASSERT_EQ(::mkfifo(said.c_str(), 0600), 0);
    std::ofstream(program / "Update.exe") << "#!/bin/sh\npwd -P > \"$(dirname \"$0\")/said\"\n";
    fs::permissions(program / "Update.exe", fs::perms::owner_all);
    fs::create_directories(program / "Tags");
    struct Cwd {
        fs::path old = fs::current_path();
        ~Cwd() { fs::current_path(old); }
    } cwd;
    fs::current_path(program / "Tags");
    // Open for both ends, so neither side waits for the other to open it.
    const int fd = ::open(said.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    TLUpdateFrm w;
    w.ProgramFolder = program.Path();
    w.Show();
    w.Timer->SetEnabled(false);
    w.InstallReady = true;
    wb::gui::RunGuarded([&] { w.OKBtnClick(); });
    pollfd ready{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&ready, 1, 60000), 1);  // a stop for an updater that never speaks, not a measure
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    ::close(fd);
    EXPECT_EQ(std::string(buf, n > 0 ? size_t(n) : 0), fs::canonical(program.Path()).string() + "\n");
}

TEST(LiveUpdateWindows, Screenshots) {
    wb::gui::test::App("Velmora");
    TLUpdateFrm w;
    w.ProgramVersion = "1.2.3.4";
    w.Show();
    w.Timer->SetEnabled(false);
    w.ShowUpdateStatus("New version available", 0);
    w.OldVerPanel->SetCaption("1.2.3.4");
    w.NewVerPanel->SetCaption("1.2.3.5");
    w.VersionPanel->SetVisible(true);
    EXPECT_FALSE(wb::gui::test::Screenshot(w, "velmora-liveupdate-offer").isNull());
    w.VersionPanel->SetVisible(false);
    w.DownloadPanel->SetVisible(true);
    w.ShowUpdateStatus("Downloading new version", 1);
    w.UpdateHTTPPacketRecvd(512, 1024);
    EXPECT_EQ(w.ProgressBar->Percent(), 50);
    EXPECT_EQ(w.TotalSizePanel->Caption(), "1.024");
    EXPECT_EQ(w.RecSizePanel->Caption(), "512");
    EXPECT_FALSE(wb::gui::test::Screenshot(w, "velmora-liveupdate-download").isNull());
    w.Close();
    TDirFrm d;
    d.Show();
    EXPECT_FALSE(wb::gui::test::Screenshot(d, "velmora-dirchoose").isNull());
    d.Close();
}

} // namespace
