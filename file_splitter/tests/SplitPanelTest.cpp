#include "ParvexTestSupport.h"

#include <cstring>

using namespace parvex::test;

namespace {

constexpr int kPresets[] = {IDC_PRESET_100K, IDC_PRESET_500K, IDC_PRESET_1M, IDC_PRESET_125M};

class SplitPanel : public DialogTest {
protected:
    void ExpectIdle() {
        for (int id : {IDC_SPLIT_OUTPUT, IDC_BREAK_IT, IDC_KILOBYTES, IDC_SPECIFY})
            EXPECT_FALSE(host.Enabled(id)) << id;
        for (int id : kPresets) EXPECT_FALSE(host.Enabled(id)) << id;
        EXPECT_TRUE(host.Enabled(IDC_SPLIT_BROWSE));
        EXPECT_EQ(host.Text(IDC_KILOBYTES), "0");
        EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "0");
        EXPECT_EQ(dlg->FileSize(), 0u);
        EXPECT_EQ(dlg->PieceSize(), 0u);
    }
};

} // namespace

TEST_F(SplitPanel, StartsIdleAndACancelledBrowseChangesNothing) {
    ExpectIdle();
    EXPECT_EQ(host.Text(IDC_SOURCE_SIZE), "");
    host.QueueOpenAnswer(std::nullopt);
    host.Click(IDC_SPLIT_BROWSE);
    ASSERT_EQ(host.openRequests.size(), 1u);
    EXPECT_EQ(host.openRequests[0].defaultExt, "*");
    EXPECT_EQ(host.openRequests[0].initialName, "*.*");
    EXPECT_EQ(host.openRequests[0].filter, "");
    ExpectIdle();
    ExpectNoMessage();
}

TEST_F(SplitPanel, SmallestSourcesAndThePresetThresholds) {
    MakeFile("tiny.bin", 4095);
    BrowseSplit(Path("tiny.bin"));
    ExpectMessage("Cannot Split file having size less than 4KB (4096 bytes)", MsgKind::Warning);
    ExpectIdle();
    EXPECT_EQ(host.Text(IDC_SOURCE_SIZE), "0");

    // 4096 bytes: accepted with the custom size forced.
    MakeFile("small.bin", 4096);
    BrowseSplit(Path("small.bin"));
    ExpectNoMessage();
    EXPECT_EQ(host.Text(IDC_SOURCE_PATH), Path("small.bin"));
    EXPECT_EQ(host.Text(IDC_SOURCE_SIZE), "  4.00 KB");
    EXPECT_EQ(host.Text(IDC_SPLIT_OUTPUT), Path("small.brk"));
    EXPECT_EQ(dlg->OutputName(), Path("small.brk"));
    EXPECT_EQ(host.Text(IDC_SPLIT_STATUS), "Click on BREAK IT to split the file");
    EXPECT_TRUE(dlg->SpecifyChecked());
    EXPECT_TRUE(host.Item(IDC_SPECIFY).checked);
    EXPECT_FALSE(host.Enabled(IDC_SPECIFY));
    EXPECT_TRUE(host.Enabled(IDC_KILOBYTES));
    EXPECT_TRUE(host.Enabled(IDC_SPLIT_OUTPUT));
    EXPECT_FALSE(host.Enabled(IDC_BREAK_IT));
    for (int id : kPresets) EXPECT_FALSE(host.Enabled(id));

    // Exactly 100 KB: no preset, nothing forced; the user ticks the box.
    MakeFile("edge.bin", 102400);
    BrowseSplit(Path("edge.bin"));
    EXPECT_FALSE(dlg->SpecifyChecked());
    EXPECT_TRUE(host.Enabled(IDC_SPECIFY));
    EXPECT_FALSE(host.Enabled(IDC_KILOBYTES));
    for (int id : kPresets) EXPECT_FALSE(host.Enabled(id));

    // One byte above 500 KB: the two smaller presets only.
    MakeFile("mid.bin", 512001);
    BrowseSplit(Path("mid.bin"));
    EXPECT_TRUE(host.Enabled(IDC_PRESET_100K));
    EXPECT_TRUE(host.Enabled(IDC_PRESET_500K));
    EXPECT_FALSE(host.Enabled(IDC_PRESET_1M));
    EXPECT_FALSE(host.Enabled(IDC_PRESET_125M));
    EXPECT_EQ(host.Text(IDC_SOURCE_SIZE), "500.00 KB");
    ExpectNoMessage();
}

