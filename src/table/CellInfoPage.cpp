#include "table/CellInfoPage.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/TextFile.h"
#include "data/ValueRoutines.h"
#include "table/YearLogic.h"
#include "text/TemplateText.h"

namespace {

std::string Text(const CRecordset& rs, const char* field) {
    return ToText(rs.GetFieldValue(field));
}

unsigned YearOf(const CRecordset& rs) {
    double year = 0;
    ToNumber(rs.GetFieldValue("Jahr"), year);
    return year > 0 ? static_cast<unsigned>(year) : 0;
}

// A part that would be less than a pixel wide is drawn one pixel wide.
int PartWidth(double part, int limit) {
    if (!(part >= 1)) return 1;
    return std::min(limit, static_cast<int>(part));
}

}  // namespace

CChartBar ChartBar(double v, double maximum, double minimum, int left, int width) {
    CChartBar bar;
    if (minimum >= 0) {
        bar.x = left;
        bar.color = kChartBarPositive;
        // A series of zeros has no scale: its bars stay at the least width.
        bar.width = maximum != 0 ? PartWidth(width * std::fabs(v) / std::fabs(maximum), width) : 1;
        return bar;
    }
    const double scale = std::max(std::fabs(minimum), std::fabs(maximum));
    const int middle = left + width / 2;
    const int part = PartWidth((width / 2) * std::fabs(v) / scale, width / 2);
    if (v > 0) {
        bar.x = middle;
        bar.color = kChartBarPositive;
    } else {
        bar.x = middle - part;
        bar.color = kChartBarNegative;
    }
    bar.width = part;
    return bar;
}

CCellInfoPages::CCellInfoPages(CDatabase* database, std::string templateFolder)
    : m_db(database), m_templateFolder(std::move(templateFolder)) {}

std::string CCellInfoPages::ReadTemplate(const char* file) const {
    std::string text;
    ReadTextFile(m_templateFolder + file, text);
    return text;
}

std::string CCellInfoPages::GetLandTitle(std::int32_t landId) const {
    std::string title;
    if (m_db)
        DBRead(*m_db, SqlFormat("SELECT * FROM Land WHERE ID=%li", long(landId)),
               "CCellInfoDlg::GetLandTitle", [&](CRecordset& rs) {
                   if (!rs.IsEOF()) title = Text(rs, "Title");
               });
    return title;
}

std::string CCellInfoPages::GetDataTitle(std::int32_t valId) const {
    std::string title;
    if (m_db)
        DBRead(*m_db, SqlFormat("SELECT * FROM Val WHERE ID=%li", long(valId)),
               "CCellInfoDlg::GetDataTitle", [&](CRecordset& rs) {
                   if (!rs.IsEOF()) title = Text(rs, "NAME_LANG");
               });
    return title;
}

bool CCellInfoPages::IsNumeric(std::int32_t landId, std::int32_t valId, unsigned year) const {
    bool numeric = false;
    if (!m_db) return false;
    // A value without a year (Jahr NULL) sorts after every dated one, so it decides only
    // when the pair has no dated value up to the year; the table shows such values too.
    DBRead(*m_db,
           SqlFormat("SELECT * FROM Data WHERE ValID=%li AND LandID=%li AND (Jahr<=%u OR Jahr IS "
                     "NULL) ORDER BY Jahr DESC",
                     long(valId), long(landId), year),
           "CCellInfoDlg::Update",
           [&](CRecordset& rs) { numeric = !rs.IsEOF() && !rs.GetFieldValue("NUMVAL").IsEmpty(); });
    return numeric;
}

int CCellInfoPages::WorldRank(std::int32_t landId, std::int32_t valId, unsigned year) const {
    int rank = 0;
    if (!m_db) return 0;
    DBRead(*m_db,
           SqlFormat("SELECT * FROM Data WHERE ValID=%li AND Jahr=%u ORDER BY NUMVAL DESC",
                     long(valId), year),
           "CCellInfoDlg::GetValueHTML / Read place", [&](CRecordset& rs) {
               if (!rs.IsEOF() && rs.FindFirst(SqlFormat("LandID=%li", long(landId))))
                   rank = static_cast<int>(rs.GetAbsolutePosition()) + 1;
           });
    return rank;
}

