// Files that are not what the dialog expects: a FIFO or a device where a
// file or a piece should be, outputs that may not be replaced, and a set
// whose renames fail part-way.
#include "ParvexTestSupport.h"

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "file_splitter/PieceFiles.h"

using namespace parvex::test;

namespace {

const char kCannotCreate[] =
    "Failed to create output files.\nSelected Output path doesnot exists\nor Disc is write protected";

class HostileFiles : public DialogTest {
public:
    using DialogTest::BrowseJoin;
    using DialogTest::BrowseSplit;
    using DialogTest::Path;
    // movie.dat of 1,000,000 bytes split into 500 KB pieces: movie.brk, movie.b01.
    void SplitMovie() {
        MakeFile("movie.dat", 1000000, 7);
        BrowseSplit(Path("movie.dat"));
        host.Click(IDC_PRESET_500K);
        host.Click(IDC_BREAK_IT);
        host.TakeMessages();
    }
    void Fifo(const std::string& name) {
        fs::remove(Path(name));
        ASSERT_EQ(::mkfifo(Path(name).c_str(), 0600), 0);
    }
    std::string ReadOnly(const std::string& name) {
        WriteBytes(Path(name), {'o', 'l', 'd'});
        ::chmod(Path(name).c_str(), 0444);
        return Path(name);
    }
};

struct NonRegularCase {
    const char* name;
    std::function<void(HostileFiles&)> act;
    std::function<std::string(HostileFiles&)> message;  // the one warning expected
    const char* joinStatus;                             // or null
};

class NonRegularDocument : public HostileFiles, public ::testing::WithParamInterface<NonRegularCase> {};

} // namespace

// Each finishes at once: nothing is read from a FIFO or a device.
TEST_P(NonRegularDocument, IsRefusedAtOnceNamingTheFile) {
    GetParam().act(*this);
    auto messages = host.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, GetParam().message(*this));
    EXPECT_EQ(messages[0].kind, MsgKind::Warning);
    if (GetParam().joinStatus) {
        EXPECT_EQ(host.Text(IDC_JOIN_STATUS), GetParam().joinStatus);
    }
    EXPECT_FALSE(host.Enabled(IDC_BREAK_IT));
    EXPECT_FALSE(host.Enabled(IDC_ASSEMBLE));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NonRegularDocument,
    ::testing::Values(
        NonRegularCase{"FifoToSplit", [](auto& t) { t.Fifo("x.b02"); t.BrowseSplit(t.Path("x.b02")); },
                       [](auto& t) { return "Cannot open \"" + t.Path("x.b02") + "\": it is not a regular file"; },
                       nullptr},
        NonRegularCase{"DeviceToSplit",
                       [](auto& t) {
                           fs::create_symlink("/dev/zero", t.Path("zero.bin"));
                           t.BrowseSplit(t.Path("zero.bin"));
                       },
                       [](auto& t) { return "Cannot open \"" + t.Path("zero.bin") + "\": it is not a regular file"; },
                       nullptr},
        NonRegularCase{"FifoAsFirstPiece", [](auto& t) { t.Fifo("x.brk"); t.BrowseJoin(t.Path("x.brk")); },
                       [](auto&) { return std::string("Invalid file Format"); }, "Invalid File Format."},
        NonRegularCase{"FifoAsFurtherPiece",
                       [](auto& t) {
                           t.SplitMovie();
                           t.Fifo("movie.b01");
                           t.BrowseJoin(t.Path("movie.brk"));
                       },
                       [](auto& t) {
                           return "File " + t.Path("movie.b01") +
                                  " is not a regular file.\nCannot build original file.";
                       },
                       "File(s) damaged.Cannot build original file."}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct UnwritableCase {
    const char* name;
    bool join;
    // Makes the output unwritable; returns its path.
    std::function<std::string(HostileFiles&)> prepare;
};

class UnwritableOutput : public HostileFiles, public ::testing::WithParamInterface<UnwritableCase> {};

} // namespace

TEST_P(UnwritableOutput, GivesTheDesignedMessageAndWritesNothing) {
    const bool join = GetParam().join;
    MakeFile("movie.dat", 1000000, 7);
    BrowseSplit(Path("movie.dat"));
    host.Click(IDC_PRESET_500K);
    if (join) {
        host.Click(IDC_BREAK_IT);
        BrowseJoin(Path("movie.brk"));
    }
    const std::string output = GetParam().prepare(*this);
    host.Type(join ? IDC_JOIN_OUTPUT : IDC_SPLIT_OUTPUT, output);
    host.TakeMessages();
    std::error_code ec;
    const bool existed = fs::exists(output, ec);
    const auto before = existed ? ReadBytes(output) : wb::test::Bytes{};
    const auto listing = Listing();
    host.Click(join ? IDC_ASSEMBLE : IDC_BREAK_IT);
    if (join) ExpectMessage("Invalid Output Path", MsgKind::Warning);
    else ExpectMessage(kCannotCreate, MsgKind::Error);
    EXPECT_EQ(Listing(), listing);
    if (existed) {
        EXPECT_EQ(ReadBytes(output), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnwritableOutput,
    ::testing::Values(
        UnwritableCase{"SplitOverReadOnlyFirstPiece", false, [](auto& t) { return t.ReadOnly("data.brk"); }},
        UnwritableCase{"SplitOverReadOnlyFurtherPiece", false,
                       [](auto& t) {
                           t.ReadOnly("data.b01");
                           return t.Path("data.brk");
                       }},
        UnwritableCase{"SplitToOverLongName", false,
                       [](auto& t) { return t.Path(std::string(260, 'n') + ".brk"); }},
        UnwritableCase{"JoinOverReadOnlyFile", true, [](auto& t) { return t.ReadOnly("movie.txt"); }},
        UnwritableCase{"JoinToOverLongName", true,
                       [](auto& t) { return t.Path(std::string(260, 'n') + ".dat"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileFiles, ASetWhoseRenamesFailPartWayKeepsTheOldSet) {
    MakeFile("movie.dat", 1024000, 7);  // three pieces, the last of 9 bytes
    WriteBytes(Path("movie.brk"), {'o', 'l', 'd', '0'});
    WriteBytes(Path("movie.b01"), {'o', 'l', 'd', '1'});
    const auto listing = Listing();
    parvex::CopyEvents events;
    size_t blocks = 0;
    // Two pieces of 8 blocks, then the last piece's one block: its name
    // turns into a folder once all three are written.
    events.block = [&] {
        if (++blocks == 17) fs::create_directory(Path("movie.b02"));
    };
    EXPECT_THROW(parvex::SplitFile({Path("movie.dat"), Path("movie.brk"), 1024000, 512000}, events),
                 parvex::PieceError);
    fs::remove(Path("movie.b02"));
    EXPECT_EQ(Listing(), listing);
    EXPECT_EQ(ReadBytes(Path("movie.brk")), (wb::test::Bytes{'o', 'l', 'd', '0'}));
    EXPECT_EQ(ReadBytes(Path("movie.b01")), (wb::test::Bytes{'o', 'l', 'd', '1'}));
}
