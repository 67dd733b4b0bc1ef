// The virtual-CD window on the real window layer, over MP3 files whose
// durations the MPEG header gives (32 kbit/s: 4000 bytes a second).
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>

#include "tag_editor/logic/tests/TestFiles.h"
#include "platform/base/TempDir.h"
#include "platform/testing/ControlInput.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/Screens.h"
#include "tag_editor/logic/TagCodec.h"
#include "tag_editor/windows/VirtCD.h"

using namespace velmora;

namespace {

const std::string k32kHeader = "\xFF\xFB\x10\x44";

class VirtualCdTest : public testing::Test {
protected:
    void SetUp() override { wb::gui::test::App("Velmora"); }

    // A file of the given seconds, tagged with a track number unless 0.
    void Mp3(const std::string& name, int seconds, int track) {
        WriteBytes(dir / name, FakeMp3(size_t(seconds) * 4000, k32kHeader));
        if (track == 0) return;
        TTagInfo tag;
        tag.Song = name;
        tag.Track = uint8_t(track);
        WriteTag(dir / name, tag);
    }

    std::vector<std::string> Column(int col) {
        std::vector<std::string> cells;
        for (int r = 0; r < Grid().RowCount(); ++r) cells.push_back(Grid().Cells(col, r));
        return cells;
    }
    TVlSortGrid& Grid() { return *form.FileList; }
    void ClickUse(int row) {
        auto r = Grid().CellRect(1, row);
        wb::gui::test::ClickAt(Grid(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    wb::TempDir dir{"virtcd"};
    std::vector<TDiskInfoRec> added;
    TVirtualCD form{[this](const TDiskInfoRec& d) { added.push_back(d); }};
};

TEST_F(VirtualCdTest, TrackNumbersOrderTheListAndUncheckingRenumbers) {
    Mp3("b.mp3", 178, 1);
    Mp3("a.mp3", 120, 3);
    Mp3("c.mp3", 50, 2);
    form.FillList(dir.Path(), {"a.mp3", "b.mp3", "c.mp3"});
    EXPECT_EQ(Column(2), (std::vector<std::string>{"Filename (sorted by ID3-Tag trackentry)", "b.mp3", "c.mp3", "a.mp3"}));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Track", "01", "02", "03"}));
    form.Show();
    ClickUse(2);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Use", "1", "0", "1"}));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Track", "01", " ", "02"}));
    EXPECT_EQ(form.TrackPanel->Caption(), "2");
    EXPECT_FALSE(wb::gui::test::Screenshot(form, "velmora-virtcd").isNull());
    // 178 and 120 seconds: the two-track disc of the published example.
    form.CreateBtn->Click();
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(RequestLine(added[0]), "0b012a02 2 150 13500 300");
    form.Close();
}

TEST_F(VirtualCdTest, AFileWithoutTrackNumberMeansFileNameOrderAndNoTrackIsRefused) {
    Mp3("a.mp3", 61, 2);
    Mp3("b.mp3", 30, 0);
    form.FillList(dir.Path(), {"a.mp3", "b.mp3"});
    EXPECT_EQ(Column(2), (std::vector<std::string>{"Filename (sorted by filename)", "a.mp3", "b.mp3"}));
    wb::gui::test::ModalDriver boxes;
    form.Show();
    form.UnChkBtn->Click();
    EXPECT_EQ(form.TrackPanel->Caption(), "0");
    form.CreateBtn->Click();
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kNoVirtualTracksText}));
    EXPECT_TRUE(added.empty());
    EXPECT_TRUE(form.Window()->isVisible());
    form.ChkBtn->Click();
    ClickUse(2);
    form.CreateBtn->Click();
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(RequestLine(added[0]), "02003d01 1 150 63");
    form.Close();
}

} // namespace
