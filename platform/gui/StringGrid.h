#pragma once
// A grid of text cells with attached objects, painted cell by cell through a
// Canvas. Fixed rows and columns are ordinary cells that stay in place while
// the rest scrolls. Derived controls change the behaviour by overriding the
// steps below (cell drawing, cell selection, the change steps, keys, edit
// store, click, enter, exit, moves, scroll messages). Positions are in the
// control's coordinates, as its mouse events give them.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Canvas.h"
#include "platform/gui/Keys.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui {

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,
    goColMoving = 1u << 9,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14,
};
using TGridOptions = unsigned;

enum TGridDrawStateBit : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = unsigned;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

struct TGridCoord {
    int X = 0, Y = 0;
    bool operator==(const TGridCoord&) const = default;
};

// Inclusive on all sides.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Contains(int col, int row) const { return col >= Left && col <= Right && row >= Top && row <= Bottom; }
    bool operator==(const TGridRect&) const = default;
};

// A scroll message as a scroll bar sends it; a handler that sets Result to
// non-zero keeps the grid from scrolling.
enum TScrollCode {
    SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5, SB_TOP = 6, SB_BOTTOM = 7, SB_ENDSCROLL = 8
};
struct TWMScroll {
    int ScrollCode = SB_ENDSCROLL;
    int Pos = 0;
    long Result = 0;
};

