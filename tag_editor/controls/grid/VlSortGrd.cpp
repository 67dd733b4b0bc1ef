#include "tag_editor/controls/grid/VlSortGrd.h"

#include <cmath>
#include <stdexcept>

#include "platform/base/File.h"
#include "platform/base/PendingFile.h"
#include "platform/base/ScopeExit.h"
#include "platform/gui/Cursors.h"
#include "platform/gui/Guard.h"
#include "platform/gui/InputBox.h"
#include "platform/gui/MessageBox.h"
#include "tag_editor/controls/grid/SortGridForm.h"

namespace velmora {

using namespace wb::gui;

namespace {

// The grid's error for an index outside 0..last.
void CheckGridIndex(int i, int last) {
    if (i < 0 || i > last) throw std::out_of_range("Grid index out of range");
}

// Halves go to the even neighbour, so 2.5 gives 2 and 3.5 gives 4.
int RoundHalfEven(double v) {
    double f = std::floor(v);
    double diff = v - f;
    if (diff > 0.5) return int(f) + 1;
    if (diff < 0.5) return int(f);
    return (long long)f % 2 == 0 ? int(f) : int(f) + 1;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::vector<std::string> SplitFields(const std::string& line, char delimiter) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t at = line.find(delimiter, start);
        if (at == std::string::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, at - start));
        start = at + 1;
    }
}

// Clears a flag on every way out of a scope.
struct FlagGuard {
    bool& flag;
    explicit FlagGuard(bool& f) : flag(f) { flag = true; }
    ~FlagGuard() { flag = false; }
};

} // namespace

TVlSortGrid::TVlSortGrid(wb::Component* owner) : StringGrid(owner) {
    RememberCell();
    BuildHeaderPopup();
}

TVlSortGrid::TVlSortGrid(WinControl& parent, const std::string& name) : TVlSortGrid(&parent) {
    Place(parent, name);
}

TVlSortGrid::~TVlSortGrid() = default;

// ---- properties --------------------------------------------------------------

void TVlSortGrid::SetAlignmentHorz(TAlignment v) {
    alignmentHorz_ = v;
    Invalidate();
}

void TVlSortGrid::SetAlignmentVert(TVertAlignment v) {
    alignmentVert_ = v;
    Invalidate();
}

void TVlSortGrid::SetBevelStyle(TCellBevelStyle v) {
    bevelStyle_ = v;
    Invalidate();
}

void TVlSortGrid::SetHeaderPopUpSet(TSortPopUpSet v) {
    headerPopUpSet_ = v;
    BuildHeaderPopup();
}

void TVlSortGrid::SetProportionalScrollBars(bool v) {
    proportionalScrollBars_ = v;
    UpdateScrollBarPages();
}

// ---- cell drawing ------------------------------------------------------------

TFormatOptions TVlSortGrid::PresetFormat() {
    Canvas& canvas = GridCanvas();
    TFormatOptions fo;
    fo.Brush = &canvas.Brush();
    fo.Font = &canvas.Font();
    fo.AlignmentHorz = alignmentHorz_;
    fo.AlignmentVert = alignmentVert_;
    fo.BevelStyle = bevelStyle_;
    switch (bevelStyle_) {
    case cbRaised: fo.TopLeftColor = clBtnHighlight; fo.BottomRightColor = clBtnShadow; break;
    case cbLowered: fo.TopLeftColor = clBtnShadow; fo.BottomRightColor = clBtnHighlight; break;
    default: fo.TopLeftColor = clWindow; fo.BottomRightColor = clWindow; break;
    }
    fo.HideText = false;
    return fo;
}

