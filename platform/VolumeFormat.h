#pragma once

#include <string>
#include <string_view>

namespace vaultrix::fs {

// The kind of file system a folder lies on, as far as it decides what a backup can keep there;
// unknown for every other kind, and when nothing tells.
enum class VolumeFormat { unknown, fat, exfat, ntfs, smb };

// The file system of the folder. On Linux from the mount table; where that names only FUSE
// (exfat-fuse and ntfs-3g mount as "fuseblk" or "fuse"), from the device's udev record or the
// boot sector of the mounted device or image, where it can be read. On Windows from the volume.
VolumeFormat volumeFormat(const std::string& folder);

// Whether names there follow Windows' rules: on Windows always, elsewhere on FAT, exFAT, NTFS
// and SMB shares.
bool windowsNameRules(VolumeFormat format);

// The format a mount table's type names ("vfat", "fuse.fusefat", "ntfs3", "cifs", …); unknown
// for FUSE's bare "fuse" and "fuseblk", which leave it open.
VolumeFormat formatOfMountType(std::string_view type);

// The format the first bytes of a volume (at least 90) say: "NTFS    " or "EXFAT   " as the
// system's name at byte 3, "FAT32   " at 82, "FAT12   ", "FAT16   " or "FAT     " at 54.
VolumeFormat formatOfBootSector(std::string_view bytes);

// The type and source of the mount whose device numbers are these, from a mountinfo text (the
// last such mount, with "\040"-style escapes decoded); false when there is none.
bool findMountOfDevice(const std::string& mountinfo, unsigned major, unsigned minor,
                       std::string& type, std::string& source);

}  // namespace vaultrix::fs
