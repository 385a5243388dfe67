#include "text/WebViewModule.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>
#include <QOpenGLContext>

QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
QT_END_NAMESPACE

namespace {

struct CModule {
    CreateWebViewFunction create = nullptr;
    QString error;
};

CModule Load() {
    CModule module;
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
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        module.error = QStringLiteral("Die Anzeige der Artikel kann nicht geladen werden (%1): %2")
                           .arg(path, QString::fromLocal8Bit(dlerror()));
        return module;
    }
    module.create = reinterpret_cast<CreateWebViewFunction>(dlsym(handle, "CreateWebView"));
    if (!module.create)
        module.error = QStringLiteral("Die Anzeige der Artikel in %1 ist unvollständig.").arg(path);
    return module;
}

}  // namespace

CreateWebViewFunction WebViewFactory(QString* error) {
    static const CModule module = Load();
    if (error) *error = module.error;
    return module.create;
}