TEST_F(SplitPanel, UnopenableSourceLeavesTheCustomSizeOpen) {
    BrowseSplit(Path("missing.bin"));
    ExpectNoMessage();
    EXPECT_EQ(host.Text(IDC_SOURCE_PATH), Path("missing.bin"));
    EXPECT_EQ(host.Text(IDC_SPLIT_OUTPUT), "");
    EXPECT_FALSE(host.Enabled(IDC_SPLIT_OUTPUT));
    EXPECT_TRUE(host.Enabled(IDC_SPECIFY));
    EXPECT_TRUE(host.Enabled(IDC_KILOBYTES));
    for (int id : kPresets) EXPECT_FALSE(host.Enabled(id));
    EXPECT_EQ(host.Text(IDC_SOURCE_SIZE), "0");
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "0");
}

TEST_F(SplitPanel, PresetSplitWritesThePiecesWithHeaderAndProgress) {
    auto source = MakeFile("movie.avi", 1000000);
    BrowseSplit(Path("movie.avi"));
    ASSERT_TRUE(host.Click(IDC_PRESET_500K));
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "500");
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "2");
    EXPECT_EQ(dlg->PieceSize(), 512000u);
    EXPECT_EQ(dlg->PresetBytes(), 512000u);
    EXPECT_EQ(dlg->LastPresetId(), IDC_PRESET_500K);
    EXPECT_TRUE(host.Enabled(IDC_BREAK_IT));
    EXPECT_FALSE(host.Enabled(IDC_KILOBYTES));
    EXPECT_FALSE(host.Item(IDC_SPECIFY).checked);

    host.ClearPositions(IDC_SPLIT_PROGRESS);
    ASSERT_TRUE(host.Click(IDC_BREAK_IT));
    ExpectMessage(Path("movie.avi") + " splitted sucessfully into 2 parts (files). ", MsgKind::Plain);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"movie.avi", "movie.b01", "movie.brk"}));

    auto first = ReadBytes(Path("movie.brk"));
    auto second = ReadBytes(Path("movie.b01"));
    ASSERT_EQ(first.size(), 512000u);
    ASSERT_EQ(second.size(), 488009u);
    EXPECT_EQ(std::memcmp(first.data(), "BrKavi\0\x02\0", 9), 0);
    EXPECT_TRUE(std::equal(first.begin() + 9, first.end(), source.begin()));
    EXPECT_TRUE(std::equal(second.begin(), second.end(), source.begin() + 511991));

    EXPECT_EQ(host.Positions(IDC_SPLIT_PROGRESS),
              (std::vector<int>{0, 6, 6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93,
                                100, 100, 0}));
    ExpectIdle();
    EXPECT_EQ(host.Text(IDC_SOURCE_PATH), "");
    EXPECT_EQ(host.Text(IDC_SOURCE_SIZE), "0");
    EXPECT_EQ(host.Text(IDC_SPLIT_STATUS), "");
}

TEST_F(SplitPanel, LastPresetIsChosenAgainOnTheNextBrowse) {
    MakeFile("a.bin", 2000000);
    MakeFile("b.bin", 300000);
    BrowseSplit(Path("a.bin"));
    host.Click(IDC_PRESET_1M);
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "1024");
    // b is too small for 1 MB: the preset is not re-chosen, and the refreshed
    // field asks for a size that the file cannot be split into.
    BrowseSplit(Path("b.bin"));
    EXPECT_FALSE(host.Enabled(IDC_PRESET_1M));
    ExpectMessage("Specified filesize should be less than original filesize shouldnt it?",
                  MsgKind::Warning);
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "0");
    EXPECT_FALSE(host.Enabled(IDC_BREAK_IT));
    BrowseSplit(Path("a.bin"));
    ExpectNoMessage();
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "1024");
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "2");
    EXPECT_TRUE(host.Enabled(IDC_BREAK_IT));
}

