#include "map/MapData.h"

#include <sstream>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/ValueRoutines.h"
#include "platform/ProfileFile.h"
#include "table/YearLogic.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

int HexPair(const std::string& text, std::size_t at) {
    const int high = at < text.size() ? HexDigit(text[at]) : 0;
    const int low = at + 1 < text.size() ? HexDigit(text[at + 1]) : 0;
    return high * 16 + low;
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, ',')) parts.push_back(part);
    if (!text.empty() && text.back() == ',') parts.emplace_back();
    return parts;
}

std::string Repeated(const char* item) {
    std::string text;
    for (int i = 0; i < kMapClassCount; ++i) text += item;
    return text;
}

// The integer of a field, 0 for NULL or anything that is no number.
long FieldLong(const CRecordset& rs, const char* name) {
    double number = 0;
    return ToNumber(rs.GetFieldValue(name), number) ? long(number) : 0;
}

std::string FieldText(const CRecordset& rs, const char* name) {
    return ToText(rs.GetFieldValue(name));
}

}  // namespace

MapColor ParseMapColor(const std::string& text) {
    return MapColor(HexPair(text, 0)) << 16 | MapColor(HexPair(text, 2)) << 8
           | MapColor(HexPair(text, 4));
}

CMapScheme ReadMapScheme(const std::string& colorFile, unsigned number) {
    CMapScheme scheme;
    const std::string section = std::to_string(number);
    auto read = [&](const char* key, const std::string& fallback) {
        return ReadProfileString(colorFile, section, key, fallback, 255);
    };
    scheme.border = ParseMapColor(read("border", "000000"));
    scheme.borderHilite = ParseMapColor(read("borderhilite", "000000"));
    scheme.backcolor = ParseMapColor(read("backcolor", "000000"));
    scheme.nodata = ParseMapColor(read("nodata", "000000"));
    const std::vector<std::string> countries = Split(read("countries", Repeated("000000,")));
    const std::vector<std::string> text = Split(read("text", Repeated("000000,")));
    for (int i = 0; i < kMapClassCount; ++i) {
        const std::string c = std::size_t(i) < countries.size() ? countries[i] : std::string();
        const std::string t = std::size_t(i) < text.size() ? text[i] : std::string();
        scheme.countries[i] = ParseMapColor(c);
        scheme.text[i] = ParseMapColor(t);
        scheme.countryStrings.push_back(c);
        scheme.textStrings.push_back(t);
    }
    return scheme;
}

bool ReadMapValues(CDatabase& db, std::int32_t valId, int year, int defaultYear,
                   CMapValues& values) {
    values = CMapValues();
    values.valueYear.fill(defaultYear);
    CRecordset data(&db);
    CRecordset land(&db);
    CDBBusyCursor busy;
    const bool ok = DBGuard("CMapDlg::ReadValues", [&] {
        data.Open("SELECT * FROM Data WHERE (ValID=" + std::to_string(valId)
                  + " AND Jahr<=" + std::to_string(year) + ") ORDER BY Jahr DESC");
        land.Open("SELECT * FROM Land WHERE MapID > 0 ORDER BY MapID ASC");
        for (; !land.IsEOF(); land.MoveNext()) {
            const long landId = FieldLong(land, "ID");
            const int mapId = int(FieldLong(land, "MapID") & 0xFF);
            if (data.IsEOF() && data.IsBOF()) continue;
            if (!data.FindFirst("LandID=" + std::to_string(landId))) continue;
            double v = 0;
            if (ToNumber(data.GetFieldValue("NumVal"), v)) {
                values.value[mapId] = v;
                values.hasValue[mapId] = 1;
                values.collected.push_back(v);
                if (v > values.max) values.max = v;
                if (v < values.min) values.min = v;
                const CVariant jahr = data.GetFieldValue("Jahr");
                if (!jahr.IsEmpty()) values.valueYear[mapId] = std::int16_t(FieldLong(data, "Jahr"));
            }
        }
    });
    values.classes = ComputeClassBounds(values.collected, values.min, values.max);
    return ok;
}

