#include <gtest/gtest.h>

#include <filesystem>

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

TEST(ProgramPaths, BesideTheProgramWhenWritableElseTheConfigFolder) {
    test::XdgSandbox xdg;
    TempDir programDir;
    EXPECT_EQ(BesideProgramFolder(programDir.Path(), "parvex"), programDir.Path());
    std::string gone = programDir / "no-such-folder";
    std::string fallback = BesideProgramFolder(gone, "parvex");
    EXPECT_EQ(fallback, xdg.ConfigHome() + "/parvex");
    EXPECT_TRUE(DirectoryExists(fallback));
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
