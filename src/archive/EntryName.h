#pragma once
// Member names: their conversion when the central directory is read, and how they compare.

#include <string>
#include <string_view>

// The name as the reader keeps it: UTF-8 and "/" between folders. A name flagged as UTF-8,
// or one that is valid UTF-8 anyway (Info-ZIP does not flag its UTF-8 names), stays as it
// is; any other is taken as code page 437, the OEM code page of DOS and Windows zippers.
// A "\" that a Windows zipper left between folders becomes "/".
std::string ConvertEntryName(std::string_view raw, bool flaggedUtf8);

// A requested name in the form of the stored ones: every "\" becomes "/".
std::string NormaliseRequestedName(std::string_view name);

// Compares two names ignoring case, for ASCII letters and the Latin-1 letters with accents
// and umlauts; <0, 0 or >0 like strcmp, on the lower-case forms.
int CompareEntryNames(std::string_view a, std::string_view b) noexcept;
