#include "text/GeneratedAlmanac.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "data/Database.h"
#include "data/SqlText.h"
#include "fixtures/FixtureAlmanac.h"
#include "text/SearchAlmanac.h"
#include "text/SearchIndex.h"

namespace {

// Common words carry the text; the rarer names and nouns are what users search for.
const char* const kCommon[]
    = {"der",    "die",   "das",    "und",   "in",     "den",       "von",     "zu",       "mit",
       "sich",   "des",   "auf",    "für",   "ist",    "im",        "dem",     "nicht",    "ein",
       "eine",   "als",   "auch",   "es",    "an",     "werden",    "aus",     "er",       "hat",
       "dass",   "sie",   "nach",   "wird",  "bei",    "einer",     "um",      "am",       "sind",
       "noch",   "wie",   "einem",  "über",  "einen",  "so",        "zum",     "war",      "haben",
       "nur",    "oder",  "aber",   "vor",   "zur",    "bis",       "mehr",    "durch",    "man",
       "sein",   "wurde", "sei",    "seit",  "unter",  "gegen",     "während", "zwischen", "wurden",
       "jedoch", "sowie", "heute",  "erste", "später", "große",     "neue",    "seine",    "ihre",
       "dieser", "damit", "wieder", "etwa",  "allem",  "zahlreiche"};
const char* const kNouns[] = {"Land",         "Stadt",          "Regierung",
                              "Bevölkerung",  "Wirtschaft",     "Geschichte",
                              "Krieg",        "Republik",       "Verfassung",
                              "Präsident",    "Parlament",      "Hauptstadt",
                              "Region",       "Grenze",         "Fluss",
                              "Gebirge",      "Küste",          "Insel",
                              "Handel",       "Industrie",      "Landwirtschaft",
                              "Export",       "Import",         "Währung",
                              "Sprache",      "Religion",       "Kirche",
                              "Kultur",       "Universität",    "Schule",
                              "Jahrhundert",  "Jahrzehnt",      "Reform",
                              "Revolution",   "Unabhängigkeit", "Kolonie",
                              "König",        "Kaiser",         "Dynastie",
                              "Partei",       "Wahl",           "Opposition",
                              "Minister",     "Armee",          "Vertrag",
                              "Bündnis",      "Organisation",   "Mitglied",
                              "Entwicklung",  "Wachstum",       "Armut",
                              "Bildung",      "Gesundheit",     "Klima",
                              "Niederschlag", "Temperatur",     "Wüste",
                              "Wald",         "Ebene",          "Hochland",
                              "Hafen",        "Eisenbahn",      "Straße",
                              "Flughafen",    "Energie",        "Erdöl",
                              "Erdgas",       "Kohle",          "Bergbau",
                              "Fischerei",    "Tourismus",      "Dienstleistung",
                              "Einwohner",    "Minderheit",     "Volksgruppe",
                              "Provinz",      "Bundesland",     "Kanton",
                              "Gemeinde",     "Verwaltung",     "Gericht",
                              "Gesetz",       "Steuer",         "Haushalt",
                              "Schulden",     "Inflation",      "Arbeitslosigkeit",
                              "Zeitung",      "Rundfunk",       "Literatur",
                              "Musik",        "Malerei",        "Architektur",
                              "Denkmal",      "Museum",         "Theater",
                              "Sport",        "Olympiade",      "Meisterschaft",
                              "Kathedrale",   "Burg",           "Schloss",
                              "Altstadt"};
const char* const kRare[] = {"Berlin",       "Mauer",      "Wien",
                             "Donau",        "Genf",       "Rhein",
                             "Paris",        "London",     "Rom",
                             "Papst",        "Moskau",     "Peking",
                             "Nil",          "Anden",      "Alpen",
                             "Sahara",       "Monsun",     "Vulkan",
                             "Erdbeben",     "Nationen",   "Vereinte",
                             "Europäische",  "Union",      "Atlantik",
                             "Pazifik",      "Mittelmeer", "Ostsee",
                             "Nordsee",      "Kalter",     "Weltkrieg",
                             "Kolonialzeit", "Mauerfall",  "Wiedervereinigung",
                             "Brandenburg",  "Habsburger", "Osmanen",
                             "Preußen",      "Bismarck",   "Napoleon",
                             "Karl",         "Friedrich",  "Elisabeth",
                             "Konrad",       "Adenauer",   "Brandt",
                             "Goethe",       "Schiller",   "Mozart",
                             "Beethoven",    "Kant",       "Luther",
                             "Gutenberg",    "Zuse",       "Einstein",
                             "Curie",        "Darwin"};

template <size_t N>
const char* Pick(std::mt19937& random, const char* const (&words)[N]) {
    return words[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}

std::string Sentence(std::mt19937& random) {
    std::uniform_int_distribution<int> length(6, 16);
    std::uniform_int_distribution<int> kind(0, 999);
    std::string s;
    const int n = length(random);
    for (int i = 0; i < n; ++i) {
        const int k = kind(random);
        // About one word in 400 is one of the rare ones: each of them turns up in a few per
        // cent of the articles.
        const char* word = k < 600   ? Pick(random, kCommon)
                           : k < 997 ? Pick(random, kNouns)
                                     : Pick(random, kRare);
        if (i == 0) {
            std::string first = word;
            if (first[0] >= 'a' && first[0] <= 'z') first[0] = static_cast<char>(first[0] - 32);
            s += first;
        } else {
            s += ' ';
            s += word;
        }
        if (k % 53 == 0) s += " " + std::to_string(1800 + k / 5);
        if (i + 1 < n && k % 13 == 0) s += ',';
    }
    return s + ". ";
}

std::string Stamp(const GeneratedAlmanacOptions& o) {
    return std::to_string(o.articles) + " " + std::to_string(o.minBytes) + " "
           + std::to_string(o.maxBytes) + " " + std::to_string(o.seed) + " "
           + std::to_string(o.searchIndex) + std::to_string(o.searchArticles) + " v2";
}

}  // namespace

std::string GeneratedAlmanacDirectory() {
    if (const char* dir = std::getenv("KOMPENDOR_SEARCH_BENCH_DIR")) return dir;
    return (std::filesystem::temp_directory_path() / "kompendor-search-bench").string();
}

std::string CreateGeneratedAlmanac(const std::string& dir, const GeneratedAlmanacOptions& o) {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(dir) / "Daten";
    const fs::path mdb = data / "Kompendor.mdb";
    const fs::path stampFile = data / "generated.txt";
    {
        std::ifstream in(stampFile);
        std::string stamp;
        std::getline(in, stamp);
        if (fs::exists(mdb) && stamp == Stamp(o)) return mdb.string();
    }
    fs::create_directories(data);
    if (o.searchArticles)
        CreateSearchAlmanac(data.string());
    else
        CreateFixtureAlmanac(data.string());
    CDatabase db;
    db.Open(mdb.string(), false, false, kAlmanacConnect);
    std::mt19937 random(o.seed);
    std::uniform_int_distribution<int> size(o.minBytes, o.maxBytes);
    std::uniform_int_distribution<int> typ(0, 99);
    db.Execute("BEGIN");
    for (int i = 0; i < o.articles; ++i) {
        const int t = typ(random);
        // Countries, persons, organisations, topics, glossary, help.
        const int kind = t < 15 ? 1 : t < 55 ? 2 : t < 70 ? 3 : t < 85 ? 4 : t < 97 ? 5 : 6;
        std::string title = std::string(Pick(random, kNouns)) + " " + Pick(random, kRare) + " "
                            + std::to_string(i + 1);
        std::string text;
        const size_t bytes = static_cast<size_t>(size(random));
        while (text.size() < bytes) text += Sentence(random);
        db.Execute(
            SqlFormat("INSERT INTO HTML VALUES (%d, %d, %d, '%s', NULL, 0, ';%d;', "
                      "'<P>%s</P>', '%s')",
                      100000 + i, kind, kind == 2 ? 2 + (i % 2) : 0, SqlQuote(title).c_str(),
                      100000 + i, SqlQuote(text).c_str(), SqlQuote(text).c_str()));
    }
    db.Execute("COMMIT");
    if (o.searchIndex) {
        CSearchIndex index;
        index.Build(db, "HTML", "ID", "SearchText");
        index.Save(db);
    }
    db.Close();
    std::ofstream(fs::path(dir) / "NOX.INI")
        << "[Setup]\nApp=Kompendor\n[Paths]\nUserData=" << (fs::path(dir) / "user/").string()
        << "\nUI=UI/\nMDB=Daten/Kompendor.mdb\nIMG=Daten/\nHTML=HTML/\n";
    std::ofstream(stampFile) << Stamp(o) << "\n";
    return mdb.string();
}
