// The folder tree beside a busy folder: another thread makes 1,000 folders
// next to the tree's current folder and removes them again while the GUI
// loop runs the tree. Reports the re-reads it cost, the shortest time
// between the starts of two of them, the longest the GUI thread was busy with one event,
// and whether the open folder, the selection and the scroll position stayed.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "platform/base/TempDir.h"
#include "platform/base/Volumes.h"
#include "tag_editor/controls/filesystem/VlDirNotificationThread.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"

using namespace velmora;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 1000;

// Times every event the GUI thread handles from the outside in, and looks
// after each whether it made a re-read.
class TimedApp : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (depth_++ > 0) {
            bool r = QApplication::notify(receiver, event);
            --depth_;
            return r;
        }
        const auto start = Clock::now();
        const auto cpuStart = ThreadCpu();
        bool r = QApplication::notify(receiver, event);
        const auto end = Clock::now();
        --depth_;
        longest = std::max(longest, end - start);
        longestCpu = std::max(longestCpu, ThreadCpu() - cpuStart);
        if (watcher && watcher->Rereads() != lastRereads) {
            lastRereads = watcher->Rereads();
            if (lastReread != Clock::time_point()) shortestGap = std::min(shortestGap, start - lastReread);
            lastReread = start;
        }
        return r;
    }
    void Reset() {
        longest = longestCpu = {};
        shortestGap = Clock::duration::max();
        lastReread = {};
        lastRereads = watcher ? watcher->Rereads() : 0;
    }
    // The machine may be busy with more than this: CPU time tells apart
    // what the tree costs from the time the thread waited for a core.
    static Clock::duration ThreadCpu() {
        timespec t{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    }
    Clock::duration longest{}, longestCpu{}, shortestGap = Clock::duration::max();
    Clock::time_point lastReread{};
    TVlDirNotificationThread* watcher = nullptr;
    int lastRereads = 0;

private:
    int depth_ = 0;
};

TimedApp* App() { return static_cast<TimedApp*>(QCoreApplication::instance()); }

wb::gui::TreeNode* Child(wb::gui::TreeNode* node, const std::string& name) {
    for (int i = 0; node && i < node->Count(); ++i)
        if (node->Child(i)->Text() == name) return node->Child(i);
    return nullptr;
}

// Runs the GUI loop until `done` holds, or gives up after a bound that only
// a tree that lost a change would reach.
template <class F>
bool RunUntil(F done) {
    bool late = false;
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, [&] { late = true; });
    bound.start(10000);
    while (!done() && !late) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return !late;
}

void BM_TreeBesideABusyFolder(benchmark::State& state) {
    const auto pause = std::chrono::microseconds(state.range(0));
    wb::TempDir temp("bench-dirtree");
    const fs::path root = fs::canonical(temp.Path());
    fs::create_directories(root / "busy/current");
    for (int i = 0; i < 40; ++i) fs::create_directories(root / "open" / ("f" + std::to_string(100 + i)) / "x");
    auto volumes = std::make_shared<wb::FakeVolumeTable>();
    volumes->Add(root.string(), wb::VolumeKind::Fixed, wb::VolumeInfo{"BENCH", 9, "ext4"});
    wb::SetVolumeTable(volumes);
    {
        TVlDirectoryTree tree;
        tree.SetBounds(0, 0, 250, 300);
        tree.Widget()->show();
        tree.HandleNeeded();
        tree.SetDirectory((root / "open").string());
        wb::gui::TreeNode* open = tree.Current();
        open->SetExpanded(true);
        tree.SetDirectory((root / "busy/current").string());
        wb::gui::TreeNode* current = tree.Current();
        wb::gui::TreeNode* busy = current->Parent();
        QCoreApplication::processEvents();
        tree.SetScrollPos(5);
        const int scroll = tree.ScrollPos();
        App()->watcher = tree.Notifier();
        // Once a probe folder shows, the busy folder is watched.
        fs::create_directory(root / "busy/probe");
        if (!RunUntil([&] { return Child(busy, "probe"); })) state.SkipWithError("the tree is not watching");
        fs::remove(root / "busy/probe");
        RunUntil([&] { return !Child(busy, "probe"); });

        int rereads = 0;
        Clock::duration longest{}, longestCpu{}, shortestGap = Clock::duration::max();
        bool kept = true;
        for (auto _ : state) {
            App()->Reset();
            const int before = tree.Notifier()->Rereads();
            std::atomic<bool> finished{false};
            std::thread worker([&] {
                const std::string base = (root / "busy/n").string();
                for (int pass = 0; pass < 2; ++pass)
                    for (int i = 0; i < kFolders; ++i) {
                        const std::string path = base + std::to_string(i);
                        if (pass == 0 ? ::mkdir(path.c_str(), 0700) : ::rmdir(path.c_str())) {}
                        if (pause.count()) std::this_thread::sleep_for(pause);
                    }
                finished = true;
                QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
            });
            const bool settled = RunUntil([&] {
                return finished && busy->Count() == 1 && !tree.Notifier()->RereadPending();
            });
            worker.join();
            if (!settled) state.SkipWithError("the tree did not settle");
            rereads += tree.Notifier()->Rereads() - before;
            longest = std::max(longest, App()->longest);
            longestCpu = std::max(longestCpu, App()->longestCpu);
            shortestGap = std::min(shortestGap, App()->shortestGap);
            kept = kept && open->Expanded() && tree.Current() == current && tree.ScrollPos() == scroll;
        }
        App()->watcher = nullptr;
        using Ms = std::chrono::duration<double, std::milli>;
        state.counters["rereads"] = benchmark::Counter(rereads, benchmark::Counter::kAvgIterations);
        state.counters["longest_busy_ms"] = Ms(longest).count();
        state.counters["longest_busy_cpu_ms"] = Ms(longestCpu).count();
        state.counters["shortest_gap_ms"] =
            shortestGap == Clock::duration::max() ? 0.0 : Ms(shortestGap).count();
        state.counters["expansion_kept"] = kept ? 1 : 0;
    }
    wb::SetVolumeTable(nullptr);
}

// Pause between two folder operations, in microseconds: none, a burst; 300,
// a stream that lasts about a second.
BENCHMARK(BM_TreeBesideABusyFolder)->Arg(0)->Arg(300)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApp app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
