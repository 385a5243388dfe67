#pragma once
// The check of a separately installed component: its program identifier leads through the
// registry's classes root to the library file, whose four-part file version must reach the
// required one.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/RegistryFiles.h"

struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t build = 0;
    std::uint16_t revision = 0;

    // Major and minor in the high 32 bits, build and revision in the low ones, as Windows
    // keeps them; versions order by this number.
    std::uint64_t Packed() const {
        return (std::uint64_t(major) << 48) | (std::uint64_t(minor) << 32)
               | (std::uint64_t(build) << 16) | revision;
    }
};

// The version a shared library exports as NoxFileVersion; nothing when the file cannot be
// loaded or has no such symbol.
std::optional<FileVersion> ReadFileVersion(const std::string& libraryPath);

// True when version is not lower than required: the high 32 bits (major << 16 | minor) compare
// first as unsigned numbers, then the low 32 bits (build << 16 | revision).
bool VersionReaches(const FileVersion& version, const FileVersion& required);

// The library registered for a program identifier: HKEY_CLASSES_ROOT\<progId>\CLSID gives the
// class identifier, HKEY_CLASSES_ROOT\CLSID\<clsid>\InprocServer32 the path. A relative path
// counts from baseDir. Nothing when a key or value is missing.
std::optional<std::string> RegisteredLibrary(const IRegistryStore& registry,
                                             const std::string& progId, const std::string& baseDir);

// The whole component check: registered, loadable, and at least the required version.
bool CheckComponent(const IRegistryStore& registry, const std::string& progId,
                    const FileVersion& required, const std::string& baseDir);
