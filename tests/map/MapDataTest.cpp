#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "data/Database.h"
#include "fixtures/FixtureAlmanac.h"
#include "map/MapData.h"
#include "table/YearLogic.h"

namespace {

using namespace fixture;

// MapIDs of the fixture's countries.
constexpr int kMapDeutschland = 10, kMapOesterreich = 11, kMapAegypten = 12, kMapDaenemark = 13,
              kMapSchweiz = 14;

class MapData : public ::testing::Test {
protected:
    void SetUp() override {
        dir = MakeTestDirectory("map_data");
        const std::string path = CreateFixtureAlmanac(dir);
        {
            CDatabase w;
            w.Open(path, false, false, kAlmanacConnect);
            // Dänemark's newest BIP record up to 2002 has no number; an older one has.
            w.Execute("INSERT INTO Data VALUES (208, 201, 2000, 300000, NULL, 'x')");
            w.Execute("INSERT INTO Data VALUES (208, 201, 2002, NULL, NULL, 'x')");
            // A mappable field without any value.
            w.Execute("INSERT INTO Val VALUES (105, 100, 'Leer', 'Leeres Feld', 'Leer', 3, 'x')");
            w.Execute("INSERT INTO ValJahre VALUES (105, '')");
        }
        db.Open(path, false, true, kAlmanacConnect);
        std::ofstream(dir + "/colors.ini")
            << "[1]\r\nbackcolor=B4C8DC\r\nnodata=d6d2c8\r\ncountries=";
        std::ofstream ini(dir + "/colors.ini", std::ios::app);
        for (int i = 0; i < kMapClassCount; ++i) ini << (i ? "," : "") << "0000" << (i < 16 ? "0" : "") << std::hex << i;
        ini << "\r\ntext=FFFFFF\r\n[3]\r\nnodata=101010\r\n";
    }

    std::string dir;
    CDatabase db;
};

}  // namespace

TEST(MapColors, HexPairsWithNonDigitsAsZero) {
    EXPECT_EQ(ParseMapColor("7F85b4"), 0x7F85B4u);
    EXPECT_EQ(ParseMapColor("zz10"), 0x001000u);
    EXPECT_EQ(ParseMapColor(""), 0u);
}

TEST_F(MapData, NewestRecordUpToTheYearDecides) {
    CMapValues v;
    ASSERT_TRUE(ReadMapValues(db, kBip, 2002, 2017, v));
    EXPECT_EQ(v.value[kMapDeutschland], 1994000.0);
    EXPECT_EQ(v.valueYear[kMapDeutschland], 2002);
    EXPECT_EQ(v.value[kMapAegypten], 99800.0);
    EXPECT_EQ(v.valueYear[kMapAegypten], 2000);
    // A NULL in the newest record: no value, whatever the older one says.
    EXPECT_EQ(v.hasValue[kMapDaenemark], 0);
    EXPECT_EQ(v.hasValue[kMapSchweiz], 0);
    EXPECT_EQ(v.valueYear[kMapSchweiz], 2017);
    EXPECT_EQ(v.collected.size(), 3u);
    EXPECT_EQ(v.min, 99800.0);
    EXPECT_EQ(v.max, 1994000.0);

    // No record up to the year: Dänemark's Einwohner start in 2002.
    ASSERT_TRUE(ReadMapValues(db, kEinwohner, 2000, 2017, v));
    EXPECT_EQ(v.hasValue[kMapDaenemark], 0);
    EXPECT_EQ(v.value[kMapDeutschland], 82260000.0);
}

TEST_F(MapData, DisplayTakesTheLatestYearAndBuildsTheColourBlock) {
    const CMapDisplay d = ComputeMapDisplay(db, dir + "/", kEinwohner, 2017, 2017);
    EXPECT_EQ(d.year, 2002);
    EXPECT_EQ(d.title, "Einwohner");
    EXPECT_EQ(d.longName, "Einwohner (Jahresmitte)");
    EXPECT_EQ(d.scheme, 1u);
    EXPECT_EQ(d.block[kNoMapId], 0xB4C8DCu);
    EXPECT_EQ(d.block[kMapSchweiz], 0xD6D2C8u);
    EXPECT_EQ(d.block[0], 0xD6D2C8u);
    const int c = ClassOf(d.values.classes, 82440000.0);
    EXPECT_EQ(d.block[kMapDeutschland], MapColor(c));
    EXPECT_EQ(d.colors.countryStrings[c].size(), 6u);
    // An earlier year stays.
    EXPECT_EQ(ComputeMapDisplay(db, dir + "/", kEinwohner, 2000, 2017).year, 2000);
}

