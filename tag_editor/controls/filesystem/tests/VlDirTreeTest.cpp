#include "tag_editor/controls/filesystem/VlDirNotificationThread.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"
#include "tag_editor/controls/filesystem/VlFileListBox.h"
#include "tag_editor/controls/filesystem/VlShell.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;
using wb::gui::TreeNode;

using wb::gui::test::TestFolder;
using Strings = std::vector<std::string>;

namespace {

class DirTree : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::test::App();
        dir.Dir("c/Music/Rock/Live");
        dir.Dir("c/Music/Pop");
        dir.Dir("c/Docs");
        dir.Dir("c/.cache");
        dir.Dir("d");
        dir.Dir("cd");
        dir.Dir("usb/photos");
        dir.Dir("net/sub");
        dir.File("c/Music/Rock/song.mp3");
        fake = std::make_shared<wb::FakeVolumeTable>();
        fake->Add(dir / "c", wb::VolumeKind::Fixed, wb::VolumeInfo{"SYSTEM", 1, "ext4"});
        fake->Add(dir / "cd", wb::VolumeKind::CDROM, std::nullopt);
        fake->Add(dir / "d", wb::VolumeKind::Fixed, wb::VolumeInfo{"", 2, "ext4"});
        fake->Add(dir / "net", wb::VolumeKind::Remote, wb::VolumeInfo{"", 3, "cifs"}, "//nas/share");
        fake->Add(dir / "usb", wb::VolumeKind::Removable, wb::VolumeInfo{"STICK", 4, "vfat"});
        wb::SetVolumeTable(fake);
        TVlShell::ShowError = [this](const std::string& t) { errors.push_back(t); };
    }
    void TearDown() override { wb::SetVolumeTable(nullptr); }

    Strings Roots(const TVlDirectoryTree& t) {
        Strings out;
        for (int i = 0; i < t.RootCount(); ++i) out.push_back(t.Root(i)->Text());
        return out;
    }
    std::string C(const std::string& rel = "") { return rel.empty() ? dir / "c" : dir / ("c/" + rel); }

    TestFolder dir{"dirtree"};
    std::shared_ptr<wb::FakeVolumeTable> fake;
    Strings errors;
};

TEST_F(DirTree, DriveNodesCarryLabelAndRootAndTheFirstIsSelected) {
    TVlDirectoryTree tree;
    EXPECT_EQ(tree.GetDirectory(), "");  // no window yet
    tree.HandleNeeded();
    const std::string d = dir.Path();
    EXPECT_EQ(Roots(tree), (Strings{"System (" + d + "/c)", "(" + d + "/cd)", " (" + d + "/d)",
                                    " (" + d + "/net)", "usb (" + d + "/usb)"}));
    EXPECT_EQ(tree.GetDirectory(), C());
    EXPECT_EQ(tree.GetDrive(), C() + "/");
    EXPECT_EQ(tree.LastSerial(C() + "/"), 1u);
    EXPECT_EQ(tree.LastSerial(dir / "cd/"), 0xFFFFFFFFu);
    EXPECT_EQ(tree.LastSerial(dir / "usb/"), 0u);  // removable media are not read
    EXPECT_EQ(tree.FindNode(C()), tree.Root(0));
    EXPECT_EQ(tree.FindNode(C("Music")), nullptr);
}

