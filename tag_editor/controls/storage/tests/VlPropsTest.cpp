#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <sys/resource.h>

#include "platform/base/IoError.h"
#include "platform/base/TextUtil.h"
#include "tag_editor/controls/storage/AppUtils.h"
#include "tag_editor/controls/storage/StrUtils.h"
#include "tag_editor/controls/storage/VlProps.h"
#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

namespace fs = std::filesystem;

namespace {

const wb::EnumType& PlacementOptionType() {
    static const wb::EnumType t{"TPlacementOption", {"fpState", "fpPosition", "fpActiveControl"}};
    return t;
}
enum Colour { clRed, clGreen, clBlue };
const wb::EnumType& ColourType() {
    static const wb::EnumType t{"TColour", {"clRed", "clGreen", "clBlue"}};
    return t;
}

// An object that is not a component, stored inside its owner's keys.
class Pen : public wb::Persistent {
public:
    static const wb::ClassInfo& StaticClass() {
        static wb::ClassInfo& info = []() -> wb::ClassInfo& {
            static wb::ClassInfo i("TPen", &wb::Persistent::StaticClass());
            i.Integer<Pen, int>("Width", &Pen::Width, &Pen::SetWidth);
            return i;
        }();
        return info;
    }
    const wb::ClassInfo& Class() const override { return StaticClass(); }
    int Width() const { return width_; }
    void SetWidth(int w) { width_ = w; }

private:
    int width_ = 1;
};

class Column : public wb::CollectionItem {
public:
    using CollectionItem::CollectionItem;
    static const wb::ClassInfo& StaticClass() {
        static wb::ClassInfo& info = []() -> wb::ClassInfo& {
            static wb::ClassInfo i("TColumn", &wb::CollectionItem::StaticClass());
            i.String<Column>("Title", &Column::Title, &Column::SetTitle);
            i.Integer<Column, int>("Width", &Column::Width, &Column::SetWidth);
            return i;
        }();
        return info;
    }
    const wb::ClassInfo& Class() const override { return StaticClass(); }
    std::string Title() const { return title_; }
    void SetTitle(const std::string& t) { title_ = t; }
    int Width() const { return width_; }
    void SetWidth(int w) { width_ = w; }

private:
    std::string title_;
    int width_ = 64;
};

class Sample : public wb::Component {
public:
    using Component::Component;
    static const wb::ClassInfo& StaticClass() {
        static wb::ClassInfo& info = []() -> wb::ClassInfo& {
            static wb::ClassInfo i("TSample", &wb::Component::StaticClass());
            i.Integer<Sample, int>("Count", &Sample::Count, &Sample::SetCount);
            i.Boolean<Sample>("Checked", &Sample::Checked, &Sample::SetChecked);
            i.Enum<Sample, Colour>("Colour", ColourType(), &Sample::GetColour, &Sample::SetColour);
            i.Set<Sample>("Options", PlacementOptionType(), &Sample::Options, &Sample::SetOptions);
            i.String<Sample>("Text", &Sample::Text, &Sample::SetText);
            i.Object<Sample, wb::StringList>("Lines", wb::StringList::StaticClass(), &Sample::Lines);
            i.Object<Sample, wb::Collection>("Columns", wb::Collection::StaticClass(), &Sample::Columns);
            i.Object<Sample, wb::Component>("Link", wb::Component::StaticClass(), &Sample::Link, &Sample::SetLink);
            i.Object<Sample, Pen>("Pen", Pen::StaticClass(), &Sample::GetPen);
            wb::PropInfo p;
            p.name = "Ratio";
            p.kind = wb::TypeKind::Float;
            p.floatType = wb::FloatType::Double;
            p.getFloat = [](const wb::Persistent& o) { return static_cast<const Sample&>(o).ratio; };
            p.setFloat = [](wb::Persistent& o, double v) { static_cast<Sample&>(o).ratio = v; };
            i.Add(p);
            wb::PropInfo c;
            c.name = "Letter";
            c.kind = wb::TypeKind::Char;
            c.getOrd = [](const wb::Persistent& o) { return int64_t(static_cast<const Sample&>(o).letter); };
            c.setOrd = [](wb::Persistent& o, int64_t v) { static_cast<Sample&>(o).letter = char(v); };
            i.Add(c);
            wb::PropInfo w = c;
            w.name = "Wide";
            w.kind = wb::TypeKind::WChar;
            w.getOrd = [](const wb::Persistent& o) { return int64_t(static_cast<const Sample&>(o).wide); };
            w.setOrd = [](wb::Persistent& o, int64_t v) { static_cast<Sample&>(o).wide = char32_t(v); };
            i.Add(w);
            wb::PropInfo v;
            v.name = "Value";
            v.kind = wb::TypeKind::Variant;
            v.getVar = [](const wb::Persistent& o) { return static_cast<const Sample&>(o).value; };
            v.setVar = [](wb::Persistent& o, const wb::Variant& x) { static_cast<Sample&>(o).value = x; };
            i.Add(v);
            wb::PropInfo b;
            b.name = "Big";
            b.kind = wb::TypeKind::Int64;
            b.getOrd = [](const wb::Persistent& o) { return static_cast<const Sample&>(o).big; };
            b.setOrd = [](wb::Persistent& o, int64_t x) { static_cast<Sample&>(o).big = x; };
            i.Add(b);
            return i;
        }();
        return info;
    }
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    int Count() const { return count_; }
    void SetCount(int c) { count_ = c; }
    bool Checked() const { return checked_; }
    void SetChecked(bool c) { checked_ = c; }
    Colour GetColour() const { return colour_; }
    void SetColour(Colour c) { colour_ = c; }
    uint32_t Options() const { return options_; }
    void SetOptions(uint32_t o) { options_ = o; }
    std::string Text() const { return text_; }
    void SetText(const std::string& t) { text_ = t; }
    wb::StringList* Lines() const { return &lines_; }
    wb::Collection* Columns() const { return &columns_; }
    wb::Component* Link() const { return link_; }
    void SetLink(wb::Component* c) { link_ = c; }
    Pen* GetPen() const { return &pen_; }

