#include "AsExpression.h"

#include "Scan.h"
#include "SourceText.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace {

// Deeper nesting than this is an error rather than a stack overflow.
constexpr unsigned maxDepth = 256;

// AS's dyadic operators; a lower weight binds tighter.
struct Operator {
    std::string_view text;
    int weight;
};
// Two-character operators first, so that the longer one is found.
constexpr std::array<Operator, 23> dyadic{{
    {"<<", 3},  {">>", 3},  {"><", 4},  {"&&", 15}, {"||", 16}, {"!!", 17}, {"==", 23}, {"<=", 23},
    {">=", 23}, {"<>", 23}, {"!=", 23}, {"&", 5},   {"|", 6},   {"!", 7},   {"^", 8},   {"*", 11},
    {"/", 11},  {"#", 11},  {"+", 13},  {"-", 13},  {"=", 23},  {"<", 23},  {">", 23},
}};
constexpr int weakestWeight = 23;
constexpr int negationWeight = 13;  // monadic '-'
constexpr int logicalNotWeight = 2; // '~~'

bool isNameStart(char c) {
    return scan::isLetter(c) || c == '_' || c == '.';
}
bool isNameChar(char c) {
    return isNameStart(c) || scan::isDigit(c);
}

std::int64_t wrap(std::uint64_t bits) {
    return static_cast<std::int64_t>(bits);
}

std::int64_t shifted(std::int64_t value, std::int64_t count, bool left) {
    if (count < 0)
        return shifted(value, -count, !left);
    if (count >= 64)
        return left || value >= 0 ? 0 : -1;
    return left ? wrap(static_cast<std::uint64_t>(value) << count) : value >> count;
}

// The lowest `count` bits of `value` in reverse order, the others kept.
std::int64_t mirrored(std::int64_t value, std::int64_t count) {
    if (count < 1 || count > 64)
        return value;
    std::uint64_t bits = static_cast<std::uint64_t>(value), low = 0;
    for (std::int64_t i = 0; i < count; ++i)
        low |= ((bits >> i) & 1) << (count - 1 - i);
    const std::uint64_t mask = count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    return wrap((bits & ~mask) | low);
}

std::int64_t power(std::int64_t base, std::int64_t exponent) {
    std::uint64_t result = 1;
    for (; exponent > 0; --exponent)
        result *= static_cast<std::uint64_t>(base);
    return exponent < 0 ? 0 : wrap(result);
}

int digitValue(char c) {
    if (scan::isDigit(c))
        return c - '0';
    const char upper = scan::upperCase(c);
    return upper >= 'A' && upper <= 'Z' ? upper - 'A' + 10 : 99;
}

} // namespace

struct AsExpression::Scope {
    const AsNames::Function& function;
    const std::vector<std::int64_t>& arguments;
};

void AsExpression::begin(const SourceLine& line, std::uint32_t from, std::uint32_t to) {
    source = &line;
    text = line.text;
    pos = from - 1;
    end = to - 1;
    bodyCall = 0;
    unknownName.clear();
    found = {};
    foundColumn = 0;
    skipBlanks();
}

