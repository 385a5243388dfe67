#pragma once
// The fixture almanac with the articles the browser tests add to it, and the page templates
// they write into an HTML folder of their own.
//
//   Land 999 "Atlantis" without a flag (FLAGGEN NULL).
//   HTML 1010 "Atlantis-Chronik" (Typ 1, LandID 0, no picture, LINKID_SET ";112;"),
//        1011 "Schiller, Friedrich" (Typ 2, portrait "schiller.jpg", country 999),
//        1012 "Unbekannt" (Typ 7: no page),
//        1015 "Vorgeschichte" (Typ 6, LINKID_SET ";vorgeschichte;"), inserted before
//        1013 "Europa" (Typ 3, LINKID_SET ";1013;geschichte;"): a long article whose content
//             area scrolls, with the anchors "antike", "geschichte" and "neuzeit" and one
//             link of every kind of the link protocol,
//        1014 "Ohne Inhalt" (Typ 4, Content NULL).

#include <string>

#include "data/Database.h"
#include "fixtures/FixtureAlmanac.h"
#include "platform/TestFiles.h"

inline constexpr long kAtlantis = 999;
inline constexpr long kChronikOhneLand = 1010;
inline constexpr long kSchiller = 1011;
inline constexpr long kUnbekannt = 1012;
inline constexpr long kEuropa = 1013;
inline constexpr long kOhneInhalt = 1014;
inline constexpr long kVorgeschichte = 1015;

// The content of article 1013: three sections, each long enough to scroll, and the links.
inline std::string EuropaContent() {
    std::string filler;
    for (int i = 0; i < 30; ++i)
        filler += "<P>Absatz " + std::to_string(i) + ": Wien und Rom liegen in Europa.</P>";
    return "<A name=\"antike\"></A><H2>Antike</H2>" + filler
           + "<A name=\"geschichte\"></A><H2>Geschichte</H2>"
             "<P>Links: <A HREF=\"276\" Target=\"Map\">Karte</A> "
             "<A HREF=\"40\" Target=\"Flag\">Flagge</A> "
             "<A HREF=\"1004\" Target=\"Graphic\">Grafik</A> "
             "<A HREF=\"pyramide.gif\" Target=\"SGRAPHIC\">Pyramide</A> "
             "<A HREF=\"geschichte\" Target=\"STEXT\">Querverweis</A> "
             "<A HREF=\"1013\" Target=\"STEXT\">Selbst</A> "
             "<A HREF=\"http://www.example.org/\">Web</A> "
             "<A HREF=\"file:///etc/passwd\">Datei</A> "
             "<A HREF=\"javascript:void(0)\">Skript</A> "
             "<A HREF=\"#neuzeit\">Sprung</A></P>"
           + filler + "<A name=\"neuzeit\"></A><H2>Neuzeit</H2>" + filler;
}

inline std::string CreateArticleAlmanac(const std::string& dir) {
    const std::string path = CreateFixtureAlmanac(dir);
    CDatabase db;
    db.Open(path, false, false, kAlmanacConnect);
    db.Execute("INSERT INTO Land VALUES (999, 0, 'Atlantis', 0, 1, NULL, NULL, NULL)");
    db.Execute(
        "INSERT INTO HTML VALUES (1010, 1, 0, 'Atlantis-Chronik', NULL, 0, ';112;', "
        "'<P>Ohne Land.</P>', 'Ohne Land')");
    db.Execute(
        "INSERT INTO HTML VALUES (1011, 2, 2, 'Schiller, Friedrich', 'schiller.jpg', 999, "
        "';1011;', '<P>Dichter.</P>', 'Dichter')");
    db.Execute(
        "INSERT INTO HTML VALUES (1012, 7, 0, 'Unbekannt', NULL, 0, ';1012;', '<P>x</P>', 'x')");
    db.Execute(
        "INSERT INTO HTML VALUES (1015, 6, 0, 'Vorgeschichte', NULL, 0, ';vorgeschichte;', "
        "'<P>Vor der Schrift.</P>', 'Vor der Schrift')");
    db.Execute("INSERT INTO HTML VALUES (1013, 3, 0, 'Europa', NULL, 0, ';1013;geschichte;', '"
               + EuropaContent() + "', 'Europa')");
    db.Execute(
        "INSERT INTO HTML VALUES (1014, 4, 0, 'Ohne Inhalt', NULL, 0, ';1014;', NULL, "
        "'Platzhalter')");
    return path;
}

// The host page and the templates of the article window as an installation has them: five
// layers, the second of which (Layer2) is the content area that scrolls.
inline void WriteWindowTemplates(const std::string& htmlFolder) {
    WriteFile(htmlFolder + "TB.htm",
              "<html><head><style>body{margin:0;font-family:sans-serif;font-size:14px}"
              "#Layer0{position:absolute;left:8px;top:4px;height:30px}"
              "#Layer2{position:absolute;left:8px;top:40px;right:8px;bottom:8px;overflow:auto}"
              "</style></head><body></body></html>");
    WriteFile(htmlFolder + "print.htm", "<html><body></body></html>");
    const std::string layers
        = "<DIV id=Layer0>%Title%</DIV><DIV id=Layer1>%Flag%</DIV>"
          "<DIV id=Layer2>%Content%</DIV><DIV id=Layer3>%Map%</DIV>";
    WriteFile(htmlFolder + "TBChronik.htm", layers);
    WriteFile(htmlFolder + "TBPers.htm",
              "<DIV id=Layer0>%Title%</DIV><DIV id=Layer1>%Portrait% %Flag% %Land%</DIV>"
              "<DIV id=Layer2>%Content%</DIV>");
    WriteFile(htmlFolder + "TBPlain.htm",
              "<DIV id=Layer0>%Title%</DIV><DIV id=Layer2>%Content%</DIV>");
}

// Templates with every placeholder twice, so that a test sees all of them replaced.
inline void WriteArticleTemplates(const std::string& htmlFolder) {
    WriteFile(htmlFolder + "TBChronik.htm",
              "<H1>%Title%</H1>%Flag% %Map%<DIV>%Content%</DIV><I>%Title%</I>");
    WriteFile(htmlFolder + "TBPers.htm",
              "<H1>%Title%</H1>%Portrait%|%Flag%|%Land%<DIV>%Content%</DIV><I>%Title%</I>");
    WriteFile(htmlFolder + "TBPlain.htm", "<H1>%Title%</H1><DIV>%Content%</DIV><I>%Title%</I>");
}
