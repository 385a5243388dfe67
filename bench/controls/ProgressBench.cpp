// What a progress report costs a long run: the bookkeeping alone, a full step of the window
// (which also lets waiting events through), and, for comparison, a window that redraws its
// bar and text on every step. Run offscreen: QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "controls/ProgressEstimate.h"
#include "controls/ProgressWnd.h"
#include "controls/TemplateDialog.h"
#include "noxctrls/ProgressCtrl.h"
#include "noxctrls/StaticCtrl.h"
#include "platform/Tick.h"

namespace {

void EstimateStep(benchmark::State& state) {
    CProgressEstimate estimate(TimeGetTime);
    estimate.Start(INT32_MAX);
    for (auto _ : state) benchmark::DoNotOptimize(estimate.Step());
}
BENCHMARK(EstimateStep);

// The baseline every window step pays: one round of the event loop.
void ProcessEventsOnly(benchmark::State& state) {
    for (auto _ : state) QCoreApplication::processEvents();
}
BENCHMARK(ProcessEventsOnly);

void WindowStep(benchmark::State& state) {
    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    CProgressWnd progress;
    progress.Start(&parent, INT32_MAX);
    for (auto _ : state) benchmark::DoNotOptimize(progress.Step());
}
BENCHMARK(WindowStep);

// A step that changes bar and text every time (painted in the next round of the event loop):
// what the throttling saves.
void WindowStepUnthrottled(benchmark::State& state) {
    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    CProgressWnd progress;
    progress.Start(&parent, INT32_MAX);
    auto* window = qobject_cast<CTemplateDialog*>(progress.Window());
    auto* bar = window->Controls().Progress(CProgressWnd::kProgressBarId);
    auto* text = window->Controls().Static(CProgressWnd::kTimeTextId);
    int n = 0;
    for (auto _ : state) {
        QCoreApplication::processEvents();
        bar->SetValue(n % 101);
        text->SetText(QString::asprintf(CProgressEstimate::TimeTextFormat(), unsigned(n)));
        ++n;
    }
}
BENCHMARK(WindowStepUnthrottled);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
