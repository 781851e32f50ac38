// Includes, conditions, macros and repetitions in the assembler's own syntax:
// INCLUDE "file"; IF, ELSEIF, ELSE and ENDIF, with IFDEF and IFNDEF; NAME MACRO
// parameters ... ENDM; REPT count ... ENDM. The line of the text that brings
// lines in holds all their bytes, and each of them is listed under it.

#include "Expanding.h"
#include "MacroText.h"
#include "Scan.h"

#include <algorithm>
#include <array>
#include <set>
#include <tuple>

using namespace scan;
using Line = TBrenvikEngine::Line;

namespace {

constexpr std::uint32_t maxValue = 0xFFFF;

// The assembler's own strings: in double quotes, without escapes.
class DoubleQuotes {
  public:
    bool quoted(char c) {
        if (c == '"') {
            inside = !inside;
            return true;
        }
        return inside;
    }

  private:
    bool inside = false;
};

bool isName(std::string_view text) {
    return !text.empty() && isLetter(text.front()) && std::all_of(text.begin(), text.end(), isWordChar);
}

// The labels that lines define in column 1, upper case: in an expansion, its own.
std::vector<std::string> labelsOf(const std::vector<BodyLine>& body) {
    std::vector<std::string> labels;
    for (const BodyLine& line : body) {
        std::uint32_t end = 1;
        skipWord(line.text, end, static_cast<std::uint32_t>(line.text.size()));
        if (end > 1 && isLetter(line.text.front()))
            labels.push_back(upperOf(slice(line.text, 1, end)));
    }
    return labels;
}

} // namespace

bool TBrenvikEngine::expandingWord(std::string_view word) {
    static constexpr std::array<std::string_view, 10> words{"INCLUDE", "IF",    "IFDEF", "IFNDEF", "ELSEIF",
                                                            "ELSE",    "ENDIF", "MACRO", "ENDM",   "REPT"};
    return std::find(words.begin(), words.end(), word) != words.end();
}

void TBrenvikEngine::runExpanding() {
    metExpansion = false;
    expanding = std::make_unique<Expanding>(sourcePath);
    prepare();
    assembly.lines.clear();
    lineCounted.clear();
    std::uint32_t pc = 0;
    const auto count = static_cast<std::uint32_t>(sourceText.lineCount());
    for (std::uint32_t i = 0; i < count; ++i) {
        expanding->expandedLines = 0;
        assemble(pc, addLine({.textLine = i, .fileLine = i}));
    }
    closeExpanding();
    resolve();
    foldExpansions();
    // A text that no longer uses them is assembled plainly again from the next run on.
    lastRunExpanded = expanding->used;
    expanding.reset();
    labelScope = 0;
}

std::uint32_t TBrenvikEngine::addLine(RunLine line) {
    expanding->lines.push_back(std::move(line));
    assembly.lines.emplace_back();
    lineCounted.push_back(false);
    return static_cast<std::uint32_t>(assembly.lines.size() - 1);
}

void TBrenvikEngine::readExpandedLine(std::uint32_t index) {
    const RunLine& line = expanding->lines[index];
    labelScope = line.scope;
    if (line.depth == 0) {
        sourceText.readLine(line.textLine, current);
    } else {
        current.text = line.text;
        current.wide.clear();
    }
}

std::uint32_t TBrenvikEngine::textLineOf(std::uint32_t index) const {
    return expanding ? expanding->lines[index].textLine : index;
}

