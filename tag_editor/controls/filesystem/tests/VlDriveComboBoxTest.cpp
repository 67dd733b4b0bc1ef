#include "tag_editor/controls/filesystem/VlDriveComboBox.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QStyle>
#include <QWidget>

#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;
using namespace wb::gui;

using wb::gui::test::TestFolder;
using Strings = std::vector<std::string>;

namespace {

QWidget& WidgetOf(TVlDriveComboBox& box) { return *static_cast<QWidget*>(box.NativeWidget()); }

class DriveBox : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::test::App();
        fake = std::make_shared<wb::FakeVolumeTable>();
        fake->Add(dir / "fixed", wb::VolumeKind::Fixed, wb::VolumeInfo{"MY DISK", 7, "ext4"});
        fake->Add(dir / "stick", wb::VolumeKind::Removable, wb::VolumeInfo{"USB", 8, "vfat"});
        fake->Add("/dev/sr0", wb::VolumeKind::CDROM, std::nullopt);
        fake->Add(dir / "net", wb::VolumeKind::Remote, wb::VolumeInfo{"", 9, "nfs"}, "Server:/Export");
        fake->Add(dir / "ram", wb::VolumeKind::RAM, wb::VolumeInfo{"", 10, "tmpfs"});
        fake->Add(dir / "odd", wb::VolumeKind::NoRoot, std::nullopt);
        wb::SetVolumeTable(fake);
    }
    void TearDown() override { wb::SetVolumeTable(nullptr); }
    TestFolder dir{"drivebox"};
    std::shared_ptr<wb::FakeVolumeTable> fake;
};

TEST_F(DriveBox, ListsDrivesByKindWithTheirLabels) {
    TVlDriveComboBox box;
    std::string d = dir.Path();
    EXPECT_EQ(box.ItemTexts(), (Strings{"/dev/sr0: ", d + "/fixed: My disk", d + "/net: Server:/Export",
                                        d + "/ram: ", d + "/stick:"}));
    int changes = 0;
    box.OnChange = [&](wb::Persistent*) { ++changes; };
    box.SetDriveTypes({dtCDROM});
    EXPECT_EQ(box.ItemTexts(), (Strings{"/dev/sr0: "}));
    box.SetDriveTypes({dtCDROM, dtFixed});
    box.SetDrive(dir / "fixed");
    EXPECT_EQ(box.Drive(), dir / "fixed/");
    EXPECT_EQ(changes, 1);

    // A new disc: the label shows after the list is rebuilt; the drive stays.
    fake->SetInfo("/dev/sr0", wb::VolumeInfo{"AUDIO CD", 11, "iso9660"});
    box.FillDriveList();
    EXPECT_EQ(box.ItemTexts()[0], "/dev/sr0: Audio cd");
    EXPECT_EQ(box.Drive(), dir / "fixed/");
    EXPECT_EQ(changes, 1);  // rebuilding is no choice
    box.SetDrive("/dev/sr0");
    EXPECT_EQ(changes, 2);
}

TEST_F(DriveBox, FlatFrameFollowsFocus) {
    TVlDriveComboBox box;
    box.SetFrameFlat(true);
    box.UpdateFrame(false, true);
    EXPECT_EQ(box.FrameStyle(), fsLowered);
    box.UpdateFrame(false, false);
    EXPECT_EQ(box.FrameStyle(), fsStatus);
}

TEST_F(DriveBox, FlatButtonShowsItsTriangleOnlyWithoutFocusOrHover) {
    TVlDriveComboBox box;
    box.SetBounds(0, 0, 160, 24);
    box.SetFrameVisible(true);
    box.SetFrameColor(clRed);
    auto blackInButton = [&] {
        QImage img = WidgetOf(box).grab().toImage();
        const int sb = WidgetOf(box).style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const int x = box.Width() - sb - 2 + sb / 2 - 1, y = box.Height() / 2 + 2;
        return wb::gui::test::Is(img, x, y - 2, clBlack) && wb::gui::test::Is(img, 0, 10, clRed);
    };
    EXPECT_TRUE(blackInButton());
    box.UpdateFrame(true, true);  // hovered: the style's own button shows
    EXPECT_FALSE(blackInButton());
}

} // namespace
