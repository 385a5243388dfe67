// The organisations (Typ 3): their members from edition/organisationen.tsv and CLDR, and
// their aggregates computed from the edition's data.
#include <QFile>
#include <algorithm>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionHtml.h"

namespace edition {

namespace {

// Reads the lines of a tab-separated edition file that are neither comments nor empty.
QList<QStringList> ReadTsv(const QString& path, QString& error) {
    QList<QStringList> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": " + file.errorString();
        return rows;
    }
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith('#') || line.trimmed().isEmpty()) continue;
        rows << line.split('\t');
    }
    return rows;
}

}  // namespace

bool CEditionBuild::LoadOrganisations() {
    const QString path = Edition("organisationen.tsv");
    QList<QStringList> rows = ReadTsv(path, m_result.error);
    if (rows.isEmpty()) {
        if (m_result.error.isEmpty()) m_result.error = path + ": no organisations";
        return false;
    }
    int next = kOrganisationBase + 1;
    for (const QStringList& row : rows) {
        if (row.size() != 9) {
            m_result.error = path + ": " + row.value(0) + " has not 9 columns";
            return false;
        }
        COrganisation o;
        o.id = next++;
        o.code = row[0];
        o.shortName = row[1];
        o.name = row[2];
        o.kind = row[3];
        o.founded = row[4];
        o.seat = row[5];
        o.source = row[7];
        o.description = row[8];
        for (const QString& code : row[6].split(' ', Qt::SkipEmptyParts)) {
            QStringList members;
            if (code.startsWith("cldr:")) {
                for (const QString& alpha2 : m_cldrGroups.value(code.mid(5))) {
                    auto land = std::find_if(m_lands.begin(), m_lands.end(),
                                             [&](const CLand& l) { return l.cca2 == alpha2; });
                    if (land == m_lands.end()) {
                        m_result.error = path + ": no country " + alpha2 + " in " + code;
                        return false;
                    }
                    o.members.push_back(land->id);
                }
                if (m_cldrGroups.value(code.mid(5)).isEmpty()) {
                    m_result.error = path + ": CLDR has no group " + code;
                    return false;
                }
            } else if (const CLand* land = LandByIso3(code)) {
                o.members.push_back(land->id);
            } else {
                m_result.error = path + ": unknown country " + code + " in " + o.code;
                return false;
            }
        }
        std::sort(o.members.begin(), o.members.end(), [&](int a, int b) {
            return ByGermanTitle(LandById(a)->title, LandById(b)->title);
        });
        o.members.erase(std::unique(o.members.begin(), o.members.end()), o.members.end());
        m_organisations.push_back(std::move(o));
    }
    return true;
}

bool CEditionBuild::BuildOrganisations() {
    const CFacts& f = m_facts;
    // World totals of the year the aggregates use, over every country with a value.
    struct CAggregate {
        int field;
        const char* label;
        const char* unit;
    };
    const CAggregate aggregates[] = {
        {201, "Bevölkerung", "Millionen"},
        {401, "Bruttoinlandsprodukt (Kaufkraftparität, US-$ von 2011)", "Mrd. US-$"},
        {206, "Stadtbevölkerung", "Millionen"},
        {501, "Erwerbstätige", "Millionen"},
    };
    for (const COrganisation& o : m_organisations) {
        CArticle a;
        a.id = o.id;
        a.typ = 3;
        a.title = o.name;
        a.linkIds << ArticleLinkId(o.id);
        QString& html = a.content;
        html += QString("<a name=\"%1\" id=\"%1\"></a>\n").arg(ArticleLinkId(o.id));
        auto section = [&](const QString& anchor, const QString& title) {
            html += SectionHeading(anchor, title);
            a.sections.emplace_back(anchor, title);
        };
        html += Paragraph(HtmlEscape(o.description), "einleitung");
        section("steckbrief", "Steckbrief");
        html += FactTable({{"Kurzname", HtmlEscape(o.shortName)},
                           {"Gegründet", HtmlEscape(o.founded)},
                           {"Sitz", HtmlEscape(o.seat)},
                           {"Mitglieder", QString::number(o.members.size())},
                           {"Art", HtmlEscape(o.kind)}});

        section("mitglieder", "Mitglieder");
        QStringList links;
        for (int id : o.members) links << LandLink(*LandById(id));
        html += Paragraph(links.join(" · "), "liste");
        html += Note("Stand: 2024. Quelle der Mitgliederliste: " + HtmlEscape(o.source) + ".");

        section("kennzahlen", "Kennzahlen");
        std::vector<QStringList> rows;
        for (const CAggregate& g : aggregates) {
            const int year = f.RankingYear(g.field);
            double sum = 0, world = 0;
            int counted = 0;
            for (const auto& [land, value] : f.Ranking(g.field, year)) {
                world += value;
                if (std::find(o.members.begin(), o.members.end(), land) != o.members.end()) {
                    sum += value;
                    ++counted;
                }
            }
            if (counted == 0 || world <= 0) continue;
            rows.push_back({g.label, QString::number(year), GermanNumberAuto(sum) + " " + g.unit,
                            GermanPercent(sum / world * 100),
                            QString("%1 von %2").arg(counted).arg(o.members.size())});
        }
        if (rows.empty()) {
            html += Paragraph("Für die Mitglieder liegen keine vergleichbaren Zahlen vor.");
        } else {
            html += DataTable({"Größe", "Jahr", "Mitglieder zusammen", "Anteil an der Welt",
                               "Mitglieder mit Angaben"},
                              rows, {1, 2, 3});
            html += Note(
                "Summen über die Mitglieder mit Angaben für das Jahr; der Anteil an der "
                "Welt bezieht sich auf alle Länder und Gebiete mit Angaben. Bevölkerung "
                "und Wirtschaftsleistung: Penn World Table 9.1; Stadtbevölkerung: "
                "Weltbank.");
        }
        m_articles.push_back(std::move(a));
    }
    return true;
}

bool CEditionBuild::LoadGlossary() {
    const QString path = Edition("glossar.tsv");
    for (const QStringList& row : ReadTsv(path, m_result.error)) {
        if (row.size() != 2) {
            m_result.error = path + ": " + row.value(0) + " has not 2 columns";
            return false;
        }
        m_glossary.emplace_back(row[0], row[1]);
    }
    return !m_glossary.empty();
}

QString CEditionBuild::GlossaryLink(const QString& term, const QString& text) const {
    for (std::size_t i = 0; i < m_glossary.size(); ++i) {
        if (m_glossary[i].first == term) {
            return TextLink(ArticleLinkId(kGlossaryBase + 1 + int(i)),
                            HtmlEscape(text.isEmpty() ? term : text));
        }
    }
    // A term the glossary lacks stays plain text; the edition test finds such terms.
    return "<span class=\"fehlt\">" + HtmlEscape(text.isEmpty() ? term : text) + "</span>";
}

}  // namespace edition