void TVlSortGrid::DrawCellText(int col, int row, const Rect& rect, const TFormatOptions& fo) {
    Canvas& canvas = GridCanvas();
    const std::string text = Cells(col, row);
    const bool multi = fo.AlignmentVert == taMultiLine;
    const BrushStyle savedStyle = canvas.Brush().Style;
    const int cellWidth = rect.Width(), cellHeight = rect.Height();
    const int textHeight = canvas.TextHeight(text);
    std::string rest = text;
    int above = 0;
    // At least once, so an empty cell still gets its background.
    do {
        std::string line;
        size_t bar = multi ? rest.find('|') : std::string::npos;
        if (bar != std::string::npos) {
            line = rest.substr(0, bar);
            rest.erase(0, bar + 1);
            canvas.Brush().Style = BrushStyle::Clear;  // later lines must not erase earlier ones
        } else {
            line = std::move(rest);
            rest.clear();
        }
        int width = canvas.TextWidth(line);
        int dx = fo.AlignmentHorz == taRightJustify ? cellWidth - width - 2
                 : fo.AlignmentHorz == taCenter     ? (cellWidth - width) / 2
                                                    : 2;
        int dy = fo.AlignmentVert == taBottomJustify ? cellHeight - textHeight - 3
                 : fo.AlignmentVert == taMiddle      ? (cellHeight - textHeight) / 2
                                                     : 2;
        canvas.TextRect(rect, rect.left + dx, rect.top + dy + above, fo.HideText ? std::string() : line);
        if (multi) above += canvas.TextHeight(line);
    } while (!rest.empty());
    if (multi) canvas.Brush().Style = savedStyle;
}

void TVlSortGrid::DrawCell(int col, int row, const Rect& rect, TGridDrawState state) {
    TFormatOptions fo = PresetFormat();
    if (Col() != drawnCol_ || Row() != drawnRow_) {
        int oldCol = drawnCol_, oldRow = drawnRow_;
        drawnCol_ = Col();
        drawnRow_ = Row();
        Fire(onCoordChange_, oldCol, oldRow, drawnCol_, drawnRow_);
    }
    Fire(onGetCellFormat_, this, col, row, state, fo);
    if (!DefaultDrawing()) {
        StringGrid::DrawCell(col, row, rect, state);
        return;
    }
    Canvas& canvas = GridCanvas();
    DrawCellText(col, row, rect, fo);
    if (fo.BevelStyle != cbNone && col >= FixedCols() && row >= FixedRows()) {
        const bool vert = Options() & goFixedVertLine, horz = Options() & goFixedHorzLine;
        canvas.Pen().Style = PenStyle::Solid;
        canvas.Pen().Width = 1;
        canvas.Pen().Color = fo.BottomRightColor;
        if (vert) { canvas.MoveTo(rect.right - 1, rect.top); canvas.LineTo(rect.right - 1, rect.bottom); }
        if (horz) { canvas.MoveTo(rect.left, rect.bottom - 1); canvas.LineTo(rect.right, rect.bottom - 1); }
        canvas.Pen().Color = fo.TopLeftColor;
        if (vert) { canvas.MoveTo(rect.left, rect.top); canvas.LineTo(rect.left, rect.bottom); }
        if (horz) { canvas.MoveTo(rect.left, rect.top); canvas.LineTo(rect.right, rect.top); }
    } else if (row == 0 && FixedRows() == 1 && col == lastSortCol_) {
        TColor dot = lastSortOptions_.Descending ? clBlue : clRed;
        canvas.Brush() = {dot, BrushStyle::Solid};
        canvas.Pen() = {dot, 1, PenStyle::Solid};
        canvas.Ellipse({rect.right - 8, rect.top + 2, rect.right - 4, rect.top + 6});
    }
    // The string grid's own drawing then adds no text, only its event.
    SetDefaultDrawingQuietly(false);
    auto restore = wb::OnScopeExit([&] { SetDefaultDrawingQuietly(true); });
    StringGrid::DrawCell(col, row, rect, state);
}

bool TVlSortGrid::SelectCell(int col, int row) { return StringGrid::SelectCell(col, row); }

// ---- sorting -------------------------------------------------------------------

std::vector<TSortedListEntry> TVlSortGrid::CollectEntries(int col) const {
    std::vector<TSortedListEntry> entries;
    entries.reserve(std::max(0, RowCount() - FixedRows()));
    // Rows moved by earlier sorts lie scattered on the heap: asking for a
    // cell some rows ahead hides most of the wait for memory.
    constexpr int kAhead = 16;
    const int rows = RowCount();
    for (int r = FixedRows(); r < rows; ++r) {
        if (r + kAhead < rows) __builtin_prefetch(&CellText(col, r + kAhead));
        entries.emplace_back(CellText(col, r), r);
    }
    return entries;
}

