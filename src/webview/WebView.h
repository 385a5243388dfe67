#pragma once
// The embedded browser's view, libkompendor_webview.so: a Qt WebEngine view with the program's
// page settings, its script world, the channel its page scripts call back through, and printing
// to PDF. It includes nothing of the program. The browser wrapper (CNOXBrowser) reaches it only
// through these two interfaces and the module's exported CreateWebView, loaded on the first
// browser (text/WebViewModule.h), so that start-up does not load the web engine.

#include <QByteArray>
#include <QPageLayout>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

class QWidget;

#if defined(WEBVIEW_BUILD)
#define WEBVIEW_EXPORT __attribute__((visibility("default")))
#else
#define WEBVIEW_EXPORT
#endif

// What the view tells the wrapper.
class CWebViewClient {
public:
    // A load of the main frame ended.
    virtual void OnLoadFinished(bool ok) = 0;
    // The main frame is asked to go to url; false keeps it where it is.
    virtual bool OnNavigationRequest(const QUrl& url) = 0;
    // A right click; true when the wrapper took it (no menu of the browser's own).
    virtual bool OnContextMenu() = 0;
    // From the page's scripts, through the channel object "bridge": a link clicked, a document
    // event (its code), the watched element scrolled.
    virtual void OnLinkClicked(const QString& url, const QString& target, int wParam) = 0;
    virtual void OnDocumentEvent(int code) = 0;
    virtual void OnElementScrolled(int left, int top) = 0;

protected:
    ~CWebViewClient() = default;
};

// The view. It is a widget (Widget()) owned by the parent it was made for.
class CWebView {
public:
    virtual QWidget* Widget() = 0;
    virtual void Load(const QUrl& url) = 0;
    virtual void SetHtml(const QString& html, const QUrl& baseUrl) = 0;
    virtual void SetZoomFactor(double factor) = 0;
    virtual void ClearHistory() = 0;
    // Runs script in the program's own script world (the page's scripts cannot reach it);
    // done gets the result.
    virtual void RunScript(const QString& script, std::function<void(const QVariant&)> done) = 0;
    virtual bool HasSelection() const = 0;
    virtual QString SelectedText() const = 0;
    virtual void Copy() = 0;
    virtual QUrl Url() const = 0;
    virtual QString Title() const = 0;
    // Renders the page as PDF; done gets the document (empty on failure). The page stays
    // until the answer came, also when the view goes before it (the browser insists).
    virtual void PrintToPdf(const QPageLayout& layout, std::function<void(const QByteArray&)> done)
        = 0;
    // The page goes now (before the wrapper's own objects), or when a pending PDF is ready.
    virtual void ReleasePage() = 0;

protected:
    ~CWebView() = default;
};

// The module's entry: a view for client as a child of parent.
extern "C" WEBVIEW_EXPORT CWebView* CreateWebView(QWidget* parent, CWebViewClient* client);
using CreateWebViewFunction = CWebView* (*)(QWidget* parent, CWebViewClient* client);
