#pragma once
// Qt side of the control base, for the layer's own sources: the widget of a
// control that draws itself, or draws over what its Qt class draws. After
// each paint of the widget (and of a scroll area's viewport) the control's
// Paint runs on a canvas in the control's coordinates, so a frame over the
// border and marks over the items go through the one paint entry.
#include <QAbstractScrollArea>
#include <QEvent>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class ControlPainter {
public:
    // Paints the control over a surface just painted: its widget or a child of it.
    static void PaintOver(WidgetControl* control, QWidget* surface);
};

template <class Base>
class ControlWidget : public Base {
public:
    using Base::Base;
    WidgetControl* control = nullptr;

protected:
    bool event(QEvent* e) override {
        const bool handled = Base::event(e);
        if (e->type() == QEvent::Paint) ControlPainter::PaintOver(control, this);
        return handled;
    }
};

// A scroll area paints its items on its viewport.
template <class Base>
class ControlScrollWidget : public ControlWidget<Base> {
public:
    using ControlWidget<Base>::ControlWidget;

protected:
    bool viewportEvent(QEvent* e) override {
        const bool handled = Base::viewportEvent(e);
        if (e->type() == QEvent::Paint) ControlPainter::PaintOver(this->control, this->viewport());
        return handled;
    }
};

} // namespace wb::gui
