#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <tuple>
#include <utility>

#include "platform/testing/GuiTest.h"
#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"

namespace {

using namespace wb::gui;

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { test::App(); }
    static QWidget* W(Form& f) { return static_cast<QWidget*>(f.NativeWidget()); }
};

// Puts a procedure in front of the form's window; it sees every message first.
void Intercept(Form& form, std::function<bool(Message&)> handle) {
    Window& w = form.Handle();
    w.SetWindowProc(MakeWindowProc([below = w.GetWindowProc(), handle](Window& win, Message& m) -> intptr_t {
        return handle(m) ? m.Result : CallWindowProc(below, win, m);
    }));
}

TEST_F(FormTest, ClosingGoesThroughTheWindowProcedureAndTheCloseQuery) {
    Form form;
    bool allow = false;
    form.OnCloseQuery = [&](wb::Persistent*, bool& canClose) { canClose = allow; };
    form.Show();
    ASSERT_TRUE(W(form)->isVisible());
    EXPECT_FALSE(W(form)->close());  // the window itself asked, as the title bar does
    EXPECT_TRUE(form.IsWindowVisible());
    allow = true;
    bool refuse = true;
    Intercept(form, [&](Message& m) {
        if (m.Msg != WM_CLOSE || !refuse) return false;
        m.Result = 0;
        return true;
    });
    EXPECT_FALSE(form.Close());  // refused before the form's own procedure
    refuse = false;
    EXPECT_TRUE(form.Close());
    EXPECT_FALSE(form.IsWindowVisible());
}

TEST_F(FormTest, OnShowRunsBeforeTheWindowAppears) {
    Form form;
    bool visibleInHandler = true;
    form.OnShow = [&](wb::Persistent*) { visibleInHandler = form.IsWindowVisible(); };
    form.Show();
    EXPECT_FALSE(visibleInHandler);
}

TEST_F(FormTest, SizeLimitsAreAskedOfTheWindowProcedure) {
    Form form;
    form.SetBounds(0, 0, 400, 300);
    Intercept(form, [](Message& m) {
        if (m.Msg != WM_GETMINMAXINFO) return false;
        auto* info = reinterpret_cast<MinMaxInfo*>(m.LParam);
        info->minTrackSize = {300, 200};
        m.Result = 0;
        return true;
    });
    form.Show();
    EXPECT_EQ(W(form)->minimumSize(), QSize(300, 200));
    form.SetBounds(0, 0, 100, 100);
    EXPECT_EQ(std::pair(form.Width(), form.Height()), std::pair(300, 200));
}

TEST_F(FormTest, ANewBorderStyleMakesANewWindow) {
    Form form;
    const WindowHandle first = form.Handle().Handle();
    int destroyed = 0;
    Intercept(form, [&](Message& m) {
        if (m.Msg == WM_DESTROY) ++destroyed;
        return false;
    });
    form.SetBorderStyle(bsDialog);
    EXPECT_EQ(destroyed, 1);
    EXPECT_NE(form.Handle().Handle(), first);
    EXPECT_EQ(FindWindow(first), nullptr);
}

// Sized while hidden, a window's client area has its size at once, so a
// frame of its own grows around the size it was given, not around Qt's
// default size of a widget never shown.
TEST_F(FormTest, AHiddenFormsClientAreaFollowsItsBoundsAtOnce) {
    Form f(nullptr, FormKind::Main);
    f.SetBounds(40, 40, 800, 573);
    EXPECT_EQ(std::pair(f.ClientWidth(), f.ClientHeight()), std::pair(800, 573));
    if (!Form::OwnFramesAllowed()) GTEST_SKIP() << "the window manager draws the frames here (WB_SYSTEM_FRAMES)";
    f.SetOwnFrame(true);
    EXPECT_EQ(std::pair(f.ClientWidth(), f.ClientHeight()), std::pair(800, 573));
    EXPECT_GT(f.Width(), 800);
    EXPECT_GT(f.Height(), 573);
}

