#include "app/Startup.h"

#include <gtest/gtest.h>

#include "data/Database.h"
#include "fixtures/FixtureAlmanac.h"
#include "platform/MessageBox.h"
#include "platform/TestFiles.h"

namespace {

std::string TestLibrary(const std::string& name) {
    return std::string(KOMPENDOR_TEST_BINARY_DIR) + "/bin/lib" + name + ".so";
}

// The fixture almanac at path, carrying password (none when empty).
void WriteAlmanac(const std::string& path, const std::string& password) {
    const std::filesystem::path p(path);
    CreateFixtureAlmanac(p.parent_path().string(), FixtureOptions{p.filename().string(), password});
}

// A complete installation in a temporary folder, its boxes captured, its drives described by
// a mount table in which the folder "cd" is a CD-ROM drive and "net" a network share.
class StartupChecks : public testing::Test {
protected:
    StartupChecks()
        : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()),
          m_answers("KOMPENDOR_ANSWERS", nullptr) {
        std::filesystem::create_directories(dir / "app/UI/Cursor");
        std::filesystem::create_directories(dir / "app/Daten");
        std::filesystem::create_directories(dir / "app/HTML");
        std::filesystem::create_directories(dir / "cd");
        WriteAlmanac(dir / "app/Daten/Kompendor.mdb", "3A9D07B1E5C2");
        Register("testnox_1_7_2_0");
        Ini("");
    }

    void Ini(const std::string& extra) {
        WriteFile(dir / "app/NOX.INI",
                  "[Setup]\nApp=Almanach\n[Paths]\nUI=UI\nMDB=Daten/Kompendor.mdb\nIMG=Daten\n"
                  "HTML=HTML\nMap=Daten/Karte\n"
                      + extra);
    }
    void Register(const std::string& library) {
        WriteFile(dir / "app/NOX.reg",
                  "[HKEY_CLASSES_ROOT\\NOXCTRLS.ImageCtrl.1\\CLSID]\n"
                  "@={5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}\n"
                  "[HKEY_CLASSES_ROOT\\CLSID\\{5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}\\"
                  "InprocServer32]\n@="
                      + TestLibrary(library) + "\n");
    }

    // Runs start-up over the installation at folder (below dir) and keeps the result.
    StartupResult Run(const std::string& folder = "app") {
        CRegistryFiles registry(dir / (folder + "/NOX.reg"), dir / "registry.ini");
        CSettings settings(dir / folder, registry);
        CMountTable drives("/dev/sda1 / ext4 rw 0 0\n/dev/sr0 " + dir / "cd"
                               + " iso9660 ro 0 0\nsrv:/x " + dir / "net" + " nfs rw 0 0\n",
                           "");
        CStartupChecks checks(settings, drives, registry);
        StartupHooks hooks{[this] {
                               ++componentStarts;
                               return toolkitStarts;
                           },
                           [this] { ++cursorLoads; }};
        return checks.Run(hooks);
    }

    std::string Boxes() { return ReadFile(dir / "boxes.txt"); }

    CTempDir dir;
    bool toolkitStarts = true;
    int componentStarts = 0;
    int cursorLoads = 0;

private:
    CScopedEnv m_messages;
    CScopedEnv m_answers;
};

// Answers the insert-disc prompt: the first time it "inserts the disc" by creating the file.
class CDiscInserter : public IMessagePresenter {
public:
    CDiscInserter(std::string file, MsgAnswer answer) : m_file(std::move(file)), m_answer(answer) {}
    MsgAnswer ShowMessage(const MessageBoxRequest& request) override {
        texts.push_back(request.caption + "|" + request.text);
        if (m_answer == IDOK) WriteAlmanac(m_file, "3A9D07B1E5C2");
        return m_answer;
    }
    std::optional<std::string> RunSaveDialog(const SaveDialogRequest&) override {
        return std::nullopt;
    }
    std::vector<std::string> texts;

private:
    std::string m_file;
    MsgAnswer m_answer;
};

}  // namespace

