#include "viewers/PictureMenu.h"

#include <QPoint>
#include <QWidget>

#include "controls/FlatMenu.h"
#include "viewers/Picture.h"
#include "viewers/ViewerEnv.h"

int TrackPictureMenu(QWidget* owner, const QPoint& pos) {
    CFlatMenu menu;
    menu.SetStyle(QStringLiteral("MS Sans Serif"), 8, QColor(0x00, 0x00, 0x00),
                  QColor(0xA5, 0xB6, 0xD7), QColor(0x70, 0x70, 0x70), QColor(0xFF, 0xFF, 0xFF),
                  QColor(0x4F, 0x59, 0x77));
    menu.Attach(-1);
    menu.AppendItem(0, QStringLiteral("Abbildung drucken"), kMenuPrint);
    menu.AppendItem(0, QStringLiteral("Abbildung exportieren"), kMenuExport);
    menu.AppendItem(CFlatMenu::kSeparator, QString(), 0);
    menu.AppendItem(0, QStringLiteral("Fenster schließen"), kMenuClose);
    return menu.TrackPopup(pos.x(), pos.y(), owner, true);
}

void RunPictureMenuItem(int id, QWidget* window, CPictureHost* host, const CPicture& picture,
                        const QString& name) {
    switch (id) {
        case kMenuPrint:
            if (host && picture.IsValid()) host->PrintPicture(window, picture.Image());
            break;
        case kMenuExport:
            if (host && picture.IsValid()) host->SavePicture(window, picture.Image(), name);
            break;
        case kMenuClose:
            window->close();
            break;
        default:
            break;
    }
}
