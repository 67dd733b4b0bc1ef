#include <gtest/gtest.h>

#include "platform/base/Volumes.h"
#include "platform/gui/ScreenInfo.h"
#include "tag_editor/controls/filesystem/DiskCaps.h"

using namespace velmora;

namespace {

class DiskCapsTest : public ::testing::Test {
protected:
    void SetUp() override {
        wb::gui::EnsureGuiApplication();
        table_ = std::make_shared<wb::FakeVolumeTable>();
        table_->Add("/", wb::VolumeKind::Fixed, wb::VolumeInfo{"System", 0x1234ABCD, "ext4"});
        table_->Add("/dev/sr0", wb::VolumeKind::CDROM, std::nullopt);
        table_->Add("/media/stick", wb::VolumeKind::Removable, wb::VolumeInfo{"STICK", 0xA1, "vfat"});
        wb::SetVolumeTable(table_);
    }
    void TearDown() override { wb::SetVolumeTable(nullptr); }
    // The drive's disc is the test's.
    void Fake(TDiskCaps& caps) {
        caps.TocReader = [this](const std::string& dev) -> std::optional<wb::media::CdToc> {
            ++tocReads_;
            if (dev != "/dev/sr0" || !disc_) return std::nullopt;
            return disc_;
        };
    }
    std::shared_ptr<wb::FakeVolumeTable> table_;
    std::optional<wb::media::CdToc> disc_;
    int tocReads_ = 0;
};

TEST_F(DiskCapsTest, ReadsTheSystemDriveAtConstruction) {
    TDiskCaps caps;
    Fake(caps);
    EXPECT_EQ(caps.Drive(), "/");
    EXPECT_EQ(caps.DiskLabel, "System");
    EXPECT_EQ(caps.DiskSerial, "1234ABCD");
    EXPECT_EQ(caps.FileSystem, "ext4");
    EXPECT_EQ(caps.DriveType, 3);
    EXPECT_EQ(caps.ComponentLen, 255);
    EXPECT_FALSE(caps.CheckSNChange());
    EXPECT_EQ(caps.CheckPeriod(), 2000);
    caps.SetDrive("/media/stick/");
    EXPECT_EQ(caps.DiskSerial, "000000A1");  // zero-padded
    EXPECT_EQ(caps.DriveType, 2);
}

TEST_F(DiskCapsTest, NoMediumAndNoDriveGiveDefinedValues) {
    TDiskCaps caps;
    Fake(caps);
    caps.SetDrive("/dev/sr0");
    EXPECT_EQ(caps.DiskLabel, "");
    EXPECT_EQ(caps.DiskSerial, "FFFFFFFF");
    EXPECT_EQ(caps.FileSystem, "");
    EXPECT_EQ(caps.ComponentLen, 0);
    EXPECT_EQ(caps.DriveFlags, 0u);
    EXPECT_EQ(caps.DriveType, 5);
    caps.SetDrive("/nowhere/");
    EXPECT_EQ(caps.DriveType, 1);
    EXPECT_EQ(caps.DiskSerial, "FFFFFFFF");
}

TEST_F(DiskCapsTest, AnAudioDiscIsKnownByItsTableOfContents) {
    disc_ = wb::media::CdToc{1, 3, {0, 15000, 30000}, 45000};
    TDiskCaps caps;
    Fake(caps);
    caps.SetDrive("/dev/sr0");
    EXPECT_EQ(caps.DiskLabel, "Audio CD");
    EXPECT_EQ(caps.DiskSerial.size(), 8u);
    EXPECT_NE(caps.DiskSerial, "FFFFFFFF");
    const std::string first = caps.DiskSerial;
    disc_ = wb::media::CdToc{1, 2, {0, 20000}, 41000};
    caps.ReadVolumeInfo();
    EXPECT_NE(caps.DiskSerial, first);
}

TEST_F(DiskCapsTest, WatchingFiresOnceForEachChangeOfTheSerial) {
    TDiskCaps caps;
    Fake(caps);
    int fired = 0, driveChanged = 0;
    caps.OnSNChanged = [&](wb::Persistent*) { ++fired; };
    caps.OnDriveChanged = [&](wb::Persistent*) { ++driveChanged; };
    caps.SetDrive("/dev/sr0");
    EXPECT_EQ(driveChanged, 1);
    caps.SetCheckSNChange(true);
    ASSERT_TRUE(caps.CheckSNChange());
    ASSERT_NE(caps.Timer(), nullptr);
    EXPECT_EQ(caps.Timer()->Interval(), 2000);
    EXPECT_TRUE(caps.Timer()->Running());
    caps.CheckTimerTick(nullptr);
    EXPECT_EQ(fired, 0);  // nothing changed
    disc_ = wb::media::CdToc{1, 1, {0}, 9000};  // a disc goes in
    caps.CheckTimerTick(nullptr);
    caps.CheckTimerTick(nullptr);
    EXPECT_EQ(fired, 1);
    disc_.reset();  // taken out
    caps.CheckTimerTick(nullptr);
    EXPECT_EQ(fired, 2);
    disc_ = wb::media::CdToc{1, 1, {0}, 9000};  // and back in
    caps.CheckTimerTick(nullptr);
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(caps.LastSerial(), caps.DiskSerial);
}

TEST_F(DiskCapsTest, TheSameDriveChangesNothingAndAnotherStopsTheWatch) {
    TDiskCaps caps;
    Fake(caps);
    int driveChanged = 0;
    caps.OnDriveChanged = [&](wb::Persistent*) { ++driveChanged; };
    caps.SetDrive("/dev/sr0");
    caps.SetCheckSNChange(true);
    const int reads = tocReads_;
    caps.SetDrive("/dev/sr0");
    EXPECT_EQ(driveChanged, 1);
    EXPECT_EQ(tocReads_, reads);  // not read again
    EXPECT_TRUE(caps.CheckSNChange());
    caps.SetDrive("/media/stick/");
    EXPECT_FALSE(caps.CheckSNChange());
    EXPECT_EQ(caps.Timer(), nullptr);
}

TEST_F(DiskCapsTest, FixedDisksAndNoPeriodRefuseTheWatch) {
    TDiskCaps caps;
    Fake(caps);
    caps.SetCheckSNChange(true);  // "/" is fixed
    EXPECT_FALSE(caps.CheckSNChange());
    EXPECT_EQ(caps.Timer(), nullptr);
    caps.SetDrive("/dev/sr0");
    caps.SetCheckPeriod(0);
    caps.SetCheckSNChange(true);
    EXPECT_FALSE(caps.CheckSNChange());
}

TEST_F(DiskCapsTest, APeriodOfZeroStopsTheTimerButKeepsTheWatch) {
    TDiskCaps caps;
    Fake(caps);
    caps.SetDrive("/dev/sr0");
    caps.SetCheckSNChange(true);
    caps.SetCheckPeriod(0);
    EXPECT_TRUE(caps.CheckSNChange());
    EXPECT_EQ(caps.Timer(), nullptr);
    caps.SetCheckPeriod(500);
    ASSERT_NE(caps.Timer(), nullptr);
    EXPECT_EQ(caps.Timer()->Interval(), 500);
}

} // namespace
