#pragma once
// The fixture almanac with the articles the search, the list window and the navigation panels
// are tested on, added to its tables (the fixture's own rows stay as they are):
//
// HTML (ID, Typ, SubTyp, Title; SearchText in SearchAlmanac.cpp):
//   2001 Berlin (1), 2002 Mauerfall (3), 2003 Brandenburg (1), 2004 Chinesische Mauer (5),
//   2005 Rhein (6), 2006 Donau (6), 2007 Main-Donau-Kanal (5), 2008 UNO (3), 2009 UNESCO (3),
//   2010 IAEO (3), 2011 Rom (1), 2012 Vatikan (1, its text ends with "Rom"), 2013 Romantik (5),
//   2014 Avignon (6), 2015 Dromedar (6), 2016 "Brandt, Willy" (2/2), 2017 Leerartikel (5,
//   SearchText NULL), 2018 "Adenauer, Konrad" (2/3), 2019 "Zuse, Konrad" (2/3),
//   200000 Hilfe (6, the help article with the anchor "volltextsuche").
// Nav1: below Europa > Deutschland > Geschichte (3) the node 6 Mauerfall (2002), four levels
//   deep; 7 Berlin (2001) below Deutschland with 8 "Berlin: Die Mauer" (2001, Link "mauer")
//   below it; top-level 9 Asien and 10 Amerika.
// Nav3: 3 Vereinte Nationen with 4 UNO (2008) and 5 IAEO (2010) below it.
// Nav4: 3 Religion with 4 Vatikan (2012) below it.
// Nav6: 4 Volltextsuche (200000, Link "volltextsuche").

#include <string>

namespace search_fixture {
inline constexpr long kBerlin = 2001;
inline constexpr long kMauerfall = 2002;
inline constexpr long kBrandenburg = 2003;
inline constexpr long kUno = 2008;
inline constexpr long kVatikan = 2012;
inline constexpr long kBrandt = 2016;
inline constexpr long kHilfe = 200000;
}  // namespace search_fixture

// Writes the fixture almanac with these rows into dir and returns its path.
std::string CreateSearchAlmanac(const std::string& dir);
