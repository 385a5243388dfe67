// Flags at three sizes, their descriptions, and the flag archive Flags.nox.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <algorithm>

#include "EditionBuild.h"
#include "GifWriter.h"
#include "archive/ArchivePassword.h"

namespace edition {

namespace {

// Flags: the table heads show a small one beside three buttons in a 48-pixel row, the
// flag viewer a large one above its caption line (y 141), the articles a medium one.
constexpr QSize kFlagTableSize(56, 42);
constexpr QSize kFlagViewerSize(176, 132);
constexpr QSize kFlagArticleSize(120, 90);

// German colour name of a flag colour.
QString ColorName(QRgb c) {
    QColor color(c);
    float h, s, v;
    color.getHsvF(&h, &s, &v);
    h *= 360;
    if (v < 0.2f) return "Schwarz";
    if (s < 0.18f) return v > 0.8f ? "Weiß" : "Grau";
    if (h < 15 || h >= 340) return v < 0.55f ? "Dunkelrot" : "Rot";
    if (h < 36) return v < 0.6f ? "Braun" : "Orange";
    if (h < 70) return "Gelb";
    if (h < 170) return "Grün";
    if (h < 255) return (v > 0.75f && s < 0.6f) ? "Hellblau" : "Blau";
    return "Violett";
}

QString DescribeFlag(const QImage& picture) {
    QImage small = QuantizeImage(
        picture.scaled(64, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 12);
    const int w = small.width(), h = small.height();
    QVector<int> area(small.colorCount());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) ++area[small.pixelIndex(x, y)];
    }
    // Colour names by area, each name once, leaving out specks of the drawing.
    QVector<int> order(small.colorCount());
    for (int i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return area[a] > area[b]; });
    QStringList names;
    // A flag of one colour with a small emblem names the emblem's colours too.
    for (int minimumPerMille : {40, 5}) {
        for (int i : order) {
            if (area[i] * 1000 < w * h * minimumPerMille) continue;
            QString name = ColorName(small.color(i));
            if (!names.contains(name)) names << name;
        }
        if (names.size() >= 2) break;
    }

    // A line is uniform when nearly all of it has one colour.
    auto dominant = [&](bool rows, int line, int& share) {
        QVector<int> count(small.colorCount());
        int length = rows ? w : h;
        for (int k = 0; k < length; ++k) {
            ++count[rows ? small.pixelIndex(k, line) : small.pixelIndex(line, k)];
        }
        int best = int(std::max_element(count.begin(), count.end()) - count.begin());
        share = count[best] * 100 / length;
        return best;
    };
    for (bool rows : {true, false}) {
        int lines = rows ? h : w, uniform = 0;
        QStringList bands;
        QString last;
        int run = 0;
        for (int line = 0; line < lines; ++line) {
            int share;
            QString name = ColorName(small.color(dominant(rows, line, share)));
            if (share >= 95) ++uniform;
            if (name != last) {
                if (!last.isEmpty() && run * 100 >= lines * 6) bands << last;
                last = name;
                run = 0;
            }
            ++run;
        }
        if (run * 100 >= lines * 6) bands << last;
        bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
        if (uniform * 100 >= lines * 90 && bands.size() >= 2) {
            return JoinGerman(bands) + (rows ? ", waagerecht gestreift" : ", senkrecht gestreift");
        }
        if (uniform * 100 >= lines * 60 && bands.size() >= 2) {
            return JoinGerman(bands)
                   + (rows ? ", waagerecht gestreift, mit Wappen oder Emblem"
                           : ", senkrecht gestreift, mit Wappen oder Emblem");
        }
    }
    return "In den Farben " + JoinGerman(names);
}

QImage RenderFlag(QSvgRenderer& renderer, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
    painter.end();
    return image;
}

// Qt's SVG renderer skips the gradients of a few coats of arms (the flags stay readable) and
// says so for every use of them; those notes are dropped while the flags are drawn.
QtMessageHandler g_previousHandler = nullptr;

void DropSvgNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (QByteArray(context.category ? context.category : "").startsWith("qt.svg")
        || message.startsWith("Could not resolve property")) {
        return;
    }
    if (g_previousHandler) g_previousHandler(type, context, message);
}

struct CSvgNoteFilter {
    CSvgNoteFilter() { g_previousHandler = qInstallMessageHandler(&DropSvgNotes); }
    ~CSvgNoteFilter() { qInstallMessageHandler(g_previousHandler); }
};

