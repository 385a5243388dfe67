#include "platform/DriveType.h"

#include <filesystem>

#include "platform/AtomicFile.h"

namespace {

// The fields of one fstab-style line, with the octal escapes (\040 for a blank) undone.
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string field;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            if (line[i] == '\\' && i + 3 < line.size() && line[i + 1] >= '0' && line[i + 1] <= '3'
                && line[i + 2] >= '0' && line[i + 2] <= '7' && line[i + 3] >= '0'
                && line[i + 3] <= '7') {
                field += static_cast<char>((line[i + 1] - '0') * 64 + (line[i + 2] - '0') * 8
                                           + (line[i + 3] - '0'));
                i += 4;
            } else {
                field += line[i++];
            }
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

template <typename F>
void ForEachEntry(std::string_view text, F f) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos || line[start] == '#') continue;
        std::vector<std::string> fields = Fields(line);
        if (fields.size() >= 3) f(fields[0], fields[1], fields[2]);
    }
}

// A mount point without trailing "/" ("/" stays).
std::string NormalPoint(std::string point) {
    while (point.size() > 1 && point.back() == '/') point.pop_back();
    return point;
}

// True when path lies at or below the mount point.
bool Below(const std::string& path, const std::string& point) {
    if (point == "/") return !path.empty() && path.front() == '/';
    return path.starts_with(point) && (path.size() == point.size() || path[point.size()] == '/');
}

bool IsCdromEntry(std::string_view device, std::string_view types) {
    if (device.starts_with("/dev/sr") || device.starts_with("/dev/cdrom")) return true;
    // fstab may list several types: "udf,iso9660".
    std::size_t pos = 0;
    while (pos <= types.size()) {
        std::size_t comma = types.find(',', pos);
        if (comma == std::string_view::npos) comma = types.size();
        if (CMountTable::TypeOfFileSystem(types.substr(pos, comma - pos)) == DRIVE_CDROM)
            return true;
        pos = comma + 1;
    }
    return false;
}

}  // namespace

CMountTable::CMountTable(std::string_view mounts, std::string_view fstab) {
    ForEachEntry(mounts,
                 [this](const std::string&, const std::string& point, const std::string& type) {
                     m_mounted.push_back(Mount{NormalPoint(point), TypeOfFileSystem(type)});
                 });
    ForEachEntry(fstab, [this](const std::string& device, const std::string& point,
                               const std::string& types) {
        if (!point.empty() && point.front() == '/' && IsCdromEntry(device, types))
            m_cdromPoints.push_back(NormalPoint(point));
    });
}

CMountTable CMountTable::FromSystem() {
    return CMountTable(ReadWholeFile("/proc/self/mounts", kSettingsFileLimit).value_or(""),
                       ReadWholeFile("/etc/fstab", kSettingsFileLimit).value_or(""));
}

DriveType CMountTable::TypeOfFileSystem(std::string_view t) {
    if (t == "iso9660" || t == "udf") return DRIVE_CDROM;
    if (t == "ramfs") return DRIVE_RAMDISK;
    static constexpr std::string_view kNetwork[] = {
        "nfs",
        "nfs4",
        "cifs",
        "smb3",
        "smbfs",
        "smb",
        "ncpfs",
        "afs",
        "coda",
        "9p",
        "ceph",
        "glusterfs",
        "lustre",
        "gfs2",
        "ocfs2",
        "davfs",
        "fuse.sshfs",
        "fuse.davfs2",
        "fuse.s3fs",
        "fuse.rclone",
        "fuse.glusterfs",
        "fuse.cephfs",
        "fuse.gvfsd-fuse",
        "fuse.curlftpfs",
        "sshfs",
    };
    for (std::string_view n : kNetwork) {
        if (t == n) return DRIVE_REMOTE;
    }
    return DRIVE_FIXED;
}

DriveInfo CMountTable::Lookup(const std::string& rawPath) const {
    // Mount tables name real paths: resolve "..", "." and symbolic links as far as the path
    // exists.
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(rawPath, ec);
    std::string path = ec ? std::filesystem::path(rawPath).lexically_normal().string()
                          : resolved.lexically_normal().string();

    DriveInfo info;
    std::size_t best = 0;
    bool found = false;
    // Later entries of the mount table cover earlier ones at the same mount point.
    for (const Mount& m : m_mounted) {
        if (Below(path, m.point) && (!found || m.point.size() >= best)) {
            best = m.point.size();
            info.type = m.type;
            info.root = m.point;
            found = true;
        }
    }
    // A CD-ROM drive without a disc is in fstab but not mounted; a deeper mount point than
    // any mounted one means the path is on that drive.
    for (const std::string& point : m_cdromPoints) {
        if (Below(path, point) && (!found || point.size() > best)) {
            best = point.size();
            info.type = DRIVE_CDROM;
            info.root = point;
            found = true;
        }
    }
    if (!found) return DriveInfo{DRIVE_UNKNOWN, "/"};
    if (info.root.back() != '/') info.root += '/';
    return info;
}
