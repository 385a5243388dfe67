#pragma once
// CCellInfoDlg: the details of the selected table cell. The country's name in the title, and
// a page in the embedded browser: the data field's long name, the value with its year and the
// country's world rank, a chart of the country's values over the years and the source; for
// text fields the text. Its arrows move the table's selection, which updates the window in
// turn; its map button shows the field on the world map for the reference year (the
// edition's latest year).
//
// Owned by the main window (template 179, "CellInfo"), created hidden on the first selection
// with what it reads handed in, and shown 350 ms after an update has handed its page over.

#include <QBasicTimer>
#include <QImage>
#include <QPointer>
#include <cstdint>
#include <string>

#include "controls/TemplateDialog.h"
#include "table/CellInfoPage.h"

class CDatabase;
class CNOXBrowser;
class CTable;
class CTableHost;

// What the main window hands the cell information window.
struct CCellInfoSetup {
    CDatabase* database = nullptr;  // the almanac; not owned
    CTableHost* host = nullptr;     // the map request goes there; not owned
    std::string templateFolder;     // "CI.htm", "CIData.htm", "CIText.htm"; ends with "/"
    std::string tempFolder;         // where the chart picture is written; ends with "/"
};

// The chart of a series: 312 pixels wide, a line of 16 pixels for each value (newest at the
// top) with the year, the bar and the value.
QImage DrawCellChart(const CCellChart& chart);

class CCellInfoDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 179;
    enum ControlId {
        kTitle = 1036,
        kPageArea = 1037,
        kUpButton = 1004,
        kDownButton = 1029,
        kLeftButton = 1005,
        kRightButton = 1006,
        kMapButton = 1007,
        kCloseButton = 1003,
    };
    // Timer 1: the page goes into the browser; timer 2: the window shows.
    static constexpr int kPageDelay = 250;
    static constexpr int kShowDelay = 100;

    CCellInfoDlg(QWidget* parent, CCellInfoSetup setup);
    ~CCellInfoDlg() override;

    // The grid whose selection the arrows move and whose position enables them (may be
    // null; not owned).
    void SetTable(CTable* grid);

    // Shows the cell of country landId, data field valId and year: title and buttons at once,
    // the page after 250 ms, the window 100 ms later.
    void Update(std::int32_t landId, std::int32_t valId, unsigned year);

    // The page of the last update; the data field it was for.
    const std::string& Page() const { return m_page; }
    std::int32_t DataId() const { return m_valId; }
    CNOXBrowser* Browser() const { return m_pBrowser; }

signals:
    // The window has been shown after an update.
    void updated();

protected:
    void OnCommand(int id) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // Draws the chart and writes it to the temporary folder; the image's address for the
    // page.
    std::string WriteChart(const CCellChart& chart);

    CCellInfoSetup m_setup;
    CCellInfoPages m_pages;
    CNOXBrowser* m_pBrowser = nullptr;
    QPointer<CTable> m_grid;
    std::string m_page;
    std::int32_t m_valId = 0;
    unsigned m_charts = 0;
    QBasicTimer m_pageTimer;
    QBasicTimer m_showTimer;
};
