#pragma once
// The graph gallery (template 265, skin folder "GraphView/"): every graph, table picture and
// thematic map of the almanac as a list of titles with small previews, narrowed by four
// buttons (tables, graphs, thematic maps, all) and searched by typing the start of a title.
// A click on an entry, or Return in the search field for the entry found, has the main window
// open the picture; a right click offers printing and exporting it. The arrow and page keys
// scroll the list from the search field as well.
//
// The previews come from "Previews.nox", which the gallery keeps open for as long as it
// lives. Each preview is read and decoded the first time its entry comes on screen and kept;
// one that cannot be read (missing, damaged, no picture) shows its entry without a picture
// and does not keep the ones after it from being read. Closing the gallery destroys it.

#include <QColor>
#include <QString>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "archive/ArchiveReader.h"
#include "controls/TemplateDialog.h"
#include "viewers/GraphListItem.h"
#include "viewers/Picture.h"
#include "viewers/ViewerEnv.h"

class CDatabase;
class CGraphViewHost;
class CListWnd;
class QLineEdit;

class CGraphView : public CTemplateDialog, public CPreviewSource {
    Q_OBJECT
public:
    static constexpr int kTemplate = 265;
    // Controls of the template.
    enum Control {
        kClose = 1003,
        kSelTabellen = 1011,
        kSelGrafiken = 1012,
        kSelThemenkarten = 1013,
        kSelAlle = 1014,
        kSearchField = 1025,
        kList = 1050,
    };
    // The selections, each with its button.
    enum Selection { kTabellen = 1, kGrafiken = 2, kThemenkarten = 3, kAlle = 4 };

    // A preview member larger than this is not read: the previews are a few kilobytes.
    static constexpr std::uint32_t kMaxPreviewBytes = 1u << 20;
    // Decoded previews kept at most; the almanac has far fewer pictures.
    static constexpr std::size_t kMaxKeptPreviews = 4096;

    // A hidden gallery over parent on the almanac's picture records (database and host are
    // not owned and outlive it; without a host a chosen entry opens nothing). The previews
    // are read from "Previews.nox" in imgDirectory (the data folder, ending in "/"). env is
    // copied.
    CGraphView(QWidget* parent, CDatabase* database, const CViewerEnv& env,
               const std::string& imgDirectory, CGraphViewHost* host);
    ~CGraphView() override;

    // Opens the previews archive and shows every picture record (selection 4). When the
    // archive cannot be reached (the disc was not inserted) the gallery closes and the
    // result is false. An archive that is missing or damaged leaves the entries without
    // previews.
    bool Open();

    // Shows selection n (1 to 4) from its first entry and enables every selection button but
    // n's. The search field's text, if any, is looked up again in the new selection.
    void Select(int n);
    int Selection() const { return m_selection; }
    // The query of selection n.
    static std::string SelectionQuery(int n);
    // The selection button of n.
    static int SelectionButton(int n);

    // Moves the list to the first entry whose title starts with text (any case); false, and
    // the list unchanged, when none does.
    bool FindTitle(const QString& text);

    // A chosen entry: the main window opens its picture.
    void OpenEntry(long key);
    // Runs the menu command id (print, export, close) for the entry key.
    void OnMenuCommand(int id, long key);

    QLineEdit* SearchField() const { return m_edit; }
    CListWnd* List() const { return m_list; }
    const CArchiveReader& PreviewArchive() const { return m_archive; }
    // Previews read from the archive so far (each at most once).
    int PreviewsRead() const { return m_previewsRead; }

    // CPreviewSource.
    CPicture Preview(const std::string& member) override;

protected:
    // Opens the context menu at pos (screen) and returns the chosen item; tests replace it.
    virtual int TrackMenu(const QPoint& pos);

    void OnCommand(int id) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnSearchText(const QString& text);
    void OnSearchReturn();

    CDatabase* m_database;
    CViewerEnv m_env;
    std::string m_previewsPath;
    CGraphViewHost* m_host;
    CArchiveReader m_archive;
    std::unordered_map<std::string, CPicture> m_previews;
    int m_previewsRead = 0;
    int m_selection = 0;
    // Whether the search field's text was last found.
    bool m_found = true;
    QColor m_textColour;
    QLineEdit* m_edit = nullptr;
    CListWnd* m_list = nullptr;
};
