#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QScrollBar>
#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <thread>

#include "platform/base/TempDir.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/MediaPlayer.h"
#include "platform/gui/SaveDialog.h"
#include "platform/testing/GuiTest.h"
#include "platform/media/RecordingWavePlayer.h"

namespace {

using namespace wb::gui;
namespace test = wb::gui::test;

struct Fixture : ::testing::Test {
    Fixture() { test::App(); }
};

using ControlsTest = Fixture;

TEST_F(ControlsTest, DisabledButtonsAndMenuItemsDoNothing) {
    Form f(nullptr, FormKind::Main);
    Button b(f, "b", "Go");
    MenuItem menu(f, "m", "&File");
    MenuItem item(menu, "i", "&Save", "Ctrl+S");
    MenuItem sep(menu, "s", "-");
    int clicks = 0, chosen = 0;
    b.OnClick = [&](wb::Persistent*) { ++clicks; };
    item.OnClick = [&](wb::Persistent*) { ++chosen; };
    for (bool enabled : {true, false}) {
        b.SetEnabled(enabled);
        item.SetEnabled(enabled);
        b.Click();
        item.Click();
    }
    EXPECT_EQ(std::pair(clicks, chosen), std::pair(1, 1));
    EXPECT_EQ(item.Caption(), "&Save");
    EXPECT_EQ(item.ShortCut(), "Ctrl+S");
    EXPECT_TRUE(sep.Action()->isSeparator());
    // The menu bar sits above the client area.
    f.SetClientSize(200, 100);
    EXPECT_GT(f.Window()->height(), 100);
    EXPECT_EQ(f.Client()->height(), 100);
}

// A control hidden before its form is shown stays off the screen when the
// form appears, and shows once it is made visible again.
TEST_F(ControlsTest, AHiddenControlStaysOffTheShownForm) {
    Form f(nullptr, FormKind::Dialog);
    Label hidden(f, "h", "hidden");
    Label shown(f, "s", "shown");
    hidden.SetVisible(false);
    EXPECT_TRUE(shown.Visible());  // its own word, though the form is not shown yet
    f.Show();
    EXPECT_TRUE(shown.Widget()->isVisible());
    EXPECT_FALSE(hidden.Widget()->isVisible());
    EXPECT_FALSE(hidden.Visible());
    hidden.SetVisible(true);
    EXPECT_TRUE(hidden.Widget()->isVisible());
    shown.SetVisible(false);
    EXPECT_FALSE(shown.Widget()->isVisible());
}

TEST_F(ControlsTest, LabelsSizeThemselvesUnlessTold) {
    Form f(nullptr, FormKind::Dialog);
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

TEST_F(ControlsTest, EditsLetTheKeyHandlerDropCharactersAndKeepTheirLimit) {
    Form f(nullptr, FormKind::Main);
    Edit year(f, "year");
    year.SetMaxLength(4);
    std::string seen;
    year.OnKeyPress = [&](wb::Persistent*, char& key) {
        seen += key;
        if ((key < '0' || key > '9') && key != '\b') key = 0;
    };
    int changes = 0;
    year.OnChange = [&](wb::Persistent*) { ++changes; };
    f.Show();
    QTest::keyClicks(year.Widget(), "1a9x8477");
    EXPECT_EQ(year.Text(), "1984");
    QTest::keyClick(year.Widget(), Qt::Key_Backspace);
    EXPECT_EQ(year.Text(), "198");
    EXPECT_EQ(seen, "1a9x84\b");  // a full box inserts nothing to judge
    EXPECT_EQ(changes, 5);
    year.SetText("");  // the program's own text is not filtered
    year.SetText("abcd");
    EXPECT_EQ(year.Text(), "abcd");
    EXPECT_EQ(changes, 7);
}

// A digit box's shortcuts work and a paste is judged as typing is: Ctrl+A,
// C, X and V come with the control characters a keyboard gives; digits are typed.
TEST_F(ControlsTest, EditShortcutsPassTheKeyHandlerThatJudgesPastes) {
    struct Case { const char *name, *text, *clipboard, *keys, *after; };
    for (const Case& c : {Case{"SelectAllThenType", "1984", "", "A2", "2|"}, Case{"Cut", "1984", "", "AX", "|1984"},
                          Case{"Copy", "1984", "", "AC", "1984|1984"},
                          Case{"PasteOverTheSelection", "1984", "77", "AV", "77|77"},
                          Case{"PasteWithALetterIsRefused", "19", "8a", "V", "19|8a"},
                          Case{"PasteKeepsTheLimit", "19", "8765", "V", "1987|8765"}}) {
        Edit year(nullptr);
        year.SetMaxLength(4);
        year.SetText(c.text);
        year.OnKeyPress = [](wb::Persistent*, char& key) { key = key >= '0' && key <= '9' ? key : 0; };
        QApplication::clipboard()->setText(c.clipboard);
        for (const char* k = c.keys; *k; ++k) {
            if (*k <= '9') {
                QTest::keyClick(year.Widget(), *k);
                continue;
            }
            QKeyEvent chord(QEvent::KeyPress, Qt::Key_A + *k - 'A', Qt::ControlModifier, QString(QChar(*k - '@')));
            QApplication::sendEvent(year.Widget(), &chord);
        }
        EXPECT_EQ(year.Text() + "|" + QApplication::clipboard()->text().toStdString(), c.after) << c.name;
    }
}

// However many items, a list drops its row count (8 unless set) and scrolls.
TEST_F(ControlsTest, ComboListsDropTheirRowCountWithAScrollBar) {
    struct Case { const char* name; int items, count, rows; };
    for (const Case& c :
         {Case{"EightUnlessSet", 115, 0, 8}, Case{"TheCountSet", 115, 11, 11}, Case{"FewItems", 3, 0, 3}}) {
        Form f(nullptr, FormKind::Main);
        ComboBox box(f, "genre");
        box.SetItems(std::vector<std::string>(size_t(c.items), "Genre"));
        if (c.count) box.SetDropDownCount(c.count);
        f.Show();
        static_cast<QComboBox*>(box.Widget())->showPopup();
        QAbstractItemView* view = static_cast<QComboBox*>(box.Widget())->view();
        int rows = 0;
        for (int i = 0; i < c.items; ++i)
            rows += view->viewport()->rect().contains(view->visualRect(view->model()->index(i, 0)));
        EXPECT_EQ(rows, c.rows) << c.name;
        EXPECT_EQ(view->verticalScrollBar()->isVisible(), c.items > c.rows) << c.name;
    }
}

// The program's text is the edit's text at once, and the widget shows it
// before it is drawn, typed into or clicked.
TEST_F(ControlsTest, AnEditShowsTheProgramsTextBeforeItIsUsed) {
    Form f(nullptr, FormKind::Main);
    Edit e(f, "e");
    auto* line = static_cast<QLineEdit*>(e.Widget());
    std::vector<std::string> seen;
    e.OnChange = [&](wb::Persistent*) { seen.push_back(e.Text()); };
    f.Show();
    QApplication::processEvents();
    e.SetText("first");
    e.SetText("second");
    e.SetText("second");  // no change, no event
    e.Widget()->grab();
    EXPECT_EQ(line->text(), "second");
    e.SetText("typed ");
    QTest::keyClicks(line, "on");
    e.SetMaxLength(3);  // cuts the text: a change
    e.SetText("abcdef");
    e.SetText("abcxyz");  // the same text once cut
    e.SetText("");
    QApplication::processEvents();
    EXPECT_EQ(line->text(), "");
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "second", "typed ", "typed o", "typed on", "typ", "abc", ""}));
}

