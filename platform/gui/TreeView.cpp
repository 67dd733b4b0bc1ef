#include "platform/gui/TreeView.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

// Every item of a tree view is one of these, so each item has its node.
class TreeNodeItem : public QTreeWidgetItem {
public:
    TreeNodeItem() : QTreeWidgetItem(QTreeWidgetItem::UserType), node(this) {}
    TreeNode node;
};

namespace {

TreeNode* NodeOf(QTreeWidgetItem* item) { return item ? &static_cast<TreeNodeItem*>(item)->node : nullptr; }

Rect RectOf(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

} // namespace

class TreeWidget : public ControlScrollWidget<QTreeWidget> {
public:
    using ControlScrollWidget::ControlScrollWidget;

    // Null once the control is going, so nothing reaches a half-destroyed control.
    TreeView* Tree() const {
        auto* tree = static_cast<TreeView*>(control);
        return tree && !tree->Destroying() ? tree : nullptr;
    }
    bool Editing() const { return state() == EditingState; }
    QTreeWidgetItem* ItemOf(const QModelIndex& index) const { return itemFromIndex(index); }
    QPoint ViewportOffset() const { return viewport()->mapTo(this, QPoint(0, 0)); }

    // As the style lays out the item's text, as wide as the text, in viewport coordinates.
    QRect TextRect(QTreeWidgetItem* item) const {
        QStyleOptionViewItem opt;
        initViewItemOption(&opt);
        opt.rect = visualRect(indexFromItem(item));
        opt.text = item->text(0);
        opt.icon = item->icon(0);
        opt.features |= QStyleOptionViewItem::HasDisplay;
        if (!opt.icon.isNull()) opt.features |= QStyleOptionViewItem::HasDecoration;
        QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &opt, this);
        text.setWidth(fontMetrics().horizontalAdvance(opt.text));
        return text;
    }

protected:
    // After the view has done its own part of the release, as a click ends.
    void mouseReleaseEvent(QMouseEvent* e) override {
        ControlScrollWidget::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && itemAt(e->position().toPoint()))
            if (TreeView* tree = Tree()) RunGuarded([tree] { tree->Click(); });
    }
    void showEvent(QShowEvent* e) override {
        if (TreeView* tree = Tree()) RunGuarded([tree] { tree->Showing(); });
        ControlScrollWidget::showEvent(e);
    }
};

// The editor's text goes to the Edited step instead of straight into the node.
class TreeNodeEditor : public QStyledItemDelegate {
public:
    explicit TreeNodeEditor(TreeWidget* view) : QStyledItemDelegate(view), view_(view) {}

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        TreeView* tree = view_->Tree();
        TreeNode* node = NodeOf(view_->ItemOf(index));
        if (!line || !tree || !node) return;
        std::string text = line->text().toStdString();
        if (text == node->Text()) return;  // nothing was changed
        // The handler may rebuild the tree; the node is used again only if it stayed.
        const QPersistentModelIndex kept(index);
        bool done = false;
        RunGuarded([&] {
            tree->Edited(node, text);
            done = true;
        });
        if (done && kept.isValid())
            if (TreeNode* still = NodeOf(view_->ItemOf(kept))) still->SetText(text);
    }

private:
    TreeWidget* view_;
};

std::string TreeNode::Text() const { return item_->text(0).toStdString(); }
void TreeNode::SetText(const std::string& text) { item_->setText(0, Q(text)); }
Icon TreeNode::GetIcon() const { return IconAccess::FromQIcon(item_->icon(0)); }
void TreeNode::SetIcon(const Icon& icon) { item_->setIcon(0, IconAccess::ToQIcon(icon)); }
TreeNode* TreeNode::Parent() const { return NodeOf(item_->parent()); }
int TreeNode::Count() const { return item_->childCount(); }
TreeNode* TreeNode::Child(int index) const { return NodeOf(item_->child(index)); }

TreeNode* TreeNode::AddChild(const std::string& text, int index) {
    auto* item = new TreeNodeItem;
    item->setText(0, Q(text));
    if (index < 0)
        item_->addChild(item);
    else
        item_->insertChild(index, item);
    return &item->node;
}

void TreeNode::DeleteChildren() { qDeleteAll(item_->takeChildren()); }
void TreeNode::Delete() { delete item_; }

bool TreeNode::HasAsParent(const TreeNode* node) const {
    for (TreeNode* p = Parent(); p; p = p->Parent())
        if (p == node) return true;
    return false;
}

bool TreeNode::Expanded() const { return item_->isExpanded(); }
void TreeNode::SetExpanded(bool expanded) { item_->setExpanded(expanded); }
bool TreeNode::Selected() const { return item_->isSelected(); }

namespace {
TreeWidget* View(const TreeView* tree) { return static_cast<TreeWidget*>(tree->Widget()); }
} // namespace

