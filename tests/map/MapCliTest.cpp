// kompendor-cli map, run as a program against a fixture installation.

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "fixtures/FixtureAlmanac.h"
#include "platform/TestFiles.h"
#include "support/CliRunner.h"
#include "support/VmpFile.h"

using namespace fixture;

namespace {

class MapCli : public testing::Test {
protected:
    MapCli() {
        std::filesystem::create_directories(dir / "inst/Daten/Karte");
        CreateFixtureAlmanac(dir / "inst/Daten/");
        WriteFile(dir / "inst/NOX.INI",
                  "[Setup]\nJahr=2017\n[Paths]\nMDB=Daten/Kompendor.mdb\nMap=Daten/Karte/\n");
        std::string countries;
        for (int i = 0; i < 25; ++i) countries += (i ? "," : "") + std::string(i == 24 ? "C81E1E" : "EEEEEE");
        WriteFile(dir / "inst/Daten/Karte/colors.ini",
                  "[1]\nbackcolor=102030\nnodata=D6D2C8\ncountries=" + countries + "\n");
    }

    CliRun Map(std::vector<std::string> words) {
        words.insert(words.begin(), {"--base", dir / "inst", "map"});
        return RunKompendorCli(dir, words);
    }

    CTempDir dir;
};

}  // namespace

TEST_F(MapCli, PrintsYearClassesAndCountries) {
    // BIP runs to 2002: the year shown is 2002. Three values, range above 1000: the step
    // 75768 rounds to 76000, the minimum 99800 to 99000 and then to 0.
    CliRun run = Map({"201", "2017"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected = "year=2002\n0\t0\t76000\t< 76.000\n";
    for (int j = 1; j < 24; ++j) {
        const std::string lo = std::to_string(76 * j), hi = std::to_string(76 * (j + 1));
        auto german = [](const std::string& thousands) {
            std::string t = thousands;
            for (int i = int(t.size()) - 3; i > 0; i -= 3) t.insert(i, ".");
            return t + ".000";
        };
        expected += std::to_string(j) + "\t" + lo + "000\t" + hi + "000\t" + german(lo) + " - "
                    + german(hi) + "\n";
    }
    expected += "24\t1824000\t1900000\t> 1.824.000\n";
    expected += "10\tDeutschland\t1994000\t2002\t24\n"
                "11\tÖsterreich\t207000\t2002\t2\n"
                "12\tÄgypten\t99800\t2000\t1\n"
                "13\tDänemark\t-\t-\t-\n"
                "14\tSchweiz\t-\t-\t-\n";
    EXPECT_EQ(run.out, expected);
}

TEST_F(MapCli, EditionYearStandsInForASingleYearList) {
    // Inflationsrate has one year only: its latest year is the edition's (Jahr=2017).
    CliRun run = Map({"203", "2017"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 10), "year=2017\n");
    EXPECT_NE(run.out.find("\n10\tDeutschland\t1.3\t2002\t"), std::string::npos);
    EXPECT_NE(run.out.find("\n12\tÄgypten\t0\t2002\t"), std::string::npos);
    run = Map({"203", "1999"});
    EXPECT_EQ(run.out.substr(0, 10), "year=1999\n");
    EXPECT_NE(run.out.find("\n10\tDeutschland\t-\t-\t-\n"), std::string::npos);

    EXPECT_EQ(Map({"201"}).status, 2);
    EXPECT_EQ(Map({"x", "2002"}).status, 2);
    EXPECT_EQ(Map({"201", "2002", "--width", "5"}).status, 2);
}

TEST_F(MapCli, PngInTheClassColours) {
    WriteFile(dir / "inst/Daten/Karte/Laender.vmp",
              VmpFileBytes({{10, {{-30, -30, 30, 30}}}, {14, {{100, 40, 140, 60}}}}));
    const std::string png = dir / "map.png";
    CliRun run = Map({"201", "2002", "--png", png, "--width", "400", "--height", "200"});
    ASSERT_EQ(run.status, 0) << run.err;
    QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(400, 200));
    EXPECT_EQ(image.pixelColor(200, 100), QColor(0xC8, 0x1E, 0x1E));  // Deutschland, class 24
    EXPECT_EQ(image.pixelColor(150, 135), QColor(0x10, 0x20, 0x30));  // the sea
    // Without outlines: a failure, not an empty picture.
    std::filesystem::remove(dir / "inst/Daten/Karte/Laender.vmp");
    run = Map({"201", "2002", "--png", dir / "none.png"});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.png"));
}
