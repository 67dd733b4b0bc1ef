#pragma once
// A one-line edit.
#include <string>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class Edit : public WidgetControl {
public:
    explicit Edit(Component* owner = nullptr);
    Edit(WinControl& parent, const std::string& name, const std::string& text = "");
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    std::string Text() const;
    void SetText(const std::string& text);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    // The most characters the user may type; 0 for no limit.
    int MaxLength() const;
    void SetMaxLength(int length);
    // Fires on every change of the text, typed or set by the program.
    TNotifyEvent OnChange;
};

} // namespace wb::gui
