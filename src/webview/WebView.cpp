#include "webview/WebView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QPointer>
#include <QWebChannel>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdio>

namespace {

// The page's own scripts run in the main world; the wrapper's run in a world of their own,
// where nothing a page contains can reach the program's channel.
constexpr quint32 kWorld = QWebEngineScript::ApplicationWorld;

// The document event sink and the helpers the wrapper's scripts use, installed into every
// page as soon as its document is ready. Events and clicks reach the program through the
// channel object "bridge"; what arrives before the channel is up waits in a queue.
const char* const kSinkScript = R"JS(
(function () {
  if (window.__nox) return;
  var nox = window.__nox = { sink: false, bridge: null, queue: [], watched: null };
  nox.send = function (name, args) {
    if (nox.bridge) nox.bridge[name].apply(nox.bridge, args);
    else nox.queue.push([name, args]);
  };
  new QWebChannel(qt.webChannelTransport, function (channel) {
    nox.bridge = channel.objects.bridge;
    var waiting = nox.queue;
    nox.queue = [];
    waiting.forEach(function (call) { nox.bridge[call[0]].apply(nox.bridge, call[1]); });
  });
  // The first element of that name or id, in document order.
  nox.el = function (name) {
    var byId = document.getElementById(name);
    var byName = document.getElementsByName(name)[0] || null;
    if (!byId || !byName) return byId || byName;
    return (byId.compareDocumentPosition(byName) & Node.DOCUMENT_POSITION_PRECEDING) ? byName : byId;
  };
  nox.anchor = function (name) {
    var anchors = document.anchors, i;
    for (i = 0; i < anchors.length; ++i) if (anchors[i].name === name) return anchors[i];
    var lower = name.toLowerCase();
    for (i = 0; i < anchors.length; ++i) if (anchors[i].name.toLowerCase() === lower) return anchors[i];
    return null;
  };
  nox.rect = function (e) {
    var r = e.getBoundingClientRect();
    return [Math.round(r.left + window.scrollX), Math.round(r.top + window.scrollY),
            Math.round(r.width), Math.round(r.height)];
  };
  nox.watch = function (name) {
    var e = name ? nox.el(name) : null;
    if (!e || e === nox.watched) return;
    nox.watched = e;
    e.addEventListener('scroll', function () {
      if (nox.watched === e) nox.send('elementScrolled', [e.scrollLeft, e.scrollTop]);
    }, { passive: true });
  };
  var codes = { mousedown: 0x466, mouseup: 0x467, keypress: 0x468, keydown: 0x469 };
  Object.keys(codes).forEach(function (type) {
    document.addEventListener(type, function () {
      if (nox.sink) nox.send('documentEvent', [codes[type]]);
    }, true);
  });
  document.addEventListener('click', function (event) {
    if (!nox.sink || event.button !== 0 || !event.target.closest) return;
    var link = event.target.closest('[href]');
    if (!link) return;
    var href = typeof link.href === 'string' ? link.href : link.getAttribute('href');
    if (href.charAt(href.length - 1) === '#') href = href.slice(0, -1);
    // In-page jumps are the page's own business.
    if (href.indexOf('#') >= 0) return;
    event.preventDefault();
    nox.send('linkClicked', [href, link.getAttribute('target') || '']);
  }, true);
})();
)JS";

// One profile for every view: kept in memory only (nothing of the pages is written to the
// user's disk), with the wrapper's scripts.
QWebEngineProfile* WrapperProfile() {
    static QPointer<QWebEngineProfile> profile;
    if (profile) return profile;
    profile = new QWebEngineProfile(qApp);
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);

    QFile channelFile(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    channelFile.open(QIODevice::ReadOnly);
    QWebEngineScript channel;
    channel.setName(QStringLiteral("qwebchannel"));
    channel.setSourceCode(QString::fromUtf8(channelFile.readAll()));
    channel.setInjectionPoint(QWebEngineScript::DocumentCreation);
    channel.setWorldId(kWorld);
    channel.setRunsOnSubFrames(false);
    profile->scripts()->insert(channel);

    QWebEngineScript sink;
    sink.setName(QStringLiteral("noxsink"));
    sink.setSourceCode(QString::fromLatin1(kSinkScript));
    sink.setInjectionPoint(QWebEngineScript::DocumentReady);
    sink.setWorldId(kWorld);
    sink.setRunsOnSubFrames(false);
    profile->scripts()->insert(sink);
    return profile;
}

}  // namespace

// The page: navigations of the main frame are the client's to allow, popups are refused.
class CBrowserPage : public QWebEnginePage {
public:
    CBrowserPage(QWebEngineProfile* profile, CWebViewClient** client, QObject* parent)
        : QWebEnginePage(profile, parent), m_client(client) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (!isMainFrame || !*m_client) return true;
        return (*m_client)->OnNavigationRequest(url);
    }
    // No popup windows: links are the owner's business.
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int line,
                                  const QString& source) override {
        if (qEnvironmentVariableIntValue("KOMPENDOR_JS_LOG"))
            std::fprintf(stderr, "js: %s:%d: %s\n", qPrintable(source), line, qPrintable(message));
    }

