#include "platform/DriveType.h"

#include <gtest/gtest.h>

namespace {

const char kMounts[]
    = "/dev/nvme0n1p2 / ext4 rw,relatime 0 0\n"
      "tmpfs /tmp tmpfs rw,nosuid 0 0\n"
      "/dev/sr0 /media/cdrom0 iso9660 ro 0 0\n"
      "/dev/sr1 /media/cd udf ro 0 0\n"
      "server:/export /mnt/net nfs4 rw 0 0\n"
      "//nas/share /mnt/smb cifs rw 0 0\n"
      "user@host:/ /mnt/ssh fuse.sshfs rw 0 0\n"
      "none /mnt/ram ramfs rw 0 0\n"
      "/dev/sdb1 /mnt/usb\\040stick vfat rw 0 0\n"
      "/dev/sdc1 /media/cdrom1 ext4 rw 0 0\n";

const char kFstab[]
    = "# <file system> <mount point> <type> <options> <dump> <pass>\n"
      "UUID=1234 / ext4 errors=remount-ro 0 1\n"
      "/dev/sr0 /media/cdrom0 udf,iso9660 user,noauto 0 0\n"
      "/dev/sr2 /media/dvd auto user,noauto 0 0\n"
      "LABEL=DISC /media/disc udf,iso9660 user,noauto 0 0\n"
      "/dev/sdc1 /media/cdrom1 udf user,noauto 0 0\n";

struct DriveCase {
    const char* path;
    DriveType type;
    const char* root;
};

class DriveTypeTable : public testing::TestWithParam<DriveCase> {};

}  // namespace

TEST_P(DriveTypeTable, LongestMountPointDecides) {
    CMountTable table(kMounts, kFstab);
    DriveInfo info = table.Lookup(GetParam().path);
    EXPECT_EQ(info.type, GetParam().type) << GetParam().path;
    EXPECT_EQ(info.root, GetParam().root) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    DriveType, DriveTypeTable,
    testing::Values(DriveCase{"/opt/kompendor/kompendor", DRIVE_FIXED, "/"},
                    // Temporary folders live on tmpfs and count as a local disk.
                    DriveCase{"/tmp/kompendor/", DRIVE_FIXED, "/tmp/"},
                    DriveCase{"/media/cdrom0/Kompendor.mdb", DRIVE_CDROM, "/media/cdrom0/"},
                    DriveCase{"/media/cdrom0", DRIVE_CDROM, "/media/cdrom0/"},
                    // A name that only begins like a mount point is not below it.
                    DriveCase{"/media/cdrom0x/a", DRIVE_FIXED, "/"},
                    DriveCase{"/media/cd/Daten/", DRIVE_CDROM, "/media/cd/"},
                    DriveCase{"/mnt/net/Kompendor/", DRIVE_REMOTE, "/mnt/net/"},
                    DriveCase{"/mnt/smb/x", DRIVE_REMOTE, "/mnt/smb/"},
                    DriveCase{"/mnt/ssh/x", DRIVE_REMOTE, "/mnt/ssh/"},
                    DriveCase{"/mnt/ram/x", DRIVE_RAMDISK, "/mnt/ram/"},
                    DriveCase{"/mnt/usb stick/Kompendor/", DRIVE_FIXED, "/mnt/usb stick/"},
                    DriveCase{"/mnt/net/../ram/x", DRIVE_RAMDISK, "/mnt/ram/"},
                    // CD-ROM drives without a disc are known from fstab alone.
                    DriveCase{"/media/dvd/Daten/Kompendor.mdb", DRIVE_CDROM, "/media/dvd/"},
                    DriveCase{"/media/disc/UI/", DRIVE_CDROM, "/media/disc/"},
                    // What is mounted now outranks what fstab expects at the same place.
                    DriveCase{"/media/cdrom1/x", DRIVE_FIXED, "/media/cdrom1/"}));

TEST(DriveType, NetworkCdromAndRamDiskHaveBitFour) {
    for (DriveType t : {DRIVE_REMOTE, DRIVE_CDROM, DRIVE_RAMDISK}) EXPECT_TRUE(t & 4);
    for (DriveType t : {DRIVE_UNKNOWN, DRIVE_NO_ROOT_DIR, DRIVE_REMOVABLE, DRIVE_FIXED})
        EXPECT_FALSE(t & 4);
    EXPECT_EQ(CMountTable::TypeOfFileSystem("smb3"), DRIVE_REMOTE);
    EXPECT_EQ(CMountTable::TypeOfFileSystem("smbfs"), DRIVE_REMOTE);
    EXPECT_EQ(CMountTable::TypeOfFileSystem("nfs"), DRIVE_REMOTE);
    EXPECT_EQ(CMountTable::TypeOfFileSystem("btrfs"), DRIVE_FIXED);

    // Empty or unreadable tables give no type that refuses a start.
    CMountTable none("", "");
    EXPECT_FALSE(none.Lookup("/opt/kompendor/").type & 4);
}
