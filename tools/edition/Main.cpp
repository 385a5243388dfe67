// kompendor-edition: builds the sample edition into an installation folder.
//
//   kompendor-edition --source REPOSITORY --out FOLDER [--force] [--quiet]
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

#include "EditionBuilder.h"

int main(int argc, char** argv) {
    // Flags are drawn without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
