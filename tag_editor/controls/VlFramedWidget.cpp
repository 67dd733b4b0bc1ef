#include "tag_editor/controls/VlFramedWidget.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
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

void ShowPathInLabel(QLabel* label, const std::string& path, int widthWithoutLabel) {
    if (!label) return;
    QFontMetrics fm(label->font());
    const int width = label->width() > 0 ? label->width() : widthWithoutLabel;
    label->setText(QString::fromStdString(MinimizeName(
        path, width, [&](const std::string& s) { return fm.horizontalAdvance(QString::fromStdString(s)); })));
}

TFont FontOf(const QFont& f) {
    TFont t;
    t.Name = f.family().toStdString();
    int px = f.pixelSize();
    if (px <= 0) px = qRound(f.pointSizeF() * 96.0 / 72.0);
    t.Height = -std::max(1, px);
    t.Style = (f.bold() ? unsigned(fsBold) : 0u) | (f.italic() ? unsigned(fsItalic) : 0u) |
              (f.underline() ? unsigned(fsUnderline) : 0u) | (f.strikeOut() ? unsigned(fsStrikeOut) : 0u);
    return t;
}

void SetBackColor(QWidget* widget, TColor color, bool withButton) {
    QPalette pal = widget->palette();
    const QColor c = QColor::fromRgb(ToQRgb(color));
    pal.setColor(QPalette::Base, c);
    if (withButton) pal.setColor(QPalette::Button, c);
    widget->setPalette(pal);
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
