#pragma once
// One test for every way an event reaches a program's handler: the handler
// fails the first time, the guard shows one error box with the program's
// title, and the next event reaches the handler again. Each control's test
// file adds its own rows with INSTANTIATE_TEST_SUITE_P(..., GuardTest, ...).
#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <string>

#include "platform/gui/Form.h"
#include "platform/gui/WidgetControl.h"
#include "platform/testing/GuiTest.h"

namespace wb::gui::test {

using Handler = std::function<void()>;
using Deliver = std::function<void()>;

// `make` builds the source of the event on the form, with `handler` as what
// the event runs, and returns what makes the source deliver one more event.
struct GuardCase {
    const char* name;
    std::function<Deliver(Form&, Handler handler)> make;
};

inline void PrintTo(const GuardCase& c, std::ostream* os) { *os << c.name; }
inline std::string GuardCaseName(const ::testing::TestParamInfo<GuardCase>& info) { return info.param.name; }

class GuardTest : public ::testing::TestWithParam<GuardCase> {
protected:
    void SetUp() override { App("Guarded"); }
    void TearDown() override { App(); }
};

// Keys go to the focused control, and the error box took the focus.
inline void FocusForKeys(WidgetControl& c) {
    QApplication::setActiveWindow(c.Widget()->window());
    c.SetFocus();
    EXPECT_TRUE(Eventually([&c] { return c.Focused(); }));
}

} // namespace wb::gui::test
