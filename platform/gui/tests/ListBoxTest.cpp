// The list box: each of its events reaches the handler through the guard,
// and owner drawing and hit tests agree on where the items are.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <map>
#include <memory>
#include <utility>

#include "platform/gui/ListBox.h"
#include "platform/gui/tests/GuardedEvents.h"

namespace wb::gui::test {
namespace {

QWidget* Viewport(ListBox& l) { return static_cast<QListWidget*>(l.Widget())->viewport(); }

QPoint CenterOf(ListBox& l, int i) {
    const Rect r = l.ItemRect(i);
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2) - Viewport(l)->mapTo(l.Widget(), QPoint(0, 0));
}

void Drop(ListBox& l, QEvent::Type type) {
    QMimeData data;
    const QPoint at = CenterOf(l, 0);
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Viewport(l), type == QEvent::Drop ? static_cast<QEvent*>(&drop) : &enter);
}

// Each row sets the handler on a shown list of three items, then makes the
// list fire it as the user would.
GuardCase ListCase(const char* name, std::function<void(ListBox&, const Handler&)> fire) {
    return {name, [fire](Form& f, Handler h) -> Deliver {
                f.SetClientSize(200, 200);
                auto* l = new ListBox(f, "list");
                l->SetBounds(0, 0, 160, 160);
                for (const char* t : {"one", "two", "three"}) l->AddItem(t);
                f.Show();
                QCoreApplication::processEvents();
                return [l, h, fire] { fire(*l, h); };
            }};
}

INSTANTIATE_TEST_SUITE_P(
    ListBox, GuardTest,
    ::testing::Values(
        ListCase("ListCurrentChange", [](ListBox& l, const Handler& h) {
            l.OnCurrentChange = [h](wb::Persistent*) { h(); };
            l.SetItemIndex(l.ItemIndex() == 1 ? 2 : 1);
        }),
        ListCase("ListClick", [](ListBox& l, const Handler& h) {
            l.OnClick = [h](wb::Persistent*) { h(); };
            QTest::mouseClick(Viewport(l), Qt::LeftButton, {}, CenterOf(l, 1));
        }),
        ListCase("ListDoubleClick", [](ListBox& l, const Handler& h) {
            l.OnDblClick = [h](wb::Persistent*) { h(); };
            QTest::mouseDClick(Viewport(l), Qt::LeftButton, {}, CenterOf(l, 0));
        }),
        ListCase("ListKeyUp", [](ListBox& l, const Handler& h) {
            l.OnKeyUp = [h](wb::Persistent*, int& key, TShiftState) { if (key == VK_F5) h(); };
            FocusForKeys(l);
            QTest::keyRelease(l.Widget(), Qt::Key_F5);
        }),
        ListCase("ListDrawItem", [](ListBox& l, const Handler& h) {
            // Counts the grab's drawing only: the error box makes the list draw again.
            l.SetStyle(ListBox::Style::OwnerDrawFixed);
            l.OnDrawItem = [h, once = std::make_shared<bool>(true)](wb::Persistent*, Canvas&, int i, const Rect&, bool) {
                if (i == 0 && std::exchange(*once, false)) h();
            };
            l.Widget()->grab();
        }),
        ListCase("ListDragOver", [](ListBox& l, const Handler& h) {
            l.OnDragOver = [h](wb::Persistent*, wb::Persistent*, int, int, bool&) { h(); };
            Drop(l, QEvent::DragEnter);
        }),
        ListCase("ListDragDrop", [](ListBox& l, const Handler& h) {
            l.OnDragOver = [](wb::Persistent*, wb::Persistent*, int, int, bool&) {};
            l.OnDragDrop = [h](wb::Persistent*, wb::Persistent*, int, int) { h(); };
            Drop(l, QEvent::DragEnter);
            Drop(l, QEvent::Drop);
        })),
    GuardCaseName);

// What the owner draws, a click and a drop all use control coordinates:
// the item drawn at a rectangle is the one ItemAtPos finds there.
TEST(ListBoxGeometry, DrawnRectanglesAreTheItemsHitTestsFind) {
    App();
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
} // namespace wb::gui::test
