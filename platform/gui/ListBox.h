#pragma once
// A list of items, each a text with an optional icon and a datum of the
// program's; the items are drawn by the style, or by the control or its
// handler through a canvas (owner drawing). Positions and item rectangles
// are in the control's coordinates, the border included.
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Canvas.h"
#include "platform/gui/Icon.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class ListBox;

// Selected is true for the item drawn as chosen; the canvas comes with the
// list's font and the colours of such an item (brush behind, font colour).
using TDrawItemEvent =
    std::function<void(Persistent* sender, Canvas& canvas, int index, const Rect& rect, bool selected)>;
// Source is the control the drag began on, null for a drag from elsewhere;
// a handler leaves accept true to take the drop.
using TDragOverEvent = std::function<void(Persistent* sender, Persistent* source, int x, int y, bool& accept)>;
using TDragDropEvent = std::function<void(Persistent* sender, Persistent* source, int x, int y)>;

class ListBox : public WidgetControl {
public:
    enum class Style { Standard, OwnerDrawFixed };
    enum class SelectionMode { Single, Multiple, Extended };
    // Sunken is the two-pixel sunken edge of classic list boxes.
    enum class Edge { Native, Sunken, None };

    explicit ListBox(Component* owner = nullptr);
    ListBox(WinControl& parent, const std::string& name);
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    int Count() const;
    int AddItem(const std::string& text, const Icon& icon = {}, const std::string& data = {});
    void Clear();
    std::string ItemText(int index) const;
    void SetItemText(int index, const std::string& text);
    Icon ItemIcon(int index) const;
    void SetItemIcon(int index, const Icon& icon);
    std::string ItemData(int index) const;
    void SetItemData(int index, const std::string& data);
    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& texts);
    // The first item of that text, -1 when there is none.
    int IndexOf(const std::string& text) const;

    // The current item, -1 for none; setting -1 also clears the selection.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetSelectionMode(SelectionMode mode);

    // The first item shown; in whole items.
    int TopIndex() const;
    void SetTopIndex(int index);
    // 0 leaves the height of each item to the style; a fixed height is the
    // same for every item.
    int ItemHeight() const;
    void SetItemHeight(int height);
    Rect ItemRect(int index) const;
    // The item under a point, -1 for none.
    int ItemAtPos(int x, int y) const;
    // The part of the control the items are shown in.
    Rect ClientRect() const;

    void SetStyle(Style style);
    Style GetStyle() const { return style_; }
    void SetEdge(Edge edge);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFont Font() const;
    void SetFont(const TFont& font);

    // Updates of the items are drawn once, at the last EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    // Starts a drag from this list: at once, or when the mouse, pressed on
    // the list, has moved the desktop's drag distance. Call it from a mouse
    // down handler; a drop ends on a control's DragDrop.
    void BeginDrag(bool immediate);
    bool Dragging() const { return dragging_; }

    TNotifyEvent OnCurrentChange, OnClick;
    TDrawItemEvent OnDrawItem;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

protected:
    // The current item changed, by the user or by the program.
    virtual void CurrentChanged();
    // The user clicked an item.
    virtual void Click();
    // Draws one item of an owner-drawn list; without a handler the text
    // stands on the brush, as a plain list shows it.
    virtual void DrawItem(Canvas& canvas, int index, const Rect& rect, bool selected);
    virtual void DragOver(WidgetControl* source, int x, int y, bool& accept);
    virtual void DragDrop(WidgetControl* source, int x, int y);
    // The list became visible on screen.
    virtual void Shown() {}
    virtual void FontChanged() {}
    // Keeps the press that a drag may begin from; overrides call it.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class ListBoxWidget;
    friend class ListBoxDelegate;
    void StartDrag();

    Style style_ = Style::Standard;
    TColor color_ = clWindow;
    int itemHeight_ = 0;
    int updates_ = 0;
    bool dragArmed_ = false, dragging_ = false;
    Point press_;
};

} // namespace wb::gui
