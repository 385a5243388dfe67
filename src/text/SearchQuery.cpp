#include "text/SearchQuery.h"

#include <strings.h>
#include <algorithm>

#include <cstring>

#include "data/Utf8.h"

namespace {

constexpr const char* kNoMatchPattern = " LIKE '~~~~~~~~~~'";

// The engine refuses an expression nested deeper than about 40 groups (its parser's stack)
// or more than about 1000 terms deep; no typed query comes near these, a pasted text may. The
// terms after the first kMaxTerms are left out, groups deeper than kMaxDepth are flattened.
constexpr size_t kMaxTerms = 256;
constexpr size_t kMaxDepth = 24;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The replace-all rule of the page templates: the search goes on behind an inserted
// replacement of two or more characters, and one character behind the match otherwise, so
// a replacement is never searched again. Built in one pass, so long input stays linear.
void ReplaceAll(std::string& text, std::string_view token, std::string_view replacement) {
    if (text.empty() || token.empty()) return;
    size_t found = text.find(token);
    if (found == std::string::npos) return;
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    size_t pos = 0;
    while (found != std::string::npos) {
        out.append(text, pos, found - pos);
        out.append(replacement);
        pos = found + token.size();
        // An empty replacement lets the search skip the character that follows it.
        if (replacement.empty() && pos < text.size()) out += text[pos++];
        found = text.find(token, pos);
    }
    out.append(text, pos, std::string::npos);
    text = std::move(out);
}

void Trim(std::string& text) {
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) ++first;
    size_t last = text.size();
    while (last > first && IsBlank(text[last - 1])) --last;
    text = text.substr(first, last - first);
}

// Runs of spaces shrink to one.
void CollapseSpaces(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += c;
    }
    text = std::move(out);
}

size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); ++count) utf8::Next(text, pos);
    return count;
}

// More "(" than ")": the first ones go; more ")" than "(": the last ones go.
void BalanceByCount(std::string& text) {
    const long opening = std::count(text.begin(), text.end(), '(');
    const long closing = std::count(text.begin(), text.end(), ')');
    long excess = opening - closing;
    if (excess > 0) {
        std::string out;
        for (char c : text) {
            if (c == '(' && excess > 0) {
                --excess;
                continue;
            }
            out += c;
        }
        text = std::move(out);
    } else if (excess < 0) {
        for (size_t i = text.size(); i-- > 0 && excess < 0;) {
            if (text[i] == ')') {
                text.erase(i, 1);
                ++excess;
            }
        }
    }
}

// Parentheses that balance by count may still close before they open ("a) (b"): every ")"
// without an open "(" before it goes, then every "(" left without its ")". Text whose
// parentheses pair up stays as it is.
void BalanceByOrder(std::string& text) {
    std::vector<bool> drop(text.size(), false);
    std::vector<size_t> open;
    bool any = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            open.push_back(i);
        } else if (text[i] == ')') {
            if (open.empty()) {
                drop[i] = any = true;
            } else {
                open.pop_back();
            }
        }
    }
    for (size_t i : open) drop[i] = any = true;
    if (!any) return;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (!drop[i]) out += text[i];
    text = std::move(out);
    Trim(text);
}

// Upper case of the Latin letters. Everything else keeps its bytes: malformed ones, and
// over-long forms (C0 80 stays, it must not become a zero byte).
std::string Upper(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        bool valid = true;
        const char32_t c = utf8::Next(text, pos, valid);
        const char32_t upper = valid ? utf8::UpperLatin(c) : c;
        if (upper != c) {
            utf8::Append(out, upper);
        } else {
            out.append(text, start, pos - start);
        }
    }
    return out;
}

bool IsConnector(const std::string& element) { return element == "&" || element == "|"; }

using Item = CSearchQuery::Piece;

bool IsConnectorPiece(const Item& item) { return item.kind == Item::And || item.kind == Item::Or; }
bool EndsOperand(const Item& item) { return item.kind == Item::Term || item.kind == Item::Close; }

Item Connector(Item::Kind kind) { return {kind, kind == Item::And ? " AND " : " OR ", {}, false}; }

// Makes the items a condition the database accepts. A sequence that is one already passes
// unchanged; otherwise a connector with nothing on its left or right goes, two terms side by
// side get the implied connector, a ")" without its "(" goes, an empty pair "()" goes and a
// "(" left open is closed.
std::vector<Item> Repair(std::vector<Item> items, Item::Kind join) {
    std::vector<Item> out;
    out.reserve(items.size());
    // One entry per open "(": whether it was kept (false: flattened, too deep).
    std::vector<bool> open;
    size_t keptDepth = 0;
    auto dropTrailingConnectors = [&] {
        while (!out.empty() && IsConnectorPiece(out.back())) out.pop_back();
    };
    auto close = [&] {
        const bool kept = open.back();
        open.pop_back();
        if (!kept) return;
        --keptDepth;
        dropTrailingConnectors();
        if (!out.empty() && out.back().kind == Item::Open) {
            out.pop_back();
        } else {
            out.push_back({Item::Close, ")", {}, false});
        }
    };
    for (Item& item : items) {
        switch (item.kind) {
            case Item::Open:
                open.push_back(keptDepth < kMaxDepth);
                if (!open.back()) break;
                ++keptDepth;
                [[fallthrough]];
            case Item::Term:
                if (!out.empty() && EndsOperand(out.back())) out.push_back(Connector(join));
                out.push_back(std::move(item));
                break;
            case Item::Close:
                if (!open.empty()) close();
                break;
            case Item::And:
            case Item::Or:
                if (out.empty() || !EndsOperand(out.back())) break;
                out.push_back(std::move(item));
                break;
        }
    }
    while (!open.empty()) close();
    dropTrailingConnectors();
    return out;
}

}  // namespace

