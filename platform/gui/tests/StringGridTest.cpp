#include "platform/gui/StringGrid.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <tuple>
#include <utility>

#include "platform/gui/Edit.h"
#include "platform/gui/tests/GuardedEvents.h"
#include "platform/testing/PaintTestApp.h"

using namespace wb::gui;

namespace {

using test::GuardCase;
using test::GuardTest;

// A grid on a shown form of its own, and input sent to it as a user would.
struct GridScene {
    GridScene() {
        if (!qApp) test::App();  // else as titled by the test
        form = std::make_unique<Form>(nullptr, FormKind::Main);
        form->SetClientSize(320, 220);
        grid = std::make_unique<StringGrid>(*form, "Grid");
        grid->SetBounds(0, 0, 300, 200);
        grid->SetScrollBars(ssNone);
        form->Show();
        QApplication::processEvents();  // the form becomes the active window
        grid->Widget()->clearFocus();     // tests that want the focus take it
    }
    QImage Paint() { return painttest::PaintGrid(*grid); }
    QAbstractScrollArea* Area() { return static_cast<QAbstractScrollArea*>(grid->Widget()); }
    QLineEdit* Editor() { return grid->Widget()->findChild<QLineEdit*>(); }
    // A rectangle of the view in the control's coordinates.
    Rect InView(int left, int top, int right, int bottom) {
        const QPoint o = Area()->viewport()->pos();
        return {o.x() + left, o.y() + top, o.x() + right, o.y() + bottom};
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
        if (!grid->EditorMode() && !grid->Focused()) test::FocusForKeys(*grid);
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QWidget* target = grid->EditorMode() ? static_cast<QWidget*>(Editor()) : grid->Widget();
        QApplication::sendEvent(target, &press);
    }
    // A mouse event on the view at a point in the control's coordinates.
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton,
               Qt::MouseButtons held = Qt::NoButton) {
        if (type != QEvent::MouseButtonRelease && type != QEvent::MouseMove) held |= button;
        const QPointF at = QPointF(x, y) - QPointF(Area()->viewport()->pos());
        QMouseEvent e(type, at, Area()->viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(Area()->viewport(), &e);
    }
    // A press, release or double click 5 pixels into a cell, `dx` from its left.
    void MouseAt(QEvent::Type type, int col, int row, int dx = 5) {
        const Rect r = grid->CellRect(col, row);
        Mouse(type, r.left + dx, r.top + 5);
    }
    std::pair<int, int> ColRow() const { return {grid->Col(), grid->Row()}; }
    std::unique_ptr<Form> form;
    std::unique_ptr<StringGrid> grid;
};

class StringGridTest : public ::testing::Test, public GridScene {};

using Strings = std::vector<std::string>;
Strings Column(const StringGrid& g, int col) {
    Strings cells;
    for (int r = 0; r < g.RowCount(); ++r) cells.push_back(g.Cells(col, r));
    return cells;
}

TEST_F(StringGridTest, CountsKeepFixedCellsBelowTheTotal) {
    EXPECT_EQ(std::tuple(grid->ColCount(), grid->RowCount(), grid->FixedRows()), std::tuple(5, 5, 1));
    EXPECT_THROW(grid->SetFixedRows(5), std::invalid_argument);
    grid->SetFixedRows(2);
    grid->SetRowCount(2);
    EXPECT_EQ(grid->FixedRows(), 1);
    grid->SetRowCount(0);
    EXPECT_EQ(std::tuple(grid->RowCount(), grid->FixedRows(), grid->Row()), std::tuple(1, 0, 0));
    EXPECT_EQ(grid->Cells(99, 99), "");
    EXPECT_THROW(grid->SetCells(5, 0, "x"), std::out_of_range);
}

TEST_F(StringGridTest, MovesCarryTextsObjectsAndSizes) {
    int marker;
    for (int r = 0; r < 5; ++r) grid->SetCells(1, r, "r" + std::to_string(r));
    grid->SetObjects(2, 1, &marker);
    grid->SetRowHeights(1, 30);
    grid->SetRow(1);
    grid->MoveRow(1, 3);
    EXPECT_EQ(Column(*grid, 1), (Strings{"r0", "r2", "r3", "r1", "r4"}));
    EXPECT_EQ(grid->Objects(2, 3), &marker);
    EXPECT_EQ(grid->RowHeights(3), 30);
    EXPECT_EQ(grid->Row(), 3);  // the current cell follows its row
    grid->SetCells(3, 0, "h3");
    grid->SetColWidths(3, 80);
    grid->MoveColumn(3, 1);
    EXPECT_EQ(Column(*grid, 1), (Strings{"h3", "", "", "", ""}));
    EXPECT_EQ(Column(*grid, 2), (Strings{"r0", "r2", "r3", "r1", "r4"}));
    EXPECT_EQ(grid->ColWidths(1), 80);
    grid->DeleteRow(3);
    EXPECT_EQ(Column(*grid, 2), (Strings{"r0", "r2", "r3", "r4"}));
    grid->DeleteColumn(1);
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(Column(*grid, 1), (Strings{"r0", "r2", "r3", "r4"}));
    EXPECT_THROW(grid->MoveRow(0, 9), std::out_of_range);
}

TEST_F(StringGridTest, CellGeometryCountsLinesAndScrolling) {
    grid->SetColWidths(0, 30);
    EXPECT_EQ(grid->CellRect(0, 0), InView(0, 0, 30, 24));
    EXPECT_EQ(grid->CellRect(1, 1), InView(31, 25, 95, 49));
    const Rect at = InView(31, 25, 30, 10);
    EXPECT_EQ(grid->MouseCoord(at.left, at.top), (TGridCoord{1, 1}));
    EXPECT_EQ(grid->MouseCoord(at.right, at.bottom), (TGridCoord{0, 0}));  // the line belongs to the cell before it
    EXPECT_EQ(grid->MouseCoord(at.left - 32, at.top), (TGridCoord{-1, 1}));  // the frame holds no cell
    grid->SetOptions(grid->Options() & ~unsigned(goVertLine | goHorzLine));
    EXPECT_EQ(grid->CellRect(2, 2), InView(31 + 64, 25 + 24, 31 + 128, 25 + 48));
    grid->SetRowCount(40);
    EXPECT_EQ(grid->VisibleRowCount(), (Area()->viewport()->height() - 25) / 24);
    grid->SetTopRow(10);
    EXPECT_EQ(grid->TopRow(), 10);
    EXPECT_EQ(grid->CellRect(1, 10).top, InView(0, 25, 0, 0).top);
    EXPECT_TRUE(grid->CellRect(1, 5).IsEmpty());
    grid->SetTopRow(1000);  // clamps so the last row ends the view
    EXPECT_EQ(grid->TopRow(), 40 - grid->VisibleRowCount());
    grid->SetRow(3);
    EXPECT_EQ(grid->TopRow(), 3);
}

TEST_F(StringGridTest, ScrollMessagesMoveTheTopRowAndTheBar) {
    grid->SetScrollBars(ssVertical);
    grid->SetRowCount(50);
    int min = -1, max = 0;
    grid->GetScrollRange(true, min, max);
    EXPECT_EQ(std::pair(min, max), std::pair(0, 50 - grid->VisibleRowCount() - 1));  // top rows 1 to 50 - visible
    TWMScroll msg;
    msg.ScrollCode = SB_PAGEDOWN;
    grid->WMVScroll(msg);
    EXPECT_EQ(grid->TopRow(), 1 + grid->VisibleRowCount());
    Area()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid->TopRow(), grid->VisibleRowCount());
    EXPECT_EQ(Area()->verticalScrollBar()->value(), grid->TopRow() - 1);
    Area()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Area()->verticalScrollBar()->value(), max);
}

