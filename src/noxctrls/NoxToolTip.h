#pragma once
// The tooltip of the push buttons: shown after the configured delay in the configured font,
// size and colours (the ToolTip section of the settings). The program hands the values in
// at start-up; the library does not read the settings itself.

#include <QColor>
#include <QString>

#include "noxctrls/NoxCtrl.h"

class QWidget;

struct CToolTipStyle {
    QString font = QStringLiteral("MS Sans Serif");
    int fontSize = 10;  // points
    int delay = 1000;   // milliseconds from entering the button to showing the tip
    QColor textColor = QColor(0, 0, 0);
    QColor backColor = QColor(0, 0, 0);
};

// Sets the look and delay of every tooltip shown from now on: the push buttons' and the
// toolkit's own (the colours and the font; the toolkit keeps its delay).
NOXCTRLS_EXPORT void SetToolTipStyle(const CToolTipStyle& style);
NOXCTRLS_EXPORT const CToolTipStyle& ToolTipStyle();

// The text colour a tip of this style is drawn in: the configured one, or black or white
// when it equals the background (the settings' defaults are black on black).
NOXCTRLS_EXPORT QColor ReadableToolTipText(const CToolTipStyle& style);

// Shows text below the mouse position owned by the widget; hides any other tip first.
NOXCTRLS_EXPORT void ShowNoxToolTip(const QString& text, QWidget* owner);

// Hides the tip if the widget owns the one shown (null: whichever is shown).
NOXCTRLS_EXPORT void HideNoxToolTip(QWidget* owner = nullptr);

// The tip window while it is visible, else null (tests look at it).
NOXCTRLS_EXPORT QWidget* VisibleNoxToolTip();
