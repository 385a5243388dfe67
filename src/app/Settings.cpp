#include "app/Settings.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/Registry.h"
#include "platform/ProfileFile.h"
#include "platform/Text.h"

namespace {

const CSettings* g_settings = nullptr;

// Every value of NOX.INI is read through a buffer of this size.
constexpr std::size_t kValueBuffer = 256;

bool IsReadableFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

}  // namespace

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string ResolveSettingsPath(const std::string& value, const std::string& baseDir) {
    std::string v;
    if (value.starts_with("/")) {
        v = value;
    } else if (value.starts_with("~/")) {
        std::string home = HomeDirectory();
        if (!home.empty() && home.back() == '/') home.pop_back();
        v = home + value.substr(1);
    } else {
        v = baseDir + value;
    }
    const bool fileName = v.size() >= 4 && v[v.size() - 4] == '.';
    if (!fileName && (v.empty() || v.back() != '/')) v += '/';
    return v;
}

std::int32_t ParseDecimal(const std::string& text) {
    errno = 0;
    long long n = std::strtoll(text.c_str(), nullptr, 10);
    if (n > INT32_MAX) return INT32_MAX;
    if (n < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(n);
}

ColorRef ParseColor(const std::string& text) {
    std::string t = text;
    if (t.size() >= 6) {
        std::swap(t[0], t[4]);
        std::swap(t[1], t[5]);
    }
    ColorRef value = 0;
    ColorRef weight = 1;
    for (auto it = t.rbegin(); it != t.rend(); ++it) {
        const char c = *it;
        ColorRef digit = 0;
        if (c >= 'A' && c <= 'F') {
            digit = ColorRef(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = ColorRef(c - 'a' + 10);
        } else if (c >= '0' && c <= '9') {
            digit = ColorRef(c - '0');
        }
        // Unsigned arithmetic: an overlong text wraps instead of overflowing.
        value += digit * weight;
        weight *= 16;
    }
    return value;
}

bool CreateDirectoryChain(const std::string& path) {
    namespace fs = std::filesystem;
    bool ok = true;
    // The first part is the root ("" before a leading "/"); every later prefix is a folder.
    std::size_t slash = path.find('/');
    while (slash != std::string::npos) {
        std::size_t next = path.find('/', slash + 1);
        std::string prefix = path.substr(0, next);
        if (!prefix.empty() && prefix.back() != '/' && slash + 1 < path.size()) {
            std::error_code ec;
            if (!fs::is_directory(prefix, ec)) {
                fs::create_directory(prefix, ec);
                if (ec && !fs::is_directory(prefix, ec)) ok = false;
            }
        }
        slash = next;
    }
    return ok;
}

std::unique_ptr<CRegistryFiles> OpenProgramRegistry(const std::string& programDir) {
    std::string dir = programDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return std::make_unique<CRegistryFiles>(dir + "NOX.reg", CRegistryFiles::DefaultUserFile());
}

std::string CSettings::ProgramDirectory() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string dir = ec ? std::filesystem::current_path(ec).string() : exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

CSettings::CSettings(const std::string& programDir, IRegistryStore& registry)
    : m_registry(&registry) {
    std::string base = programDir;
    if (!base.empty() && base.back() != '/') base += '/';

    // An installation may keep its NOX.INI elsewhere and say so in the registry.
    {
        CRegistry reg(registry);
        std::string enabled;
        std::string ini;
        if (reg.Open(RegHive::LocalMachine, "Software\\NOX\\Engine", true)) {
            reg.ReadString("enabled", enabled);
            reg.ReadString("INI", ini);
            reg.Close();
        }
        if (ini.starts_with("~/")) ini = HomeDirectory() + ini.substr(1);
        if (ini.size() > 1 && ini.back() != '/') ini += '/';
        if (enabled == "1" && !ini.empty()) base = ini;
    }
    iniFile = base + "NOX.INI";
    baseDir = base;

    app = ReadIniValue("Setup", "App", "", false);
    userData = ReadIniValue("Paths", "UserData", "", true);
    if (!userData.empty()) CreateDirectoryChain(userData);
    presets = ReadIniValue("Paths", "Presets", "", true);
    ui = ReadIniValue("Paths", "UI", "", true);
    mdb = ReadIniValue("Paths", "MDB", "", true);
    img = ReadIniValue("Paths", "IMG", "", true);
    sound = ReadIniValue("Paths", "Sound", "", true);
    html = ReadIniValue("Paths", "HTML", "", true);
    audio = ReadIniValue("Paths", "Audio", "", true);
    video = ReadIniValue("Paths", "Video", "", true);
    cursor = ReadIniValue("Paths", "Cursor", ui + "Cursor/", true);
    if (cursor.empty()) cursor = ui + "Cursor/";
    imgSmall = ReadIniValue("Paths", "ImgSmall", "", true);
    imgPreview = ReadIniValue("Paths", "ImgPreview", "", true);
    imgZoom = ReadIniValue("Paths", "ImgZoom", "", true);
    toolTipFont = ReadIniValue("ToolTip", "Font", "MS Sans Serif", false);
    toolTipFontSize = ParseDecimal(ReadIniValue("ToolTip", "FontSize", "10", false));
    toolTipDelay = ParseDecimal(ReadIniValue("ToolTip", "Delay", "1000", false));
    toolTipTextColor = ParseColor(ReadIniValue("ToolTip", "TextColor", "000000", false));
    toolTipBackColor = ParseColor(ReadIniValue("ToolTip", "BackColor", "000000", false));
    year = ParseDecimal(ReadIniValue("Setup", "Jahr", "2002", false));
    if (year < 1 || year > 9999) year = 2002;
    loaded = 1;
}

std::string CSettings::ReadIniValue(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, bool isPath,
                                    std::size_t bufferSize) const {
    std::optional<std::string> value = ReadProfileValue(iniFile, section, key);
    std::string text
        = TruncateChars(value ? *value : defaultValue, bufferSize ? bufferSize - 1 : 0);
    if (isPath && !text.empty()) text = ResolveSettingsPath(text, baseDir);
    return std::string(TrimBlanks(text));
}

std::optional<std::string> CSettings::FindCursorFile(const std::string& name) const {
    for (const char* extension : {".ani", ".cur"}) {
        std::string path = cursor + name + extension;
        if (IsReadableFile(path)) return path;
    }
    return std::nullopt;
}

bool CSettings::ReadBinaryValue(const std::string& name, void* buffer, std::size_t size) const {
    CRegistry reg(*m_registry);
    if (!reg.Open(RegHive::LocalMachine, "Software\\NOX\\" + app, true)) {
        if (size) std::fill_n(static_cast<char*>(buffer), size, 0);
        return false;
    }
    return reg.ReadBinary(name, buffer, size);
}

bool CSettings::WriteBinaryValue(const std::string& name, const void* data,
                                 std::size_t size) const {
    CRegistry reg(*m_registry);
    if (!reg.Open(RegHive::LocalMachine, "Software\\NOX\\" + app, false)) return false;
    return reg.WriteBinary(name, data, size);
}

const CSettings& TheSettings() {
    assert(g_settings && "the settings record is installed first thing in main()");
    return *g_settings;
}

void InstallSettings(const CSettings* settings) { g_settings = settings; }
