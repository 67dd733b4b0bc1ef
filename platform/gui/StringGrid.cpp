#include "platform/gui/StringGrid.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/Guard.h"
#include "platform/gui/StringGridImpl.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {

constexpr TColor kFixedLineColor = clBlack;
constexpr TColor kLineColor = clBtnFace;

int MoveAdjust(int index, int from, int to) {
    if (index == from) return to;
    if (from < to && index > from && index <= to) return index - 1;
    if (from > to && index >= to && index < from) return index + 1;
    return index;
}

// Restores a pointer on every way out of a scope.
struct PointerGuard {
    Canvas*& slot;
    Canvas* saved;
    ~PointerGuard() { slot = saved; }
};

// Rows and columns alike: sizes are the cells' sizes along the axis, line(i)
// the grid line after cell i, extent the view's length.

// The whole cells from first on that fit in the view after the fixed ones.
template <class Line>
int FittingCells(const std::vector<int>& sizes, Line line, int fixed, int first, int count, int extent) {
    int pos = 0, fit = 0;
    for (int i = 0; i < fixed; ++i) pos += sizes[i] + line(i);
    for (int i = first; i < count; ++i) {
        if (pos + sizes[i] > extent) break;
        ++fit;
        pos += sizes[i] + line(i);
    }
    return fit;
}

// The largest first scrolled cell that still fills the view with the last cells.
template <class Line>
int LastFirstCell(const std::vector<int>& sizes, Line line, int fixed, int count, int extent) {
    int avail = extent;
    for (int i = 0; i < fixed; ++i) avail -= sizes[i] + line(i);
    int first = count;
    int used = 0;
    while (first > fixed) {
        int size = sizes[first - 1] + line(first - 1);
        if (used + sizes[first - 1] > avail && first < count) break;
        used += size;
        --first;
    }
    return std::clamp(first, fixed, std::max(fixed, count - 1));
}

// Where a scroll message moves the first scrolled cell of an axis, from
// first; none for a code that does not move it.
template <class Visible, class Last>
std::optional<int> ScrollTarget(const TWMScroll& msg, int first, int fixed, Visible visible, Last last) {
    switch (msg.ScrollCode) {
    case SB_LINEUP: return first - 1;
    case SB_LINEDOWN: return first + 1;
    case SB_PAGEUP: return first - std::max(1, visible());
    case SB_PAGEDOWN: return first + std::max(1, visible());
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return fixed + msg.Pos;
    case SB_TOP: return fixed;
    case SB_BOTTOM: return last();
    default: return std::nullopt;
    }
}

} // namespace

const ClassInfo& StringGrid::StaticClass() {
    static const ClassInfo info("StringGrid", &WidgetControl::StaticClass());
    return info;
}

StringGrid::StringGrid(Component* owner)
    : WidgetControl(owner, NewWidget<Impl::Area>()), impl_(std::make_unique<Impl>(this)) {
    auto* area = static_cast<Impl::Area*>(Widget());
    impl_->area = area;
    area->control = this;
    area->grid = this;
    area->setFocusPolicy(Qt::StrongFocus);
    area->viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    area->viewport()->setMouseTracking(true);
    // After the control base's own filter, so it runs first.
    area->viewport()->installEventFilter(impl_.get());
    measureCanvas_ = std::make_unique<Canvas>();
    measureCanvas_->Font() = font_;
    QLineEdit* editor = impl_->editor = new QLineEdit(area->viewport());
    editor->setFrame(false);
    editor->hide();
    editor->installEventFilter(impl_.get());
    editor->setFont(ToQFont(font_));
    QObject::connect(editor, &QLineEdit::textEdited, impl_.get(),
                     [this](const QString& t) { RunGuarded([&] { EditorTextEdited(t.toStdString()); }); });
    QObject::connect(area->verticalScrollBar(), &QAbstractSlider::actionTriggered, impl_.get(),
                     [this](int action) { RunGuarded([&] { OnScrollAction(true, action); }); });
    QObject::connect(area->horizontalScrollBar(), &QAbstractSlider::actionTriggered, impl_.get(),
                     [this](int action) { RunGuarded([&] { OnScrollAction(false, action); }); });
    ChangeSize(5, 5);
    SetScrollBars(ssBoth);
}

