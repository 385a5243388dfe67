#include "text/SearchField.h"

#include <algorithm>

CFieldEdit InsertOperator(std::u16string text, std::size_t selStart, std::size_t selEnd,
                          std::u16string_view op, bool spaceBefore) {
    if (selStart > selEnd) std::swap(selStart, selEnd);
    selStart = std::min(selStart, text.size());
    selEnd = std::min(selEnd, text.size());
    text.erase(selStart, selEnd - selStart);
    std::size_t caret = selStart;
    // The blank is wanted where the operator would stick to the word before the caret, so it
    // is the character before the caret that counts, inside the text as at its end.
    if (!text.empty() && caret != 0 && spaceBefore && text[caret - 1] != u' ') {
        text.insert(caret, 1, u' ');
        ++caret;
    }
    if (caret >= text.size()) {
        text += op;
        caret = text.size();
    } else {
        text.insert(caret, op);
        caret += op.size();
    }
    return {std::move(text), caret};
}
