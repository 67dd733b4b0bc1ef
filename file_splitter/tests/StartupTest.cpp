// Start-up, the buttons below the panels and the file-manager integration,
// through the recording fake, in a private XDG folder and program folder.
#include "ParvexTestSupport.h"

#include <sys/stat.h>

#include "file_splitter/DialogResources.h"
#include "file_splitter/SettingsDlg.h"
#include "platform/base/File.h"
#include "platform/base/TextFile.h"
#include "platform/testing/XdgSandbox.h"

using namespace parvex::test;
using wb::RegRoot;

namespace {

const auto CR = RegRoot::ClassesRoot;
const auto CU = RegRoot::CurrentUser;

struct MenuHost : FakeDialogHost {
    std::vector<std::pair<int, std::string>> menu;
    SysCommandHandler sys;
    void AppendSystemMenuItem(int id, const std::string& text) override { menu.emplace_back(id, text); }
    void SetSysCommandHandler(SysCommandHandler h) override { sys = std::move(h); }
};

// Runs further dialogs on fakes with their controls, and lets the test act
// on them while they are "open".
struct FakeRunner : wb::gui::DialogRunner {
    std::vector<std::string> captions;
    std::function<void(FakeDialogHost&)> whileOpen;
    std::vector<FakeDialogHost::Message> lastMessages;
    std::string lastSelection;
    int RunModal(const wb::gui::DialogTemplate& t, const OpenHandler& onOpen) override {
        captions.push_back(t.caption);
        FakeDialogHost h;
        AddControls(h, t);
        if (onOpen) onOpen(h);
        if (whileOpen) whileOpen(h);
        lastMessages = h.messages;
        if (t.caption == "Context menus Settings") lastSelection = h.Text(IDC_CURRENT_SELECTION);
        return h.endResult.value_or(wb::gui::kIdCancel);
    }
};

class Startup : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        programDir = Path("prog dir");
        fs::create_directories(programDir);
        Open();
    }
    void TearDown() override {
        dlg.reset();
        TempDirTest::TearDown();
    }
    void Wire(CMainDlg& d) {
        d.SetIntegration(parvex::Integration(wb::Registry::User(), programDir + "/parvex"));
        d.SetRunner(runner);
        d.SetShell(shell);
    }
    void Open() {
        dlg.reset();
        host = std::make_unique<MenuHost>();
        AddControls(*host, MainDialogTemplate());
        dlg = std::make_unique<CMainDlg>(*host);
        Wire(*dlg);
    }
    // A further start of the program on the same folders.
    void Restart(std::vector<std::string> args = {}) {
        Open();
        Start(std::move(args));
    }
    void Start(std::vector<std::string> args = {}) {
        dlg->SetArguments(std::move(args));
        dlg->OnInitDialog();
    }
    std::optional<std::string> Reg(RegRoot root, const std::string& key, const std::string& name = "") {
        return wb::Registry::User().GetString(root, key, name);
    }
    std::string ProgramFile(const std::string& name) { return programDir + "/" + name; }
    std::string JoinCommand() const { return "\"" + programDir + "/parvex\" \"%1\""; }
    std::string CutCommand() const { return "\"" + programDir + "/parvex\" Tamrel \"%1\""; }

    wb::test::XdgSandbox xdg;
    std::string programDir;
    std::unique_ptr<MenuHost> host;
    std::unique_ptr<CMainDlg> dlg;
    FakeRunner runner;
    RecordingShell shell;
};

} // namespace