TEST_F(StartupChecks, CompleteInstallationStarts) {
    StartupResult result = Run();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_TRUE(result.database);
    EXPECT_TRUE(result.database->IsReadOnly());
    EXPECT_EQ(result.mapPath, dir / "app/Daten/Karte/");
    EXPECT_EQ(cursorLoads, 1);
    EXPECT_EQ(Boxes(), "");

    // The skin may come as the archive UI.nox instead of the folder.
    std::filesystem::remove_all(dir / "app/UI");
    std::filesystem::create_directories(dir / "app/Cursor");
    Ini("Cursor=Cursor\n");
    WriteFile(dir / "app/UI.nox", "PK");
    EXPECT_TRUE(Run().ok);
    std::filesystem::remove(dir / "app/UI.nox");
    StartupResult noSkin = Run();
    EXPECT_FALSE(noSkin.ok);
    EXPECT_EQ(noSkin.exitCode, -1);
    EXPECT_EQ(Boxes(), "F E H L E R\tDie Datei " + dir / "app/UI.nox" +
                           " konnte nicht gefunden werden!\\n\\nBitte wiederholen Sie die "
                           "Installation von der original CD...\n");
}

TEST_F(StartupChecks, ProgramOnCdromNetworkOrRamDiskIsRefusedFirst) {
    // An installation on the CD itself: nothing else is looked at, not even the missing files.
    std::filesystem::create_directories(dir / "net");
    for (const char* folder : {"cd", "net"}) {
        std::filesystem::remove(dir / "boxes.txt");
        WriteFile(dir / (std::string(folder) + "/NOX.INI"), "[Paths]\nMDB=fehlt.mdb\n");
        StartupResult result = Run(folder);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(Boxes(),
                  "H I N W E I S\tBitte installieren Sie diese Anwendung zunächst auf eine "
                  "lokale Festplatte...\n")
            << folder;
    }
    EXPECT_EQ(componentStarts, 0);
    EXPECT_EQ(cursorLoads, 0);
}

TEST_F(StartupChecks, MissingFilesOnHardDisk) {
    std::filesystem::remove(dir / "app/Daten/Kompendor.mdb");
    StartupResult result = Run();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.exitCode, -1);
    EXPECT_FALSE(result.database);
    EXPECT_EQ(Boxes(), "F E H L E R\tDie Datei " + dir / "app/Daten/Kompendor.mdb" +
                           " konnte nicht gefunden werden!\\n\\nBitte wiederholen Sie die "
                           "Installation von der original CD...\n");

    // A folder where the file should be is no file; a missing folder has its own text.
    std::filesystem::create_directory(dir / "app/Daten/Kompendor.mdb");
    std::filesystem::remove(dir / "boxes.txt");
    EXPECT_EQ(Run().exitCode, -1);
    std::filesystem::remove(dir / "app/Daten/Kompendor.mdb");
    WriteAlmanac(dir / "app/Daten/Kompendor.mdb", "3A9D07B1E5C2");
    std::filesystem::remove(dir / "app/HTML");
    std::filesystem::remove(dir / "boxes.txt");
    EXPECT_EQ(Run().exitCode, -1);
    EXPECT_EQ(Boxes(), "F E H L E R\tDas Verzeichnis " + dir / "app/HTML/" +
                           " konnte nicht gefunden werden!\\n\\nBitte wiederholen Sie die "
                           "Installation von der original CD...\n");
}

