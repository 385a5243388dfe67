// Varnholt Kompendor 2004.
#include <unistd.h>

#include <memory>

#include "app/KompendorApp.h"
#include "app/MainWindowFactory.h"
#include "app/QuitSignals.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "platform/StartupTrace.h"
#include "viewers/VideoWnd.h"

int main(int argc, char** argv) {
    StartupMark("main");
    // The settings record comes before everything else: the application object and every
    // module read their folders from it.
    const std::string programDir = CSettings::ProgramDirectory();
    static std::unique_ptr<CRegistryFiles> registry = OpenProgramRegistry(programDir);
    static CSettings settings(programDir, *registry);
    InstallSettings(&settings);
    StartupMark("settings");
    // The intro film's decoder libraries load while the toolkit starts; without a film they
    // would only compete with it.
    if (::access((settings.baseDir + kIntroMovie).c_str(), R_OK) == 0) PreloadMediaBackend();

    PrepareBrowserEnvironment();
    CKompendorApp app(argc, argv, *registry);
    StartupMark("toolkit");
    InstallQuitOnSignals();
    app.SetMainWindowFactory(&CreateMainWindow);
    if (!app.InitInstance()) return app.ExitInstance();
    const int code = app.exec();
    app.ExitInstance();
    return code;
}