    double ratio = 0;
    char letter = 'a';
    char32_t wide = U'x';
    wb::Variant value;
    int64_t big = 0;

private:
    int count_ = 0;
    bool checked_ = false;
    Colour colour_ = clRed;
    uint32_t options_ = 0;
    std::string text_;
    mutable wb::StringList lines_;
    mutable wb::Collection columns_{[](wb::Collection* c) { return std::make_unique<Column>(c); }};
    wb::Component* link_ = nullptr;
    mutable Pen pen_;
};

class FakeForm : public wb::Component {
public:
    FakeForm() { wb::FormList::Add(this); }
    ~FakeForm() override { wb::FormList::Remove(this); }
};

Sample* Named(wb::Component& owner, const char* name) {
    auto* s = new Sample(&owner);
    s->SetName(name);
    return s;
}

// A storage on a real INI file, written through the quoting wrapper.
class PropsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ini_ = std::make_unique<wb::IniFile>(dir_ / "p.ini");
        storage_.Section = "Main";
        storage_.OnReadString = [this](const std::string& s, const std::string& i, const std::string& d) {
            return ProfileReadString(ini_.get(), s, i, d);
        };
        storage_.OnWriteString = [this](const std::string& s, const std::string& i, const std::string& v) {
            ProfileWriteString(ini_.get(), s, i, v);
        };
        storage_.OnEraseSection = [this](const std::string& s) { ini_->EraseSection(s); };
    }
    std::string Bytes() const {
        std::ifstream in(ini_->FileName());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Save(wb::Component& owner, const std::vector<std::string>& lines) { Run(owner, lines, true); }
    void Load(wb::Component& owner, const std::vector<std::string>& lines) { Run(owner, lines, false); }
    void Run(wb::Component& owner, const std::vector<std::string>& lines, bool save) {
        wb::StringList list;
        for (auto& l : lines) list.Add(l, owner.FindComponent(l.substr(0, l.find('.'))));
        save ? storage_.SaveComponentProps(&owner, list) : storage_.LoadComponentProps(&owner, list);
    }
    wb::gui::test::TestFolder dir_{"props"};
    std::unique_ptr<wb::IniFile> ini_;
    TPropsStorage storage_;
};