TEST_F(StringGridTest, HorizontalScrollMessagesMoveTheLeftColumn) {
    grid->SetScrollBars(ssHorizontal);
    grid->SetColCount(30);
    ASSERT_GT(grid->VisibleColCount(), 1);
    const int visible = grid->VisibleColCount();
    const std::pair<int, int> steps[] = {{SB_PAGEDOWN, 1 + visible}, {SB_LINEUP, visible}, {SB_TOP, 1}};
    for (auto [code, left] : steps) {
        TWMScroll msg;
        msg.ScrollCode = code;
        grid->WMHScroll(msg);
        EXPECT_EQ(std::pair(grid->LeftCol(), grid->TopRow()), std::pair(left, 1)) << code;  // the rows stay
    }
}

TEST_F(StringGridTest, DefaultDrawingPaintsTextFixedCellsAndSelection) {
    grid->SetCells(1, 1, "");
    grid->SetCol(2);
    grid->SetRow(2);
    QImage image = Paint();
    Rect fixed = grid->CellRect(1, 0), data = grid->CellRect(1, 1), sel = grid->CellRect(2, 2);
    EXPECT_EQ(image.pixel(fixed.left + 10, fixed.top + 10), ToQRgb(clBtnFace));
    EXPECT_EQ(image.pixel(fixed.left, fixed.top + 10), ToQRgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(fixed.right - 1, fixed.top + 10), ToQRgb(clBtnShadow));
    EXPECT_EQ(image.pixel(fixed.right, fixed.top + 10), ToQRgb(clBlack));  // the fixed line
    EXPECT_EQ(image.pixel(data.left + 10, data.top + 10), ToQRgb(clWindow));
    EXPECT_EQ(image.pixel(data.right, data.top + 10), ToQRgb(clBtnFace));  // a data line
    // Without the focus the current cell shows as selected.
    EXPECT_EQ(image.pixel(sel.right - 2, sel.bottom - 2), ToQRgb(clHighlight));
    grid->SetCells(1, 1, "WWW");
    image = Paint();
    bool ink = false;
    for (int x = data.left; x < data.right; ++x)
        for (int y = data.top; y < data.bottom; ++y) ink |= image.pixel(x, y) != ToQRgb(clWindow);
    EXPECT_TRUE(ink);
    grid->SetDefaultDrawing(false);
    int drawn = 0;
    grid->OnDrawCell = [&](StringGrid*, int, int, const Rect&, TGridDrawState) { ++drawn; };
    image = Paint();
    EXPECT_EQ(drawn, 25);
    EXPECT_EQ(image.pixel(data.left + 3, data.top + 8), ToQRgb(clWindow));
}

