// The grid's header row as the user reaches it: the popup menu, width
// fitting and the width rules, the search and the header entries.
#include "tag_editor/controls/grid/VlSortGrd.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "platform/testing/GuiTest.h"
#include "platform/testing/PaintTestApp.h"
#include "platform/testing/TestApp.h"
#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;
using namespace wb::gui;

namespace {

class SortGridHeader : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::test::App();
        grid = painttest::OnForm<TVlSortGrid>(400, 300);
        Fill({{"Nr", "Titel", "Jahr"}, {"1", "b", "1971"}, {"2", "B", "1969"}, {"3", "a", "1973"}});
    }
    void Fill(const std::vector<std::vector<std::string>>& rows) {
        grid->SetRowCount(int(rows.size()));
        grid->SetColCount(int(rows[0].size()));
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c) grid->SetCells(int(c), int(r), rows[r][c]);
    }
    std::vector<std::string> MenuTexts() {
        std::vector<std::string> texts;
        for (int i = 0; i < grid->HeaderPopupMenu().Count(); ++i) texts.push_back(grid->HeaderPopupMenu().Caption(i));
        return texts;
    }
    // Chooses the menu's item for the tag, as the user would.
    void ChooseItem(int tag) {
        const std::vector<std::string> texts = MenuTexts();
        auto at = std::find(texts.begin(), texts.end(), HeaderMenuCaption(tag));
        ASSERT_NE(at, texts.end());
        grid->HeaderPopupMenu().Click(int(at - texts.begin()));
    }
    // A right-button release in the middle of a cell, with the grid focused.
    void RightClick(int col, int row) {
        grid->DoEnter();
        Rect r = grid->CellRect(col, row);
        grid->MouseUp(mbRight, 0, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        grid->HeaderPopupMenu().Close();
    }
    int TextWidth(const std::string& text) { return grid->GridCanvas().TextWidth(text); }
    void Entries(std::initializer_list<std::pair<int, int>> stateAndWidth) {
        grid->ClearHeaderEntries();
        const char* captions[] = {"Nr", "Titel", "Jahr", "Album", "Genre"};
        int i = 0;
        for (auto [state, width] : stateAndWidth) {
            grid->AddHeaderEntry(captions[i], std::uint8_t(state), width, i);
            ++i;
        }
    }
    painttest::Shown<TVlSortGrid> grid;
};

TEST_F(SortGridHeader, MenuIsRebuiltFromItsSet) {
    EXPECT_EQ(MenuTexts(), (std::vector<std::string>{"Nach Spalte aufsteigend sortieren",
                                                     "Nach Spalte absteigend sortieren", "-",
                                                     "Spaltenbreite anpassen"}));
    grid->SetHeaderPopUpSet(SortPopUpItem(TagColSearch));
    EXPECT_EQ(MenuTexts(), std::vector<std::string>{"In Spalte suchen"});
}

TEST_F(SortGridHeader, RightReleaseOpensTheMenuOnlyOverAHeaderOfAFocusedGrid) {
    struct Case {
        const char* name;
        bool focused;
        int row;
        TShiftState shift;
        bool headerClick, mouseUp, menu;
    };
    for (Case c : {Case{"HeaderCell", true, 0, 0, true, false, true}, Case{"DataCellIsTaken", true, 2, 0, false, false, false},
                   Case{"UnfocusedGrid", false, 0, 0, false, true, false},
                   Case{"WithShift", true, 0, ssShift, false, true, false}}) {
        SCOPED_TRACE(c.name);
        grid = painttest::OnForm<TVlSortGrid>(400, 300);
        Fill({{"Nr", "Titel", "Jahr"}, {"1", "b", "1971"}, {"2", "B", "1969"}});
        int headerCol = -1, ups = 0;
        grid->SetOnHeaderClick([&](TVlSortGrid*, int col, int, int, int) { headerCol = col; });
        grid->OnMouseUp = [&](wb::Persistent*, TMouseButton, TShiftState, int, int) { ++ups; };
        if (c.focused) grid->DoEnter();
        Rect r = grid->CellRect(2, c.row);
        grid->MouseUp(mbRight, c.shift, r.left + 3, r.top + 3);
        EXPECT_EQ(headerCol, c.headerClick ? 2 : -1);
        EXPECT_EQ(ups, c.mouseUp ? 1 : 0);
        EXPECT_EQ(grid->HeaderPopupMenu().Visible(), c.menu);
        grid->HeaderPopupMenu().Close();
    }
}