TEST_F(Startup, FirstStartRegistersThePieceTypeAndWritesMarkerAndOption) {
    Start();
    EXPECT_EQ(Reg(CR, ".brk"), "brkfile");
    EXPECT_EQ(Reg(CR, "brkfile"), "Parvex File-Piece");
    EXPECT_EQ(Reg(CR, "brkfile\\shell"), "join");
    EXPECT_EQ(Reg(CR, "brkfile\\shell\\join"), "&Reassemble the File");
    // The placeholder is quoted, so a path with blanks stays one argument.
    EXPECT_EQ(Reg(CR, "brkfile\\shell\\join\\command"), JoinCommand());
    // No icon below this program's folder: the icon theme's name.
    EXPECT_EQ(Reg(CR, "brkfile\\DefaultIcon"), "parvex");
    EXPECT_EQ(Reg(CU, "Software\\Parvex", "Path"), programDir);
    // No option file yet: option 3, both verbs absent.
    EXPECT_FALSE(wb::Registry::User().KeyExists(CR, "*\\shell\\Cut Using Parvex"));
    EXPECT_FALSE(wb::Registry::User().KeyExists(CR, "Unknown\\shell\\Cut Using Parvex"));
    // Without "Path" the option file went beside the program, not to the root.
    EXPECT_EQ(wb::ReadWholeFile(ProgramFile("cmopt.qzt")), "3");
    EXPECT_EQ(wb::ReadWholeFile(ProgramFile("regfile.qzt")), "Registry Succesfully Modified");
    // The desktop got the type and its default application.
    EXPECT_TRUE(wb::FileExists(xdg.DataHome() + "/mime/packages/wb-brkfile.xml"));
    EXPECT_NE(wb::ReadWholeFile(xdg.DataHome() + "/applications/wb-brkfile.desktop")
                  .value_or("")
                  .find("Exec=\"" + programDir + "/parvex\" %f"),
              std::string::npos);
}

TEST_F(Startup, AnInstalledProgramWritesInTheUsersFolderAndReadsItsShare) {
    // The layout that `cmake --install` and the package give, in a prefix
    // this user may write: still nothing goes beside the program.
    programDir = Path("usr/bin");
    for (const char* f : {"bin/parvex", "share/applications/parvex.desktop", "share/parvex/qz15help.doc",
                          "share/icons/hicolor/scalable/apps/parvex.svg",
                          "share/icons/hicolor/48x48/apps/parvex.png"}) {
        fs::create_directories(fs::path(Path("usr/") + f).parent_path());
        MakeFile(std::string("usr/") + f, 10);
    }
    Wire(*dlg);
    Start();
    const std::string icon = Path("usr/share/icons/hicolor/scalable/apps/parvex.svg");
    EXPECT_EQ(Reg(CR, "brkfile\\DefaultIcon"), icon);
    EXPECT_EQ(Reg(CU, "Software\\Parvex", "Path"), programDir);
    EXPECT_EQ(wb::ReadWholeFile(xdg.ConfigHome() + "/parvex/regfile.qzt"),
              "Registry Succesfully Modified");
    EXPECT_EQ(wb::ReadWholeFile(xdg.ConfigHome() + "/parvex/cmopt.qzt"), "3");
    EXPECT_FALSE(wb::FileExists(ProgramFile("regfile.qzt")));
    EXPECT_FALSE(wb::FileExists(ProgramFile("cmopt.qzt")));
    // The file manager shows piece files with the program's own icon.
    std::string entry =
        wb::ReadWholeFile(xdg.DataHome() + "/applications/wb-brkfile.desktop").value_or("");
    EXPECT_NE(entry.find("Icon=" + icon + "\n"), std::string::npos) << entry;

    wb::Registry::User().DeleteKey(CR, ".brk");
    Restart();  // the marker in the user's folder counts: not registered again
    EXPECT_FALSE(Reg(CR, ".brk"));
    host->Click(IDC_HELP_BUTTON);
    EXPECT_EQ(shell.opened, std::vector<std::string>{Path("usr/share/parvex/qz15help.doc")});
    EXPECT_TRUE(host->messages.empty());
}

TEST_F(Startup, TheMarkerDecidesWhetherTheTypeIsWrittenAgain) {
    Start();
    wb::Registry::User().DeleteKey(CR, ".brk");
    Restart();  // marker present: not written again
    EXPECT_FALSE(Reg(CR, ".brk"));
    fs::remove(ProgramFile("regfile.qzt"));
    Restart();  // marker missing: written again, marker back
    EXPECT_EQ(Reg(CR, ".brk"), "brkfile");
    EXPECT_TRUE(wb::FileExists(ProgramFile("regfile.qzt")));
}

TEST_F(Startup, AFailedRegistrationLeavesNoMarker) {
    // The store's place is taken by a folder, so nothing can be written.
    fs::create_directories(xdg.ConfigHome() + "/wb-registry/registry.txt");
    Start();
    EXPECT_FALSE(wb::FileExists(ProgramFile("regfile.qzt")));
    EXPECT_TRUE(host->messages.empty());  // start-up stays quiet
    fs::remove_all(xdg.ConfigHome() + "/wb-registry/registry.txt");
    Restart();
    EXPECT_EQ(Reg(CR, ".brk"), "brkfile");
    EXPECT_TRUE(wb::FileExists(ProgramFile("regfile.qzt")));
}

