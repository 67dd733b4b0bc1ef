#include "ParvexTestSupport.h"

#include "file_splitter/PieceFiles.h"

using namespace parvex::test;

namespace {

const std::string kMissingTail =
    "\n Cannot complete the joining process.Try to copy all splitted files in \n"
    " same directory and Press CHECK FILES ";

class JoinPanel : public DialogTest {
protected:
    // movie.txt of `size` bytes cut into pieces of `piece` bytes.
    Bytes MakeSet(size_t size, uint64_t piece, const std::string& name = "movie.txt") {
        auto bytes = MakeFile(name, size, 11);
        const std::string out = Path(name.substr(0, name.rfind('.')) + ".brk");
        parvex::SplitFile({Path(name), out, size, piece});
        fs::remove(Path(name));
        return bytes;
    }
    void WriteFirstPiece(const std::string& name, std::string header, size_t dataSize = 100) {
        auto bytes = PatternBytes(dataSize, 5);
        bytes.insert(bytes.begin(), header.begin(), header.end());
        WriteBytes(Path(name), bytes);
    }
    void ExpectReady() {
        EXPECT_TRUE(host.Enabled(IDC_JOIN_OUTPUT));
        EXPECT_TRUE(host.Enabled(IDC_ASSEMBLE));
    }
    void ExpectIncomplete() {
        EXPECT_FALSE(host.Enabled(IDC_JOIN_OUTPUT));
        EXPECT_FALSE(host.Enabled(IDC_ASSEMBLE));
        EXPECT_TRUE(host.Enabled(IDC_RECHECK));
        EXPECT_EQ(host.Text(IDC_JOIN_STATUS), "File(s) Missing.Cannot build original file.");
        EXPECT_EQ(host.Text(IDC_JOINED_SIZE), "");
        EXPECT_EQ(host.Text(IDC_FIRST_PIECE_SIZE), "");
    }
};

} // namespace

TEST_F(JoinPanel, BrowseFindsEveryPieceAndAssemblesTheOriginal) {
    auto original = MakeSet(1024000, 512000);  // three pieces, the last of 9 bytes
    BrowseJoin(Path("movie.brk"));
    ASSERT_EQ(host.openRequests.size(), 1u);
    EXPECT_EQ(host.openRequests[0].initialName, "*.brk");
    EXPECT_EQ(host.openRequests[0].defaultExt, "*");
    ExpectNoMessage();
    EXPECT_EQ(dlg->PiecePath(), Path("movie.brk"));
    EXPECT_EQ(host.Text(IDC_PIECE_PATH), Path("movie.brk"));
    EXPECT_EQ(host.Text(IDC_JOIN_OUTPUT), Path("movie.txt"));
    EXPECT_EQ(host.Text(IDC_JOIN_COUNT), "3");
    EXPECT_EQ(host.Text(IDC_JOIN_FOUND), "3");
    EXPECT_EQ(host.Text(IDC_JOINED_SIZE), "1000.00 KB");
    EXPECT_EQ(host.Text(IDC_FIRST_PIECE_SIZE), "500.00 KB");
    EXPECT_EQ(host.Text(IDC_JOIN_STATUS), "Click on \"Assemble the File !!!!\"");
    EXPECT_FALSE(host.Enabled(IDC_RECHECK));
    ExpectReady();

    ASSERT_TRUE(host.Click(IDC_ASSEMBLE));
    ExpectMessage("File successfully Re-assembled", MsgKind::Plain);
    EXPECT_EQ(ReadBytes(Path("movie.txt")), original);
    EXPECT_EQ(host.Text(IDC_JOIN_STATUS), "Click on \"Assemble the file !!!!\"");
    EXPECT_FALSE(host.Enabled(IDC_RECHECK));
    ExpectReady();
    // 512,000 is a multiple of the block: a step is 100/24, the running value
    // starts one step ahead, and the 17 blocks are 8 + 8 + one of 9 bytes.
    const auto& pos = host.Positions(IDC_JOIN_PROGRESS);
    ASSERT_GE(pos.size(), 4u);
    EXPECT_EQ(pos.front(), 0);
    EXPECT_EQ(pos[1], 8);
    EXPECT_EQ(pos[pos.size() - 2], 100);
    EXPECT_EQ(pos.back(), 0);
    EXPECT_TRUE(std::is_sorted(pos.begin(), pos.end() - 2));
    EXPECT_EQ(pos[pos.size() - 3], 75);  // 18 steps of 100/24
}

