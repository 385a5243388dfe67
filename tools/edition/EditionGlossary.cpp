// The glossary (Typ 5): the terms of edition/glossar.tsv with their cross references.
#include <QRegularExpression>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionHtml.h"

namespace edition {

// The text of a glossary entry or a help chapter with its references resolved: [[Begriff]]
// or [[Begriff|Text]] links a glossary term, {{201}} the article of a data field.
QString CEditionBuild::ResolveReferences(const QString& text) const {
    static const QRegularExpression reference(
        "\\[\\[([^\\]|]+)(?:\\|([^\\]]+))?\\]\\]|\\{\\{(\\d+)\\}\\}");
    QString html;
    int last = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        auto m = it.next();
        html += HtmlEscape(text.mid(last, m.capturedStart() - last));
        if (!m.captured(3).isEmpty()) {
            const int field = m.captured(3).toInt();
            auto def = std::find_if(kFields.begin(), kFields.end(),
                                    [&](const CFieldDef& d) { return d.id == field; });
            html += def == kFields.end() ? "<span class=\"fehlt\">" + m.captured(3) + "</span>"
                                         : "„"
                                               + TextLink(FieldLinkId(field),
                                                          HtmlEscape(QString::fromUtf8(def->title)))
                                               + "“";
        } else {
            html += GlossaryLink(m.captured(1), m.captured(2));
        }
        last = m.capturedEnd();
    }
    return html + HtmlEscape(text.mid(last));
}

bool CEditionBuild::BuildGlossary() {
    for (std::size_t i = 0; i < m_glossary.size(); ++i) {
        const auto& [term, text] = m_glossary[i];
        CArticle a;
        a.id = kGlossaryBase + 1 + int(i);
        a.typ = 5;
        a.title = term;
        a.linkIds << ArticleLinkId(a.id);
        a.content = QString("<a name=\"%1\" id=\"%1\"></a>\n").arg(ArticleLinkId(a.id))
                    + Paragraph(ResolveReferences(text), "einleitung");
        // Terms that refer to this one, so a reader finds the way back.
        QStringList seeAlso;
        for (std::size_t k = 0; k < m_glossary.size(); ++k) {
            if (k == i) continue;
            const QString& other = m_glossary[k].second;
            if (other.contains("[[" + term + "]]") || other.contains("[[" + term + "|")) {
                seeAlso << GlossaryLink(m_glossary[k].first);
            }
        }
        if (!seeAlso.isEmpty()) {
            a.content += Paragraph("Siehe auch: " + seeAlso.join(", "), "siehe");
        }
        m_articles.push_back(std::move(a));
    }
    return true;
}

}  // namespace edition
