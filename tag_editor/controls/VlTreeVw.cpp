#include "tag_editor/controls/VlTreeVw.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

using namespace wb::gui;

void TVlFrameControl::SetFrameColor(TColor v) {
    if (v == frameColor_) return;
    frameColor_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameFlat(bool v) {
    if (v == frameFlat_) return;
    frameFlat_ = v;
    if (v) {
        SetFrameVisible(true);
        frameSides_ = TSides::All();
        frameStyle_ = frameFlatStyle_;
    }
    RepaintFrame();
    FrameInvalidate();
}

void TVlFrameControl::SetFrameFlatStyle(TFrameStyle v) {
    if (v == frameFlatStyle_) return;
    frameFlatStyle_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameFocusStyle(TFrameStyle v) {
    if (v == frameFocusStyle_) return;
    frameFocusStyle_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameSides(TSides v) {
    if (v == frameSides_) return;
    frameSides_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameStyle(TFrameStyle v) {
    if (v == frameStyle_) return;
    frameStyle_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameVisible(bool v) {
    if (v == frameVisible_) return;
    frameVisible_ = v;
    FrameVisibleChanged();
}

void TVlFrameControl::UpdateFrame(bool viaMouse, bool inFocus) {
    if (viaMouse) mouseOver_ = inFocus;
    if (frameFlat_) {
        frameStyle_ = (FrameHasFocus() || mouseOver_) ? frameFocusStyle_ : frameFlatStyle_;
        RepaintFrame();
    }
}

void TVlFrameControl::PaintControlFrame(QWidget* widget, TColor backColor) {
    QPainter painter(widget);
    Canvas canvas(painter);
    DrawControlFrame(canvas, widget->width(), widget->height(), frameSides_, frameColor_, backColor,
                     frameStyle_);
}

void TVlFrameControl::FrameEvent(QWidget* widget, QEvent* e, TColor backColor, bool paintsFrame) {
    switch (e->type()) {
        case QEvent::Paint:
            if (paintsFrame && FrameVisible()) PaintControlFrame(widget, backColor);
            break;
        case QEvent::Enter:
            UpdateFrame(true, true);
            if (OnMouseEnter) OnMouseEnter(widget);
            break;
        case QEvent::Leave:
            UpdateFrame(true, false);
            if (OnMouseLeave) OnMouseLeave(widget);
            break;
        default: break;
    }
}

TVlCustomTreeView::TVlCustomTreeView(QWidget* parent) : QTreeWidget(parent) {
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

void TVlCustomTreeView::RepaintFrame() {
    update();
    if (isVisible()) repaint();
}

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

void TVlCustomTreeView::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TVlCustomTreeView::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TVlCustomTreeView::FrameVisibleChanged() { RepaintFrame(); }

void TVlCustomTreeView::FrameInvalidate() {
    update();
    viewport()->update();
}

bool TVlCustomTreeView::event(QEvent* e) {
    switch (e->type()) {
        case QEvent::Paint: {
            bool r = QTreeWidget::event(e);
            if (FrameVisible()) PaintControlFrame(this, color_);
            return r;
        }
        case QEvent::Enter: {
            bool r = QTreeWidget::event(e);
            UpdateFrame(true, true);
            MouseEnter();
            return r;
        }
        case QEvent::Leave: {
            bool r = QTreeWidget::event(e);
            UpdateFrame(true, false);
            MouseLeave();
            return r;
        }
        default: return QTreeWidget::event(e);
    }
}

void TVlCustomTreeView::focusInEvent(QFocusEvent* e) {
    UpdateFrame(false, true);
    QTreeWidget::focusInEvent(e);
}

void TVlCustomTreeView::focusOutEvent(QFocusEvent* e) {
    QTreeWidget::focusOutEvent(e);
    UpdateFrame(false, false);
}

void TVlCustomTreeView::resizeEvent(QResizeEvent* e) {
    QTreeWidget::resizeEvent(e);
    if (FrameVisible()) RepaintFrame();
}

void VlWheelScroll(QScrollBar* bar, QWheelEvent* e) {
    int delta = e->angleDelta().y();
    if (delta == 0) delta = e->angleDelta().x();
    const int lines = QApplication::wheelScrollLines();
    const int pos = bar->value();
    if (delta < 0)
        bar->setValue(pos + lines);
    else if (delta > 0 && pos - lines >= 0)
        bar->setValue(pos - lines);
    e->accept();
}

void TVlCustomTreeView::wheelEvent(QWheelEvent* e) { VlWheelScroll(verticalScrollBar(), e); }

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
