#pragma once
// The program's numbered bitmap resources (caption 134, background 135, ...), painted by the
// skin painter at build time and built into the program as ":/bitmaps/<number>.png".

#include <QImage>
#include <QPixmap>

// The bitmap resource with that number; a null pixmap when the program has none.
QPixmap LoadBitmapResource(int id);
// The same as an image, which any thread may decode.
QImage LoadBitmapImage(int id);
