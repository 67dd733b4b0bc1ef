#include "platform/gui/CheckBox.h"

#include <QCheckBox>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

const ClassInfo& CheckBox::StaticClass() {
    static const ClassInfo info("CheckBox", &ToggleButton::StaticClass());
    return info;
}

CheckBox::CheckBox(Component* owner) : ToggleButton(owner, NewWidget<QCheckBox>()) {}

CheckBox::CheckBox(WinControl& parent, const std::string& name, const std::string& caption) : CheckBox(&parent) {
    Place(parent, name);
    SetCaption(caption);
}

} // namespace wb::gui
