#include "platform/gui/RadioButton.h"

#include <QButtonGroup>
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

struct RadioGroup::Impl {
    QButtonGroup group;
};

RadioGroup::RadioGroup(Component* owner) : Component(owner), impl_(std::make_unique<Impl>()) {
    impl_->group.setExclusive(true);
}

RadioGroup::~RadioGroup() = default;

void RadioGroup::Add(RadioButton& button) { impl_->group.addButton(static_cast<QRadioButton*>(button.Widget())); }

} // namespace wb::gui
