#include "platform/base/Volumes.h"

#include <gtest/gtest.h>

namespace {

using wb::VolumeKind;

std::vector<wb::Volume> Parse(const std::string& table) {
    return wb::ParseMountTable(
        table, [](const std::string& dev) { return dev == "/dev/sdb1"; },
        [](const std::string& mp) { return mp != "/etc/hosts"; });
}

const wb::Volume* Find(const std::vector<wb::Volume>& v, const std::string& root) {
    for (const auto& x : v)
        if (x.root == root) return &x;
    return nullptr;
}

TEST(MountTable, KeepsDrivesAndKindsDropsPseudoFileSystems) {
    auto v = Parse(
        "proc /proc proc rw 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "tmpfs /dev/shm tmpfs rw 0 0\n"
        "overlay / overlay rw 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "/dev/sda1 /boot/efi vfat rw 0 0\n"
        "/dev/sdb1 /mnt/stick vfat rw 0 0\n"
        "/dev/sdc1 /run/media/ann/PHOTOS exfat rw 0 0\n"
        "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
        "server:/export /net/music nfs4 rw 0 0\n"
        "//nas/share /srv/share cifs rw 0 0\n"
        "tmpfs /mnt/ram tmpfs rw 0 0\n"
        "tmpfs /run/user/1000 tmpfs rw 0 0\n"
        "tmpfs /mnt/a/b/c tmpfs rw 0 0\n"
        "/dev/vda /etc/hosts ext4 rw 0 0\n"
        "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
        "/dev/sdd1 /media/with\\040blank ext4 rw 0 0\n");
    ASSERT_EQ(v.size(), 10u);
    EXPECT_EQ(Find(v, "/")->kind, VolumeKind::Fixed);
    EXPECT_EQ(Find(v, "/home/")->kind, VolumeKind::Fixed);
    EXPECT_EQ(Find(v, "/boot/efi/")->kind, VolumeKind::Fixed);
    EXPECT_EQ(Find(v, "/mnt/stick/")->kind, VolumeKind::Removable);
    EXPECT_EQ(Find(v, "/run/media/ann/PHOTOS/")->kind, VolumeKind::Removable);
    EXPECT_EQ(Find(v, "/media/cdrom/")->kind, VolumeKind::CDROM);
    EXPECT_EQ(Find(v, "/net/music/")->kind, VolumeKind::Remote);
    EXPECT_EQ(Find(v, "/net/music/")->device, "server:/export");
    EXPECT_EQ(Find(v, "/srv/share/")->kind, VolumeKind::Remote);
    EXPECT_EQ(Find(v, "/mnt/ram/")->kind, VolumeKind::RAM);
    ASSERT_NE(Find(v, "/media/with blank/"), nullptr);
    EXPECT_EQ(Find(v, "/run/user/1000/"), nullptr);
    EXPECT_EQ(Find(v, "/etc/hosts/"), nullptr);
}

TEST(MountTable, LaterMountOverTheSameFolderWins) {
    auto v = Parse("/dev/sda2 /data ext4 rw 0 0\nserver:/x /data nfs rw 0 0\n");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].kind, VolumeKind::Remote);
}

TEST(Volumes, SerialFromUuidNeverGivesTheUnreadableMark) {
    EXPECT_EQ(wb::SerialFromUuid("1234-ABCD"), 0x1234ABCDu);
    EXPECT_EQ(wb::SerialFromUuid("0f3c2a10-aaaa-bbbb"), 0x0f3c2a10u);
    EXPECT_EQ(wb::SerialFromUuid("ffffffff-0000"), 0xFFFFFFFEu);
}

TEST(Volumes, VolumeOfTakesTheLongestRootByWholeElements) {
    wb::FakeVolumeTable t;
    t.Add("/", VolumeKind::Fixed, wb::VolumeInfo{"Root", 1, "ext4"});
    t.Add("/home", VolumeKind::Fixed, wb::VolumeInfo{"", 2, "ext4"});
    EXPECT_EQ(wb::VolumeOf(t, "/home/ann/music")->root, "/home/");
    EXPECT_EQ(wb::VolumeOf(t, "/home")->root, "/home/");
    EXPECT_EQ(wb::VolumeOf(t, "/homework")->root, "/");
    wb::FakeVolumeTable empty;
    EXPECT_FALSE(wb::VolumeOf(empty, "/x").has_value());
    EXPECT_EQ(wb::DriveName("/home/"), "/home");
    EXPECT_EQ(wb::DriveName("/"), "/");
    EXPECT_EQ(wb::DriveName("/dev/sr0"), "/dev/sr0");
}

TEST(Volumes, SystemTableHasTheRootAndReadsIt) {
    wb::SystemVolumeTable t;
    auto list = t.List();
    auto root = wb::VolumeOf(t, "/");
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(root->root, "/");
    auto info = t.Info("/");
    ASSERT_TRUE(info.has_value());
    EXPECT_NE(info->serial, 0xFFFFFFFFu);
    EXPECT_FALSE(t.Info("/no/such/drive/").has_value());
    // Once a test's own table is let go, the shared one reads the system again.
    wb::SetVolumeTable(std::make_shared<wb::FakeVolumeTable>());
    wb::SetVolumeTable(nullptr);
    EXPECT_TRUE(wb::VolumeOf(*wb::Volumes(), "/").has_value());
}

} // namespace
