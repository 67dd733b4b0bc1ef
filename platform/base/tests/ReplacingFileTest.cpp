#include "platform/base/ReplacingFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class ReplacingFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("replacing-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directory(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    static std::string Content(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Put(const std::string& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    size_t Entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})); }

    fs::path dir_;
};

} // namespace

TEST_F(ReplacingFileTest, OldContentStaysUntilCommit) {
    const std::string target = Path("a.wav");
    Put(target, "old");
    {
        wb::ReplacingFile out(target);
        out.Write("new content", 11);
        EXPECT_EQ(Content(target), "old");
        out.Commit();
    }
    EXPECT_EQ(Content(target), "new content");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(ReplacingFileTest, WithoutCommitNothingChangesAndNothingIsLeft) {
    const std::string target = Path("a.wav");
    Put(target, "old");
    {
        wb::ReplacingFile out(target);
        out.Write("half", 4);
    }  // as when writing threw half way
    EXPECT_EQ(Content(target), "old");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(ReplacingFileTest, KeepsPermissionsAndAvoidsTakenTemporaryNames) {
    const std::string target = Path("a.wav");
    Put(target, "old");
    ::chmod(target.c_str(), 0640);
    Put(target + ".tmp", "someone else's");
    {
        wb::ReplacingFile out(target);
        out.Write("x", 1);
        out.Commit();
    }
    EXPECT_EQ(Content(target), "x");
    EXPECT_EQ(Content(target + ".tmp"), "someone else's");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ReplacingFileTest, ALinkIsReplacedAtItsTarget) {
    const std::string real = Path("real.wav");
    const std::string link = Path("link.wav");
    Put(real, "old");
    fs::create_symlink(real, link);
    wb::ReplacingFile out(link);
    out.Write("new", 3);
    out.Commit();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Content(real), "new");
}

TEST_F(ReplacingFileTest, UnwritableFolderThrowsWithTheFileName) {
    try {
        wb::ReplacingFile out(Path("missing/x.wav"));
        FAIL() << "no error";
    } catch (const wb::IoError& e) {
        EXPECT_NE(std::string(e.what()).find("missing/x.wav"), std::string::npos) << e.what();
    }
}
