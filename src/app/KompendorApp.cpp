#include "app/KompendorApp.h"

#include <unistd.h>

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QPromise>
#include <QScreen>
#include <QTranslator>
#include <clocale>
#include <filesystem>

#include "app/AppCursors.h"
#include "app/IntroWnd.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "controls/BitmapResource.h"
#include "controls/Fonts.h"
#include "data/ErrorReporter.h"
#include "platform/StartupTrace.h"
#include "platform/ui/QtDialogs.h"

namespace {

// The intro picture among the numbered bitmaps.
constexpr int kIntroBitmap = 268;

bool HasGpu() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
        if (entry.path().filename().string().starts_with("renderD")) return true;
    }
    return false;
}

}  // namespace

CKompendorApp* TheApp() { return qobject_cast<CKompendorApp*>(QCoreApplication::instance()); }

void PrepareBrowserEnvironment() {
    const char* current = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
    std::string flags = ChromiumFlags(current ? current : "", ::geteuid() == 0, HasGpu());
    if (!flags.empty()) ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str(), 1);
    // The drawing context the embedded browser shares with the windows is made with the first
    // browser (text/WebViewModule.h), not here: making it costs start-up 60-90 ms on machines
    // that draw in software.
}

CKompendorApp::CKompendorApp(int& argc, char** argv, IRegistryStore& registry)
    : QApplication(argc, argv), m_registry(registry) {
    setApplicationName(QStringLiteral("Kompendor"));
    // The program speaks German whatever the desktop's language: the toolkit's own dialogs
    // (file dialog, buttons) too.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // The toolkit took the user's locale for the C library; numbers written with printf
    // keep their point (the German form is FormatNumber's business).
    std::setlocale(LC_NUMERIC, "C");
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_de"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    RegisterFontSubstitutions();
    InstallQtMessagePresenter();
}

CKompendorApp::~CKompendorApp() {
    ExitInstance();
    SetDBCursorHook(nullptr);
    SetMessagePresenter(nullptr);
}

bool CKompendorApp::InitInstance() {
    const CSettings& settings = TheSettings();
    CMountTable drives = CMountTable::FromSystem();
    CStartupChecks checks(settings, drives, m_registry);
    StartIntroPicture();
    StartupHooks hooks;
    // The toolkit has started when the application object exists; the failure path stays for
    // a toolkit that reports otherwise.
    hooks.initComponents = [] { return QCoreApplication::instance() != nullptr; };
    hooks.loadCursors = [this] {
        LoadCursors();
        StartupMark("cursors");
    };
    StartupResult result = checks.Run(hooks);
    if (!result.ok) {
        m_exitCode = result.exitCode;
        return false;
    }
    m_pDatabase = std::move(result.database);
    m_strMapPath = std::move(result.mapPath);

    RunIntro();

    m_pMainWnd.reset(m_createMainWindow ? m_createMainWindow(*this) : nullptr);
    m_exitCode = m_pMainWnd ? 0 : 1;
    return m_pMainWnd != nullptr;
}

int CKompendorApp::ExitInstance() {
    if (m_introPictureThread.joinable()) m_introPictureThread.join();
    m_pMainWnd.reset();
    m_pDatabase.reset();
    return m_exitCode;
}

void CKompendorApp::LoadCursors() {
    const CSettings& settings = TheSettings();
    m_cursorPointer = LoadAppCursor(settings, "Pointer");
    m_cursorWait = LoadAppCursor(settings, "Wait");
    if (!m_cursorWait.IsNull()) m_waitAnimation = new CCursorAnimation(m_cursorWait, this);
    // Every database operation switches between "Wait" and the arrow.
    SetDBCursorHook([this](bool busy) { ShowBusy(busy); });
}

void CKompendorApp::ShowBusy(bool busy) {
    if (busy) {
        if (m_busyDepth++ > 0) return;
        if (m_waitAnimation) {
            m_waitAnimation->ShowAsOverride();
        } else {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    } else {
        if (m_busyDepth == 0 || --m_busyDepth > 0) return;
        if (m_waitAnimation) {
            m_waitAnimation->Stop();
        } else {
            QApplication::restoreOverrideCursor();
        }
    }
}

QCursor CKompendorApp::PointerCursor() const {
    return m_cursorPointer.IsNull() ? QCursor(Qt::PointingHandCursor) : m_cursorPointer.First();
}

QCursor CKompendorApp::WaitCursor() const {
    return m_cursorWait.IsNull() ? QCursor(Qt::WaitCursor) : m_cursorWait.First();
}

void CKompendorApp::StartIntroPicture() {
    // An 800 by 600 picture takes the better part of 20 ms to decode: about the time the
    // checks, the almanac and the intro window take, and far less than opening the film.
    QPromise<QImage> promise;
    m_introPicture = promise.future();
    m_introPictureThread = std::thread([promise = std::move(promise)]() mutable {
        promise.start();
        promise.addResult(LoadBitmapImage(kIntroBitmap));
        promise.finish();
    });
}

void CKompendorApp::RunIntro() {
    const std::string movie = TheSettings().baseDir + kIntroMovie;
    CIntroWnd::Run(m_introPicture, QString::fromStdString(movie), &m_pIntro);
}
