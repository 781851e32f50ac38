#include "LineTokens.h"

#include "AsInstructions.h"
#include "Brenvik.h"

namespace {

bool isWordUnit(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z') || (unit >= u'0' && unit <= u'9');
}
bool isAsWordUnit(char16_t unit) {
    return isWordUnit(unit) || unit == u'_' || unit == u'.';
}
bool isDigitUnit(char16_t unit) {
    return unit >= u'0' && unit <= u'9';
}

std::string upperCased(std::u16string_view word) {
    std::string text;
    for (const char16_t unit : word)
        text += static_cast<char>(unit >= u'a' && unit <= u'z' ? unit - u'a' + u'A' : unit);
    return text;
}

} // namespace

std::vector<LineToken> tokensOfLine(std::u16string_view text, Syntax syntax, std::uint32_t commentColumn) {
    std::vector<LineToken> tokens;
    const auto size = static_cast<std::uint32_t>(text.size());
    const auto add = [&](std::uint32_t start, std::uint32_t end, TokenKind kind) {
        tokens.push_back({start, end, kind});
    };
    const bool as = syntax != Syntax::native;
    if (size > 0 && text[0] == u'*' && !as) {
        add(0, size, TokenKind::comment);
        return tokens;
    }
    const auto isNameUnit = as ? isAsWordUnit : isWordUnit;
    std::uint32_t at = 0;
    const auto word = [&] {
        const std::uint32_t start = at;
        while (at < size && isNameUnit(text[at]))
            ++at;
        return start;
    };
    const auto kindOfStatement = [&](std::string_view upper) {
        if (as)
            return asInstructions(syntax == Syntax::as8008new).contains(upper) ? TokenKind::mnemonic
                                                                               : TokenKind::directive;
        const auto* code = TBrenvikEngine::instructionSet().find(upper);
        return code && *code < 0 ? TokenKind::directive : TokenKind::mnemonic;
    };
    if (size > 0 && isNameUnit(text[0]) && !isDigitUnit(text[0])) {
        const std::uint32_t start = word();
        add(start, at, TokenKind::label);
    }
    bool statementSeen = false;
    while (at < size) {
        const char16_t unit = text[at];
        if (unit == u';' || at + 1 == commentColumn) {
            add(at, size, TokenKind::comment);
            break;
        }
        if (unit == u' ' || unit == u'\t' || unit == u':') {
            ++at;
        } else if (unit == u'"' || (as && unit == u'\'')) {
            const std::uint32_t start = at++;
            while (at < size && text[at] != unit)
                at += as && text[at] == u'\\' ? 2 : 1;
            at = std::min(at + 1, size);
            add(start, at, TokenKind::string);
        } else if (isNameUnit(unit)) {
            const bool number = isDigitUnit(unit);
            const bool modifier = !as && at > 0 && text[at - 1] == u'\'';
            const std::uint32_t start = word();
            if (number || modifier) {
                add(start, at, number ? TokenKind::number : TokenKind::operatorSign);
            } else if (as && !statementSeen && at < size && text[at] == u':' &&
                       (at + 1 >= size || text[at + 1] != u'=')) {
                add(start, at, TokenKind::label);
            } else if (!statementSeen) {
                statementSeen = true;
                add(start, at, kindOfStatement(upperCased(text.substr(start, at - start))));
            } else {
                add(start, at, TokenKind::name);
            }
        } else {
            add(at, at + 1, TokenKind::operatorSign);
            ++at;
        }
    }
    return tokens;
}
