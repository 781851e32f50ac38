#pragma once

// The tokens of one source line as the assembler reads it: a label in column 1,
// the statement's mnemonic or directive, the operand's names, numbers, strings
// and operators, and a comment after ';' outside a string (or a whole line
// after '*' in column 1, or where the assembler found one). The editor finds the
// name at the caret with them and
// the language server colours the text with them, so the two agree. A line of
// an AS-syntax source is read by AS's rules: names with '_' and '.', strings in
// single quotes too, a label wherever a colon ends it, AS's mnemonics.

#include "Assembly.h"

#include <cstdint>
#include <string_view>
#include <vector>

enum class TokenKind : std::uint8_t {
    mnemonic,
    directive,
    label,
    number,
    string,
    comment,
    operatorSign,
    name
};

struct LineToken {
    std::uint32_t start; // 0-based UTF-16 units of the line
    std::uint32_t end;   // one past the last
    TokenKind kind;
};

// `commentColumn` is where the assembler found the line's comment (1-based, as a
// line record's `comment`; 0 when it did not say): from there on all is comment,
// as after a '*' that follows a whole statement, which the tokens alone cannot tell.
std::vector<LineToken> tokensOfLine(std::u16string_view line, Syntax syntax = Syntax::native,
                                    std::uint32_t commentColumn = 0);
