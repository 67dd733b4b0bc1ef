// The watchers on the system's clock and the GUI loop: steps forward keep a
// wait alive but not past its own limit, and a watcher stopped, or destroyed
// by its own ring, rings no more.
#include "platform/net/StallWatcher.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/testing/TestApp.h"

namespace {

using namespace wb::net;
using namespace std::chrono_literals;

TEST(StallWatcher, TheGuiLoopRingsTheLimitThatPassed) {
    wb::gui::test::App();
    std::vector<Stall> rang;
    auto busy = std::make_unique<StallWatcher>(StallRule{.silence = 5s, .whole = 300ms});
    busy->OnStall = [&](Stall s) {
        rang.push_back(s);
        busy.reset();
    };
    StallWatcher stopped({.silence = 10ms});
    stopped.OnStall = [&](Stall s) { rang.push_back(s); };
    busy->Begin();
    stopped.Begin();
    stopped.Stop();
    QTimer bytes;
    QObject::connect(&bytes, &QTimer::timeout, [&] {
        if (busy) busy->Received(1);
    });
    bytes.start(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !busy; }, 10000));
    // Whatever the ring left queued runs too, and rings nothing more.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(rang, std::vector<Stall>{Stall::Whole});
}

} // namespace