const std::vector<std::string> kAll = {
    "S1.Count", "S1.Checked", "S1.Colour", "S1.Options", "S1.Text", "S1.Lines", "S1.Columns",
    "S1.Link", "S1.Pen", "S1.Ratio", "S1.Letter", "S1.Wide", "S1.Value", "S1.Big"};

TEST_F(PropsTest, EveryKindIsWrittenAsTheTableSaysAndReadBack) {
    FakeForm form;
    form.SetName("Form1");
    Sample* s = Named(form, "S1");
    Sample* target = Named(form, "Target");
    s->SetCount(-12);
    s->SetChecked(true);
    s->SetColour(clBlue);
    s->SetOptions(0b011);
    s->SetText("  padded text ");
    s->Lines()->SetLines({"one", " two", ""});
    auto* col = static_cast<Column*>(s->Columns()->Add());
    col->SetTitle("Name");
    col->SetWidth(120);
    s->SetLink(target);
    s->GetPen()->SetWidth(3);
    s->ratio = 1.5;
    s->letter = 'Q';
    s->wide = U'\u00e9';
    s->value = wb::Variant(int64_t(7));
    s->big = 1234567890123LL;
    Save(form, kAll);
    EXPECT_EQ(Bytes(),
              "[Main]\nS1_Count=-12\nS1_Checked=True\nS1_Colour=clBlue\nS1_Options=[fpState,fpPosition]\n"
              "S1_Text=padded text\nS1_Columns.Count=1\nS1_Link=Target\nS1_PenWidth=3\nS1_Ratio=1.5\n"
              "S1_Letter=Q\nS1_Wide=\xc3\xa9\nS1_Value=7\nS1_Big=1234567890123\n\n"
              "[Main.S1_Lines]\nItem0=one\nItem1= two\nItem2=\nCount=3\n\n"
              "[Main.S1_Columns]\nItem0_Title=Name\nItem0_Width=120\n");

    FakeForm other;
    other.SetName("Form2");
    Sample* back = Named(other, "S1");
    Sample* target2 = Named(other, "target");
    back->value = wb::Variant("x");  // an empty variant is not read, as an empty integer text is not
    Load(other, kAll);
    EXPECT_EQ(back->Count(), -12);
    EXPECT_TRUE(back->Checked());
    EXPECT_EQ(back->GetColour(), clBlue);
    EXPECT_EQ(back->Options(), 0b011u);
    EXPECT_EQ(back->Text(), "padded text");
    EXPECT_EQ(back->Lines()->Lines(), (std::vector<std::string>{"one", "two", ""}));  // read values are trimmed
    ASSERT_EQ(back->Columns()->Count(), 1);
    EXPECT_EQ(static_cast<Column*>(back->Columns()->Item(0))->Title(), "Name");
    EXPECT_EQ(static_cast<Column*>(back->Columns()->Item(0))->Width(), 120);
    EXPECT_EQ(back->Link(), target2);
    EXPECT_EQ(back->GetPen()->Width(), 3);
    EXPECT_DOUBLE_EQ(back->ratio, 1.5);
    EXPECT_EQ(back->letter, 'Q');
    EXPECT_EQ(back->wide, U'\u00e9');
    EXPECT_TRUE(back->value == wb::Variant("7"));
    EXPECT_EQ(back->big, 1234567890123LL);
}

