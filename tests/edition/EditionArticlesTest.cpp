// The articles, navigation trees, picture records and templates of the sample edition as
// the program reads them: every link resolves the way the article window follows it, every
// tree node opens an existing article and anchor, the search text is what the page shows,
// and every composed page passes an HTML checker.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "EditionFixture.h"
#include "PagePreview.h"
#include "PictureRecords.h"

using edition_test::kOut;

namespace {

QString ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The named anchors of an HTML text.
std::set<QString> Anchors(const QString& html) {
    static const QRegularExpression anchor("<a name=\"([^\"]+)\"",
                                           QRegularExpression::CaseInsensitiveOption);
    std::set<QString> names;
    for (auto it = anchor.globalMatch(html); it.hasNext();) names.insert(it.next().captured(1));
    return names;
}

}  // namespace

// Every country has exactly one country article, linked to it and showing its flag; the
// other article kinds are there in the numbers the panels and the note promise.
TEST_F(Edition, ArticlesOfEveryKind) {
    EXPECT_EQ(One("SELECT count(*) FROM Land l WHERE (SELECT count(*) FROM HTML h WHERE "
                  "h.LandID = l.ID AND h.Typ = 1) <> 1"),
              "0");
    EXPECT_EQ(One("SELECT count(*) FROM HTML h JOIN Land l ON l.ID = h.LandID WHERE h.Typ = 1 "
                  "AND h.Abbildung <> l.Flaggen"),
              "0");
    EXPECT_GE(One("SELECT count(*) FROM HTML WHERE Typ = 5").toInt(), 60);
    EXPECT_GE(One("SELECT count(*) FROM HTML WHERE Typ = 3").toInt(), 25);
    EXPECT_EQ(One("SELECT count(*) FROM HTML WHERE Typ = 2 AND SubTyp NOT IN (2, 3)"), "0");
    // The person panel's filters "Biografien" (2) and "Verstorbene" (3): a person is filed
    // under the second exactly when the article gives a death.
    EXPECT_GT(One("SELECT count(*) FROM HTML WHERE Typ = 2 AND SubTyp = 2").toInt(), 0);
    EXPECT_GT(One("SELECT count(*) FROM HTML WHERE Typ = 2 AND SubTyp = 3").toInt(), 20);
    EXPECT_EQ(One("SELECT count(*) FROM HTML WHERE Typ = 2 AND (SubTyp = 3) <> "
                  "(instr(SearchText, 'Gestorben ') > 0)"),
              "0");
    // The help with the anchors its callers open it at.
    const QString help = One("SELECT Content FROM HTML WHERE ID = 200000 AND Typ = 6");
    EXPECT_TRUE(Anchors(help).count("lesezeichenfunktion"));
    EXPECT_TRUE(Anchors(help).count("volltextsuche"));
    // One topic per data field with data and per group.
    EXPECT_EQ(One("SELECT count(*) FROM Val v WHERE (v.PID = 0 OR EXISTS (SELECT 1 FROM Data d "
                  "WHERE d.ValID = v.ID)) AND NOT EXISTS (SELECT 1 FROM HTML h WHERE h.ID = "
                  "40000 + v.ID AND h.Typ = 4)"),
              "0");
    // Organisations name their members; the UN has exactly the 193 members.
    EXPECT_NE(One("SELECT Content FROM HTML WHERE Typ = 3 AND Title = 'Vereinte Nationen'")
                  .indexOf("Mitglieder</th><td>193<"),
              -1);
    // Spot checks of the German: cases of names with articles, numbers, sections.
    const QString che = One("SELECT SearchText FROM HTML WHERE Typ = 1 AND LandID = 756");
    EXPECT_TRUE(che.contains("Die Schweiz ist ein unabhängiger Staat")) << che.toStdString();
    EXPECT_TRUE(che.contains("Deutsch, Französisch, Italienisch und Rätoromanisch"));
    const QString gbr = One("SELECT SearchText FROM HTML WHERE Typ = 1 AND LandID = 654");
    EXPECT_TRUE(gbr.contains("abhängiges Gebiet des Vereinigten Königreichs")) << gbr.toStdString();
    const QString deu = One("SELECT SearchText FROM HTML WHERE Typ = 1 AND LandID = 276");
    EXPECT_TRUE(
        deu.contains("grenzt an Belgien, Dänemark, Frankreich, Luxemburg, die Niederlande, "
                     "Österreich, Polen, die Schweiz und Tschechien."))
        << deu.toStdString();
    EXPECT_TRUE(QRegularExpression("lebten in Deutschland \\d\\d,\\d Millionen Menschen")
                    .match(deu)
                    .hasMatch());
    const QString irn = One("SELECT SearchText FROM HTML WHERE Typ = 1 AND LandID = 364");
    EXPECT_TRUE(irn.contains("lebten im Iran")) << irn.toStdString();
}

