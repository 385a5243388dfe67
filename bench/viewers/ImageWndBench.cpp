// From the archive to the painted image window: extracting the member, decoding it, sizing
// and placing the window and painting it, for pictures like the edition's graphs (GIF made
// by ImageMagick), tables and maps (JPEG). The window is reused, as the main window reuses
// its one image window, or made anew for each picture. Run offscreen:
// QT_QPA_PLATFORM=offscreen bench_... --benchmark_repetitions=5.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <filesystem>
#include <map>

#include "viewers/ImageWnd.h"
#include "viewers/ViewerTestSupport.h"

namespace {

// A line chart with a grid, labels and a legend: what a graph of the edition looks like.
QImage Chart(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 246));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(210, 214, 222));
    for (int x = 60; x < w; x += 40) p.drawLine(x, 30, x, h - 40);
    for (int y = 30; y < h - 40; y += 30) p.drawLine(60, y, w - 20, y);
    const QColor colours[] = {QColor(0, 72, 124), QColor(196, 62, 56), QColor(60, 140, 60)};
    for (int s = 0; s < 3; ++s) {
        QPainterPath path;
        for (int x = 60; x < w - 20; x += 8) {
            const double y = h / 2.0 + (h / 4.0) * std::sin(x * 0.01 + s) * (1 - s * 0.2);
            x == 60 ? path.moveTo(x, y) : path.lineTo(x, y);
        }
        p.setPen(QPen(colours[s], 2.5));
        p.drawPath(path);
    }
    p.setPen(Qt::black);
    p.setFont(QFont(QStringLiteral("Arial"), 10));
    for (int year = 1990, x = 60; x < w - 20; x += 80, ++year)
        p.drawText(x - 12, h - 20, QString::number(year));
    p.drawText(60, 20, QStringLiteral("Einwohner der zehn größten Länder, in Millionen"));
    return image;
}

class CBenchFiles {
public:
    CBenchFiles() {
        using namespace viewer_test;
        const std::string stage = m_dir.Path() + "stage/";
        std::filesystem::create_directories(stage);
        Chart(900, 600).save(QString::fromStdString(stage + "graph.png"));
        const std::string convert
            = "convert '" + stage + "graph.png' '" + stage + "graph.gif' 2>/dev/null";
        m_haveGif = std::system(convert.c_str()) == 0;
        std::map<std::string, std::string> files;
        files["tabelle.jpg"] = Encoded(Chart(1000, 700), "JPG");
        files["karte.jpg"] = Encoded(Chart(1600, 1200), "JPG");
        if (m_haveGif) files["graph.gif"] = ReadFile(stage + "graph.gif");
        MakeArchive(m_dir.Path(), "Graph.nox", files);
    }
    QString Archive() const { return QString::fromStdString(m_dir.Path() + "Graph.nox"); }
    bool HaveGif() const { return m_haveGif; }

private:
    CTempDir m_dir;
    bool m_haveGif = false;
};

CBenchFiles& Files() {
    static CBenchFiles files;
    return files;
}

// Reused window: the picture replaces the one shown, the window keeps its place.
void OpenIntoShownWindow(benchmark::State& state, const char* member) {
    CViewerEnv env;
    CImageWnd wnd(nullptr, env);
    const QString name = QString::fromLatin1(member);
    if (!wnd.Open(Files().Archive(), name, name)) {
        state.SkipWithError("picture missing");
        return;
    }
    for (auto _ : state) {
        wnd.Open(Files().Archive(), name, name);
        wnd.repaint();
        wnd.PictureArea()->viewport()->repaint();
    }
}

void OpenIntoNewWindow(benchmark::State& state, const char* member) {
    CViewerEnv env;
    const QString name = QString::fromLatin1(member);
    for (auto _ : state) {
        CImageWnd wnd(nullptr, env);
        wnd.Open(Files().Archive(), name, name);
        wnd.repaint();
        wnd.PictureArea()->viewport()->repaint();
    }
}

}  // namespace

BENCHMARK_CAPTURE(OpenIntoShownWindow, graph_gif_900x600, "graph.gif")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenIntoShownWindow, table_jpg_1000x700, "tabelle.jpg")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenIntoShownWindow, map_jpg_1600x1200, "karte.jpg")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenIntoNewWindow, graph_gif_900x600, "graph.gif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenIntoNewWindow, table_jpg_1000x700, "tabelle.jpg")
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
