#include "mainwnd/MediumCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/Startup.h"
#include "platform/DriveType.h"
#include "platform/MessageBox.h"

namespace {

bool Readable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool file = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    ::close(fd);
    return file;
}

}  // namespace

bool ArchiveReachable(const std::string& path, const IDriveTypes& drives) {
    if (Readable(path)) return true;
    const DriveInfo drive = drives.Lookup(path);
    if (drive.type != DRIVE_CDROM) return true;
    while (ShowMessageBox(FormatOneArgument(kInsertDiscText, drive.root), kCaptionHinweis,
                          MsgIcon::Information, MsgButtons::OkCancel)
           == IDOK) {
        if (Readable(path)) return true;
    }
    return false;
}
