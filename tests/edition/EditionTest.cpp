// Invariants of the sample edition as the builder makes it: references between the tables,
// years, source coverage, flags, map data, colour schemes, profiles and settings files.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "EditionBuilder.h"
#include "EditionSources.h"
#include "MapData.h"
#include "archive/ArchivePassword.h"
#include "archive/ArchiveReader.h"
#include "data/AlmanacSql.h"
#include "data/Database.h"
#include "data/ValueRoutines.h"
#include "mainwnd/IdArrayFile.h"

#include "EditionFixture.h"
#include "platform/ComponentCheck.h"
#include "platform/RegistryFiles.h"

using edition_test::kOut;
using edition_test::kSource;

// Every value row points at a country and a data field (never a group), holds a value, and
// every field's year list is exactly the years its rows have.
TEST_F(Edition, TablesReferToEachOther) {
    EXPECT_EQ(One("SELECT count(*) FROM Data WHERE LandID NOT IN (SELECT ID FROM Land)"), "0");
    EXPECT_EQ(
        One("SELECT count(*) FROM Data WHERE ValID NOT IN (SELECT ID FROM Val WHERE PID > 0)"),
        "0");
    EXPECT_EQ(One("SELECT count(*) FROM Data WHERE NUMVAL IS NULL AND STRVAL IS NULL"), "0");
    EXPECT_EQ(One("SELECT count(*) FROM Data WHERE Source IS NULL OR Source = ''"), "0");
    EXPECT_EQ(One("SELECT count(*) FROM Val WHERE PID > 0 AND PID NOT IN "
                  "(SELECT ID FROM Val WHERE PID = 0)"),
              "0");
    EXPECT_EQ(One("SELECT count(*) FROM Land WHERE PID <> 0 AND PID NOT IN (SELECT ID FROM Land)"),
              "0");
    // One row per country, field and year.
    EXPECT_EQ(One("SELECT count(*) FROM (SELECT 1 FROM Data GROUP BY LandID, ValID, Jahr "
                  "HAVING count(*) > 1)"),
              "0");
    EXPECT_GE(One("SELECT count(*) FROM Land").toInt(), 245);
    EXPECT_GE(One("SELECT count(*) FROM Val WHERE PID > 0").toInt(), 40);

    for (const QStringList& field : Query("SELECT ID FROM Val WHERE PID > 0")) {
        SCOPED_TRACE(field[0].toStdString());
        QStringList years;
        for (const QStringList& y : Query("SELECT DISTINCT Jahr FROM Data WHERE Jahr IS NOT NULL "
                                          "AND ValID = "
                                          + field[0] + " ORDER BY Jahr")) {
            years << y[0];
        }
        QList<QStringList> list = Query("SELECT JahresList FROM ValJahre WHERE ID = " + field[0]);
        ASSERT_EQ(list.size(), 1);
        EXPECT_EQ(list[0][0], years.join(','));
        // A field has either years or timeless facts, so its head and cells agree.
        if (!years.isEmpty()) {
            EXPECT_EQ(One("SELECT count(*) FROM Data WHERE Jahr IS NULL AND ValID = " + field[0]),
                      "0");
        }
    }
    // Fields the map cannot show are texts; numeric fields can be shown.
    EXPECT_EQ(One("SELECT count(*) FROM Val v WHERE MapView IS NOT NULL AND EXISTS "
                  "(SELECT 1 FROM Data d WHERE d.ValID = v.ID AND d.STRVAL IS NOT NULL)"),
              "0");
    EXPECT_EQ(One("SELECT count(*) FROM Val WHERE PID > 0 AND length(NAME_MIDI) > 32"), "0");
}