TEST_F(StringGridTest, DrawStateNamesFixedSelectedAndFocused) {
    std::map<std::pair<int, int>, TGridDrawState> states;
    grid->OnDrawCell = [&](StringGrid*, int c, int r, const Rect&, TGridDrawState s) { states[{c, r}] = s; };
    grid->SetOptions(grid->Options() | goRowSelect);
    grid->SetRow(2);
    grid->DoEnter();
    Paint();
    EXPECT_EQ((states[std::pair(0, 2)]), TGridDrawState(gdFixed));
    EXPECT_EQ((states[std::pair(1, 0)]), TGridDrawState(gdFixed));
    EXPECT_EQ((states[std::pair(1, 2)]), TGridDrawState(gdSelected | gdFocused));
    EXPECT_EQ((states[std::pair(3, 2)]), TGridDrawState(gdSelected));
    EXPECT_EQ((states[std::pair(3, 3)]), TGridDrawState(0));
}

TEST_F(StringGridTest, SelectCellCanRefuseAMove) {
    grid->OnSelectCell = [](StringGrid*, int col, int, bool& can) { can = col != 3; };
    EXPECT_FALSE(grid->FocusCell(3, 2));
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_TRUE(grid->FocusCell(2, 2));
    EXPECT_FALSE(grid->FocusCell(0, 2));  // fixed cells are never current
}

TEST_F(StringGridTest, KeysMoveTheCurrentCellAndExtendTheSelection) {
    int seen = 0;
    grid->OnKeyDown = [&](wb::Persistent*, int& key, TShiftState) {
        ++seen;
        if (key == VK_UP) key = 0;  // a handler may swallow a key
    };
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_EQ(ColRow(), std::pair(2, 2));
    Key(Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 2);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 3, 3}));
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(ColRow(), std::pair(4, 4));
    EXPECT_EQ(grid->Selection(), (TGridRect{4, 4, 4, 4}));
    EXPECT_EQ(seen, 6);
}

TEST_F(StringGridTest, EditorStoresTypedTextAndEscapeRestoresIt) {
    std::vector<std::string> stored;
    grid->OnSetEditText = [&](StringGrid*, int, int, const std::string& v) { stored.push_back(v); };
    grid->SetCells(1, 1, "old");
    Key(Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_FALSE(grid->EditorMode());  // no editing without goEditing
    grid->SetOptions(grid->Options() | goEditing);
    Key(Qt::Key_N, Qt::NoModifier, "n");
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(1, 1), "n");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(1, 1), "old");
    EXPECT_EQ(stored, (std::vector<std::string>{"n", "old"}));
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(Editor()->text().toStdString(), "old");
    Key(Qt::Key_Down);  // leaves the cell and the editor
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_FALSE(grid->EditorMode());
}

