#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <thread>

#include "platform/base/TempDir.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/MediaPlayer.h"
#include "platform/gui/SaveDialog.h"
#include "platform/testing/GuiTest.h"
#include "platform/media/RecordingWavePlayer.h"

namespace {

using namespace wb::gui::widgets;
using wb::gui::OpenFileOptions;
using wb::gui::QtNameFilters;
using wb::gui::ShowSaveFileDialog;
namespace test = wb::gui::test;

struct Fixture : ::testing::Test {
    Fixture() { test::App(); }
};

using FormsTest = Fixture;

TEST_F(FormsTest, DisabledButtonsAndMenuItemsDoNothing) {
    Form f("f", FormKind::Main);
    Button b(f, "b", "Go");
    MenuItem menu(f, "m", "&File");
    MenuItem item(menu, "i", "&Save", "Ctrl+S");
    MenuItem sep(menu, "s", "-");
    int clicks = 0, chosen = 0;
    b.OnClick = [&] { ++clicks; };
    item.OnClick = [&] { ++chosen; };
    b.Click();
    item.Click();
    b.SetEnabled(false);
    item.SetEnabled(false);
    b.Click();
    item.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(item.Caption(), "&Save");
    EXPECT_EQ(item.ShortCut(), "Ctrl+S");
    EXPECT_TRUE(sep.Action()->isSeparator());
    // The menu bar sits above the client area.
    f.SetClientSize(200, 100);
    EXPECT_GT(f.Window()->height(), 100);
    EXPECT_EQ(f.Client()->height(), 100);
}

TEST_F(FormsTest, VisibleIsTheControlsOwnFlag) {
    Form f("f", FormKind::Dialog);
    Label l(f, "l", "text");
    EXPECT_TRUE(l.Visible());  // the form itself is not shown
    l.SetVisible(false);
    EXPECT_FALSE(l.Visible());
    f.Show();
    EXPECT_FALSE(l.Visible());
    l.SetVisible(true);
    EXPECT_TRUE(l.Visible());
    f.Close();
}

TEST_F(FormsTest, LabelsSizeThemselvesUnlessTold) {
    Form f("f", FormKind::Dialog);
    Label grows(f, "g", "a");
    grows.SetBounds(5, 6, 1, 1);
    grows.SetCaption("a much longer caption");
    EXPECT_GT(grows.Width(), 50);
    EXPECT_EQ(grows.Left(), 5);
    Label fixed(f, "x");
    fixed.SetAutoSize(false);
    fixed.SetBounds(0, 0, 20, 10);
    fixed.SetCaption("a much longer caption");
    EXPECT_EQ(fixed.Width(), 20);
}

TEST_F(FormsTest, TrackBarsFireOnChangeOnlyWhenThePositionMoves) {
    Form f("f", FormKind::Dialog);
    TrackBar t(f, "t");
    TrackBar v(f, "v", Orientation::Vertical);
    t.SetRange(1, 100);
    int changes = 0;
    t.OnChange = [&] { ++changes; };
    t.SetPosition(50);
    t.SetPosition(50);
    t.SetPosition(500);  // kept within the range
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(t.Position(), 100);
    t.SetLineSize(3);
    t.SetPosition(10);
    t.StepBy(-2);
    EXPECT_EQ(t.Position(), 4);
    // A vertical bar has its minimum at the top.
    v.SetRange(0, 100);
    v.SetBounds(0, 0, 30, 200);
    f.Show();
    v.SetPosition(0);
    QTest::mouseClick(v.Widget(), Qt::LeftButton, {}, QPoint(15, 190));
    EXPECT_GT(v.Position(), 0);
    f.Close();
}

TEST_F(FormsTest, UpDownStepsByItsIncrementWithinItsRange) {
    Form f("f", FormKind::Dialog);
    UpDown u(f, "u");
    u.SetRange(1, 20);
    u.SetIncrement(-1);
    u.SetPosition(20);
    std::vector<UpDownButton> seen;
    u.OnClick = [&](UpDownButton b) { seen.push_back(b); };
    u.Click(UpDownButton::Up);
    EXPECT_EQ(u.Position(), 19);
    u.Click(UpDownButton::Down);
    u.Click(UpDownButton::Down);
    EXPECT_EQ(u.Position(), 20);  // held at the end, the click still reported
    EXPECT_EQ(seen.size(), 3u);
    // The arrows on screen do the same.
    u.Widget()->findChild<QToolButton*>("up")->click();
    EXPECT_EQ(u.Position(), 19);
    u.SetEnabled(false);
    u.Click(UpDownButton::Up);
    EXPECT_EQ(u.Position(), 19);
    u.SetPosition(99);
    EXPECT_EQ(u.Position(), 20);
}

TEST_F(FormsTest, ProgressBarServesAsProgress) {
    Form f("f", FormKind::Dialog);
    ProgressBar p(f, "p");
    p.SetRange(0, 23);
    wb::Progress& progress = p;
    progress.SetVisible(false);
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(progress.Max(), 23);
    progress.SetPosition(30);
    EXPECT_EQ(p.Position(), 23);
    progress.SetVisible(true);
    EXPECT_TRUE(p.Visible());
}

TEST_F(FormsTest, ModalFormsEndWithTheirResult) {
    Form f("f", FormKind::Dialog);
    Button ok(f, "ok", "OK");
    ok.OnClick = [&] { f.SetModalResult(1); };
    test::ModalDriver driver;
    driver.OnDialog([](QDialog* d) { d->findChild<QAbstractButton*>("ok")->click(); });
    EXPECT_EQ(f.ShowModal(), 1);
    // The driver answers each window once, so a second form.
    Form g("g", FormKind::Dialog);
    int closed = 0;
    g.OnClose = [&] { ++closed; };
    driver.OnDialog([](QDialog* d) { d->close(); });
    EXPECT_EQ(g.ShowModal(), 0);
    EXPECT_EQ(closed, 1);
}

TEST_F(FormsTest, TheMainFormRunsUntilClosed) {
    Form f("main", FormKind::Main);
    int closed = 0;
    f.OnClose = [&] { ++closed; };
    Form::Post([&] {
        QTest::keyClick(f.Window(), Qt::Key_Escape);  // does not close the program's window
        EXPECT_TRUE(f.Visible());
        f.Close();
    });
    EXPECT_EQ(f.RunAsMain(), 0);
    EXPECT_EQ(closed, 1);
}

TEST_F(FormsTest, SaveDialogAddsTheDefaultExtension) {
    wb::TempDir dir("forms-test");
    test::ModalDriver driver;
    OpenFileOptions o;
    o.filter = "Sound Files (*.wav)|*.wav";
    o.defaultExt = "*.wav";
    o.initialDir = dir.Path();
    driver.AnswerFileDialog(dir / "take");
    EXPECT_EQ(ShowSaveFileDialog(o), dir / "take.wav");
    EXPECT_EQ(driver.FileDialogFilters().back(), "Sound Files (*.wav)");
    driver.AnswerFileDialog(std::nullopt);
    EXPECT_FALSE(ShowSaveFileDialog(o));
    EXPECT_EQ(QtNameFilters("Waves (*.wav)|*.wav|All|*"), "Waves (*.wav);;All (*)");
}

TEST_F(FormsTest, MediaPlayerWorksOnlyWithAFileAndShowsStatusFromAnyThread) {
    Form f("f", FormKind::Dialog);
    wb::media::RecordingWavePlayer player;
    MediaPlayer m(f, "m", player);
    m.Press(MediaPlayer::Btn::Play);
    EXPECT_TRUE(player.calls.empty());
    m.SetFileName("/x.wav");
    EXPECT_TRUE(m.Open());
    m.Press(MediaPlayer::Btn::Pause);
    m.Close();
    m.Press(MediaPlayer::Btn::Stop);
    EXPECT_EQ(player.calls, (std::vector<std::string>{"open /x.wav", "pause", "close"}));
    std::thread([&] { player.Say("from the playback thread"); }).join();
    EXPECT_EQ(m.Status(), "");
    QCoreApplication::processEvents();
    EXPECT_EQ(m.Status(), "from the playback thread");
}

TEST_F(FormsTest, ScreenshotsIncludeTheMenuBar) {
    wb::TempDir dir("forms-test");
    Form f("f", FormKind::Main);
    MenuItem menu(f, "m", "&File");
    f.SetClientSize(120, 80);
    ASSERT_TRUE(f.SaveScreenshot(dir / "f.png"));
    QImage shot((dir / "f.png").c_str());
    EXPECT_EQ(shot.width(), 120);
    EXPECT_GT(shot.height(), 80);
}

} // namespace
