// The assembler for AS-syntax sources: it reads each line as AS does (label,
// operation, operands split at commas) and repeats the pass, with the values
// the last pass found for names defined further down, until they hold.

#include "AsSyntax.h"

#include "AsExpression.h"
#include "AsInstructions.h"
#include "Scan.h"
#include "SourceText.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <unordered_map>

using Line = Assembly::Line;

namespace {

// Passes after which a source whose values still change is reported as it stands.
constexpr int maxPasses = 8;
constexpr std::int64_t lastAddress = 0x3FFF; // the 8008's 14-bit address space
constexpr int defaultRadix = 10;
constexpr int maxExpansionDepth = 100; // macros invoked within macros, as deep as AS allows
// Lines one line's expansions may hold: macros that invoke others twice over grow
// exponentially, and this bounds the time a run takes.
constexpr std::int64_t maxExpandedLines = 1000000;

bool isNameStart(char c) {
    return scan::isLetter(c) || c == '_' || c == '.';
}
bool isNameChar(char c) {
    return isNameStart(c) || scan::isDigit(c);
}

// Follows a line's strings and character constants, a character at a time.
class Quotes {
  public:
    // Whether `c`, the line's next character, belongs to one (its quotes included).
    bool quoted(char c) {
        if (escaped) {
            escaped = false;
            return true;
        }
        if (quote != 0) {
            if (c == '\\')
                escaped = true;
            else if (c == quote)
                quote = 0;
            return true;
        }
        if (c == '"' || c == '\'')
            quote = c;
        return quote != 0;
    }

  private:
    char quote = 0;
    bool escaped = false;
};

std::string upperOf(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), scan::upperCase);
    return upper;
}

// Columns [from, to) of a line, 1-based.
struct Span {
    std::uint32_t from, to;
    bool empty() const { return from >= to; }
};

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

// `text` with each parameter's name (a whole name, outside quotes and the
// comment, in any case) replaced by its argument, or by nothing when none is given.
std::string substituted(const std::string& text, const std::vector<std::string>& parameters,
                        const std::vector<std::string>& arguments) {
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
        const auto named = std::find(parameters.begin(), parameters.end(), upperOf(word));
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

// The first word of columns from `pos` on, upper case, and where it ends.
std::string wordAt(const std::string& text, std::uint32_t& pos) {
    const auto n = static_cast<std::uint32_t>(text.size());
    scan::skipBlanks(text, pos, n);
    const std::uint32_t start = pos;
    while (pos <= n && isNameChar(scan::at(text, pos)))
        ++pos;
    return upperOf(scan::slice(text, start, pos));
}

// Where a line's comment begins (its ';' outside quotes), or one past its end.
std::uint32_t commentColumn(const std::string& text) {
    Quotes quotes;
    for (std::uint32_t i = 0; i < text.size(); ++i)
        if (!quotes.quoted(text[i]) && text[i] == ';')
            return i + 1;
    return static_cast<std::uint32_t>(text.size()) + 1;
}

// The operands in `span`, split at the commas outside quotes and parentheses,
// each without its blanks.
std::vector<Span> operandsOf(const std::string& text, Span span) {
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
        if (quotes.quoted(c)) {
            continue;
        } else if (c == '(') {
            ++parentheses;
        } else if (c == ')') {
            --parentheses;
        } else if (c == ',' && parentheses == 0) {
            operands.push_back(trimmed(start, p));
            start = p + 1;
        }
    }
    operands.push_back(trimmed(start, all.to));
    return operands;
}

class AsAssembler : public AsNames {
  public:
    AsAssembler(const TextArea& text, Syntax syntax, Assembly& assembly)
        : source(text), assembly(assembly), firstSyntax(syntax) {}

    void run();

    std::optional<std::int64_t> symbol(std::string_view name, std::uint32_t column) override;
    std::int64_t location() const override { return lineStart; }
    const Function* function(std::string_view name) const override {
        const auto found = functions.find(std::string(name));
        return found == functions.end() ? nullptr : &found->second;
    }

  private:
    struct Symbol {
        std::int64_t value = 0;
        int pass = 0;           // the pass that last defined it
        std::uint32_t line = 0; // where that pass defined it first
        bool variable = false;  // SET or :=, which may define it again
    };

    void pass();
    void assembleLine(std::uint32_t index);
    bool conditional(const std::string& word, std::uint32_t column, const std::vector<Span>& operands);
    bool assembling() const;
    bool directive(const std::string& word, std::optional<Span> label, const std::vector<Span>& operands);
    void statement(std::uint32_t codeEnd);
    void record(const std::string& text);
    void startRecording(const std::string& word, std::optional<Span> label, const std::vector<Span>& operands,
                        std::uint32_t column);
    void expand(const std::vector<std::string>& body, const std::vector<std::string>& parameters,
                const std::vector<std::string>& arguments, std::uint32_t column, const std::string& name);
    void setKind(Line::LineCode kind, std::optional<std::int64_t> value = std::nullopt);
    void instruction(const AsInstruction& instruction, const std::string& word,
                     const std::vector<Span>& operands);
    void define(std::optional<Span> label, std::int64_t value, bool variable);
    std::string localKey(std::string_view name) const;

