#pragma once
// Drive types of paths: the file system of the mount that holds a path decides whether it
// lies on a local disk, a network drive, a CD-ROM or a RAM disk. The codes are those of the
// Windows drive types, so that "bit value 4 set" still means network, CD-ROM or RAM disk.

#include <string>
#include <string_view>
#include <vector>

enum DriveType : unsigned {
    DRIVE_UNKNOWN = 0,
    DRIVE_NO_ROOT_DIR = 1,
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
    DRIVE_REMOTE = 4,
    DRIVE_CDROM = 5,
    DRIVE_RAMDISK = 6,
};

struct DriveInfo {
    DriveType type = DRIVE_UNKNOWN;
    // The mount point that holds the path, with a trailing "/" ("/" for the root).
    std::string root;
};

// The drive-type lookup start-up uses; tests replace it.
class IDriveTypes {
public:
    virtual ~IDriveTypes() = default;
    // The drive of an absolute path (it need not exist).
    virtual DriveInfo Lookup(const std::string& path) const = 0;
};

// Drive types from the contents of /proc/self/mounts and /etc/fstab.
class CMountTable : public IDriveTypes {
public:
    // Both texts in the fstab(5) layout: device, mount point, type, options, ...
    CMountTable(std::string_view mounts, std::string_view fstab);
    // The running system's tables, read now.
    static CMountTable FromSystem();

    DriveInfo Lookup(const std::string& path) const override;

    // The drive type a file system type stands for.
    static DriveType TypeOfFileSystem(std::string_view fsType);

private:
    struct Mount {
        std::string point;
        DriveType type;
    };
    std::vector<Mount> m_mounted;
    // Mount points of CD-ROM drives from fstab, with or without a disc.
    std::vector<std::string> m_cdromPoints;
};
