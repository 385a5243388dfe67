#pragma once
// CRegistry: one open registry key at a time, with the program's read and write operations,
// on top of the registry files.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegistryFiles.h"

enum class RegHive { ClassesRoot, CurrentUser, LocalMachine };

// "HKEY_LOCAL_MACHINE" and so on: the first part of a key path in the registry files.
const char* HiveName(RegHive hive);

class CRegistry {
public:
    // The key operations go to store, which must outlive this object.
    explicit CRegistry(IRegistryStore& store);
    ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Closes any key held, creates the key if it does not exist, then holds it for reading
    // (readOnly) or for reading and writing. False when the key cannot be created.
    bool Open(RegHive hive, const std::string& keyPath, bool readOnly);
    // Lets go of the key; nothing when none is held.
    void Close();
    bool IsOpen() const { return m_path.has_value(); }

    // The name and data (as text, each at most 512 characters) of the value at index; false
    // past the last value or when no key is held.
    bool EnumValue(std::size_t index, std::string& name, std::string& data) const;
    // The data of the first value whose name equals name ignoring case; empty text and false
    // when there is none. An empty name reads the key's default value.
    bool ReadString(const std::string& name, std::string& text) const;
    // Fills buffer with a binary value; the buffer is zeroed first and again on failure. True
    // only when the value exists, is binary and fits into size bytes.
    bool ReadBinary(const std::string& name, void* buffer, std::size_t size) const;
    // Stores a string value, cut to 523 characters. False when the key is held read-only or
    // the registry cannot be written.
    bool WriteString(const std::string& name, const std::string& text);
    // Stores a binary value. False as for WriteString.
    bool WriteBinary(const std::string& name, const void* data, std::size_t size);

private:
    // The held key's values as they are now.
    std::vector<RegistryValue> Values() const;
    bool Write(RegistryValue value);

    IRegistryStore& m_store;
    // The full path of the held key, hive first; none when closed.
    std::optional<std::string> m_path;
    bool m_readOnly = true;
};