StringGrid::StringGrid(WinControl& parent, const std::string& name) : StringGrid(&parent) { Place(parent, name); }

StringGrid::~StringGrid() {
    // The widget outlives this part of the control; it must not call back.
    if (impl_->area) {
        impl_->area->control = nullptr;
        impl_->area->grid = nullptr;
        impl_->area->viewport()->removeEventFilter(impl_.get());
    }
    if (impl_->editor) impl_->editor->removeEventFilter(impl_.get());
}

// ---- cells ---------------------------------------------------------------

void StringGrid::CheckIndex(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_)
        throw std::out_of_range("Grid index out of range");
}

std::string StringGrid::Cells(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {};
    return rows_[row][col].text;
}

const std::string& StringGrid::CellText(int col, int row) const {
    static const std::string empty;
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return empty;
    return rows_[row][col].text;
}

void StringGrid::SetCells(int col, int row, const std::string& text) {
    CheckIndex(col, row);
    if (rows_[row][col].text == text) return;
    rows_[row][col].text = text;
    InvalidateView();
    // An open editor shows the cell's new text at once; what the user types
    // into it stays while a handler of the typing sets the cell.
    if (!editorTyping_ && editorCell_ == TGridCoord{col, row}) UpdateEditor();
}

void* StringGrid::Objects(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return nullptr;
    return rows_[row][col].object;
}

void StringGrid::SetObjects(int col, int row, void* object) {
    CheckIndex(col, row);
    rows_[row][col].object = object;
}

void StringGrid::PermuteRows(int first, const std::vector<int>& source) {
    const int n = int(source.size());
    if (first < 0 || first + n > rowCount_) throw std::out_of_range("Grid index out of range");
    std::vector<bool> seen(n, false);
    for (int s : source) {
        if (s < first || s >= first + n || seen[s - first])
            throw std::invalid_argument("Row order is not a permutation of the rows");
        seen[s - first] = true;
    }
    std::vector<CellRow> moved(n);
    for (int i = 0; i < n; ++i) moved[i] = std::move(rows_[source[i]]);
    for (int i = 0; i < n; ++i) rows_[first + i] = std::move(moved[i]);
    InvalidateView();
}

// ---- size ----------------------------------------------------------------

void StringGrid::ChangeSize(int newColCount, int newRowCount) {
    int oldCols = colCount_, oldRows = rowCount_;
    colCount_ = newColCount;
    rowCount_ = newRowCount;
    rows_.resize(rowCount_);
    for (auto& r : rows_) r.resize(colCount_);
    colWidths_.resize(colCount_, defaultColWidth_);
    rowHeights_.resize(rowCount_, defaultRowHeight_);
    auto clamp = [&](TGridCoord& c) {
        c.X = std::clamp(c.X, std::min(fixedCols_, colCount_ - 1), colCount_ - 1);
        c.Y = std::clamp(c.Y, std::min(fixedRows_, rowCount_ - 1), rowCount_ - 1);
    };
    clamp(current_);
    clamp(anchor_);
    clamp(topLeft_);
    UpdateScrollRange();
    if (oldCols != 0 || oldRows != 0) SizeChanged(oldCols, oldRows);
    UpdateEditor();
    InvalidateView();
}

void StringGrid::SetColCount(int count) {
    count = std::max(1, count);
    if (count == colCount_) return;
    if (count <= fixedCols_) fixedCols_ = count - 1;
    ChangeSize(count, rowCount_);
}

void StringGrid::SetRowCount(int count) {
    count = std::max(1, count);
    if (count == rowCount_) return;
    if (count <= fixedRows_) fixedRows_ = count - 1;
    ChangeSize(colCount_, count);
}

void StringGrid::SetFixedCols(int count) {
    if (count < 0 || count >= colCount_)
        throw std::invalid_argument("Fixed column count must be less than column count");
    fixedCols_ = count;
    current_.X = std::max(current_.X, count);
    anchor_.X = std::max(anchor_.X, count);
    topLeft_.X = std::max(topLeft_.X, count);
    UpdateScrollRange();
    UpdateEditor();
    InvalidateView();
}

