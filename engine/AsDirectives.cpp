// The directives of AS-syntax sources: definitions, placement, data, the
// processor and radix, functions and the bit functions of bitfuncs.inc.

#include "AsAssembler.h"

#include <array>

namespace assyntax {

namespace {

// What AS's bitfuncs.inc documents, computed here.
std::int64_t maskOf(std::int64_t start, std::int64_t bits) {
    const std::uint64_t ones =
        bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << std::max<std::int64_t>(bits, 0)) - 1;
    return start >= 64 || start < 0 ? 0 : static_cast<std::int64_t>(ones << start);
}
std::int64_t shiftLeft(std::int64_t x, std::int64_t n) {
    return n >= 64 || n < 0 ? 0 : static_cast<std::int64_t>(static_cast<std::uint64_t>(x) << n);
}
std::int64_t shiftRight(std::int64_t x, std::int64_t n) {
    return n >= 64 || n < 0 ? (x < 0 ? -1 : 0) : x >> n;
}
using Arguments = const std::vector<std::int64_t>&;
struct BitFunction {
    const char* name;
    std::vector<std::string> parameters;
    std::int64_t (*compute)(Arguments);
};
std::int64_t shln(Arguments a) {
    return shiftLeft(a[0], a[2]) & maskOf(0, a[1]);
}
std::int64_t shrn(Arguments a) {
    return shiftRight(a[0], a[2]) & maskOf(0, a[1] - a[2]);
}
std::int64_t cutout(Arguments a) {
    return a[0] & maskOf(a[1], a[2]);
}
std::int64_t rotln(Arguments a) {
    return cutout({a[0], a[1], 32 - a[1]}) | shln(a) | shrn({a[0], a[1], a[1] - a[2]});
}
std::int64_t rotrn(Arguments a) {
    return cutout({a[0], a[1], 32 - a[1]}) | shrn(a) | shln({a[0], a[1], a[1] - a[2]});
}
const std::vector<BitFunction>& bitFunctions() {
    static const std::vector<BitFunction> functions{
        {"MASK", {"START", "BITS"}, [](Arguments a) { return maskOf(a[0], a[1]); }},
        {"INVMASK", {"START", "BITS"}, [](Arguments a) { return ~maskOf(a[0], a[1]); }},
        {"CUTOUT", {"X", "START", "BITS"}, cutout},
        {"HI", {"X"}, [](Arguments a) { return shiftRight(a[0], 8) & 0xFF; }},
        {"LO", {"X"}, [](Arguments a) { return a[0] & 0xFF; }},
        {"HIWORD", {"X"}, [](Arguments a) { return shiftRight(a[0], 16) & 0xFFFF; }},
        {"LOWORD", {"X"}, [](Arguments a) { return a[0] & 0xFFFF; }},
        {"ODD", {"X"}, [](Arguments a) -> std::int64_t { return (a[0] & 1) == 1; }},
        {"EVEN", {"X"}, [](Arguments a) -> std::int64_t { return (a[0] & 1) == 0; }},
        {"GETBIT", {"X", "N"}, [](Arguments a) { return shiftRight(a[0], a[1]) & 1; }},
        {"SHLN", {"X", "SIZE", "N"}, shln},
        {"SHRN", {"X", "SIZE", "N"}, shrn},
        {"ROTLN", {"X", "SIZE", "N"}, rotln},
        {"ROTRN", {"X", "SIZE", "N"}, rotrn},
    };
    return functions;
}

} // namespace

