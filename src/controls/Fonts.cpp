#include "controls/Fonts.h"

#include <QFont>
#include <QStringList>

void RegisterFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    // Liberation Sans keeps the narrow width of the old dialog font; DejaVu Sans, with its
    // larger x-height, stays legible at the tiny sizes "Small Fonts" was made for.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Small Fonts"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}
