#include "viewers/Picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <cmath>
#include <limits>

#include "archive/ArchiveReader.h"

namespace {

constexpr double kMetresPerInch = 0.0254;

bool WithinLimits(const QSize& size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxPictureSide
           && size.height() <= kMaxPictureSide
           && std::int64_t(size.width()) * size.height() <= kMaxPicturePixels;
}

// The picture's resolution in dots per inch. A file that gives none (every GIF, most BMPs,
// many PNGs) was made for the screen and keeps its pixels: the reader then reports the
// toolkit's default resolution, which cannot be told from the same value given on purpose.
double ImageDpi(int dotsPerMetre, bool formatHasResolution, double screenDpi) {
    static const int kToolkitDefault = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    if (!formatHasResolution || dotsPerMetre <= 0 || dotsPerMetre == kToolkitDefault)
        return screenDpi;
    return dotsPerMetre * kMetresPerInch;
}

int ScreenPixels(int pixels, double imageDpi, double screenDpi) {
    // The old decoder measured in hundredths of a millimetre first; the rounding is the same.
    const double himetric = pixels * 2540.0 / imageDpi;
    return int(std::lround(himetric * screenDpi / 2540.0));
}

}  // namespace

CPicture::Load CPicture::LoadFromMemory(const std::uint8_t* data, std::size_t size,
                                        double screenDpi) {
    m_image = QImage();
    if (!data || size == 0 || size > std::size_t(std::numeric_limits<int>::max()))
        return Load::Unreadable;

    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return Load::Unreadable;
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) return Load::Unreadable;

    // The size the header claims decides before a single pixel is allocated. A format that
    // cannot tell it beforehand is not one the almanac uses.
    const QSize claimed = reader.size();
    if (!claimed.isValid()) return Load::Unreadable;
    if (!WithinLimits(claimed)) return Load::TooLarge;

    const bool hasResolution = reader.format() != "gif";
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) return Load::Unreadable;
    // A header may understate what its frames then draw; what came out counts as well.
    if (!WithinLimits(decoded.size())) return Load::TooLarge;

    if (screenDpi <= 0) screenDpi = kDefaultScreenDpi;
    const QSize shown(
        ScreenPixels(decoded.width(), ImageDpi(decoded.dotsPerMeterX(), hasResolution, screenDpi),
                     screenDpi),
        ScreenPixels(decoded.height(), ImageDpi(decoded.dotsPerMeterY(), hasResolution, screenDpi),
                     screenDpi));
    if (!WithinLimits(shown)) return Load::TooLarge;

    // Kept as the screen shows it: opaque, transparent parts on white.
    QImage image(shown, QImage::Format_RGB32);
    if (image.isNull()) return Load::TooLarge;
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, shown != decoded.size());
        painter.drawImage(QRect(QPoint(0, 0), shown), decoded);
    }
    const int dotsPerMetre = int(std::lround(screenDpi / kMetresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    m_image = std::move(image);
    return Load::Ok;
}

CPicture CPicture::FromImage(const QImage& image) {
    CPicture picture;
    if (image.isNull()) return picture;
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    picture.m_image = std::move(opaque);
    return picture;
}

void CPicture::Draw(QPainter& painter, const QPoint& pos) const {
    if (!m_image.isNull()) painter.drawImage(pos, m_image);
}

double ScreenDpi() {
    if (qGuiApp) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return screen->logicalDotsPerInch();
    }
    return kDefaultScreenDpi;
}

PictureRead ReadArchivePicture(const std::string& archivePath, const std::string& member,
                               const std::string& password, CPicture& picture, double screenDpi) {
    picture.Clear();
    CMemoryBlock block;
    if (!TryExtractFileToMemory(archivePath, member, block, password)) return PictureRead::NotFound;
    return picture.LoadFromMemory(block.data(), block.size(), screenDpi) == CPicture::Load::Ok
               ? PictureRead::Ok
               : PictureRead::Refused;
}

std::string PictureNotFoundText(const std::string& member) {
    return "Datei <" + member + "> nicht gefunden!?";
}
