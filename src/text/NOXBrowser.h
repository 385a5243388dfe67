#pragma once
// CNOXBrowser: the page display of the program over the embedded browser. It always loads one
// fixed host page from disk and, when that has loaded, writes the text it was given into the
// page's body; around that it marks search hits, scrolls to anchors and elements, reads
// element contents and scroll positions, copies, prints with a fixed page setup, and reports
// every link the user clicks to its owner instead of following it.
//
// The browser works asynchronously: each operation that reads the page hands its answer to a
// callback, and the page-loaded processing runs as a chain of steps on the browser's own
// notifications. Nothing waits in a nested event loop.
//
// Notifications to the owner are events sent to the owner window (CBrowserEvent); wParam is
// the owner ID unless said otherwise:
//   NBM_LINKCLICKED  0x465  the user started a navigation; Record() holds URL and target
//   NBM_PAGELOADED   0x498  a page-loaded event has been processed
//   NBM_RELOAD       0x499  bookmark data changed and the owner renders the page itself
//   NBM_CONTEXTMENU  0x4C9  right-click in the page (wParam 0), instead of the browser's menu
//   NBM_MOUSEDOWN, NBM_MOUSEUP, NBM_KEYPRESS, NBM_KEYDOWN  0x466..0x469  document events
//       (wParam 0), while the document event sink is on

#include <QBasicTimer>
#include <QEvent>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "text/Bookmark.h"
#include "text/LinkProtocol.h"
#include "webview/WebView.h"

class CTemplateControls;
class CBookmarkDatabase;
class CDatabase;
class CRecordset;
class IRegistryStore;
struct CBrowserPrintJob;

inline constexpr QEvent::Type NBM_LINKCLICKED = QEvent::Type(0x465);
inline constexpr QEvent::Type NBM_MOUSEDOWN = QEvent::Type(0x466);
inline constexpr QEvent::Type NBM_MOUSEUP = QEvent::Type(0x467);
inline constexpr QEvent::Type NBM_KEYPRESS = QEvent::Type(0x468);
inline constexpr QEvent::Type NBM_KEYDOWN = QEvent::Type(0x469);
inline constexpr QEvent::Type NBM_PAGELOADED = QEvent::Type(0x498);
inline constexpr QEvent::Type NBM_RELOAD = QEvent::Type(0x499);
inline constexpr QEvent::Type NBM_CONTEXTMENU = QEvent::Type(0x4C9);

class CBrowserEvent : public QEvent {
public:
    CBrowserEvent(QEvent::Type type, int wParam, const CLinkRecord* record = nullptr)
        : QEvent(type), m_wParam(wParam), m_record(record) {}
    int WParam() const { return m_wParam; }
    // The link-clicked record (valid while the event is handled); null for the others.
    const CLinkRecord* Record() const { return m_record; }

private:
    int m_wParam;
    const CLinkRecord* m_record;
};

class CNOXBrowser : public QWidget, private CWebViewClient {
    Q_OBJECT
public:
    // Child id and window text of the browser control inside the wrapper.
    static constexpr int kControlId = 100;
    // Text size of the zoom command after every load (2: the browser's normal size).
    static constexpr int kZoom = 2;

    explicit CNOXBrowser(QWidget* parent = nullptr);
    ~CNOXBrowser() override;

    // Configuration; read at every page load.
    void SetContextMenuToOwner(bool on) { m_contextMenuToOwner = on; }
    void SetDocumentEventsToOwner(bool on) { m_documentEventsToOwner = on; }
    void SetHostFlags(int flags) { m_hostFlags = flags; }
    void SetInterceptLinks(bool on) { m_interceptLinks = on; }
    void SetShowOnLoad(bool on) { m_showOnLoad = on; }
    // The registry whose page setup key printing uses (not owned; null: no page setup key).
    void SetRegistry(IRegistryStore* registry) { m_registry = registry; }

