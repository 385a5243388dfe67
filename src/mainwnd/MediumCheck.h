#pragma once
// Whether a picture archive can be read now, asked before a viewer touches it. An archive on
// a CD-ROM drive without its disc brings up the insert-disc prompt until the file is there or
// the user cancels. Anywhere else the answer is yes: a missing file is then reported by the
// viewer with the member it wanted, and the program goes on.

#include <string>

class IDriveTypes;

bool ArchiveReachable(const std::string& path, const IDriveTypes& drives);
