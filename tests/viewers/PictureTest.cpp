// The picture type: decoding from memory with the size limit checked before anything is
// allocated, the size on screen from the picture's resolution, and reading from archives
// that Info-ZIP made.
#include "viewers/Picture.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <QPainter>

#include "viewers/ViewerTestSupport.h"

using namespace viewer_test;

namespace {

CPicture::Load LoadBytes(const std::string& bytes, CPicture& picture, double dpi = 96) {
    return picture.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                  dpi);
}

void Put32BE(std::string& s, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += char((v >> shift) & 0xFF);
}

// A PNG chunk with its CRC.
std::string Chunk(const std::string& type, const std::string& data) {
    std::string c;
    Put32BE(c, std::uint32_t(data.size()));
    const std::string body = type + data;
    c += body;
    Put32BE(
        c, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
    return c;
}

// A PNG whose header claims w by h grey pixels, followed by a deflate stream that would
// inflate to all of them: a few kilobytes that unpack to gigabytes.
std::string PngBomb(std::uint32_t w, std::uint32_t h) {
    std::string ihdr;
    Put32BE(ihdr, w);
    Put32BE(ihdr, h);
    ihdr += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, no interlace
    std::string raw(std::size_t(w + 1) * 64, '\0');  // the first 64 rows, all zero
    uLongf size = compressBound(uLong(raw.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()));
    packed.resize(size);
    return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", ihdr) + Chunk("IDAT", packed)
           + Chunk("IEND", "");
}

// A BMP header (BITMAPINFOHEADER, 24 bits) claiming w by h, with no pixels behind it.
std::string BmpHeader(std::int32_t w, std::int32_t h) {
    std::string b = "BM";
    auto put32 = [&b](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b += char((v >> (8 * i)) & 0xFF);
    };
    auto put16 = [&b](std::uint16_t v) {
        b += char(v & 0xFF);
        b += char(v >> 8);
    };
    put32(54 + 16);
    put32(0);
    put32(54);
    put32(40);
    put32(std::uint32_t(w));
    put32(std::uint32_t(h));
    put16(1);
    put16(24);
    put32(0);
    put32(0);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    return b + std::string(16, '\x7F');
}

}  // namespace

// Headers that claim more than any picture of the almanac has are refused before a pixel is
// allocated; damaged and foreign bytes are refused without a crash. Either way the picture
// stays empty.
TEST(Picture, RefusesHugeClaimsAndDamagedBytes) {
    struct Case {
        const char* what;
        std::string bytes;
        CPicture::Load expected;
    };
    const Case cases[] = {
        {"GIF of 60000 x 60000", Gif(60000, 60000), CPicture::Load::TooLarge},
        {"GIF 1 pixel high, 60000 wide", Gif(60000, 1), CPicture::Load::TooLarge},
        {"PNG bomb 50000 x 50000", PngBomb(50000, 50000), CPicture::Load::TooLarge},
        {"PNG of 9000 x 9000, over the pixel count", PngBomb(9000, 9000), CPicture::Load::TooLarge},
        {"BMP claiming 60000 x 60000", BmpHeader(60000, 60000), CPicture::Load::TooLarge},
        {"BMP claiming a negative width", BmpHeader(-5, 5), CPicture::Load::Unreadable},
        {"empty", "", CPicture::Load::Unreadable},
        {"text", "Bevölkerungspyramide", CPicture::Load::Unreadable},
        {"GIF cut after its header", Gif(20, 20).substr(0, 13), CPicture::Load::Unreadable},
        {"PNG without its data", Encoded(Filled(40, 30, Qt::red), "PNG").substr(0, 40),
         CPicture::Load::Unreadable},
    };
    for (const Case& c : cases) {
        CPicture picture;
        const CPicture::Load load = LoadBytes(c.bytes, picture);
        // The toolkit's reader already gives up on some claims before the limit is asked.
        if (c.expected == CPicture::Load::TooLarge)
            EXPECT_NE(load, CPicture::Load::Ok) << c.what;
        else
            EXPECT_EQ(load, c.expected) << c.what;
        EXPECT_FALSE(picture.IsValid()) << c.what;
        EXPECT_EQ(picture.Width(), 0) << c.what;
    }

    // PNG headers are believed as far as the limit: the bombs are stopped by it.
    CPicture bomb;
    EXPECT_EQ(LoadBytes(PngBomb(50000, 50000), bomb), CPicture::Load::TooLarge);
    EXPECT_EQ(LoadBytes(PngBomb(9000, 9000), bomb), CPicture::Load::TooLarge);

    // An image larger than the screen it is drawn on is cut to that screen.
    CPicture cut;
    EXPECT_EQ(LoadBytes(Gif(10, 10, 30000, 30000), cut), CPicture::Load::Ok);
    EXPECT_EQ(QSize(cut.Width(), cut.Height()), QSize(10, 10));

    // The limits leave room for every real picture: the largest allowed loads.
    CPicture wide;
    EXPECT_EQ(LoadBytes(Encoded(Filled(kMaxPictureSide, 20, Qt::blue), "PNG"), wide),
              CPicture::Load::Ok);
    EXPECT_EQ(wide.Width(), kMaxPictureSide);
    CPicture gif;
    ASSERT_EQ(LoadBytes(Gif(1, 1), gif), CPicture::Load::Ok);
    EXPECT_EQ(gif.Image().pixelColor(0, 0), QColor(Qt::red));
}

