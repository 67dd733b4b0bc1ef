#include "platform/gui/StringGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

#include "platform/gui/Guard.h"
#include "platform/gui/StringGridImpl.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
constexpr int kSizingMargin = 3;
} // namespace

// ---- in-place editor -----------------------------------------------------

bool StringGrid::EditorMode() const { return impl_->editor && !impl_->editor->isHidden(); }

void StringGrid::SetEditorMode(bool on) {
    if (on) ShowEditor();
    else if (!(options_ & goAlwaysShowEditor)) HideEditor();
}

std::string StringGrid::GetEditText(int col, int row) {
    std::string value = Cells(col, row);
    Fire(OnGetEditText, this, col, row, value);
    return value;
}

void StringGrid::SetEditText(int col, int row, const std::string& value) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return;
    rows_[row][col].text = value;
    InvalidateView();
    Fire(OnSetEditText, this, col, row, value);
}

namespace {
// The editor lives on the view; cell rectangles are in control coordinates.
void PlaceEditor(QLineEdit* editor, const Rect& r) {
    const QPoint origin = editor->parentWidget()->geometry().topLeft();
    editor->setGeometry(r.left - origin.x(), r.top - origin.y(), r.Width(), r.Height());
}
} // namespace

void StringGrid::LoadEditor(const std::string* typed) {
    editorCell_ = current_;
    editorOriginal_ = Cells(current_.X, current_.Y);
    editorCellText_ = editorOriginal_;
    std::string text = typed ? *typed : GetEditText(current_.X, current_.Y);
    impl_->editor->setText(QString::fromStdString(text));
}

void StringGrid::ShowEditor(const std::string* typed) {
    if (!(options_ & goEditing) || current_.X < fixedCols_ || current_.Y < fixedRows_) return;
    if (!EditorMode() || typed || editorCell_ != current_) LoadEditor(typed);
    PlaceEditor(impl_->editor, CellRect(current_.X, current_.Y));
    impl_->editor->show();
    if (impl_->area->isVisible()) impl_->editor->setFocus();
    if (typed) EditorTextEdited(*typed);
}

void StringGrid::HideEditor() {
    if (!EditorMode()) return;
    bool hadKeys = impl_->editor->hasFocus();
    impl_->editor->hide();
    if (hadKeys) impl_->area->setFocus();
    InvalidateView();
}

void StringGrid::UpdateEditor() {
    if (!impl_ || !EditorMode()) return;
    // Another cell, or this one changed by other means: show what it holds now.
    if (editorCell_ != current_ || Cells(current_.X, current_.Y) != editorCellText_) LoadEditor(nullptr);
    Rect r = CellRect(current_.X, current_.Y);
    if (r.IsEmpty()) {
        impl_->editor->setGeometry(-100, -100, 10, 10);
        return;
    }
    PlaceEditor(impl_->editor, r);
}

void StringGrid::EditorTextEdited(const std::string& text) {
    editorTyping_ = true;
    struct Typing {
        bool& flag;
        ~Typing() { flag = false; }
    } typing{editorTyping_};
    SetEditText(current_.X, current_.Y, text);
    editorCellText_ = Cells(current_.X, current_.Y);
}

// ---- keys, mouse, focus -----------------------------------------------------

void StringGrid::KeyDown(int& key, TShiftState shift) {
    Fire(OnKeyDown, this, key, shift);
    if (key == 0) return;
    bool extend = shift & ssShift;
    bool ctrl = shift & ssCtrl;
    int col = current_.X, row = current_.Y;
    switch (key) {
    case VK_UP: MoveCurrent(col, row - 1, extend); break;
    case VK_DOWN: MoveCurrent(col, row + 1, extend); break;
    case VK_LEFT: MoveCurrent(col - 1, row, extend); break;
    case VK_RIGHT: MoveCurrent(col + 1, row, extend); break;
    case VK_PRIOR: MoveCurrent(col, row - std::max(1, VisibleRowCount()), extend); break;
    case VK_NEXT: MoveCurrent(col, row + std::max(1, VisibleRowCount()), extend); break;
    case VK_HOME: MoveCurrent(fixedCols_, ctrl ? fixedRows_ : row, extend); break;
    case VK_END: MoveCurrent(colCount_ - 1, ctrl ? rowCount_ - 1 : row, extend); break;
    case VK_TAB:
        if (options_ & goTabs) {
            if (extend) {
                if (col > fixedCols_) MoveCurrent(col - 1, row, false);
                else if (row > fixedRows_) MoveCurrent(colCount_ - 1, row - 1, false);
            } else {
                if (col < colCount_ - 1) MoveCurrent(col + 1, row, false);
                else if (row < rowCount_ - 1) MoveCurrent(fixedCols_, row + 1, false);
            }
            // The key moved the cell; it must not move the focus too.
            key = 0;
        }
        break;
    case VK_F2:
        if (options_ & goEditing) ShowEditor();
        break;
    case VK_RETURN:
        if (options_ & goEditing) {
            if (EditorMode() && !(options_ & goAlwaysShowEditor)) HideEditor();
            else ShowEditor();
        }
        break;
    case VK_ESCAPE:
        if (EditorMode()) {
            if (Cells(col, row) != editorOriginal_) SetEditText(col, row, editorOriginal_);
            impl_->editor->setText(QString::fromStdString(editorOriginal_));
            editorCellText_ = editorOriginal_;
            if (!(options_ & goAlwaysShowEditor)) HideEditor();
        }
        break;
    default: break;
    }
}

