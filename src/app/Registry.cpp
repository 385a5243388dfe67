#include "app/Registry.h"

#include <algorithm>
#include <cstring>

#include "platform/Text.h"

namespace {

// Registry failures end here: the operation reports failure and goes on, nobody is told.
void IgnoreRegistryError(const char* /*context*/) {}

// Values are stored under "@" for the key's default value.
std::string StoredName(const std::string& name) { return name.empty() ? std::string("@") : name; }

}  // namespace

const char* HiveName(RegHive hive) {
    switch (hive) {
        case RegHive::ClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case RegHive::CurrentUser:
            return "HKEY_CURRENT_USER";
        case RegHive::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
    }
    return "HKEY_LOCAL_MACHINE";
}

CRegistry::CRegistry(IRegistryStore& store) : m_store(store) {}

CRegistry::~CRegistry() { Close(); }

bool CRegistry::Open(RegHive hive, const std::string& keyPath, bool readOnly) {
    Close();
    std::string path = HiveName(hive);
    // The key path may be written with either separator; the files use "\".
    std::string tail = ReplaceAll(keyPath, "/", "\\");
    while (!tail.empty() && tail.front() == '\\') tail.erase(0, 1);
    while (!tail.empty() && tail.back() == '\\') tail.pop_back();
    if (!tail.empty()) path += "\\" + tail;
    if (!m_store.CreateKey(path)) {
        IgnoreRegistryError("CRegistry::Open");
        return false;
    }
    m_path = std::move(path);
    m_readOnly = readOnly;
    return true;
}

void CRegistry::Close() {
    m_path.reset();
    m_readOnly = true;
}

std::vector<RegistryValue> CRegistry::Values() const {
    if (!m_path) return {};
    return m_store.ReadKey(*m_path).value_or(std::vector<RegistryValue>{});
}

bool CRegistry::EnumValue(std::size_t index, std::string& name, std::string& data) const {
    std::vector<RegistryValue> values = Values();
    if (index >= values.size()) return false;
    name = TruncateChars(values[index].name == "@" ? "" : values[index].name, 512);
    data = values[index].binary ? values[index].data.substr(0, 512)
                                : TruncateChars(values[index].data, 512);
    return true;
}

bool CRegistry::ReadString(const std::string& name, std::string& text) const {
    text.clear();
    const std::string wanted = StoredName(name);
    std::string valueName;
    std::string data;
    for (std::size_t i = 0; EnumValue(i, valueName, data); ++i) {
        if (EqualsNoCase(StoredName(valueName), wanted)) {
            text = data;
            return true;
        }
    }
    return false;
}

bool CRegistry::ReadBinary(const std::string& name, void* buffer, std::size_t size) const {
    if (size) std::memset(buffer, 0, size);
    const std::string wanted = StoredName(name);
    for (const RegistryValue& v : Values()) {
        if (!EqualsNoCase(v.name, wanted)) continue;
        // A value larger than the buffer is not read at all, as the registry refuses it.
        if (!v.binary || v.data.size() > size) return false;
        if (!v.data.empty()) std::memcpy(buffer, v.data.data(), v.data.size());
        return true;
    }
    return false;
}

bool CRegistry::WriteString(const std::string& name, const std::string& text) {
    // The text travels in a buffer of 524 bytes with its terminator; a character that does
    // not fit whole is left out rather than cut in two.
    std::size_t n = std::min<std::size_t>(text.size(), 523);
    while (n < text.size() && n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return Write(RegistryValue{StoredName(name), false, text.substr(0, n)});
}

bool CRegistry::WriteBinary(const std::string& name, const void* data, std::size_t size) {
    return Write(
        RegistryValue{StoredName(name), true, std::string(static_cast<const char*>(data), size)});
}

bool CRegistry::Write(RegistryValue value) {
    if (!m_path || m_readOnly) return false;
    return m_store.WriteValue(*m_path, value);
}
