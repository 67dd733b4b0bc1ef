#include "platform/gui/ListBox.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {

constexpr const char* kDragFormat = "application/x-wb-list-drag";

TColor ColorOf(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }

// As the canvas takes a widget's font: pixel sizes at 96 pixels per inch.
TFont FontOfWidget(const QFont& f) {
    TFont t;
    t.Name = f.family().toStdString();
    int px = f.pixelSize();
    if (px <= 0) px = qRound(f.pointSizeF() * 96.0 / 72.0);
    t.Height = -std::max(1, px);
    t.Style = (f.bold() ? unsigned(fsBold) : 0u) | (f.italic() ? unsigned(fsItalic) : 0u) |
              (f.underline() ? unsigned(fsUnderline) : 0u) | (f.strikeOut() ? unsigned(fsStrikeOut) : 0u);
    return t;
}

} // namespace

class ListBoxWidget : public ControlScrollWidget<QListWidget> {
public:
    // The items go with the Qt parts below; the control hears nothing of that.
    ~ListBoxWidget() override {
        control = nullptr;
        disconnect();
    }

    ListBox* List() const { return static_cast<ListBox*>(control); }
    QPoint ViewportOffset() const { return viewport()->mapTo(this, QPoint(0, 0)); }
    QPoint ToControl(QPointF viewportPos) const { return viewportPos.toPoint() + ViewportOffset(); }

    bool Live() const { return control && !control->Destroying(); }
    // Qt's signals reach the control only while both live.
    void Connect(ListBox* list) {
        connect(this, &QListWidget::currentRowChanged, this, [this] {
            if (Live()) RunGuarded([this] { List()->CurrentChanged(); });
        });
        connect(this, &QAbstractItemView::clicked, this, [this] {
            if (Live()) RunGuarded([this] { List()->Click(); });
        });
        control = list;
    }

protected:
    bool event(QEvent* e) override {
        const bool handled = ControlScrollWidget::event(e);
        if (e->type() == QEvent::Show && Live()) RunGuarded([this] { List()->Shown(); });
        return handled;
    }
    void changeEvent(QEvent* e) override {
        ControlScrollWidget::changeEvent(e);
        if (e->type() == QEvent::FontChange && Live()) RunGuarded([this] { List()->FontChanged(); });
    }

    // A list on screen scrolls to its current item once the changes of one
    // turn of the event loop are done: a program that selects many items in
    // a row would otherwise move the view's pixels for each of them.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        const bool scroll = hasAutoScroll() && isVisible();  // a hidden list scrolls when shown
        if (!scroll) return ControlScrollWidget::currentChanged(current, previous);
        setAutoScroll(false);
        ControlScrollWidget::currentChanged(current, previous);
        setAutoScroll(true);
        if (!current.isValid() || scrollPosted_) return;
        scrollPosted_ = true;
        QMetaObject::invokeMethod(this, [this] {
            scrollPosted_ = false;
            if (currentIndex().isValid()) scrollTo(currentIndex());
        }, Qt::QueuedConnection);
    }

    // A double click whose handler filled the list again refers to items
    // that are gone; the list must not take it as a press on the new ones.
    void mousePressEvent(QMouseEvent* e) override {
        pressed_ = indexAt(e->position().toPoint());
        pressedItem_ = pressed_.isValid();
        ControlScrollWidget::mousePressEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (pressedItem_ && !pressed_.isValid()) return e->accept();
        ControlScrollWidget::mouseDoubleClickEvent(e);
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        if (Live() && List()->dragArmed_ && (e->buttons() & Qt::LeftButton)) {
            const QPoint p = ToControl(e->position());
            const Point from = List()->press_;
            if ((p - QPoint(from.x, from.y)).manhattanLength() >= QApplication::startDragDistance()) {
                RunGuarded([this] { List()->StartDrag(); });
                return;
            }
        }
        ControlScrollWidget::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (Live()) List()->dragArmed_ = false;
        ControlScrollWidget::mouseReleaseEvent(e);
    }

    void dragEnterEvent(QDragEnterEvent* e) override { DragOver(e); }
    void dragMoveEvent(QDragMoveEvent* e) override { DragOver(e); }
    void dragLeaveEvent(QDragLeaveEvent* e) override { e->accept(); }
    void dropEvent(QDropEvent* e) override {
        if (!Live()) return e->ignore();
        WidgetControl* source = WidgetControl::ControlOf(qobject_cast<QWidget*>(e->source()));
        const QPoint at = ToControl(e->position());
        e->acceptProposedAction();
        RunGuarded([&] { List()->DragDrop(source, at.x(), at.y()); });
    }

