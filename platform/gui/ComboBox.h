#pragma once
// A drop-down list of texts; the user picks one, or none is chosen. Each item
// may carry an icon and a text of data of its own. An owner-drawn box draws
// its items itself: the chosen one on its face and each row of its list.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Colors.h"
#include "platform/gui/Icon.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui {

enum TOwnerDrawStateBit : unsigned { odSelected = 1, odFocused = 2, odDisabled = 4, odComboBoxEdit = 8 };
using TOwnerDrawState = unsigned;

class ComboBox : public WidgetControl {
public:
    explicit ComboBox(Component* owner = nullptr);
    ComboBox(WinControl& parent, const std::string& name);
    ~ComboBox() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    // Kept in alphabetical order (case-blind) when sorted.
    void SetSorted(bool sorted);
    void SetItems(const std::vector<std::string>& items);
    std::vector<std::string> Items() const;
    // Adding and clearing leave the choice to the program: no OnChange.
    void AddItem(const std::string& text, const Icon& icon = {}, const std::string& data = {});
    void Clear();
    int Count() const;
    std::string ItemText(int index) const;
    Icon ItemIcon(int index) const;
    std::string ItemData(int index) const;
    // The first item carrying the data; -1 when none does.
    int IndexOfData(const std::string& data) const;
    // -1 when none is chosen.
    int ItemIndex() const;
    void SetItemIndex(int index);
    std::string Text() const;
    // Rows shown when the list drops down (8 until set); a scroll bar reaches the rest.
    void SetDropDownCount(int rows);
    void SetIconSize(int width, int height);
    // The colour of the box and of its list.
    void SetColor(TColor color);
    // The width of the drop-down button's place at the right of the box.
    int ButtonWidth() const;

    // Off: the style draws the items. On: DrawItem does.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool on);

    // Fires when the user or the program chooses another entry.
    TNotifyEvent OnChange;
    // Draws an item of an owner-drawn box in rect; no handler, the style's look.
    std::function<void(ComboBox* sender, Canvas& canvas, int index, const Rect& rect, TOwnerDrawState state)>
        OnDrawItem;

protected:
    // Another entry was chosen; the base fires OnChange.
    virtual void Change();
    // The base fires OnDrawItem, or draws the item as the style would.
    virtual void DrawItem(Canvas& canvas, int index, const Rect& rect, TOwnerDrawState state);
    // The style's look of the item being drawn.
    void DrawItemDefault(Canvas& canvas);

private:
    friend class ComboPainter;
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool sorted_ = false;
    bool ownerDraw_ = false;
};

} // namespace wb::gui
