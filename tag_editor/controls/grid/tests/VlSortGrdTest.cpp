#include "tag_editor/controls/grid/VlSortGrd.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/base/IoError.h"
#include "platform/testing/PaintTestApp.h"
#include "platform/testing/TestApp.h"
#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

using namespace wb::gui;

namespace {

TSortOptions Opts(std::uint8_t kind, bool descending = false, bool caseSensitive = false) {
    TSortOptions o;
    o.SortKind = kind;
    o.Descending = descending;
    o.CaseSensitive = caseSensitive;
    return o;
}

class VlSortGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::test::App();
        grid = painttest::OnForm<TVlSortGrid>(400, 300);
    }

    // Rows of texts, the first one the header.
    void Fill(const std::vector<std::vector<std::string>>& rows) {
        grid->SetRowCount(int(rows.size()));
        grid->SetColCount(int(rows[0].size()));
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c) grid->SetCells(int(c), int(r), rows[r][c]);
    }
    std::pair<int, int> Size() const { return {grid->ColCount(), grid->RowCount()}; }  // columns, rows
    std::vector<std::string> Column(int col) {
        std::vector<std::string> out;
        for (int r = 0; r < grid->RowCount(); ++r) out.push_back(grid->Cells(col, r));
        return out;
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    void Key(int key, Qt::KeyboardModifiers mods) {
        // Keys reach the control that has the focus.
        grid->SetFocus();
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(grid->Widget(), &press);
    }

    painttest::Shown<TVlSortGrid> grid;
    wb::gui::test::TestFolder dir{"sortgrid"};
};

TEST_F(VlSortGridTest, SortMovesWholeRowsAndKeepsTheHeader) {
    Fill({{"#", "Title"}, {"10", "ten"}, {"9", "nine"}, {"100", "hundred"}});
    int objs[3];
    grid->SetObjects(0, 1, &objs[0]);
    grid->SetObjects(1, 3, &objs[2]);
    grid->SetCol(1);
    grid->SetRow(1);  // on "ten"
    int begin = 0, end = 0, kindSeen = -1;
    grid->SetOnBeginSort([&](TVlSortGrid*, int col, TSortOptions& o) { begin += col + 1; kindSeen = o.SortKind; });
    grid->SetOnEndSort([&](TVlSortGrid*, int col) { end += col + 1; });
    grid->SortColumn(0, Opts(skDetect));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"#", "9", "10", "100"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Title", "nine", "ten", "hundred"}));
    EXPECT_EQ(grid->Objects(0, 2), &objs[0]);
    EXPECT_EQ(grid->Objects(1, 3), &objs[2]);
    EXPECT_EQ(grid->Row(), 2);  // still on "ten"
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(begin, 1);
    EXPECT_EQ(end, 1);
    EXPECT_EQ(kindSeen, skDetect);  // detection runs after the event
    EXPECT_EQ(grid->LastSortedColumn(), 0);
    EXPECT_EQ(grid->LastSortOptions().SortKind, skNumeric);

    grid->SortColumn(0, Opts(skText, true));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"#", "9", "100", "10"}));
    EXPECT_EQ(grid->Row(), 3);
}

