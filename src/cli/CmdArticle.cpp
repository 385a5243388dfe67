// kompendor-cli article ID: the page of an article exactly as the article window hands it to
// its browser (the template of the article's type with its placeholders replaced), and
// kompendor-cli cellinfo LAND VAL YEAR: the page of the cell information window, after a
// line "rank=N" with the value's world rank (0 when there is none).
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/CliSettings.h"
#include "data/Database.h"
#include "table/CellInfoPage.h"
#include "text/ArticlePage.h"

namespace {

std::optional<long> ParseLong(const std::string& text, long low, long high) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

int RunArticle(const CliArgs& args) {
    const std::optional<long> id
        = args.args.size() == 1 ? ParseLong(args.args[0], 1, INT32_MAX) : std::nullopt;
    if (!id) {
        std::cerr << "usage: kompendor-cli [--base DIR] article ID\n";
        return 2;
    }
    CliInstallation inst = LoadInstallation(args);
    std::unique_ptr<CDatabase> db = OpenCliAlmanac(inst, "article");
    if (!db) return 1;

    CArticlePages pages(db.get(), inst.settings->html);
    const int type = pages.GetPanel(static_cast<std::int32_t>(*id));
    if (type < 1 || type > 6) {
        std::cerr << "kompendor-cli article: there is no article " << *id
                  << (type ? " with a page (type " + std::to_string(type) + ")" : std::string())
                  << '\n';
        return 1;
    }
    const std::string page = pages.Compose(type, static_cast<std::int32_t>(*id));
    if (page.empty()) {
        std::cerr << "kompendor-cli article: the template of type " << type << " in "
                  << inst.settings->html << " is missing or empty\n";
        return 1;
    }
    std::cout << page;
    std::cout.flush();
    return std::cout ? 0 : 1;
}

int RunCellInfo(const CliArgs& args) {
    std::optional<long> land, val, year;
    if (args.args.size() == 3) {
        land = ParseLong(args.args[0], INT32_MIN, INT32_MAX);
        val = ParseLong(args.args[1], INT32_MIN, INT32_MAX);
        year = ParseLong(args.args[2], 0, 65535);
    }
    if (!land || !val || !year) {
        std::cerr << "usage: kompendor-cli [--base DIR] cellinfo LAND VAL YEAR\n";
        return 2;
    }
    CliInstallation inst = LoadInstallation(args);
    std::unique_ptr<CDatabase> almanac = OpenCliAlmanac(inst, "cellinfo");
    if (!almanac) return 1;
    CDatabase& db = *almanac;

    // The chart is a picture the window draws; the page names the file it goes to.
    std::error_code ec;
    std::string temp = std::filesystem::temp_directory_path(ec).string();
    if (temp.empty() || temp.back() != '/') temp += '/';
    const CCellInfoPages pages(&db, inst.settings->html);
    const CCellInfoPage page = pages.Compose(
        static_cast<std::int32_t>(*land), static_cast<std::int32_t>(*val),
        static_cast<unsigned>(*year), [&](const CCellChart&) { return temp + kCellChartFile; });
    std::cout << "rank=" << page.rank << '\n' << page.html;
    std::cout.flush();
    return std::cout ? 0 : 1;
}
