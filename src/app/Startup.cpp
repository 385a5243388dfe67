#include "app/Startup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "data/Database.h"
#include "data/ValueRoutines.h"
#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"
#include "platform/StartupTrace.h"
#include "platform/Text.h"

namespace {

// The buffer the texts of section Errors are read into.
constexpr std::size_t kErrorTextBuffer = 512;
// The engine's message goes into a buffer of this size.
constexpr std::size_t kEngineMessageBuffer = 256;

bool CanReadFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // A folder of that name can be opened here, but it is not the file.
    struct stat st {};
    bool file = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    ::close(fd);
    return file;
}

// The test the design makes by changing into the folder: it must exist and be enterable.
bool CanEnterDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)
           && ::access(path.c_str(), X_OK) == 0;
}

bool HasFlag(const std::string& flags, std::string_view flag) {
    std::size_t pos = 0;
    while ((pos = flags.find(flag, pos)) != std::string::npos) {
        bool startOk = pos == 0 || flags[pos - 1] == ' ';
        std::size_t end = pos + flag.size();
        bool endOk = end == flags.size() || flags[end] == ' ' || flags[end] == '=';
        if (startOk && endOk) return true;
        pos = end;
    }
    return false;
}

// The reason for an almanac the engine refused, from its result code.
std::string EngineReason(const std::string& path, const CDBException& error) {
    if (std::strcmp(error.what(), "Not a valid password.") == 0)
        return "Die Almanach-Datenbank " + path + ": falsches Kennwort";
    switch (error.Code() & 0xFF) {
        case SQLITE_NOTADB:
            return "Die Datei " + path + " ist keine Almanach-Datenbank";
        case SQLITE_CORRUPT:
            return "Die Almanach-Datenbank " + path + " ist beschädigt";
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "Die Almanach-Datenbank " + path + " kann nicht geöffnet werden";
        case SQLITE_NOMEM:
            return "Für die Almanach-Datenbank " + path + " reicht der Speicher nicht";
        default:
            return "Die Almanach-Datenbank " + path + " kann nicht gelesen werden";
    }
}

// A text file holds no NUL byte and few other control characters; binary junk holds many.
bool LooksLikeText(std::string_view text) {
    std::size_t controls = 0;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0) return false;
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f') ++controls;
    }
    return controls * 100 <= text.size();
}

bool HasSection(std::string_view text, std::string_view wanted) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = TrimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() != '[') continue;
        const std::size_t close = line.find(']');
        const std::string_view name
            = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
        if (EqualsNoCase(TrimBlanks(name), wanted)) return true;
    }
    return false;
}

}  // namespace

std::unique_ptr<CDatabase> OpenAlmanacFile(const std::string& path, std::string& reason) {
    // SQLite takes an empty path for a temporary database and an empty file for a new one:
    // neither is an almanac.
    if (path.empty()) {
        reason = "Die Almanach-Datenbank (MDB in NOX.INI) ist nicht angegeben";
        return nullptr;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        reason = "Die Almanach-Datenbank " + path + " fehlt";
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = "Die Almanach-Datenbank " + path + " ist keine Datei";
        return nullptr;
    }
    if (st.st_size == 0) {
        reason = "Die Almanach-Datenbank " + path + " ist leer";
        return nullptr;
    }
    auto database = std::make_unique<CDatabase>();
    try {
        database->Open(path, true, true, kAlmanacConnect);
        // The names of its tables; a damaged schema shows here already.
        std::vector<std::string> tables;
        CRecordset rs(database.get());
        rs.Open("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')");
        for (; !rs.IsEOF(); rs.MoveNext()) tables.push_back(ToText(rs.GetFieldValue(0)));
        for (const char* wanted : kAlmanacTables) {
            bool found = false;
            for (const std::string& table : tables) found = found || EqualsNoCase(table, wanted);
            if (!found) {
                reason = "Die Datei " + path + " ist keine Almanach-Datenbank (die Tabelle "
                         + wanted + " fehlt)";
                return nullptr;
            }
        }
    } catch (const CDBException& error) {
        reason = EngineReason(path, error);
        return nullptr;
    }
    return database;
}

std::optional<std::string> SettingsFileProblem(const std::string& path) {
    FileReadStatus status = FileReadStatus::Ok;
    const std::optional<std::string> text = ReadWholeFile(path, kSettingsFileLimit, &status);
    const std::string file = "Die Einstellungsdatei " + path;
    switch (status) {
        case FileReadStatus::Ok:
            break;
        case FileReadStatus::Missing:
            return file + " fehlt";
        case FileReadStatus::NotAFile:
            return file + " ist keine Datei";
        case FileReadStatus::TooLarge:
            return file + " ist zu groß";
        case FileReadStatus::Unreadable:
            return file + " kann nicht gelesen werden";
    }
    if (!LooksLikeText(*text)) return file + " ist keine Textdatei";
    if (!HasSection(*text, "Paths")) return file + " enthält keinen Abschnitt [Paths]";
    return std::nullopt;
}

