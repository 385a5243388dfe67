#pragma once
// What the operator buttons of the search window do to the query field's text: the operator
// goes in at the caret, with a blank before it where it would otherwise stick to a word.
// Positions count UTF-16 code units, as the toolkit's edit field does.

#include <cstddef>
#include <string>
#include <string_view>

struct CFieldEdit {
    std::u16string text;
    std::size_t caret = 0;  // directly after the inserted operator
};

// Inserts op into text whose selection runs from selStart to selEnd (equal: only the caret).
// A selection is deleted first. With spaceBefore, in a text that is not empty and with the
// caret not at its start, a blank goes in at the caret when the character before it is not
// one.
CFieldEdit InsertOperator(std::u16string text, std::size_t selStart, std::size_t selEnd,
                          std::u16string_view op, bool spaceBefore);
