// The main dialog as a real window, headless: the user's clicks on the real
// controls, the further dialogs, screenshots, and the program itself.
#include "ParvexTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "file_splitter/DialogResources.h"
#include "file_splitter/ParvexIcon.h"
#include "file_splitter/PieceFiles.h"
#include "platform/base/File.h"
#include "platform/base/TextFile.h"
#include "platform/gui/Dialog.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/XdgSandbox.h"

using namespace parvex::test;
using wb::gui::Dialog;
namespace gt = wb::gui::test;

namespace {

class Window : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        icon = QIcon(QPixmap(kParvexIcon));
        runner = std::make_unique<wb::gui::QtDialogRunner>(icon);
        fs::create_directories(Path("prog"));
        dialog = std::make_unique<Dialog>(MainDialogTemplate());
        dialog->SetDialogIcon(icon);
        dlg = std::make_unique<CMainDlg>(*dialog);
        dlg->SetIntegration(parvex::Integration(wb::Registry::User(), Path("prog") + "/parvex"));
        dlg->SetRunner(*runner);
        dlg->SetShell(shell);
        dialog->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog->Window()));
    }
    void TearDown() override {
        dlg.reset();
        dialog.reset();
        TempDirTest::TearDown();
    }
    void Open(std::vector<std::string> args = {}) {
        dlg->SetArguments(std::move(args));
        dlg->OnInitDialog();
    }
    QWidget* Item(int id) { return dialog->Item(id); }
    template <class T>
    T* As(int id) {
        return qobject_cast<T*>(dialog->Item(id));
    }
    void Click(int id) {
        ASSERT_TRUE(Item(id)->isEnabled()) << id;
        QTest::mouseClick(Item(id), Qt::LeftButton);
    }
    std::string Text(int id) { return dialog->GetItemText(id); }
    void Retype(int id, const std::string& text) {
        auto* e = As<QLineEdit>(id);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, QString::fromStdString(text));
    }

    QApplication& app = gt::App("Parvex");  // before the driver's timer
    wb::test::XdgSandbox xdg;
    gt::ModalDriver driver;
    QIcon icon;
    RecordingShell shell;
    std::unique_ptr<wb::gui::QtDialogRunner> runner;
    std::unique_ptr<Dialog> dialog;
    std::unique_ptr<CMainDlg> dlg;
};

} // namespace

