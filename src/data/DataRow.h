#pragma once
// The value rule of a Data row, which every reader of Data follows.

#include <cstdint>

#include "data/Variant.h"

class CRecordset;

// The value of the current Data row: STRVAL when it is not NULL, else NUMVAL (which may be
// NULL or 0). Throws CDBException without a current row.
CVariant DataValue(const CRecordset& data);
// The year of the current Data row: Jahr, 0 when it is NULL.
std::int16_t DataYear(const CRecordset& data);
// Whether a value stands for no value: empty, NULL, or a number equal to 0 (a text never).
bool IsNoValue(const CVariant& value);
