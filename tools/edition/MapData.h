#pragma once
// World map data for the renderer: country outlines in degrees, keyed by MapID. The file
// layout is documented in tools/edition/README.md ("Laender.vmp").

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

struct CMapPoint {
    float lon;
    float lat;
};

// One closed ring; the last point is not repeated.
struct CMapRing {
    bool hole = false;  // a hole of the last outer ring before it
    std::vector<CMapPoint> points;
};

struct CMapShape {
    std::uint32_t mapId = 0;
    float minLon = 0, minLat = 0, maxLon = 0, maxLat = 0;
    std::vector<CMapRing> rings;
};

// One country of a TopoJSON geometry collection with its code.
struct CTopoCountry {
    QString code;  // the feature's "a3" property, else its "id"
    QString name;
    std::vector<CMapRing> rings;
};

// Decodes the geometry collection objectName of a TopoJSON document (quantised or not).
// False with error set when the document is not TopoJSON.
bool DecodeTopoJson(const QByteArray& json, const QString& objectName,
                    std::vector<CTopoCountry>& countries, QString& error);

// Sets the bounding box of a shape from its rings.
void ComputeBounds(CMapShape& shape);

// The bytes of the map file for the shapes, in ascending MapID.
QByteArray EncodeMapFile(const std::vector<CMapShape>& shapes);

// Reads a map file; false for a damaged one (wrong magic, sizes beyond the file).
bool DecodeMapFile(const QByteArray& bytes, std::vector<CMapShape>& shapes);