TEST_F(Window, SplitAndJoinByClickingTheRealControls) {
    Open();
    for (int id : {IDC_RECHECK, IDC_SPLIT_OUTPUT, IDC_JOIN_OUTPUT, IDC_BREAK_IT, IDC_ASSEMBLE,
                   IDC_KILOBYTES, IDC_PRESET_100K, IDC_PRESET_125M, IDC_PRESET_1M, IDC_PRESET_500K,
                   IDC_SPECIFY})
        EXPECT_FALSE(Item(id)->isEnabled()) << id;
    EXPECT_EQ(Text(IDC_KILOBYTES), "0");

    auto source = MakeFile("film.avi", 3000000, 7);
    driver.AnswerFileDialog(Path("film.avi"));
    Click(IDC_SPLIT_BROWSE);
    EXPECT_EQ(Text(IDC_SOURCE_PATH), Path("film.avi"));
    EXPECT_EQ(Text(IDC_SPLIT_OUTPUT), Path("film.brk"));
    EXPECT_EQ(Text(IDC_SOURCE_SIZE), "2929.69 KB");
    EXPECT_TRUE(Item(IDC_PRESET_125M)->isEnabled());

    Click(IDC_PRESET_100K);
    EXPECT_TRUE(As<QRadioButton>(IDC_PRESET_100K)->isChecked());
    EXPECT_EQ(Text(IDC_KILOBYTES), "100");
    EXPECT_EQ(Text(IDC_SPLIT_COUNT), "30");
    // A later click on another preset moves the check mark.
    Click(IDC_PRESET_500K);
    EXPECT_FALSE(As<QRadioButton>(IDC_PRESET_100K)->isChecked());
    Click(IDC_PRESET_100K);

    std::vector<int> shown;
    QObject::connect(As<QProgressBar>(IDC_SPLIT_PROGRESS), &QProgressBar::valueChanged,
                     [&](int v) { shown.push_back(v); });
    Click(IDC_BREAK_IT);
    EXPECT_EQ(driver.Texts(), std::vector<std::string>{Path("film.avi") +
                                                       " splitted sucessfully into 30 parts (files). "});
    // The bar moved through the split, reached 100 and went back to 0.
    ASSERT_GT(shown.size(), 20u);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end() - 1));
    EXPECT_EQ(shown[shown.size() - 2], 100);
    EXPECT_EQ(shown.back(), 0);
    EXPECT_TRUE(fs::exists(Path("film.b29")));
    EXPECT_FALSE(Item(IDC_BREAK_IT)->isEnabled());  // back to idle

    driver.Clear();
    driver.AnswerFileDialog(Path("film.brk"));
    Click(IDC_JOIN_BROWSE);
    EXPECT_EQ(Text(IDC_JOIN_COUNT), "30");
    EXPECT_EQ(Text(IDC_JOIN_FOUND), "30");
    EXPECT_EQ(Text(IDC_JOIN_OUTPUT), Path("film.avi"));
    Retype(IDC_JOIN_OUTPUT, Path("again.avi"));
    Click(IDC_ASSEMBLE);
    EXPECT_EQ(driver.Texts(), std::vector<std::string>{"File successfully Re-assembled"});
    EXPECT_EQ(ReadBytes(Path("again.avi")), source);
    EXPECT_EQ(As<QProgressBar>(IDC_JOIN_PROGRESS)->value(), 0);
}

TEST_F(Window, AboutBoxAndSettingsOpenFromTheWindow) {
    Open();
    std::vector<std::string> seen;
    auto about = [&](QWidget* w) {
        seen.push_back(w->windowTitle().toStdString());
        bool textShown = false;
        for (auto* l : w->findChildren<QLabel*>()) textShown |= l->text() == "Parvex Version 1.60";
        EXPECT_TRUE(textShown);
        auto* ok = w->findChild<QPushButton*>("item1");
        ASSERT_TRUE(ok);
        EXPECT_TRUE(ok->isDefault());
        QTest::mouseClick(ok, Qt::LeftButton);
    };
    driver.OnDialog(about);
    Click(IDC_ABOUT);
    // The window menu's item opens the same box.
    driver.OnDialog(about);
    ASSERT_EQ(dialog->WindowMenu()->actions().size(), 1);
    EXPECT_EQ(dialog->WindowMenu()->actions()[0]->text(), "&About Parvex");
    dialog->WindowMenu()->actions()[0]->trigger();
    EXPECT_EQ(seen, std::vector<std::string>(2, "About Parvex 1.60"));

    std::string selection;
    driver.OnDialog([&](QWidget* w) {
        seen.push_back(w->windowTitle().toStdString());
        auto* label = w->findChild<QLabel*>("item1053");
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), "Current Selection : Option - 3");
        QTest::mouseClick(w->findChild<QPushButton*>("item1047"), Qt::LeftButton);
        selection = label->text().toStdString();
        QTest::mouseClick(w->findChild<QPushButton*>("item1052"), Qt::LeftButton);
    });
    Click(IDC_CONTEXT_MENU_SETTINGS);
    EXPECT_EQ(seen.back(), "Context menus Settings");
    EXPECT_EQ(selection, "Current Selection : Option - 1 ");
    EXPECT_EQ(driver.Texts(), std::vector<std::string>{"Context Menus options Modified Succesfully"});
    EXPECT_TRUE(fs::exists(xdg.DataHome() + "/kio/servicemenus/wb-all-cut-using-parvex.desktop"));
    EXPECT_TRUE(dialog->IsWindowVisible());
}

