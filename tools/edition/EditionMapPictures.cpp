// The edition's map pictures, drawn off screen by the map renderer's own drawing: a thematic
// world map of every field the map can show, in the year its picture record names, with its
// legend (Graph.nox, with a preview), and a map of every country on the world map, the
// country highlighted among its neighbours and its capital marked (Geo.nox).
#include <QElapsedTimer>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <thread>

#include "ChartPainter.h"
#include "EditionBuild.h"
#include "PictureRecords.h"
#include "data/Database.h"
#include "map/MapData.h"
#include "map/MapLegend.h"
#include "vmap/VMapScene.h"

namespace edition {

namespace {

constexpr int kWorldWidth = 1000, kWorldHeight = 620;
constexpr int kMapWidth = kWorldWidth - kLegendWidth - 36, kMapHeight = 420;
constexpr int kCountryWidth = 640, kCountryHeight = 480;

const QColor kPaper(246, 247, 250);
const QColor kInk(30, 42, 68);
const QColor kMuted(96, 104, 122);

QColor Rgb(MapColor c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

QImage WorldPicture(vmap::CMapScene& scene, const CMapDisplay& display, QImage& preview) {
    scene.SetColors(display.block.data());
    scene.SetSize(QSize(kMapWidth, kMapHeight));
    scene.SetView(10, 0, 1);
    QImage map(kMapWidth, kMapHeight, QImage::Format_ARGB32_Premultiplied);
    scene.Render(map);

    QImage picture(kWorldWidth, kWorldHeight, QImage::Format_RGB32);
    picture.fill(kPaper);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kInk);
    p.setFont(chart::ChartFont(17, QFont::Bold));
    p.drawText(QRect(14, 10, kMapWidth, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(display.longName));
    p.setPen(kMuted);
    p.setFont(chart::ChartFont(13));
    p.drawText(QRect(14, 38, kMapWidth, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QString("Weltkarte %1, Länder nach 25 Wertklassen eingefärbt").arg(display.year));
    const QRect mapRect(14, 70, kMapWidth, kMapHeight);
    p.drawImage(mapRect.topLeft(), map);
    p.setPen(QPen(QColor(190, 196, 210), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(mapRect.adjusted(0, 0, -1, -1));
    // The colour of countries without a value, below the map.
    const QRect swatch(14, mapRect.bottom() + 14, 28, 16);
    p.fillRect(swatch, Rgb(display.colors.nodata));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
    p.setPen(kMuted);
    p.drawText(QRect(swatch.right() + 8, swatch.top() - 2, 300, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(kNoValueText));
    p.drawImage(kWorldWidth - kLegendWidth - 8, 8, DrawMapLegend(display));
    p.end();
    preview = map.scaledToWidth(chart::kPreviewWidth, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_RGB32);
    return picture;
}

// The zoom level at which the country's main part fills at most half of the picture.
int CountryZoom(vmap::CMapScene& scene, const vmap::CShape& shape) {
    int zoom = vmap::kMinZoom;
    for (int z = vmap::kMinZoom; z <= vmap::kMaxZoom; ++z) {
        scene.SetView(0, 0, z);
        const double w = shape.mainBounds.width() * scene.Scale();
        const double h = shape.mainBounds.height() * scene.Scale();
        if (w > kCountryWidth * 0.5 || h > kCountryHeight * 0.5) break;
        zoom = z;
    }
    return zoom;
}

}  // namespace

bool CEditionBuild::DrawMapPictures() {
    using namespace PictureRecords;
    QElapsedTimer clock;
    clock.start();
    const std::string mapDir = Out("Daten/Karte/").toStdString();
    vmap::CMapScene scene;
    if (!scene.Load(mapDir + "Laender.vmp")) {
        m_result.error = "cannot read " + Out("Daten/Karte/Laender.vmp");
        return false;
    }
    CDatabase db;
    try {
        db.Open(Out("Daten/Kompendor.mdb").toStdString(), false, true, kAlmanacConnect);
    } catch (const std::exception& e) {
        m_result.error = QString("map pictures: ") + e.what();
        return false;
    }
    int latest = 0;
    for (const CDataRow& row : m_rows)
        if (row.number && row.year > latest) latest = row.year;

    struct CJob {
        QString archive, member;
        QImage picture, preview;
    };
    std::vector<CJob> jobs;
    for (const CFieldDef& def : kFields) {
        if (def.group == 0 || def.mapView <= 0 || m_facts.series.count(def.id) == 0) continue;
        const CMapDisplay display
            = ComputeMapDisplay(db, mapDir, def.id, m_facts.RankingYear(def.id), latest);
        QImage preview;
        QImage picture = WorldPicture(scene, display, preview);
        jobs.push_back({Archive(kSubTypMap), MapFile(def.id), std::move(picture), std::move(preview)});
    }

    // The country maps: the country in a strong colour, the others in a light land colour.
    std::array<MapColor, kMapIdCount> block;
    block.fill(0xE6E2D6);
    block[kNoMapId] = 0xB4C8DC;
    scene.SetSize(QSize(kCountryWidth, kCountryHeight));
    for (const CLand& land : m_lands) {
        if (land.mapId <= 0) continue;
        const auto shape = std::find_if(scene.Shapes().begin(), scene.Shapes().end(),
                                        [&](const vmap::CShape& s) { return s.mapId == land.mapId; });
        if (shape == scene.Shapes().end()) continue;
        block[land.mapId & 0xFF] = 0xC8553D;
        scene.SetColors(block.data());
        block[land.mapId & 0xFF] = 0xE6E2D6;
        double lon = 0, lat = 0;
        scene.CountryCentre(land.mapId, lon, lat);
        scene.SetView(lon, lat, CountryZoom(scene, *shape));
        QImage picture(kCountryWidth, kCountryHeight, QImage::Format_ARGB32_Premultiplied);
        scene.Render(picture);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        scene.PaintHighlight(p, land.mapId);
        const auto capital = m_capitals.constFind(land.cca3);
        if (capital != m_capitals.constEnd()) {
            const QPointF at = scene.ToScreen(vmap::Project(capital->lon, capital->lat));
            p.setPen(QPen(kInk, 1.6));
            p.setBrush(Qt::white);
            p.drawEllipse(at, 4.5, 4.5);
            p.setBrush(kInk);
            p.drawEllipse(at, 1.6, 1.6);
            p.setFont(chart::ChartFont(13, QFont::Bold));
            const QRectF label(at.x() + 8, at.y() - 10, 220, 20);
            // A light halo keeps the name readable on every colour.
            QPainterPath text;
            text.addText(label.left(), label.top() + 15, p.font(), capital->name);
            p.strokePath(text, QPen(QColor(255, 255, 255, 200), 3.0));
            p.fillPath(text, kInk);
        }
        p.setPen(QPen(QColor(60, 70, 90), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0.5, 0.5, kCountryWidth - 1, kCountryHeight - 1));
        p.setFont(chart::ChartFont(15, QFont::Bold));
        QPainterPath title;
        title.addText(12, kCountryHeight - 14, p.font(), land.title);
        p.strokePath(title, QPen(QColor(255, 255, 255, 220), 3.5));
        p.fillPath(title, kInk);
        p.end();
        jobs.push_back({"Geo.nox", land.cca3 + ".gif", picture.convertToFormat(QImage::Format_RGB32), {}});
    }

    // The GIF reduction is the slow part: two threads share it.
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    QString failedMember;
    std::mutex failure;
    auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) {
            const CJob& job = jobs[i];
            const bool ok = job.preview.isNull()
                                ? m_pictures.AddWithoutPreview(job.archive, job.member, job.picture)
                                : m_pictures.Add(job.archive, job.member, job.picture, job.preview);
            if (!ok) {
                std::lock_guard lock(failure);
                failed = true;
                failedMember = job.member;
            }
        }
    };
    std::thread helper(work);
    work();
    helper.join();
    if (failed) {
        m_result.error = "map picture not added: " + failedMember;
        return false;
    }
    Log(QString("%1 map pictures drawn in %2 ms").arg(jobs.size()).arg(clock.elapsed()));
    return true;
}

}  // namespace edition
