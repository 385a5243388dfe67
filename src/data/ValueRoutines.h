#pragma once
// The value routines every module uses to show, compare and sort field values.

#include <string>

#include "data/Variant.h"

// Text form of a field value: empty for empty and NULL, "%d"-style for integers, "%f" for
// floating values, the text for texts, "True"/"False", else the name of the kind.
std::string ToText(const CVariant& value);

// The value of a numeric variant (integers, booleans as -1, floating values) as a double;
// false and 0 for every other kind, texts and NULL included.
bool ToNumber(const CVariant& value, double& number);

// German display form of a number: six decimals at most, trailing zeros removed, "," as the
// decimal separator and "." between thousands (1234567.5 -> "1.234.567,5").
std::string FormatNumber(double value);

// Sort key of a UTF-8 text: upper-cased with the full Latin alphabet, then Ä -> A, Ü -> U,
// Ö -> O and ß -> SS. Keys compare byte by byte.
std::string SortKey(const std::string& text);

// Compares two field values: as numbers when both are numeric, by SortKey when neither is.
// False (no result) when one is numeric and the other is not.
bool CompareValues(const CVariant& a, const CVariant& b, int& result);