std::optional<std::int64_t> AsExpression::evaluate(const SourceLine& line, std::uint32_t from,
                                                   std::uint32_t to) {
    begin(line, from, to);
    if (pos >= end) {
        failWith(DiagCode::missingOperand, from);
        return std::nullopt;
    }
    std::optional<std::int64_t> value = binary(weakestWeight);
    if (value && pos < end) {
        std::uint32_t stop = pos;
        while (stop < end && !scan::isBlank(text[stop]))
            ++stop;
        failWith(DiagCode::unexpectedText, pos + 1, textOf(pos, stop));
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> AsExpression::literal(const SourceLine& line, std::uint32_t from,
                                                 std::uint32_t to) {
    begin(line, from, to);
    if (pos >= end || (peek() != '"' && peek() != '\''))
        return std::nullopt;
    const std::uint32_t start = pos;
    std::optional<std::string> bytes = quoted();
    skipBlanks();
    if (bytes && pos < end) { // more follows: an expression of its own
        pos = start;
        return std::nullopt;
    }
    return bytes;
}

char AsExpression::peek() const {
    return pos < end ? text[pos] : '\0';
}

void AsExpression::skipBlanks() {
    while (pos < end && scan::isBlank(text[pos]))
        ++pos;
}

bool AsExpression::failWith(DiagCode code, std::uint32_t column, std::string argument, std::string detail) {
    if (found.code == DiagCode::none) {
        found = {code, std::move(argument), std::move(detail)};
        foundColumn = bodyCall != 0 ? bodyCall : column;
    }
    return false;
}

std::string AsExpression::textOf(std::uint32_t from, std::uint32_t to) const {
    if (bodyCall == 0)
        return typedColumns(*source, from + 1, to + 1);
    std::u16string units; // a function's body: its bytes, one character each
    for (std::uint32_t i = from; i < to && i < text.size(); ++i)
        units += static_cast<unsigned char>(text[i]);
    return utf8Of(units);
}

std::optional<std::int64_t> AsExpression::binary(int weakest) {
    std::optional<std::int64_t> left = unary();
    for (;;) {
        if (!left)
            return std::nullopt;
        skipBlanks();
        const Operator* op = nullptr;
        for (const Operator& candidate : dyadic)
            if (text.substr(pos, candidate.text.size()) == candidate.text &&
                pos + candidate.text.size() <= end) {
                op = &candidate;
                break;
            }
        if (!op || op->weight > weakest)
            return left;
        const std::uint32_t opColumn = pos + 1;
        pos += static_cast<std::uint32_t>(op->text.size());
        skipBlanks();
        if (pos >= end) {
            failWith(DiagCode::missingOperandAfter, pos + 1, std::string(op->text));
            return std::nullopt;
        }
        const std::optional<std::int64_t> right = binary(op->weight - 1);
        if (!right)
            return std::nullopt;
        const std::int64_t a = *left, b = *right;
        const auto ua = static_cast<std::uint64_t>(a), ub = static_cast<std::uint64_t>(b);
        const std::string_view o = op->text;
        if ((o == "/" || o == "#") && b == 0) {
            failWith(o == "/" ? DiagCode::divisionByZero : DiagCode::remainderByZero, opColumn);
            return std::nullopt;
        }
        if (o == "<<" || o == ">>")
            left = shifted(a, b, o == "<<");
        else if (o == "><")
            left = mirrored(a, b);
        else if (o == "&")
            left = wrap(ua & ub);
        else if (o == "|")
            left = wrap(ua | ub);
        else if (o == "!")
            left = wrap(ua ^ ub);
        else if (o == "^")
            left = power(a, b);
        else if (o == "*")
            left = wrap(ua * ub);
        else if (o == "/")
            left = b == -1 ? wrap(0 - ua) : a / b;
        else if (o == "#")
            left = b == -1 ? 0 : a % b;
        else if (o == "+")
            left = wrap(ua + ub);
        else if (o == "-")
            left = wrap(ua - ub);
        else if (o == "&&")
            left = (a != 0 && b != 0) ? 1 : 0;
        else if (o == "||")
            left = (a != 0 || b != 0) ? 1 : 0;
        else if (o == "!!")
            left = ((a != 0) != (b != 0)) ? 1 : 0;
        else if (o == "=" || o == "==")
            left = a == b;
        else if (o == "<>" || o == "!=")
            left = a != b;
        else if (o == "<")
            left = a < b;
        else if (o == ">")
            left = a > b;
        else if (o == "<=")
            left = a <= b;
        else
            left = a >= b;
    }
}

std::optional<std::int64_t> AsExpression::unary() {
    skipBlanks();
    if (++depth > maxDepth) {
        --depth;
        failWith(DiagCode::tooDeep, pos + 1, std::to_string(maxDepth));
        return std::nullopt;
    }
    std::optional<std::int64_t> value;
    if (text.substr(pos, 2) == "~~" && pos + 2 <= end) {
        pos += 2;
        value = binary(logicalNotWeight - 1);
        if (value)
            value = *value == 0 ? 1 : 0;
    } else if (peek() == '~') {
        ++pos;
        value = unary();
        if (value)
            value = ~*value;
    } else if (peek() == '-') {
        ++pos;
        value = binary(negationWeight - 1);
        if (value)
            value = wrap(0 - static_cast<std::uint64_t>(*value));
    } else if (peek() == '+') {
        ++pos;
        value = binary(negationWeight - 1);
    } else {
        value = primary();
    }
    --depth;
    return value;
}

std::optional<std::int64_t> AsExpression::primary() {
    skipBlanks();
    const char c = peek();
    const std::uint32_t start = pos;
    if (pos >= end) {
        failWith(DiagCode::missingOperand, pos + 1);
        return std::nullopt;
    }
    if (c == '(') {
        ++pos;
        std::optional<std::int64_t> value = binary(weakestWeight);
        skipBlanks();
        if (value && peek() != ')') {
            failWith(DiagCode::missingParenthesis, pos + 1);
            return std::nullopt;
        }
        ++pos;
        return value;
    }
    if (c == '"' || c == '\'') {
        const std::optional<std::string> bytes = quoted();
        if (!bytes)
            return std::nullopt;
        std::uint64_t value = 0; // the characters packed, the last in the low byte
        for (const char byte : *bytes)
            value = (value << 8) | static_cast<unsigned char>(byte);
        return wrap(value);
    }
    if (c == '$' && !(pos + 1 < end && isNameChar(text[pos + 1]))) {
        ++pos;
        return names.location();
    }
    if (scan::isDigit(c))
        return number();
    if (isNameStart(c))
        return name();
    failWith(DiagCode::notAnOperand, start + 1, textOf(start, start + 1));
    return std::nullopt;
}

// digits [H | B | O | Q]: hexadecimal, binary or octal by the suffix, else in the radix.
std::optional<std::int64_t> AsExpression::number() {
    const std::uint32_t start = pos;
    while (pos < end && isNameChar(text[pos]))
        ++pos;
    std::uint32_t last = pos;
    int base = radix;
    switch (scan::upperCase(text[last - 1])) {
    case 'H':
        base = 16;
        break;
    case 'O':
    case 'Q':
        base = 8;
        break;
    case 'B':
        base = radix > 11 ? radix : 2;
        break;
    default:
        ++last; // no suffix: every character is a digit
        break;
    }
    --last;
    std::uint64_t value = 0;
    for (std::uint32_t i = start; i < last; ++i) {
        const int digit = digitValue(text[i]);
        if (digit >= base) {
            failWith(DiagCode::badNumber, start + 1, textOf(start, pos), std::to_string(base));
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    return wrap(value);
}

std::optional<std::int64_t> AsExpression::name() {
    const std::uint32_t start = pos;
    while (pos < end && isNameChar(text[pos]))
        ++pos;
    std::string upper(text.substr(start, pos - start));
    for (char& c : upper)
        c = scan::upperCase(c);
    const std::uint32_t column = bodyCall != 0 ? bodyCall : start + 1;
    if (peek() == '(')
        return call(upper, column);
    if (scope)
        for (std::size_t i = 0; i < scope->function.parameters.size(); ++i)
            if (scope->function.parameters[i] == upper)
                return scope->arguments[i];
    // A name in a function's body is noted as a use of none of the line's columns.
    const std::optional<std::int64_t> value = names.symbol(upper, bodyCall != 0 ? 0 : column);
    if (value)
        return value;
    if (unknownName.empty()) {
        unknownName = textOf(start, pos);
        unknownColumn = column;
    }
    return 0;
}

std::optional<std::int64_t> AsExpression::call(std::string_view functionName, std::uint32_t column) {
    const AsNames::Function* function = names.function(functionName);
    if (!function) {
        failWith(DiagCode::unknownFunction, column,
                 textOf(pos - static_cast<std::uint32_t>(functionName.size()), pos));
        return std::nullopt;
    }
    ++pos; // the '('
    std::vector<std::int64_t> arguments;
    skipBlanks();
    if (peek() != ')')
        for (;;) {
            const std::optional<std::int64_t> argument = binary(weakestWeight);
            if (!argument)
                return std::nullopt;
            arguments.push_back(*argument);
            skipBlanks();
            if (peek() != ',')
                break;
            ++pos;
        }
    if (peek() != ')') {
        failWith(DiagCode::missingParenthesis, pos + 1);
        return std::nullopt;
    }
    ++pos;
    if (arguments.size() != function->parameters.size()) {
        const std::size_t count = function->parameters.size();
        failWith(DiagCode::argumentCount, column, std::string(functionName),
                 std::to_string(count) + (count == 1 ? " argument" : " arguments"));
        return std::nullopt;
    }
    if (function->builtIn)
        return function->builtIn(arguments);
    if (depth >= maxDepth) {
        failWith(DiagCode::tooDeep, column, std::to_string(maxDepth));
        return std::nullopt;
    }
    // The body is read in place of the call; what it finds wrong is said at the call.
    const Scope inner{*function, arguments};
    const auto saved = std::tuple(text, pos, end, bodyCall, scope);
    text = function->body;
    pos = 0;
    end = static_cast<std::uint32_t>(text.size());
    bodyCall = column;
    scope = &inner;
    std::optional<std::int64_t> value = binary(weakestWeight);
    skipBlanks();
    if (value && pos < end) {
        failWith(DiagCode::unexpectedText, column, textOf(pos, end));
        value.reset();
    }
    std::tie(text, pos, end, bodyCall, scope) = saved;
    return value;
}

// A string between double or single quotes, with AS's escapes.
std::optional<std::string> AsExpression::quoted() {
    const char quote = text[pos];
    const std::uint32_t open = pos++;
    std::string bytes;
    while (pos < end && text[pos] != quote) {
        if (bodyCall == 0 && source->isWide(pos + 1)) {
            const bool pair = isHighSurrogate(source->unitAt(pos + 1)) && source->isWide(pos + 2);
            failWith(DiagCode::wideCharacter, pos + 1, textOf(pos, pos + (pair ? 2 : 1)));
            return std::nullopt;
        }
        if (text[pos] != '\\') {
            bytes += text[pos++];
            continue;
        }
        const std::uint32_t escape = pos++;
        const char c = pos < end ? text[pos] : '\0';
        if (scan::isDigit(c)) { // up to three decimal digits
            unsigned code = 0;
            for (int i = 0; i < 3 && pos < end && scan::isDigit(text[pos]); ++i)
                code = code * 10 + static_cast<unsigned>(text[pos++] - '0');
            bytes += static_cast<char>(code & 0xFF);
            continue;
        }
        if (scan::upperCase(c) == 'X') { // up to two hexadecimal digits
            ++pos;
            unsigned code = 0;
            for (int i = 0; i < 2 && pos < end && digitValue(text[pos]) < 16; ++i)
                code = code * 16 + static_cast<unsigned>(digitValue(text[pos++]));
            bytes += static_cast<char>(code);
            continue;
        }
        constexpr std::string_view letters = "abetnr\\\"'", codes = "\a\b\x1B\t\n\r\\\"'";
        const std::size_t known = letters.find(scan::isLetter(c) ? static_cast<char>(c | 0x20) : c);
        if (pos >= end || known == std::string_view::npos) {
            failWith(DiagCode::badEscape, escape + 1, textOf(escape, std::min(pos + 1, end)));
            return std::nullopt;
        }
        bytes += codes[known];
        ++pos;
    }
    if (pos >= end) {
        failWith(DiagCode::unclosedString, open + 1);
        return std::nullopt;
    }
    ++pos;
    return bytes;
}
