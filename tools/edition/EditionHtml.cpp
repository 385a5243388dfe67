#include "EditionHtml.h"

#include <QRegularExpression>
#include <algorithm>

namespace edition {

namespace {

// The table's summary for readers that cannot see it: its column heads, without markup.
QString HeadSummary(const QStringList& head) {
    QString text = head.join(", ");
    text.remove(QRegularExpression("<[^>]*>"));
    return text.replace('"', "'");
}

}  // namespace

QString SectionHeading(const QString& anchor, const QString& title, int level) {
    return QString("<h%1><a name=\"%2\" id=\"%2\"></a>%3</h%1>\n").arg(level).arg(anchor, title);
}

QString TextLink(const QString& linkId, const QString& text) {
    return QString("<a href=\"%1\" target=\"STEXT\">%2</a>").arg(linkId, text);
}

QString PictureLink(const QString& target, const QString& reference, const QString& text) {
    return QString("<a class=\"bild\" href=\"%1\" target=\"%2\">%3</a>")
        .arg(reference, target, text);
}

QString FactTable(const std::vector<std::pair<QString, QString>>& rows, const QString& caption) {
    QString html = "<table class=\"fakten\" summary=\"Steckbrief\">\n";
    if (!caption.isEmpty()) html += "<caption>" + caption + "</caption>\n";
    for (const auto& [label, value] : rows) {
        if (value.isEmpty()) continue;
        html += "<tr><th scope=\"row\">" + label + "</th><td>" + value + "</td></tr>\n";
    }
    return html + "</table>\n";
}

QString DataTable(const QStringList& head, const std::vector<QStringList>& rows,
                  const std::vector<int>& numericColumns, const QString& cssClass) {
    auto numeric = [&](int c) {
        return std::find(numericColumns.begin(), numericColumns.end(), c) != numericColumns.end();
    };
    QString html
        = "<table class=\"" + cssClass + "\" summary=\"" + HeadSummary(head) + "\">\n<thead><tr>";
    for (int c = 0; c < head.size(); ++c) {
        html += numeric(c) ? "<th class=\"zahl\">" : "<th>";
        html += head[c] + "</th>";
    }
    html += "</tr></thead>\n<tbody>\n";
    for (const QStringList& row : rows) {
        html += "<tr>";
        for (int c = 0; c < row.size(); ++c) {
            html += numeric(c) ? "<td class=\"zahl\">" : "<td>";
            html += row[c] + "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

QString Paragraph(const QString& html, const QString& cssClass) {
    if (html.isEmpty()) return {};
    if (cssClass.isEmpty()) return "<p>" + html + "</p>\n";
    return "<p class=\"" + cssClass + "\">" + html + "</p>\n";
}

QString Note(const QString& html) { return "<p class=\"hinweis\">" + html + "</p>\n"; }

QString Ordinal(int n) { return QString::number(n) + "."; }

QString LandLinkId(int landId) { return QString("land%1").arg(landId, 3, 10, QChar('0')); }

QString FieldLinkId(int valId) { return QString("feld%1").arg(valId, 3, 10, QChar('0')); }

QString ArticleLinkId(int articleId) { return QString("text%1").arg(articleId, 6, 10, QChar('0')); }

}  // namespace edition