// No value lies outside the years its source has for that country: a row of the Penn World
// Table, Gapminder or the World Bank must fall within the first and last year the
// source file holds for the country.
TEST_F(Edition, ValuesStayWithinTheirSourcesYears) {
    struct CSourceFile {
        const char* note;
        const char* file;
    };
    for (CSourceFile source :
         {CSourceFile{"PWT 9.1", "pwt91.csv"}, CSourceFile{"Gapminder", "gapminder.csv"},
          CSourceFile{"Weltbank", "worldbank_pop.csv"}}) {
        SCOPED_TRACE(source.note);
        CCsvTable csv;
        QString error;
        ASSERT_TRUE(ReadCsvFile(kSource + "/edition/sources/" + source.file, csv, error));
        std::map<QString, std::pair<int, int>> span;
        for (const QStringList& row : csv.rows) {
            int year = row[1].toInt();
            // The sources name Kosovo XKX, the almanac UNK.
            auto [it, added] = span.try_emplace(row[0] == "XKX" ? "UNK" : row[0], year, year);
            it->second.first = std::min(it->second.first, year);
            it->second.second = std::max(it->second.second, year);
        }
        QList<QStringList> rows = Query(
            QString("SELECT l.ISO3, min(d.Jahr), max(d.Jahr) FROM Data d JOIN Land l ON "
                    "l.ID = d.LandID WHERE d.Source = '%1' AND d.Jahr IS NOT NULL GROUP BY l.ISO3")
                .arg(source.note));
        EXPECT_FALSE(rows.isEmpty());
        for (const QStringList& row : rows) {
            auto it = span.find(row[0]);
            ASSERT_NE(it, span.end()) << row[0].toStdString() << " is not in the source";
            EXPECT_GE(row[1].toInt(), it->second.first) << row[0].toStdString();
            EXPECT_LE(row[2].toInt(), it->second.second) << row[0].toStdString();
        }
    }
}

// A value the tables would show as "k.A." must be a real 0 of its source: a small positive
// figure (a historical exchange rate, a small country's GDP in billions) never rounds to 0.
TEST_F(Edition, NoValueRoundsToZero) {
    CCsvTable csv;
    QString error;
    ASSERT_TRUE(ReadCsvFile(kSource + "/edition/sources/pwt91.csv", csv, error));
    const int xr = csv.Column("xr");
    ASSERT_GE(xr, 0);
    // Rates below 0.0001 (before redenominations) are left out: six decimals would show 0.
    int positive = 0;
    for (const QStringList& row : csv.rows)
        if (row.value(xr).toDouble() >= 0.0001) ++positive;
    EXPECT_EQ(One("SELECT COUNT(*) FROM Data WHERE ValID = 410 AND NUMVAL > 0").toInt(), positive);
    EXPECT_EQ(One("SELECT COUNT(*) FROM Data WHERE ValID IN (401, 402, 403, 408, 410) AND "
                  "STRVAL IS NULL AND NUMVAL = 0")
                  .toInt(),
              0);
    // No value of any field shows as "0" in the cells' six decimals.
    EXPECT_EQ(One("SELECT COUNT(*) FROM Data WHERE STRVAL IS NULL AND NUMVAL <> 0 AND "
                  "abs(NUMVAL) < 0.0000005"),
              "0");
}

// Countries as German readers know them, with their places in the tree.
TEST_F(Edition, CountriesSpotChecks) {
    EXPECT_EQ(One("SELECT Title FROM Land WHERE ID = 276"), "Deutschland");
    EXPECT_EQ(One("SELECT min(Jahr) FROM Data WHERE LandID = 276 AND ValID = 201"), "1950");
    EXPECT_EQ(One("SELECT count(*) FROM Data WHERE LandID = 276 AND ValID = 201"), "68");
    for (const char* title : {"Tuvalu", "Monaco", "Russland", "Tschechien", "Elfenbeinküste",
                              "Nordmazedonien", "Vereinigte Staaten", "Kosovo", "Vatikanstadt"}) {
        EXPECT_EQ(
            One(QString("SELECT count(*) FROM Land WHERE Title = '%1' AND LandTyp = 1").arg(title)),
            "1")
            << title;
    }
    EXPECT_EQ(One("SELECT p.Title FROM Land l JOIN Land p ON p.ID = l.PID WHERE l.Title = "
                  "'Grönland'"),
              "Dänemark");
    EXPECT_EQ(One("SELECT p.Title FROM Land l JOIN Land p ON p.ID = l.PID WHERE l.Title = "
                  "'Puerto Rico'"),
              "Vereinigte Staaten");
    EXPECT_EQ(One("SELECT LandTyp FROM Land WHERE Title = 'Grönland'"), "2");
    // The German collation sorts umlauts with their base letters.
    QList<QStringList> titles = Query(
        "SELECT Title FROM Land WHERE Title IN ('Ägypten', 'Afghanistan', 'Albanien') "
        "ORDER BY Title");
    ASSERT_EQ(titles.size(), 3);
    EXPECT_EQ(titles[0][0], "Afghanistan");
    EXPECT_EQ(titles[1][0], "Ägypten");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE LandID = 276 AND ValID = 104"), "Berlin");
}

