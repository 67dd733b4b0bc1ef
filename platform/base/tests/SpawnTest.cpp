#include "platform/base/Spawn.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/base/TempDir.h"
#include "platform/base/TextFile.h"

using namespace wb;
using namespace std::chrono_literals;

namespace {

constexpr auto kChild = -1ms;  // no watch: a child of ours

struct SpawnCase {
    const char* name;
    std::chrono::milliseconds watch;
    std::string script;  // its output is what the program wrote; "-" runs no shell
    SpawnOptions options;
    bool started;
    std::string wrote;   // "!x": anything but x; empty: nothing
};

void PrintTo(const SpawnCase& c, std::ostream* os) { *os << c.name; }

class Spawning : public testing::TestWithParam<SpawnCase> {};

TEST_P(Spawning, StartsAsAskedAndSaysWhetherItDid) {
    const SpawnCase& c = GetParam();
    TempDir dir;
    const std::string out = dir / "out";
    const std::vector<std::string> argv =
        c.script == "-" ? std::vector<std::string>{"no-such-program-anywhere"}
                        : std::vector<std::string>{"sh", "-c", "(" + c.script + ") > \"$1.tmp\" && mv \"$1.tmp\" \"$1\"",
                                                   "sh", out};
    SpawnOptions options = c.options;
    if (!options.workingFolder.empty()) options.workingFolder = dir / options.workingFolder;
    ::mkdir((dir / "work").c_str(), 0700);
    bool started = false;
    if (c.watch == kChild) {
        const pid_t pid = Spawn(argv, options);
        int status = 0;
        started = pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    } else {
        started = ApartProgram(argv, options, c.watch).Verdict();
    }
    EXPECT_EQ(started, c.started);
    std::string expected = c.wrote;
    char errors[256] = {};
    (void)!::readlink("/proc/self/fd/2", errors, sizeof errors - 1);
    for (auto [key, value] : {std::pair<std::string, std::string>{"{work}", dir / "work"},
                              {"{session}", std::to_string(::getsid(0))},
                              {"{errors}", errors}})
        if (auto at = expected.find(key); at != std::string::npos) expected.replace(at, key.size(), value);
    std::optional<std::string> wrote;
    for (int i = 0; i < 500 && !expected.empty() && !(wrote = ReadWholeFile(out)); ++i)
        std::this_thread::sleep_for(20ms);
    if (expected.empty()) EXPECT_FALSE(ReadWholeFile(out).has_value());
    else if (expected[0] == '!') EXPECT_NE(wrote.value_or(expected.substr(1)), expected.substr(1));
    else EXPECT_EQ(wrote.value_or(""), expected);
}

const char* const kErrors = "readlink /proc/self/fd/2";
const char* const kSession = "cut -d' ' -f6 /proc/$$/stat";

INSTANTIATE_TEST_SUITE_P(
    Ways, Spawning,
    testing::Values(
        SpawnCase{"QuietChildDropsItsErrors", kChild, kErrors, SpawnOptions::Quiet(), true, "/dev/null\n"},
        SpawnCase{"ApartProgramKeepsOurErrorOutput", 0ms, kErrors, {}, true, "{errors}\n"},
        SpawnCase{"ChildStaysInOurSession", kChild, kSession, {}, true, "{session}\n"},
        SpawnCase{"ApartProgramHasASessionOfItsOwn", 0ms, kSession, {}, true, "!{session}\n"},
        SpawnCase{"RunsInItsWorkingFolder", 0ms, "pwd", SpawnOptions::In("work"), true, "{work}\n"},
        SpawnCase{"AMissingWorkingFolderStartsNothing", 0ms, "pwd", SpawnOptions::In("gone"), false, ""},
        SpawnCase{"WatchedUntilItEnds", 10s, "echo ok", {}, true, "ok\n"},
        SpawnCase{"WatchedFailureIsReported", 10s, "exit 3", {}, false, ""},
        SpawnCase{"StillRunningWhenTheWatchEndsLivesOn", 50ms, "sleep 0.5; echo on", {}, true, "on\n"},
        SpawnCase{"AMissingProgramIsNoChild", kChild, "-", {}, false, ""},
        SpawnCase{"AMissingProgramIsNotStartedApart", 0ms, "-", {}, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