// Every cross reference resolves the way the article window follows it: an STEXT
// identifier to exactly one row by "LINKID_SET LIKE ';*id*;'" whose page holds an anchor of
// that name; GRAPHIC and TABLE to a picture record of the archive's kind; SGRAPHIC and
// STABLE to a record by its file name. No other target occurs in the articles.
TEST_F(Edition, EveryLinkResolves) {
    static const QRegularExpression link(
        "<a (?:class=\"[^\"]*\" )?href=\"([^\"]*)\" target=\"([^\"]*)\"");
    std::map<QString, int> resolvedIds;
    int links = 0, anchorsChecked = 0;
    for (const QStringList& row : Query("SELECT ID, Content FROM HTML")) {
        for (auto it = link.globalMatch(row[1]); it.hasNext();) {
            auto m = it.next();
            const QString href = m.captured(1), target = m.captured(2).toUpper();
            SCOPED_TRACE((row[0] + ": " + target + " " + href).toStdString());
            ++links;
            if (target == "STEXT") {
                auto known = resolvedIds.find(href);
                if (known == resolvedIds.end()) {
                    QList<QStringList> hits = Query(
                        "SELECT ID, Content FROM HTML WHERE LINKID_SET LIKE ';*" + href + "*;'");
                    ASSERT_EQ(hits.size(), 1);
                    EXPECT_TRUE(Anchors(hits[0][1]).count(href));
                    ++anchorsChecked;
                    resolvedIds[href] = hits[0][0].toInt();
                }
            } else if (target == "GRAPHIC" || target == "TABLE") {
                EXPECT_EQ(One(QString("SELECT count(*) FROM HTML WHERE ID = %1 AND Typ = 9 AND "
                                      "SubTyp IN %2")
                                  .arg(href.toInt())
                                  .arg(target == "TABLE" ? "(4)" : "(2, 3)")),
                          "1");
            } else if (target == "SGRAPHIC" || target == "STABLE") {
                EXPECT_EQ(One(QString("SELECT count(*) FROM HTML WHERE Abbildung LIKE '%1' AND "
                                      "Typ = 9 AND SubTyp IN %2")
                                  .arg(href, target == "STABLE" ? "(4)" : "(2, 3)")),
                          "1");
            } else {
                ADD_FAILURE() << "unknown target";
            }
        }
        // Glossary terms the builder did not find are marked; there must be none.
        EXPECT_FALSE(row[1].contains("class=\"fehlt\"")) << row[0].toStdString();
    }
    EXPECT_GT(links, 5000);
    EXPECT_GT(anchorsChecked, 400);
    std::printf("[ links ] %d links, %d link identifiers with their anchors\n", links,
                anchorsChecked);
}

// Every node of the four trees opens an article of its panel's type, at an anchor the page
// has; parents exist; the first level has several nodes.
TEST_F(Edition, NavigationTreesPointAtArticlesAndAnchors) {
    int anchors = 0;
    for (const auto& [table, typ] :
         std::map<QString, int>{{"Nav1", 1}, {"Nav3", 3}, {"Nav4", 4}, {"Nav6", 6}}) {
        SCOPED_TRACE(table.toStdString());
        EXPECT_GE(One("SELECT count(*) FROM " + table + " WHERE PID = 0").toInt(), 2);
        EXPECT_EQ(One("SELECT count(*) FROM " + table
                      + " n WHERE n.PID <> 0 AND n.PID NOT IN "
                        "(SELECT ID FROM "
                      + table + ")"),
                  "0");
        EXPECT_EQ(One(QString("SELECT count(*) FROM %1 n WHERE NOT EXISTS (SELECT 1 FROM HTML h "
                              "WHERE h.ID = n.HTMLID AND h.Typ = %2)")
                          .arg(table)
                          .arg(typ)),
                  "0");
        std::map<QString, std::set<QString>> pageAnchors;
        for (const QStringList& node :
             Query("SELECT n.HTMLID, n.Link, h.Content FROM " + table
                   + " n JOIN HTML h ON h.ID = n.HTMLID WHERE n.Link <> ''")) {
            auto& names = pageAnchors[node[0]];
            if (names.empty()) names = Anchors(node[2]);
            EXPECT_TRUE(names.count(node[1]))
                << node[0].toStdString() << " " << node[1].toStdString();
            ++anchors;
        }
        std::printf("[ nodes ] %s: %s nodes\n", qPrintable(table),
                    qPrintable(One("SELECT count(*) FROM " + table)));
    }
    EXPECT_GT(anchors, 2000);
    // A country's node is found again by its article and an anchor, as the panels look.
    EXPECT_EQ(One("SELECT count(*) FROM Nav1 WHERE HTMLID = 10276 AND Link LIKE 'wirtschaft'"),
              "1");
}

