// The world map on the sample edition, offscreen: Display (values, classes, colours), a full
// drawing of the map at 1920 x 1080 at every zoom level, the repaint of a drawn view with the
// pointer's country outlined, the hit test of a pointer move, and the map window from its
// creation to its first paint.
//
// The edition is build/dist (scripts/build-dist), or the installation KOMPENDOR_DIST names.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QSignalSpy>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "controls/Fonts.h"
#include "controls/TemplateDialog.h"
#include "data/Database.h"
#include "map/MapDlg.h"
#include "vmap/VMapScene.h"

namespace {

constexpr std::int32_t kField = 201;  // Bevölkerung
constexpr int kYear = 2017;

struct Edition {
    CDatabase db;
    std::string mapDir;
    bool ok = false;

    Edition() {
        const char* env = std::getenv("KOMPENDOR_DIST");
        const std::string dist = std::filesystem::absolute(
            env != nullptr ? env : KOMPENDOR_BENCH_SOURCE_DIR "/build/dist");
        if (!std::filesystem::exists(dist + "/Daten/Kompendor.mdb")) return;
        CTemplateDialog::SetUiDirectory(QString::fromStdString(dist + "/UI/"));
        db.Open(dist + "/Daten/Kompendor.mdb", false, true, kAlmanacConnect);
        mapDir = dist + "/Daten/Karte/";
        ok = std::filesystem::exists(mapDir + "Laender.vmp");
    }
};

Edition& TheEdition() {
    static Edition edition;
    return edition;
}

bool Skip(benchmark::State& state) {
    if (TheEdition().ok) return false;
    state.SkipWithError("no sample edition (run scripts/build-dist or set KOMPENDOR_DIST)");
    return true;
}

// The scene of the edition at 1920 x 1080 in the colours of the field.
vmap::CMapScene& Scene() {
    static vmap::CMapScene scene;
    static bool loaded = false;
    if (!loaded) {
        scene.Load(TheEdition().mapDir + "Laender.vmp");
        scene.SetSize(QSize(1920, 1080));
        const CMapDisplay d = ComputeMapDisplay(TheEdition().db, TheEdition().mapDir, kField, kYear, kYear);
        scene.SetColors(d.block.data());
        loaded = true;
    }
    return scene;
}

// Centres on Europe: at the higher levels the view is full of countries.
void ViewEurope(vmap::CMapScene& scene, int zoom) { scene.SetView(10, 50, zoom); }

void BM_Display(benchmark::State& state) {
    if (Skip(state)) return;
    for (auto _ : state) {
        CMapDisplay d = ComputeMapDisplay(TheEdition().db, TheEdition().mapDir, kField, kYear, kYear);
        benchmark::DoNotOptimize(d.block);
    }
}
BENCHMARK(BM_Display)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The whole map drawn anew (a zoom, a pan, new colours).
void BM_Draw1920(benchmark::State& state) {
    if (Skip(state)) return;
    vmap::CMapScene& scene = Scene();
    ViewEurope(scene, int(state.range(0)));
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        scene.Render(image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Draw1920)->DenseRange(1, 5)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A repaint of the window over the drawn view: the frame and the pointer's country outlined.
void BM_Repaint1920(benchmark::State& state) {
    if (Skip(state)) return;
    vmap::CMapScene& scene = Scene();
    ViewEurope(scene, int(state.range(0)));
    QImage frame(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    scene.Render(frame);
    QImage window(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    const int germany = scene.HitTest(scene.ToScreen(vmap::Project(10, 51)));
    for (auto _ : state) {
        QPainter painter(&window);
        painter.drawImage(0, 0, frame);
        scene.PaintHighlight(painter, germany);
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_Repaint1920)->DenseRange(1, 5)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_HitTest(benchmark::State& state) {
    if (Skip(state)) return;
    vmap::CMapScene& scene = Scene();
    ViewEurope(scene, int(state.range(0)));
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(0, 1920), y(0, 1080);
    std::vector<QPointF> points(4096);
    for (QPointF& p : points) p = QPointF(x(random), y(random));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scene.HitTest(points[i++ & 4095]));
    }
}
BENCHMARK(BM_HitTest)->DenseRange(1, 5)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// From the creation of the map window (the click's request) to its first complete paint,
// its 100 ms timer included.
void BM_FirstPaint(benchmark::State& state) {
    if (Skip(state)) return;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        CMapSetup setup;
        setup.database = &TheEdition().db;
        setup.mapDir = TheEdition().mapDir;
        setup.defaultYear = kYear;
        auto* map = new CMapDlg(nullptr, setup);
        QSignalSpy ready(map, &CMapDlg::ready);
        map->SetParams(kField, kYear);
        ready.wait(5000);
        if (QWidget* w = map->Renderer() ? map->Renderer()->GetWindow() : nullptr) w->repaint();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        delete map;
    }
}
BENCHMARK(BM_FirstPaint)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

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
