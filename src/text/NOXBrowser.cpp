#include "text/NOXBrowser.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QResizeEvent>
#include <QTimerEvent>

#include "controls/TemplateLoader.h"
#include "data/ErrorReporter.h"
#include "data/ValueRoutines.h"
#include "text/BookmarkDatabase.h"
#include "text/BrowserPrintJob.h"
#include "text/Highlight.h"
#include "text/PageSetup.h"
#include "text/WebViewModule.h"

namespace {

// The arguments of a script call as JavaScript literals.
QString Args(const QJsonArray& args) {
    const QByteArray json = QJsonDocument(args).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// A script that calls function (a JavaScript function expression) with args.
QString Call(const char* function, const QJsonArray& args) {
    return QStringLiteral("(%1)(%2)").arg(QString::fromLatin1(function), Args(args));
}

// The browser's text size for the zoom value (0 smallest, 2 normal, 4 largest).
qreal ZoomFactor(int zoom) {
    static constexpr qreal kFactors[] = {0.7, 0.85, 1.0, 1.15, 1.3};
    return kFactors[std::clamp(zoom, 0, 4)];
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Creation

CNOXBrowser::CNOXBrowser(QWidget* parent)
    : QWidget(parent),
      m_printHeader(QString::fromLatin1(kDefaultPrintHeader)),
      m_printFooter(QString::fromLatin1(kDefaultPrintFooter)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
}

CNOXBrowser::~CNOXBrowser() {
    // The page answers the scripts still running as it goes; nobody is told any more.
    m_destroying = true;
    // A print still running puts the user's page setup back here.
    m_printJob.reset();
    // The page goes before the wrapper's own objects (it stays while the browser still renders
    // a print, until that answer came).
    if (m_pView) m_pView->ReleasePage();
}

bool CNOXBrowser::Create(QWidget* owner, int ownerId, const QRect& rect, const QString& hostPage,
                         Qt::WindowFlags flags) {
    m_pOwner = owner;
    m_ownerId = ownerId;
    m_hostPage = hostPage;
    setParent(owner, flags);
    setObjectName(QStringLiteral("NOXBrowserEx"));
    setWindowTitle(QStringLiteral("NOXBrowserEx"));
    setGeometry(rect);
    CreateControl();
    return true;
}

bool CNOXBrowser::CreateInPlace(QWidget* owner, CTemplateControls& controls, int controlId,
                                const QString& hostPage) {
    if (!controls.Control(controlId)) return false;
    m_pOwner = owner;
    m_ownerId = controlId;
    m_hostPage = hostPage;
    controls.Replace(controlId, this);
    show();
    CreateControl();
    return true;
}

void CNOXBrowser::CreateControl() {
    if (m_pView) return;
    const CreateWebViewFunction create = WebViewFactory();
    if (!create) {
        // No page will come to cover the area: it shows as an empty one.
        setAttribute(Qt::WA_OpaquePaintEvent, false);
        QPalette empty = palette();
        empty.setColor(QPalette::Window, Qt::white);
        setPalette(empty);
        return;
    }
    m_pView = create(this, this);
    QWidget* view = m_pView->Widget();
    view->setGeometry(rect());
    view->show();
    setEnabled(true);
    view->setFocus();
    LoadHostPage();
}

QWidget* CNOXBrowser::View() const { return m_pView ? m_pView->Widget() : nullptr; }

void CNOXBrowser::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_pView) m_pView->Widget()->setGeometry(rect());
}

// ---------------------------------------------------------------------------------------
// Loading

void CNOXBrowser::LoadHostPage() {
    if (!m_pView) return;
    m_loading = true;
    ++m_loadSerial;
    m_fallbackShown = false;
    m_watchedLeft = m_watchedTop = 0;
    m_pView->Load(QUrl::fromLocalFile(m_hostPage));
}

void CNOXBrowser::ShowHTML(const QString& text) {
    if (m_loading) {
        m_deferredHTML = text;
        m_deferredArticle = m_currentArticle;
        if (!m_deferTimer.isActive()) m_deferTimer.start(50, Qt::PreciseTimer, this);
        return;
    }
    m_pageHTML = text;
    m_pageArticle = m_currentArticle;
    LoadHostPage();
}

void CNOXBrowser::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_deferTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (m_loading) return;
    m_deferTimer.stop();
    m_pageHTML = m_deferredHTML;
    m_pageArticle = m_deferredArticle;
    m_deferredHTML.clear();
    LoadHostPage();
}