std::string FormatOneArgument(const std::string& format, const std::string& argument) {
    std::string out;
    bool used = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (format[i + 1] == 's' && !used) {
                out += argument;
                used = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

std::string ChromiumFlags(const std::string& current, bool root, bool gpu) {
    std::string flags = current;
    auto add = [&](std::string_view flag) {
        if (HasFlag(flags, flag)) return;
        if (!flags.empty()) flags += ' ';
        flags += flag;
    };
    if (root) add("--no-sandbox");
    if (!gpu) add("--disable-gpu");
    return flags;
}

CStartupChecks::CStartupChecks(const CSettings& settings, const IDriveTypes& drives,
                               const IRegistryStore& registry)
    : m_settings(settings), m_drives(drives), m_registry(registry) {}

StartupResult CStartupChecks::Run(const StartupHooks& hooks) {
    StartupResult result;
    auto fail = [&]() -> StartupResult {
        result.exitCode = m_quitRequest.value_or(1);
        result.database.reset();
        return std::move(result);
    };
    if (!CheckLocalDisk()) return fail();
    if (!InitEngine(hooks)) return fail();
    // Hosting controls and three-dimensional dialog controls need no switch here.
    result.mapPath = m_settings.ReadIniValue("Paths", "Map", "", true);
    // Without its settings every path is empty, and the checks below would name none.
    if (!CheckSettingsFile()) return fail();
    if (!CheckFilesAndDirectories()) return fail();
    StartupMark("checks");
    result.database = OpenAlmanac();
    if (!result.database) return fail();
    StartupMark("almanac");
    result.ok = true;
    result.exitCode = 0;
    return result;
}

bool CStartupChecks::CheckLocalDisk() {
    DriveInfo drive = m_drives.Lookup(m_settings.baseDir);
    if (drive.type & 4) {
        ShowMessageBox(kLocalDiskText, kCaptionHinweis, MsgIcon::Information, MsgButtons::Ok);
        return false;
    }
    return true;
}

bool CStartupChecks::InitEngine(const StartupHooks& hooks) {
    if (m_settings.loaded != 1) return false;
    if (hooks.initComponents && !hooks.initComponents()) {
        ShowInstallError(ErrorText("OleInit", kOleInitDefault));
        return false;
    }
    if (!CheckComponent(m_registry, kControlSetProgId, kControlSetVersion, m_settings.baseDir)) {
        ShowInstallError(ErrorText("NOXCtrls", kNoxCtrlsDefault, kControlSetVersionText));
        return false;
    }
    if (hooks.loadCursors) hooks.loadCursors();
    return true;
}

bool CStartupChecks::CheckFilesAndDirectories() {
    const std::string& ui = m_settings.ui;
    if (!CanEnterDirectory(ui)) {
        // The skin may come as an archive named like the folder.
        std::string archive = ui.empty() ? std::string() : ui.substr(0, ui.size() - 1);
        if (!FileCheck(archive + ".nox")) return false;
    }
    return DirectoryCheck(m_settings.cursor) && FileCheck(m_settings.mdb)
           && DirectoryCheck(m_settings.img) && DirectoryCheck(m_settings.html);
}

bool CStartupChecks::CheckSettingsFile() {
    const std::optional<std::string> problem = SettingsFileProblem(m_settings.iniFile);
    if (!problem) return true;
    ShowInstallError(*problem);
    return false;
}

std::unique_ptr<CDatabase> CStartupChecks::OpenAlmanac() {
    std::string reason;
    std::unique_ptr<CDatabase> database = OpenAlmanacFile(m_settings.mdb, reason);
    if (!database) ShowInstallError(TruncateChars(reason, kEngineMessageBuffer - 1));
    return database;
}

bool CStartupChecks::FileCheck(const std::string& path) { return Check(path, false); }

bool CStartupChecks::DirectoryCheck(const std::string& path) { return Check(path, true); }

bool CStartupChecks::Check(const std::string& path, bool directory) {
    const DriveInfo drive = m_drives.Lookup(path);
    while (true) {
        if (directory ? CanEnterDirectory(path) : CanReadFile(path)) return true;
        if (drive.type != DRIVE_CDROM) {
            ShowMessageBox(
                FormatOneArgument(directory ? kDirectoryNotFoundText : kFileNotFoundText, path),
                kCaptionFehler, MsgIcon::Stop, MsgButtons::Ok);
            m_quitRequest = -1;
            return false;
        }
        if (ShowMessageBox(FormatOneArgument(kInsertDiscText, drive.root), kCaptionHinweis,
                           MsgIcon::Information, MsgButtons::OkCancel)
            != IDOK) {
            return false;
        }
    }
}

std::string CStartupChecks::ErrorText(const std::string& key, const std::string& defaultText,
                                      const std::optional<std::string>& argument) const {
    std::string text = m_settings.ReadIniValue("Errors", key, defaultText, false, kErrorTextBuffer);
    if (argument) text = FormatOneArgument(text, *argument);
    return ReplaceAll(std::move(text), "<BR>", "\n");
}

void CStartupChecks::ShowInstallError(const std::string& reason) const {
    ShowMessageBox(ErrorText("Install", kInstallDefault, reason), kCaptionFehler, MsgIcon::Stop,
                   MsgButtons::Ok);
}