TEST_F(Startup, OpeningDisablesThePanelsAndAddsTheAboutItem) {
    Start();
    for (int id : {IDC_RECHECK, IDC_SPLIT_OUTPUT, IDC_JOIN_OUTPUT, IDC_BREAK_IT, IDC_ASSEMBLE,
                   IDC_KILOBYTES, IDC_PRESET_100K, IDC_PRESET_125M, IDC_PRESET_1M, IDC_PRESET_500K,
                   IDC_SPECIFY})
        EXPECT_FALSE(host->Enabled(id)) << id;
    for (int id : {IDC_SPLIT_BROWSE, IDC_JOIN_BROWSE, IDC_HELP_BUTTON, IDC_ABOUT, IDC_EXIT})
        EXPECT_TRUE(host->Enabled(id)) << id;
    EXPECT_EQ(host->Text(IDC_KILOBYTES), "0");
    EXPECT_FALSE(dlg->SpecifyChecked());
    ASSERT_EQ(host->menu.size(), 1u);
    EXPECT_EQ(host->menu[0], (std::pair<int, std::string>{16, "&About Parvex"}));
    // The item, with any low bits, opens the About box; other commands do not.
    host->sys(16);
    host->sys(16 | 0xF);
    host->sys(32);
    host->Click(IDC_ABOUT);
    EXPECT_EQ(runner.captions, (std::vector<std::string>(3, "About Parvex 1.60")));
}

TEST_F(Startup, CommandLineFillsTheRightPanel) {
    // A piece set and a plain file, in a folder with a blank in its name.
    MakeFile("movie.txt", 300000, 3);
    Start({Path("movie.txt")});
    EXPECT_EQ(host->Text(IDC_SOURCE_PATH), Path("movie.txt"));
    EXPECT_EQ(host->Text(IDC_SPLIT_OUTPUT), Path("movie.brk"));
    EXPECT_FALSE(dlg->CommandLinePathPending());
    EXPECT_TRUE(host->openRequests.empty());

    // Split it through the fake, then open the first piece as a join would.
    host->Click(IDC_PRESET_100K);
    host->Click(IDC_BREAK_IT);
    host->messages.clear();
    fs::rename(Path("movie.brk"), Path("movie.BRK"));
    Restart({Path("movie.BRK")});
    EXPECT_EQ(host->Text(IDC_PIECE_PATH), Path("movie.BRK"));
    EXPECT_EQ(host->Text(IDC_JOIN_COUNT), "3");
    EXPECT_TRUE(host->Enabled(IDC_ASSEMBLE));
    EXPECT_TRUE(host->openRequests.empty());

    // The context-menu form: the marker word is not examined.
    Restart({"anything", Path("movie.txt")});
    EXPECT_EQ(host->Text(IDC_SOURCE_PATH), Path("movie.txt"));
    EXPECT_EQ(host->Text(IDC_PIECE_PATH), "");

    // Three arguments: nothing chosen.
    Restart({"Tamrel", Path("movie.txt"), "x"});
    EXPECT_EQ(host->Text(IDC_SOURCE_PATH), "");
    EXPECT_EQ(host->Text(IDC_PIECE_PATH), "");

    // Short arguments are read safely and go to the split panel.
    Restart({"k"});
    EXPECT_EQ(host->Text(IDC_SOURCE_PATH), "k");
    EXPECT_EQ(host->Text(IDC_PIECE_PATH), "");
    EXPECT_TRUE(host->openRequests.empty());
}

TEST_F(Startup, OptionsWriteTheVerbsAndTheOptionFile) {
    Start();
    auto& reg = dlg->Integration().Registry();
    dlg->SetContextMenuOption1();
    EXPECT_EQ(Reg(CR, "*\\shell\\Cut Using Parvex\\command"), CutCommand());
    EXPECT_FALSE(reg.KeyExists(CR, "Unknown\\shell\\Cut Using Parvex"));
    EXPECT_EQ(wb::ReadWholeFile(ProgramFile("cmopt.qzt")), "1");
    EXPECT_TRUE(wb::FileExists(xdg.DataHome() + "/kio/servicemenus/wb-all-cut-using-parvex.desktop"));

    dlg->SetContextMenuOption2();
    EXPECT_FALSE(reg.KeyExists(CR, "*\\shell\\Cut Using Parvex"));
    EXPECT_EQ(Reg(CR, "Unknown\\shell\\Cut Using Parvex\\command"), CutCommand());
    EXPECT_EQ(wb::ReadWholeFile(ProgramFile("cmopt.qzt")), "2");

    dlg->SetContextMenuOption3();
    EXPECT_FALSE(reg.KeyExists(CR, "*\\shell\\Cut Using Parvex"));
    EXPECT_FALSE(reg.KeyExists(CR, "Unknown\\shell\\Cut Using Parvex"));
    EXPECT_EQ(wb::ReadWholeFile(ProgramFile("cmopt.qzt")), "3");
    EXPECT_FALSE(wb::FileExists(xdg.DataHome() + "/nautilus/scripts/Cut Using Parvex"));
    // The type's other keys are untouched by the options.
    EXPECT_EQ(Reg(CR, ".brk"), "brkfile");
}

