#include "platform/gui/GraphicControl.h"

#include <QWidget>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

const ClassInfo& GraphicControl::StaticClass() {
    static const ClassInfo info("GraphicControl", &WidgetControl::StaticClass());
    return info;
}

GraphicControl::GraphicControl(Component* owner) : WidgetControl(owner, NewWidget<ControlWidget<QWidget>>()) {
    static_cast<ControlWidget<QWidget>*>(Widget())->control = this;
    Widget()->setFocusPolicy(Qt::NoFocus);
}

GraphicControl::~GraphicControl() {
    if (auto* w = static_cast<ControlWidget<QWidget>*>(Widget())) w->control = nullptr;
}

void GraphicControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    WidgetControl::MouseUp(button, shift, x, y);
    if (button == mbLeft && x >= 0 && y >= 0 && x < Width() && y < Height()) Fire(OnClick, this);
}

} // namespace wb::gui
