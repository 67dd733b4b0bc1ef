// The column dialog: what its two lists show, the user's moves between and
// within them, and what OK and cancel leave in the grid's entry list.
#include "tag_editor/controls/grid/SortGridForm.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/testing/GuiTest.h"
#include "platform/testing/PaintTestApp.h"
#include "platform/testing/Screens.h"
#include "platform/testing/TestApp.h"

using namespace velmora;
using namespace wb::gui;

namespace {

THeaderEntryList Sample() {
    THeaderEntryList list;
    for (auto [caption, state] : {std::pair{"Nr", 0}, {"Titel", 1}, {"Interpret", 1}, {"Album", 1}, {"Jahr", 2},
                                  {"Genre", 2}})
        list.push_back({caption, std::make_shared<THeaderEntry>(THeaderEntry{std::uint8_t(state), 0, 0})});
    return list;
}

std::string Shown(const THeaderEntryList& list) {
    std::string out;
    for (const auto& item : list) out += (out.empty() ? "" : " ") + item.Caption + char('0' + item.Entry->State);
    return out;
}

std::string Items(const ListBox& list) {
    std::string out;
    for (const std::string& t : list.Items()) out += (out.empty() ? "" : " ") + t;
    return out;
}

class SortGridFormTest : public ::testing::Test {
public:
    void SetUp() override {
        wb::gui::test::App();
        Open();
    }
    void Open() {
        list = Sample();
        form = std::make_unique<TSortGridForm>();
        form->LoadHeaderList(list, nullptr);
        form->Show();
        QCoreApplication::processEvents();
    }
    static Point At(ListBox& l, int i) {
        const Rect r = l.ItemRect(i);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Keys reach only the list that has the focus.
    void Focus(ListBox& list) {
        list.SetFocus();
        QCoreApplication::processEvents();
        ASSERT_TRUE(list.Focused());
    }
    // A drag of item from of source, dropped on item onto of target (-1: below the last).
    void Drag(ListBox& source, int from, ListBox& target, int onto) {
        const Point p = At(source, from);
        form->ListBoxMouseDown(&source, mbLeft, 0, p.x, p.y);
        const Point q = onto < 0 ? Point{10, target.ClientRect().bottom - 2} : At(target, onto);
        form->ListBoxDragDrop(&target, &source, q.x, q.y);
    }
    THeaderEntryList list;
    std::unique_ptr<TSortGridForm> form;
};

TEST_F(SortGridFormTest, ListsShowTheShownAndTheHiddenColumns) {
    EXPECT_EQ(Items(*form->Seiten), "Nr Titel Interpret Album");
    EXPECT_EQ(Items(*form->Komponenten), "Jahr Genre");
    EXPECT_TRUE(form->LibVorgabeButton->Widget()->isHidden());
    form->LoadHeaderList(list, [](THeaderEntryList&) {});
    EXPECT_FALSE(form->LibVorgabeButton->Widget()->isHidden());
}

TEST_F(SortGridFormTest, MovesChangeTheListOnlyOnOk) {
    struct Case {
        const char* name;
        std::function<void(SortGridFormTest&)> act;
        bool modified;
        std::string after;
    };
    const std::string unchanged = "Nr0 Titel1 Interpret1 Album1 Jahr2 Genre2";
    for (const Case& c : std::initializer_list<Case>{
             {"HideTitle",
              [](auto& t) {
                  t.form->Seiten->SetItemIndex(1);
                  t.form->MoveButton->Click();
                  EXPECT_EQ(t.form->Seiten->ItemIndex(), 1);  // now Interpret
              },
              true, "Nr0 Interpret1 Album1 Jahr2 Genre2 Titel2"},
             {"FixedColumnStays",
              [](auto& t) {
                  t.Focus(*t.form->Seiten);
                  t.form->Seiten->SetItemIndex(0);
                  EXPECT_FALSE(t.form->MoveButton->Widget()->isEnabled());
                  QTest::keyRelease(t.form->Seiten->Widget(), Qt::Key_Delete);
              },
              false, unchanged},
             {"ShowGenreByKey",
              [](auto& t) {
                  t.Focus(*t.form->Komponenten);
                  t.form->Komponenten->SetItemIndex(1);
                  QTest::keyRelease(t.form->Komponenten->Widget(), Qt::Key_Insert);
              },
              true, "Nr0 Titel1 Interpret1 Album1 Genre1 Jahr2"},
             {"DragWithin", [](auto& t) { t.Drag(*t.form->Seiten, 3, *t.form->Seiten, 1); }, true,
              "Nr0 Album1 Titel1 Interpret1 Jahr2 Genre2"},
             {"DragAcrossOntoAnEntry",
              [](auto& t) { t.Drag(*t.form->Seiten, 2, *t.form->Komponenten, 1); }, true,
              "Nr0 Titel1 Album1 Jahr2 Interpret2 Genre2"},
             {"DragAcrossBelowTheLastAppends",
              [](auto& t) { t.Drag(*t.form->Komponenten, 0, *t.form->Seiten, -1); }, true,
              "Nr0 Titel1 Interpret1 Album1 Jahr1 Genre2"},
             {"FixedColumnIsNotDragged",
              [](auto& t) { t.Drag(*t.form->Seiten, 0, *t.form->Komponenten, 0); }, false, unchanged},
             {"ExchangeDown",
              [](auto& t) {
                  t.form->Seiten->SetItemIndex(1);
                  t.form->SpeedButton2->Click();
                  EXPECT_EQ(t.form->Seiten->ItemIndex(), 2);
              },
              true, "Nr0 Interpret1 Titel1 Album1 Jahr2 Genre2"},
             {"ExchangeHiddenUp",
              [](auto& t) {
                  t.form->SetFocusedList(t.form->Komponenten.get());
                  t.form->Komponenten->SetItemIndex(1);
                  t.form->SpeedButton1->Click();
              },
              true, "Nr0 Titel1 Interpret1 Album1 Genre2 Jahr2"}}) {
        SCOPED_TRACE(c.name);
        Open();
        c.act(*this);
        EXPECT_EQ(form->Modified(), c.modified);
        EXPECT_EQ(Shown(list), unchanged);  // nothing before OK
        form->OkButtonClick(nullptr);
        EXPECT_EQ(Shown(list), c.after);
    }
}

TEST_F(SortGridFormTest, DefaultLayoutReloadsBothLists) {
    form->LoadHeaderList(list, [](THeaderEntryList& l) {
        l.clear();
        l.push_back({"Datei", std::make_shared<THeaderEntry>(THeaderEntry{0, 0, 0})});
        l.push_back({"Pfad", std::make_shared<THeaderEntry>(THeaderEntry{2, 0, 0})});
    });
    form->LibVorgabeButton->Click();
    EXPECT_EQ(Items(*form->Seiten), "Datei");
    EXPECT_EQ(Items(*form->Komponenten), "Pfad");
    EXPECT_EQ(form->Seiten->ItemIndex(), -1);
}

TEST(SortGridColumnDialog, OkAppliesTheNewLayoutToTheGrid) {
    wb::gui::test::App();
    TVlSortGrid grid;
    grid.SetBounds(0, 0, 400, 200);
    grid.SetHeaderPopUpSet(SortPopUpItem(TagColConfigWin));
    for (auto [caption, state] : {std::pair{"Nr", 0}, {"Titel", 1}, {"Interpret", 1}, {"Jahr", 2}})
        grid.AddHeaderEntry(caption, std::uint8_t(state), 60, 0);
    grid.ApplyHeaderEntries();
    ASSERT_EQ(grid.ColCount(), 3);

    test::ModalDriver driver;
    driver.OnDialog([](QWidget* w) {
        auto* seiten = w->findChild<QListWidget*>("Seiten");
        ASSERT_NE(seiten, nullptr);
        seiten->setCurrentRow(1);
        w->findChild<QPushButton*>("MoveButton")->click();
        w->findChild<QPushButton*>("BitBtn1")->click();
    });
    grid.ShowColumnDialog();
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.Cells(0, 0) + "," + grid.Cells(1, 0), "Nr,Interpret");
    EXPECT_EQ(Shown(grid.HeaderEntries()), "Nr0 Interpret1 Jahr2 Titel2");

    driver.OnDialog([](QWidget* w) {
        w->findChild<QListWidget*>("Komponenten")->setCurrentRow(0);
        w->findChild<QPushButton*>("BitBtn2")->click();
    });
    grid.ShowColumnDialog();
    EXPECT_EQ(grid.ColCount(), 2);
}

// The dialog pictured: both lists show their first caption and nothing
// below their last.
TEST(Screenshot, ColumnDialog) {
    wb::gui::test::App();
    THeaderEntryList list = Sample();
    TSortGridForm form;
    form.LoadHeaderList(list, [](THeaderEntryList&) {});
    form.Show();
    form.Seiten->SetItemIndex(2);
    QCoreApplication::processEvents();
    const QImage shot = test::Screenshot(form, "SortGridForm");
    for (ListBox* box : {form.Seiten.get(), form.Komponenten.get()}) {
        const QImage shown = test::BoxOf(shot, form, *box, 2);
        EXPECT_GE(test::InkColumns(shown.copy(0, 0, shown.width(), 14)), 10) << box->Name();
        EXPECT_EQ(test::InkColumns(shown.copy(0, shown.height() - 14, shown.width(), 14)), 0) << box->Name();
    }
}

} // namespace
