// Workspace files, profile names, the profile menu's contents and the profile files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "data/ErrorReporter.h"
#include "mainwnd/IdArrayFile.h"
#include "mainwnd/Profiles.h"
#include "mainwnd/Workspace.h"
#include "platform/TestFiles.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

void Touch(const std::string& path) { WriteFile(path, "\x01\x00\x07\x00\x00\x00"); }

std::vector<std::string> Names(const std::vector<CProfileMenuEntry>& entries) {
    std::vector<std::string> names;
    for (const CProfileMenuEntry& e : entries) names.push_back(e.name);
    return names;
}

}  // namespace

// The file of a table with 3 countries and 2 data fields is 36 bytes, field by field.
TEST(WorkspaceFile, LayoutOfThreeCountriesAndTwoFields) {
    CWorkspaceFile ws;
    ws.tableKind = 2;
    ws.allCountries = 1;
    ws.countryIds = {276, 40, 818};
    ws.dataIds = {101, 0x01020304};
    const std::vector<std::uint8_t> bytes = EncodeWorkspace(ws);
    const std::vector<std::uint8_t> expected
        = {6,   'Z', 'Y', 'B', '1', '0', '0',                          // version text
           2,                                                          // tableKind
           1,   0,   0,   0,                                           // allCountries
           3,   0,                                                     // countries
           20,  1,   0,   0,   40,  0,   0,   0, 0x32, 3, 0, 0, 2, 0,  // data fields
           101, 0,   0,   0,   4,   3,   2,   1};
    EXPECT_EQ(bytes.size(), 36u);
    EXPECT_EQ(bytes, expected);

    CTempDir dir;
    const std::string path = WorkspaceFilePath(dir.Path(), 3);
    EXPECT_EQ(path, dir / "03.zyb");
    ASSERT_TRUE(WriteWorkspaceFile(path, ws));
    CWorkspaceFile read;
    ASSERT_EQ(ReadWorkspaceFile(path, read), WorkspaceRead::Ok);
    EXPECT_EQ(read.tableKind, 2);
    EXPECT_EQ(read.allCountries, 1u);
    EXPECT_EQ(read.countryIds, ws.countryIds);
    EXPECT_EQ(read.dataIds, ws.dataIds);

    // Saving the same workspace again leaves the file as it is (a replacement would be a new
    // file); a changed workspace replaces it.
    const auto inode = [&] {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    const ino_t first = inode();
    ASSERT_TRUE(WriteWorkspaceFile(path, ws));
    EXPECT_EQ(inode(), first);
    ws.dataIds.push_back(205);
    ASSERT_TRUE(WriteWorkspaceFile(path, ws));
    EXPECT_NE(inode(), first);
    ASSERT_EQ(ReadWorkspaceFile(path, read), WorkspaceRead::Ok);
    EXPECT_EQ(read.dataIds, ws.dataIds);
}

// What each kind of unusable file reads as, and that a damaged file leaves the record as it
// was: the workspace in use must not take over part of a broken file.
TEST(WorkspaceFile, UnusableFiles) {
    CWorkspaceFile good;
    good.countryIds = {276};
    good.dataIds = {101};
    const std::vector<std::uint8_t> valid = EncodeWorkspace(good);

    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        WorkspaceRead expected;
    };
    std::vector<Case> cases = {
        {"empty file", {}, WorkspaceRead::Damaged},
        {"version cut short", Bytes("\x06ZYB"), WorkspaceRead::Damaged},
        {"older version", Bytes("\x06ZYB090\x01"), WorkspaceRead::WrongVersion},
        {"lower case", Bytes("\x06zyb100"), WorkspaceRead::WrongVersion},
        {"longer version", Bytes("\x07ZYB1000"), WorkspaceRead::WrongVersion},
        {"huge version length", Bytes("\xFF\xFF\xFF\xFF\xFF\xFF\x7F"), WorkspaceRead::Damaged},
        {"no kind", Bytes("\x06ZYB100"), WorkspaceRead::Damaged},
        {"valid, cut before the fields", {valid.begin(), valid.end() - 6}, WorkspaceRead::Damaged},
        {"valid, last ID cut", {valid.begin(), valid.end() - 1}, WorkspaceRead::Damaged},
        {"valid", valid, WorkspaceRead::Ok},
    };
    // Counts far beyond the file: 65535 countries, and the long form claiming 4 billion.
    std::vector<std::uint8_t> big = Bytes("\x06ZYB100\x01");
    big.insert(big.end(), {0, 0, 0, 0, 0xFE, 0xFF, 1, 0, 0, 0});
    cases.push_back({"count 65534", big, WorkspaceRead::Damaged});
    std::vector<std::uint8_t> huge = Bytes("\x06ZYB100\x01");
    huge.insert(huge.end(), {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0});
    cases.push_back({"count 4 billion", huge, WorkspaceRead::Damaged});
    // Valid files with an empty list.
    CWorkspaceFile noCountries = good;
    noCountries.countryIds.clear();
    cases.push_back({"no countries", EncodeWorkspace(noCountries), WorkspaceRead::Empty});
    CWorkspaceFile noFields = good;
    noFields.dataIds.clear();
    cases.push_back({"no data fields", EncodeWorkspace(noFields), WorkspaceRead::Empty});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CWorkspaceFile read;
        read.tableKind = 9;
        read.countryIds = {1, 2};
        EXPECT_EQ(DecodeWorkspace(c.bytes, read), c.expected);
        if (c.expected == WorkspaceRead::Damaged) {
            EXPECT_EQ(read.tableKind, 9);
            EXPECT_EQ(read.countryIds, (IdList{1, 2}));
        }
        if (c.expected == WorkspaceRead::WrongVersion) {
            EXPECT_EQ(read.tableKind, 9);
        }
    }

    CTempDir dir;
    CWorkspaceFile read;
    EXPECT_EQ(ReadWorkspaceFile(dir / "01.zyb", read), WorkspaceRead::Missing);
    std::filesystem::create_directory(dir / "02.zyb");
    EXPECT_EQ(ReadWorkspaceFile(dir / "02.zyb", read), WorkspaceRead::Damaged);
}

