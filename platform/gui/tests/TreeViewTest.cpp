// Each of the tree view's events runs its handler inside the guard.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <stdexcept>

#include "platform/gui/Form.h"
#include "platform/gui/TreeView.h"
#include "platform/testing/GuiTest.h"

namespace {

using namespace wb::gui;
namespace test = wb::gui::test;

struct TreeEventCase {
    const char* name;
    // Sets the handler on a fresh tree of the form and makes the event happen once.
    std::function<void(TreeView& tree, const std::function<void()>& handler)> fire;
};

void PrintTo(const TreeEventCase& c, std::ostream* os) { *os << c.name; }

class TreeEvents : public ::testing::TestWithParam<TreeEventCase> {};

// Fired from calls outside any other handler, so without the guard the
// exception would reach the test, or Qt's event delivery, where only the
// application's last-resort net would catch it.
TEST_P(TreeEvents, AHandlerThatThrowsGivesOneBoxAndTheTreeGoesOn) {
    test::App("Guarded");
    Form f(nullptr, FormKind::Main);
    f.Show();
    test::ModalDriver driver;
    int calls = 0;
    auto handler = [&] {
        if (++calls == 1) throw std::runtime_error("tree handler fails");
    };
    const int strays = Application::StrayExceptions();
    for (int round = 0; round < 2; ++round) {
        auto* tree = new TreeView(f, "Tree" + std::to_string(round));
        tree->SetBounds(0, 0, 200, 120);
        tree->BringToFront();
        QCoreApplication::processEvents();
        GetParam().fire(*tree, handler);
    }
    ASSERT_TRUE(test::Eventually([&] { return calls == 2; }));
    ASSERT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].text, "tree handler fails");
    EXPECT_EQ(Application::StrayExceptions(), strays);
    test::App();
}

// A node with a child, so it can open.
TreeNode* Parent(TreeView& t) {
    TreeNode* n = t.AddRoot("parent");
    n->AddChild("child");
    return n;
}

INSTANTIATE_TEST_SUITE_P(
    Tree, TreeEvents,
    ::testing::Values(
        TreeEventCase{"Change",
                      [](TreeView& t, const std::function<void()>& h) {
                          t.OnChange = [h](wb::Persistent*, TreeNode*) { h(); };
                          t.SetCurrent(t.AddRoot("node"));
                      }},
        TreeEventCase{"Expanding",
                      [](TreeView& t, const std::function<void()>& h) {
                          t.OnExpanding = [h](wb::Persistent*, TreeNode*, bool&) { h(); };
                          Parent(t)->SetExpanded(true);
                      }},
        TreeEventCase{"Expanded",
                      [](TreeView& t, const std::function<void()>& h) {
                          t.OnExpanded = [h](wb::Persistent*, TreeNode*) { h(); };
                          Parent(t)->SetExpanded(true);
                      }},
        TreeEventCase{"Click",
                      [](TreeView& t, const std::function<void()>& h) {
                          t.OnClick = [h](wb::Persistent*) { h(); };
                          TreeNode* node = t.AddRoot("node");
                          const Rect r = t.NodeRect(node), items = t.ItemsRect();
                          auto* viewport = static_cast<QAbstractScrollArea*>(t.Widget())->viewport();
                          QTest::mouseClick(viewport, Qt::LeftButton, {},
                                            QPoint(r.left + 5 - items.left, (r.top + r.bottom) / 2 - items.top));
                      }},
        TreeEventCase{"Edited",
                      [](TreeView& t, const std::function<void()>& h) {
                          t.OnEdited = [h](wb::Persistent*, TreeNode*, std::string&) { h(); };
                          TreeNode* node = t.AddRoot("old");
                          ASSERT_TRUE(t.EditNode(node));
                          auto* editor = t.Widget()->findChild<QLineEdit*>();
                          ASSERT_NE(editor, nullptr);
                          editor->setText("new");
                          QTest::keyClick(editor, Qt::Key_Return);
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
