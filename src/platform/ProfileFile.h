#pragma once
// Reading private profile (INI) files such as NOX.INI the way Windows reads them: section
// and key names compare without regard to case, the first matching key wins, blanks around
// names and values are trimmed and a value in matching quotes loses them, lines starting
// with ";" are comments. The file is read afresh on every call.

#include <cstddef>
#include <optional>
#include <string>

// The value of key in section, trimmed; nothing when the file, the section or the key is
// missing. A key that is present with nothing behind "=" gives empty text.
std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section,
                                            const std::string& key);

// GetPrivateProfileString: the value, or defaultValue when it is missing, cut to at most
// bufferSize - 1 characters (bufferSize 0 gives empty text).
std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& defaultValue,
                              std::size_t bufferSize);
