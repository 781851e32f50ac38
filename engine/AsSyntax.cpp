// The assembler for AS-syntax sources: it reads each line as AS does (label,
// operation, operands split at commas) and repeats the pass, with the values
// the last pass found for names defined further down, until they hold.

#include "AsAssembler.h"
#include "SourceText.h"

#include <array>
#include <ctime>

namespace assyntax {

std::string wordAt(const std::string& text, std::uint32_t& pos) {
    const auto n = static_cast<std::uint32_t>(text.size());
    scan::skipBlanks(text, pos, n);
    const std::uint32_t start = pos;
    while (pos <= n && isNameChar(scan::at(text, pos)))
        ++pos;
    return upperOf(scan::slice(text, start, pos));
}

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
    // A label of a line that includes or invokes: its bytes may begin elsewhere, after an ORG.
    std::vector<std::optional<Assembly::Definition>>& defined = assembly.expandedDefinitions;
    defined.resize(assembly.symbols.size());
    for (std::uint32_t n = 0; n < defined.size(); ++n)
        if (!defined[n] && assembly.lines[assembly.symbols.valueAt(n)].kind == Line::expansion)
            defined[n] = Assembly::Definition{static_cast<std::uint32_t>(symbols[n].value & 0xFFFF), true};
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
    assembly.expanded.clear();
    assembly.includedUses.clear();
    assembly.expandedDefinitions.clear();
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
    placeFile = 0;
    placeLine = index;
    if (recording)
        record({current.text, 0, index});
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
    if (const Macro* macro = macros.find(word)) {
        define(label, pc, false);
        std::vector<std::string> arguments;
        for (const Span& operand : operands)
            arguments.push_back(typed(operand));
        const Macro called = *macro; // a copy: the body may define macros anew
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

} // namespace assyntax

using namespace assyntax;

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

void assembleAsSyntax(const TextArea& text, Syntax syntax, const std::string& path, Assembly& assembly) {
    assembly.lines.assign(text.lineCount(), {});
    assembly.symbols.clear();
    assembly.forwardRefs.clear();
    AsAssembler(text, syntax, path, assembly).run();
}