TEST_F(StartupChecks, InsertDiscPrompt) {
    // The almanac stays on the CD; the drive is empty.
    WriteFile(dir / "app/NOX.INI",
              "[Paths]\nUI=UI\nMDB=" + dir / "cd/Daten/Kompendor.mdb" + "\nIMG=Daten\nHTML=HTML\n");
    const std::string prompt
        = "H I N W E I S|Bitte legen Sie den Datenträger mit der Aufschrift "
          "\"Varnholt Kompendor 2004\" in das Laufwerk "
          + dir / "cd/" + " ein...";
    {
        // Cancel ends start-up without the file-not-found error and without the quit code.
        CScopedEnv manual("KOMPENDOR_MESSAGES", nullptr);
        CDiscInserter user(dir / "cd/Daten/Kompendor.mdb", IDCANCEL);
        SetMessagePresenter(&user);
        StartupResult result = Run();
        SetMessagePresenter(nullptr);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(user.texts, std::vector<std::string>{prompt});
    }
    {
        // OK after inserting the disc: the file is there now and start-up goes on.
        std::filesystem::create_directories(dir / "cd/Daten");
        CScopedEnv manual("KOMPENDOR_MESSAGES", nullptr);
        CDiscInserter user(dir / "cd/Daten/Kompendor.mdb", IDOK);
        SetMessagePresenter(&user);
        StartupResult result = Run();
        SetMessagePresenter(nullptr);
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.database);
        EXPECT_EQ(user.texts, std::vector<std::string>{prompt});
    }
    // OK without the disc asks again.
    std::filesystem::remove_all(dir / "cd/Daten");
    CScopedEnv answers("KOMPENDOR_ANSWERS", "ok,ok,cancel");
    EXPECT_FALSE(Run().ok);
    std::string boxes = Boxes();
    int prompts = 0;
    for (std::size_t p = 0; (p = boxes.find("Bitte legen Sie", p)) != std::string::npos; ++p)
        ++prompts;
    EXPECT_EQ(prompts, 3);
}

TEST_F(StartupChecks, ControlSetVersion) {
    for (const char* library : {"testnox_1_7_1_9", "testnox_none"}) {
        std::filesystem::remove(dir / "boxes.txt");
        Register(library);
        StartupResult result = Run();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(Boxes(),
                  "F E H L E R\tDas Produkt wurde nicht ordnungsgemäß installiert.\\nBitte führen "
                  "Sie die "
                  "Installation von der original CD aus und starten Sie das Programm "
                  "erneut.\\n\\n(Engine Komponente NOXCtrls ab v1.7.2.0 benötigt)\n")
            << library;
    }
    EXPECT_EQ(cursorLoads, 0);
    Register("testnox_1_8_0_0");
    EXPECT_TRUE(Run().ok);
}

TEST_F(StartupChecks, ErrorTextsFromTheSettingsFile) {
    // Texts with "<BR>" break lines; a text with stray format characters is shown as it is.
    Ini("[Errors]\nOleInit=Keine<BR>Komponenten\nInstall=Fehler: %s<BR>%d %n %s 100%%\n");
    toolkitStarts = false;
    StartupResult result = Run();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(Boxes(), "F E H L E R\tFehler: Keine\\nKomponenten\\n%d %n %s 100%\n");
    EXPECT_EQ(cursorLoads, 0);

    // Settings that never finished loading end start-up without a word.
    CRegistryFiles registry(dir / "app/NOX.reg", dir / "registry.ini");
    CSettings settings(dir / "app", registry);
    settings.loaded = 0;
    CMountTable drives("/dev/sda1 / ext4 rw 0 0\n", "");
    CStartupChecks checks(settings, drives, registry);
    std::filesystem::remove(dir / "boxes.txt");
    EXPECT_FALSE(checks.Run(StartupHooks{}).ok);
    EXPECT_EQ(Boxes(), "");
}

namespace {

// The box of the installation error with reason.
std::string InstallErrorBox(const std::string& reason) {
    return "F E H L E R\tDas Produkt wurde nicht ordnungsgemäß installiert.\\nBitte führen Sie "
           "die Installation von der original CD aus und starten Sie das Programm "
           "erneut.\\n\\n("
           + reason + ")\n";
}

}  // namespace

