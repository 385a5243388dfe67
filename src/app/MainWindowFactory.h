#pragma once
// The program's main window, kept out of the application library so that library does not
// depend on the main window's.

class CKompendorApp;
class QWidget;

// Creates the main window, configured but not yet shown; it shows itself.
QWidget* CreateMainWindow(CKompendorApp& app);
