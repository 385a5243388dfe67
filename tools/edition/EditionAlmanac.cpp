// The almanac database: schema, rows, indexes.
#include <QFile>
#include <algorithm>
#include <set>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionSqlite.h"
#include "data/AlmanacSql.h"
#include "data/Sha256.h"

namespace edition {

namespace {

// The password in the program's connect string; the file carries its SHA-256.
constexpr const char* kAlmanacPassword = "3A9D07B1E5C2";

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

}  // namespace

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
    {
        CStatement s = Prepare(db.get(),
                               "INSERT INTO HTML (ID, Typ, SubTyp, Title, Abbildung, LandID, "
                               "LINKID_SET, Content, SearchText) VALUES (?,?,?,?,?,?,?,?,?)",
                               error);
        if (!s) return false;
        for (const CArticle& a : m_articles) {
            sqlite3_bind_int(s.get(), 1, a.id);
            sqlite3_bind_int(s.get(), 2, a.typ);
            sqlite3_bind_int(s.get(), 3, a.subTyp);
            BindText(s.get(), 4, a.title);
            BindText(s.get(), 5, a.abbildung.isEmpty() ? QString() : a.abbildung);
            sqlite3_bind_int(s.get(), 6, a.landId);
            BindText(s.get(), 7, a.linkIds.isEmpty() ? QString() : ";" + a.linkIds.join(';') + ";");
            BindText(s.get(), 8, a.content);
            // The search finds what the page shows: the title above the text.
            BindText(s.get(), 9,
                     a.searchText.isEmpty() ? PlainText(a.title + "\n" + a.content) : a.searchText);
            if (!StepDone(db.get(), s.get(), error)) return false;
        }
    }
    for (const auto& [table, nodes] : m_nav) {
        const QString sql
            = QString("INSERT INTO %1 (ID, PID, Title, HTMLID, Link) VALUES (?,?,?,?,?)")
                  .arg(table);
        CStatement s = Prepare(db.get(), sql.toUtf8().constData(), error);
        if (!s) return false;
        for (const CNavNode& node : nodes) {
            sqlite3_bind_int(s.get(), 1, node.id);
            sqlite3_bind_int(s.get(), 2, node.pid);
            BindText(s.get(), 3, node.title);
            sqlite3_bind_int(s.get(), 4, node.htmlId);
            BindText(s.get(), 5, node.link.isNull() ? QString("") : node.link);
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

}  // namespace edition
