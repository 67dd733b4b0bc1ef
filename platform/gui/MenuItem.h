#pragma once
// A menu of a form's menu bar, or an item of a menu. The caption "-" makes
// a separator. Items appear in the order they are made; the form owns them.
#include <memory>
#include <string>

#include "platform/gui/WidgetControl.h"

class QAction;

namespace wb::gui {

class Form;

class MenuItem : public Component {
public:
    MenuItem(Form& form, const std::string& name, const std::string& caption);
    MenuItem(MenuItem& parent, const std::string& name, const std::string& caption,
             const std::string& shortCut = "");
    ~MenuItem() override;

    void SetEnabled(bool enabled);
    bool Enabled() const;
    std::string Caption() const;
    std::string ShortCut() const;
    // Chooses the item as the user would: nothing happens while disabled.
    void Click();
    TNotifyEvent OnClick;

    QAction* Action() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace wb::gui
