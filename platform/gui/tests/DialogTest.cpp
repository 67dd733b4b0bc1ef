#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/gui/Dialog.h"
#include "platform/testing/GuiTest.h"

using namespace wb::gui;

namespace {

enum { kLabel = 100, kEdit, kButton, kCheck, kRadioA, kRadioB, kRadioC, kRadioD, kBar, kFrame, kOther };

DialogTemplate Table() {
    DialogTemplate t;
    t.caption = "Test dialog";
    t.fontName = "MS Sans Serif";
    t.pointSize = 8;
    t.cx = 200;
    t.cy = 120;
    t.controls = {
        {kFrame, ControlKind::GroupBox, "Frame", 5, 5, 190, 110},
        {kLabel, ControlKind::Static, "label", 10, 16, 80, 8, kCenter},
        {kEdit, ControlKind::Edit, "", 10, 28, 80, 13},
        {kButton, ControlKind::PushButton, "Press", 100, 28, 50, 14},
        {kCheck, ControlKind::CheckBox, "Check", 10, 46, 60, 10},
        {kRadioA, ControlKind::AutoRadio, "A", 10, 60, 30, 10},
        {kRadioB, ControlKind::AutoRadio, "B", 45, 60, 30, 10},
        {kRadioC, ControlKind::AutoRadio, "C", 80, 60, 30, 10, kGroup},
        {kRadioD, ControlKind::AutoRadio, "D", 115, 60, 30, 10},
        {kBar, ControlKind::ProgressBar, "", 10, 80, 150, 9},
        {kOther, ControlKind::PushButton, "Other", 100, 95, 50, 14},
    };
    return t;
}

struct Recorder {
    std::vector<std::pair<int, Notify>> events;
    DialogHost::CommandHandler Handler() {
        return [this](int id, Notify n) { events.emplace_back(id, n); };
    }
    int Count(int id, Notify n) const {
        int c = 0;
        for (auto& e : events) c += e.first == id && e.second == n;
        return c;
    }
};

template <class T>
T* As(Dialog& d, int id) {
    return qobject_cast<T*>(d.Item(id));
}

} // namespace

TEST(DialogUnits, ScaleWithTheFontAndRoundToNearest) {
    static_assert(AverageCharWidth(312) == 6);  // 52 letters of 6 px
    static_assert(AverageCharWidth(338) == 7);  // 6.5 px rounds up
    static_assert(MulDivRound(7, 6, 4) == 11);  // 10.5 rounds away from zero
    static_assert(MulDivRound(-7, 6, 4) == -11);
    BaseUnits b{6, 13};
    EXPECT_EQ(DluToPixelsX(356, b), 534);
    EXPECT_EQ(DluToPixelsY(282, b), 458);  // 458.25

    test::App();
    Dialog d(Table());
    BaseUnits u = d.Units();
    EXPECT_GE(u.cx, 4);
    EXPECT_GE(u.cy, 10);
    EXPECT_EQ(d.Window()->size(), QSize(DluToPixelsX(200, u), DluToPixelsY(120, u)));
    EXPECT_EQ(d.Item(kButton)->geometry(),
              QRect(DluToPixelsX(100, u), DluToPixelsY(28, u), DluToPixelsX(50, u), DluToPixelsY(14, u)));
    // A larger font makes a larger dialog of the same table.
    DialogTemplate big = Table();
    big.pointSize = 16;
    Dialog d2(big);
    EXPECT_GT(d2.Window()->width(), d.Window()->width() * 3 / 2);
    // Every designed face comes out as the desktop's sans font, at its size.
    const QFont times = DialogFont("Times New Roman", 9), sans = DialogFont("MS Sans Serif", 8);
    EXPECT_EQ(sans.styleHint(), QFont::SansSerif);
    EXPECT_EQ(QFontInfo(times).family(), QFontInfo(sans).family());
    EXPECT_EQ(times.pointSize(), 9);
}

TEST(Dialog, ControlsAreAddressedByIdAndReportClicks) {
    test::App();
    Dialog d(Table());
    Recorder rec;
    d.SetCommandHandler(rec.Handler());
    d.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d.Window()));

    EXPECT_EQ(d.GetItemText(kLabel), "label");
    d.SetItemText(kLabel, "a & b");
    EXPECT_EQ(As<QLabel>(d, kLabel)->text(), "a & b");
    EXPECT_TRUE(As<QLabel>(d, kLabel)->alignment() & Qt::AlignHCenter);
    d.SetItemText(kFrame, "New frame");
    EXPECT_EQ(As<QGroupBox>(d, kFrame)->title(), "New frame");
    // The frame lies below the controls it surrounds and takes no clicks.
    QTest::mouseClick(d.Item(kButton), Qt::LeftButton);
    EXPECT_EQ(rec.Count(kButton, Notify::Clicked), 1);

    d.EnableItem(kButton, false);
    EXPECT_FALSE(d.IsItemEnabled(kButton));
    QTest::mouseClick(d.Item(kButton), Qt::LeftButton);
    EXPECT_EQ(rec.Count(kButton, Notify::Clicked), 1);  // a disabled button is silent

    QTest::mouseClick(d.Item(kCheck), Qt::LeftButton);
    EXPECT_TRUE(d.IsItemChecked(kCheck));
    EXPECT_EQ(rec.Count(kCheck, Notify::Clicked), 1);
    d.CheckItem(kCheck, false);  // set by the program: no notification
    EXPECT_FALSE(d.IsItemChecked(kCheck));
    EXPECT_EQ(rec.Count(kCheck, Notify::Clicked), 1);

    EXPECT_THROW(d.GetItemText(9999), std::out_of_range);
}