void CNOXBrowser::OnLoadFinished(bool ok) {
    // Jumps inside the page and loads the wrapper did not start are not page loads.
    if (!m_loading) return;
    if (!ok) {
        // A host page that cannot be read still gets its body: an empty document in its place,
        // so that relative addresses resolve as they would have.
        if (m_fallbackShown) return;
        m_fallbackShown = true;
        m_pView->SetHtml(QStringLiteral("<html><head></head><body></body></html>"),
                         QUrl::fromLocalFile(m_hostPage));
        return;
    }
    const unsigned serial = m_loadSerial;
    m_pView->SetZoomFactor(ZoomFactor(m_zoom));

    // Title, event sink, background and body in one step; the body comes back as the browser
    // serialises it when there are bookmarks to show or hits to mark.
    const bool writeBody = !m_pageHTML.isEmpty();
    std::vector<CBookmarkPlace> bookmarks;
    if (writeBody) bookmarks = StoredPlaces(m_pageArticle);
    const bool highlight = writeBody && (!m_highlightTerms.empty() || !bookmarks.empty());
    QJsonArray args{m_documentTitle,  m_documentEventsToOwner,
                    m_bodyBackground, writeBody ? QJsonValue(m_pageHTML) : QJsonValue(),
                    m_watchedName,    highlight};
    m_pageHTML.clear();
    RunScript(Call(R"JS(function (title, sink, background, html, watch, wantBody) {
        var nox = window.__nox;
        document.title = title;
        if (nox) nox.sink = sink;
        if (!document.body) return null;
        if (background) document.body.background = background;
        if (html !== null) document.body.innerHTML = html;
        if (nox) { nox.watched = null; nox.watch(watch); }
        return wantBody ? document.body.innerHTML : null;
    })JS",
                   args),
              [this, serial, bookmarks](const QVariant& body) {
                  if (serial == m_loadSerial) AfterBodyWritten(serial, body.toString(), bookmarks);
              });
}

void CNOXBrowser::AfterBodyWritten(unsigned serial, const QString& body,
                                   const std::vector<CBookmarkPlace>& bookmarks) {
    // The bookmarks first (their positions do not count the highlighting), then the hits.
    std::string text = body.toStdString();
    const bool showBookmarks = !bookmarks.empty() && text.size() > 1;
    const bool highlight = !text.empty() && !m_highlightTerms.empty();
    if (showBookmarks) InsertBookmarks(text, bookmarks);
    if (highlight) {
        text = HighlightTerms(std::move(text), m_highlightTerms);
        m_highlightTerms.clear();
    }
    if (showBookmarks || highlight) {
        RunScript(Call(R"JS(function (html, toHit) {
            document.body.innerHTML = html;
            var nox = window.__nox;
            if (!nox) return;
            var watch = nox.watched;
            nox.watched = null;
            if (watch) nox.watch(watch.id || watch.getAttribute('name'));
            var first = toHit ? nox.el('Search') : null;
            if (first) first.scrollIntoView(true);
        })JS",
                       QJsonArray{QString::fromStdString(text), highlight}));
    }
    FinishLoad(serial);
}

void CNOXBrowser::FinishLoad(unsigned serial) {
    if (serial != m_loadSerial) return;
    m_loading = false;
    // The host page is loaded anew for every text; the browser keeps no history of it.
    m_pView->ClearHistory();
    if (!m_pendingAnchor.isEmpty()) {
        const QString anchor = m_pendingAnchor;
        m_pendingAnchor.clear();
        ScrollToAnchor(anchor);
    }
    if (m_showOnLoad) {
        if (m_pOwner && !m_pOwner->isVisible()) m_pOwner->show();
        if (!isVisible()) show();
    }
    QPointer<CNOXBrowser> alive(this);
    // What waited for the load (a bookmark to delete from the page) runs first.
    std::vector<std::function<void()>> waiting;
    waiting.swap(m_afterLoad);
    for (auto& step : waiting) step();
    if (!alive) return;
    SendToOwner(NBM_PAGELOADED, m_ownerId);
    if (alive && m_pView && serial == m_loadSerial && !m_loading) m_pView->Widget()->setFocus();
}

void CNOXBrowser::SetHighlightTerms(const std::vector<std::string>& terms) {
    m_highlightTerms = terms;
}

// ---------------------------------------------------------------------------------------
// The page's content

void CNOXBrowser::RunScript(const QString& script,
                            std::function<void(const QVariant&)> done) const {
    if (!m_pView) {
        if (done) done(QVariant());
        return;
    }
    QPointer<const CNOXBrowser> alive(this);
    m_pView->RunScript(script, [alive, done](const QVariant& result) {
        if (alive && !alive->m_destroying && done) done(result);
    });
}

void CNOXBrowser::ScrollToAnchor(const QString& name) {
    if (m_loading) {
        m_pendingAnchor = name;
        return;
    }
    RunScript(Call(R"JS(function (name) {
        var a = window.__nox && window.__nox.anchor(name);
        if (a) a.scrollIntoView(true);
    })JS",
                   QJsonArray{name}));
}

