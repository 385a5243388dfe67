// Scrolling the grid by a page with a repaint, offscreen: 250 columns by 150 rows of cells
// that paint the base cell (background, frame, one line of text).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "table/Table.h"
#include "table/TableCell.h"

namespace {

constexpr int kColumns = 250;
constexpr int kRows = 150;

long paints = 0;

// The base cell's paint, counted, so the report shows how many cells each step repainted.
class CBenchCell : public CTableCell {
public:
    void DrawCell(QPainter& dc, const QRect& rect, const CellData* record) override {
        ++paints;
        CTableCell::DrawCell(dc, rect, record);
    }
};

struct Grid {
    QWidget window;
    CTable* table = nullptr;

    Grid(int columnWidth, int rowHeight) {
        window.resize(1920, 1080);
        table = new CTable;
        table->Create(&window, QRect(0, 0, 1920, 1080), QColor(173, 186, 206),
                      QColor(173, 186, 206), QColor(187, 198, 214));
        table->SetHeaderSizes(175, 50);
        table->AddRow(CellData("CBenchCell", CVariant::FromText(" ")), 48);
        for (int r = 1; r <= kRows; ++r) {
            table->AddRow(CellData("CBenchCell", CVariant::FromText("Land"), r), rowHeight);
        }
        for (int c = 1; c <= kColumns; ++c) {
            table->AddColumn(CellData("CBenchCell", CVariant::FromText("Feld"), c), columnWidth);
            for (int r = 1; r <= kRows; ++r) {
                table->SetData(c, r, CellData("CBenchCell", CVariant::FromDouble(c * 1000.5 + r)));
            }
        }
        window.show();
        table->Relayout(true);
        Settle();
    }

    void Settle() {
        window.repaint();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
};

// state.range(0), range(1): column width and row height; range(2): 0 page down, 1 page
// right, 2 no scrolling (every visible cell repainted in place, as the baseline).
void BM_PageAndRepaint(benchmark::State& state) {
    RegisterCellClass<CBenchCell>("CBenchCell");
    Grid grid(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const int mode = static_cast<int>(state.range(2));
    paints = 0;
    for (auto _ : state) {
        const int x = grid.table->GetScrollX();
        const int y = grid.table->GetScrollY();
        if (mode == 0) grid.table->PageDown();
        if (mode == 1) grid.table->PageRight();
        if (mode == 2) grid.table->Invalidate(false);
        if (mode != 2 && x == grid.table->GetScrollX() && y == grid.table->GetScrollY()) {
            // At the end: back to the start, which is a full new block as well.
            grid.table->ScrollBy(mode == 1 ? -x : 0, mode == 0 ? -y : 0);
        }
        grid.Settle();
    }
    state.counters["paints"]
        = benchmark::Counter(static_cast<double>(paints), benchmark::Counter::kAvgIterations);
    state.counters["cells"] = static_cast<double>((grid.table->GetVisibleColumnCount() + 1)
                                                  * (grid.table->GetVisibleRowCount() + 1));
}
BENCHMARK(BM_PageAndRepaint)
    ->ArgNames({"w", "h", "mode"})
    ->Args({220, 67, 0})
    ->Args({220, 67, 1})
    ->Args({220, 67, 2})
    ->Args({90, 25, 0})
    ->Args({90, 25, 1})
    ->Args({90, 25, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
