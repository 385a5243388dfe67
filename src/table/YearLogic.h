#pragma once
// Which years and values the almanac holds for a data field: the questions the table cells,
// the cell information and the world map ask before they show a field. Every function reads
// the almanac in a guarded block, reports a database failure with its context
// ("CMainWnd::hasYears", ...) and then answers with the stated default.

#include <cstdint>
#include <vector>

#include "table/TableHost.h"

class CDatabase;

// The year used wherever a year is needed and the almanac gives none: the edition's latest
// year with data (NOX.INI, Setup/Jahr), which the main window hands down when it starts;
// kDefaultReferenceYear until then.
inline constexpr unsigned kDefaultReferenceYear = 2002;
unsigned ReferenceYear();
// Sets the reference year; 0 restores the default.
void SetReferenceYear(unsigned year);

// Removes from dataIds, keeping the order of the rest, every data-field ID without a Data
// row. False when the almanac could not be read (the list then keeps the IDs not yet
// checked); a null database leaves the list as it is and gives false.
bool ValidateDataIDs(CDatabase* db, IdList& dataIds);

// Whether the newest Data row of the pair has a year (Jahr not NULL); false without a row.
bool hasYears(CDatabase* db, std::int32_t landId, std::int32_t valId);
// The pair's years, newest first (rows without a year left out). Empties years first; true
// when at least two were found.
bool CollectYears(CDatabase* db, std::int32_t landId, std::int32_t valId,
                  std::vector<unsigned>& years);

// Whether the field's year list (ValJahre.JahresList) is longer than two characters.
bool hasYears(CDatabase* db, std::int32_t valId);
// The years of the field's year list, newest first; a piece that is no number counts as 0.
// Empties years first; true when at least two resulted. A field without a year list is a
// read failure: reported, and the list stays empty.
bool CollectYears(CDatabase* db, std::int32_t valId, std::vector<unsigned>& years);
// The newest year of the field's year list when it holds at least two, else ReferenceYear().
unsigned GetLatestYear(CDatabase* db, std::int32_t valId);

// Whether the field can be projected on the world map (Val.MapView not NULL). A missing Val
// row is a read failure: reported, and the answer is false.
bool canShowMap(CDatabase* db, std::int32_t valId);
