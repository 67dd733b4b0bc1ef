#include "tag_editor/controls/VlFramedWidget.h"

#include <QApplication>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>

namespace velmora {

using namespace wb::gui;

void PaintWidgetFrame(QWidget& widget, const TVlFrameControl& frame, TColor backColor) {
    QPainter painter(&widget);
    Canvas canvas(painter);
    DrawControlFrame(canvas, widget.width(), widget.height(), frame.FrameSides(), frame.FrameColor(), backColor,
                     frame.FrameStyle());
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

} // namespace velmora
