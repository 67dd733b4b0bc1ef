#include "platform/gui/WidgetControl.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <algorithm>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

// Qt may free a widget with its parent before the control goes; the
// pointer then reads null instead of dangling.
struct WidgetControl::Holder {
    QPointer<QWidget> widget;
};

namespace {

QWidget* ClientOf(WinControl* parent) {
    if (!parent) return nullptr;
    if (auto* w = dynamic_cast<WidgetControl*>(parent)) return w->ClientWidget();
    return static_cast<QWidget*>(parent->NativeWidget());
}

} // namespace

const ClassInfo& WidgetControl::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("WidgetControl", &WinControl::StaticClass());
        return i;
    }();
    return info;
}

WidgetControl::WidgetControl(Component* owner, QWidget* widget)
    : WinControl(owner), holder_(std::make_unique<Holder>()) {
    holder_->widget = widget;
    // The form finds the control of a focused widget through this mark.
    widget->setProperty("wbControl", QVariant::fromValue(reinterpret_cast<quintptr>(static_cast<Control*>(this))));
}

WidgetControl::~WidgetControl() {
    Destroying_();
    NotifyFreeing();
    DestroyComponents();
    DestroyControls();
    DestroyHandle();
    // Every control inside has gone with its own widget, so Qt frees only
    // the parts this widget made itself.
    delete holder_->widget.data();
}

void* WidgetControl::NativeWidget() const { return holder_ ? holder_->widget.data() : nullptr; }
QWidget* WidgetControl::Widget() const { return holder_->widget; }
QWidget* WidgetControl::ClientWidget() const { return Widget(); }

void WidgetControl::SetName(const std::string& name) {
    WinControl::SetName(name);
    if (Widget()) Widget()->setObjectName(Q(name));
}

void WidgetControl::SetParent(WinControl* parent) {
    WinControl::SetParent(parent);
    QWidget* w = Widget();
    if (!w) return;
    w->setParent(ClientOf(parent));
    if (parent && Visible()) w->show();
}

void WidgetControl::SetVisible(bool visible) {
    WinControl::SetVisible(visible);
    // Without a parent the widget would become a window of its own.
    if (Widget()) Widget()->setVisible(visible && Parent());
}

void WidgetControl::SetEnabled(bool enabled) {
    WinControl::SetEnabled(enabled);
    if (Widget()) Widget()->setEnabled(enabled);
}

void WidgetControl::SetFocus() {
    if (Widget()) Widget()->setFocus();
}

// Without the window frame, as the bounds were set.
int WidgetControl::Left() const { return Widget()->geometry().x(); }
int WidgetControl::Top() const { return Widget()->geometry().y(); }
int WidgetControl::Width() const { return Widget()->width(); }
int WidgetControl::Height() const { return Widget()->height(); }

void WidgetControl::SetBounds(int left, int top, int width, int height) {
    Widget()->setGeometry(left, top, std::max(0, width), std::max(0, height));
}

void WidgetControl::SetHint(const std::string& hint) { Widget()->setToolTip(Q(hint)); }
std::string WidgetControl::Hint() const { return Widget()->toolTip().toStdString(); }
void WidgetControl::BringToFront() { Widget()->raise(); }
void WidgetControl::Invalidate() { Widget()->update(); }

void WidgetControl::Place(WinControl& parent, const std::string& name) {
    SetName(name);
    SetParent(&parent);
}

} // namespace wb::gui
