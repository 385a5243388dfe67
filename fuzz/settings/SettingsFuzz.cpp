// libFuzzer target: any bytes as NOX.INI. The profile reader must neither crash nor read
// past its text; the values it gives are no longer than the file and, cut to a buffer, no
// longer than the buffer; the value helpers of the settings record (paths, numbers,
// colours) take any value.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzInput.h"
#include "app/Settings.h"
#include "platform/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteInput(data, size)) return 0;
    const std::string file = InputPath();
    // The keys the settings record reads, in its sections.
    static const char* const kKeys[][2] = {
        {"Setup", "App"},         {"Paths", "UserData"},   {"Paths", "UI"},
        {"Paths", "MDB"},         {"Paths", "IMG"},        {"Paths", "Cursor"},
        {"Paths", "Map"},         {"ToolTip", "Font"},     {"ToolTip", "FontSize"},
        {"ToolTip", "TextColor"}, {"Errors", "Install"},   {"Errors", "NOXCtrls"},
    };
    for (const auto& [section, key] : kKeys) {
        const std::optional<std::string> value = ReadProfileValue(file, section, key);
        if (!value) continue;
        if (value->size() > size) __builtin_trap();
        const std::string cut = ReadProfileString(file, section, key, "", 256);
        if (cut.size() > 255 * 4) __builtin_trap();
        const std::string resolved = ResolveSettingsPath(*value, "/opt/kompendor/");
        if (resolved.empty()) __builtin_trap();
        ParseDecimal(*value);
        ParseColor(*value);
    }
    return 0;
}