TEST(Dialog, EditsNotifyEveryChangeTypedOrSet) {
    test::App();
    Dialog d(Table());
    Recorder rec;
    d.SetCommandHandler(rec.Handler());
    d.Show();
    QTest::keyClicks(d.Item(kEdit), "12");
    EXPECT_EQ(d.GetItemText(kEdit), "12");
    EXPECT_EQ(rec.Count(kEdit, Notify::Changed), 2);
    d.SetItemText(kEdit, "12");  // the same text notifies too
    d.SetItemText(kEdit, "0");
    EXPECT_EQ(rec.Count(kEdit, Notify::Changed), 4);
    EXPECT_EQ(d.GetItemText(kEdit), "0");
    // A handler that sets the edit again sees its own change once more.
    int depth = 0;
    d.SetCommandHandler([&](int id, Notify n) {
        if (id == kEdit && n == Notify::Changed && d.GetItemText(kEdit) != "0") {
            ++depth;
            d.SetItemText(kEdit, "0");
        }
    });
    QTest::keyClicks(d.Item(kEdit), "5");
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(d.GetItemText(kEdit), "0");
}

TEST(Dialog, AutomaticRadioButtonsKeepOneCheckPerGroup) {
    test::App();
    Dialog d(Table());
    Recorder rec;
    d.SetCommandHandler(rec.Handler());
    d.Show();
    QTest::mouseClick(d.Item(kRadioA), Qt::LeftButton);
    QTest::mouseClick(d.Item(kRadioC), Qt::LeftButton);
    EXPECT_TRUE(d.IsItemChecked(kRadioA));  // another group
    EXPECT_TRUE(d.IsItemChecked(kRadioC));
    QTest::mouseClick(d.Item(kRadioB), Qt::LeftButton);
    EXPECT_FALSE(d.IsItemChecked(kRadioA));
    EXPECT_TRUE(d.IsItemChecked(kRadioB));
    EXPECT_EQ(rec.Count(kRadioB, Notify::Clicked), 1);
    // The program may clear the checked one, and check one without clearing.
    d.CheckItem(kRadioB, false);
    EXPECT_FALSE(d.IsItemChecked(kRadioB));
    QTest::mouseClick(d.Item(kRadioA), Qt::LeftButton);
    EXPECT_TRUE(d.IsItemChecked(kRadioA));
    // Clicking a checked radio reports again and keeps it checked.
    QTest::mouseClick(d.Item(kRadioA), Qt::LeftButton);
    EXPECT_TRUE(d.IsItemChecked(kRadioA));
    EXPECT_EQ(rec.Count(kRadioA, Notify::Clicked), 3);
}

TEST(Dialog, ProgressBarRepaintsDuringOneLongHandler) {
    test::App();
    Dialog d(Table());
    d.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d.Window()));
    auto* bar = As<QProgressBar>(d, kBar);
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    bar->installEventFilter(&counter);
    std::vector<int> seen, paints;
    d.SetCommandHandler([&](int id, Notify) {
        if (id != kButton) return;
        d.SetProgressRange(kBar, 0, 100);
        for (int pos : {10, 40, 70, 100}) {
            d.SetProgressPos(kBar, pos);
            seen.push_back(d.GetProgressPos(kBar));
            paints.push_back(counter.paints);
        }
    });
    int before = counter.paints;
    QTest::mouseClick(d.Item(kButton), Qt::LeftButton);
    EXPECT_EQ(seen, (std::vector<int>{10, 40, 70, 100}));
    // Each step paints at once, while the handler still runs.
    ASSERT_EQ(paints.size(), 4u);
    EXPECT_GT(paints[0], before);
    for (size_t i = 1; i < paints.size(); ++i) EXPECT_GT(paints[i], paints[i - 1]);
}

