// The persons (Typ 2): writers, philosophers and composers of the German calendar files of
// BSD's calendar(1), with the dates and places they give. The person panel's filters read
// "Biografien" (SubTyp 2) and "Verstorbene" (SubTyp 3): persons whose death the files record
// are filed under the second, the others under the first. Only
// persons with a birth date are taken; nothing is added that the files do not say, except
// the present-day state of a place and the spelling of names.
#include <QDate>
#include <QRegularExpression>
#include <algorithm>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionHtml.h"
#include "EditionSources.h"

namespace edition {

namespace {

struct CPerson {
    QString name;
    int field = 0;  // 1 literature and philosophy, 2 music
    QDate born, died;
    QString bornIn, diedIn;
    bool baptised = false;  // the file gives the baptism, not the birth
};

// Spellings of the files written without diacritics, and short forms of a name.
QString CorrectName(const QString& name) {
    static const QMap<QString, QString> names = {
        {"Frederic Chopin", "Frédéric Chopin"},
        {"Bela Bartok", "Béla Bartók"},
        {"(Louis) Hector Berlioz", "Hector Berlioz"},
        {"Kant", "Immanuel Kant"},
    };
    return names.value(name, name);
}

QString CorrectPlace(const QString& place) {
    static const QMap<QString, QString> places = {
        {"Zelazowa-Wola bei Warschau", "Żelazowa Wola bei Warschau"},
        {"Nagyszentmiklos", "Nagyszentmiklós"},
        {"Beverley Hills", "Beverly Hills"},
        {"Raiding (Ungarn)", "Raiding"},
    };
    return places.value(place, place);
}

// The state in which a place of the calendar files lies today (alpha-3).
QString StateOfPlace(const QString& place) {
    static const QMap<QString, QString> states = {
        {"Hamburg", "DEU"},
        {"Heerlen", "NLD"},
        {"Königsberg", "RUS"},
        {"Gmunden", "AUT"},
        {"Paris", "FRA"},
        {"Weimar", "DEU"},
        {"Celle", "DEU"},
        {"Prag", "CZE"},
        {"Lübeck", "DEU"},
        {"Stuttgart", "DEU"},
        {"Frankfurt am Main", "DEU"},
        {"Berlin", "DEU"},
        {"Danzig", "POL"},
        {"Marbach", "DEU"},
        {"Düsseldorf", "DEU"},
        {"Neuruppin", "DEU"},
        {"Salzburg", "AUT"},
        {"Lichtenthal bei Wien", "AUT"},
        {"Venedig", "ITA"},
        {"Żelazowa Wola bei Warschau", "POL"},
        {"Nagyszentmiklós", "ROU"},
        {"Wien", "AUT"},
        {"Beverly Hills", "USA"},
        {"München", "DEU"},
        {"Rohrau", "AUT"},
        {"Oneg", "RUS"},
        {"Leipzig", "DEU"},
        {"Bougival bei Paris", "FRA"},
        {"London", "GBR"},
        {"Zwickau", "DEU"},
        {"Bergen", "NOR"},
        {"Kalischt", "CZE"},
        {"Endenich bei Bonn", "DEU"},
        {"Bayreuth", "DEU"},
        {"Garmisch-Partenkirchen", "DEU"},
        {"New York", "USA"},
        {"Raiding", "AUT"},
        {"Eutin", "DEU"},
        {"Hanau", "DEU"},
        {"La-Côte-Saint-André", "FRA"},
        {"Bonn", "DEU"},
    };
    return states.value(place);
}

QString LongDate(const QDate& date) {
    static const char* months[]
        = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
           "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    return QString("%1. %2 %3").arg(date.day()).arg(months[date.month() - 1]).arg(date.year());
}

// Birth, baptism and death lines: "Name in Ort geboren", "Name geboren in Ort", "Name geboren".
void ReadLifeDates(const QString& path, int field, std::vector<CPerson>& persons) {
    static const QRegularExpression line(
        "^(.+?)(?: in (.+?))? (geboren|gestorben|getauft)(?: in (.+))?$");
    for (const CCalendarEntry& e : ReadCalendarFile(path)) {
        if (e.year == 0 || e.day == 0) continue;
        auto m = line.match(e.text);
        if (!m.hasMatch()) continue;
        const QString name = CorrectName(m.captured(1).trimmed());
        const QString place
            = CorrectPlace((m.captured(2).isEmpty() ? m.captured(4) : m.captured(2)).trimmed());
        const QDate date(e.year, e.month, e.day);
        // Entries name a person in full once and by the surname elsewhere.
        auto person = std::find_if(persons.begin(), persons.end(), [&](const CPerson& p) {
            return p.name == name || p.name.endsWith(" " + name.section(' ', -1));
        });
        if (person == persons.end()) {
            persons.push_back({name, field, {}, {}, {}, {}, false});
            person = persons.end() - 1;
        }
        if (name.size() > person->name.size()) person->name = name;
        if (m.captured(3) == "gestorben") {
            person->died = date;
            person->diedIn = place;
        } else {
            person->born = date;
            person->bornIn = place;
            person->baptised = m.captured(3) == "getauft";
        }
    }
}

int AgeAt(const QDate& born, const QDate& died) {
    int age = died.year() - born.year();
    if (died.month() < born.month() || (died.month() == born.month() && died.day() < born.day())) {
        --age;
    }
    return age;
}

}  // namespace

bool CEditionBuild::BuildPersons() {
    std::vector<CPerson> persons;
    ReadLifeDates(kSystemCalendarLiteratur, 1, persons);
    ReadLifeDates(kSystemCalendarMusik, 2, persons);
    persons.erase(std::remove_if(persons.begin(), persons.end(),
                                 [](const CPerson& p) { return !p.born.isValid(); }),
                  persons.end());
    std::sort(persons.begin(), persons.end(), [](const CPerson& a, const CPerson& b) {
        return ByGermanTitle(a.name.section(' ', -1) + a.name, b.name.section(' ', -1) + b.name);
    });
    // Dated events of German history from the same package, for the years of a life.
    QList<CCalendarEntry> history = ReadCalendarFile(kSystemCalendarGeschichte);
    history.erase(std::remove_if(history.begin(), history.end(),
                                 [](const CCalendarEntry& e) { return e.year == 0; }),
                  history.end());
    std::stable_sort(history.begin(), history.end(), [](const auto& a, const auto& b) {
        return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
    });

    int next = kPersonBase + 1;
    std::vector<int> ids;
    for (std::size_t i = 0; i < persons.size(); ++i) ids.push_back(next++);
    for (std::size_t i = 0; i < persons.size(); ++i) {
        const CPerson& p = persons[i];
        const CLand* home = LandByIso3(StateOfPlace(p.bornIn));
        CArticle a;
        a.id = ids[i];
        a.typ = 2;
        a.subTyp = p.died.isValid() ? 3 : 2;
        a.title = p.name;
        a.landId = home ? home->id : 0;
        a.linkIds << ArticleLinkId(a.id);
        QString& html = a.content;
        html += QString("<a name=\"%1\" id=\"%1\"></a>\n").arg(ArticleLinkId(a.id));
        auto section = [&](const QString& anchor, const QString& title) {
            html += SectionHeading(anchor, title);
            a.sections.emplace_back(anchor, title);
        };
        const QString name = HtmlEscape(p.name);
        QString lead = QString("%1 wurde am %2%3 %4")
                           .arg(name, LongDate(p.born),
                                p.bornIn.isEmpty() ? QString() : " in " + HtmlEscape(p.bornIn),
                                p.baptised ? "getauft" : "geboren");
        if (p.died.isValid()) {
            lead += QString(" und starb am %1%2 im Alter von %3 Jahren")
                        .arg(LongDate(p.died),
                             p.diedIn.isEmpty() ? QString() : " in " + HtmlEscape(p.diedIn))
                        .arg(AgeAt(p.born, p.died));
        }
        lead += ".";
        if (p.baptised)
            lead += " Sein Geburtstag ist nicht überliefert; bekannt ist der Tag der Taufe.";
        html += Paragraph(lead, "einleitung");

        section("lebensdaten", "Lebensdaten");
        std::vector<std::pair<QString, QString>> facts;
        facts.emplace_back(
            p.baptised ? "Getauft" : "Geboren",
            LongDate(p.born) + (p.bornIn.isEmpty() ? "" : ", " + HtmlEscape(p.bornIn)));
        if (p.died.isValid()) {
            facts.emplace_back(
                "Gestorben",
                LongDate(p.died) + (p.diedIn.isEmpty() ? "" : ", " + HtmlEscape(p.diedIn)));
        }
        if (home) {
            facts.emplace_back("Geburtsort heute in", LandLink(*home));
        }
        facts.emplace_back("Bereich", p.field == 1 ? "Literatur und Philosophie" : "Musik");
        html += FactTable(facts);

        // Events of German history during the lifetime.
        const int until = p.died.isValid() ? p.died.year() : 9999;
        QStringList events;
        for (const CCalendarEntry& e : history) {
            if (e.year < p.born.year() || e.year > until) continue;
            events << QString("<li><span class=\"jahr\">%1</span> %2</li>")
                          .arg(e.year)
                          .arg(HtmlEscape(e.text));
        }
        if (!events.isEmpty()) {
            section("zeitgeschehen", "Zeitgeschehen");
            html += Paragraph(
                QString("Ereignisse der deutschen Geschichte in den Lebensjahren "
                        "(%1 bis %2):")
                    .arg(p.born.year())
                    .arg(p.died.isValid() ? QString::number(p.died.year()) : QString("heute")));
            html += "<ul class=\"chronik\">\n" + events.join('\n') + "\n</ul>\n";
        }

        // Persons of this edition whose lives overlap.
        QStringList contemporaries;
        for (std::size_t k = 0; k < persons.size(); ++k) {
            const CPerson& q = persons[k];
            if (k == i) continue;
            const int qUntil = q.died.isValid() ? q.died.year() : 9999;
            if (q.born.year() <= until && p.born.year() <= qUntil) {
                contemporaries << TextLink(ArticleLinkId(ids[k]), HtmlEscape(q.name));
            }
        }
        if (!contemporaries.isEmpty()) {
            section("zeitgenossen", "Zeitgenossen in dieser Ausgabe");
            html += Paragraph(contemporaries.join(", "));
        }
        html += Note(
            "Lebensdaten: die deutschen Kalenderdateien von calendar(1) aus BSD "
            "(Debian-Paket calendar, BSD-Lizenz).");
        m_articles.push_back(std::move(a));
    }
    return true;
}

}  // namespace edition
