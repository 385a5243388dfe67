#pragma once
// What the steps of the edition build share: the countries, the data fields and their
// values as the build collects them, and the build itself, one step per output.

#include <QDir>
#include <QHash>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "ChartPainter.h"
#include "EditionBuilder.h"
#include "MapData.h"
#include "PictureArchives.h"

namespace edition {

inline constexpr const char* kSystemGeonamesMo = "/usr/share/locale/de/LC_MESSAGES/geonames.mo";
inline constexpr const char* kSystemLanguageMo = "/usr/share/locale/de/LC_MESSAGES/iso_639-3.mo";
inline constexpr const char* kSystemCurrencyMo = "/usr/share/locale/de/LC_MESSAGES/iso_4217.mo";
inline constexpr const char* kSystemLanguageJson = "/usr/share/iso-codes/json/iso_639-3.json";
inline constexpr const char* kSystemCurrencyJson = "/usr/share/iso-codes/json/iso_4217.json";
inline constexpr const char* kSystemCalendarLiteratur
    = "/usr/share/calendar/de_DE/calendar.literatur";
inline constexpr const char* kSystemCalendarMusik = "/usr/share/calendar/de_DE/calendar.musik";
inline constexpr const char* kSystemCalendarGeschichte
    = "/usr/share/calendar/de_DE/calendar.geschichte";
inline constexpr const char* kSystemCldrSupplemental
    = "/usr/share/unicode/cldr/common/supplemental/supplementalData.xml";
inline constexpr const char* kSystemChartFonts[] = {
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf",
};
inline constexpr const char* kSystemFfmpeg = "/usr/bin/ffmpeg";

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

// An SVG with its mid markers drawn out as copies at the path's vertices (Qt's renderer
// skips markers, so the stars of the United States' flag would be lost); other SVGs
// unchanged.
QByteArray ExpandSvgMarkers(const QByteArray& svg);

// Writes a file whole through a temporary file; false with error set on failure.
bool WriteBytes(const QString& path, const QByteArray& bytes, QString& error);

// ---------------------------------------------------------------------------------------
// Articles and navigation

// Numbers of the article kinds (HTML.ID); the picture records have theirs in
// PictureRecords.h. tools/edition/README.md lists them.
inline constexpr int kCountryArticleBase = 10000;  // + Land.ID
inline constexpr int kPersonBase = 20000;          // + running number
inline constexpr int kOrganisationBase = 30000;    // + running number
inline constexpr int kTopicBase = 40000;           // + Val.ID (fields and groups)
inline constexpr int kGlossaryBase = 50000;        // + running number
inline constexpr int kHelpId = 200000;             // the help; its chapters follow

// One row of the HTML table.
struct CArticle {
    int id = 0;
    int typ = 0;
    int subTyp = 0;
    QString title;
    QString abbildung;
    int landId = 0;
    QStringList linkIds;  // the identifiers STEXT links name it by (LINKID_SET)
    QString content;
    QString searchText;  // the plain text of content when empty
    // The sections in page order, for the navigation trees.
    struct CSection {
        QString anchor, title;
        int level = 2;  // 2: a section, 3: a part of the section before
    };
    std::vector<CSection> sections;
};

// An international organisation of edition/organisationen.tsv.
struct COrganisation {
    int id = 0;  // HTML.ID
    QString code, shortName, name, kind, founded, seat, description, source;
    std::vector<int> members;  // Land.ID, in German order of the names
};

// One node of a navigation tree (Nav1, Nav3, Nav4, Nav6).
struct CNavNode {
    int id = 0;
    int pid = 0;
    QString title;
    int htmlId = 0;
    QString link;
};

// The values of the edition by field and country, for the articles.
struct CFacts {
    std::map<int, std::map<int, std::map<int, double>>> series;  // field, country, year
    std::map<int, std::map<int, double>> timeless;               // field, country
    std::map<int, std::map<int, QString>> texts;                 // field, country

