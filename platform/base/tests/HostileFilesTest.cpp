// Files that are not what a program expects: FIFOs and devices where a
// document should be, targets that may not be replaced, writes cut short by
// a file-size limit, and a process ended by a signal.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/base/File.h"
#include "platform/base/PendingFile.h"
#include "platform/base/TempDir.h"
#include "platform/testing/Bytes.h"

using namespace wb;

namespace {

std::string Content(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return "(folder)";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

size_t Entries(const std::string& dir) {
    return std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator());
}

} // namespace

TEST(RegularFile, AFifoOrADeviceIsRefusedAtOnce) {
    TempDir dir;
    const std::string fifo = dir / "x.mp3", device = dir / "zero.wav";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", device.c_str()), 0);
    for (const auto& path : {fifo, device}) {
        try {
            File f(path, File::Mode::ReadDocument);
            FAIL() << path << " was opened";
        } catch (const IoError& e) {
            EXPECT_EQ(e.FileName(), path);
            EXPECT_NE(std::string(e.what()).find("is not a regular file"), std::string::npos) << e.what();
        }
    }
    test::WriteBytes(dir / "a.wav", "data");
    File f(dir / "a.wav", File::Mode::ReadDocument);
    char buf[8];
    EXPECT_EQ(f.Read(buf, sizeof buf), 4u);  // reads block again once open
}

struct Unreplaceable {
    const char* name;
    std::function<std::string(const TempDir&)> make;  // returns the target
    int expectedErrno;
};

class PendingRefusal : public ::testing::TestWithParam<Unreplaceable> {};