bool TBrenvikEngine::expandingStatement(std::uint32_t& pc, std::uint32_t index) {
    Expanding& x = *expanding;
    const std::string& upper = currentUpper;
    const auto n = static_cast<std::uint32_t>(upper.size());
    std::uint32_t pos = 1;
    skipWord(upper, pos, n);
    const std::string label = isLetter(at(upper, 1)) ? std::string(slice(upper, 1, pos)) : std::string();
    if (label.empty())
        pos = 1;
    else if (pos <= n && at(upper, pos) == ':')
        ++pos;
    skipBlanks(upper, pos, n);
    const std::uint32_t wordStart = pos;
    if (pos <= n && isLetter(at(upper, pos)))
        skipWord(upper, pos, n);
    const std::string word(slice(upper, wordStart, pos));
    if (x.recording) {
        record(pc, index, word, pos);
        return true;
    }
    if (conditional(index, word, pos))
        return true;
    if (!x.assembling()) // a line of a branch not taken: nothing of it counts
        return true;
    if (word == "ENDM") {
        errorline(index, wordStart, {DiagCode::unmatchedEndm, typedText(wordStart, pos)});
        return true;
    }
    if (word != "MACRO" && word != "REPT" && word != "INCLUDE" && !x.macros.contains(word))
        return false;
    x.used = true;
    assembly.lines[index].kind = Line::noCode;
    statementStart = wordStart;
    statementWord = slice(upper, wordStart, pos);
    if (word == "MACRO") {
        startRecording(index, word, label, pos);
        return true;
    }
    if (!label.empty())
        defineLabel(index, label);
    if (word == "REPT")
        startRecording(index, word, label, pos);
    else if (word == "INCLUDE")
        include(pc, index, pos);
    else
        invoke(pc, index, word, pos);
    return true;
}

// IF, IFDEF, IFNDEF, ELSEIF, ELSE and ENDIF, in taken branches and others alike.
bool TBrenvikEngine::conditional(std::uint32_t index, std::string_view word, std::uint32_t pos) {
    const bool opens = word == "IF" || word == "IFDEF" || word == "IFNDEF";
    if (!opens && word != "ELSEIF" && word != "ELSE" && word != "ENDIF")
        return false;
    Expanding& x = *expanding;
    x.used = true;
    assembly.lines[index].kind = Line::noCode;
    const std::string& upper = currentUpper;
    const auto n = static_cast<std::uint32_t>(upper.size());
    const std::uint32_t wordStart = pos - static_cast<std::uint32_t>(word.size());
    statementStart = wordStart;
    statementWord = slice(upper, wordStart, pos);
    // Whether the condition after the word holds; a faulty one does not.
    const auto holds = [&] {
        if (word == "ELSE" || word == "ENDIF") {
            checkEol(index, upper, pos);
            return true;
        }
        if (word == "IFDEF" || word == "IFNDEF") {
            skipBlanks(upper, pos, n);
            const std::uint32_t nameStart = pos;
            skipWord(upper, pos, n);
            const std::string_view name = slice(upper, nameStart, pos);
            if (!isName(name)) {
                errorline(index, nameStart, {DiagCode::operandCount, std::string(word), "a name"});
                return false;
            }
            checkEol(index, upper, pos);
            const std::optional<std::uint32_t> own = labelScope != 0 ? ownLabel(name) : std::nullopt;
            const bool defined = own ? *own != noLine : assembly.symbols.contains(name);
            return defined == (word == "IFDEF");
        }
        const Operand value = evaluate(index, upper, pos);
        if (value.value > maxValue) { // a condition takes no name defined further down
            errorline(index, 1, operandFault(value.value), findingColumn());
            return false;
        }
        checkEol(index, upper, pos);
        return value.value != 0;
    };
    if (opens) {
        const bool outerTaking = x.assembling();
        const bool taking = outerTaking && holds();
        x.conditions.push_back({index, outerTaking, taking, taking, false});
        return true;
    }
    if (x.conditions.empty() || (x.conditions.back().elseMet && word != "ENDIF")) {
        errorline(index, wordStart, {DiagCode::unmatchedConditional, typedText(wordStart, pos)});
        return true;
    }
    Expanding::Condition& open = x.conditions.back();
    if (word == "ENDIF") {
        x.conditions.pop_back();
        holds();
        return true;
    }
    const bool taking = open.outerTaking && !open.taken && holds();
    open.elseMet = word == "ELSE";
    open.taking = taking;
    open.taken = open.taken || taking;
    return true;
}

