#pragma once
// The field value of the almanac: a number, a text or empty, as read from the database.
// It keeps the OLE variant's type codes because ToText and ToNumber answer by type.

#include <cstdint>
#include <string>

enum VarType : std::uint16_t {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};

class CVariant {
public:
    // The empty variant.
    CVariant() = default;

    static CVariant Null();
    static CVariant FromShort(std::int16_t v);
    static CVariant FromLong(std::int32_t v);
    static CVariant FromByte(std::uint8_t v);
    static CVariant FromChar(std::int8_t v);
    static CVariant FromUShort(std::uint16_t v);
    static CVariant FromULong(std::uint32_t v);
    static CVariant FromInt64(std::int64_t v);
    static CVariant FromFloat(float v);
    static CVariant FromDouble(double v);
    static CVariant FromBool(bool v);
    // Currency in units of 1/10000, as OLE stores it.
    static CVariant FromCurrency(std::int64_t scaledBy10000);
    // An OLE date: days since 30 December 1899, the fraction being the time of day.
    static CVariant FromDate(double oleDate);
    // UTF-8 text.
    static CVariant FromText(std::string text);
    // A variant of any other kind (error, object, array, reference) that carries no value
    // the program reads; ToText names its kind.
    static CVariant OfKind(std::uint16_t vt);

    std::uint16_t Type() const { return m_type; }
    // True for the empty variant and for SQL NULL.
    bool IsEmpty() const { return m_type == VT_EMPTY || m_type == VT_NULL; }
    bool IsText() const { return m_type == VT_BSTR; }

    // The integer of the integer and boolean kinds (booleans as -1 and 0), the currency's
    // scaled value; 0 for other kinds.
    std::int64_t Integer() const { return m_int; }
    // The value of the floating and date kinds; 0 for other kinds.
    double Real() const { return m_real; }
    // The text of a text variant; empty for other kinds.
    const std::string& Text() const { return m_text; }

    friend bool operator==(const CVariant& a, const CVariant& b) = default;

private:
    std::uint16_t m_type = VT_EMPTY;
    std::int64_t m_int = 0;
    double m_real = 0.0;
    std::string m_text;
};