    // A free-standing wrapper: a window of its own ("NOXBrowserEx") at rect, owned by owner,
    // which gets the notifications under ownerId. Loads hostPage at once.
    bool Create(QWidget* owner, int ownerId, const QRect& rect, const QString& hostPage,
                Qt::WindowFlags flags = Qt::Window);
    // Takes the place of the template control controlId of owner (its rectangle and id).
    // False when there is no such control.
    bool CreateInPlace(QWidget* owner, CTemplateControls& controls, int controlId,
                       const QString& hostPage);

    void SetHostPage(const QString& path) { m_hostPage = path; }
    const QString& HostPage() const { return m_hostPage; }
    // Navigates to the host page (nothing kept in the browser's history); loading until the
    // page has loaded and been processed.
    void LoadHostPage();
    bool IsLoading() const { return m_loading; }

    // Shows text as the body of a fresh host page. While a page loads the text waits (only the
    // newest one) and is shown when that load is done.
    void ShowHTML(const QString& text);

    // Search terms to mark at the next load (an empty list marks nothing).
    void SetHighlightTerms(const std::vector<std::string>& terms);
    // The anchor to scroll to after the next load; ScrollToAnchor scrolls at once, or after
    // the load while one runs.
    void SetPendingAnchor(const QString& name) { m_pendingAnchor = name; }
    void ScrollToAnchor(const QString& name);
    // Scrolls the first element of that name or id into view, its top at the top.
    void ScrollToElement(const QString& name);

    // The inner HTML of the body; of the first element of that name or id ("" when none).
    void GetBodyHTML(std::function<void(const QString& html)> done) const;
    // Writes the body's inner HTML; while a page loads, at the end of that load.
    void SetBodyHTML(const QString& html);
    void GetElementHTML(const QString& name, std::function<void(const QString& html)> done) const;
    // Several elements at once, in the order of names.
    void GetElementsHTML(const QStringList& names,
                         std::function<void(const QStringList& html)> done) const;

    // Whether the document has a text selection; Copy puts it on the clipboard.
    bool HasSelection() const;
    QString SelectedText() const;
    void Copy();

    // The names of the document's anchors, in document order.
    void GetAnchorNames(std::function<void(const std::vector<std::string>& names)> done) const;
    // Scroll offsets of an element; ok is false when there is no such element.
    void GetElementScroll(const QString& name,
                          std::function<void(bool ok, int left, int top)> done) const;
    void SetElementScroll(const QString& name, int left, int top,
                          std::function<void(bool ok)> done = {});
    // The visible area of an element and the rectangle of an element, in page coordinates;
    // GetAnchorRects gives those of all anchors in document order.
    void GetVisibleRect(const QString& name, std::function<void(bool ok, QRect rect)> done) const;
    void GetElementRect(const QString& name, std::function<void(bool ok, QRect rect)> done) const;
    void GetAnchorRects(std::function<void(const std::vector<QRect>& rects)> done) const;

    // Keeps the scroll offsets of the element of that name (re-found after every load) as
    // they change, so that WatchedScroll answers at once; 0/0 until it has scrolled.
    void WatchScroll(const QString& name) { m_watchedName = name; }
    void WatchedScroll(int& left, int& top) const;

    // Printing: header and footer with the page setup codes (see PageSetup.h).
    void SetPrintHeader(const QString& text) { m_printHeader = text; }
    void SetPrintFooter(const QString& text) { m_printFooter = text; }
    const QString& PrintHeader() const { return m_printHeader; }
    const QString& PrintFooter() const { return m_printFooter; }
    // Writes the page setup, shows the print dialog and prints the page; the user's header
    // and footer are put back however it ends. Nothing happens while a page loads or another
    // print runs. printFinished reports the end.
    void Print();
    bool IsPrinting() const { return m_printJob != nullptr; }

    // Written into the document after every load.
    void SetDocumentTitle(const QString& title) { m_documentTitle = title; }
    const QString& DocumentTitle() const { return m_documentTitle; }
    void SetBodyBackground(const QString& image) { m_bodyBackground = image; }