// A format event that writes cells, run by paints inside the sort (before it
// reads the column and while it moves the current cell): the rows come out
// whole, each once, ordered by the texts read, ties in their old order.
TEST_F(VlSortGridTest, SortStaysStableWhileAFormatEventChangesCells) {
    std::vector<std::vector<std::string>> rows{{"n", "tag"}};
    for (int i = 0; i < 60; ++i) rows.push_back({std::to_string(i % 4 * 5) + (i % 3 ? "" : ".5"), std::to_string(i)});
    Fill(rows);
    grid->SetRow(7);
    int formats = 0;
    grid->SetOnGetCellFormat([&](TVlSortGrid* g, int col, int row, TGridDrawState, TFormatOptions&) {
        ++formats;
        if (col == 0 && row > 0) g->SetCells(0, row, g->Cells(0, row) == "0" ? "1" : g->Cells(0, row));
    });
    grid->SetOnBeginSort([&](TVlSortGrid*, int, TSortOptions&) { painttest::PaintGrid(*grid); });
    grid->OnSelectCell = [&](StringGrid*, int, int, bool&) { painttest::PaintGrid(*grid); };
    const std::vector<std::string> read = [&] {
        painttest::PaintGrid(*grid);  // what the sort will read: the event is done with the visible rows
        return Column(0);
    }();
    grid->SortColumn(0, Opts(skDetect, true));
    ASSERT_GT(formats, 0);
    std::vector<std::pair<double, int>> ref;
    for (size_t r = 1; r < read.size(); ++r) ref.push_back({std::stod(read[r]), int(r) - 1});
    std::stable_sort(ref.begin(), ref.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> tags = Column(1), expected{"tag"};
    for (const auto& [value, tag] : ref) expected.push_back(std::to_string(tag));
    EXPECT_EQ(tags, expected);
}

TEST_F(VlSortGridTest, BeginSortMayChangeTheOptions) {
    Fill({{"h"}, {"b"}, {"A"}, {"a"}});
    grid->SetOnBeginSort([](TVlSortGrid*, int, TSortOptions& o) { o.CaseSensitive = true; o.Descending = true; });
    grid->SortColumn(0, Opts(skDetect));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"h", "b", "a", "A"}));
    EXPECT_EQ(grid->LastSortOptions().SortKind, skText);
    EXPECT_TRUE(grid->LastSortOptions().Descending);
}

TEST_F(VlSortGridTest, NotEnoughRowsOrAnOpenEditorMeansNoSort) {
    Fill({{"h"}, {"b"}});
    int calls = 0;
    grid->SetOnBeginSort([&](TVlSortGrid*, int, TSortOptions&) { ++calls; });
    grid->SortColumn(0, Opts(skDetect));
    Fill({{"h"}, {"b"}, {"a"}});
    grid->SetOptions(grid->Options() | goEditing);
    grid->SetEditorMode(true);
    grid->SortColumn(0, Opts(skDetect));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"h", "b", "a"}));
    EXPECT_EQ(grid->LastSortedColumn(), -1);
}

TEST_F(VlSortGridTest, UndoSortPutsRowsAndTheCurrentCellBack) {
    Fill({{"k", "v"}, {"c", "1"}, {"a", "2"}, {"b", "3"}, {"a", "4"}});
    grid->SetRow(2);  // "a", "2"
    grid->SortColumn(0, Opts(skText));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"v", "2", "4", "3", "1"}));
    EXPECT_EQ(grid->Row(), 1);
    grid->SetRow(4);  // "c", "1"
    grid->UndoSort();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"v", "1", "2", "3", "4"}));
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_TRUE(grid->SortList().empty());
    EXPECT_EQ(grid->LastSortedColumn(), 0);  // the marker stays
    grid->UndoSort();                         // nothing left to undo
    EXPECT_EQ(Column(1), (std::vector<std::string>{"v", "1", "2", "3", "4"}));
}

