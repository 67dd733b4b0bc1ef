#pragma once
// The string grid's Qt side, shared by its units (StringGrid.cpp keeps the
// cells, sizes, scrolling and painting; StringGridInput.cpp the editor, the
// keys and the mouse). For the grid's own sources only.
#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/Guard.h"
#include "platform/gui/StringGrid.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

// The scroll area and the in-place editor. The grid paints its cells on
// the area's view through the control's Paint; the area's own frame is the
// style's. Presses and releases reach the grid's own handling before the
// control base turns them into steps, so events see the grid after it.
struct StringGrid::Impl : QObject {
    struct Area : ControlScrollWidget<QAbstractScrollArea> {
        StringGrid* grid = nullptr;

    protected:
        bool event(QEvent* e) override {
            if (e->type() == QEvent::Paint) return QAbstractScrollArea::event(e);
            return ControlScrollWidget::event(e);
        }
        void resizeEvent(QResizeEvent* e) override {
            QAbstractScrollArea::resizeEvent(e);
            // Only now the view has its new size.
            if (grid && !grid->Destroying()) RunGuarded([this] { grid->WMSize(); });
        }
        void keyPressEvent(QKeyEvent* e) override {
            // Keys with a code went through the KeyDown step; what is left
            // here types into the cell.
            const QString text = e->text();
            if (grid && !text.isEmpty() && text.at(0).isPrint() &&
                !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                RunGuarded([&] { grid->Typed(text.toStdString()); });
            e->accept();
        }
        // Taken here, so a press does not travel on to the parent.
        void mousePressEvent(QMouseEvent* e) override { e->accept(); }
        void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
        void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
        void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
        void wheelEvent(QWheelEvent* e) override { e->accept(); }
        // The grid paints from its top-left cell; the bars only follow it.
        void scrollContentsBy(int, int) override {}
    };

    explicit Impl(StringGrid* g) : grid(g) {}
    QPointer<Area> area;
    QPointer<QLineEdit> editor;
    StringGrid* grid;

    QWidget* View() const { return area->viewport(); }
    QPoint ToControl(QWidget* from, const QPointF& p) const { return from->mapTo(area, p.toPoint()); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (grid->Destroying()) return false;
        if (watched == area->viewport()) {
            switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick: {
                auto* m = static_cast<QMouseEvent*>(event);
                const QPoint p = ToControl(View(), m->position());
                if (event->type() == QEvent::MouseButtonDblClick) {
                    grid->doubleClicked_ = m->button() == Qt::LeftButton ? grid->MouseCoord(p.x(), p.y())
                                                                         : TGridCoord{-1, -1};
                    break;
                }
                RunGuarded([&] { grid->Pressed(ButtonOf(m->button()), ShiftOf(m->modifiers()), p.x(), p.y()); });
                break;
            }
            case QEvent::MouseButtonRelease: {
                const QPoint p = ToControl(View(), static_cast<QMouseEvent*>(event)->position());
                RunGuarded([&] { grid->Released(p.x(), p.y()); });
                break;
            }
            default: break;
            }
            return false;
        }
        if (watched != editor || event->type() != QEvent::KeyPress) return false;
        // The keys that move between cells or end the editing are the grid's.
        auto* ke = static_cast<QKeyEvent*>(event);
        switch (ke->key()) {
        case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
        case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Return: case Qt::Key_Enter:
        case Qt::Key_Escape: break;
        case Qt::Key_Insert: case Qt::Key_Delete:
            if (ke->modifiers() & Qt::ControlModifier) break;
            return false;
        default: return false;
        }
        int key = VirtualKey(ke->key());
        const TShiftState shift = ShiftOf(ke->modifiers());
        RunGuarded([&] { grid->KeyDown(key, shift); });
        return true;
    }
};

} // namespace wb::gui
