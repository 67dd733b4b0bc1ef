#include "platform/base/DirWatcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <mutex>

#include "platform/base/TempDir.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Generous: a loaded machine may take long, a working watcher never needs it.
constexpr auto kBound = 10s;

// Another process changes the disk, as a file manager would.
void Shell(const std::string& cmd) { ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd; }

// Counts the folder changes reported, and any change reported while the
// one before was not handled yet.
class Recorder {
public:
    void On(wb::DirWatcher::Event e) {
        std::lock_guard<std::mutex> lock(m_);
        if (unhandled_) ++overlaps_;
        unhandled_ = true;
        if (e == wb::DirWatcher::Event::FolderChange) ++changes_;
        cv_.notify_all();
    }
    void Handled(wb::DirWatcher& w) {
        {
            std::lock_guard<std::mutex> lock(m_);
            unhandled_ = false;
        }
        w.Handled();
    }
    // Until `n` changes were reported in all.
    bool WaitFor(int n) {
        std::unique_lock<std::mutex> lock(m_);
        return cv_.wait_for(lock, kBound, [&] { return changes_ >= n; });
    }
    int Count() {
        std::lock_guard<std::mutex> lock(m_);
        return changes_;
    }
    int Overlaps() {
        std::lock_guard<std::mutex> lock(m_);
        return overlaps_;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    int changes_ = 0, overlaps_ = 0;
    bool unhandled_ = false;
};

class DirWatcherTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(Dir() / "sub"); }
    fs::path Dir() const { return dir_.Path(); }
    std::string Q(const fs::path& relative) const { return "'" + (Dir() / relative).string() + "'"; }
    // A watcher of the test's folder, reporting to the recorder or, without a
    // handler, through its descriptor.
    void Watch(bool handler = true) {
        w = std::make_unique<wb::DirWatcher>(
            handler ? [this](wb::DirWatcher::Event e) { rec.On(e); } : wb::DirWatcher::Handler(), "");
        w->SetFolders({Dir().string()});
        w->Start();
        ASSERT_TRUE(w->WaitUntilWatching(kBound));
    }
    // The change `cmd` makes is reported as the `n`th, and handled.
    void Reported(const std::string& cmd, int n) {
        SCOPED_TRACE(cmd);
        Shell(cmd);
        ASSERT_TRUE(rec.WaitFor(n));
        rec.Handled(*w);
    }
    // Giving a folder set again and waiting until it is watched means every
    // change made before has been looked at: what was not reported by then
    // is not reported.
    void Settle(std::vector<std::string> folders, int expected) {
        w->SetFolders(std::move(folders));
        ASSERT_TRUE(w->WaitUntilWatching(kBound));
        EXPECT_EQ(rec.Count(), expected);
        EXPECT_EQ(rec.Overlaps(), 0);
    }
    wb::TempDir dir_{"dirwatch"};
    Recorder rec;
    std::unique_ptr<wb::DirWatcher> w;  // goes before the recorder it reports to
};

TEST_F(DirWatcherTest, ReportsFoldersMadeRenamedAndRemovedByAnotherProcess) {
    ASSERT_NO_FATAL_FAILURE(Watch());
    Reported("mkdir " + Q("new"), 1);
    Reported("mv " + Q("new") + " " + Q("renamed"), 2);
    Reported("rmdir " + Q("renamed"), 3);
    // Files are not folder names; a folder below an unwatched level neither.
    Shell("touch " + Q("file.mp3") + " && mkdir " + Q("sub/deep"));
    Settle({Dir().string()}, 3);
    w->Stop();
}

TEST_F(DirWatcherTest, HandsOverOneChangeAtATimeAndKeepsAFolderSetGivenMeanwhile) {
    ASSERT_NO_FATAL_FAILURE(Watch());
    Shell("mkdir " + Q("a"));
    ASSERT_TRUE(rec.WaitFor(1));
    // Not handled yet: more changes wait, and a switch to another folder set
    // given now must still take effect.
    Shell("mkdir " + Q("b"));
    w->SetFolders({(Dir() / "sub").string()});
    // The thread says when it holds the change for the owner: nothing more
    // is reported until it is handled.
    ASSERT_TRUE(w->WaitUntilIdle(kBound));
    EXPECT_EQ(rec.Count(), 1);
    rec.Handled(*w);
    // The change made while busy comes through, once.
    ASSERT_TRUE(rec.WaitFor(2));
    rec.Handled(*w);
    ASSERT_TRUE(w->WaitUntilWatching(kBound));
    EXPECT_EQ(rec.Count(), 2);
    Reported("mkdir " + Q("sub/x"), 3);
    Shell("mkdir " + Q("c"));  // the old folder is no longer watched
    Settle({(Dir() / "sub").string()}, 3);
}

TEST_F(DirWatcherTest, StopsWhileTheOwnerHasNotHandledAChange) {
    ASSERT_NO_FATAL_FAILURE(Watch());
    Shell("mkdir " + Q("a"));
    ASSERT_TRUE(rec.WaitFor(1));
    ASSERT_TRUE(w->WaitUntilIdle(kBound));
    // Joins without waiting for Handled(); a stop that waited would hang, and
    // the bound only ends such a run, releasing the thread.
    wb::DirWatcher* held = w.get();
    auto stopped = std::async(std::launch::async, [&] { w.reset(); });
    const bool stoppedAlone = stopped.wait_for(kBound) == std::future_status::ready;
    if (!stoppedAlone) held->Handled();
    EXPECT_TRUE(stoppedAlone);
}

TEST_F(DirWatcherTest, AnUnstartedOrEmptyWatcherStopsAtOnce) {
    {
        wb::DirWatcher never([](wb::DirWatcher::Event) {});
        EXPECT_FALSE(never.WaitUntilWatching(0ms));
    }
    wb::DirWatcher idle([](wb::DirWatcher::Event) {});
    idle.SetFolders({"/no/such/folder"});
    idle.Start();
    idle.Start();
    EXPECT_TRUE(idle.Started());
    EXPECT_TRUE(idle.WaitUntilWatching(kBound));  // with the missing folder left out
    idle.Stop();
    idle.Stop();
    EXPECT_FALSE(idle.WaitUntilWatching(0ms));
}

TEST_F(DirWatcherTest, WithoutAHandlerAnnouncesThroughADescriptor) {
    ASSERT_NO_FATAL_FAILURE(Watch(false));
    ASSERT_GE(w->ReadyFd(), 0);
    EXPECT_FALSE(w->TakeEvent().has_value());
    EXPECT_FALSE(w->WaitReady(0ms));
    Shell("mkdir " + Q("n"));
    ASSERT_TRUE(w->WaitReady(std::chrono::milliseconds(kBound)));
    EXPECT_EQ(w->TakeEvent(), wb::DirWatcher::Event::FolderChange);
    EXPECT_FALSE(w->TakeEvent().has_value());
    EXPECT_FALSE(w->WaitReady(0ms));
    w->Handled();
}

} // namespace