TEST_F(VlSortGridTest, StructuralChangesForgetTheUndoOrder) {
    auto sorted = [&] {
        Fill({{"k", "v"}, {"c", "1"}, {"a", "2"}, {"b", "3"}});
        grid->SortColumn(0, Opts(skText));
        ASSERT_FALSE(grid->SortList().empty());
    };
    std::vector<std::function<void()>> changes{
        [&] { grid->SwapRows(1, 3); },      [&] { grid->MoveGridRow(3, 1); },
        [&] { grid->InsertGridColumn(1); }, [&] { grid->DeleteGridColumn(1); },
        [&] { grid->ClearGrid(); },         [&] { grid->SwapColumns(0, 1); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        sorted();
        changes[i]();
        std::vector<std::string> before = Column(0);
        grid->UndoSort();
        EXPECT_EQ(Column(0), before) << "change " << i;
    }
    // A changed row count is caught as well, even with the list kept.
    sorted();
    grid->InsertGridRow(2);
    grid->DeleteGridRow(2);
    std::vector<std::string> before = Column(0);
    grid->UndoSort();
    EXPECT_EQ(Column(0), before);
}

TEST_F(VlSortGridTest, SaveWritesEveryRowWithTheDelimiter) {
    Fill({{"Artist", "Album", ""}, {"A;B", "x", "y"}, {"", "", ""}});
    std::string path = dir / "out.txt";
    grid->SaveToFile(path, '\t');
    EXPECT_EQ(Read(path), "Artist\tAlbum\t\nA;B\tx\ty\n\t\t\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // no temporary file left
}

TEST_F(VlSortGridTest, LoadThenSaveGivesTheSameBytes) {
    const std::string bytes = "Artist;Album;Year\nB\xC3\xA4nd;;1999\n;\n\nlast;one;\n";
    std::string in = Write("in.txt", bytes);
    grid->LoadFromFile(in, ';');
    EXPECT_EQ(Size(), std::make_pair(3, 5));
    EXPECT_EQ(grid->Cells(0, 1), "B\xC3\xA4nd");
    EXPECT_EQ(grid->Cells(2, 4), "");
    std::string out = dir / "out.txt";
    grid->SaveToFile(out, ';');
    EXPECT_EQ(Read(out), "Artist;Album;Year\nB\xC3\xA4nd;;1999\n;;\n;;\nlast;one;\n");
    // Saved rows carry every column; read back they give the same bytes again.
    grid->LoadFromFile(out, ';');
    std::string again = dir / "again.txt";
    grid->SaveToFile(again, ';');
    EXPECT_EQ(Read(again), Read(out));
}

TEST_F(VlSortGridTest, LoadTakesTheWidestLineAndAnyLineEnd) {
    grid->SetFixedCols(0);
    grid->SetCells(3, 3, "old");
    grid->LoadFromFile(Write("in.txt", "a\r\nb,c,d\rx,y"), ',');
    EXPECT_EQ(Size(), std::make_pair(3, 3));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "b", "x"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"", "d", ""}));
}

TEST_F(VlSortGridTest, AnEmptyFileLeavesADataRowBelowTheHeader) {
    grid->SetCells(1, 1, "old");
    grid->LoadFromFile(Write("empty.txt", ""), ';');
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(Size(), std::make_pair(2, 2));
    EXPECT_EQ(grid->Cells(1, 1), "");
    grid->SetFixedRows(0);
    grid->LoadFromFile(Write("empty2.txt", ""), ';');
    EXPECT_EQ(grid->RowCount(), 1);
}

TEST_F(VlSortGridTest, AFileThatCannotBeReadLeavesTheGrid) {
    grid->SetCells(1, 1, "keep");
    EXPECT_THROW(grid->LoadFromFile(dir / "missing.txt", ';'), wb::IoError);
    EXPECT_EQ(grid->Cells(1, 1), "keep");
    std::string blocked = dir / "no-such-dir/out.txt";
    EXPECT_THROW(grid->SaveToFile(blocked, ';'), wb::IoError);
}

TEST_F(VlSortGridTest, SavingOverAFileReplacesItWhole) {
    std::string path = Write("list.txt", "a much longer old content that must vanish\n");
    Fill({{"h"}, {"new"}});
    grid->SaveToFile(path, ';');
    EXPECT_EQ(Read(path), "h\nnew\n");
}