std::string CCellInfoPages::GetValueHTML(std::int32_t landId, std::int32_t valId, unsigned year,
                                         const ChartWriter& writeChart, int* rankOut,
                                         CCellChart* chartOut) const {
    std::string page = ReadTemplate("CIData.htm");
    CCellChart chart;
    std::string source;
    int rank = 0;
    if (m_db) {
        DBRead(*m_db,
               SqlFormat("SELECT * FROM Data WHERE LandID=%li AND ValID=%li ORDER BY Jahr DESC",
                         long(landId), long(valId)),
               "CCellInfoDlg::GetValueHTML / Read data", [&](CRecordset& rs) {
                   for (; !rs.IsEOF() && chart.series.size() < kMaxSeries; rs.MoveNext()) {
                       const CVariant value = rs.GetFieldValue("NUMVAL");
                       if (value.IsEmpty()) continue;
                       CCellSeriesEntry entry;
                       ToNumber(value, entry.value);
                       entry.year = YearOf(rs);
                       chart.series.push_back(entry);
                   }
               });
        DBRead(*m_db, SqlFormat("SELECT * FROM Val WHERE ID=%li", long(valId)),
               "CCellInfoDlg::GetValueHTML / Read source", [&](CRecordset& rs) {
                   if (!rs.IsEOF()) source = "Quelle: " + Text(rs, "Source");
               });
    }

    std::string image = "Dummy.gif";
    if (!chart.series.empty()) {
        rank = WorldRank(landId, valId, year);
        double maximum = INT_MIN, minimum = INT_MAX;
        for (const CCellSeriesEntry& entry : chart.series) {
            maximum = std::max(maximum, entry.value);
            minimum = std::min(minimum, entry.value);
        }
        chart.maximum = maximum;
        chart.minimum = minimum;
        if (writeChart) image = writeChart(chart);
    }

    ReplaceAll(page, "%Title%", GetDataTitle(valId));
    ReplaceAll(page, "%Image%", image);
    auto found = std::find_if(chart.series.begin(), chart.series.end(),
                              [&](const CCellSeriesEntry& e) { return e.year == year; });
    // A value without a year stands in the cell of any year the pair has no value for (the
    // table asks with the reference year for fields without years).
    if (found == chart.series.end())
        found = std::find_if(chart.series.begin(), chart.series.end(),
                             [](const CCellSeriesEntry& e) { return e.year == 0; });
    if (found != chart.series.end()) {
        ReplaceAll(page, "%Value%", FormatNumber(found->value));
        if (found->year >= 1) {
            std::string yearText = "(";
            yearText += std::to_string(found->year);
            yearText += ')';
            ReplaceAll(page, "%Year%", yearText);
        }
        // A value the ranking does not hold (one without a year) gets no rank line.
        if (rank > 0) ReplaceAll(page, "%Place%", "Weltrang: " + std::to_string(rank));
    }
    ReplaceAll(page, "%Value%", "Keine Angabe");
    ReplaceAll(page, "%Year%", "");
    ReplaceAll(page, "%Place%", "");
    ReplaceAll(page, "%Source%", source);

    if (rankOut) *rankOut = found != chart.series.end() ? rank : 0;
    if (chartOut) *chartOut = std::move(chart);
    return page;
}

std::string CCellInfoPages::GetTextHTML(std::int32_t landId, std::int32_t valId) const {
    std::string page = ReadTemplate("CIText.htm");
    std::string text;
    if (m_db)
        DBRead(*m_db,
               SqlFormat("SELECT * FROM Data WHERE LandID=%li AND ValID=%li", long(landId),
                         long(valId)),
               "CCellInfoDlg::GetTextHTML", [&](CRecordset& rs) {
                   if (!rs.IsEOF()) text = Text(rs, "STRVAL");
               });
    if (text.empty()) text = "Keine Angabe";
    ReplaceAll(page, "%Title%", GetDataTitle(valId));
    ReplaceAll(page, "%Text%", text);
    return page;
}

CCellInfoPage CCellInfoPages::Compose(std::int32_t landId, std::int32_t valId, unsigned year,
                                      const ChartWriter& writeChart) const {
    CCellInfoPage page;
    page.numeric = IsNumeric(landId, valId, year);
    page.html = page.numeric
                    ? GetValueHTML(landId, valId, year, writeChart, &page.rank, &page.chart)
                    : GetTextHTML(landId, valId);
    return page;
}
