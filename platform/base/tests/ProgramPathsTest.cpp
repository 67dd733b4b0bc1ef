#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/base/File.h"
#include "platform/base/ProgramPaths.h"
#include "platform/base/TempDir.h"
#include "platform/base/TextFile.h"
#include "platform/testing/XdgSandbox.h"

using namespace wb;

TEST(ProgramPaths, TheRunningProgramKnowsItself) {
    EXPECT_EQ(ProgramName(), "platform_base_tests");
    EXPECT_TRUE(FileExists(ProgramFolder() + "/" + ProgramName()));
}

TEST(ProgramPaths, XdgFoldersFollowTheEnvironment) {
    test::XdgSandbox xdg;
    EXPECT_EQ(ConfigHome(), xdg.ConfigHome());
    EXPECT_EQ(DataHome(), xdg.DataHome());
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1);  // ignored, as XDG says
    EXPECT_EQ(ConfigHome(), std::string(std::getenv("HOME")) + "/.config");
}

// Where a program's writable files go and where its read-only data is found,
// for the layouts it runs in.
struct LayoutCase {
    const char* name;
    std::vector<std::string> files;  // below the prefix; bin/ is the program's folder
    bool folderExists;
    const char* besideIn;            // "program" or "config"
    const char* dataIn;              // below the prefix
};

class ProgramLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ProgramLayout, WritesBesideOnlyWhenNotInstalledAndFindsItsData) {
    const LayoutCase& c = GetParam();
    test::XdgSandbox xdg;
    TempDir prefix;
    if (c.folderExists) MakeFolders(prefix / "bin");
    for (const auto& f : c.files) {
        MakeFolders((prefix / f).substr(0, (prefix / f).find_last_of('/')));
        WriteFileReplacing(prefix / f, "x");
    }
    const std::string folder = prefix / "bin";
    std::string expected = std::string(c.besideIn) == "program" ? folder : xdg.ConfigHome() + "/parvex";
    EXPECT_EQ(BesideProgramFolder(folder, "parvex"), expected);
    EXPECT_TRUE(DirectoryExists(expected));
    EXPECT_EQ(ProgramDataFile(folder, "parvex", "help.doc"), prefix / c.dataIn);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ProgramLayout,
    ::testing::Values(
        LayoutCase{"BuildTree", {"bin/help.doc"}, true, "program", "bin/help.doc"},
        LayoutCase{"Installed",
                   {"share/applications/parvex.desktop", "share/parvex/help.doc"}, true,
                   "config", "share/parvex/help.doc"},
        LayoutCase{"InstalledWithACopyBeside",
                   {"share/applications/parvex.desktop", "share/parvex/help.doc",
                    "bin/help.doc"},
                   true, "config", "bin/help.doc"},
        LayoutCase{"BesideAnotherInstalledProgram",
                   {"share/applications/sonafex.desktop", "share/parvex/help.doc"}, true,
                   "program", "share/parvex/help.doc"},
        LayoutCase{"FolderGone", {}, false, "config", "bin/help.doc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramPaths, IconsComeFromTheThemeBelowThePrefix) {
    TempDir prefix;
    for (const char* f : {"48x48/apps/parvex.png", "16x16/apps/parvex.png", "scalable/apps/parvex.svg",
                          "32x32/apps/sonafex.png", "32x32/apps/parvex.svg.txt"}) {
        std::string path = prefix / "share/icons/hicolor/" + f;
        MakeFolders(path.substr(0, path.find_last_of('/')));
        WriteFileReplacing(path, "x");
    }
    const std::string folder = prefix / "bin";
    const std::string theme = prefix / "share/icons/hicolor/";
    EXPECT_EQ(ProgramIconFiles(folder, "parvex", ".png"),
              (std::vector<std::string>{theme + "16x16/apps/parvex.png", theme + "48x48/apps/parvex.png"}));
    EXPECT_EQ(ProgramIconFiles(folder, "parvex", ".svg"),
              std::vector<std::string>{theme + "scalable/apps/parvex.svg"});
    EXPECT_TRUE(ProgramIconFiles(folder, "velmora", ".png").empty());
    EXPECT_TRUE(ProgramIconFiles(prefix / "nowhere/bin", "parvex", ".png").empty());
}

TEST(TextFile, ReplacingLeavesNoTemporaryAndKeepsTheOldFileOnFailure) {
    TempDir dir;
    std::string p = dir / "a.txt";
    WriteFileReplacing(p, "one");
    WriteFileReplacing(p, "two", 0755);
    EXPECT_EQ(ReadWholeFile(p), "two");
    EXPECT_FALSE(IsReadOnlyFile(p));
    EXPECT_THROW(WriteFileReplacing(dir / "missing/b.txt", "x"), IoError);
    // Only a.txt is left in the folder.
    int count = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++count;
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(ReadWholeFile(dir / "missing.txt"));
}