class StringGrid : public WidgetControl {
public:
    explicit StringGrid(Component* owner = nullptr);
    StringGrid(WinControl& parent, const std::string& name);
    ~StringGrid() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    // Cells. Objects are the caller's; the grid never frees them.
    std::string Cells(int col, int row) const;
    // The same without a copy; valid until the cell changes.
    const std::string& CellText(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    void* Objects(int col, int row) const;
    void SetObjects(int col, int row, void* object);

    int ColCount() const { return colCount_; }
    void SetColCount(int count);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);   // throws std::invalid_argument unless below ColCount
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);   // throws std::invalid_argument unless below RowCount

    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);   // resets every column
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height); // resets every row
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int width);

    // The current cell. Setting it goes through SelectCell and scrolls it into view.
    int Col() const { return current_.X; }
    void SetCol(int col);
    int Row() const { return current_.Y; }
    void SetRow(int row);
    // Makes (col, row) current when SelectCell allows it; true when it did.
    bool FocusCell(int col, int row, bool moveAnchor = true);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& rect);

    int TopRow() const { return topLeft_.Y; }
    void SetTopRow(int row);
    int LeftCol() const { return topLeft_.X; }
    void SetLeftCol(int col);
    int VisibleRowCount() const;   // whole scrolling rows that fit below the fixed rows
    int VisibleColCount() const;

    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool on) { defaultDrawing_ = on; Invalidate(); }
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; Invalidate(); }
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor color) { fixedColor_ = color; Invalidate(); }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);

    // The canvas of the cell being drawn; outside painting a canvas that
    // measures text in the grid's font.
    Canvas& GridCanvas();

    // The in-place editor.
    bool EditorMode() const;
    void SetEditorMode(bool on);

    // Moves shift the rows (columns) between the two indices by one; the
    // current cell follows its row (column).
    void MoveRow(int fromIndex, int toIndex);
    void MoveColumn(int fromIndex, int toIndex);
    void DeleteRow(int row);
    void DeleteColumn(int col);

    // An empty rectangle for a cell out of view.
    Rect CellRect(int col, int row) const;
    // The cell under a point; -1 parts outside the cells.
    TGridCoord MouseCoord(int x, int y) const;
    // Paints every visible cell onto the canvas, as a paint of the control does.
    void PaintGrid(Canvas& canvas);

    // The scroll bar's range and page as the grid keeps them: positions run
    // from min to max, page 0 means the platform's default thumb.
    void GetScrollRange(bool vertical, int& min, int& max) const;
    int ScrollPage(bool vertical) const { return scrollPage_[vertical ? 1 : 0]; }
    void SetScrollPage(bool vertical, int page);

    // Events, each run inside the guard; keys, mouse buttons, double
    // click, enter and exit are the control base's events.
    std::function<void(StringGrid* sender, int col, int row, const Rect& rect, TGridDrawState state)> OnDrawCell;
    std::function<void(StringGrid* sender, int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(StringGrid* sender, int col, int row, const std::string& value)> OnSetEditText;
    std::function<void(StringGrid* sender, int col, int row, std::string& value)> OnGetEditText;
    TNotifyEvent OnClick;
    std::function<void(StringGrid* sender)> OnTopLeftChanged;
    std::function<void(StringGrid* sender, int fromIndex, int toIndex)> OnColumnMoved;
    std::function<void(StringGrid* sender, int fromIndex, int toIndex)> OnRowMoved;

    // The grid's own steps, public so a window can drive them as the user
    // would. The base's steps fire their events each inside the guard, so
    // a failing handler leaves the grid's own handling of the input intact.
    void KeyDown(int& key, TShiftState shift) override;
    virtual void Click();
    void DblClick() override;
    void DoEnter() override;
    void DoExit() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    virtual void WMVScroll(TWMScroll& msg);
    virtual void WMHScroll(TWMScroll& msg);
    virtual void SetEditText(int col, int row, const std::string& value);

protected:
    struct Cell {
        std::string text;
        void* object = nullptr;
    };
    using CellRow = std::vector<Cell>;

    // The brush and font are preset for the cell's state before this runs.
    virtual void DrawCell(int col, int row, const Rect& rect, TGridDrawState state);
    virtual bool SelectCell(int col, int row);
    virtual std::string GetEditText(int col, int row);
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    virtual void RowHeightsChanged();
    virtual void ColWidthsChanged();
    virtual void ColumnMoved(int fromIndex, int toIndex);  // moves the cell data
    virtual void RowMoved(int fromIndex, int toIndex);     // moves the cell data
    virtual void TopLeftChanged();
    virtual void WMSize();

    // For derived grids that reorder whole rows: rows first.. get the rows that stood at source[0], source[1], ...; the
    // sources must be those same rows in some order (std::invalid_argument
    // otherwise, with nothing moved). Heights stay with their positions.
    void PermuteRows(int first, const std::vector<int>& source);

    // For a derived cell drawing that runs the default one without its text.
    void SetDefaultDrawingQuietly(bool on) { defaultDrawing_ = on; }
    void UpdateScrollRange();
    void ScrollIntoView(int col, int row);
    void UpdateEditor();
    bool HasFocusWithin() const;

    void Paint(Canvas& canvas) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    bool MouseWheel(int delta, TShiftState shift) override;

private:
    struct Impl;
    enum class Drag { None, Select, SizeCol, SizeRow, MoveCol, MoveRow };
    // Where the cells are shown: the scroll area's view, in control coordinates.
    Rect ViewRect() const;
    // The grid's own part of a press, release or double click, before the step.
    void Pressed(TMouseButton button, TShiftState shift, int x, int y);
    void Released(int x, int y);
    void Typed(const std::string& text);
    void InvalidateView();
    void ChangeSize(int newColCount, int newRowCount);
    void CheckIndex(int col, int row) const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    int ColLine(int col) const;   // the line width after a column
    int RowLine(int row) const;
    int ColX(int col) const;      // left edge in the viewport, -1 when scrolled away
    int RowY(int row) const;
    void OnScrollAction(bool vertical, int action);
    void MoveCurrent(int col, int row, bool extend);
    void ShowEditor(const std::string* typed = nullptr);
    void HideEditor();
    void EditorTextEdited(const std::string& text);
    int SizingBorder(int x, int y, bool& isColumn) const;
    template <class V> static void MoveItem(V& v, int from, int to);

    std::vector<CellRow> rows_;
    int colCount_ = 0, rowCount_ = 0;
    int fixedCols_ = 1, fixedRows_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24, gridLineWidth_ = 1;
    std::vector<int> colWidths_, rowHeights_;
    TGridCoord current_{1, 1}, anchor_{1, 1}, topLeft_{1, 1};
    bool defaultDrawing_ = true;
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    TScrollStyle scrollBars_ = ssBoth;
    TColor color_ = clWindow, fixedColor_ = clBtnFace;
    TFont font_;
    int scrollPage_[2] = {0, 0};
    Canvas* paintCanvas_ = nullptr;
    std::unique_ptr<Canvas> measureCanvas_;
    std::unique_ptr<Impl> impl_;
    std::string editorOriginal_;
    // The cell the editor shows and that cell's text as the editor last saw it.
    TGridCoord editorCell_{-1, -1};
    std::string editorCellText_;
    bool editorTyping_ = false;  // the editor's text is being handed to the cell
    void LoadEditor(const std::string* typed);
    bool syncingBars_ = false;
    Drag drag_ = Drag::None;
    int dragIndex_ = -1, dragStart_ = 0, dragOrigin_ = 0;
    // The cell a double click went to, for the editor it opens.
    TGridCoord doubleClicked_{-1, -1};
    bool hadFocus_ = false;
};

} // namespace wb::gui