TEST_F(JoinPanel, MissingPieceIsReportedAndRecheckFindsItAgain) {
    auto original = MakeSet(1024000, 512000);
    fs::rename(Path("movie.b02"), Path("aside"));
    BrowseJoin(Path("movie.brk"));
    ExpectMessage("1 file(s) not found in the directory of " + Path("movie.txt") + kMissingTail,
                  MsgKind::Warning);
    EXPECT_EQ(host.Text(IDC_JOIN_COUNT), "3");
    EXPECT_EQ(host.Text(IDC_JOIN_FOUND), "2");
    EXPECT_EQ(host.Text(IDC_JOIN_OUTPUT), Path("movie.txt"));
    ExpectIncomplete();

    host.Click(IDC_RECHECK);  // still missing: the same report
    ExpectMessage("1 file(s) not found in the directory of " + Path("movie.txt") + kMissingTail,
                  MsgKind::Warning);
    ExpectIncomplete();

    fs::rename(Path("aside"), Path("movie.b02"));
    host.Click(IDC_RECHECK);
    ExpectMessage("All files found.Click on \"Assemble the File !!!!\" to join the files",
                  MsgKind::Plain);
    EXPECT_EQ(host.Text(IDC_JOIN_STATUS), "Click on Assemble the File !!!!");
    EXPECT_EQ(host.Text(IDC_JOIN_FOUND), "3");
    EXPECT_TRUE(host.Enabled(IDC_RECHECK)) << "left as it was";
    ExpectReady();

    // Assembling checks again first; a piece gone by then blocks it.
    fs::remove(Path("movie.b01"));
    host.Click(IDC_ASSEMBLE);
    ExpectMessage("1 file(s) not found in the directory of " + Path("movie.txt") + kMissingTail,
                  MsgKind::Warning);
    EXPECT_TRUE(host.Enabled(IDC_RECHECK));
    EXPECT_FALSE(fs::exists(Path("movie.txt")));
    (void)original;
}

TEST_F(JoinPanel, UnreadableOrForeignFirstPieces) {
    BrowseJoin(Path("none.brk"));
    ExpectMessage("Invalid file format", MsgKind::Warning);
    EXPECT_EQ(dlg->PiecePath(), Path("none.brk"));
    dlg->OnRecheck();
    ExpectMessage("File not found", MsgKind::Warning);
    EXPECT_FALSE(dlg->CheckPieces());
    ExpectMessage("File not found", MsgKind::Warning);

    WriteFirstPiece("upper.brk", std::string("BRKtxt\0\x01\0", 9));
    WriteFirstPiece("many.brk", std::string("BrKtxt\0\x65\0", 9));   // 101 pieces
    WriteFirstPiece("short.brk", std::string("BrKtx", 5), 0);
    for (const char* name : {"upper.brk", "many.brk", "short.brk"}) {
        SCOPED_TRACE(name);
        host.SetItemText(IDC_JOIN_STATUS, "");
        BrowseJoin(Path(name));
        ExpectMessage("Invalid file Format", MsgKind::Warning);
        EXPECT_EQ(host.Text(IDC_JOIN_STATUS), "Invalid File Format.");
        EXPECT_FALSE(host.Enabled(IDC_ASSEMBLE)) << "the panel keeps its state";
    }
}

TEST_F(JoinPanel, CountOfZeroOrOneJoinsTheFirstPieceAlone) {
    for (char count : {'\0', '\1'}) {
        SCOPED_TRACE(int(count));
        WriteFirstPiece("solo.brk", std::string("BrKdat\0", 7) + count + '\0', 5000);
        MakeFile("solo.b01", 10);  // never sought
        BrowseJoin(Path("solo.brk"));
        ExpectNoMessage();
        EXPECT_EQ(host.Text(IDC_JOIN_COUNT), std::string(1, '0' + count));
        host.Click(IDC_ASSEMBLE);
        ExpectMessage("File successfully Re-assembled", MsgKind::Plain);
        EXPECT_EQ(ReadBytes(Path("solo.dat")), PatternBytes(5000, 5));
        fs::remove(Path("solo.dat"));
    }
}

TEST_F(JoinPanel, MiddlePieceOfTheWrongSizeIsNeverPadded) {
    MakeSet(1500000, 512000);
    auto b01 = ReadBytes(Path("movie.b01"));
    b01.resize(b01.size() - 1000);
    WriteBytes(Path("movie.b01"), b01);
    BrowseJoin(Path("movie.brk"));
    ExpectMessage("File " + Path("movie.b01") + " is 511000 bytes long where 512000 bytes are "
                  "expected.\nCannot build original file.",
                  MsgKind::Warning);
    EXPECT_EQ(host.Text(IDC_JOIN_STATUS), "File(s) damaged.Cannot build original file.");
    EXPECT_FALSE(host.Enabled(IDC_ASSEMBLE));
    EXPECT_TRUE(host.Enabled(IDC_RECHECK));
    host.Click(IDC_ASSEMBLE);  // disabled
    EXPECT_FALSE(fs::exists(Path("movie.txt")));

    // The same piece shrinking between the check and the copy.
    parvex::FirstPiece first;
    ASSERT_EQ(parvex::ReadFirstPiece(Path("movie.brk"), first), parvex::FirstPieceStatus::Ok);
    try {
        parvex::AssemblePieces(first, Path("movie.txt"));
        FAIL() << "assembled a damaged set";
    } catch (const parvex::PieceError& e) {
        EXPECT_EQ(e.GetKind(), parvex::PieceError::Kind::WrongSize);
    }
    EXPECT_FALSE(fs::exists(Path("movie.txt")));
}

