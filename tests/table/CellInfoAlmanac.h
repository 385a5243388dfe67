#pragma once
// The fixture almanac with the data fields the cell information tests add to it, and the
// window's templates written into a folder of the test's own.
//
//   Val 301 "Waldfläche" (MapView 1): 2002 Deutschland 100, Österreich 100, Ägypten 50,
//       Dänemark NULL.
//   Val 302 "Defizit" (MapView NULL): Deutschland 1998 -5, 2000 -10, 2002 -2.5.
//   Val 303 "Nullwerte": Deutschland 2000 0, 2002 0.
//   Val 304 "Lange Reihe": Deutschland 1900 to 1969, the value the year.

#include <string>

#include "data/Database.h"
#include "fixtures/FixtureAlmanac.h"
#include "platform/TestFiles.h"

inline constexpr long kWald = 301;
inline constexpr long kDefizit = 302;
inline constexpr long kNullwerte = 303;
inline constexpr long kLangeReihe = 304;

inline std::string CreateCellInfoAlmanac(const std::string& dir) {
    const std::string path = CreateFixtureAlmanac(dir);
    CDatabase db;
    db.Open(path, false, false, kAlmanacConnect);
    db.Execute("BEGIN");
    db.Execute(
        "INSERT INTO Val VALUES (301, 200, 'Waldfläche', 'Waldfläche (km²)', 'Wald', 1, 'FAO')");
    db.Execute(
        "INSERT INTO Val VALUES (302, 200, 'Defizit', 'Haushaltsdefizit (% des BIP)', "
        "'Defizit', NULL, 'Eurostat')");
    db.Execute(
        "INSERT INTO Val VALUES (303, 200, 'Nullwerte', 'Nullwerte', 'Nullwerte', NULL, 'Test')");
    db.Execute(
        "INSERT INTO Val VALUES (304, 200, 'Lange Reihe', 'Lange Reihe', 'Reihe', NULL, "
        "'Test')");
    db.Execute("INSERT INTO Data VALUES (276, 301, 2002, 100, NULL, 'FAO')");
    db.Execute("INSERT INTO Data VALUES (40, 301, 2002, 100, NULL, 'FAO')");
    db.Execute("INSERT INTO Data VALUES (818, 301, 2002, 50, NULL, 'FAO')");
    db.Execute("INSERT INTO Data VALUES (208, 301, 2002, NULL, 'k.A.', 'FAO')");
    db.Execute("INSERT INTO Data VALUES (276, 302, 1998, -5, NULL, 'Eurostat')");
    db.Execute("INSERT INTO Data VALUES (276, 302, 2000, -10, NULL, 'Eurostat')");
    db.Execute("INSERT INTO Data VALUES (276, 302, 2002, -2.5, NULL, 'Eurostat')");
    db.Execute("INSERT INTO Data VALUES (276, 303, 2000, 0, NULL, 'Test')");
    db.Execute("INSERT INTO Data VALUES (276, 303, 2002, 0, NULL, 'Test')");
    for (int year = 1900; year < 1970; ++year)
        db.Execute("INSERT INTO Data VALUES (276, 304, " + std::to_string(year) + ", "
                   + std::to_string(year) + ", NULL, 'Test')");
    db.Execute("COMMIT");
    return path;
}

// Templates naming every placeholder.
inline void WriteCellInfoTemplates(const std::string& folder) {
    WriteFile(folder + "CIData.htm",
              "<H2>%Title%</H2><IMG src='%Image%'>%Value% %Year%|%Place%|%Source%|%Value%");
    WriteFile(folder + "CIText.htm", "<H2>%Title%</H2>%Text%|%Text%");
    WriteFile(folder + "CI.htm", "<HTML><BODY></BODY></HTML>");
}
