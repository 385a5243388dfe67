#include "MapData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr char kMagic[4] = {'K', 'V', 'M', 'P'};
constexpr std::uint32_t kVersion = 1;

struct CArc {
    std::vector<CMapPoint> points;
};

// Signed area in degrees² (shoelace); positive for counter-clockwise rings.
double RingArea(const std::vector<CMapPoint>& ring) {
    double sum = 0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        sum += double(ring[j].lon) * ring[i].lat - double(ring[i].lon) * ring[j].lat;
    }
    return sum / 2;
}

std::vector<CMapPoint> StitchRing(const QJsonArray& arcIndexes, const std::vector<CArc>& arcs) {
    std::vector<CMapPoint> ring;
    for (const QJsonValue& v : arcIndexes) {
        int index = v.toInt();
        bool reversed = index < 0;
        if (reversed) index = ~index;
        if (index < 0 || index >= int(arcs.size())) continue;
        std::vector<CMapPoint> points = arcs[index].points;
        if (reversed) std::reverse(points.begin(), points.end());
        // Consecutive arcs share their end point.
        auto from = points.begin();
        if (!ring.empty() && !points.empty()) ++from;
        ring.insert(ring.end(), from, points.end());
    }
    if (ring.size() > 1 && ring.front().lon == ring.back().lon
        && ring.front().lat == ring.back().lat) {
        ring.pop_back();
    }
    return ring;
}

// Keeps the part of a ring with minLon <= lon <= maxLon (Sutherland-Hodgman against two
// vertical lines); the cut runs along those lines.
std::vector<CMapPoint> ClipRing(const std::vector<CMapPoint>& ring, float minLon, float maxLon) {
    auto clip = [](const std::vector<CMapPoint>& in, float edge, bool keepAbove) {
        std::vector<CMapPoint> out;
        auto inside = [&](const CMapPoint& p) { return keepAbove ? p.lon >= edge : p.lon <= edge; };
        for (std::size_t i = 0; i < in.size(); ++i) {
            const CMapPoint& a = in[(i + in.size() - 1) % in.size()];
            const CMapPoint& b = in[i];
            if (inside(a) != inside(b)) {
                float t = (edge - a.lon) / (b.lon - a.lon);
                out.push_back({edge, a.lat + t * (b.lat - a.lat)});
            }
            if (inside(b)) out.push_back(b);
        }
        return out;
    };
    return clip(clip(ring, minLon, true), maxLon, false);
}

// Rings that cross the date line (a step of more than 180 degrees between two points) are
// unwrapped into one continuous ring and cut at -180 and 180, so every ring of the map file
// lies within the usual longitudes and a renderer needs no special case.
void SplitAtDateLine(CMapRing ring, std::vector<CMapRing>& rings) {
    bool crosses = false;
    for (std::size_t i = 1; i < ring.points.size() && !crosses; ++i) {
        crosses = std::fabs(ring.points[i].lon - ring.points[i - 1].lon) > 180;
    }
    if (!crosses) {
        rings.push_back(std::move(ring));
        return;
    }
    float offset = 0, previous = ring.points[0].lon;
    for (std::size_t i = 1; i < ring.points.size(); ++i) {
        float raw = ring.points[i].lon;
        if (raw - previous > 180) offset -= 360;
        if (raw - previous < -180) offset += 360;
        previous = raw;
        ring.points[i].lon = raw + offset;
    }
    for (float shift : {-360.0f, 0.0f, 360.0f}) {
        std::vector<CMapPoint> shifted = ring.points;
        for (CMapPoint& p : shifted) p.lon += shift;
        CMapRing part;
        part.hole = ring.hole;
        part.points = ClipRing(shifted, -180, 180);
        if (part.points.size() >= 3 && std::fabs(RingArea(part.points)) > 1e-9) {
            rings.push_back(std::move(part));
        }
    }
}

void AppendPolygon(const QJsonArray& polygon, const std::vector<CArc>& arcs,
                   std::vector<CMapRing>& rings) {
    for (int r = 0; r < polygon.size(); ++r) {
        CMapRing ring;
        ring.hole = r > 0;
        ring.points = StitchRing(polygon[r].toArray(), arcs);
        if (ring.points.size() >= 3) SplitAtDateLine(std::move(ring), rings);
    }
}