    // The value of an operand; none when it has none, the line marked in error.
    std::optional<std::int64_t> value(Span operand);
    std::optional<std::int64_t> namelessLabel(Span operand);
    // `operand`'s value checked to lie in [low, high], what `what` names.
    std::optional<std::int64_t> valueIn(Span operand, std::int64_t low, std::int64_t high, const char* what);
    std::optional<int> registerOf(Span operand, const std::string& word, bool memoryTaken = true);
    bool operandsAre(const std::vector<Span>& operands, std::size_t count, const std::string& word);
    bool data(const std::vector<Span>& operands, bool words, ByteList& bytes);
    std::optional<Span> duplicated(Span operand) const;
    std::vector<Span> repeated(Span rest) const;
    void emit(Line::LineCode kind, ByteList bytes);
    void error(std::uint32_t column, Fault fault, std::uint32_t length = 1);
    void warn(std::uint32_t column, Fault fault, std::uint32_t length);
    std::string typed(Span span) const;

    const TextArea& source;
    Assembly& assembly;
    Syntax firstSyntax;

    std::vector<Symbol> symbols; // by their number in assembly.symbols
    // The labels of expansions, by name and expansion ("LOOP@3"), apart from the table.
    WordTable<std::uint32_t> localNames;
    std::vector<Symbol> localSymbols;
    std::unordered_map<std::string, Function> functions;
    std::vector<std::string> unknownNames; // named without a value in this pass
    std::string date, time;                // DATE and TIME: when the run began, as AS writes them

    // The pass.
    int passNumber = 0;
    bool valuesChanged = false;
    Syntax syntax = Syntax::native;
    int radix = defaultRadix;
    std::int64_t pc = 0;
    bool ended = false;

    // The conditions open at the line, innermost last.
    struct Condition {
        std::uint32_t line; // of its IF
        std::string word;   // the last of IF, ELSEIF and ELSE met
        bool outerTaking;   // whether the branch around it is taken
        bool taking;        // whether its current branch is
        bool taken;         // whether one of its branches was
        bool failed;        // whether its IF line is in error
    };
    std::vector<Condition> conditions;

    // Nameless labels, in order: this pass's so far, and all of the last pass's.
    struct Nameless {
        char kind; // '-', '+' or '/'
        std::int64_t value;
        bool operator==(const Nameless&) const = default;
    };
    std::vector<Nameless> nameless, lastNameless;
    bool namelessAhead = false; // the first pass met a '+' it could not know yet

    // Macros and repetitions.
    struct Macro {
        std::vector<std::string> parameters; // upper case
        std::vector<std::string> body;       // its lines as written
    };
    struct Recording {
        bool repeats;         // REPT rather than MACRO
        std::uint32_t line;   // of the MACRO or REPT
        std::uint32_t column; // of its word
        int depth;            // MACROs and REPTs open in it, itself included
        std::string name;
        std::vector<std::string> parameters;
        std::int64_t times;
        std::vector<std::string> body = {};
        bool failed = false; // whether its line is in error
    };
    std::unordered_map<std::string, Macro> macros;
    std::optional<Recording> recording;
    int expansionDepth = 0;
    std::int64_t expandedLines = 0;    // of the line's expansions so far
    int expansions = 0;                // of this pass: each one's labels are its own
    std::vector<int> scopes;           // the expansions being assembled, innermost last
    std::uint32_t expansionColumn = 0; // where the invoking line names what it expands
    std::string expansionName;         // and what it names
    std::string conditionWord;         // IF or ELSEIF while its condition is evaluated

    // The line.
    std::uint32_t lineIndex = 0;
    SourceLine current;
    std::int64_t lineStart = 0;
    bool lineFailed = false;
    bool lastUnknown = false; // the last operand named a symbol without a value
};

void AsAssembler::run() {
    const std::time_t now = std::time(nullptr);
    char stamp[sizeof "00/00/00"];
    std::strftime(stamp, sizeof stamp, "%m/%d/%y", std::localtime(&now));
    date = stamp;
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", std::localtime(&now));
    time = stamp;
    for (passNumber = 1;; ++passNumber) {
        pass();
        const bool nowKnown =
            std::any_of(unknownNames.begin(), unknownNames.end(), [this](const std::string& name) {
                return assembly.symbols.contains(name) || localNames.contains(name);
            });
        const bool namelessMoved = namelessAhead || (passNumber > 1 && nameless != lastNameless);
        if ((!nowKnown && !valuesChanged && !namelessMoved) || passNumber == maxPasses)
            break;
    }
    assembly.syntax = syntax;
    // What the last pass defined is the table; a name only an earlier pass knew stays with its line.
    assembly.errorCount = 0;
    for (std::uint32_t i = 0; i < assembly.diagnostics.size(); ++i)
        if (isError(assembly.diagnostics[i]) &&
            (i == 0 || assembly.diagnostics[i - 1].line != assembly.diagnostics[i].line))
            ++assembly.errorCount;
    assembly.bytesAssembled = 0;
    for (const Line& line : assembly.lines)
        assembly.bytesAssembled += static_cast<std::uint32_t>(line.size());
}

