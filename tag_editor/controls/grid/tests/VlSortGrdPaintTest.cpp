#include "tag_editor/controls/grid/VlSortGrd.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/testing/PaintTestApp.h"
#include "platform/testing/TestApp.h"
#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

using namespace wb::gui;
using wb::gui::test::ExpectPixels;

namespace {

class VlSortGridPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::test::App();
        grid = painttest::OnForm<TVlSortGrid>(300, 200);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(3);
        grid->SetRowCount(4);
        grid->SetDefaultColWidth(90);
        grid->SetDefaultRowHeight(40);
        grid->SetCol(2);
        grid->SetRow(3);  // keep the current cell away from the cells under test
    }
    QImage Paint() { return painttest::PaintGrid(*grid); }
    // Formats one cell: background, black text, and whatever `more` adds.
    void FormatCell(int col, int row, TColor back, std::function<void(TFormatOptions&)> more = {}) {
        grid->SetOnGetCellFormat([=](TVlSortGrid*, int c, int r, TGridDrawState, TFormatOptions& fo) {
            if (c != col || r != row) return;
            fo.Brush->Color = back;
            fo.Font->Color = clBlack;
            if (more) more(fo);
        });
    }
    // The text drawn as the grid should draw it: each line at its offset, on white.
    QImage Reference(const Rect& cell, const std::vector<std::pair<Point, std::string>>& lines) {
        QImage ref(cell.Width(), cell.Height(), QImage::Format_RGB32);
        ref.fill(Qt::white);
        Canvas c(ref);
        c.Font() = grid->Font();
        c.Font().Color = clBlack;
        c.Brush().Style = BrushStyle::Clear;
        for (auto& [at, text] : lines) c.TextOut(at.x, at.y, text);
        return ref;
    }
    // True when the cell shows ink exactly where the reference does.
    static bool SameInk(const QImage& image, const Rect& cell, TColor back, const QImage& ref, int* inked = nullptr) {
        int count = 0;
        for (int y = 0; y < cell.Height(); ++y)
            for (int x = 0; x < cell.Width(); ++x) {
                bool a = image.pixel(cell.left + x, cell.top + y) != ToQRgb(back);
                bool b = ref.pixel(x, y) != qRgb(255, 255, 255);
                if (a != b) return false;
                count += a;
            }
        if (inked) *inked = count;
        return true;
    }
    static int Count(const QImage& image, const Rect& cell, TColor colour) {
        int n = 0;
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x) n += image.pixel(x, y) == ToQRgb(colour);
        return n;
    }
    painttest::Shown<TVlSortGrid> grid;
};

TEST_F(VlSortGridPaintTest, AlignmentOffsetsPlaceTheText) {
    const std::string text = "Wj";
    grid->SetCells(1, 1, text);
    Rect cell = grid->CellRect(1, 1);
    Canvas measure;
    measure.Font() = grid->Font();
    const int tw = measure.TextWidth(text), th = measure.TextHeight(text);
    struct Case {
        TAlignment h;
        TVertAlignment v;
        int dx, dy;
    } cases[] = {
        {taLeftJustify, taTopJustify, 2, 2},
        {taRightJustify, taBottomJustify, cell.Width() - tw - 2, cell.Height() - th - 3},
        {taCenter, taMiddle, (cell.Width() - tw) / 2, (cell.Height() - th) / 2},
    };
    for (auto& k : cases) {
        FormatCell(1, 1, clYellow, [&](TFormatOptions& fo) {
            fo.AlignmentHorz = k.h;
            fo.AlignmentVert = k.v;
        });
        QImage image = Paint();
        int inked = 0;
        EXPECT_TRUE(SameInk(image, cell, clYellow, Reference(cell, {{{k.dx, k.dy}, text}}), &inked))
            << "alignment " << int(k.h) << "/" << int(k.v);
        EXPECT_GT(inked, 10);
    }
    // The grid's own properties are the preset.
    grid->SetAlignmentHorz(taRightJustify);
    FormatCell(1, 1, clYellow);
    EXPECT_TRUE(SameInk(Paint(), cell, clYellow, Reference(cell, {{{cell.Width() - tw - 2, 2}, text}})));
}