TEST_F(VlSortGridTest, SwapMoveInsertAndDeleteRowsAndColumns) {
    Fill({{"h0", "h1", "h2"}, {"a", "1", "x"}, {"b", "2", "y"}, {"c", "3", "z"}});
    std::vector<std::string> log;
    grid->SetOnRowInsert([&](TVlSortGrid*, int i) { log.push_back("ri" + std::to_string(i)); });
    grid->SetOnRowDelete([&](TVlSortGrid*, int i) { log.push_back("rd" + std::to_string(i)); });
    grid->SetOnColumnInsert([&](TVlSortGrid*, int i) { log.push_back("ci" + std::to_string(i)); });
    grid->SetOnColumnDelete([&](TVlSortGrid*, int i) { log.push_back("cd" + std::to_string(i)); });
    grid->SwapRows(1, 3);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"h0", "c", "b", "a"}));
    grid->SwapRows(3, 2);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"h0", "c", "a", "b"}));
    grid->SwapColumns(2, 0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"h2", "z", "x", "y"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"h0", "c", "a", "b"}));
    grid->MoveGridRow(1, 3);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"h0", "a", "b", "c"}));
    int obj;
    grid->SetObjects(1, 2, &obj);
    grid->InsertGridRow(2);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"h0", "a", "", "b", "c"}));
    EXPECT_EQ(grid->Objects(1, 2), nullptr);
    EXPECT_EQ(grid->Objects(1, 3), &obj);
    EXPECT_EQ(grid->Row(), 2);
    grid->DeleteGridRow(1);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"h0", "", "b", "c"}));
    grid->InsertGridColumn(1);
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "", "", ""}));
    grid->DeleteGridColumn(0);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"h0", "", "b", "c"}));
    EXPECT_EQ(log, (std::vector<std::string>{"ri2", "rd1", "ci1", "cd0"}));
    EXPECT_THROW(grid->InsertGridRow(99), std::out_of_range);
    EXPECT_EQ(grid->RowCount(), 4);
}

TEST_F(VlSortGridTest, ExtendedKeysInsertAndDeleteButKeepTheLastDataRow) {
    Fill({{"h", "h"}, {"a", "1"}, {"b", "2"}});
    grid->SetRow(2);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->RowCount(), 3);  // off by default
    grid->SetExtendedKeys(true);
    Key(Qt::Key_Delete, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(grid->RowCount(), 3);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"h", "a"}));
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->RowCount(), 2);
    Key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"h", "", "a"}));
    Key(Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid->ColCount(), 3);
    Key(Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid->ColCount(), 2);  // one data column stays
}

TEST_F(VlSortGridTest, ClearGridEmptiesHeadersAndKeepsTheSize) {
    Fill({{"Artist", "Album"}, {"a", "b"}});
    int obj;
    grid->SetObjects(1, 0, &obj);
    grid->ClearGrid();
    EXPECT_EQ(grid->Cells(0, 0), "");
    EXPECT_EQ(grid->Cells(1, 0), "");
    EXPECT_EQ(grid->Cells(1, 1), "");
    EXPECT_EQ(grid->Objects(1, 0), nullptr);
    EXPECT_EQ(Size(), std::make_pair(2, 2));
}

TEST_F(VlSortGridTest, ValidationAcceptsCorrectsOrRestores) {
    Fill({{"h", "h"}, {"a", "old"}, {"b", "x"}});
    grid->DoEnter();
    std::string reply;
    bool accept = true;
    int calls = 0;
    grid->SetOnCellValidate([&](TVlSortGrid*, int col, int row, std::string& value, bool& valid) {
        ++calls;
        EXPECT_EQ(col, 1);
        EXPECT_EQ(row, 1);
        if (!reply.empty()) value = reply;
        valid = accept;
    });
    // Rejected without a correction: the remembered text comes back.
    grid->SetEditText(1, 1, "bad");
    EXPECT_TRUE(grid->Edited());
    accept = false;
    grid->Click();
    EXPECT_EQ(grid->Cells(1, 1), "old");
    EXPECT_FALSE(grid->Edited());
    // Rejected with a correction: the correction stays.
    grid->SetEditText(1, 1, "bad");
    reply = "fixed";
    grid->Click();
    EXPECT_EQ(grid->Cells(1, 1), "fixed");
    // Accepted with a change of the value.
    grid->SetEditText(1, 1, "raw");
    accept = true;
    reply = "cooked";
    grid->DoExit();
    EXPECT_EQ(grid->Cells(1, 1), "cooked");
    EXPECT_EQ(calls, 3);
    // Unchanged text asks nobody; nor does a click after leaving.
    grid->DoEnter();
    grid->Click();
    grid->DoExit();
    grid->SetEditText(1, 1, "later");
    grid->Click();
    EXPECT_EQ(calls, 3);
}

