#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <tuple>

#include "platform/gui/StdCtrls.h"
#include "platform/gui/StringGrid.h"
#include "platform/gui/Timer.h"
#include "platform/gui/WinMsg.h"
#include "platform/gui/tests/GuardedEvents.h"
#include "platform/net/ClientSocket.h"

namespace wb::gui::test {

// The events are raised from the test itself, outside any other handler: a
// missing guard lets the exception reach the test, or Qt's event delivery,
// where only the application's last-resort net would catch it.
TEST_P(GuardTest, AnEscapingExceptionIsShownOnceAndTheWindowGoesOn) {
    Form f(nullptr, FormKind::Main);
    ModalDriver driver;
    int calls = 0;
    const Deliver deliver = GetParam().make(f, [&] {
        if (++calls == 1) throw std::runtime_error("first call fails");
    });
    const int strays = Application::StrayExceptions();
    deliver();
    ASSERT_TRUE(Eventually([&] { return driver.Messages().size() == 1; }));
    deliver();
    ASSERT_TRUE(Eventually([&] { return calls == 2; }));
    ASSERT_EQ(driver.Messages().size(), 1u);
    const SeenMessage& m = driver.Messages()[0];
    EXPECT_EQ(std::tuple(m.title, m.text, m.icon), std::tuple("Guarded", "first call fails", QMessageBox::Critical));
    EXPECT_EQ(Application::StrayExceptions(), strays);
}

namespace {

std::string Unique(const char* stem, Form& f) { return stem + std::to_string(f.ComponentCount()); }

INSTANTIATE_TEST_SUITE_P(
    Events, GuardTest,
    ::testing::Values(
        GuardCase{"ButtonClick", [](Form& f, Handler h) -> Deliver {
            auto* b = new Button(f, Unique("b", f), "Go");
            b->OnClick = [h](wb::Persistent*) { h(); };
            return [b] { b->Click(); };
        }},
        GuardCase{"MenuItem", [](Form& f, Handler h) -> Deliver {
            auto* m = new MenuItem(f, Unique("m", f), "&File");
            auto* i = new MenuItem(*m, Unique("i", f), "&Open");
            i->OnClick = [h](wb::Persistent*) { h(); };
            return [i] { i->Click(); };
        }},
        GuardCase{"TrackBarChange", [](Form& f, Handler h) -> Deliver {
            auto* t = new TrackBar(f, Unique("t", f));
            t->OnChange = [h](wb::Persistent*) { h(); };
            return [t] { t->SetPosition(t->Position() + 1); };
        }},
        GuardCase{"ComboBoxChange", [](Form& f, Handler h) -> Deliver {
            auto* c = new ComboBox(f, Unique("c", f));
            c->SetItems({"a", "b"});
            c->OnChange = [h](wb::Persistent*) { h(); };
            return [c] { c->SetItemIndex(c->ItemIndex() == 0 ? 1 : 0); };
        }},
        // Owner drawing runs in the guard too, and the box is drawn again after.
        GuardCase{"ComboBoxItemDraw", [](Form& f, Handler h) -> Deliver {
            auto* c = new ComboBox(f, Unique("c", f));
            c->AddItem("a");
            c->SetItemIndex(0);
            c->SetOwnerDraw(true);
            c->OnDrawItem = [h](ComboBox*, Canvas&, int, const Rect&, TOwnerDrawState) { h(); };
            return [c] { c->Widget()->grab(); };
        }},
        GuardCase{"EditChange", [](Form& f, Handler h) -> Deliver {
            auto* e = new Edit(f, Unique("e", f));
            e->OnChange = [h](wb::Persistent*) { h(); };
            return [e] { e->SetText(e->Text() + "x"); };
        }},
        GuardCase{"EditKeyPress", [](Form& f, Handler h) -> Deliver {
            auto* e = new Edit(f, Unique("e", f));
            e->OnKeyPress = [h](wb::Persistent*, char&) { h(); };
            return [e] { QTest::keyClick(e->Widget(), Qt::Key_A); };
        }},
        GuardCase{"ControlKeyDown", [](Form& f, Handler h) -> Deliver {
            auto* b = new Button(f, Unique("b", f), "Go");
            b->OnKeyDown = [h](wb::Persistent*, int&, TShiftState) { h(); };
            return [b] { FocusForKeys(*b); QTest::keyClick(b->Widget(), Qt::Key_F5); };
        }},
        GuardCase{"PostedJob", [](Form&, Handler h) -> Deliver { return [h] { Form::Post(h); }; }},
        GuardCase{"TimerTick", [](Form& f, Handler h) -> Deliver {
            auto* t = new Timer(&f);
            t->SetEnabled(false);
            t->SetInterval(1);
            t->OnTimer = [h, t](wb::Persistent*) { t->SetEnabled(false); h(); };
            return [t] { t->SetEnabled(true); };
        }},
        GuardCase{"PostedWindowMessage", [](Form&, Handler h) -> Deliver {
            auto w = std::make_shared<Window>(MakeWindowProc([h](Window&, Message& m) -> intptr_t {
                if (m.Msg == WM_USER) h();
                return 0;
            }));
            return [w] { PostMessage(w->Handle(), WM_USER); };
        }},
        // A procedure put over the form's own sees the messages its window's
        // Qt events become.
        GuardCase{"WindowProcedureHook", [](Form& f, Handler h) -> Deliver {
            Window& w = f.Handle();
            w.SetWindowProc(MakeWindowProc([below = w.GetWindowProc(), h](Window& win, Message& m) {
                if (m.Msg == WM_SHOWWINDOW && m.WParam) h();
                return CallWindowProc(below, win, m);
            }));
            return [&f] { f.Hide(); f.Show(); };
        }},
        GuardCase{"FormShow", [](Form& f, Handler h) -> Deliver {
            f.OnShow = [h](wb::Persistent*) { h(); };
            return [&f] { f.Hide(); f.Show(); };
        }},
        GuardCase{"GridClick", [](Form& f, Handler h) -> Deliver {
            auto* g = new StringGrid(f, Unique("g", f));
            g->OnClick = [h](wb::Persistent*) { h(); };
            return [g] { g->Click(); };
        }},
        GuardCase{"SocketRead", [](Form&, Handler h) -> Deliver {
            auto server = std::make_shared<QTcpServer>();
            server->listen(QHostAddress::LocalHost);
            std::shared_ptr<wb::net::ClientSocket> socket = wb::net::MakeClientSocket();
            socket->OnRead = [h](const std::string&) { h(); };
            socket->Open("127.0.0.1", server->serverPort());
            QTest::qWaitFor([&] { return server->hasPendingConnections(); });
            QTcpSocket* peer = server->nextPendingConnection();
            return [server, socket, peer] { if (peer) peer->write("x"); };
        }}),
    GuardCaseName);

} // namespace
} // namespace wb::gui::test
