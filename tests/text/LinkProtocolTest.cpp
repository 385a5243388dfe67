// What a clicked link means: web addresses, the picture targets and the S-targets, and the
// link-clicked record that carries URL and target.
#include "text/LinkProtocol.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const std::string kFolder = "/opt/kompendor/HTML/";

CLinkAction Read(const std::string& url, const std::string& target, const std::string& local = "") {
    return ReadLink(url, target, local, kFolder);
}

bool ValidUtf8(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p;) {
        int length = *p < 0x80 ? 1 : (*p & 0xE0) == 0xC0 ? 2 : (*p & 0xF0) == 0xE0 ? 3 : 4;
        for (int k = 1; k < length; ++k)
            if ((p[k] & 0xC0) != 0x80) return false;
        p += length;
    }
    return true;
}

}  // namespace

TEST(LinkProtocol, OnlyWebAddressesGoToTheDesktop) {
    for (const char* url :
         {"http://www.example.org/", "HTTP://WWW.EXAMPLE.ORG/", "https://example.org/a?b",
          "Ftp://ftp.example.org/", "mailto:info@example.org", "MAILTO:info@example.org"})
        EXPECT_EQ(Read(url, "").kind, LinkKind::Web) << url;
    // Addresses from article text with any other scheme are never handed on, whatever
    // their target.
    for (const char* url : {"file:///etc/passwd", "javascript:alert(1)", "data:text/html,x",
                            "httpx://example.org", " http://example.org"}) {
        EXPECT_EQ(Read(url, "").kind, LinkKind::Ignore) << url;
        EXPECT_NE(Read(url, "_blank").kind, LinkKind::Web) << url;
    }
}

TEST(LinkProtocol, TargetsAndTheirArguments) {
    struct Case {
        std::string target;
        std::string local;
        LinkKind kind;
        std::int32_t number;
        std::string folder;
        std::string identifier;
    };
    const Case cases[] = {
        {"Map", kFolder + "276", LinkKind::Map, 276, "", ""},
        {"MAP", kFolder + "0", LinkKind::Map, 0, "", ""},
        {"Flag", kFolder + "40", LinkKind::Flag, 40, "", ""},
        {"flagge", kFolder + "40", LinkKind::Flag, 40, "", ""},
        {"Portrait", kFolder + "1003", LinkKind::Picture, 1003, "Portraits", ""},
        {"table", kFolder + "1005", LinkKind::Picture, 1005, "Tables", ""},
        {"Graphic", kFolder + "1004", LinkKind::Picture, 1004, "Graph", ""},
        // Leading digits only; none at all gives 0.
        {"Map", kFolder + "276abc", LinkKind::Map, 276, "", ""},
        {"Map", kFolder + "abc", LinkKind::Map, 0, "", ""},
        // A path outside the HTML folder gives its file name.
        {"Flag", "/somewhere/else/818", LinkKind::Flag, 818, "", ""},
        // "SGRAPHIC" and "STABLE" are not "GRAPHIC" and "TABLE".
        {"SGRAPHIC", kFolder + "pyramide.gif", LinkKind::PictureFile, 0, "", "pyramide.gif"},
        {"stable", kFolder + "Tab 1.gif", LinkKind::PictureFile, 0, "", "Tab 1.gif"},
        {"STEXT", kFolder + "geschichte", LinkKind::Text, 0, "", "geschichte"},
        {"", kFolder + "276", LinkKind::Ignore, 0, "", ""},
        {"_blank", kFolder + "276", LinkKind::Ignore, 0, "", ""},
        {"XMAP", kFolder + "276", LinkKind::Ignore, 0, "", ""},
    };
    for (const Case& c : cases) {
        const CLinkAction action = Read("file://" + c.local, c.target, c.local);
        EXPECT_EQ(action.kind, c.kind) << c.target;
        EXPECT_EQ(action.number, c.number) << c.target;
        EXPECT_EQ(action.folder, c.folder) << c.target;
        EXPECT_EQ(action.identifier, c.identifier) << c.target;
    }
    EXPECT_EQ(LeadingNumber("99999999999"), INT32_MAX);
}

TEST(LinkProtocol, RecordCutsOnWholeCharacters) {
    // Short texts stay whole.
    CLinkRecord record = MakeLinkRecord("http://a/", "Map");
    EXPECT_STREQ(record.url, "http://a/");
    EXPECT_STREQ(record.target, "Map");

    // 300 bytes of two-byte letters: the URL field takes 254 of its 255, the target field of
    // three-byte characters 126 of its 127.
    std::string umlauts;
    while (umlauts.size() < 300) umlauts += "ä";
    std::string euros;
    while (euros.size() < 200) euros += "€";
    record = MakeLinkRecord(umlauts, euros);
    EXPECT_EQ(std::strlen(record.url), 254u);
    EXPECT_TRUE(ValidUtf8(record.url));
    EXPECT_EQ(std::strlen(record.target), 126u);
    EXPECT_TRUE(ValidUtf8(record.target));

    // ASCII fills the fields exactly.
    record = MakeLinkRecord(std::string(300, 'a'), std::string(200, 'b'));
    EXPECT_EQ(std::strlen(record.url), 255u);
    EXPECT_EQ(std::strlen(record.target), 127u);
    EXPECT_EQ(CutUtf8("aä", 2), "a");
    EXPECT_EQ(CutUtf8("aä", 3), "aä");
}
