#include "platform/gui/ProgressBar.h"

#include <QProgressBar>
#include <algorithm>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
QProgressBar* Bar(const WidgetControl* c) { return static_cast<QProgressBar*>(c->Widget()); }
} // namespace

ProgressBar::ProgressBar(Component* owner) : WidgetControl(owner, NewWidget<QProgressBar>()) {
    QProgressBar* p = Bar(this);
    p->setTextVisible(false);
    p->setRange(0, 100);
    p->setValue(0);
}

ProgressBar::ProgressBar(WinControl& parent, const std::string& name) : ProgressBar(&parent) {
    Place(parent, name);
}

void ProgressBar::SetRange(int min, int max) { Bar(this)->setRange(min, max); }
int ProgressBar::Min() const { return Bar(this)->minimum(); }
int ProgressBar::Max() const { return Bar(this)->maximum(); }

void ProgressBar::SetPosition(int position) {
    QProgressBar* p = Bar(this);
    const int value = std::clamp(position, p->minimum(), p->maximum());
    if (value == p->value()) return;
    p->setValue(value);
    if (p->isVisible()) p->repaint();
}

int ProgressBar::Position() const { return Bar(this)->value(); }

} // namespace wb::gui
