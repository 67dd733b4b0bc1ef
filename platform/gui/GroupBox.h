#pragma once
// A frame with a caption around a group of controls, drawn as the classic
// dialogs draw it: the frame's top line runs through the middle of the
// caption, so the frame holds the whole rectangle it is given.
#include <string>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class GroupBox : public WidgetControl {
public:
    explicit GroupBox(Component* owner = nullptr);
    GroupBox(WinControl& parent, const std::string& name, const std::string& caption);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    std::string ControlText() const override { return Caption(); }
    void SetControlText(const std::string& text) override { SetCaption(text); }
};

} // namespace wb::gui
