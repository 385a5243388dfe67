// What the painted skin must give the windows: every bitmap a template names, at the size of
// its control; every numbered bitmap the program loads, at sizes that fit where the program
// places it; cursors and bookmark pictures the program can read.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <set>

#include "controls/BitmapResource.h"
#include "platform/CursorFile.h"

namespace {

const QString kTemplates = QStringLiteral(KOMPENDOR_TEST_SOURCE_DIR "/resources/templates");
const QString kSkin = QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin");

// The bit count field of a Windows bitmap file; 0 when the file is no bitmap.
int BitmapDepth(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray head = file.read(30);
    if (head.size() < 30 || !head.startsWith("BM")) return 0;
    return static_cast<unsigned char>(head[28]) | (static_cast<unsigned char>(head[29]) << 8);
}

// Files a control of a template names, with the size each must have.
std::vector<std::pair<QString, QSize>> NamedFiles(const QJsonObject& window) {
    std::vector<std::pair<QString, QSize>> files;
    const QString skin = window.value(QLatin1String("skin")).toString();
    for (const QJsonValue& value : window.value(QLatin1String("controls")).toArray()) {
        const QJsonObject c = value.toObject();
        const QString kind = c.value(QLatin1String("kind")).toString();
        const QString folder = c.value(QLatin1String("skin")).toString(skin);
        const QString bitmap = c.value(QLatin1String("bitmap")).toString();
        const QJsonArray r = c.value(QLatin1String("rect")).toArray();
        const QSize size(r.at(2).toInt(), r.at(3).toInt());
        if (bitmap.isEmpty()) continue;
        QStringList endings;
        if (kind == QLatin1String("image")) {
            files.emplace_back(folder + bitmap, size);
            continue;
        }
        QStringList bases{bitmap};
        if (kind == QLatin1String("push")) {
            for (const QChar e : c.value(QLatin1String("states")).toString(QStringLiteral("0nhc")))
                endings << QString(e);
            for (const QJsonValue& alt : c.value(QLatin1String("alternates")).toArray())
                bases << alt.toString();
        } else if (kind == QLatin1String("check")) {
            endings = {QStringLiteral("n"),  QStringLiteral("h"),  QStringLiteral("c"),
                       QStringLiteral("n1"), QStringLiteral("h1"), QStringLiteral("c1"),
                       QStringLiteral("0")};
        } else if (kind == QLatin1String("progress")) {
            endings = {QStringLiteral("n"), QStringLiteral("a"), QStringLiteral("0")};
        }
        for (const QString& base : bases)
            for (const QString& e : endings)
                files.emplace_back(QStringLiteral("%1%2_%3.bmp").arg(folder, base, e), size);
    }
    return files;
}

QImage Bitmap(int id) { return LoadBitmapResource(id).toImage(); }

}  // namespace

