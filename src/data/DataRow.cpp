#include "data/DataRow.h"

#include "data/Database.h"
#include "data/ValueRoutines.h"

CVariant DataValue(const CRecordset& data) {
    CVariant text = data.GetFieldValue("STRVAL");
    if (text.Type() != VT_NULL && text.Type() != VT_EMPTY) return text;
    return data.GetFieldValue("NUMVAL");
}

std::int16_t DataYear(const CRecordset& data) {
    CVariant year = data.GetFieldValue("Jahr");
    double number = 0.0;
    if (!ToNumber(year, number)) return 0;
    return static_cast<std::int16_t>(number);
}

bool IsNoValue(const CVariant& value) {
    if (value.IsEmpty()) return true;
    double number = 0.0;
    return ToNumber(value, number) && number == 0.0;
}