void StringGrid::SetFixedRows(int count) {
    if (count < 0 || count >= rowCount_)
        throw std::invalid_argument("Fixed row count must be less than row count");
    fixedRows_ = count;
    current_.Y = std::max(current_.Y, count);
    anchor_.Y = std::max(anchor_.Y, count);
    topLeft_.Y = std::max(topLeft_.Y, count);
    UpdateScrollRange();
    UpdateEditor();
    InvalidateView();
}

void StringGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = std::max(0, width);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    ColWidthsChanged();
}

void StringGrid::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = std::max(0, height);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    RowHeightsChanged();
}

int StringGrid::ColWidths(int col) const {
    return col >= 0 && col < colCount_ ? colWidths_[col] : defaultColWidth_;
}

void StringGrid::SetColWidths(int col, int width) {
    CheckIndex(col, 0);
    width = std::max(0, width);
    if (colWidths_[col] == width) return;
    colWidths_[col] = width;
    ColWidthsChanged();
}

int StringGrid::RowHeights(int row) const {
    return row >= 0 && row < rowCount_ ? rowHeights_[row] : defaultRowHeight_;
}

void StringGrid::SetRowHeights(int row, int height) {
    CheckIndex(0, row);
    height = std::max(0, height);
    if (rowHeights_[row] == height) return;
    rowHeights_[row] = height;
    RowHeightsChanged();
}

void StringGrid::SetGridLineWidth(int width) {
    gridLineWidth_ = std::max(0, width);
    UpdateScrollRange();
    InvalidateView();
}

void StringGrid::SetOptions(TGridOptions options) {
    if (options & goRowSelect) options &= ~unsigned(goAlwaysShowEditor);
    options_ = options;
    impl_->area->verticalScrollBar()->setTracking(options_ & goThumbTracking);
    impl_->area->horizontalScrollBar()->setTracking(options_ & goThumbTracking);
    if (!(options_ & goEditing) && EditorMode()) HideEditor();
    else if ((options_ & goAlwaysShowEditor) && (options_ & goEditing) && HasFocusWithin()) ShowEditor();
    UpdateScrollRange();
    InvalidateView();
}

void StringGrid::SetScrollBars(TScrollStyle style) {
    scrollBars_ = style;
    bool v = style == ssVertical || style == ssBoth, h = style == ssHorizontal || style == ssBoth;
    impl_->area->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    impl_->area->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    UpdateScrollRange();
}

void StringGrid::SetFont(const TFont& font) {
    font_ = font;
    measureCanvas_->Font() = font_;
    impl_->editor->setFont(ToQFont(font_));
    InvalidateView();
}

Canvas& StringGrid::GridCanvas() { return paintCanvas_ ? *paintCanvas_ : *measureCanvas_; }

// ---- change steps --------------------------------------------------------

void StringGrid::SizeChanged(int, int) {}

void StringGrid::RowHeightsChanged() {
    UpdateScrollRange();
    UpdateEditor();
    InvalidateView();
}

void StringGrid::ColWidthsChanged() {
    UpdateScrollRange();
    UpdateEditor();
    InvalidateView();
}

void StringGrid::TopLeftChanged() { Fire(OnTopLeftChanged, this); }

void StringGrid::WMSize() {
    UpdateScrollRange();
    UpdateEditor();
    InvalidateView();
}

// ---- geometry ------------------------------------------------------------

int StringGrid::ColLine(int col) const {
    return (options_ & (col < fixedCols_ ? goFixedVertLine : goVertLine)) ? gridLineWidth_ : 0;
}

int StringGrid::RowLine(int row) const {
    return (options_ & (row < fixedRows_ ? goFixedHorzLine : goHorzLine)) ? gridLineWidth_ : 0;
}

Rect StringGrid::ViewRect() const {
    const QWidget* view = impl_->area->viewport();
    const QRect g = view->geometry();
    return {g.x(), g.y(), g.x() + view->width(), g.y() + view->height()};
}

int StringGrid::ColX(int col) const {
    if (col < 0 || col >= colCount_) return -1;
    int x = ViewRect().left;
    if (col < fixedCols_) {
        for (int c = 0; c < col; ++c) x += colWidths_[c] + ColLine(c);
        return x;
    }
    if (col < topLeft_.X) return -1;
    for (int c = 0; c < fixedCols_; ++c) x += colWidths_[c] + ColLine(c);
    for (int c = topLeft_.X; c < col; ++c) x += colWidths_[c] + ColLine(c);
    return x;
}