    // Bookmarks (NOXBrowserBookmarks.cpp). Bookmarks are on while the bookmark database is
    // open; without it every operation does nothing and gives its failure value. Operations
    // that read or write the page hand their result to done once the browser has answered.

    // Opens the bookmark database at path, creating it first when it is missing and create is
    // set; false (bookmarks off) when that fails.
    bool InitBookmarks(const std::string& path, bool create);
    static bool CreateBookmarkDatabase(const std::string& path);
    bool BookmarksOn() const;
    // The open bookmark database; null while bookmarks are off.
    CBookmarkDatabase* Bookmarks() const { return BookmarksOn() ? m_bookmarks.get() : nullptr; }

    // With bookmarks on, the bookmark support's view of the record shown: keeps the record's
    // query, its field names and whether the owner renders; true when the record's ID is
    // another article than the current one (which it then becomes).
    bool SyncBookmarks(CRecordset& record, const std::string& titleField,
                       const std::string& contentField, const std::string& removal,
                       bool ownerRenders);
    // Shows the content field of the record (without every occurrence of removal) when the
    // record is another article (with bookmarks off: always); returns the text shown, ""
    // otherwise or on a database failure (reported as "CNOXBrowser::SetHTML").
    QString SetHTML(CRecordset& record, const std::string& titleField,
                    const std::string& contentField, const std::string& removal);
    // The database the records given to SyncBookmarks come from, for ReloadPage of a wrapper
    // whose owner does not render (not owned).
    void SetSourceDatabase(CDatabase* database) { m_sourceDatabase = database; }
    std::int32_t CurrentArticle() const { return m_currentArticle; }
    void SetCurrentArticle(std::int32_t id) { m_currentArticle = id; }
    const std::string& CurrentTitle() const { return m_currentTitle; }
    bool OwnerRenders() const { return m_ownerRenders; }

    // A bookmark (title, note) of the current article, its node made when needed; the new
    // ID, 0 on failure.
    std::int32_t AddBookmark(const std::string& title, const std::string& note);
    // Sets a bookmark of picture type on the page's selection: its title is the selected
    // text, its passage widened around links, its markup put into the page, which scrolls to
    // it, and the positions of the article's bookmarks measured again. done gets the new ID,
    // -1 when there is none (bookmarks off, no selection, a page still loading).
    void InsertBookmarkAtSelection(unsigned type, std::function<void(std::int32_t id)> done = {});
    // Puts the markup of the current article's bookmarks into the page as it is.
    void RetrieveBookmarks(std::function<void()> done = {});
    // Measures the positions of the current article's bookmarks in the page and stores them.
    void StoreBookmarkPositions(std::function<void()> done = {});
    // The article (MID) of bookmark id, 0 when there is none.
    std::int32_t GetBookmarkContentID(std::int32_t id) const;
    // The node of the current article, 0 when it has none.
    std::int32_t GetBookmarkNodeID() const;
    // Deletes a node with every bookmark of its article (the page reloads when it shows that
    // article), or a single bookmark, whose markup must be on the page (after the load that
    // runs). done gets whether anything was deleted.
    void DeleteBookmark(std::int32_t id, std::function<void(bool deleted)> done = {});
    // Deletes every bookmark; the page reloads when the current article had any.
    void DeleteAllBookmarks();
    // The note of a bookmark: an empty one is stored as " "; read back trimmed.
    bool SetBookmarkNote(std::int32_t id, const std::string& note);
    std::string GetBookmarkNote(std::int32_t id) const;
    bool RenameBookmark(std::int32_t id, const std::string& title, unsigned type);
    unsigned GetBookmarkType(std::int32_t id) const;
    // Scrolls to bookmark id ("Bookmark<id>"), after the load while one runs.
    void ShowBookmark(std::int32_t id);
    // Shows the current article again: the owner that renders gets NBM_RELOAD, otherwise the
    // wrapper reads its kept query again and shows the content field.
    void ReloadPage();

