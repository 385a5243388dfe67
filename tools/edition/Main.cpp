// kompendor-edition: builds the sample edition into an installation folder.
//
//   kompendor-edition --source REPOSITORY --out FOLDER [--force] [--quiet]
//   kompendor-edition --preview FOLDER ID PAGE.htm   (an article page as the program shows it)
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EditionBuilder.h"
#include "PagePreview.h"

int main(int argc, char** argv) {
    // Flags are drawn without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "--preview") == 0) {
        // The page goes beside the edition's templates, so its relative paths resolve.
        QString page = ComposeArticlePage(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
        QFile out(QString::fromLocal8Bit(argv[4]));
        if (page.isEmpty() || !out.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "kompendor-edition: no page for %s\n", argv[3]);
            return 1;
        }
        out.write(page.toUtf8());
        return 0;
    }
    CEditionOptions options;
    options.builderFile = QCoreApplication::applicationFilePath();
    QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--source" && i + 1 < args.size()) {
            options.sourceDir = args[++i];
        } else if (args[i] == "--out" && i + 1 < args.size()) {
            options.outDir = args[++i];
        } else if (args[i] == "--force") {
            options.force = true;
        } else if (args[i] == "--quiet") {
            options.quiet = true;
        } else {
            options.sourceDir.clear();
            break;
        }
    }
    if (options.sourceDir.isEmpty() || options.outDir.isEmpty()) {
        std::fprintf(stderr,
                     "usage: kompendor-edition --source REPOSITORY --out FOLDER [--force] "
                     "[--quiet]\n");
        return 2;
    }
    CEditionResult result = BuildEdition(options);
    if (!result.ok) {
        std::fprintf(stderr, "kompendor-edition: %s\n", qPrintable(result.error));
        return 1;
    }
    return 0;
}
