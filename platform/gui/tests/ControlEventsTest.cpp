#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Canvas.h"
#include "platform/gui/Form.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/Image.h"
#include "platform/gui/StdCtrls.h"
#include "platform/testing/GuiTest.h"

namespace {

using namespace wb::gui;

// A form with an edit inside a group box and one outside it; each row drives
// Qt input at a widget and expects what the control's events report.
struct Scene {
    QApplication& app = wb::gui::test::App();
    std::vector<std::string> log;
    Form form{nullptr, FormKind::Dialog};
    GroupBox group{form, "group", "Group"};
    Edit inner{group, "inner"};
    Edit outer{form, "outer"};

    Scene() {
        form.SetBounds(0, 0, 300, 200);
        group.SetBounds(10, 10, 140, 100);
        inner.SetBounds(10, 30, 100, 24);
        outer.SetBounds(170, 40, 100, 24);
        for (WidgetControl* c : std::vector<WidgetControl*>{&group, &inner, &outer}) {
            const std::string n = c->Name();
            c->OnEnter = [this, n](wb::Persistent*) { log.push_back("enter " + n); };
            c->OnExit = [this, n](wb::Persistent*) { log.push_back("exit " + n); };
            c->OnKeyDown = [this, n](wb::Persistent*, int& key, TShiftState s) {
                log.push_back("down " + n + " " + std::to_string(key) + (s & ssCtrl ? " ctrl" : ""));
                if (key == 'X') key = 0;  // eaten: the edit never sees it
            };
            c->OnKeyUp = [this, n](wb::Persistent*, int& key, TShiftState) {
                log.push_back("up " + n + " " + std::to_string(key));
            };
            c->OnMouseDown = [this, n](wb::Persistent*, TMouseButton b, TShiftState s, int x, int y) {
                log.push_back("press " + n + " " + std::to_string(b) + (s & ssDouble ? " double" : "") + " " +
                              std::to_string(x) + "," + std::to_string(y));
            };
            c->OnDblClick = [this, n](wb::Persistent*) { log.push_back("dblclick " + n); };
        }
        form.Show();
        QApplication::processEvents();
    }
    QWidget* W(WidgetControl& c) { return static_cast<QWidget*>(c.NativeWidget()); }
};

struct EventCase {
    std::string name;
    std::function<void(Scene&)> drive;
    std::vector<std::string> expected;
};

void PrintTo(const EventCase& c, std::ostream* os) { *os << c.name; }

using ControlEvents = ::testing::TestWithParam<EventCase>;

TEST_P(ControlEvents, ReachTheControlAsItsEvents) {
    Scene s;
    s.inner.SetFocus();
    QApplication::processEvents();
    s.log.clear();
    GetParam().drive(s);
    QApplication::processEvents();
    EXPECT_EQ(s.log, GetParam().expected);
}

const EventCase kCases[] = {
    {"FunctionKeyAsVirtualKey",
     [](Scene& s) { QTest::keyClick(s.W(s.inner), Qt::Key_F5); },
     {"down inner 116", "up inner 116"}},
    {"LetterWithControl",
     [](Scene& s) { QTest::keyClick(s.W(s.inner), Qt::Key_A, Qt::ControlModifier); },
     {"down inner 17 ctrl", "down inner 65 ctrl", "up inner 65", "up inner 17"}},
    {"FocusLeavingTheGroupExitsBoth",
     [](Scene& s) { s.outer.SetFocus(); },
     {"exit inner", "exit group", "enter outer"}},
    {"FocusComingIntoTheGroupEntersOuterFirst",
     [](Scene& s) {
         s.outer.SetFocus();
         QApplication::processEvents();
         s.log.clear();
         s.inner.SetFocus();
     },
     {"exit outer", "enter group", "enter inner"}},
    {"PressInControlCoordinates",
     [](Scene& s) { QTest::mousePress(s.W(s.outer), Qt::LeftButton, {}, QPoint(7, 5)); },
     // The press gives the edit the focus first.
     {"exit inner", "exit group", "enter outer", "press outer 0 7,5"}},
    {"DoubleClickIsAPressThenTheEvent",
     [](Scene& s) { QTest::mouseDClick(s.W(s.outer), Qt::LeftButton, {}, QPoint(3, 4)); },
     {"exit inner", "exit group", "enter outer", "press outer 0 double 3,4", "dblclick outer"}},
    {"AKeyEatenByItsHandlerNeverReachesTheEdit",
     [](Scene& s) { QTest::keyClicks(s.W(s.inner), "AXB"); s.log = {s.inner.Text()}; },  // the text, not the events
     {"AB"}},
};

INSTANTIATE_TEST_SUITE_P(Base, ControlEvents, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(ControlEventsPaint, APictureDrawsThroughTheOnePaintEntryAtItsSize) {
    wb::gui::test::App();
    Form form(nullptr, FormKind::Dialog);
    Image image(form, "image");
    image.SetBounds(5, 5, 40, 30);
    int w = 0, h = 0;
    image.OnPaint = [&](Canvas& c, int width, int height) {
        w = width;
        h = height;
        c.Brush() = {clRed, BrushStyle::Solid};
        c.FillRect({0, 0, width, height});
    };
    form.Show();
    QImage shot = static_cast<QWidget*>(image.NativeWidget())->grab().toImage();
    EXPECT_EQ(std::pair(w, h), std::pair(40, 30));
    EXPECT_EQ(QColor(shot.pixel(39, 29)), QColor(Qt::red));
}

} // namespace