void AsAssembler::pass() {
    for (Line& line : assembly.lines) {
        line.kind = Line::noStatement;
        line.code.clear();
        line.comment = 0;
        line.emits = true;
        line.value = 0;
    }
    assembly.diagnostics.clear();
    assembly.uses.clear();
    unknownNames.clear();
    valuesChanged = false;
    syntax = firstSyntax;
    radix = defaultRadix;
    pc = 0;
    ended = false;
    conditions.clear();
    lastNameless = std::move(nameless);
    nameless.clear();
    namelessAhead = false;
    macros.clear();
    recording.reset();
    expansions = 0;
    const auto count = static_cast<std::uint32_t>(assembly.lines.size());
    for (lineIndex = 0; lineIndex < count && !ended; ++lineIndex)
        assembleLine(lineIndex);
    for (const Condition& open : conditions)
        if (!open.failed)
            assembly.diagnostics.push_back({open.line, 1, 1, {DiagCode::unclosedConditional}, 1});
    if (recording)
        assembly.diagnostics.push_back({recording->line,
                                        recording->column,
                                        1,
                                        {DiagCode::unclosedMacro, recording->repeats ? "REPT" : "MACRO"},
                                        recording->column});
    std::stable_sort(assembly.diagnostics.begin(), assembly.diagnostics.end(),
                     [](const Diagnostic& a, const Diagnostic& b) {
                         return a.line != b.line ? a.line < b.line : a.column < b.column;
                     });
}

void AsAssembler::assembleLine(std::uint32_t index) {
    source.readLine(index, current);
    Line& line = assembly.lines[index];
    lineFailed = false;
    expandedLines = 0;
    line.value = static_cast<std::uint32_t>(pc);
    const std::uint32_t comment = commentColumn(current.text);
    if (comment <= current.text.size())
        line.comment = comment;
    if (recording)
        record(current.text);
    else
        statement(comment);
}

// The statement in `current` up to `codeEnd`, where its comment begins, for the
// line `lineIndex`: the line's own, or one of an expansion that the line invokes.
void AsAssembler::statement(std::uint32_t codeEnd) {
    const std::string& text = current.text;
    lineStart = pc;

    // A name in column 1 is a label, with or without a colon; elsewhere one with a colon is.
    // A lone '-', '+' or '/' there is a nameless one, which '-' finds backwards and '+' forwards.
    std::uint32_t pos = 1;
    std::optional<Span> label;
    if (codeEnd > 1 && std::string_view("+-/").find(scan::at(text, 1)) != std::string_view::npos &&
        (codeEnd == 2 || scan::isBlank(scan::at(text, 2)) || scan::at(text, 2) == ':')) {
        if (assembling())
            nameless.push_back({scan::at(text, 1), pc});
        pos = scan::at(text, 2) == ':' ? 3 : 2;
    } else if (codeEnd > 1 && isNameStart(scan::at(text, 1))) {
        while (pos < codeEnd && isNameChar(scan::at(text, pos)))
            ++pos;
        label = Span{1, pos};
        if (pos < codeEnd && scan::at(text, pos) == ':' &&
            !(pos + 1 < codeEnd && scan::at(text, pos + 1) == '='))
            ++pos;
    } else {
        std::uint32_t p = pos;
        scan::skipBlanks(text, p, codeEnd - 1);
        const std::uint32_t start = p;
        while (p < codeEnd && isNameChar(scan::at(text, p)))
            ++p;
        if (p > start && isNameStart(scan::at(text, start)) && p < codeEnd && scan::at(text, p) == ':' &&
            !(p + 1 < codeEnd && scan::at(text, p + 1) == '=')) {
            label = Span{start, p};
            pos = p + 1;
        }
    }

    scan::skipBlanks(text, pos, codeEnd - 1);
    {
        std::uint32_t end = pos;
        while (end < codeEnd && isNameChar(scan::at(text, end)))
            ++end;
        if (conditional(upperOf(scan::slice(text, pos, end)), pos, operandsOf(text, {end, codeEnd})))
            return;
    }
    if (!assembling()) // a line of a branch not taken: nothing of it counts
        return;
    if (pos + 1 < codeEnd && scan::at(text, pos) == ':' && scan::at(text, pos + 1) == '=') {
        directive(":=", label, operandsOf(text, {pos + 2, codeEnd}));
        return;
    }
    if (pos < codeEnd && scan::at(text, pos) == '=' &&
        !(pos + 1 < codeEnd && scan::at(text, pos + 1) == '=')) {
        directive("EQU", label, operandsOf(text, {pos + 1, codeEnd}));
        return;
    }
    const std::uint32_t wordStart = pos;
    while (pos < codeEnd && isNameChar(scan::at(text, pos)))
        ++pos;
    // An instruction written in column 1 is a label, as AS reads it: said when that may not be meant.
    const bool labelIsMnemonic = label && label->from == 1 && scan::at(text, label->to) != ':' &&
                                 asInstructions(syntax == Syntax::as8008new).contains(upperOf(typed(*label)));
    if (pos == wordStart) { // a label alone, or something that is no statement
        if (pos < codeEnd) {
            error(pos, {DiagCode::expectedMnemonic, typed({pos, codeEnd})});
            return;
        }
        define(label, pc, false);
        if (labelIsMnemonic)
            warn(1, {DiagCode::labelLikeStatement, typed(*label)}, label->to - 1);
        return;
    }
    const std::string word = upperOf(scan::slice(text, wordStart, pos));
    const std::vector<Span> operands = operandsOf(text, {pos, codeEnd});
    const WordTable<AsInstruction>& instructions = asInstructions(syntax == Syntax::as8008new);
    // A macro comes before an instruction of its name, as in AS.
    if (const auto macro = macros.find(word); macro != macros.end()) {
        define(label, pc, false);
        std::vector<std::string> arguments;
        for (const Span& operand : operands)
            arguments.push_back(typed(operand));
        const Macro called = macro->second; // a copy: the body may define macros anew
        expand(called.body, called.parameters, arguments, wordStart, typed({wordStart, pos}));
    } else if (const AsInstruction* found = instructions.find(word)) {
        define(label, pc, false);
        instruction(*found, word, operands);
    } else if (word == "MACRO" || word == "REPT") {
        startRecording(word, label, operands, wordStart);
    } else if (!directive(word, label, operands)) {
        if (!lineFailed) {
            if (labelIsMnemonic)
                error(1, {DiagCode::mnemonicAsLabel, typed(*label)}, label->to - 1);
            else
                error(wordStart, {DiagCode::unknownMnemonic, typed({wordStart, pos})}, pos - wordStart);
        }
    }
}

