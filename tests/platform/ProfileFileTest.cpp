#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include "platform/TestFiles.h"

namespace {

struct ProfileCase {
    const char* name;
    const char* section;
    const char* key;
    // nullptr: the key counts as missing and the default comes back.
    const char* expected;
};

const char kNoxIni[]
    = "\xEF\xBB\xBF; NOX.INI as an editor on Windows saves it\r\n"
      "[Setup]\r\n"
      "App = Almanach 2004 \r\n"
      "\r\n"
      "[ paths ]\r\n"
      "UI=UI\\\r\n"
      "ui=second\r\n"
      "MDB =\r\n"
      "Quoted=\"  Daten  \"\r\n"
      "Half=\"open\r\n"
      "Equals=a=b\r\n"
      ";Cursor=commented\r\n"
      "no value line\r\n"
      "[ToolTip]\r\n"
      "Font=MS Sans Serif\r\n"
      "[Errors]\r\n"
      "Install=Zeile 1<BR>Zeile 2 mit Umlaut: ä\r\n";

class ProfileFileTable : public testing::TestWithParam<ProfileCase> {};

}  // namespace

TEST_P(ProfileFileTable, ReadsAsWindowsDoes) {
    CTempDir dir;
    WriteFile(dir / "NOX.INI", kNoxIni);
    const ProfileCase& c = GetParam();
    std::optional<std::string> value = ReadProfileValue(dir / "NOX.INI", c.section, c.key);
    if (c.expected) {
        ASSERT_TRUE(value);
        EXPECT_EQ(*value, c.expected);
    } else {
        EXPECT_FALSE(value);
    }
    EXPECT_EQ(ReadProfileString(dir / "NOX.INI", c.section, c.key, "DEFAULT", 256),
              c.expected ? c.expected : "DEFAULT");
}

INSTANTIATE_TEST_SUITE_P(
    ProfileFile, ProfileFileTable,
    testing::Values(ProfileCase{"trimmed", "Setup", "App", "Almanach 2004"},
                    ProfileCase{"case_and_blanks_in_section", "PATHS", "ui", "UI\\"},
                    ProfileCase{"empty_is_not_missing", "Paths", "MDB", ""},
                    ProfileCase{"quotes_removed", "Paths", "Quoted", "  Daten  "},
                    ProfileCase{"lone_quote_kept", "Paths", "Half", "\"open"},
                    ProfileCase{"first_equals_splits", "Paths", "Equals", "a=b"},
                    ProfileCase{"comment_is_no_key", "Paths", "Cursor", nullptr},
                    ProfileCase{"key_of_other_section", "Setup", "UI", nullptr},
                    ProfileCase{"missing_section", "Nowhere", "App", nullptr},
                    ProfileCase{"utf8_text", "Errors", "Install",
                                "Zeile 1<BR>Zeile 2 mit Umlaut: ä"}),
    [](const testing::TestParamInfo<ProfileCase>& info) { return info.param.name; });

TEST(ProfileFile, MissingFilesBuffersAndGarbage) {
    CTempDir dir;
    EXPECT_EQ(ReadProfileString(dir / "none.ini", "Setup", "App", "Vorgabe  ", 256), "Vorgabe");
    EXPECT_EQ(ReadProfileString(dir / "none.ini", "Setup", "App", "x", 0), "");

    // At most size - 1 characters, counting an umlaut as one and never cutting it in two.
    WriteFile(dir / "long.ini", "[S]\nK=" + std::string(300, 'a') + "\nU=ääää\n");
    EXPECT_EQ(ReadProfileString(dir / "long.ini", "S", "K", "", 256), std::string(255, 'a'));
    EXPECT_EQ(ReadProfileString(dir / "long.ini", "S", "U", "", 3), "ää");

    // A binary file is no settings file, and reading it is harmless.
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
    WriteFile(dir / "garbled.ini", garbage);
    EXPECT_EQ(ReadProfileString(dir / "garbled.ini", "Paths", "UI", "d", 256), "d");
    std::filesystem::create_directory(dir / "dir.ini");
    EXPECT_EQ(ReadProfileString(dir / "dir.ini", "Paths", "UI", "d", 256), "d");
}
