#include "data/ValueRoutines.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "data/Utf8.h"

namespace {

std::string Printf(const char* format, auto... args) {
    char buffer[512];
    int n = std::snprintf(buffer, sizeof buffer, format, args...);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof buffer) return std::string(buffer, n);
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), format, args...);
    big.resize(static_cast<size_t>(n));
    return big;
}

// "%f" of the C library, but with a point whatever the process's numeric locale is (a Qt
// program runs in the user's locale, where printf would write a comma).
std::string FixedText(double value) {
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    if (result.ec != std::errc()) return Printf("%f", value);
    return std::string(buffer, result.ptr);
}

const char* KindName(std::uint16_t vt) {
    switch (vt) {
        case VT_EMPTY:
            return "VT_EMPTY";
        case VT_NULL:
            return "VT_NULL";
        case VT_I2:
            return "VT_I2";
        case VT_I4:
            return "VT_I4";
        case VT_R4:
            return "VT_R4";
        case VT_R8:
            return "VT_R8";
        case VT_CY:
            return "VT_CY";
        case VT_DATE:
            return "VT_DATE";
        case VT_BSTR:
            return "VT_BSTR";
        case VT_DISPATCH:
            return "VT_DISPATCH";
        case VT_ERROR:
            return "VT_ERROR";
        case VT_BOOL:
            return "VT_BOOL";
        case VT_VARIANT:
            return "VT_VARIANT";
        case VT_UNKNOWN:
            return "VT_UNKNOWN";
        case VT_DECIMAL:
            return "VT_DECIMAL";
        case VT_I1:
            return "VT_I1";
        case VT_UI1:
            return "VT_UI1";
        case VT_UI2:
            return "VT_UI2";
        case VT_UI4:
            return "VT_UI4";
        case VT_I8:
            return "VT_I8";
        case VT_UI8:
            return "VT_UI8";
        case VT_INT:
            return "VT_INT";
        case VT_UINT:
            return "VT_UINT";
        default:
            return "VT_UNKNOWN_TYPE";
    }
}

// Currency in its usual text form: up to four decimals, none when they are all zero.
std::string CurrencyText(std::int64_t scaled) {
    bool negative = scaled < 0;
    std::uint64_t magnitude
        = negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    std::string text = std::to_string(magnitude / 10000);
    unsigned fraction = static_cast<unsigned>(magnitude % 10000);
    if (fraction != 0) {
        std::string digits = Printf("%04u", fraction);
        while (!digits.empty() && digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return negative ? "-" + text : text;
}

// An OLE date as "%m %d %y": day 0 is 30 December 1899.
std::string DateText(double oleDate) {
    // Days from 1970-01-01 back to 1899-12-30.
    constexpr double kOleEpochToUnix = 25569.0;
    double days = std::floor(oleDate);
    std::time_t seconds = static_cast<std::time_t>((days - kOleEpochToUnix) * 86400.0);
    std::tm tm{};
    if (!gmtime_r(&seconds, &tm)) return {};
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%m %d %y", &tm);
    return buffer;
}

}  // namespace

std::string ToText(const CVariant& value) {
    std::uint16_t vt = value.Type();
    switch (vt) {
        case VT_EMPTY:
        case VT_NULL:
            return {};
        case VT_I2:
            return Printf("%hd", static_cast<short>(value.Integer()));
        case VT_I4:
            return Printf("%d", static_cast<int>(value.Integer()));
        case VT_UI1:
            return Printf("%u", static_cast<unsigned>(value.Integer()));
        case VT_R4:
        case VT_R8:
            return FixedText(value.Real());
        case VT_CY:
            return CurrencyText(value.Integer());
        case VT_DATE:
            return DateText(value.Real());
        case VT_BSTR:
            return value.Text();
        case VT_BOOL:
            return value.Integer() ? "True" : "False";
        default:
            break;
    }
    std::string prefix;
    if (vt & VT_ARRAY) prefix += "Array of ";
    if (vt & VT_BYREF) prefix += "Pointer to ";
    return prefix + KindName(vt & ~(VT_ARRAY | VT_BYREF));
}

bool ToNumber(const CVariant& value, double& number) {
    number = 0.0;
    switch (value.Type()) {
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_BOOL:
            number = static_cast<double>(value.Integer());
            return true;
        case VT_R4:
        case VT_R8:
            number = value.Real();
            return true;
        default:
            return false;
    }
}

std::string FormatNumber(double value) {
    std::string text = FixedText(value);
    bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    size_t point = text.find('.');
    if (point != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') {
            text.pop_back();
            point = std::string::npos;
        } else {
            text[point] = ',';
        }
    }
    size_t end = point == std::string::npos ? text.size() : point;
    for (size_t pos = end; pos > 3;) {
        pos -= 3;
        text.insert(pos, 1, '.');
    }
    return negative ? "-" + text : text;
}

std::string SortKey(const std::string& text) {
    std::string upper;
    upper.reserve(text.size() + 4);
    for (size_t i = 0; i < text.size();) {
        bool valid = true;
        size_t start = i;
        char32_t c = utf8::Next(text, i, valid);
        if (!valid) {
            upper += text[start];
            continue;
        }
        // Umlauts sort with their base letters and ß as SS, after upper-casing.
        switch (char32_t u = utf8::UpperLatin(c)) {
            case 0xC4:
                upper += 'A';
                break;  // Ä
            case 0xDC:
                upper += 'U';
                break;  // Ü
            case 0xD6:
                upper += 'O';
                break;  // Ö
            case 0xDF:
                upper += "SS";
                break;  // ß
            default:
                utf8::Append(upper, u);
        }
    }
    return upper;
}

bool CompareValues(const CVariant& a, const CVariant& b, int& result) {
    double x = 0.0;
    double y = 0.0;
    bool aNumeric = ToNumber(a, x);
    bool bNumeric = ToNumber(b, y);
    if (aNumeric && bNumeric) {
        result = x < y ? -1 : (x > y ? 1 : 0);
        return true;
    }
    if (aNumeric != bNumeric) return false;
    int c = SortKey(ToText(a)).compare(SortKey(ToText(b)));
    result = c < 0 ? -1 : (c > 0 ? 1 : 0);
    return true;
}