TEST_F(StringGridTest, MouseSelectsMovesAndSizes) {
    int clicks = 0, ups = 0;
    grid->OnClick = [&](wb::Persistent*) { ++clicks; };
    grid->OnMouseUp = [&](wb::Persistent*, TMouseButton b, TShiftState, int, int) { ups += b == mbRight ? 10 : 1; };
    MouseAt(QEvent::MouseButtonPress, 3, 2);
    MouseAt(QEvent::MouseButtonRelease, 3, 2);
    EXPECT_EQ(std::tuple(grid->Col(), grid->Row(), clicks), std::tuple(3, 2, 1));
    Mouse(QEvent::MouseButtonRelease, 5, 5, Qt::RightButton);
    EXPECT_EQ(ups, 11);

    grid->SetOptions(grid->Options() | goColMoving | goColSizing);
    grid->SetCells(1, 0, "moved");
    MouseAt(QEvent::MouseButtonPress, 1, 0, 20);
    MouseAt(QEvent::MouseButtonRelease, 3, 0, 20);
    EXPECT_EQ(grid->Cells(3, 0), "moved");
    EXPECT_EQ(clicks, 1);  // a header drag is no click

    const Rect header = grid->CellRect(2, 0);
    Mouse(QEvent::MouseButtonPress, header.right, header.top + 5);
    Mouse(QEvent::MouseMove, header.right + 30, header.top + 5, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, header.right + 30, header.top + 5);
    EXPECT_EQ(grid->ColWidths(2), 64 + 30);
}

TEST_F(StringGridTest, SizeStepsReachDerivedGrids) {
    struct Watch : StringGrid {
        using StringGrid::StringGrid;
        int sizes = 0, heights = 0, widths = 0, oldRows = -1;
        void SizeChanged(int, int oldRowCount) override { ++sizes; oldRows = oldRowCount; }
        void RowHeightsChanged() override { ++heights; StringGrid::RowHeightsChanged(); }
        void ColWidthsChanged() override { ++widths; StringGrid::ColWidthsChanged(); }
    } w;
    w.SetRowCount(9);
    w.SetRowHeights(2, 40);
    w.SetColWidths(1, 10);
    w.SetDefaultRowHeight(18);
    EXPECT_EQ(std::tuple(w.sizes, w.oldRows, w.heights, w.widths), std::tuple(1, 5, 2, 1));
    EXPECT_EQ(w.RowHeights(2), 18);
}

struct Reorder : StringGrid {
    using StringGrid::PermuteRows;
};

TEST(StringGridPermuteTest, OnlyAPermutationOfTheRowsIsAccepted) {
    test::App();
    Reorder g;
    for (int r = 0; r < 5; ++r) g.SetCells(0, r, std::to_string(r));
    EXPECT_THROW(g.PermuteRows(1, {1, 1, 3, 4}), std::invalid_argument);
    EXPECT_THROW(g.PermuteRows(1, {0, 2, 3, 4}), std::invalid_argument);
    EXPECT_THROW(g.PermuteRows(2, {2, 3, 4, 5}), std::out_of_range);
    EXPECT_EQ(Column(g, 0), (Strings{"0", "1", "2", "3", "4"}));  // nothing moved
    g.PermuteRows(1, {4, 2, 1, 3});
    EXPECT_EQ(Column(g, 0), (Strings{"0", "4", "2", "1", "3"}));
}

// Each event of the grid, its handler failing once: besides the one box, the
// grid's own handling of the input still happens. `arm` sets the handler,
// `act` makes the event happen, and `wentOn` tells the grid did its part.
GuardCase GridCase(const char* name, std::function<void(StringGrid&, test::Handler)> arm,
                   std::function<void(GridScene&)> act, std::function<bool(StringGrid&)> wentOn) {
    return {name, [=](Form&, test::Handler h) -> test::Deliver {
                auto scene = std::make_shared<GridScene>();
                scene->grid->SetFocus();
                arm(*scene->grid, h);
                return [=, first = std::make_shared<bool>(true)] {
                    act(*scene);
                    if (std::exchange(*first, false)) EXPECT_TRUE(wentOn(*scene->grid));
                };
            }};
}

void PressAt(GridScene& t, int col, int row) { t.MouseAt(QEvent::MouseButtonPress, col, row); }
void AddOptions(StringGrid& g, unsigned options) { g.SetOptions(g.Options() | options); }

