#pragma once
// A radio button: a click checks it; its group (kept by its dialog) clears the others.
#include <string>

#include "platform/gui/ToggleButton.h"

namespace wb::gui {

class RadioButton : public ToggleButton {
public:
    explicit RadioButton(Component* owner = nullptr);
    RadioButton(WinControl& parent, const std::string& name, const std::string& caption);
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
};

} // namespace wb::gui
