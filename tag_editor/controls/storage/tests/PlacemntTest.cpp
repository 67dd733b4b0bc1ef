#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "platform/base/RegistryIni.h"
#include "tag_editor/controls/storage/AppUtils.h"
#include "tag_editor/controls/storage/Placemnt.h"
#include "tag_editor/controls/storage/StrUtils.h"
#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

namespace fs = std::filesystem;
using namespace wb::gui;

namespace {

// A form like the tag editor's main window: a few stored controls and a
// form storage switched to explicit use.
class TSampleFrm : public Form {
public:
    static const wb::ClassInfo& StaticClass() {
        static const wb::ClassInfo info("TSampleFrm", &Form::StaticClass());
        return info;
    }
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    explicit TSampleFrm(const std::string& iniName, bool active = false) {
        BeginLoading();
        SetName("SampleFrm");
        AutoRenameCheck = Make<CheckBox>("AutoRenameCheck");
        UrlEdit = Make<Edit>("UrlEdit");
        PortEdit = Make<Edit>("PortEdit");
        PageControl1 = Make<PageControl>("PageControl1");
        ID3Tab = new TabSheet(this);
        ID3Tab->SetName("ID3Tab");
        ID3Tab->SetPageControl(PageControl1);
        CDDBTab = new TabSheet(this);
        CDDBTab->SetName("CDDBTab");
        CDDBTab->SetPageControl(PageControl1);
        IniStore = new TFormStorage(this);
        IniStore->SetName("IniStore");
        IniStore->SetActive(active);
        IniStore->SetIniSection("Main");
        IniStore->SetOptions(fpPosition | fpActiveControl);
        IniStore->SetIniFileName(iniName);
        for (const char* line : {"AutoRenameCheck.Checked", "UrlEdit.Text", "PortEdit.Text",
                                 "PageControl1.ActivePage"})
            IniStore->StoredProps()->Add(line);
        EndLoading();
    }
    ~TSampleFrm() override {
        Destroying_();
        DestroyComponents();
    }
    template <class T>
    T* Make(const char* name) {
        auto* c = new T(this);
        c->SetName(name);
        c->SetParent(this);
        return c;
    }

