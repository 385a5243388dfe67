// libFuzzer target: any bytes as NOX.INI. The profile reader must neither crash nor read
// past its text; the values it gives are no longer than the file and, cut to a buffer, no
// longer than the buffer; the value helpers of the settings record (paths, numbers,
// colours) take any value.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/Settings.h"
#include "platform/ProfileFile.h"

namespace {

const std::string& InputPath() {
    static const std::string path = [] {
        const int fd = memfd_create("settings-fuzz", 0);
        return fd < 0 ? std::string("/tmp/settings-fuzz.input")
                      : "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

bool WriteInput(const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (!f) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written;
}

}  // namespace

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