std::uint8_t TVlSortGrid::DetectSortKind(int Col) {
    if (preparedCol_ == Col)
        return DetectSortKindOf(
            int(prepared_.size()), [&](int i) -> const std::string& { return prepared_[i].Text; }, formatSettings_,
            &preparedNumbers_);
    const int fixed = FixedRows();
    return DetectSortKindOf(
        std::max(0, RowCount() - fixed), [&](int i) -> const std::string& { return CellText(Col, fixed + i); },
        formatSettings_);
}

void TVlSortGrid::SortColumn(int Col, const TSortOptions& Options) {
    if (EditorMode() || RowCount() <= FixedRows() + 1) return;
    if (Col < 0 || Col >= ColCount()) return;
    TSortOptions options = Options;
    Fire(onBeginSort_, this, Col, options);
    // Detection and sort read the column once; the grid cannot change between them.
    struct Reset {
        TVlSortGrid* g;
        ~Reset() { g->preparedCol_ = -1; g->prepared_.clear(); g->preparedNumbers_.clear(); }
    } reset{this};
    prepared_ = CollectEntries(Col);
    preparedCol_ = Col;
    if (options.SortKind == skDetect) options.SortKind = DetectSortKind(Col);
    SortRows(Col, options);
    Fire(onEndSort_, this, Col);
}

void TVlSortGrid::SortRows(int Col, const TSortOptions& Options) {
    lastSortCol_ = Col;
    lastSortOptions_ = Options;
    sortList_.clear();
    const int fixed = FixedRows();
    const bool prepared = preparedCol_ == Col;
    std::vector<TSortedListEntry> entries = prepared ? std::move(prepared_) : CollectEntries(Col);
    std::vector<double> numbers = prepared ? std::move(preparedNumbers_) : std::vector<double>();
    preparedCol_ = -1;
    SortEntries(entries, Options, formatSettings_, &numbers);

    std::vector<int> source;
    source.reserve(entries.size());
    for (auto& e : entries) source.push_back(e.Index);
    PermuteRows(fixed, source);

    if (Row() >= fixed) {
        for (size_t p = 0; p < entries.size(); ++p)
            if (entries[p].Index == Row()) {
                GotoCell(this->Col(), fixed + int(p));
                break;
            }
    }
    sortList_ = std::move(entries);
    UpdateEditor();
    Invalidate();
}

bool TVlSortGrid::SortListValid() {
    const int fixed = FixedRows(), n = RowCount() - fixed;
    bool valid = int(sortList_.size()) == n && n > 0;
    if (valid) {
        // Each data row exactly once, or undoing would scramble rows.
        std::vector<bool> seen(n, false);
        for (auto& e : sortList_) {
            int i = e.Index - fixed;
            if (i < 0 || i >= n || seen[i]) { valid = false; break; }
            seen[i] = true;
        }
    }
    if (!valid) sortList_.clear();
    return valid;
}

void TVlSortGrid::UndoSort() {
    if (!SortListValid()) return;
    const int fixed = FixedRows(), n = int(sortList_.size());
    // Row Index gets back the row now at fixed + i: the inverse order.
    std::vector<int> source(n);
    for (int i = 0; i < n; ++i) source[sortList_[i].Index - fixed] = fixed + i;
    PermuteRows(fixed, source);
    if (Row() >= fixed && Row() - fixed < n) GotoCell(Col(), sortList_[Row() - fixed].Index);
    sortList_.clear();
    UpdateEditor();
    Invalidate();
}

// ---- structure -------------------------------------------------------------------

template <class F>
void TVlSortGrid::WithoutAlwaysShowEditor(F f) {
    const bool had = Options() & goAlwaysShowEditor;
    if (had) SetOptions(Options() & ~unsigned(goAlwaysShowEditor));
    auto restore = wb::OnScopeExit([&] {
        if (had) SetOptions(Options() | goAlwaysShowEditor);
    });
    f();
}

void TVlSortGrid::GotoCell(int ACol, int ARow) {
    int col = std::max(ACol, FixedCols()), row = std::max(ARow, FixedRows());
    if (col >= ColCount() || row >= RowCount()) return;
    FocusCell(col, row, true);
}

