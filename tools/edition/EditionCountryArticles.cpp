// The country articles ("Länderinfo", Typ 1): one per country, composed from the edition's
// facts in German sentences.
#include <QJsonArray>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionHtml.h"
#include "PictureRecords.h"

namespace edition {

namespace {

// "in Mitteleuropa", "in der Karibik", "im südlichen Afrika".
QString InRegion(const QString& region) {
    if (region == "Karibik") return "in der Karibik";
    if (region == "Antarktis") return "in der Antarktis";
    if (region == "Südliches Afrika") return "im südlichen Afrika";
    if (region == "Australien und Neuseeland") return "in Ozeanien";
    return "in " + region;
}

// The status as a predicate: "ein unabhängiger Staat", "eine Sonderverwaltungszone ...".
QString StatusPredicate(const QString& status) {
    if (status.isEmpty()) return {};
    QString lower = status;
    const QString first = status.section(' ', 0, 0);
    // Adjectives lose their capital inside the sentence; nouns keep it.
    if (first.endsWith("es") || first.endsWith("er") || first.endsWith("e")) {
        if (first != "Sonderverwaltungszone" && first != "Überseedepartement") {
            lower = status.left(1).toLower() + status.mid(1);
        }
    }
    if (first == "Besondere") return lower;
    if (first == "Sonderverwaltungszone" || first == "Autonome") return "eine " + lower;
    return "ein " + lower;
}

// A population in words: "82,1 Millionen", "38.300", "rund 50".
QString People(double millions) {
    if (millions >= 1) return GermanNumber(millions, 1) + "\u00a0Millionen";
    double people = millions * 1e6;
    if (people >= 10000) return GermanNumber(std::round(people / 100) * 100, 0);
    if (people >= 1000) return GermanNumber(std::round(people / 10) * 10, 0);
    return GermanNumber(std::round(people), 0);
}

// A population density: whole numbers from 10 on, a thin settlement with its digits.
QString Density(double perKm2) {
    if (perKm2 >= 10) return GermanNumber(perKm2, 0);
    if (perKm2 >= 1) return GermanNumber(perKm2, 1);
    return GermanNumberAuto(perKm2);
}

// The income group of the World Bank in the dative ("mit hohem Einkommen").
QString IncomeDative(const QString& group) {
    static const QMap<QString, QString> forms = {
        {"hohes Einkommen", "hohem Einkommen"},
        {"oberes mittleres Einkommen", "oberem mittlerem Einkommen"},
        {"unteres mittleres Einkommen", "unterem mittlerem Einkommen"},
        {"niedriges Einkommen", "niedrigem Einkommen"},
    };
    return forms.value(group);
}

// "der Euro (EUR)", "die Dänische Krone (DKK)", "das Pfund Sterling (GBP)".
QString WithArticle(const QString& currency) {
    static const QRegularExpression feminine(
        "(Krone|Rupie|Rupiah|Lira|Mark|Hrywnja|Pataca|Ouguiya|Gourde|Lempira|Pula|Rufiyaa)\\b");
    if (currency.contains("Pfund")) return "das " + currency;
    if (feminine.match(currency).hasMatch()) return "die " + currency;
    return "der " + currency;
}

// "um 3,4 % gewachsen" and its opposites, for a relative change.
QString Change(double percent, const char* up, const char* down) {
    return QString("um %1 %2").arg(GermanPercent(std::fabs(percent)), percent >= 0 ? up : down);
}

}  // namespace

QString CEditionBuild::LandLink(const CLand& land, const QString& text) const {
    return TextLink(LandLinkId(land.id), HtmlEscape(text.isEmpty() ? land.title : text));
}

bool CEditionBuild::BuildCountryArticles() {
    const CFacts& f = m_facts;
    for (const CLand& land : m_lands) {
        const CCountryForms forms = CountryForms(land.cca3, land.title);
        const QString name = HtmlEscape(forms.nominative);
        const QString Name = Capitalised(name);
        const QString is = forms.plural ? "sind" : "ist";
        // A pronoun would need the name's gender; the name itself reads well enough.
        const QString self = HtmlEscape(land.title);
        CArticle a;
        a.id = kCountryArticleBase + land.id;
        a.typ = 1;
        a.title = land.title;
        a.abbildung = land.cca3 + ".gif";
        a.landId = land.id;
        a.linkIds << LandLinkId(land.id);
        QString& html = a.content;
        html += QString("<a name=\"%1\" id=\"%1\"></a>\n").arg(LandLinkId(land.id));
        auto section = [&](const QString& anchor, const QString& title) {
            html += SectionHeading(anchor, title);
            a.sections.emplace_back(anchor, title);
        };

        const QString status = f.Text(601, land.id);
        const QString region = f.Text(102, land.id);
        const QString continent = f.Text(101, land.id);
        const QString capital = f.Text(104, land.id);
        QString lead = Name + " " + is + " " + StatusPredicate(status);
        // Antarctica lies in no region but itself.
        if (!region.isEmpty() && land.cca3 != "ATA") {
            lead += " " + InRegion(region);
            if (!continent.isEmpty() && region != "Antarktis"
                && !region.contains(continent, Qt::CaseInsensitive)) {
                lead += " (" + continent + ")";
            }
        }
        lead += ".";
        if (!capital.isEmpty()) {
            lead += QString(" %1 ist %2.")
                        .arg(land.landTyp == 1 ? "Die Hauptstadt" : "Der Hauptort",
                             HtmlEscape(capital));
        }
        html += Paragraph(lead, "einleitung");

        // Fact box.
        section("steckbrief", "Steckbrief");
        std::vector<std::pair<QString, QString>> facts;
        facts.emplace_back(land.landTyp == 1 ? "Hauptstadt" : "Hauptort", HtmlEscape(capital));
        facts.emplace_back("Lage", HtmlEscape(region.isEmpty() || region == continent
                                                  ? continent
                                                  : region + ", " + continent));
        const auto area = f.At(103, land.id, 0);
        if (area) facts.emplace_back("Fläche", GermanNumber(*area, 0) + "\u00a0km²");
        auto population = f.Latest(201, land.id);
        int populationField = 201;
        if (!population) {
            population = f.Latest(202, land.id);
            populationField = 202;
        }
        if (population) {
            facts.emplace_back(
                "Einwohner",
                QString("%1 (%2)").arg(People(population->second)).arg(population->first));
        }
        if (auto density = f.Latest(205, land.id)) {
            facts.emplace_back("Bevölkerungsdichte",
                               Density(density->second) + " Einwohner je km²");
        }
        facts.emplace_back("Sprachen", HtmlEscape(f.Text(603, land.id)));
        facts.emplace_back("Währung", HtmlEscape(f.Text(604, land.id)));
        if (auto perHead = f.Latest(404, land.id)) {
            facts.emplace_back("BIP je Einwohner", QString("%1 US-$ (%2, Kaufkraftparität)")
                                                       .arg(GermanNumber(perHead->second, 0))
                                                       .arg(perHead->first));
        }
        if (auto life = f.Latest(301, land.id)) {
            facts.emplace_back(
                "Lebenserwartung",
                QString("%1 Jahre (%2)").arg(GermanNumber(life->second, 1)).arg(life->first));
        }
        facts.emplace_back("Status", HtmlEscape(status));
        facts.emplace_back("Mitglied der UNO", f.Text(602, land.id));
        facts.emplace_back("Telefonvorwahl", HtmlEscape(f.Text(605, land.id)));
        facts.emplace_back("Internet-Domain", HtmlEscape(f.Text(606, land.id)));
        html += FactTable(facts);
        html += Paragraph(
            PictureLink("SGRAPHIC", PictureRecords::PanelFile(land.cca3), "Kennzahlen als Grafik"),
            "bildverweis");

        // Position and neighbours.
        section("lage", "Lage und Nachbarn");
        QString position;
        if (area) {
            const int rank = f.Rank(103, 0, land.id);
            position += QString(
                            "Mit einer Fläche von %1\u00a0km² %2 %3 unter den %4 Ländern "
                            "und Gebieten dieser Ausgabe an %5 Stelle.")
                            .arg(GermanNumber(*area, 0), forms.plural ? "stehen" : "steht", name)
                            .arg(f.Ranking(103, 0).size())
                            .arg(Ordinal(rank));
        }
        const QString latlng = f.Text(105, land.id);
        if (!latlng.isEmpty()) {
            position += QString(" Der geographische Mittelpunkt liegt bei etwa %1.")
                            .arg(HtmlEscape(latlng));
        }
        std::vector<const CLand*> neighbours;
        for (const QJsonValue& b : land.json["borders"].toArray()) {
            if (const CLand* n = LandByIso3(b.toString())) neighbours.push_back(n);
        }
        std::sort(neighbours.begin(), neighbours.end(),
                  [](const CLand* x, const CLand* y) { return ByGermanTitle(x->title, y->title); });
        if (neighbours.empty()) {
            position += QString(" %1 %2 keine Landgrenze zu einem anderen Staat.")
                            .arg(Name, forms.plural ? "haben" : "hat");
        } else {
            QStringList links;
            for (const CLand* n : neighbours) {
                links << LandLink(*n, CountryForms(n->cca3, n->title).accusative);
            }
            position += QString(" %1 %2 an %3.")
                            .arg(Name, forms.plural ? "grenzen" : "grenzt", JoinGerman(links));
        }
        if (f.Text(107, land.id) == "ja") {
            position += QString(" %1 %2 ein Binnenstaat ohne Zugang zum Meer.").arg(Name, is);
        }
        html += Paragraph(position.trimmed());

        // Population.
        if (population) {
            section("bevoelkerung", "Bevölkerung");
            const auto [year, millions] = *population;
            QString text = QString("Im Jahr %1 lebten %2 %3 Menschen")
                               .arg(year)
                               .arg(HtmlEscape(InCountry(forms)), People(millions));
            if (int rank = f.Rank(populationField, year, land.id); rank > 0) {
                text += QString("; das ist Rang %1 unter %2 Ländern und Gebieten mit Angaben")
                            .arg(rank)
                            .arg(f.Ranking(populationField, year).size());
            }
            text += ".";
            if (auto density = f.At(205, land.id, year)) {
                text += QString(
                            " Auf einem Quadratkilometer wohnten damit durchschnittlich %1 "
                            "Menschen (Rang %2).")
                            .arg(Density(*density))
                            .arg(f.Rank(205, year, land.id));
            }
            if (auto before = f.At(populationField, land.id, year - 10); before && *before > 0) {
                const double change = (millions / *before - 1) * 100;
                text += QString(" Gegenüber %1 ist die Bevölkerung %2.")
                            .arg(year - 10)
                            .arg(Change(change, "gewachsen", "zurückgegangen"));
            }
            if (auto urban = f.Latest(207, land.id)) {
                text += QString(" Im Jahr %1 lebten %2 der Einwohner in Städten.")
                            .arg(urban->first)
                            .arg(GermanPercent(urban->second));
            }
            if (auto fertility = f.Latest(209, land.id)) {
                text += QString(" Eine Frau brachte %1 durchschnittlich %2 Kinder zur Welt.")
                            .arg(fertility->first)
                            .arg(GermanNumber(fertility->second, 2));
            }
            html += Paragraph(text);
        }

        // Economy.
        const auto gdp = f.Latest(401, land.id);
        const auto perHead = f.Latest(404, land.id);
        const QString income = f.Text(417, land.id);
        if (gdp || perHead || !income.isEmpty()) {
            section("wirtschaft", "Wirtschaft");
            QString text;
            if (gdp) {
                text += QString(
                            "Das Bruttoinlandsprodukt betrug %1, in Kaufkraftparitäten "
                            "gerechnet, %2\u00a0Mrd. US-Dollar (Rang %3).")
                            .arg(gdp->first)
                            .arg(GermanNumberAuto(gdp->second))
                            .arg(f.Rank(401, gdp->first, land.id));
            }
            if (perHead) {
                text += QString(" Je Einwohner waren das %1 US-Dollar (Rang %2 unter %3).")
                            .arg(GermanNumber(perHead->second, 0))
                            .arg(f.Rank(404, perHead->first, land.id))
                            .arg(f.Ranking(404, perHead->first).size());
            }
            if (auto real = f.Latest(403, land.id)) {
                if (auto before = f.At(403, land.id, real->first - 10); before && *before > 0) {
                    const double total = (real->second / *before - 1) * 100;
                    const double yearly = (std::pow(real->second / *before, 0.1) - 1) * 100;
                    text += QString(
                                " Von %1 bis %2 %3 die reale Wirtschaftsleistung insgesamt "
                                "um %4, im Durchschnitt um %5 im Jahr.")
                                .arg(real->first - 10)
                                .arg(real->first)
                                .arg(total >= 0 ? "wuchs" : "schrumpfte",
                                     GermanPercent(std::fabs(total)),
                                     GermanPercent(std::fabs(yearly)));
                }
            }
            if (auto investment = f.Latest(413, land.id)) {
                text += QString(
                            " Der Anteil der Investitionen an der Wirtschaftsleistung lag "
                            "%1 bei %2.")
                            .arg(investment->first)
                            .arg(GermanPercent(investment->second));
            }
            if (!income.isEmpty()) {
                text += QString(" Die Weltbank zählt %1 zu den Ländern mit %2.")
                            .arg(HtmlEscape(forms.accusative), IncomeDative(income));
            }
            html += Paragraph(text.trimmed());
        }

        // Society.
        const auto life = f.Latest(301, land.id);
        const auto infants = f.Latest(302, land.id);
        const auto employment = f.Latest(502, land.id);
        const auto human = f.Latest(505, land.id);
        if (life || infants || employment || human) {
            section("gesellschaft", "Gesellschaft");
            QString text;
            if (life) {
                text += QString(
                            "Ein %1 geborenes Kind konnte mit einer Lebenserwartung von %2 "
                            "Jahren rechnen (Rang %3).")
                            .arg(life->first)
                            .arg(GermanNumber(life->second, 1))
                            .arg(f.Rank(301, life->first, land.id));
            }
            if (infants) {
                text += QString(
                            " Von 1.000 Lebendgeborenen starben %1 im ersten Lebensjahr "
                            "(%2).")
                            .arg(GermanNumber(infants->second, 1))
                            .arg(infants->first);
            }
            if (employment) {
                text += QString(" Im Jahr %1 waren %2 der Einwohner erwerbstätig.")
                            .arg(employment->first)
                            .arg(GermanPercent(employment->second));
            }
            if (human) {
                text += QString(
                            " Der %1, ein Maß für die Dauer und den Ertrag der "
                            "Schulbildung, lag %2 bei %3.")
                            .arg(GlossaryLink("Humankapitalindex"))
                            .arg(human->first)
                            .arg(GermanNumber(human->second, 2));
            }
            html += Paragraph(text.trimmed());
        }

        // State and memberships.
        section("staat", "Staat und Mitgliedschaften");
        {
            // Dependent areas are not members in their own right; only states are named.
            QString text;
            if (land.landTyp == 1 || f.Text(602, land.id) == "ja") {
                text = f.Text(602, land.id) == "ja"
                           ? QString("%1 %2 Mitglied der Vereinten Nationen.").arg(Name, is)
                           : QString("%1 %2 kein Mitglied der Vereinten Nationen.").arg(Name, is);
            }
            const QStringList languages = f.Text(603, land.id).split(", ", Qt::SkipEmptyParts);
            if (languages.size() == 1) {
                text += " Als Amts- oder Verkehrssprache gilt " + HtmlEscape(languages[0]) + ".";
            } else if (languages.size() > 1) {
                text += " Als Amts- und Verkehrssprachen gelten "
                        + HtmlEscape(JoinGerman(languages)) + ".";
            }
            const QStringList currencies
                = f.Text(604, land.id).split(QRegularExpression("\\), "), Qt::SkipEmptyParts);
            QStringList withArticles;
            for (QString c : currencies) {
                if (!c.endsWith(')')) c += ')';
                withArticles << WithArticle(c);
            }
            if (withArticles.size() == 1) {
                text += " Landeswährung ist " + HtmlEscape(withArticles[0]) + ".";
            } else if (withArticles.size() > 1) {
                text += " Als Währungen gelten " + HtmlEscape(JoinGerman(withArticles)) + ".";
            }
            const QString phone = f.Text(605, land.id), domain = f.Text(606, land.id);
            if (!phone.isEmpty() && !domain.isEmpty()) {
                text += QString(
                            " Die internationale Telefonvorwahl lautet %1, die Kennung im "
                            "Internet %2.")
                            .arg(HtmlEscape(phone), HtmlEscape(domain));
            }
            html += Paragraph(text);
            QStringList memberships;
            for (const COrganisation& o : m_organisations) {
                if (std::find(o.members.begin(), o.members.end(), land.id) != o.members.end()) {
                    memberships << TextLink(ArticleLinkId(o.id), HtmlEscape(o.name));
                }
            }
            if (!memberships.isEmpty()) {
                html += Paragraph(QString("%1 %2 Mitglied in folgenden Organisationen dieser "
                                          "Ausgabe: %3.")
                                      .arg(Name, is, JoinGerman(memberships)));
            }
        }

        // History of the series, decade by decade.
        std::vector<int> decades;
        for (int field : {201, 404, 301}) {
            auto s = f.series.find(field);
            if (s == f.series.end()) continue;
            auto l = s->second.find(land.id);
            if (l == s->second.end()) continue;
            for (const auto& [year, value] : l->second) {
                if (std::find(decades.begin(), decades.end(), year / 10 * 10) == decades.end()) {
                    decades.push_back(year / 10 * 10);
                }
            }
        }
        std::sort(decades.begin(), decades.end());
        if (!decades.empty()) {
            section("entwicklung", "Entwicklung in Zahlen");
            html += Paragraph(QString("Wie sich Bevölkerung, Wirtschaftsleistung und "
                                      "Lebenserwartung %1 von Jahrzehnt zu Jahrzehnt verändert "
                                      "haben:")
                                  .arg(HtmlEscape(InCountry(forms))));
            int number = 0;
            for (int decade : decades) {
                struct CSpan {
                    int field;
                    const char* subject;
                    const char* up;
                    const char* down;
                    const char* unit;
                    int decimals;
                };
                const CSpan spans[] = {
                    {201, "Die Bevölkerung", "wuchs", "ging", "Millionen", 2},
                    {404, "Das Bruttoinlandsprodukt je Einwohner", "stieg", "sank", "US-Dollar", 0},
                    {301, "Die Lebenserwartung", "stieg", "sank", "Jahre", 1},
                };
                QStringList sentences;
                int first = 0, last = 0;
                for (const CSpan& span : spans) {
                    auto s = f.series.find(span.field);
                    if (s == f.series.end()) continue;
                    auto l = s->second.find(land.id);
                    if (l == s->second.end()) continue;
                    auto from = l->second.lower_bound(decade);
                    auto to = l->second.lower_bound(decade + 10);
                    if (from == l->second.end() || from == to) continue;
                    --to;
                    if (from->first == to->first) continue;
                    first = first == 0 ? from->first : std::min(first, from->first);
                    last = std::max(last, to->first);
                    const double a0 = from->second, a1 = to->second;
                    QString v0 = GermanNumber(a0, span.decimals),
                            v1 = GermanNumber(a1, span.decimals);
                    if (span.field == 201 && a1 < 1) {
                        v0 = People(a0);
                        v1 = People(a1);
                    }
                    const char* unit = span.field == 201 && a1 < 1 ? "Menschen" : span.unit;
                    QString sentence;
                    if (a1 >= a0) {
                        sentence = QString("%1 %2 von %3 (%4) auf %5 %6 (%7)")
                                       .arg(span.subject, span.up, v0)
                                       .arg(from->first)
                                       .arg(v1, unit)
                                       .arg(to->first);
                    } else if (span.field == 201) {
                        sentence = QString("%1 %2 von %3 (%4) auf %5 %6 (%7) zurück")
                                       .arg(span.subject, span.down, v0)
                                       .arg(from->first)
                                       .arg(v1, unit)
                                       .arg(to->first);
                    } else {
                        sentence = QString("%1 %2 von %3 (%4) auf %5 %6 (%7)")
                                       .arg(span.subject, span.down, v0)
                                       .arg(from->first)
                                       .arg(v1, unit)
                                       .arg(to->first);
                    }
                    if (a0 > 0) {
                        sentence += QString(", eine Veränderung um %1")
                                        .arg(GermanPercent((a1 / a0 - 1) * 100, true));
                    }
                    sentences << sentence + ".";
                }
                if (sentences.isEmpty()) continue;
                ++number;
                const QString anchor = QString("entwicklung-%1").arg(decade);
                const QString title
                    = QString("%1 %2 bis %3").arg(Ordinal(number)).arg(first).arg(last);
                html += SectionHeading(anchor, title, 3);
                a.sections.emplace_back(anchor, title, 3);
                html += Paragraph(sentences.join(' '));
            }
        }

        section("quellen", "Quellen");
        html += Note(QString("Zahlen: Penn World Table 9.1, Gapminder und Weltbank; Länderangaben: "
                             "world-countries, Unicode CLDR und GeoNames. Ränge zählen alle "
                             "Länder und Gebiete mit Angaben für dasselbe Jahr. Einzelheiten "
                             "und Lizenzen nennt die %1.")
                         .arg(TextLink(ArticleLinkId(kHelpId + 1), "Übersicht der Quellen")));
        m_articles.push_back(std::move(a));
    }
    return true;
}

}  // namespace edition