// A window asks the window manager for no frame exactly when it has none or
// draws its own: whatever buttons its title bar carries, one title bar shows.
struct Decoration {
    const char* name;
    TBorderStyle style;
    uint32_t icons;
    bool ownFrame;
    bool undecorated;
};
class Decorations : public FormTest, public ::testing::WithParamInterface<Decoration> {};
TEST_P(Decorations, OneTitleBar) {
    const Decoration& d = GetParam();
    if (d.ownFrame && !Form::OwnFramesAllowed()) GTEST_SKIP() << "WB_SYSTEM_FRAMES is set";
    Form f(nullptr, FormKind::Main);
    f.SetBorderStyle(d.style);
    f.SetBorderIcons(d.icons);
    f.SetOwnFrame(d.ownFrame);
    f.Show();
    EXPECT_EQ(W(f)->windowFlags().testFlag(Qt::FramelessWindowHint), d.undecorated);
    EXPECT_EQ(W(f)->windowHandle()->flags().testFlag(Qt::FramelessWindowHint), d.undecorated);
}
constexpr uint32_t kAllIcons = biSystemMenu | biMinimize | biMaximize | biHelp;
INSTANTIATE_TEST_SUITE_P(
    FormTest, Decorations,
    ::testing::Values(Decoration{"OwnSizeableWithEveryButton", bsSizeable, kAllIcons, true, true},
                      Decoration{"OwnSingleWithClose", bsSingle, biSystemMenu, true, true},
                      Decoration{"OwnDialog", bsDialog, biSystemMenu | biHelp, true, true},
                      Decoration{"OwnToolWindow", bsSizeToolWin, biSystemMenu, true, true},
                      Decoration{"NoneWithButtonsAsked", bsNone, kAllIcons, false, true},
                      Decoration{"SystemSizeable", bsSizeable, kAllIcons, false, false},
                      Decoration{"SystemDialog", bsDialog, biSystemMenu, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormTest, PostedMessagesArriveOnTheNextTurnOfTheLoop) {
    Form form;
    int seen = 0;
    Intercept(form, [&](Message& m) {
        if (m.Msg == WM_USER + 5) ++seen;
        return false;
    });
    ASSERT_TRUE(PostMessage(form.Handle().Handle(), WM_USER + 5));
    EXPECT_EQ(seen, 0);
    for (int i = 0; i < 5 && !seen; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(seen, 1);
}

TEST_F(FormTest, PlacementOfAHiddenFormKeepsItHiddenWhereItWasPut) {
    Form form;
    ScreenMetrics s = Screen();
    if (s.workArea.Width() <= 0) GTEST_SKIP() << "no screen";
    WindowPlacement p = form.GetWindowPlacement();
    p.showCmd = SW_HIDE;
    p.normalPosition = {s.workArea.right - 50, s.workArea.bottom - 50, s.workArea.right + 150,
                        s.workArea.bottom + 150};
    form.SetWindowPlacement(p);
    EXPECT_FALSE(form.IsWindowVisible());
    EXPECT_EQ(std::tuple(form.Left(), form.Top(), form.Width()),
              std::tuple(s.workArea.right - 50, s.workArea.bottom - 50, 200));
    WindowPlacement back = form.GetWindowPlacement();
    EXPECT_EQ(back.normalPosition.left, s.workArea.right - 50);
    EXPECT_EQ(back.showCmd, SW_SHOWNORMAL);
}

TEST_F(FormTest, TheActiveControlFollowsTheFocusAndNeedsAFocusableControl) {
    Form form;
    auto* edit = new Edit(&form);
    edit->SetParent(&form);
    auto* hidden = new Edit(&form);
    hidden->SetParent(&form);
    hidden->SetVisible(false);
    EXPECT_TRUE(edit->CanFocus());  // the hidden form does not count
    EXPECT_FALSE(hidden->CanFocus());
    Edit loose;
    EXPECT_FALSE(loose.CanFocus());  // on no form
    form.SetActiveControl(edit);
    EXPECT_EQ(form.ActiveControl(), edit);
}

// A freed windowed control frees the controls still inside it, whoever owns
// them; each goes once and leaves its owner's list.
enum class ChildOwner { Panel, Form, Other, None };
struct InsideCase {
    const char* name;
    ChildOwner owner;
    bool formFirst;  // the form frees the panel, else the panel is freed alone
};

class FreeWatcher : public wb::Component {
public:
    int freed = 0;

protected:
    void Notification(wb::Component* c, wb::Operation op) override {
        Component::Notification(c, op);
        if (op == wb::Operation::Remove) ++freed;
    }
};

class ControlsInside : public FormTest, public ::testing::WithParamInterface<InsideCase> {};

TEST_P(ControlsInside, GoWithTheirParentOnce) {
    const InsideCase& c = GetParam();
    auto* form = new Form(nullptr, FormKind::Dialog);
    wb::Component other;
    auto* panel = new Panel(form);
    panel->SetParent(form);
    wb::Component* owners[] = {panel, form, &other, nullptr};  // in the order of ChildOwner
    auto* child = new Button(owners[int(c.owner)]);
    child->SetName("Child");
    child->SetParent(panel);
    QPointer<QWidget> widget = static_cast<QWidget*>(child->NativeWidget());
    FreeWatcher watcher;
    watcher.FreeNotification(child);
    if (c.formFirst) {
        delete form;
    } else {
        delete panel;
        EXPECT_EQ(form->FindComponent("Child"), nullptr);
    }
    EXPECT_EQ(watcher.freed, 1);
    EXPECT_TRUE(widget.isNull());
    EXPECT_EQ(other.ComponentCount(), 0);
    if (!c.formFirst) delete form;  // must not reach the child again
}

INSTANTIATE_TEST_SUITE_P(FormTest, ControlsInside,
                         ::testing::Values(InsideCase{"OwnedByTheParent", ChildOwner::Panel, false},
                                           InsideCase{"OwnedByTheFormParentFreedAlone", ChildOwner::Form, false},
                                           InsideCase{"OwnedElsewhere", ChildOwner::Other, false},
                                           InsideCase{"OwnedElsewhereFormFreed", ChildOwner::Other, true},
                                           InsideCase{"OwnedByNone", ChildOwner::None, false},
                                           InsideCase{"OwnedByNoneFormFreed", ChildOwner::None, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A form class whose OnDestroy handler reads its own members.
class FormWithMembers : public Form {
public:
    explicit FormWithMembers(std::string& seen) : Form(nullptr, FormKind::Dialog) {
        OnDestroy = [this, &seen](wb::Persistent*) { seen += note + ":" + ok->Caption() + ";"; };
    }
    ~FormWithMembers() override { BeforeDestruction(); }
    std::string note = "a member of the form class, still whole";
    Child<Button> ok{*this, "ok", "OK"};
};

TEST_F(FormTest, OnDestroyRunsOnceWhileTheWholeFormExists) {
    std::string seen;
    { FormWithMembers f(seen); }
    EXPECT_EQ(seen, "a member of the form class, still whole:OK;");
    seen.clear();
    {
        Form f(nullptr, FormKind::Dialog);
        auto* ok = new Button(f, "ok", "OK");
        f.OnDestroy = [ok, &seen](wb::Persistent*) { seen += ok->Caption() + ";"; };
    }
    EXPECT_EQ(seen, "OK;");  // a plain form, its controls still there
}

// Escape follows the form's kind and its cancel button.
struct EscapeCase {
    const char* name;
    FormKind kind;
    bool cancelButton;
    bool freeButtonFirst;
    int clicks;
    bool stillOpen;
};

class EscapeKey : public FormTest, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(EscapeKey, ClicksTheCancelButtonElseFollowsTheKind) {
    const EscapeCase& c = GetParam();
    Form form(nullptr, c.kind);
    Edit edit(form, "edit");
    int clicks = 0;
    auto* cancel = new Button(form, "cancel", "Cancel");
    cancel->OnClick = [&](wb::Persistent*) { ++clicks; };
    if (c.cancelButton) form.SetCancelButton(cancel);
    if (c.freeButtonFirst) delete cancel;
    form.Show();
    QApplication::setActiveWindow(form.Window());
    edit.SetFocus();
    QTest::keyClick(static_cast<QWidget*>(edit.NativeWidget()), Qt::Key_Escape);
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_EQ(form.IsWindowVisible(), c.stillOpen);
    if (c.freeButtonFirst) EXPECT_EQ(form.CancelButton(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    FormTest, EscapeKey,
    ::testing::Values(EscapeCase{"MainWithout", FormKind::Main, false, false, 0, true},
                      EscapeCase{"MainWithCancel", FormKind::Main, true, false, 1, true},
                      EscapeCase{"DialogWithout", FormKind::Dialog, false, false, 0, false},
                      EscapeCase{"DialogWithCancel", FormKind::Dialog, true, false, 1, true},
                      EscapeCase{"DialogWhoseCancelWasFreed", FormKind::Dialog, true, true, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
