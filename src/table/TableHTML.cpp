#include "table/TableHTML.h"

#include "platform/AtomicFile.h"
#include "table/CellData.h"
#include "table/CellKindHTML.h"
#include "table/TableData.h"

std::string BuildHTML(const CTableData& table) {
    std::string html = "<TABLE BORDER=1 CELLPADDING=4 CELLSPACING=0 BORDERCOLOR=#AAAAAA>";
    const CellData empty;
    for (int row = 0; row < table.GetRowCount(); ++row) {
        html += "<TR>";
        for (int column = 0; column < table.GetColumnCount(); ++column) {
            const CellData* record = table.GetData(column, row);
            const std::string fragment = CellKindHTML(record != nullptr ? *record : empty);
            for (char c : fragment) {
                if (c == '\n') {
                    html += "<BR>";
                } else {
                    html += c;
                }
            }
        }
        html += "</TR>";
    }
    html += "</TABLE>";
    return html;
}

std::string HTMLDocument(const CTableData& table) {
    return "<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
           "charset=utf-8\"></HEAD><BODY>"
           + BuildHTML(table) + "</BODY></HTML>";
}

bool WriteHTMLFile(const CTableData& table, const std::string& path) {
    return WriteHTMLFile(table, path, SystemFileOps());
}

bool WriteHTMLFile(const CTableData& table, const std::string& path, IFileOps& ops) {
    return WriteFileAtomically(path, HTMLDocument(table), ops);
}
