// The expression evaluator. Results above 0xFFFF are failures or over-large
// values; the first one met is passed up unchanged, and the first thing found
// wrong is kept for the caller to report.

#include "Brenvik.h"
#include "Scan.h"
#include "SourceText.h"

#include <algorithm>

using namespace scan;

namespace {

constexpr std::uint32_t maxValue = 0xFFFF;

bool isOperator(char c) {
    switch (c) {
    case '*':
    case '/':
    case '%':
    case '+':
    case '-':
    case '&':
    case '|':
    case '~':
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
    case '+':
        return (r + s) & maxValue;
    case '-':
        return (r - s) & maxValue;
    case '*':
        return (r * s) & maxValue;
    case '/':
        return r / s;
    case '%':
        return r % s;
    case '&':
        return r & s;
    case '|':
        return r | s;
    default:
        return r ^ s; // '~'
    }
}

// digits [B]: decimal, or octal with the suffix; both wrap modulo 2^32. Returns
// the position of the first digit that an octal constant may not hold, or 0.
std::uint32_t number(const std::string& text, std::uint32_t& pos, std::uint32_t last, std::uint32_t& value) {
    const std::uint32_t start = pos;
    while (pos <= last && isDigit(at(text, pos)))
        ++pos;
    const bool octal = pos <= last && at(text, pos) == 'B';
    value = 0;
    std::uint32_t badDigit = 0;
    for (std::uint32_t p = start; p < pos; ++p) {
        const char digit = at(text, p);
        if (octal && digit > '7' && badDigit == 0)
            badDigit = p;
        value = value * (octal ? 8 : 10) + static_cast<std::uint32_t>(digit - '0');
    }
    if (octal)
        ++pos;
    return badDigit;
}

// Words of the line (one byte per character) for a message, in UTF-8.
std::string latin1Text(std::string_view bytes) {
    std::u16string units;
    for (const char c : bytes)
        units += static_cast<unsigned char>(c);
    return utf8Of(units);
}

} // namespace

void TBrenvikEngine::clearExprFault() const {
    finding = {};
    wideColumn = 0;
}

void TBrenvikEngine::fail(DiagCode code, std::uint32_t column, std::string_view argument,
                          std::string_view detail) const {
    if (finding.code == DiagCode::none)
        finding = {code, column, argument, detail};
}

Fault TBrenvikEngine::exprFault() const {
    if (finding.code == DiagCode::tooDeep)
        return {finding.code, std::to_string(maxExprDepth)};
    return {finding.code, latin1Text(finding.argument), latin1Text(finding.detail)};
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
        fail(DiagCode::tooDeep, opColumn);
        return exprError;
    }
    std::uint32_t next = pos;
    skipBlanks(text, next, last);
    if (next > last || at(text, next) == ';') // found where the operand should have begun
        fail(DiagCode::missingOperandAfter, pos, slice(text, opColumn, opColumn + 1));
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
    const std::uint32_t afterWhatCameBefore = pos; // where a missing operand should have begun
    skipBlanks(text, pos, last);
    if (pos > last || at(text, pos) == ';') {
        fail(DiagCode::missingOperand, afterWhatCameBefore);
        return exprError;
    }
    const char c = at(text, pos);
    const std::uint32_t start = pos;
    if (c == '!' || c == '-' || c == '(') {
        ++pos;
        if (depth >= maxExprDepth) {
            fail(DiagCode::tooDeep, start);
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
            if (v == exprUndefined && finding.code == DiagCode::undefinedSymbol)
                finding.code = DiagCode::forwardInParentheses;
            else if (v != exprError)
                finding = {DiagCode::missingParenthesis, pos};
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
        if (const std::uint32_t badDigit = number(text, pos, last, v)) {
            fail(DiagCode::octalDigit, start, slice(text, start, pos), slice(text, badDigit, badDigit + 1));
            return exprError;
        }
        v = termMod(text, pos, last, v);
        if (v > maxValue)
            fail(DiagCode::valueTooLarge, start, slice(text, start, pos));
        return v;
    }
    if (!isLetter(c)) {
        fail(DiagCode::notAnOperand, pos, slice(text, pos, pos + 1));
        return exprError;
    }
    skipWord(text, pos, last);
    const std::string_view name = slice(text, start, pos);
    const std::optional<std::uint32_t> own = labelScope != 0 ? ownLabel(name) : std::nullopt;
    const std::uint32_t symbol = own ? assembly.symbols.none : assembly.symbols.indexOf(name);
    if (own ? *own == noLine : symbol == assembly.symbols.none) {
        fail(DiagCode::undefinedSymbol, start, name);
        pos = start;
        return exprUndefined;
    }
    if (!own)
        noteUse(symbol, start);
    // A symbol whose own operand failed stays a failure, modifier or not.
    const std::uint32_t v = own ? assembly.lines[*own].value : assembly.definitionOf(symbol).value;
    if (isFailure(v))
        fail(DiagCode::symbolWithoutValue, start, name);
    const std::uint32_t modified = termMod(text, pos, last, v);
    if (isFailure(v))
        return v;
    if (modified > maxValue)
        fail(DiagCode::symbolTooLarge, start, name);
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
    fail(DiagCode::unknownModifier, start, word);
    return exprError;
}

std::optional<std::uint32_t> TBrenvikEngine::valueOf(std::string_view expression) const {
    std::string upper(expression);
    std::transform(upper.begin(), upper.end(), upper.begin(), upperCase);
    std::uint32_t pos = 1;
    const auto last = static_cast<std::uint32_t>(upper.size());
    const std::uint32_t value = expr(upper, pos, last);
    if (value > maxValue || pos <= last)
        return std::nullopt;
    return value;
}

void TBrenvikEngine::noteUse(std::uint32_t symbol, std::uint32_t column) const {
    if (useLine == noLine)
        return;
    if (passOneUses) {
        // Resolving evaluates operands again from their start: the names the first
        // pass found there are noted already.
        const auto passOneEnd = foundUses.begin() + static_cast<std::ptrdiff_t>(*passOneUses);
        const auto noted = std::lower_bound(foundUses.begin(), passOneEnd, std::pair(useLine, column),
                                            [](const Assembly::SymbolUse& use, const auto& place) {
                                                return std::pair(use.line, use.column) < place;
                                            });
        if (noted != passOneEnd && noted->line == useLine && noted->column == column)
            return;
    }
    foundUses.push_back({symbol, useLine, column});
}
