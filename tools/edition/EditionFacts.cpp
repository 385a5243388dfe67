// The values of the edition, indexed by field and country for the articles.
#include <algorithm>
#include <set>

#include "EditionBuild.h"

namespace edition {

std::optional<std::pair<int, double>> CFacts::Latest(int field, int landId, int upTo) const {
    auto f = series.find(field);
    if (f == series.end()) return std::nullopt;
    auto l = f->second.find(landId);
    if (l == f->second.end() || l->second.empty()) return std::nullopt;
    const std::map<int, double>& years = l->second;
    auto it = upTo > 0 ? years.upper_bound(upTo) : years.end();
    if (it == years.begin()) return std::nullopt;
    --it;
    return std::make_pair(it->first, it->second);
}

std::optional<double> CFacts::At(int field, int landId, int year) const {
    if (year == 0) {
        auto f = timeless.find(field);
        if (f == timeless.end()) return std::nullopt;
        auto l = f->second.find(landId);
        if (l == f->second.end()) return std::nullopt;
        return l->second;
    }
    auto f = series.find(field);
    if (f == series.end()) return std::nullopt;
    auto l = f->second.find(landId);
    if (l == f->second.end()) return std::nullopt;
    auto y = l->second.find(year);
    if (y == l->second.end()) return std::nullopt;
    return y->second;
}

QString CFacts::Text(int field, int landId) const {
    auto f = texts.find(field);
    if (f == texts.end()) return {};
    auto l = f->second.find(landId);
    return l == f->second.end() ? QString() : l->second;
}

int CFacts::RankingYear(int field) const {
    auto f = series.find(field);
    if (f == series.end()) return 0;
    std::map<int, int> perYear;
    for (const auto& [land, years] : f->second) {
        for (const auto& [year, value] : years) ++perYear[year];
    }
    const int countries = int(f->second.size());
    for (auto it = perYear.rbegin(); it != perYear.rend(); ++it) {
        if (it->second * 3 >= countries) return it->first;
    }
    return perYear.empty() ? 0 : perYear.rbegin()->first;
}

std::vector<std::pair<int, double>> CFacts::Ranking(int field, int year) const {
    std::vector<std::pair<int, double>> ranking;
    if (year == 0) {
        auto f = timeless.find(field);
        if (f != timeless.end()) {
            for (const auto& [land, value] : f->second) ranking.emplace_back(land, value);
        }
    } else if (auto f = series.find(field); f != series.end()) {
        for (const auto& [land, years] : f->second) {
            if (auto y = years.find(year); y != years.end()) ranking.emplace_back(land, y->second);
        }
    }
    std::stable_sort(ranking.begin(), ranking.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return ranking;
}

int CFacts::Rank(int field, int year, int landId) const {
    std::vector<std::pair<int, double>> ranking = Ranking(field, year);
    for (std::size_t i = 0; i < ranking.size(); ++i) {
        if (ranking[i].first == landId) return int(i) + 1;
    }
    return 0;
}

void CEditionBuild::IndexFacts() {
    m_facts = CFacts();
    for (const CDataRow& row : m_rows) {
        if (!row.text.isNull()) {
            m_facts.texts[row.valId][row.landId] = row.text;
        } else if (row.number && row.year == 0) {
            m_facts.timeless[row.valId][row.landId] = *row.number;
        } else if (row.number) {
            m_facts.series[row.valId][row.landId][row.year] = *row.number;
        }
    }
}

const CArticle* CEditionBuild::ArticleById(int id) const {
    for (const CArticle& article : m_articles) {
        if (article.id == id) return &article;
    }
    return nullptr;
}

}  // namespace edition
