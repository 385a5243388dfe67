#pragma once
// What the steps of the edition build share: the countries, the data fields and their
// values as the build collects them, and the build itself, one step per output.

#include <QDir>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "EditionBuilder.h"
#include "MapData.h"

namespace edition {

inline constexpr const char* kSystemGeonamesMo = "/usr/share/locale/de/LC_MESSAGES/geonames.mo";
inline constexpr const char* kSystemLanguageMo = "/usr/share/locale/de/LC_MESSAGES/iso_639-3.mo";
inline constexpr const char* kSystemCurrencyMo = "/usr/share/locale/de/LC_MESSAGES/iso_4217.mo";
inline constexpr const char* kSystemLanguageJson = "/usr/share/iso-codes/json/iso_639-3.json";
inline constexpr const char* kSystemCurrencyJson = "/usr/share/iso-codes/json/iso_4217.json";

// ---------------------------------------------------------------------------------------
// Countries

struct CLand {
    int id = 0;
    QString cca3, cca2;
    QString title;
    int pid = 0;
    int landTyp = 2;
    int mapId = 0;
    QString flagText;
    QString capital;  // a German name that GeoNames lacks
    QString continent, region;
    QJsonObject json;
};

// German order of two titles (umlauts with their base letters).
bool ByGermanTitle(const QString& a, const QString& b);

// ---------------------------------------------------------------------------------------
// Data fields

enum class EKind { kNumber, kText };

struct CFieldDef {
    int id;
    int group;  // 0 for a group row
    const char* title;
    const char* midi;
    const char* lang;
    int mapView;  // 0: NULL (the map cannot show it)
    const char* sourceKey;
    EKind kind = EKind::kNumber;
};

struct CSourceNote {
    const char* shortNote;  // Data.Source
    const char* longNote;   // Val.Source
};

extern const std::map<QString, CSourceNote> kSourceNotes;

// Map colour schemes (colors.ini sections).
enum EScheme {
    kSchemePeople = 1,
    kSchemeEconomy = 2,
    kSchemeRisk = 3,
    kSchemeGrowth = 4,
    kSchemeWork = 5,
    kSchemeLand = 6,
    kSchemeHealth = 7,
};

extern const std::vector<CFieldDef> kFields;

struct CDataRow {
    int landId;
    int valId;
    int year;  // 0: a timeless fact, stored as NULL
    std::optional<double> number;
    QString text;
    QString source;
};

// ---------------------------------------------------------------------------------------
// Helpers of several steps

// "a, b und c".
QString JoinGerman(const QStringList& words);

// Writes a file whole through a temporary file; false with error set on failure.
bool WriteBytes(const QString& path, const QByteArray& bytes, QString& error);

// ---------------------------------------------------------------------------------------

class CEditionBuild {
public:
    explicit CEditionBuild(const CEditionOptions& options) : m_options(options) {}
    CEditionResult Run();

private:
    QString Edition(const QString& relative) const {
        return QDir(m_options.sourceDir).filePath("edition/" + relative);
    }
    QString Out(const QString& relative) const { return QDir(m_out).filePath(relative); }
    void Log(const QString& text) const {
        if (!m_options.quiet) std::fprintf(stderr, "kompendor-edition: %s\n", qPrintable(text));
    }
    QStringList InputFiles() const;
    QByteArray InputStamp(QString& error) const;

    bool LoadCountries();
    bool AssignMapIds();
    bool BuildFlags();
    bool BuildData();
    bool WriteDatabase();
    bool WriteMapFiles();
    bool WriteProfiles();
    bool WriteSettings();

    void AddText(int landId, int valId, const QString& text, const char* sourceKey);
    void AddNumber(int landId, int valId, int year, double value, const QString& source);
    const CLand* LandByIso3(const QString& iso3) const {
        auto it = m_byIso3.find(iso3);
        return it == m_byIso3.end() ? nullptr : &m_lands[it->second];
    }

    CEditionOptions m_options;
    QString m_out;
    CEditionResult m_result;
    std::vector<CLand> m_lands;
    std::map<QString, std::size_t> m_byIso3;
    std::vector<CTopoCountry> m_topo;
    std::vector<CMapShape> m_shapes;
    std::vector<CDataRow> m_rows;
};

}  // namespace edition
