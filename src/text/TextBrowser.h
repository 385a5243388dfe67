#pragma once
// CTextBrowser: the article window. It shows one article (a record of table HTML) at a time in
// its browser wrapper, composed from the template of the article's type, with a navigation
// panel on its left, a history of the articles visited (with where each was scrolled), and
// buttons for copying, printing, the full-text search and the bookmarks. Links in the
// articles follow the link protocol: pictures, maps and flags go to the main window, cross
// references open the article that holds the link identifier, web addresses go to the
// desktop.
//
// One per main window: created on first use (template 181, named "TextBrowser") with what it
// needs handed in, reused, and destroyed by its close button.

#include <QBasicTimer>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/TemplateDialog.h"
#include "text/ArticlePage.h"
#include "text/History.h"
#include "text/TBPanelHost.h"

class CDatabase;
class CFlatMenu;
class CNOXBrowser;
class CTextBrowser;
class CTextBrowserHost;
class IRegistryStore;
class QWidget;
struct CLinkRecord;

// A navigation panel of the article window: the widget (a child of the window) and how to
// ask it to select an article at an anchor.
struct CTBPanelSlot {
    QWidget* widget = nullptr;
    std::function<void(std::int32_t id, const std::string& anchor)> selectID;
};

// Makes the navigation panel of a type (1 to 6) for the window; an empty slot where the type
// has none.
using CTBPanelFactory = std::function<CTBPanelSlot(int type, CTextBrowser& window)>;

// What the main window hands the article window.
struct CTextBrowserSetup {
    CDatabase* database = nullptr;       // the almanac; not owned
    CTextBrowserHost* host = nullptr;    // the main window; not owned
    std::string htmlFolder;              // the templates and host pages, ending with "/"
    std::string userData;                // the user's folder (the bookmark database)
    IRegistryStore* registry = nullptr;  // the page setup of printing; not owned
    // The program's binary values (the bookmark type); empty: nothing is kept.
    std::function<bool(const std::string& name, void* data, std::size_t size)> readValue;
    std::function<bool(const std::string& name, const void* data, std::size_t size)> writeValue;
    // The start-up check of the HTML folder (which asks for the disc); empty: it passes.
    std::function<bool()> checkHtmlFolder;
    // The navigation panels; empty: the program's own (CTextBrowser::CreateNavigationPanel).
    CTBPanelFactory createPanel;
};

class CTextBrowser : public CTemplateDialog, public CTBPanelHost {
    Q_OBJECT
public:
    static constexpr int kTemplate = 181;
    // Controls of template 181.
    enum ControlId {
        kBrowserArea = 1037,
        kPanel1Button = 1042,
        kPanel2Button = 1043,
        kPanel3Button = 1044,
        kPanel4Button = 1045,
        kPanel5Button = 1015,
        kPanel6Button = 1016,
        kBackButton = 1004,
        kForwardButton = 1005,
        kCopyButton = 1006,
        kPrintButton = 1013,
        kSearchButton = 1008,
        kBookmarkButton = 1009,
        kCloseButton = 1003,
    };
    // Timer 50: the section in view goes to the panel 100 ms after a jump.
    static constexpr int kSectionDelay = 100;
    static constexpr int kHistoryMaximum = 20;
    // Where the navigation panel sits.
    static constexpr int kPanelLeft = 4;
    static constexpr int kPanelTop = 48;

    inline static const char* const kCopiedText
        = "Der markierte Text wurde in die Zwischenablage kopiert.";
    inline static const char* const kNoSelectionText
        = "Bitte markieren Sie zunächst den zu kopierenden Text!";
    // The one item of the page's context menu.
    inline static const char* const kSetBookmarkItem = "Lesezeichen setzen";
    static constexpr int kSetBookmarkCommand = 1;

    // Checks the HTML folder (closing itself when it is not there), creates the browser in
    // place of control 1037 on the host page "TB.htm" and shows panel 1. Hidden until shown.
    CTextBrowser(QWidget* parent, CTextBrowserSetup setup);
    ~CTextBrowser() override;

