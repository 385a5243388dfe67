#include "data/Variant.h"

#include <utility>

namespace {

CVariant Make(std::uint16_t vt) { return CVariant::OfKind(vt); }

}  // namespace

CVariant CVariant::OfKind(std::uint16_t vt) {
    CVariant v;
    v.m_type = vt;
    return v;
}

CVariant CVariant::Null() { return Make(VT_NULL); }

CVariant CVariant::FromShort(std::int16_t value) {
    CVariant v = Make(VT_I2);
    v.m_int = value;
    return v;
}

CVariant CVariant::FromLong(std::int32_t value) {
    CVariant v = Make(VT_I4);
    v.m_int = value;
    return v;
}

CVariant CVariant::FromByte(std::uint8_t value) {
    CVariant v = Make(VT_UI1);
    v.m_int = value;
    return v;
}

CVariant CVariant::FromChar(std::int8_t value) {
    CVariant v = Make(VT_I1);
    v.m_int = value;
    return v;
}

CVariant CVariant::FromUShort(std::uint16_t value) {
    CVariant v = Make(VT_UI2);
    v.m_int = value;
    return v;
}

CVariant CVariant::FromULong(std::uint32_t value) {
    CVariant v = Make(VT_UI4);
    v.m_int = value;
    return v;
}

CVariant CVariant::FromInt64(std::int64_t value) {
    CVariant v = Make(VT_I8);
    v.m_int = value;
    return v;
}

CVariant CVariant::FromFloat(float value) {
    CVariant v = Make(VT_R4);
    v.m_real = value;
    return v;
}

CVariant CVariant::FromDouble(double value) {
    CVariant v = Make(VT_R8);
    v.m_real = value;
    return v;
}

CVariant CVariant::FromBool(bool value) {
    CVariant v = Make(VT_BOOL);
    v.m_int = value ? -1 : 0;
    return v;
}

CVariant CVariant::FromCurrency(std::int64_t scaledBy10000) {
    CVariant v = Make(VT_CY);
    v.m_int = scaledBy10000;
    return v;
}

CVariant CVariant::FromDate(double oleDate) {
    CVariant v = Make(VT_DATE);
    v.m_real = oleDate;
    return v;
}

CVariant CVariant::FromText(std::string text) {
    CVariant v = Make(VT_BSTR);
    v.m_text = std::move(text);
    return v;
}
