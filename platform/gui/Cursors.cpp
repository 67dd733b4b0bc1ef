#include "platform/gui/Cursors.h"

#include <QApplication>
#include <QWidget>
#include <map>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

namespace {
std::map<int, CursorShape>& Table() {
    static std::map<int, CursorShape> table;
    return table;
}
Qt::CursorShape ToQt(CursorShape s) {
    switch (s) {
        case CursorShape::Hand: return Qt::PointingHandCursor;
        case CursorShape::DragHand: return Qt::ClosedHandCursor;
        case CursorShape::Wait: return Qt::WaitCursor;
        case CursorShape::IBeam: return Qt::IBeamCursor;
        case CursorShape::Cross: return Qt::CrossCursor;
        default: return Qt::ArrowCursor;
    }
}
} // namespace

void RegisterCursor(int id, CursorShape shape) { Table()[id] = shape; }

std::optional<CursorShape> RegisteredCursor(int id) {
    auto it = Table().find(id);
    if (it == Table().end()) return std::nullopt;
    return it->second;
}

void SetControlCursor(WidgetControl& control, int id) {
    control.Widget()->setCursor(ToQt(RegisteredCursor(id).value_or(CursorShape::Arrow)));
}

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

} // namespace wb::gui