void TVlSortGrid::EmptyCell(int col, int row) {
    SetCells(col, row, std::string());
    SetObjects(col, row, nullptr);
}

void TVlSortGrid::ClearGrid() {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c) EmptyCell(c, r);
    edited_ = false;
    ForgetSort();
    UpdateEditor();
}

void TVlSortGrid::InsertGridRow(int Index) {
    CheckGridIndex(Index, RowCount());
    ForgetSort();
    SetRowCount(RowCount() + 1);
    MoveGridRow(RowCount() - 1, Index);
    for (int c = 0; c < ColCount(); ++c) EmptyCell(c, Index);
    if (Index >= FixedRows()) SetRow(Index);
    Fire(onRowInsert_, this, Index);
}

void TVlSortGrid::InsertGridColumn(int Index) {
    CheckGridIndex(Index, ColCount());
    ForgetSort();
    SetColCount(ColCount() + 1);
    MoveGridColumn(ColCount() - 1, Index);
    for (int r = 0; r < RowCount(); ++r) EmptyCell(Index, r);
    if (Index >= FixedCols()) SetCol(Index);
    Fire(onColumnInsert_, this, Index);
}

void TVlSortGrid::DeleteGridRow(int Index) {
    CheckGridIndex(Index, RowCount() - 1);
    ForgetSort();
    for (int c = 0; c < ColCount(); ++c) EmptyCell(c, Index);
    WithoutAlwaysShowEditor([&] { DeleteRow(Index); });
    Fire(onRowDelete_, this, Index);
}

void TVlSortGrid::DeleteGridColumn(int Index) {
    CheckGridIndex(Index, ColCount() - 1);
    ForgetSort();
    for (int r = 0; r < RowCount(); ++r) EmptyCell(Index, r);
    WithoutAlwaysShowEditor([&] { DeleteColumn(Index); });
    Fire(onColumnDelete_, this, Index);
}

void TVlSortGrid::MoveGridRow(int FromIndex, int ToIndex) {
    ForgetSort();
    WithoutAlwaysShowEditor([&] { MoveRow(FromIndex, ToIndex); });
}

void TVlSortGrid::MoveGridColumn(int FromIndex, int ToIndex) {
    ForgetSort();
    WithoutAlwaysShowEditor([&] { MoveColumn(FromIndex, ToIndex); });
}

void TVlSortGrid::SwapRows(int A, int B) {
    CheckGridIndex(A, RowCount() - 1);
    CheckGridIndex(B, RowCount() - 1);
    if (B > A) {
        MoveGridRow(B, A);
        MoveGridRow(A + 1, B);
    } else if (A > B) {
        MoveGridRow(A, B);
        MoveGridRow(B + 1, A);
    }
}

void TVlSortGrid::SwapColumns(int A, int B) {
    CheckGridIndex(A, ColCount() - 1);
    CheckGridIndex(B, ColCount() - 1);
    if (B > A) {
        MoveGridColumn(B, A);
        MoveGridColumn(A + 1, B);
    } else if (A > B) {
        MoveGridColumn(A, B);
        MoveGridColumn(B + 1, A);
    }
}

// ---- files -------------------------------------------------------------------------

void TVlSortGrid::LoadFromFile(const std::string& FileName, char Delimiter) {
    // Read first: a file that cannot be read leaves the grid as it was.
    std::string content;
    {
        wb::File file(FileName, wb::File::Mode::Read);
        content.resize(size_t(file.Size()));
        content.resize(file.Read(content.data(), content.size()));
    }
    const std::vector<std::string> lines = SplitLines(content);
    ClearGrid();
    // An empty or short file still leaves a data row below the fixed rows.
    SetRowCount(std::max<int>(int(lines.size()), FixedRows() + 1));
    SetColCount(FixedCols() + 1);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> fields = SplitFields(lines[i], Delimiter);
        if (int(fields.size()) > ColCount()) SetColCount(int(fields.size()));
        for (size_t j = 0; j < fields.size(); ++j) SetCells(int(j), int(i), fields[j]);
    }
    ForgetSort();
    RememberCell();
}

