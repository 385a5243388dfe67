#include "app/MainWindowFactory.h"

#include "app/IntroWnd.h"
#include "app/KompendorApp.h"
#include "app/Settings.h"
#include "controls/TemplateDialog.h"
#include "mainwnd/MainWnd.h"

QWidget* CreateMainWindow(CKompendorApp& app) {
    // Every skinned window from here on reads its bitmaps below the checked UI folder.
    CTemplateDialog::SetUiDirectory(QString::fromStdString(TheSettings().ui));
    auto* wnd = new CMainWnd(app.m_pDatabase.get());
    // The intro covers the desktop until the main window is about to show itself.
    if (app.m_pIntro) app.m_pIntro->CloseAfter(250);
    return wnd;
}
