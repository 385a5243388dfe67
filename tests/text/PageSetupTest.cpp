// The page setup of printing: header and footer codes, and the user's header and footer in
// the registry around a print.
#include "text/PageSetup.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/RegistryFiles.h"
#include "platform/TestFiles.h"

namespace {

std::string Value(const IRegistryStore& store, const std::string& name) {
    const auto values = store.ReadKey(kPageSetupKey);
    if (!values) return "(no key)";
    for (const RegistryValue& v : *values)
        if (v.name == name) return v.data;
    return "(none)";
}

// A registry whose writes of one value (or of every value: "") fail.
class CFailingStore : public IRegistryStore {
public:
    CFailingStore(IRegistryStore& inner, std::string failing)
        : m_inner(inner), m_failing(std::move(failing)) {}
    std::optional<std::vector<RegistryValue>> ReadKey(const std::string& path) const override {
        return m_inner.ReadKey(path);
    }
    bool CreateKey(const std::string& path) override { return m_inner.CreateKey(path); }
    bool WriteValue(const std::string& path, const RegistryValue& value) override {
        if (m_failing.empty() || value.name == m_failing) return false;
        return m_inner.WriteValue(path, value);
    }

private:
    IRegistryStore& m_inner;
    std::string m_failing;
};

}  // namespace

TEST(PageSetup, CodesOfHeaderAndFooter) {
    CPageFields fields;
    fields.title = "Länderinfo";
    fields.address = "file:///opt/HTML/print.htm";
    fields.date = "09.12.2004";
    fields.page = 2;
    fields.pages = 5;
    CPageLine line = ExpandPageCodes(kDefaultPrintHeader, fields);
    EXPECT_EQ(line.left, "Länderinfo");
    EXPECT_EQ(line.center, "");
    EXPECT_EQ(line.right, " 2 / 5");
    line = ExpandPageCodes(kDefaultPrintFooter, fields);
    EXPECT_EQ(line.left, "file:///opt/HTML/print.htm");
    EXPECT_EQ(line.right, "09.12.2004");
    // Three parts; "&&" is an ampersand and starts no code; unknown codes stay.
    line = ExpandPageCodes("a&bSeite &p&b&&b &x&", fields);
    EXPECT_EQ(line.left, "a");
    EXPECT_EQ(line.center, "Seite 2");
    EXPECT_EQ(line.right, "&b &x&");
    line = ExpandPageCodes("", fields);
    EXPECT_EQ(line.left + line.center + line.right, "");
}

TEST(PageSetup, UserHeaderAndFooterComeBack) {
    CTempDir dir;
    CRegistryFiles registry("", dir / "registry.ini");
    registry.WriteValue(kPageSetupKey, {"header", false, "Mein Kopf"});
    registry.WriteValue(kPageSetupKey, {"footer", false, "Mein Fuß"});
    registry.WriteValue(kPageSetupKey, {"margin_top", false, "1.5"});
    {
        CPageSetupScope scope(&registry, kDefaultPrintHeader, "Varnholt");
        EXPECT_TRUE(scope.Written());
        EXPECT_EQ(Value(registry, "header"), kDefaultPrintHeader);
        EXPECT_EQ(Value(registry, "footer"), "Varnholt");
        EXPECT_EQ(Value(registry, "margin_left"), "0.98425");
        EXPECT_EQ(scope.Setup().footer, "Varnholt");
        EXPECT_DOUBLE_EQ(scope.Setup().marginTop, 0.59055);
        EXPECT_DOUBLE_EQ(scope.Setup().marginLeft, 0.98425);
    }
    EXPECT_EQ(Value(registry, "header"), "Mein Kopf");
    EXPECT_EQ(Value(registry, "footer"), "Mein Fuß");
    // The margins stay at the printed values.
    EXPECT_EQ(Value(registry, "margin_top"), "0.59055");

    // A user without a page setup gets empty texts back.
    CRegistryFiles fresh("", dir / "fresh.ini");
    { CPageSetupScope scope(&fresh, "K", "F"); }
    EXPECT_EQ(Value(fresh, "header"), "");
    EXPECT_EQ(Value(fresh, "footer"), "");
}

TEST(PageSetup, FailingRegistry) {
    CTempDir dir;
    CRegistryFiles registry("", dir / "registry.ini");
    registry.WriteValue(kPageSetupKey, {"header", false, "Mein Kopf"});
    registry.WriteValue(kPageSetupKey, {"footer", false, "Mein Fuß"});

    // The header is written, the footer is not: the header still comes back.
    {
        CFailingStore store(registry, "footer");
        {
            CPageSetupScope scope(&store, "Druckkopf", "Druckfuß");
            EXPECT_TRUE(scope.Written());
            EXPECT_EQ(scope.Setup().header, "Druckkopf");
            // What the key holds is what the print uses.
            EXPECT_EQ(scope.Setup().footer, "Mein Fuß");
        }
    }
    EXPECT_EQ(Value(registry, "header"), "Mein Kopf");

    // Nothing can be written: the key stays and the print still has its lines and margins.
    CFailingStore readOnly(registry, "");
    {
        CPageSetupScope scope(&readOnly, "Druckkopf", "Druckfuß");
        EXPECT_FALSE(scope.Written());
        EXPECT_EQ(scope.Setup().header, "Mein Kopf");
    }
    CPageSetupScope none(nullptr, "Druckkopf", "Druckfuß");
    EXPECT_EQ(none.Setup().header, "Druckkopf");
    EXPECT_DOUBLE_EQ(none.Setup().marginBottom, 0.59055);
    EXPECT_EQ(Value(registry, "header"), "Mein Kopf");
}