// What the line is and its value; nothing for a statement of an expansion,
// whose line is the one that invokes it.
void AsAssembler::setKind(Line::LineCode kind, std::optional<std::int64_t> value) {
    if (expansionDepth > 0)
        return;
    Line& line = assembly.lines[lineIndex];
    line.kind = kind;
    if (value)
        line.value = static_cast<std::uint32_t>(*value & 0xFFFF);
}

// MACRO name's or REPT's lines up to their ENDM are kept, not assembled.
void AsAssembler::startRecording(const std::string& word, std::optional<Span> label,
                                 const std::vector<Span>& operands, std::uint32_t column) {
    setKind(Line::noCode);
    Recording started{word == "REPT", lineIndex, column, 1, {}, {}, 0};
    if (started.repeats) {
        define(label, pc, false);
        if (operandsAre(operands, 1, word))
            started.times = valueIn(operands[0], 0, lastAddress + 1, "a count (0 to 16384)").value_or(0);
    } else if (!label) {
        error(column, {DiagCode::operandCount, "MACRO", "a name in column 1"});
    } else {
        started.name = upperOf(typed(*label));
        for (const Span& operand : operands) // an option such as {NOEXPAND} is the listing's
            if (operand.empty() || scan::at(current.text, operand.from) != '{')
                started.parameters.push_back(upperOf(typed(operand)));
    }
    started.failed = lineFailed;
    recording = std::move(started);
}

void AsAssembler::record(const std::string& text) {
    const std::uint32_t end = commentColumn(text);
    std::uint32_t pos = 1;
    if (end > 1 && isNameStart(scan::at(text, 1)))
        while (pos < end && (isNameChar(scan::at(text, pos)) || scan::at(text, pos) == ':'))
            ++pos;
    const std::string word = wordAt(text, pos);
    if (word == "MACRO" || word == "REPT")
        ++recording->depth;
    else if (word == "ENDM" && --recording->depth == 0) {
        Recording done = std::move(*recording);
        recording.reset();
        setKind(Line::noCode);
        if (!done.repeats) {
            if (!done.name.empty())
                macros[done.name] = {std::move(done.parameters), std::move(done.body)};
            return;
        }
        // The repetitions' bytes are the REPT line's.
        const std::uint32_t endLine = std::exchange(lineIndex, done.line);
        const bool endFailed = std::exchange(lineFailed, done.failed);
        for (std::int64_t i = 0; i < done.times && expandedLines <= maxExpandedLines; ++i)
            expand(done.body, {}, {}, done.column, "REPT");
        lineIndex = endLine;
        if (endLine != done.line)
            lineFailed = endFailed;
        return;
    }
    recording->body.push_back(text);
}