bool AsAssembler::directive(const std::string& word, std::optional<Span> label,
                            const std::vector<Span>& operands) {
    const auto only = [&](std::size_t count) { return operandsAre(operands, count, word); };
    if (word == "EQU" || word == "SET" || word == ":=" || word == "PORT") {
        setKind(Line::equ);
        if (!only(1))
            return true;
        const std::optional<std::int64_t> v = value(operands[0]);
        setKind(Line::equ, v.value_or(0));
        if (v)
            define(label, *v, word == "SET" || word == ":=", false);
        return true;
    }
    if (word == "ORG") {
        setKind(Line::org);
        define(label, pc, false);
        if (!only(1))
            return true;
        if (const std::optional<std::int64_t> origin =
                valueIn(operands[0], 0, 0xFFFF, "an ORG (0 to 0FFFFH)")) {
            pc = *origin;
            setKind(Line::org, pc);
        }
        return true;
    }
    if (word == "DB" || word == "DFB" || word == "DW") {
        define(label, pc, false);
        const bool words = word == "DW";
        ByteList bytes;
        data(operands, words, bytes);
        emit(words ? Line::dw : Line::db, std::move(bytes));
        return true;
    }
    if (word == "DS") {
        setKind(Line::reserve);
        define(label, pc, false);
        if (only(1))
            if (const std::optional<std::int64_t> count =
                    valueIn(operands[0], 0, lastAddress + 1, "a count of bytes (0 to 16384)"))
                pc += *count;
        return true;
    }
    if (word == "END") {
        setKind(Line::end);
        define(label, pc, false);
        if (!operands.empty() && only(1))
            value(operands[0]); // the start address, which a HEX file of this assembler does not hold
        ended = true;
        return true;
    }
    static constexpr std::array<std::string_view, 13> withoutCode{
        "CPU",     "RADIX",   "FUNCTION", "INCLUDE", "PAGE",    "TITLE",  "LISTING",
        "NEWPAGE", "PRTINIT", "PRTEXIT",  "SAVE",    "RESTORE", "MESSAGE"};
    if (std::find(withoutCode.begin(), withoutCode.end(), word) == withoutCode.end())
        return false;
    setKind(Line::noCode);
    if (word == "CPU") {
        define(label, pc, false);
        if (!only(1))
            return true;
        const std::string name = upperOf(typed(operands[0]));
        if (name == "8008")
            syntax = Syntax::as8008;
        else if (name == "8008NEW")
            syntax = Syntax::as8008new;
        else
            error(operands[0].from, {DiagCode::unknownCpu, typed(operands[0])});
        return true;
    }
    if (word == "RADIX") {
        define(label, pc, false);
        if (!only(1))
            return true;
        // Its operand is read in decimal whatever the radix, as AS reads it.
        const int kept = std::exchange(radix, defaultRadix);
        const std::optional<std::int64_t> base = valueIn(operands[0], 2, 36, "a radix (2 to 36)");
        radix = base ? static_cast<int>(*base) : kept;
        return true;
    }
    if (word == "FUNCTION") {
        if (!label || operands.empty() ||
            std::any_of(operands.begin(), operands.end(), [](Span s) { return s.empty(); })) {
            error(operands.empty() ? 1 : operands.front().from,
                  {DiagCode::operandCount, "FUNCTION", "parameters and a body"});
            return true;
        }
        Function defined;
        for (std::size_t i = 0; i + 1 < operands.size(); ++i)
            defined.parameters.push_back(upperOf(typed(operands[i])));
        defined.body =
            current.text.substr(operands.back().from - 1, operands.back().to - operands.back().from);
        functions.set(upperOf(typed(*label)), std::move(defined));
        return true;
    }
    if (word == "INCLUDE") {
        define(label, pc, false);
        if (only(1))
            include(operands[0]);
        return true;
    }
    // Directives of the listing, which change no byte.
    define(label, pc, false);
    return true;
}

// The bytes of DB's or DW's operands: values, strings, DATE and TIME, and
// `count DUP (operands)`. False once one is in error.
// INCLUDE "file": its lines read beside the file that includes it, as if they
// stood in place of the line, which holds their bytes; "bitfuncs.inc" served
// from our own definitions when there is no such file.
void AsAssembler::include(Span operand) {
    AsExpression names(*this, radix);
    std::string file = names.literal(current, operand.from, operand.to).value_or(typed(operand));
    const std::size_t slash = file.find_last_of("/\\");
    const std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    const std::string path = files.pathOf(file);
    if (std::optional<Fault> refused = files.refusal(path, file)) {
        error(operand.from, std::move(*refused));
        return;
    }
    const std::vector<BodyLine>* lines = files.linesOf(path);
    if (!lines) {
        if (upperOf(base) != "BITFUNCS.INC") {
            error(operand.from, {DiagCode::includeNotRead, file});
            return;
        }
        for (const BitFunction& served : bitFunctions())
            functions.set(served.name, {served.parameters, {}, served.compute});
        return;
    }
    files.enter(path);
    expand(*lines, {}, {}, operand.from, {});
    files.leave();
}

