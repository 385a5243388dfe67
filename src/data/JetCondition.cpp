#include "data/JetCondition.h"

#include <cctype>
#include <charconv>
#include <optional>

#include <sqlite3.h>

#include "data/DBException.h"
#include "data/JetLike.h"
#include "data/ValueRoutines.h"

namespace {

enum class Tri : unsigned char { False, True, Unknown };

Tri Not(Tri a) {
    if (a == Tri::Unknown) return a;
    return a == Tri::True ? Tri::False : Tri::True;
}

enum class TokenType { End, Name, Number, Text, Op, LParen, RParen };

struct Token {
    TokenType type = TokenType::End;
    std::string text;  // name, text literal (unquoted) or operator
    double number = 0.0;
};

[[noreturn]] void SyntaxError(std::string_view criteria) {
    throw CDBException("Syntax error in criteria expression '" + std::string(criteria) + "'.",
                       SQLITE_ERROR);
}

bool IsNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsNameChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '.' || c >= 0x80; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i]))
            != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::vector<Token> Tokenize(std::string_view criteria) {
    std::vector<Token> tokens;
    size_t i = 0;
    const size_t n = criteria.size();
    while (i < n) {
        auto c = static_cast<unsigned char>(criteria[i]);
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        Token token;
        if (c == '(' || c == ')') {
            token.type = c == '(' ? TokenType::LParen : TokenType::RParen;
            ++i;
        } else if (c == '\'' || c == '"') {
            // A quote inside a text is written twice.
            token.type = TokenType::Text;
            ++i;
            bool closed = false;
            while (i < n) {
                if (criteria[i] == static_cast<char>(c)) {
                    if (i + 1 < n && criteria[i + 1] == static_cast<char>(c)) {
                        token.text += criteria[i];
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                token.text += criteria[i++];
            }
            if (!closed) SyntaxError(criteria);
        } else if (std::isdigit(c) || c == '.'
                   || ((c == '-' || c == '+') && i + 1 < n
                       && (std::isdigit(static_cast<unsigned char>(criteria[i + 1]))
                           || criteria[i + 1] == '.'))) {
            // A sign belongs to the number only where an operand is expected.
            bool operandExpected = tokens.empty() || tokens.back().type == TokenType::Op
                                   || tokens.back().type == TokenType::LParen
                                   || (tokens.back().type == TokenType::Name
                                       && (EqualsNoCase(tokens.back().text, "AND")
                                           || EqualsNoCase(tokens.back().text, "OR")
                                           || EqualsNoCase(tokens.back().text, "NOT")
                                           || EqualsNoCase(tokens.back().text, "LIKE")));
            if ((c == '-' || c == '+') && !operandExpected) SyntaxError(criteria);
            std::string number(criteria.substr(i, 1));
            size_t j = i + 1;
            while (j < n
                   && (std::isdigit(static_cast<unsigned char>(criteria[j])) || criteria[j] == '.'
                       || criteria[j] == 'e' || criteria[j] == 'E'
                       || ((criteria[j] == '-' || criteria[j] == '+')
                           && (criteria[j - 1] == 'e' || criteria[j - 1] == 'E')))) {
                number += criteria[j++];
            }
            // Independent of the process's numeric locale, unlike strtod.
            token.type = TokenType::Number;
            const char* first = number.c_str();
            const char* last = first + number.size();
            if (*first == '+') ++first;
            auto parsed = std::from_chars(first, last, token.number);
            if (parsed.ec != std::errc() || parsed.ptr != last) SyntaxError(criteria);
            // "12abc" is neither a number nor a name.
            if (j < n && IsNameChar(static_cast<unsigned char>(criteria[j]))) SyntaxError(criteria);
            i = j;
        } else if (c == '[') {
            // A bracketed field name may hold blanks and other characters.
            size_t close = criteria.find(']', i + 1);
            if (close == std::string_view::npos || close == i + 1) SyntaxError(criteria);
            token.type = TokenType::Name;
            token.text = std::string(criteria.substr(i + 1, close - i - 1));
            i = close + 1;
            // "[Data].[LandID]": the table in front does not matter.
            if (i + 1 < n && criteria[i] == '.' && criteria[i + 1] == '[') {
                ++i;
                continue;
            }
        } else if (IsNameStart(c)) {
            size_t j = i;
            while (j < n && IsNameChar(static_cast<unsigned char>(criteria[j]))) ++j;
            token.type = TokenType::Name;
            token.text = std::string(criteria.substr(i, j - i));
            // "Data.LandID": the table in front does not matter.
            size_t dot = token.text.rfind('.');
            if (dot != std::string::npos) token.text.erase(0, dot + 1);
            if (token.text.empty()) SyntaxError(criteria);
            i = j;
        } else if (c == '=' || c == '<' || c == '>') {
            token.type = TokenType::Op;
            token.text = std::string(1, static_cast<char>(c));
            ++i;
            if (i < n && c == '<' && (criteria[i] == '>' || criteria[i] == '=')) {
                token.text += criteria[i++];
            } else if (i < n && c == '>' && criteria[i] == '=') {
                token.text += criteria[i++];
            }
        } else {
            SyntaxError(criteria);
        }
        tokens.push_back(std::move(token));
    }
    tokens.push_back(Token{});
    return tokens;
}

enum class NodeKind { And, Or, Not, Compare, Like, IsNull };
enum class CompareOp { Eq, Ne, Lt, Gt, Le, Ge };

// An operand: a field (column >= 0) or a literal.
struct Operand {
    int column = -1;
    CJetValue::Kind kind = CJetValue::Null;
    double number = 0.0;
    std::string text;
    std::string key;  // SortKey of a text literal
};

struct Node {
    explicit Node(NodeKind k) : kind(k) {}

    NodeKind kind;
    CompareOp op = CompareOp::Eq;
    bool negated = false;  // NOT LIKE, IS NOT NULL
    Operand left;
    Operand right;
    std::unique_ptr<CJetPattern> pattern;  // a LIKE with a literal pattern
    std::vector<int> children;
};

// Text form of a number for LIKE on a numeric field: integers without decimals, others in
// their shortest exact form, with a point in every locale.
std::string NumberText(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ec == std::errc() ? result.ptr : buffer);
}

}  // namespace

