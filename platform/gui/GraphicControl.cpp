#include "platform/gui/GraphicControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "platform/gui/Canvas.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

class GraphicWidget : public QWidget {
public:
    GraphicControl* control = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!control || control->Destroying()) return;
        QPainter p(this);
        Canvas c(p);
        RunGuarded([&] { control->Paint(c); });
    }
    void enterEvent(QEnterEvent*) override {
        if (control) RunGuarded([&] { control->MouseEnter(); });
    }
    void leaveEvent(QEvent*) override {
        if (control) RunGuarded([&] { control->MouseLeave(); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (control && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            Fire(control->OnClick, control);
    }
};

const ClassInfo& GraphicControl::StaticClass() {
    static const ClassInfo info("GraphicControl", &WidgetControl::StaticClass());
    return info;
}

GraphicControl::GraphicControl(Component* owner) : WidgetControl(owner, NewWidget<GraphicWidget>()) {
    static_cast<GraphicWidget*>(Widget())->control = this;
    Widget()->setFocusPolicy(Qt::NoFocus);
}

GraphicControl::~GraphicControl() {
    if (auto* w = static_cast<GraphicWidget*>(Widget())) w->control = nullptr;
}

void GraphicControl::Repaint() {
    if (Widget()->isVisible()) Widget()->repaint();
    else Widget()->update();
}

void GraphicControl::SetTransparentForMouse(bool transparent) {
    Widget()->setAttribute(Qt::WA_TransparentForMouseEvents, transparent);
}

} // namespace wb::gui
