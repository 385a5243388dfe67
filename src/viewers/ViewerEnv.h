#pragma once
// What the picture viewers are handed by the window that owns them: the print and export of a
// picture, the reachability check of the installation medium and the saved window placements.
// The viewers read nothing else of the program's state.

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "archive/ArchivePassword.h"

class QWidget;

// The print and export of a picture; the main window offers both.
class CPictureHost {
public:
    virtual ~CPictureHost() = default;
    // Prints picture with the product's notice line below it.
    virtual void PrintPicture(QWidget* owner, const QImage& picture) = 0;
    // Saves picture as a bitmap file through the save dialog, proposing defaultName; false when
    // cancelled or the file could not be written.
    virtual bool SavePicture(QWidget* owner, const QImage& picture, const QString& defaultName) = 0;
};

// Window rectangles remembered under a name across runs.
class CWindowPlacements {
public:
    virtual ~CWindowPlacements() = default;
    // The rectangle saved under name in screen coordinates; nothing when none is.
    virtual std::optional<QRect> Load(const QString& name) const = 0;
    virtual void Save(const QString& name, const QRect& rect) = 0;
};

struct CViewerEnv {
    // Print and export; without a host the menu's two picture entries do nothing.
    CPictureHost* pictureHost = nullptr;
    // Placements; without them windows open centred and nothing is remembered.
    CWindowPlacements* placements = nullptr;
    // Whether the archive at a path can be read now; on a CD-ROM drive it asks for the disc.
    // Without a check every archive counts as reachable.
    std::function<bool(const std::string& path)> reachable;
    // The password of the picture archives.
    std::string password = kArchivePassword;

    bool Reachable(const std::string& path) const { return !reachable || reachable(path); }
};
