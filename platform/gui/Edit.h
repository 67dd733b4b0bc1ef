#pragma once
// A one-line edit.
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Colors.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class Edit : public WidgetControl {
public:
    explicit Edit(Component* owner = nullptr);
    ~Edit() override;
    Edit(WinControl& parent, const std::string& name, const std::string& text = "");
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    std::string Text() const;
    void SetText(const std::string& text);
    std::string ControlText() const override { return Text(); }
    void SetControlText(const std::string& text) override { SetText(text); }
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    // The most characters the user may type; 0 for no limit.
    int MaxLength() const;
    void SetMaxLength(int length);
    void SetColor(TColor color);
    // Fires on every change of the text, typed or set by the program.
    // Text set by the program is the box's text at once; the widget lays it
    // out when it is next drawn or used, so a run of settings costs one layout.
    TNotifyEvent OnChange;
    // Fires when the user changed the text (typed, pasted, cut), not the program.
    TNotifyEvent OnTextEdited;
    // Sees first each character the user would insert, typed or pasted, and
    // Backspace, Enter and Esc; setting it to 0 drops it. A paste of which it
    // drops one character is refused whole. The program's own text passes.
    std::function<void(Persistent* sender, char& key)> OnKeyPress;

private:
    struct Shadow;
    std::unique_ptr<Shadow> shadow_;
};

} // namespace wb::gui
