// kompendor-cli table: fills a statistics table as the table window does (the same filling
// code, without a window), applies year changes and a sort, and writes the HTML document of
// the export to a file or to standard output.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliSettings.h"
#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "table/TableData.h"
#include "table/TableFill.h"
#include "table/TableHTML.h"
#include "table/YearLogic.h"

namespace {

constexpr const char* kUsage
    = "usage: kompendor-cli [--base DIR] table --view 1|2 --countries IDS|all --fields IDS|all "
      "[--year COLUMN=YEAR ...] [--sort COLUMN:asc|desc] [--html FILE|-]\n";

struct TableOptions {
    int view = 0;
    std::optional<IdList> countries;  // nothing: all
    std::optional<IdList> fields;
    bool countriesGiven = false;
    bool fieldsGiven = false;
    std::vector<std::pair<int, unsigned>> years;
    std::optional<std::pair<int, bool>> sort;  // column, ascending
    std::optional<std::string> html;
};

int UsageError(const std::string& message) {
    std::cerr << "kompendor-cli table: " << message << "\n" << kUsage;
    return 2;
}

// A whole decimal number within [low, high], digits with an optional leading minus; nothing
// for anything else (blanks and "+" included, which strtol would let pass).
std::optional<long> ParseNumber(const std::string& text, long low, long high) {
    const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digits) return std::nullopt;
    for (std::size_t i = digits; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return std::nullopt;
    return value;
}

// "all", or IDs separated by commas (no blanks).
bool ParseIds(const std::string& text, std::optional<IdList>& ids) {
    if (text == "all") {
        ids.reset();
        return true;
    }
    IdList list;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        std::optional<long> id
            = ParseNumber(text.substr(start, comma - start), INT32_MIN, INT32_MAX);
        if (!id) return false;
        list.push_back(static_cast<std::uint32_t>(static_cast<std::int32_t>(*id)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    ids = std::move(list);
    return true;
}

// Returns 0 when the options are complete, else the exit status after the message.
int ParseOptions(const std::vector<std::string>& args, TableOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return UsageError(name + " needs a value");
        }

        if (name == "--view") {
            std::optional<long> view = ParseNumber(value, 1, 2);
            if (!view) return UsageError("unknown view '" + value + "'");
            options.view = static_cast<int>(*view);
        } else if (name == "--countries") {
            if (!ParseIds(value, options.countries)) return UsageError("bad IDs '" + value + "'");
            options.countriesGiven = true;
        } else if (name == "--fields") {
            if (!ParseIds(value, options.fields)) return UsageError("bad IDs '" + value + "'");
            options.fieldsGiven = true;
        } else if (name == "--year") {
            const std::size_t at = value.find('=');
            std::optional<long> column = ParseNumber(value.substr(0, at), 1, INT_MAX);
            std::optional<long> year = at == std::string::npos
                                           ? std::nullopt
                                           : ParseNumber(value.substr(at + 1), 0, 65535);
            if (!column || !year) return UsageError("bad year change '" + value + "'");
            options.years.emplace_back(static_cast<int>(*column), static_cast<unsigned>(*year));
        } else if (name == "--sort") {
            const std::size_t at = value.find(':');
            std::optional<long> column = ParseNumber(value.substr(0, at), 0, INT_MAX);
            const std::string direction = at == std::string::npos ? "" : value.substr(at + 1);
            if (!column || (direction != "asc" && direction != "desc")) {
                return UsageError("bad sort '" + value + "'");
            }
            options.sort = std::make_pair(static_cast<int>(*column), direction == "asc");
        } else if (name == "--html") {
            options.html = value;
        } else {
            return UsageError("unknown option " + name);
        }
    }
    if (options.view == 0) return UsageError("--view is missing");
    if (!options.countriesGiven) return UsageError("--countries is missing");
    if (!options.fieldsGiven) return UsageError("--fields is missing");
    if (!options.years.empty() && options.view != 2) {
        return UsageError("--year needs the data-column view (--view 2)");
    }
    return 0;
}

// The IDs of wanted that known does not hold, as a text for the message ("999999, -3").
std::string UnknownIds(const IdList& wanted, const IdList& known) {
    const std::set<std::uint32_t> have(known.begin(), known.end());
    std::string unknown;
    for (std::uint32_t id : wanted) {
        if (have.count(id)) continue;
        if (!unknown.empty()) unknown += ", ";
        unknown += std::to_string(static_cast<std::int32_t>(id));
    }
    return unknown;
}

// Every ID of a table in ID order.
IdList AllIds(CDatabase& db, const char* sql, const char* context) {
    IdList ids;
    DBRead(db, sql, context, [&](CRecordset& rs) {
        for (; !rs.IsEOF(); rs.MoveNext()) {
            ids.push_back(static_cast<std::uint32_t>(rs.GetFieldValue("ID").Integer()));
        }
    });
    return ids;
}

}  // namespace

int RunTable(const CliArgs& args) {
    TableOptions options;
    if (int status = ParseOptions(args.args, options)) return status;

    CliInstallation inst = LoadInstallation(args);
    std::unique_ptr<CDatabase> almanac = OpenCliAlmanac(inst, "table");
    if (!almanac) return 1;
    CDatabase& db = *almanac;

    const IdList allCountries
        = AllIds(db, "SELECT ID FROM Land ORDER BY ID", "kompendor-cli table/Land");
    const IdList allFields = AllIds(db, "SELECT ID FROM Val ORDER BY ID", "kompendor-cli table/Val");
    IdList countries = options.countries ? *options.countries : allCountries;
    IdList fields = options.fields ? *options.fields : allFields;
    // An ID the almanac does not know is a typing error, not an empty table.
    if (std::string unknown = UnknownIds(countries, allCountries); !unknown.empty()) {
        std::cerr << "kompendor-cli table: unknown country IDs: " << unknown << '\n';
        return 2;
    }
    if (std::string unknown = UnknownIds(fields, allFields); !unknown.empty()) {
        std::cerr << "kompendor-cli table: unknown data-field IDs: " << unknown << '\n';
        return 2;
    }
    ValidateDataIDs(&db, fields);

    CTableData table;
    if (options.view == 1) {
        FillStaaten(db, table, countries, fields, nullptr);
    } else {
        FillDaten(db, table, countries, fields, nullptr);
    }
    for (const auto& [column, year] : options.years) {
        if (column >= table.GetColumnCount()) {
            return UsageError("--year: the table has no data column " + std::to_string(column));
        }
        FillColYear(db, table, column, year, nullptr);
    }
    if (options.sort) {
        if (options.sort->first >= table.GetColumnCount()) {
            return UsageError("--sort: the table has no column "
                              + std::to_string(options.sort->first));
        }
        table.SortByColumn(options.sort->first, options.sort->second);
    }

    if (options.html && *options.html == "-") {
        // "-" is standard output, with the very document the export writes to a file.
        std::cout << HTMLDocument(table);
        std::cout.flush();
        return std::cout ? 0 : 1;
    }
    if (options.html) {
        if (!WriteHTMLFile(table, *options.html)) {
            std::cerr << "Die Tabelle konnte nicht in " << *options.html
                      << " exportiert werden.\n";
            return 1;
        }
        return 0;
    }
    std::cout << "<HTML><BODY>" << BuildHTML(table) << "</BODY></HTML>";
    std::cout.flush();
    return std::cout ? 0 : 1;
}
