#pragma once
// What the edition's graphs compare: the countries they follow and the world's average
// that they set beside them. The picture records describe the graphs with the same rules.

#include <map>
#include <vector>

#include "EditionBuild.h"

namespace edition {

// The population field the graphs choose their countries by, and the count they show.
inline constexpr int kPopulationField = 201;
inline constexpr int kGraphCountries = 10;
// The table pictures show the first countries of their ranking field.
inline constexpr int kTableRows = 20;

// Sizes of the pictures in pixels, for the image window on a screen of 1280 x 1024.
inline constexpr int kGraphWidth = 780, kGraphHeight = 480;
inline constexpr int kPanelWidth = 640, kPanelHeight = 420;
inline constexpr int kTableMinWidth = 600, kTableMaxWidth = 980;
inline constexpr int kPreviewHeight = 56;

// The most populous countries in the population field's ranking year, largest first.
std::vector<int> LargestCountries(const CFacts& facts, int count = kGraphCountries);

// The field whose values weight a field's world average (the average of the countries
// with values, as a sum over the world would give it: shares of GDP by GDP, hours per
// worker by workers, rates per head by population), or 0 where an average over countries
// means nothing: totals, exchange rates in national currencies, densities, levels relative
// to the United States.
int WorldWeightField(int field);
inline bool HasWorldAverage(int field) { return WorldWeightField(field) != 0; }

// The weighted world average of a field by year. A year counts only where the countries
// with a value and a weight hold at least three quarters of the weight of all countries
// with a weight, and number at least a third of the countries the field has in its
// ranking year (so the early years of a source with few countries are left out).
std::map<int, double> WorldAverage(const CFacts& facts, int field);

// The unit in a field's middle-length name: the text in its last parentheses
// ("Mrd. US-$, KKP" of "BIP (Mrd. US-$, KKP)"), or empty.
QString UnitOf(const QString& midi);

// The decimals that shown values of a field get, one count for all: four significant
// digits of their median, no more than the values have, and one at most for percentages,
// per mille and millions of one and more.
int ValueDecimals(const CFieldDef& def, const std::vector<double>& shown);

// Whether a country has a value of one of the indicators its panel shows over the years.
bool HasIndicators(const CFacts& facts, int landId);

// The field a group's table picture ranks its countries by: the group's first field with
// numbers, 0 when it has none.
int TableRankingField(const CFacts& facts, int group);

}  // namespace edition
