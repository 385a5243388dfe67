#pragma once
// An almanac of the sample edition's expected size for the search and list benchmarks: the
// fixture almanac's tables with, by default, 2,000 generated articles of 2 to 10 KB of German
// text each (types 1 to 6 in roughly the edition's mix), every text in Content and SearchText.
// Deterministic: the same seed writes the same file. Words of the queries measured ("Berlin",
// "Mauer", "Wien", "Donau", "Genf", ...) occur in a few per cent of the articles.

#include <string>

struct GeneratedAlmanacOptions {
    int articles = 2000;
    int minBytes = 2000;
    int maxBytes = 10000;
    unsigned seed = 2004;
    // Whether the almanac carries the stored search index, as an edition can.
    bool searchIndex = false;
    // Whether the almanac starts from the search almanac (SearchAlmanac.h) rather than the
    // plain fixture almanac.
    bool searchArticles = false;
};

// Writes the almanac as dir/Daten/Kompendor.mdb together with a NOX.INI in dir, unless that
// file exists already with the same options; returns the path of the almanac.
std::string CreateGeneratedAlmanac(const std::string& dir,
                                   const GeneratedAlmanacOptions& options = {});

// The folder the benchmarks keep it in: KOMPENDOR_SEARCH_BENCH_DIR, or a folder below the
// system's temporary folder.
std::string GeneratedAlmanacDirectory();