TEST_F(MapData, FieldWithoutValuesShowsNodataEverywhere) {
    const CMapDisplay d = ComputeMapDisplay(db, dir + "/", 105, 2017, 2017);
    EXPECT_TRUE(d.values.classes.empty);
    for (int id = 0; id < kNoMapId; ++id) EXPECT_EQ(d.block[id], 0x101010u);
    EXPECT_EQ(LegendText(d.values.classes, 0), "(keine Angabe)");
    // A missing scheme section or file: black.
    const CMapDisplay none = ComputeMapDisplay(db, dir + "/nowhere/", kEinwohner, 2002, 2002);
    EXPECT_EQ(none.block[kMapDeutschland], 0u);
    EXPECT_EQ(none.block[kNoMapId], 0u);
}

TEST_F(MapData, StatusLineShowsValueClassAndYearColour) {
    const CMapDisplay d = ComputeMapDisplay(db, dir + "/", kBip, 2002, 2017);
    CMapStatus s = ComputeMapStatus(db, d, kMapDeutschland);
    EXPECT_EQ(s.country, "Deutschland");
    EXPECT_EQ(s.value, "1.994.000");
    EXPECT_EQ(s.year, "(2002)");
    EXPECT_EQ(s.yearColor, kYearCurrentColor);
    const int c = ClassOf(d.values.classes, 1994000.0);
    EXPECT_EQ(s.valueBack, d.colors.countryStrings[c]);
    EXPECT_EQ(s.valueText, d.colors.textStrings[c]);
    // An older value: its year in red.
    s = ComputeMapStatus(db, d, kMapAegypten);
    EXPECT_EQ(s.year, "(2000)");
    EXPECT_EQ(s.yearColor, "9C1919");
    s = ComputeMapStatus(db, d, kMapDaenemark);
    EXPECT_EQ(s.country, "Dänemark");
    EXPECT_EQ(s.value, "(keine Angabe)");
    EXPECT_EQ(s.valueBack, "7F85B4");
    EXPECT_EQ(s.valueText, "D9D9FA");
    EXPECT_EQ(s.year, "");
    s = ComputeMapStatus(db, d, kNoMapId);
    EXPECT_EQ(s.country, "");
    EXPECT_EQ(s.value, "");
    EXPECT_EQ(s.valueBack, "7F85B4");
}

TEST_F(MapData, FieldMenuGroupsAndCountryList) {
    CMapFieldMenu menu;
    ASSERT_TRUE(ReadMapFieldMenu(db, menu));
    ASSERT_EQ(menu.groups.size(), 2u);
    EXPECT_EQ(menu.groups[0].title, "Bevölkerung");
    EXPECT_EQ(menu.groups[1].title, "Wirtschaft");
    ASSERT_EQ(menu.ids.size(), 5u);  // 101, 102, 105, 201, 203
    EXPECT_EQ(menu.ids[menu.groups[1].items[0]], kBip);
    EXPECT_EQ(menu.titles[menu.groups[1].items[1]], "Inflationsrate");

    const std::vector<CMapCountry> countries = ReadMapCountries(db);
    ASSERT_EQ(countries.size(), 5u);
    EXPECT_EQ(countries.front().title, "Ägypten");
    EXPECT_EQ(countries.front().mapId, kMapAegypten);
}

TEST(MapFieldMenu, MoreThanThirtyTwoGroups) {
    const std::string dir = MakeTestDirectory("map_menu");
    const std::string path = CreateFixtureAlmanac(dir);
    {
        CDatabase w;
        w.Open(path, false, false, kAlmanacConnect);
        for (int g = 0; g < 40; ++g) {
            const int id = 1000 + g * 10;
            w.Execute("INSERT INTO Val VALUES (" + std::to_string(id) + ", 0, 'G" + std::to_string(g)
                      + "', '', '', NULL, '')");
            w.Execute("INSERT INTO Val VALUES (" + std::to_string(id + 1) + ", "
                      + std::to_string(id) + ", 'F', '', '', 1, '')");
        }
    }
    CDatabase db;
    db.Open(path, false, true, kAlmanacConnect);
    CMapFieldMenu menu;
    ASSERT_TRUE(ReadMapFieldMenu(db, menu));
    ASSERT_EQ(menu.groups.size(), 42u);
    EXPECT_EQ(menu.groups.back().title, "G39");
    EXPECT_EQ(menu.ids.back(), 1391);
}

TEST_F(MapData, EditionYearStandsInWhereNoYearIsKnown) {
    // A single-year list has no latest year of its own.
    SetReferenceYear(2017);
    EXPECT_EQ(GetLatestYear(&db, kInflation), 2017u);
    EXPECT_EQ(ComputeMapDisplay(db, dir + "/", kInflation, 2017, 2017).year, 2017);
    SetReferenceYear(0);
    EXPECT_EQ(ReferenceYear(), 2002u);
    EXPECT_EQ(GetLatestYear(&db, kInflation), 2002u);
}
