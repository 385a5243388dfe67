#pragma once
// The world map renderer, libvmap.so: draws the countries of the edition's outline file
// (Daten/Karte/Laender.vmp) in the Equal Earth projection, each filled with its colour from a
// 256-entry block indexed by MapID (entry 255 is the sea), and reports the country under the
// pointer to its owner.
//
// The renderer object is used through its virtual operations only; their order is fixed, as
// owners built against an older renderer rely on the slots:
//   0 Version, 1 Init, 2 Create, 3 Open, 4 GetWindow, 5 SetNotify, 6 SetView, 7 GetView,
//   8 Render, 9 HitTest, 10 ShowCountry, 11 SetColors.
//
// Coordinates of SetView and GetView are degrees of longitude (east) and latitude (north) of
// the view's centre; zoom levels 1 (the whole world) to 5 double the scale each step.

#include <cstdint>

class QImage;
class QWidget;

#if defined(VMAP_BUILD)
#define VMAP_EXPORT __attribute__((visibility("default")))
#else
#define VMAP_EXPORT
#endif

// The owner's callback. Codes: 1 the MapID under the pointer changed (255: no country);
// 2 the user changed the zoom level with the wheel (the new level); 4 a double click on a
// country (its MapID).
class VMAP_EXPORT VMapNotifyable {
protected:
    virtual ~VMapNotifyable();

public:
    virtual void Notify(std::intptr_t value, int code) = 0;
};

class VMAP_EXPORT CVMap {
public:
    // The renderer's version, 1.
    virtual int Version() const = 0;
    // Prepares the renderer; called once after CreateVMap.
    virtual bool Init() = 0;
    // Reads the outlines below mapDir ("<mapDir>Laender.vmp") and creates the renderer's
    // child window at (x, y) with size width x height in parent. False when the outlines
    // cannot be read; the window then shows the sea only.
    virtual bool Create(int x, int y, int width, int height, const char* caption,
                        const char* mapDir, QWidget* parent) = 0;
    // Reads the outlines without a window (off-screen drawing with Render).
    virtual bool Open(const char* mapDir) = 0;
    // The child window; null before Create.
    virtual QWidget* GetWindow() = 0;
    // Where notifications go (not owned; null for none).
    virtual void SetNotify(VMapNotifyable* notify) = 0;
    // Centres the map on (lon, lat) at zoom level 1 to 5; the centre is kept on the world.
    virtual void SetView(double lon, double lat, int zoom) = 0;
    virtual void GetView(double* lon, double* lat) = 0;
    // Draws the current view into image, at the image's size, as the window would show it.
    virtual void Render(QImage* image) = 0;
    // The MapID at a point of the window (pixels), 255 for none.
    virtual int HitTest(int x, int y) = 0;
    // Centres the map on the country's main part; flags are unused (0).
    virtual void ShowCountry(int mapId, int flags) = 0;
    // The 256 colours (0x00RRGGBB, the bytes blue, green, red, 0); copied.
    virtual void SetColors(const std::uint32_t* colors) = 0;

protected:
    virtual ~CVMap();
};

extern "C" {
VMAP_EXPORT CVMap* CreateVMap();
VMAP_EXPORT void DestroyVMap(CVMap* map);
}
