// The graphs of the data fields (the most populous countries over the years, with the
// world's average) and the indicator panels of the countries.
#include <QSet>
#include <algorithm>

#include "ChartScale.h"
#include "EditionBuild.h"
#include "EditionCharts.h"
#include "EditionGerman.h"

namespace edition {

namespace {

// The indicators of a country's panel in the order they are offered; each takes the first
// of its fields that the country has. The first six the country has are shown.
struct CIndicator {
    const char* title;
    std::vector<int> fields;
};

const std::vector<CIndicator> kIndicators = {
    {"Bevölkerung", {201, 202, 203}},  {"BIP je Einwohner", {404, 407}},
    {"Lebenserwartung", {301}},        {"Geburtenziffer", {209}},
    {"Säuglingssterblichkeit", {302}}, {"Stadtbevölkerung", {207}},
    {"Wirtschaftswachstum", {405}},    {"Bevölkerungswachstum", {204}},
    {"Erwerbstätige", {502}},          {"Humankapitalindex", {505}},
    {"Bevölkerungsdichte", {205}},
};
constexpr int kPanelTiles = 6;

QString SourceLine(const QStringList& notes) {
    return (notes.size() > 1 ? "Quellen: " : "Quelle: ") + notes.join("; ");
}

QString WeightName(int weightField) {
    switch (weightField) {
        case 401:
            return "nach dem Bruttoinlandsprodukt";
        case 501:
            return "nach der Zahl der Erwerbstätigen";
        case 206:
            return "nach der Stadtbevölkerung";
        default:
            return "nach der Bevölkerung";
    }
}

}  // namespace

bool HasIndicators(const CFacts& facts, int landId) {
    for (const CIndicator& indicator : kIndicators) {
        for (int field : indicator.fields) {
            if (facts.Latest(field, landId)) return true;
        }
    }
    return false;
}

const std::map<int, double>& CEditionBuild::WorldAverageOf(int field) const {
    static const std::map<int, double> kNone;
    auto it = m_worldAverages.find(field);
    return it == m_worldAverages.end() ? kNone : it->second;
}

chart::CLineChart CEditionBuild::FieldGraph(int field) const {
    chart::CLineChart graph;
    const CFieldDef* def = Field(field);
    auto series = m_facts.series.find(field);
    if (!def || series == m_facts.series.end()) return graph;
    const int populationYear = m_facts.RankingYear(kPopulationField);
    const std::vector<int> lands = LargestCountries(m_facts);
    std::vector<double> latest, plotted;
    for (std::size_t i = 0; i < lands.size(); ++i) {
        const CLand* land = LandById(lands[i]);
        auto values = series->second.find(lands[i]);
        if (!land || values == series->second.end() || values->second.empty()) continue;
        chart::CSeries s;
        s.name = land->title;
        s.color = chart::SeriesColor(int(i));
        s.values = values->second;
        latest.push_back(s.values.rbegin()->second);
        for (const auto& [year, value] : s.values) plotted.push_back(value);
        graph.series.push_back(std::move(s));
    }
    int first = 9999, last = 0;
    for (const auto& [land, years] : series->second) {
        first = std::min(first, years.begin()->first);
        last = std::max(last, years.rbegin()->first);
    }
    const std::map<int, double>& world = WorldAverageOf(field);
    if (!world.empty()) {
        chart::CSeries s;
        s.name = "Welt (Durchschnitt)";
        s.color = chart::kReference;
        s.reference = true;
        s.values = world;
        graph.series.push_back(std::move(s));
    }
    if (!plotted.empty()) {
        auto [lo, hi] = std::minmax_element(plotted.begin(), plotted.end());
        graph.logScale = chart::WantsLogScale(*lo, *hi);
    }
    graph.title = QString::fromUtf8(def->title);
    QString whose = QString("die zehn bevölkerungsreichsten Länder (%1)").arg(populationYear);
    if (!world.empty()) whose += " und der Durchschnitt der Welt";
    graph.subtitle = QString("%1\n%2–%3 · %4")
                         .arg(QString::fromUtf8(def->lang))
                         .arg(first)
                         .arg(last)
                         .arg(whose);
    if (graph.logScale) graph.subtitle += " · logarithmische Skala";
    graph.unit = UnitOf(QString::fromUtf8(def->midi));
    if (graph.unit.isEmpty() && QString::fromUtf8(def->midi) != QString::fromUtf8(def->title)) {
        graph.unit = QString::fromUtf8(def->midi);
    }
    QStringList notes = {QString::fromUtf8(kSourceNotes.at(def->sourceKey).longNote)};
    if (!world.empty()) {
        notes << "Welt: Durchschnitt der Länder mit Angaben, gewichtet "
                     + WeightName(WorldWeightField(field));
    }
    graph.source = SourceLine(notes);
    // The countries' values decide the decimals; the world's average has any number of them.
    graph.decimals = ValueDecimals(*def, latest);
    return graph;
}

chart::CPanel CEditionBuild::CountryPanel(const CLand& land) const {
    chart::CPanel panel;
    panel.name = land.title;
    panel.flag = m_flagIcons.value(land.cca3);
    const QString continent = m_facts.Text(101, land.id), region = m_facts.Text(102, land.id);
    const QString capital = m_facts.Text(104, land.id);
    const std::optional<double> area = m_facts.At(103, land.id, 0);
    QStringList facts;
    if (!continent.isEmpty()) facts << continent;
    if (!region.isEmpty() && region != continent) facts << region;
    if (!capital.isEmpty()) facts << "Hauptstadt " + capital;
    // Small areas keep their decimals (the Holy See has 0,44 km²).
    const QString areaText
        = area ? chart::ChartNumber(*area, *area < 10 ? 2 : 0) + " km²" : QString();
    if (area) facts << "Fläche " + areaText;
    panel.facts = facts.join("  ·  ");

    QStringList sources;
    auto noteOf = [&](const CFieldDef& def) {
        for (const QString& note :
             QString::fromUtf8(kSourceNotes.at(def.sourceKey).shortNote).split("; ")) {
            if (!sources.contains(note)) sources << note;
        }
    };
    for (const CIndicator& indicator : kIndicators) {
        if (int(panel.tiles.size()) == kPanelTiles) break;
        for (int field : indicator.fields) {
            const std::optional<std::pair<int, double>> newest = m_facts.Latest(field, land.id);
            const CFieldDef* def = Field(field);
            if (!newest || !def) continue;
            const auto& byLand = m_facts.series.at(field);
            const std::map<int, double>& values = byLand.at(land.id);
            chart::CPanelTile tile;
            tile.title = QString::fromUtf8(indicator.title);
            tile.value = chart::ChartNumber(newest->second, ValueDecimals(*def, {newest->second}));
            tile.unit = UnitOf(QString::fromUtf8(def->midi));
            if (tile.unit.isEmpty()) tile.unit = field == 209 ? "Kinder je Frau" : QString();
            const int countries = int(m_facts.Ranking(field, newest->first).size());
            const int rank = m_facts.Rank(field, newest->first, land.id);
            tile.detail
                = QString("%1 · Rang %2 von %3").arg(newest->first).arg(rank).arg(countries);
            tile.series = values;
            tile.world = WorldAverageOf(field);
            panel.tiles.push_back(std::move(tile));
            noteOf(*def);
            break;
        }
    }
    if (panel.tiles.empty()) {
        // A territory without series: what the almanac knows of it.
        auto add = [&](const QString& label, const QString& value) {
            if (!value.isEmpty()) panel.factList.emplace_back(label, value);
        };
        add("Kontinent", continent);
        add("Region", region == continent ? QString() : region);
        add("Hauptstadt", capital);
        add("Fläche", areaText);
        add("Status", m_facts.Text(601, land.id));
        add("Amtssprachen", m_facts.Text(603, land.id));
        add("Währung", m_facts.Text(604, land.id));
        add("Telefonvorwahl", m_facts.Text(605, land.id));
        add("Internet-Domain", m_facts.Text(606, land.id));
    }
    if (area || !continent.isEmpty()) noteOf(*Field(103));
    if (!capital.isEmpty()) noteOf(*Field(104));
    panel.source = SourceLine(sources);
    if (!panel.tiles.empty()) {
        panel.source += "  ·  Rang: Stellung unter den Ländern mit Angaben, vom höchsten Wert an";
        const bool world = std::any_of(panel.tiles.begin(), panel.tiles.end(),
                                       [](const chart::CPanelTile& t) { return !t.world.empty(); });
        if (world) panel.source += "; gestrichelt: Durchschnitt der Welt";
    }
    return panel;
}

}  // namespace edition