    // The newest value of a country's series at or before a year (0: the newest at all).
    std::optional<std::pair<int, double>> Latest(int field, int landId, int upTo = 0) const;
    std::optional<double> At(int field, int landId, int year) const;
    QString Text(int field, int landId) const;
    // The newest year in which a field has values for at least a third of the countries
    // that it has at all, so a ranking compares like with like.
    int RankingYear(int field) const;
    // Countries with a value in that year, largest first, with the rank the cell
    // information shows (position in descending order, ties in country order).
    std::vector<std::pair<int, double>> Ranking(int field, int year) const;
    int Rank(int field, int year, int landId) const;
};

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
    // The thematic world maps of the fields (Graph.nox) and the country maps (Geo.nox),
    // drawn by the map renderer's own drawing from the written almanac and outlines.
    bool DrawMapPictures();
    // Writes NOX.INI again with the latest year with data (Setup/Jahr).
    bool WriteYearSetting();
    void IndexFacts();
    bool LoadOrganisations();
    bool LoadGlossary();
    bool BuildCountryArticles();
    bool BuildTopicArticles();
    bool BuildPictureRecords();
    bool BuildOrganisations();
    bool BuildPersons();
    bool BuildGlossary();
    bool BuildHelp();
    bool BuildNavigation();
    bool WriteTemplates();
    bool WriteLicences();
    bool DrawPictures();
    bool WritePictureArchives();
    bool BuildFilm();

    // What the pictures of the picture records show (EditionGraphs.cpp, EditionTables.cpp).
    chart::CLineChart FieldGraph(int field) const;
    chart::CPanel CountryPanel(const CLand& land) const;
    chart::CTablePicture GroupTable(int group) const;

    void AddText(int landId, int valId, const QString& text, const char* sourceKey);
    void AddNumber(int landId, int valId, int year, double value, const QString& source);
    const CLand* LandByIso3(const QString& iso3) const {
        auto it = m_byIso3.find(iso3);
        return it == m_byIso3.end() ? nullptr : &m_lands[it->second];
    }
    const CLand* LandById(int id) const;
    QString StatusText(const CLand& land) const;
    // A cross reference to a country's article: its name linked, in the given form.
    QString LandLink(const CLand& land, const QString& text = QString()) const;
    const CArticle* ArticleById(int id) const;
    // A cross reference to a glossary term (the term itself as text when none is given).
    QString GlossaryLink(const QString& term, const QString& text = QString()) const;
    QString ResolveReferences(const QString& text) const;
    const CFieldDef* Field(int id) const;

    CEditionOptions m_options;
    QString m_out;
    CEditionResult m_result;
    std::vector<CLand> m_lands;
    std::map<QString, std::size_t> m_byIso3;
    std::vector<CTopoCountry> m_topo;
    std::vector<CMapShape> m_shapes;
    std::vector<CDataRow> m_rows;
    QHash<QString, QStringList> m_cldrGroups;  // CLDR territory groups (EU, EZ, UN, ...)
    CFacts m_facts;
    std::vector<CArticle> m_articles;
    std::vector<COrganisation> m_organisations;
    std::vector<std::pair<QString, QString>> m_glossary;  // term, text; HTML.ID in order
    std::map<QString, std::vector<CNavNode>> m_nav;       // by table name
    // The pictures of Graph.nox, Tables.nox and Geo.nox and their previews; every step
    // that draws pictures adds them here, WritePictureArchives writes them.
    CPictureArchives m_pictures;
    // The capitals' positions in degrees and their German names, by ISO alpha-3 code.
    struct CCapital {
        double lon = 0, lat = 0;
        QString name;
    };
    QHash<QString, CCapital> m_capitals;
    QHash<QString, QImage> m_flagIcons;  // the article flags by alpha-3 code, for pictures
    // The world averages of the fields, worked out once before the pictures are drawn.
    std::map<int, std::map<int, double>> m_worldAverages;
    const std::map<int, double>& WorldAverageOf(int field) const;
};

}  // namespace edition
