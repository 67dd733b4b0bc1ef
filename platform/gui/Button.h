#pragma once
// A push button; a kind "OK" button carries the usual tick glyph.
#include <string>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class Button : public WidgetControl {
public:
    explicit Button(Component* owner = nullptr);
    Button(WinControl& parent, const std::string& name, const std::string& caption);
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    std::string ControlText() const override { return Caption(); }
    void SetControlText(const std::string& text) override { SetCaption(text); }
    void SetOkGlyph();
    // The button that Enter presses.
    bool Default() const;
    void SetDefault(bool isDefault);
    // Whether the button becomes the one Enter presses while it has the focus.
    void SetAutoDefault(bool autoDefault);
    // Clicks as the user would: nothing happens while disabled.
    void Click();
    TNotifyEvent OnClick;
};

} // namespace wb::gui