void TVlSortGrid::SaveToFile(const std::string& FileName, char Delimiter) {
    std::string content;
    for (int r = 0; r < RowCount(); ++r) {
        for (int c = 0; c < ColCount(); ++c) {
            if (c > 0) content += Delimiter;
            content += Cells(c, r);
        }
        content += '\n';
    }
    // The old file stays whole until the new one is complete.
    wb::PendingFile file(FileName);
    file.Write(content.data(), content.size());
    file.Commit();
}

// ---- validation ----------------------------------------------------------------

void TVlSortGrid::RememberCell() {
    remCol_ = Col();
    remRow_ = Row();
    remText_ = Cells(remCol_, remRow_);
    remEdited_ = edited_;
}

void TVlSortGrid::SetEditText(int col, int row, const std::string& value) {
    if (value != Cells(col, row)) edited_ = true;
    StringGrid::SetEditText(col, row, value);
}

void TVlSortGrid::ValidateCell() {
    // A remembered cell that a deletion took away has nothing to validate.
    if (remCol_ >= ColCount() || remRow_ >= RowCount()) {
        RememberCell();
        return;
    }
    const std::string current = Cells(remCol_, remRow_);
    if (current == remText_) {
        RememberCell();
        return;
    }
    std::string value = current;
    bool valid = true;
    Fire(onCellValidate_, this, remCol_, remRow_, value, valid);
    if (valid) {
        if (value != Cells(remCol_, remRow_)) SetCells(remCol_, remRow_, value);
    } else {
        if (value != Cells(remCol_, remRow_)) SetCells(remCol_, remRow_, value);
        else SetCells(remCol_, remRow_, remText_);
        edited_ = remEdited_;
    }
    UpdateEditor();
    RememberCell();
}

void TVlSortGrid::Click() {
    StringGrid::Click();
    if (entered_) ValidateCell();
}

void TVlSortGrid::DoEnter() {
    StringGrid::DoEnter();
    entered_ = true;
    RememberCell();
}

void TVlSortGrid::DoExit() {
    Click();
    StringGrid::DoExit();
    entered_ = false;
}

// ---- scroll bars and change steps -------------------------------------------

void TVlSortGrid::UpdateScrollBarPages() {
    auto page = [&](bool vertical) {
        if (!proportionalScrollBars_) return 0;
        int min = 0, max = 0;
        GetScrollRange(vertical, min, max);
        int shown = vertical ? VisibleRowCount() + FixedRows() : VisibleColCount() + FixedCols();
        int count = vertical ? RowCount() : ColCount();
        return std::max(1, RoundHalfEven(double(shown) / count * (max - min + 1)));
    };
    if (ScrollBars() == ssVertical || ScrollBars() == ssBoth) SetScrollPage(true, page(true));
    if (ScrollBars() == ssHorizontal || ScrollBars() == ssBoth) SetScrollPage(false, page(false));
}

void TVlSortGrid::RowHeightsChanged() {
    StringGrid::RowHeightsChanged();
    Fire(onRowHeightsChanged_, this);
    UpdateScrollBarPages();
}

void TVlSortGrid::ColWidthsChanged() {
    // The corrections below change widths and so come back here.
    if (settlingWidths_) return;
    if (!applying_ && FixedRows() >= 1 && !headerEntries_.empty()) {
        FlagGuard settling(settlingWidths_);
        const int n = std::min(velmora::VisibleHeaderCount(headerEntries_), ColCount());
        for (int i = 0; i < n; ++i) {
            THeaderEntry& entry = EntryOf(headerEntries_[i]);
            const int settled = SettledColumnWidth(ColWidths(i), entry.Width);
            if (settled != ColWidths(i)) SetColWidths(i, settled);
            if (entry.Width >= 0) entry.Width = settled;
        }
    }
    // The scroll range and a shown editor must follow the new widths.
    StringGrid::ColWidthsChanged();
    if (applying_) return;
    Fire(onColumnWidthsChanged_, this);
    UpdateScrollBarPages();
}

