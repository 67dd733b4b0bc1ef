#include <gtest/gtest.h>

#include "platform/base/IoError.h"
#include "platform/base/Registry.h"
#include "platform/base/TempDir.h"
#include "platform/base/TextFile.h"
#include "platform/testing/XdgSandbox.h"

using namespace wb;

namespace {
const auto CR = RegRoot::ClassesRoot;
const auto CU = RegRoot::CurrentUser;
}

TEST(Registry, NamesCompareWithoutCaseAndKeepTheirCase) {
    TempDir dir;
    Registry reg(dir / "store.txt");
    reg.SetString(CR, "brkfile\\shell\\join", "", "&Reassemble the File");
    reg.SetString(CU, "software\\Parvex", "Path", "/opt/parvex");

    EXPECT_EQ(reg.GetString(CR, "BRKFILE\\Shell\\JOIN", ""), "&Reassemble the File");
    EXPECT_EQ(reg.GetString(CU, "Software\\parvex", "path"), "/opt/parvex");
    // The two roots are apart.
    EXPECT_FALSE(reg.GetString(CR, "software\\Parvex", "Path"));
    // A write through another spelling replaces, never duplicates.
    reg.SetString(CR, "BrkFile\\SHELL\\Join", "", "again");
    EXPECT_EQ(reg.SubKeys(CR, "brkfile\\shell"), std::vector<std::string>{"join"});
    EXPECT_EQ(reg.GetString(CR, "brkfile\\shell\\join", ""), "again");
    // Missing key and missing value are both "nothing".
    EXPECT_FALSE(reg.GetString(CR, "brkfile\\shell\\join", "other"));
    EXPECT_FALSE(reg.GetString(CR, "nokey", ""));
    // Empty segments from doubled or outer separators are ignored.
    EXPECT_EQ(reg.GetString(CR, "\\brkfile\\\\shell\\join\\", ""), "again");
}

TEST(Registry, DeleteRemovesTheWholeBranch) {
    TempDir dir;
    Registry reg(dir / "store.txt");
    reg.SetString(CR, "*\\shell\\Cut Using Parvex\\command", "", "parvex Tamrel \"%1\"");
    reg.SetString(CR, "*\\shell\\open\\command", "", "other");
    EXPECT_TRUE(reg.DeleteKey(CR, "*\\Shell\\cut using parvex"));
    EXPECT_FALSE(reg.KeyExists(CR, "*\\shell\\Cut Using Parvex"));
    EXPECT_FALSE(reg.KeyExists(CR, "*\\shell\\Cut Using Parvex\\command"));
    EXPECT_TRUE(reg.KeyExists(CR, "*\\shell\\open\\command"));
    EXPECT_FALSE(reg.DeleteKey(CR, "*\\shell\\Cut Using Parvex"));  // already gone
    EXPECT_FALSE(reg.DeleteKey(CR, ""));                             // a root stays
    EXPECT_TRUE(reg.KeyExists(CR, "*"));
}

TEST(Registry, ValuesSurviveTheFileWhateverTheyHold) {
    TempDir dir;
    std::string file = dir / "sub/folder/store.txt";  // folders made on demand
    const std::string odd = "quote \" back\\slash\nnew line\ttab [x] %41 = @";
    const std::string oddKey = "a]b[c%d=e";
    {
        Registry reg(file);
        reg.SetString(CR, oddKey + "\\\"quoted\"", "name \"with\" = sign", odd);
        reg.SetString(CR, oddKey, "", "");
        reg.CreateKey(CU, "software\\Empty");
    }
    Registry again(file);
    EXPECT_EQ(again.GetString(CR, oddKey + "\\\"quoted\"", "NAME \"WITH\" = SIGN"), odd);
    EXPECT_EQ(again.GetString(CR, oddKey, ""), "");
    EXPECT_TRUE(again.KeyExists(CU, "software\\empty"));
    EXPECT_EQ(again.SubKeys(CR, ""), std::vector<std::string>{oddKey});
    // A long value is kept whole; the store has no fixed buffers.
    std::string longValue(5000, 'x');
    again.SetString(CU, "software\\Parvex", "Path", longValue);
    EXPECT_EQ(Registry(file).GetString(CU, "software\\Parvex", "Path"), longValue);
}

TEST(Registry, AStoreThatCannotBeWrittenThrowsAndKeepsTheOldOne) {
    TempDir dir;
    Registry reg(dir / "store.txt");
    reg.SetString(CU, "k", "v", "1");
    // A folder where the store file should be cannot be replaced.
    Registry blocked(dir.Path());
    EXPECT_THROW(blocked.SetString(CU, "k", "v", "2"), IoError);
    EXPECT_EQ(reg.GetString(CU, "k", "v"), "1");
}

TEST(Registry, UserStoreLivesInTheConfigFolder) {
    test::XdgSandbox xdg;
    Registry reg = Registry::User();
    EXPECT_EQ(reg.StoreFile(), xdg.ConfigHome() + "/wb-registry/registry.txt");
    reg.SetString(CU, "software\\Parvex", "Path", "/p");
    auto text = ReadWholeFile(reg.StoreFile());
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("[HKEY_CURRENT_USER\\software\\Parvex]"), std::string::npos);
    EXPECT_NE(text->find("\"Path\"=\"/p\""), std::string::npos);
}
