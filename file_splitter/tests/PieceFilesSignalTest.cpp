// A split over an older piece set, ended by a termination signal while it
// copies or at any step of putting its pieces in place, taken by the thread
// that commits or by another one: the old set or the new one stays, whole,
// and joins to its own source.
#include "ParvexTestSupport.h"

#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

#include "file_splitter/PieceFiles.h"
#include "platform/base/PendingFile.h"

using namespace parvex::test;

namespace {

constexpr uint64_t kPiece = 4096;
// Five pieces over five: a backup and a rename each, then five backups dropped.
constexpr int kSteps = 15;

int gSignal, gCountdown;
bool gOtherThread;

void SignalHere() {
    if (gCountdown-- != 0) return;
    ::kill(::getpid(), gSignal);
    // Another thread may take it; it has once nothing holds it pending.
    sigset_t pending;
    for (int i = 0; gOtherThread && i < 2000 && ::sigpending(&pending) == 0 && sigismember(&pending, gSignal); ++i)
        ::usleep(1000);
}

using Landing = std::tuple<int, int, bool>;  // signal, step (-1: copying), another thread awake

class SignalDuringSplit : public TempDirTest, public ::testing::WithParamInterface<Landing> {};

std::string LandingName(const ::testing::TestParamInfo<Landing>& info) {
    const auto [sig, step, otherThread] = info.param;
    const std::string what = step < 0   ? "Copying"
                             : step < 10 ? (step % 2 ? "Rename" : "Backup") + std::to_string(step / 2 + 1)
                                         : "DropBackup" + std::to_string(step - 9);
    return std::string(sig == SIGTERM ? "Term" : sig == SIGINT ? "Int" : "Hup") + "_" + what +
           (otherThread ? "_OtherThread" : "_LoneThread");
}

} // namespace

TEST_P(SignalDuringSplit, LeavesTheOldSetOrTheNewWhole) {
    const auto [sig, step, otherThread] = GetParam();
    const auto oldSource = MakeFile("old.dat", 5 * kPiece - 100, 1);
    const auto newSource = MakeFile("new.dat", 5 * kPiece - 200, 2);
    parvex::SplitFile({Path("old.dat"), Path("a.brk"), oldSource.size(), kPiece});
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::tie(gSignal, gCountdown, gOtherThread) = std::make_tuple(sig, std::max(step, 0), otherThread);
        if (otherThread) std::thread([] { for (;;) ::pause(); }).detach();
        parvex::CopyEvents events;
        if (step < 0) events.block = SignalHere;
        else wb::detail::gCommitStepHook = SignalHere;
        try {
            parvex::SplitFile({Path("new.dat"), Path("a.brk"), newSource.size(), kPiece}, events);
        } catch (...) {
        }
        ::_exit(0);
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
                         ::testing::Combine(::testing::Values(SIGTERM, SIGINT, SIGHUP),
                                            ::testing::Range(-1, kSteps), ::testing::Bool()),
                         LandingName);