CSearchQuery::CSearchQuery()
    : m_notice([](const MessageBoxRequest& request) { ShowMessageBox(request); }) {}

void CSearchQuery::SetSource(CDatabase* database, std::string table, std::string field) {
    m_database = database;
    m_table = std::move(table);
    m_field = std::move(field);
}

void CSearchQuery::Notice(const std::string& text) const {
    if (m_notice) m_notice(MessageBoxRequest{text, kCaptionHinweis, MsgIcon::Information});
}

std::string CSearchQuery::OperatorWarningText() {
    return "Das Suchergebnis wird nicht das gewünschte Ergebnis beinhalten,\n"
           "da die Sucheingabe nicht korrekt eingegeben wurde.\n"
           "\n"
           "Operatoren müssen durch ein Leerzeichen voneinander getrennt sein\n"
           "(UND, ODER, Leerzeichen vor Klammer auf und nach Klammer zu),\n"
           "und das direkte aufeinanderfolgen von \"UND ODER\" ist unzulässig.";
}

void CSearchQuery::Prepare(std::string_view typed) {
    m_statement.clear();
    m_cleanText.clear();
    m_pieces.clear();

    std::string text(typed);
    // A zero byte would end the statement early wherever it is handed on as C text.
    std::replace(text.begin(), text.end(), '\0', ' ');
    // Every parenthesis gets a space on both sides first ...
    ReplaceAll(text, "(", " (");
    ReplaceAll(text, "(", "( ");
    ReplaceAll(text, ")", " )");
    ReplaceAll(text, ")", ") ");
    ReplaceAll(text, "( (", "((");
    ReplaceAll(text, ") )", "))");
    Trim(text);
    CollapseSpaces(text);
    // ... then an opening one sticks to the word after it, a closing one to the word before.
    ReplaceAll(text, "( ", "(");
    ReplaceAll(text, " )", ")");
    if (text.empty() || text == "()" || text == ")(" || CharacterCount(text) < 2) return;

    m_cleanText = std::move(text);
    std::string removed;
    for (const char* c = kInvalidCharacters; *c; ++c) {
        bool replaced = false;
        for (char& t : m_cleanText) {
            if (t == *c) {
                t = ' ';
                replaced = true;
            }
        }
        if (replaced) {
            removed += *c;
            removed += ' ';
        }
    }
    BalanceByCount(m_cleanText);
    BalanceByOrder(m_cleanText);

    if (!removed.empty()) {
        // The list ends with a space, which separates it from the next word.
        Notice(removed.size() == 2
                   ? "Das Zeichen " + removed + "ist ungültig und wurde entfernt!"
                   : "Die Zeichen " + removed + "sind ungültig und wurden entfernt!");
    }
}