TEST_F(Window, ScreenshotsOfTheThreeWindows) {
    MakeFile("holiday.mpg", 2500000, 5);
    // A piece set for the join panel, split beforehand.
    MakeFile("archive.zip", 700000, 6);
    Open({Path("archive.zip")});
    Click(IDC_PRESET_500K);
    Click(IDC_BREAK_IT);
    Open({Path("archive.brk")});
    driver.AnswerFileDialog(Path("holiday.mpg"));
    Click(IDC_SPLIT_BROWSE);
    Click(IDC_PRESET_1M);
    dialog->SetProgressPos(IDC_SPLIT_PROGRESS, 40);
    dialog->SetProgressPos(IDC_JOIN_PROGRESS, 70);
    ASSERT_EQ(Text(IDC_SPLIT_COUNT), "3");
    ASSERT_EQ(Text(IDC_JOIN_FOUND), "2");

    const std::string folder = std::string(WB_BINARY_DIR) + "/screens";
    fs::create_directories(folder);
    ASSERT_TRUE(dialog->Window()->grab().save(QString::fromStdString(folder + "/parvex-main.png")));
    auto shoot = [&](const std::string& name, int closeId) {
        return [=](QWidget* w) {
            EXPECT_TRUE(w->grab().save(QString::fromStdString(folder + "/" + name)));
            QTest::mouseClick(w->findChild<QPushButton*>(QString("item%1").arg(closeId)), Qt::LeftButton);
        };
    };
    driver.OnDialog(shoot("parvex-about.png", wb::gui::kIdOk));
    Click(IDC_ABOUT);
    driver.OnDialog(shoot("parvex-settings.png", IDC_SETTINGS_CLOSE));
    Click(IDC_CONTEXT_MENU_SETTINGS);
    for (const char* name : {"parvex-main.png", "parvex-about.png", "parvex-settings.png"}) {
        QImage img(QString::fromStdString(folder + "/" + name));
        EXPECT_FALSE(img.isNull()) << name;
        EXPECT_GT(img.width(), 200) << name;
    }
}

struct Ending {
    const char* name;
    const char* action;  // what the scripted user does to the dialog
    int status;
};

class Program : public ::testing::TestWithParam<Ending> {};

// The real program in a folder of its own, with a private desktop, ended by
// a scripted user through its dialog.
TEST_P(Program, StartsRegistersAndEndsWithExitStatusOfItsDialog) {
    wb::TempDir dir;
    std::string exe = dir / "parvex";
    fs::copy_file(std::string(WB_BINARY_DIR) + "/bin/parvex", exe);
    fs::permissions(exe, fs::perms::owner_all);
    wb::test::XdgSandbox xdg;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_PLUGIN_PATH", WB_BINARY_DIR "/plugins");
    env.insert("QT_QPA_GENERIC_PLUGINS", "wbscripteduser");
    env.insert("WB_TEST_END_WITH", GetParam().action);
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString(exe), {});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(p.waitForFinished(60000)) << "the dialog did not end";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << p.readAllStandardError().toStdString();
    EXPECT_EQ(p.exitCode(), GetParam().status);
    // The opening registered before the dialog waited for the user.
    EXPECT_EQ(wb::ReadWholeFile(dir / "regfile.qzt"), "Registry Succesfully Modified");
    EXPECT_EQ(wb::ReadWholeFile(dir / "cmopt.qzt"), "3");
    EXPECT_EQ(wb::Registry::User().GetString(wb::RegRoot::CurrentUser, "software\\Parvex", "Path"),
              dir.Path());
}

