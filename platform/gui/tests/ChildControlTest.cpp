#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/testing/GuiTest.h"
#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"

namespace {

using namespace wb::gui;

// A panel that counts its goings by name.
std::map<std::string, int> g_gone;
class Probe : public Panel {
public:
    Probe(WinControl& parent, const std::string& name) : Panel(parent, name) {}
    ~Probe() override { ++g_gone[Name()]; }
};

// A window holding a panel and a control inside it; the inner control's
// field may come before the panel's, which by value would free it twice.
class Window : public Form {
public:
    explicit Window(bool innerDeclaredFirst) : Form(nullptr, FormKind::Dialog) {
        Child<Probe>& box = innerDeclaredFirst ? second_ : first_;
        Child<Probe>& inner = innerDeclaredFirst ? first_ : second_;
        box = Child<Probe>(*this, "Box");
        inner = Child<Probe>(*box, "Inner");
    }
    Probe* Box() const { return FindComponent("Box") == first_.get() ? first_ : second_; }
    Probe* Inner() const { return FindComponent("Inner") == first_.get() ? first_ : second_; }

private:
    Child<Probe> first_, second_;
};

enum class First { Window, Box, Inner };
struct OwnershipCase {
    const char* name;
    bool innerDeclaredFirst;
    First first;
};

class ChildControls : public ::testing::TestWithParam<OwnershipCase> {
protected:
    void SetUp() override {
        test::App();
        g_gone.clear();
    }
};

TEST_P(ChildControls, GoOnceWhateverGoesFirst) {
    const OwnershipCase& c = GetParam();
    auto* window = new Window(c.innerDeclaredFirst);
    // The window owns both, the inner one sitting in the panel.
    ASSERT_NE(window->Inner(), nullptr);
    EXPECT_EQ(window->Inner()->Parent(), window->Box());
    EXPECT_EQ(window->Inner()->Owner(), window);
    if (c.first == First::Inner) delete window->Inner();
    if (c.first == First::Box) delete window->Box();
    if (c.first != First::Window) EXPECT_EQ(window->FindComponent("Inner"), nullptr);
    delete window;
    EXPECT_EQ(g_gone, (std::map<std::string, int>{{"Box", 1}, {"Inner", 1}}));
}

INSTANTIATE_TEST_SUITE_P(Form, ChildControls,
                         ::testing::Values(OwnershipCase{"WindowGoes", false, First::Window},
                                           OwnershipCase{"WindowGoesInnerDeclaredFirst", true, First::Window},
                                           OwnershipCase{"PanelGoesFirst", false, First::Box},
                                           OwnershipCase{"PanelGoesFirstInnerDeclaredFirst", true, First::Box},
                                           OwnershipCase{"InnerGoesFirst", true, First::Inner}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChildControl, ANameTheWindowHoldsIsRefusedInsideAPanelToo) {
    test::App();
    Form window(nullptr, FormKind::Dialog);
    Child<Panel> panel(window, "Panel");
    Child<Edit> edit(*panel, "Edit");
    EXPECT_THROW(Child<Button>(window, "edit", "x"), wb::PropertyError);
    EXPECT_THROW(Child<Label>(*panel, "PANEL"), wb::PropertyError);
    EXPECT_EQ(window.FindComponent("Edit"), edit.get());
    EXPECT_EQ(window.ComponentCount(), 2);
}

} // namespace
