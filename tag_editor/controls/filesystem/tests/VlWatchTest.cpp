// The tree's watcher against real changes made by another process.
#include "tag_editor/controls/filesystem/VlDirNotificationThread.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <sys/stat.h>

#include "platform/testing/PixelsAndFolders.h"
#include "platform/testing/GuiTest.h"

using namespace velmora;
using wb::gui::TreeNode;

using wb::gui::test::TestFolder;

namespace {

// A bound that only a watcher that lost the change would reach.
constexpr int kPatienceMs = 10000;

void Shell(const std::string& cmd) { ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd; }

bool HasChild(TreeNode* node, const std::string& name) {
    const auto names = wb::gui::test::ChildTexts(node);
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool Watches(const TVlDirectoryTree& tree, const std::string& folder) {
    auto folders = tree.WatchedFolders();
    return !tree.Notifier()->Suspended() && std::find(folders.begin(), folders.end(), folder) != folders.end();
}

// The tree hands its folders to the watcher, whose thread puts them in force
// a moment later. A hidden probe folder (the tree never shows it) is made
// until the watcher reports a change: from then on the folder is watched,
// and that change waits for the event loop.
bool WatchInForce(const TVlDirectoryTree& tree, const std::string& folder) {
    if (!Watches(tree, folder)) return false;
    QElapsedTimer t;
    t.start();
    static int probe = 0;  // every probe a new name
    while (t.elapsed() < kPatienceMs) {
        if (::mkdir((folder + "/.probe" + std::to_string(++probe)).c_str(), 0700) != 0) return false;
        if (tree.Notifier()->ChangeWaits(std::chrono::milliseconds(200))) return true;
    }
    return false;
}

class TreeWatch : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::test::App();
        dir.Dir("w/a/b");
        dir.Dir("w/z");
        fake = std::make_shared<wb::FakeVolumeTable>();
        fake->Add(dir / "w", wb::VolumeKind::Fixed, wb::VolumeInfo{"WATCHED", 5, "ext4"});
        wb::SetVolumeTable(fake);
    }
    void TearDown() override { wb::SetVolumeTable(nullptr); }
    std::string Q(const std::string& rel) { return "'" + (dir / rel) + "'"; }
    TestFolder dir{"treewatch"};
    std::shared_ptr<wb::FakeVolumeTable> fake;
};

TEST_F(TreeWatch, FoldersMadeRenamedOrRemovedElsewhereShowInTheTree) {
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    tree.SetDirectory(dir / "w/a/b");
    ASSERT_EQ(tree.GetDirectory(), dir / "w/a/b");
    ASSERT_TRUE(WatchInForce(tree, dir / "w/a"));
    auto node = [&](const std::string& rel) { return wb::gui::test::NodeBelow(tree.FindNode(dir / "w"), rel); };
    int changes = 0;
    tree.OnChange = [&](wb::Persistent*, TreeNode*) { ++changes; };

    Shell("mkdir " + Q("w/a/new"));
    EXPECT_TRUE(wb::gui::test::Eventually([&] { return HasChild(node("a"), "new"); }));
    EXPECT_EQ(tree.GetDirectory(), dir / "w/a/b");  // the selection is kept

    // The selected folder renamed: the selection moves to its parent.
    Shell("mv " + Q("w/a/b") + " " + Q("w/a/renamed"));
    EXPECT_TRUE(wb::gui::test::Eventually([&] { return tree.GetDirectory() == dir / "w/a"; }));
    node("a")->SetExpanded(true);
    EXPECT_TRUE(HasChild(node("a"), "renamed"));
    EXPECT_FALSE(HasChild(node("a"), "b"));

    // A folder removed elsewhere on the drive.
    tree.SetDirectory(dir / "w/z");
    ASSERT_TRUE(Watches(tree, dir / "w/a"));
    Shell("rmdir " + Q("w/a/new"));
    EXPECT_TRUE(wb::gui::test::Eventually([&] { return !HasChild(node("a"), "new"); }));
    EXPECT_EQ(tree.GetDirectory(), dir / "w/z");
    EXPECT_GT(changes, 0);
}

TEST_F(TreeWatch, StopsCleanlyWhenTheTreeGoesWithAChangeWaiting) {
    for (int round = 0; round < 3; ++round) {
        auto tree = std::make_unique<TVlDirectoryTree>();
        tree->HandleNeeded();
        tree->SetDirectory(dir / "w/a");
        // The event loop does not run here, so the probe's change stays waiting.
        ASSERT_TRUE(WatchInForce(*tree, dir / "w/a")) << round;
        Shell("mkdir " + Q("w/a/x" + std::to_string(round)));
        tree.reset();
        QCoreApplication::processEvents();
    }
}

TEST_F(TreeWatch, ATreeWithoutDrivesNeverStartsItsWatcherAndGoes) {
    wb::SetVolumeTable(std::make_shared<wb::FakeVolumeTable>());
    auto idle = std::make_unique<TVlDirectoryTree>();
    idle->HandleNeeded();
    ASSERT_NE(idle->Notifier(), nullptr);
    EXPECT_TRUE(idle->Notifier()->Suspended());
    EXPECT_TRUE(idle->WatchedFolders().empty());
    idle.reset();
}

} // namespace
