// Each of the tree view's events runs its handler inside the guard.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QTest>

#include "platform/gui/TreeView.h"
#include "platform/gui/tests/GuardedEvents.h"

namespace wb::gui::test {
namespace {

// Each event happens on a fresh tree of the shown form, with `fire` setting
// the handler and making the event happen once.
GuardCase TreeCase(const char* name, std::function<void(TreeView&, const Handler&)> fire) {
    return {name, [fire](Form& f, Handler h) -> Deliver {
                f.Show();
                return [&f, h, fire] {
                    auto* tree = new TreeView(f, "Tree" + std::to_string(f.ComponentCount()));
                    tree->SetBounds(0, 0, 200, 120);
                    tree->BringToFront();
                    QCoreApplication::processEvents();
                    fire(*tree, h);
                };
            }};
}

// A node with a child, so it can open.
TreeNode* Parent(TreeView& t) {
    TreeNode* n = t.AddRoot("parent");
    n->AddChild("child");
    return n;
}

INSTANTIATE_TEST_SUITE_P(
    Tree, GuardTest,
    ::testing::Values(
        TreeCase("TreeChange", [](TreeView& t, const Handler& h) {
            t.OnChange = [h](wb::Persistent*, TreeNode*) { h(); };
            t.SetCurrent(t.AddRoot("node"));
        }),
        TreeCase("TreeExpanding", [](TreeView& t, const Handler& h) {
            t.OnExpanding = [h](wb::Persistent*, TreeNode*, bool&) { h(); };
            Parent(t)->SetExpanded(true);
        }),
        TreeCase("TreeExpanded", [](TreeView& t, const Handler& h) {
            t.OnExpanded = [h](wb::Persistent*, TreeNode*) { h(); };
            Parent(t)->SetExpanded(true);
        }),
        TreeCase("TreeClick", [](TreeView& t, const Handler& h) {
            t.OnClick = [h](wb::Persistent*) { h(); };
            TreeNode* node = t.AddRoot("node");
            const Rect r = t.NodeRect(node), items = t.ItemsRect();
            auto* viewport = static_cast<QAbstractScrollArea*>(t.Widget())->viewport();
            QTest::mouseClick(viewport, Qt::LeftButton, {},
                              QPoint(r.left + 5 - items.left, (r.top + r.bottom) / 2 - items.top));
        }),
        TreeCase("TreeEdited", [](TreeView& t, const Handler& h) {
            t.OnEdited = [h](wb::Persistent*, TreeNode*, std::string&) { h(); };
            ASSERT_TRUE(t.EditNode(t.AddRoot("old")));
            auto* editor = t.Widget()->findChild<QLineEdit*>();
            ASSERT_NE(editor, nullptr);
            editor->setText("new");
            QTest::keyClick(editor, Qt::Key_Return);
        })),
    GuardCaseName);

} // namespace
} // namespace wb::gui::test
