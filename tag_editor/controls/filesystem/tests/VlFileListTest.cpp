#include "tag_editor/controls/filesystem/VlDirectoryListBox.h"
#include "tag_editor/controls/filesystem/VlFileListBox.h"
#include "tag_editor/controls/filesystem/VlShell.h"
#include "tag_editor/controls/filesystem/VlLFName.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

using wb::gui::test::TestFolder;
using Strings = std::vector<std::string>;

namespace {

class FileList : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::test::App();
        dir.Dir("Zeta");
        dir.Dir("alpha");
        dir.Dir(".hidden");
        dir.File("b.MP3");
        dir.File("a.mp3");
        dir.File("C.mp3");
        dir.File("notes.txt");
        dir.File(".secret.mp3");
        dir.File("cover.JPG");
    }
    TestFolder dir{"filelist"};
};

TEST_F(FileList, MasksMatchWithoutRegardToCaseAndCombineInOneSortedList) {
    TVlFileListBox list;
    list.SetMask("*.mp3");
    list.ChangeDirectory(dir.Path());
    EXPECT_EQ(list.Directory(), dir.Path());
    EXPECT_EQ(list.ItemTexts(), (Strings{"a.mp3", "b.MP3", "C.mp3"}));

    list.SetMask("*.jpg;*.txt;*.JPG");
    EXPECT_EQ(list.ItemTexts(), (Strings{"cover.JPG", "notes.txt"}));
    list.SetMask("?.mp3");
    EXPECT_EQ(list.ItemTexts().size(), 3u);
    list.SetMask("*.*");
    EXPECT_EQ(list.ItemTexts(), (Strings{"a.mp3", "b.MP3", "C.mp3", "cover.JPG", "notes.txt"}));
}

TEST_F(FileList, FoldersComeFirstHiddenOnlyOnRequestDotsNever) {
    TVlFileListBox list;
    list.SetFileType({ftNormal, ftDirectory});
    list.SetMask("*.*");
    list.ChangeDirectory(dir.Path());
    EXPECT_EQ(list.ItemTexts(), (Strings{"alpha", "Zeta", "a.mp3", "b.MP3", "C.mp3", "cover.JPG", "notes.txt"}));
    ASSERT_EQ(list.FileInfos().size(), 7u);
    EXPECT_TRUE(list.FileInfos()[0]->IsDirectory);
    EXPECT_EQ(list.FileInfos()[0]->Attr & faDirectory, faDirectory);
    EXPECT_FALSE(list.FileInfos()[2]->IsDirectory);
    EXPECT_EQ(list.FileInfos()[2]->Name, "a.mp3");
    EXPECT_EQ(list.FileInfos()[2]->Size, 1);
    EXPECT_NE(list.FileInfos()[2]->Time, 0u);

    list.SetFileType({ftNormal, ftDirectory, ftHidden});
    Strings all = list.ItemTexts();
    EXPECT_EQ(all.front(), ".hidden");
    EXPECT_NE(std::find(all.begin(), all.end(), ".secret.mp3"), all.end());
    EXPECT_EQ(std::find(all.begin(), all.end(), "."), all.end());
    EXPECT_EQ(std::find(all.begin(), all.end(), ".."), all.end());

    // Without ftNormal only entries with a chosen attribute remain.
    list.SetFileType({ftDirectory});
    EXPECT_EQ(list.ItemTexts(), (Strings{"alpha", "Zeta"}));
}

TEST_F(FileList, ChangeDirectoryFiresOnceAndAMissingFolderEmptiesTheList) {
    TVlFileListBox list;
    list.SetMask("*.mp3");
    int changes = 0;
    list.OnChange = [&](wb::Persistent*) { ++changes; };
    list.ChangeDirectory(dir.Path());
    EXPECT_EQ(changes, 1);
    list.ChangeDirectory(dir.Path());
    EXPECT_EQ(changes, 1);
    list.ChangeDirectory(dir / "no-such");
    EXPECT_EQ(list.Directory(), dir.Path());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(changes, 2);
    // The empty string is the root of the file system.
    list.ChangeDirectory("");
    EXPECT_EQ(list.Directory(), "/");
}

