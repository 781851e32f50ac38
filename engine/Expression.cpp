// The expression evaluator. Results above 0xFFFF are failures or over-large
// values; the first one met is passed up unchanged, and the first thing found
// wrong is kept in `fault` for the caller to report.

#include "Brenvik.h"
#include "Scan.h"
#include "SourceText.h"

using namespace scan;

namespace {

constexpr std::uint32_t maxValue = 0xFFFF;

bool isOperator(char c) {
    switch (c) {
    case '*': case '/': case '%': case '+': case '-': case '&': case '|': case '~':
        return true;
    default:
        return false;
    }
}

bool isFailure(std::uint32_t value) {
    return value == TBrenvikEngine::exprUndefined || value == TBrenvikEngine::exprError;
}

// Both operands at most 0xFFFF, the right one not 0 for '/' and '%'.
std::uint32_t combine(char op, std::uint32_t r, std::uint32_t s) {
    switch (op) {
    case '+': return (r + s) & maxValue;
    case '-': return (r - s) & maxValue;
    case '*': return (r * s) & maxValue;
    case '/': return r / s;
    case '%': return r % s;
    case '&': return r & s;
    case '|': return r | s;
    default: return r ^ s; // '~'
    }
}

// digits [B]: decimal, or octal with the suffix; both wrap modulo 2^32. Returns
// the first digit that an octal constant may not hold, or 0.
char number(const std::string& text, std::uint32_t& pos, std::uint32_t last, std::uint32_t& value) {
    const std::uint32_t start = pos;
    while (pos <= last && isDigit(at(text, pos)))
        ++pos;
    const bool octal = pos <= last && at(text, pos) == 'B';
    value = 0;
    char badDigit = 0;
    for (std::uint32_t p = start; p < pos; ++p) {
        const char digit = at(text, p);
        if (octal && digit > '7' && badDigit == 0)
            badDigit = digit;
        value = value * (octal ? 8 : 10) + static_cast<std::uint32_t>(digit - '0');
    }
    if (octal)
        ++pos;
    return badDigit;
}

// A character of the upper-cased line, quoted in a message.
std::string characterText(char c) { return utf8Of(std::u16string(1, static_cast<unsigned char>(c))); }

} // namespace

void TBrenvikEngine::clearExprFault() const {
    fault = {};
    faultColumn = 0;
    wideColumn = 0;
}

void TBrenvikEngine::fail(DiagCode code, std::uint32_t column, std::string argument, std::string detail) const {
    if (fault.code != DiagCode::none)
        return;
    fault = {code, std::move(argument), std::move(detail)};
    faultColumn = column;
}

std::uint32_t TBrenvikEngine::expr(const std::string& text, std::uint32_t& pos, std::uint32_t last,
                                   unsigned depth) const {
    const std::uint32_t r = term(text, pos, last, depth);
    if (r > maxValue)
        return r;
    skipBlanks(text, pos, last);
    if (pos > last || !isOperator(at(text, pos)))
        return r;
    const std::uint32_t opColumn = pos;
    const char op = at(text, pos++);
    if (depth >= maxExprDepth) {
        fail(DiagCode::tooDeep, opColumn, std::to_string(maxExprDepth));
        return exprError;
    }
    std::uint32_t next = pos;
    skipBlanks(text, next, last);
    if (next > last || at(text, next) == ';')
        fail(DiagCode::missingOperandAfter, next, std::string(1, op));
    const std::uint32_t s = expr(text, pos, last, depth + 1);
    if (s > maxValue)
        return s;
    if (s == 0 && (op == '/' || op == '%')) {
        fail(op == '/' ? DiagCode::divisionByZero : DiagCode::remainderByZero, opColumn);
        return exprError;
    }
    return combine(op, r, s);
}

