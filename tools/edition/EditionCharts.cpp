// The countries and world averages of the edition's graphs.
#include "EditionCharts.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <set>

#include "ChartScale.h"

namespace edition {

namespace {

constexpr int kGdpField = 401;
constexpr int kUrbanField = 206;
constexpr int kWorkersField = 501;

// A country's population in a year: the Penn World Table's, else the World Bank's, else
// Gapminder's, so a weight is there wherever one source has the country.
std::optional<double> Population(const CFacts& facts, int landId, int year) {
    for (int field : {kPopulationField, 202, 203}) {
        if (auto v = facts.At(field, landId, year)) return v;
    }
    return std::nullopt;
}

std::optional<double> Weight(const CFacts& facts, int weightField, int landId, int year) {
    if (weightField == kPopulationField) return Population(facts, landId, year);
    return facts.At(weightField, landId, year);
}

}  // namespace

std::vector<int> LargestCountries(const CFacts& facts, int count) {
    std::vector<int> lands;
    for (const auto& [landId, value] :
         facts.Ranking(kPopulationField, facts.RankingYear(kPopulationField))) {
        if (int(lands.size()) == count) break;
        lands.push_back(landId);
    }
    return lands;
}

int WorldWeightField(int field) {
    switch (field) {
        case 204:  // population growth
        case 207:  // urban share
        case 209:  // births per woman
        case 301:  // life expectancy
        case 302:  // infant mortality
        case 404:  // GDP per head
        case 407:
        case 502:  // workers per inhabitant
        case 505:  // human capital per person
            return kPopulationField;
        case 208:  // growth of the urban population
            return kUrbanField;
        case 405:  // economic growth
        case 412:  // shares of GDP
        case 413:
        case 414:
        case 415:
        case 416:
        case 504:  // labour share
            return kGdpField;
        case 503:  // hours per worker
            return kWorkersField;
        default:
            return 0;
    }
}

std::map<int, double> WorldAverage(const CFacts& facts, int field) {
    std::map<int, double> average;
    const int weightField = WorldWeightField(field);
    auto series = facts.series.find(field);
    if (weightField == 0 || series == facts.series.end()) return average;
    const int rankingYear = facts.RankingYear(field);
    int countriesInRankingYear = 0;
    std::set<int> years;
    for (const auto& [landId, values] : series->second) {
        if (values.count(rankingYear)) ++countriesInRankingYear;
        for (const auto& [year, value] : values) years.insert(year);
    }
    // Every country that has a weight in some year counts towards the coverage, whether or
    // not the field has it.
    std::set<int> weighted;
    for (int f : {weightField, weightField == kPopulationField ? 202 : 0,
                  weightField == kPopulationField ? 203 : 0}) {
        if (auto it = facts.series.find(f); it != facts.series.end()) {
            for (const auto& [landId, values] : it->second) weighted.insert(landId);
        }
    }
    for (int year : years) {
        double sum = 0, covered = 0, total = 0;
        int countries = 0;
        for (int landId : weighted) {
            const std::optional<double> w = Weight(facts, weightField, landId, year);
            if (!w || *w <= 0) continue;
            total += *w;
            auto land = series->second.find(landId);
            if (land == series->second.end()) continue;
            auto value = land->second.find(year);
            if (value == land->second.end()) continue;
            sum += *w * value->second;
            covered += *w;
            ++countries;
        }
        if (covered > 0 && covered >= 0.75 * total && countries * 3 >= countriesInRankingYear) {
            average[year] = sum / covered;
        }
    }
    return average;
}

QString UnitOf(const QString& midi) {
    static const QRegularExpression unit("\\(([^()]*)\\)\\s*$");
    const QRegularExpressionMatch m = unit.match(midi);
    return m.hasMatch() ? m.captured(1) : QString();
}

int ValueDecimals(const CFieldDef& def, const std::vector<double>& shown) {
    int most = std::min(3, chart::SourceDecimals(shown));
    const QString unit = UnitOf(QString::fromUtf8(def.midi));
    if (unit.contains('%') || unit.contains(QChar(0x2030)) || unit.startsWith("Mio.")) {
        // One decimal, unless the values are below one (0,038 Mio., 0,02 %).
        std::vector<double> sizes;
        for (double v : shown) sizes.push_back(std::fabs(v));
        std::sort(sizes.begin(), sizes.end());
        if (!sizes.empty() && sizes[sizes.size() / 2] >= 1) most = std::min(most, 1);
    }
    return chart::ColumnDecimals(shown, most);
}

int TableRankingField(const CFacts& facts, int group) {
    for (const CFieldDef& def : kFields) {
        if (def.group != group || def.kind != EKind::kNumber) continue;
        if (facts.series.count(def.id) || facts.timeless.count(def.id)) return def.id;
    }
    return 0;
}

}  // namespace edition