TEST_F(Startup, StartReappliesTheStoredOption) {
    Start();
    struct Case {
        const char* content;
        bool all, unknown;
        const char* after;
    };
    for (Case c : {Case{"1", true, false, "1"}, Case{"2", false, true, "2"}, Case{"7", false, false, "3"},
                   Case{"", false, false, "3"}, Case{"abc", false, false, "3"},
                   Case{" 1\n", true, false, "1"}, Case{"99999999999999999999", false, false, "3"}}) {
        wb::WriteFileReplacing(ProgramFile("cmopt.qzt"), c.content);
        Restart();
        auto& reg = dlg->Integration().Registry();
        EXPECT_EQ(reg.KeyExists(CR, "*\\shell\\Cut Using Parvex\\command"), c.all) << c.content;
        EXPECT_EQ(reg.KeyExists(CR, "Unknown\\shell\\Cut Using Parvex\\command"), c.unknown) << c.content;
        EXPECT_EQ(wb::ReadWholeFile(ProgramFile("cmopt.qzt")), c.after) << c.content;
    }
    // A verb removed by hand is repaired by the next start.
    wb::WriteFileReplacing(ProgramFile("cmopt.qzt"), "1");
    wb::Registry::User().DeleteKey(CR, "*\\shell\\Cut Using Parvex");
    Restart();
    EXPECT_EQ(Reg(CR, "*\\shell\\Cut Using Parvex\\command"), CutCommand());
}

TEST_F(Startup, SettingsDialogShowsAndChangesTheOption) {
    Start();
    wb::WriteFileReplacing(ProgramFile("cmopt.qzt"), "1");
    runner.whileOpen = [](FakeDialogHost&) {};
    host->Click(IDC_CONTEXT_MENU_SETTINGS);
    EXPECT_EQ(runner.captions.back(), "Context menus Settings");
    EXPECT_EQ(runner.lastSelection, "Current Selection : Option - 1");

    runner.whileOpen = [](FakeDialogHost& h) {
        h.Click(IDC_OPTION2);
        EXPECT_EQ(h.Text(IDC_CURRENT_SELECTION), "Current Selection : Option - 2 ");
        h.Click(IDC_DISABLE_CONTEXT_MENUS);
        EXPECT_EQ(h.Text(IDC_CURRENT_SELECTION), "Current Selection : Option - 3 ");
        h.Click(IDC_OPTION1);
        h.Click(IDC_SETTINGS_CLOSE);
        EXPECT_EQ(h.endResult, wb::gui::kIdOk);
    };
    host->Click(IDC_CONTEXT_MENU_SETTINGS);
    EXPECT_EQ(runner.lastMessages,
              (std::vector<FakeDialogHost::Message>{
                  {"Context Menus options Modified Succesfully", MsgKind::Warning},
                  {"Context Menus options Disabled Succesfully", MsgKind::Warning},
                  {"Context Menus options Modified Succesfully", MsgKind::Warning}}));
    EXPECT_EQ(runner.lastSelection, "Current Selection : Option - 1 ");
    EXPECT_EQ(Reg(CR, "*\\shell\\Cut Using Parvex\\command"), CutCommand());
    EXPECT_EQ(wb::ReadWholeFile(ProgramFile("cmopt.qzt")), "1");

    // Without an option file, opening carries out option 3.
    fs::remove(ProgramFile("cmopt.qzt"));
    runner.whileOpen = nullptr;
    host->Click(IDC_CONTEXT_MENU_SETTINGS);
    EXPECT_EQ(runner.lastSelection, "Current Selection : Option - 3 ");
    EXPECT_EQ(wb::ReadWholeFile(ProgramFile("cmopt.qzt")), "3");
    EXPECT_FALSE(Reg(CR, "*\\shell\\Cut Using Parvex\\command"));
}