    // The highlight markup removed from an HTML text.
    static void RemoveHighlights(std::string& html);

    // The browser control (the web engine's view) and its page operations; both null when the
    // browser's module could not be loaded.
    QWidget* View() const;
    CWebView* WebView() const { return m_pView; }
    QWidget* Owner() const { return m_pOwner; }
    int OwnerId() const { return m_ownerId; }

signals:
    // A print has ended; printed is true when a printout (or its PDF file) was made.
    void printFinished(bool printed);
    // The element named by WatchScroll has scrolled to left/top.
    void watchedScrolled(int left, int top);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void CreateControl();
    void OnLoadFinished(bool ok) override;
    void AfterBodyWritten(unsigned serial, const QString& body,
                          const std::vector<CBookmarkPlace>& bookmarks);
    // The places of article's bookmarks to put into its page; none while bookmarks are off.
    std::vector<CBookmarkPlace> StoredPlaces(std::int32_t article) const;
    // Writes html as the body (the watched element found again), then runs done with the
    // body as the browser now reports it.
    void WriteBody(const QString& html, std::function<void(const QString& body)> done,
                   const QString& scrollAnchor = QString());
    void FinishLoad(unsigned serial);
    // Runs script in the program's own script world; done gets its result.
    void RunScript(const QString& script, std::function<void(const QVariant&)> done = {}) const;
    void SendToOwner(QEvent::Type type, int wParam, const CLinkRecord* record = nullptr);
    // From the page: a link the user clicked (the document event sink), a document event, a
    // navigation the browser was asked for, a right click, a scrolled element.
    void OnLinkClicked(const QString& url, const QString& target, int wParam) override;
    void OnDocumentEvent(int code) override;
    bool OnNavigationRequest(const QUrl& url) override;
    bool OnContextMenu() override;
    void OnElementScrolled(int left, int top) override;

    // Printing steps (NOXBrowserPrint.cpp).
    void PrintWithPrinter();
    void PrintToPdf();
    void OnPdfReady(const QByteArray& pdf);
    void FinishPrint(bool printed, bool failed);

    // The wrapper's state.
    QString m_hostPage;
    bool m_loading = false;
    bool m_contextMenuToOwner = false;
    bool m_documentEventsToOwner = false;
    int m_hostFlags = 0;
    bool m_interceptLinks = false;
    bool m_showOnLoad = true;
    bool m_ownerRenders = false;
    CWebView* m_pView = nullptr;
    QPointer<QWidget> m_pOwner;
    int m_ownerId = 0;
    QString m_pageHTML;
    QString m_deferredHTML;
    QString m_pendingAnchor;
    std::vector<std::string> m_highlightTerms;
    int m_zoom = kZoom;
    QString m_documentTitle;
    QString m_printHeader;
    QString m_printFooter;
    // Bookmark fields: the current article and title, the record's query and field names.
    std::int32_t m_currentArticle = 0;
    std::string m_currentTitle;
    std::string m_sourceQuery;
    std::string m_titleField;
    std::string m_contentField;
    std::string m_removal;
    CDatabase* m_sourceDatabase = nullptr;
    std::unique_ptr<CBookmarkDatabase> m_bookmarks;
    // The article whose page the page HTML (the deferred HTML) is.
    std::int32_t m_pageArticle = 0;
    std::int32_t m_deferredArticle = 0;
    // Steps that wait for the running load to end.
    std::vector<std::function<void()>> m_afterLoad;
    QString m_bodyBackground;

    IRegistryStore* m_registry = nullptr;
    // Timer 1: the deferred HTML waits for the running load.
    QBasicTimer m_deferTimer;
    // Counts loads, so that the steps of a load that was overtaken by a newer one stop.
    unsigned m_loadSerial = 0;
    bool m_fallbackShown = false;
    QString m_watchedName;
    int m_watchedLeft = 0;
    int m_watchedTop = 0;
    std::unique_ptr<CBrowserPrintJob> m_printJob;
    bool m_destroying = false;
};