TEST_F(SortGridHeader, MenuSortsTheClickedColumnCaseSensitive) {
    RightClick(1, 0);
    ChooseItem(TagAscending);
    EXPECT_EQ(grid->Cells(1, 1) + grid->Cells(1, 2) + grid->Cells(1, 3), "Bab");
    ChooseItem(TagDescending);
    EXPECT_EQ(grid->Cells(1, 1) + grid->Cells(1, 2) + grid->Cells(1, 3), "baB");
    EXPECT_EQ(grid->LastSortedColumn(), 1);
}

TEST_F(SortGridHeader, FittingTakesTheWidestLineAndAnX) {
    Fill({{"", "Title", "x"}, {"", "a|bb", "Long text here"}});
    grid->SetAlignmentVert(taMultiLine);
    grid->FitColumnWidth(1);
    EXPECT_EQ(grid->ColWidths(1), TextWidth("Title") + TextWidth("x"));
    grid->SetAlignmentVert(taTopJustify);
    grid->SetCells(1, 1, "a|bbbbbbbbbbbbbb");
    grid->FitColumnWidth(1);
    EXPECT_EQ(grid->ColWidths(1), TextWidth("a|bbbbbbbbbbbbbb") + TextWidth("x"));

    grid->SetHeaderPopUpSet(SortPopUpItem(TagAllMaxColWidth));
    RightClick(1, 0);
    ChooseItem(TagAllMaxColWidth);
    EXPECT_EQ(grid->ColWidths(0), TextWidth("") + TextWidth("x") + 2);  // fixed column too
    EXPECT_EQ(grid->ColWidths(2), TextWidth("Long text here") + TextWidth("x") + 2);
}

TEST_F(SortGridHeader, AppliedEntriesGiveFittedFixedAndLockedWidths) {
    Entries({{0, 0}, {1, 120}, {1, -80}});
    int applied = 0, widthEvents = 0;
    grid->SetOnSetHeaderTab([&](TVlSortGrid*) { ++applied; });
    grid->SetOnColumnWidthsChanged([&](TVlSortGrid*) { ++widthEvents; });
    grid->ApplyHeaderEntries();
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(widthEvents, 0);  // applying is no user's width change
    EXPECT_EQ(grid->ColWidths(0), TextWidth("Nr") + TextWidth("x"));
    EXPECT_EQ(grid->ColWidths(1), 120);
    EXPECT_EQ(grid->ColWidths(2), 80);
    EXPECT_EQ(grid->Objects(1, 0), grid->HeaderEntries()[1].Entry.get());

    grid->SetColWidths(2, 150);
    EXPECT_EQ(grid->ColWidths(2), 80);  // locked
    grid->SetColWidths(1, 4);
    EXPECT_EQ(grid->ColWidths(1), 10);  // the minimum
    EXPECT_EQ(grid->HeaderEntries()[1].Entry->Width, 10);
    EXPECT_EQ(widthEvents, 2);
}

TEST_F(SortGridHeader, LockBelowTheMinimumSettlesAtTheMinimum) {
    Entries({{1, 40}, {1, -5}, {1, 40}});
    grid->ApplyHeaderEntries();
    grid->SetColWidths(0, 50);
    EXPECT_EQ(grid->ColWidths(1), 10);
    grid->SetColWidths(1, 30);
    EXPECT_EQ(grid->ColWidths(1), 10);
    EXPECT_EQ(grid->HeaderEntries()[1].Entry->Width, -5);  // the lock itself stays
}

TEST_F(SortGridHeader, WidthStepStaysInsideTheColumns) {
    Entries({{1, 30}, {1, 30}, {1, 30}, {1, 30}, {1, 30}});
    grid->ApplyHeaderEntries();
    ASSERT_EQ(grid->ColCount(), 5);
    grid->SetColCount(2);
    grid->SetColWidths(1, 3);
    EXPECT_EQ(grid->ColWidths(1), 10);
    EXPECT_EQ(grid->HeaderEntries()[4].Entry->Width, 30);
}

TEST_F(SortGridHeader, WidthChangeRefreshesScrollRangeAndEditor) {
    Entries({{1, 40}, {1, 40}, {1, 40}});
    grid->ApplyHeaderEntries();
    grid->SetOptions(grid->Options() | goEditing);
    grid->FocusCell(1, 1);
    grid->SetEditorMode(true);
    ASSERT_TRUE(grid->EditorMode());
    int min = 0, max = 0;
    grid->GetScrollRange(false, min, max);
    EXPECT_EQ(max, min);
    grid->SetColWidths(1, 900);
    grid->GetScrollRange(false, min, max);
    EXPECT_GT(max, min);
    EXPECT_EQ(grid->Widget()->findChild<QLineEdit*>()->width(), grid->CellRect(1, 1).Width());
    EXPECT_GT(grid->Widget()->findChild<QLineEdit*>()->width(), 100);
}

