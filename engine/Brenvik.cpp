// The assembly run, the statement assembler with its directives, and the
// resolution of forward references.

#include "Brenvik.h"
#include "Scan.h"

#include <algorithm>

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

std::uint8_t lowByte(std::uint32_t v) { return static_cast<std::uint8_t>(v & 0xFF); }
std::uint8_t highByte(std::uint32_t v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); }

// Upper case of the Latin-1 letters, so that a character constant "é" reads as "É"
// just as "a" reads as "A".
char upperCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
        return static_cast<char>(u - 0x20);
    return c;
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

} // namespace

TBrenvikEngine::TBrenvikEngine(TextArea& textArea) : sourceText(textArea) {
    if (opcodes.empty())
        fillOpcodes();
}

void TBrenvikEngine::run() {
    std::uint32_t pc = 0;
    bytesAssembled = 0;
    prepare();
    const auto count = static_cast<std::uint32_t>(lineRecords.size());
    for (std::uint32_t i = 0; i < count; ++i) {
        assemble(pc, i);
        if (lineRecords[i].emit)
            bytesAssembled += static_cast<std::uint32_t>(lineRecords[i].size());
    }
    resolve();
}

void TBrenvikEngine::prepare() {
    errorCount = 0;
    lastErrorLine = noLine;
    symbols.clear();
    forwardRefs.clear();
    // Fresh records, keeping the storage of the last run's bytes for this one.
    lineRecords.resize(sourceText.lineCount());
    for (Line& line : lineRecords) {
        line.kind = Line::noStatement;
        line.code.clear();
    }
    lineCounted.assign(lineRecords.size(), false);
}

void TBrenvikEngine::readUpper(std::uint32_t index) {
    sourceText.readLine(index, current);
    currentUpper.assign(current.text);
    std::transform(currentUpper.begin(), currentUpper.end(), currentUpper.begin(), upperCase);
}

bool TBrenvikEngine::isWideColumn(std::uint32_t column) const {
    const auto& wide = current.wideColumns;
    return !wide.empty() && std::binary_search(wide.begin(), wide.end(), column);
}

// An operand of line `index`, with a character that has no single-byte code
// marking the whole line.
std::uint32_t TBrenvikEngine::evaluate(std::uint32_t index, const std::string& upper, std::uint32_t& pos) {
    wideValueSeen = false;
    const std::uint32_t v = expr(upper, pos, static_cast<std::uint32_t>(upper.size()));
    if (wideValueSeen)
        errorline(index, 1);
    return v;
}

void TBrenvikEngine::assemble(std::uint32_t& pc, std::uint32_t index) {
    readUpper(index);
    const std::string& upper = currentUpper;
    const auto n = static_cast<std::uint32_t>(upper.size());
    Line& line = lineRecords[index];
    line.value = pc;
    line.emit = index == 0 || lineRecords[index - 1].emit;
    if (n == 0)
        return;

    std::uint32_t pos = 1;
    if (isLetter(at(upper, 1))) {
        skipWord(upper, pos, n);
        symbols.insert_or_assign(std::string(slice(upper, 1, pos)), index);
        if (pos <= n && at(upper, pos) == ':')
            ++pos;
    }
    skipBlanks(upper, pos, n);
    if (pos <= n && isLetter(at(upper, pos))) {
        const std::uint32_t wordStart = skipWord(upper, pos, n);
        const auto found = opcodes.find(slice(upper, wordStart, pos));
        if (found == opcodes.end()) {
            errorline(index, wordStart);
        } else {
            line.kind = found->second;
            const std::uint32_t operandColumn = pos;
            // Operands that may name a symbol defined further down.
            const auto deferrable = [&](std::uint32_t v) {
                if (v == exprError)
                    errorline(index, operandColumn);
                else if (v == exprUndefined)
                    forwardRefs.push_back({index, operandColumn});
            };
            switch (line.kind) {
            case Line::org: {
                const std::uint32_t v = evaluate(index, upper, pos);
                line.value = v;
                pc = v;
                if (v > maxValue)
                    errorline(index, 1);
                break;
            }
            case Line::db:
            case Line::dw:
                doDbDw(index, upper, current.text, pos, line, line.kind == Line::dw);
                pc += static_cast<std::uint32_t>(line.code.size());
                break;
            case Line::equ:
                line.value = evaluate(index, upper, pos);
                deferrable(line.value);
                break;
            case Line::end:
                break;
            case Line::title:
                pos = n + 1;
                break;
            case Line::codeMode:
                line.emit = true;
                break;
            case Line::bss:
                line.emit = false;
                break;
            case Line::lhli: {
                const std::uint32_t v = evaluate(index, upper, pos);
                line.code = {lhiOpcode, highByte(v), lliOpcode, lowByte(v)};
                deferrable(v);
                pc += 4;
                break;
            }
            case rstBase:
            case inpBase:
            case outBase: {
                const std::uint32_t v = evaluate(index, upper, pos);
                if (v > maxValue)
                    errorline(index, 1);
                line.kind = foldedOpcode(line.kind, v);
                pc += 1;
                break;
            }
            default:
                if (line.kind >= 0x100) {
                    const std::uint32_t v = evaluate(index, upper, pos);
                    if (line.kind >= 0x200)
                        line.code = {lowByte(v), highByte(v)};
                    else
                        line.code = {lowByte(v)};
                    deferrable(v);
                }
                pc += static_cast<std::uint32_t>(line.size());
                break;
            }
        }
    }
    checkEol(index, upper, pos);
}

