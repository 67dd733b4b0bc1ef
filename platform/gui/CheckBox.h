#pragma once
// A check box: a click toggles it.
#include <string>

#include "platform/gui/ToggleButton.h"

namespace wb::gui {

class CheckBox : public ToggleButton {
public:
    explicit CheckBox(Component* owner = nullptr);
    CheckBox(WinControl& parent, const std::string& name, const std::string& caption);
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
};

} // namespace wb::gui