// The program's database layer opens the file read-only with the connect password, and only
// with it.
TEST_F(Edition, AlmanacOpensWithPasswordOnly) {
    std::string path = (kOut + "/Daten/Kompendor.mdb").toStdString();
    CDatabase db;
    ASSERT_NO_THROW(db.Open(path, true, true, kAlmanacConnect));
    EXPECT_TRUE(db.IsReadOnly());
    CRecordset rs(&db);
    rs.Open("SELECT * FROM Land WHERE Title LIKE 'Deutsch*' AND PID=0 ORDER BY Title ASC");
    ASSERT_FALSE(rs.IsEOF());
    CVariant id = rs.GetFieldValue("ID");
    double number = 0;
    EXPECT_TRUE(ToNumber(id, number));
    EXPECT_EQ(number, 276);
    rs.Close();
    db.Close();
    CDatabase wrong;
    EXPECT_THROW(wrong.Open(path, true, true, ";pwd=000000000000"), CDBException);
    // No journal may lie beside the file: the program reads it immutable.
    EXPECT_FALSE(QFile::exists(kOut + "/Daten/Kompendor.mdb-journal"));
    EXPECT_FALSE(QFile::exists(kOut + "/Daten/Kompendor.mdb-wal"));
}

// Every country's flag exists at the three sizes and decodes: as files for the table heads
// and the articles, and as a member of Flags.nox that only the system's password opens.
TEST_F(Edition, FlagsDecode) {
    std::string archive = (kOut + "/Daten/Flags.nox").toStdString();
    int checked = 0;
    for (const QStringList& row : Query("SELECT Flaggen, Flag_Text FROM Land")) {
        SCOPED_TRACE(row[0].toStdString());
        EXPECT_FALSE(row[1].isEmpty());
        QImage table(kOut + "/Daten/Flags/" + row[0]);
        QImage article(kOut + "/HTML/Flags/" + row[0]);
        ASSERT_FALSE(table.isNull());
        ASSERT_FALSE(article.isNull());
        EXPECT_LE(table.height(), 43);  // fits the head row beside its buttons
        CMemoryBlock block;
        ASSERT_TRUE(ExtractFileToMemory(archive, row[0].toStdString(), block, kArchivePassword));
        QImage viewer = QImage::fromData(block.data(), int(block.size()), "GIF");
        ASSERT_FALSE(viewer.isNull());
        EXPECT_LE(viewer.height(), 140);  // above the viewer's caption line
        EXPECT_GT(viewer.width(), article.width());
        ++checked;
    }
    EXPECT_EQ(checked, One("SELECT count(*) FROM Land").toInt());
    CMemoryBlock block;
    CExtractResult wrong = TryExtractFileToMemory(archive, "DEU.gif", block, "PlumTree");
    EXPECT_FALSE(wrong.extracted);
}