TEST_F(JoinPanel, OutputNeverReplacesAPiece) {
    MakeSet(1024000, 512000);
    auto b01 = ReadBytes(Path("movie.b01"));
    BrowseJoin(Path("movie.brk"));
    host.Type(IDC_JOIN_OUTPUT, Path("movie.b01"));
    host.Click(IDC_ASSEMBLE);
    ExpectMessage("The output file would overwrite the piece " + Path("movie.b01") +
                      ".\nPlease choose another output filename.",
                  MsgKind::Error);
    EXPECT_EQ(ReadBytes(Path("movie.b01")), b01);

    // A first piece whose header names its own extension.
    MakeFile("self.brk", 300000);
    fs::create_directory(Path("out"));
    parvex::SplitFile({Path("self.brk"), Path("out/self.brk"), 300000, 102400});
    BrowseJoin(Path("out/self.brk"));
    EXPECT_EQ(host.Text(IDC_JOIN_OUTPUT), Path("out/self.brk"));
    auto first = ReadBytes(Path("out/self.brk"));
    host.Click(IDC_ASSEMBLE);
    ExpectMessage("The output file would overwrite the piece " + Path("out/self.brk") +
                      ".\nPlease choose another output filename.",
                  MsgKind::Error);
    EXPECT_EQ(ReadBytes(Path("out/self.brk")), first);
}

TEST_F(JoinPanel, OutputPathThatCannotBeCreated) {
    MakeSet(300000, 102400);
    BrowseJoin(Path("movie.brk"));
    for (const std::string& name : {Path("no/dir/x.txt"), std::string(""), Path("")}) {
        SCOPED_TRACE(name);
        host.Type(IDC_JOIN_OUTPUT, name);
        host.Click(IDC_ASSEMBLE);
        ExpectMessage("Invalid Output Path", MsgKind::Warning);
        EXPECT_EQ(host.Item(IDC_JOIN_PROGRESS).pos, 0);
    }
}

TEST_F(JoinPanel, ExistingOutputIsReplacedOnlyByACompleteFile) {
    auto original = MakeSet(300000, 102400);
    auto old = MakeFile("movie.txt", 77, 9);
    parvex::FirstPiece first;
    ASSERT_EQ(parvex::ReadFirstPiece(Path("movie.brk"), first), parvex::FirstPieceStatus::Ok);
    fs::rename(Path("movie.b02"), Path("aside"));
    EXPECT_EQ(parvex::AssemblePieces(first, Path("movie.txt")), 1u);
    EXPECT_EQ(ReadBytes(Path("movie.txt")), old);
    fs::rename(Path("aside"), Path("movie.b02"));
    EXPECT_EQ(parvex::AssemblePieces(first, Path("movie.txt")), 0u);
    EXPECT_EQ(ReadBytes(Path("movie.txt")), original);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"movie.b01", "movie.b02", "movie.brk", "movie.txt"}));
}

TEST_F(JoinPanel, NamesFollowTheFileNameNotTheFolder) {
    fs::create_directory(Path("my.dir"));
    auto original = MakeFile("my.dir/movie.mkv", 250000);
    parvex::SplitFile({Path("my.dir/movie.mkv"), Path("my.dir/movie.brk"), 250000, 102400});
    fs::remove(Path("my.dir/movie.mkv"));
    MakeFile("my.b01", 102400);  // a decoy where a whole-path search would look
    BrowseJoin(Path("my.dir/movie.brk"));
    ExpectNoMessage();
    EXPECT_EQ(host.Text(IDC_JOIN_OUTPUT), Path("my.dir/movie.mkv"));
    host.Click(IDC_ASSEMBLE);
    ExpectMessage("File successfully Re-assembled", MsgKind::Plain);
    EXPECT_EQ(ReadBytes(Path("my.dir/movie.mkv")), original);

    // An extension of control characters and slashes stays a plain name.
    WriteFirstPiece("odd.brk", std::string("BrK/\n./\x01\0", 9), 5000);
    BrowseJoin(Path("odd.brk"));
    EXPECT_EQ(host.Text(IDC_JOIN_OUTPUT), Path("odd.__._"));
    host.Click(IDC_ASSEMBLE);
    ExpectMessage("File successfully Re-assembled", MsgKind::Plain);
    EXPECT_TRUE(fs::exists(Path("odd.__._")));
}
