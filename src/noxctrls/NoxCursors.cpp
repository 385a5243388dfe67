#include "noxctrls/NoxCursors.h"

#include <QHash>

namespace {

QHash<QString, QCursor>& Registry() {
    static QHash<QString, QCursor> registry;
    return registry;
}

}  // namespace

void SetNamedCursor(const QString& name, const QCursor& cursor) {
    Registry().insert(name.toLower(), cursor);
}

QCursor NamedCursor(const QString& name) {
    const QString key = name.toLower();
    auto it = Registry().constFind(key);
    if (it != Registry().constEnd()) return *it;
    if (key == QLatin1String("pointer")) return QCursor(Qt::PointingHandCursor);
    if (key == QLatin1String("move")) return QCursor(Qt::SizeAllCursor);
    return QCursor(Qt::ArrowCursor);
}

void ClearNamedCursors() { Registry().clear(); }