// Every country on the map has a shape and every shape a country; colors.ini has a scheme for
// every MapView number the fields use, with 25 valid colours for fill and text.
TEST_F(Edition, MapDataMatchesCountries) {
    QFile file(kOut + "/Daten/Karte/Laender.vmp");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<CMapShape> shapes;
    ASSERT_TRUE(DecodeMapFile(file.readAll(), shapes));
    std::set<QString> mapIds;
    for (const QStringList& row : Query("SELECT MapID FROM Land WHERE MapID > 0")) {
        EXPECT_TRUE(mapIds.insert(row[0]).second) << "MapID twice: " << row[0].toStdString();
        EXPECT_LE(row[0].toInt(), 254);
    }
    std::set<QString> shapeIds;
    for (const CMapShape& s : shapes) {
        shapeIds.insert(QString::number(s.mapId));
        EXPECT_FALSE(s.rings.empty());
        EXPECT_GE(s.minLon, -180.0f);
        EXPECT_LE(s.maxLon, 180.0f);
        EXPECT_GE(s.minLat, -90.0f);
        EXPECT_LE(s.maxLat, 90.0f);
    }
    EXPECT_EQ(mapIds, shapeIds);
    EXPECT_NE(One("SELECT MapID FROM Land WHERE Title = 'Tuvalu'"), "0");

    QSettings colors(kOut + "/Daten/Karte/colors.ini", QSettings::IniFormat);
    const QRegularExpression hex("^[0-9A-F]{6}$");
    for (const QStringList& row :
         Query("SELECT DISTINCT MapView FROM Val WHERE MapView IS NOT NULL")) {
        SCOPED_TRACE(row[0].toStdString());
        colors.beginGroup(row[0]);
        for (const char* key : {"backcolor", "nodata", "border", "borderhilite"}) {
            EXPECT_TRUE(hex.match(colors.value(key).toString()).hasMatch()) << key;
        }
        for (const char* key : {"countries", "text"}) {
            // QSettings splits a comma list itself.
            QStringList list = colors.value(key).toStringList();
            EXPECT_EQ(list.size(), 25) << key;
            for (const QString& c : list) EXPECT_TRUE(hex.match(c).hasMatch()) << c.toStdString();
        }
        colors.endGroup();
    }
}

// Preset profiles read back as identifier arrays of existing countries or data fields.
TEST_F(Edition, PresetProfilesReferToRows) {
    int profiles = 0;
    for (const char* kind : {"clt", "vlt"}) {
        QDirIterator it(kOut + "/Profile/" + kind, {QString("*.") + kind}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QString path = it.next();
            SCOPED_TRACE(path.toStdString());
            std::vector<std::uint32_t> ids;
            ASSERT_TRUE(ReadIdArrayFile(path.toStdString(), ids));
            EXPECT_FALSE(ids.empty());
            QString table = QString(kind) == "clt" ? "Land" : "Val";
            for (std::uint32_t id : ids) {
                EXPECT_EQ(One(QString("SELECT count(*) FROM %1 WHERE ID = %2").arg(table).arg(id)),
                          "1")
                    << id;
            }
            ++profiles;
        }
    }
    EXPECT_GE(profiles, 10);
    std::vector<std::uint32_t> eu;
    ASSERT_TRUE(ReadIdArrayFile((kOut + "/Profile/clt/EU-Staaten.clt").toStdString(), eu));
    EXPECT_EQ(eu.size(), 27u);
    EXPECT_TRUE(QFile::exists(kOut + "/Profile/clt/Kontinente/Europa.clt"));
}

