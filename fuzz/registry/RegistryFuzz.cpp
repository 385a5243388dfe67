// libFuzzer target: any bytes as a registry file. Parsing must neither crash nor loop; what
// parses must format to a text that parses back to the same document (texts as one line),
// and the layer read from the file must hold every key of that document.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzInput.h"
#include "platform/RegistryFiles.h"
#include "platform/Text.h"

namespace {

// A text as the file keeps it: one line, so a line break becomes a blank, and trimmed.
std::string Stored(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return std::string(TrimBlanks(line));
}

// b is a as written and read back.
bool Same(const RegistryDocument& a, const RegistryDocument& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].path != b[k].path || a[k].values.size() != b[k].values.size()) return false;
        for (std::size_t v = 0; v < a[k].values.size(); ++v) {
            const RegistryValue& x = a[k].values[v];
            const RegistryValue& y = b[k].values[v];
            if (x.name != y.name || x.binary != y.binary) return false;
            if (x.binary ? x.data != y.data : Stored(x.data) != y.data) return false;
        }
    }
    return true;
}


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<RegistryDocument> doc = ParseRegistryText(text);
    if (!doc) return 0;
    const std::string formatted = FormatRegistryText(*doc);
    const std::optional<RegistryDocument> again = ParseRegistryText(formatted);
    if (!again || !Same(*doc, *again)) __builtin_trap();

    // Read as the installation layer (the user layer does not exist): every key the file
    // names is found, with its first value.
    if (!WriteInput(text.data(), text.size())) return 0;
    const CRegistryFiles files(InputPath(), "");
    for (const RegistryKey& key : *doc) {
        const std::optional<std::vector<RegistryValue>> values = files.ReadKey(key.path);
        if (!values) __builtin_trap();
    }
    return 0;
}
