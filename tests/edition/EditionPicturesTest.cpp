// The pictures of the built edition: every graph, panel and table record has its picture in
// its archive and its preview, each decodes at its size and shows something of its own; the
// intro film plays five seconds; a second build with the same inputs does nothing.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <map>

#include "EditionFixture.h"
#include "PictureRecords.h"
#include "archive/ArchivePassword.h"
#include "archive/ArchiveReader.h"

using edition_test::kOut;
using edition_test::kSource;

namespace {

struct COpenArchive {
    explicit COpenArchive(const QString& name) {
        reader.Open((kOut + "/Daten/" + name).toStdString());
        reader.SetPassword(kArchivePassword);
    }
    QImage Picture(const QString& member) {
        CMemoryBlock block;
        if (!reader.ExtractByName(member.toStdString(), block)) return {};
        return QImage::fromData(block.data(), int(block.size()), "GIF");
    }
    QSet<QString> Names() const {
        QSet<QString> names;
        for (const CArchiveEntry& e : reader.GetEntries()) names << QString::fromStdString(e.name);
        return names;
    }
    CArchiveReader reader;
};

// Share of pixels that are not the background white, and the count of colours, on a grid.
std::pair<double, int> Ink(const QImage& image) {
    int inked = 0, samples = 0;
    QSet<QRgb> colors;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            const QRgb c = image.pixel(x, y);
            colors << c;
            inked += (c & 0xFFFFFF) != 0xFFFFFF;
            ++samples;
        }
    }
    return {double(inked) / samples, int(colors.size())};
}

QByteArray PixelHash(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    return QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char*>(rgb.constBits()), rgb.sizeInBytes()),
        QCryptographicHash::Sha1);
}

}  // namespace

// Each graph, panel and table record: its member in the archive of its SubTyp (and only
// there), a GIF of the size of its kind with real content, a preview in Previews.nox at
// the gallery's width; no two pictures alike.
TEST_F(Edition, PicturesOfTheRecords) {
    COpenArchive graphs("Graph.nox"), tables("Tables.nox"), previews("Previews.nox");
    const QSet<QString> graphNames = graphs.Names(), tableNames = tables.Names();
    std::map<QString, QSize> sizes;
    QSet<QByteArray> hashes;
    int records = 0;
    for (const QStringList& r :
         Query("SELECT ID, SubTyp, Abbildung FROM HTML WHERE Typ = 9 AND SubTyp IN (3, 4)")) {
        SCOPED_TRACE(r[2].toStdString());
        ++records;
        const bool table = r[1] == "4";
        EXPECT_TRUE((table ? tableNames : graphNames).contains(r[2]));
        EXPECT_FALSE((table ? graphNames : tableNames).contains(r[2]));
        const QImage picture = (table ? tables : graphs).Picture(r[2]);
        ASSERT_FALSE(picture.isNull());
        if (r[2].startsWith("Grafik")) {
            EXPECT_EQ(picture.size(), QSize(780, 480));
        } else if (r[2].startsWith("Kennzahlen")) {
            EXPECT_EQ(picture.size(), QSize(640, 420));
        } else {
            EXPECT_TRUE(r[2].startsWith("Tabelle"));
            EXPECT_GE(picture.width(), 600);
            EXPECT_LE(picture.width(), 980);
            EXPECT_GE(picture.height(), 300);
            EXPECT_LE(picture.height(), 900);  // fits the image window on a 1280 x 1024 screen
        }
        const auto [ink, colors] = Ink(picture);
        EXPECT_GT(ink, 0.05);
        EXPECT_GT(colors, 16);
        const QByteArray hash = PixelHash(picture);
        EXPECT_FALSE(hashes.contains(hash)) << "the same picture twice";
        hashes << hash;

        const QImage preview = previews.Picture(r[2]);
        ASSERT_FALSE(preview.isNull());
        EXPECT_EQ(preview.width(), 88);
        EXPECT_GE(preview.height(), 40);
        EXPECT_LE(preview.height(), 70);
        EXPECT_GT(Ink(preview).first, 0.05);
    }
    EXPECT_GE(records, 280);
    // No stray members: every member and every preview belongs to a record.
    QSet<QString> abbildungen;
    for (const QStringList& r : Query("SELECT Abbildung FROM HTML WHERE Typ = 9"))
        abbildungen << r[0];
    for (const QString& name : graphNames + tableNames + previews.Names()) {
        EXPECT_TRUE(abbildungen.contains(name)) << name.toStdString();
    }
}

// The thematic maps of the fields (Graph.nox, with previews) and a map of every country on the
// world map (Geo.nox, named like Land.GeoKarten).
TEST_F(Edition, MapPictures) {
    COpenArchive graphs("Graph.nox"), geo("Geo.nox"), previews("Previews.nox");
    int maps = 0;
    for (const QStringList& r : Query("SELECT Abbildung FROM HTML WHERE Typ = 9 AND SubTyp = 2")) {
        SCOPED_TRACE(r[0].toStdString());
        ++maps;
        const QImage picture = graphs.Picture(r[0]);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(1000, 620));
        EXPECT_GT(Ink(picture).second, 16);
        EXPECT_EQ(previews.Picture(r[0]).width(), 88);
    }
    EXPECT_GE(maps, 20);
    int countries = 0;
    for (const QStringList& r : Query("SELECT GeoKarten FROM Land WHERE MapID > 0")) {
        SCOPED_TRACE(r[0].toStdString());
        ++countries;
        EXPECT_EQ(geo.Picture(r[0]).size(), QSize(640, 480));
    }
    EXPECT_GE(countries, 230);
}