TEST_F(SortGridHeader, ApplyingKeepsADataColumn) {
    struct Case { const char* name; const char* states; int fixedCols, colCount; };
    for (Case c : {Case{"NoEntries", "", 1, 2}, Case{"TwoFixedColumns", "11", 2, 3},
                   Case{"OnlyOneShown", "122", 0, 1}}) {
        SCOPED_TRACE(c.name);
        Fill({{"a", "b", "c", "d"}, {"1", "2", "3", "4"}});
        grid->SetFixedCols(c.fixedCols);
        grid->ClearHeaderEntries();
        for (const char* s = c.states; *s; ++s) grid->AddHeaderEntry("H", std::uint8_t(*s - '0'), 30, 0);
        grid->ApplyHeaderEntries();
        EXPECT_EQ(grid->ColCount(), c.colCount);
        EXPECT_EQ(grid->FixedCols(), c.fixedCols);
    }
}

TEST_F(SortGridHeader, SortMarkerFollowsAMovedColumn) {
    for (bool withEntries : {false, true}) {
        SCOPED_TRACE(withEntries ? "with entries" : "without entries");
        grid->ClearHeaderEntries();
        if (withEntries) {
            Entries({{1, 30}, {1, 30}, {1, 30}});
            grid->ApplyHeaderEntries();
        }
        grid->SortColumn(2, TSortOptions{});
        grid->MoveGridColumn(2, 1);
        EXPECT_EQ(grid->LastSortedColumn(), 1);
        EXPECT_EQ(grid->Cells(1, 0), "Jahr");
        grid->MoveGridColumn(0, 2);
        EXPECT_EQ(grid->LastSortedColumn(), 0);
        if (withEntries) {
            EXPECT_EQ(grid->HeaderEntries()[0].Caption, "Jahr");
        }
        grid->MoveGridColumn(0, 2);
        grid->MoveGridColumn(0, 1);  // back to Nr, Titel, Jahr
    }
}

TEST_F(SortGridHeader, MenuSearchAsksAndSaysWhenNothingIsFound) {
    grid->SetHeaderPopUpSet(SortPopUpItem(TagColSearch) | SortPopUpItem(TagAllColSearch));
    wb::gui::test::ModalDriver driver;
    auto answer = [&](std::optional<std::string> text) {
        driver.OnDialog([text](QWidget* w) {
            auto* box = qobject_cast<QInputDialog*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle().toStdString(), "Suchen nach Tabellenwert");
            EXPECT_EQ(box->labelText().toStdString(), "Suchbegriff");
            if (text) {
                box->setTextValue(QString::fromStdString(*text));
                box->accept();
            } else {
                box->reject();
            }
        });
    };
    RightClick(2, 0);
    answer("1969");
    ChooseItem(TagColSearch);
    EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(2, 2));
    EXPECT_TRUE(driver.Texts().empty());

    RightClick(1, 0);
    answer(std::nullopt);  // cancelled: the last text again, not in column 1
    ChooseItem(TagColSearch);
    EXPECT_EQ(grid->LastSearchText(), "1969");
    EXPECT_EQ(driver.Texts(), std::vector<std::string>{"Gesuchter Wert nicht gefunden"});

    answer("jahr");  // a header cell: its column's first data row
    ChooseItem(TagAllColSearch);
    EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(2, 1));
    EXPECT_EQ(driver.Texts().size(), 1u);
}

TEST_F(SortGridHeader, LostEntryStopsApplyingBeforeTheGridChanges) {
    Entries({{1, 30}, {1, 30}});
    grid->HeaderEntries().insert(grid->HeaderEntries().begin(), THeaderItem{"Verloren", nullptr});
    EXPECT_EQ(wb::gui::test::ErrorOf<std::runtime_error>([&] { grid->ApplyHeaderEntries(); }), "Objektlink verloren");
    EXPECT_EQ(grid->Cells(0, 0), "Nr");
    EXPECT_EQ(grid->ColCount(), 3);
}

TEST_F(SortGridHeader, ClearedEntriesLeaveNoPointerInTheHeader) {
    Entries({{1, 30}, {1, 30}, {1, 30}});
    grid->ApplyHeaderEntries();
    grid->ClearHeaderEntries();
    for (int c = 0; c < grid->ColCount(); ++c) EXPECT_EQ(grid->Objects(c, 0), nullptr);
    EXPECT_EQ(grid->VisibleHeaderCount(), 0);
}

} // namespace
