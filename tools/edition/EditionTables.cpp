// The table pictures of the field groups: the first countries of the group's ranking field
// with the group's fields as columns.
#include <algorithm>

#include "ChartScale.h"
#include "EditionBuild.h"
#include "EditionCharts.h"

namespace edition {

namespace {

// The columns of a group's table, most important first (the picture leaves out from the
// end what does not fit). The ranking field comes first; a measure that the group has from
// several sources is shown once.
const std::map<int, std::vector<int>> kTableColumns = {
    {100, {103, 101, 104, 102, 107}},
    {200, {201, 204, 205, 207, 209, 206, 208}},
    {300, {301, 302}},
    {400, {401, 404, 405, 413, 414, 415, 416, 417, 411}},
    {500, {501, 502, 503, 504, 505}},
};

}  // namespace

chart::CTablePicture CEditionBuild::GroupTable(int group) const {
    chart::CTablePicture table;
    const CFieldDef* groupDef = Field(group);
    const int rankingField = TableRankingField(m_facts, group);
    if (!groupDef || rankingField == 0) return table;
    const bool timeless = m_facts.series.count(rankingField) == 0;
    const int year = timeless ? 0 : m_facts.RankingYear(rankingField);

    std::vector<int> fields;
    if (auto listed = kTableColumns.find(group); listed != kTableColumns.end()) {
        fields = listed->second;
    } else {
        for (const CFieldDef& def : kFields) {
            if (def.group == group) fields.push_back(def.id);
        }
    }
    // The ranking field leads, whatever the list says.
    fields.erase(std::remove(fields.begin(), fields.end(), rankingField), fields.end());
    fields.insert(fields.begin(), rankingField);

    std::vector<std::pair<int, double>> ranking = m_facts.Ranking(rankingField, year);
    if (int(ranking.size()) > kTableRows) ranking.resize(kTableRows);
    const double top = ranking.empty() ? 0 : ranking.front().second;
    // Bars help only where the values differ: where the last is near the first (life
    // expectancy), they would all be alike.
    const bool bars = !ranking.empty() && top > 0 && ranking.back().second < 0.8 * top;
    for (std::size_t r = 0; r < ranking.size(); ++r) {
        const CLand* land = LandById(ranking[r].first);
        chart::CTableRow row;
        row.rank = int(r) + 1;
        row.name = land ? land->title : QString::number(ranking[r].first);
        if (land) row.flag = m_flagIcons.value(land->cca3);
        row.bar = bars ? ranking[r].second / top : 0;
        table.rows.push_back(std::move(row));
    }

    std::vector<QString> columnSources;
    for (int field : fields) {
        const CFieldDef* def = Field(field);
        if (!def) continue;
        chart::CTableColumn column;
        column.head = QString::fromUtf8(def->title);
        column.sortKey = field == rankingField;
        column.numeric = def->kind == EKind::kNumber;
        std::vector<QString> cells;
        if (!column.numeric) {
            for (const auto& [landId, value] : ranking)
                cells.push_back(m_facts.Text(field, landId));
        } else {
            // Each column in the table's year where the field has it, else in its own newest
            // ranking year, named in the head.
            const bool hasSeries = m_facts.series.count(field) > 0;
            int columnYear = 0;
            if (hasSeries) {
                columnYear = m_facts.RankingYear(field);
                if (year > 0) columnYear = std::min(columnYear, year);
            }
            column.unit = UnitOf(QString::fromUtf8(def->midi));
            // A column of another year than the table's says so.
            if (columnYear > 0 && columnYear != year) column.year = QString::number(columnYear);
            std::vector<double> shown;
            std::vector<std::optional<double>> values;
            for (const auto& [landId, value] : ranking) {
                values.push_back(m_facts.At(field, landId, columnYear));
                if (values.back()) shown.push_back(*values.back());
            }
            const int decimals = ValueDecimals(*def, shown);
            for (const std::optional<double>& v : values) {
                cells.push_back(v ? chart::ChartNumber(*v, decimals) : QString());
            }
        }
        bool any = false;
        for (std::size_t r = 0; r < cells.size(); ++r) {
            any = any || !cells[r].isEmpty();
            table.rows[r].cells << (cells[r].isEmpty() ? QStringLiteral("–") : cells[r]);
        }
        if (!any && !column.sortKey) {
            for (chart::CTableRow& row : table.rows) row.cells.removeLast();
            continue;
        }
        table.columns.push_back(column);
        columnSources.push_back(QString::fromUtf8(kSourceNotes.at(def->sourceKey).shortNote));
    }
    // The sources of the columns that fit.
    const int fitting = chart::FittingColumns(table, kTableMaxWidth);
    QStringList sources;
    for (int c = 0; c < fitting && c < int(columnSources.size()); ++c) {
        for (const QString& source : columnSources[c].split("; ")) {
            if (!sources.contains(source)) sources << source;
        }
    }

    const QString rankingTitle = QString::fromUtf8(Field(rankingField)->title);
    table.title = QString("%1: die ersten %2 Länder")
                      .arg(QString::fromUtf8(groupDef->title))
                      .arg(kTableRows);
    table.subtitle = year > 0 ? QString("Geordnet nach „%1“ im Jahr %2").arg(rankingTitle).arg(year)
                              : QString("Geordnet nach „%1“").arg(rankingTitle);
    table.source = (sources.size() > 1 ? "Quellen: " : "Quelle: ") + sources.join(", ") + ".";
    table.note = "– keine Angabe.";
    return table;
}

}  // namespace edition
