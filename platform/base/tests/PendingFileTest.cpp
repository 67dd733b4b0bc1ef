#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/PendingFile.h"
#include "platform/base/TempDir.h"
#include "platform/testing/Bytes.h"

namespace fs = std::filesystem;

namespace {

class PendingFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_ / name; }
    std::string Read(const std::string& name) const { return wb::test::ReadText(Path(name)); }
    size_t Entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()));
    }
    wb::TempDir dir_{"pending"};
};

} // namespace

TEST_F(PendingFileTest, TargetChangesOnlyOnCommit) {
    wb::test::WriteBytes(Path("t.txt"), "old");
    {
        wb::PendingFile f(Path("t.txt"));
        f.Stream().Write("new", 3);
        EXPECT_EQ(Read("t.txt"), "old");
        EXPECT_EQ(Entries(), 2u);
        f.Commit();
    }
    EXPECT_EQ(Read("t.txt"), "new");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(PendingFileTest, DroppedOrDiscardedLeavesNoTrace) {
    wb::test::WriteBytes(Path("t.txt"), "old");
    {
        wb::PendingFile f(Path("t.txt"));
        f.Stream().Write("partial", 7);
    }
    wb::PendingFile g(Path("u.txt"));
    g.Finish();
    g.Discard();
    EXPECT_EQ(Read("t.txt"), "old");
    EXPECT_EQ(Entries(), 1u);
    EXPECT_THROW(g.Commit(), wb::IoError);
}

TEST_F(PendingFileTest, MovedFilesKeepOneOwner) {
    std::vector<wb::PendingFile> files;
    for (int i = 0; i < 3; ++i) {
        files.emplace_back(Path("f" + std::to_string(i)));
        files.back().Stream().Write("x", 1);
    }
    for (auto& f : files) f.Commit();
    files.clear();
    EXPECT_EQ(Entries(), 3u);
}

TEST_F(PendingFileTest, UnusableFolderOrTargetNamesTheTarget) {
    try {
        wb::PendingFile f(Path("missing/t.txt"));
        FAIL();
    } catch (const wb::IoError& e) {
        EXPECT_EQ(e.FileName(), Path("missing/t.txt"));
        EXPECT_EQ(e.Errno(), ENOENT);
    }
    EXPECT_THROW(wb::PendingFile(""), wb::IoError);
    EXPECT_THROW(wb::PendingFile(Path("") + "/"), wb::IoError);
    fs::create_directory(Path("sub"));
    EXPECT_THROW(wb::PendingFile(Path("sub")), wb::IoError);  // a folder is never replaced
    EXPECT_TRUE(fs::is_directory(Path("sub")));
}