void TVlSortGrid::ColumnMoved(int fromIndex, int toIndex) {
    // The sort marker stays on the column it was drawn on.
    if (lastSortCol_ >= 0) lastSortCol_ = MovedIndex(lastSortCol_, fromIndex, toIndex);
    const int entries = int(headerEntries_.size());
    if (fromIndex < entries && toIndex < entries) MoveWithin(headerEntries_, fromIndex, toIndex);
    StringGrid::ColumnMoved(fromIndex, toIndex);
}

void TVlSortGrid::SizeChanged(int oldColCount, int oldRowCount) {
    StringGrid::SizeChanged(oldColCount, oldRowCount);
    Fire(onSizeChanged_, this, oldColCount, oldRowCount);
    UpdateScrollBarPages();
}

void TVlSortGrid::WMSize() {
    StringGrid::WMSize();
    UpdateScrollBarPages();
}

void TVlSortGrid::WMVScroll(TWMScroll& msg) {
    Fire(onWMVScrollEvent_, msg);
    if (msg.Result == 0) StringGrid::WMVScroll(msg);
}

void TVlSortGrid::WMHScroll(TWMScroll& msg) {
    Fire(onWMHScrollEvent_, msg);
    if (msg.Result == 0) StringGrid::WMHScroll(msg);
}

// ---- keys -------------------------------------------------------------------------

void TVlSortGrid::KeyDown(int& key, TShiftState shift) {
    StringGrid::KeyDown(key, shift);
    if (key == 0 || !extendedKeys_ || EditorMode()) return;
    const TShiftState mods = shift & (ssShift | ssCtrl | ssAlt);
    if (mods == ssCtrl) {
        if (key == VK_INSERT) InsertGridRow(Row());
        else if (key == VK_DELETE && RowCount() > FixedRows() + 1) DeleteGridRow(Row());
    } else if (mods == (ssCtrl | ssShift)) {
        if (key == VK_INSERT) InsertGridColumn(Col());
        else if (key == VK_DELETE && ColCount() > FixedCols() + 1) DeleteGridColumn(Col());
    }
}

// ---- header row ----------------------------------------------------------------

void TVlSortGrid::BuildHeaderPopup() {
    headerMenu_.Clear();
    for (int tag : HeaderMenuLayout(headerPopUpSet_, FixedRows()))
        headerMenu_.Add(HeaderMenuCaption(tag), [this, tag] {
            if (tag != kMenuSeparator) HeaderPopupClick(tag);
        });
}

void TVlSortGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbRight || shift != 0 || !HasFocusWithin() || !headerPopUp_ || EditorMode() || FixedRows() < 1) {
        StringGrid::MouseUp(button, shift, x, y);
        return;
    }
    // A release outside the header cells is taken, so OnMouseUp does not fire.
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.Y < 0 || cell.Y >= FixedRows() || cell.X < 0) return;
    const Point screen = ClientToScreen({x, y});
    clickedCol_ = cell.X;
    Fire(onHeaderClick_, this, cell.X, cell.Y, screen.x, screen.y);
    if (headerPopUp_ && headerPopUpSet_ != 0) headerMenu_.Popup(*this, x, y);
}

void TVlSortGrid::HeaderPopupClick(int Tag) {
    switch (Tag) {
    case TagAscending:
    case TagDescending: {
        WaitCursor wait;
        TSortOptions options;
        options.SortKind = skDetect;
        options.Descending = Tag == TagDescending;
        options.CaseSensitive = true;
        SortColumn(clickedCol_, options);
        break;
    }
    case TagMaxColWidth: FitColumnWidth(clickedCol_); break;
    case TagAllMaxColWidth: FitAllColumnWidths(true, 2); break;
    case TagColSearch:
    case TagAllColSearch: {
        lastSearch_ = InputBox("Suchen nach Tabellenwert", "Suchbegriff", lastSearch_, Widget());
        int row = 0, col = 0;
        // Without a clicked column there is no column to search.
        const bool found = (Tag == TagAllColSearch || clickedCol_ >= 0) &&
                           FindCellText(lastSearch_, Tag == TagColSearch ? clickedCol_ : -1, row, col, true);
        if (!found) ShowMessage("Gesuchter Wert nicht gefunden", MsgKind::Plain, Widget());
        break;
    }
    case TagColConfigWin: ShowColumnDialog(); break;
    default: break;
    }
}

