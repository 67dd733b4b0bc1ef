#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/TempDir.h"
#include "platform/base/TextFile.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/Shell.h"
#include "platform/testing/DoneSignal.h"
#include "platform/testing/GuiTest.h"

using namespace wb;
using namespace wb::gui;

namespace {

// A folder of stand-in programs, first on PATH while it lives; at first its
// xdg-open and someprog write their name and arguments to a log.
class FakePrograms {
public:
    FakePrograms() : oldPath_(std::getenv("PATH")) {
        for (const char* name : {"xdg-open", "someprog"})
            Add(name, std::string("{ echo ") + name + "; for a in \"$@\"; do echo \"[$a]\"; done; } >> \"" +
                          (dir_ / "log") + "\"\n" + done_.Command() + "\n");
        ::setenv("PATH", (dir_.Path() + ":" + oldPath_).c_str(), 1);
    }
    ~FakePrograms() { ::setenv("PATH", oldPath_.c_str(), 1); }
    void Add(const std::string& name, const std::string& script) const {
        WriteFileReplacing(dir_ / name, "#!/bin/sh\n" + script, 0755);
    }
    const TempDir& Dir() const { return dir_; }
    // The log once the detached program says it has written it.
    std::string WaitForLog() {
        done_.Wait();
        return ReadWholeFile(dir_ / "log").value_or("");
    }

private:
    wb::test::DoneSignal done_;
    TempDir dir_;
    std::string oldPath_;
};

} // namespace

TEST(Shell, DocumentsOpenWithTheDesktopsDefaultApplication) {
    gui::test::App();
    FakePrograms fake;
    EXPECT_TRUE(OpenWithDefaultApplication("/docs/my help.doc"));
    EXPECT_EQ(fake.WaitForLog(), "xdg-open\n[/docs/my help.doc]\n");
    EXPECT_FALSE(OpenWithDefaultApplication(""));
}

TEST(Shell, ADocumentThatNoProgramOpensIsReported) {
    gui::test::App();
    FakePrograms fake;
    // Like xdg-open on a desktop without a program for the document.
    fake.Add("xdg-open", "echo \"no method available\" >&2\nexit 3\n");
    EXPECT_FALSE(OpenWithDefaultApplication("/docs/qz15help.doc"));
}

// The window's events go on while the opener decides: a job queued before
// the call lets a stand-in opener finish, and its verdict arrives in time.
TEST(Shell, TheWindowGoesOnWhileTheOpenerDecides) {
    gui::test::App();
    FakePrograms fake;
    const std::string gate = fake.Dir() / "gate";
    ASSERT_EQ(::mkfifo(gate.c_str(), 0600), 0);
    fake.Add("xdg-open", "read line < \"" + gate + "\"\nexit 3\n");
    // Read and write, so the open never waits for the stand-in.
    int opened = -1;
    auto release = [&] {
        opened = ::open(gate.c_str(), O_RDWR);
        (void)!::write(opened, "go\n", 3);
    };
    QTimer::singleShot(0, release);
    // Still waiting at the deadline would count as opened.
    EXPECT_FALSE(OpenWithDefaultApplication("/docs/qz15help.doc"));
    EXPECT_GE(opened, 0);
    // A window that stood still leaves the stand-in waiting: let it end.
    if (opened < 0) release();
    ::close(opened);
}

TEST(Shell, ProgramsStartWithTheirQuotedArguments) {
    gui::test::App();
    FakePrograms fake;
    EXPECT_TRUE(StartProgram("someprog \"a b\" c"));
    EXPECT_EQ(fake.WaitForLog(), "someprog\n[a b]\n[c]\n");
    EXPECT_FALSE(StartProgram("no-such-program-anywhere x"));
    EXPECT_FALSE(StartProgram(""));
}

TEST(FileDialogs, OpenDialogReturnsTheChosenFileOrNothing) {
    gui::test::App();
    gui::test::ModalDriver driver;
    TempDir dir;
    WriteFileReplacing(dir / "movie.brk", "BrK");
    OpenFileOptions o;
    o.defaultExt = "*";
    o.initialName = "*.brk";
    o.initialDir = dir.Path();
    driver.AnswerFileDialog(dir / "movie.brk");
    EXPECT_EQ(ShowOpenFileDialog(o), dir / "movie.brk");
    EXPECT_EQ(driver.FileDialogFilters().back(), "*.brk;;All files (*)");
    driver.AnswerFileDialog(std::nullopt);
    o.initialName = "*.*";
    EXPECT_EQ(ShowOpenFileDialog(o), std::nullopt);
    EXPECT_EQ(driver.FileDialogsShown(), 2);

    EXPECT_EQ(QtNameFilters("Pieces|*.brk;*.b01|All|*"), "Pieces (*.brk *.b01);;All (*)");
    EXPECT_EQ(QtNameFilters(""), "");
}
