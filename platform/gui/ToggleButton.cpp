#include "platform/gui/ToggleButton.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>

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
void ToggleButton::SetChecked(bool c) {
    QAbstractButton* b = Box(this);
    QButtonGroup* group = b->group();
    // An exclusive group keeps its checked button checked against setChecked.
    if (!c && group && group->exclusive()) {
        group->setExclusive(false);
        b->setChecked(false);
        group->setExclusive(true);
        return;
    }
    b->setChecked(c);
}

int ToggleButton::MinimumHeight() const {
    QAbstractButton* b = Box(this);
    const int indicator = b->style()->pixelMetric(qobject_cast<QRadioButton*>(b) ? QStyle::PM_ExclusiveIndicatorHeight
                                                                                 : QStyle::PM_IndicatorHeight,
                                                  nullptr, b);
    return std::max(indicator, b->fontMetrics().height());
}
std::string ToggleButton::Caption() const { return Box(this)->text().toStdString(); }
void ToggleButton::SetCaption(const std::string& c) { Box(this)->setText(Q(c)); }
void ToggleButton::Click() { Box(this)->click(); }

} // namespace wb::gui