TEST(Dialog, EnterMeansOkAndEscCancelWhileTheLogicDecides) {
    test::App();
    test::ModalDriver driver;
    {
        // Without logic, Esc ends the dialog with cancel.
        Dialog d(Table());
        driver.OnDialog([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        EXPECT_EQ(d.Run(), kIdCancel);
    }
    {
        Dialog d(Table());
        Recorder rec;
        d.SetCommandHandler([&](int id, Notify n) {
            rec.events.emplace_back(id, n);
            if (id == kIdOk) d.EndDialog(kIdOk);
        });
        driver.OnDialog([&](QWidget*) {
            QTest::keyClick(d.Item(kEdit), Qt::Key_Escape);  // reported, not obeyed
            EXPECT_TRUE(d.IsWindowVisible());
            d.Item(kEdit)->setFocus();
            QTest::keyClick(d.Item(kEdit), Qt::Key_Return);
        });
        EXPECT_EQ(d.Run(), kIdOk);
        EXPECT_EQ(rec.Count(kIdCancel, Notify::Clicked), 1);
        EXPECT_EQ(rec.Count(kIdOk, Notify::Clicked), 1);
    }
    {
        // Enter on a focused button presses that button instead.
        Dialog d(Table());
        Recorder rec;
        d.SetCommandHandler([&](int id, Notify n) {
            rec.events.emplace_back(id, n);
            if (id == kOther) d.EndDialog(7);
        });
        driver.OnDialog([&](QWidget*) {
            d.Item(kOther)->setFocus();
            QTest::keyClick(d.Item(kOther), Qt::Key_Return);
        });
        EXPECT_EQ(d.Run(), 7);
        EXPECT_EQ(rec.Count(kIdOk, Notify::Clicked), 0);
    }
    {
        // An opening that ends the dialog never shows it.
        Dialog d(Table());
        EXPECT_EQ(d.Run([&] { d.EndDialog(5); }), 5);
        EXPECT_FALSE(d.IsWindowVisible());
    }
}

TEST(Dialog, AnEscapedExceptionIsShownAndTheDialogGoesOn) {
    test::App("Parvex");
    test::ModalDriver driver;
    Dialog d(Table());
    int clicks = 0;
    d.SetCommandHandler([&](int id, Notify) {
        if (id != kButton) return;
        if (++clicks == 1) throw std::runtime_error("Disk full while writing x.b01");
    });
    d.Show();
    QTest::mouseClick(d.Item(kButton), Qt::LeftButton);
    QTest::mouseClick(d.Item(kButton), Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].title, "Parvex");
    EXPECT_EQ(driver.Messages()[0].text, "Disk full while writing x.b01");
    EXPECT_EQ(driver.Messages()[0].icon, QMessageBox::Critical);

    // Outside any dialog handler the application object catches it.
    struct Thrower : QObject {
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User) throw std::runtime_error("from an event");
            return QObject::event(e);
        }
    } thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    ASSERT_EQ(driver.Messages().size(), 2u);
    EXPECT_EQ(driver.Messages()[1].text, "from an event");
}

TEST(Dialog, MessageBoxesCarryTheTitleAndOneOkButton) {
    test::App("Parvex");
    test::ModalDriver driver;
    Dialog d(Table());
    d.Show();
    d.MessageBox("careful", MsgKind::Warning);
    d.MessageBox("broken", MsgKind::Error);
    d.MessageBox("done", MsgKind::Plain);
    ASSERT_EQ(driver.Messages().size(), 3u);
    EXPECT_EQ(driver.Messages()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(driver.Messages()[1].icon, QMessageBox::Critical);
    EXPECT_EQ(driver.Messages()[2].icon, QMessageBox::NoIcon);
    for (const auto& m : driver.Messages()) {
        EXPECT_EQ(m.title, "Parvex");
        EXPECT_EQ(m.buttons, 1);
    }
}

TEST(Dialog, WindowMenuItemsReachTheLogicWithTheirIds) {
    test::App();
    Dialog d(Table());
    std::vector<int> commands;
    d.SetSysCommandHandler([&](int id) { commands.push_back(id); });
    d.AppendSystemMenuItem(16, "&About Parvex");
    ASSERT_EQ(d.WindowMenu()->actions().size(), 1);
    EXPECT_EQ(d.WindowMenu()->actions()[0]->text(), "&About Parvex");
    d.WindowMenu()->actions()[0]->trigger();
    EXPECT_EQ(commands, std::vector<int>{16});
}

// A dialog is a form: a procedure put in front of its window sees the close
// box before the dialog's logic does, and may refuse it.
TEST(Dialog, AProcedureInFrontOfItsWindowSeesTheCloseFirst) {
    test::App();
    Dialog d(Table());
    Recorder r;
    d.SetCommandHandler(r.Handler());
    d.Show();
    bool refuse = true;
    Window& w = d.Handle();
    WindowProc below = w.GetWindowProc();
    w.SetWindowProc(MakeWindowProc([&, below](Window& win, Message& m) -> intptr_t {
        if (m.Msg == WM_CLOSE && refuse) return 0;
        return CallWindowProc(below, win, m);
    }));
    d.Window()->close();
    EXPECT_TRUE(d.IsWindowVisible());
    EXPECT_EQ(r.Count(kIdCancel, Notify::Clicked), 0);
    refuse = false;
    d.Window()->close();
    EXPECT_EQ(r.Count(kIdCancel, Notify::Clicked), 1);
    EXPECT_TRUE(d.IsWindowVisible());  // the logic did not end it
    d.EndDialog(kIdCancel);
    EXPECT_FALSE(d.IsWindowVisible());
}