std::array<MapColor, kMapIdCount> BuildColorBlock(const CMapValues& values,
                                                  const CMapScheme& scheme) {
    std::array<MapColor, kMapIdCount> block{};
    for (int id = 0; id < kNoMapId; ++id) {
        block[id] = values.hasValue[id] ? scheme.countries[ClassOf(values.classes, values.value[id])]
                                        : scheme.nodata;
    }
    block[kNoMapId] = scheme.backcolor;
    return block;
}

CMapDisplay ComputeMapDisplay(CDatabase& db, const std::string& mapDir, std::int32_t valId,
                              int year, int defaultYear) {
    CMapDisplay display;
    display.valId = valId;
    std::vector<unsigned> years;
    const int latest = CollectYears(&db, valId, years) ? int(years.front()) : defaultYear;
    display.year = std::min(year, latest);
    DBRead(db, "SELECT * FROM Val WHERE ID=" + std::to_string(valId), "CMapDlg::Display",
           [&](CRecordset& rs) {
               if (rs.IsEOF()) return;
               display.title = FieldText(rs, "Title");
               display.longName = FieldText(rs, "NAME_LANG");
               display.scheme = unsigned(FieldLong(rs, "MAPVIEW") & 0xFF);
           });
    display.colors = ReadMapScheme(mapDir + "colors.ini", display.scheme);
    ReadMapValues(db, valId, display.year, defaultYear, display.values);
    display.block = BuildColorBlock(display.values, display.colors);
    return display;
}

CMapStatus ComputeMapStatus(CDatabase& db, const CMapDisplay& display, int mapId) {
    CMapStatus status;
    if (mapId < 0 || mapId >= kNoMapId) {
        status.valueBack = kNoValueBack;
        return status;
    }
    DBRead(db, "SELECT * FROM Land WHERE MapID=" + std::to_string(mapId), "CMapDlg::ShowToolTip",
           [&](CRecordset& rs) {
               if (!rs.IsEOF()) status.country = FieldText(rs, "Title");
           });
    const CMapValues& v = display.values;
    if (v.hasValue[mapId]) {
        const int c = ClassOf(v.classes, v.value[mapId]);
        status.valueBack = display.colors.countryStrings[c];
        status.valueText = display.colors.textStrings[c];
        status.value = FormatNumber(v.value[mapId]);
        status.year = std::to_string(unsigned(v.valueYear[mapId]));
        status.year.insert(0, 1, '(').push_back(')');
        status.yearColor = v.valueYear[mapId] == display.year ? kYearCurrentColor : kYearOlderColor;
    } else {
        status.valueBack = kNoValueBack;
        status.valueText = kNoValueTextColor;
        status.value = kNoValueText;
    }
    return status;
}

bool ReadMapFieldMenu(CDatabase& db, CMapFieldMenu& menu) {
    menu = CMapFieldMenu();
    CRecordset all(&db);
    CRecordset fields(&db);
    CDBBusyCursor busy;
    return DBGuard("CMapDlg::OpenValueDropdown", [&] {
        all.Open("SELECT * FROM Val ORDER BY ID ASC");
        fields.Open("SELECT * FROM Val WHERE ((PID > 0) AND (MapView > 0)) ORDER BY ID ASC");
        long pid = 0;
        bool open = false;
        auto close = [&] {
            if (!open) return;
            menu.groups.back().title
                = all.FindFirst("ID = " + std::to_string(pid)) ? FieldText(all, "Title") : "";
        };
        for (int k = 0; !fields.IsEOF(); fields.MoveNext(), ++k) {
            menu.ids.push_back(std::int32_t(FieldLong(fields, "ID")));
            menu.titles.push_back(FieldText(fields, "Title"));
            const long recordPid = FieldLong(fields, "PID");
            if (!open || recordPid != pid) {
                close();
                menu.groups.emplace_back();
                open = true;
                pid = recordPid;
            }
            menu.groups.back().items.push_back(k);
        }
        close();
    });
}

std::vector<CMapCountry> ReadMapCountries(CDatabase& db) {
    std::vector<CMapCountry> countries;
    DBRead(db, "SELECT * FROM Land WHERE (MapID > 0) ORDER BY Title ASC", "CMapSearch::Fill",
           [&](CRecordset& rs) {
               for (; !rs.IsEOF(); rs.MoveNext())
                   countries.push_back({FieldText(rs, "Title"), int(FieldLong(rs, "MapID"))});
           });
    return countries;
}
