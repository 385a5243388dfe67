// The rows of the picture records (Typ 9), by the scheme of PictureRecords.h.
#include "PictureRecords.h"

#include <set>

#include "EditionBuild.h"
#include "EditionCharts.h"
#include "EditionGerman.h"
#include "EditionHtml.h"

namespace edition {

bool CEditionBuild::BuildPictureRecords() {
    using namespace PictureRecords;
    auto add = [&](int id, int subTyp, const QString& title, const QString& file, int landId,
                   const QString& description) {
        CArticle a;
        a.id = id;
        a.typ = 9;
        a.subTyp = subTyp;
        a.title = title;
        a.abbildung = file;
        a.landId = landId;
        a.linkIds << LinkId(file);
        a.content = Paragraph(HtmlEscape(description));
        m_articles.push_back(std::move(a));
    };
    std::map<int, bool> groupHasNumbers;
    for (const CFieldDef& def : kFields) {
        if (def.group == 0) continue;
        const QString midi = QString::fromUtf8(def.midi);
        const QString lang = QString::fromUtf8(def.lang);
        const bool yearly = m_facts.series.count(def.id) > 0;
        if (yearly || m_facts.timeless.count(def.id) > 0) groupHasNumbers[def.group] = true;
        if (!yearly) continue;
        int first = 9999, last = 0;
        for (const auto& [land, years] : m_facts.series.at(def.id)) {
            first = std::min(first, years.begin()->first);
            last = std::max(last, years.rbegin()->first);
        }
        const int year = m_facts.RankingYear(def.id);
        if (def.mapView > 0) {
            add(MapId(def.id), kSubTypMap, QString("%1 %2: Weltkarte").arg(midi).arg(year),
                MapFile(def.id), 0,
                QString("Weltkarte: %1 im Jahr %2, die Länder nach Wertklassen eingefärbt.")
                    .arg(lang)
                    .arg(year));
        }
        // The graph has the world's average only where an average over countries means
        // something (EditionCharts.h).
        add(GraphId(def.id), kSubTypGraph,
            QString("%1 %2–%3: Verlauf").arg(midi).arg(first).arg(last), GraphFile(def.id), 0,
            QString("Grafik: %1 von %2 bis %3 im Verlauf, für die zehn bevölkerungsreichsten "
                    "Länder%4.")
                .arg(lang)
                .arg(first)
                .arg(last)
                .arg(WorldAverage(m_facts, def.id).empty() ? QString()
                                                           : " und den Durchschnitt der Welt"));
    }
    for (const CFieldDef& def : kFields) {
        if (def.group != 0 || !groupHasNumbers[def.id]) continue;
        const QString title = QString::fromUtf8(def.title);
        // The table shows the first countries of the group's ranking field.
        const int ranking = TableRankingField(m_facts, def.id);
        const int year = m_facts.series.count(ranking) ? m_facts.RankingYear(ranking) : 0;
        QString order = QString("„%1“").arg(QString::fromUtf8(Field(ranking)->title));
        if (year > 0) order += QString(" im Jahr %1").arg(year);
        add(TableId(def.id), kSubTypTable, QString("%1: Ländertabelle").arg(title),
            TableFile(def.id), 0,
            QString("Tabelle: die Zahlen des Themas %1 für die ersten %2 Länder, geordnet nach "
                    "%3.")
                .arg(title)
                .arg(kTableRows)
                .arg(order));
    }
    std::set<int> withData;
    for (const CDataRow& row : m_rows) withData.insert(row.landId);
    for (const CLand& land : m_lands) {
        if (!withData.count(land.id)) continue;
        const QString genitive = CountryForms(land.cca3, land.title).genitive;
        // A territory without yearly values gets a panel of its facts only.
        add(PanelId(land.id), kSubTypGraph, QString("%1: Kennzahlen").arg(land.title),
            PanelFile(land.cca3), land.id,
            HasIndicators(m_facts, land.id)
                ? QString("Kennzahlen %1 auf einen Blick: Bevölkerung, Wirtschaft, "
                          "Lebenserwartung und mehr im Verlauf, mit dem Weltrang.")
                      .arg(genitive)
                : QString("Kennzahlen %1 auf einen Blick: Lage, Fläche und Status.").arg(genitive));
    }
    return true;
}

}  // namespace edition