bool AsAssembler::data(const std::vector<Span>& operands, bool words, ByteList& bytes) {
    AsExpression literals(*this, radix);
    for (const Span& operand : operands) {
        if (operand.empty()) {
            error(operand.from, {DiagCode::missingOperand});
            return false;
        }
        if (const std::optional<Span> repeat = duplicated(operand)) {
            const Span count{operand.from, repeat->from};
            const std::optional<std::int64_t> times =
                valueIn(count, 0, lastAddress + 1, "a count (0 to 16384)");
            ByteList once;
            if (!times || !data(repeated({repeat->to, operand.to}), words, once))
                return false;
            const auto total =
                static_cast<std::uint64_t>(bytes.size()) + once.size() * static_cast<std::uint64_t>(*times);
            if (total > lastAddress + 1) { // more than the address space holds
                error(operand.from,
                      {DiagCode::outOfRange, std::to_string(total), "the bytes of a line (0 to 16384)"});
                return false;
            }
            for (std::int64_t i = 0; i < *times; ++i)
                for (const std::uint8_t byte : once)
                    bytes.push_back(byte);
            continue;
        }
        std::optional<std::string> text =
            words ? std::nullopt : literals.literal(current, operand.from, operand.to);
        if (literals.fault().code != DiagCode::none) {
            error(literals.faultColumn(), literals.fault());
            return false;
        }
        const std::string name = upperOf(scan::slice(current.text, operand.from, operand.to));
        if (!words && (name == "DATE" || name == "TIME") && !assembly.symbols.contains(name))
            text = name == "DATE" ? date : time;
        if (text) {
            for (const char c : *text)
                bytes.push_back(static_cast<std::uint8_t>(c));
            continue;
        }
        const std::optional<std::int64_t> v =
            words ? valueIn(operand, -0x8000, 0xFFFF, "a word (-32768 to 65535)")
                  : valueIn(operand, -0x80, 0xFF, "a byte (-128 to 255)");
        if (!v)
            return false;
        bytes.push_back(static_cast<std::uint8_t>(*v & 0xFF));
        if (words)
            bytes.push_back(static_cast<std::uint8_t>((*v >> 8) & 0xFF));
    }
    return true;
}

// Where the word DUP stands in `operand`, when the operand is `count DUP operand`
// or `count DUP (operands)`.
std::optional<Span> AsAssembler::duplicated(Span operand) const {
    const std::string& text = current.text;
    Quotes quotes;
    int parentheses = 0;
    for (std::uint32_t p = operand.from; p + 3 < operand.to; ++p) {
        const char c = scan::at(text, p);
        if (quotes.quoted(c)) {
            continue;
        } else if (c == '(' || c == ')') {
            parentheses += c == '(' ? 1 : -1;
        } else if (parentheses == 0 && p > operand.from && !isNameChar(scan::at(text, p - 1)) &&
                   upperOf(scan::slice(text, p, p + 3)) == "DUP" && !isNameChar(scan::at(text, p + 3))) {
            return Span{p, p + 3};
        }
    }
    return std::nullopt;
}

// The operands that `count DUP rest` repeats: those of a list in parentheses, or the rest as one.
std::vector<Span> AsAssembler::repeated(Span rest) const {
    const std::string& text = current.text;
    std::vector<Span> whole = operandsOf(text, rest);
    if (whole.size() != 1 || whole[0].empty() || scan::at(text, whole[0].from) != '(')
        return whole;
    int parentheses = 0;
    for (std::uint32_t p = whole[0].from; p < whole[0].to; ++p) {
        parentheses += scan::at(text, p) == '(' ? 1 : scan::at(text, p) == ')' ? -1 : 0;
        if (parentheses == 0)
            return p + 1 == whole[0].to ? operandsOf(text, {whole[0].from + 1, p}) : whole;
    }
    return whole;
}

} // namespace assyntax