TEST(WorkspaceFile, ButtonStates) {
    CTempDir dir;
    Touch(dir / "02.zyb");
    Touch(dir / "05.zyb");
    std::vector<int> states;
    for (unsigned n = kFirstWorkspace; n <= kLastWorkspace; ++n)
        states.push_back(WorkspaceButtonState(dir.Path(), n, 5));
    EXPECT_EQ(states, (std::vector<int>{1, 2, 1, 1, 3}));
}

TEST(Profiles, NamesThatStayInTheUserFolder) {
    for (const char* good : {"EU", "Länder Europas", "a.b", "G7 (2004)", "x..y", "Ende."})
        EXPECT_TRUE(IsValidProfileName(good)) << good;
    for (const char* bad :
         {"", ".", "..", ".versteckt", "../etc/passwd", "a/b", "a\\b", "/abs", "..\\..\\x"})
        EXPECT_FALSE(IsValidProfileName(bad)) << bad;
    EXPECT_FALSE(IsValidProfileName(std::string("a\0b", 3)));
}

// The menu of an installation with presets: sub-folders with profiles become submenus,
// empty and hidden ones do not; preset files need only contain the extension; the user's
// own profiles follow and are named without extension. Menu ids count across all three.
TEST(Profiles, MenuWithPresets) {
    CTempDir dir;
    const std::string presets = dir / "Profile/";
    const std::string user = dir / "user/";
    Touch(presets + "clt/EU-Staaten.clt");
    Touch(presets + "clt/G7.CLT");
    Touch(presets + "clt/Alt.clt.bak");
    Touch(presets + "clt/Liste.vlt");
    Touch(presets + "clt/Kontinente/Europa.clt");
    Touch(presets + "clt/Kontinente/Afrika.clt");
    Touch(presets + "clt/Kontinente/notiz.txt");
    Touch(presets + "clt/Leer/notiz.txt");
    Touch(presets + "clt/.git/x.clt");
    Touch(presets + "clt/Ältere/Österreich.clt");
    Touch(user + "Meine.clt");
    Touch(user + "Ähnliche.clt");
    Touch(user + "Felder.vlt");
    Touch(user + "01.zyb");
    Touch(user + ".hidden.clt");
    std::filesystem::create_directories(user + "Ordner.clt");

    const CProfileMenuModel model = BuildProfileMenu(presets, user, "clt");
    ASSERT_EQ(model.submenus.size(), 2u);
    EXPECT_EQ(model.submenus[0].name, "Ältere");
    EXPECT_EQ(model.submenus[1].name, "Kontinente");
    EXPECT_EQ(Names(model.submenus[1].entries), (std::vector<std::string>{"Afrika", "Europa"}));
    EXPECT_EQ(Names(model.presets), (std::vector<std::string>{"Alt", "EU-Staaten", "G7"}));
    EXPECT_EQ(Names(model.user), (std::vector<std::string>{"Ähnliche", "Meine"}));
    EXPECT_TRUE(model.HasPresets());

    EXPECT_EQ(model.Entry(0), nullptr);
    EXPECT_EQ(model.Entry(1)->path, presets + "clt/Ältere/Österreich.clt");
    EXPECT_EQ(model.Entry(3)->path, presets + "clt/Kontinente/Europa.clt");
    EXPECT_EQ(model.Entry(5)->path, presets + "clt/EU-Staaten.clt");
    EXPECT_EQ(model.Entry(7)->path, user + "Ähnliche.clt");
    EXPECT_EQ(model.Entry(8)->path, user + "Meine.clt");
    EXPECT_EQ(model.Entry(9), nullptr);

    // No preset folder for the kind (or none configured): only the user's own.
    for (const std::string& p : {presets, std::string()}) {
        const CProfileMenuModel vlt = BuildProfileMenu(p, user, "vlt");
        EXPECT_FALSE(vlt.HasPresets());
        EXPECT_EQ(Names(vlt.user), (std::vector<std::string>{"Felder"}));
        EXPECT_EQ(vlt.Entry(1)->path, user + "Felder.vlt");
    }
    EXPECT_EQ(ListProfiles(user, "clt"), (std::vector<std::string>{"Ähnliche", "Meine"}));
}