void StringGrid::Typed(const std::string& text) {
    if ((options_ & goEditing) && !EditorMode()) ShowEditor(&text);
}

int StringGrid::SizingBorder(int x, int y, bool& isColumn) const {
    TGridCoord c = MouseCoord(x, y);
    // The line whose far edge lies within the margin of `at`, or -1.
    auto edgeNear = [](int count, auto start, const std::vector<int>& sizes, int at) {
        for (int i = 0; i < count; ++i) {
            const int from = start(i);
            if (from >= 0 && std::abs(at - (from + sizes[i])) <= kSizingMargin) return i;
        }
        return -1;
    };
    if ((options_ & goColSizing) && c.Y >= 0 && c.Y < fixedRows_) {
        const int col = edgeNear(colCount_, [this](int i) { return ColX(i); }, colWidths_, x);
        if (col >= 0) { isColumn = true; return col; }
    }
    if ((options_ & goRowSizing) && c.X >= 0 && c.X < fixedCols_) {
        const int row = edgeNear(rowCount_, [this](int i) { return RowY(i); }, rowHeights_, y);
        if (row >= 0) { isColumn = false; return row; }
    }
    return -1;
}

void StringGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    // The second press of a double click is the double click's.
    if (shift & ssDouble) return;
    Fire(OnMouseDown, this, button, shift, x, y);
}

void StringGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Fire(OnMouseUp, this, button, shift, x, y);
}

void StringGrid::Click() { Fire(OnClick, this); }

void StringGrid::DblClick() {
    const TGridCoord c = doubleClicked_;
    doubleClicked_ = {-1, -1};
    Fire(OnDblClick, this);
    if (c.X >= fixedCols_ && c.Y >= fixedRows_ && c == current_ && (options_ & goEditing)) ShowEditor();
}

void StringGrid::Pressed(TMouseButton button, TShiftState shift, int x, int y) {
    if (!impl_->area->hasFocus() && !impl_->editor->hasFocus()) impl_->area->setFocus(Qt::MouseFocusReason);
    drag_ = Drag::None;
    if (button != mbLeft) return;
    bool isColumn = false;
    int border = SizingBorder(x, y, isColumn);
    TGridCoord c = MouseCoord(x, y);
    if (border >= 0) {
        drag_ = isColumn ? Drag::SizeCol : Drag::SizeRow;
        dragIndex_ = border;
        dragStart_ = isColumn ? x : y;
        dragOrigin_ = isColumn ? colWidths_[border] : rowHeights_[border];
    } else if ((options_ & goColMoving) && c.Y >= 0 && c.Y < fixedRows_ && c.X >= fixedCols_) {
        drag_ = Drag::MoveCol;
        dragIndex_ = c.X;
    } else if ((options_ & goRowMoving) && c.X >= 0 && c.X < fixedCols_ && c.Y >= fixedRows_) {
        drag_ = Drag::MoveRow;
        dragIndex_ = c.Y;
    } else if (c.X >= fixedCols_ && c.Y >= fixedRows_) {
        MoveCurrent(c.X, c.Y, shift & ssShift);
        drag_ = Drag::Select;
        Click();
    }
}

void StringGrid::MouseMove(TShiftState shift, int x, int y) {
    switch (drag_) {
    case Drag::SizeCol:
        colWidths_[dragIndex_] = std::max(0, dragOrigin_ + x - dragStart_);
        InvalidateView();
        break;
    case Drag::SizeRow:
        rowHeights_[dragIndex_] = std::max(0, dragOrigin_ + y - dragStart_);
        InvalidateView();
        break;
    case Drag::Select: {
        TGridCoord c = MouseCoord(x, y);
        if ((options_ & goRangeSelect) && c.X >= fixedCols_ && c.Y >= fixedRows_ && c != current_)
            FocusCell(c.X, c.Y, false);
        break;
    }
    default: {
        bool isColumn = false;
        int border = SizingBorder(x, y, isColumn);
        impl_->area->viewport()->setCursor(border < 0 ? Qt::ArrowCursor
                                           : isColumn ? Qt::SplitHCursor
                                                      : Qt::SplitVCursor);
        break;
    }
    }
    Fire(OnMouseMove, this, shift, x, y);
}

void StringGrid::Released(int x, int y) {
    Drag drag = drag_;
    drag_ = Drag::None;
    TGridCoord c = MouseCoord(x, y);
    if (drag == Drag::SizeCol) ColWidthsChanged();
    else if (drag == Drag::SizeRow) RowHeightsChanged();
    else if (drag == Drag::MoveCol && c.X >= fixedCols_ && c.X != dragIndex_) MoveColumn(dragIndex_, c.X);
    else if (drag == Drag::MoveRow && c.Y >= fixedRows_ && c.Y != dragIndex_) MoveRow(dragIndex_, c.Y);
}

bool StringGrid::HasFocusWithin() const { return hadFocus_; }

void StringGrid::DoEnter() {
    hadFocus_ = true;
    Fire(OnEnter, this);
    if ((options_ & goAlwaysShowEditor) && (options_ & goEditing)) ShowEditor();
    InvalidateView();
}

void StringGrid::DoExit() {
    hadFocus_ = false;
    Fire(OnExit, this);
    if (!(options_ & goAlwaysShowEditor)) HideEditor();
    InvalidateView();
}

} // namespace wb::gui