const ClassInfo& TreeView::StaticClass() {
    static const ClassInfo info("TreeView", &WidgetControl::StaticClass());
    return info;
}

TreeView::TreeView(Component* owner) : WidgetControl(owner, NewWidget<TreeWidget>()) {
    TreeWidget* w = View(this);
    w->control = this;
    // The sunken two-pixel edge of the system's tree views.
    w->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    w->setLineWidth(2);
    w->setHeaderHidden(true);
    w->setFocusPolicy(Qt::StrongFocus);
    // Scroll positions count rows.
    w->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // Mouse moves are reported without a button held, too.
    w->setMouseTracking(true);
    // Editing starts only through EditNode.
    w->setEditTriggers(QAbstractItemView::NoEditTriggers);
    w->setItemDelegate(new TreeNodeEditor(w));
    QObject::connect(w, &QTreeWidget::currentItemChanged, w, [w](QTreeWidgetItem* current, QTreeWidgetItem*) {
        if (TreeView* tree = w->Tree()) RunGuarded([&] { tree->Change(NodeOf(current)); });
    });
    QObject::connect(w, &QTreeWidget::itemExpanded, w, [w](QTreeWidgetItem* item) {
        TreeView* tree = w->Tree();
        if (!tree) return;
        RunGuarded([&] {
            bool allow = true;
            tree->Expanding(NodeOf(item), allow);
            if (!allow) {
                item->setExpanded(false);
                return;
            }
            tree->Expanded(NodeOf(item));
        });
    });
    SetColor(clWindow);
}

TreeView::TreeView(WinControl& parent, const std::string& name) : TreeView(&parent) { Place(parent, name); }

TreeView::~TreeView() {
    Destroying_();
    if (TreeWidget* w = View(this)) w->control = nullptr;
}

int TreeView::RootCount() const { return View(this)->topLevelItemCount(); }
TreeNode* TreeView::Root(int index) const { return NodeOf(View(this)->topLevelItem(index)); }

TreeNode* TreeView::AddRoot(const std::string& text, int index) {
    auto* item = new TreeNodeItem;
    item->setText(0, Q(text));
    if (index < 0)
        View(this)->addTopLevelItem(item);
    else
        View(this)->insertTopLevelItem(index, item);
    return &item->node;
}

void TreeView::Clear() { View(this)->clear(); }

TreeNode* TreeView::Current() const { return NodeOf(View(this)->currentItem()); }

void TreeView::SetCurrent(TreeNode* node) {
    View(this)->setCurrentItem(node ? node->item_ : nullptr);
    if (!node) View(this)->clearSelection();
}

TreeNode* TreeView::NodeAt(int x, int y) const {
    const QPoint offset = View(this)->ViewportOffset();
    return NodeOf(View(this)->itemAt(x - offset.x(), y - offset.y()));
}

void TreeView::ScrollTo(TreeNode* node) {
    if (node) View(this)->scrollToItem(node->item_);
}

int TreeView::ScrollPos() const { return View(this)->verticalScrollBar()->value(); }
void TreeView::SetScrollPos(int row) { View(this)->verticalScrollBar()->setValue(row); }

Rect TreeView::ItemsRect() const { return RectOf(View(this)->viewport()->geometry()); }

Rect TreeView::NodeRect(TreeNode* node) const {
    if (!node) return {};
    return RectOf(View(this)->visualItemRect(node->item_).translated(View(this)->ViewportOffset()));
}

Rect TreeView::TextRect(TreeNode* node) const {
    if (!node) return {};
    return RectOf(View(this)->TextRect(node->item_).translated(View(this)->ViewportOffset()));
}

void TreeView::BeginUpdate() {
    if (updating_++ == 0) View(this)->setUpdatesEnabled(false);
}

void TreeView::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0) View(this)->setUpdatesEnabled(true);
}

bool TreeView::EditNode(TreeNode* node) {
    if (!node || Editing()) return false;
    node->item_->setFlags(node->item_->flags() | Qt::ItemIsEditable);
    View(this)->editItem(node->item_, 0);
    return Editing();
}

bool TreeView::Editing() const { return View(this)->Editing(); }

void TreeView::SetColor(TColor color) {
    color_ = color;
    QPalette pal = View(this)->palette();
    pal.setColor(QPalette::Base, QColor::fromRgb(ToQRgb(color)));
    View(this)->setPalette(pal);
}

void TreeView::Change(TreeNode* node) { Fire(OnChange, this, node); }
void TreeView::Expanding(TreeNode* node, bool& allow) {
    if (OnExpanding) OnExpanding(this, node, allow);
}
void TreeView::Expanded(TreeNode* node) { Fire(OnExpanded, this, node); }
void TreeView::Click() { Fire(OnClick, this); }
void TreeView::Edited(TreeNode* node, std::string& text) {
    if (OnEdited) OnEdited(this, node, text);
}

} // namespace wb::gui