// The settings file and the registry layer name the edition's folders and the control set.
TEST_F(Edition, SettingsFiles) {
    QSettings ini(kOut + "/NOX.INI", QSettings::IniFormat);
    EXPECT_EQ(ini.value("Setup/App").toString(), "Kompendor");
    // The latest year with data: the year the map and the tables take where none is given.
    EXPECT_GE(ini.value("Setup/Jahr").toInt(), 2017);
    EXPECT_EQ(ini.value("Paths/MDB").toString(), "Daten/Kompendor.mdb");
    EXPECT_EQ(ini.value("Paths/Map").toString(), "Daten/Karte/");
    EXPECT_TRUE(ini.contains("Paths/Cursor"));
    EXPECT_EQ(ini.value("Paths/Cursor").toString(), "");
    for (const char* key : {"Paths/IMG", "Paths/HTML", "Paths/Sound", "Paths/Audio", "Paths/Video",
                            "Paths/Presets", "Paths/UI"}) {
        QString dir = ini.value(key).toString();
        EXPECT_TRUE(dir.endsWith('/')) << key;
        EXPECT_TRUE(QFileInfo(kOut + "/" + dir).isDir()) << key;
    }
    EXPECT_TRUE(QFileInfo(kOut + "/" + ini.value("Paths/MDB").toString()).isFile());

    QFile reg(kOut + "/NOX.reg");
    ASSERT_TRUE(reg.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(reg.readAll());
    EXPECT_TRUE(
        text.contains("[HKEY_CLASSES_ROOT\\NOXCTRLS.ImageCtrl.1\\CLSID]\r\n"
                      "@={5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}"));
    // Relative to the installation, so a moved or copied folder still finds the library.
    EXPECT_TRUE(text.contains("\\InprocServer32]\r\n@=libnoxctrls.so\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("[HKEY_LOCAL_MACHINE\\Software\\NOX\\Engine]\r\nenabled=0"));
}

// A second build with unchanged inputs only compares the stamp.
TEST_F(Edition, UnchangedInputsAreNotRebuilt) {
    CEditionOptions options;
    options.sourceDir = kSource;
    options.outDir = kOut;
    options.builderFile = QCoreApplication::applicationFilePath();
    options.quiet = true;
    QDateTime before = QFileInfo(kOut + "/Daten/Kompendor.mdb").lastModified();
    CEditionResult again = BuildEdition(options);
    EXPECT_TRUE(again.ok);
    EXPECT_TRUE(again.upToDate);
    EXPECT_EQ(QFileInfo(kOut + "/Daten/Kompendor.mdb").lastModified(), before);
}

// The faults of the first edition: UN membership, languages, calling codes, Kosovo's World
// Bank values, the timeless area on the map, the tuberculosis series, impossible shares of
// GDP, status texts, and the flags of the United States.
TEST_F(Edition, FaultsOfTheFirstEditionStayMended) {
    EXPECT_EQ(One("SELECT count(*) FROM Data WHERE ValID = 602 AND STRVAL = 'ja'"), "193");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 602 AND LandID = 336"), "nein");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 603 AND LandID = 40"), "Deutsch");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 603 AND LandID = 756"),
              "Deutsch, Französisch, Italienisch, Rätoromanisch");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 603 AND LandID = 300"), "Griechisch");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 603 AND LandID = 499"), "Montenegrinisch");
    // No catalogue qualifier or variant is left in a language name.
    EXPECT_EQ(One("SELECT count(*) FROM Data WHERE ValID = 603 AND (STRVAL LIKE '*Makrosprache*' "
                  "OR STRVAL LIKE '*;*' OR STRVAL LIKE '*ab 1453*' OR STRVAL LIKE '*Bayrisch*')"),
              "0");
    // Calling codes are whole: only the shared +1 and +7 are that short.
    for (const QStringList& row : Query("SELECT LandID, STRVAL FROM Data WHERE ValID = 605")) {
        for (const QString& code : row[1].split(", ")) {
            EXPECT_TRUE(code.size() >= 3 || code == "+1" || code == "+7") << row[0].toStdString();
        }
    }
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 605 AND LandID = 654"), "+290, +247");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 605 AND LandID = 732"), "+212");
    // Kosovo (XKX in the World Bank's tables) has its values.
    EXPECT_GE(One("SELECT count(*) FROM Data WHERE LandID = 900 AND ValID = 202").toInt(), 10);
    EXPECT_EQ(One("SELECT count(*) FROM Data WHERE LandID = 900 AND ValID = 417"), "1");
    // A field the map offers has years.
    EXPECT_EQ(One("SELECT count(*) FROM Val v JOIN ValJahre j ON j.ID = v.ID WHERE v.MapView > 0 "
                  "AND length(j.JahresList) <= 2"),
              "0");
    // No tuberculosis series and no source under a non-commercial licence.
    EXPECT_EQ(One("SELECT count(*) FROM Val WHERE Title LIKE '*Tuberkulose*' OR Source LIKE "
                  "'*NC*'"),
              "0");
    EXPECT_EQ(One("SELECT count(*) FROM Data WHERE Source LIKE '*WHO*'"), "0");
    // Shares of GDP lie between 0 and 100 and name their basis.
    EXPECT_EQ(One("SELECT count(*) FROM Data WHERE ValID BETWEEN 412 AND 416 AND (NUMVAL < 0 OR "
                  "NUMVAL > 100)"),
              "0");
    EXPECT_EQ(One("SELECT count(*) FROM Val WHERE ID BETWEEN 412 AND 416 AND NAME_LANG NOT LIKE "
                  "'*laufenden Kaufkraftparitäten*'"),
              "0");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 601 AND LandID = 344"),
              "Sonderverwaltungszone der Volksrepublik China");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 601 AND LandID = 474"),
              "Überseedepartement Frankreichs");
    EXPECT_EQ(One("SELECT STRVAL FROM Data WHERE ValID = 601 AND LandID = 60"),
              "Abhängiges Gebiet des Vereinigten Königreichs");
    EXPECT_EQ(One("SELECT Title FROM Land WHERE ID = 796"), "Turks- und Caicosinseln");
    // The built flags of the United States carry all their stars, not one.
    for (const char* flag : {"/HTML/Flags/USA.gif", "/HTML/Flags/UMI.gif"}) {
        QImage image(kOut + flag);
        ASSERT_FALSE(image.isNull()) << flag;
        int white = 0;
        for (int y = 0; y < image.height() * 258 / 480; ++y) {
            for (int x = 0; x < image.width() * 364 / 640; ++x) {
                if (qGray(image.pixel(x, y)) > 200) ++white;
            }
        }
        EXPECT_GT(white, 150) << flag;  // one star covers about ten of these pixels
    }
}