TEST_F(SplitPanel, CustomSizeDerivesPieceSizeAndCount) {
    MakeFile("src.bin", 409591);
    BrowseSplit(Path("src.bin"));
    Specify("4");
    EXPECT_EQ(dlg->PieceSize(), 4096u);
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "100");
    EXPECT_TRUE(host.Enabled(IDC_BREAK_IT));
    for (int id : kPresets) EXPECT_FALSE(host.Enabled(id));

    host.Type(IDC_KILOBYTES, "4.5");
    EXPECT_EQ(dlg->PieceSize(), 4608u);
    host.Type(IDC_KILOBYTES, "12abc");  // the leading number counts
    EXPECT_EQ(dlg->PieceSize(), 12288u);
    host.Type(IDC_KILOBYTES, " +2");
    EXPECT_EQ(dlg->PieceSize(), 2048u);
    host.Type(IDC_KILOBYTES, "abc");
    EXPECT_EQ(dlg->PieceSize(), 0u);
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "0");
    EXPECT_FALSE(host.Enabled(IDC_BREAK_IT));
    host.Type(IDC_KILOBYTES, "4");
    host.Type(IDC_KILOBYTES, "");  // an empty field changes nothing
    EXPECT_EQ(dlg->PieceSize(), 4096u);
    ExpectNoMessage();

    host.Type(IDC_KILOBYTES, "3");
    host.Click(IDC_BREAK_IT);
    ExpectMessage("Specified Size must be greater than 4K", MsgKind::Warning);
    EXPECT_EQ(Listing().size(), 1u);
}

TEST_F(SplitPanel, HundredPiecesAreAcceptedAndOneMoreIsRefused) {
    MakeFile("src.bin", 409591);
    BrowseSplit(Path("src.bin"));
    Specify("4");
    host.Click(IDC_BREAK_IT);
    ExpectMessage(Path("src.bin") + " splitted sucessfully into 100 parts (files). ", MsgKind::Plain);
    EXPECT_EQ(Listing().size(), 101u);
    EXPECT_EQ(fs::file_size(Path("src.b99")), 4096u);

    MakeFile("big.bin", 409592);
    BrowseSplit(Path("big.bin"));
    Specify("4");
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "101");
    host.Click(IDC_BREAK_IT);
    ExpectMessage("Number of Output files shouldnt exceed 100", MsgKind::Warning);
    EXPECT_FALSE(fs::exists(Path("big.brk")));
    EXPECT_TRUE(host.Enabled(IDC_BREAK_IT)) << "a failed check keeps the chosen file";
}

TEST_F(SplitPanel, SizesThatNoConversionCanHoldAreRefusedCleanly) {
    MakeFile("src.bin", 50000);
    BrowseSplit(Path("src.bin"));
    for (const char* text : {"inf", "-inf", "1e400", "1e30", "-5", "-0.0001", "48.828125"}) {
        SCOPED_TRACE(text);
        host.Type(IDC_KILOBYTES, text);
        ExpectMessage("Specified filesize should be less than original filesize shouldnt it?",
                      MsgKind::Warning);
        EXPECT_EQ(host.Text(IDC_KILOBYTES), "0");
        EXPECT_EQ(dlg->PieceSize(), 0u);
        EXPECT_EQ(dlg->PendingPieceCount(), 0);
        EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "0");
        EXPECT_FALSE(host.Enabled(IDC_BREAK_IT));
    }
    for (const char* text : {"nan", "1e-400", "0.0001"}) {
        SCOPED_TRACE(text);
        host.Type(IDC_KILOBYTES, text);
        ExpectNoMessage();
        EXPECT_EQ(dlg->PieceSize(), 0u);
        EXPECT_FALSE(host.Enabled(IDC_BREAK_IT));
    }
}

