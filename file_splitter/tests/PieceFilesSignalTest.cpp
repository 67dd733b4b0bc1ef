// A split over an older set, ended by a termination signal while it copies or
// at any step of its commit, taken by the committing thread or another one.
#include "ParvexTestSupport.h"

#include <sys/wait.h>
#include <thread>

#include "file_splitter/PieceFiles.h"
#include "platform/base/PendingFile.h"

using namespace parvex::test;

namespace {

int gSignal, gCountdown;
bool gOtherThread;

void SignalHere() {
    if (gCountdown-- != 0) return;
    ::kill(::getpid(), gSignal);
    sigset_t pending;  // taken by another thread once nothing holds it pending
    for (int i = 0; gOtherThread && i < 2000 && !::sigpending(&pending) && sigismember(&pending, gSignal); ++i)
        ::usleep(1000);
}

// Signal; step: -1 copying, then a backup and a rename per piece, then the
// five backups dropped; another thread awake.
using Landing = std::tuple<int, int, bool>;
class SignalDuringSplit : public TempDirTest, public ::testing::WithParamInterface<Landing> {};

std::string LandingName(const ::testing::TestParamInfo<Landing>& info) {
    const auto [sig, step, otherThread] = info.param;
    const std::string what = step < 0    ? "Copying"
                             : step < 10 ? (step % 2 ? "Rename" : "Backup") + std::to_string(step / 2 + 1)
                                         : "DropBackup" + std::to_string(step - 9);
    return (sig == SIGTERM ? "Term_" : sig == SIGINT ? "Int_" : "Hup_") + what + (otherThread ? "_Other" : "_Lone");
}

} // namespace

TEST_P(SignalDuringSplit, LeavesTheOldSetOrTheNewWhole) {
    const auto [sig, step, otherThread] = GetParam();
    const auto oldSource = MakeFile("old.dat", 20380, 1), newSource = MakeFile("new.dat", 20280, 2);
    parvex::SplitFile({Path("old.dat"), Path("a.brk"), oldSource.size(), 4096});  // five pieces, as the new
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::tie(gSignal, gCountdown, gOtherThread) = std::tuple(sig, std::max(step, 0), otherThread);
        if (otherThread) std::thread([] { for (;;) ::pause(); }).detach();
        parvex::CopyEvents events;
        if (step < 0) events.block = SignalHere;
        else wb::detail::gCommitStepHook = SignalHere;
        try {
            parvex::SplitFile({Path("new.dat"), Path("a.brk"), newSource.size(), 4096}, events);
        } catch (...) {
        }
        // A handler may still be at work on the other thread: the signal is
        // to end this process; SIGALRM only ends a child it never ends.
        ::alarm(60);
        for (;;) ::pause();
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << "status " << status;
    EXPECT_EQ(Listing(), (std::vector<std::string>{"a.b01", "a.b02", "a.b03", "a.b04", "a.brk", "new.dat", "old.dat"}));
    parvex::FirstPiece first;
    ASSERT_EQ(parvex::ReadFirstPiece(Path("a.brk"), first), parvex::FirstPieceStatus::Ok);
    ASSERT_EQ(parvex::AssemblePieces(first, Path("joined.dat")), 0u);
    const auto joined = ReadBytes(Path("joined.dat"));
    EXPECT_TRUE(joined == oldSource || joined == newSource) << "joined neither source";
}

INSTANTIATE_TEST_SUITE_P(EveryStep, SignalDuringSplit,
                         ::testing::Combine(::testing::Values(SIGTERM, SIGINT, SIGHUP), ::testing::Range(-1, 15),
                                            ::testing::Bool()),
                         LandingName);
