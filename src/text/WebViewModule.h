#pragma once
// The browser's view module (libkompendor_webview.so, beside the program), loaded on the first
// browser so that a start without one does not load the web engine.

#include "webview/WebView.h"

// The module's CreateWebView, the module loaded on the first call; null when it cannot be
// loaded, which the first call tells the user. Later calls give the first call's answer.
CreateWebViewFunction WebViewFactory();
