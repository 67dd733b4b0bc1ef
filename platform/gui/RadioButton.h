#pragma once
// A radio button: a click checks it; its group (kept by its dialog) clears the others.
#include <memory>
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

// Radio buttons that clear each other, whatever their parents: checking one
// clears the rest. A button in no group shares one with its siblings.
class RadioGroup : public Component {
public:
    explicit RadioGroup(Component* owner = nullptr);
    ~RadioGroup() override;
    void Add(RadioButton& button);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace wb::gui