int StringGrid::RowY(int row) const {
    if (row < 0 || row >= rowCount_) return -1;
    int y = ViewRect().top;
    if (row < fixedRows_) {
        for (int r = 0; r < row; ++r) y += rowHeights_[r] + RowLine(r);
        return y;
    }
    if (row < topLeft_.Y) return -1;
    for (int r = 0; r < fixedRows_; ++r) y += rowHeights_[r] + RowLine(r);
    for (int r = topLeft_.Y; r < row; ++r) y += rowHeights_[r] + RowLine(r);
    return y;
}

Rect StringGrid::CellRect(int col, int row) const {
    const Rect view = ViewRect();
    int x = ColX(col), y = RowY(row);
    if (x < 0 || y < 0 || x >= view.right || y >= view.bottom) return {};
    return {x, y, x + colWidths_[col], y + rowHeights_[row]};
}

TGridCoord StringGrid::MouseCoord(int x, int y) const {
    TGridCoord c{-1, -1};
    const Rect view = ViewRect();
    auto find = [](int pos, int p, int fixed, int first, int count, auto size) {
        for (int i = 0; i < fixed; ++i) {
            if (pos >= p && pos < p + size(i)) return i;
            p += size(i);
        }
        for (int i = first; i < count; ++i) {
            if (pos >= p && pos < p + size(i)) return i;
            p += size(i);
        }
        return -1;
    };
    if (x >= view.left && x < view.right)
        c.X = find(x, view.left, fixedCols_, topLeft_.X, colCount_, [&](int i) { return colWidths_[i] + ColLine(i); });
    if (y >= view.top && y < view.bottom)
        c.Y = find(y, view.top, fixedRows_, topLeft_.Y, rowCount_, [&](int i) { return rowHeights_[i] + RowLine(i); });
    return c;
}

int StringGrid::VisibleRowCount() const {
    return FittingCells(rowHeights_, [this](int r) { return RowLine(r); }, fixedRows_, topLeft_.Y, rowCount_,
                        impl_->area->viewport()->height());
}

int StringGrid::VisibleColCount() const {
    return FittingCells(colWidths_, [this](int c) { return ColLine(c); }, fixedCols_, topLeft_.X, colCount_,
                        impl_->area->viewport()->width());
}

int StringGrid::MaxTopRow() const {
    return LastFirstCell(rowHeights_, [this](int r) { return RowLine(r); }, fixedRows_, rowCount_,
                         impl_->area->viewport()->height());
}

int StringGrid::MaxLeftCol() const {
    return LastFirstCell(colWidths_, [this](int c) { return ColLine(c); }, fixedCols_, colCount_,
                         impl_->area->viewport()->width());
}

// ---- scrolling -----------------------------------------------------------

void StringGrid::GetScrollRange(bool vertical, int& min, int& max) const {
    const QScrollBar* bar = vertical ? impl_->area->verticalScrollBar() : impl_->area->horizontalScrollBar();
    min = bar->minimum();
    max = bar->maximum();
}

void StringGrid::SetScrollPage(bool vertical, int page) {
    scrollPage_[vertical ? 1 : 0] = std::max(0, page);
    syncingBars_ = true;
    (vertical ? impl_->area->verticalScrollBar() : impl_->area->horizontalScrollBar())->setPageStep(std::max(0, page));
    syncingBars_ = false;
}

void StringGrid::UpdateScrollRange() {
    if (rowCount_ == 0 || colCount_ == 0) return;
    int maxTop = MaxTopRow(), maxLeft = MaxLeftCol();
    if (topLeft_.Y > maxTop) topLeft_.Y = maxTop;
    if (topLeft_.X > maxLeft) topLeft_.X = maxLeft;
    syncingBars_ = true;
    QScrollBar* v = impl_->area->verticalScrollBar();
    v->setRange(0, maxTop - fixedRows_);
    v->setSingleStep(1);
    v->setPageStep(scrollPage_[1]);
    v->setValue(topLeft_.Y - fixedRows_);
    QScrollBar* h = impl_->area->horizontalScrollBar();
    h->setRange(0, maxLeft - fixedCols_);
    h->setSingleStep(1);
    h->setPageStep(scrollPage_[0]);
    h->setValue(topLeft_.X - fixedCols_);
    syncingBars_ = false;
}