// Assembles `body` with each parameter's name replaced by its argument, for the
// line `lineIndex`, whose record takes every byte. Its labels are its own.
void AsAssembler::expand(const std::vector<std::string>& body, const std::vector<std::string>& parameters,
                         const std::vector<std::string>& arguments, std::uint32_t column,
                         const std::string& name) {
    if (expansionDepth >= maxExpansionDepth) {
        error(column, {DiagCode::tooDeep, std::to_string(maxExpansionDepth)});
        return;
    }
    const SourceLine invoking = current;
    if (expansionDepth == 0) { // what the body holds is said where the line invokes it
        expansionColumn = column;
        expansionName = name;
    }
    scopes.push_back(++expansions);
    ++expansionDepth;
    for (const std::string& bodyLine : body) {
        if (++expandedLines > maxExpandedLines) {
            error(column, {DiagCode::expansionTooLarge, std::to_string(maxExpandedLines)});
            break;
        }
        current.text = substituted(bodyLine, parameters, arguments);
        current.wide.clear();
        if (recording) // a MACRO or REPT within the body
            record(current.text);
        else
            statement(commentColumn(current.text));
        if (ended)
            break;
    }
    --expansionDepth;
    scopes.pop_back();
    current = invoking;
}

bool AsAssembler::assembling() const {
    return conditions.empty() || conditions.back().taking;
}

// IF, IFDEF, IFNDEF, ELSEIF, ELSE and ENDIF, in taken branches and others alike.
bool AsAssembler::conditional(const std::string& word, std::uint32_t column,
                              const std::vector<Span>& operands) {
    const bool opens = word == "IF" || word == "IFDEF" || word == "IFNDEF";
    if (!opens && word != "ELSEIF" && word != "ELSE" && word != "ENDIF")
        return false;
    assembly.lines[lineIndex].kind = Line::noCode;
    const auto condition = [&]() -> bool {
        if (!operandsAre(operands, 1, word))
            return false;
        if (word == "IF" || word == "ELSEIF") {
            // Every pass must take the same branches: the condition takes no name defined further down.
            conditionWord = word;
            const std::optional<std::int64_t> holds = value(operands[0]);
            conditionWord.clear();
            return holds.value_or(0) != 0;
        }
        const std::uint32_t number = assembly.symbols.indexOf(upperOf(typed(operands[0])));
        const bool defined = number != assembly.symbols.none && symbols[number].pass == passNumber;
        return defined == (word == "IFDEF");
    };
    if (opens) {
        const bool outerTaking = assembling();
        const bool holds = outerTaking && condition();
        conditions.push_back({lineIndex, word, outerTaking, holds, holds, lineFailed});
        return true;
    }
    if (conditions.empty() || (conditions.back().word == "ELSE" && word != "ENDIF")) {
        error(column,
              {DiagCode::unmatchedConditional,
               typed({column, column + static_cast<std::uint32_t>(word.size())})},
              static_cast<std::uint32_t>(word.size()));
        return true;
    }
    Condition& open = conditions.back();
    if (word == "ENDIF") {
        conditions.pop_back();
        return true;
    }
    const bool holds = open.outerTaking && !open.taken && (word == "ELSE" || condition());
    open.word = word;
    open.taking = holds;
    open.taken = open.taken || holds;
    return true;
}

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
            define(label, *v, word == "SET" || word == ":=");
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
        functions[upperOf(typed(*label))] = std::move(defined);
        return true;
    }
    if (word == "INCLUDE") {
        define(label, pc, false);
        if (!only(1))
            return true;
        AsExpression names(*this, radix);
        std::optional<std::string> file = names.literal(current, operands[0].from, operands[0].to);
        if (!file)
            file = typed(operands[0]);
        const std::string base =
            file->substr(file->find_last_of("/\\") == std::string::npos ? 0 : file->find_last_of("/\\") + 1);
        if (upperOf(base) != "BITFUNCS.INC") {
            error(operands[0].from, {DiagCode::includeNotRead, *file});
            return true;
        }
        for (const BitFunction& served : bitFunctions())
            functions[served.name] = {served.parameters, {}, served.compute};
        return true;
    }
    // Directives of the listing, which change no byte.
    define(label, pc, false);
    return true;
}