// MACRO's or REPT's lines up to their ENDM are kept, not assembled.
void TBrenvikEngine::startRecording(std::uint32_t index, std::string_view word, const std::string& label,
                                    std::uint32_t pos) {
    const std::string& upper = currentUpper;
    const std::uint32_t column = statementStart;
    Expanding::Recording started{word == "REPT", index, column};
    if (started.repeats) {
        const Operand count = evaluate(index, upper, pos);
        if (count.value > maxValue)
            errorline(index, 1, operandFault(count.value), findingColumn());
        else
            started.times = count.value;
        checkEol(index, upper, pos);
    } else if (label.empty()) {
        errorline(index, column, {DiagCode::operandCount, "MACRO", "a name in column 1"});
    } else {
        started.name = label;
        const std::uint32_t comment = macrotext::commentColumn<DoubleQuotes>(current.text, pos);
        for (const Span& parameter : macrotext::operandsOf<DoubleQuotes>(current.text, {pos, comment})) {
            const std::string name = upperOf(slice(current.text, parameter.from, parameter.to));
            if (!isName(name)) {
                errorline(index, parameter.from, {DiagCode::operandCount, "MACRO", "names of parameters"});
                break;
            }
            started.macro.parameters.push_back(name);
        }
        pos = comment;
        checkEol(index, upper, pos);
    }
    expanding->recording = std::move(started);
}

void TBrenvikEngine::record(std::uint32_t& pc, std::uint32_t index, std::string_view word,
                            std::uint32_t pos) {
    Expanding& x = *expanding;
    Expanding::Recording& recording = *x.recording;
    assembly.lines[index].kind = Line::noCode;
    if (word == "MACRO" || word == "REPT") {
        ++recording.depth;
    } else if (word == "ENDM" && --recording.depth == 0) {
        checkEol(index, currentUpper, pos);
        Expanding::Recording done = std::move(recording);
        x.recording.reset();
        done.macro.labels = labelsOf(done.macro.body);
        if (!done.repeats) {
            if (!done.name.empty())
                x.macros.set(done.name, std::move(done.macro));
            return;
        }
        // The repetitions' bytes are the REPT line's.
        for (std::uint32_t i = 0; i < done.times && x.expandedLines <= maxExpandedLines; ++i)
            expand(pc, done.line, done.macro.body, {}, {}, done.column, "REPT", &done.macro.labels);
        return;
    }
    const RunLine& line = x.lines[index];
    recording.macro.body.push_back({current.text, line.file, line.fileLine});
}

// INCLUDE "file": its lines, read beside the file that includes it, assembled
// as if they stood in place of the line.
void TBrenvikEngine::include(std::uint32_t& pc, std::uint32_t index, std::uint32_t pos) {
    Expanding& x = *expanding;
    const std::string& text = current.text;
    const auto n = static_cast<std::uint32_t>(text.size());
    skipBlanks(text, pos, n);
    const std::uint32_t quote = pos;
    const std::size_t closing =
        quote <= n && at(text, quote) == '"' ? text.find('"', quote) : std::string::npos;
    if (closing == std::string::npos || closing == quote) {
        errorline(index, quote, {DiagCode::operandCount, "INCLUDE", "a file name in double quotes"});
        return;
    }
    const std::string file = text.substr(quote, closing - quote);
    pos = static_cast<std::uint32_t>(closing) + 2;
    checkEol(index, currentUpper, pos);
    const std::string path = x.files.pathOf(file);
    std::optional<Fault> refused = x.files.refusal(path, file);
    const std::vector<BodyLine>* lines = refused ? nullptr : x.files.linesOf(path);
    if (!lines) {
        errorline(index, quote, refused.value_or(Fault{DiagCode::includeNotRead, file}), quote);
        return;
    }
    x.files.enter(path);
    expand(pc, index, *lines, {}, {}, quote, {}, nullptr);
    x.files.leave();
}

void TBrenvikEngine::invoke(std::uint32_t& pc, std::uint32_t index, std::string_view name,
                            std::uint32_t pos) {
    const Expanding::Macro called = *expanding->macros.find(name); // a copy: the body may define it anew
    const std::uint32_t comment = macrotext::commentColumn<DoubleQuotes>(current.text, pos);
    std::vector<std::string> arguments;
    for (const Span& argument : macrotext::operandsOf<DoubleQuotes>(current.text, {pos, comment}))
        arguments.emplace_back(slice(current.text, argument.from, argument.to));
    if (comment <= current.text.size())
        assembly.lines[index].comment = comment;
    const std::uint32_t column = statementStart;
    expand(pc, index, called.body, called.parameters, arguments, column,
           typedText(column, column + name.size()), &called.labels);
}

