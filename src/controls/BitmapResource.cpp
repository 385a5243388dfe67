#include "controls/BitmapResource.h"

#include <QString>

QPixmap LoadBitmapResource(int id) { return QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(id)); }
