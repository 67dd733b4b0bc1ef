#include "platform/gui/RadioButton.h"

#include <QRadioButton>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

const ClassInfo& RadioButton::StaticClass() {
    static const ClassInfo info("RadioButton", &ToggleButton::StaticClass());
    return info;
}

RadioButton::RadioButton(Component* owner) : ToggleButton(owner, NewWidget<QRadioButton>()) {}

RadioButton::RadioButton(WinControl& parent, const std::string& name, const std::string& caption) : RadioButton(&parent) {
    Place(parent, name);
    SetCaption(caption);
}

} // namespace wb::gui