// Graphs follow the ten most populous countries; a field that a world average suits says so
// in its record, and every panel record names the country it shows.
TEST_F(Edition, PictureRecordsSayWhatThePicturesShow) {
    // The almanac's LIKE is Jet's: * stands for any text.
    EXPECT_EQ(One("SELECT count(*) FROM HTML WHERE Typ = 9 AND SubTyp = 3 AND ID < 950000 AND "
                  "Content NOT LIKE '*zehn bevölkerungsreichsten*'"),
              "0");
    EXPECT_EQ(One("SELECT count(*) FROM HTML WHERE ID = 930301 AND Content LIKE "
                  "'*Durchschnitt der Welt*'"),
              "1");
    // Population is a total: no world average beside the countries.
    EXPECT_EQ(One("SELECT count(*) FROM HTML WHERE ID = 930201 AND Content LIKE "
                  "'*Durchschnitt der Welt*'"),
              "0");
    EXPECT_EQ(One("SELECT count(*) FROM HTML WHERE Typ = 9 AND SubTyp = 4 AND "
                  "Content NOT LIKE '*die ersten 20 Länder, geordnet nach*'"),
              "0");
    // Antarctica has no yearly values: its panel lists facts, and its record says so.
    EXPECT_EQ(One("SELECT count(*) FROM HTML WHERE ID = 950010 AND Content LIKE "
                  "'*Lage, Fläche und Status*'"),
              "1");
}

// The intro film: five seconds of H.264 at the intro picture's size, small, in the base folder.
TEST_F(Edition, IntroFilm) {
    const QString film = kOut + "/ZYB2004.nox";
    ASSERT_TRUE(QFileInfo::exists(film));
    EXPECT_LT(QFileInfo(film).size(), 2 * 1024 * 1024);
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                            "stream=codec_name,width,height:format=duration", "-of",
                            "default=noprint_wrappers=1", film});
    ASSERT_TRUE(probe.waitForFinished(60000));
    ASSERT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    std::map<QString, QString> info;
    for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0) info[QString(line.left(eq))] = QString(line.mid(eq + 1)).trimmed();
    }
    EXPECT_EQ(info["codec_name"], "h264");
    EXPECT_EQ(info["width"], "800");
    EXPECT_EQ(info["height"], "600");
    EXPECT_NEAR(info["duration"].toDouble(), 5.0, 0.2);

    // Its last frame is the intro picture, which the intro shows once the film has ended.
    const QString last = kOut + "/intro-last-frame.png";
    QFile::remove(last);
    QProcess grab;
    grab.start("ffmpeg",
               {"-v", "error", "-y", "-sseof", "-0.1", "-i", film, "-frames:v", "1", last});
    ASSERT_TRUE(grab.waitForFinished(60000));
    const QImage frame = QImage(last).convertToFormat(QImage::Format_RGB32);
    const QImage picture = QImage(":/bitmaps/268.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(frame.size(), picture.size());
    double difference = 0;
    for (int y = 0; y < frame.height(); y += 2) {
        for (int x = 0; x < frame.width(); x += 2) {
            const QRgb a = frame.pixel(x, y), b = picture.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                          + std::abs(qBlue(a) - qBlue(b));
        }
    }
    // Only the film's compression apart (a few levels per pixel).
    EXPECT_LT(difference / (frame.width() * frame.height() / 4), 6.0);
    QFile::remove(last);
}

// A second build with the same inputs does nothing and leaves the archives as they were.
TEST_F(Edition, RebuildWithSameInputsDoesNothing) {
    const QDateTime graphs = QFileInfo(kOut + "/Daten/Graph.nox").lastModified();
    const QDateTime film = QFileInfo(kOut + "/ZYB2004.nox").lastModified();
    CEditionOptions options;
    options.sourceDir = kSource;
    options.outDir = kOut;
    options.builderFile = QCoreApplication::applicationFilePath();
    options.quiet = true;
    const CEditionResult again = BuildEdition(options);
    ASSERT_TRUE(again.ok) << again.error.toStdString();
    EXPECT_TRUE(again.upToDate);
    EXPECT_EQ(QFileInfo(kOut + "/Daten/Graph.nox").lastModified(), graphs);
    EXPECT_EQ(QFileInfo(kOut + "/ZYB2004.nox").lastModified(), film);
    // The fonts and the encoder of the pictures and the film are inputs of the stamp.
    const QStringList system = EditionSystemFiles();
    EXPECT_TRUE(system.contains("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"));
    EXPECT_TRUE(system.contains("/usr/bin/ffmpeg"));
}
