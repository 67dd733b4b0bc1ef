#include "tag_editor/controls/VlTreeVw.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace velmora {

using namespace wb::gui;

TVlCustomTreeView::TVlCustomTreeView(QWidget* parent) : TVlFramedWidget(parent) {
    // A two-pixel border, the room the frame is drawn over.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setHeaderHidden(true);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setMouseTracking(true);
    SetColor(clWindow);
}

TVlCustomTreeView::~TVlCustomTreeView() = default;

void TVlCustomTreeView::SetColor(TColor c) {
    color_ = c;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, QColor::fromRgb(ToQRgb(c)));
    setPalette(pal);
    if (FrameVisible()) RepaintFrame();
}

void TVlCustomTreeView::SetHideSelection(bool v) {
    if (v == hideSelection_) return;
    hideSelection_ = v;
    viewport()->update();
}

void TVlCustomTreeView::SetSelectionPen(const TPen& pen) {
    selectionPen_ = pen;
    viewport()->update();
}

int TVlCustomTreeView::ScrollPos() const { return verticalScrollBar()->value(); }

void TVlCustomTreeView::FrameInvalidate() {
    update();
    viewport()->update();
}

void TVlCustomTreeView::paintEvent(QPaintEvent* e) {
    QTreeWidget::paintEvent(e);
    QTreeWidgetItem* item = currentItem();
    if (hideSelection_ || hasFocus() || !item || !item->isSelected()) return;
    QModelIndex index = indexFromItem(item);
    QStyleOptionViewItem opt;
    initViewItemOption(&opt);
    opt.rect = visualRect(index);
    opt.text = item->text(0);
    opt.icon = item->icon(0);
    opt.features |= QStyleOptionViewItem::HasDisplay;
    if (!opt.icon.isNull()) opt.features |= QStyleOptionViewItem::HasDecoration;
    QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &opt, this);
    text.setWidth(fontMetrics().horizontalAdvance(opt.text) + 4);
    QPainter painter(viewport());
    Canvas canvas(painter);
    canvas.Pen() = selectionPen_;
    canvas.Brush().Style = BrushStyle::Clear;
    canvas.Rectangle(text.left(), text.top(), text.left() + text.width(), text.top() + text.height());
    canvas.Pen().Width = 1;
}

} // namespace velmora