// The component check finds the control set of a moved installation through its NOX.reg.
TEST_F(Edition, MovedInstallationFindsItsControlSet) {
    QTemporaryDir moved;
    ASSERT_TRUE(moved.isValid());
    ASSERT_TRUE(QFile::copy(kOut + "/NOX.reg", moved.filePath("NOX.reg")));
    CRegistryFiles registry(moved.filePath("NOX.reg").toStdString(),
                            moved.filePath("user.ini").toStdString());
    std::optional<std::string> library
        = RegisteredLibrary(registry, "NOXCTRLS.ImageCtrl.1", moved.path().toStdString());
    ASSERT_TRUE(library.has_value());
    EXPECT_EQ(*library, moved.filePath("libnoxctrls.so").toStdString());
}

// A member list that names a country the edition does not know stops the build with the
// file and the code in the message, instead of leaving the member out; the folder keeps no
// stamp, so the next build runs again.
TEST(EditionBuild, UnknownOrganisationMemberFailsTheBuild) {
    if (!QFile::exists(kSource + "/edition/node_modules/world-countries/countries.json")) {
        GTEST_SKIP() << "edition/node_modules is missing: run scripts/setup";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir().mkpath(dir.filePath("source/edition"));
    for (const QString& entry :
         QDir(kSource + "/edition").entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (entry == "organisationen.tsv") continue;
        ASSERT_TRUE(
            QFile::link(kSource + "/edition/" + entry, dir.filePath("source/edition/" + entry)));
    }
    QFile tsv(dir.filePath("source/edition/organisationen.tsv"));
    ASSERT_TRUE(tsv.open(QIODevice::WriteOnly));
    tsv.write("XX\tXX\tTestbund\tWirtschaft und Handel\t2000\tBern\tDEU ZZZ\tTest\tEin Bund.\n");
    tsv.close();
    CEditionOptions options;
    options.sourceDir = dir.filePath("source");
    options.outDir = dir.filePath("out");
    options.quiet = true;
    CEditionResult result = BuildEdition(options);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("organisationen.tsv")) << result.error.toStdString();
    EXPECT_TRUE(result.error.contains("ZZZ")) << result.error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("out/Daten/.edition-stamp")));
}
