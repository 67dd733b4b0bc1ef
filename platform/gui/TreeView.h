#pragma once
// A tree of text nodes with icons, as folder browsers show them: nodes open
// and close, one is current, and a node's text may be edited in place. What
// the user does reaches the control as steps run through the guard, each
// firing its event in the base version, as WidgetControl's input does.
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Colors.h"
#include "platform/gui/Geometry.h"
#include "platform/gui/Icon.h"
#include "platform/gui/WidgetControl.h"

class QTreeWidgetItem;

namespace wb::gui {

class TreeView;
class TreeNodeItem;

// A node lives as long as it stays in its tree: it goes with its parent,
// with Clear() and with the tree, and takes its children and data with it.
class TreeNode {
public:
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    std::string Text() const;
    void SetText(const std::string& text);
    wb::gui::Icon GetIcon() const;
    void SetIcon(const wb::gui::Icon& icon);
    // What the program keeps with the node; freed with it.
    void* Data() const { return data_.get(); }
    void SetData(std::shared_ptr<void> data) { data_ = std::move(data); }

    TreeNode* Parent() const;
    int Count() const;
    TreeNode* Child(int index) const;
    // At the end when `index` is negative.
    TreeNode* AddChild(const std::string& text, int index = -1);
    void DeleteChildren();
    // Frees the node and everything below it; the pointer is gone after.
    void Delete();
    bool HasAsParent(const TreeNode* node) const;

    bool Expanded() const;
    // Opening a node runs the tree's Expanding and Expanded steps.
    void SetExpanded(bool expanded);
    bool Selected() const;

private:
    friend class TreeView;
    friend class TreeNodeItem;
    explicit TreeNode(QTreeWidgetItem* item) : item_(item) {}
    QTreeWidgetItem* item_;
    std::shared_ptr<void> data_;
};

using TTreeNodeEvent = std::function<void(Persistent* sender, TreeNode* node)>;
using TTreeExpandingEvent = std::function<void(Persistent* sender, TreeNode* node, bool& allow)>;
// `text` is what the user typed; the node shows it as the handler leaves it.
using TTreeEditedEvent = std::function<void(Persistent* sender, TreeNode* node, std::string& text)>;

class TreeView : public WidgetControl {
public:
    explicit TreeView(Component* owner = nullptr);
    TreeView(WinControl& parent, const std::string& name);
    ~TreeView() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    int RootCount() const;
    TreeNode* Root(int index) const;
    // At the end when `index` is negative.
    TreeNode* AddRoot(const std::string& text, int index = -1);
    void Clear();

    // The current node is the selected one; null selects nothing.
    TreeNode* Current() const;
    void SetCurrent(TreeNode* node);
    // The node at a point in control coordinates, or null.
    TreeNode* NodeAt(int x, int y) const;
    void ScrollTo(TreeNode* node);
    // The vertical scroll position, in rows.
    int ScrollPos() const;
    void SetScrollPos(int row);

    // In control coordinates: where the items are drawn, a node's row, and
    // the part of it its text takes (as wide as the text), for drawing over.
    Rect ItemsRect() const;
    Rect NodeRect(TreeNode* node) const;
    Rect TextRect(TreeNode* node) const;

    // Between these the tree is not drawn; they nest.
    void BeginUpdate();
    void EndUpdate();

    // Opens an editor over the node's text; its end runs the Edited step.
    bool EditNode(TreeNode* node);
    bool Editing() const;

    TColor Color() const { return color_; }
    virtual void SetColor(TColor color);

    TTreeNodeEvent OnChange;  // the current node changed
    TTreeExpandingEvent OnExpanding;
    TTreeNodeEvent OnExpanded;
    TNotifyEvent OnClick;  // a left click on a node
    TTreeEditedEvent OnEdited;

protected:
    virtual void Change(TreeNode* node);
    // The node opened; its children may be made here. Not allowed, it closes again.
    virtual void Expanding(TreeNode* node, bool& allow);
    virtual void Expanded(TreeNode* node);
    virtual void Click();
    virtual void Edited(TreeNode* node, std::string& text);
    // Each time the control's window is about to show.
    virtual void Showing() {}

private:
    friend class TreeWidget;
    friend class TreeNodeEditor;
    int updating_ = 0;
    TColor color_ = clWindow;
};

} // namespace wb::gui
