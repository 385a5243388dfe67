#pragma once
// Pictures of the edition as GIF files: Qt reads GIF but cannot write it.

#include <QByteArray>
#include <QImage>

// Reduces a picture to at most maxColors colours (2..256) by median cut, without
// dithering, so flag edges stay clean. The result is an 8-bit indexed image.
QImage QuantizeImage(const QImage& image, int maxColors);

// Encodes an 8-bit indexed image as a GIF89a file (global colour table, one frame, LZW).
// Returns an empty array for any other format or an empty image.
QByteArray EncodeGif(const QImage& indexed);
