// kompendor-skin: paints the skin at build time.
//
//   kompendor-skin --numbered --out DIR
//       DIR/bitmaps/<number>.png and DIR/bitmaps.qrc (the program's numbered bitmaps)
//   kompendor-skin --skins --templates DIR --out DIR
//       DIR/UI/<skin folder>/*.bmp for every template, DIR/UI/Cursor/Wait.ani and
//       Pointer.cur, DIR/HTML/BM1.bmp .. BM6.bmp
//   --icons DIR    the icon theme (default /usr/share/icons/Adwaita)
//   --sheet DIR    also render contact sheets of everything painted, for looking at
//
// Problems (a template that cannot be read, an icon the theme lacks, one bitmap wanted at
// two sizes) are reported on stderr; the pictures are painted as well as they can be.

#include <unistd.h>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <filesystem>
#include <string>

#include "ContactSheet.h"
#include "CursorArt.h"
#include "CursorWriter.h"
#include "IconTheme.h"
#include "NumberedBitmaps.h"
#include "TemplateSkin.h"

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    return file.commit();
}

bool WriteBitmap(const QString& path, const QImage& image) {
    QDir().mkpath(QFileInfo(path).path());
    // Skin files are 24-bit Windows bitmaps
    return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

QByteArray Bytes(const std::vector<std::uint8_t>& data) {
    return QByteArray(reinterpret_cast<const char*>(data.data()),
                      static_cast<qsizetype>(data.size()));
}

void Report(const QStringList& problems) {
    for (const QString& problem : problems)
        std::fprintf(stderr, "kompendor-skin: %s\n", qPrintable(problem));
}

bool PaintNumbered(const QString& out, const CIconTheme& icons, const QString& sheet) {
    const std::map<int, QImage> bitmaps = skin::PaintNumberedBitmaps(icons);
    QString qrc;
    QTextStream s(&qrc);
    s << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/bitmaps\">\n";
    bool ok = true;
    for (const auto& [id, image] : bitmaps) {
        const QString name = QStringLiteral("%1.png").arg(id);
        QDir().mkpath(out + QStringLiteral("/bitmaps"));
        const QImage stored = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32)
                                                      : image.convertToFormat(QImage::Format_RGB32);
        ok = stored.save(out + QStringLiteral("/bitmaps/") + name, "PNG") && ok;
        s << "    <file alias=\"" << name << "\">bitmaps/" << name << "</file>\n";
    }
    s << "</qresource>\n</RCC>\n";
    ok = WriteBytes(out + QStringLiteral("/bitmaps.qrc"), qrc.toUtf8()) && ok;
    for (const int id : skin::ProgramBitmapIds()) {
        if (!bitmaps.count(id)) {
            std::fprintf(stderr, "kompendor-skin: bitmap %d not painted\n", id);
            ok = false;
        }
    }
    if (!sheet.isEmpty()) skin::SaveNumberedSheet(bitmaps, sheet);
    return ok;
}

bool PaintSkins(const QString& out, const QString& templates, const CIconTheme& icons,
                const QString& sheet) {
    // Start from empty folders, so that a bitmap a template no longer names is not installed
    QDir(out + QStringLiteral("/UI")).removeRecursively();
    QDir(out + QStringLiteral("/HTML")).removeRecursively();
    const skin::SkinPaintResult skins = skin::PaintTemplateSkins(templates, icons);
    Report(skins.problems);
    bool ok = true;
    for (const skin::SkinFile& file : skins.files)
        ok = WriteBitmap(out + QStringLiteral("/UI/") + file.path, file.image) && ok;

    const CCursorImage pointer = skin::PaintPointerCursor();
    const CCursorFile wait = skin::PaintWaitCursor();
    ok = WriteBytes(out + QStringLiteral("/UI/Cursor/Pointer.cur"), Bytes(EncodeCursor(pointer)))
         && ok;
    ok = WriteBytes(out + QStringLiteral("/UI/Cursor/Wait.ani"), Bytes(EncodeAnimatedCursor(wait)))
         && ok;
    if (!sheet.isEmpty()) skin::SaveCursorSheet(pointer, wait, sheet);
    for (int kind = 1; kind <= 6; ++kind)
        ok = WriteBitmap(out + QStringLiteral("/HTML/BM%1.bmp").arg(kind),
                         skin::PaintBookmarkPicture(kind))
             && ok;
    if (!sheet.isEmpty()) skin::SaveSkinSheets(skins, sheet);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Build machines often have no session; give Qt a private runtime folder so that it does
    // not warn about the missing one on every build.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const auto runtime = std::filesystem::temp_directory_path()
                             / ("kompendor-skin-" + std::to_string(getuid()));
        std::error_code error;
        std::filesystem::create_directories(runtime, error);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, error);
        qputenv("XDG_RUNTIME_DIR", runtime.string().c_str());
    }
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption numbered(QStringLiteral("numbered"),
                                      QStringLiteral("Paint the numbered bitmaps."));
    const QCommandLineOption skins(
        QStringLiteral("skins"),
        QStringLiteral("Paint the skin folders, cursors and bookmark pictures."));
    const QCommandLineOption templates(QStringLiteral("templates"),
                                       QStringLiteral("Folder of the window templates."),
                                       QStringLiteral("dir"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Output folder."),
                                 QStringLiteral("dir"));
    const QCommandLineOption icons(QStringLiteral("icons"), QStringLiteral("Icon theme folder."),
                                   QStringLiteral("dir"),
                                   QStringLiteral("/usr/share/icons/Adwaita"));
    const QCommandLineOption sheet(QStringLiteral("sheet"),
                                   QStringLiteral("Folder for contact sheets."),
                                   QStringLiteral("dir"));
    parser.addOptions({numbered, skins, templates, out, icons, sheet});
    parser.process(app);

    if (!parser.isSet(out) || (parser.isSet(skins) && !parser.isSet(templates))) {
        std::fprintf(stderr, "kompendor-skin: --out is required, and --templates with --skins\n");
        return 2;
    }
    const CIconTheme theme(parser.value(icons));
    bool ok = true;
    if (parser.isSet(numbered))
        ok = PaintNumbered(parser.value(out), theme, parser.value(sheet)) && ok;
    if (parser.isSet(skins))
        ok = PaintSkins(parser.value(out), parser.value(templates), theme, parser.value(sheet))
             && ok;
    if (parser.isSet(sheet) && parser.isSet(numbered) && parser.isSet(skins))
        skin::SaveMainWindowMock(skin::PaintNumberedBitmaps(theme),
                                 skin::PaintTemplateSkins(parser.value(templates), theme),
                                 parser.value(sheet));
    if (!theme.Missing().isEmpty())
        std::fprintf(stderr, "kompendor-skin: icons not in the theme: %s\n",
                     qPrintable(theme.Missing().join(QStringLiteral(", "))));
    return ok ? 0 : 1;
}