TEST_F(ControlsTest, SortedComboBoxesOrderCaseBlindAndMayChooseNothing) {
    Form f(nullptr, FormKind::Main);
    ComboBox genre(f, "genre");
    genre.SetSorted(true);
    genre.SetItems({"rock", "Acid", "Pop", "blues"});
    EXPECT_EQ(genre.Items(), (std::vector<std::string>{"Acid", "blues", "Pop", "rock"}));
    EXPECT_EQ(genre.ItemIndex(), -1);
    EXPECT_EQ(genre.Text(), "");
    int changes = 0;
    genre.OnChange = [&](wb::Persistent*) { ++changes; };
    genre.SetItemIndex(3);
    EXPECT_EQ(genre.Text(), "rock");
    genre.SetItemIndex(99);  // out of range: nothing chosen
    EXPECT_EQ(genre.ItemIndex(), -1);
    EXPECT_EQ(changes, 2);
}

TEST_F(ControlsTest, ComboItemsCarryDataAndAddingChoosesNothing) {
    Form f(nullptr, FormKind::Main);
    ComboBox box(f, "box");
    int changes = 0;
    box.OnChange = [&](wb::Persistent*) { ++changes; };
    box.AddItem("b", {}, "/b");
    box.AddItem("a", {}, "/a");
    EXPECT_EQ(box.ItemIndex(), -1);
    box.SetItemIndex(0);
    box.SetSorted(true);
    box.AddItem("A0", {}, "/a0");  // before the chosen one: the choice follows its item
    EXPECT_EQ(box.Items(), (std::vector<std::string>{"a", "A0", "b"}));
    EXPECT_EQ(box.IndexOfData("/a0"), 1);
    EXPECT_EQ(box.IndexOfData("/none"), -1);
    EXPECT_EQ(box.ItemData(2), "/b");
    box.Clear();
    EXPECT_EQ(box.Count(), 0);
    EXPECT_EQ(changes, 1);
}

