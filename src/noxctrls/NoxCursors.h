#pragma once
// The named cursors the controls show ("Pointer", "Move", "Arrow"). The program fills the
// registry at start-up from its cursor files; until then, and for names it never sets,
// the controls use the platform's pointing hand, move and arrow cursors.

#include <QCursor>
#include <QString>

#include "noxctrls/NoxCtrl.h"

// Registers the cursor shown for a name (case-insensitive); replaces an earlier one.
NOXCTRLS_EXPORT void SetNamedCursor(const QString& name, const QCursor& cursor);

// The cursor for a name: the registered one, else the platform's stand-in; "(default)" and
// unknown names give the arrow.
NOXCTRLS_EXPORT QCursor NamedCursor(const QString& name);

// Forgets every registered cursor (tests, shutdown).
NOXCTRLS_EXPORT void ClearNamedCursors();