TEST_F(DirTree, SetDirectoryMatchesExactlyFirstThenIgnoringCase) {
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    tree.SetDirectory(C("music/rock/"));
    EXPECT_EQ(tree.GetDirectory(), C("Music/Rock"));
    EXPECT_EQ(tree.Current()->Text(), "Rock");

    dir.Dir("c/music");  // a second folder differing only in case
    tree.RefreshTree();
    tree.SetDirectory(C("music"));
    EXPECT_EQ(tree.GetDirectory(), C("music"));
    tree.SetDirectory(C("Music"));
    EXPECT_EQ(tree.GetDirectory(), C("Music"));

    tree.SetDirectory(C("Music/Rock/gone/deeper"));
    EXPECT_EQ(tree.GetDirectory(), C("Music/Rock"));
    tree.SetDirectory(dir / "d");
    EXPECT_EQ(tree.GetDirectory(), dir / "d");

    // Hidden folders never appear.
    tree.SetDirectory(C());
    tree.Current()->SetExpanded(true);
    Strings kids;
    for (int i = 0; i < tree.Current()->Count(); ++i)
        kids.push_back(tree.Current()->Child(i)->Text());
    EXPECT_EQ(kids, (Strings{"Docs", "Music", "music"}));
    // A folder that gained a subfolder gets one expand button when its
    // parent is expanded again, not one more at every expand.
    dir.Dir("c/Docs/old");
    for (int round = 0; round < 3; ++round) {
        tree.Current()->SetExpanded(false);
        tree.Current()->SetExpanded(true);
    }
    EXPECT_EQ(tree.Current()->Child(0)->Count(), 1);   // "Docs": its placeholder
    EXPECT_EQ(tree.Current()->Child(2)->Count(), 0);   // "music" has no subfolder
}

TEST_F(DirTree, PathsOutsideEveryDriveRaiseAndKeepTheSelection) {
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    tree.SetDirectory(C("Docs"));
    EXPECT_EQ(wb::gui::test::ErrorOf<EInOutError>([&] { tree.SetDirectory("/no/such/drive/x"); }),
              "The /no/such/drive/x directory does not exist");
    EXPECT_EQ(tree.GetDirectory(), C("Docs"));
    // A drive kind not shown leaves the selection silently.
    tree.SetDriveTypes({dtFixed});
    tree.SetDirectory(dir / "net/sub");
    EXPECT_EQ(tree.GetDirectory(), C("Docs"));
    tree.SetDirectory("");
    EXPECT_EQ(tree.GetDirectory(), C("Docs"));
}

