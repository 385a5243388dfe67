#include "app/AppCursors.h"

#include "app/Settings.h"

CFileCursor LoadAppCursor(const CSettings& settings, const std::string& name) {
    std::optional<std::string> path = settings.FindCursorFile(name);
    if (!path) return {};
    std::optional<CCursorFile> file = ReadCursorFile(*path);
    return file ? CFileCursor(*file) : CFileCursor();
}
