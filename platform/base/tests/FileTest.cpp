#include <gtest/gtest.h>

#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include <map>
#include <string>

#include "platform/base/File.h"
#include "platform/base/TempDir.h"
#include "platform/testing/Bytes.h"

using namespace wb;

TEST(File, ErrorsNameTheFileAndTheReason) {
    TempDir dir;
    std::string missing = dir / "missing.bin";
    try {
        File f(missing, File::Mode::Read);
        FAIL() << "opened a missing file";
    } catch (const IoError& e) {
        EXPECT_EQ(e.FileName(), missing);
        EXPECT_NE(std::string(e.what()).find("missing.bin"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos);
    }
    EXPECT_THROW(File(dir.Path(), File::Mode::Read), IoError);  // a folder is no file
}

// A file or link goes, a name already gone is no failure, and a folder is
// refused with the reason rather than removed.
TEST(File, RemoveFileTakesFilesAndLinksOnly) {
    TempDir dir;
    const std::string file = dir / "f", link = dir / "l", folder = dir / "d";
    { File f(file, File::Mode::Create); }
    ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    // Each row: the name removed, whether it is refused, a name that stays.
    for (auto [path, refused, stays] : {std::tuple{link, false, file}, {file, false, folder}, {file, false, folder},
                                        {folder, true, folder}}) {
        bool threw = false;
        try {
            RemoveFile(path);
        } catch (const IoError& e) {
            threw = e.FileName() == path && !e.Reason().empty();
        }
        EXPECT_EQ(threw, refused) << path;
        EXPECT_EQ(::access(path.c_str(), F_OK) == 0, refused) << path;
        EXPECT_EQ(::access(stays.c_str(), F_OK), 0) << path;
    }
}

TEST(File, SeeksAndSizesPastFourGigabytes) {
    TempDir dir;
    std::string p = dir / "sparse.bin";
    const int64_t far = (int64_t(5) << 30) + 7;
    {
        File f(p, File::Mode::Create);
        f.Seek(far);
        f.Write("x", 1);
        f.Close();
    }
    File f(p, File::Mode::Read);
    EXPECT_EQ(f.Size(), far + 1);
    f.Seek(far);
    char c = 0;
    EXPECT_EQ(f.Read(&c, 1), 1u);
    EXPECT_EQ(c, 'x');
    EXPECT_EQ(f.Read(&c, 1), 0u);
    EXPECT_THROW(f.ReadExact(&c, 1), IoError);
}

TEST(File, ReadOnlyAndSameFileAnswerFromTheDisk) {
    TempDir dir;
    std::string p = dir / "a.txt";
    File(p, File::Mode::Create).Close();
    EXPECT_FALSE(IsReadOnlyFile(p));
    EXPECT_TRUE(IsReadOnlyFile(dir / "nothing-here"));  // attributes unreadable
    ::chmod(p.c_str(), 0444);  // read-only for root as well
    EXPECT_TRUE(IsReadOnlyFile(p));
    EXPECT_TRUE(SameFile(p, dir.Path() + "/./a.txt"));
    EXPECT_FALSE(SameFile(p, dir / "nothing-here"));
}

// Each kind of entry with what one status query and the write test say of it.
TEST(File, AFolderIsReadWithTheFactsOfEachEntry) {
    TempDir dir;
    test::WriteBytes(dir / "song.mp3", std::string_view("abc"));
    test::WriteBytes(dir / "locked.mp3", std::string_view("x"));
    ::chmod((dir / "locked.mp3").c_str(), 0444);
    ::mkdir((dir / "sub").c_str(), 0755);
    ASSERT_EQ(::symlink("gone", (dir / "dangling").c_str()), 0);
    std::map<std::string, std::string> seen;  // known, folder, regular, read-only, size
    for (const FolderEntry& e : ReadFolder(dir.Path()))
        seen[e.name] = std::to_string(e.known) + std::to_string(e.isDirectory) + std::to_string(e.isRegular) +
                       std::to_string(e.readOnly) + " " + std::to_string(e.size) + (e.modified > 0 ? "" : " no time");
    const std::map<std::string, std::string> expected{
        {"song.mp3", "1010 3"}, {"locked.mp3", "1011 1"}, {"sub", "1100 0"}, {"dangling", "0001 0 no time"}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(ReadFolder(dir / "nothing-here").empty());
}

TEST(TempDir, IsPrivateAndRemovedWithItsContents) {
    std::string path;
    {
        TempDir dir("wbtest");
        path = dir.Path();
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        File(dir / "inner", File::Mode::Create).Close();
    }
    EXPECT_FALSE(DirectoryExists(path));
}