void CNOXBrowser::ScrollToElement(const QString& name) {
    RunScript(Call(R"JS(function (name) {
        var e = window.__nox && window.__nox.el(name);
        if (e) e.scrollIntoView(true);
    })JS",
                   QJsonArray{name}));
}

void CNOXBrowser::GetBodyHTML(std::function<void(const QString&)> done) const {
    RunScript(QStringLiteral("document.body ? document.body.innerHTML : ''"),
              [done](const QVariant& v) { done(v.toString()); });
}

void CNOXBrowser::SetBodyHTML(const QString& html) {
    if (m_loading) {
        m_pageHTML = html;
        return;
    }
    RunScript(Call(R"JS(function (html, watch) {
        if (!document.body) return;
        document.body.innerHTML = html;
        var nox = window.__nox;
        if (nox) { nox.watched = null; nox.watch(watch); }
    })JS",
                   QJsonArray{html, m_watchedName}));
}

void CNOXBrowser::GetElementHTML(const QString& name,
                                 std::function<void(const QString&)> done) const {
    GetElementsHTML(QStringList{name}, [done](const QStringList& html) { done(html.value(0)); });
}

void CNOXBrowser::GetElementsHTML(const QStringList& names,
                                  std::function<void(const QStringList&)> done) const {
    RunScript(Call(R"JS(function (names) {
        return names.map(function (n) {
            var e = window.__nox && window.__nox.el(n);
            return e ? e.innerHTML : '';
        });
    })JS",
                   QJsonArray{QJsonArray::fromStringList(names)}),
              [done, count = names.size()](const QVariant& v) {
                  QStringList html = v.toStringList();
                  while (html.size() < count) html.append(QString());
                  done(html);
              });
}

bool CNOXBrowser::HasSelection() const { return m_pView && m_pView->HasSelection(); }

QString CNOXBrowser::SelectedText() const { return m_pView ? m_pView->SelectedText() : QString(); }

void CNOXBrowser::Copy() {
    if (m_pView) m_pView->Copy();
}

void CNOXBrowser::GetAnchorNames(std::function<void(const std::vector<std::string>&)> done) const {
    RunScript(QStringLiteral(
                  "Array.prototype.map.call(document.anchors, function (a) { return a.name; })"),
              [done](const QVariant& v) {
                  std::vector<std::string> names;
                  for (const QString& name : v.toStringList()) names.push_back(name.toStdString());
                  done(names);
              });
}

void CNOXBrowser::GetElementScroll(const QString& name,
                                   std::function<void(bool, int, int)> done) const {
    RunScript(Call(R"JS(function (name) {
        var e = window.__nox && window.__nox.el(name);
        return e ? [e.scrollLeft, e.scrollTop] : null;
    })JS",
                   QJsonArray{name}),
              [done](const QVariant& v) {
                  const QVariantList xy = v.toList();
                  if (xy.size() == 2)
                      done(true, qRound(xy[0].toDouble()), qRound(xy[1].toDouble()));
                  else
                      done(false, 0, 0);
              });
}

void CNOXBrowser::SetElementScroll(const QString& name, int left, int top,
                                   std::function<void(bool)> done) {
    RunScript(Call(R"JS(function (name, left, top) {
        var e = window.__nox && window.__nox.el(name);
        if (!e) return false;
        e.scrollLeft = left;
        e.scrollTop = top;
        return true;
    })JS",
                   QJsonArray{name, left, top}),
              [done](const QVariant& v) {
                  if (done) done(v.toBool());
              });
}

namespace {

bool ToRect(const QVariant& v, QRect& rect) {
    const QVariantList r = v.toList();
    if (r.size() != 4) return false;
    rect = QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
    return true;
}

}  // namespace

void CNOXBrowser::GetVisibleRect(const QString& name, std::function<void(bool, QRect)> done) const {
    RunScript(Call(R"JS(function (name) {
        var e = window.__nox && window.__nox.el(name);
        if (!e) return null;
        var r = window.__nox.rect(e);
        return [r[0] + e.clientLeft, r[1] + e.clientTop, e.clientWidth, e.clientHeight];
    })JS",
                   QJsonArray{name}),
              [done](const QVariant& v) {
                  QRect rect;
                  const bool ok = ToRect(v, rect);
                  done(ok, rect);
              });
}