TEST_F(DirTree, ChangeStepPointsTheFileListFirstAndFiresOnce) {
    TVlDirectoryTree tree;
    TVlFileListBox list;
    list.SetMask("*.mp3");
    tree.SetFileList(&list);
    EXPECT_EQ(list.DirTree(), &tree);
    tree.HandleNeeded();
    int changes = 0, driveChanges = 0;
    std::string listedAtChange;
    tree.OnChange = [&](wb::Persistent*, TreeNode*) {
        ++changes;
        listedAtChange = list.Directory();
    };
    tree.OnDriveChange = [&](wb::Persistent*) { ++driveChanges; };

    tree.SetDirectory(C("Music/Rock"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(listedAtChange, C("Music/Rock"));
    EXPECT_EQ(list.ItemTexts(), (Strings{"song.mp3"}));
    tree.SetDirectory(C("Music/Rock/"));
    EXPECT_EQ(changes, 1);

    changes = 0;
    tree.RefreshTree();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tree.GetDirectory(), C("Music/Rock"));

    driveChanges = 0;
    tree.SetDirectory(dir / "d");
    EXPECT_EQ(driveChanges, 1);
    EXPECT_EQ(list.Directory(), dir / "d");  // a drive node lists its root
    tree.SetDirectory(C("Docs"));
    EXPECT_EQ(driveChanges, 2);
    EXPECT_FALSE(tree.Notifier()->Suspended());
    EXPECT_EQ(tree.Notifier()->Drive(), C() + "/");

    // The list moving through its own path goes through the tree.
    list.SetPath(C("Music/Pop"));
    EXPECT_EQ(tree.GetDirectory(), C("Music/Pop"));
    EXPECT_EQ(list.Directory(), C("Music/Pop"));

    {
        TVlFileListBox other;
        tree.SetFileList(&other);
        EXPECT_EQ(list.DirTree(), nullptr);
    }
    EXPECT_EQ(tree.FileList(), nullptr);  // the freed list unlinked itself
    tree.SetDirectory(C("Docs"));
}

TEST_F(DirTree, NetworkFormsAreTakenUnderTheDriveOfTheirShare) {
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    tree.SetDirectory("//NAS/Share/sub");
    EXPECT_EQ(tree.GetDirectory(), dir / "net/sub");
    tree.SetDirectory("//other/share/sub");
    EXPECT_EQ(tree.GetDirectory(), dir / "net/sub");
}

TEST_F(DirTree, ANewMediumIsReadWhenItsDriveIsClicked) {
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    tree.SetDirectory(dir / "cd");
    int changes = 0;
    TreeNode* changedNode = nullptr;
    tree.OnChange = [&](wb::Persistent*, TreeNode* n) {
        ++changes;
        changedNode = n;
    };
    int clicks = 0;
    tree.OnClick = [&](wb::Persistent*) { ++clicks; };
    tree.ClickSelected();
    EXPECT_EQ(clicks, 1);

    dir.Dir("cd/Track folder");
    fake->SetInfo(dir / "cd", wb::VolumeInfo{"MY ALBUM", 77, "iso9660"});
    tree.ClickSelected();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(changedNode, tree.FindNode(dir / "cd"));
    EXPECT_EQ(changedNode->Text(), "My album (" + (dir / "cd") + ")");
    EXPECT_EQ(tree.LastSerial(dir / "cd/"), 77u);
    EXPECT_GE(changedNode->Count(), 1);
}

TEST_F(DirTree, DriveTypesAddAndRemoveNodesWithoutRebuildingTheOthers) {
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    TreeNode* c = tree.FindNode(C());
    tree.SetDriveTypes({dtFixed});
    EXPECT_EQ(tree.RootCount(), 2);
    EXPECT_EQ(tree.FindNode(C()), c);
    tree.SetDriveTypes({dtFixed, dtCDROM});
    EXPECT_EQ(tree.RootCount(), 3);
    EXPECT_EQ(tree.Root(1), tree.FindNode(dir / "cd"));  // in root order
    EXPECT_EQ(tree.FindNode(C()), c);

    // A volume that goes away takes its node with it.
    tree.SetDirectory(dir / "d");
    fake->Remove(dir / "d");
    tree.UpdateDriveNodes();
    EXPECT_EQ(tree.FindNode(dir / "d"), nullptr);
}

TEST_F(DirTree, RenameRefusesNamesThatLeaveTheParent) {
    TVlDirectoryTree tree;
    tree.SetReadOnly(false);
    tree.HandleNeeded();
    tree.SetDirectory(C("Music/Rock"));
    TreeNode* rock = tree.Current();
    for (std::string bad : {"../Escaped", "a/b", "", ".", "..", "a:b", "x*"}) {
        std::string s = bad;
        EXPECT_FALSE(tree.RenameNode(rock, s)) << bad;
        EXPECT_EQ(s, "Rock");
    }
    ASSERT_EQ(errors.size(), 7u);
    EXPECT_EQ(errors[0], "A directory name cannot contain any of the following characters:\n"
                         "\\ / : * ? \" < > |");
    EXPECT_FALSE(std::filesystem::exists(C("Escaped")));
    // An existing name is not overwritten.
    std::string pop = "Pop";
    EXPECT_FALSE(tree.RenameNode(rock, pop));
    EXPECT_TRUE(std::filesystem::exists(C("Music/Rock/song.mp3")));

    TVlFileListBox list;
    tree.SetFileList(&list);
    tree.SetDirectory(C("Music/Rock/Live"));
    tree.SetDirectory(C("Music/Rock"));
    std::string name = "Stone";
    ASSERT_TRUE(tree.RenameNode(rock, name));
    EXPECT_TRUE(std::filesystem::exists(C("Music/Stone/song.mp3")));
    EXPECT_EQ(rock->Text(), "Stone");
    EXPECT_EQ(tree.GetDirectory(), C("Music/Stone"));
    EXPECT_EQ(list.Directory(), C("Music/Stone"));
    tree.SetDirectory(C("Music/Stone/Live"));
    EXPECT_EQ(tree.GetDirectory(), C("Music/Stone/Live"));
    EXPECT_EQ(TVlDirectoryTree::Info(rock->Child(0))->Path, C("Music/Stone/Live/"));
}

TEST_F(DirTree, ReCreatingTheWindowKeepsTheFolderAndMakesANewWatcher) {
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    tree.SetDirectory(C("Docs"));
    tree.Notifier()->SetFolders({"/marker"});  // what only the old watcher knows
    tree.SetFrameVisible(true);
    EXPECT_EQ(tree.GetDirectory(), C("Docs"));
    // The new watcher runs on the drive and watches what the tree has read.
    ASSERT_NE(tree.Notifier(), nullptr);
    EXPECT_FALSE(tree.Notifier()->Suspended());
    EXPECT_EQ(tree.Notifier()->Drive(), C() + "/");
    const Strings watched = tree.WatchedFolders();
    EXPECT_NE(std::find(watched.begin(), watched.end(), C("Docs")), watched.end());
    EXPECT_EQ(std::find(watched.begin(), watched.end(), "/marker"), watched.end());
}

TEST_F(DirTree, WithoutDrivesTheWindowIsMadeAndNothingSelected) {
    wb::SetVolumeTable(std::make_shared<wb::FakeVolumeTable>());
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    EXPECT_EQ(tree.RootCount(), 0);
    EXPECT_EQ(tree.GetDirectory(), "");
}

} // namespace