void TBrenvikEngine::doDbDw(std::uint32_t index, const std::string& upper, const std::string& typed,
                            std::uint32_t& pos, Line& line, bool isDw) {
    const auto n = static_cast<std::uint32_t>(upper.size());
    for (;;) {
        skipBlanks(upper, pos, n);
        if (pos <= n && at(upper, pos) == '"') {
            ++pos;
            while (pos <= n && at(upper, pos) != '"') {
                if (isWideColumn(pos))
                    errorline(index, 1);
                line.code.push_back(static_cast<std::uint8_t>(at(typed, pos)));
                ++pos;
            }
            if (pos > n) { // no closing quote
                errorline(index, 1);
                return;
            }
            ++pos;
        } else {
            const std::uint32_t v = evaluate(index, upper, pos);
            line.code.push_back(lowByte(v));
            if (isDw)
                line.code.push_back(highByte(v));
            if (v > maxValue) { // DB and DW take no forward references
                errorline(index, 1);
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
        // A comment's blue wins over red it overlaps, but never hides all of it:
        // a line counted in error must show red.
        if (index != lastErrorLine || pos > lastErrorColumn)
            sourceText.markLine(index, pos, MarkColour::Comment);
    } else
        errorline(index, pos);
}

void TBrenvikEngine::resolve() {
    for (const Unresolved& ref : forwardRefs) {
        readUpper(ref.line);
        const std::string& upper = currentUpper;
        Line& line = lineRecords[ref.line];
        std::uint32_t pos = ref.column;
        wideValueSeen = false;
        const std::uint32_t v = expr(upper, pos, static_cast<std::uint32_t>(upper.size()));

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
            markCounted(ref.line, ref.column);
        } else if (v == exprError || wideValueSeen) {
            markCounted(ref.line, 1);
        } else {
            clearMark(ref.line);
            checkEol(ref.line, upper, pos);
        }
    }
}

void TBrenvikEngine::errorline(std::uint32_t index, std::uint32_t column) {
    if (index == lastErrorLine)
        return;
    sourceText.markLine(index, column, MarkColour::Error);
    ++errorCount;
    lineCounted[index] = true;
    lastErrorLine = index;
    lastErrorColumn = column;
}

// Marks a line again after the pass, counting it only if it does not count yet.
void TBrenvikEngine::markCounted(std::uint32_t index, std::uint32_t column) {
    sourceText.markLine(index, column, MarkColour::Error);
    if (!lineCounted[index]) {
        lineCounted[index] = true;
        ++errorCount;
    }
    lastErrorLine = index;
    lastErrorColumn = column;
}

void TBrenvikEngine::clearMark(std::uint32_t index) {
    sourceText.markLine(index, 1, MarkColour::Default);
    if (lineCounted[index]) {
        lineCounted[index] = false;
        --errorCount;
    }
    // A fault found on the cleared line again must be marked and counted anew.
    if (lastErrorLine == index)
        lastErrorLine = noLine;
}

void TBrenvikEngine::GetCode(const CodeSink& sink) const {
    for (const Line& line : lineRecords) {
        if (!line.emit)
            continue;
        std::uint32_t address = line.value;
        if (line.hasOpcode())
            sink(address++, line.opcode());
        for (const std::uint8_t byte : line.code)
            sink(address++, byte);
    }
}

std::uint32_t TBrenvikEngine::GetSymbolLine(std::string_view name) const {
    const auto found = symbols.find(name);
    return found == symbols.end() ? noLine : found->second;
}