// Profile files: deleting refuses names that leave the folder; loading a damaged file keeps
// the caller's list and reports with the loader's context.
TEST(Profiles, FilesAndTheirFailures) {
    CTempDir dir;
    const std::string user = dir / "user/";
    std::filesystem::create_directories(user);
    Touch(dir / "outside.clt");
    EXPECT_FALSE(DeleteProfileFile(user, "../outside", "clt"));
    EXPECT_TRUE(std::filesystem::exists(dir / "outside.clt"));

    ASSERT_TRUE(NOXUtils::SaveCObject({276, 40}, ProfileFilePath(user, "EU", "clt")));
    IdList ids{1};
    ASSERT_TRUE(NOXUtils::LoadCObject(ids, user + "EU.clt"));
    EXPECT_EQ(ids, (IdList{276, 40}));
    EXPECT_TRUE(DeleteProfileFile(user, "EU", "clt"));
    EXPECT_FALSE(DeleteProfileFile(user, "EU", "clt"));

    ResetDBErrors();
    WriteFile(user + "kaputt.clt", std::string("\xFF\xFF\x00\x00\x00\x10\x01", 7));
    ids = {7};
    EXPECT_FALSE(NOXUtils::LoadCObject(ids, user + "kaputt.clt"));
    EXPECT_EQ(ids, (IdList{7}));
    EXPECT_EQ(LastDBError().context, "NOXUtils::LoadCObject");
    EXPECT_FALSE(NOXUtils::SaveCObject({1}, dir / "no/such/folder/x.clt"));
    EXPECT_EQ(LastDBError().context, "NOXUtils::SaveCObject");
    EXPECT_EQ(LastDBError().count, 2u);
}