TEST_F(PropsTest, TextsThatNameNoValueLeaveThePropertyAsItWas) {
    FakeForm form;
    Sample* s = Named(form, "S1");
    s->SetChecked(true);
    s->SetColour(clGreen);
    s->ratio = 2.5;
    ini_->WriteString("Main", "S1_Checked", "maybe");
    ini_->WriteString("Main", "S1_Colour", "clPurple");
    ini_->WriteString("Main", "S1_Ratio", "abc");
    ini_->WriteString("Main", "S1_Count", "12x");
    Load(form, {"S1.Checked", "S1.Colour", "S1.Ratio", "S1.Count", "S1.Nothing"});
    EXPECT_TRUE(s->Checked());
    EXPECT_EQ(s->GetColour(), clGreen);
    EXPECT_DOUBLE_EQ(s->ratio, 2.5);
    EXPECT_EQ(s->Count(), 0);  // an integer that does not convert reads as 0
    ini_->WriteString("Main", "S1_Checked", "false");
    ini_->WriteString("Main", "S1_Options", "[ fpActiveControl , ,fpstate]");
    Load(form, {"S1.Checked", "S1.Options"});
    EXPECT_FALSE(s->Checked());
    EXPECT_EQ(s->Options(), 0b101u);
    ini_->WriteString("Main", "S1_Options", "[]");
    Load(form, {"S1.Options"});
    EXPECT_EQ(s->Options(), 0u);
}

TEST_F(PropsTest, BlankTextsAndQuotedTexts) {
    FakeForm form;
    Sample* s = Named(form, "S1");
    s->SetText("   ");
    Save(form, {"S1.Text"});
    EXPECT_EQ(Bytes(), "[Main]\nS1_Text=\n");
    s->SetText("'quoted'");
    Save(form, {"S1.Text"});
    EXPECT_EQ(Bytes(), "[Main]\nS1_Text=\"'quoted'\"\n");
    s->SetText("");
    Load(form, {"S1.Text"});
    EXPECT_EQ(s->Text(), "'quoted'");
    s->SetCount(5);
    Save(form, {"S1.Count"});
    EXPECT_EQ(Bytes(), "[Main]\nS1_Text=\"'quoted'\"\nS1_Count=5\n");
}

TEST_F(PropsTest, FloatsUseAPointUnderAnyLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) std::setlocale(LC_NUMERIC, "C");
    FakeForm form;
    Sample* s = Named(form, "S1");
    s->ratio = 1.5;
    Save(form, {"S1.Ratio"});
    EXPECT_EQ(ini_->ReadString("Main", "S1_Ratio", ""), "1.5");
    s->ratio = 0;
    Load(form, {"S1.Ratio"});
    EXPECT_DOUBLE_EQ(s->ratio, 1.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST_F(PropsTest, ComponentReferences) {
    FakeForm form;
    form.SetName("MainForm");
    Sample* s = Named(form, "S1");
    FakeForm other;
    other.SetName("Other");
    Sample* far = Named(other, "Far");
    s->SetLink(far);
    Save(form, {"S1.Link"});
    EXPECT_EQ(ini_->ReadString("Main", "S1_Link", ""), "Other.Far");
    s->SetLink(nullptr);
    Load(form, {"S1.Link"});
    EXPECT_EQ(s->Link(), far);
    Save(form, {"S1.Link"});
    s->SetLink(nullptr);
    Save(form, {"S1.Link"});
    EXPECT_EQ(ini_->ReadString("Main", "S1_Link", ""), "(null)");
    // A name that no longer exists clears the reference; an unknown form leaves it.
    s->SetLink(far);
    ini_->WriteString("Main", "S1_Link", "Gone");
    Load(form, {"S1.Link"});
    EXPECT_EQ(s->Link(), nullptr);
    s->SetLink(far);
    ini_->WriteString("Main", "S1_Link", "NoForm.Far");
    Load(form, {"S1.Link"});
    EXPECT_EQ(s->Link(), far);
}

TEST_F(PropsTest, StringListsKeepTheirLinesWithoutAValidCount) {
    FakeForm form;
    Sample* s = Named(form, "S1");
    s->Lines()->SetLines({"keep"});
    Load(form, {"S1.Lines"});  // no section at all
    ini_->WriteString("Main.S1_Lines", "Count", "0");
    Load(form, {"S1.Lines"});
    ini_->WriteString("Main.S1_Lines", "Count", "-4");
    Load(form, {"S1.Lines"});
    ini_->WriteString("Main.S1_Lines", "Count", "2000000000");
    Load(form, {"S1.Lines"});
    EXPECT_EQ(s->Lines()->Lines(), (std::vector<std::string>{"keep"}));
    ini_->WriteString("Main", "S1_Columns.Count", "-1");
    static_cast<Column*>(s->Columns()->Add())->SetTitle("stay");
    Load(form, {"S1.Columns"});
    ASSERT_EQ(s->Columns()->Count(), 1);
    EXPECT_EQ(static_cast<Column*>(s->Columns()->Item(0))->Title(), "stay");
}

// Settings saved into a real file and read back by a fresh form; limit: the
// size the file may not grow past (0: none), which stops the save half way.
struct SavedCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
    rlim_t limit;
    std::string textBack;
    std::vector<std::string> linesBack;
};
void PrintTo(const SavedCase& c, std::ostream* os) { *os << c.name; }

