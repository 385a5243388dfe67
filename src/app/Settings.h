#pragma once
// The settings record: the installation's directories and the presentation settings from
// NOX.INI, read once before the application object exists and only read afterwards.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/RegistryFiles.h"

// A colour as the program stores it: red in the low byte, then green, then blue.
using ColorRef = std::uint32_t;

class CSettings {
public:
    // Reads everything: the base directory (programDir, or the registry's override), NOX.INI
    // and the directories it names. registry must outlive the record. Never fails: a missing
    // or unreadable NOX.INI gives the defaults.
    CSettings(const std::string& programDir, IRegistryStore& registry);

    // The directory of the running program (/proc/self/exe) with a trailing "/".
    static std::string ProgramDirectory();

    // One value of NOX.INI: the default when the key is missing, empty text when it is empty,
    // at most bufferSize - 1 characters; a path value is resolved against the base directory.
    // Leading and trailing white space is removed.
    std::string ReadIniValue(const std::string& section, const std::string& key,
                             const std::string& defaultValue, bool isPath,
                             std::size_t bufferSize = 256) const;

    // The cursor file of a cursor name: "<cursor><name>.ani" if it can be read, else
    // "<cursor><name>.cur"; nothing when neither can.
    std::optional<std::string> FindCursorFile(const std::string& name) const;

    // A binary value under HKEY_LOCAL_MACHINE\Software\NOX\<app>. The buffer is zeroed; false
    // when the value is missing, not binary or larger than size.
    bool ReadBinaryValue(const std::string& name, void* buffer, std::size_t size) const;
    // Stores a binary value there. False when the registry cannot be written.
    bool WriteBinaryValue(const std::string& name, const void* data, std::size_t size) const;
    // The registry the record reads and writes (the user's layer over the installation's).
    IRegistryStore* Registry() const { return m_registry; }

    // Fields in the order they are read.
    std::uint32_t loaded = 0;
    std::string iniFile;
    std::string baseDir;
    std::string app;
    std::string userData;
    std::string presets;
    std::string ui;
    std::string mdb;
    std::string img;
    std::string sound;
    std::string html;
    std::string audio;
    std::string video;
    std::string cursor;
    std::string imgSmall;
    std::string imgPreview;
    std::string imgZoom;
    std::string toolTipFont;
    std::int32_t toolTipFontSize = 0;
    std::int32_t toolTipDelay = 0;
    ColorRef toolTipTextColor = 0;
    ColorRef toolTipBackColor = 0;
    // The edition's latest year with data (key Jahr of section Setup): the year the world
    // map and the tables take where none is given. 2002 when missing or no year.
    std::int32_t year = 2002;

private:
    IRegistryStore* m_registry;
};

// The registry as the program sees it: NOX.reg in programDir below the user's layer.
std::unique_ptr<CRegistryFiles> OpenProgramRegistry(const std::string& programDir);

// A path value of NOX.INI made usable: "/..." stays, "~/..." goes to the home directory,
// anything else is put behind baseDir; then a "/" is appended unless the value ends in "/" or
// its fourth character from the end is "." (a file with a three-letter extension).
std::string ResolveSettingsPath(const std::string& value, const std::string& baseDir);

// The C library's decimal conversion: leading blanks, a sign, the leading digits; 0 when
// there are none, clamped to the 32-bit range.
std::int32_t ParseDecimal(const std::string& text);

// RRGGBB as a colour reference (red in the low byte): "FF0000" gives 0x0000FF. A text of at
// least six characters has its first and third pairs swapped; then every character counts as
// a hexadecimal digit (a character that is none counts as 0). A shorter text is read as it is.
ColorRef ParseColor(const std::string& text);

// Creates each directory of the chain path names below its first part (existing ones are
// left alone). False when one of them could not be made.
bool CreateDirectoryChain(const std::string& path);

// The home directory ($HOME, else the password database's entry).
std::string HomeDirectory();

// The program's settings record; main() installs it before anything else runs.
const CSettings& TheSettings();
// Makes settings the program's record (not owned; nullptr removes it).
void InstallSettings(const CSettings* settings);