TEST_F(VlSortGridTest, ValidationSurvivesTheDeletionOfItsCell) {
    Fill({{"h", "h"}, {"a", "1"}, {"b", "2"}});
    grid->SetRow(2);
    grid->DoEnter();
    grid->SetEditText(1, 2, "changed");
    grid->DeleteGridRow(2);
    int calls = 0;
    grid->SetOnCellValidate([&](TVlSortGrid*, int, int, std::string&, bool&) { ++calls; });
    grid->Click();
    EXPECT_EQ(calls, 0);
}

TEST_F(VlSortGridTest, AnAlwaysShownEditorFollowsTheCurrentCellThroughEdits) {
    Fill({{"h", "h"}, {"a", "1"}, {"b", "2"}, {"c", "3"}});
    grid->SetOptions(grid->Options() | goEditing | goAlwaysShowEditor);
    grid->DoEnter();
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->Widget()->findChild<QLineEdit*>()->text().toStdString(), "1");
    grid->SetRow(3);
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->Widget()->findChild<QLineEdit*>()->text().toStdString(), "3");
    grid->DeleteGridRow(1);
    EXPECT_TRUE(grid->Options() & goAlwaysShowEditor);  // put back after the deletion
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->Widget()->findChild<QLineEdit*>()->text().toStdString(), grid->Cells(grid->Col(), grid->Row()));
    grid->SetEditorMode(false);
    EXPECT_TRUE(grid->EditorMode());  // cannot be closed while always shown
    grid->DoExit();
    EXPECT_TRUE(grid->EditorMode());
}

TEST_F(VlSortGridTest, ScrollHandlersCanStopTheGrid) {
    grid->SetRowCount(100);
    long result = 1;
    int seen = 0;
    grid->SetOnWMVScrollEvent([&](TWMScroll& msg) { ++seen; msg.Result = result; });
    TWMScroll msg;
    msg.ScrollCode = SB_LINEDOWN;
    grid->WMVScroll(msg);
    EXPECT_EQ(grid->TopRow(), 1);
    result = 0;
    msg.Result = 0;
    grid->WMVScroll(msg);
    EXPECT_EQ(grid->TopRow(), 2);
    EXPECT_EQ(seen, 2);
}

TEST_F(VlSortGridTest, ProportionalThumbsFollowThePageArithmetic) {
    grid->SetScrollBars(ssVertical);
    grid->SetDefaultRowHeight(20);
    grid->SetRowCount(100);
    EXPECT_EQ(grid->ScrollPage(true), 0);
    grid->SetProportionalScrollBars(true);
    int min = 0, max = 0;
    grid->GetScrollRange(true, min, max);
    int visible = grid->VisibleRowCount();
    ASSERT_GT(visible, 3);
    double exact = double(visible + 1) / 100 * (max - min + 1);
    EXPECT_NEAR(grid->ScrollPage(true), exact, 0.5);
    // Halves round to the even neighbour: 6 of 20 rows over 15 positions is 4.5,
    // 2 of 4 rows over 3 positions is 1.5.
    auto viewRows = [&](int rows, int visible) {
        grid->SetRowCount(rows);
        for (int h = 40; h < 600 && grid->VisibleRowCount() != visible; ++h) grid->SetHeight(h);
        ASSERT_EQ(grid->VisibleRowCount(), visible);
        grid->GetScrollRange(true, min, max);
        ASSERT_EQ(max - min + 1, rows - visible);
    };
    viewRows(20, 5);
    EXPECT_EQ(grid->ScrollPage(true), 4);
    viewRows(4, 1);
    EXPECT_EQ(grid->ScrollPage(true), 2);
    grid->SetProportionalScrollBars(false);
    EXPECT_EQ(grid->ScrollPage(true), 0);
}

TEST_F(VlSortGridTest, SizeAndHeightEventsFire) {
    int oldCols = -1, oldRows = -1, heights = 0;
    grid->SetOnSizeChanged([&](TVlSortGrid*, int c, int r) { oldCols = c; oldRows = r; });
    grid->SetOnRowHeightsChanged([&](TVlSortGrid*) { ++heights; });
    grid->SetColCount(7);
    EXPECT_EQ(oldCols, 5);
    EXPECT_EQ(oldRows, 5);
    grid->SetRowHeights(1, 40);
    EXPECT_EQ(heights, 1);
}

} // namespace