void CSearchQuery::Split() {
    std::vector<std::string>& list = m_terms;
    bool inPhrase = false;
    std::string phrase;
    size_t start = 0;
    const std::string& text = m_cleanText;
    for (;;) {
        const size_t end = text.find(' ', start);
        std::string piece
            = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        Trim(piece);
        if (!piece.empty() && piece != "\"\"") {
            // Each "(" becomes an element; the piece keeps what follows the last one.
            const size_t lastOpen = piece.rfind('(');
            if (lastOpen != std::string::npos) {
                const long opening = std::count(piece.begin(), piece.begin() + lastOpen + 1, '(');
                list.insert(list.end(), static_cast<size_t>(opening), "(");
                piece.erase(0, lastOpen + 1);
            }
            const long closing = std::count(piece.begin(), piece.end(), ')');
            piece.erase(std::remove(piece.begin(), piece.end(), ')'), piece.end());

            if (std::count(piece.begin(), piece.end(), '"') == 1) {
                if (inPhrase) {
                    list.push_back(phrase + " " + piece);
                    phrase.clear();
                    inPhrase = false;
                } else {
                    phrase = piece;
                    inPhrase = true;
                }
            } else if (inPhrase) {
                phrase += " " + piece;
            } else {
                std::string word = Upper(piece);
                if (word == "UND" || word == "AND") {
                    word = "&";
                } else if (word == "ODER" || word == "OR") {
                    word = "|";
                } else if (word == "NICHT" || word == "NOT") {
                    word = "!";
                }
                list.push_back(std::move(word));
            }
            list.insert(list.end(), static_cast<size_t>(closing), ")");
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    // A phrase whose closing quote never comes is lost.
}

bool CSearchQuery::RemoveDoubledConnectors() {
    std::vector<std::string> kept;
    kept.reserve(m_terms.size());
    bool removed = false;
    for (std::string& element : m_terms) {
        if (IsConnector(element) && !kept.empty() && IsConnector(kept.back())) {
            removed = true;
            continue;
        }
        kept.push_back(std::move(element));
    }
    m_terms = std::move(kept);
    return removed;
}

void CSearchQuery::RemoveDanglingEnd() {
    while (!m_terms.empty()) {
        const std::string& last = m_terms.back();
        if (!(last.empty() || last == "|" || last == "&" || last == "(" || last == "!")) break;
        m_terms.pop_back();
    }
}

void CSearchQuery::InsertImpliedAnd() {
    // Only the first "(" of a run can have something other than "(" before it; the "&" goes
    // between that element and the run.
    std::vector<std::string> out;
    out.reserve(m_terms.size() + m_terms.size() / 4);
    for (std::string& element : m_terms) {
        if (element == "(" && !out.empty() && out.back() != "(" && !IsConnector(out.back()))
            out.emplace_back("&");
        out.push_back(std::move(element));
    }
    m_terms = std::move(out);
}

std::string CSearchQuery::TermCondition(const std::string& element, bool negated,
                                        bool& phrase) const {
    const std::string op = "[" + m_field + "] " + (negated ? "NOT " : "") + "LIKE";
    phrase = !element.empty() && element.front() == '"';
    if (phrase) {
        const std::string cut = element.size() >= 2 ? element.substr(1, element.size() - 2) : "";
        return "(" + op + " '*" + cut + "*')";
    }
    if (!m_wholeWords || negated) return "(" + op + " '*" + element + "*')";
    const std::string b = kBoundaryClass;
    // Inside the text, at its start, at its end, or the whole text.
    return "((" + op + " '*" + b + element + b + "*') OR (" + op + " '" + element + b + "*') OR ("
           + op + " '*" + b + element + "') OR (" + op + " '" + element + "'))";
}

void CSearchQuery::Build() {
    std::vector<Item> items;
    // The design's element i is the write index w: operators and negated terms leave the
    // list, positive terms stay in it.
    size_t r = 0;
    size_t w = 0;
    std::vector<std::string>& list = m_terms;
    size_t termCount = 0;
    while (r < list.size() && termCount < kMaxTerms) {
        bool negated = false;
        bool needsConnector = true;
        while (r < list.size()) {
            const std::string& e = list[r];
            if (e == "(") {
                items.push_back({Item::Open, "(", {}, false});
            } else if (e == ")") {
                items.push_back({Item::Close, ")", {}, false});
            } else if (e == "&") {
                items.push_back(Connector(Item::And));
                needsConnector = false;
            } else if (e == "|") {
                items.push_back(Connector(Item::Or));
                needsConnector = false;
            } else if (e == "!") {
                negated = true;
            } else {
                break;
            }
            ++r;
        }
        if (r >= list.size()) break;

        bool phrase = false;
        std::string condition = TermCondition(list[r], negated, phrase);
        if (w > 0 && needsConnector)
            items.push_back(Connector(m_joinWithAnd ? Item::And : Item::Or));
        std::string term = std::move(list[r++]);
        if (phrase) term = term.size() >= 2 ? term.substr(1, term.size() - 2) : "";
        items.push_back({Item::Term, std::move(condition), term, negated});
        ++termCount;
        if (!negated) list[w++] = std::move(term);
    }
    list.resize(w);

    m_pieces = Repair(std::move(items), m_joinWithAnd ? Item::And : Item::Or);
    if (m_pieces.empty()) {
        // Nothing left to search for: a condition that matches no record.
        m_statement += " WHERE " + m_field + kNoMatchPattern;
    } else {
        m_statement += " WHERE ";
        for (const Item& item : m_pieces) m_statement += item.text;
    }
    // An empty term has nothing to highlight.
    list.erase(std::remove(list.begin(), list.end(), std::string()), list.end());
}

void CSearchQuery::Translate() {
    m_terms.clear();
    m_pieces.clear();
    m_statement = "SELECT * FROM " + m_table;
    if (m_cleanText.empty()) {
        m_statement += " WHERE " + m_field + kNoMatchPattern;
        return;
    }
    Split();
    const bool removed = RemoveDoubledConnectors();
    RemoveDanglingEnd();
    InsertImpliedAnd();
    if (removed) Notice(OperatorWarningText());
    Build();
}

std::string CSearchQuery::GetCondition() const {
    for (size_t i = 0; i + 5 <= m_statement.size(); ++i) {
        if (strncasecmp(m_statement.c_str() + i, "WHERE", 5) == 0)
            return i + 6 <= m_statement.size() ? m_statement.substr(i + 6) : std::string();
    }
    return {};
}

void CSearchQuery::GetTerms(std::vector<std::string>& terms) const { terms = m_terms; }
