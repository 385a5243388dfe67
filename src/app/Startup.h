#pragma once
// The installation checks of start-up, in the order the program runs them: local disk,
// engine (component libraries, control set, cursors), files and directories with the
// insert-disc prompt, and opening the almanac. Windows are not needed: every message goes
// through ShowMessageBox, drive types come from an IDriveTypes, and the steps that need the
// toolkit are hooks.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/Settings.h"
#include "platform/ComponentCheck.h"
#include "platform/DriveType.h"

class CDatabase;

inline constexpr const char* kLocalDiskText
    = "Bitte installieren Sie diese Anwendung zunächst auf eine lokale Festplatte...";
inline constexpr const char* kFileNotFoundText
    = "Die Datei %s konnte nicht gefunden werden!\n\nBitte wiederholen Sie die Installation von "
      "der original CD...";
inline constexpr const char* kDirectoryNotFoundText
    = "Das Verzeichnis %s konnte nicht gefunden werden!\n\nBitte wiederholen Sie die Installation "
      "von der original CD...";
inline constexpr const char* kInsertDiscText
    = "Bitte legen Sie den Datenträger mit der Aufschrift \"Varnholt Kompendor 2004\" in das "
      "Laufwerk %s ein...";
inline constexpr const char* kOleInitDefault = "Fehler beim Initialisieren der OLE Bibliotheken";
inline constexpr const char* kNoxCtrlsDefault = "Engine Komponente NOXCtrls ab %s benötigt";
inline constexpr const char* kInstallDefault
    = "Das Produkt wurde nicht ordnungsgemäß installiert.<BR>Bitte führen Sie die Installation "
      "von der original CD aus und starten Sie das Programm erneut.<BR><BR>(%s)";

// The control set the program needs, and the version it needs at least.
inline constexpr const char* kControlSetProgId = "NOXCTRLS.ImageCtrl.1";
inline constexpr FileVersion kControlSetVersion{1, 7, 2, 0};
inline constexpr const char* kControlSetVersionText = "v1.7.2.0";

// The intro film in the base directory.
inline constexpr const char* kIntroMovie = "ZYB2004.nox";

// The steps of start-up that need the toolkit.
struct StartupHooks {
    // Starts the component libraries (the toolkit); false when that failed.
    std::function<bool()> initComponents;
    // Loads the arrow, "Pointer" and "Wait" cursors.
    std::function<void()> loadCursors;
};

// What start-up hands on to the application object.
struct StartupResult {
    bool ok = false;
    // The program's exit code when start-up failed: -1 after a missing file or directory on
    // a hard disk (the quit request), 1 for every other failure.
    int exitCode = 1;
    std::unique_ptr<CDatabase> database;
    // The map data folder (key Map of section Paths).
    std::string mapPath;
};

class CStartupChecks {
public:
    // All references must outlive the object.
    CStartupChecks(const CSettings& settings, const IDriveTypes& drives,
                   const IRegistryStore& registry);

    // Steps 2 to 7 in order; the first that fails ends start-up.
    StartupResult Run(const StartupHooks& hooks);

    // The program folder must lie on a local disk; otherwise the local-disk hint.
    bool CheckLocalDisk();
    // Settings loaded, component libraries, control set, cursors.
    bool InitEngine(const StartupHooks& hooks);
    // UI (or the archive UI.nox beside it), Cursor, MDB, IMG, HTML.
    bool CheckFilesAndDirectories();
    // NOX.INI must be a readable text file with a section Paths; otherwise the installation
    // error names the file and says why.
    bool CheckSettingsFile();
    // The almanac, opened exclusive and read-only with the password and checked by
    // OpenAlmanacFile; nothing, after the installation error with the reason, when it is none.
    std::unique_ptr<CDatabase> OpenAlmanac();

    // The file check: passes when path can be opened for reading. On a CD-ROM drive it asks
    // for the disc until the file is there or the user cancels; elsewhere it shows the
    // file-not-found error and requests quitting with exit code -1.
    bool FileCheck(const std::string& path);
    // The same for a directory.
    bool DirectoryCheck(const std::string& path);

    // A text of section Errors of NOX.INI (at most 511 characters) with "<BR>" turned into
    // line breaks; argument, when given, takes the place of "%s".
    std::string ErrorText(const std::string& key, const std::string& defaultText,
                          const std::optional<std::string>& argument = std::nullopt) const;
    // The installation error with reason, as a stop box with the caption of errors.
    void ShowInstallError(const std::string& reason) const;

    // -1 once a check has requested quitting; nothing before.
    std::optional<int> QuitRequest() const { return m_quitRequest; }

private:
    bool Check(const std::string& path, bool directory);

    const CSettings& m_settings;
    const IDriveTypes& m_drives;
    const IRegistryStore& m_registry;
    std::optional<int> m_quitRequest;
};

// The tables every almanac holds.
inline constexpr const char* kAlmanacTables[] = {"Land", "Val", "Data", "ValJahre", "HTML"};

// Opens the almanac at path as the program does (exclusive, read-only, with the password) and
// checks that it is one: a file that is not empty and holds the tables kAlmanacTables.
// Nothing when it is none, with the reason in German in reason ("Die Datei ... ist keine
// Almanach-Datenbank", "... ist beschädigt", "... falsches Kennwort").
std::unique_ptr<CDatabase> OpenAlmanacFile(const std::string& path, std::string& reason);

// Why the settings file at path cannot be used, in German and naming the file; nothing when
// it can: it must be a readable text file of at most a few megabytes with a section Paths.
std::optional<std::string> SettingsFileProblem(const std::string& path);

// A printf-style text with one "%s": the first "%s" becomes argument and "%%" becomes "%";
// any other "%" stays as it is. Texts from the settings file are never used as a format.
std::string FormatOneArgument(const std::string& format, const std::string& argument);

// The Chromium flags of the embedded browser: as root it needs "--no-sandbox", without a GPU
// "--disable-gpu"; flags already present are kept and not repeated.
std::string ChromiumFlags(const std::string& current, bool root, bool gpu);