TEST_F(VlSortGridPaintTest, BevelEdgesTakeTheirColoursInOrder) {
    Rect cell = grid->CellRect(1, 2);
    grid->SetBevelStyle(cbRaised);
    const Rect header = grid->CellRect(1, 0);
    // The top-left lines come last and own two corners; fixed cells get no bevel.
    ExpectPixels(Paint(), {{cell.right - 1, cell.top + 10, clBtnShadow}, {cell.left + 10, cell.bottom - 1, clBtnShadow},
                           {cell.left, cell.top + 10, clBtnHighlight}, {cell.left + 10, cell.top, clBtnHighlight},
                           {cell.right - 1, cell.top, clBtnHighlight}, {cell.left, cell.bottom - 1, clBtnHighlight},
                           {cell.right - 1, cell.bottom - 1, clBtnShadow}, {header.left + 10, header.bottom - 2, clBtnFace}});
    grid->SetBevelStyle(cbLowered);
    ExpectPixels(Paint(), {{cell.right - 1, cell.top + 10, clBtnHighlight}, {cell.left, cell.top + 10, clBtnShadow}});

    // A handler's colours win; the lines follow the fixed-line options.
    grid->SetBevelStyle(cbNone);
    FormatCell(1, 2, clWhite, [](TFormatOptions& fo) {
        fo.BevelStyle = cbRaised;
        fo.TopLeftColor = clRed;
        fo.BottomRightColor = clBlue;
    });
    grid->SetOptions(grid->Options() & ~unsigned(goFixedVertLine));
    cell = grid->CellRect(1, 2);  // the fixed column lost its line
    ExpectPixels(Paint(), {{cell.left + 10, cell.top, clRed}, {cell.left + 10, cell.bottom - 1, clBlue},
                           {cell.left, cell.top + 10, clWhite}, {cell.right - 1, cell.top + 10, clWhite}});
}

TEST_F(VlSortGridPaintTest, HiddenTextLeavesOnlyTheBackground) {
    grid->SetCells(1, 1, "visible?");
    FormatCell(1, 1, clLime, [](TFormatOptions& fo) { fo.HideText = true; });
    Rect cell = grid->CellRect(1, 1);
    EXPECT_EQ(Count(Paint(), cell, clLime), cell.Width() * cell.Height());
    // An empty cell still gets its background.
    grid->SetCells(1, 1, "");
    FormatCell(1, 1, clLime);
    EXPECT_EQ(Count(Paint(), cell, clLime), cell.Width() * cell.Height());
}

TEST_F(VlSortGridPaintTest, MultiLineCellsStackTheirLinesOverAClearBrush) {
    grid->SetAlignmentVert(taMultiLine);
    grid->SetCells(1, 1, "a|b|c");
    FormatCell(1, 1, clLime);
    Rect cell = grid->CellRect(1, 1);
    Canvas measure;
    measure.Font() = grid->Font();
    const int lh = measure.TextHeight("a");
    QImage image = Paint();
    EXPECT_EQ(Count(image, cell, clLime), 0);  // the handler's brush does not fill it
    EXPECT_TRUE(SameInk(image, cell, clWhite,
                        Reference(cell, {{{2, 2}, "a"}, {{2, 2 + lh}, "b"}, {{2, 2 + 2 * lh}, "c"}})));
    grid->SetCells(1, 1, "abc");
    image = Paint();
    EXPECT_TRUE(SameInk(image, cell, clLime, Reference(cell, {{{2, 2}, "abc"}})));
}

TEST_F(VlSortGridPaintTest, SortMarkerShowsTheDirection) {
    for (int r = 1; r < 4; ++r) grid->SetCells(2, r, std::to_string(4 - r));
    Rect header = grid->CellRect(2, 0), other = grid->CellRect(1, 0);
    auto dot = [&](const QImage& image, const Rect& cell) { return image.pixel(cell.right - 6, cell.top + 4); };
    EXPECT_EQ(dot(Paint(), header), ToQRgb(clBtnFace));
    TSortOptions o;
    grid->SortColumn(2, o);
    QImage image = Paint();
    EXPECT_EQ(dot(image, header), ToQRgb(clRed));
    EXPECT_EQ(dot(image, other), ToQRgb(clBtnFace));
    EXPECT_EQ(Count(image, header, clRed), Count(image, {header.right - 8, header.top + 2, header.right - 4, header.top + 6}, clRed));
    o.Descending = true;
    grid->SortColumn(2, o);
    EXPECT_EQ(dot(Paint(), header), ToQRgb(clBlue));
    grid->SetFixedRows(2);
    EXPECT_EQ(dot(Paint(), header), ToQRgb(clBtnFace));
}

TEST_F(VlSortGridPaintTest, CoordChangeFiresAtTheFirstPaintAfterAMove) {
    std::vector<std::vector<int>> seen;
    grid->SetOnCoordChange([&](int oc, int orow, int nc, int nr) { seen.push_back({oc, orow, nc, nr}); });
    Paint();
    Paint();
    grid->SetRow(1);
    EXPECT_EQ(seen.size(), 1u);
    Paint();
    EXPECT_EQ(seen, (std::vector<std::vector<int>>{{0, 0, 2, 3}, {2, 3, 2, 1}}));
}

