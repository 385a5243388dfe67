#pragma once
// The four-part file version a shared library of the system carries, the platform's form of
// a Windows file's fixed version block: major, minor, build, revision. The component check
// reads the exported symbol from the file the registry names.

#define NOX_FILE_VERSION_SYMBOL "NoxFileVersion"

extern "C" {
// Defined by each library that carries a version.
extern const unsigned short NoxFileVersion[4];
}