void CNOXBrowser::GetElementRect(const QString& name, std::function<void(bool, QRect)> done) const {
    RunScript(Call(R"JS(function (name) {
        var e = window.__nox && window.__nox.el(name);
        return e ? window.__nox.rect(e) : null;
    })JS",
                   QJsonArray{name}),
              [done](const QVariant& v) {
                  QRect rect;
                  const bool ok = ToRect(v, rect);
                  done(ok, rect);
              });
}

void CNOXBrowser::GetAnchorRects(std::function<void(const std::vector<QRect>&)> done) const {
    RunScript(QStringLiteral("window.__nox ? Array.prototype.map.call(document.anchors, "
                             "window.__nox.rect) : []"),
              [done](const QVariant& v) {
                  std::vector<QRect> rects;
                  for (const QVariant& item : v.toList()) {
                      QRect rect;
                      ToRect(item, rect);
                      rects.push_back(rect);
                  }
                  done(rects);
              });
}

void CNOXBrowser::WatchedScroll(int& left, int& top) const {
    left = m_watchedLeft;
    top = m_watchedTop;
}

void CNOXBrowser::RemoveHighlights(std::string& html) { ::RemoveHighlights(html); }

// ---------------------------------------------------------------------------------------
// Notifications

void CNOXBrowser::SendToOwner(QEvent::Type type, int wParam, const CLinkRecord* record) {
    if (!m_pOwner) return;
    CBrowserEvent event(type, wParam, record);
    QCoreApplication::sendEvent(m_pOwner, &event);
}

void CNOXBrowser::OnLinkClicked(const QString& url, const QString& target, int wParam) {
    if (!m_documentEventsToOwner) return;
    // The address as it reads, percent escapes of letters decoded, so that the record cuts
    // it on whole characters.
    const CLinkRecord record
        = MakeLinkRecord(QUrl(url).toString().toStdString(), target.toStdString());
    SendToOwner(NBM_LINKCLICKED, wParam, &record);
}

void CNOXBrowser::OnDocumentEvent(int code) {
    if (!m_documentEventsToOwner) return;
    if (code < NBM_MOUSEDOWN || code > NBM_KEYDOWN) return;
    SendToOwner(QEvent::Type(code), 0);
}

bool CNOXBrowser::OnNavigationRequest(const QUrl& url) {
    // The wrapper's own navigation to its host page passes while it loads.
    if (m_loading || !m_interceptLinks) return true;
    const QUrl current = m_pView->Url();
    if (url.hasFragment()
        && url.adjusted(QUrl::RemoveFragment) == current.adjusted(QUrl::RemoveFragment))
        return true;
    const CLinkRecord record = MakeLinkRecord(url.toString().toStdString(), "");
    SendToOwner(NBM_LINKCLICKED, m_ownerId, &record);
    return false;
}

bool CNOXBrowser::OnContextMenu() {
    if (!m_contextMenuToOwner) return false;
    SendToOwner(NBM_CONTEXTMENU, 0);
    return true;
}

void CNOXBrowser::OnElementScrolled(int left, int top) {
    m_watchedLeft = left;
    m_watchedTop = top;
    emit watchedScrolled(left, top);
}

// ---------------------------------------------------------------------------------------
// The record shown

bool CNOXBrowser::SyncBookmarks(CRecordset& record, const std::string& titleField,
                                const std::string& contentField, const std::string& removal,
                                bool ownerRenders) {
    if (!BookmarksOn()) return false;
    bool changed = false;
    DBGuard("CNOXBrowser::SyncBookmarks", [&] {
        m_sourceQuery = record.GetSQL();
        m_titleField = titleField;
        m_contentField = contentField;
        m_removal = removal;
        m_ownerRenders = ownerRenders;
        double id = 0;
        ToNumber(record.GetFieldValue("ID"), id);
        m_currentTitle
            = titleField.empty() ? std::string() : ToText(record.GetFieldValue(titleField));
        if (static_cast<std::int32_t>(id) != m_currentArticle) {
            m_currentArticle = static_cast<std::int32_t>(id);
            changed = true;
        }
    });
    return changed;
}

QString CNOXBrowser::SetHTML(CRecordset& record, const std::string& titleField,
                             const std::string& contentField, const std::string& removal) {
    std::string text;
    bool changed = false;
    const bool read = DBGuard("CNOXBrowser::SetHTML", [&] {
        // Without bookmarks nothing tells one article from another: the record is shown.
        if (BookmarksOn() && !SyncBookmarks(record, titleField, contentField, removal, false))
            return;
        changed = true;
        text = ToText(record.GetFieldValue(contentField));
        if (!removal.empty())
            for (std::size_t at = text.find(removal); at != std::string::npos;
                 at = text.find(removal, at))
                text.erase(at, removal.size());
    });
    if (!read || !changed) return QString();
    const QString html = QString::fromStdString(text);
    ShowHTML(html);
    return html;
}
