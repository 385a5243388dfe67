#include "text/SearchAlmanac.h"

#include "data/Database.h"
#include "data/SqlText.h"
#include "fixtures/FixtureAlmanac.h"

namespace {

struct Article {
    long id;
    int typ;
    int subTyp;
    const char* title;
    const char* searchText;  // null: NULL
};

const Article kArticles[] = {
    {2001, 1, 0, "Berlin", "Berlin Hauptstadt Deutschlands. Die Mauer teilte die Stadt bis 1989."},
    {2002, 3, 0, "Mauerfall", "Am 9. November 1989 fiel die Berliner Mauer."},
    {2003, 1, 0, "Brandenburg", "Land rund um Berlin mit der Hauptstadt Potsdam."},
    {2004, 5, 0, "Chinesische Mauer", "Grenzwall in China, die längste Mauer der Welt."},
    {2005, 6, 0, "Rhein",
     "Der Rhein fließt von der Schweiz zur Nordsee, vorbei an Mainz und Köln."},
    {2006, 6, 0, "Donau",
     "Die Donau fließt von Donaueschingen bis zum Schwarzen Meer, durch Wien."},
    {2007, 5, 0, "Main-Donau-Kanal", "Der Kanal verbindet Main und Donau."},
    {2008, 3, 0, "UNO",
     "Die Organisation Vereinte Nationen hat ihren Sitz in New York und Büros in Genf."},
    {2009, 3, 0, "UNESCO", "Sonderorganisation der vereinte nationen mit Sitz in Paris."},
    {2010, 3, 0, "IAEO", "Atombehörde der Vereinte Nationen in Wien."},
    {2011, 1, 0, "Rom", "Rom ist die Hauptstadt Italiens und Sitz des Papstes."},
    {2012, 1, 0, "Vatikan", "Der Papst residiert im kleinsten Staat der Welt, mitten in Rom"},
    {2013, 5, 0, "Romantik", "Romantik, Epoche der Kunst und Literatur um 1800."},
    {2014, 6, 0, "Avignon", "Im 14. Jahrhundert residierte der Papst in Avignon."},
    {2015, 6, 0, "Dromedar", "Dromedar Kamel mit einem Höcker."},
    {2016, 2, 2, "Brandt, Willy",
     "Bundeskanzler, Regierender Bürgermeister von Berlin zur Zeit des Mauerbaus."},
    {2017, 5, 0, "Leerartikel", nullptr},
    {2018, 2, 3, "Adenauer, Konrad", "Erster Bundeskanzler der Bundesrepublik."},
    {2019, 2, 3, "Zuse, Konrad", "Erbauer des ersten Computers."},
    {200000, 6, 0, "Hilfe", "Hilfe zur Volltextsuche mit UND, ODER und NICHT."},
};

struct Node {
    const char* table;
    long id;
    long pid;
    const char* title;
    long htmlId;
    const char* link;  // null: NULL
};

const Node kNodes[] = {
    {"Nav1", 6, 3, "Mauerfall", 2002, nullptr},
    {"Nav1", 7, 2, "Berlin", 2001, nullptr},
    {"Nav1", 8, 7, "Berlin: Die Mauer", 2001, "mauer"},
    {"Nav1", 9, 0, "Asien", 0, nullptr},
    {"Nav1", 10, 0, "Amerika", 0, nullptr},
    {"Nav3", 3, 0, "Vereinte Nationen", 0, nullptr},
    {"Nav3", 4, 3, "UNO", 2008, nullptr},
    {"Nav3", 5, 3, "IAEO", 2010, nullptr},
    {"Nav4", 3, 0, "Religion", 0, nullptr},
    {"Nav4", 4, 3, "Vatikan", 2012, nullptr},
    {"Nav6", 4, 0, "Volltextsuche", 200000, "volltextsuche"},
};

std::string Text(const char* text) { return text ? "'" + SqlQuote(text) + "'" : "NULL"; }

}  // namespace

std::string CreateSearchAlmanac(const std::string& dir) {
    const std::string path = CreateFixtureAlmanac(dir);
    CDatabase db;
    db.Open(path, false, false, kAlmanacConnect);
    db.Execute("BEGIN");
    for (const Article& a : kArticles) {
        const std::string content = std::string("<H1>") + a.title + "</H1><P><A name=\"" + "mauer"
                                    + "\"></A>" + (a.searchText ? a.searchText : "") + "</P>";
        db.Execute(SqlFormat("INSERT INTO HTML VALUES (%ld, %d, %d, %s, NULL, 0, ';%ld;', %s, %s)",
                             a.id, a.typ, a.subTyp, Text(a.title).c_str(), a.id,
                             Text(content.c_str()).c_str(), Text(a.searchText).c_str()));
    }
    for (const Node& n : kNodes) {
        db.Execute(SqlFormat("INSERT INTO %s VALUES (%ld, %ld, %s, %ld, %s)", n.table, n.id, n.pid,
                             Text(n.title).c_str(), n.htmlId, Text(n.link).c_str()));
    }
    db.Execute("COMMIT");
    db.Close();
    return path;
}