TEST_F(StartupChecks, EmptyOrForeignAlmanacGivesTheInstallationError) {
    const std::string mdb = dir / "app/Daten/Kompendor.mdb";
    struct {
        const char* what;
        std::function<void(const std::string&)> make;
        std::string reason;
    } cases[] = {
        {"not a database", [](const std::string& p) { WriteFile(p, std::string(4096, 'x')); },
         "Die Datei " + mdb + " ist keine Almanach-Datenbank"},
        {"other password", [](const std::string& p) { WriteAlmanac(p, "geheim"); },
         "Die Almanach-Datenbank " + mdb + ": falsches Kennwort"},
        {"empty file", [](const std::string& p) { WriteFile(p, ""); },
         "Die Almanach-Datenbank " + mdb + " ist leer"},
        {"a database of something else",
         [](const std::string& p) {
             CDatabase other;
             other.Create(p);
             other.Execute("CREATE TABLE Land (ID LONG)");
             other.Execute("CREATE TABLE Val (ID LONG)");
             other.Execute("CREATE TABLE Data (ID LONG)");
         },
         "Die Datei " + mdb + " ist keine Almanach-Datenbank (die Tabelle ValJahre fehlt)"},
        {"damaged table list",
         [](const std::string& p) {
             WriteAlmanac(p, "3A9D07B1E5C2");
             std::string bytes = ReadFile(p);
             for (std::size_t i = 100; i < 4096 && i < bytes.size(); ++i) bytes[i] = '\x5A';
             WriteFile(p, bytes);
         },
         "Die Almanach-Datenbank " + mdb + " ist beschädigt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(dir / "boxes.txt");
        std::filesystem::remove(mdb);
        c.make(mdb);
        StartupResult result = Run();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_FALSE(result.database);
        EXPECT_EQ(Boxes(), InstallErrorBox(c.reason));
    }
    // A file without password table opens with the program's password, as Jet's would.
    std::filesystem::remove(mdb);
    WriteAlmanac(mdb, "");
    EXPECT_TRUE(Run().ok);

    // An empty path is no almanac either (SQLite would open a temporary database).
    std::string reason;
    EXPECT_FALSE(OpenAlmanacFile("", reason));
    EXPECT_NE(reason.find("nicht angegeben"), std::string::npos) << reason;
}

TEST_F(StartupChecks, UnusableSettingsFileIsNamedWithTheReason) {
    const std::string ini = dir / "app/NOX.INI";
    std::string junk(3000, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 37 % 251);
    struct {
        const char* contents;  // null: a folder of that name
        std::string reason;
    } cases[] = {
        {"[Setup]\nApp=Almanach\n", "Die Einstellungsdatei " + ini + " enthält keinen Abschnitt [Paths]"},
        {"", "Die Einstellungsdatei " + ini + " enthält keinen Abschnitt [Paths]"},
        {junk.c_str(), "Die Einstellungsdatei " + ini + " ist keine Textdatei"},
        {nullptr, "Die Einstellungsdatei " + ini + " ist keine Datei"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::filesystem::remove(dir / "boxes.txt");
        std::filesystem::remove_all(ini);
        if (c.contents) {
            WriteFile(ini, c.contents == junk.c_str() ? junk : std::string(c.contents));
        } else {
            std::filesystem::create_directory(ini);
        }
        StartupResult result = Run();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(Boxes(), InstallErrorBox(c.reason));
    }
    std::filesystem::remove_all(ini);
    std::filesystem::remove(dir / "boxes.txt");
    EXPECT_FALSE(Run().ok);
    EXPECT_EQ(Boxes(), InstallErrorBox("Die Einstellungsdatei " + ini + " fehlt"));
}

TEST(Startup, FormattingAndBrowserFlags) {
    EXPECT_EQ(FormatOneArgument("ab %s benötigt", "v1.7.2.0"), "ab v1.7.2.0 benötigt");
    EXPECT_EQ(FormatOneArgument("%s und %s", "x"), "x und %s");
    EXPECT_EQ(FormatOneArgument("100%% %n %", "x"), "100% %n %");
    EXPECT_EQ(FormatOneArgument("(%s)", "50%s"), "(50%s)");

    EXPECT_EQ(ChromiumFlags("", true, true), "--no-sandbox");
    EXPECT_EQ(ChromiumFlags("", false, true), "");
    EXPECT_EQ(ChromiumFlags("--no-sandbox", true, false), "--no-sandbox --disable-gpu");
    EXPECT_EQ(ChromiumFlags("--disable-gpu-compositing", false, false),
              "--disable-gpu-compositing --disable-gpu");
}