struct CJetCondition::Impl {
    std::vector<Node> nodes;
    int root = -1;

    // Parser state.
    std::string_view criteria;
    std::vector<Token> tokens;
    size_t pos = 0;
    const std::function<int(std::string_view)>* fieldIndex = nullptr;

    const Token& Peek() const { return tokens[pos]; }
    bool PeekKeyword(const char* word) const {
        return Peek().type == TokenType::Name && EqualsNoCase(Peek().text, word);
    }
    bool TakeKeyword(const char* word) {
        if (!PeekKeyword(word)) return false;
        ++pos;
        return true;
    }
    int Add(Node node) {
        nodes.push_back(std::move(node));
        return static_cast<int>(nodes.size()) - 1;
    }

    int ParseOr();
    int ParseAnd();
    int ParseNot();
    int ParsePredicate();
    Operand ParseOperand();

    Tri Eval(int index, const RowReader& row) const;
    CJetValue Value(const Operand& operand, const RowReader& row) const;
};

int CJetCondition::Impl::ParseOr() {
    int first = ParseAnd();
    if (!PeekKeyword("OR")) return first;
    Node node{NodeKind::Or};
    node.children.push_back(first);
    while (TakeKeyword("OR")) node.children.push_back(ParseAnd());
    return Add(std::move(node));
}

int CJetCondition::Impl::ParseAnd() {
    int first = ParseNot();
    if (!PeekKeyword("AND")) return first;
    Node node{NodeKind::And};
    node.children.push_back(first);
    while (TakeKeyword("AND")) node.children.push_back(ParseNot());
    return Add(std::move(node));
}

int CJetCondition::Impl::ParseNot() {
    if (TakeKeyword("NOT")) {
        Node node{NodeKind::Not};
        node.children.push_back(ParseNot());
        return Add(std::move(node));
    }
    return ParsePredicate();
}

