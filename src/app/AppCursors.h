#pragma once
// The program's own cursors from the cursor folder of the installation.

#include <QCursor>
#include <optional>
#include <string>

class CSettings;

// The cursor named name ("Pointer", "Wait") from "<cursor><name>.ani" or "<cursor><name>.cur";
// nothing when neither file exists or it cannot be read.
std::optional<QCursor> LoadAppCursor(const CSettings& settings, const std::string& name);
