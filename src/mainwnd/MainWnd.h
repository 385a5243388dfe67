#pragma once
// The program's frame: a skinned, maximised window with the command bar along its top and,
// below it, the background picture or the statistics table of the workspace in use. It owns
// every other top-level window, creates each on first use and reuses it; windows never open
// other windows themselves but ask the main window, which reads what the target needs from
// the almanac and hands it over. It also keeps the workspace state (the five numbered
// workspaces) and the profile operations of the selection dialogs.

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/SkinFrame.h"
#include "table/TableHost.h"
#include "table/TableResources.h"
#include "text/SearchHost.h"
#include "text/TextBrowserHost.h"
#include "viewers/GraphViewHost.h"
#include "viewers/ViewerEnv.h"

class CDatabase;
class CTableWnd;
class CTabConfigDlg;
class CSelectStaatDlg;
class CSelectDatenDlg;
class CTemplateDialog;
class CSearch;
class CTextBrowser;
class CBookmarkWnd;
class CCellInfoDlg;
class CMapDlg;
class CNOXBrowser;
class CImageWnd;
class CFlagView;
class CGraphView;
class CPicture;
class IDriveTypes;
struct CProfileMenuModel;

class CMainWnd : public CSkinFrame,
                 public CTableHost,
                 public CPictureHost,
                 public CTextBrowserHost,
                 public CSearchHost,
                 public CGraphViewHost {
    Q_OBJECT

public:
    // The command bar's buttons (template 129).
    enum BarCommand {
        kBarWorkspace1 = 1010,  // 1010..1014: workspaces 1 to 5
        kBarWorkspace5 = 1014,
        kBarPanel1 = 1006,  // text browser panels 1, 2, 3, 4 and 6
        kBarPanel2 = 1004,
        kBarPanel3 = 1007,
        kBarPanel4 = 1005,
        kBarGraphList = 1008,
        kBarPanel6 = 1009,
    };

    // Timers by their ids.
    enum TimerId { kTimerShow = 1, kTimerReload = 2, kTimerPrint = 5 };

    // The product's notice line: the footer of printed pages and the line below printed
    // pictures.
    static constexpr const char* kNoticeLine = "Varnholt Kompendor 2004 – Alle Angaben ohne Gewähr";

    // Configures the frame, loads the background and frame pictures, creates the command bar
    // and starts the timers that show the window maximised (100 ms) and reload the workspace
    // remembered in the registry (500 ms). database is the open almanac (not owned; must
    // outlive the window). Registers itself as the table host.
    explicit CMainWnd(CDatabase* database, QWidget* parent = nullptr);
    // Writes the workspace number in use to the registry, saves that workspace and destroys
    // the owned windows.
    ~CMainWnd() override;
    // Whether a start-up timer (show maximised, reload the workspace) has still to run.
    bool StartupPending() const { return m_timerShow != 0 || m_timerReload != 0; }

    // Pictures. owner is the window that asks; the picture opens in the image viewer.

    // The picture record HTML.ID (Typ 9) by its kind.
    void OpenImageViewerByHTMLID(QWidget* owner, std::int32_t htmlId);
    // The picture record whose Abbildung is fileName.
    void OpenImageViewerByFilename(QWidget* owner, const QString& fileName);
    // SubTyp 2 and 3 from the graphics archive, 4 from the tables archive; others nothing.
    void OpenPictureByKind(QWidget* owner, int subTyp, const QString& title,
                           const QString& fileName);
    // The country's geographic map (Land.GeoKarten) from the maps archive.
    void ShowMap(QWidget* owner, std::int32_t landId);
    // The picture of record HTML.ID from the archive "<IMG>/<archiveName>.nox".
    void ShowHTMLImage(QWidget* owner, const QString& archiveName, std::int32_t htmlId);
    // Shows fileName of the archive in the image viewer; nothing for an empty name, the
    // unsupported-format message for anything but JPEG, GIF and BMP.
    void OpenImage(QWidget* owner, const QString& title, const QString& fileName,
                   const QString& archivePath);
    // The flag viewer for the country.
    void ShowFlag(QWidget* owner, std::int32_t landId);

    // Articles and search.

    // The text browser on item HTML.ID, scrolled to anchor (empty: the top), with the search
    // terms highlighted (none: no highlighting).
    void OpenTextBrowser(std::int32_t htmlId, QWidget* owner, const QString& anchor,
                         const std::vector<std::string>& terms = {});
    // The text browser on navigation panel 1 to 6.
    void OpenTextBrowserPanel(int panel);
    void OpenSearch(QWidget* owner);
    // The graph list, created on first use, with a preselection: 1 tables, 2 graphs, 3
    // thematic maps, 4 all; 0 keeps what it shows (all, when new).
    void OpenGraphList(int preselection);

    // Pictures of the viewers: printing with the product's notice line below it, and saving as
    // a bitmap file through the save dialog (false when cancelled or the file could not be
    // written).
    void PrintPicture(QWidget* owner, const QImage& picture) override;
    bool SavePicture(QWidget* owner, const QImage& picture, const QString& defaultName) override;
    // "Bitte markieren Sie zunächst den Textbereich, ..."
    void BookmarkHint();
    // The bookmark window over the article window's bookmarks, created on first use and then
    // shown again; told of bookmarks set and articles shown while it exists.
    void OpenBookmarks(QWidget* owner) override;
    void BookmarkSet(std::int32_t id) override;
    void ArticleShown(std::int32_t id) override;

    // Workspaces.

    // Writes the workspace file of number from the current state; nothing for 0.
    void SaveTable(unsigned number);
    // Makes workspace number current: the one in use opens the configuration dialog, a
    // missing or unusable file a new configuration, a valid one its table.
    void LoadTable(unsigned number);
    // Builds the table of kind (1 country-data view, else country comparison) for workspace
    // number; an empty list keeps the current one.
    void ShowTable(unsigned kind, unsigned number, const IdList& countries, const IdList& dataIds);
    // Runs the table configuration dialog for workspace number, preset with the current lists
    // when fromCurrent, and shows its result.
    void ConfigureTable(unsigned number, bool fromCurrent);
    // Closes the table and its dialogs; deleteFile also deletes the workspace file in use.
    void CloseWorkspace(bool deleteFile);
    // 3 for the workspace in use, 2 when its file exists, 1 otherwise.
    int WorkspaceState(unsigned number) const;
    // Path of the workspace file of number in the user-data folder.
    std::string WorkspacePath(unsigned number) const;

    // Profiles: "clt" country lists, "vlt" data-field lists, in the user-data folder.

    // Stores ids as profile name; the design's hints for an empty list, an empty or unusable
    // name, an existing profile (asks) and a failed write. True when the file was written.
    bool SaveProfile(const QString& name, const QString& extension, const IdList& ids);

    // "Pointer", the cursor over clickable parts of the tables and pictures; the windows this
    // window owns get it from here. The system's pointing hand until set.
    void SetPointerCursor(const QCursor& cursor) { m_pointer = cursor; }
    // What the table window and its cells use: the almanac, this window as their host, the
    // pointer, the picture folder.
    CTableResources TableResources();

    // The workspace state.
    unsigned CurrentWorkspace() const { return currentWorkspace; }
    unsigned TableKind() const { return tableKind; }

    // Owned windows while they exist, else null.
    CTableWnd* TableWindow() const;
    CTabConfigDlg* TabConfigDialog() const;
    CSelectStaatDlg* SelectStaatWindow() const;
    CSelectDatenDlg* SelectDatenWindow() const;
    CImageWnd* ImageWindow() const;
    CFlagView* FlagWindow() const;
    CGraphView* GraphWindow() const;
    CTemplateDialog* CommandBar() const;
    CSearch* SearchWindow() const;
    // The rectangle of the table window: the client area below the bar, 12 pixels in.
    QRect TableRect() const;
    // The article window, the cell information and the hidden print host while they exist.
    CTextBrowser* TextBrowserWindow() const;
    CBookmarkWnd* BookmarkWindow() const;
    CCellInfoDlg* CellInfoWindow() const;
    // The world map while it exists.
    CMapDlg* MapWindow() const;
    CNOXBrowser* PrintHost() const;

signals:
    // The print host has ended a print; printed is true when a printout was made.
    void printDone(bool printed);

public:
    // CTableHost.
    void OpenTextBrowserLandID(std::int32_t landId) override;
    void ShowMap(std::int32_t landId) override;
    void ShowFlag(std::int32_t landId) override;
    void ShowMapValues(std::int32_t valId, unsigned year) override;
    void OpenCountrySelection() override;
    void OpenDataSelection() override;
    void OpenCellInfo(std::int32_t landId, std::int32_t valId, unsigned year) override;
    void PrintHTML(const std::string& html) override;
    void CloseTable() override;
    void ApplySelection(const IdList& countries, const IdList& dataIds) override;
    const IdList& CountryIds() const override { return countryIds; }
    const IdList& DataIds() const override { return dataIds; }
    bool AllCountries() const override { return allCountries != 0; }
    void SetAllCountries(bool all) override { allCountries = all ? 1 : 0; }
    bool ProfileMenu(const std::string& extension, int screenX, int screenY, std::string& name,
                     std::string& path) override;
    void SaveProfileAsk(const std::string& extension, const IdList& ids) override;
    void DeleteProfile(const std::string& extension) override;
    bool LoadCObject(const std::string& path, IdList& ids) override;

    // CSearchHost: a hit goes to the text browser, a picture hit to the graph viewer.
    void OpenSearchArticle(QWidget* owner, std::int32_t htmlId, const std::string& anchor,
                           const std::vector<std::string>& terms) override;
    void OpenSearchGraph(QWidget* owner, std::int32_t htmlId) override;

    // CGraphViewHost: the gallery's entries open in the image viewer, and print and export
    // the picture of their record.
    void OpenGraph(QWidget* owner, std::int32_t htmlId) override;
    void PrintGraph(QWidget* owner, std::int32_t htmlId) override;
    void ExportGraph(QWidget* owner, std::int32_t htmlId) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

    // Opens the profile menu built from model at (x, y) and gives the chosen item's id, 0 for
    // none. Tests replace it.
    virtual int TrackProfileMenu(const CProfileMenuModel& model, int x, int y);

private:
    void Configure();
    void OnBarCommand(int id);
    // Sets the three pictures of each workspace button from its state.
    void UpdateCommandBar();
    void LayoutChildren();
    void PaintBackground(QPainter& painter, const QRect& client);
    void PaintTableFrame(QPainter& painter, const QRect& area);
    // The article window, created on first use; null when the HTML folder is not there.
    CTextBrowser* CreateTextBrowser();
    // Destroys the cell information (a new table content has nothing to do with it).
    void CloseCellInfo();
    // Timer 5: prints once the print host has loaded its page.
    void OnPrintTimer();
    // What the picture viewers are handed: this window's print and export, the placements in
    // the registry and the insert-disc prompt.
    CViewerEnv ViewerEnv();
    // The picture of record htmlId (Typ 9) from the archive of its kind, with its title; the
    // messages of the image viewer when it cannot be had (false).
    bool ReadGraphPicture(std::int32_t htmlId, CPicture& picture, QString& title);

    CDatabase* m_pDatabase;
    QCursor m_pointer = QCursor(Qt::PointingHandCursor);

    // The workspace state.
    std::uint8_t currentWorkspace = 0;
    std::uint8_t tableKind = 1;
    std::uint32_t allCountries = 0;
    IdList countryIds;
    IdList dataIds;
    // The workspace remembered in the registry until timer 2 has loaded it.
    std::uint8_t m_rememberedWorkspace = 0;
    // True while the table window fills: its progress window lets events through, and no
    // second table may start meanwhile.
    bool m_filling = false;

    // Owned windows; each clears itself here when it goes away.
    QPointer<CTemplateDialog> m_pCommandBar;
    QPointer<CTabConfigDlg> m_pTabConfigDlg;
    QPointer<CSelectStaatDlg> m_pSelectStaatDlg;
    QPointer<CSelectDatenDlg> m_pSelectDatenDlg;
    QPointer<CTableWnd> m_pTableWnd;
    QPointer<CSearch> m_pSearch;
    QPointer<CCellInfoDlg> m_pCellInfoDlg;
    QPointer<CMapDlg> m_pMapDlg;
    QPointer<CTextBrowser> m_pTextBrowser;
    QPointer<CBookmarkWnd> m_pBookmarkWnd;
    QPointer<CNOXBrowser> m_pPrintHost;
    // A text to print that came while the print host was printing.
    std::string m_pendingPrint;
    QPointer<CImageWnd> m_pImageWnd;
    QPointer<CFlagView> m_pFlagView;
    QPointer<CGraphView> m_pGraphView;
    // Window placements kept in the registry, and the drive types the insert-disc prompt
    // needs (read on first use).
    std::unique_ptr<CWindowPlacements> m_placements;
    std::unique_ptr<IDriveTypes> m_drives;

    // Background 135 and the frame around the table: edges top 155, bottom 148, left 149,
    // right 152; corners top-left 151, top-right 154, bottom-left 150, bottom-right 153.
    QPixmap m_background;
    QPixmap m_edgeTop, m_edgeBottom, m_edgeLeft, m_edgeRight;
    QPixmap m_cornerTopLeft, m_cornerTopRight, m_cornerBottomLeft, m_cornerBottomRight;

    int m_timerShow = 0;
    int m_timerReload = 0;
    int m_timerPrint = 0;
};
