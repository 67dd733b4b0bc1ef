// Writes that fail part-way (a full disk, here a file-size limit) end in an
// error, never in the success message, and replace nothing.
#include "ParvexTestSupport.h"

#include "file_splitter/PieceFiles.h"

#include <csignal>
#include <sys/resource.h>

using namespace parvex::test;

namespace {

// Limits every file this process writes to `bytes` while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim = old_;
        lim.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &lim) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, handler_);
    }
    bool Ok() const { return ok_; }

private:
    struct rlimit old_;
    void (*handler_)(int);
    bool ok_ = false;
};

class DiskFull : public DialogTest {};

} // namespace

TEST_F(DiskFull, SplitThatCannotWriteAPieceReportsAndLeavesNothing) {
    MakeFile("src.dat", 300000, 3);
    const auto oldFirst = MakeFile("src.brk", 50, 9);  // an earlier file under the output name
    BrowseSplit(Path("src.dat"));
    Specify("100");
    {
        FileSizeLimit limit(150000);  // the first piece fits, the copy dies in a block
        ASSERT_TRUE(limit.Ok());
        Specify("200");
        host.TakeMessages();
        host.Click(IDC_BREAK_IT);
    }
    auto messages = host.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MsgKind::Error);
    EXPECT_EQ(messages[0].text.rfind("Splitting failed. Nothing was written.\n", 0), 0u) << messages[0].text;
    // The piece the user asked for is named, not the hidden file it went to.
    EXPECT_NE(messages[0].text.find(Path("src.b")), std::string::npos) << messages[0].text;
    EXPECT_EQ(messages[0].text.find(".wbtmp"), std::string::npos) << messages[0].text;
    EXPECT_EQ(ReadBytes(Path("src.brk")), oldFirst);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"src.brk", "src.dat"}));  // no piece, no temporary file
}

TEST_F(DiskFull, JoinThatCannotWriteReportsAndKeepsTheOldOutput) {
    const auto original = MakeFile("src.dat", 300000, 4);
    BrowseSplit(Path("src.dat"));
    Specify("100");
    host.Click(IDC_BREAK_IT);
    host.TakeMessages();
    const auto oldOutput = MakeFile("src.dat", 10, 5);
    BrowseJoin(Path("src.brk"));
    host.TakeMessages();
    {
        FileSizeLimit limit(200000);
        ASSERT_TRUE(limit.Ok());
        host.Click(IDC_ASSEMBLE);
    }
    auto messages = host.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MsgKind::Error);
    EXPECT_EQ(messages[0].text.rfind("Joining failed. Nothing was written.\n", 0), 0u) << messages[0].text;
    EXPECT_EQ(ReadBytes(Path("src.dat")), oldOutput);
}

// The pieces are renamed into place one by one; when a later rename fails,
// the earlier ones are undone and no hidden second name of an old piece stays.
TEST_F(DiskFull, SplitWhoseRenamesFailPartWayKeepsTheOldSetAndNothingElse) {
    MakeFile("src.dat", 300000, 6);
    const auto old0 = MakeFile("src.brk", 50, 7), old1 = MakeFile("src.b01", 60, 8), old2 = MakeFile("src.b02", 70, 9);
    parvex::CopyEvents events;
    // Another program takes every piece but the first before they are put in place.
    events.started = [&] {
        std::vector<std::string> temps;
        for (const auto& name : Listing())
            if (name.rfind(".wbtmp-", 0) == 0) temps.push_back(name);
        ASSERT_EQ(temps.size(), 3u);
        auto counter = [](const std::string& n) { return std::stoul(n.substr(n.rfind('-') + 1)); };
        std::sort(temps.begin(), temps.end(), [&](auto& a, auto& b) { return counter(a) < counter(b); });
        for (size_t i = 1; i < temps.size(); ++i) fs::remove(Path(temps[i]));
    };
    EXPECT_THROW(parvex::SplitFile({Path("src.dat"), Path("src.brk"), 300000, 102400}, events), parvex::PieceError);
    EXPECT_EQ(ReadBytes(Path("src.brk")), old0);
    EXPECT_EQ(ReadBytes(Path("src.b01")), old1);
    EXPECT_EQ(ReadBytes(Path("src.b02")), old2);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"src.b01", "src.b02", "src.brk", "src.dat"}));
}