INSTANTIATE_TEST_SUITE_P(Endings, Program,
                         ::testing::Values(Ending{"ExitButton", "Exit", 1},
                                           Ending{"CloseBox", "close", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// A handler that throws (here the desktop's opener) shows the error in a box
// titled with the program's name, and the dialog goes on taking clicks.
TEST_F(Window, AThrowingHandlerShowsTheErrorAndTheDialogGoesOn) {
    struct ThrowingShell : RecordingShell {
        bool OpenDocument(const std::string& t) override {
            if (opened.empty()) {
                opened.push_back(t);
                throw std::runtime_error("The desktop refused the link.");
            }
            return RecordingShell::OpenDocument(t);
        }
    } throwing;
    dlg->SetShell(throwing);
    Open();
    Click(IDC_LINK);
    ASSERT_TRUE(wb::gui::test::Eventually([&] { return driver.Messages().size() == 1; }));
    EXPECT_EQ(driver.Messages()[0].title, "Parvex");
    EXPECT_EQ(driver.Messages()[0].text, "The desktop refused the link.");
    EXPECT_EQ(driver.Messages()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(dialog->IsWindowVisible());
    Click(IDC_LINK);
    EXPECT_EQ(throwing.opened.size(), 2u);
    EXPECT_EQ(driver.Messages().size(), 1u);
}

// A split or a join on a slow disk: while the copy runs the window goes on
// painting and its timers tick, clicks start nothing, and a request to close
// it waits until the work is done and the files are whole.
class SlowDisk : public Window, public ::testing::WithParamInterface<bool> {};

struct PaintCount : QObject {
    bool eventFilter(QObject*, QEvent* e) override { return (seen += e->type() == QEvent::Paint), false; }
    int seen = 0;
};

TEST_P(SlowDisk, TheWindowStaysServedAndStartsNothingElse) {
    const bool join = GetParam();
    auto source = MakeFile("film.avi", 3000000, 7);
    if (join) SplitFile({Path("film.avi"), Path("film.brk"), source.size(), 102400});
    Open({Path(join ? "film.brk" : "film.avi")});  // the join rebuilds film.avi
    if (!join) Click(IDC_PRESET_100K);
    // The copy waits for the test to see the window served, at most 3 s.
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + std::chrono::seconds(3);
    std::atomic<bool> copying{false}, release{false};
    std::mutex releaseLock;
    std::condition_variable released;
    SetCopyPacer([&] {
        copying = true;
        std::unique_lock lock(releaseLock);
        released.wait_until(lock, until, [&] { return release.load(); });
    });
    PaintCount paints;
    int ticks = 0;
    bool shownAfterCloseRequest = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!copying || release) return;
        if (++ticks == 1) {
            for (int id : {IDC_BREAK_IT, IDC_ASSEMBLE, IDC_SPLIT_BROWSE, IDC_JOIN_BROWSE})
                if (Item(id)->isEnabled()) QTest::mouseClick(Item(id), Qt::LeftButton);
        } else if (ticks == 2)
            shownAfterCloseRequest = !dialog->Window()->close() && dialog->IsWindowVisible();
        if (ticks >= 5 && paints.seen > 0 && Clock::now() < until) {
            std::lock_guard lock(releaseLock);
            release = true;
            released.notify_all();
        }
    });
    timer.start(2);
    Item(join ? IDC_JOIN_PROGRESS : IDC_SPLIT_PROGRESS)->installEventFilter(&paints);
    Click(join ? IDC_ASSEMBLE : IDC_BREAK_IT);
    SetCopyPacer(nullptr);

    EXPECT_TRUE(release) << ticks << " ticks and " << paints.seen << " paints while the copy was held";
    EXPECT_TRUE(shownAfterCloseRequest);
    EXPECT_EQ(driver.FileDialogsShown(), 0);
    EXPECT_EQ(driver.Texts().size(), 1u);     // the work's own message
    EXPECT_FALSE(dialog->IsWindowVisible());  // closed once the work was done
    FirstPiece first;
    if (!join && ReadFirstPiece(Path("film.brk"), first) == FirstPieceStatus::Ok)
        AssemblePieces(first, Path("again.avi"));
    EXPECT_EQ(ReadBytes(Path(join ? "film.avi" : "again.avi")), source);
}

INSTANTIATE_TEST_SUITE_P(Work, SlowDisk, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Join" : "Split"); });
