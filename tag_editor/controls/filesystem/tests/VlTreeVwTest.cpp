#include "tag_editor/controls/filesystem/VlDirectoryListBox.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"
#include "tag_editor/controls/filesystem/VlFileListBox.h"
#include "tag_editor/controls/filesystem/VlTreeVw.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

using namespace wb::gui;

namespace {

void Wheel(QWidget* w, int delta) {
    QWheelEvent e(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w->inherits("QAbstractScrollArea")
                                    ? static_cast<QAbstractScrollArea*>(w)->viewport()
                                    : w,
                                &e);
}

TEST(FramedTree, WheelStepsByScrollLinesAndNeverAboveTheTop) {
    wb::gui::test::App();
    QApplication::setWheelScrollLines(3);
    TVlCustomTreeView tree;
    for (int i = 0; i < 100; ++i) tree.AddRoot(std::to_string(i));
    tree.SetBounds(0, 0, 120, 100);
    tree.Widget()->show();
    QCoreApplication::processEvents();
    Wheel(tree.Widget(), 120);
    EXPECT_EQ(tree.ScrollPos(), 0);
    Wheel(tree.Widget(), -120);
    EXPECT_EQ(tree.ScrollPos(), 3);
    tree.SetScrollPos(2);
    Wheel(tree.Widget(), 120);
    EXPECT_EQ(tree.ScrollPos(), 2);
    Wheel(tree.Widget(), -120);
    Wheel(tree.Widget(), 120);
    EXPECT_EQ(tree.ScrollPos(), 2);
}

TEST(FramedTree, FrameIsDrawnOverTheBorderOnlyWhenVisible) {
    wb::gui::test::App();
    TVlCustomTreeView tree;
    tree.SetBounds(0, 0, 60, 40);
    tree.SetFrameColor(clRed);
    QImage plain = tree.Widget()->grab().toImage();
    EXPECT_FALSE(wb::gui::test::Is(plain, 0, 20, clRed));
    tree.SetFrameVisible(true);
    QImage framed = tree.Widget()->grab().toImage();
    wb::gui::test::ExpectPixels(framed, {{0, 20, clRed}, {59, 20, clRed}, {1, 20, clWindow}});
    tree.SetFrameSides({sdLeft});
    framed = tree.Widget()->grab().toImage();
    EXPECT_TRUE(wb::gui::test::Is(framed, 0, 20, clRed));
    EXPECT_FALSE(wb::gui::test::Is(framed, 59, 20, clRed));
}

TEST(FramedTree, SelectionOutlineOnlyWhileUnfocusedAndShownAndInsideTheItems) {
    wb::gui::test::App();
    TVlCustomTreeView tree;
    tree.SetBounds(0, 0, 120, 60);
    TreeNode* node = tree.AddRoot("Selected");
    tree.SetSelectionPen({clRed, 1, PenStyle::Solid});
    tree.SetCurrent(node);
    auto redAt = [&](int minX, int maxX) {
        QImage img = tree.Widget()->grab().toImage();
        for (int y = 0; y < img.height(); ++y)
            for (int x = minX; x <= maxX && x < img.width(); ++x)
                if (wb::gui::test::Is(img, x, y, clRed)) return true;
        return false;
    };
    EXPECT_FALSE(redAt(0, 119));  // hidden selection by default
    tree.SetHideSelection(false);
    EXPECT_TRUE(redAt(0, 119));
    // A text wider than the tree: the outline stops at the items, off the border.
    node->SetText(std::string(60, 'W'));
    const Rect items = tree.ItemsRect();
    EXPECT_TRUE(redAt(items.right - 1, items.right - 1));
    EXPECT_FALSE(redAt(items.right, 119));
    tree.SetCurrent(nullptr);
    EXPECT_FALSE(redAt(0, 119));
}

TEST(FramedTree, FlatFrameFollowsHoverAndFocus) {
    wb::gui::test::App();
    TVlFileListBox list;
    int enters = 0;
    list.OnMouseEnter = [&](wb::Persistent*) { ++enters; };
    list.SetFrameSides({sdTop});
    list.SetFrameFlat(true);
    EXPECT_TRUE(list.FrameVisible());
    EXPECT_EQ(list.FrameSides(), TSides::All());
    EXPECT_EQ(list.FrameStyle(), fsStatus);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(list.Widget(), &enter);
    EXPECT_EQ(list.FrameStyle(), fsLowered);
    EXPECT_EQ(enters, 1);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(list.Widget(), &leave);
    EXPECT_EQ(list.FrameStyle(), fsStatus);
    list.SetFrameFlat(false);
    list.UpdateFrame(true, true);
    EXPECT_EQ(list.FrameStyle(), fsStatus);  // not flat: the style stays as set
}

TEST(DirectoryList, ListsThePathThenSubfoldersAndStopsAtWhatExists) {
    wb::gui::test::App();
    wb::gui::test::TestFolder dir("dirlist");
    dir.Dir("a/Beta");
    dir.Dir("a/alpha");
    dir.Dir("a/.hid");
    TVlDirectoryListBox box;
    TVlFileListBox files;
    box.SetFileList(&files);
    int changes = 0;
    box.OnChange = [&](wb::Persistent*) { ++changes; };
    box.SetDirectory(dir / "a/gone/deeper/still");
    EXPECT_EQ(box.Directory(), dir / "a");
    EXPECT_EQ(files.Directory(), dir / "a");
    EXPECT_EQ(changes, 1);
    std::vector<std::string> texts = box.ItemTexts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts.front(), "/");
    EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()), (std::vector<std::string>{"a", "alpha", "Beta"}));
    const int slashes = CountChar('/', dir / "a");
    EXPECT_EQ(box.ItemIndent(1), 6);
    EXPECT_EQ(box.ItemIndent(int(texts.size()) - 1), (slashes + 1) * 4 + 2);
    box.SetDirectory(dir / "a");
    EXPECT_EQ(changes, 1);
}

} // namespace

namespace {

TEST(TreeRename, F2EditsFolderNodesOnlyWhenNotReadOnly) {
    wb::gui::test::App();
    wb::gui::test::TestFolder dir("f2");
    dir.Dir("r/sub");
    auto fake = std::make_shared<wb::FakeVolumeTable>();
    fake->Add(dir / "r", wb::VolumeKind::Fixed, wb::VolumeInfo{"R", 1, "ext4"});
    wb::SetVolumeTable(fake);
    TVlDirectoryTree tree;
    tree.Widget()->show();
    QCoreApplication::processEvents();
    auto f2 = [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.Widget(), &press);
        QCoreApplication::processEvents();
        return tree.Editing();
    };
    tree.SetDirectory(dir / "r/sub");
    EXPECT_FALSE(f2());  // read-only by default
    tree.SetReadOnly(false);
    tree.SetDirectory(dir / "r");
    EXPECT_FALSE(f2());  // never a drive node
    tree.SetDirectory(dir / "r/sub");
    ASSERT_TRUE(f2());
    // What the user types and confirms renames the folder.
    auto* editor = tree.Widget()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("renamed");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(editor, &enter);
    QCoreApplication::processEvents();  // the editor commits on the next turn
    EXPECT_FALSE(tree.Editing());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "r/renamed"));
    EXPECT_EQ(tree.GetDirectory(), dir / "r/renamed");
    EXPECT_EQ(tree.Current()->Text(), "renamed");
    wb::SetVolumeTable(nullptr);
}

} // namespace
