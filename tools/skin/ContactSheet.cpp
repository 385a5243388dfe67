#include "ContactSheet.h"

#include <QDir>
#include <QPainter>

#include "SkinPaint.h"
#include "SkinStyle.h"

namespace skin {
namespace {

// The colour a numbered bitmap with transparency is drawn on in the program.
QColor SurfaceOf(int id) {
    if (id == 133 || (id >= 136 && id <= 146)) return kFrame;
    if (id == 160 || id == 163 || id == 164 || id == 166) return QColor(94, 106, 134);
    if (id == 170 || (id >= 173 && id <= 175)) return QColor(214, 204, 175);
    if (id >= 185 && id <= 187) return QColor(123, 123, 165);
    if ((id >= 190 && id <= 195) || id == 270) return QColor(86, 96, 116);
    if ((id >= 212 && id <= 214) || (id >= 228 && id <= 233)) return QColor(113, 130, 170);
    if (id >= 215 && id <= 217) return QColor(237, 226, 191);
    if (id >= 209 && id <= 211) return QColor(131, 145, 180);
    if ((id >= 243 && id <= 246) || (id >= 251 && id <= 254)) return QColor(232, 213, 176);
    return kHeader;
}

QImage Enlarged(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace

void SaveNumberedSheet(const std::map<int, QImage>& bitmaps, const QString& dir) {
    QDir().mkpath(dir);
    const int columns = 6, cellW = 250, cellH = 110;
    std::vector<int> small;
    for (const auto& [id, image] : bitmaps)
        if (image.width() <= 200 && image.height() <= 64) small.push_back(id);
    const int rows = (static_cast<int>(small.size()) + columns - 1) / columns;
    QImage sheet = Canvas({columns * cellW, rows * cellH}, QColor(60, 60, 66));
    QPainter p(&sheet);
    for (std::size_t i = 0; i < small.size(); ++i) {
        const int id = small[i];
        const QImage& image = bitmaps.at(id);
        const QRect cell((static_cast<int>(i) % columns) * cellW,
                         (static_cast<int>(i) / columns) * cellH, cellW - 4, cellH - 4);
        p.fillRect(cell, SurfaceOf(id));
        Text(p, cell.adjusted(4, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
             QStringLiteral("%1  (%2x%3)").arg(id).arg(image.width()).arg(image.height()),
             UiFont(11, QFont::Bold), Qt::black);
        p.drawImage(cell.left() + 6, cell.top() + 22, image);
        const int factor = image.width() > 70 ? 1 : 3;
        if (factor > 1)
            p.drawImage(cell.left() + image.width() + 16, cell.top() + 22, Enlarged(image, factor));
    }
    p.end();
    sheet.save(dir + QStringLiteral("/numbered.png"));

    for (const auto& [id, image] : bitmaps) {
        if (image.width() <= 200 && image.height() <= 64) continue;
        QImage shown = image.width() > 1600 ? image.copy(0, 0, 1000, image.height()) : image;
        QImage framed = Canvas(shown.size() + QSize(40, 40), QColor(60, 60, 66));
        QPainter fp(&framed);
        fp.fillRect(QRect(20, 20, shown.width(), shown.height()), SurfaceOf(id));
        fp.drawImage(20, 20, shown);
        fp.end();
        framed.save(dir + QStringLiteral("/numbered-%1.png").arg(id));
    }
}

void SaveSkinSheets(const SkinPaintResult& skins, const QString& dir) {
    QDir().mkpath(dir);
    for (const auto& [number, image] : skins.previews)
        image.save(dir + QStringLiteral("/template-%1.png").arg(number));

    // One sheet per skin folder, small files only (backgrounds are in the previews)
    std::map<QString, std::vector<const SkinFile*>> folders;
    for (const SkinFile& file : skins.files) {
        if (file.image.width() > 400 || file.image.height() > 200) continue;
        folders[file.path.section(QLatin1Char('/'), 0, -2)].push_back(&file);
    }
    for (const auto& [folder, files] : folders) {
        const int width = 1200;
        int x = 8, y = 8, rowH = 0;
        std::vector<std::pair<QPoint, const SkinFile*>> placed;
        for (const SkinFile* f : files) {
            const int w = std::max(f->image.width(), 90) + 12;
            const int h = f->image.height() + 22;
            if (x + w > width) {
                x = 8;
                y += rowH + 8;
                rowH = 0;
            }
            placed.emplace_back(QPoint(x, y), f);
            x += w;
            rowH = std::max(rowH, h);
        }
        QImage sheet = Canvas({width, y + rowH + 8}, kBack);
        QPainter p(&sheet);
        for (const auto& [pos, f] : placed) {
            p.drawImage(pos, f->image);
            Text(p, QRect(pos.x(), pos.y() + f->image.height() + 2, 200, 16),
                 Qt::AlignLeft | Qt::AlignTop, f->path.section(QLatin1Char('/'), -1), SmallFont(10),
                 kInk);
        }
        p.end();
        QString name = folder;
        name.replace(QLatin1Char('/'), QLatin1Char('-'));
        sheet.save(dir + QStringLiteral("/skin-%1.png").arg(name));
    }
}

}  // namespace skin

namespace skin {
namespace {

QImage PreviewOf(const SkinPaintResult& skins, int number) {
    for (const auto& [n, image] : skins.previews)
        if (n == number) return image;
    return {};
}

// A header or data cell of the mock tables, in the program's own cell colours.
void MockCell(QPainter& p, const QRect& r, const QColor& back, const QString& text,
              const QColor& ink, const QFont& font, int flags) {
    p.fillRect(r, back);
    VLine(p, r.left(), r.top(), r.bottom(), Qt::white);
    VLine(p, r.right(), r.top(), r.bottom(), QColor(191, 191, 191));
    HLine(p, r.left(), r.right(), r.bottom(), QColor(187, 187, 187));
    Text(p, r.adjusted(5, 4, -5, 0), flags, text, font, ink);
}

void MockCountryView(QPainter& p, const std::map<int, QImage>& b, QPoint at) {
    p.drawImage(at, b.at(240));
    p.drawImage(at + QPoint(113, 4), b.at(219));
    p.drawImage(at + QPoint(146, 4), b.at(234));
    const QStringList countries = {QStringLiteral("Deutschland"), QStringLiteral("Österreich")};
    for (int c = 0; c < countries.size(); ++c) {
        const QRect head(at.x() + 175 + c * 300, at.y(), 300, 48);
        p.fillRect(head, QColor(113, 130, 170));
        HLine(p, head.left(), head.right(), head.top(), QColor(174, 184, 209));
        HLine(p, head.left(), head.right(), head.top() + 1, QColor(139, 154, 185));
        HLine(p, head.left(), head.right(), head.bottom() - 1, QColor(98, 117, 150));
        HLine(p, head.left(), head.right(), head.bottom(), QColor(68, 80, 104));
        VLine(p, head.left(), head.top(), head.bottom(), Qt::white);
        Text(p, head.adjusted(5, 4, -5, 0), Qt::AlignLeft | Qt::AlignTop, countries[c],
             UiFont(13, QFont::DemiBold), QColor(252, 255, 250));
        const QImage& info = b.at(228);
        const QImage& map = b.at(231);
        p.drawImage(head.topLeft() + QPoint(1, 33), info);
        p.drawImage(head.topLeft() + QPoint(info.width() + 2, 33), c == 0 ? b.at(230) : map);
        p.drawImage(head.topLeft() + QPoint(info.width() + map.width() + 3, 33), b.at(214));
        // Flag stand-in
        p.fillRect(QRect(head.right() - 4 - 48, head.top() + 5, 48, 29), QColor(60, 60, 60));
    }
    const QStringList fields
        = {QStringLiteral("Bevölkerung (Mio.)"), QStringLiteral("Fläche (km²)")};
    const QStringList values[] = {{QStringLiteral("82,4"), QStringLiteral("8,1")},
                                  {QStringLiteral("357.022"), QStringLiteral("83.858")}};
    for (int r = 0; r < fields.size(); ++r) {
        const QRect head(at.x(), at.y() + 48 + r * 67, 175, 67);
        const QColor back = r % 2 ? QColor(231, 219, 181) : QColor(237, 226, 191);
        MockCell(p, head, back, fields[r], QColor(111, 102, 86), SmallFont(10, QFont::DemiBold),
                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        p.drawImage(head.topLeft() + QPoint(159, 3), b.at(r == 0 ? 217 : 216));
        for (int c = 0; c < 2; ++c) {
            const QRect cell(at.x() + 175 + c * 300, head.top(), 300, 67);
            MockCell(p, cell, r % 2 ? QColor(232, 239, 254) : QColor(242, 246, 255),
                     values[r][c] + QStringLiteral(" (2002)"), QColor(4, 43, 136),
                     UiFont(12, QFont::DemiBold), Qt::AlignLeft | Qt::AlignTop);
        }
    }
}

void MockDataView(QPainter& p, const std::map<int, QImage>& b, QPoint at) {
    p.drawImage(at, b.at(241));
    p.drawImage(at + QPoint(113, 4), b.at(237));
    p.drawImage(at + QPoint(146, 4), b.at(222));
    p.drawImage(at + QPoint(3, 36), b.at(247));
    p.drawImage(at + QPoint(3 + 16 + 1, 36), b.at(208));
    const QStringList fields = {QStringLiteral("Bevölkerung (Mio.)"),
                                QStringLiteral("Bruttoinlandsprodukt je Einwohner")};
    for (int c = 0; c < fields.size(); ++c) {
        const QRect head(at.x() + 175 + c * 220, at.y(), 220, 48);
        MockCell(p, head, QColor(237, 226, 191), fields[c], QColor(0, 45, 137),
                 SmallFont(10, QFont::DemiBold), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        const QRect strip(head.left() + 1, head.bottom() - 16, head.width() - 2 - (c ? 40 : 0), 16);
        p.fillRect(strip, QColor(232, 213, 176));
        HLine(p, strip.left(), strip.right(), strip.top(), QColor(244, 234, 216));
        HLine(p, strip.left(), strip.right(), strip.bottom(), QColor(177, 163, 135));
        p.drawImage(head.topLeft() + QPoint(3, 36), b.at(c ? 251 : 246));
        p.drawImage(head.topLeft() + QPoint(3 + 16 + 1, 36), b.at(254));
        p.drawImage(head.topLeft() + QPoint(head.width() - 16, 3), b.at(217));
        if (c) {
            // The year button, a text button in the design's green
            const QRect year(head.right() - 40, head.bottom() - 16, 39, 16);
            p.fillRect(year, QColor(182, 217, 172));
            Text(p, year, Qt::AlignCenter, QStringLiteral("2002"), SmallFont(9, QFont::DemiBold),
                 QColor(113, 145, 113));
        }
    }
    const QStringList countries = {QStringLiteral("Ägypten"), QStringLiteral("Albanien")};
    for (int r = 0; r < countries.size(); ++r) {
        const QRect head(at.x(), at.y() + 48 + r * 67, 175, 67);
        MockCell(p, head, r % 2 ? QColor(137, 152, 189) : QColor(131, 145, 180), countries[r],
                 Qt::white, UiFont(12, QFont::DemiBold), Qt::AlignLeft | Qt::AlignTop);
        p.drawImage(head.topLeft() + QPoint(159, 3), b.at(211));
        for (int c = 0; c < 2; ++c) {
            const QRect cell(at.x() + 175 + c * 220, head.top(), 220, 67);
            MockCell(p, cell, r % 2 ? QColor(254, 252, 243) : QColor(249, 247, 239), QString(),
                     QColor(0, 46, 139), UiFont(12), Qt::AlignRight);
            const QRect bar(cell.left() + 5, cell.top() + 4, cell.width() - 10 - (c ? 41 : 0), 15);
            p.fillRect(bar, QColor(226, 233, 246));
            p.fillRect(QRect(bar.left(), bar.top(), bar.width() * (r ? 2 : 7) / 10, bar.height()),
                       QColor(167, 197, 255));
            Text(p, bar.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter,
                 r ? QStringLiteral("3,1") : QStringLiteral("66,4"), UiFont(12, QFont::DemiBold),
                 QColor(0, 46, 139));
        }
    }
}

}  // namespace

void SaveMainWindowMock(const std::map<int, QImage>& b, const SkinPaintResult& skins,
                        const QString& dir) {
    QDir().mkpath(dir);
    const int W = 1280, H = 820, border = 6;
    QImage mock = Canvas({W, H}, Qt::black);
    QPainter p(&mock);
    // Frame as the skinned frame window draws it around a caption bitmap
    p.fillRect(mock.rect(), kFrame);
    Frame(p, mock.rect().adjusted(1, 1, -1, -1), kEdgeLight);
    HLine(p, 0, W - 1, H - 1, Qt::black);
    VLine(p, W - 1, 0, H - 1, Qt::black);
    const QImage& caption = b.at(134);
    p.drawImage(border, border, caption, 0, 0, W - 2 * border, caption.height());
    int right = W - border - 5;
    for (const int id : {138, 141, 144}) {
        const QImage& button = b.at(id);
        right -= button.width();
        p.drawImage(right, border + 6, button);
        right -= 4;
    }
    const QRect client(border, border + caption.height(), W - 2 * border,
                       H - 2 * border - caption.height());
    const QImage bar = PreviewOf(skins, 129);
    if (!bar.isNull()) {
        const int logo = 236;
        p.drawImage(client.left(), client.top(), bar, 0, 0, client.width() - logo, bar.height());
        p.drawImage(client.right() + 1 - logo, client.top(), bar, bar.width() - logo, 0, logo,
                    bar.height());
    }
    const QRect below(client.left(), client.top() + bar.height(), client.width(),
                      client.height() - bar.height());
    p.fillRect(below, kBack);
    const int m = 12;
    p.drawImage(below.topLeft(), b.at(151));
    p.drawImage(below.right() + 1 - m, below.top(), b.at(154));
    p.drawImage(below.left(), below.bottom() + 1 - m, b.at(150));
    p.drawImage(below.right() + 1 - m, below.bottom() + 1 - m, b.at(153));
    p.drawImage(QRect(below.left() + m, below.top(), below.width() - 2 * m, m), b.at(155));
    p.drawImage(QRect(below.left() + m, below.bottom() + 1 - m, below.width() - 2 * m, m),
                b.at(148));
    p.drawImage(QRect(below.left(), below.top() + m, m, below.height() - 2 * m), b.at(149));
    p.drawImage(QRect(below.right() + 1 - m, below.top() + m, m, below.height() - 2 * m),
                b.at(152));

    const QRect table = below.adjusted(m, m, -m, -m);
    p.fillRect(table, Qt::black);
    const QImage tableTop = PreviewOf(skins, 156);
    if (!tableTop.isNull()) {
        // Left end, the stretched middle, and the right end with its buttons
        const int rightPart = 100;
        p.drawImage(table.left(), table.top(), tableTop, 0, 0, 600, tableTop.height());
        p.drawImage(QRect(table.left() + 600, table.top(), table.width() - 600 - rightPart,
                          tableTop.height()),
                    tableTop, QRect(600, 0, 1, tableTop.height()));
        p.drawImage(table.right() + 1 - rightPart, table.top(), tableTop,
                    tableTop.width() - rightPart, 0, rightPart, tableTop.height());
        Text(p, QRect(table.left() + 16, table.top() + 8, 600, 21),
             Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Arbeitsbereich 1 (Ländervergleich)"),
             UiFont(13, QFont::Bold), Qt::white);
    }
    const QPoint grid = table.topLeft() + QPoint(0, 37);
    p.fillRect(QRect(grid, QSize(table.width(), table.bottom() - grid.y() + 1)), kCell);
    MockDataView(p, b, grid);
    MockCountryView(p, b, grid + QPoint(0, 48 + 2 * 67 + 24));
    p.end();
    mock.save(dir + QStringLiteral("/main-window.png"));

    // Without a table: the background picture centred, the rest in the window's colour
    QImage home = Canvas({W, H}, kBack);
    QPainter hp(&home);
    hp.drawImage(0, 0, mock, 0, 0, W, client.top() + bar.height());
    const QImage& back = b.at(135);
    hp.fillRect(below, kBack);
    hp.drawImage(below.center() - QPoint(back.width() / 2, back.height() / 2), back);
    hp.end();
    home.save(dir + QStringLiteral("/main-window-home.png"));
}

}  // namespace skin

namespace skin {

void SaveCursorSheet(const CCursorImage& pointer, const CCursorFile& wait, const QString& dir) {
    QDir().mkpath(dir);
    std::vector<const CCursorImage*> images{&pointer};
    for (const CCursorImage& frame : wait.images) images.push_back(&frame);
    const int cell = 140;
    QImage sheet = Canvas({cell * static_cast<int>(images.size()), 2 * cell}, kBack);
    QPainter p(&sheet);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const CCursorImage& c = *images[i];
        QImage picture(c.width, c.height, QImage::Format_ARGB32);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                picture.setPixel(x, y, c.pixels[static_cast<std::size_t>(y * c.width + x)]);
        for (int row = 0; row < 2; ++row) {
            const QRect area(static_cast<int>(i) * cell, row * cell, cell, cell);
            p.fillRect(area.adjusted(2, 2, -2, -2),
                       row ? QColor(40, 44, 52) : QColor(245, 245, 245));
            p.drawImage(area.left() + 6, area.top() + 6, picture);
            const QImage big
                = picture.scaled(picture.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            p.drawImage(area.left() + 40, area.top() + 40, big);
            p.fillRect(QRect(area.left() + 40 + c.hotX * 3, area.top() + 40 + c.hotY * 3, 3, 3),
                       QColor(255, 0, 200));
        }
    }
    p.end();
    sheet.save(dir + QStringLiteral("/cursors.png"));
}

}  // namespace skin