Operand CJetCondition::Impl::ParseOperand() {
    const Token& token = Peek();
    Operand operand;
    switch (token.type) {
        case TokenType::Number:
            operand.kind = CJetValue::Number;
            operand.number = token.number;
            break;
        case TokenType::Text:
            operand.kind = CJetValue::Text;
            operand.text = token.text;
            operand.key = SortKey(token.text);
            break;
        case TokenType::Name:
            if (EqualsNoCase(token.text, "NULL")) {
                operand.kind = CJetValue::Null;
            } else if (EqualsNoCase(token.text, "TRUE") || EqualsNoCase(token.text, "FALSE")) {
                // Jet's True is -1.
                operand.kind = CJetValue::Number;
                operand.number = EqualsNoCase(token.text, "TRUE") ? -1.0 : 0.0;
            } else if (EqualsNoCase(token.text, "AND") || EqualsNoCase(token.text, "OR")
                       || EqualsNoCase(token.text, "NOT") || EqualsNoCase(token.text, "LIKE")
                       || EqualsNoCase(token.text, "IS")) {
                SyntaxError(criteria);
            } else {
                operand.column = (*fieldIndex)(token.text);
                if (operand.column < 0) {
                    throw CDBException("Unknown field name '" + token.text + "' in criteria.",
                                       SQLITE_ERROR);
                }
            }
            break;
        default:
            SyntaxError(criteria);
    }
    ++pos;
    return operand;
}

int CJetCondition::Impl::ParsePredicate() {
    if (Peek().type == TokenType::LParen) {
        ++pos;
        int inner = ParseOr();
        if (Peek().type != TokenType::RParen) SyntaxError(criteria);
        ++pos;
        return inner;
    }
    Node node{NodeKind::Compare};
    node.left = ParseOperand();
    const Token& token = Peek();
    if (token.type == TokenType::Op) {
        static constexpr struct {
            const char* text;
            CompareOp op;
        } kOps[] = {{"=", CompareOp::Eq}, {"<>", CompareOp::Ne}, {"<", CompareOp::Lt},
                    {">", CompareOp::Gt}, {"<=", CompareOp::Le}, {">=", CompareOp::Ge}};
        for (const auto& entry : kOps) {
            if (token.text == entry.text) node.op = entry.op;
        }
        ++pos;
        node.right = ParseOperand();
        return Add(std::move(node));
    }
    if (TakeKeyword("IS")) {
        node.kind = NodeKind::IsNull;
        node.negated = TakeKeyword("NOT");
        if (!TakeKeyword("NULL")) SyntaxError(criteria);
        return Add(std::move(node));
    }
    node.negated = TakeKeyword("NOT");
    if (!TakeKeyword("LIKE")) SyntaxError(criteria);
    node.kind = NodeKind::Like;
    node.right = ParseOperand();
    if (node.right.column < 0 && node.right.kind == CJetValue::Text) {
        node.pattern = std::make_unique<CJetPattern>(node.right.text);
        if (!node.pattern->Valid()) throw CDBException("Invalid pattern string.", SQLITE_ERROR);
    } else if (node.right.column < 0 && node.right.kind == CJetValue::Number) {
        node.pattern = std::make_unique<CJetPattern>(NumberText(node.right.number));
    }
    return Add(std::move(node));
}

CJetValue CJetCondition::Impl::Value(const Operand& operand, const RowReader& row) const {
    if (operand.column >= 0) return row(operand.column);
    CJetValue value;
    value.kind = operand.kind;
    value.number = operand.number;
    value.text = operand.text;
    return value;
}

