#pragma once
// Mouse input for tests at a point of a control, in the control's
// coordinates, delivered to the widget under it as a user's click would be
// (for a scroll area, its view).
#include <QTest>
#include <QWidget>

#include "platform/gui/WidgetControl.h"

namespace wb::gui::test {

struct WidgetPoint {
    QWidget* widget;
    QPoint at;
};

inline WidgetPoint Under(WidgetControl& control, int x, int y) {
    QWidget* own = control.Widget();
    QWidget* child = own->childAt(x, y);
    QWidget* target = child ? child : own;
    return {target, target->mapFrom(own, QPoint(x, y))};
}

inline void ClickAt(WidgetControl& control, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    const WidgetPoint p = Under(control, x, y);
    QTest::mouseClick(p.widget, button, {}, p.at);
}

// As a user double-clicks: the first click comes as a click.
inline void DoubleClickAt(WidgetControl& control, int x, int y) {
    const WidgetPoint p = Under(control, x, y);
    QTest::mouseClick(p.widget, Qt::LeftButton, {}, p.at);
    QTest::mouseDClick(p.widget, Qt::LeftButton, {}, p.at);
}

} // namespace wb::gui::test