private:
    void DragOver(QDragMoveEvent* e) {
        bool accept = false;
        if (Live()) {
            WidgetControl* source = WidgetControl::ControlOf(qobject_cast<QWidget*>(e->source()));
            const QPoint at = ToControl(e->position());
            RunGuarded([&] { List()->DragOver(source, at.x(), at.y(), accept); });
        }
        if (accept) e->acceptProposedAction();
        else e->ignore();
    }

    bool scrollPosted_ = false;
    QPersistentModelIndex pressed_;
    bool pressedItem_ = false;
};

// Item heights and owner drawing; the style draws what the list leaves to it.
class ListBoxDelegate : public QStyledItemDelegate {
public:
    ListBoxDelegate(ListBox* list, QObject* parent) : QStyledItemDelegate(parent), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (list_->itemHeight_ <= 0) return QStyledItemDelegate::sizeHint(option, index);
        return {option.rect.width() > 0 ? option.rect.width() : 100, list_->itemHeight_};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (list_->style_ != ListBox::Style::OwnerDrawFixed)
            return QStyledItemDelegate::paint(painter, option, index);
        auto* view = static_cast<ListBoxWidget*>(list_->Widget());
        if (!view || !view->Live()) return;
        const QPoint off = view->ViewportOffset();
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = view->palette();
        painter->save();
        painter->translate(-off.x(), -off.y());
        {
            Canvas canvas(*painter);
            canvas.Font() = FontOfWidget(view->font());
            canvas.Font().Color = ColorOf(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
            canvas.Brush() = {ColorOf(pal.color(selected ? QPalette::Highlight : QPalette::Base)), BrushStyle::Solid};
            const QRect r = option.rect.translated(off);
            const Rect rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
            RunGuarded([&] { list_->DrawItem(canvas, index.row(), rect, selected); });
        }
        painter->restore();
    }

private:
    ListBox* list_;
};

namespace {

ListBoxWidget* View(const ListBox* c) { return static_cast<ListBoxWidget*>(c->Widget()); }

QListWidgetItem* ItemOf(const ListBox* c, int index) {
    return index >= 0 && index < c->Count() ? View(c)->item(index) : nullptr;
}

} // namespace

const ClassInfo& ListBox::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("ListBox", &WidgetControl::StaticClass());
        i.Integer<ListBox, int>("ItemIndex", &ListBox::ItemIndex, &ListBox::SetItemIndex);
        return i;
    }();
    return info;
}

ListBox::ListBox(Component* owner) : WidgetControl(owner, NewWidget<ListBoxWidget>()) {
    ListBoxWidget* view = View(this);
    view->Connect(this);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setSortingEnabled(false);
    // Moves without a button reach MouseMove, as on every control.
    view->setMouseTracking(true);
    view->viewport()->setAcceptDrops(true);
    view->setItemDelegate(new ListBoxDelegate(this, view));
}

ListBox::ListBox(WinControl& parent, const std::string& name) : ListBox(&parent) { Place(parent, name); }

int ListBox::Count() const { return View(this)->count(); }

int ListBox::AddItem(const std::string& text, const Icon& icon, const std::string& data) {
    auto* item = new QListWidgetItem(Q(text));
    if (!icon.IsNull()) item->setIcon(IconAccess::ToQIcon(icon));
    if (!data.empty()) item->setData(Qt::UserRole, Q(data));
    View(this)->addItem(item);
    return Count() - 1;
}

void ListBox::Clear() { View(this)->clear(); }

std::string ListBox::ItemText(int index) const {
    QListWidgetItem* item = ItemOf(this, index);
    return item ? item->text().toStdString() : std::string();
}

void ListBox::SetItemText(int index, const std::string& text) {
    if (QListWidgetItem* item = ItemOf(this, index)) item->setText(Q(text));
}

Icon ListBox::ItemIcon(int index) const {
    QListWidgetItem* item = ItemOf(this, index);
    return item ? IconAccess::FromQIcon(item->icon()) : Icon();
}

void ListBox::SetItemIcon(int index, const Icon& icon) {
    if (QListWidgetItem* item = ItemOf(this, index)) item->setIcon(IconAccess::ToQIcon(icon));
}

std::string ListBox::ItemData(int index) const {
    QListWidgetItem* item = ItemOf(this, index);
    return item ? item->data(Qt::UserRole).toString().toStdString() : std::string();
}

void ListBox::SetItemData(int index, const std::string& data) {
    if (QListWidgetItem* item = ItemOf(this, index)) item->setData(Qt::UserRole, Q(data));
}

std::vector<std::string> ListBox::Items() const {
    std::vector<std::string> out;
    out.reserve(size_t(Count()));
    for (int i = 0; i < Count(); ++i) out.push_back(View(this)->item(i)->text().toStdString());
    return out;
}

void ListBox::SetItems(const std::vector<std::string>& texts) {
    BeginUpdate();
    Clear();
    // One insertion for all: the view lays out and signals once, not per item.
    QStringList list;
    list.reserve(qsizetype(texts.size()));
    for (const std::string& t : texts) list.append(Q(t));
    View(this)->addItems(list);
    EndUpdate();
}

