#pragma once
// The context menu of the image window and the flag viewer: print, export, close.

class QWidget;
class QPoint;

// The ids of its items.
enum PictureMenuItem { kMenuPrint = 1, kMenuExport = 2, kMenuClose = 3 };

// Opens the menu at pos (screen coordinates) over owner and returns the chosen item, 0 for
// none.
int TrackPictureMenu(QWidget* owner, const QPoint& pos);
