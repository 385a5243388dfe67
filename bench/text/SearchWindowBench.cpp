// The search window and the list window offscreen on an almanac of the sample edition's size
// (GeneratedAlmanac.h, or the installation KOMPENDOR_SEARCH_DIST names):
// - BM_SearchClick: from the click on "Suchen" to the filled, repainted hit list;
// - BM_ListStep: one scroll step (line or page) of a list of every article, repainted;
//   "items" counts the item windows, "rssGrowthKB" what the process grew while scrolling
//   through the whole list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <cstdlib>
#include <fstream>
#include <string>

#include "controls/TemplateDialog.h"
#include "data/Database.h"
#include "text/GeneratedAlmanac.h"
#include "text/Search.h"
#include "viewers/ListWnd.h"

namespace {

CDatabase& Almanac() {
    static CDatabase db;
    if (!db.IsOpen()) {
        const char* dist = std::getenv("KOMPENDOR_SEARCH_DIST");
        const std::string mdb = dist ? std::string(dist) + "/Daten/Kompendor.mdb"
                                     : CreateGeneratedAlmanac(GeneratedAlmanacDirectory());
        db.Open(mdb, false, true, kAlmanacConnect);
    }
    return db;
}

long RssKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return 0;
}

const char* const kQueries[] = {"Berlin Mauer", "Wien ODER Donau", "Berlin UND NICHT Mauer",
                                "\"Vereinte Nationen\" Genf", "Regierung Parlament"};

void BM_SearchClick(benchmark::State& state) {
    CSearch search(nullptr, &Almanac(), nullptr);
    search.show();
    QCoreApplication::processEvents();  // builds the index, as after the window opened
    search.SetWholeWords(state.range(1) != 0);
    const QString query = QString::fromUtf8(kQueries[state.range(0)]);
    for (auto _ : state) {
        search.QueryField()->setText(query);
        search.Search();
        search.repaint();
    }
    state.SetLabel(std::string(kQueries[state.range(0)])
                   + (state.range(1) ? ", ganze Wörter" : ""));
    state.counters["hits"] = static_cast<double>(search.HitList()->GetRecordCount());
}
BENCHMARK(BM_SearchClick)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Unit(benchmark::kMillisecond);

// range(0): 0 a line, 1 a page.
void BM_ListStep(benchmark::State& state) {
    QWidget owner;
    owner.resize(440, 508);
    auto* list = new CListWnd(&owner);
    list->Create(&Almanac(), "SELECT * FROM HTML ORDER BY Title ASC", "ID", "Title", 1, 0, 0,
                 &owner, QRect(12, 106, 416, 356), 1050, 0, "CSearchListItem");
    list->SetScrollAmounts(20, 0);
    owner.show();
    QCoreApplication::processEvents();
    const long rssBefore = RssKilobytes();
    int most = 0;
    for (auto _ : state) {
        const long top = list->ItemPosition(0);
        const int y = list->ItemCount() ? list->Item(0)->y() : 0;
        state.range(0) ? list->PageDown() : list->LineDown();
        if (list->ItemPosition(0) == top && list->Item(0)->y() == y) list->ThumbTo(0);
        list->repaint();
        most = std::max(most, list->ItemCount());
    }
    state.counters["records"] = static_cast<double>(list->GetRecordCount());
    state.counters["items"] = most;
    state.counters["rssGrowthKB"] = static_cast<double>(RssKilobytes() - rssBefore);
}
BENCHMARK(BM_ListStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3000);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_BENCH_BINARY_DIR "/skin/UI/"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
