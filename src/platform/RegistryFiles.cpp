#include "platform/RegistryFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/Text.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The bytes of "01,ff,..." (the part behind "hex:"); nothing when it is not such a list.
std::optional<std::string> ParseHexBytes(std::string_view text) {
    std::string bytes;
    text = TrimBlanks(text);
    if (text.empty()) return bytes;
    std::size_t pos = 0;
    while (true) {
        std::size_t comma = text.find(',', pos);
        std::string_view item = TrimBlanks(
            text.substr(pos, comma == std::string_view::npos ? text.npos : comma - pos));
        if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(HexDigit(item[0]) * 16 + HexDigit(item[1])));
        if (comma == std::string_view::npos) break;
        pos = comma + 1;
    }
    return bytes;
}

RegistryKey* FindKey(RegistryDocument& doc, std::string_view path) {
    for (RegistryKey& key : doc) {
        if (EqualsNoCase(key.path, path)) return &key;
    }
    return nullptr;
}

std::optional<RegistryDocument> LoadFile(const std::string& path, bool* corrupt) {
    if (corrupt) *corrupt = false;
    if (path.empty()) return std::nullopt;
    FileReadStatus status = FileReadStatus::Ok;
    std::optional<std::string> text = ReadWholeFile(path, kSettingsFileLimit, &status);
    if (!text) {
        // A file far larger than any registry is damaged; it is kept aside like one that
        // does not parse.
        if (status == FileReadStatus::TooLarge && corrupt) *corrupt = true;
        return std::nullopt;
    }
    std::optional<RegistryDocument> doc = ParseRegistryText(*text);
    if (!doc && corrupt) *corrupt = true;
    return doc;
}

// Values of key, those in first before those of second that first does not name.
void MergeValues(std::vector<RegistryValue>& into, const std::vector<RegistryValue>& from) {
    for (const RegistryValue& v : from) {
        bool known = false;
        for (const RegistryValue& have : into) {
            if (EqualsNoCase(have.name, v.name)) {
                known = true;
                break;
            }
        }
        if (!known) into.push_back(v);
    }
}

}  // namespace

std::optional<RegistryDocument> ParseRegistryText(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    // A byte-order mark from an editor is not part of the first line.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    RegistryDocument doc;
    RegistryKey* current = nullptr;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = TrimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return std::nullopt;
            std::string path(TrimBlanks(line.substr(1, line.size() - 2)));
            current = FindKey(doc, path);
            if (!current) {
                doc.push_back(RegistryKey{path, {}});
                current = &doc.back();
            }
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) return std::nullopt;
        // Values before the first section belong to no key and are not read.
        if (!current) continue;
        RegistryValue value;
        value.name = std::string(TrimBlanks(line.substr(0, eq)));
        // A value without a name is the key's default value, which is written as "@".
        if (value.name.empty()) value.name = "@";
        std::string_view data = TrimBlanks(line.substr(eq + 1));
        std::optional<std::string> bytes;
        if (data.size() >= 4 && EqualsNoCase(data.substr(0, 4), "hex:")) {
            bytes = ParseHexBytes(data.substr(4));
        }
        if (bytes) {
            value.binary = true;
            value.data = std::move(*bytes);
        } else {
            value.data = std::string(data);
        }
        current->values.push_back(std::move(value));
    }
    return doc;
}

std::string FormatRegistryText(const RegistryDocument& doc) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (const RegistryKey& key : doc) {
        if (!out.empty()) out += '\n';
        out += '[' + key.path + "]\n";
        for (const RegistryValue& v : key.values) {
            out += v.name.empty() ? std::string("@") : v.name;
            out += '=';
            if (v.binary) {
                out += "hex:";
                for (std::size_t i = 0; i < v.data.size(); ++i) {
                    if (i) out += ',';
                    auto b = static_cast<unsigned char>(v.data[i]);
                    out += kHex[b >> 4];
                    out += kHex[b & 15];
                }
            } else {
                // The file holds one value per line: a line break inside a text cannot be
                // stored and becomes a blank.
                for (char c : v.data) out += (c == '\n' || c == '\r') ? ' ' : c;
            }
            out += '\n';
        }
    }
    return out;
}

CRegistryFiles::CRegistryFiles(std::string installationFile, std::string userFile, IFileOps& ops)
    : m_installationFile(std::move(installationFile)),
      m_userFile(std::move(userFile)),
      m_ops(ops) {}

std::string CRegistryFiles::DefaultUserFile() {
    if (const char* named = std::getenv("KOMPENDOR_REGISTRY"); named && *named) return named;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        config = std::string(home) + "/.config";
    } else {
        config = ".config";
    }
    return config + "/Kompendor/registry.ini";
}

RegistryDocument CRegistryFiles::LoadUser(bool* corrupt) const {
    std::optional<RegistryDocument> doc = LoadFile(m_userFile, corrupt);
    return doc ? std::move(*doc) : RegistryDocument{};
}

std::optional<std::vector<RegistryValue>> CRegistryFiles::ReadKey(const std::string& path) const {
    std::optional<std::vector<RegistryValue>> result;
    for (const std::string* file : {&m_userFile, &m_installationFile}) {
        std::optional<RegistryDocument> doc = LoadFile(*file, nullptr);
        if (!doc) continue;
        if (const RegistryKey* key = FindKey(*doc, path)) {
            if (!result) result.emplace();
            MergeValues(*result, key->values);
        }
    }
    return result;
}

bool CRegistryFiles::CreateKey(const std::string& path) {
    if (ReadKey(path)) return true;
    bool corrupt = false;
    RegistryDocument doc = LoadUser(&corrupt);
    doc.push_back(RegistryKey{path, {}});
    return StoreUser(doc, corrupt);
}

bool CRegistryFiles::WriteValue(const std::string& path, const RegistryValue& value) {
    bool corrupt = false;
    RegistryDocument doc = LoadUser(&corrupt);
    RegistryKey* key = FindKey(doc, path);
    if (!key) {
        doc.push_back(RegistryKey{path, {}});
        key = &doc.back();
    }
    auto same = [&](const RegistryValue& v) { return EqualsNoCase(v.name, value.name); };
    auto it = std::find_if(key->values.begin(), key->values.end(), same);
    if (it != key->values.end()) {
        // The same value again, spelt the same way: the file already says it.
        if (!corrupt && it->name == value.name && it->binary == value.binary
            && it->data == value.data)
            return true;
        *it = value;
    } else {
        key->values.push_back(value);
    }
    return StoreUser(doc, corrupt);
}

bool CRegistryFiles::StoreUser(const RegistryDocument& doc, bool replacesCorrupt) {
    if (m_userFile.empty()) return false;
    if (replacesCorrupt) {
        // The unreadable file may still mean something to its owner: keep it beside the new
        // one instead of writing over it.
        std::error_code ec;
        std::filesystem::copy_file(m_userFile, m_userFile + ".corrupt",
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) return false;
    }
    // The user's layer lies in the program's own configuration folder, made on first use.
    std::error_code ec;
    const std::filesystem::path folder
        = std::filesystem::path(ResolveLinkTarget(m_userFile)).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return WriteFileAtomically(m_userFile, FormatRegistryText(doc), m_ops);
}
