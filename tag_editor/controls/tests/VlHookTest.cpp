#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/testing/GuiTest.h"
#include "tag_editor/controls/VlHook.h"

using namespace velmora;

using namespace wb::gui;

namespace {

using Log = std::vector<std::string>;
Log g_log;

// What the window and its hooks logged since last asked.
Log Taken() { return std::exchange(g_log, {}); }

class Target : public WinControl {
public:
    using WinControl::WinControl;
    intptr_t answer = 42;

protected:
    void WndProc(Message& m) override {
        if (m.Msg >= WM_USER || m.Msg == WM_DESTROY) g_log.push_back("window");
        m.Result = answer;
    }
};

// A form: listed among the forms, owner of its hooks.
class TestForm : public Target {
public:
    TestForm() { wb::FormList::Add(this); }
    ~TestForm() override {
        wb::FormList::Remove(this);
        Destroying_();
        DestroyComponents();
    }
};

TVlWindowHook* MakeHook(wb::Component* owner, WinControl* target, const std::string& name) {
    auto* h = new TVlWindowHook(owner);
    h->BeforeMessage = [name](wb::Persistent*, Message& m, bool&) {
        if (m.Msg >= WM_USER || m.Msg == WM_DESTROY) g_log.push_back("before " + name);
    };
    h->AfterMessage = [name](wb::Persistent*, Message& m, bool&) {
        if (m.Msg >= WM_USER || m.Msg == WM_DESTROY) g_log.push_back("after " + name);
    };
    h->SetWinControl(target);
    return h;
}

class HookTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        ProcessPostedMessages();
    }
    void TearDown() override { ProcessPostedMessages(); }
    TestForm form;
};

TEST_F(HookTest, LaterHookSeesEachMessageFirstBeforeAndAfter) {
    MakeHook(&form, &form, "1");
    MakeHook(&form, &form, "2");
    EXPECT_EQ(form.Perform(WM_USER + 1), 42);
    EXPECT_EQ(Taken(), (Log{"before 2", "before 1", "window", "after 2", "after 1"}));
}

TEST_F(HookTest, HandledBeforeSkipsTheRestAndKeepsTheResult) {
    MakeHook(&form, &form, "1");
    TVlWindowHook* second = MakeHook(&form, &form, "2");
    second->BeforeMessage = [](wb::Persistent*, Message& m, bool& handled) {
        g_log.push_back("before 2");
        m.Result = 7;
        handled = true;
    };
    EXPECT_EQ(form.Perform(WM_USER + 1), 7);
    EXPECT_EQ(Taken(), (Log{"before 2"}));
    // An after handler that handles the message stops the after handlers.
    second->BeforeMessage = nullptr;
    second->AfterMessage = [](wb::Persistent*, Message&, bool& handled) {
        g_log.push_back("after 2");
        handled = true;
    };
    form.Perform(WM_USER + 1);
    EXPECT_EQ(Taken(), (Log{"before 1", "window", "after 2"}));
}

TEST_F(HookTest, SwitchingActiveOffAndOnMovesTheHookToTheFront) {
    TVlWindowHook* first = MakeHook(&form, &form, "1");
    MakeHook(&form, &form, "2");
    first->SetActive(false);
    form.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"before 2", "window", "after 2"}));
    first->SetActive(true);
    form.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"before 1", "before 2", "window", "after 1", "after 2"}));
}

TEST_F(HookTest, ARecreatedWindowIsHookedAgainByThePostedMessage) {
    TVlWindowHook* hook = MakeHook(&form, &form, "1");
    hook->BeforeMessage = [](wb::Persistent*, Message& m, bool& handled) {
        if (m.Msg == WM_DESTROY) {
            g_log.push_back("before destroy");
            handled = true;  // WM_DESTROY still reaches the window
        }
    };
    form.Handle();
    form.RecreateWnd();
    EXPECT_EQ(Taken(), (Log{"before destroy", "window", "after 1"}));
    form.Perform(WM_USER);  // not yet hooked: the re-hook is deferred
    EXPECT_EQ(Taken(), (Log{"window"}));
    EXPECT_EQ(ProcessPostedMessages(), 1);
    form.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"window", "after 1"}));
}