    // CTBPanelHost: shows article id (see the class comment); ids of 0 and below do nothing.
    // The article already shown is not composed again: it only scrolls to anchor.
    void ShowArticle(std::int32_t id, bool addToHistory, bool selectInPanel,
                     const std::vector<std::string>& searchTerms,
                     const std::string& anchor) override;

    // The article type of article id (0 when there is none).
    int GetPanel(std::int32_t id) const;
    std::string DisplayChroniken(std::int32_t id) const { return m_pages.DisplayChroniken(id); }
    std::string DisplayPerson(std::int32_t id) const { return m_pages.DisplayPerson(id); }
    std::string GetPlainHTML(std::int32_t id) const { return m_pages.GetPlainHTML(id); }
    // Opens the article whose link identifiers hold linkId, scrolled to the anchor of that
    // name, with a history entry.
    void DisplaySGML(const std::string& linkId);
    // Shows navigation panel type (1 to 6) in place of the one there; clearPage empties the
    // page first. Nothing for the panel already shown.
    void ShowPanel(int type, bool clearPage);
    // The section in view goes to the panel 100 ms from now.
    void RestartSectionTimer();

    // The buttons' commands.
    void Back();
    void Forward();
    void CopySelection();
    void PrintArticle();
    // Sets a bookmark of the current bookmark type on the page's selection (the bookmark
    // hint without one); done gets the new ID (-1 for none), and the host hears of it.
    void SetBookmarkAtSelection(std::function<void(std::int32_t id)> done = {});
    // The picture type (1 to 6) of new bookmarks; other values are ignored.
    void SetBookmarkType(std::uint8_t type);

    // The program's navigation panels CTBPanel1 to CTBPanel6: the one place they are made.
    static CTBPanelSlot CreateNavigationPanel(int type, CTextBrowser& window);

    // Whether the window is usable: false once the HTML folder check has failed.
    bool IsUsable() const { return m_usable; }
    CNOXBrowser* Browser() const { return m_pBrowser; }
    int PanelType() const { return m_panelType; }
    CDatabase* Database() const { return m_setup.database; }
    QWidget* Panel() const { return m_panel.widget; }
    const CHistoryList& History() const { return m_history; }
    std::int32_t CurrentArticle() const { return m_currentArticle; }
    const std::vector<std::string>& AnchorNames() const { return m_anchorNames; }
    std::uint8_t BookmarkType() const { return m_bookmarkType; }

signals:
    // The page of an article has loaded and its anchors and scroll position are in place.
    void pageLoaded();

protected:
    // Hands a web address to the desktop's browser or mail program.
    virtual void OpenExternal(const QString& url);
    // A right click in the page (the browser's own menu does not show).
    virtual void OnPageContextMenu();
    // Button 1009.
    virtual void OpenBookmarks();

    void OnCommand(int id) override;
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void OnLinkClicked(const CLinkRecord& record);
    void OnPageLoaded();
    void OnReloadRequested();
    void SyncSection();
    void UpdateHistoryButtons();
    // Writes the content area's scroll offsets into the current history entry.
    void KeepScrollInHistory();
    void GoToHistoryEntry(const CHistoryEntry& entry);
    // False (the window closing itself) when the HTML folder is not there.
    bool CheckHtmlFolder();

    CTextBrowserSetup m_setup;
    CArticlePages m_pages;
    CNOXBrowser* m_pBrowser = nullptr;
    int m_panelType = 0;
    CTBPanelSlot m_panel;
    CHistoryList m_history{5};
    std::int32_t m_currentArticle = 0;
    int m_pendingScrollLeft = 0;
    int m_pendingScrollTop = 0;
    std::vector<std::string> m_anchorNames;
    std::uint8_t m_bookmarkType = 1;
    // The context menu while it is open (it answers with a posted command).
    std::unique_ptr<CFlatMenu> m_contextMenu;
    QBasicTimer m_sectionTimer;
    bool m_usable = true;
};
