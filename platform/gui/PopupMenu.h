#pragma once
// A menu that pops up over a control, as a header or context menu does.
// Items keep the order they were added in; each one's handler runs inside
// the guard.
#include <functional>
#include <memory>
#include <string>

namespace wb::gui {

class WidgetControl;

class PopupMenu {
public:
    PopupMenu();
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // The caption "-" makes a separator, which has no handler.
    void Add(const std::string& caption, std::function<void()> onClick = {});
    // Safe from inside an item's handler: the old items go once it returns.
    void Clear();
    int Count() const;
    std::string Caption(int index) const;
    // Chooses the item as the user would.
    void Click(int index);

    // Opens the menu at a point in the control's coordinates, without waiting.
    void Popup(WidgetControl& over, int x, int y);
    void Close();
    bool Visible() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace wb::gui
