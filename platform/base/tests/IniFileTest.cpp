#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "platform/base/IniFile.h"
#include "platform/base/TempDir.h"
#include "platform/testing/Bytes.h"

namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::string Bytes() const { return wb::test::ReadText(path_); }
    void Put(const std::string& bytes) const { wb::test::WriteBytes(path_, bytes); }
    wb::TempDir dir_{"wb-ini"};
    std::string path_ = dir_ / "Test.Ini";
};

TEST_F(IniFileTest, WritesReachTheFileAtOnceInOrder) {
    wb::IniFile ini(path_);
    ini.WriteString("Main", "CDDrive", "/dev/sr0");
    EXPECT_EQ(Bytes(), "[Main]\nCDDrive=/dev/sr0\n");
    ini.WriteInteger("Main", "Flags", -3);
    ini.WriteBool("Other", "Visible", false);
    ini.WriteString("main", "cddrive", "x");  // same key, other case: replaced in place
    EXPECT_EQ(Bytes(), "[Main]\ncddrive=x\nFlags=-3\n\n[Other]\nVisible=0\n");
    // A second object on the same file sees the writes.
    wb::IniFile other(path_);
    EXPECT_EQ(other.ReadInteger("MAIN", "FLAGS", 0), -3);
    EXPECT_FALSE(other.ReadBool("other", "visible", true));
}

TEST_F(IniFileTest, ReadTrimsAndStripsOnePairOfQuotes) {
    Put("; comment\r\n[ Main ]\r\n  Key1 =  spaced value  \r\nQ1=\"quoted\"\r\nQ2='single'\r\n"
        "Q3=\"\"twice\"\"\r\nQ4=\"open\r\nQ5=\"mixed'\r\nQ6=\"\r\nEmpty=\r\n");
    wb::IniFile ini(path_);
    const std::pair<const char*, const char*> read[] = {
        {"key1", "spaced value"}, {"Q1", "quoted"}, {"Q2", "single"}, {"Q3", "\"twice\""}, {"Q4", "\"open"},
        {"Q5", "\"mixed'"}, {"Q6", "\""}, {"Empty", ""}, {"Missing", "d"}};
    for (auto [key, value] : read) EXPECT_EQ(ini.ReadString("Main", key, "d"), value) << key;
    EXPECT_EQ(ini.ReadString("main", "KEY1", "d"), "spaced value");
    EXPECT_EQ(ini.ReadString("Nowhere", "Key1", "d"), "d");
    EXPECT_EQ(ini.ReadSection("MAIN"),
              (std::vector<std::string>{"Key1", "Q1", "Q2", "Q3", "Q4", "Q5", "Q6", "Empty"}));
}

TEST_F(IniFileTest, IntegersAndBooleans) {
    Put("[S]\nA= 42 \nB=4x\nC=+7\nD=0\nE=2\n");
    wb::IniFile ini(path_);
    EXPECT_EQ(ini.ReadInteger("S", "A", 1), 42);
    EXPECT_EQ(ini.ReadInteger("S", "B", 1), 1);
    EXPECT_EQ(ini.ReadInteger("S", "C", 1), 7);
    EXPECT_FALSE(ini.ReadBool("S", "D", true));
    EXPECT_TRUE(ini.ReadBool("S", "E", false));
    EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
}

// A value that is not UTF-8 was written in the Windows code page; it reads
// as that and goes back as UTF-8.
struct CodePageCase {
    const char* name;
    const char* stored;
    const char* read;
};

class IniCodePage : public IniFileTest, public ::testing::WithParamInterface<CodePageCase> {};

TEST_P(IniCodePage, ValuesReadAsUtf8OrWindows1252) {
    Put(std::string("[Main]\nName=") + GetParam().stored + "\n");
    wb::IniFile ini(path_);
    const std::string value = ini.ReadString("Main", "Name", "");
    EXPECT_EQ(value, GetParam().read);
    ini.WriteString("Main", "Name", value);
    EXPECT_EQ(Bytes(), std::string("[Main]\nName=") + GetParam().read + "\n");
}

INSTANTIATE_TEST_SUITE_P(Settings, IniCodePage,
                         ::testing::Values(CodePageCase{"Latin1Accent", "caf\xe9", "caf\xc3\xa9"},
                                           CodePageCase{"EuroSign", "5 \x80", "5 \xe2\x82\xac"},
                                           CodePageCase{"CutUtf8Sequence", "\xc3", "\xc3\x83"},
                                           CodePageCase{"Utf8StaysAsItIs", "caf\xc3\xa9", "caf\xc3\xa9"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniFileTest, NewKeysJoinTheirSectionBeforeItsBlankLines) {
    Put("[A]\nx=1\n\n[B]\ny=2\n");
    wb::IniFile ini(path_);
    ini.WriteString("a", "z", "3");
    EXPECT_EQ(Bytes(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n");
    ini.DeleteKey("A", "X");
    EXPECT_EQ(Bytes(), "[A]\nz=3\n\n[B]\ny=2\n");
}

TEST_F(IniFileTest, EraseSectionRemovesEveryCopyAndNothingElse) {
    Put("[A]\nx=1\n\n[B]\ny=2\n\n[a]\nw=0\n");
    wb::IniFile ini(path_);
    ini.EraseSection("A");
    EXPECT_EQ(Bytes(), "[B]\ny=2\n\n");
    EXPECT_EQ(ini.ReadString("A", "x", "gone"), "gone");
    ini.EraseSection("Missing");
    EXPECT_EQ(Bytes(), "[B]\ny=2\n\n");
    wb::IniFile absent(dir_ / "none.ini");
    absent.EraseSection("A");
    EXPECT_FALSE(fs::exists(dir_ / "none.ini"));
}

TEST_F(IniFileTest, LineBreaksAndBrokenNamesAreRefusedAndTheFileKept) {
    wb::IniFile ini(path_);
    ini.WriteString("S", "k", "v");
    const std::string before = Bytes();
    for (auto [section, key, value] : {std::array{"S", "k", "two\nlines"}, {"S", "k", "cr\rhere"}, {"S", "a=b", "v"},
                                       {"S", " ", "v"}, {"S]x", "k", "v"}, {"S\n", "k", "v"}})
        EXPECT_THROW(ini.WriteString(section, key, value), wb::IniFormatError) << section << "/" << key;
    EXPECT_EQ(Bytes(), before);
}

TEST_F(IniFileTest, FailedWriteNamesTheFileAndLeavesNoTemporary) {
    wb::IniFile ini(dir_ / "missing/x.ini");
    try {
        ini.WriteString("S", "k", "v");
        FAIL() << "no error";
    } catch (const wb::IoError& e) {
        EXPECT_NE(e.FileName().find("x.ini"), std::string::npos);
    }
    wb::IniFile(path_).WriteString("S", "k", "v");
    const auto files = std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator());
    EXPECT_EQ(files, 1);  // no temporary file left beside it
}

} // namespace
