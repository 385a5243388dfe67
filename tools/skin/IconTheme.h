#pragma once
// Pictograms from the symbolic icons of a freedesktop icon theme (Adwaita), recoloured to
// the skin's ink so every button speaks the same visual language.

#include <QColor>
#include <QHash>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;

class CIconTheme {
public:
    // Indexes the symbolic SVG icons below root (e.g. /usr/share/icons/Adwaita).
    explicit CIconTheme(const QString& root);

    // Whether a pictogram of that freedesktop name (or its stand-in) exists.
    bool Has(const QString& name) const;

    // Draws the pictogram filled with color, rendered at the rect's pixel size at the rect's
    // whole-pixel position (symbolic icons are drawn for 16 px and stay sharp at 16 and 32).
    // False, and nothing drawn, when the theme has no such icon.
    bool Draw(QPainter& painter, const QString& name, const QRect& rect, const QColor& color) const;

    // Names asked for that the theme could not give, for the painter's report.
    QStringList Missing() const { return m_missing; }

private:
    QString FileFor(const QString& name) const;

    QHash<QString, QString> m_files;  // icon name without "-symbolic" -> SVG file
    mutable QStringList m_missing;
};
