#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <vector>

#include "data/ValueRoutines.h"

TEST(ValueRoutines, FormatNumberGermanForm) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {1234567.5, "1.234.567,5"},
        {1000, "1.000"},
        {-0.25, "-0,25"},
        {12.0, "12"},
        {0, "0"},
        {999, "999"},
        {-1000000, "-1.000.000"},
        {0.000001, "0,000001"},
        {0.0000001, "0"},
        {123456.125, "123.456,125"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatNumber(c.value), c.text) << c.value;
}

TEST(ValueRoutines, ToTextByKind) {
    EXPECT_EQ(ToText(CVariant()), "");
    EXPECT_EQ(ToText(CVariant::Null()), "");
    EXPECT_EQ(ToText(CVariant::FromShort(-7)), "-7");
    EXPECT_EQ(ToText(CVariant::FromLong(276)), "276");
    EXPECT_EQ(ToText(CVariant::FromByte(200)), "200");
    EXPECT_EQ(ToText(CVariant::FromDouble(2.5)), "2.500000");
    EXPECT_EQ(ToText(CVariant::FromText("Öl")), "Öl");
    EXPECT_EQ(ToText(CVariant::FromBool(true)), "True");
    EXPECT_EQ(ToText(CVariant::FromCurrency(125000)), "12.5");
    EXPECT_EQ(ToText(CVariant::FromDate(2.0)), "01 01 00");
    EXPECT_EQ(ToText(CVariant::OfKind(VT_ERROR)), "VT_ERROR");
    EXPECT_EQ(ToText(CVariant::OfKind(VT_ARRAY | VT_I4)), "Array of VT_I4");
    EXPECT_EQ(ToText(CVariant::OfKind(VT_BYREF | VT_DISPATCH)), "Pointer to VT_DISPATCH");
}

TEST(ValueRoutines, ToNumberOnlyForNumericKinds) {
    double n = 99;
    EXPECT_TRUE(ToNumber(CVariant::FromBool(true), n));
    EXPECT_EQ(n, -1);
    EXPECT_TRUE(ToNumber(CVariant::FromULong(4000000000u), n));
    EXPECT_EQ(n, 4000000000.0);
    EXPECT_FALSE(ToNumber(CVariant::FromText("5"), n));
    EXPECT_EQ(n, 0);
    EXPECT_FALSE(ToNumber(CVariant::Null(), n));
    EXPECT_FALSE(ToNumber(CVariant::FromCurrency(10000), n));
}

TEST(ValueRoutines, SortKeyFoldsUmlautsAndCase) {
    EXPECT_EQ(SortKey("Öl"), "OL");
    EXPECT_EQ(SortKey("Straße"), "STRASSE");
    EXPECT_EQ(SortKey("ägypten"), "AGYPTEN");
    EXPECT_EQ(SortKey("élan"), "ÉLAN");
    EXPECT_EQ(SortKey("łódź"), "ŁÓDŹ");

    std::vector<std::string> titles = {"Ozean", "Öl", "Oase"};
    std::sort(titles.begin(), titles.end(),
              [](const std::string& a, const std::string& b) { return SortKey(a) < SortKey(b); });
    EXPECT_EQ(titles, (std::vector<std::string>{"Oase", "Öl", "Ozean"}));
}

TEST(ValueRoutines, CompareValues) {
    int r = 7;
    EXPECT_FALSE(CompareValues(CVariant::FromLong(5), CVariant::FromText("5"), r));
    EXPECT_FALSE(CompareValues(CVariant(), CVariant::FromDouble(1), r));
    ASSERT_TRUE(CompareValues(CVariant::FromShort(5), CVariant::FromDouble(5.0), r));
    EXPECT_EQ(r, 0);
    ASSERT_TRUE(CompareValues(CVariant::FromDouble(-2), CVariant::FromLong(1), r));
    EXPECT_EQ(r, -1);
    ASSERT_TRUE(CompareValues(CVariant::FromText("öl"), CVariant::FromText("Ozean"), r));
    EXPECT_EQ(r, -1);
    ASSERT_TRUE(CompareValues(CVariant::FromText("Ol"), CVariant::FromText("öl"), r));
    EXPECT_EQ(r, 0);
    ASSERT_TRUE(CompareValues(CVariant(), CVariant::FromText("a"), r));
    EXPECT_EQ(r, -1);
}

// A Qt program runs in the user's numeric locale; German writes a comma where C writes a
// point. Neither the value routines nor FindFirst's numbers may depend on it.
TEST(ValueRoutines, IndependentOfTheNumericLocale) {
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale installed";
    std::string formatted = FormatNumber(1234567.5);
    std::string text = ToText(CVariant::FromDouble(2.5));
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(formatted, "1.234.567,5");
    EXPECT_EQ(text, "2.500000");
}
