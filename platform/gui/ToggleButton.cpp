#include "platform/gui/ToggleButton.h"

#include <QAbstractButton>

#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
QAbstractButton* Box(const WidgetControl* c) { return static_cast<QAbstractButton*>(c->Widget()); }
} // namespace

const ClassInfo& ToggleButton::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("ToggleButton", &WidgetControl::StaticClass());
        i.String<ToggleButton>("Caption", &ToggleButton::Caption, &ToggleButton::SetCaption);
        i.Boolean<ToggleButton>("Checked", &ToggleButton::Checked, &ToggleButton::SetChecked);
        return i;
    }();
    return info;
}

ToggleButton::ToggleButton(Component* owner, QAbstractButton* button) : WidgetControl(owner, button) {
    QObject::connect(button, &QAbstractButton::clicked, [this] { Fire(OnClick, this); });
}

bool ToggleButton::Checked() const { return Box(this)->isChecked(); }
void ToggleButton::SetChecked(bool c) { Box(this)->setChecked(c); }
std::string ToggleButton::Caption() const { return Box(this)->text().toStdString(); }
void ToggleButton::SetCaption(const std::string& c) { Box(this)->setText(Q(c)); }
void ToggleButton::Click() { Box(this)->click(); }

} // namespace wb::gui
