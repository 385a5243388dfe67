#pragma once
// The context menu of the image window and the flag viewer: print, export, close.

class CPicture;
class CPictureHost;
class QPoint;
class QString;
class QWidget;

// The ids of its items.
enum PictureMenuItem { kMenuPrint = 1, kMenuExport = 2, kMenuClose = 3 };

// Opens the menu at pos (screen coordinates) over owner and returns the chosen item, 0 for
// none.
int TrackPictureMenu(QWidget* owner, const QPoint& pos);

// Carries out the chosen item for window, which shows picture: printing and exporting (under
// name) go through host and do nothing without a host or a valid picture; closing closes window.
void RunPictureMenuItem(int id, QWidget* window, CPictureHost* host, const CPicture& picture,
                        const QString& name);
