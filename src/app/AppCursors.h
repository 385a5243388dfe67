#pragma once
// The program's own cursors from the cursor folder of the installation.

#include <string>

#include <QWidget>

#include "controls/Cursors.h"

class CSettings;

// The cursor named name ("Pointer", "Wait") from "<cursor><name>.ani" or "<cursor><name>.cur";
// a null cursor when neither file exists or the one found cannot be read.
CFileCursor LoadAppCursor(const CSettings& settings, const std::string& name);