TEST_F(HookTest, LetGoInsideAHandlerFreesTheControlHookOnlyAfterTheMessage) {
    TVlWindowHook* hook = MakeHook(&form, &form, "1");
    form.Handle();
    const int before = THookList::Instance().Count();
    TControlHook* ch = THookList::Instance().Find(&form);
    ASSERT_NE(ch, nullptr);
    hook->BeforeMessage = [&](wb::Persistent*, Message& m, bool&) {
        if (m.Msg != WM_USER) return;
        hook->SetWinControl(nullptr);
        EXPECT_TRUE(THookList::Instance().Contains(ch));
    };
    EXPECT_EQ(form.Perform(WM_USER), 42);  // the window still answers
    EXPECT_TRUE(THookList::Instance().Contains(ch));
    EXPECT_EQ(form.Handle().GetWindowProc() != nullptr, true);
    ProcessPostedMessages();
    EXPECT_FALSE(THookList::Instance().Contains(ch));
    EXPECT_EQ(THookList::Instance().Count(), before - 1);
    g_log.clear();
    form.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"window"}));
}

TEST_F(HookTest, AThrowingHandlerIsShownAndTheOthersAndTheWindowStillRun) {
    MakeHook(&form, &form, "1");
    TVlWindowHook* second = MakeHook(&form, &form, "2");
    second->BeforeMessage = [](wb::Persistent*, Message&, bool&) { throw std::runtime_error("boom"); };
    wb::gui::test::App();
    wb::gui::test::ModalDriver boxes;
    EXPECT_EQ(form.Perform(WM_USER), 42);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"boom"}));
    EXPECT_EQ(Taken(), (Log{"before 1", "window", "after 2", "after 1"}));
}

TEST_F(HookTest, AProcedureAboveTheHookKeepsWorkingAfterTheHookGoes) {
    auto seen = std::make_shared<Log>();  // the procedure outlives the test's body with the form
    TVlWindowHook* hook = MakeHook(&form, &form, "1");
    Window& w = form.Handle();
    WindowProc below = w.GetWindowProc();
    w.SetWindowProc(MakeWindowProc([below, seen](Window& win, Message& m) {
        seen->push_back("above");
        return CallWindowProc(below, win, m);
    }));
    hook->SetWinControl(nullptr);
    delete hook;
    ProcessPostedMessages();  // frees the control hook
    EXPECT_EQ(THookList::Instance().Find(&form), nullptr);
    g_log.clear();
    EXPECT_EQ(form.Perform(WM_USER), 42);
    EXPECT_EQ(*seen, (Log{"above"}));
    EXPECT_EQ(Taken(), (Log{"window"}));
    // A new hook goes on top of the chain and sees messages once.
    MakeHook(&form, &form, "2");
    form.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"before 2", "window", "after 2"}));
}

TEST_F(HookTest, HandlersThatAddOrRemoveHooksDoNotDisturbTheLoop) {
    TVlWindowHook* first = MakeHook(&form, &form, "1");
    TVlWindowHook* second = MakeHook(&form, &form, "2");
    TVlWindowHook* added = nullptr;
    second->BeforeMessage = [&](wb::Persistent*, Message& m, bool&) {
        if (m.Msg != WM_USER) return;
        g_log.push_back("before 2");
        delete first;
        first = nullptr;
        if (!added) added = MakeHook(&form, &form, "3");
    };
    form.Perform(WM_USER);
    // The removed hook is skipped at once; the added one joins at the next pass.
    EXPECT_EQ(Taken(), (Log{"before 2", "window", "after 3", "after 2"}));
    form.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"before 3", "before 2", "window", "after 3", "after 2"}));
}

TEST_F(HookTest, AHookedControlThatGoesFirstLeavesTheHookWithout) {
    auto* control = new Target(&form);
    control->SetName("Panel1");
    TVlWindowHook* hook = MakeHook(&form, control, "1");
    control->Perform(WM_USER);
    delete control;
    EXPECT_EQ(hook->WinControl(), nullptr);
    ProcessPostedMessages();
    EXPECT_EQ(THookList::Instance().Find(control), nullptr);
}

TEST_F(HookTest, AControlBeingDesignedIsNotSubclassed) {
    form.SetDesigning(true);
    MakeHook(&form, &form, "1");
    form.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"window"}));
}

// IsForm hooks the form that owns the hook, and only a form: the form's
// messages then pass the hook until it is moved to another control.
TEST_F(HookTest, IsFormHooksTheOwningForm) {
    TVlWindowHook* hook = MakeHook(&form, nullptr, "1");
    hook->SetIsForm(true);
    EXPECT_TRUE(hook->IsForm());
    form.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"before 1", "window", "after 1"}));
    Target other;
    hook->SetWinControl(&other);
    EXPECT_FALSE(hook->IsForm());
    form.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"window"}));

    Target panel;  // not a form: nothing to hook
    TVlWindowHook* stray = MakeHook(&panel, nullptr, "2");
    stray->SetIsForm(true);
    EXPECT_EQ(stray->WinControl(), nullptr);
    panel.Perform(WM_USER);
    EXPECT_EQ(Taken(), (Log{"window"}));
}

} // namespace
