#pragma once
// A picture of the almanac: one image decoded from an archive member in memory, held at the
// size it shows on the screen. The image, flag and graph viewers and kompendor-cli share it.
//
// Decoding goes through the toolkit's image reader (JPEG, GIF, BMP, PNG). The size a file
// claims is checked before anything is allocated for it: a member that claims more than
// kMaxPictureSide pixels on a side or kMaxPicturePixels in all (a decompression bomb, a
// damaged header) is refused like a member that cannot be read at all.

#include <QImage>
#include <QPoint>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

class QPainter;

// No picture of the edition comes near these; the largest maps and tables are about
// 1600 x 1200 pixels.
inline constexpr int kMaxPictureSide = 10000;
inline constexpr std::int64_t kMaxPicturePixels = 25'000'000;

// The resolution pictures are shown at when the screen gives none (the design's 96 dpi).
inline constexpr double kDefaultScreenDpi = 96.0;

class CPicture {
public:
    // Why a load failed.
    enum class Load {
        Ok,
        // The bytes are no picture the reader knows, or they are damaged.
        Unreadable,
        // The picture claims more pixels than kMaxPictureSide or kMaxPicturePixels.
        TooLarge,
    };

    CPicture() = default;

    // A picture that is already drawn, such as the world map's legend: kept as it is, opaque.
    static CPicture FromImage(const QImage& image);

    // Decodes the picture in the block and keeps it at its size on a screen of screenDpi:
    // the picture's own size in inches (from the resolution its file gives) times screenDpi.
    // A picture whose file gives no resolution keeps its pixels. Transparent parts show
    // white. On failure the picture is empty.
    Load LoadFromMemory(const std::uint8_t* data, std::size_t size,
                        double screenDpi = kDefaultScreenDpi);

    // Whether it holds an image.
    bool IsValid() const { return !m_image.isNull(); }
    // Size in screen pixels; 0 when empty.
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    // Copies the picture with its top left corner at pos; nothing when empty.
    void Draw(QPainter& painter, const QPoint& pos) const;
    // The picture as drawn (printing, exporting); null when empty.
    const QImage& Image() const { return m_image; }
    void Clear() { m_image = QImage(); }

private:
    QImage m_image;
};

// The screen resolution the viewers show pictures at: the primary screen's logical dots per
// inch, or kDefaultScreenDpi without a screen.
double ScreenDpi();

// Where a picture comes from in an archive, and what came of reading it.
enum class PictureRead {
    Ok,
    // The archive is missing, the member is not in it, or it could not be extracted.
    NotFound,
    // The member was extracted but is no picture, or claims too many pixels.
    Refused,
};

// Extracts member from the archive at archivePath with password and decodes it into
// picture. Archive errors (damaged, wrong password) count as NotFound; nothing is thrown.
PictureRead ReadArchivePicture(const std::string& archivePath, const std::string& member,
                               const std::string& password, CPicture& picture,
                               double screenDpi = kDefaultScreenDpi);

// The message every viewer shows for a member that could not be shown:
// "Datei <member> nicht gefunden!?".
std::string PictureNotFoundText(const std::string& member);
