#pragma once
// CMapDlg: one data field for one year on the world map. Every country takes the colour of
// the value class its newest value up to the year falls into; the status line names the
// country under the pointer with its value and the value's year; the legend lists the 25
// classes. The renderer (libvmap.so) draws, projects, zooms and pans; this window reads the
// data, computes the classes and colours and drives the renderer.
//
// Owned by the main window (template 271, "Map"), created on first use: SetParams hands it
// the first field, which it shows once its renderer window exists (timer 1, 100 ms after
// creation); later fields come with Display.

#include <QImage>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/TemplateDialog.h"
#include "map/MapData.h"
#include "viewers/ViewerEnv.h"
#include "vmap/VMap.h"

class CDatabase;
class CFlatMenu;
class CImageWnd;
class CMapSearch;

// What the main window hands the map window.
struct CMapSetup {
    CDatabase* database = nullptr;  // the almanac; not owned
    std::string mapDir;             // the map data directory (Paths/Map), ends with "/"
    int defaultYear = 2002;         // the edition's latest year with data (Setup/Jahr)
    CViewerEnv viewerEnv;           // for the legend's image window
};

class CMapDlg : public CTemplateDialog, public VMapNotifyable {
    Q_OBJECT
public:
    static constexpr int kTemplate = 271;
    enum ControlId {
        kClose = 1003,
        kZoomIn = 1004,
        kZoomOut = 1005,
        kLegend = 1006,
        kYearArrow = 1007,
        kZoomWorld = 1008,
        kSearch = 1009,
        kArrowUp = 1010,
        kArrowDown = 1011,
        kArrowLeft = 1012,
        kArrowRight = 1013,
        kTitle = 1020,
        kYear = 1071,
        kStatusValue = 1072,
        kFieldArrow = 1073,
        kStatusCountry = 1074,
        kLongName = 1075,
        kStatusYear = 1076,
    };

    CMapDlg(QWidget* parent, CMapSetup setup);
    ~CMapDlg() override;

    // The field and year shown once the map is ready.
    void SetParams(std::int32_t valId, int year);
    // Shows data field valId for year (at most the field's latest year).
    void Display(std::int32_t valId, int year);

    void SetZoom(int level);
    void Pan(int dx, int dy);
    void ZoomToCountry(int mapId);
    void ShowLegend();
    void ShowToolTip(int mapId);
    void OpenValueDropdown();
    void OpenYearDropdown();
    void OpenSearch();

    // VMapNotifyable: 1 the pointer's country, 2 the zoom level changed by the wheel,
    // 4 a double click on a country.
    void Notify(std::intptr_t value, int code) override;

    // State, for the owner and tests.
    int ZoomLevel() const { return m_zoom; }
    const CMapDisplay& Shown() const { return m_display; }
    CVMap* Renderer() const { return m_pVMap; }
    CImageWnd* LegendWindow() const;
    CMapSearch* SearchWindow() const;
    int LastShownMapId() const { return m_lastMapId; }

signals:
    // The first field is shown (the renderer window exists).
    void ready();

protected:
    void OnCommand(int id) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Opens menu at pos (screen) and gives the chosen id, 0 for none; tests replace it.
    virtual int TrackMenu(CFlatMenu& menu, const QPoint& pos);

private:
    void UpdateZoomButtons();
    void ReleaseWindows();
    QPoint BelowControl(int id) const;
    void SetText(int id, const std::string& text);

    CMapSetup m_setup;
    CVMap* m_pVMap = nullptr;
    std::uint8_t m_zoom = 1;
    std::int32_t m_valId = 0;
    int m_year = 0;
    CMapDisplay m_display;
    int m_lastMapId = kNoMapId;
    QPointer<CImageWnd> m_pLegend;
    QPointer<CMapSearch> m_pSearch;
    int m_timer = 0;
};
