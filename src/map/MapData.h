#pragma once
// What the world map reads and computes for one data field and year, without a window: the
// colour scheme of "colors.ini", the countries' newest values up to the year, the value
// classes, the 256-entry colour block handed to the renderer, the status line of a country
// and the data-field menu. The map window, kompendor-cli and the edition builder share it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "map/MapClasses.h"

class CDatabase;

// MapIDs 1 to 254 are countries; 255 is no country.
inline constexpr int kMapIdCount = 256;
inline constexpr int kNoMapId = 255;

// A colour as the renderer takes it: the bytes blue, green, red, 0 (0x00RRGGBB).
using MapColor = std::uint32_t;

// RRGGBB read pair by pair; a character that is no hexadecimal digit counts as 0, so a short
// or missing text gives black.
MapColor ParseMapColor(const std::string& text);

struct CMapScheme {
    MapColor border = 0, borderHilite = 0, backcolor = 0, nodata = 0;
    std::array<MapColor, kMapClassCount> countries{};
    std::array<MapColor, kMapClassCount> text{};
    // The class colours as they stood in the file, for the status line.
    std::vector<std::string> countryStrings;
    std::vector<std::string> textStrings;
};

// Scheme number from the colour file ("<mapDir>colors.ini", section "<number>"); a missing
// file, section or key gives black.
CMapScheme ReadMapScheme(const std::string& colorFile, unsigned number);

// The values of one data field up to one year, per MapID.
struct CMapValues {
    std::array<double, kMapIdCount> value{};
    std::array<int, kMapIdCount> hasValue{};
    std::array<int, kMapIdCount> valueYear{};
    std::vector<double> collected;
    double min = 2147483647.0;
    double max = -2147483647.0;
    CMapClasses classes;
};

// Every country's newest Data record of valId up to year (a NULL NumVal in it leaves the
// country without a value, whatever older records hold), then the class bounds. valueYear
// starts at defaultYear. A database failure is reported ("CMapDlg::ReadValues") and the
// classes come from what was read before it; false then.
bool ReadMapValues(CDatabase& db, std::int32_t valId, int year, int defaultYear,
                   CMapValues& values);

// Entries 0 to 254: the class colour of the country's value, nodata without one; entry 255:
// the background.
std::array<MapColor, kMapIdCount> BuildColorBlock(const CMapValues& values,
                                                  const CMapScheme& scheme);

// Everything one Display shows.
struct CMapDisplay {
    std::int32_t valId = 0;
    int year = 0;  // the year shown: the smaller of the asked one and the field's latest
    std::string title;     // Val.Title
    std::string longName;  // Val.NAME_LANG
    unsigned scheme = 0;   // the low 8 bits of Val.MapView
    CMapScheme colors;
    CMapValues values;
    std::array<MapColor, kMapIdCount> block{};
};

// Reads and computes the display of valId for year. mapDir is the map data directory (ends
// with "/"); defaultYear is the edition's year (the latest year with data). Failures are
// reported ("CMapDlg::Display", "CMapDlg::ReadValues") and what was read is shown.
CMapDisplay ComputeMapDisplay(CDatabase& db, const std::string& mapDir, std::int32_t valId,
                              int year, int defaultYear);

// The status line for a country.
struct CMapStatus {
    std::string country;
    std::string value;
    std::string valueBack;  // RRGGBB
    std::string valueText;  // RRGGBB; empty: unchanged
    std::string year;
    std::string yearColor;  // RRGGBB; empty: unchanged
};

// The year text's colours: the year shown, and an older one.
inline constexpr const char* kYearCurrentColor = "415420";
inline constexpr const char* kYearOlderColor = "9C1919";
inline constexpr const char* kNoValueBack = "7F85B4";
inline constexpr const char* kNoValueTextColor = "D9D9FA";

// The status line of mapId (255: empty) for the display; the country's name is read from
// the almanac ("CMapDlg::ShowToolTip"; a failure leaves it empty).
CMapStatus ComputeMapStatus(CDatabase& db, const CMapDisplay& display, int mapId);

// The data-field menu: the groups of the fields that can be mapped, in ID order.
struct CMapFieldMenu {
    struct Group {
        std::string title;
        std::vector<int> items;  // positions k in ids; the menu item id is k + 1
    };
    std::vector<Group> groups;
    std::vector<std::int32_t> ids;
    std::vector<std::string> titles;  // per position k
};

// Reads the menu ("CMapDlg::OpenValueDropdown"); false on a failure (the menu is then not
// shown). Any number of groups.
bool ReadMapFieldMenu(CDatabase& db, CMapFieldMenu& menu);

// The countries of the map by name for the country search ("CMapSearch::Fill"); on a failure
// the ones read so far.
struct CMapCountry {
    std::string title;
    int mapId = 0;
};
std::vector<CMapCountry> ReadMapCountries(CDatabase& db);
