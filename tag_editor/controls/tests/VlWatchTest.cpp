// The tree's watcher against real changes made by another process.
#include "tag_editor/controls/VlFilSys.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdlib>

#include "TestApp.h"

using namespace velmora;

using velmora::test::TempDir;

namespace {

void Shell(const std::string& cmd) { ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd; }

// Runs the event loop until `done` or a second has passed.
template <class F>
bool Within1s(F done) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (done()) return true;
    }
    return done();
}

bool HasChild(QTreeWidgetItem* node, const std::string& name) {
    for (int i = 0; node && i < node->childCount(); ++i)
        if (node->child(i)->text(0).toStdString() == name) return true;
    return false;
}

class TreeWatch : public ::testing::Test {
protected:
    void SetUp() override {
        velmora::test::EnsureApp();
        dir.Dir("w/a/b");
        dir.Dir("w/z");
        fake = std::make_shared<wb::FakeVolumeTable>();
        fake->Add(dir / "w", wb::VolumeKind::Fixed, wb::VolumeInfo{"WATCHED", 5, "ext4"});
        wb::SetVolumeTable(fake);
    }
    void TearDown() override { wb::SetVolumeTable(nullptr); }
    std::string Q(const std::string& rel) { return "'" + (dir / rel) + "'"; }
    TempDir dir{"treewatch"};
    std::shared_ptr<wb::FakeVolumeTable> fake;
};

TEST_F(TreeWatch, FoldersMadeRenamedOrRemovedElsewhereShowWithinASecond) {
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    tree.SetDirectory(dir / "w/a/b");
    ASSERT_EQ(tree.GetDirectory(), dir / "w/a/b");
    ASSERT_FALSE(tree.Notifier()->Suspended());
    auto node = [&](const std::string& rel) -> QTreeWidgetItem* {
        QTreeWidgetItem* n = tree.FindNode(dir / "w");
        std::string path = rel;
        while (n && !path.empty()) {
            size_t slash = path.find('/');
            std::string name = path.substr(0, slash);
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; i < n->childCount(); ++i)
                if (n->child(i)->text(0).toStdString() == name) next = n->child(i);
            n = next;
            path = slash == std::string::npos ? "" : path.substr(slash + 1);
        }
        return n;
    };
    int changes = 0;
    tree.OnChange = [&](QObject*, QTreeWidgetItem*) { ++changes; };

    Shell("mkdir " + Q("w/a/new"));
    EXPECT_TRUE(Within1s([&] { return HasChild(node("a"), "new"); }));
    EXPECT_EQ(tree.GetDirectory(), dir / "w/a/b");  // the selection is kept

    // The selected folder renamed: the selection moves to its parent.
    Shell("mv " + Q("w/a/b") + " " + Q("w/a/renamed"));
    EXPECT_TRUE(Within1s([&] { return tree.GetDirectory() == dir / "w/a"; }));
    tree.expandItem(node("a"));
    EXPECT_TRUE(HasChild(node("a"), "renamed"));
    EXPECT_FALSE(HasChild(node("a"), "b"));

    // A folder removed elsewhere on the drive.
    tree.SetDirectory(dir / "w/z");
    Shell("rmdir " + Q("w/a/new"));
    EXPECT_TRUE(Within1s([&] { return !HasChild(node("a"), "new"); }));
    EXPECT_EQ(tree.GetDirectory(), dir / "w/z");
    EXPECT_GT(changes, 0);
}

TEST_F(TreeWatch, StopsCleanlyWhenTheTreeGoesWithAChangeWaiting) {
    for (int round = 0; round < 3; ++round) {
        auto tree = std::make_unique<TVlDirectoryTree>();
        tree->HandleNeeded();
        tree->SetDirectory(dir / "w/a");
        Shell("mkdir " + Q("w/a/x" + std::to_string(round)));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));  // the change is waiting now
        tree.reset();
        QCoreApplication::processEvents();
    }
    // A tree whose watcher never started goes as well.
    auto idle = std::make_unique<TVlDirectoryTree>();
    idle->HandleNeeded();
    idle.reset();
    SUCCEED();
}

} // namespace
