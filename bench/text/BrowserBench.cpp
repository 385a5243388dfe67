// The windows over the embedded browser, timed as the user meets them (run under a display,
// xvfb-run): from a click on a cross reference in an article to the article window's
// page-loaded notification for the article it opens, and from the selection of a table cell
// to the cell information shown with its page. The fixture almanac and templates of the
// tests.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include "app/Settings.h"
#include "controls/TemplateDialog.h"
#include "mainwnd/MainWnd.h"
#include "table/CellInfoAlmanac.h"
#include "table/CellInfoDlg.h"
#include "table/Table.h"
#include "table/TableWnd.h"
#include "text/ArticleAlmanac.h"
#include "text/BrowserTestSupport.h"
#include "text/NOXBrowser.h"
#include "text/TextBrowser.h"

using namespace browsertest;

namespace {

struct CProgram {
    CProgram()
        : messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()),
          temp("TMPDIR", dir.Path().c_str()) {
        std::filesystem::create_directories(dir / "Daten");
        CreateArticleAlmanac(dir / "Daten");
        WriteWindowTemplates(dir / "HTML/");
        WriteCellInfoTemplates(dir / "HTML/");
        WriteFile(dir / "NOX.INI",
                  "[Setup]\nApp=Almanach\n[Paths]\nUserData=user/\nIMG=Daten/\nHTML=HTML/\n");
        registry = std::make_unique<CRegistryFiles>("", dir / "registry.ini");
        settings = std::make_unique<CSettings>(dir.Path(), *registry);
        InstallSettings(settings.get());
        db.Open(dir / "Daten/Kompendor.mdb", false, true, kAlmanacConnect);
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        wnd = std::make_unique<CMainWnd>(&db);
        wnd->show();
    }
    CTempDir dir;
    CScopedEnv messages;
    CScopedEnv temp;
    std::unique_ptr<CRegistryFiles> registry;
    std::unique_ptr<CSettings> settings;
    CDatabase db;
    std::unique_ptr<CMainWnd> wnd;
};

CProgram& Program() {
    static CProgram program;
    return program;
}

void BM_LinkClickToPageLoaded(benchmark::State& state) {
    CMainWnd& wnd = *Program().wnd;
    wnd.OpenTextBrowser(kEuropa, &wnd, QString());
    CTextBrowser* window = wnd.TextBrowserWindow();
    // The article's page-loaded notification, as the window receives it from its browser.
    struct CPageLoads : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == NBM_PAGELOADED) ++count;
            return false;
        }
    } pageLoads;
    window->installEventFilter(&pageLoads);
    int& loads = pageLoads.count;
    CWebView* view = window->Browser()->WebView();
    // The article's own page, not the bare host page the window started with.
    bool composed = false;
    WaitFor([&] {
        if (window->Browser()->IsLoading()) return false;
        view->RunScript(QStringLiteral("!!document.getElementById('Layer2')"),
                        [&](const QVariant& v) { composed = v.toBool(); });
        return composed;
    });
    // Back and forth between two articles, each through a cross reference on the page.
    const char* targets[] = {"vorgeschichte", "geschichte"};
    int round = 0;
    for (auto _ : state) {
        bool ready = false;
        view->RunScript(QStringLiteral("document.body.insertAdjacentHTML('beforeend', '<a "
                                       "id=bench href=\"%1\" target=STEXT>x</a>')")
                            .arg(QLatin1String(targets[round++ % 2])),
                        [&](const QVariant&) { ready = true; });
        WaitFor([&] { return ready; });
        const int before = loads;
        QElapsedTimer clock;
        clock.start();
        view->RunScript(QStringLiteral("document.getElementById('bench').click()"), {});
        if (!WaitFor([&] { return loads > before; }, 10000)) {
            state.SkipWithError("no page-loaded notification");
            return;
        }
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    }
}
BENCHMARK(BM_LinkClickToPageLoaded)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

void BM_CellSelectionToShownPage(benchmark::State& state) {
    CMainWnd& wnd = *Program().wnd;
    wnd.ShowTable(1, 1, {fixture::kDeutschland, fixture::kOesterreich, fixture::kAegypten},
                  {fixture::kEinwohner, fixture::kBip});
    CTable* grid = wnd.TableWindow()->Grid();
    grid->Select(1, 1);
    CCellInfoDlg* info = wnd.CellInfoWindow();
    int shown = 0;
    QObject::connect(info, &CCellInfoDlg::updated, [&] { ++shown; });
    WaitFor([&] { return shown > 0; });
    int column = 1;
    for (auto _ : state) {
        const int before = shown;
        column = column % 3 + 1;
        QElapsedTimer clock;
        clock.start();
        grid->Select(column, 1 + column % 2);
        if (!WaitFor([&] { return shown > before; }, 10000)) {
            state.SkipWithError("the cell information did not show");
            return;
        }
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    }
}
BENCHMARK(BM_CellSelectionToShownPage)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Program().wnd.reset();
    benchmark::Shutdown();
    return 0;
}