class SettingsComeBack : public PropsTest, public ::testing::WithParamInterface<SavedCase> {};

TEST_P(SettingsComeBack, WholeOrWithAnError) {
    const SavedCase& c = GetParam();
    FakeForm form;
    Sample* s = Named(form, "S1");
    s->SetText(c.text);
    s->Lines()->SetLines(c.lines);
    ini_->WriteString("Main", "S1_Text", "old");  // an earlier run's value
    struct rlimit old, lim;
    ::getrlimit(RLIMIT_FSIZE, &old);
    lim = old;
    if (c.limit) lim.rlim_cur = c.limit;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lim), 0);
    const std::string error = wb::gui::test::ErrorOf<wb::IoError>([&] { Save(form, {"S1.Lines", "S1.Text"}); });
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(error.empty(), c.limit == 0) << error;
    FakeForm fresh;
    Sample* back = Named(fresh, "S1");
    back->Lines()->SetLines({"default"});
    Load(fresh, {"S1.Text", "S1.Lines"});
    EXPECT_EQ(back->Text(), c.textBack);
    EXPECT_EQ(back->Lines()->Lines(), c.linesBack);
}

const std::string kA(100, 'a'), kB(100, 'b'), kC(100, 'c');

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsComeBack,
    ::testing::Values(
        SavedCase{"PastedPatternWithALineBreak", "%A\n%T", {"one", "a\nb", "three"}, 0, "%A %T", {"one", "a b", "three"}},
        SavedCase{"CrLfIsOneBlank", "%A\r\n%T", {"x\r\ny"}, 0, "%A %T", {"x y"}},
        SavedCase{"OtherControlsAreBlanksToo", "a\tb", {"c\x7f" "d"}, 0, "a b", {"c d"}},
        // The third line does not fit: the list keeps no count, the text after it is stored.
        SavedCase{"ListStoppedHalfWay", "new", {kA, kB, kC}, 300, "new", {"default"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A stored number that does not fit its property does not convert: the
// property gets the table's fallback instead of the number's low bits.
struct NumberCase {
    const char* name;
    const char* section;
    const char* key;
    const char* stored;
    int count;  // Count and Big start at 5
    int64_t big;
};
void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class StoredNumber : public PropsTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(StoredNumber, OutsideItsBitsGivesTheFallback) {
    FakeForm form;
    Sample* s = Named(form, "S1");
    s->SetCount(5);
    s->big = 5;
    s->Lines()->SetLines({"keep"});
    ini_->WriteString(GetParam().section, GetParam().key, GetParam().stored);
    Load(form, {"S1.Count", "S1.Big", "S1.Lines"});
    EXPECT_EQ(s->Count(), GetParam().count);
    EXPECT_EQ(s->big, GetParam().big);
    EXPECT_EQ(s->Lines()->Lines(), (std::vector<std::string>{"keep"}));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredNumber,
    ::testing::Values(NumberCase{"IntegerPastThirtyTwoBits", "Main", "S1_Count", "99999999999", 0, 5},
                      NumberCase{"IntegerBelowThirtyTwoBits", "Main", "S1_Count", "-2147483649", 0, 5},
                      NumberCase{"IntegerAtItsLimit", "Main", "S1_Count", "-2147483648", INT32_MIN, 5},
                      NumberCase{"SixtyFourBitsPastThem", "Main", "S1_Big", "99999999999999999999", 5, 0},
                      NumberCase{"SixtyFourBitsWithinThem", "Main", "S1_Big", "99999999999", 5, 99999999999},
                      NumberCase{"ListCountPastThirtyTwoBits", "Main.S1_Lines", "Count", "4294967297", 5, 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoredItems, SplitJoinAndSync) {
    std::string c, p;
    EXPECT_TRUE(SplitStoredItem(" Edit1 . Text ", c, p));
    EXPECT_EQ(c, "Edit1");
    EXPECT_EQ(p, "Text");
    EXPECT_TRUE(SplitStoredItem("A.Font.Size", c, p));
    EXPECT_EQ(p, "Font.Size");
    EXPECT_FALSE(SplitStoredItem("NoDot", c, p));
    EXPECT_FALSE(SplitStoredItem(".Text", c, p));
    EXPECT_FALSE(SplitStoredItem("", c, p));
    EXPECT_EQ(JoinStoredItem("A", "B"), "A.B");
    EXPECT_EQ(JoinStoredItem("", "B"), "");

    FakeForm form;
    Sample* a = Named(form, "Alpha");
    wb::StringList lines;
    lines.SetLines({"alpha.Text", "Missing.Text", "junk", "Alpha.Count"});
    SyncStoredList(&form, lines, true);
    EXPECT_EQ(lines.Lines(), (std::vector<std::string>{"alpha.Text", "Alpha.Count"}));
    a->SetName("Beta");
    SyncStoredList(&form, lines, false);
    EXPECT_EQ(lines.Lines(), (std::vector<std::string>{"Beta.Text", "Beta.Count"}));
}

TEST(StrUtils, WordsAndHex) {
    EXPECT_EQ(CountWords("", " ,"), 0);
    EXPECT_EQ(CountWords(",,a, b,,c ", " ,"), 3);
    EXPECT_EQ(WordStart(2, ",,a, b", " ,"), 6);
    EXPECT_EQ(WordStart(3, "one, two", " ,"), 0);
    EXPECT_EQ(WordStart(0, "one", " ,"), 0);
    EXPECT_EQ(NthWord(3, "one, two", " ,"), "");
    EXPECT_EQ(NthWord(2, "10 ,20,,30", " ,"), "20");
    // Four numbers separated by a blank, a comma and two commas read the same.
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(NthWord(i, "1 2,3,,4", " ,"), NthWord(i, "1,2,3,4", " ,"));
    EXPECT_EQ(HexXorEncode("", "abc"), "616263");
    EXPECT_EQ(HexXorEncode("\x01", "abc"), "606362");
    EXPECT_EQ(HexXorDecode("", "616263"), "abc");
    EXPECT_EQ(HexXorDecode("", "61zz6"), "a ");  // a pair that is no hex number gives a blank
    for (std::string key : {"", "k", "longer key"})
        for (std::string text : {"", "x", "Hello, World! \xff\x01"})
            EXPECT_EQ(HexXorDecode(key, HexXorEncode(key, text)), text);
}

} // namespace