std::uint32_t TBrenvikEngine::term(const std::string& text, std::uint32_t& pos, std::uint32_t last,
                                   unsigned depth) const {
    skipBlanks(text, pos, last);
    if (pos > last || at(text, pos) == ';') {
        fail(DiagCode::missingOperand, pos);
        return exprError;
    }
    const char c = at(text, pos);
    const std::uint32_t start = pos;
    if (c == '!' || c == '-' || c == '(') {
        ++pos;
        if (depth >= maxExprDepth) {
            fail(DiagCode::tooDeep, start, std::to_string(maxExprDepth));
            return exprError;
        }
        const std::uint32_t v = expr(text, pos, last, depth + 1);
        if (c == '(') {
            if (pos <= last && at(text, pos) == ')') {
                ++pos;
                return v;
            }
            // Whatever failed inside, an unclosed parenthesis is an error; the
            // position stays on a name not yet defined, so it is never deferred.
            if (v == exprUndefined && fault.code == DiagCode::undefinedSymbol)
                fault.code = DiagCode::forwardInParentheses;
            else if (v != exprError) {
                fault = {DiagCode::missingParenthesis};
                faultColumn = pos;
            }
            return exprError;
        }
        if (v > maxValue)
            return v;
        return (c == '!' ? ~v : 0u - v) & maxValue;
    }
    if (c == '"') {
        // A character beyond U+FFFF takes two columns; it is one character all the same.
        const std::uint32_t width = current.isWide(pos + 1) && current.isWide(pos + 2) ? 2 : 1;
        if (pos + width + 1 > last || at(text, pos + width + 1) != '"') {
            fail(DiagCode::badCharacterConstant, pos);
            return exprError;
        }
        if (wideColumn == 0 && current.isWide(pos + 1))
            wideColumn = pos + 1;
        const auto value = static_cast<unsigned char>(at(text, pos + 1));
        pos += width + 2;
        return value;
    }
    if (isDigit(c)) {
        std::uint32_t v = 0;
        if (const char badDigit = number(text, pos, last, v)) {
            fail(DiagCode::octalDigit, start, std::string(slice(text, start, pos)), std::string(1, badDigit));
            return exprError;
        }
        v = termMod(text, pos, last, v);
        if (v > maxValue)
            fail(DiagCode::valueTooLarge, start, std::string(slice(text, start, pos)));
        return v;
    }
    if (!isLetter(c)) {
        fail(DiagCode::notAnOperand, pos, characterText(c));
        return exprError;
    }
    skipWord(text, pos, last);
    const std::string_view name = slice(text, start, pos);
    const std::uint32_t line = assembly.symbolLine(name);
    if (line == noLine) {
        fail(DiagCode::undefinedSymbol, start, std::string(name));
        pos = start;
        return exprUndefined;
    }
    // A symbol whose own operand failed stays a failure, modifier or not.
    const std::uint32_t v = assembly.lines[line].value;
    if (isFailure(v))
        fail(DiagCode::symbolWithoutValue, start, std::string(name));
    const std::uint32_t modified = termMod(text, pos, last, v);
    if (isFailure(v))
        return v;
    if (modified > maxValue)
        fail(DiagCode::symbolTooLarge, start, std::string(name));
    return modified;
}

std::uint32_t TBrenvikEngine::termMod(const std::string& text, std::uint32_t& pos, std::uint32_t last,
                                      std::uint32_t value) const {
    if (pos >= last || at(text, pos) != '\'')
        return value;
    ++pos;
    if (!isLetter(at(text, pos))) {
        fail(DiagCode::missingModifier, pos);
        return exprError;
    }
    const std::uint32_t start = pos;
    while (pos <= last && isLetter(at(text, pos)))
        ++pos;
    const std::string_view word = slice(text, start, pos);
    if (word == "HI" || word == "HIGH")
        return value >> 8;
    if (word == "LO" || word == "LOW")
        return value & 0xFF;
    fail(DiagCode::unknownModifier, start, std::string(word));
    return exprError;
}
