#include "data/RowReader.h"

#include <cctype>
#include <cstring>
#include <string>

#include "data/DbStatement.h"

namespace dbdetail {
namespace {

constexpr bool Fits(std::int64_t v, std::int64_t low, std::int64_t high) {
    return v >= low && v <= high;
}

}  // namespace

DeclKind KindOfDeclared(const char* declared) {
    if (!declared) return DeclKind::None;
    std::string word;
    for (const char* p = declared; *p && !std::isspace(static_cast<unsigned char>(*p)) && *p != '(';
         ++p)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    static const struct {
        const char* name;
        DeclKind kind;
    } kNames[] = {
        {"LONG", DeclKind::I4},       {"INTEGER", DeclKind::I4},       {"INT", DeclKind::I4},
        {"COUNTER", DeclKind::I4},    {"AUTOINCREMENT", DeclKind::I4}, {"MEDIUMINT", DeclKind::I4},
        {"SHORT", DeclKind::I2},      {"SMALLINT", DeclKind::I2},      {"INTEGER2", DeclKind::I2},
        {"BYTE", DeclKind::UI1},      {"TINYINT", DeclKind::UI1},      {"BIGINT", DeclKind::I4},
        {"INTEGER8", DeclKind::I4},   {"DOUBLE", DeclKind::R8},        {"REAL", DeclKind::R8},
        {"FLOAT", DeclKind::R8},      {"NUMERIC", DeclKind::R8},       {"DECIMAL", DeclKind::R8},
        {"NUMBER", DeclKind::R8},     {"SINGLE", DeclKind::R4},        {"TEXT", DeclKind::Text},
        {"MEMO", DeclKind::Text},     {"VARCHAR", DeclKind::Text},     {"CHAR", DeclKind::Text},
        {"NVARCHAR", DeclKind::Text}, {"NCHAR", DeclKind::Text},       {"LONGTEXT", DeclKind::Text},
        {"CLOB", DeclKind::Text},     {"STRING", DeclKind::Text},      {"BIT", DeclKind::Bool},
        {"YESNO", DeclKind::Bool},    {"BOOLEAN", DeclKind::Bool},     {"LOGICAL", DeclKind::Bool},
    };
    for (const auto& entry : kNames) {
        if (word == entry.name) return entry.kind;
    }
    return DeclKind::None;
}

Cell RowReader::Read(sqlite3_stmt* stmt, int column) {
    Cell cell;
    cell.integer = 0;
    cell.length = 0;
    DeclKind kind = kinds[column];
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL:
            cell.vt = VT_NULL;
            return cell;
        case SQLITE_INTEGER: {
            std::int64_t v = sqlite3_column_int64(stmt, column);
            switch (kind) {
                case DeclKind::R8:
                    cell.vt = VT_R8;
                    cell.real = static_cast<double>(v);
                    return cell;
                case DeclKind::R4:
                    cell.vt = VT_R4;
                    cell.real = static_cast<double>(static_cast<float>(v));
                    return cell;
                case DeclKind::Bool:
                    cell.vt = VT_BOOL;
                    cell.integer = v ? -1 : 0;
                    return cell;
                case DeclKind::Text:
                    return ReadText(stmt, column);
                case DeclKind::I2:
                    if (Fits(v, -32768, 32767)) {
                        cell.vt = VT_I2;
                        cell.integer = v;
                        return cell;
                    }
                    break;
                case DeclKind::UI1:
                    if (Fits(v, 0, 255)) {
                        cell.vt = VT_UI1;
                        cell.integer = v;
                        return cell;
                    }
                    break;
                default:
                    break;
            }
            // A long, or a number too large for its declared kind: kept whole, as a double
            // when it does not fit a long (the program has no 64-bit integers).
            if (Fits(v, INT32_MIN, INT32_MAX)) {
                cell.vt = VT_I4;
                cell.integer = v;
            } else {
                cell.vt = VT_R8;
                cell.real = static_cast<double>(v);
            }
            return cell;
        }
        case SQLITE_FLOAT: {
            double v = sqlite3_column_double(stmt, column);
            if (kind == DeclKind::Text) return ReadText(stmt, column);
            if (kind == DeclKind::Bool) {
                cell.vt = VT_BOOL;
                cell.integer = v != 0.0 ? -1 : 0;
                return cell;
            }
            cell.vt = kind == DeclKind::R4 ? VT_R4 : VT_R8;
            cell.real = kind == DeclKind::R4 ? static_cast<double>(static_cast<float>(v)) : v;
            return cell;
        }
        case SQLITE_TEXT:
            return ReadText(stmt, column);
        default:
            cell.vt = VT_ARRAY | VT_UI1;
            return cell;
    }
}

Cell RowReader::ReadText(sqlite3_stmt* stmt, int column) {
    Cell cell;
    cell.vt = VT_BSTR;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    size_t length = static_cast<size_t>(sqlite3_column_bytes(stmt, column));
    if (length > UINT32_MAX) Fail("Text too long.");
    std::string_view& last = lastText[column];
    if (length == 0) {
        // Empty texts share one static string; memcmp must not see a null pointer.
        cell.text = "";
    } else if (text && last.size() == length && std::memcmp(last.data(), text, length) == 0) {
        cell.text = last.data();
    } else {
        cell.text = arena->Add(text ? text : "", length);
        last = std::string_view(cell.text, length);
    }
    cell.length = static_cast<std::uint32_t>(length);
    return cell;
}

CVariant VariantOf(const Cell& cell) {
    switch (cell.vt) {
        case VT_NULL:
            return CVariant::Null();
        case VT_I2:
            return CVariant::FromShort(static_cast<std::int16_t>(cell.integer));
        case VT_I4:
            return CVariant::FromLong(static_cast<std::int32_t>(cell.integer));
        case VT_UI1:
            return CVariant::FromByte(static_cast<std::uint8_t>(cell.integer));
        case VT_I8:
            return CVariant::FromInt64(cell.integer);
        case VT_R8:
            return CVariant::FromDouble(cell.real);
        case VT_R4:
            return CVariant::FromFloat(static_cast<float>(cell.real));
        case VT_BOOL:
            return CVariant::FromBool(cell.integer != 0);
        case VT_BSTR:
            return CVariant::FromText(std::string(cell.text, cell.length));
        default:
            return CVariant::OfKind(cell.vt);
    }
}

CJetValue JetValueOf(const Cell& cell) {
    CJetValue value;
    switch (cell.vt) {
        case VT_NULL:
            break;
        case VT_I2:
        case VT_I4:
        case VT_UI1:
        case VT_I8:
        case VT_BOOL:
            value.kind = CJetValue::Number;
            value.number = static_cast<double>(cell.integer);
            break;
        case VT_R8:
        case VT_R4:
            value.kind = CJetValue::Number;
            value.number = cell.real;
            break;
        case VT_BSTR:
            value.kind = CJetValue::Text;
            value.text = std::string_view(cell.text, cell.length);
            break;
        default:
            value.kind = CJetValue::Other;
            break;
    }
    return value;
}

}  // namespace dbdetail
