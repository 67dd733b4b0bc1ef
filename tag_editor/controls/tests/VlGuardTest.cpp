#include "tag_editor/controls/filesystem/VlDirectoryTree.h"
#include "tag_editor/controls/filesystem/VlDriveComboBox.h"
#include "tag_editor/controls/filesystem/VlFileListBox.h"
#include "tag_editor/controls/grid/VlSortGrd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <stdexcept>

#include "platform/testing/PixelsAndFolders.h"
#include "platform/base/Volumes.h"
#include "platform/gui/Form.h"
#include "platform/testing/ControlInput.h"
#include "platform/testing/GuiTest.h"

using namespace velmora;
using namespace wb::gui;

namespace {

using Handler = std::function<void()>;
using Deliver = std::function<void()>;

// One row per control of the main window whose events a user raises; `make`
// puts the control on the form with `handler` behind the event and returns
// what the user does to raise it once more.
struct VlGuardCase {
    const char* name;
    std::function<Deliver(Form&, const wb::gui::test::TestFolder&, Handler)> make;
};

void PrintTo(const VlGuardCase& c, std::ostream* os) { *os << c.name; }

QWidget* WidgetOf(WidgetControl& c) { return static_cast<QWidget*>(c.NativeWidget()); }

// The error box took the focus; a user clicks back into the control first.
void Refocus(WidgetControl& c) {
    QApplication::setActiveWindow(WidgetOf(c)->window());
    c.SetFocus();
    ASSERT_TRUE(wb::gui::test::Eventually([&c] { return c.Focused(); }));
}

Deliver Key(WidgetControl& c, Qt::Key key) {
    return [&c, key] {
        Refocus(c);
        QTest::keyClick(WidgetOf(c), key);
    };
}

// Up and down again, so every delivery moves the current item.
Deliver Stepper(WidgetControl& c) {
    auto down = std::make_shared<bool>(true);
    return [&c, down] {
        Refocus(c);
        QTest::keyClick(WidgetOf(c), *down ? Qt::Key_Down : Qt::Key_Up);
        *down = !*down;
    };
}

class VlGuard : public ::testing::TestWithParam<VlGuardCase> {
protected:
    void SetUp() override {
        wb::gui::test::App("Guarded");
        dir.Dir("c/a");
        dir.Dir("c/b");
        dir.Dir("d");
        dir.File("c/1.mp3");
        dir.File("c/2.mp3");
        auto volumes = std::make_shared<wb::FakeVolumeTable>();
        volumes->Add(dir / "c", wb::VolumeKind::Fixed, wb::VolumeInfo{"ONE", 1, "ext4"});
        volumes->Add(dir / "d", wb::VolumeKind::Fixed, wb::VolumeInfo{"TWO", 2, "ext4"});
        wb::SetVolumeTable(volumes);
    }
    void TearDown() override { wb::SetVolumeTable(nullptr); }
    wb::gui::test::TestFolder dir{"guard"};
};

// The events come from the user's input, outside any other handler: a
// control that calls its handler unguarded lets the exception out to Qt's
// delivery, where only the application's last-resort net counts it.
TEST_P(VlGuard, AnEscapingExceptionIsShownOnceAndTheControlGoesOn) {
    Form f(nullptr, FormKind::Main);
    f.SetBounds(0, 0, 400, 300);
    wb::gui::test::ModalDriver driver;
    int calls = 0;
    const Deliver deliver = GetParam().make(f, dir, [&] {
        if (++calls == 1) throw std::runtime_error("first call fails");
    });
    f.Show();
    const int strays = Application::StrayExceptions();
    deliver();
    ASSERT_TRUE(wb::gui::test::Eventually([&] { return driver.Messages().size() == 1; }));
    deliver();
    ASSERT_TRUE(wb::gui::test::Eventually([&] { return calls == 2; }));
    EXPECT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].title, "Guarded");
    EXPECT_EQ(driver.Messages()[0].text, "first call fails");
    EXPECT_EQ(Application::StrayExceptions(), strays);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, VlGuard,
    ::testing::Values(
        VlGuardCase{"FolderTreeChange",
                    [](Form& f, const wb::gui::test::TestFolder& dir, Handler h) -> Deliver {
                        auto* t = new TVlDirectoryTree(f, "Tree");
                        t->SetBounds(0, 0, 200, 200);
                        t->HandleNeeded();
                        t->SetDirectory(dir / "c/a");
                        t->OnChange = [h](wb::Persistent*, TreeNode*) { h(); };
                        return Stepper(*t);
                    }},
        VlGuardCase{"FileListCurrentChange",
                    [](Form& f, const wb::gui::test::TestFolder& dir, Handler h) -> Deliver {
                        auto* l = new TVlFileListBox(f, "Files");
                        l->SetBounds(0, 0, 200, 200);
                        l->SetMask("*.mp3");
                        l->ChangeDirectory(dir / "c");
                        l->SetItemIndex(0);
                        l->OnCurrentChange = [h](wb::Persistent*) { h(); };
                        return Stepper(*l);
                    }},
        VlGuardCase{"FileListKey",
                    [](Form& f, const wb::gui::test::TestFolder& dir, Handler h) -> Deliver {
                        auto* l = new TVlFileListBox(f, "Files");
                        l->SetBounds(0, 0, 200, 200);
                        l->ChangeDirectory(dir / "c");
                        l->OnKeyDown = [h](wb::Persistent*, int&, TShiftState) { h(); };
                        return Key(*l, Qt::Key_F5);
                    }},
        VlGuardCase{"DriveBoxChange",
                    [](Form& f, const wb::gui::test::TestFolder&, Handler h) -> Deliver {
                        auto* b = new TVlDriveComboBox(f, "Drives");
                        b->SetBounds(0, 0, 200, 24);
                        b->OnChange = [h](wb::Persistent*) { h(); };
                        return Stepper(*b);
                    }},
        VlGuardCase{"SortGridHeaderRightClick",
                    [](Form& f, const wb::gui::test::TestFolder&, Handler h) -> Deliver {
                        auto* g = new TVlSortGrid(f, "Grid");
                        g->SetBounds(0, 0, 300, 200);
                        g->SetColCount(2);
                        g->SetRowCount(3);
                        g->SetHeaderPopUpSet(0);
                        g->SetOnHeaderClick([h](TVlSortGrid*, int, int, int, int) { h(); });
                        return [g] {
                            Refocus(*g);
                            const Rect r = g->CellRect(1, 0);
                            wb::gui::test::ClickAt(*g, r.left + 3, r.top + 3, Qt::RightButton);
                        };
                    }},
        VlGuardCase{"SortGridKey",
                    [](Form& f, const wb::gui::test::TestFolder&, Handler h) -> Deliver {
                        auto* g = new TVlSortGrid(f, "Grid");
                        g->SetBounds(0, 0, 300, 200);
                        g->SetColCount(2);
                        g->SetRowCount(3);
                        g->OnKeyDown = [h](wb::Persistent*, int&, TShiftState) { h(); };
                        return Key(*g, Qt::Key_F5);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