void StringGrid::OnScrollAction(bool vertical, int action) {
    QScrollBar* bar = vertical ? impl_->area->verticalScrollBar() : impl_->area->horizontalScrollBar();
    TWMScroll msg;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: msg.ScrollCode = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: msg.ScrollCode = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: msg.ScrollCode = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: msg.ScrollCode = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: msg.ScrollCode = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: msg.ScrollCode = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove:
        msg.ScrollCode = bar->isSliderDown() ? SB_THUMBTRACK : SB_THUMBPOSITION;
        break;
    default: return;
    }
    msg.Pos = bar->sliderPosition();
    if (vertical) WMVScroll(msg);
    else WMHScroll(msg);
    // The bar shows where the grid is, whether or not it scrolled.
    bar->setSliderPosition(vertical ? topLeft_.Y - fixedRows_ : topLeft_.X - fixedCols_);
}

void StringGrid::WMVScroll(TWMScroll& msg) {
    if (auto top = ScrollTarget(msg, topLeft_.Y, fixedRows_, [this] { return VisibleRowCount(); },
                                [this] { return MaxTopRow(); }))
        SetTopRow(*top);
}

void StringGrid::WMHScroll(TWMScroll& msg) {
    if (auto left = ScrollTarget(msg, topLeft_.X, fixedCols_, [this] { return VisibleColCount(); },
                                 [this] { return MaxLeftCol(); }))
        SetLeftCol(*left);
}

void StringGrid::SetTopRow(int row) {
    row = std::clamp(row, fixedRows_, MaxTopRow());
    if (row == topLeft_.Y) return;
    topLeft_.Y = row;
    UpdateScrollRange();
    UpdateEditor();
    TopLeftChanged();
    InvalidateView();
}

void StringGrid::SetLeftCol(int col) {
    col = std::clamp(col, fixedCols_, MaxLeftCol());
    if (col == topLeft_.X) return;
    topLeft_.X = col;
    UpdateScrollRange();
    UpdateEditor();
    TopLeftChanged();
    InvalidateView();
}

void StringGrid::ScrollIntoView(int col, int row) {
    if (row >= fixedRows_ && row < rowCount_) {
        if (row < topLeft_.Y) {
            SetTopRow(row);
        } else {
            int avail = impl_->area->viewport()->height();
            for (int r = 0; r < fixedRows_; ++r) avail -= rowHeights_[r] + RowLine(r);
            int top = row, used = rowHeights_[row];
            while (top > topLeft_.Y && used + RowLine(top - 1) + rowHeights_[top - 1] <= avail) {
                used += RowLine(top - 1) + rowHeights_[top - 1];
                --top;
            }
            if (top > topLeft_.Y) SetTopRow(top);
        }
    }
    if (col >= fixedCols_ && col < colCount_) {
        if (col < topLeft_.X) {
            SetLeftCol(col);
        } else {
            int avail = impl_->area->viewport()->width();
            for (int c = 0; c < fixedCols_; ++c) avail -= colWidths_[c] + ColLine(c);
            int left = col, used = colWidths_[col];
            while (left > topLeft_.X && used + ColLine(left - 1) + colWidths_[left - 1] <= avail) {
                used += ColLine(left - 1) + colWidths_[left - 1];
                --left;
            }
            if (left > topLeft_.X) SetLeftCol(left);
        }
    }
}

bool StringGrid::MouseWheel(int delta, TShiftState) {
    int notches = delta / 120;
    if (notches == 0) notches = delta > 0 ? 1 : delta < 0 ? -1 : 0;
    for (int i = 0; i < std::abs(notches) * 3; ++i) {
        TWMScroll msg;
        msg.ScrollCode = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
        WMVScroll(msg);
    }
    return true;
}

// ---- current cell and selection ----------------------------------------

bool StringGrid::SelectCell(int col, int row) {
    bool can = true;
    Fire(OnSelectCell, this, col, row, can);
    return can;
}

