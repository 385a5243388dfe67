#pragma once
// Builds the sample edition into an installation folder: settings files, the almanac
// database with its articles and navigation trees, flags, map data, colour schemes, preset
// profiles, the page templates and the licence texts.

#include <QString>
#include <QStringList>

struct CEditionOptions {
    QString sourceDir;    // the repository (holds edition/)
    QString outDir;       // the installation folder
    QString builderFile;  // the builder's executable; a rebuilt builder rebuilds the edition
    bool force = false;   // build even when the stamp says nothing changed
    bool quiet = false;
};

// What a build did, for the report on the console and for tests.
struct CEditionResult {
    bool ok = false;
    bool upToDate = false;  // nothing was built: the stamp matched
    QString error;
    int countries = 0, fields = 0, values = 0, flags = 0, shapes = 0;
    int articles = 0, navNodes = 0;
    int pictures = 0, previews = 0;  // picture records with their picture; previews written
};

CEditionResult BuildEdition(const CEditionOptions& options);

// The Debian files the edition reads besides the repository (names, capitals, languages).
QStringList EditionSystemFiles();