TEST_F(FileList, SetPathSelectsSetsMaskOrReportsAMissingFile) {
    TVlFileListBox list;
    list.SetMask("*.mp3");
    list.ChangeDirectory("/");
    int changes = 0;
    list.OnChange = [&](wb::Persistent*) { ++changes; };

    list.SetPath(dir / "b.MP3");
    EXPECT_EQ(list.Directory(), dir.Path());
    EXPECT_EQ(list.FileName(), dir / "b.MP3");
    changes = 0;
    list.SetPath(dir / "b.MP3");  // already the selected file
    EXPECT_EQ(changes, 0);

    list.SetPath(dir / "*.txt");
    EXPECT_EQ(list.Mask(), "*.txt");
    EXPECT_EQ(list.ItemTexts(), (Strings{"notes.txt"}));

    // A file the mask hides becomes the mask and is selected.
    list.SetPath(dir / "cover.JPG");
    EXPECT_EQ(list.Mask(), "cover.JPG");
    EXPECT_EQ(list.FileName(), dir / "cover.JPG");

    EXPECT_EQ(wb::gui::test::ErrorOf<EInOutError>([&] { list.SetPath(dir / "gone.mp3"); }),
              "The " + (dir / "gone.mp3") + " file does not exist");
    EXPECT_EQ(list.Mask(), "cover.JPG");
    EXPECT_LT(list.ItemIndex(), 0);

    // A relative name is taken against the current folder.
    list.SetMask("*.mp3");
    list.SetPath("a.mp3");
    EXPECT_EQ(list.FileName(), dir / "a.mp3");
}

TEST_F(FileList, DoubleClickEntersAFolderOrOpensOnlyWhenAllowed) {
    std::vector<std::string> opened, shown;
    TVlShell::Open = [&](const std::string& p) {
        opened.push_back(p);
        return p.find("notes") != std::string::npos;
    };
    TVlShell::ShowInfo = [&](const std::string& t) { shown.push_back(t); };

    TVlFileListBox list;
    list.SetFileType({ftNormal, ftDirectory});
    list.ChangeDirectory(dir.Path());
    list.DblClick();  // nothing selected
    list.SetItemIndex(0);
    list.DblClick();
    EXPECT_EQ(list.Directory(), dir / "alpha");

    list.ChangeDirectory(dir.Path());
    list.SetItemIndex(list.Count() - 1);  // notes.txt
    list.DblClick();
    EXPECT_TRUE(opened.empty());
    list.AllowOpen = true;
    list.DblClick();
    list.SetItemIndex(list.Count() - 2);  // cover.JPG: the opener fails
    list.DblClick();
    EXPECT_EQ(opened, (Strings{dir / "notes.txt", dir / "cover.JPG"}));
    EXPECT_EQ(shown, (Strings{"Could not open file."}));
}

TEST_F(FileList, IconsAreCachedPerExtensionExceptPerFileKinds) {
    TVlFileListBox list;
    list.ChangeDirectory(dir.Path());
    dir.File("x.exe");
    int before = TVlFileListBox::CachedIconCount();
    list.SetMask("*.exe;*.mp3");
    EXPECT_FALSE(list.FileInfos()[0]->Icon.IsNull());
    EXPECT_EQ(TVlFileListBox::CachedIconCount(), std::max(before, 1));  // ".mp3" only
    list.SetShowGlyphs(false);
    EXPECT_LT(list.ItemHeight(), 18 + 1);
    list.SetShowGlyphs(true);
    EXPECT_GE(list.ItemHeight(), 18);
}

TEST_F(FileList, AShownListScrollsToTheLastFileSelectedBeforeItIsDrawn) {
    for (int i = 0; i < 200; ++i) dir.File("track" + std::to_string(1000 + i) + ".mp3");
    TVlFileListBox list;
    list.SetMask("*.mp3");
    list.SetBounds(0, 0, 200, 120);
    list.ChangeDirectory(dir.Path());
    list.Widget()->show();
    QApplication::processEvents();
    for (int row : {150, 40, 180}) list.SetItemIndex(row);
    EXPECT_EQ(list.ItemIndex(), 180);
    QApplication::processEvents();
    auto inView = [&list] {
        const Rect shown = list.ItemRect(list.ItemIndex()), client = list.ClientRect();
        return shown.top >= client.top && shown.bottom <= client.bottom;
    };
    EXPECT_TRUE(inView());
    // Hidden, the list scrolls when it is shown, as any list does.
    list.Widget()->hide();
    list.SetItemIndex(5);
    list.Widget()->show();
    QApplication::processEvents();
    EXPECT_TRUE(inView());
}

TEST(LongPath, SpellsEveryElementAsOnDisk) {
    TestFolder dir("longpath");
    dir.Dir("Music/Album One");
    EXPECT_EQ(MakeLongPath(dir / "music/ALBUM one"), dir / "Music/Album One");
    EXPECT_EQ(MakeLongPath(dir / "Music/missing/"), dir / "Music/missing");
    EXPECT_EQ(MakeLongPath("/"), "/");
    EXPECT_EQ(MakeShortPath(dir / "Music"), dir / "Music");
    EXPECT_EQ(MakeLongPath(dir / "Music/../Music/./Album One"), dir / "Music/Album One");
}

} // namespace