bool StringGrid::FocusCell(int col, int row, bool moveAnchor) {
    if (col < fixedCols_ || col >= colCount_ || row < fixedRows_ || row >= rowCount_) return false;
    if (!SelectCell(col, row)) return false;
    bool always = (options_ & goAlwaysShowEditor) && (options_ & goEditing);
    if (EditorMode() && !always && TGridCoord{col, row} != current_) HideEditor();
    current_ = {col, row};
    if (moveAnchor || !(options_ & goRangeSelect)) anchor_ = current_;
    ScrollIntoView(col, row);
    if (always && HasFocusWithin()) ShowEditor();
    else UpdateEditor();
    InvalidateView();
    return true;
}

void StringGrid::SetCol(int col) { FocusCell(col, current_.Y, true); }
void StringGrid::SetRow(int row) { FocusCell(current_.X, row, true); }

void StringGrid::MoveCurrent(int col, int row, bool extend) {
    col = std::clamp(col, fixedCols_, colCount_ - 1);
    row = std::clamp(row, fixedRows_, rowCount_ - 1);
    FocusCell(col, row, !(extend && (options_ & goRangeSelect)));
}

TGridRect StringGrid::Selection() const {
    if (options_ & goRowSelect)
        return {fixedCols_, std::min(anchor_.Y, current_.Y), colCount_ - 1, std::max(anchor_.Y, current_.Y)};
    return {std::min(anchor_.X, current_.X), std::min(anchor_.Y, current_.Y), std::max(anchor_.X, current_.X),
            std::max(anchor_.Y, current_.Y)};
}

void StringGrid::SetSelection(const TGridRect& rect) {
    if (!FocusCell(rect.Right, rect.Bottom, true)) return;
    anchor_ = {std::clamp(rect.Left, fixedCols_, colCount_ - 1), std::clamp(rect.Top, fixedRows_, rowCount_ - 1)};
    InvalidateView();
}

// ---- moves -----------------------------------------------------------------

template <class V>
void StringGrid::MoveItem(V& v, int from, int to) {
    auto item = std::move(v[from]);
    if (from < to) std::move(v.begin() + from + 1, v.begin() + to + 1, v.begin() + from);
    else std::move_backward(v.begin() + to, v.begin() + from, v.begin() + from + 1);
    v[to] = std::move(item);
}

void StringGrid::MoveRow(int fromIndex, int toIndex) {
    CheckIndex(0, fromIndex);
    CheckIndex(0, toIndex);
    if (fromIndex == toIndex) return;
    MoveItem(rowHeights_, fromIndex, toIndex);
    current_.Y = std::max(fixedRows_, MoveAdjust(current_.Y, fromIndex, toIndex));
    anchor_.Y = std::max(fixedRows_, MoveAdjust(anchor_.Y, fromIndex, toIndex));
    RowMoved(fromIndex, toIndex);
    UpdateScrollRange();
    UpdateEditor();
    InvalidateView();
}

void StringGrid::MoveColumn(int fromIndex, int toIndex) {
    CheckIndex(fromIndex, 0);
    CheckIndex(toIndex, 0);
    if (fromIndex == toIndex) return;
    MoveItem(colWidths_, fromIndex, toIndex);
    current_.X = std::max(fixedCols_, MoveAdjust(current_.X, fromIndex, toIndex));
    anchor_.X = std::max(fixedCols_, MoveAdjust(anchor_.X, fromIndex, toIndex));
    ColumnMoved(fromIndex, toIndex);
    UpdateScrollRange();
    UpdateEditor();
    InvalidateView();
}

void StringGrid::RowMoved(int fromIndex, int toIndex) {
    MoveItem(rows_, fromIndex, toIndex);
    Fire(OnRowMoved, this, fromIndex, toIndex);
}

void StringGrid::ColumnMoved(int fromIndex, int toIndex) {
    for (auto& r : rows_) MoveItem(r, fromIndex, toIndex);
    Fire(OnColumnMoved, this, fromIndex, toIndex);
}

void StringGrid::DeleteRow(int row) {
    CheckIndex(0, row);
    MoveRow(row, rowCount_ - 1);
    SetRowCount(rowCount_ - 1);
}

void StringGrid::DeleteColumn(int col) {
    CheckIndex(col, 0);
    MoveColumn(col, colCount_ - 1);
    SetColCount(colCount_ - 1);
}

// ---- painting --------------------------------------------------------------

