#pragma once
// Pictures and archives for the viewers' tests: pictures drawn with the toolkit or written
// byte by byte (GIF headers that claim any size), and .nox archives made by Info-ZIP with the
// program's password, as the edition builds them.

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "archive/ArchivePassword.h"
#include "platform/TestFiles.h"

namespace viewer_test {

// A two-colour GIF of the given logical screen size whose single image is w by h pixels of
// the first colour (red); the header alone decides what a reader thinks the size is.
inline std::string Gif(int screenW, int screenH, int w = 1, int h = 1) {
    std::string g = "GIF89a";
    auto put16 = [&g](int v) {
        g += char(v & 0xFF);
        g += char((v >> 8) & 0xFF);
    };
    put16(screenW);
    put16(screenH);
    g += char(0x80);  // a global colour table of two entries
    g += '\0';
    g += '\0';
    g += std::string("\xFF\x00\x00\x00\x00\xFF", 6);
    g += ',';
    put16(0);
    put16(0);
    put16(w);
    put16(h);
    g += '\0';
    // LZW, minimum code size 2: clear, one pixel of colour 0, end. Larger images repeat the
    // pixel code, which a reader accepts as a short image.
    g += std::string("\x02\x02\x44\x01\x00", 5);
    g += ';';
    return g;
}

// The encoded bytes of image in format ("PNG", "BMP", "JPG").
inline std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

// A picture of w by h pixels in colour with a one-pixel black marker at (x, y).
inline QImage Filled(int w, int h, const QColor& colour, QPoint marker = QPoint(-1, -1)) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    if (image.rect().contains(marker)) image.setPixelColor(marker, Qt::black);
    return image;
}

// Writes files (member name -> bytes) into dir and packs them into the archive dir/name with
// zip -P and the program's password. True when zip succeeded.
inline bool MakeArchive(const std::string& dir, const std::string& name,
                        const std::map<std::string, std::string>& files,
                        const std::string& password = kArchivePassword) {
    const std::string stage = dir + ".stage-" + name + "/";
    std::string members;
    for (const auto& [member, bytes] : files) {
        WriteFile(stage + member, bytes);
        members += " '" + member + "'";
    }
    const std::string command
        = "cd '" + stage + "' && zip -q -P '" + password + "' '" + dir + name + "'" + members;
    const bool ok = std::system(command.c_str()) == 0;
    std::filesystem::remove_all(stage);
    return ok;
}

}  // namespace viewer_test
