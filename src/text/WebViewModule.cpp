#include "text/WebViewModule.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>
#include <QOpenGLContext>

#include "platform/MessageBox.h"

QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
QT_END_NAMESPACE

namespace {

// The module's entry; null when it cannot be loaded, error then says why.
CreateWebViewFunction Load(QString& error) {
    // The web engine renders with OpenGL contexts shared with the application's one. A program
    // that links the engine gets that context made with the application; loaded later, the
    // engine finds the one made here (made before anything loads the engine).
    if (!qt_gl_global_share_context()) {
        auto* context = new QOpenGLContext(QCoreApplication::instance());
        context->create();
        qt_gl_set_global_share_context(context);
    }
    const QString path
        = QCoreApplication::applicationDirPath() + QStringLiteral("/libkompendor_webview.so");
    CreateWebViewFunction create = nullptr;
    if (void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL)) {
        create = reinterpret_cast<CreateWebViewFunction>(dlsym(handle, "CreateWebView"));
        if (!create)
            error = QStringLiteral("Die Anzeige der Artikel in %1 ist unvollständig.").arg(path);
    } else {
        // The loader's reason names the file.
        error = QStringLiteral("Die Anzeige der Artikel kann nicht geladen werden: %1")
                    .arg(QString::fromLocal8Bit(dlerror()));
    }
    return create;
}

}  // namespace

CreateWebViewFunction WebViewFactory() {
    static bool loaded = false;
    static CreateWebViewFunction create = nullptr;
    if (loaded) return create;
    // Marked first: a browser made while the message below is open asks again and gets null.
    loaded = true;
    QString error;
    create = Load(error);
    // Said once; every browser stays empty.
    if (!create) ShowMessageBox(error.toStdString(), kCaptionFehler, MsgIcon::Stop);
    return create;
}
