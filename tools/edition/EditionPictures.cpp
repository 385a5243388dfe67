// The pictures of the picture records: a graph per field, a panel per country and a table
// per group, drawn in parallel, and the writing of the picture archives with the previews.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "EditionBuild.h"
#include "EditionCharts.h"
#include "PictureRecords.h"

namespace edition {

namespace {

// Runs every job on all cores; the jobs share nothing but what they only read.
void RunInParallel(const std::vector<std::function<void()>>& jobs) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) jobs[i]();
    };
    const int threads = std::max(1, std::min(QThread::idealThreadCount(), int(jobs.size())));
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& thread : pool) thread.join();
}

}  // namespace

bool CEditionBuild::DrawPictures() {
    using namespace PictureRecords;
    if (!chart::ChartFontsPresent()) {
        m_result.error
            = "the fonts Liberation Sans and Liberation Sans Narrow are missing "
              "(fonts-liberation, scripts/setup)";
        return false;
    }
    // The article flags, drawn by the flag step, for the panels' heads and the tables' rows.
    m_flagIcons.clear();
    for (const CLand& land : m_lands) {
        QImage flag(Out("HTML/Flags/" + land.cca3 + ".gif"));
        if (!flag.isNull())
            m_flagIcons.insert(land.cca3, flag.convertToFormat(QImage::Format_RGB32));
    }

    QElapsedTimer clock;
    clock.start();
    m_worldAverages.clear();
    for (const auto& [field, byLand] : m_facts.series) {
        if (HasWorldAverage(field)) m_worldAverages[field] = WorldAverage(m_facts, field);
    }
    std::mutex failureMutex;
    QStringList failures;
    auto add = [&](const QString& archive, const QString& member, const QImage& picture,
                   const QImage& preview) {
        if (!m_pictures.Add(archive, member, picture, preview)) {
            std::lock_guard lock(failureMutex);
            failures << member;
        }
    };
    std::vector<std::function<void()>> jobs;
    for (const CArticle& record : m_articles) {
        if (record.typ != 9) continue;
        const QString archive = Archive(record.subTyp), member = record.abbildung;
        if (record.subTyp == kSubTypGraph && record.id >= kPanelBase) {
            const CLand* land = LandById(record.landId);
            if (!land) {
                m_result.error
                    = QString("picture record %1: no country %2").arg(record.id).arg(record.landId);
                return false;
            }
            jobs.push_back([=, this] {
                const chart::CPanel panel = CountryPanel(*land);
                add(archive, member, chart::PaintPanel(panel, {kPanelWidth, kPanelHeight}),
                    chart::PaintPanelPreview(panel, {chart::kPreviewWidth, 58}));
            });
        } else if (record.subTyp == kSubTypGraph && record.id >= kGraphBase) {
            const int field = record.id - kGraphBase;
            jobs.push_back([=, this] {
                const chart::CLineChart graph = FieldGraph(field);
                const QSize size(kGraphWidth, kGraphHeight);
                const QSize previewSize(chart::kPreviewWidth, kPreviewHeight);
                // Yearly rates that jump about would tangle as lines: they show as a heat strip.
                if (chart::IsVolatile(graph.series)) {
                    add(archive, member, chart::PaintHeatChart(graph, size),
                        chart::PaintHeatPreview(graph, previewSize));
                } else {
                    add(archive, member, chart::PaintLineChart(graph, size),
                        chart::PaintLinePreview(graph, previewSize));
                }
            });
        } else if (record.subTyp == kSubTypTable) {
            const int group = record.id - kTableBase;
            jobs.push_back([=, this] {
                const chart::CTablePicture table = GroupTable(group);
                add(archive, member, chart::PaintTable(table, kTableMinWidth, kTableMaxWidth),
                    chart::PaintTablePreview(table, {chart::kPreviewWidth, 64}));
            });
        }
        // The thematic maps (SubTyp 2) are drawn by the map step.
    }
    RunInParallel(jobs);
    if (!failures.isEmpty()) {
        m_result.error = "pictures not drawn: " + failures.join(", ");
        return false;
    }
    Log(QString("%1 pictures drawn in %2 ms").arg(jobs.size()).arg(clock.elapsed()));
    return true;
}

bool CEditionBuild::WritePictureArchives() {
    QElapsedTimer clock;
    clock.start();
    if (!m_pictures.Write(Out("Daten"), m_result.error)) return false;
    Log(QString("%1 written in %2 ms").arg(m_pictures.Archives().join(", ")).arg(clock.elapsed()));
    // Records whose picture no step drew are listed, so a missing one does not go unseen.
    QStringList missing;
    const int previews = m_pictures.Count(kPreviewArchive);
    int records = 0;
    for (const CArticle& record : m_articles) {
        if (record.typ != 9) continue;
        ++records;
        if (!m_pictures.Has(PictureRecords::Archive(record.subTyp), record.abbildung)) {
            missing << record.abbildung;
        }
    }
    if (!missing.isEmpty()) {
        Log(QString("%1 of %2 picture records have no picture yet (%3 ...)")
                .arg(missing.size())
                .arg(records)
                .arg(missing.first()));
    }
    m_result.pictures = records - int(missing.size());
    m_result.previews = previews;
    return true;
}

}  // namespace edition
