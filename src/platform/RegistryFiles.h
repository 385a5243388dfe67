#pragma once
// The registry of this platform: two INI-format files with one section per key path, for
// example [HKEY_LOCAL_MACHINE\Software\NOX\Engine]. Lines are name=value (text after the
// first "=", blanks trimmed); the key's default value is named "@"; binary values are
// written name=hex:01,ff,..; lines starting with ";" or "#" are comments. Key paths and value
// names compare without regard to case.
//
// The installation's read-only layer is NOX.reg in the program directory; the user's layer is
// $XDG_CONFIG_HOME/Kompendor/registry.ini (or the file KOMPENDOR_REGISTRY names). Reads look
// in the user layer first; writes go to the user layer only.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AtomicFile.h"

struct RegistryValue {
    std::string name;
    bool binary = false;
    // The text of a string value, the bytes of a binary value.
    std::string data;
};

struct RegistryKey {
    // The key path as the file spells it, hive first.
    std::string path;
    std::vector<RegistryValue> values;
};

// One parsed registry file, keys in the order of the file.
using RegistryDocument = std::vector<RegistryKey>;

// Parses a registry file. Returns nothing when the text is not a registry file (a NUL byte,
// a line that is neither a comment, a section nor name=value, an unclosed section).
std::optional<RegistryDocument> ParseRegistryText(std::string_view text);

// The text of a registry file; ParseRegistryText reads it back unchanged.
std::string FormatRegistryText(const RegistryDocument& doc);

// What CRegistry and the component check need of the registry; tests replace it.
class IRegistryStore {
public:
    virtual ~IRegistryStore() = default;
    // The values of the key at path (hive first, "\" between the parts), the user layer's
    // before those of the installation layer that it does not override; nothing when neither
    // layer has the key.
    virtual std::optional<std::vector<RegistryValue>> ReadKey(const std::string& path) const = 0;
    // Creates the key in the user layer unless a layer has it. False when the user layer
    // cannot be written.
    virtual bool CreateKey(const std::string& path) = 0;
    // Stores a value in the user layer, replacing one of the same name and creating the key.
    // False, with the file unchanged, when the user layer cannot be written.
    virtual bool WriteValue(const std::string& path, const RegistryValue& value) = 0;
};

// The two registry files.
class CRegistryFiles : public IRegistryStore {
public:
    // installationFile may be empty (no installation layer).
    CRegistryFiles(std::string installationFile, std::string userFile,
                   IFileOps& ops = SystemFileOps());

    // The user's layer: KOMPENDOR_REGISTRY, else $XDG_CONFIG_HOME/Kompendor/registry.ini,
    // else ~/.config/Kompendor/registry.ini.
    static std::string DefaultUserFile();

    std::optional<std::vector<RegistryValue>> ReadKey(const std::string& path) const override;
    bool CreateKey(const std::string& path) override;
    bool WriteValue(const std::string& path, const RegistryValue& value) override;

    const std::string& InstallationFile() const { return m_installationFile; }
    const std::string& UserFile() const { return m_userFile; }

private:
    // The user layer as it is on disk; empty when missing or corrupt. corrupt reports a file
    // that exists but could not be parsed.
    RegistryDocument LoadUser(bool* corrupt) const;
    bool StoreUser(const RegistryDocument& doc, bool replacesCorrupt);

    std::string m_installationFile;
    std::string m_userFile;
    IFileOps& m_ops;
};