// An owner-drawn box draws its chosen item on its face through the canvas,
// with the face's state; a box drawn by the style never asks.
TEST_F(ControlsTest, OwnerDrawnComboBoxesDrawTheFaceItemThroughTheCanvas) {
    struct Case { const char* name; bool ownerDraw; int chosen; bool focused; int drawnOnFace; };  // -1: none drawn
    for (const Case& c : {Case{"StyleDrawn", false, 1, false, -1}, Case{"ChosenItem", true, 2, false, 2},
                          Case{"FocusedFace", true, 1, true, 1}, Case{"NothingChosen", true, -1, false, -1}}) {
        SCOPED_TRACE(c.name);
        Form f(nullptr, FormKind::Main);
        ComboBox box(f, "box");
        box.SetBounds(0, 0, 120, 24);
        for (const char* t : {"zero", "one", "two"}) box.AddItem(t);
        box.SetItemIndex(c.chosen);
        box.SetOwnerDraw(c.ownerDraw);
        const TColor colours[] = {clRed, clLime, clBlue};
        std::vector<int> drawn;
        TOwnerDrawState faceState = 0;
        Rect faceRect;
        box.OnDrawItem = [&](ComboBox*, Canvas& canvas, int index, const Rect& r, TOwnerDrawState state) {
            drawn.push_back(index);
            faceState = state;
            faceRect = r;
            canvas.Brush() = {colours[index], BrushStyle::Solid};
            canvas.FillRect(r);
        };
        f.Show();
        if (c.focused) {
            box.SetFocus();
            ASSERT_TRUE(test::Eventually([&] { return box.Focused(); }));
        }
        const QImage shot = static_cast<QWidget*>(box.NativeWidget())->grab().toImage();
        if (c.drawnOnFace < 0) {
            EXPECT_TRUE(drawn.empty());
            continue;
        }
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn.back(), c.drawnOnFace);
        EXPECT_TRUE(faceState & odComboBoxEdit);
        EXPECT_EQ(bool(faceState & odFocused), c.focused);
        const Point mid{(faceRect.left + faceRect.right) / 2, (faceRect.top + faceRect.bottom) / 2};
        EXPECT_EQ(shot.pixel(mid.x, mid.y) | 0xFF000000u, ToQRgb(colours[c.drawnOnFace]));
    }
}

TEST_F(ControlsTest, TrackBarsFireOnChangeOnlyWhenThePositionMoves) {
    Form f(nullptr, FormKind::Dialog);
    TrackBar t(f, "t");
    TrackBar v(f, "v", Orientation::Vertical);
    t.SetRange(1, 100);
    int changes = 0;
    t.OnChange = [&](wb::Persistent*) { ++changes; };
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
}

TEST_F(ControlsTest, UpDownStepsByItsIncrementWithinItsRange) {
    Form f(nullptr, FormKind::Dialog);
    UpDown u(f, "u");
    u.SetRange(1, 20);
    u.SetIncrement(-1);
    u.SetPosition(20);
    std::vector<UpDownButton> seen;
    u.OnClick = [&](wb::Persistent*, UpDownButton b) { seen.push_back(b); };
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

TEST_F(ControlsTest, ProgressBarServesAsProgress) {
    Form f(nullptr, FormKind::Dialog);
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

TEST_F(ControlsTest, ModalFormsEndWithTheirResult) {
    Form f(nullptr, FormKind::Dialog);
    Button ok(f, "ok", "OK");
    ok.OnClick = [&](wb::Persistent*) { f.SetModalResult(1); };
    test::ModalDriver driver;
    driver.OnDialog([](QWidget* d) { d->findChild<QAbstractButton*>("ok")->click(); });
    EXPECT_EQ(f.ShowModal(), 1);
    // The driver answers each window once, so a second form.
    Form g(nullptr, FormKind::Dialog);
    int closed = 0;
    g.OnClose = [&](wb::Persistent*) { ++closed; };
    driver.OnDialog([](QWidget* d) { d->close(); });
    EXPECT_EQ(g.ShowModal(), 0);
    EXPECT_EQ(closed, 1);
}

TEST_F(ControlsTest, TheMainFormRunsUntilClosed) {
    Form f(nullptr, FormKind::Main);
    int closed = 0;
    f.OnClose = [&](wb::Persistent*) { ++closed; };
    Form::Post([&] {
        QTest::keyClick(f.Window(), Qt::Key_Escape);  // does not close the program's window
        EXPECT_TRUE(f.Visible());
        f.Close();
    });
    EXPECT_EQ(f.RunAsMain(), 0);
    EXPECT_EQ(closed, 1);
}

TEST_F(ControlsTest, SaveDialogAddsTheDefaultExtension) {
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

TEST_F(ControlsTest, MediaPlayerWorksOnlyWithAFileAndShowsStatusFromAnyThread) {
    Form f(nullptr, FormKind::Dialog);
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

TEST_F(ControlsTest, ScreenshotsIncludeTheMenuBar) {
    wb::TempDir dir("forms-test");
    Form f(nullptr, FormKind::Main);
    MenuItem menu(f, "m", "&File");
    f.SetClientSize(120, 80);
    ASSERT_TRUE(f.SaveScreenshot(dir / "f.png"));
    QImage shot((dir / "f.png").c_str());
    EXPECT_EQ(shot.width(), 120);
    EXPECT_GT(shot.height(), 80);
}

} // namespace