private:
    // The view's client pointer, null once the page is released.
    CWebViewClient** m_client;
};

// What the page calls in the program, through the channel.
class CBrowserBridge : public QObject {
    Q_OBJECT
public:
    CBrowserBridge(CWebViewClient** client, QObject* parent) : QObject(parent), m_client(client) {}

    Q_INVOKABLE void linkClicked(const QString& url, const QString& target) {
        if (*m_client) (*m_client)->OnLinkClicked(url, target, 0);
    }
    Q_INVOKABLE void documentEvent(int code) {
        if (*m_client) (*m_client)->OnDocumentEvent(code);
    }
    Q_INVOKABLE void elementScrolled(int left, int top) {
        if (*m_client) (*m_client)->OnElementScrolled(left, top);
    }

private:
    CWebViewClient** m_client;
};

class CBrowserView : public QWebEngineView, public CWebView {
public:
    CBrowserView(QWidget* parent, CWebViewClient* client)
        : QWebEngineView(parent), m_client(client) {
        setObjectName(QStringLiteral("IEChild"));
        setWindowTitle(QStringLiteral("IEChild"));
        m_page = new CBrowserPage(WrapperProfile(), &m_client, this);
        m_page->setBackgroundColor(Qt::white);
        m_page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        m_page->settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
        setPage(m_page);
        auto* channel = new QWebChannel(this);
        channel->registerObject(QStringLiteral("bridge"), new CBrowserBridge(&m_client, this));
        m_page->setWebChannel(channel, kWorld);
        connect(m_page, &QWebEnginePage::loadingChanged, this,
                [this](const QWebEngineLoadingInfo& info) {
                    if (!m_client) return;
                    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
                        m_client->OnLoadFinished(true);
                    else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
                        m_client->OnLoadFinished(false);
                });
    }

    QWidget* Widget() override { return this; }
    void Load(const QUrl& url) override {
        if (m_page) m_page->load(url);
    }
    void SetHtml(const QString& html, const QUrl& baseUrl) override {
        if (m_page) m_page->setHtml(html, baseUrl);
    }
    void SetZoomFactor(double factor) override {
        if (m_page) m_page->setZoomFactor(factor);
    }
    void ClearHistory() override {
        if (m_page) m_page->history()->clear();
    }
    void RunScript(const QString& script, std::function<void(const QVariant&)> done) override {
        if (!m_page) {
            if (done) done(QVariant());
            return;
        }
        m_page->runJavaScript(script, kWorld, [done](const QVariant& result) {
            if (done) done(result);
        });
    }
    bool HasSelection() const override { return m_page && m_page->hasSelection(); }
    QString SelectedText() const override { return m_page ? m_page->selectedText() : QString(); }
    void Copy() override {
        if (m_page) m_page->triggerAction(QWebEnginePage::Copy);
    }
    QUrl Url() const override { return m_page ? m_page->url() : QUrl(); }
    QString Title() const override { return m_page ? m_page->title() : QString(); }

    void PrintToPdf(const QPageLayout& layout,
                    std::function<void(const QByteArray&)> done) override {
        if (!m_page) {
            done(QByteArray());
            return;
        }
        QPointer<CBrowserView> self(this);
        QPointer<QWebEnginePage> page = m_page.data();
        ++m_pdfPending;
        page->printToPdf(
            [self, page, done](const QByteArray& pdf) {
                // A view that went meanwhile left its page to this answer.
                if (!self || !self->m_page) {
                    if (page) page->deleteLater();
                    return;
                }
                --self->m_pdfPending;
                done(pdf);
            },
            layout);
    }

    void ReleasePage() override {
        // Nobody is told anything any more; the page answers the scripts still running as it
        // goes. While the browser renders a print, the page must stay until that answer came.
        m_client = nullptr;
        QWebEnginePage* page = m_page;
        m_page = nullptr;
        if (!page) return;
        if (m_pdfPending > 0) {
            page->setWebChannel(nullptr, kWorld);
            page->setParent(nullptr);
        } else {
            delete page;
        }
    }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override {
        if (m_client && m_client->OnContextMenu())
            event->accept();
        else
            QWebEngineView::contextMenuEvent(event);
    }

private:
    CWebViewClient* m_client;
    QPointer<QWebEnginePage> m_page;
    int m_pdfPending = 0;
};

CWebView* CreateWebView(QWidget* parent, CWebViewClient* client) {
    return new CBrowserView(parent, client);
}

#include "WebView.moc"
