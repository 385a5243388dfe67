// The topic articles (Typ 4): one per data field with data and one per group of fields,
// with what a field measures, its source, the world ranking of its newest year and the
// largest changes.
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionHtml.h"
#include "PictureRecords.h"

namespace edition {

namespace {

// What each field measures, written for this edition; [[...]] and {{...}} as in the
// glossary.
const std::map<int, const char*> kDescriptions = {
    {101,
     "Der [[Kontinent]], zu dem ein Land gehört. Mittelamerika und die Karibik zählen, "
     "wie im Deutschen üblich, zu Nordamerika."},
    {102,
     "Die [[Region]] innerhalb des Kontinents, nach der Einteilung der Statistik der "
     "Vereinten Nationen."},
    {103,
     "Die Gesamtfläche in Quadratkilometern, mit Binnengewässern. Die [[Fläche]] ist "
     "eine zeitlose Angabe ohne Jahr."},
    {104,
     "Die [[Hauptstadt]] oder, bei abhängigen Gebieten, der Hauptort mit seinem "
     "deutschen Namen."},
    {105,
     "Der [[Geographischer Mittelpunkt|geographische Mittelpunkt]] des Landes in "
     "ganzen Grad nördlicher oder südlicher Breite und östlicher oder westlicher Länge."},
    {106,
     "Die Staaten, mit denen ein Land eine Grenze zu Lande teilt ([[Nachbarstaat|"
     "Nachbarstaaten]])."},
    {107, "Ob ein Land ein [[Binnenstaat]] ohne Zugang zum offenen Meer ist."},
    {201,
     "Die Zahl der Einwohner in Millionen nach der Penn World Table, die längste Reihe "
     "der Ausgabe (seit 1950). Siehe [[Bevölkerung]]."},
    {202,
     "Die Zahl der Einwohner zur Jahresmitte in Millionen nach der Weltbank, auch für "
     "viele kleine Länder und Gebiete."},
    {203, "Die Zahl der Einwohner in Millionen nach Gapminder, seit 1960."},
    {204,
     "Die Veränderung der Einwohnerzahl gegenüber dem Vorjahr in Prozent "
     "([[Bevölkerungswachstum]])."},
    {205,
     "Einwohner je Quadratkilometer: die Bevölkerung der Penn World Table (ersatzweise "
     "der Weltbank) geteilt durch die Fläche ([[Bevölkerungsdichte]])."},
    {206,
     "Die Zahl der Menschen, die in Städten leben, in Millionen "
     "([[Stadtbevölkerung]])."},
    {207,
     "Der Anteil der [[Stadtbevölkerung]] an allen Einwohnern in Prozent, berechnet aus "
     "den Zahlen der Weltbank ([[Urbanisierung]])."},
    {208, "Die Veränderung der Stadtbevölkerung gegenüber dem Vorjahr in Prozent."},
    {209,
     "Wie viele Kinder eine Frau im Laufe ihres Lebens im Durchschnitt bekäme "
     "(zusammengefasste [[Geburtenziffer]])."},
    {301, "Die [[Lebenserwartung]] eines Neugeborenen in Jahren."},
    {302,
     "Die im ersten Lebensjahr gestorbenen Kinder je 1.000 Lebendgeborene "
     "([[Säuglingssterblichkeit]], in [[Promille]])."},
    {401,
     "Das [[Bruttoinlandsprodukt]] von der [[Verwendungsseite]], umgerechnet mit "
     "[[Kaufkraftparität|Kaufkraftparitäten]], in Milliarden US-Dollar von 2011."},
    {402,
     "Das [[Bruttoinlandsprodukt]] von der [[Entstehungsseite]], umgerechnet mit "
     "[[Kaufkraftparität|Kaufkraftparitäten]], in Milliarden US-Dollar von 2011."},
    {403,
     "Das [[Reales Bruttoinlandsprodukt|reale Bruttoinlandsprodukt]] nach den "
     "Wachstumsraten der Volkswirtschaftlichen Gesamtrechnung jedes Landes, in Milliarden "
     "US-Dollar von 2011."},
    {404,
     "Das [[BIP je Einwohner|Bruttoinlandsprodukt je Einwohner]] in US-Dollar von 2011, "
     "umgerechnet mit [[Kaufkraftparität|Kaufkraftparitäten]]."},
    {405,
     "Die Veränderung des realen Bruttoinlandsprodukts gegenüber dem Vorjahr in Prozent "
     "([[Wirtschaftswachstum]])."},
    {406,
     "Das Bruttoinlandsprodukt nach Gapminder in Milliarden US-Dollar von 2000, "
     "umgerechnet zum [[Wechselkurs]]."},
    {407, "Das Bruttoinlandsprodukt je Einwohner nach Gapminder in US-Dollar von 2000."},
    {408,
     "Das Niveau der Kapitaldienstleistungen im Verhältnis zu den Vereinigten Staaten "
     "([[Kapitaleinsatz]])."},
    {409, "Die [[Totale Faktorproduktivität]] im Verhältnis zu den Vereinigten Staaten."},
    {410,
     "Der [[Wechselkurs]]: Einheiten der Landeswährung je US-Dollar im "
     "Jahresdurchschnitt. Kurse unter 0,0001, wie sie frühe Jahre vor Währungsreformen in "
     "heutigen Einheiten ergeben, sind nicht aufgenommen."},
    {411,
     "Das [[Preisniveau]] des Konsums: Kaufkraftparität geteilt durch den Wechselkurs, "
     "Vereinigte Staaten 2011 = 1."},
    {412,
     "Der Anteil des [[Privater Konsum|privaten Konsums]] am Bruttoinlandsprodukt zu "
     "laufenden Kaufkraftparitäten. Werte unter 0 und über 100 % aus Brüchen der "
     "Preisdaten der Quelle sind nicht aufgenommen."},
    {413,
     "Der Anteil der Bruttoinvestitionen am Bruttoinlandsprodukt zu laufenden "
     "Kaufkraftparitäten ([[Investitionsquote]]). Werte unter 0 und über 100 % sind nicht "
     "aufgenommen."},
    {414,
     "Der Anteil des [[Staatsverbrauch|Staatsverbrauchs]] am Bruttoinlandsprodukt zu "
     "laufenden Kaufkraftparitäten. Werte unter 0 und über 100 % sind nicht "
     "aufgenommen."},
    {415,
     "Der Anteil der Warenausfuhr am Bruttoinlandsprodukt zu laufenden "
     "Kaufkraftparitäten ([[Exportquote]]). Werte unter 0 und über 100 % sind nicht "
     "aufgenommen."},
    {416,
     "Der Anteil der Wareneinfuhr am Bruttoinlandsprodukt zu laufenden "
     "Kaufkraftparitäten ([[Importquote]]). Werte unter 0 und über 100 % sind nicht "
     "aufgenommen."},
    {417, "Die [[Einkommensgruppe]] eines Landes nach der Einteilung der Weltbank."},
    {501, "Die Zahl der [[Erwerbstätige|Erwerbstätigen]] in Millionen."},
    {502,
     "Der Anteil der Erwerbstätigen an der gesamten Bevölkerung in Prozent "
     "([[Erwerbstätigenquote]])."},
    {503, "Die durchschnittliche [[Jahresarbeitszeit]] eines Erwerbstätigen in Stunden."},
    {504,
     "Der Anteil der Arbeitseinkommen am Bruttoinlandsprodukt in Prozent "
     "([[Lohnquote]])."},
    {505,
     "Der [[Humankapitalindex]] der Penn World Table, berechnet aus den Schuljahren und "
     "der [[Bildungsrendite]]."},
    {601,
     "Der staatsrechtliche Status: [[Souveräner Staat|unabhängiger Staat]], "
     "[[Abhängiges Gebiet|abhängiges Gebiet]], [[Überseedepartement]] oder "
     "[[Sonderverwaltungszone]]."},
    {602, "Ob ein Land Mitglied der [[Vereinte Nationen|Vereinten Nationen]] ist."},
    {603,
     "Die [[Amtssprache|Amtssprachen]] und verbreiteten "
     "[[Verkehrssprache|Verkehrssprachen]] mit ihren deutschen Namen."},
    {604, "Die [[Währung]] oder Währungen mit ihrem Code nach [[ISO 4217]]."},
    {605, "Die internationale [[Telefonvorwahl]]."},
    {606, "Die Länderkennung im Internet ([[Top-Level-Domain]])."},
};

// The decimals of a column of values: enough for two significant digits of its smallest
// value, at most four; none for counts such as areas and hours.
int ColumnDecimals(const std::vector<std::pair<int, double>>& values, std::size_t from,
                   std::size_t to, int field) {
    if (field == 103 || field == 503) return 0;
    double smallest = 0;
    for (std::size_t i = from; i < to && i < values.size(); ++i) {
        const double v = std::fabs(values[i].second);
        if (v > 0 && (smallest == 0 || v < smallest)) smallest = v;
    }
    if (smallest == 0) return 1;
    // No more decimals than the values have: 0,161 rather than 0,1610.
    int precision = 0;
    for (std::size_t i = from; i < to && i < values.size(); ++i) {
        int d = 0;
        const double v = std::fabs(values[i].second);
        while (d < 4
               && std::fabs(v * std::pow(10.0, d) - std::round(v * std::pow(10.0, d))) > 1e-6) {
            ++d;
        }
        precision = std::max(precision, d);
    }
    return std::min(std::clamp(1 - int(std::floor(std::log10(smallest))), 0, 4), precision);
}

// Numbers up to twelve in words, as German text writes them.
QString NumberWord(int n) {
    static const char* words[] = {"null",   "ein",  "zwei", "drei", "vier", "fünf", "sechs",
                                  "sieben", "acht", "neun", "zehn", "elf",  "zwölf"};
    return n >= 0 && n <= 12 ? QString::fromUtf8(words[n]) : QString::number(n);
}

// Fields whose values are shares or rates: their changes are differences in percentage
// points, not relative changes.
bool IsRate(int field) {
    return field == 204 || field == 207 || field == 208 || field == 405 || field == 502
           || field == 504 || (field >= 412 && field <= 416);
}

}  // namespace

const CFieldDef* CEditionBuild::Field(int id) const {
    auto it = std::find_if(kFields.begin(), kFields.end(),
                           [&](const CFieldDef& d) { return d.id == id; });
    return it == kFields.end() ? nullptr : &*it;
}

bool CEditionBuild::BuildTopicArticles() {
    using namespace PictureRecords;
    const CFacts& f = m_facts;
    for (const CFieldDef& def : kFields) {
        const bool isGroup = def.group == 0;
        const bool yearly = f.series.count(def.id) > 0;
        const bool timeless = f.timeless.count(def.id) > 0;
        const bool text = f.texts.count(def.id) > 0;
        if (!isGroup && !yearly && !timeless && !text) continue;
        CArticle a;
        a.id = kTopicBase + def.id;
        a.typ = 4;
        a.title = QString::fromUtf8(def.title);
        if (isGroup) a.title = "Thema " + a.title;
        a.linkIds << FieldLinkId(def.id);
        QString& html = a.content;
        html += QString("<a name=\"%1\" id=\"%1\"></a>\n").arg(FieldLinkId(def.id));
        auto section = [&](const QString& anchor, const QString& title) {
            html += SectionHeading(anchor, title);
            a.sections.emplace_back(anchor, title);
        };
        if (isGroup) {
            std::vector<QStringList> rows;
            bool numbers = false;
            for (const CFieldDef& child : kFields) {
                if (child.group != def.id) continue;
                QString years;
                if (auto s = f.series.find(child.id); s != f.series.end()) {
                    int first = 9999, last = 0;
                    for (const auto& [land, values] : s->second) {
                        first = std::min(first, values.begin()->first);
                        last = std::max(last, values.rbegin()->first);
                    }
                    years = QString("%1–%2").arg(first).arg(last);
                    numbers = true;
                } else if (f.timeless.count(child.id)) {
                    years = "ohne Jahr";
                    numbers = true;
                } else if (f.texts.count(child.id)) {
                    years = "Text";
                } else {
                    continue;
                }
                rows.push_back(
                    {TextLink(FieldLinkId(child.id), HtmlEscape(QString::fromUtf8(child.title))),
                     HtmlEscape(QString::fromUtf8(child.lang)), years});
            }
            html += Paragraph(QString("Das Thema %1 fasst %2 Datenfelder zusammen. Jedes Feld "
                                      "hat einen eigenen Artikel mit seiner Quelle und der "
                                      "Weltrangliste.")
                                  .arg(HtmlEscape(QString::fromUtf8(def.title)))
                                  .arg(rows.size()),
                              "einleitung");
            section("felder", "Datenfelder");
            html += DataTable({"Datenfeld", "Beschreibung", "Jahre"}, rows);
            if (numbers) {
                html += Paragraph(
                    PictureLink("TABLE", QString::number(TableId(def.id)), "Ländertabelle als Bild")
                        + " · "
                        + PictureLink("STABLE", TableFile(def.id),
                                      "dieselbe Tabelle nach Dateiname"),
                    "bildverweis");
            }
            m_articles.push_back(std::move(a));
            continue;
        }

        const QString lang = QString::fromUtf8(def.lang);
        html += Paragraph(ResolveReferences(QString::fromUtf8(kDescriptions.at(def.id))),
                          "einleitung");
        section("quelle", "Quelle");
        html += Paragraph(HtmlEscape(QString::fromUtf8(kSourceNotes.at(def.sourceKey).longNote))
                          + ".");
        if (const CFieldDef* group = Field(def.group)) {
            html += Paragraph(
                "Thema: "
                + TextLink(FieldLinkId(group->id), HtmlEscape(QString::fromUtf8(group->title))));
        }

        if (yearly || timeless) {
            const int year = yearly ? f.RankingYear(def.id) : 0;
            const auto ranking = f.Ranking(def.id, year);
            int decimals = 0;
            auto value = [&](double v) { return GermanNumber(v, decimals); };
            auto row = [&](std::size_t i) {
                const CLand* land = LandById(ranking[i].first);
                return QStringList{Ordinal(int(i) + 1), LandLink(*land), value(ranking[i].second)};
            };
            section("rangliste",
                    year > 0 ? QString("Weltrangliste %1").arg(year) : QString("Weltrangliste"));
            std::vector<QStringList> top, bottom;
            const std::size_t n = ranking.size();
            const std::size_t bottomFrom = n > 15 ? std::max<std::size_t>(15, n - 15) : n;
            decimals = ColumnDecimals(ranking, 0, std::min<std::size_t>(15, n), def.id);
            for (std::size_t i = 0; i < std::min<std::size_t>(15, n); ++i) top.push_back(row(i));
            decimals = ColumnDecimals(ranking, bottomFrom, n, def.id);
            for (std::size_t i = bottomFrom; i < n; ++i) bottom.push_back(row(i));
            html += Paragraph(
                QString("%1 Länder und Gebiete haben einen Wert%2. %3")
                    .arg(n)
                    .arg(year > 0 ? QString(" für %1").arg(year) : QString())
                    .arg(bottom.empty()
                             ? QString("Die Liste nennt alle.")
                             : QString("Die Listen nennen die ersten und die letzten %1.")
                                   .arg(NumberWord(int(bottom.size())))));
            const QString unit = HtmlEscape(QString::fromUtf8(def.midi));
            html += "<div class=\"spalten\">\n";
            html += DataTable({"Rang", "Land", unit}, top, {0, 2}, "data rang");
            if (!bottom.empty()) {
                html += DataTable({"Rang", "Land", unit}, bottom, {0, 2}, "data rang");
            }
            html += "</div>\n";

            if (yearly && year > 0) {
                // Largest changes over ten years (or the longest span the field has).
                int from = year - 10;
                std::vector<std::pair<int, double>> changes;
                const bool rate = IsRate(def.id);
                for (const auto& [land, v1] : ranking) {
                    auto v0 = f.At(def.id, land, from);
                    if (!v0) continue;
                    if (rate) {
                        changes.emplace_back(land, v1 - *v0);
                    } else if (*v0 > 0 && v1 > 0) {
                        changes.emplace_back(land, (v1 / *v0 - 1) * 100);
                    }
                }
                if (changes.size() >= 6) {
                    std::sort(changes.begin(), changes.end(),
                              [](const auto& x, const auto& y) { return x.second > y.second; });
                    section("veraenderung",
                            QString("Größte Veränderungen %1–%2").arg(from).arg(year));
                    std::vector<std::pair<int, double>> shown;
                    for (const auto& c : changes) {
                        shown.emplace_back(c.first, *f.At(def.id, c.first, from));
                        shown.emplace_back(c.first, *f.At(def.id, c.first, year));
                    }
                    decimals = ColumnDecimals(shown, 0, shown.size(), def.id);
                    auto changeRow = [&](const std::pair<int, double>& c) {
                        const CLand* land = LandById(c.first);
                        QString amount = rate ? QString("%1%2 Prozentpunkte")
                                                    .arg(c.second > 0   ? "+"
                                                         : c.second < 0 ? "−"
                                                                        : "")
                                                    .arg(GermanNumber(std::fabs(c.second), 1))
                                              : GermanPercent(c.second, true);
                        return QStringList{LandLink(*land), value(*f.At(def.id, c.first, from)),
                                           value(*f.At(def.id, c.first, year)), amount};
                    };
                    std::vector<QStringList> up, down;
                    const std::size_t k = std::min<std::size_t>(10, changes.size() / 2);
                    for (std::size_t i = 0; i < k; ++i) up.push_back(changeRow(changes[i]));
                    for (std::size_t i = 0; i < k; ++i) {
                        down.push_back(changeRow(changes[changes.size() - 1 - i]));
                    }
                    html += Paragraph(QString("Die %1 Länder mit dem stärksten Anstieg und die %1 "
                                              "mit dem stärksten Rückgang%2 von %3 bis %4:")
                                          .arg(NumberWord(int(k)))
                                          .arg(rate ? " (in Prozentpunkten)" : QString())
                                          .arg(from)
                                          .arg(year));
                    const QStringList head
                        = {"Land", QString::number(from), QString::number(year), "Veränderung"};
                    html += DataTable(head, up, {1, 2, 3});
                    html += DataTable(head, down, {1, 2, 3});
                }
            }
            if (yearly) {
                section("abbildungen", "Karte und Grafik");
                QStringList links;
                if (def.mapView > 0) {
                    links << PictureLink("GRAPHIC", QString::number(MapId(def.id)),
                                         "Weltkarte " + QString::number(year));
                }
                links << PictureLink("GRAPHIC", QString::number(GraphId(def.id)),
                                     "Verlauf als Grafik");
                links << PictureLink("SGRAPHIC", GraphFile(def.id), "Grafik nach Dateiname");
                html += Paragraph(links.join(" · "), "bildverweis");
            }
        } else {
            // Text fields: how often each value occurs, with the countries that have it.
            section("verteilung", "Verteilung");
            std::map<QString, std::vector<int>, bool (*)(const QString&, const QString&)> byValue(
                &ByGermanTitle);
            const bool lists = def.id == 603 || def.id == 604;
            for (const auto& [land, value] : f.texts.at(def.id)) {
                QStringList parts = lists ? value.split(QRegularExpression(",\\s(?![^(]*\\))"))
                                          : QStringList{value};
                for (const QString& part : parts) byValue[part.trimmed()].push_back(land);
            }
            const bool perCountry = !lists && byValue.size() > 40;
            std::vector<QStringList> rows;
            if (perCountry) {
                // Values that nearly every country has alone (capitals, codes): one line per
                // country.
                std::vector<std::pair<int, QString>> all(f.texts.at(def.id).begin(),
                                                         f.texts.at(def.id).end());
                std::sort(all.begin(), all.end(), [&](const auto& x, const auto& y) {
                    return ByGermanTitle(LandById(x.first)->title, LandById(y.first)->title);
                });
                for (const auto& [land, value] : all) {
                    rows.push_back({LandLink(*LandById(land)), HtmlEscape(value)});
                }
                html += Paragraph(
                    QString("%1 Länder und Gebiete haben eine Angabe.").arg(all.size()));
                html += DataTable({"Land", HtmlEscape(a.title)}, rows);
            } else {
                std::vector<std::pair<QString, std::vector<int>>> sorted(byValue.begin(),
                                                                         byValue.end());
                std::stable_sort(sorted.begin(), sorted.end(), [](const auto& x, const auto& y) {
                    return x.second.size() > y.second.size();
                });
                if (lists && sorted.size() > 30) sorted.resize(30);
                for (auto& [value, lands] : sorted) {
                    std::sort(lands.begin(), lands.end(), [&](int x, int y) {
                        return ByGermanTitle(LandById(x)->title, LandById(y)->title);
                    });
                    QStringList links;
                    for (int land : lands) links << LandLink(*LandById(land));
                    rows.push_back(
                        {HtmlEscape(value), QString::number(lands.size()), links.join(", ")});
                }
                if (lists) {
                    html += Paragraph(
                        "Die dreißig häufigsten Angaben; ein Land kann mehrere haben.");
                }
                html += DataTable({HtmlEscape(a.title), "Anzahl", "Länder und Gebiete"}, rows, {1});
            }
        }
        m_articles.push_back(std::move(a));
    }
    return true;
}

}  // namespace edition