void AsAssembler::instruction(const AsInstruction& found, const std::string& word,
                              const std::vector<Span>& operands) {
    const std::uint8_t op = found.opcode;
    const auto only = [&](std::size_t count) { return operandsAre(operands, count, word); };
    const auto code = [](int opcode, int operandBytes) {
        return static_cast<Line::LineCode>(opcode + 0x100 * operandBytes);
    };
    switch (found.form) {
    case AsForm::fixed:
        if (only(0))
            emit(code(op, 0), {});
        return;
    case AsForm::immediate:
        if (only(1))
            if (const auto v = valueIn(operands[0], -0x80, 0xFF, "a byte (-128 to 255)"))
                emit(code(op, 1), {static_cast<std::uint8_t>(*v & 0xFF)});
        return;
    case AsForm::jump:
        if (only(1))
            if (const auto v = valueIn(operands[0], 0, lastAddress, "an address of the 8008 (0 to 3FFFH)"))
                emit(code(op, 2), {static_cast<std::uint8_t>(*v & 0xFF), static_cast<std::uint8_t>(*v >> 8)});
        return;
    case AsForm::restart: {
        if (!only(1))
            return;
        const std::optional<std::int64_t> address = value(operands[0]);
        if (!address) {
            if (lastUnknown) // the line keeps its size until the name is known
                emit(code(op, 0), {});
            return;
        }
        if (*address < 0 || *address > 0x38 || (*address >= 8 && *address % 8 != 0)) {
            error(operands[0].from, {DiagCode::restartAddress, typed(operands[0])});
            return;
        }
        // The address it calls, or the restart number as the 8008's manual writes it.
        emit(code(static_cast<int>(*address < 8 ? op | *address << 3 : op + *address), 0), {});
        return;
    }
    case AsForm::input:
        if (only(1))
            if (const auto v = valueIn(operands[0], 0, 7, "an input port (0 to 7)"))
                emit(code(static_cast<int>(op | *v << 1), 0), {});
        return;
    case AsForm::output:
        if (only(1))
            if (const auto v = valueIn(operands[0], 8, 31, "an output port (8 to 31)"))
                emit(code(static_cast<int>(op | *v << 1), 0), {});
        return;
    case AsForm::move:
        if (only(2)) {
            const auto d = registerOf(operands[0], word), s = registerOf(operands[1], word);
            if (d && s && *d == memoryRegister && *s == memoryRegister)
                error(operands[0].from,
                      {DiagCode::badRegister, typed({operands[0].from, operands[1].to}), word});
            else if (d && s)
                emit(code(op | *d << 3 | *s, 0), {});
        }
        return;
    case AsForm::moveImmediate:
        if (only(2))
            if (const auto d = registerOf(operands[0], word))
                if (const auto v = valueIn(operands[1], -0x80, 0xFF, "a byte (-128 to 255)"))
                    emit(code(op | *d << 3, 1), {static_cast<std::uint8_t>(*v & 0xFF)});
        return;
    case AsForm::loadPair:
        if (only(2))
            if (const auto d = registerOf(operands[0], word, false)) {
                if (*d != 1 && *d != 3 && *d != 5) { // B, D and H head their pairs
                    error(operands[0].from, {DiagCode::badRegister, typed(operands[0]), word});
                    return;
                }
                if (const auto v = valueIn(operands[1], -0x8000, 0xFFFF, "a word (-32768 to 65535)"))
                    emit(Line::lhli, {static_cast<std::uint8_t>(op | *d << 3),
                                      static_cast<std::uint8_t>((*v >> 8) & 0xFF),
                                      static_cast<std::uint8_t>(op | (*d + 1) << 3),
                                      static_cast<std::uint8_t>(*v & 0xFF)});
            }
        return;
    case AsForm::sourceRegister:
        if (only(1))
            if (const auto s = registerOf(operands[0], word))
                emit(code(op | *s, 0), {});
        return;
    case AsForm::destinationRegister:
        if (only(1))
            if (const auto d = registerOf(operands[0], word, false)) {
                if (*d == 0)
                    error(operands[0].from, {DiagCode::badRegister, typed(operands[0]), word});
                else
                    emit(code(op | *d << 3, 0), {});
            }
        return;
    }
}

// The bytes of DB's or DW's operands: values, strings, DATE and TIME, and
// `count DUP (operands)`. False once one is in error.
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

std::optional<int> AsAssembler::registerOf(Span operand, const std::string& word, bool memoryTaken) {
    const std::string name = upperOf(typed(operand));
    const std::size_t number =
        name.size() == 1 ? std::string_view(asRegisters).find(name[0]) : std::string_view::npos;
    if (number == std::string_view::npos || (!memoryTaken && number == memoryRegister)) {
        error(operand.from, {DiagCode::badRegister, typed(operand), word}, operand.to - operand.from);
        return std::nullopt;
    }
    return static_cast<int>(number);
}

bool AsAssembler::operandsAre(const std::vector<Span>& operands, std::size_t count, const std::string& word) {
    if (operands.size() == count &&
        std::none_of(operands.begin(), operands.end(), [](Span s) { return s.empty(); }))
        return true;
    static constexpr std::array<const char*, 3> takes{"no operand", "one operand", "two operands"};
    const std::uint32_t column = operands.empty() ? 1 : operands.front().from;
    error(column, {DiagCode::operandCount, word, takes[std::min<std::size_t>(count, 2)]});
    return false;
}

