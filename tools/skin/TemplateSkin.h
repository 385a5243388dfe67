#pragma once
// Paints the skin folders of the window templates: every background image and every button
// picture a template names, at the size of the control that shows it.

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

class CIconTheme;

namespace skin {

// One bitmap of a skin folder; path is relative to the UI folder ("SelStaat/OK_n.bmp").
struct SkinFile {
    QString path;
    QImage image;
};

struct SkinPaintResult {
    std::vector<SkinFile> files;
    QStringList problems;  // templates that could not be read, conflicting sizes, ...
    // Each template's window as painted: backgrounds with every button in its normal (or,
    // for tabs, first one current) state, for looking at the skin as a whole.
    std::vector<std::pair<int, QImage>> previews;
};

// Reads every "<number>.json" in templatesDir and paints what they name. Buttons take the
// background under them as their own, so their rounded corners blend into the window.
SkinPaintResult PaintTemplateSkins(const QString& templatesDir, const CIconTheme& icons);

}  // namespace skin