// The size on screen is the picture's size in inches at the screen's resolution; a picture
// whose file gives no resolution keeps its pixels on any screen. Transparent parts show
// white, and the picture is drawn as a plain copy.
TEST(Picture, ScreenSizeTransparencyAndDrawing) {
    QImage print = Filled(72, 144, Qt::green, QPoint(71, 143));
    print.setDotsPerMeterX(2835);  // 72 dpi
    print.setDotsPerMeterY(2835);
    CPicture picture;
    ASSERT_EQ(LoadBytes(Encoded(print, "PNG"), picture), CPicture::Load::Ok);
    EXPECT_EQ(picture.Width(), 96);
    EXPECT_EQ(picture.Height(), 192);

    ASSERT_EQ(LoadBytes(Encoded(print, "PNG"), picture, 120), CPicture::Load::Ok);
    EXPECT_EQ(QSize(picture.Width(), picture.Height()), QSize(120, 240));
    ASSERT_EQ(LoadBytes(Gif(50, 40, 50, 40), picture, 120), CPicture::Load::Ok);
    EXPECT_EQ(QSize(picture.Width(), picture.Height()), QSize(50, 40));

    const QImage screen = Filled(30, 20, QColor(10, 20, 30), QPoint(29, 19));
    for (const char* format : {"BMP", "PNG", "JPG"}) {
        ASSERT_EQ(LoadBytes(Encoded(screen, format), picture), CPicture::Load::Ok) << format;
        EXPECT_EQ(QSize(picture.Width(), picture.Height()), QSize(30, 20)) << format;
    }

    QImage glass(10, 10, QImage::Format_ARGB32);
    glass.fill(Qt::transparent);
    glass.setPixelColor(5, 5, Qt::blue);
    ASSERT_EQ(LoadBytes(Encoded(glass, "PNG"), picture), CPicture::Load::Ok);
    EXPECT_EQ(picture.Image().pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(picture.Image().pixelColor(5, 5), QColor(Qt::blue));

    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        picture.Draw(painter, QPoint(4, 6));
    }
    EXPECT_EQ(canvas.pixelColor(3, 6), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(4, 6), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(9, 11), QColor(Qt::blue));
}

// Members come out of archives that Info-ZIP encrypted with the program's password; a
// missing archive or member, a wrong password and a member that is no picture all end in
// the viewers' one message, and none of them throws.
TEST(Picture, FromArchives) {
    CTempDir dir;
    ASSERT_TRUE(MakeArchive(dir.Path(), "Graph.nox",
                            {{"pyramide.gif", Gif(1, 1)},
                             {"bombe.gif", Gif(60000, 60000)},
                             {"text.gif", "keine Grafik"},
                             {"karte.bmp", Encoded(Filled(40, 30, Qt::red), "BMP")}}));
    ASSERT_TRUE(MakeArchive(dir.Path(), "Fremd.nox", {{"pyramide.gif", Gif(1, 1)}}, "anders"));

    CPicture picture;
    EXPECT_EQ(ReadArchivePicture(dir / "Graph.nox", "KARTE.BMP", kArchivePassword, picture),
              PictureRead::Ok);
    EXPECT_EQ(picture.Width(), 40);
    EXPECT_EQ(ReadArchivePicture(dir / "Graph.nox", "pyramide.gif", kArchivePassword, picture),
              PictureRead::Ok);

    EXPECT_EQ(ReadArchivePicture(dir / "Graph.nox", "bombe.gif", kArchivePassword, picture),
              PictureRead::Refused);
    EXPECT_FALSE(picture.IsValid());
    EXPECT_EQ(ReadArchivePicture(dir / "Graph.nox", "text.gif", kArchivePassword, picture),
              PictureRead::Refused);
    EXPECT_EQ(ReadArchivePicture(dir / "Graph.nox", "fehlt.gif", kArchivePassword, picture),
              PictureRead::NotFound);
    EXPECT_EQ(ReadArchivePicture(dir / "Fehlt.nox", "pyramide.gif", kArchivePassword, picture),
              PictureRead::NotFound);
    EXPECT_EQ(ReadArchivePicture(dir / "Fremd.nox", "pyramide.gif", kArchivePassword, picture),
              PictureRead::NotFound);
    EXPECT_EQ(PictureNotFoundText("pyramide.gif"), "Datei <pyramide.gif> nicht gefunden!?");
}