INSTANTIATE_TEST_SUITE_P(
    Grid, GuardTest,
    ::testing::Values(
        GridCase("GridKeyDown", [](StringGrid& g, auto h) { g.OnKeyDown = [h](wb::Persistent*, int&, TShiftState) { h(); }; },
                 [](GridScene& t) { t.Key(Qt::Key_Down); }, [](StringGrid& g) { return g.Row() == 2; }),
        GridCase("GridSelectCell", [](StringGrid& g, auto h) { g.OnSelectCell = [h](StringGrid*, int, int, bool&) { h(); }; },
                 [](GridScene& t) { t.Key(Qt::Key_Down); }, [](StringGrid& g) { return g.Row() == 2; }),
        GridCase("GridMouseDown",
                 [](StringGrid& g, auto h) { g.OnMouseDown = [h](wb::Persistent*, TMouseButton, TShiftState, int, int) { h(); }; },
                 [](GridScene& t) { PressAt(t, 3, 2); }, [](StringGrid& g) { return g.Col() == 3; }),
        GridCase("GridClickByMouse", [](StringGrid& g, auto h) { g.OnClick = [h](wb::Persistent*) { h(); }; },
                 [](GridScene& t) { PressAt(t, 3, 2); }, [](StringGrid& g) { return g.Col() == 3; }),
        GridCase("GridMouseUp",
                 [](StringGrid& g, auto h) {
                     AddOptions(g, goColMoving);
                     g.OnMouseUp = [h](wb::Persistent*, TMouseButton, TShiftState, int, int) { h(); };
                 },
                 [](GridScene& t) { t.grid->SetCells(1, 0, "moved"); PressAt(t, 1, 0); t.MouseAt(QEvent::MouseButtonRelease, 3, 0); },
                 [](StringGrid& g) { return g.Cells(3, 0) == "moved"; }),
        GridCase("GridDblClick", [](StringGrid& g, auto h) { AddOptions(g, goEditing); g.OnDblClick = [h](wb::Persistent*) { h(); }; },
                 [](GridScene& t) {
                     for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick})
                         t.MouseAt(type, 1, 1);
                 },
                 [](StringGrid& g) { return g.EditorMode(); }),
        GridCase("GridSetEditText",
                 [](StringGrid& g, auto h) {
                     AddOptions(g, goEditing);
                     g.OnSetEditText = [h](StringGrid*, int, int, const std::string&) { h(); };
                 },
                 [](GridScene& t) { t.Key(Qt::Key_N, Qt::NoModifier, "n"); }, [](StringGrid& g) { return g.Cells(1, 1) == "n"; }),
        GridCase("GridEnter",
                 [](StringGrid& g, auto h) { AddOptions(g, goEditing | goAlwaysShowEditor); g.OnEnter = [h](wb::Persistent*) { h(); }; },
                 [](GridScene& t) { t.grid->DoExit(); t.grid->DoEnter(); }, [](StringGrid& g) { return g.EditorMode(); }),
        GridCase("GridExit", [](StringGrid& g, auto h) { AddOptions(g, goEditing); g.OnExit = [h](wb::Persistent*) { h(); }; },
                 [](GridScene& t) {
                     t.Key(Qt::Key_F2);
                     (new Edit(*t.form, "Other" + std::to_string(t.form->ComponentCount())))->SetFocus();
                     if (t.grid->EditorMode()) t.grid->DoExit();  // without a window manager the focus may stay
                 },
                 [](StringGrid& g) { return !g.EditorMode(); }),
        GridCase("GridTopLeftChanged", [](StringGrid& g, auto h) { g.SetRowCount(40); g.OnTopLeftChanged = [h](StringGrid*) { h(); }; },
                 [](GridScene& t) { TWMScroll m; m.ScrollCode = SB_LINEDOWN; t.grid->WMVScroll(m); },
                 [](StringGrid& g) { return g.TopRow() == 2; }),
        GridCase("GridColumnMoved", [](StringGrid& g, auto h) { g.OnColumnMoved = [h](StringGrid*, int, int) { h(); }; },
                 [](GridScene& t) { t.grid->SetCells(1, 1, "x"); t.grid->MoveColumn(1, 2); },
                 [](StringGrid& g) { return g.Cells(2, 1) == "x"; }),
        // Counts the test's painting only, as the error box makes the grid draw again.
        GuardCase{"GridDrawCell", [](Form&, test::Handler h) -> test::Deliver {
            auto scene = std::make_shared<GridScene>();
            return [scene, h, g = scene->grid.get()] {
                g->OnDrawCell = [h, g, once = std::make_shared<bool>(true)](StringGrid*, int c, int r, const Rect&, TGridDrawState) {
                    if (c == 0 && r == 0 && std::exchange(*once, false)) h();
                    if (c == 4 && r == 4) g->SetCells(4, 0, "last drawn");
                };
                g->SetCells(4, 0, "");
                scene->Paint();
                EXPECT_EQ(g->Cells(4, 0), "last drawn");
            };
        }}),
    test::GuardCaseName);

} // namespace
