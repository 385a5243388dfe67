// The builder's own file formats, checked against independent readers: GIF files against
// Qt's decoder, the map file against its reader and hand-made TopoJSON.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>

#include "GifWriter.h"
#include "MapData.h"

namespace {

QImage DecodeGif(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    return reader.read();
}

}  // namespace

// Images of one pixel, of two colours, of 256 colours of noise (which fills the LZW table
// and forces its reset) and of odd sizes decode to exactly the pixels written.
TEST(GifWriter, DecodesToSamePixels) {
    QRandomGenerator random(7);
    struct Case {
        QSize size;
        int colors;
        bool noise;
    };
    for (Case c : {Case{{1, 1}, 2, false}, Case{{56, 42}, 2, false}, Case{{300, 300}, 256, true},
                   Case{{177, 131}, 5, true}, Case{{64, 48}, 3, false}}) {
        SCOPED_TRACE(QString("%1x%2 %3")
                         .arg(c.size.width())
                         .arg(c.size.height())
                         .arg(c.colors)
                         .toStdString());
        QImage image(c.size, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (int i = 0; i < c.colors; ++i) table << qRgb(i, 255 - i, (i * 37) & 255);
        image.setColorTable(table);
        for (int y = 0; y < c.size.height(); ++y) {
            for (int x = 0; x < c.size.width(); ++x) {
                int index
                    = c.noise ? int(random.bounded(c.colors)) : (x * c.colors / c.size.width());
                image.setPixel(x, y, uint(index));
            }
        }
        QByteArray gif = EncodeGif(image);
        ASSERT_TRUE(gif.startsWith("GIF89a"));
        QImage decoded = DecodeGif(gif);
        ASSERT_FALSE(decoded.isNull());
        ASSERT_EQ(decoded.size(), c.size);
        int wrong = 0;
        for (int y = 0; y < c.size.height(); ++y) {
            for (int x = 0; x < c.size.width(); ++x) {
                wrong += decoded.pixel(x, y) != image.pixel(x, y);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    EXPECT_TRUE(EncodeGif(QImage(4, 4, QImage::Format_RGB32)).isEmpty());
}

// Quantising keeps a picture of few colours exactly and never exceeds the palette size.
TEST(GifWriter, QuantizeKeepsFewColoursExactly) {
    QImage flag(60, 45, QImage::Format_RGB32);
    flag.fill(qRgb(0, 0, 0));
    for (int y = 15; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) flag.setPixel(x, y, qRgb(221, 0, 0));
    }
    for (int y = 30; y < 45; ++y) {
        for (int x = 0; x < 60; ++x) flag.setPixel(x, y, qRgb(255, 204, 0));
    }
    QImage q = QuantizeImage(flag, 32);
    EXPECT_EQ(q.colorCount(), 3);
    EXPECT_EQ(q.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(q.pixel(5, 20), qRgb(221, 0, 0));
    EXPECT_EQ(q.pixel(5, 40), qRgb(255, 204, 0));

    QImage gradient(256, 4, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x) {
        for (int y = 0; y < 4; ++y) gradient.setPixel(x, y, qRgb(x, 255 - x, x / 2));
    }
    EXPECT_LE(QuantizeImage(gradient, 16).colorCount(), 16);
}

// A quantised topology with a shared arc walked backwards, a hole, and a ring across the
// date line; the date-line ring comes out as two rings within -180..180.
TEST(MapData, DecodesTopoJson) {
    const QByteArray topo = R"({"type":"Topology",
        "transform":{"scale":[1,1],"translate":[-10,-10]},
        "arcs":[[[0,0],[10,0],[0,10]],[[10,10],[-10,0],[0,-10]],
                [[2,2],[2,0],[0,2],[-2,0]],
                [[185,50],[-350,0],[0,5],[350,0],[0,-5]]],
        "objects":{"countries":{"type":"GeometryCollection","geometries":[
            {"type":"Polygon","id":"276","properties":{"name":"Box","a3":"BOX"},
             "arcs":[[0,1],[2]]},
            {"type":"MultiPolygon","id":"242","arcs":[[[3]]]},
            {"type":"Point","id":"999"}]}}})";
    std::vector<CTopoCountry> countries;
    QString error;
    ASSERT_TRUE(DecodeTopoJson(topo, "countries", countries, error)) << error.toStdString();
    ASSERT_EQ(countries.size(), 3u);
    EXPECT_EQ(countries[0].code, "BOX");
    EXPECT_EQ(countries[1].code, "242");
    EXPECT_TRUE(countries[2].rings.empty());

    const std::vector<CMapRing>& box = countries[0].rings;
    ASSERT_EQ(box.size(), 2u);
    EXPECT_FALSE(box[0].hole);
    EXPECT_EQ(box[0].points.size(), 4u);  // the shared end points are not doubled
    EXPECT_TRUE(box[1].hole);
    // Outer rings counter-clockwise, holes clockwise.
    auto area = [](const std::vector<CMapPoint>& r) {
        double sum = 0;
        for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) {
            sum += double(r[j].lon) * r[i].lat - double(r[i].lon) * r[j].lat;
        }
        return sum / 2;
    };
    EXPECT_DOUBLE_EQ(area(box[0].points), 100.0);
    EXPECT_DOUBLE_EQ(area(box[1].points), -4.0);

    // 175 to -175 degrees: cut at the date line into a ring on either side, 5 x 5 each.
    const std::vector<CMapRing>& wrapped = countries[1].rings;
    ASSERT_EQ(wrapped.size(), 2u);
    for (const CMapRing& ring : wrapped) {
        EXPECT_NEAR(area(ring.points), 25.0, 1e-3);
        for (const CMapPoint& p : ring.points) {
            EXPECT_GE(p.lon, -180.0f);
            EXPECT_LE(p.lon, 180.0f);
        }
    }
    std::vector<CTopoCountry> none;
    EXPECT_FALSE(DecodeTopoJson("{\"type\":\"Feature\"}", "countries", none, error));
    EXPECT_FALSE(DecodeTopoJson(topo, "land", none, error));
}

// Shapes survive the map file unchanged; a file cut short or with counts beyond its size is
// refused instead of read past its end.
TEST(MapData, MapFileRoundTripAndDamage) {
    std::vector<CMapShape> shapes(2);
    shapes[0].mapId = 7;
    shapes[0].rings
        = {{false, {{-10, -5}, {10, -5}, {10, 5}, {-10, 5}}}, {true, {{-1, -1}, {-1, 1}, {1, 1}}}};
    shapes[1].mapId = 3;
    shapes[1].rings = {{false, {{170, 60}, {180, 60}, {180, 70}}}};
    for (CMapShape& s : shapes) ComputeBounds(s);
    EXPECT_EQ(shapes[0].minLon, -10);
    EXPECT_EQ(shapes[0].maxLat, 5);

    QByteArray bytes = EncodeMapFile(shapes);
    std::vector<CMapShape> read;
    ASSERT_TRUE(DecodeMapFile(bytes, read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].mapId, 3u);  // ascending MapID
    EXPECT_EQ(read[1].mapId, 7u);
    ASSERT_EQ(read[1].rings.size(), 2u);
    EXPECT_TRUE(read[1].rings[1].hole);
    EXPECT_EQ(read[1].rings[0].points[2].lon, 10.0f);
    EXPECT_EQ(read[1].maxLon, 10.0f);

    for (qsizetype cut : {qsizetype(0), qsizetype(4), qsizetype(19), bytes.size() - 1}) {
        EXPECT_FALSE(DecodeMapFile(bytes.left(cut), read)) << cut;
    }
    QByteArray huge = bytes;
    huge[16] = char(0xFF);  // point count
    huge[17] = char(0xFF);
    EXPECT_FALSE(DecodeMapFile(huge, read));
    QByteArray badRing = bytes;
    // The first ring entry (after the 20-byte header and two 28-byte shape entries) points
    // past the points.
    badRing[20 + 56] = char(0x7F);
    EXPECT_FALSE(DecodeMapFile(badRing, read));
}