TGridDrawState TVlSortGrid::DrawStateOf(int col, int row) {
    TGridDrawState state = 0;
    if (Selection().Contains(col, row)) state |= gdSelected;
    if (HasFocusWithin() && col == Col() && row == Row()) state |= gdFocused;
    if (row < FixedRows() && col < FixedCols()) state |= gdFixed;
    return state;
}

void TVlSortGrid::FitColumnWidth(int Col) {
    if (Col < 0 || Col >= ColCount()) return;
    Canvas& canvas = GridCanvas();
    int widest = 0;
    for (int r = 0; r < RowCount(); ++r) {
        // Each cell is measured in the font it is drawn in.
        canvas.Font() = Font();
        TFormatOptions fo = PresetFormat();
        Fire(onGetCellFormat_, this, Col, r, DrawStateOf(Col, r), fo);
        if (fo.Font && fo.Font != &canvas.Font()) canvas.Font() = *fo.Font;
        const std::string& text = CellText(Col, r);
        if (fo.AlignmentVert != taMultiLine) {
            widest = std::max(widest, canvas.TextWidth(text));
            continue;
        }
        for (const std::string& line : SplitFields(text, '|')) widest = std::max(widest, canvas.TextWidth(line));
    }
    canvas.Font() = Font();
    SetColWidths(Col, widest + canvas.TextWidth("x"));
}

void TVlSortGrid::FitAllColumnWidths(bool IncludeFixed, int Extra) {
    for (int c = IncludeFixed ? 0 : FixedCols(); c < ColCount(); ++c) {
        FitColumnWidth(c);
        if (Extra != 0) SetColWidths(c, ColWidths(c) + Extra);
    }
}

bool TVlSortGrid::FindCellText(const std::string& Text, int Col, int& FoundRow, int& FoundCol, bool Select) {
    try {
        const auto found = FindCell(Text, Col, ColCount(), RowCount(),
                                    [this](int c, int r) -> const std::string& { return CellText(c, r); });
        if (!found) return false;
        FoundRow = found->Row;
        FoundCol = found->Col;
        if (Select) GotoCell(found->Col, found->Row);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TVlSortGrid::AddHeaderEntry(const std::string& Caption, std::uint8_t State, int Width, int UserValue) {
    headerEntries_.push_back({Caption, std::make_shared<THeaderEntry>(THeaderEntry{State, Width, UserValue})});
}

void TVlSortGrid::ClearHeaderEntries() {
    // The header cells must not keep pointers to the freed entries.
    for (const auto& item : headerEntries_)
        for (int c = 0; c < ColCount(); ++c)
            if (item.Entry && Objects(c, 0) == item.Entry.get()) SetObjects(c, 0, nullptr);
    headerEntries_.clear();
}

int TVlSortGrid::VisibleHeaderCount() { return velmora::VisibleHeaderCount(headerEntries_); }

void TVlSortGrid::ApplyHeaderEntries() {
    if (FixedRows() < 1) return;
    const int n = VisibleHeaderCount();
    // A lost entry stops the step before the grid changes.
    for (int i = 0; i < n; ++i) EntryOf(headerEntries_[i]);
    {
        FlagGuard applying(applying_);
        SetColCount(AppliedColumnCount(n, FixedCols()));
        for (int i = 0; i < n; ++i) {
            const THeaderItem& item = headerEntries_[i];
            SetCells(i, 0, item.Caption);
            SetObjects(i, 0, item.Entry.get());
            try {
                const int width = item.Entry->Width;
                if (width != 0) SetColWidths(i, std::abs(width));
                else FitColumnWidth(i);
            } catch (const std::exception&) {
                // A width that cannot be set leaves the column as it was.
            }
        }
    }
    StringGrid::ColWidthsChanged();
    UpdateScrollBarPages();
    Fire(onSetHeaderTab_, this);
    Invalidate();
}

void TVlSortGrid::ShowColumnDialog() {
    if (FixedRows() < 1) return;
    TSortGridForm form;
    form.LoadHeaderList(headerEntries_, onGridHeaderDefault_);
    if (form.ShowModal() == TSortGridForm::mrOk) ApplyHeaderEntries();
}

} // namespace velmora
