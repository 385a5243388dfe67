#pragma once
// The fixture almanac with the rows the table tests add to it: a field with negative values
// whose order changes between its years, and a text value with a line feed.
//
//   Val 205 "Handelsbilanz" (NAME_MIDI "Handelsbilanz (Mrd.)", MapView NULL),
//   ValJahre "2000,2002": Deutschland 2000 -5, 2002 150.5; Österreich 2000 20,
//   2002 -3.25; Ägypten 2000 -12.
//   Österreich's Staatsform 2002: STRVAL "Bundesstaat\nRepublik".

#include <string>

#include "data/Database.h"
#include "fixtures/FixtureAlmanac.h"

namespace fixture {
inline constexpr long kHandel = 205;
}  // namespace fixture

// Writes the almanac into dir and returns its path.
inline std::string CreateTableAlmanac(const std::string& dir) {
    const std::string path = CreateFixtureAlmanac(dir);
    CDatabase db;
    db.Open(path, false, false, kAlmanacConnect);
    db.Execute(
        "INSERT INTO Val VALUES (205, 200, 'Handelsbilanz', 'Handelsbilanz (Mrd. US-$)', "
        "'Handelsbilanz (Mrd.)', NULL, 'WTO')");
    db.Execute("INSERT INTO ValJahre VALUES (205, '2000,2002')");
    db.Execute("INSERT INTO Data VALUES (276, 205, 2000, -5, NULL, 'WTO')");
    db.Execute("INSERT INTO Data VALUES (276, 205, 2002, 150.5, NULL, 'WTO')");
    db.Execute("INSERT INTO Data VALUES (40, 205, 2000, 20, NULL, 'WTO')");
    db.Execute("INSERT INTO Data VALUES (40, 205, 2002, -3.25, NULL, 'WTO')");
    db.Execute("INSERT INTO Data VALUES (818, 205, 2000, -12, NULL, 'WTO')");
    db.Execute(
        "INSERT INTO Data VALUES (40, 204, 2002, NULL, 'Bundesstaat' || char(10) || "
        "'Republik', 'B-VG')");
    return path;
}

// The almanac opened as the program opens it.
inline void OpenTableAlmanac(CDatabase& db, const std::string& path) {
    db.Open(path, false, true, kAlmanacConnect);
}
