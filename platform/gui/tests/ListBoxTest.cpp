// The list box: each of its events reaches the handler through the guard,
// and owner drawing and hit tests agree on where the items are.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QThread>
#include <functional>
#include <map>
#include <stdexcept>

#include "platform/gui/Form.h"
#include "platform/gui/ListBox.h"
#include "platform/testing/GuiTest.h"

namespace {

using namespace wb::gui;
namespace test = wb::gui::test;

QWidget* Viewport(ListBox& l) { return static_cast<QListWidget*>(l.Widget())->viewport(); }

QPoint CenterOf(ListBox& l, int i) {
    const Rect r = l.ItemRect(i);
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2) - Viewport(l)->mapTo(l.Widget(), QPoint(0, 0));
}

void Drop(ListBox& l, QEvent::Type type) {
    QMimeData data;
    const QPointF at = CenterOf(l, 0);
    if (type == QEvent::Drop) {
        QDropEvent e(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(l), &e);
    } else {
        QDragEnterEvent e(at.toPoint(), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(l), &e);
    }
}

struct EventCase {
    const char* name;
    // Sets the handler on the list, then makes the list fire it as the user would.
    std::function<void(ListBox&, const std::function<void()>& handler)> fire;
};

void PrintTo(const EventCase& c, std::ostream* os) { *os << c.name; }

class ListBoxEvents : public ::testing::TestWithParam<EventCase> {};

// Fired from Qt's own event handling, an exception that no guard caught
// would end the test binary.
TEST_P(ListBoxEvents, RunGuardedAndTheListGoesOn) {
    test::App("Lists");
    Form f(nullptr, FormKind::Main);
    f.SetClientSize(200, 200);
    ListBox list(f, "list");
    list.SetBounds(0, 0, 160, 160);
    for (const char* t : {"one", "two", "three"}) list.AddItem(t);
    f.Show();
    QCoreApplication::processEvents();
    test::ModalDriver driver;
    int calls = 0;
    auto handler = [&] {
        if (++calls == 1) throw std::runtime_error("handler fails");
    };
    GetParam().fire(list, handler);
    ASSERT_TRUE(test::Eventually([&] { return driver.Messages().size() == 1; }));
    EXPECT_EQ(driver.Messages()[0].text, "handler fails");
    GetParam().fire(list, handler);
    EXPECT_TRUE(test::Eventually([&] { return calls >= 2; }));
    EXPECT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(list.Count(), 3);
    test::App();
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListBoxEvents,
    ::testing::Values(
        EventCase{"CurrentChange",
                  [](ListBox& l, const std::function<void()>& h) {
                      l.OnCurrentChange = [h](wb::Persistent*) { h(); };
                      l.SetItemIndex(l.ItemIndex() == 1 ? 2 : 1);
                  }},
        EventCase{"Click",
                  [](ListBox& l, const std::function<void()>& h) {
                      l.OnClick = [h](wb::Persistent*) { h(); };
                      QTest::mouseClick(Viewport(l), Qt::LeftButton, {}, CenterOf(l, 1));
                  }},
        EventCase{"DoubleClick",
                  [](ListBox& l, const std::function<void()>& h) {
                      l.OnDblClick = [h](wb::Persistent*) { h(); };
                      QTest::mouseDClick(Viewport(l), Qt::LeftButton, {}, CenterOf(l, 0));
                  }},
        EventCase{"KeyUp",
                  [](ListBox& l, const std::function<void()>& h) {
                      l.OnKeyUp = [h](wb::Persistent*, int& key, TShiftState) {
                          if (key == VK_F5) h();
                      };
                      // Keys reach the control that has the focus, which the box took.
                      l.Widget()->activateWindow();
                      l.SetFocus();
                      test::Eventually([&l] { return QApplication::focusWidget() == l.Widget(); });
                      QTest::keyRelease(l.Widget(), Qt::Key_F5);
                  }},
        EventCase{"DrawItem",
                  [](ListBox& l, const std::function<void()>& h) {
                      l.SetStyle(ListBox::Style::OwnerDrawFixed);
                      l.OnDrawItem = [h](wb::Persistent*, Canvas&, int i, const Rect&, bool) {
                          if (i == 0) h();
                      };
                      l.Widget()->grab();
                  }},
        EventCase{"DragOver",
                  [](ListBox& l, const std::function<void()>& h) {
                      l.OnDragOver = [h](wb::Persistent*, wb::Persistent*, int, int, bool&) { h(); };
                      Drop(l, QEvent::DragEnter);
                  }},
        EventCase{"DragDrop",
                  [](ListBox& l, const std::function<void()>& h) {
                      l.OnDragOver = [](wb::Persistent*, wb::Persistent*, int, int, bool&) {};
                      l.OnDragDrop = [h](wb::Persistent*, wb::Persistent*, int, int) { h(); };
                      Drop(l, QEvent::DragEnter);
                      Drop(l, QEvent::Drop);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// What the owner draws, a click and a drop all use control coordinates:
// the item drawn at a rectangle is the one ItemAtPos finds there.
TEST(ListBoxGeometry, DrawnRectanglesAreTheItemsHitTestsFind) {
    test::App();
    Form f(nullptr, FormKind::Main);
    f.SetClientSize(200, 120);
    ListBox list(f, "list");
    list.SetEdge(ListBox::Edge::Sunken);
    list.SetBounds(0, 0, 160, 100);
    list.SetStyle(ListBox::Style::OwnerDrawFixed);
    list.SetItemHeight(18);
    for (int i = 0; i < 20; ++i) list.AddItem("item " + std::to_string(i));
    f.Show();
    QCoreApplication::processEvents();
    list.SetTopIndex(3);
    EXPECT_EQ(list.TopIndex(), 3);
    std::map<int, Rect> drawn;
    list.OnDrawItem = [&](wb::Persistent*, Canvas&, int i, const Rect& r, bool) { drawn[i] = r; };
    list.Widget()->grab();
    ASSERT_TRUE(drawn.count(3));
    EXPECT_EQ(drawn[3], list.ItemRect(3));
    EXPECT_EQ(drawn[3].top, list.ClientRect().top);
    EXPECT_EQ(drawn[3].Height(), 18);
    for (const auto& [i, r] : drawn) EXPECT_EQ(list.ItemAtPos(r.left + 1, r.top + 1), i) << i;
    EXPECT_EQ(list.ItemAtPos(0, 0), -1);  // on the border
}

} // namespace