// Assembles `body`, each parameter's name replaced by its argument, for line
// `index`; `labels` are the expansion's own, none for an included file's lines.
void TBrenvikEngine::expand(std::uint32_t& pc, std::uint32_t index, const std::vector<BodyLine>& body,
                            const std::vector<std::string>& parameters,
                            const std::vector<std::string>& arguments, std::uint32_t column,
                            const std::string& macro, const std::vector<std::string>* labels) {
    Expanding& x = *expanding;
    if (x.depth >= maxExpansionDepth) {
        errorline(index, column, {DiagCode::tooDeep, std::to_string(maxExpansionDepth)}, column);
        return;
    }
    const std::uint32_t textLine = x.lines[index].textLine, depth = x.lines[index].depth + 1;
    // An included file's lines are the includer's; a macro without labels has none of its own.
    std::uint32_t scope = labels ? 0 : x.lines[index].scope;
    if (labels && !labels->empty()) {
        scope = static_cast<std::uint32_t>(x.ownLabels.size());
        std::vector<Expanding::OwnLabel>& own = x.ownLabels.emplace_back();
        for (const std::string& name : *labels)
            own.push_back({name});
    }
    if (!x.expansionNames.contains(macro))
        x.expansionNames.set(macro, {});
    const std::uint32_t named = x.expansionNames.indexOf(macro);
    ++x.depth;
    for (const BodyLine& line : body) {
        if (++x.expandedLines > maxExpandedLines) { // said once, where the bound is passed
            if (x.expandedLines == maxExpandedLines + 1)
                errorline(index, column, {DiagCode::expansionTooLarge, std::to_string(maxExpandedLines)},
                          column);
            break;
        }
        assemble(pc, addLine({textLine, depth, index, column, line.file, line.line, scope, named,
                              macrotext::substituted<DoubleQuotes>(line.text, parameters, arguments,
                                                                   isWordChar)}));
    }
    --x.depth;
}

std::optional<std::uint32_t> TBrenvikEngine::ownLabel(std::string_view name) const {
    if (const Expanding::OwnLabel* own = expanding->ownLabel(labelScope, name))
        return own->line;
    return std::nullopt;
}

bool TBrenvikEngine::defineOwnLabel(std::uint32_t index, std::string_view name) {
    Expanding::OwnLabel* own = expanding->ownLabel(labelScope, name);
    if (!own)
        return false;
    if (own->line != noLine)
        warn(index, 1, name.size(),
             {DiagCode::labelRedefined, std::string(name), std::to_string(textLineOf(own->line) + 1)});
    own->line = index;
    return true;
}

// What is still open when the text ends.
void TBrenvikEngine::closeExpanding() {
    const Expanding& x = *expanding;
    for (const Expanding::Condition& open : x.conditions)
        if (!lineCounted[open.line])
            errorline(open.line, 1, {DiagCode::unclosedConditional}, 1);
    if (x.recording && !lineCounted[x.recording->line])
        errorline(x.recording->line, x.recording->column,
                  {DiagCode::unclosedMacro, x.recording->repeats ? "REPT" : "MACRO"}, x.recording->column);
}

