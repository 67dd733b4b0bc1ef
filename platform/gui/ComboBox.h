#pragma once
// A drop-down list of texts; the user picks one, or none is chosen.
#include <string>
#include <vector>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class ComboBox : public WidgetControl {
public:
    explicit ComboBox(Component* owner = nullptr);
    ComboBox(WinControl& parent, const std::string& name);
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    // Kept in alphabetical order (case-blind) when sorted.
    void SetSorted(bool sorted);
    void SetItems(const std::vector<std::string>& items);
    std::vector<std::string> Items() const;
    int Count() const;
    // -1 when none is chosen.
    int ItemIndex() const;
    void SetItemIndex(int index);
    std::string Text() const;
    // Rows shown when the list drops down.
    void SetDropDownCount(int rows);
    // Fires when the user or the program chooses another entry.
    TNotifyEvent OnChange;

private:
    bool sorted_ = false;
};

} // namespace wb::gui