template <typename T>
void Put(QByteArray& out, T value) {
    T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

class CReader {
public:
    explicit CReader(const QByteArray& bytes) : m_bytes(bytes) {}
    template <typename T>
    bool Get(T& value) {
        if (m_bytes.size() - m_pos < qsizetype(sizeof(T))) return false;
        std::memcpy(&value, m_bytes.constData() + m_pos, sizeof(T));
        value = qFromLittleEndian(value);
        m_pos += sizeof(T);
        return true;
    }
    qsizetype Remaining() const { return m_bytes.size() - m_pos; }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
};

}  // namespace

bool DecodeTopoJson(const QByteArray& json, const QString& objectName,
                    std::vector<CTopoCountry>& countries, QString& error) {
    QJsonParseError parseError;
    QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    QJsonObject root = doc.object();
    if (doc.isNull() || root.value("type").toString() != "Topology") {
        error = "no TopoJSON topology: " + parseError.errorString();
        return false;
    }
    // Quantised arcs hold integer deltas that the transform turns into degrees.
    QJsonObject transform = root.value("transform").toObject();
    bool quantised = !transform.isEmpty();
    double scaleX = 1, scaleY = 1, translateX = 0, translateY = 0;
    if (quantised) {
        scaleX = transform["scale"].toArray()[0].toDouble();
        scaleY = transform["scale"].toArray()[1].toDouble();
        translateX = transform["translate"].toArray()[0].toDouble();
        translateY = transform["translate"].toArray()[1].toDouble();
    }
    std::vector<CArc> arcs;
    for (const QJsonValue& arcValue : root.value("arcs").toArray()) {
        CArc arc;
        double x = 0, y = 0;
        for (const QJsonValue& pointValue : arcValue.toArray()) {
            QJsonArray p = pointValue.toArray();
            if (quantised) {
                x += p[0].toDouble();
                y += p[1].toDouble();
                arc.points.push_back(
                    {float(x * scaleX + translateX), float(y * scaleY + translateY)});
            } else {
                arc.points.push_back({float(p[0].toDouble()), float(p[1].toDouble())});
            }
        }
        arcs.push_back(std::move(arc));
    }
    QJsonObject object = root.value("objects").toObject().value(objectName).toObject();
    if (object.isEmpty()) {
        error = "no object " + objectName;
        return false;
    }
    for (const QJsonValue& g : object.value("geometries").toArray()) {
        QJsonObject geometry = g.toObject();
        QJsonObject properties = geometry.value("properties").toObject();
        CTopoCountry country;
        country.code = properties.value("a3").toString();
        if (country.code.isEmpty()) country.code = geometry.value("id").toString();
        country.name = properties.value("name").toString();
        QString type = geometry.value("type").toString();
        QJsonArray shapeArcs = geometry.value("arcs").toArray();
        if (type == "Polygon") {
            AppendPolygon(shapeArcs, arcs, country.rings);
        } else if (type == "MultiPolygon") {
            for (const QJsonValue& polygon : shapeArcs) {
                AppendPolygon(polygon.toArray(), arcs, country.rings);
            }
        }
        // TopoJSON from Natural Earth winds outer rings clockwise; the map file keeps one
        // orientation per kind so a renderer may rely on it: outer rings counter-clockwise.
        for (CMapRing& ring : country.rings) {
            double area = RingArea(ring.points);
            if ((area < 0) != ring.hole) std::reverse(ring.points.begin(), ring.points.end());
        }
        countries.push_back(std::move(country));
    }
    return true;
}

void ComputeBounds(CMapShape& shape) {
    bool first = true;
    for (const CMapRing& ring : shape.rings) {
        for (const CMapPoint& p : ring.points) {
            if (first) {
                shape.minLon = shape.maxLon = p.lon;
                shape.minLat = shape.maxLat = p.lat;
                first = false;
            }
            shape.minLon = std::min(shape.minLon, p.lon);
            shape.maxLon = std::max(shape.maxLon, p.lon);
            shape.minLat = std::min(shape.minLat, p.lat);
            shape.maxLat = std::max(shape.maxLat, p.lat);
        }
    }
}

