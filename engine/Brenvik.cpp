// The assembly run, the statement assembler with its directives, and the
// resolution of forward references.

#include "Brenvik.h"
#include "AsSyntax.h"
#include "CodeFormat.h"
#include "Expanding.h"
#include "Scan.h"

#include <algorithm>
#include <new>

using namespace scan;
using Line = TBrenvikEngine::Line;

namespace {

constexpr std::uint32_t maxValue = 0xFFFF;
constexpr std::uint8_t lhiOpcode = 0x2E; // octal 056
constexpr std::uint8_t lliOpcode = 0x36; // octal 066
// The instructions whose operand is folded into the opcode.
constexpr Line::LineCode rstBase = 0x05;
constexpr Line::LineCode inpBase = 0x41;
constexpr Line::LineCode outBase = 0x51;

std::uint8_t lowByte(std::uint32_t v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}
std::uint8_t highByte(std::uint32_t v) {
    return static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

Line::LineCode foldedOpcode(Line::LineCode base, std::uint32_t operand) {
    switch (base) {
    case rstBase: // restart number 0 to 7
        return static_cast<Line::LineCode>(rstBase + 8 * (operand & 7));
    case inpBase: // input port 0 to 7
        return static_cast<Line::LineCode>(inpBase + 2 * (operand & 7));
    default: { // output port 8 to 31; ports 0 to 7 share the opcodes of 8 to 15
        std::uint32_t port = operand & 0x1F;
        if (port < 8)
            port += 8;
        return static_cast<Line::LineCode>(0x41 + 2 * port);
    }
    }
}

bool takesNoOperand(Line::LineCode kind) {
    switch (kind) {
    case Line::end:
    case Line::codeMode:
    case Line::bss:
        return true;
    case rstBase:
    case inpBase:
    case outBase:
        return false;
    default:
        return kind >= 0 && kind < 0x100;
    }
}

} // namespace

TBrenvikEngine::TBrenvikEngine(const TextArea& textArea) : sourceText(textArea) {
    if (!addressOwners)
        throw std::bad_alloc();
    instructionSet();
}

TBrenvikEngine::~TBrenvikEngine() = default;

const Assembly& TBrenvikEngine::run() {
    Syntax syntax = syntaxOf(sourceText);
    if (syntax == Syntax::native)
        syntax = includedSyntax;
    if (syntax != Syntax::native) {
        prepare();
        assembleAsSyntax(sourceText, syntax, sourcePath, assembly);
        return assembly;
    }
    assembly.syntax = Syntax::native;
    if (lastRunExpanded) {
        runExpanding();
        return assembly;
    }
    std::uint32_t pc = 0;
    prepare();
    const auto count = static_cast<std::uint32_t>(assembly.lines.size());
    for (std::uint32_t i = 0; i < count; ++i) {
        assemble(pc, i);
        if (metExpansion) {
            runExpanding();
            return assembly;
        }
        if (assembly.lines[i].emits)
            assembly.bytesAssembled += static_cast<std::uint32_t>(assembly.lines[i].size());
    }
    resolve();
    return assembly;
}

void TBrenvikEngine::prepare() {
    assembly.errorCount = 0;
    assembly.bytesAssembled = 0;
    assembly.symbols.clear();
    assembly.forwardRefs.clear();
    assembly.uses.clear();
    assembly.diagnostics.clear();
    // What only an AS-syntax run fills, which an earlier run of the text may have.
    assembly.expanded.clear();
    assembly.symbolPlaces.clear();
    assembly.includedUses.clear();
    assembly.expandedDefinitions.clear();
    foundUses.clear();
    // Fresh records, keeping the storage of the last run's bytes for this one.
    assembly.lines.resize(sourceText.lineCount());
    for (Line& line : assembly.lines) {
        line.kind = Line::noStatement;
        line.code.clear();
        line.comment = 0;
    }
    lastErrorLine = noLine;
    lineCounted.assign(assembly.lines.size(), false);
    errors.clear();
    lateErrors.clear();
    warnings.clear();
    if (++runNumber == 0) { // after four billion runs, start again from a clean table
        std::fill_n(addressOwners.get(), ownedAddresses, AddressOwner{0, 0});
        runNumber = 1;
    }
    lastLineOverlapped = lastLineBeyond = counterPast16Bits = false;
}

void TBrenvikEngine::readUpper(std::uint32_t index) {
    if (expanding)
        readExpandedLine(index);
    else
        sourceText.readLine(index, current);
    currentUpper.assign(current.text);
    std::transform(currentUpper.begin(), currentUpper.end(), currentUpper.begin(), upperCase);
}

TBrenvikEngine::Operand TBrenvikEngine::evaluateOperand(const std::string& upper, std::uint32_t& pos) const {
    const auto n = static_cast<std::uint32_t>(upper.size());
    clearExprFault();
    std::uint32_t start = pos;
    skipBlanks(upper, start, n);
    const std::uint32_t value = expr(upper, pos, n);
    std::uint32_t end = std::max(pos, start);
    while (end > start && isBlank(at(upper, end - 1)))
        --end;
    return {value, start, end};
}

// An operand of line `index`, with a character that has no single-byte code
// marking the whole line.
TBrenvikEngine::Operand TBrenvikEngine::evaluate(std::uint32_t index, const std::string& upper,
                                                 std::uint32_t& pos) {
    useLine = index;
    const Operand operand = evaluateOperand(upper, pos);
    useLine = noLine;
    if (wideColumn != 0)
        errorline(index, 1, wideFault(wideColumn), wideColumn);
    return operand;
}

void TBrenvikEngine::assemble(std::uint32_t& pc, std::uint32_t index) {
    readUpper(index);
    const std::string& upper = currentUpper;
    const auto n = static_cast<std::uint32_t>(upper.size());
    Line& line = assembly.lines[index];
    line.value = pc;
    line.emits = index == 0 || assembly.lines[index - 1].emits;
    if (n == 0 || (expanding && expandingStatement(pc, index)))
        return;

    std::uint32_t pos = 1;
    std::string_view bareLabel; // a label without a colon
    if (isLetter(at(upper, 1))) {
        skipWord(upper, pos, n);
        defineLabel(index, slice(upper, 1, pos));
        if (pos <= n && at(upper, pos) == ':')
            ++pos;
        else
            bareLabel = slice(upper, 1, pos);
    }
    skipBlanks(upper, pos, n);
    statementStart = pos;
    statementWord = {};
    operandlessAt = 0;
    clearExprFault(); // what an earlier line's operand found says nothing of this one
    // A mnemonic in column 1 is read as a label; what follows says whether that was meant.
    const bool labelIsMnemonic = !bareLabel.empty() && opcodes.contains(bareLabel);
    bool misreadLabel = false;
    if (pos <= n && isLetter(at(upper, pos))) {
        const std::uint32_t wordStart = skipWord(upper, pos, n);
        const std::string_view word = slice(upper, wordStart, pos);
        if (const Line::LineCode* code = opcodes.find(word); !code) {
            if (!expanding && expandingWord(word)) { // the run starts again as one that expands
                metExpansion = true;
                return;
            }
            misreadLabel = labelIsMnemonic;
            if (!misreadLabel)
                errorline(index, wordStart, {DiagCode::unknownMnemonic, typedText(wordStart, pos)});
        } else {
            line.kind = *code;
            statementWord = word;
            checkWord(index, wordStart, word);
            statement(pc, index, pos);
        }
    } else {
        misreadLabel = labelIsMnemonic && pos <= n && at(upper, pos) != ';' && at(upper, pos) != '*';
    }
    if (misreadLabel) {
        errorline(index, 1, {DiagCode::mnemonicAsLabel, typedText(1, 1 + bareLabel.size())});
        pos = n + 1; // the rest of the line is what the mnemonic would have taken
    } else if (labelIsMnemonic) {
        warnLabelLikeStatement(index, bareLabel);
    }
    checkEol(index, upper, pos);
    if (line.size() != 0) {
        checkLocation(index);
        checkPlacement(index);
    }
}

// The statement of line `index` from just after its word, by the word's code.
void TBrenvikEngine::statement(std::uint32_t& pc, std::uint32_t index, std::uint32_t& pos) {
    const std::string& upper = currentUpper;
    Line& line = assembly.lines[index];
    const std::uint32_t operandColumn = pos;
    if (takesNoOperand(line.kind)) {
        operandlessAt = pos;
        skipBlanks(upper, operandlessAt, static_cast<std::uint32_t>(upper.size()));
    }
    // Operands that may name a symbol defined further down.
    const auto deferrable = [&](const Operand& operand) {
        if (operand.value == exprError)
            errorline(index, operandColumn, exprFault(), findingColumn());
        else if (operand.value == exprUndefined)
            assembly.forwardRefs.push_back({index, operandColumn});
        else
            checkOperand(index, operand);
    };
    switch (line.kind) {
    case Line::org: {
        const Operand origin = evaluate(index, upper, pos);
        line.value = origin.value;
        pc = origin.value;
        counterPast16Bits = origin.value > maxValue;
        if (counterPast16Bits)
            errorline(index, 1, operandFault(origin.value), findingColumn());
        break;
    }
    case Line::db:
    case Line::dw:
        doDbDw(index, upper, current.text, pos, line, line.kind == Line::dw);
        pc += static_cast<std::uint32_t>(line.code.size());
        break;
    case Line::equ: {
        const Operand value = evaluate(index, upper, pos);
        line.value = value.value;
        deferrable(value);
        break;
    }
    case Line::end:
        break;
    case Line::title:
        pos = static_cast<std::uint32_t>(upper.size()) + 1;
        break;
    case Line::codeMode:
        line.emits = true;
        break;
    case Line::bss:
        line.emits = false;
        break;
    case Line::lhli: {
        const Operand value = evaluate(index, upper, pos);
        line.code = {lhiOpcode, highByte(value.value), lliOpcode, lowByte(value.value)};
        deferrable(value);
        pc += 4;
        break;
    }
    case rstBase:
    case inpBase:
    case outBase: {
        const Operand number = evaluate(index, upper, pos);
        if (number.value > maxValue)
            errorline(index, 1, operandFault(number.value), findingColumn());
        else
            checkOperand(index, number);
        line.kind = foldedOpcode(line.kind, number.value);
        pc += 1;
        break;
    }
    default:
        if (line.kind >= 0x100) {
            const Operand operand = evaluate(index, upper, pos);
            if (line.kind >= 0x200)
                line.code = {lowByte(operand.value), highByte(operand.value)};
            else
                line.code = {lowByte(operand.value)};
            deferrable(operand);
        }
        pc += static_cast<std::uint32_t>(line.size());
        break;
    }
}

// The first line whose bytes pass the last 16-bit address is in error: no HEX
// record can hold them, and its labels have no 16-bit value.
void TBrenvikEngine::checkLocation(std::uint32_t index) {
    const Line& line = assembly.lines[index];
    const std::uint64_t last = std::uint64_t{line.value} + line.size() - 1;
    if (last <= maxValue || counterPast16Bits)
        return;
    counterPast16Bits = true;
    const std::uint32_t past = std::max(line.value, maxValue + 1);
    errorline(index, statementStart, {DiagCode::locationPast16Bits, octalText(past, 6) + "B"});
}

void TBrenvikEngine::doDbDw(std::uint32_t index, const std::string& upper, const std::string& typed,
                            std::uint32_t& pos, Line& line, bool isDw) {
    const auto n = static_cast<std::uint32_t>(upper.size());
    for (;;) {
        std::uint32_t itemStart = pos; // pos stays before the blanks: a missing item is missed there
        skipBlanks(upper, itemStart, n);
        if (itemStart <= n && at(upper, itemStart) == '"') {
            const std::uint32_t quote = itemStart;
            pos = itemStart + 1;
            while (pos <= n && at(upper, pos) != '"') {
                if (current.isWide(pos))
                    errorline(index, 1, wideFault(pos), pos);
                line.code.push_back(static_cast<std::uint8_t>(at(typed, pos)));
                ++pos;
            }
            if (pos > n) {
                errorline(index, 1, {DiagCode::unclosedString}, quote);
                return;
            }
            ++pos;
        } else {
            const Operand item = evaluate(index, upper, pos);
            line.code.push_back(lowByte(item.value));
            if (isDw)
                line.code.push_back(highByte(item.value));
            if (item.value > maxValue) { // DB and DW take no forward references
                errorline(index, 1, operandFault(item.value), findingColumn());
                return;
            }
        }
        skipBlanks(upper, pos, n);
        if (pos > n || at(upper, pos) != ',')
            return;
        ++pos;
    }
}

void TBrenvikEngine::checkEol(std::uint32_t index, const std::string& upper, std::uint32_t& pos) {
    const auto n = static_cast<std::uint32_t>(upper.size());
    skipBlanks(upper, pos, n);
    if (pos > n)
        return;
    const char c = at(upper, pos);
    if (c == ';' || c == '*') {
        // A comment's mark wins over red it overlaps, but never hides all of it:
        // a line counted in error must show red.
        if (index != lastErrorLine || pos > lastErrorColumn)
            assembly.lines[index].comment = pos;
    } else
        errorline(index, pos, trailingFault(index, pos));
}

void TBrenvikEngine::resolve() {
    // What the pass knew of its last statement means nothing here.
    statementStart = operandlessAt = 0;
    statementWord = {};
    passOneUses = foundUses.size();
    for (const Unresolved& ref : assembly.forwardRefs) {
        readUpper(ref.line);
        const std::string& upper = currentUpper;
        Line& line = assembly.lines[ref.line];
        std::uint32_t pos = ref.column;
        useLine = ref.line;
        const Operand operand = evaluateOperand(upper, pos);
        useLine = noLine;
        const std::uint32_t v = operand.value;

        if (line.kind == Line::equ) {
            line.value = v;
        } else if (line.kind == Line::lhli) {
            line.code[1] = highByte(v);
            line.code[3] = lowByte(v);
        } else {
            line.code[0] = lowByte(v);
            if (line.kind >= 0x200)
                line.code[1] = highByte(v);
        }

        if (v == exprUndefined) {
            markCounted(ref.line, ref.column, exprFault(), findingColumn());
        } else if (v == exprError || wideColumn != 0) {
            markCounted(ref.line, 1, wideColumn != 0 ? wideFault(wideColumn) : exprFault(),
                        wideColumn != 0 ? wideColumn : findingColumn());
        } else {
            clearMark(ref.line);
            checkEol(ref.line, upper, pos);
            checkOperand(ref.line, operand);
        }
    }
    passOneUses.reset();
    assembly.uses.swap(foundUses); // the old uses' room serves the next run
    collectDiagnostics();
}
