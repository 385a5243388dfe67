#include "noxctrls/NoxCtrl.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <cctype>

#include "noxctrls/NoxCursors.h"

bool ParseColorText(const QString& text, QColor& color) {
    if (text.size() != 6) return false;
    // QString::toUInt would also take a sign or blanks; the text must be six plain digits.
    for (QChar c : text)
        if (c.unicode() > 0x7F || !isxdigit(static_cast<unsigned char>(c.toLatin1()))) return false;
    const uint value = text.toUInt(nullptr, 16);
    color = QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    return true;
}

QString ColorText(const QColor& color) {
    return QStringLiteral("%1%2%3")
        .arg(color.red(), 2, 16, QLatin1Char('0'))
        .arg(color.green(), 2, 16, QLatin1Char('0'))
        .arg(color.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QPixmap LoadSkinBitmap(const QString& path) {
    // QPixmap(path) would consult the pixmap cache, keyed by path and modification second;
    // a skin file replaced while the program runs must show its new picture.
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) return QPixmap();
    return QPixmap::fromImage(image);
}

void DrawMissingBitmap(QPainter& painter, const QRect& rect, const QString& name) {
    painter.save();
    painter.fillRect(rect, QColor(255, 224, 232));
    painter.fillRect(rect, QBrush(QColor(220, 40, 90, 90), Qt::BDiagPattern));
    painter.setPen(QPen(QColor(200, 0, 40), 1));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    QFont font = painter.font();
    font.setPixelSize(qBound(7, rect.height() / 3, 11));
    painter.setFont(font);
    painter.setPen(QColor(140, 0, 30));
    painter.drawText(rect.adjusted(2, 1, -2, -1), Qt::AlignCenter | Qt::TextWrapAnywhere, name);
    painter.restore();
}

CNoxCtrl::CNoxCtrl(QWidget* parent) : QWidget(parent) {}

void CNoxCtrl::SetCursorName(const QString& name) {
    m_cursorName = name;
    setCursor(NamedCursor(name));
}

void CNoxCtrl::LoadInto(const QString& file, QPixmap& pixmap, QStringList& missing) const {
    const QString path = m_skinFolder + file;
    pixmap = LoadSkinBitmap(path);
    if (pixmap.isNull()) missing.append(path);
}
