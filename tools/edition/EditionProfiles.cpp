// Preset country and data-field lists.
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <algorithm>

#include "EditionBuild.h"
#include "mainwnd/IdArrayFile.h"

namespace edition {

bool CEditionBuild::WriteProfiles() {
    QString base = Out("Profile");
    QDir(base).removeRecursively();
    auto write = [&](const QString& relative, std::vector<std::uint32_t> ids) {
        QString path = QDir(base).filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        if (!WriteIdArrayFile(path.toStdString(), ids)) {
            m_result.error = "cannot write " + path;
            return false;
        }
        return true;
    };
    auto byCodes = [&](const QStringList& codes) {
        std::vector<std::uint32_t> ids;
        for (const QString& code : codes) {
            if (const CLand* land = LandByIso3(code)) ids.push_back(std::uint32_t(land->id));
        }
        return ids;
    };
    // Lists are in the order of their German titles, as the selection dialogs show them.
    auto sortByTitle = [&](std::vector<std::uint32_t> ids) {
        std::sort(ids.begin(), ids.end(), [&](std::uint32_t a, std::uint32_t b) {
            auto title = [&](std::uint32_t id) {
                for (const CLand& l : m_lands) {
                    if (std::uint32_t(l.id) == id) return l.title;
                }
                return QString();
            };
            return ByGermanTitle(title(a), title(b));
        });
        return ids;
    };
    const QStringList eu = {"BEL", "BGR", "DNK", "DEU", "EST", "FIN", "FRA", "GRC", "IRL",
                            "ITA", "HRV", "LVA", "LTU", "LUX", "MLT", "NLD", "AUT", "POL",
                            "PRT", "ROU", "SWE", "SVK", "SVN", "ESP", "CZE", "HUN", "CYP"};
    const QStringList g7 = {"DEU", "FRA", "GBR", "ITA", "JPN", "CAN", "USA"};
    const QStringList g20 = {"ARG", "AUS", "BRA", "CHN", "DEU", "FRA", "GBR", "IND", "IDN", "ITA",
                             "JPN", "CAN", "MEX", "RUS", "SAU", "ZAF", "KOR", "TUR", "USA"};
    const QStringList german = {"DEU", "AUT", "CHE", "LIE", "LUX"};
    bool ok = write("clt/EU-Staaten.clt", sortByTitle(byCodes(eu)))
              && write("clt/G7.clt", sortByTitle(byCodes(g7)))
              && write("clt/G20.clt", sortByTitle(byCodes(g20)))
              && write("clt/Deutschsprachige Länder.clt", sortByTitle(byCodes(german)));
    if (const CLand* deu = LandByIso3("DEU")) {
        QStringList neighbours;
        for (const QJsonValue& b : deu->json["borders"].toArray()) neighbours << b.toString();
        ok = ok && write("clt/Nachbarn Deutschlands.clt", sortByTitle(byCodes(neighbours)));
    }
    std::map<QString, std::vector<std::uint32_t>> continents;
    for (const CLand& land : m_lands) {
        if (land.landTyp == 1 && !land.continent.isEmpty()) {
            continents[land.continent].push_back(std::uint32_t(land.id));
        }
    }
    for (auto& [continent, ids] : continents) {
        ok = ok && write("clt/Kontinente/" + continent + ".clt", sortByTitle(ids));
    }
    std::map<int, std::vector<std::uint32_t>> groups;
    for (const CFieldDef& f : kFields) {
        if (f.group != 0) groups[f.group].push_back(std::uint32_t(f.id));
    }
    for (const CFieldDef& f : kFields) {
        if (f.group == 0) ok = ok && write(QString("vlt/Themen/%1.vlt").arg(f.title), groups[f.id]);
    }
    ok = ok && write("vlt/Überblick.vlt", {101, 104, 103, 201, 205, 301, 404, 405, 603, 604});
    ok = ok && write("vlt/Bevölkerung.vlt", groups[200]);
    ok = ok && write("vlt/Wirtschaft.vlt", groups[400]);
    return ok;
}

}  // namespace edition