// The path data of a polyline: its vertices (absolute, relative, horizontal and vertical
// line commands and close path; other commands end the list).
std::vector<QPointF> PathVertices(const QString& data) {
    static const QRegularExpression token("[MmLlHhVvZz]|-?\\d*\\.?\\d+(?:e-?\\d+)?");
    std::vector<QPointF> points;
    QPointF current, start;
    QChar command = 'M';
    std::vector<double> numbers;
    auto it = token.globalMatch(data);
    QStringList tokens;
    while (it.hasNext()) tokens << it.next().captured(0);
    for (int i = 0; i < tokens.size();) {
        const QString& t = tokens[i];
        if (t.size() == 1 && t[0].isLetter()) {
            command = t[0];
            ++i;
            if (command == 'Z' || command == 'z') {
                current = start;
                points.push_back(current);
            }
            continue;
        }
        auto number = [&](int k) { return tokens.value(i + k).toDouble(); };
        const bool relative = command.isLower();
        switch (command.toUpper().unicode()) {
            case 'M':
            case 'L': {
                QPointF p(number(0), number(1));
                current = relative ? current + p : p;
                if (command.toUpper() == 'M') {
                    start = current;
                    // Further pairs after a move are lines.
                    command = relative ? 'l' : 'L';
                }
                points.push_back(current);
                i += 2;
                break;
            }
            case 'H':
                current.setX(relative ? current.x() + number(0) : number(0));
                points.push_back(current);
                ++i;
                break;
            case 'V':
                current.setY(relative ? current.y() + number(0) : number(0));
                points.push_back(current);
                ++i;
                break;
            default:
                return points;
        }
    }
    return points;
}

}  // namespace

QByteArray ExpandSvgMarkers(const QByteArray& svg) {
    if (!svg.contains("marker-mid")) return svg;
    QString text = QString::fromUtf8(svg);
    static const QRegularExpression marker("<marker\\s+id=\"([^\"]+)\"[^>]*>(.*?)</marker>",
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression user(
        "<path([^>]*?)\\smarker-mid=\"url\\(#([^)]+)\\)\"([^>]*?)\\sd=\"([^\"]+)\"[^>]*/>");
    QMap<QString, QString> markers;
    for (auto it = marker.globalMatch(text); it.hasNext();) {
        auto m = it.next();
        markers.insert(m.captured(1), m.captured(2).trimmed());
    }
    text.remove(marker);
    QString result;
    int last = 0;
    for (auto it = user.globalMatch(text); it.hasNext();) {
        auto m = it.next();
        result += text.mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        const QString content = markers.value(m.captured(2));
        std::vector<QPointF> vertices = PathVertices(m.captured(4));
        // A mid marker stands on every vertex but the first and the last, with its origin
        // on the vertex (no refX/refY, no orientation, stroke width 1).
        for (std::size_t v = 1; v + 1 < vertices.size(); ++v) {
            result += QString("<g transform=\"translate(%1 %2)\">%3</g>")
                          .arg(vertices[v].x())
                          .arg(vertices[v].y())
                          .arg(content);
        }
    }
    result += text.mid(last);
    return result.toUtf8();
}

bool CEditionBuild::BuildFlags() {
    CSvgNoteFilter filter;
    QDir svgDir(Edition("node_modules/flag-icons/flags/4x3"));
    QString tableDir = Out("Daten/Flags"), articleDir = Out("HTML/Flags");
    QString staging = Out("Daten/.flags-nox");
    QDir(staging).removeRecursively();
    for (const QString& dir : {tableDir, articleDir, staging}) QDir().mkpath(dir);
    QStringList members;
    for (CLand& land : m_lands) {
        QString svgPath = svgDir.filePath(land.cca2.toLower() + ".svg");
        QFile svgFile(svgPath);
        QByteArray svg = svgFile.open(QIODevice::ReadOnly) ? svgFile.readAll() : QByteArray();
        QSvgRenderer renderer(ExpandSvgMarkers(svg));
        if (!renderer.isValid()) {
            Log("no flag for " + land.cca3);
            continue;
        }
        QString name = land.cca3 + ".gif";
        struct CTarget {
            QSize size;
            int colors;
            QString dir;
        };
        for (const CTarget& t :
             {CTarget{kFlagTableSize, 32, tableDir}, CTarget{kFlagArticleSize, 64, articleDir},
              CTarget{kFlagViewerSize, 64, staging}}) {
            QByteArray gif = EncodeGif(QuantizeImage(RenderFlag(renderer, t.size), t.colors));
            if (!WriteBytes(QDir(t.dir).filePath(name), gif, m_result.error)) return false;
        }
        if (land.flagText.isEmpty()) {
            land.flagText = DescribeFlag(RenderFlag(renderer, QSize(256, 192)));
        }
        members << name;
        ++m_result.flags;
    }
    // Flags.nox: Info-ZIP with traditional encryption; built beside and renamed into place.
    QString archive = Out("Daten/Flags.nox"), temp = archive + ".tmp.zip";
    QFile::remove(temp);
    QProcess zip;
    zip.setWorkingDirectory(staging);
    zip.start("zip", QStringList{"-q", "-X", "-9", "-P", kArchivePassword, temp} + members);
    if (!zip.waitForFinished(120000) || zip.exitStatus() != QProcess::NormalExit
        || zip.exitCode() != 0) {
        m_result.error = "zip failed: " + QString::fromLocal8Bit(zip.readAllStandardError())
                         + zip.errorString();
        return false;
    }
    QFile::remove(archive);
    if (!QFile::rename(temp, archive)) {
        m_result.error = "cannot move " + temp + " to " + archive;
        return false;
    }
    QDir(staging).removeRecursively();
    return true;
}

}  // namespace edition