TEST_F(SplitPanel, SpecifyOnAndOffReturnsToThePreset) {
    MakeFile("src.bin", 700000);
    BrowseSplit(Path("src.bin"));
    // No preset chosen yet: unticking writes "0" and leaves nothing to split.
    host.Click(IDC_SPECIFY);
    host.Type(IDC_KILOBYTES, "10");
    EXPECT_TRUE(host.Enabled(IDC_BREAK_IT));
    host.Click(IDC_SPECIFY);
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "0");
    EXPECT_FALSE(host.Enabled(IDC_BREAK_IT));
    EXPECT_FALSE(host.Enabled(IDC_KILOBYTES));
    EXPECT_TRUE(host.Enabled(IDC_PRESET_500K));
    EXPECT_FALSE(host.Enabled(IDC_PRESET_1M));

    host.Click(IDC_PRESET_500K);
    host.Click(IDC_SPECIFY);
    EXPECT_TRUE(host.Enabled(IDC_KILOBYTES));
    for (int id : kPresets) EXPECT_FALSE(host.Enabled(id));
    host.Type(IDC_KILOBYTES, "64");
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "11");
    host.Click(IDC_SPECIFY);
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "500");
    EXPECT_EQ(dlg->PieceSize(), 512000u);
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "2");
    ExpectNoMessage();
}

TEST_F(SplitPanel, OutputNameMustEndInBrkAndHaveADot) {
    MakeFile("src.bin", 200000);
    BrowseSplit(Path("src.bin"));
    host.Click(IDC_PRESET_100K);
    for (const std::string& name : {Path("movie.bak"), std::string("rk"), std::string(""),
                                   Path("moviebrk")}) {
        SCOPED_TRACE(name);
        host.Type(IDC_SPLIT_OUTPUT, name);
        host.Click(IDC_BREAK_IT);
        ExpectMessage("Invalid File Extension.Please make it .Brk", MsgKind::Warning);
    }
    EXPECT_EQ(Listing().size(), 1u);
    host.Type(IDC_SPLIT_OUTPUT, Path("movie.BrK"));
    host.Click(IDC_BREAK_IT);
    ExpectMessage(Path("src.bin") + " splitted sucessfully into 2 parts (files). ", MsgKind::Plain);
    EXPECT_TRUE(fs::exists(Path("movie.BrK")));
    EXPECT_TRUE(fs::exists(Path("movie.b01")));
}

TEST_F(SplitPanel, MissingSourceTouchesNoExistingOutput) {
    MakeFile("src.bin", 200000);
    auto old = MakeFile("src.brk", 1234, 7);
    BrowseSplit(Path("src.bin"));
    host.Click(IDC_PRESET_100K);
    fs::remove(Path("src.bin"));
    host.Click(IDC_BREAK_IT);
    ExpectMessage("Selected File not found", MsgKind::Error);
    EXPECT_EQ(ReadBytes(Path("src.brk")), old);
    EXPECT_EQ(Listing(), std::vector<std::string>{"src.brk"});
}

TEST_F(SplitPanel, SourceThatChangedSinceBrowsingIsNotSplit) {
    MakeFile("src.bin", 300000);
    auto oldPiece = MakeFile("src.b01", 99, 3);
    BrowseSplit(Path("src.bin"));
    host.Click(IDC_PRESET_100K);
    for (size_t size : {250000u, 350000u}) {
        MakeFile("src.bin", size);
        host.Click(IDC_BREAK_IT);
        ExpectMessage("The size of the selected file has changed since it was chosen.\n"
                      "Please browse for it again.",
                      MsgKind::Error);
        EXPECT_EQ(Listing(), (std::vector<std::string>{"src.b01", "src.bin"}));
        EXPECT_EQ(ReadBytes(Path("src.b01")), oldPiece);
    }
}

TEST_F(SplitPanel, PiecesNeverReplaceTheSource) {
    auto brk = MakeFile("x.brk", 300000);
    BrowseSplit(Path("x.brk"));
    EXPECT_EQ(host.Text(IDC_SPLIT_OUTPUT), Path("x.brk"));
    host.Click(IDC_PRESET_100K);
    host.Click(IDC_BREAK_IT);
    ExpectMessage("The output file " + Path("x.brk") +
                      " would overwrite the selected file.\nPlease choose another output filename.",
                  MsgKind::Error);
    EXPECT_EQ(ReadBytes(Path("x.brk")), brk);

    // A further piece can be the source too.
    auto b02 = MakeFile("movie.b02", 300000);
    BrowseSplit(Path("movie.b02"));
    host.Click(IDC_PRESET_100K);
    host.Click(IDC_BREAK_IT);
    ExpectMessage("The output file " + Path("movie.b02") +
                      " would overwrite the selected file.\nPlease choose another output filename.",
                  MsgKind::Error);
    EXPECT_EQ(ReadBytes(Path("movie.b02")), b02);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"movie.b02", "x.brk"}));
}

