// kompendor-preview: renders every built-in window template with its controls and skin
// bitmaps into one PNG file per template, so all windows can be looked at side by side.
//
//   kompendor-preview [--ui UIDIR] DIR
//
// The skin comes from UIDIR, by default the UI folder the skin painter writes into the build
// tree. Missing bitmaps show the loader's marked stand-in and are listed on stderr.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>

#include "controls/TemplateDialog.h"
#include "noxctrls/ProgressCtrl.h"
#include "noxctrls/StaticCtrl.h"

namespace {

// The first UI folder that exists among the places the build puts the painted skin.
QString DefaultUiDirectory() {
    const QString bin = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {bin + QStringLiteral("/../skin/UI"), bin + QStringLiteral("/UI"),
          bin + QStringLiteral("/../dist/UI")}) {
        if (QFileInfo(candidate).isDir()) return QDir(candidate).canonicalPath();
    }
    return bin + QStringLiteral("/../skin/UI");
}

// Gives the plain controls and empty texts something to show, so the preview looks like the
// window in use.
void FillSamples(CTemplateDialog& dialog) {
    const CWindowTemplate& layout = dialog.Layout();
    for (const CTemplateControl& control : layout.controls) {
        QWidget* widget = dialog.Controls().Control(control.id);
        if (auto* text = qobject_cast<CStaticCtrl*>(widget)) {
            if (text->Text().isEmpty())
                text->SetText(control.Text("sample", QStringLiteral("Text %1").arg(control.id)));
        } else if (auto* bar = qobject_cast<CProgressCtrl*>(widget)) {
            bar->SetValue(40);
        } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
            for (const char* group : {"Afrika", "Amerika", "Asien", "Europa"}) {
                auto* item = new QTreeWidgetItem(tree, {QString::fromUtf8(group)});
                if (qstrcmp(group, "Europa") == 0) {
                    for (const char* land : {"Dänemark", "Deutschland", "Österreich"})
                        new QTreeWidgetItem(item, {QString::fromUtf8(land)});
                    item->setExpanded(true);
                }
            }
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            for (const char* entry : {"Ägypten", "Belgien", "Chile", "Dänemark"})
                list->addItem(QString::fromUtf8(entry));
        } else if (auto* frame = qobject_cast<QFrame*>(widget);
                   frame && control.kind == QLatin1String("area")) {
            frame->setFrameShape(QFrame::Box);
            frame->setStyleSheet(QStringLiteral(
                "QFrame { background: #F4F6FA; border: 1px dashed #7F8CA8; color: #5A6680; }"));
            auto* label = new QLabel(control.Text("label", QStringLiteral("Bereich")), frame);
            label->setAlignment(Qt::AlignCenter);
            auto* box = new QVBoxLayout(frame);
            box->addWidget(label);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Small Fonts"), QStringLiteral("DejaVu Sans"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders every window template to DIR/<number>.png."));
    parser.addHelpOption();
    QCommandLineOption uiOption(QStringLiteral("ui"), QStringLiteral("UI folder with the skins."),
                                QStringLiteral("UIDIR"));
    parser.addOption(uiOption);
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("Output folder."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) parser.showHelp(2);

    const QString out = parser.positionalArguments().first();
    const QString ui = parser.isSet(uiOption) ? parser.value(uiOption) : DefaultUiDirectory();
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "kompendor-preview: cannot create %s\n", qPrintable(out));
        return 1;
    }

    int failures = 0;
    int missing = 0;
    for (int number : BuiltInTemplates()) {
        CWindowTemplate layout;
        QString error;
        if (!LoadWindowTemplate(number, layout, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            ++failures;
            continue;
        }
        CTemplateDialog dialog(layout, nullptr, CTemplateDialog::Placement::Window, ui);
        for (const QString& message : dialog.TemplateErrors()) {
            std::fprintf(stderr, "%d: %s\n", number, qPrintable(message));
            ++missing;
        }
        FillSamples(dialog);
        dialog.setAttribute(Qt::WA_DontShowOnScreen);
        dialog.show();
        const QString file = QDir(out).filePath(QStringLiteral("%1.png").arg(number));
        if (!dialog.grab().save(file)) {
            std::fprintf(stderr, "kompendor-preview: cannot write %s\n", qPrintable(file));
            ++failures;
        }
    }
    std::printf("kompendor-preview: %lld templates from %s into %s, %d bitmaps missing\n",
                static_cast<long long>(BuiltInTemplates().size()), qPrintable(ui), qPrintable(out),
                missing);
    return failures == 0 ? 0 : 1;
}