Tri CJetCondition::Impl::Eval(int index, const RowReader& row) const {
    const Node& node = nodes[index];
    switch (node.kind) {
        case NodeKind::And: {
            Tri result = Tri::True;
            for (int child : node.children) {
                Tri t = Eval(child, row);
                if (t == Tri::False) return Tri::False;
                if (t == Tri::Unknown) result = Tri::Unknown;
            }
            return result;
        }
        case NodeKind::Or: {
            Tri result = Tri::False;
            for (int child : node.children) {
                Tri t = Eval(child, row);
                if (t == Tri::True) return Tri::True;
                if (t == Tri::Unknown) result = Tri::Unknown;
            }
            return result;
        }
        case NodeKind::Not:
            return Not(Eval(node.children[0], row));
        case NodeKind::IsNull: {
            bool isNull = Value(node.left, row).kind == CJetValue::Null;
            return (isNull != node.negated) ? Tri::True : Tri::False;
        }
        case NodeKind::Like: {
            CJetValue value = Value(node.left, row);
            if (value.kind == CJetValue::Null || value.kind == CJetValue::Other)
                return Tri::Unknown;
            std::string numberText;
            std::string_view text = value.text;
            if (value.kind == CJetValue::Number) {
                numberText = NumberText(value.number);
                text = numberText;
            }
            bool matches = false;
            if (node.pattern) {
                matches = node.pattern->Matches(text);
            } else {
                CJetValue pattern = Value(node.right, row);
                if (pattern.kind == CJetValue::Null || pattern.kind == CJetValue::Other)
                    return Tri::Unknown;
                std::string patternText = pattern.kind == CJetValue::Number
                                              ? NumberText(pattern.number)
                                              : std::string(pattern.text);
                CJetPattern compiled(patternText);
                if (!compiled.Valid()) throw CDBException("Invalid pattern string.", SQLITE_ERROR);
                matches = compiled.Matches(text);
            }
            return (matches != node.negated) ? Tri::True : Tri::False;
        }
        case NodeKind::Compare: {
            CJetValue a = Value(node.left, row);
            CJetValue b = Value(node.right, row);
            if (a.kind != b.kind || a.kind == CJetValue::Null || a.kind == CJetValue::Other)
                return Tri::Unknown;
            int c = 0;
            if (a.kind == CJetValue::Number) {
                c = a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
            } else {
                // A literal's key is made once, at parsing.
                std::string ownA;
                std::string ownB;
                const std::string& keyA
                    = node.left.column < 0 ? node.left.key : (ownA = SortKey(std::string(a.text)));
                const std::string& keyB = node.right.column < 0
                                              ? node.right.key
                                              : (ownB = SortKey(std::string(b.text)));
                int k = keyA.compare(keyB);
                c = k < 0 ? -1 : (k > 0 ? 1 : 0);
            }
            bool result = false;
            switch (node.op) {
                case CompareOp::Eq:
                    result = c == 0;
                    break;
                case CompareOp::Ne:
                    result = c != 0;
                    break;
                case CompareOp::Lt:
                    result = c < 0;
                    break;
                case CompareOp::Gt:
                    result = c > 0;
                    break;
                case CompareOp::Le:
                    result = c <= 0;
                    break;
                case CompareOp::Ge:
                    result = c >= 0;
                    break;
            }
            return result ? Tri::True : Tri::False;
        }
    }
    return Tri::Unknown;
}

CJetCondition::CJetCondition(std::string_view criteria,
                             const std::function<int(std::string_view)>& fieldIndex)
    : m_impl(std::make_unique<Impl>()) {
    Impl& impl = *m_impl;
    impl.criteria = criteria;
    impl.tokens = Tokenize(criteria);
    impl.fieldIndex = &fieldIndex;
    if (impl.Peek().type == TokenType::End) SyntaxError(criteria);
    impl.root = impl.ParseOr();
    if (impl.Peek().type != TokenType::End) SyntaxError(criteria);
    impl.fieldIndex = nullptr;
    impl.tokens.clear();
    impl.criteria = {};
}

CJetCondition::~CJetCondition() = default;
CJetCondition::CJetCondition(CJetCondition&&) noexcept = default;
CJetCondition& CJetCondition::operator=(CJetCondition&&) noexcept = default;

bool CJetCondition::Matches(const RowReader& row) const {
    return m_impl->Eval(m_impl->root, row) == Tri::True;
}

std::vector<CJetCondition::EqualityTerm> CJetCondition::RequiredEqualities() const {
    std::vector<EqualityTerm> terms;
    std::vector<int> pending{m_impl->root};
    while (!pending.empty()) {
        const Node& node = m_impl->nodes[pending.back()];
        pending.pop_back();
        if (node.kind == NodeKind::And) {
            pending.insert(pending.end(), node.children.begin(), node.children.end());
            continue;
        }
        if (node.kind != NodeKind::Compare || node.op != CompareOp::Eq) continue;
        const Operand* field = nullptr;
        const Operand* literal = nullptr;
        if (node.left.column >= 0 && node.right.column < 0) {
            field = &node.left;
            literal = &node.right;
        } else if (node.right.column >= 0 && node.left.column < 0) {
            field = &node.right;
            literal = &node.left;
        } else {
            continue;
        }
        EqualityTerm term{field->column, {}};
        term.literal.kind = literal->kind;
        term.literal.number = literal->number;
        term.literal.text = literal->text;
        terms.push_back(term);
    }
    return terms;
}
