#include "app/AppCursors.h"

#include "app/Settings.h"

std::optional<QCursor> LoadAppCursor(const CSettings& settings, const std::string& name) {
    std::optional<std::string> file = settings.FindCursorFile(name);
    if (!file) return std::nullopt;
    // CURSOR-DECODER SEAM: the .cur/.ani reader is not in the tree yet; until it is, the
    // program uses the system's cursors.
    return std::nullopt;
}
