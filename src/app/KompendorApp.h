#pragma once
// The application object: brings the program up (installation checks, almanac, intro, main
// window) and takes it down again. It owns the almanac database and the main window.

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <QFuture>
#include <QImage>
#include <memory>
#include <string>
#include <thread>

#include "controls/Cursors.h"
#include "platform/RegistryFiles.h"

class CDatabase;
class CIntroWnd;

class CKompendorApp : public QApplication {
    Q_OBJECT

public:
    // The settings record must be installed before (InstallSettings); registry must outlive
    // the application object.
    CKompendorApp(int& argc, char** argv, IRegistryStore& registry);
    ~CKompendorApp() override;

    // Creates the main window, configured but not yet shown; it shows itself. The program
    // sets it, so that this library does not depend on the main window's.
    using MainWindowFactory = QWidget* (*)(CKompendorApp& app);
    void SetMainWindowFactory(MainWindowFactory factory) { m_createMainWindow = factory; }

    // Start-up: every installation check, the almanac, the intro and the main window. False
    // when start-up failed (also without a main window factory); ExitCode() is then the
    // program's exit code.
    bool InitInstance();
    // Shut-down: destroys the main window, then closes the database. Returns ExitCode().
    int ExitInstance();
    // 0 after a successful start-up, -1 after a missing installation file or folder, 1 after
    // any other failed start.
    int ExitCode() const { return m_exitCode; }

    // "Pointer", the cursor over clickable parts of the tables and pictures; the system's
    // pointing hand when the installation has none.
    QCursor PointerCursor() const;
    // "Wait", the busy cursor around database operations; the system's when there is none.
    QCursor WaitCursor() const;

    // The intro window while it exists; the intro clears it when it destroys itself.
    CIntroWnd* m_pIntro = nullptr;
    // The open almanac; null before start-up and after shut-down.
    std::unique_ptr<CDatabase> m_pDatabase;
    // The map data folder (key Map of section Paths).
    std::string m_strMapPath;
    // The main window; null before start-up and after shut-down. It must not delete itself
    // (no Qt::WA_DeleteOnClose): shut-down destroys it.
    std::unique_ptr<QWidget> m_pMainWnd;

private:
    void LoadCursors();
    void ShowBusy(bool busy);
    // Starts decoding the intro picture on a thread of its own, while start-up goes on.
    void StartIntroPicture();
    void RunIntro();

    IRegistryStore& m_registry;
    // The intro picture's decoder and what it gives; joined before shut-down.
    std::thread m_introPictureThread;
    QFuture<QImage> m_introPicture;
    CFileCursor m_cursorPointer;
    CFileCursor m_cursorWait;
    // Shows "Wait" while database operations run; nested operations share one showing.
    CCursorAnimation* m_waitAnimation = nullptr;
    int m_busyDepth = 0;
    int m_exitCode = 0;
    MainWindowFactory m_createMainWindow = nullptr;
};

// The running application object; null when the running application is another (tests).
CKompendorApp* TheApp();

// Sets QTWEBENGINE_CHROMIUM_FLAGS for the embedded browser; must run before the application
// object is created.
void PrepareBrowserEnvironment();
