#include "platform/base/PendingFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "platform/base/TempDir.h"
#include "platform/testing/Bytes.h"

namespace fs = std::filesystem;

namespace {

class ReplacingTargetTest : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return dir_ / name; }
    static std::string Content(const std::string& p) { return wb::test::ReadText(p); }
    static void Put(const std::string& p, const std::string& text) { wb::test::WriteBytes(p, text); }

    wb::TempDir dir_{"pending-target"};
};

} // namespace

TEST_F(ReplacingTargetTest, KeepsThePermissionsOfTheReplacedFile) {
    const std::string target = Path("a.wav");
    Put(target, "old");
    ::chmod(target.c_str(), 0640);

    {
        wb::PendingFile out(target);
        out.Write("x", 1);
        out.Commit();
    }
    EXPECT_EQ(Content(target), "x");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ReplacingTargetTest, ALinkIsReplacedAtItsTarget) {
    const std::string real = Path("real.wav");
    const std::string link = Path("link.wav");
    Put(real, "old");
    fs::create_symlink(real, link);
    wb::PendingFile out(link);
    out.Write("new", 3);
    out.Commit();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Content(real), "new");
}
