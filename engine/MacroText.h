#pragma once

// How both syntaxes read the text of their macros, each with its own strings
// and names: where a line's comment begins, the operands split at its commas,
// and a line of a body with its parameters' names replaced. `Quotes` follows a
// line's strings a character at a time: `quoted(c)` says whether the line's
// next character belongs to one, its quotes included.

#include "Scan.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// Columns [from, to) of a line, 1-based.
struct Span {
    std::uint32_t from, to;
    bool empty() const { return from >= to; }
};

namespace macrotext {

// Where the comment of `text` begins at or after column `from` (its ';'
// outside strings), or one past its end.
template <typename Quotes> std::uint32_t commentColumn(const std::string& text, std::uint32_t from = 1) {
    Quotes quotes;
    const auto n = static_cast<std::uint32_t>(text.size());
    for (std::uint32_t pos = from; pos <= n; ++pos)
        if (const char c = scan::at(text, pos); !quotes.quoted(c) && c == ';')
            return pos;
    return n + 1;
}

// The operands in `span`, split at the commas outside strings and parentheses,
// each without its blanks.
template <typename Quotes> std::vector<Span> operandsOf(const std::string& text, Span span) {
    std::vector<Span> operands;
    const auto trimmed = [&](std::uint32_t from, std::uint32_t to) {
        while (from < to && scan::isBlank(scan::at(text, from)))
            ++from;
        while (to > from && scan::isBlank(scan::at(text, to - 1)))
            --to;
        return Span{from, to};
    };
    const Span all = trimmed(span.from, span.to);
    if (all.empty())
        return operands;
    Quotes quotes;
    int parentheses = 0;
    std::uint32_t start = all.from;
    for (std::uint32_t p = all.from; p < all.to; ++p) {
        const char c = scan::at(text, p);
        if (quotes.quoted(c))
            continue;
        if (c == '(')
            ++parentheses;
        else if (c == ')')
            --parentheses;
        else if (c == ',' && parentheses == 0) {
            operands.push_back(trimmed(start, p));
            start = p + 1;
        }
    }
    operands.push_back(trimmed(start, all.to));
    return operands;
}

// `text` with each parameter's name (a whole name of `isNameChar`s that does not
// begin with a digit, outside strings and the comment, in any case) replaced by
// its argument, or by nothing when none is given.
template <typename Quotes>
std::string substituted(const std::string& text, const std::vector<std::string>& parameters,
                        const std::vector<std::string>& arguments, bool (*isNameChar)(char)) {
    if (parameters.empty())
        return text;
    std::string out;
    Quotes quotes;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (quotes.quoted(c)) {
            out += text[i++];
            continue;
        }
        if (c == ';')
            return out + text.substr(i);
        if (!isNameChar(c)) {
            out += text[i++];
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && isNameChar(text[end]))
            ++end;
        const std::string word = text.substr(i, end - i);
        const auto named = std::find(parameters.begin(), parameters.end(), scan::upperOf(word));
        if (named == parameters.end() || scan::isDigit(c)) {
            out += word;
        } else {
            const auto at = static_cast<std::size_t>(named - parameters.begin());
            out += at < arguments.size() ? arguments[at] : std::string();
        }
        i = end;
    }
    return out;
}

} // namespace macrotext