QByteArray EncodeMapFile(const std::vector<CMapShape>& shapes) {
    std::vector<const CMapShape*> sorted;
    for (const CMapShape& s : shapes) sorted.push_back(&s);
    std::sort(sorted.begin(), sorted.end(),
              [](const CMapShape* a, const CMapShape* b) { return a->mapId < b->mapId; });
    std::uint32_t ringCount = 0, pointCount = 0;
    for (const CMapShape* s : sorted) {
        ringCount += std::uint32_t(s->rings.size());
        for (const CMapRing& r : s->rings) pointCount += std::uint32_t(r.points.size());
    }
    QByteArray out;
    out.append(kMagic, 4);
    Put<std::uint32_t>(out, kVersion);
    Put<std::uint32_t>(out, std::uint32_t(sorted.size()));
    Put<std::uint32_t>(out, ringCount);
    Put<std::uint32_t>(out, pointCount);
    std::uint32_t firstRing = 0;
    for (const CMapShape* s : sorted) {
        Put<std::uint32_t>(out, s->mapId);
        for (float f : {s->minLon, s->minLat, s->maxLon, s->maxLat}) Put<float>(out, f);
        Put<std::uint32_t>(out, firstRing);
        Put<std::uint32_t>(out, std::uint32_t(s->rings.size()));
        firstRing += std::uint32_t(s->rings.size());
    }
    std::uint32_t firstPoint = 0;
    for (const CMapShape* s : sorted) {
        for (const CMapRing& r : s->rings) {
            Put<std::uint32_t>(out, firstPoint);
            Put<std::uint32_t>(out, std::uint32_t(r.points.size()));
            Put<std::uint32_t>(out, r.hole ? 1u : 0u);
            firstPoint += std::uint32_t(r.points.size());
        }
    }
    for (const CMapShape* s : sorted) {
        for (const CMapRing& r : s->rings) {
            for (const CMapPoint& p : r.points) {
                Put<float>(out, p.lon);
                Put<float>(out, p.lat);
            }
        }
    }
    return out;
}

bool DecodeMapFile(const QByteArray& bytes, std::vector<CMapShape>& shapes) {
    if (bytes.size() < 20 || std::memcmp(bytes.constData(), kMagic, 4) != 0) return false;
    CReader in(bytes);
    std::uint32_t magic, version, shapeCount, ringCount, pointCount;
    in.Get(magic);
    if (!in.Get(version) || version != kVersion || !in.Get(shapeCount) || !in.Get(ringCount)
        || !in.Get(pointCount)) {
        return false;
    }
    // Every count must fit in what is left of the file before anything is allocated.
    if (std::uint64_t(shapeCount) * 28 + std::uint64_t(ringCount) * 12
            + std::uint64_t(pointCount) * 8
        != std::uint64_t(in.Remaining())) {
        return false;
    }
    struct CRingEntry {
        std::uint32_t first, count, hole;
    };
    std::vector<CMapShape> read(shapeCount);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ringRanges(shapeCount);
    for (std::uint32_t i = 0; i < shapeCount; ++i) {
        in.Get(read[i].mapId);
        in.Get(read[i].minLon);
        in.Get(read[i].minLat);
        in.Get(read[i].maxLon);
        in.Get(read[i].maxLat);
        in.Get(ringRanges[i].first);
        in.Get(ringRanges[i].second);
    }
    std::vector<CRingEntry> rings(ringCount);
    for (CRingEntry& r : rings) {
        in.Get(r.first);
        in.Get(r.count);
        in.Get(r.hole);
        if (std::uint64_t(r.first) + r.count > pointCount) return false;
    }
    std::vector<CMapPoint> points(pointCount);
    for (CMapPoint& p : points) {
        in.Get(p.lon);
        in.Get(p.lat);
    }
    for (std::uint32_t i = 0; i < shapeCount; ++i) {
        auto [first, count] = ringRanges[i];
        if (std::uint64_t(first) + count > ringCount) return false;
        for (std::uint32_t r = first; r < first + count; ++r) {
            CMapRing ring;
            ring.hole = rings[r].hole != 0;
            ring.points.assign(points.begin() + rings[r].first,
                               points.begin() + rings[r].first + rings[r].count);
            read[i].rings.push_back(std::move(ring));
        }
    }
    shapes = std::move(read);
    return true;
}
