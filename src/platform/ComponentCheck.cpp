#include "platform/ComponentCheck.h"

#include <dlfcn.h>

#include "noxctrls/FileVersion.h"
#include "platform/Text.h"

namespace {

// The default value ("@") of a key, as text.
std::optional<std::string> DefaultValue(const IRegistryStore& registry, const std::string& path) {
    std::optional<std::vector<RegistryValue>> values = registry.ReadKey(path);
    if (!values) return std::nullopt;
    for (const RegistryValue& v : *values) {
        if (v.name == "@" && !v.binary) {
            std::string text(TrimBlanks(v.data));
            if (text.empty()) return std::nullopt;
            return text;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<FileVersion> ReadFileVersion(const std::string& libraryPath) {
    if (libraryPath.empty()) return std::nullopt;
    // Local binding keeps the library's symbols from standing in for anybody else's.
    void* handle = ::dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return std::nullopt;
    std::optional<FileVersion> version;
    if (const auto* parts
        = static_cast<const unsigned short*>(::dlsym(handle, NOX_FILE_VERSION_SYMBOL))) {
        version = FileVersion{parts[0], parts[1], parts[2], parts[3]};
    }
    ::dlclose(handle);
    return version;
}

bool VersionReaches(const FileVersion& version, const FileVersion& required) {
    const std::uint32_t high = (std::uint32_t(version.major) << 16) | version.minor;
    const std::uint32_t requiredHigh = (std::uint32_t(required.major) << 16) | required.minor;
    if (high != requiredHigh) return high > requiredHigh;
    const std::uint32_t low = (std::uint32_t(version.build) << 16) | version.revision;
    const std::uint32_t requiredLow = (std::uint32_t(required.build) << 16) | required.revision;
    return low >= requiredLow;
}

std::optional<std::string> RegisteredLibrary(const IRegistryStore& registry,
                                             const std::string& progId,
                                             const std::string& baseDir) {
    std::optional<std::string> clsid
        = DefaultValue(registry, "HKEY_CLASSES_ROOT\\" + progId + "\\CLSID");
    if (!clsid) return std::nullopt;
    std::optional<std::string> path
        = DefaultValue(registry, "HKEY_CLASSES_ROOT\\CLSID\\" + *clsid + "\\InprocServer32");
    if (!path) return std::nullopt;
    if (path->front() != '/') {
        std::string base = baseDir;
        if (!base.empty() && base.back() != '/') base += '/';
        return base + *path;
    }
    return path;
}

bool CheckComponent(const IRegistryStore& registry, const std::string& progId,
                    const FileVersion& required, const std::string& baseDir) {
    std::optional<std::string> library = RegisteredLibrary(registry, progId, baseDir);
    if (!library) return false;
    std::optional<FileVersion> version = ReadFileVersion(*library);
    return version && VersionReaches(*version, required);
}