int ListBox::IndexOf(const std::string& text) const {
    const QString q = Q(text);
    for (int i = 0; i < Count(); ++i)
        if (View(this)->item(i)->text() == q) return i;
    return -1;
}

int ListBox::ItemIndex() const { return View(this)->currentRow(); }

void ListBox::SetItemIndex(int index) {
    ListBoxWidget* view = View(this);
    if (index < 0 || index >= Count()) {
        view->setCurrentRow(-1);
        view->clearSelection();
        return;
    }
    view->setCurrentRow(index);
}

bool ListBox::Selected(int index) const {
    QListWidgetItem* item = ItemOf(this, index);
    return item && item->isSelected();
}

void ListBox::SetSelectionMode(SelectionMode mode) {
    View(this)->setSelectionMode(mode == SelectionMode::Multiple   ? QAbstractItemView::MultiSelection
                                 : mode == SelectionMode::Extended ? QAbstractItemView::ExtendedSelection
                                                                   : QAbstractItemView::SingleSelection);
}

// The list scrolls by whole items, so the scroll bar counts items.
int ListBox::TopIndex() const { return View(this)->verticalScrollBar()->value(); }
void ListBox::SetTopIndex(int index) { View(this)->verticalScrollBar()->setValue(index); }

int ListBox::ItemHeight() const {
    if (itemHeight_ > 0) return itemHeight_;
    if (Count() > 0) return View(this)->sizeHintForRow(0);
    return View(this)->fontMetrics().height();
}

void ListBox::SetItemHeight(int height) {
    itemHeight_ = std::max(0, height);
    View(this)->setUniformItemSizes(itemHeight_ > 0);
    View(this)->doItemsLayout();
}

Rect ListBox::ItemRect(int index) const {
    QListWidgetItem* item = ItemOf(this, index);
    if (!item) return {};
    const QRect r = View(this)->visualItemRect(item).translated(View(this)->ViewportOffset());
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

int ListBox::ItemAtPos(int x, int y) const {
    const QPoint p = QPoint(x, y) - View(this)->ViewportOffset();
    if (!View(this)->viewport()->rect().contains(p)) return -1;
    QListWidgetItem* item = View(this)->itemAt(p);
    return item ? View(this)->row(item) : -1;
}

Rect ListBox::ClientRect() const {
    const QRect r = View(this)->viewport()->geometry();
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

void ListBox::SetStyle(Style style) {
    style_ = style;
    View(this)->viewport()->update();
}

void ListBox::SetEdge(Edge edge) {
    ListBoxWidget* view = View(this);
    switch (edge) {
        case Edge::Sunken:
            view->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            view->setLineWidth(2);
            break;
        case Edge::None: view->setFrameStyle(QFrame::NoFrame); break;
        case Edge::Native: view->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken); break;
    }
}

void ListBox::SetColor(TColor color) {
    color_ = color;
    QPalette pal = Widget()->palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    Widget()->setPalette(pal);
}

TFont ListBox::Font() const { return FontOfWidget(Widget()->font()); }
void ListBox::SetFont(const TFont& font) { Widget()->setFont(ToQFont(font)); }

void ListBox::BeginUpdate() {
    if (updates_++ == 0) Widget()->setUpdatesEnabled(false);
}

void ListBox::EndUpdate() {
    if (updates_ > 0 && --updates_ == 0) Widget()->setUpdatesEnabled(true);
}

void ListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    dragArmed_ = false;
    press_ = {x, y};
    WidgetControl::MouseDown(button, shift, x, y);
}

void ListBox::BeginDrag(bool immediate) {
    dragArmed_ = true;
    if (immediate) StartDrag();
}

void ListBox::StartDrag() {
    dragArmed_ = false;
    if (dragging_) return;
    dragging_ = true;
    QPointer<QWidget> alive = Widget();
    auto* drag = new QDrag(Widget());
    auto* data = new QMimeData;
    data->setData(kDragFormat, QByteArray());
    drag->setMimeData(data);
    // The drop may close the window the list is on.
    drag->exec(Qt::MoveAction);
    if (alive) dragging_ = false;
}

void ListBox::CurrentChanged() {
    if (OnCurrentChange) OnCurrentChange(this);
}

void ListBox::Click() {
    if (OnClick) OnClick(this);
}

void ListBox::DrawItem(Canvas& canvas, int index, const Rect& rect, bool selected) {
    if (OnDrawItem) return OnDrawItem(this, canvas, index, rect, selected);
    canvas.FillRect(rect);
    canvas.TextOut(rect.left + 2, rect.top, ItemText(index));
}

void ListBox::DragOver(WidgetControl* source, int x, int y, bool& accept) {
    accept = bool(OnDragOver);
    if (OnDragOver) OnDragOver(this, source, x, y, accept);
}

void ListBox::DragDrop(WidgetControl* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

} // namespace wb::gui