// Refused before anything is written, so the caller's own message comes first.
TEST_P(PendingRefusal, IsRefusedBeforeWritingAndNamesTheTarget) {
    TempDir dir;
    const std::string target = GetParam().make(dir);
    const std::string before = Content(target);
    const size_t entries = Entries(dir.Path());
    try {
        PendingFile out(target);
        FAIL() << "would write " << target;
    } catch (const IoError& e) {
        EXPECT_EQ(e.FileName(), target);
        EXPECT_EQ(e.Errno(), GetParam().expectedErrno);
    }
    EXPECT_EQ(Content(target), before);
    EXPECT_EQ(Entries(dir.Path()), entries);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PendingRefusal,
    ::testing::Values(
        Unreplaceable{"ReadOnlyFile",
                      [](const TempDir& d) {
                          test::WriteBytes(d / "movie.txt", "old");
                          ::chmod((d / "movie.txt").c_str(), 0444);
                          return d / "movie.txt";
                      },
                      EACCES},
        Unreplaceable{"NameTooLong", [](const TempDir& d) { return d / (std::string(300, 'n') + ".brk"); },
                      ENAMETOOLONG},
        Unreplaceable{"Folder",
                      [](const TempDir& d) {
                          std::filesystem::create_directory(d / "sub");
                          return d / "sub";
                      },
                      EISDIR}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PendingFailure, AWritePastTheSizeLimitFailsNamingTheChosenFile) {
    TempDir dir;
    const std::string target = dir / "song.wav";
    const pid_t pid = ::fork();
    if (pid == 0) {
        struct rlimit limit {1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            PendingFile out(target);
            std::string block(4000, 'x');
            out.Write(block.data(), block.size());
            out.Commit();
        } catch (const IoError& e) {
            const std::string text = e.what();
            const bool named = e.FileName() == target && text.find("song.wav") != std::string::npos &&
                               text.find(".wbtmp") == std::string::npos && e.Errno() == EFBIG;
            ::_exit(named ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Entries(dir.Path()), 0u);  // the temporary file went
}

TEST(PendingFailure, ASetIsCommittedWholeOrNotAtAll) {
    TempDir dir;
    std::vector<std::string> names{dir / "a.brk", dir / "a.b01", dir / "a.b02"};
    test::WriteBytes(names[0], "old0");
    test::WriteBytes(names[2], "old2");
    std::vector<PendingFile> set;
    auto stage = [&] {
        for (const auto& n : names) set.emplace_back(n).Write("new", 3);
    };
    stage();
    std::filesystem::remove(names[2]);
    std::filesystem::create_directory(names[2]);  // the last rename fails
    EXPECT_THROW(CommitAll(set), IoError);
    set.clear();
    EXPECT_EQ(Content(names[0]), "old0");
    EXPECT_FALSE(std::filesystem::exists(names[1]));
    EXPECT_TRUE(std::filesystem::is_directory(names[2]));
    EXPECT_EQ(Entries(dir.Path()), 2u);

    std::filesystem::remove(names[2]);
    stage();
    CommitAll(set);
    for (const auto& n : names) EXPECT_EQ(Content(n), "new");
    EXPECT_EQ(Entries(dir.Path()), 3u);
}

struct SignalCase {
    const char* name;
    int sig;
    bool hupIgnoredFirst;  // as under nohup: SIGHUP, ignored, comes before `sig`
};

void PrintTo(const SignalCase& c, std::ostream* os) { *os << c.name; }

class TerminationSignal : public ::testing::TestWithParam<SignalCase> {};

// A program killed while it writes: the partial files of its downloads,
// saves and piece sets go, the files they were to replace stay as they were.
// An ignored signal neither ends the process nor takes the folder.
TEST_P(TerminationSignal, RemovesPendingFilesAndThePrivateFolder) {
    const SignalCase& sc = GetParam();
    TempDir program("wbprogram");
    test::WriteBytes(program / "Song.mp3", "old");
    int up[2], down[2];  // child to parent, parent to child
    ASSERT_EQ(::pipe(up), 0);
    ASSERT_EQ(::pipe(down), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (sc.hupIgnoredFirst) ::signal(SIGHUP, SIG_IGN);
        TempDir dir("wbsignal");
        dir.RemoveOnTermination();
        test::WriteBytes(dir / "sx1tmp.wav", "1");
        test::WriteBytes(dir / "sx2tmp.wav", "2");
        PendingFile download(program / "Tool v1.2.zip"), save(program / "Song.mp3");
        std::vector<PendingFile> set;
        for (const char* name : {"a.brk", "a.b01"}) set.emplace_back(program / name);
        for (PendingFile* f : {&download, &save, &set[0], &set[1]}) f->Write("partial", 7);
        PendingFile(program / "Done.ini").Commit();
        const std::string path = dir.Path() + "\n";
        if (::write(up[1], path.data(), path.size()) < 0) ::_exit(3);
        // An ignored signal is dropped when sent, so once the parent has
        // sent it and says so, the folder shows whether it was taken.
        char c;
        if (::read(down[0], &c, 1) != 1) ::_exit(4);
        if (::write(up[1], DirectoryExists(dir.Path()) ? "y" : "n", 1) < 0) ::_exit(3);
        ::pause();
        ::_exit(0);
    }
    ::close(up[1]);  // a child that ends early is an end of file, not a hang
    ::close(down[0]);
    std::string path;
    char c;
    while (::read(up[0], &c, 1) == 1 && c != '\n') path += c;
    ASSERT_TRUE(DirectoryExists(path));
    if (sc.hupIgnoredFirst) {
        ::kill(pid, SIGHUP);
        ASSERT_EQ(::write(down[1], "?", 1), 1);
        EXPECT_EQ(::read(up[0], &c, 1), 1);
        EXPECT_EQ(c, 'y');
    }
    ::kill(pid, sc.sig);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sc.sig);
    EXPECT_FALSE(DirectoryExists(path));
    RemoveTree(path);
    EXPECT_EQ(Entries(program.Path()), 2u);
    EXPECT_EQ(Content(program / "Song.mp3"), "old");
    EXPECT_TRUE(std::filesystem::exists(program / "Done.ini"));
    ::close(up[0]);
    ::close(down[1]);
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal,
                         ::testing::Values(SignalCase{"Term", SIGTERM, false}, SignalCase{"Int", SIGINT, false},
                                           SignalCase{"Hup", SIGHUP, false},
                                           SignalCase{"IgnoredHupThenTerm", SIGTERM, true}),
                         [](const auto& info) { return std::string(info.param.name); });
