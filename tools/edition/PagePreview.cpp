#include "PagePreview.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>

#include "EditionGerman.h"
#include "data/AlmanacSql.h"
#include "data/ValueRoutines.h"

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The first row of a query as texts (NULL as empty), or nothing.
QStringList FirstRow(sqlite3* db, const QString& sql) {
    QStringList row;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &s, nullptr) == SQLITE_OK
        && sqlite3_step(s) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(s); ++c) {
            const unsigned char* text = sqlite3_column_text(s, c);
            row << (text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString());
        }
    }
    sqlite3_finalize(s);
    return row;
}

struct CAlmanac {
    sqlite3* db = nullptr;
    explicit CAlmanac(const QString& outDir) {
        if (sqlite3_open_v2(QDir(outDir).filePath("Daten/Kompendor.mdb").toUtf8().constData(), &db,
                            SQLITE_OPEN_READONLY, nullptr)
            == SQLITE_OK) {
            RegisterAlmanacSql(db);
        }
    }
    ~CAlmanac() { sqlite3_close(db); }
};

QString IntoHost(const QString& host, const QString& body) {
    const int open = host.indexOf("<body");
    const int start = host.indexOf('>', open) + 1;
    const int end = host.indexOf("</body>");
    if (open < 0 || end < start) return {};
    return host.left(start) + "\n" + body + "\n" + host.mid(end);
}

}  // namespace

void ReplaceAllTokens(QString& text, const QString& token, const QString& replacement) {
    qsizetype at = text.indexOf(token);
    while (at >= 0) {
        text.replace(at, token.size(), replacement);
        at = text.indexOf(token, at + std::max<qsizetype>(replacement.size(), 1));
    }
}

QString ComposeArticlePage(const QString& outDir, int articleId) {
    const QString html = QDir(outDir).filePath("HTML/");
    CAlmanac almanac(outDir);
    const QStringList a = FirstRow(
        almanac.db, QString("SELECT Typ, Title, LandID, Abbildung, Content FROM HTML WHERE ID=%1")
                        .arg(articleId));
    if (a.isEmpty()) return {};
    const int typ = a[0].toInt();
    const QString title = a[1].isEmpty() ? "&nbsp;" : a[1];
    const int landId = a[2].toInt();
    const QString picture = a[3];
    const QString content = a[4].isEmpty() ? "&nbsp;" : a[4];
    QString page;
    if (typ == 1) {
        page = ReadText(html + "TBChronik.htm");
        ReplaceAllTokens(page, "%Title%", title);
        ReplaceAllTokens(page, "%Map%",
                         QString("(-&raquo; <A HREF=\"%1\" Target=\"Map\">Karte</A>)").arg(landId));
        ReplaceAllTokens(page, "%Flag%",
                         picture.isEmpty()
                             ? QString("&nbsp;")
                             : QString("<A href=\"%1\" Target=\"Flag\"><img src='Flags/%2' "
                                       "hspace=0 vspace=0 border=0></A>")
                                   .arg(landId)
                                   .arg(picture));
        ReplaceAllTokens(page, "%Content%", content);
    } else if (typ == 2) {
        page = ReadText(html + "TBPers.htm");
        ReplaceAllTokens(page, "%Title%", title);
        ReplaceAllTokens(page, "%Portrait%",
                         picture.isEmpty()
                             ? QString("&nbsp;")
                             : QString("<A href=\"%1\" Target=\"Portrait\"><img src='Portraits/%2' "
                                       "hspace=0 vspace=0 border=0></A>")
                                   .arg(articleId)
                                   .arg(picture));
        ReplaceAllTokens(page, "%Content%", content);
        const QStringList land = FirstRow(
            almanac.db, QString("SELECT Title, Flaggen FROM Land WHERE ID=%1").arg(landId));
        if (!land.isEmpty()) {
            ReplaceAllTokens(page, "%Land%", land[0]);
            if (!land[1].isEmpty()) {
                ReplaceAllTokens(page, "%Flag%",
                                 QString("<A href=\"%1\" Target=\"Flag\"><img src='Flags/%2' "
                                         "hspace=0 vspace=0 border=0></A><img src='dummy.gif' "
                                         "height=8 width=6>")
                                     .arg(landId)
                                     .arg(land[1]));
            }
        }
    } else if (typ >= 3 && typ <= 6) {
        page = ReadText(html + "TBPlain.htm");
        ReplaceAllTokens(page, "%Title%", title);
        ReplaceAllTokens(page, "%Content%", content);
    } else {
        return {};
    }
    for (const char* token : {"%Title%", "%Map%", "%Flag%", "%Content%", "%Portrait%", "%Land%"}) {
        ReplaceAllTokens(page, token, "");
    }
    return IntoHost(ReadText(html + "TB.htm"), page);
}

QString ComposeCellPage(const QString& outDir, int landId, int valId, const QString& chartPath) {
    const QString html = QDir(outDir).filePath("HTML/");
    CAlmanac almanac(outDir);
    const QStringList field
        = FirstRow(almanac.db, QString("SELECT NAME_LANG, Source FROM Val WHERE ID=%1").arg(valId));
    const QStringList value = FirstRow(
        almanac.db, QString("SELECT NUMVAL, STRVAL, Jahr FROM Data WHERE LandID=%1 AND ValID=%2 "
                            "ORDER BY Jahr DESC")
                        .arg(landId)
                        .arg(valId));
    if (field.isEmpty()) return {};
    QString page;
    if (!value.isEmpty() && value[1].isNull()) {
        page = ReadText(html + "CIData.htm");
        ReplaceAllTokens(page, "%Title%", field[0]);
        ReplaceAllTokens(page, "%Image%", chartPath.isEmpty() ? QString("Dummy.gif") : chartPath);
        ReplaceAllTokens(page, "%Value%",
                         QString::fromStdString(FormatNumber(value[0].toDouble())));
        ReplaceAllTokens(page, "%Year%", value[2].isEmpty() ? QString() : "(" + value[2] + ")");
        const QStringList rank = FirstRow(
            almanac.db,
            QString("SELECT count(*) + 1 FROM Data WHERE ValID=%1 AND Jahr=%2 AND NUMVAL > %3")
                .arg(valId)
                .arg(value[2].toInt())
                .arg(value[0]));
        ReplaceAllTokens(page, "%Place%", "Weltrang: " + rank.value(0));
        ReplaceAllTokens(page, "%Value%", "Keine Angabe");
        ReplaceAllTokens(page, "%Source%", "Quelle: " + field[1]);
    } else {
        page = ReadText(html + "CIText.htm");
        ReplaceAllTokens(page, "%Title%", field[0]);
        ReplaceAllTokens(
            page, "%Text%",
            value.isEmpty() || value[1].isEmpty() ? QString("Keine Angabe") : value[1]);
    }
    return IntoHost(ReadText(html + "CI.htm"), page);
}
