// Scrolling the graph gallery over every record: line by line with the wheel or the arrow
// keys, page by page, and dragging the thumb from top to bottom, each step painted. The
// previews are read from the archive and decoded when their entry first comes on screen:
// "cold" passes start with a new gallery, "warm" ones with the previews of an earlier pass.
// Besides the time of a pass, each reports the mean, the 99th percentile and the worst of its
// steps; steps well under a frame (16 ms) keep the scrolling fluid. On a shared machine the
// worst step mostly measures the other processes. Run offscreen:
// QT_QPA_PLATFORM=offscreen GraphViewBench --benchmark_repetitions=5.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <vector>

#include "data/Database.h"
#include "data/SqlText.h"
#include "viewers/GraphView.h"
#include "viewers/ListWnd.h"
#include "viewers/ViewerTestSupport.h"

namespace {

// More picture records than the edition has: graphs of the fields, panels of the countries,
// tables and maps.
constexpr int kRecords = 1200;

// A small bar chart of 88 pixels width in a palette of its own, as the edition's previews.
QImage PreviewChart(int seed) {
    const int h = 50 + seed % 21;
    QImage image(88, h, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 246));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 8; ++i) {
        const int bar = 6 + (seed * 7 + i * 13) % (h - 12);
        p.fillRect(QRect(6 + i * 10, h - 4 - bar, 7, bar), QColor(0, 72 + i * 12, 124));
    }
    p.end();
    return image.convertToFormat(QImage::Format_Indexed8);
}

class CBenchFiles {
public:
    CBenchFiles() {
        using namespace viewer_test;
        m_db.Create(m_dir.Path() + "almanach.mdb");
        m_db.Execute(
            "CREATE TABLE HTML (ID LONG PRIMARY KEY, Typ BYTE, SubTyp BYTE, "
            "Title TEXT COLLATE GERMAN, Abbildung TEXT)");
        m_db.Execute("BEGIN");
        std::map<std::string, std::string> previews;
        for (int id = 1; id <= kRecords; ++id) {
            const std::string member = SqlFormat("p%04d.gif", id);
            m_db.Execute(SqlFormat(
                "INSERT INTO HTML VALUES (%d, 9, %d, 'Grafik %04d: Entwicklung eines Merkmals "
                "in den Jahren 1990 bis 2002', '%s')",
                id, 2 + id % 3, id, member.c_str()));
            previews[member] = Encoded(PreviewChart(id), "PNG");
        }
        m_db.Execute("COMMIT");
        MakeArchive(m_dir.Path(), "Previews.nox", previews);
    }
    CDatabase* Db() { return &m_db; }
    std::string Folder() const { return m_dir.Path(); }

private:
    CTempDir m_dir;
    CDatabase m_db;
};

CBenchFiles& Files() {
    static CBenchFiles files;
    return files;
}

std::unique_ptr<CGraphView> MakeGallery() {
    auto gallery
        = std::make_unique<CGraphView>(nullptr, Files().Db(), CViewerEnv{}, Files().Folder(), nullptr);
    gallery->Open();
    gallery->show();
    return gallery;
}

bool AtEnd(const CListWnd& list) {
    return list.ItemCount() > 0 && list.ItemPosition(list.ItemCount() - 1) == list.GetRecordCount() - 1
           && list.Item(list.ItemCount() - 1)->geometry().bottom() < list.height();
}

// One pass of step() until the list shows its last record, each step painted; the steps'
// times go into the counters.
template <class Step>
void Pass(benchmark::State& state, CListWnd& list, Step step, std::vector<double>& times) {
    using Clock = std::chrono::steady_clock;
    for (int guard = 0; guard < 200000 && !AtEnd(list); ++guard) {
        const auto start = Clock::now();
        if (!step()) break;
        list.repaint();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        times.push_back(ms);
    }
    if (!AtEnd(list)) state.SkipWithError("the list did not reach its end");
}

void Report(benchmark::State& state, std::vector<double> times) {
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    double total = 0;
    for (double t : times) total += t;
    state.counters["steps"] = double(times.size()) / double(state.iterations());
    state.counters["mean_step_ms"] = total / double(times.size());
    state.counters["p99_step_ms"] = times[times.size() * 99 / 100];
    state.counters["worst_step_ms"] = times.back();
}

enum class Kind { Line, Page, Thumb };

void Scroll(benchmark::State& state, Kind kind, bool cold) {
    std::vector<double> times;
    std::unique_ptr<CGraphView> gallery;
    if (!cold) {
        gallery = MakeGallery();
        CListWnd& list = *gallery->List();
        int t = 0;
        Pass(state, list, [&] { list.ThumbTo(t += 5); return t <= 1000; }, times);
        times.clear();
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (cold)
            gallery = MakeGallery();
        else
            gallery->List()->ThumbTo(0);
        CListWnd& list = *gallery->List();
        int t = 0;
        state.ResumeTiming();
        switch (kind) {
            case Kind::Line:
                Pass(state, list, [&] { list.LineDown(); return true; }, times);
                break;
            case Kind::Page:
                Pass(state, list, [&] { list.PageDown(); return true; }, times);
                break;
            case Kind::Thumb:
                t = 0;
                Pass(state, list, [&] { list.ThumbTo(t += 5); return t <= 1000; }, times);
                break;
        }
        state.PauseTiming();
        if (cold) gallery.reset();
        state.ResumeTiming();
    }
    Report(state, times);
}

}  // namespace

BENCHMARK_CAPTURE(Scroll, lines_cold, Kind::Line, true)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Scroll, lines_warm, Kind::Line, false)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Scroll, pages_cold, Kind::Page, true)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Scroll, thumb_cold, Kind::Thumb, true)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Scroll, thumb_warm, Kind::Thumb, false)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
