// The table window on the sample edition, offscreen: every country and every field, from the
// Display call to the first complete paint, and a page of scrolling with its repaint.
//
// The edition is build/dist (scripts/build-dist), or the installation KOMPENDOR_DIST names.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <QApplication>

#include "controls/Fonts.h"
#include "controls/TemplateDialog.h"
#include "data/ErrorReporter.h"
#include "table/Table.h"
#include "table/TableWnd.h"
#include "table/YearLogic.h"

namespace {

struct Edition {
    CDatabase db;
    CTableResources resources;
    IdList countries;
    IdList fields;
    bool ok = false;

    Edition() {
        const char* env = std::getenv("KOMPENDOR_DIST");
        const std::string dist = std::filesystem::absolute(
            env != nullptr ? env : KOMPENDOR_BENCH_SOURCE_DIR "/build/dist");
        if (!std::filesystem::exists(dist + "/Daten/Kompendor.mdb")) return;
        // The sample edition's layout, as its NOX.INI names it.
        CTemplateDialog::SetUiDirectory(QString::fromStdString(dist + "/UI/"));
        db.Open(dist + "/Daten/Kompendor.mdb", false, true, kAlmanacConnect);
        resources.database = &db;
        resources.imageFolder = dist + "/Daten/";
        DBRead(db, "SELECT ID FROM Land ORDER BY ID", "bench", [&](CRecordset& rs) {
            for (; !rs.IsEOF(); rs.MoveNext())
                countries.push_back(rs.GetFieldValue("ID").Integer());
        });
        DBRead(db, "SELECT ID FROM Val ORDER BY ID", "bench", [&](CRecordset& rs) {
            for (; !rs.IsEOF(); rs.MoveNext()) fields.push_back(rs.GetFieldValue("ID").Integer());
        });
        ValidateDataIDs(&db, fields);
        ok = true;
    }
};

Edition& TheEdition() {
    static Edition edition;
    return edition;
}

void Settle(QWidget& window) {
    window.repaint();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// range(0): 1 country columns (DisplayStaaten), 2 data columns (DisplayDaten).
void BM_ShowTable(benchmark::State& state) {
    Edition& edition = TheEdition();
    if (!edition.ok) {
        state.SkipWithError("no sample edition (run scripts/build-dist or set KOMPENDOR_DIST)");
        return;
    }
    CTableWnd wnd(nullptr);
    wnd.SetResources(edition.resources);
    wnd.resize(1920, 1080);
    wnd.show();
    Settle(wnd);
    const bool staaten = state.range(0) == 1;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool done = staaten ? wnd.DisplayStaaten(edition.countries, edition.fields)
                                  : wnd.DisplayDaten(edition.countries, edition.fields);
        // The first complete paint of the window with all its visible cells.
        wnd.repaint();
        const auto end = std::chrono::steady_clock::now();
        if (!done) state.SkipWithError("the fill did not finish");
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.counters["cells"] = static_cast<double>(edition.countries.size() * edition.fields.size());
}
BENCHMARK(BM_ShowTable)
    ->ArgName("view")
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(3)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

// range(0): view as above; range(1): 0 page down, 1 page right, 2 repaint in place (the
// baseline: every visible cell painted again without scrolling).
void BM_ScrollTable(benchmark::State& state) {
    Edition& edition = TheEdition();
    if (!edition.ok) {
        state.SkipWithError("no sample edition (run scripts/build-dist or set KOMPENDOR_DIST)");
        return;
    }
    CTableWnd wnd(nullptr);
    wnd.SetResources(edition.resources);
    wnd.resize(1920, 1080);
    wnd.show();
    if (state.range(0) == 1) {
        wnd.DisplayStaaten(edition.countries, edition.fields);
    } else {
        wnd.DisplayDaten(edition.countries, edition.fields);
    }
    Settle(wnd);
    CTable* grid = wnd.Grid();
    const int mode = static_cast<int>(state.range(1));
    for (auto _ : state) {
        const int x = grid->GetScrollX();
        const int y = grid->GetScrollY();
        if (mode == 0) grid->PageDown();
        if (mode == 1) grid->PageRight();
        if (mode == 2) grid->Invalidate(false);
        if (mode != 2 && x == grid->GetScrollX() && y == grid->GetScrollY()) {
            grid->ScrollBy(mode == 1 ? -x : 0, mode == 0 ? -y : 0);
        }
        Settle(wnd);
    }
}
BENCHMARK(BM_ScrollTable)
    ->ArgNames({"view", "mode"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Args({2, 2})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
