#include "IconTheme.h"

#include "SkinPaint.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace {

// Names the window templates use that Adwaita's symbolic set spells otherwise.
const QHash<QString, QString>& StandIns() {
    static const QHash<QString, QString> names = {
        {QStringLiteral("text-html"), QStringLiteral("document-send")},
        {QStringLiteral("x-office-document"), QStringLiteral("text-x-generic")},
        {QStringLiteral("image"), QStringLiteral("image-x-generic")},
        {QStringLiteral("help"), QStringLiteral("help-browser")},
    };
    return names;
}

}  // namespace

CIconTheme::CIconTheme(const QString& root) {
    QDirIterator it(root + QStringLiteral("/scalable"), {QStringLiteral("*-symbolic.svg")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QString name = QFileInfo(path).fileName();
        name.chop(static_cast<int>(qstrlen("-symbolic.svg")));
        // "legacy" holds the older spellings; a name in another folder wins
        if (!m_files.contains(name) || !path.contains(QStringLiteral("/legacy/")))
            m_files.insert(name, path);
    }
}

QString CIconTheme::FileFor(const QString& name) const {
    if (const auto it = m_files.find(name); it != m_files.end()) return *it;
    if (const auto alias = StandIns().find(name); alias != StandIns().end())
        return m_files.value(*alias);
    return {};
}

namespace {

// The globe is the product's own emblem rather than the theme's browser icon.
bool IsGlobe(const QString& name) {
    return name == QLatin1String("applications-internet") || name == QLatin1String("globe");
}

}  // namespace

bool CIconTheme::Has(const QString& name) const {
    return IsGlobe(name) || !FileFor(name).isEmpty();
}

bool CIconTheme::Draw(QPainter& painter, const QString& name, const QRect& rect,
                      const QColor& color) const {
    if (IsGlobe(name)) {
        const qreal inset = rect.width() / 16.0;
        skin::Emblem(painter, QRectF(rect).adjusted(inset, inset, -inset, -inset), color);
        return true;
    }
    const QString file = FileFor(name);
    if (file.isEmpty()) {
        if (!m_missing.contains(name)) m_missing.append(name);
        return false;
    }
    QSvgRenderer renderer(file);
    if (!renderer.isValid()) return false;

    // Render the shape alone, then give it the ink: the theme's own colours are grey.
    QImage shape(rect.size(), QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter p(&shape);
        p.setRenderHint(QPainter::Antialiasing);
        renderer.render(&p, QRectF(0, 0, rect.width(), rect.height()));
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(shape.rect(), color);
    }
    painter.drawImage(rect.topLeft(), shape);
    return true;
}