TEST(SkinPainter, PaintsEveryBitmapTheTemplatesNameAtTheControlsSize) {
    const QDir dir(kTemplates);
    const QStringList names = dir.entryList({QStringLiteral("*.json")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty()) << "no templates in " << kTemplates.toStdString();
    int checked = 0;
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QJsonObject window = QJsonDocument::fromJson(file.readAll()).object();
        for (const auto& [path, size] : NamedFiles(window)) {
            const QString full = kSkin + QStringLiteral("/UI/") + path;
            const QImage image(full);
            ASSERT_FALSE(image.isNull()) << name.toStdString() << ": " << path.toStdString();
            EXPECT_EQ(image.size(), size) << path.toStdString();
            EXPECT_EQ(BitmapDepth(full), 24) << path.toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);

    // The command bar's workspace buttons 1 to 5 in the states empty, saved and in use
    for (int workspace = 1; workspace <= 5; ++workspace)
        for (int state = 1; state <= 3; ++state)
            for (const char* e : {"n", "h", "c"})
                EXPECT_TRUE(QFile::exists(
                    kSkin + QStringLiteral("/UI/Top/%1%2_%3.bmp").arg(workspace).arg(state).arg(e)))
                    << workspace << state << e;
}

TEST(SkinPainter, ButtonsBlendIntoTheirWindowAndShowTheirStates) {
    const QDir dir(kTemplates);
    int checked = 0;
    for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QJsonObject window = QJsonDocument::fromJson(file.readAll()).object();
        const QString skin
            = kSkin + QStringLiteral("/UI/") + window.value(QLatin1String("skin")).toString();
        const auto rectOf = [](const QJsonObject& c) {
            const QJsonArray r = c.value(QLatin1String("rect")).toArray();
            return QRect(r.at(0).toInt(), r.at(1).toInt(), r.at(2).toInt(), r.at(3).toInt());
        };
        std::vector<std::pair<QRect, QImage>> backgrounds;
        const QJsonArray controls = window.value(QLatin1String("controls")).toArray();
        for (const QJsonValue& v : controls) {
            const QJsonObject c = v.toObject();
            if (c.value(QLatin1String("kind")).toString() == QLatin1String("image"))
                backgrounds.emplace_back(
                    rectOf(c), QImage(skin + c.value(QLatin1String("bitmap")).toString()));
        }
        for (const QJsonValue& v : controls) {
            const QJsonObject c = v.toObject();
            if (c.value(QLatin1String("kind")).toString() != QLatin1String("push")) continue;
            const QRect rect = rectOf(c);
            const QString base = skin + c.value(QLatin1String("bitmap")).toString();
            const QImage normal(base + QStringLiteral("_n.bmp"));
            const QImage hover(base + QStringLiteral("_h.bmp"));
            const QImage pressed(base + QStringLiteral("_c.bmp"));
            ASSERT_FALSE(normal.isNull()) << base.toStdString();
            // Each state must look different from the others
            EXPECT_NE(normal, hover) << base.toStdString();
            EXPECT_NE(normal, pressed) << base.toStdString();
            EXPECT_NE(hover, pressed) << base.toStdString();
            if (c.value(QLatin1String("states")).toString(QStringLiteral("0nhc")).contains(u'0')) {
                EXPECT_NE(normal, QImage(base + QStringLiteral("_0.bmp"))) << base.toStdString();
            }

            // The rounded corner shows the window beneath: no seam around the button
            const auto under
                = std::find_if(backgrounds.rbegin(), backgrounds.rend(),
                               [&](const auto& b) { return b.first.contains(rect.topLeft()); });
            ASSERT_NE(under, backgrounds.rend()) << base.toStdString();
            const QColor window_
                = under->second.pixelColor(rect.topLeft() - under->first.topLeft());
            const QColor corner = normal.pixelColor(0, 0);
            EXPECT_LE(std::abs(window_.red() - corner.red())
                          + std::abs(window_.green() - corner.green())
                          + std::abs(window_.blue() - corner.blue()),
                      30)
                << base.toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
}

TEST(SkinPainter, NumberedBitmapsFitWhereTheProgramPlacesThem) {
    // Every number the program loads; numbers written literally in the sources count too
    std::set<int> used
        = {133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 148, 149, 150, 151,
           152, 153, 154, 155, 160, 163, 164, 166, 170, 173, 174, 175, 185, 186, 187, 190, 191, 192,
           193, 194, 195, 208, 209, 210, 211, 212, 213, 214, 215, 216, 217, 218, 219, 220, 221, 222,
           225, 228, 229, 230, 231, 232, 233, 234, 235, 236, 237, 238, 239, 240, 241, 242, 243, 244,
           245, 246, 247, 248, 249, 250, 251, 252, 253, 254, 255, 257, 268, 270};
    const QRegularExpression call(QStringLiteral("LoadBitmapResource\\((\\d+)\\)"));
    QDirIterator it(QStringLiteral(KOMPENDOR_TEST_SOURCE_DIR "/src"), {QStringLiteral("*.cpp")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile source(it.next());
        if (!source.open(QIODevice::ReadOnly)) continue;
        auto matches = call.globalMatch(QString::fromUtf8(source.readAll()));
        while (matches.hasNext()) used.insert(matches.next().captured(1).toInt());
    }
    for (const int id : used) EXPECT_FALSE(LoadBitmapResource(id).isNull()) << id;

    // Caption: its height is the caption's; the buttons sit 6 px below its top and, in the
    // image window's plain 18 px caption, 2 px below.
    const int caption = Bitmap(134).height();
    EXPECT_GE(Bitmap(134).width(), 2560);
    for (const int id : {133, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146}) {
        EXPECT_EQ(Bitmap(id).size(), Bitmap(138).size()) << id;
        EXPECT_LE(6 + Bitmap(id).height(), caption) << id;
    }
    EXPECT_LE(2 + Bitmap(138).height(), 18);

    // Frame around the table: corners fill the 12 px margin, edges are 12 px across
    for (const int id : {150, 151, 153, 154}) EXPECT_EQ(Bitmap(id).size(), QSize(12, 12)) << id;
    for (const int id : {148, 155}) EXPECT_EQ(Bitmap(id).height(), 12) << id;
    for (const int id : {149, 152}) EXPECT_EQ(Bitmap(id).width(), 12) << id;

    // Header cells: a country head is 50 high with two lines at its bottom; its buttons stand
    // at y 33 side by side from x 1, the flag at the right.
    EXPECT_LE(33 + Bitmap(228).height(), 48);
    EXPECT_LE(1 + Bitmap(228).width() + 1 + Bitmap(231).width() + 1 + Bitmap(214).width(),
              300 - 80);
    // Corner 175 x 48 with buttons at x 113 and 146 and sort buttons at y 36
    EXPECT_EQ(Bitmap(240).size(), QSize(175, 48));
    EXPECT_EQ(Bitmap(241).size(), QSize(175, 48));
    for (const int id : {219, 222, 234, 237}) {
        EXPECT_LE(113 + Bitmap(id).width(), 146) << id;
        EXPECT_LE(146 + Bitmap(id).width(), 175) << id;
        EXPECT_LE(4 + Bitmap(id).height(), 36) << id;
    }
    for (const int id : {208, 243, 244, 245, 246, 247, 248, 249, 250, 251, 252, 253, 254, 255, 257})
        EXPECT_LE(36 + Bitmap(id).height(), 48) << id;
    // Row head menu buttons at x 159 of the 175 px column; the column head's at width - 16
    for (const int id : {209, 210, 211, 215, 216, 217}) {
        EXPECT_LE(159 + Bitmap(id).width(), 175) << id;
        EXPECT_LE(Bitmap(id).width(), 16) << id;
    }
    // Tree pictures in 20 px slots of 16 px rows; list icons 16 px
    for (const int id : {160, 163, 164, 166, 170, 173, 174, 175, 185, 186, 187}) {
        EXPECT_LE(Bitmap(id).width(), 20) << id;
        EXPECT_LE(Bitmap(id).height(), 16) << id;
    }
    for (const int id : {190, 191, 192, 193, 194, 195, 270})
        EXPECT_EQ(Bitmap(id).size(), QSize(16, 16)) << id;

    // The intro is shown centred on black: its border must be black too
    const QImage intro = Bitmap(268);
    EXPECT_GE(intro.width(), 640);
    for (const QPoint p :
         {QPoint(0, 0), QPoint(intro.width() / 2, 0), QPoint(0, intro.height() / 2),
          QPoint(intro.width() - 1, intro.height() - 1)})
        EXPECT_LE(qGray(intro.pixel(p)), 6) << p.x() << "," << p.y();
    // The background picture is shown centred on RGB(173,186,206): its border is that colour
    const QImage back = Bitmap(135);
    EXPECT_EQ(QColor(back.pixel(0, 0)), QColor(173, 186, 206));
    EXPECT_EQ(QColor(back.pixel(back.width() - 1, back.height() / 2)), QColor(173, 186, 206));
}

TEST(SkinPainter, ShipsReadableCursorsAndBookmarkPictures) {
    const std::string folder = (kSkin + QStringLiteral("/UI/Cursor/")).toStdString();
    std::string path;
    const auto wait = LoadNamedCursor(folder, "Wait", &path);
    ASSERT_TRUE(wait);
    EXPECT_TRUE(path.ends_with("Wait.ani"));
    EXPECT_GE(wait->steps.size(), 4u);
    for (const CCursorStep& step : wait->steps) EXPECT_GT(step.delayMs, 0u);

    const auto pointer = LoadNamedCursor(folder, "Pointer", &path);
    ASSERT_TRUE(pointer);
    EXPECT_TRUE(path.ends_with("Pointer.cur"));
    // The hot spot lies on the drawn fingertip, not in empty space beside it
    const CCursorImage& hand = pointer->images[0];
    bool onHand = false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int x = hand.hotX + dx, y = hand.hotY + dy;
            if (x >= 0 && y >= 0 && x < hand.width && y < hand.height)
                onHand |= (hand.pixels[static_cast<std::size_t>(y * hand.width + x)] >> 24) > 128;
        }
    EXPECT_TRUE(onHand);

    std::set<QRgb> colours;
    for (int kind = 1; kind <= 6; ++kind) {
        const QString file = kSkin + QStringLiteral("/HTML/BM%1.bmp").arg(kind);
        const QImage picture(file);
        ASSERT_FALSE(picture.isNull()) << kind;
        EXPECT_EQ(BitmapDepth(file), 24);
        colours.insert(picture.pixel(picture.width() / 2, picture.height() - 2));
    }
    EXPECT_EQ(colours.size(), 6u) << "each bookmark kind has its own colour";
}