    CheckBox* AutoRenameCheck;
    Edit* UrlEdit;
    Edit* PortEdit;
    PageControl* PageControl1;
    TabSheet* ID3Tab;
    TabSheet* CDDBTab;
    TFormStorage* IniStore;
};

// What the form's size hooks make of `info` on its way to the window.
MinMaxInfo Asked(Form& form, MinMaxInfo info = {}) {
    form.Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
    return info;
}

class FormStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ini_ = dir_ / "Velmora.Ini";
        EnsureGuiApplication();
        ProcessPostedMessages();
        screen_ = Screen();
        suffix_ = "(" + std::to_string(screen_.width) + "x" + std::to_string(screen_.height) + ")";
    }
    void TearDown() override {
        ProcessPostedMessages();
    }
    std::string Bytes() const {
        std::ifstream in(ini_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Put(const std::string& text) const { std::ofstream(ini_) << text; }
    wb::gui::test::TestFolder dir_{"placement"};
    std::string ini_;
    ScreenMetrics screen_;
    std::string suffix_;
};

TEST_F(FormStorageTest, SaveWritesTheKeysInOrderWithTheirExactNames) {
    TSampleFrm form(ini_);
    form.SetBounds(10, 20, 300, 200);
    form.AutoRenameCheck->SetChecked(true);
    form.UrlEdit->SetText("  freedb.example.org  ");
    form.PortEdit->SetText("");
    form.PageControl1->SetActivePage(form.CDDBTab);
    form.SetActiveControl(form.UrlEdit);
    form.IniStore->SaveToStorage();  // Active is off: saved without a restore first
    const std::string ppi = std::to_string(screen_.pixelsPerInch);
    EXPECT_EQ(Bytes(), "[Main]\nFormVersion=0\nFlags=0\nShowCmd=1\nPixelsPerInch=" + ppi +
                           "\nMinMaxPos" + suffix_ + "=-1,-1,-1,-1\nMinMaxPos=-1,-1,-1,-1\nNormPos" + suffix_ +
                           "=10,20,310,220\nNormPos=10,20,310,220\nActiveControl=UrlEdit\nVisible=0\n"
                           "AutoRenameCheck_Checked=True\nUrlEdit_Text=freedb.example.org\nPortEdit_Text=\n"
                           "PageControl1_ActivePage=CDDBTab\n");
    EXPECT_TRUE(form.IniStore->Saved());
    form.PageControl1->SetActivePage(nullptr);
    form.IniStore->SaveToStorage();
    EXPECT_EQ(form.IniStore->ReadString("PageControl1_ActivePage", ""), "(null)");
}

TEST_F(FormStorageTest, RestorePutsBackPlacementPropertiesAndFocusedControl) {
    {
        TSampleFrm form(ini_);
        form.SetBounds(30, 40, 320, 240);
        form.AutoRenameCheck->SetChecked(true);
        form.UrlEdit->SetText("server");
        form.PageControl1->SetActivePage(form.CDDBTab);
        form.SetActiveControl(form.PortEdit);
        form.IniStore->SaveToStorage();
    }
    TSampleFrm form(ini_);
    form.SetBounds(0, 0, 100, 100);
    form.PageControl1->SetActivePage(form.ID3Tab);
    form.IniStore->RestoreFromStorage();
    EXPECT_TRUE(form.IniStore->Restored());
    EXPECT_EQ(form.Left(), 30);
    EXPECT_EQ(form.Top(), 40);
    EXPECT_EQ(form.Width(), 320);
    EXPECT_EQ(form.Height(), 240);
    EXPECT_FALSE(form.IsWindowVisible());  // a hidden form stays hidden
    EXPECT_TRUE(form.AutoRenameCheck->Checked());
    EXPECT_EQ(form.UrlEdit->Text(), "server");
    EXPECT_EQ(form.PageControl1->ActivePage(), form.CDDBTab);
    EXPECT_EQ(form.ActiveControl(), form.PortEdit);
}

TEST_F(FormStorageTest, AnOlderVersionRestoresNothingAndTheNextSaveWritesTheNewOne) {
    Put("[Main]\nFormVersion=0\nNormPos=50,60,250,260\nUrlEdit_Text=old\n");
    TSampleFrm form(ini_);
    form.SetBounds(5, 6, 100, 100);
    form.IniStore->SetVersion(1);
    form.IniStore->RestoreFromStorage();
    EXPECT_TRUE(form.IniStore->Restored());
    EXPECT_EQ(form.Left(), 5);
    EXPECT_EQ(form.UrlEdit->Text(), "");
    form.IniStore->SaveToStorage();
    EXPECT_EQ(form.IniStore->ReadInteger("FormVersion", -1), 1);
}

TEST_F(FormStorageTest, AnActiveStorageSavesNothingBeforeItsFirstRestore) {
    TSampleFrm form(ini_, true);
    form.IniStore->SaveToStorage();
    EXPECT_FALSE(fs::exists(ini_));
    form.IniStore->RestoreFromStorage();  // of no file at all
    form.IniStore->SaveToStorage();
    EXPECT_EQ(form.IniStore->ReadInteger("FormVersion", -1), 0);
}

// Placements restored onto a form at (5, 6), 100 x 100: where the form goes.
TEST_F(FormStorageTest, StoredPlacementsAreTakenOrRefused) {
    const std::string ppi = std::to_string(screen_.pixelsPerInch + 24);
    const struct {
        const char* name;
        std::string stored;
        std::function<void(TSampleFrm&)> setup;
        int left, top, width, height;
        std::string url;
    } cases[] = {
        {"OtherPixelsPerInchSkipThePositionOnly", "PixelsPerInch=" + ppi + "\nNormPos=50,60,250,260\nUrlEdit_Text=kept",
         nullptr, 5, 6, 100, 100, "kept"},
        {"PlainKeyServesAnotherScreenSize", "NormPos(1x1)=1,1,2,2\nNormPos=50 60,,250, 260", nullptr, 50, 60, 200, 200},
        {"KeyOfThisScreenSizeFirst", "NormPos" + suffix_ + "=70,80,170,180\nNormPos=50,60,250,260", nullptr, 70, 80,
         100, 100},
        {"FixedBorderKeepsItsSize", "NormPos=50,60,250,260",
         [](TSampleFrm& f) {
             f.SetBorderStyle(bsDialog);
             f.SetBounds(0, 0, 120, 90);
         },
         50, 60, 120, 90},
        {"BottomAboveTopIsRefused", "NormPos=50,300,250,100", nullptr, 5, 6, 100, 100},
        {"EdgesThatAreNoNumbersFallBack", "NormPos=a,b,c,d", nullptr, 5, 6, 100, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put("[Main]\n" + c.stored + "\n");
        TSampleFrm form(ini_);
        form.SetBounds(5, 6, 100, 100);
        if (c.setup) c.setup(form);
        form.IniStore->RestoreFromStorage();
        EXPECT_EQ((std::vector<int>{form.Left(), form.Top(), form.Width(), form.Height()}),
                  (std::vector<int>{c.left, c.top, c.width, c.height}));
        EXPECT_EQ(form.UrlEdit->Text(), c.url);
    }
}

TEST_F(FormStorageTest, ARestoredWindowIsMovedOntoTheScreen) {
    if (screen_.workArea.Width() <= 0) GTEST_SKIP() << "no screen";
    Put("[Main]\nNormPos=-500,-400,-300,-200\n");
    TSampleFrm form(ini_);
    form.IniStore->RestoreFromStorage();
    EXPECT_EQ(form.Left(), screen_.workArea.left);
    EXPECT_EQ(form.Top(), screen_.workArea.top);
    EXPECT_EQ(form.Width(), 200);
    Put("[Main]\nNormPos=0,0,100000,100000\n");
    form.IniStore->RestoreFromStorage();
    EXPECT_LE(form.Width(), screen_.workArea.Width());
    EXPECT_LE(form.Height(), screen_.workArea.Height());
}

// Hostile placement texts: a word that does not fit 32 bits falls back to the
// form's own edge (0 for the minimised and maximised positions), and the
// window comes back at least as large as the form allows, on the screen.
struct PlacementCase {
    const char* name;
    const char* stored;
    int minWidth;
    // Expected left, top, width, height; -1 for the work area's own value.
    int left, top, width, height;
};

class HostilePlacement : public FormStorageTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(HostilePlacement, RestoresAWindowOnTheScreen) {
    if (screen_.workArea.Width() < 400 || screen_.workArea.Height() < 300 || screen_.workArea.left != 0 ||
        screen_.workArea.top != 0)
        GTEST_SKIP() << "no screen of the kind the table assumes";
    const PlacementCase& c = GetParam();
    Put(std::string("[Main]\n") + c.stored + "\n");
    TSampleFrm form(ini_);
    form.SetBounds(1, 2, 120, 90);
    form.IniStore->MinMaxInfo()->SetMinTrackWidth(c.minWidth);
    form.IniStore->RestoreFromStorage();
    const Rect& wa = screen_.workArea;
    auto at = [](int v, int area) { return v < 0 ? area : v; };
    EXPECT_EQ(form.Left(), at(c.left, wa.left));
    EXPECT_EQ(form.Top(), at(c.top, wa.top));
    EXPECT_EQ(form.Width(), at(c.width, wa.Width()));
    EXPECT_EQ(form.Height(), at(c.height, wa.Height()));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HostilePlacement,
    ::testing::Values(
        PlacementCase{"LeftPastThirtyTwoBits", "NormPos=99999999999,60,250,260", 0, 1, 60, 249, 200},
        PlacementCase{"RightPastThirtyTwoBits", "NormPos=50,60,99999999999,260", 0, 50, 60, 71, 200},
        PlacementCase{"ExtremeEdges", "NormPos=-2147483648,-2147483648,2147483647,2147483647", 0, -1, -1, -1, -1},
        PlacementCase{"NarrowerThanTheFormAllows", "NormPos=50,60,100,160", 300, 50, 60, 300, 100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormStorageTest, TheStateOfAMainFormIsRestoredByItsShowCommand) {
    TSampleFrm form(ini_);
    ASSERT_EQ(MainForm(), &form);
    form.IniStore->SetOptions(fpState);
    form.SetPosition(poDefault);
    for (int cmd : {0, 4, 8, 10}) {
        Put("[Main]\nShowCmd=" + std::to_string(cmd) + "\n");
        form.SetWindowStateField(wsNormal);
        form.IniStore->RestoreFromStorage();
        EXPECT_EQ(form.WindowState(), wsMaximized) << cmd;  // the default of such a main form
    }
    Put("[Main]\nShowCmd=1\n");
    form.IniStore->RestoreFromStorage();
    EXPECT_EQ(form.WindowState(), wsNormal);
    Put("[Main]\nShowCmd=2\n");
    form.IniStore->RestoreFromStorage();
    EXPECT_EQ(form.WindowState(), wsNormal);  // the application minimises itself instead
    EXPECT_EQ(ProcessPostedMessages(), 1);
}

TEST_F(FormStorageTest, SizeLimitsGoThroughTheHook) {
    TSampleFrm form(ini_);
    form.SetBounds(0, 0, 400, 300);
    form.IniStore->MinMaxInfo()->SetMinTrackWidth(300);
    MinMaxInfo info;
    info.maxTrackSize = {5000, 4000};
    info = Asked(form, info);
    EXPECT_EQ(info.minTrackSize.x, 300);
    EXPECT_EQ(info.minTrackSize.y, 0);
    EXPECT_EQ(info.maxTrackSize.x, 5000);
    form.SetWidth(100);
    EXPECT_EQ(form.Width(), 300);  // the window cannot be narrowed below the limit
    form.IniStore->MinMaxInfo()->SetMinTrackWidth(0);
    info = MinMaxInfo{};
    info.maxPosition = {7, 7};
    EXPECT_EQ(Asked(form, info).maxPosition, (Point{7, 7}));  // the hook is gone again
}

TEST_F(FormStorageTest, PreventResizeFixesTheSizeAndTakesTheMaximiseButton) {
    TSampleFrm form(ini_);
    form.SetBounds(10, 10, 300, 200);
    form.Show();
    ASSERT_TRUE(form.BorderIcons() & biMaximize);
    form.IniStore->SetPreventResize(true);
    EXPECT_FALSE(form.BorderIcons() & biMaximize);
    const MinMaxInfo info = Asked(form);
    EXPECT_EQ(info.minTrackSize, (Point{300, 200}));
    EXPECT_EQ(info.maxTrackSize, (Point{300, 200}));
    form.SetWidth(500);
    EXPECT_EQ(form.Width(), 300);
    form.IniStore->SetPreventResize(false);
    EXPECT_TRUE(form.BorderIcons() & biMaximize);
    form.SetWidth(500);
    EXPECT_EQ(form.Width(), 500);
    form.Hide();
}

TEST_F(FormStorageTest, StoredLinesFollowTheirComponents) {
    TSampleFrm form(ini_);
    ASSERT_EQ(form.IniStore->StoredProps()->Count(), 4);
    delete form.PortEdit;
    EXPECT_EQ(form.IniStore->StoredProps()->Lines(),
              (std::vector<std::string>{"AutoRenameCheck.Checked", "UrlEdit.Text", "PageControl1.ActivePage"}));
    form.UrlEdit->SetName("ServerEdit");
    form.UrlEdit->SetText("x");
    form.IniStore->SaveToStorage();
    EXPECT_EQ(form.IniStore->StoredProps()->operator[](1), "ServerEdit.Text");
    EXPECT_EQ(form.IniStore->ReadString("ServerEdit_Text", ""), "x");
    EXPECT_EQ(form.IniStore->ReadString("UrlEdit_Text", "none"), "none");
}

TEST_F(FormStorageTest, StoredValuesAreNamedUniquelyAndEncodedWithTheirKey) {
    TSampleFrm form(ini_);
    TStoredValue* a = form.IniStore->StoredValues()->Add();
    a->SetName("Password");
    a->SetKeyString("k");
    a->SetValue(wb::Variant("abc"));
    TStoredValue* b = form.IniStore->StoredValues()->Add();
    b->SetName("Counter");
    b->SetValue(wb::Variant(int64_t(5)));
    b->OnSave = [](TStoredValue*, wb::Variant& v) { v = wb::Variant(int64_t(6)); };
    EXPECT_EQ(wb::gui::test::ErrorOf<wb::PropertyError>([b] { b->SetName("PASSWORD"); }),
              "In der Stringliste sind Duplikate nicht erlaubt");
    EXPECT_EQ(b->Name(), "Counter");
    a->SetName("password");  // its own name in other case is no duplicate
    form.IniStore->SaveToStorage();
    EXPECT_EQ(form.IniStore->ReadString("password", ""), HexXorEncode("k", "abc"));
    EXPECT_EQ(form.IniStore->ReadString("Counter", ""), "6");
    a->SetValue(wb::Variant());
    b->SetValue(wb::Variant());
    form.IniStore->RestoreFromStorage();
    EXPECT_TRUE(a->Value() == wb::Variant("abc"));
    EXPECT_TRUE(b->Value() == wb::Variant("6"));
}

TEST_F(FormStorageTest, AnActiveStorageRestoresOnShowAndSavesOnClose) {
    Put("[Main]\nUrlEdit_Text=from file\nNormPos=40,50,340,250\n");
    TSampleFrm form(ini_, true);
    bool ownShow = false, ownClose = false;
    // The form's own handlers, set before loading, still run.
    EXPECT_TRUE(form.OnShow != nullptr);
    form.Show();
    ownShow = form.IsWindowVisible();
    EXPECT_TRUE(ownShow);
    EXPECT_EQ(form.UrlEdit->Text(), "from file");
    EXPECT_EQ(form.Left(), 40);
    form.UrlEdit->SetText("typed");
    ownClose = form.Close();
    EXPECT_TRUE(ownClose);
    EXPECT_EQ(form.IniStore->ReadString("UrlEdit_Text", ""), "typed");
    EXPECT_EQ(form.IniStore->ReadString("Visible", ""), "0");
}

} // namespace

namespace {

TEST_F(FormStorageTest, TheRegistryStoreKeepsValuesAsTheyAre) {
    const std::string store = dir_ / "registry.txt";
    auto inStore = [store](const std::string& key, TPlacementRegRoot, bool) {
        return std::make_unique<wb::RegistryIni>(wb::Registry(store), wb::RegRoot::CurrentUser, key);
    };
    {
        TSampleFrm form(ini_);
        form.IniStore->RegistryStoreFactory = inStore;
        form.IniStore->SetUseRegistry(true);
        form.IniStore->SetIniFileName("Software\\Velmora");
        form.UrlEdit->SetText("'quoted'");
        form.SetBounds(20, 30, 200, 150);
        form.IniStore->SaveToStorage();
        EXPECT_FALSE(fs::exists(ini_));
        EXPECT_EQ(wb::Registry(store).GetString(wb::RegRoot::CurrentUser, "Software\\Velmora\\Main", "UrlEdit_Text"),
                  std::optional<std::string>("'quoted'"));
    }
    TSampleFrm form(ini_);
    form.IniStore->RegistryStoreFactory = inStore;
    form.IniStore->SetUseRegistry(true);
    form.IniStore->SetIniFileName("Software\\Velmora");
    form.IniStore->RestoreFromStorage();
    EXPECT_EQ(form.UrlEdit->Text(), "'quoted'");
    EXPECT_EQ(form.Left(), 20);
}

TEST_F(FormStorageTest, HooksSurviveTheFormsNewWindow) {
    TSampleFrm form(ini_);
    form.IniStore->MinMaxInfo()->SetMinTrackWidth(250);
    EXPECT_EQ(Asked(form).minTrackSize.x, 250);
    form.SetBorderStyle(bsSingle);  // a new window, not yet hooked
    EXPECT_EQ(Asked(form).minTrackSize.x, 0);
    ProcessPostedMessages();
    EXPECT_EQ(Asked(form).minTrackSize.x, 250);
}

} // namespace
