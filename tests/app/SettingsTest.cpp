#include "app/Settings.h"

#include <gtest/gtest.h>

#include "app/Registry.h"
#include "platform/TestFiles.h"

namespace {

struct PathCase {
    const char* value;
    const char* expected;
};

class SettingsPathTable : public testing::TestWithParam<PathCase> {};

// An installation folder with its NOX.INI and a private registry.
struct CInstallation {
    CTempDir dir;
    CRegistryFiles registry{dir / "NOX.reg", dir / "user/registry.ini"};
    void Ini(const std::string& text) { WriteFile(dir / "NOX.INI", text); }
};

}  // namespace

TEST_P(SettingsPathTable, Resolves) {
    CScopedEnv home("HOME", "/home/leser");
    EXPECT_EQ(ResolveSettingsPath(GetParam().value, "/opt/kompendor/"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsPathTable,
    testing::Values(
        PathCase{"Daten", "/opt/kompendor/Daten/"}, PathCase{"Daten/", "/opt/kompendor/Daten/"},
        PathCase{"Daten/Kompendor.mdb", "/opt/kompendor/Daten/Kompendor.mdb"},
        PathCase{"/srv/Kompendor.mdb", "/srv/Kompendor.mdb"}, PathCase{"/srv/x", "/srv/x/"},
        PathCase{"~/.local/share/Kompendor", "/home/leser/.local/share/Kompendor/"},
        // Only a three-letter extension makes a file name.
        PathCase{"/srv/Daten.nox", "/srv/Daten.nox"}, PathCase{"/srv/Daten.gz", "/srv/Daten.gz/"},
        PathCase{"/srv/Daten.html", "/srv/Daten.html/"},
        PathCase{"~user/x", "/opt/kompendor/~user/x/"}));

TEST(Settings, ColoursAndNumbers) {
    struct {
        const char* text;
        ColorRef color;
    } colors[] = {
        {"FF0000", 0x0000FF},
        {"00FF00", 0x00FF00},
        {"0000ff", 0xFF0000},
        {"123456", 0x563412},
        {"", 0},
        {"FF", 0xFF},
        {"FFFF0", 0xFFFF0},
        {"GG0000", 0},
        {"00000012", 0x1200000012u & 0xFFFFFFFFu},
        {"FF000G", 0x0000FF},
    };
    for (const auto& c : colors) EXPECT_EQ(ParseColor(c.text), c.color) << c.text;

    struct {
        const char* text;
        std::int32_t value;
    } numbers[] = {{"10", 10},
                   {" 1000ms", 1000},
                   {"-3", -3},
                   {"", 0},
                   {"abc", 0},
                   {"+7", 7},
                   {"99999999999", INT32_MAX},
                   {"-99999999999", INT32_MIN},
                   {"0x10", 0}};
    for (const auto& n : numbers) EXPECT_EQ(ParseDecimal(n.text), n.value) << n.text;
}

TEST(Settings, DefaultsForMissingFileAndKeys) {
    CInstallation inst;
    CSettings s(inst.dir.Path(), inst.registry);
    EXPECT_EQ(s.loaded, 1u);
    EXPECT_EQ(s.iniFile, inst.dir / "NOX.INI");
    EXPECT_EQ(s.baseDir, inst.dir.Path());
    EXPECT_EQ(s.ui, "");
    EXPECT_EQ(s.mdb, "");
    // An empty UI still gives the cursor folder its default below the base directory.
    EXPECT_EQ(s.cursor, inst.dir / "Cursor/");
    EXPECT_EQ(s.toolTipFont, "MS Sans Serif");
    EXPECT_EQ(s.toolTipFontSize, 10);
    EXPECT_EQ(s.toolTipDelay, 1000);
    EXPECT_EQ(s.toolTipTextColor, 0u);
    EXPECT_EQ(s.year, 2002);

    // The same for a file that is no settings file at all.
    std::string garbage;
    for (int i = 0; i < 2048; ++i) garbage += static_cast<char>((i * 131) % 256);
    inst.Ini(garbage);
    CSettings g(inst.dir.Path(), inst.registry);
    EXPECT_EQ(g.loaded, 1u);
    EXPECT_EQ(g.toolTipDelay, 1000);
    EXPECT_EQ(g.toolTipFont, "MS Sans Serif");
}

TEST(Settings, EditionYearFallsBackTo2002) {
    CInstallation inst;
    for (const char* value : {"", "kein Jahr", "-5", "123456"}) {
        inst.Ini(std::string("[Setup]\nJahr=") + value + "\n");
        EXPECT_EQ(CSettings(inst.dir.Path(), inst.registry).year, 2002) << value;
    }
}

TEST(Settings, ReadsTheInstallation) {
    CInstallation inst;
    CScopedEnv home("HOME", (inst.dir / "home").c_str());
    inst.Ini(
        "[Setup]\nApp=Almanach\nJahr=2017\n"
        "[Paths]\n"
        "UserData=~/.local/share/Kompendor\n"
        "UI=UI\n"
        "MDB=/srv/almanach/Kompendor.mdb\n"
        "IMG = Daten \n"
        "HTML=HTML/\n"
        "Cursor=\n"
        "Sound=\n"
        "[ToolTip]\n"
        "Font=Arial\n"
        "FontSize=\n"
        "Delay=250 ms\n"
        "TextColor=FF0000\n"
        "BackColor=\n");
    CSettings s(inst.dir.Path(), inst.registry);
    EXPECT_EQ(s.app, "Almanach");
    EXPECT_EQ(s.userData, inst.dir / "home/.local/share/Kompendor/");
    EXPECT_EQ(s.ui, inst.dir / "UI/");
    EXPECT_EQ(s.mdb, "/srv/almanach/Kompendor.mdb");
    EXPECT_EQ(s.img, inst.dir / "Daten/");
    EXPECT_EQ(s.html, inst.dir / "HTML/");
    EXPECT_EQ(s.cursor, inst.dir / "UI/Cursor/");
    // Present but empty: empty text and zero, not the defaults.
    EXPECT_EQ(s.sound, "");
    EXPECT_EQ(s.toolTipFontSize, 0);
    EXPECT_EQ(s.toolTipBackColor, 0u);
    EXPECT_EQ(s.toolTipDelay, 250);
    EXPECT_EQ(s.toolTipTextColor, 0x0000FFu);
    EXPECT_EQ(s.toolTipFont, "Arial");
    EXPECT_EQ(s.year, 2017);

    // The user-data folder exists with every folder of its chain.
    EXPECT_TRUE(std::filesystem::is_directory(s.userData));

    // Other modules read further keys the same way.
    EXPECT_EQ(s.ReadIniValue("Paths", "Map", "", true), "");
    EXPECT_EQ(s.ReadIniValue("Paths", "IMG", "", true, 4), inst.dir / "Dat/");
}

TEST(Settings, UserDataChainIsCreated) {
    CTempDir dir;
    EXPECT_TRUE(CreateDirectoryChain(dir / "a/b/c/"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/b/c"));
    EXPECT_TRUE(CreateDirectoryChain(dir / "a/b/c/"));
    // A file in the way is reported, not replaced.
    WriteFile(dir / "f", "x");
    EXPECT_FALSE(CreateDirectoryChain(dir / "f/g/"));
    EXPECT_EQ(ReadFile(dir / "f"), "x");
}

TEST(Settings, RegistryMovesTheBaseDirectory) {
    CInstallation inst;
    CTempDir other;
    WriteFile(other / "NOX.INI", "[Paths]\nIMG=Daten\n[Setup]\nApp=Engine\n");
    inst.Ini("[Paths]\nIMG=Falsch\n");

    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\NOX\\Engine";
    std::string dirNoSlash = other.Path().substr(0, other.Path().size() - 1);
    ASSERT_TRUE(inst.registry.WriteValue(key, RegistryValue{"Enabled", false, "1"}));
    ASSERT_TRUE(inst.registry.WriteValue(key, RegistryValue{"ini", false, dirNoSlash}));
    CSettings moved(inst.dir.Path(), inst.registry);
    EXPECT_EQ(moved.iniFile, other / "NOX.INI");
    EXPECT_EQ(moved.baseDir, other.Path());
    EXPECT_EQ(moved.img, other / "Daten/");

    // Anything but exactly "1" leaves the program's own folder in charge.
    for (const char* enabled : {"0", " 1x", "yes", ""}) {
        ASSERT_TRUE(inst.registry.WriteValue(key, RegistryValue{"enabled", false, enabled}));
        CSettings s(inst.dir.Path(), inst.registry);
        EXPECT_EQ(s.img, inst.dir / "Falsch/") << enabled;
    }
}

TEST(Settings, BinaryValuesAndCursorFiles) {
    CInstallation inst;
    inst.Ini("[Setup]\nApp=Almanach\n[Paths]\nUI=UI\n");
    CSettings s(inst.dir.Path(), inst.registry);

    unsigned char workspace = 0xAA;
    EXPECT_FALSE(s.ReadBinaryValue("Workspace", &workspace, 1));
    EXPECT_EQ(workspace, 0);
    unsigned char three = 3;
    ASSERT_TRUE(s.WriteBinaryValue("Workspace", &three, 1));
    EXPECT_TRUE(s.ReadBinaryValue("workspace", &workspace, 1));
    EXPECT_EQ(workspace, 3);
    EXPECT_NE(ReadFile(inst.dir / "user/registry.ini")
                  .find("[HKEY_LOCAL_MACHINE\\Software\\NOX\\Almanach]\nWorkspace=hex:03"),
              std::string::npos);

    // A text value of that name is no binary value.
    ASSERT_TRUE(inst.registry.WriteValue("HKEY_LOCAL_MACHINE\\Software\\NOX\\Almanach",
                                         RegistryValue{"Workspace", false, "3"}));
    workspace = 0xAA;
    EXPECT_FALSE(s.ReadBinaryValue("Workspace", &workspace, 1));
    EXPECT_EQ(workspace, 0);

    // The animated cursor is preferred; a missing cursor is no failure.
    EXPECT_FALSE(s.FindCursorFile("Wait"));
    WriteFile(inst.dir / "UI/Cursor/Wait.cur", "c");
    EXPECT_EQ(s.FindCursorFile("Wait"), inst.dir / "UI/Cursor/Wait.cur");
    WriteFile(inst.dir / "UI/Cursor/Wait.ani", "a");
    EXPECT_EQ(s.FindCursorFile("Wait"), inst.dir / "UI/Cursor/Wait.ani");
}

TEST(Registry, KeyOperations) {
    CTempDir dir;
    CRegistryFiles files(dir / "NOX.reg", dir / "user.ini");
    WriteFile(dir / "NOX.reg",
              "[HKEY_CURRENT_USER\\Software\\NOX\\PageSetup]\nheader=&w&bSeite &p\n");
    CRegistry reg(files);
    std::string text;
    EXPECT_FALSE(reg.ReadString("header", text));

    ASSERT_TRUE(reg.Open(RegHive::CurrentUser, "Software\\NOX\\PageSetup", true));
    EXPECT_TRUE(reg.ReadString("HEADER", text));
    EXPECT_EQ(text, "&w&bSeite &p");
    EXPECT_FALSE(reg.ReadString("footer", text));
    EXPECT_EQ(text, "");
    // Held for reading only: nothing is written.
    EXPECT_FALSE(reg.WriteString("footer", "&u&b&d"));

    ASSERT_TRUE(reg.Open(RegHive::CurrentUser, "Software/NOX/PageSetup", false));
    // 523 characters are stored, 512 come back through the enumeration.
    EXPECT_TRUE(reg.WriteString("footer", std::string(600, 'x')));
    EXPECT_NE(ReadFile(dir / "user.ini").find("footer=" + std::string(523, 'x') + "\n"),
              std::string::npos);
    EXPECT_TRUE(reg.ReadString("footer", text));
    EXPECT_EQ(text.size(), 512u);
    EXPECT_TRUE(reg.WriteString("umlaut", std::string(522, 'x') + "ä"));
    EXPECT_NE(ReadFile(dir / "user.ini").find("umlaut=" + std::string(522, 'x') + "\n"),
              std::string::npos);

    std::string name;
    std::string data;
    std::vector<std::string> names;
    for (std::size_t i = 0; reg.EnumValue(i, name, data); ++i) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"footer", "umlaut", "header"}));

    // A binary value must fit the buffer whole; the buffer is zeroed in any case.
    ASSERT_TRUE(reg.WriteBinary("margins", "\x01\x02\x03\x04", 4));
    unsigned char buffer[3] = {9, 9, 9};
    EXPECT_FALSE(reg.ReadBinary("margins", buffer, 3));
    EXPECT_EQ(buffer[0], 0);
    EXPECT_FALSE(reg.ReadBinary("header", buffer, 3));

    reg.Close();
    EXPECT_FALSE(reg.ReadString("footer", text));
    EXPECT_FALSE(reg.WriteBinary("margins", "", 0));

    // A registry that cannot be written cannot create keys either.
    std::filesystem::create_directories(dir / "ro");
    std::filesystem::permissions(
        dir / "ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    CRegistryFiles readOnly("", dir / "ro/user.ini");
    CRegistry ro(readOnly);
    if (::geteuid() != 0) {
        EXPECT_FALSE(ro.Open(RegHive::LocalMachine, "Software\\NOX\\X", true));
    }
}