TEST_F(Startup, SettingsReportAFailedWriteInsteadOfSuccess) {
    Start();
    // The option file's place is taken by a folder.
    fs::remove(ProgramFile("cmopt.qzt"));
    fs::create_directories(ProgramFile("cmopt.qzt"));
    runner.whileOpen = [](FakeDialogHost& h) {
        h.messages.clear();
        h.SetItemText(IDC_CURRENT_SELECTION, "before");
        h.Click(IDC_OPTION1);
    };
    host->Click(IDC_CONTEXT_MENU_SETTINGS);
    ASSERT_EQ(runner.lastMessages.size(), 1u);
    EXPECT_EQ(runner.lastMessages[0].kind, MsgKind::Error);
    EXPECT_NE(runner.lastMessages[0].text.find("cmopt.qzt"), std::string::npos);
    EXPECT_EQ(runner.lastSelection, "before");
}

TEST_F(Startup, HelpIsSoughtBesideTheProgramThenInTheCurrentFolder) {
    Start();
    struct Cwd {
        fs::path old = fs::current_path();
        ~Cwd() { fs::current_path(old); }
    } cwd;
    fs::create_directories(Path("work"));
    fs::current_path(Path("work"));

    host->Click(IDC_HELP_BUTTON);
    EXPECT_EQ(host->TakeMessages(), (std::vector<FakeDialogHost::Message>{
                                        {"QZ15HELP.DOC not found !!", MsgKind::Warning}}));
    EXPECT_TRUE(shell.opened.empty());

    MakeFile("work/qz15help.doc", 10);
    host->Click(IDC_HELP_BUTTON);
    EXPECT_EQ(shell.opened, std::vector<std::string>{Path("work/qz15help.doc")});

    MakeFile("prog dir/qz15help.doc", 10);
    host->Click(IDC_HELP_BUTTON);
    EXPECT_EQ(shell.opened.back(), ProgramFile("qz15help.doc"));
    EXPECT_TRUE(host->messages.empty());
}

TEST_F(Startup, HelpThatNoProgramOpensIsReportedNamingTheFile) {
    Start();
    MakeFile("prog dir/qz15help.doc", 10);
    shell.works = false;
    host->Click(IDC_HELP_BUTTON);
    EXPECT_EQ(host->TakeMessages(),
              (std::vector<FakeDialogHost::Message>{
                  {"No program could open the help file " + ProgramFile("qz15help.doc"), MsgKind::Warning}}));
}

TEST_F(Startup, LinkExitAndTheKeyboard) {
    MakeFile("big.bin", 300000);
    Start({Path("big.bin")});
    host->Click(IDC_LINK);
    EXPECT_EQ(shell.opened, std::vector<std::string>{kHomePage});
    shell.works = false;
    host->Click(IDC_LINK);
    EXPECT_EQ(host->TakeMessages(), (std::vector<FakeDialogHost::Message>{
                                        {"::ShellExecute failed to open this link!", MsgKind::Warning}}));
    host->SetItemText(IDC_LINK, "");
    host->Click(IDC_LINK);
    EXPECT_EQ(host->TakeMessages(), (std::vector<FakeDialogHost::Message>{
                                        {"No URL defined on button!", MsgKind::Warning}}));

    // Enter reads the kilobyte field back; text that is no number keeps the dialog.
    host->Click(IDC_SPECIFY);
    host->Type(IDC_KILOBYTES, "12x");
    host->messages.clear();
    dlg->OnCommand(wb::gui::kIdOk, wb::gui::Notify::Clicked);
    EXPECT_EQ(host->TakeMessages(), (std::vector<FakeDialogHost::Message>{
                                        {"Please enter a number.", MsgKind::Warning}}));
    EXPECT_FALSE(host->endResult);
    host->Type(IDC_KILOBYTES, "12");
    host->messages.clear();
    dlg->OnCommand(wb::gui::kIdOk, wb::gui::Notify::Clicked);
    EXPECT_EQ(host->endResult, wb::gui::kIdOk);
    dlg->OnCommand(wb::gui::kIdCancel, wb::gui::Notify::Clicked);
    EXPECT_EQ(host->endResult, wb::gui::kIdCancel);
    host->Click(IDC_EXIT);
    EXPECT_EQ(host->endResult, CMainDlg::kExitResult);
}