// The search finds what the page shows: plain text without tags or entities, the title
// included.
TEST_F(Edition, SearchTextIsThePlainText) {
    EXPECT_EQ(One("SELECT count(*) FROM HTML WHERE SearchText IS NULL OR SearchText = ''"), "0");
    for (const QStringList& row : Query("SELECT ID, Title, SearchText FROM HTML")) {
        SCOPED_TRACE(row[0].toStdString());
        EXPECT_FALSE(QRegularExpression("<[a-zA-Z/!]").match(row[2]).hasMatch());
        EXPECT_FALSE(QRegularExpression("&[a-zA-Z]+;|&#\\d+;").match(row[2]).hasMatch());
        EXPECT_TRUE(row[2].startsWith(row[1]));
    }
    EXPECT_GE(
        One("SELECT count(*) FROM HTML WHERE SearchText LIKE '*Säuglingssterblichkeit*'").toInt(),
        3);
}

// The picture records follow the scheme the viewers draw from: one map per field the map
// offers, one graph per numeric field with years, one panel per country with data, one table
// per group with numbers; each named by its file, with a German title and description.
TEST_F(Edition, PictureRecordsFollowTheirScheme) {
    using namespace PictureRecords;
    std::set<int> expected;
    for (const QStringList& v :
         Query("SELECT ID, MapView FROM Val WHERE PID > 0 AND EXISTS (SELECT 1 FROM Data d "
               "WHERE d.ValID = Val.ID AND d.Jahr IS NOT NULL AND d.STRVAL IS NULL)")) {
        const int id = v[0].toInt();
        if (v[1].toInt() > 0) {
            expected.insert(MapId(id));
            EXPECT_EQ(
                Query(
                    QString(
                        "SELECT SubTyp, Abbildung, LINKID_SET FROM HTML WHERE ID = %1 AND Typ = 9")
                        .arg(MapId(id)))
                    .value(0),
                (QStringList{"2", MapFile(id), ";" + LinkId(MapFile(id)) + ";"}));
        }
        expected.insert(GraphId(id));
        EXPECT_EQ(Query(QString("SELECT SubTyp, Abbildung FROM HTML WHERE ID = %1 AND Typ = 9")
                            .arg(GraphId(id)))
                      .value(0),
                  (QStringList{"3", GraphFile(id)}));
    }
    for (const QStringList& l : Query("SELECT ID, ISO3 FROM Land WHERE EXISTS (SELECT 1 FROM Data "
                                      "d WHERE d.LandID = Land.ID)")) {
        const int id = l[0].toInt();
        expected.insert(PanelId(id));
        EXPECT_EQ(
            Query(QString("SELECT SubTyp, Abbildung, LandID FROM HTML WHERE ID = %1 AND Typ = 9")
                      .arg(PanelId(id)))
                .value(0),
            (QStringList{"3", PanelFile(l[1]), l[0]}));
    }
    for (const QStringList& g :
         Query("SELECT ID FROM Val g WHERE PID = 0 AND EXISTS (SELECT 1 FROM Val v JOIN Data d "
               "ON d.ValID = v.ID WHERE v.PID = g.ID AND d.STRVAL IS NULL)")) {
        const int id = g[0].toInt();
        expected.insert(TableId(id));
        EXPECT_EQ(Query(QString("SELECT SubTyp, Abbildung FROM HTML WHERE ID = %1 AND Typ = 9")
                            .arg(TableId(id)))
                      .value(0),
                  (QStringList{"4", TableFile(id)}));
    }
    std::set<int> actual;
    for (const QStringList& r : Query("SELECT ID FROM HTML WHERE Typ = 9"))
        actual.insert(r[0].toInt());
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(One("SELECT count(*) FROM HTML WHERE Typ = 9 AND (Title = '' OR Content = '' OR "
                  "LINKID_SET <> ';' || replace(Abbildung, '.gif', '') || ';')"),
              "0");
    // One record per file name, so a link by name opens one picture.
    EXPECT_EQ(One("SELECT count(*) FROM (SELECT Abbildung FROM HTML WHERE Typ = 9 GROUP BY "
                  "Abbildung HAVING count(*) > 1)"),
              "0");
    EXPECT_EQ(One("SELECT Title FROM HTML WHERE ID = 920201"),
              "Bevölkerung (Mio.) 2017: Weltkarte");
}

