#pragma once
// The browser's view module (libkompendor_webview.so, beside the program), loaded on the first
// browser so that a start without one does not load the web engine.

#include <QString>

#include "webview/WebView.h"

// The module's CreateWebView, the module loaded on the first call; null when it cannot be
// loaded (error then tells why, in German). Later calls give the first call's answer.
CreateWebViewFunction WebViewFactory(QString* error = nullptr);
