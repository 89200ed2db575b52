#include "platform/VolumeFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace vaultrix::fs {
namespace {

TEST(VolumeFormat, MountTypesNameTheFormatButBareFuseLeavesItOpen) {
    EXPECT_EQ(formatOfMountType("vfat"), VolumeFormat::fat);
    EXPECT_EQ(formatOfMountType("fuse.fusefat"), VolumeFormat::fat);
    EXPECT_EQ(formatOfMountType("exfat"), VolumeFormat::exfat);
    EXPECT_EQ(formatOfMountType("ntfs3"), VolumeFormat::ntfs);
    EXPECT_EQ(formatOfMountType("fuse.ntfs-3g"), VolumeFormat::ntfs);
    EXPECT_EQ(formatOfMountType("cifs"), VolumeFormat::smb);
    for (const char* type : {"fuse", "fuseblk", "ext4", "tmpfs", "fuse.sshfs", "vfat2", ""})
        EXPECT_EQ(formatOfMountType(type), VolumeFormat::unknown) << type;
}

TEST(VolumeFormat, BootSectorsOfEachFormat) {
    const auto sector = [](std::size_t at, const std::string& name) {
        std::string bytes(512, '\0');
        bytes.replace(at, name.size(), name);
        return bytes;
    };
    EXPECT_EQ(formatOfBootSector(sector(3, "NTFS    ")), VolumeFormat::ntfs);
    EXPECT_EQ(formatOfBootSector(sector(3, "EXFAT   ")), VolumeFormat::exfat);
    EXPECT_EQ(formatOfBootSector(sector(82, "FAT32   ")), VolumeFormat::fat);
    EXPECT_EQ(formatOfBootSector(sector(54, "FAT16   ")), VolumeFormat::fat);
    EXPECT_EQ(formatOfBootSector(sector(3, "mkfs.fat")), VolumeFormat::unknown);
    EXPECT_EQ(formatOfBootSector(sector(3, "NTFS    ").substr(0, 89)), VolumeFormat::unknown);
}

TEST(VolumeFormat, TheMountOfADeviceFromMountinfo) {
    const std::string mountinfo =
        "26 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "90 26 0:52 / /media/stick rw,nosuid shared:40 master:2 - fuseblk /dev/loop3 rw\n"
        "91 26 0:53 / /mnt/mein\\040Bild rw - fuse /tmp/ntfs\\040bild.img rw\n"
        "92 26 0:52 / /media/again rw - fuseblk /dev/loop4 rw\n";
    std::string type;
    std::string source;
    ASSERT_TRUE(findMountOfDevice(mountinfo, 0, 53, type, source));
    EXPECT_EQ(type, "fuse");
    EXPECT_EQ(source, "/tmp/ntfs bild.img");
    ASSERT_TRUE(findMountOfDevice(mountinfo, 0, 52, type, source));
    EXPECT_EQ(source, "/dev/loop4") << "the last mount of the device is the one seen";
    ASSERT_TRUE(findMountOfDevice(mountinfo, 8, 1, type, source));
    EXPECT_EQ(type, "ext4");
    EXPECT_FALSE(findMountOfDevice(mountinfo, 0, 5, type, source));
    EXPECT_FALSE(findMountOfDevice(mountinfo, 8, 10, type, source));
}

}  // namespace
}  // namespace vaultrix::fs