TEST_F(SplitPanel, UnwritableOutputReportsFailureAndWritesNothing) {
    MakeFile("src.bin", 300000);
    BrowseSplit(Path("src.bin"));
    host.Click(IDC_PRESET_100K);
    const std::string createFailed =
        "Failed to create output files.\nSelected Output path doesnot exists\nor Disc is write protected";

    host.Type(IDC_SPLIT_OUTPUT, Path("no/such/dir/out.brk"));
    host.Click(IDC_BREAK_IT);
    ExpectMessage(createFailed, MsgKind::Error);

    // A further piece that cannot be created: no piece of the set is left.
    fs::create_directory(Path("out.b02"));
    host.Type(IDC_SPLIT_OUTPUT, Path("out.brk"));
    host.Click(IDC_BREAK_IT);
    ExpectMessage(createFailed, MsgKind::Error);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"out.b02", "src.bin"}));
    EXPECT_EQ(host.Item(IDC_SPLIT_PROGRESS).pos, 0);
}

TEST_F(SplitPanel, PiecesStayInTheFolderOfTheOutputName) {
    fs::create_directory(Path("my.dir"));
    auto source = MakeFile("my.dir/movie", 150000);
    BrowseSplit(Path("my.dir/movie"));
    EXPECT_EQ(host.Text(IDC_SPLIT_OUTPUT), Path("my.dir/movie.brk"));
    host.Click(IDC_PRESET_100K);
    host.Click(IDC_BREAK_IT);
    EXPECT_TRUE(fs::exists(Path("my.dir/movie.b01")));
    EXPECT_FALSE(fs::exists(Path("my.b01")));
    auto first = ReadBytes(Path("my.dir/movie.brk"));
    EXPECT_EQ(std::memcmp(first.data(), "BrK\0\0\0\0\x02\0", 9), 0);
}

TEST_F(SplitPanel, DataExchangeReadsTheBoundControlsBack) {
    MakeFile("src.bin", 200000);
    BrowseSplit(Path("src.bin"));
    Specify(" 12.5 ");
    EXPECT_TRUE(dlg->UpdateData(true));
    EXPECT_TRUE(dlg->SpecifyChecked());
    EXPECT_DOUBLE_EQ(dlg->PresetKilobytes(), 12.5);
    ExpectNoMessage();
    for (const char* text : {"12abc", "", "abc"}) {
        host.Type(IDC_KILOBYTES, text);
        EXPECT_FALSE(dlg->UpdateData(true)) << text;
        ExpectMessage("Please enter a number.", MsgKind::Warning);
    }
    EXPECT_DOUBLE_EQ(dlg->PresetKilobytes(), 12.5);

    // Fields to controls: "%.*g" at precision 15, and no rewrite of a text
    // that is already there (which would re-derive the sizes).
    dlg->SetPresetKilobytes(0.1);
    dlg->SetSpecifyChecked(false);
    dlg->UpdateData(false);
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "0.1");
    EXPECT_FALSE(host.Item(IDC_SPECIFY).checked);
    dlg->SetPresetKilobytes(1.0 / 3);
    dlg->UpdateData(false);
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "0.333333333333333");
    dlg->SetPresetKilobytes(100.0);
    dlg->UpdateData(false);
    EXPECT_EQ(host.Text(IDC_KILOBYTES), "100");
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "2");
    // Same text: no change notification, which would derive the sizes and
    // the count again; another text does.
    host.SetItemText(IDC_SPLIT_COUNT, "untouched");
    dlg->UpdateData(false);
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "untouched");
    EXPECT_EQ(dlg->PieceSize(), 102400u);
    dlg->SetPresetKilobytes(50.0);
    dlg->UpdateData(false);
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "4");
    EXPECT_EQ(dlg->PieceSize(), 51200u);
    ExpectNoMessage();
}
