// The expression evaluator. Results above 0xFFFF are failures or over-large
// values; the first one met is passed up unchanged.

#include "Brenvik.h"
#include "Scan.h"

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

std::uint32_t combine(char op, std::uint32_t r, std::uint32_t s) {
    switch (op) {
    case '+': return (r + s) & maxValue;
    case '-': return (r - s) & maxValue;
    case '*': return (r * s) & maxValue;
    case '/': return s == 0 ? TBrenvikEngine::exprError : r / s;
    case '%': return s == 0 ? TBrenvikEngine::exprError : r % s;
    case '&': return r & s;
    case '|': return r | s;
    default: return r ^ s; // '~'
    }
}

// digits [B]: decimal, or octal with the suffix; both wrap modulo 2^32.
std::uint32_t number(const std::string& text, std::uint32_t& pos, std::uint32_t last) {
    const std::uint32_t start = pos;
    while (pos <= last && isDigit(at(text, pos)))
        ++pos;
    const bool octal = pos <= last && at(text, pos) == 'B';
    std::uint32_t value = 0;
    bool valid = true;
    for (std::uint32_t p = start; p < pos; ++p) {
        const auto digit = static_cast<std::uint32_t>(at(text, p) - '0');
        valid = valid && (!octal || digit < 8);
        value = value * (octal ? 8 : 10) + digit;
    }
    if (octal)
        ++pos;
    return valid ? value : TBrenvikEngine::exprError;
}

} // namespace

std::uint32_t TBrenvikEngine::expr(const std::string& text, std::uint32_t& pos, std::uint32_t last,
                                   unsigned depth) const {
    const std::uint32_t r = term(text, pos, last, depth);
    if (r > maxValue)
        return r;
    skipBlanks(text, pos, last);
    if (pos > last || !isOperator(at(text, pos)))
        return r;
    const char op = at(text, pos++);
    if (depth >= maxExprDepth)
        return exprError;
    const std::uint32_t s = expr(text, pos, last, depth + 1);
    if (s > maxValue)
        return s;
    return combine(op, r, s);
}

std::uint32_t TBrenvikEngine::term(const std::string& text, std::uint32_t& pos, std::uint32_t last,
                                   unsigned depth) const {
    skipBlanks(text, pos, last);
    if (pos > last)
        return exprError;
    const char c = at(text, pos);
    if (c == '!' || c == '-' || c == '(') {
        ++pos;
        if (depth >= maxExprDepth)
            return exprError;
        const std::uint32_t v = expr(text, pos, last, depth + 1);
        if (c == '(') {
            if (pos <= last && at(text, pos) == ')') {
                ++pos;
                return v;
            }
            return exprError;
        }
        if (v > maxValue)
            return v;
        return (c == '!' ? ~v : 0u - v) & maxValue;
    }
    if (c == '"') {
        if (pos + 2 > last || at(text, pos + 2) != '"')
            return exprError;
        if (isWideColumn(pos + 1))
            wideValueSeen = true;
        const auto value = static_cast<unsigned char>(at(text, pos + 1));
        pos += 3;
        return value;
    }
    if (isDigit(c)) {
        const std::uint32_t v = number(text, pos, last);
        return v == exprError ? v : termMod(text, pos, last, v);
    }
    if (!isLetter(c))
        return exprError;
    const std::uint32_t start = skipWord(text, pos, last);
    const std::uint32_t line = GetSymbolLine(slice(text, start, pos));
    if (line == noLine) {
        pos = start;
        return exprUndefined;
    }
    const std::uint32_t v = lineRecords[line].value;
    const std::uint32_t modified = termMod(text, pos, last, v);
    // A symbol whose own operand failed stays a failure, modifier or not.
    return isFailure(v) ? v : modified;
}

std::uint32_t TBrenvikEngine::termMod(const std::string& text, std::uint32_t& pos, std::uint32_t last,
                                      std::uint32_t value) const {
    if (pos >= last || at(text, pos) != '\'')
        return value;
    ++pos;
    if (!isLetter(at(text, pos)))
        return exprError;
    const std::uint32_t start = pos;
    while (pos <= last && isLetter(at(text, pos)))
        ++pos;
    const std::string_view word = slice(text, start, pos);
    if (word == "HI" || word == "HIGH")
        return value >> 8;
    if (word == "LO" || word == "LOW")
        return value & 0xFF;
    return exprError;
}