// The templates carry every placeholder the program replaces and every element it reads;
// the pictures they name exist.
TEST_F(Edition, TemplatesCarryPlaceholdersAndElements) {
    const QString html = kOut + "/HTML/";
    const std::map<QString, QStringList> placeholders = {
        {"TBChronik.htm", {"%Title%", "%Map%", "%Flag%", "%Content%"}},
        {"TBPers.htm", {"%Title%", "%Portrait%", "%Content%", "%Flag%", "%Land%"}},
        {"TBPlain.htm", {"%Title%", "%Content%"}},
        {"CIData.htm", {"%Title%", "%Image%", "%Value%", "%Year%", "%Place%", "%Source%"}},
        {"CIText.htm", {"%Title%", "%Text%"}},
    };
    for (const auto& [file, tokens] : placeholders) {
        const QString text = ReadFile(html + file);
        for (const QString& token : tokens)
            EXPECT_TRUE(text.contains(token)) << file.toStdString() << " " << token.toStdString();
    }
    for (const char* file : {"TB.htm", "TBChronik.htm", "TBPers.htm", "TBPlain.htm"}) {
        const QString text = ReadFile(html + file);
        for (int i = 0; i <= 4; ++i) {
            EXPECT_TRUE(text.contains(QString("id=\"Layer%1\"").arg(i))) << file << " Layer" << i;
        }
    }
    for (const char* file : {"TB.htm", "print.htm", "CI.htm"}) {
        EXPECT_TRUE(ReadFile(html + file).contains("href=\"kompendor.css\"")) << file;
    }
    const QString css = ReadFile(html + "kompendor.css");
    EXPECT_TRUE(QRegularExpression("#Layer2 \\{[^}]*overflow: auto").match(css).hasMatch());
    EXPECT_TRUE(css.contains(".Search {"));
    for (int i = 1; i <= 6; ++i) {
        EXPECT_TRUE(css.contains(QString(".Bookmark%1 {").arg(i)));
        EXPECT_FALSE(QImage(html + QString("BM%1.bmp").arg(i)).isNull());
    }
    EXPECT_FALSE(QImage(html + "Dummy.gif").isNull());
    EXPECT_FALSE(QImage(html + "dummy.gif").isNull());
    EXPECT_FALSE(QImage(html + "kompendor-bild.gif").isNull());
    for (const char* licence : {"ODbL-1.0.txt", "CC-BY-4.0.txt", "LGPL-2.1.txt", "Unicode.txt",
                                "MIT-flag-icons.txt", "BSD-calendar.txt", "LIESMICH.txt"}) {
        EXPECT_GT(QFileInfo(kOut + "/Lizenzen/" + licence).size(), 100) << licence;
    }
}

// Every article composed with its template, and the cell information pages, pass the HTML
// checker without an error or a warning other than the flag and spacer pictures the program
// itself writes without "alt"; no placeholder is left.
TEST_F(Edition, ComposedPagesPassTheHtmlChecker) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QStringList files;
    for (const QStringList& row : Query("SELECT ID FROM HTML WHERE Typ BETWEEN 1 AND 6")) {
        const QString page = ComposeArticlePage(kOut, row[0].toInt());
        ASSERT_FALSE(page.isEmpty()) << row[0].toStdString();
        EXPECT_FALSE(QRegularExpression("%[A-Z][a-z]+%").match(page).hasMatch())
            << row[0].toStdString();
        QFile out(dir.filePath(row[0] + ".htm"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(page.toUtf8());
        files << out.fileName();
    }
    for (const auto& [land, field] :
         std::vector<std::pair<int, int>>{{276, 201}, {276, 603}, {10, 201}}) {
        QFile out(dir.filePath(QString("ci-%1-%2.htm").arg(land).arg(field)));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(ComposeCellPage(kOut, land, field).toUtf8());
        files << out.fileName();
    }
    QProcess tidy;
    tidy.start("tidy", QStringList{"-q", "-e", "-utf8"} + files);
    ASSERT_TRUE(tidy.waitForStarted()) << "tidy is missing: run scripts/setup";
    ASSERT_TRUE(tidy.waitForFinished(300000));
    int complaints = 0;
    for (const QString& line : QString::fromUtf8(tidy.readAllStandardError()).split('\n')) {
        if (line.trimmed().isEmpty() || line.contains("lacks \"alt\" attribute")) continue;
        ADD_FAILURE() << line.toStdString();
        if (++complaints > 20) break;
    }
    std::printf("[ tidy  ] %lld pages checked\n", static_cast<long long>(files.size()));
}