void AsAssembler::emit(Line::LineCode kind, ByteList bytes) {
    Line& line = assembly.lines[lineIndex];
    if (expansionDepth > 0) { // the invoking line holds every byte of its expansion
        const std::uint32_t size = (kind >= 0 ? 1 : 0) + static_cast<std::uint32_t>(bytes.size());
        if (size > 0 && pc + size - 1 > lastAddress)
            error(1, {DiagCode::outOfRange, std::to_string(pc + size - 1),
                      "an address of the 8008 (0 to 3FFFH)"});
        if (kind >= 0)
            line.code.push_back(static_cast<std::uint8_t>(kind & 0xFF));
        for (const std::uint8_t byte : bytes)
            line.code.push_back(byte);
        line.kind = Line::expansion;
        pc += size;
        return;
    }
    line.kind = kind;
    line.code = std::move(bytes);
    const std::int64_t size = static_cast<std::int64_t>(line.size());
    if (size > 0 && pc + size - 1 > lastAddress)
        error(1,
              {DiagCode::outOfRange, std::to_string(pc + size - 1), "an address of the 8008 (0 to 3FFFH)"});
    pc += size;
}

void AsAssembler::define(std::optional<Span> label, std::int64_t v, bool variable) {
    if (!label)
        return;
    // A label of an expansion is its own: each expansion of a macro has its loop.
    const bool local = !scopes.empty();
    const std::string name = local ? localKey(upperOf(typed(*label))) : upperOf(typed(*label));
    WordTable<std::uint32_t>& names = local ? localNames : assembly.symbols;
    std::vector<Symbol>& info = local ? localSymbols : symbols;
    std::uint32_t number = names.indexOf(name);
    if (number == names.none) {
        names.set(name, lineIndex);
        number = names.indexOf(name);
        info.resize(number + 1);
    }
    Symbol& s = info[number];
    if (s.pass == passNumber && !(s.variable && variable)) {
        error(label->from, {DiagCode::symbolDefinedTwice, typed(*label), std::to_string(s.line + 1)},
              label->to - label->from);
        return;
    }
    if (s.pass != passNumber) {
        if (!s.variable && s.pass == passNumber - 1 && s.value != v)
            valuesChanged = true;
        s.line = lineIndex;
    }
    s.value = v;
    s.pass = passNumber;
    s.variable = variable;
    names.set(name, lineIndex);
}

std::string AsAssembler::localKey(std::string_view name) const {
    return std::string(name) + '@' + std::to_string(scopes.back());
}

std::optional<std::int64_t> AsAssembler::symbol(std::string_view name, std::uint32_t column) {
    // Conditions take only what this pass has defined; other operands what the last one did too.
    const int lastPass = conditionWord.empty() ? passNumber - 1 : passNumber;
    std::string local;
    if (!scopes.empty()) {
        local = localKey(name);
        if (const std::uint32_t n = localNames.indexOf(local);
            n != localNames.none && localSymbols[n].pass >= lastPass)
            return localSymbols[n].value;
    }
    const std::uint32_t number = assembly.symbols.indexOf(name);
    if (number != assembly.symbols.none && symbols[number].pass >= lastPass) {
        if (column != 0 && scopes.empty())
            assembly.uses.push_back({number, lineIndex, column});
        return symbols[number].value;
    }
    // A pass more helps a name that no pass has defined up to here, not one a condition refuses.
    const auto undefinedSoFar = [this](const WordTable<std::uint32_t>& names, const std::vector<Symbol>& info,
                                       std::string_view key) {
        const std::uint32_t n = names.indexOf(key);
        return n == names.none || info[n].pass < passNumber - 1;
    };
    if (undefinedSoFar(assembly.symbols, symbols, name) &&
        (local.empty() || undefinedSoFar(localNames, localSymbols, local))) {
        unknownNames.emplace_back(name);
        if (!local.empty())
            unknownNames.push_back(std::move(local));
    }
    return std::nullopt;
}

// The nameless label that `-`, `--` ... (backwards) or `+`, `++` ... (forwards) name;
// forwards, the last pass's list says where it is.
std::optional<std::int64_t> AsAssembler::namelessLabel(Span operand) {
    const std::string_view text = scan::slice(current.text, operand.from, operand.to);
    const char direction = text.front();
    std::size_t count = text.size();
    const auto matches = [direction](const Nameless& label) {
        return label.kind == direction || label.kind == '/';
    };
    if (direction == '-') {
        for (auto it = nameless.rbegin(); it != nameless.rend(); ++it)
            if (matches(*it) && --count == 0)
                return it->value;
    } else {
        for (std::size_t i = nameless.size(); i < lastNameless.size(); ++i)
            if (matches(lastNameless[i]) && --count == 0)
                return lastNameless[i].value;
        if (passNumber == 1) { // known in the next pass
            namelessAhead = true;
            lastUnknown = true;
            return std::nullopt;
        }
    }
    error(operand.from, {DiagCode::undefinedSymbol, std::string(text)}, operand.to - operand.from);
    return std::nullopt;
}