TEST_F(VlSortGridPaintTest, WithoutDefaultDrawingOnlyTheEventsRun) {
    grid->SetCells(1, 1, "text");
    int formats = 0, draws = 0;
    grid->SetOnGetCellFormat([&](TVlSortGrid*, int, int, TGridDrawState, TFormatOptions&) { ++formats; });
    grid->OnDrawCell = [&](StringGrid*, int, int, const Rect&, TGridDrawState) { ++draws; };
    grid->SetDefaultDrawing(false);
    QImage image = Paint();
    Rect cell = grid->CellRect(1, 1);
    EXPECT_EQ(Count(image, cell, clWindow), cell.Width() * cell.Height());
    EXPECT_EQ(formats, 12);
    EXPECT_EQ(draws, 12);
    grid->SetDefaultDrawing(true);
    draws = 0;
    Paint();
    EXPECT_EQ(draws, 12);  // the grid's own event still fires after the sorted grid's drawing
    EXPECT_TRUE(grid->DefaultDrawing());
}

TEST_F(VlSortGridPaintTest, ScreenshotOfASortedFormattedGrid) {
    auto shown = painttest::OnForm<TVlSortGrid>(520, 250);
    TVlSortGrid& g = *shown;
    g.SetScrollBars(ssVertical);
    g.SetColCount(4);
    g.SetRowCount(9);
    g.SetDefaultRowHeight(20);
    g.SetColWidths(0, 40);
    g.SetColWidths(1, 190);
    g.SetColWidths(2, 160);
    g.SetColWidths(3, 90);
    const char* rows[][4] = {
        {"#", "Title", "Artist", "Released"}, {"12", "Night Drive", "The Lanterns", "2019-04-02"},
        {"3", "Paper Boats", "Mira Soll", "2001-11-20"},   {"7", "Glass Harbour", "Oktav", "2012-06-15"},
        {"1", "Ashes|(live)", "The Lanterns", "1998-01-09"}, {"10", "Low Tide", "Mira Soll", "2015-08-30"},
        {"5", "Northern Line", "Oktav", "2007-03-03"},   {"2", "Copper Sky", "Fen Wilder", "1999-10-10"},
        {"8", "Quiet Rooms", "Fen Wilder", "2013-02-27"},
    };
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 4; ++c) g.SetCells(c, r, rows[r][c]);
    g.SetOnGetCellFormat([](TVlSortGrid* s, int col, int row, TGridDrawState state, TFormatOptions& fo) {
        if (row == 0) {
            fo.Brush->Color = 0x00A4E8F9;
            fo.AlignmentHorz = taCenter;
            fo.AlignmentVert = taMiddle;
            fo.Font->Style = fsBold;
            return;
        }
        if (!(state & gdSelected)) fo.Brush->Color = row % 2 ? clWindow : RGBColor(0xEE, 0xF3, 0xFA);
        if (col == 0) fo.AlignmentHorz = taRightJustify;
        if (col == 1 && s->Cells(col, row).find('|') != std::string::npos) fo.AlignmentVert = taMultiLine;
        if (col == 3) {
            fo.BevelStyle = cbLowered;
            fo.TopLeftColor = clBtnShadow;
            fo.BottomRightColor = clBtnHighlight;
            fo.AlignmentVert = taMiddle;
        }
        if (col == 2 && s->Cells(col, row) == "Oktav") fo.Font->Color = clMaroon;
    });
    g.SetRow(2);
    TSortOptions o;
    g.SortColumn(0, o);  // numbers, so 10 and 12 come last
    ASSERT_EQ(g.Cells(0, 8), "12");
    ASSERT_EQ(g.Cells(0, 1), "1");
    ASSERT_EQ(g.Row(), 3);  // the current row went with "Paper Boats"
    g.SetRowHeights(1, 34);  // room for the two lines of "Ashes|(live)"

    QImage shot = g.Widget()->grab().toImage();
    std::filesystem::path dir = std::filesystem::path(WB_BINARY_DIR) / "screens";
    std::filesystem::create_directories(dir);
    std::string path = (dir / "velmora-sortgrid.png").string();
    ASSERT_TRUE(shot.save(QString::fromStdString(path)));
    EXPECT_EQ(shot.pixel(g.CellRect(2, 0).left + 5, g.CellRect(2, 0).top + 3), ToQRgb(0x00A4E8F9));
}

} // namespace