// The run's lines folded into the text's: a line that brings lines in holds
// their bytes, and what is found in them is said at it, with where it stands.
void TBrenvikEngine::foldExpansions() {
    foldDiagnostics();
    foldUses();
    // The text of each line brought in passes to the assembly's list of them.
    Expanding& x = *expanding;
    std::vector<Line> runLines = std::move(assembly.lines);
    assembly.lines.assign(sourceText.lineCount(), Line{});
    assembly.bytesAssembled = 0;
    for (std::uint32_t i = 0; i < runLines.size(); ++i) {
        RunLine& from = x.lines[i];
        Line& line = runLines[i];
        if (line.emits)
            assembly.bytesAssembled += static_cast<std::uint32_t>(line.size());
        if (from.depth == 0) {
            assembly.lines[from.textLine] = std::move(line);
            continue;
        }
        ByteList bytes;
        if (line.emits && line.hasOpcode())
            bytes.push_back(line.opcode());
        for (std::uint32_t k = 0; line.emits && k < line.code.size(); ++k)
            bytes.push_back(line.code[k]);
        Line& holder = assembly.lines[from.textLine];
        if (bytes.size() != 0 && holder.kind != Line::expansion) { // from its first byte on
            holder.kind = Line::expansion;
            holder.value = line.value;
        }
        for (std::uint32_t k = 0; k < bytes.size(); ++k)
            holder.code.push_back(bytes[k]);
        assembly.expanded.push_back(
            {from.textLine, from.depth, line.value, line.kind, std::move(bytes), std::move(from.text)});
    }
    std::stable_sort(assembly.expanded.begin(), assembly.expanded.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
    foldSymbols(runLines);
}

void TBrenvikEngine::foldDiagnostics() {
    const Expanding& x = *expanding;
    // Each fault once, though a repetition or a macro brings its line in again.
    std::vector<Diagnostic> diagnostics;
    std::set<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, DiagCode>> said;
    std::vector<bool> inError(sourceText.lineCount(), false);
    for (Diagnostic& found : assembly.diagnostics) {
        const RunLine& from = x.lines[found.line];
        if (from.depth > 0) {
            if (!said.emplace(from.textLine, from.file, from.fileLine, found.textColumn, found.fault.code)
                     .second)
                continue;
            auto site = std::make_shared<FaultSite>();
            site->place = {x.files.pathAt(from.file), from.fileLine};
            site->column = found.textColumn;
            site->text = from.text;
            for (std::uint32_t at = found.line; x.lines[at].depth > 0; at = x.lines[at].parent) {
                const RunLine& step = x.lines[at];
                const RunLine& by = x.lines[step.parent];
                site->steps.push_back({std::string(x.expansionNames.wordAt(step.expansion)),
                                       {x.files.pathAt(by.file), by.fileLine}});
                found.column = found.textColumn = step.column;
            }
            found.fault.site = std::move(site);
            found.length = 1;
        }
        found.line = from.textLine;
        if (isError(found))
            inError[found.line] = true;
        diagnostics.push_back(std::move(found));
    }
    std::stable_sort(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& a, const Diagnostic& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    assembly.diagnostics = std::move(diagnostics);
    assembly.errorCount = static_cast<int>(std::count(inError.begin(), inError.end(), true));
}

// Uses in the text, and those in included files apart; uses within macros are the macros'.
void TBrenvikEngine::foldUses() {
    const Expanding& x = *expanding;
    std::vector<Assembly::SymbolUse> uses;
    for (const Assembly::SymbolUse& use : assembly.uses) {
        const RunLine& from = x.lines[use.line];
        if (from.depth == 0)
            uses.push_back({use.symbol, from.textLine, use.column});
        else if (from.file != 0 && from.scope == 0 && x.expansionNames.wordAt(from.expansion).empty())
            assembly.includedUses.push_back(
                {use.symbol, {x.files.pathAt(from.file), from.fileLine}, use.column, from.text});
    }
    assembly.uses = std::move(uses);
    for (Unresolved& reference : assembly.forwardRefs)
        reference.line = x.lines[reference.line].textLine;
}

// Each symbol at the line of the text that defines it or brings in its definition.
void TBrenvikEngine::foldSymbols(const std::vector<Line>& runLines) {
    const Expanding& x = *expanding;
    WordTable<std::uint32_t> symbols;
    std::uint32_t number = 0;
    assembly.symbols.forEach([&](std::string_view name, std::uint32_t line) {
        const RunLine& from = x.lines[line];
        symbols.set(name, from.textLine);
        if (from.depth > 0 || assembly.lines[from.textLine].kind == Line::expansion) {
            assembly.expandedDefinitions.resize(number + 1);
            assembly.expandedDefinitions[number] =
                Assembly::Definition{runLines[line].value, runLines[line].kind != Line::equ};
        }
        if (from.file != 0) {
            assembly.symbolPlaces.resize(number + 1);
            assembly.symbolPlaces[number] = {x.files.pathAt(from.file), from.fileLine};
        }
        ++number;
    });
    assembly.symbols = std::move(symbols);
}