std::optional<std::int64_t> AsAssembler::value(Span operand) {
    if (const std::string_view text = scan::slice(current.text, operand.from, operand.to);
        !text.empty() && text.find_first_not_of(text.front()) == std::string_view::npos &&
        (text.front() == '+' || text.front() == '-')) {
        lastUnknown = false;
        return namelessLabel(operand);
    }
    AsExpression expression(*this, radix);
    const std::optional<std::int64_t> v = expression.evaluate(current, operand.from, operand.to);
    lastUnknown = false;
    if (!v) {
        error(expression.faultColumn(), expression.fault());
        return std::nullopt;
    }
    if (expression.unknown()) {
        // Said in every pass: the next pass, if a name is defined further down, says it no more.
        const std::string& name = expression.firstUnknown();
        const bool later = !conditionWord.empty() && assembly.symbols.contains(upperOf(name));
        error(expression.firstUnknownColumn(),
              later ? Fault{DiagCode::noForwardReference, name, conditionWord}
                    : Fault{DiagCode::undefinedSymbol, name},
              static_cast<std::uint32_t>(name.size()));
        lastUnknown = true;
        return std::nullopt;
    }
    return v;
}

std::optional<std::int64_t> AsAssembler::valueIn(Span operand, std::int64_t low, std::int64_t high,
                                                 const char* what) {
    const std::optional<std::int64_t> v = value(operand);
    if (!v) // a stand-in in the range, so that the line keeps its size until the name is known
        return lastUnknown ? std::optional(std::max<std::int64_t>(low, 0)) : std::nullopt;
    if (*v < low || *v > high) {
        error(operand.from, {DiagCode::outOfRange, std::to_string(*v), what}, operand.to - operand.from);
        return std::nullopt;
    }
    return v;
}

void AsAssembler::error(std::uint32_t column, Fault fault, std::uint32_t length) {
    if (lineFailed)
        return;
    lineFailed = true;
    column = expansionDepth > 0 ? expansionColumn : std::max<std::uint32_t>(column, 1);
    length = expansionDepth > 0 ? 1 : length;
    if (expansionDepth > 0)
        fault.expansion = expansionName;
    // A fault found where the comment begins (an operand missing there) shows red, not a comment.
    Line& line = assembly.lines[lineIndex];
    if (line.comment != 0 && column >= line.comment)
        line.comment = 0;
    assembly.diagnostics.push_back(
        {lineIndex, column, std::max<std::uint32_t>(length, 1), std::move(fault), column});
}

void AsAssembler::warn(std::uint32_t column, Fault fault, std::uint32_t length) {
    if (expansionDepth > 0) // the invoking line's own warnings only
        return;
    assembly.diagnostics.push_back({lineIndex, column, length, std::move(fault), column});
}

std::string AsAssembler::typed(Span span) const {
    std::u16string units;
    for (std::uint32_t column = span.from; column < span.to && column <= current.text.size(); ++column)
        units += current.unitAt(column);
    return utf8Of(units);
}

} // namespace

Syntax syntaxOf(const TextArea& text) {
    // What may stand before the CPU directive: what defines no byte and needs no processor.
    static constexpr std::array<std::string_view, 13> before{"PAGE", "TITLE",  "INCLUDE", "EQU",   "SET",
                                                             "=",    "RADIX",  "IF",      "IFDEF", "IFNDEF",
                                                             "ELSE", "ELSEIF", "ENDIF"};
    SourceLine line;
    for (std::size_t i = 0; i < text.lineCount(); ++i) {
        text.readLine(i, line);
        const std::string& t = line.text;
        const std::uint32_t end = commentColumn(t);
        std::uint32_t pos = 1;
        if (end > 1 && !scan::isBlank(scan::at(t, 1))) { // a label, as AS reads column 1
            while (pos < end && isNameChar(scan::at(t, pos)))
                ++pos;
            if (pos == 1)
                return Syntax::native;
            if (pos < end && scan::at(t, pos) == ':')
                ++pos;
        }
        std::string word = wordAt(t, pos);
        if (word.empty() && pos < end && scan::at(t, pos) == '=')
            word = "=";
        if (word.empty()) {
            if (pos < end)
                return Syntax::native;
            continue; // a blank line, a comment or a label alone
        }
        if (word == "CPU") {
            const std::string processor = wordAt(t, pos);
            scan::skipBlanks(t, pos, end - 1);
            if (pos < end)
                return Syntax::native;
            if (processor == "8008" || processor == "8008NEW")
                return processor == "8008" ? Syntax::as8008 : Syntax::as8008new;
            continue; // another processor, such as one in a branch not taken
        }
        if (std::find(before.begin(), before.end(), word) == before.end())
            return Syntax::native;
    }
    return Syntax::native;
}

void assembleAsSyntax(const TextArea& text, Syntax syntax, Assembly& assembly) {
    assembly.lines.assign(text.lineCount(), {});
    assembly.symbols.clear();
    assembly.forwardRefs.clear();
    AsAssembler(text, syntax, assembly).run();
}
