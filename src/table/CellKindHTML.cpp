#include "table/CellKindHTML.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "table/CellData.h"

namespace {

std::string OrBlank(std::string text) { return text.empty() ? std::string("&nbsp;") : text; }

// Header cells: the name in bold; an empty name stays empty.
std::string HeaderHTML(const CellData& record) {
    return "<TD><FONT FACE='sans-serif' SIZE=-1><B>" + CellText(record) + "</B></FONT></TD>";
}

std::string DataHTML(const CellData& record) {
    return "<TD ALIGN=RIGHT><FONT FACE='sans-serif' SIZE=-1>" + OrBlank(CellText(record))
           + "</FONT></TD>";
}

// The year in small type after the value, 0 included: a value without a year shows "(0)".
std::string DataYearHTML(const CellData& record) {
    std::int32_t year = 0;
    record.GetYear(year);
    char small[48];
    std::snprintf(small, sizeof small, " <FONT SIZE=-2>(%u)</FONT>", static_cast<unsigned>(year));
    return "<TD ALIGN=RIGHT><FONT FACE='sans-serif' SIZE=-1>" + OrBlank(CellText(record)) + small
           + "</FONT></TD>";
}

struct KindForm {
    std::string_view kind;
    std::string (*html)(const CellData&);
};

const KindForm kForms[] = {
    {cellkind::kColHeadLand, HeaderHTML},    {cellkind::kRowHeadLand, HeaderHTML},
    {cellkind::kColHeadData, HeaderHTML},    {cellkind::kColHeadDataYear, HeaderHTML},
    {cellkind::kRowHeadData, HeaderHTML},    {cellkind::kCellData, DataHTML},
    {cellkind::kCellDataYear, DataYearHTML},
};

}  // namespace

std::string CellKindHTML(const CellData& record) {
    for (const KindForm& form : kForms) {
        if (form.kind == record.cellClass) return form.html(record);
    }
    // CRootLand, CRootData and CCellLand (without its year) write the shared form.
    return CellHTML(record);
}
