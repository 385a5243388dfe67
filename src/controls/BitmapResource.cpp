#include "controls/BitmapResource.h"

#include <QString>

namespace {
QString ResourcePath(int id) { return QStringLiteral(":/bitmaps/%1.png").arg(id); }
}  // namespace

QPixmap LoadBitmapResource(int id) { return QPixmap(ResourcePath(id)); }

QImage LoadBitmapImage(int id) { return QImage(ResourcePath(id), "PNG"); }
