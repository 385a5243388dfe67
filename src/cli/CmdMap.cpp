// kompendor-cli map: the world map's values for one data field and year as the map window
// computes them: the year shown, the 25 class bounds with their legend texts and every
// country of the map with its value, the value's year and its class. With --png the map is
// drawn off screen in those colours.
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "cli/CliSettings.h"
#include "cli/CmdMap.h"
#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "map/MapData.h"


namespace {

constexpr const char* kUsage
    = "usage: kompendor-cli [--base DIR] map VAL YEAR [--png FILE] [--width W --height H]\n";

int UsageError(const std::string& message) {
    std::cerr << "kompendor-cli map: " << message << "\n" << kUsage;
    return 2;
}

std::optional<long> ParseNumber(const std::string& text, long low, long high) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return std::nullopt;
    return value;
}

// The shortest text that reads back as the same double: at most 17 significant digits, a
// point as the decimal separator.
std::string Number(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

int RunMap(const CliArgs& args) { return RunMapCommand(args, nullptr); }

int RunMapCommand(const CliArgs& args, MapPngWriter writer) {
    std::optional<std::string> png;
    long width = 1920, height = 1080;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.args.size(); ++i) {
        std::string a = args.args[i];
        std::string value;
        if (const std::size_t eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = a.substr(eq + 1);
            a.resize(eq);
        } else if (a == "--png" || a == "--width" || a == "--height") {
            if (i + 1 >= args.args.size()) return UsageError(a + " needs a value");
            value = args.args[++i];
        }
        if (a == "--png" || a == "--width" || a == "--height") {
            if (a == "--png") {
                png = value;
                continue;
            }
            const std::optional<long> n = ParseNumber(value, 16, 16384);
            if (!n) return UsageError(a + " wants a size from 16 to 16384");
            (a == "--width" ? width : height) = *n;
        } else if (a.size() > 1 && a[0] == '-') {
            return UsageError("unknown option " + a);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return UsageError("wants VAL and YEAR");
    const std::optional<long> valId = ParseNumber(positional[0], 1, 2147483647);
    const std::optional<long> year = ParseNumber(positional[1], 0, 32767);
    if (!valId) return UsageError("VAL must be a data field ID");
    if (!year) return UsageError("YEAR must be a year");
    if (png && png->empty()) return UsageError("--png needs a file name");
    if (png && !writer) {
        std::cerr << "kompendor-cli map: --png is not available in this build\n";
        return 2;
    }

    CliInstallation inst = LoadInstallation(args);
    CDatabase db;
    try {
        db.Open(inst.settings->mdb, true, true, kAlmanacConnect);
    } catch (const CDBException& error) {
        std::cerr << "kompendor-cli map: " << inst.settings->mdb << ": " << error.what() << '\n';
        return 1;
    }
    const std::string mapDir = inst.settings->ReadIniValue("Paths", "Map", "", true);
    const unsigned long errorsBefore = LastDBError().count;
    const CMapDisplay display
        = ComputeMapDisplay(db, mapDir, std::int32_t(*valId), int(*year), inst.settings->year);
    if (LastDBError().count != errorsBefore) {
        std::cerr << "kompendor-cli map: " << LastDBError().context << ": "
                  << LastDBError().message << '\n';
        return 1;
    }

    std::string out = "year=" + std::to_string(display.year) + "\n";
    const CMapClasses& classes = display.values.classes;
    for (int j = 0; j < kMapClassCount; ++j) {
        out += std::to_string(j) + "\t" + Number(classes.lower[j]) + "\t" + Number(classes.upper[j])
               + "\t" + LegendText(classes, j) + "\n";
    }
    const bool listed = DBRead(db, "SELECT * FROM Land WHERE MapID > 0 ORDER BY MapID ASC",
                               "kompendor-cli map", [&](CRecordset& rs) {
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const CVariant id = rs.GetFieldValue("MapID");
            const int mapId = int(id.Integer() & 0xFF);
            out += std::to_string(id.Integer()) + "\t" + rs.GetFieldValue("Title").Text() + "\t";
            if (display.values.hasValue[mapId]) {
                out += Number(display.values.value[mapId]) + "\t"
                       + std::to_string(display.values.valueYear[mapId]) + "\t"
                       + std::to_string(ClassOf(classes, display.values.value[mapId])) + "\n";
            } else {
                out += "-\t-\t-\n";
            }
        }
    });
    if (!listed) {
        std::cerr << "kompendor-cli map: " << LastDBError().message << '\n';
        return 1;
    }
    std::cout << out;
    if (png) {
        std::string error;
        if (!writer(display, mapDir, *png, int(width), int(height), error)) {
            std::cerr << "kompendor-cli map: " << error << '\n';
            return 1;
        }
    }
    return 0;
}
