#include "platform/base/DirWatcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <poll.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Another process changes the disk, as a file manager would.
void Shell(const std::string& cmd) { ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd; }

class Recorder {
public:
    void On(wb::DirWatcher::Event e) {
        std::lock_guard<std::mutex> lock(m_);
        if (e == wb::DirWatcher::Event::FolderChange) ++changes_;
        cv_.notify_all();
    }
    // Waits until `n` changes were reported in all.
    bool WaitFor(int n, std::chrono::milliseconds limit = 1000ms) {
        std::unique_lock<std::mutex> lock(m_);
        return cv_.wait_for(lock, limit, [&] { return changes_ >= n; });
    }
    int Count() {
        std::lock_guard<std::mutex> lock(m_);
        return changes_;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    int changes_ = 0;
};

class DirWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("dirwatch-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "sub");
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }
    fs::path dir_;
};

TEST_F(DirWatcherTest, ReportsFoldersMadeRenamedAndRemovedByAnotherProcess) {
    Recorder rec;
    wb::DirWatcher w([&](wb::DirWatcher::Event e) { rec.On(e); }, "");
    w.SetFolders({dir_.string()});
    w.Start();
    std::this_thread::sleep_for(50ms);

    Shell("mkdir " + Q(dir_ / "new"));
    ASSERT_TRUE(rec.WaitFor(1));
    w.Handled();
    Shell("mv " + Q(dir_ / "new") + " " + Q(dir_ / "renamed"));
    ASSERT_TRUE(rec.WaitFor(2));
    w.Handled();
    Shell("rmdir " + Q(dir_ / "renamed"));
    ASSERT_TRUE(rec.WaitFor(3));
    w.Handled();

    // Files are not folder names; a folder below an unwatched level neither.
    Shell("touch " + Q(dir_ / "file.mp3") + " && mkdir " + Q(dir_ / "sub" / "deep"));
    EXPECT_FALSE(rec.WaitFor(4, 300ms));
    w.Stop();
}

TEST_F(DirWatcherTest, HandsOverOneChangeAtATimeAndKeepsAFolderSetGivenMeanwhile) {
    Recorder rec;
    wb::DirWatcher w([&](wb::DirWatcher::Event e) { rec.On(e); }, "");
    w.SetFolders({dir_.string()});
    w.Start();
    std::this_thread::sleep_for(50ms);

    Shell("mkdir " + Q(dir_ / "a"));
    ASSERT_TRUE(rec.WaitFor(1));
    // Not handled yet: more changes wait, and a switch to another folder set
    // given now must still take effect.
    Shell("mkdir " + Q(dir_ / "b"));
    w.SetFolders({(dir_ / "sub").string()});
    EXPECT_FALSE(rec.WaitFor(2, 300ms));
    w.Handled();
    // The change made while busy comes through once.
    if (rec.WaitFor(2, 500ms)) w.Handled();
    int before = rec.Count();

    Shell("mkdir " + Q(dir_ / "sub" / "x"));
    ASSERT_TRUE(rec.WaitFor(before + 1));
    w.Handled();
    Shell("mkdir " + Q(dir_ / "c"));  // the old folder is no longer watched
    EXPECT_FALSE(rec.WaitFor(before + 2, 300ms));
}

TEST_F(DirWatcherTest, StopsWhileTheOwnerHasNotHandledAChange) {
    Recorder rec;
    auto w = std::make_unique<wb::DirWatcher>([&](wb::DirWatcher::Event e) { rec.On(e); }, "");
    w->SetFolders({dir_.string()});
    w->Start();
    std::this_thread::sleep_for(50ms);
    Shell("mkdir " + Q(dir_ / "a"));
    ASSERT_TRUE(rec.WaitFor(1));
    auto t0 = std::chrono::steady_clock::now();
    w.reset();  // joins: must not wait for Handled()
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
}

TEST_F(DirWatcherTest, AnUnstartedOrEmptyWatcherStopsAtOnce) {
    { wb::DirWatcher never([](wb::DirWatcher::Event) {}); }
    wb::DirWatcher idle([](wb::DirWatcher::Event) {});
    idle.SetFolders({"/no/such/folder"});
    idle.Start();
    idle.Start();
    EXPECT_TRUE(idle.Started());
    std::this_thread::sleep_for(50ms);
    idle.Stop();
    idle.Stop();
}

} // namespace

namespace {

TEST_F(DirWatcherTest, WithoutAHandlerAnnouncesThroughADescriptor) {
    wb::DirWatcher w(nullptr, "");
    ASSERT_GE(w.ReadyFd(), 0);
    w.SetFolders({dir_.string()});
    w.Start();
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(w.TakeEvent().has_value());
    Shell("mkdir " + Q(dir_ / "n"));
    pollfd p{w.ReadyFd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1);
    auto e = w.TakeEvent();
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(*e, wb::DirWatcher::Event::FolderChange);
    EXPECT_FALSE(w.TakeEvent().has_value());
    w.Handled();
}

} // namespace
