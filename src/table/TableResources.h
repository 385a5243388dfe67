#pragma once
// What the table window and its cells use of the program: the almanac, the window that takes
// their requests, the cursor over clickable parts and the folder the flag pictures lie in.
// The main window owns all of it and hands it in; nothing here reaches up to the application
// object.

#include <string>

#include <QCursor>

class CDatabase;
class CTableHost;

struct CTableResources {
    // The open almanac; not owned, must outlive the windows it is handed to. Null: the
    // windows show nothing that needs it.
    CDatabase* database = nullptr;
    // Takes the requests of the table window and its cells (the main window); not owned.
    // Null: the requests go nowhere.
    CTableHost* host = nullptr;
    // "Pointer", the cursor over the cells' buttons and flags.
    QCursor pointer = QCursor(Qt::PointingHandCursor);
    // The picture folder (key IMG of section Paths, ending with "/"); the flags are read
    // from its "Flags/" folder. Empty: the country heads show no flags.
    std::string imageFolder;
};