void StringGrid::InvalidateView() {
    if (impl_ && impl_->area) impl_->area->viewport()->update();
}

void StringGrid::Paint(Canvas& canvas) { PaintGrid(canvas); }

void StringGrid::DrawCell(int col, int row, const Rect& rect, TGridDrawState state) {
    if (defaultDrawing_) GridCanvas().TextRect(rect, rect.left + 2, rect.top + 2, Cells(col, row));
    Fire(OnDrawCell, this, col, row, rect, state);
}

void StringGrid::PaintGrid(Canvas& canvas) {
    PointerGuard guard{paintCanvas_, paintCanvas_};
    paintCanvas_ = &canvas;
    const Rect view = ViewRect();
    const int width = view.right, height = view.bottom;
    canvas.Brush() = {color_, BrushStyle::Solid};
    canvas.FillRect(view);

    std::vector<int> cols, rows;
    for (int c = 0; c < fixedCols_; ++c) cols.push_back(c);
    for (int c = topLeft_.X; c < colCount_ && (cols.empty() || ColX(c) < width); ++c) cols.push_back(c);
    for (int r = 0; r < fixedRows_; ++r) rows.push_back(r);
    for (int r = topLeft_.Y; r < rowCount_ && (rows.empty() || RowY(r) < height); ++r) rows.push_back(r);

    const TGridRect sel = Selection();
    const bool focused = HasFocusWithin();
    for (int row : rows) {
        int y = RowY(row);
        if (y < 0 || y >= height) continue;
        for (int col : cols) {
            int x = ColX(col);
            if (x < 0 || x >= width) continue;
            Rect rect{x, y, x + colWidths_[col], y + rowHeights_[row]};
            bool fixed = col < fixedCols_ || row < fixedRows_;
            TGridDrawState state = 0;
            if (fixed) state |= gdFixed;
            if (!fixed && focused && col == current_.X && row == current_.Y) state |= gdFocused;
            if (!fixed && sel.Contains(col, row)) state |= gdSelected;

            canvas.ClearClipRect();
            canvas.Pen() = TPen{};
            canvas.Font() = font_;
            canvas.Brush() = {color_, BrushStyle::Solid};
            if (fixed) {
                canvas.Brush().Color = fixedColor_;
            } else if ((state & gdSelected) &&
                       (!(state & gdFocused) || (options_ & (goDrawFocusSelected | goRowSelect)))) {
                canvas.Brush().Color = clHighlight;
                canvas.Font().Color = clHighlightText;
            }
            DrawCell(col, row, rect, state);

            if (defaultDrawing_ && fixed && (options_ & goFixedVertLine) && (options_ & goFixedHorzLine)) {
                TBrush light{clBtnHighlight, BrushStyle::Solid}, dark{clBtnShadow, BrushStyle::Solid};
                canvas.Brush() = light;
                canvas.FillRect({rect.left, rect.top, rect.right - 1, rect.top + 1});
                canvas.FillRect({rect.left, rect.top, rect.left + 1, rect.bottom - 1});
                canvas.Brush() = dark;
                canvas.FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom});
                canvas.FillRect({rect.right - 1, rect.top, rect.right, rect.bottom});
            }
            if (defaultDrawing_ && (state & gdFocused) && !EditorMode() && !(options_ & goRowSelect)) {
                canvas.Pen() = {clWindowText, 1, PenStyle::Dot};
                canvas.Brush().Style = BrushStyle::Clear;
                canvas.Rectangle(rect);
            }

            // The grid lines in the gaps right of and below the cell.
            int vLine = ColLine(col), hLine = RowLine(row);
            bool vOn = options_ & (fixed ? goFixedVertLine : goVertLine);
            bool hOn = options_ & (fixed ? goFixedHorzLine : goHorzLine);
            canvas.Brush() = {fixed ? kFixedLineColor : kLineColor, BrushStyle::Solid};
            if (vLine > 0 && vOn) canvas.FillRect({rect.right, rect.top, rect.right + vLine, rect.bottom + hLine});
            if (hLine > 0 && hOn) canvas.FillRect({rect.left, rect.bottom, rect.right + vLine, rect.bottom + hLine});
        }
    }
    canvas.ClearClipRect();
}

} // namespace wb::gui
