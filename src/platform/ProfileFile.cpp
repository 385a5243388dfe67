#include "platform/ProfileFile.h"

#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/Text.h"

std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section,
                                            const std::string& key) {
    std::optional<std::string> contents = ReadWholeFile(file, kSettingsFileLimit);
    if (!contents) return std::nullopt;
    std::string_view text = *contents;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

    const std::string_view wantedSection = TrimBlanks(section);
    const std::string_view wantedKey = TrimBlanks(key);
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = TrimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            std::size_t close = line.find(']');
            std::string_view name
                = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
            inSection = EqualsNoCase(TrimBlanks(name), wantedSection);
            continue;
        }
        if (!inSection) continue;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (!EqualsNoCase(TrimBlanks(line.substr(0, eq)), wantedKey)) continue;
        std::string_view value = TrimBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
            && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(value);
    }
    return std::nullopt;
}

std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& defaultValue,
                              std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::optional<std::string> value = ReadProfileValue(file, section, key);
    if (value) return TruncateChars(*value, bufferSize - 1);
    // Windows cuts trailing blanks off the default, leading ones stay.
    std::string_view def = defaultValue;
    while (!def.empty() && (def.back() == ' ' || def.back() == '\t')) def.remove_suffix(1);
    return TruncateChars(def, bufferSize - 1);
}
