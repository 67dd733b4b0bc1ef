#pragma once
// What check boxes and radio buttons share: a caption, a checked state that
// a click changes, and the click event.
#include <string>

#include "platform/gui/WidgetControl.h"

class QAbstractButton;

namespace wb::gui {

class ToggleButton : public WidgetControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    bool Checked() const;
    // Set by the program: no click event. The program may clear the checked
    // button of a group, which a click cannot.
    void SetChecked(bool checked);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    std::string ControlText() const override { return Caption(); }
    void SetControlText(const std::string& text) override { SetCaption(text); }
    // The least height that shows the check mark and a line of the caption whole.
    int MinimumHeight() const;
    // Clicks as the user would: nothing happens while disabled.
    void Click();
    TNotifyEvent OnClick;

protected:
    ToggleButton(Component* owner, QAbstractButton* button);
};

} // namespace wb::gui