namespace {

namespace fs = std::filesystem;

// What the tree shows of itself: the folders open, in the tree's order.
void AddExpanded(TreeNode* n, Strings& out) {
    if (n->Expanded() && TVlDirectoryTree::Info(n)) out.push_back(TVlDirectoryTree::Info(n)->Path);
    for (int i = 0; i < n->Count(); ++i) AddExpanded(n->Child(i), out);
}

Strings ExpandedFolders(const TVlDirectoryTree& tree) {
    Strings out;
    for (int i = 0; i < tree.RootCount(); ++i) AddExpanded(tree.Root(i), out);
    return out;
}

// A change made on disk, the folders a watcher reports for it, and what the
// tree must show after one re-read of those.
struct RereadCase {
    const char* name;
    std::function<void(const fs::path& c)> change;
    Strings reported;  // below the drive
    std::string current;
    std::string parent;  // whose children are then checked
    Strings children;
    bool selectionKept;  // and with it the scroll position
};

void PrintTo(const RereadCase& c, std::ostream* os) { *os << c.name; }

class DirTreeReread : public DirTree, public ::testing::WithParamInterface<RereadCase> {};

TEST_P(DirTreeReread, KeepsWhatIsOpenSelectedAndScrolledWhileShowingTheChange) {
    const RereadCase& t = GetParam();
    for (int i = 0; i < 30; ++i) dir.Dir("c/Many/f" + std::to_string(10 + i));
    TVlDirectoryTree tree;
    tree.SetBounds(0, 0, 200, 100);
    tree.Widget()->show();
    tree.HandleNeeded();
    tree.SetDirectory(C("Many"));
    tree.Current()->SetExpanded(true);
    tree.SetDirectory(C("Music/Rock"));
    TreeNode* rock = tree.Current();
    QCoreApplication::processEvents();
    tree.SetScrollPos(6);
    ASSERT_EQ(tree.ScrollPos(), 6);
    const Strings open = ExpandedFolders(tree);
    int changes = 0;
    tree.OnChange = [&](wb::Persistent*, TreeNode*) { ++changes; };

    t.change(C());
    for (const std::string& f : t.reported) tree.Notifier()->FoldersChanged({C(f)}, false);
    EXPECT_EQ(tree.Notifier()->Rereads(), 0);  // nothing before the re-read
    tree.Notifier()->Reread();

    EXPECT_EQ(tree.GetDirectory(), C(t.current));
    EXPECT_EQ(wb::gui::test::ChildTexts(wb::gui::test::NodeBelow(tree.FindNode(C()), t.parent)), t.children);
    Strings stillOpen;
    for (const std::string& f : open)
        if (fs::is_directory(f)) stillOpen.push_back(f);
    EXPECT_EQ(ExpandedFolders(tree), stillOpen);
    if (t.selectionKept) {
        EXPECT_EQ(tree.Current(), rock);
        EXPECT_EQ(tree.ScrollPos(), 6);
        EXPECT_EQ(changes, 0);
    } else {
        EXPECT_EQ(changes, 1);  // the file list follows the fallback once
    }
    EXPECT_EQ(tree.Notifier()->Rereads(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DirTreeReread,
    ::testing::Values(
        RereadCase{"SiblingMade", [](const fs::path& c) { fs::create_directory(c / "Music/Jazz"); },
                   {"Music"}, "Music/Rock", "Music", {"Jazz", "Pop", "Rock"}, true},
        RereadCase{"SiblingRemoved", [](const fs::path& c) { fs::remove(c / "Music/Pop"); },
                   {"Music", "Music/Pop"}, "Music/Rock", "Music", {"Rock"}, true},
        RereadCase{"SiblingRenamed", [](const fs::path& c) { fs::rename(c / "Music/Pop", c / "Music/Soul"); },
                   {"Music", "Music/Pop"}, "Music/Rock", "Music", {"Rock", "Soul"}, true},
        RereadCase{"FolderMadeInAnUnreadSibling", [](const fs::path& c) { fs::create_directory(c / "Music/Pop/80s"); },
                   {"Music/Pop"}, "Music/Rock", "Music/Pop", {":"}, true},
        RereadCase{"ManyFoldersMadeInABurst",
                   [](const fs::path& c) {
                       for (const char* n : {"A", "Blues", "Q", "Zydeco"}) fs::create_directory(c / "Music" / n);
                   },
                   {"Music", "Music", "Music", "Music"}, "Music/Rock", "Music",
                   {"A", "Blues", "Pop", "Q", "Rock", "Zydeco"}, true},
        RereadCase{"CurrentRemovedFallsBackToItsParent",
                   [](const fs::path& c) { fs::remove_all(c / "Music/Rock"); },
                   {"Music", "Music/Rock", "Music/Rock/Live"}, "Music", "Music", {"Pop"}, false},
        RereadCase{"ParentOfCurrentRenamedFallsBackToTheDrive",
                   [](const fs::path& c) { fs::rename(c / "Music", c / "Tunes"); },
                   {"", "Music"}, "", "", {"Docs", "Many", "Tunes"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DirTree, ABurstOfChangesCostsOneRereadWhenItsTimeComes) {
    TVlDirectoryTree tree;
    tree.HandleNeeded();
    tree.SetDirectory(C("Music/Rock"));
    TVlDirNotificationThread& watcher = *tree.Notifier();
    for (int round = 1; round <= 2; ++round) {
        for (int i = 0; i < 50; ++i) {
            dir.Dir("c/Music/n" + std::to_string(round * 100 + i));
            watcher.FoldersChanged({C("Music")}, false);
        }
        EXPECT_TRUE(watcher.RereadPending());
        EXPECT_EQ(watcher.Rereads(), round - 1);
        watcher.Reread();
        watcher.Reread();  // nothing waits any more
        EXPECT_FALSE(watcher.RereadPending());
        EXPECT_EQ(watcher.Rereads(), round);
        EXPECT_EQ(tree.Current()->Parent()->Count(), 2 + 50 * round);
    }
    // An overflowed queue reads every read folder again.
    dir.Dir("c/Docs/old");
    dir.Dir("c/Extra");
    watcher.FoldersChanged({}, true);
    watcher.Reread();
    EXPECT_EQ(wb::gui::test::ChildTexts(tree.FindNode(C())), (Strings{"Docs", "Extra", "Music"}));
    EXPECT_EQ(tree.FindNode(C())->Child(0)->Count(), 1);  // "Docs" gained its expand button
    EXPECT_EQ(tree.GetDirectory(), C("Music/Rock"));
}

} // namespace
